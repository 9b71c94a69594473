// Per-item settings records as the host keeps them.
#include "settings/export_settings.h"
#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/host_binding.h"
#include "host/item_record.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using corvantide::ExportSettings;

class ExportSettingsRecord : public LinkedPlugin {
protected:
    // The panel builder binds FreeHierarchyList before it creates the records.
    void SetUp() override {
        LinkedPlugin::SetUp();
        corvantide::BindPanelBuilderNames();
    }
    void TearDown() override {
        for (void* item : host.Scene().Items()) {
            if (corvantide::FindSettings(item) != nullptr) corvantide::FreeInstanceData(item);
        }
        LinkedPlugin::TearDown();
    }
};

TEST_F(ExportSettingsRecord, ANewRecordTakesTheSceneRangeAndStartsWithOutputDisabled) {
    host.iIn = 10;
    host.iOut = 50;
    void* box = host.Scene().AddItem("Box");
    ExportSettings* settings = corvantide::GetOrCreateSettings(box);
    ASSERT_NE(nullptr, settings);
    EXPECT_EQ(host.InstanceBlock(box), settings);
    EXPECT_EQ(10, settings->beginFrame);
    EXPECT_EQ(50, settings->endFrame);
    EXPECT_EQ(0, settings->frameOffset);
    EXPECT_EQ(0, settings->motionFormat);
    EXPECT_EQ(0, settings->coordinates);
    EXPECT_EQ(0, settings->freezeMotion);
    EXPECT_EQ(1, settings->outputDisabled);
    EXPECT_EQ(box, settings->ownerItem);
    EXPECT_EQ(nullptr, settings->requesterPath);
    EXPECT_EQ(nullptr, settings->destinationPath);

    // Asking again changes nothing, also after the scene range moved.
    settings->beginFrame = 3;
    host.iIn = 0;
    EXPECT_EQ(settings, corvantide::GetOrCreateSettings(box));
    EXPECT_EQ(3, settings->beginFrame);
}

TEST_F(ExportSettingsRecord, EveryItemOfTheSceneGetsARecordAndTheListIsFreedOnce) {
    host.Scene().AddItem("Box");
    host.Scene().AddItem("Cam", kCameraType);
    corvantide::CreateSettingsForAllItems();
    EXPECT_EQ(2u, host.InstanceBlocks());
    EXPECT_EQ(0u, host.OpenHierarchyLists());

    host.Scene().AddItem("Light");
    host.FailInstanceCreation(true);  // a refused record is skipped
    corvantide::CreateSettingsForAllItems();
    EXPECT_EQ(2u, host.InstanceBlocks());
    EXPECT_EQ(nullptr, corvantide::GetOrCreateSettings(host.Scene().ItemByName("Light")));
}

TEST_F(ExportSettingsRecord, AnEmptyOrMissingItemListCreatesNothing) {
    corvantide::CreateSettingsForAllItems();
    EXPECT_EQ(0u, host.OpenHierarchyLists());
    host.Scene().AddItem("Box");
    host.SetHierarchyListUnavailable(true);
    corvantide::CreateSettingsForAllItems();
    EXPECT_EQ(0u, host.InstanceBlocks());
}

}  // namespace
}  // namespace corvantide_test
