// The host loads the plug-in, reads its module record and sends it messages.
#include <cstring>

#include "host_names.h"
#include "plugin_session.h"

namespace corvantide_test {
namespace {

template <typename T>
T At(void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<unsigned char*>(record) + offset, sizeof value);
    return value;
}

using Handler = std::int64_t (*)(void*, void*, std::uint64_t);

using ModuleRecord = AuditedHost;
using MessageDispatch = AuditedHost;

TEST_F(ModuleRecord, InitCustomizeFillsNameEntriesAndSettings) {
    std::string error;
    ASSERT_TRUE(host.Load(simhost::DefaultPluginPath(), &error)) << error;
    void* record = host.ModuleRecord();

    EXPECT_EQ(0, std::memcmp(static_cast<char*>(record) + 0x28, "Corvantide", 11));
    EXPECT_EQ(0x3f800000u, At<std::uint32_t>(record, 0x4a8));
    EXPECT_NE(nullptr, At<void*>(record, 0x628));
    EXPECT_NE(nullptr, At<void*>(record, 0x630));
    EXPECT_NE(nullptr, At<void*>(record, 0x660));
    EXPECT_NE(nullptr, At<void*>(record, 0x668));
    EXPECT_EQ(0x100004u, At<std::uint64_t>(record, 0x6c8));
    EXPECT_EQ(6u, At<std::uint64_t>(record, 0x768));
    // Nothing else of the host's record is touched: the bytes around the
    // name keep the host's pattern, and so does every other byte.
    EXPECT_EQ(simhost::kRecordPattern, static_cast<unsigned char*>(record)[0x27]);
    EXPECT_EQ(simhost::kRecordPattern, static_cast<unsigned char*>(record)[0x28 + 11]);
    EXPECT_TRUE(host.Audit().empty());

    // InitCustomize calls no host service.
    EXPECT_TRUE(host.Lookups().empty());
    EXPECT_EQ(0u, host.Memory().AllocationsMade());

    // The empty entry and the default handler do nothing and answer 0.
    At<void (*)()>(record, 0x628)();
    EXPECT_EQ(0, At<Handler>(record, 0x660)(nullptr, nullptr, 123));
}

TEST_F(MessageDispatch, CategoriesWithoutAHandlerAnswerZeroAndCallNothing) {
    std::string error;
    ASSERT_TRUE(host.Load(simhost::DefaultPluginPath(), &error)) << error;
    for (std::int32_t category : {0, 1, 10, 12, 30, 32, 63, 64, 65, -1, -64, 1000000, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(0, host.SendMessage(category, nullptr, 2)) << category;
    }
    EXPECT_TRUE(host.Lookups().empty());
    EXPECT_TRUE(host.Updates().empty());
    EXPECT_TRUE(host.Violations().empty());
}

TEST_F(MessageDispatch, StartUpPhasesBindTheirGroupsInOrder) {
    std::string error;
    ASSERT_TRUE(host.Load(simhost::DefaultPluginPath(), &error)) << error;

    EXPECT_EQ(0, host.SendMessage(31, nullptr, 2));
    EXPECT_EQ(kPhaseTwoNames, host.Lookups());
    EXPECT_TRUE(host.PlatformLookups().empty());

    host.ClearLookups();
    EXPECT_EQ(0, host.SendMessage(31, nullptr, 4));
    EXPECT_EQ(kPhaseFourNames, host.Lookups());

    host.ClearLookups();
    for (std::uint64_t phase : {0ull, 1ull, 3ull, 5ull, 31ull, 0x100000ull, ~0ull}) {
        EXPECT_EQ(0, host.SendMessage(31, nullptr, phase));
    }
    EXPECT_TRUE(host.Lookups().empty());
}

TEST_F(MessageDispatch, PhaseFourAloneBindsOnlyTheInterface) {
    std::string error;
    ASSERT_TRUE(host.Load(simhost::DefaultPluginPath(), &error)) << error;
    host.SendStartupPhase(4);
    EXPECT_EQ(5u, host.Lookups().size());
    EXPECT_EQ("fxBlockCreate", host.Lookups().front());
    // Without phase 2 the plug-in has no core services: the panel builds
    // without them and calls nothing unbound.
    EXPECT_EQ(1, host.BuildPanel());
    EXPECT_TRUE(host.Violations().empty());
    // The batch toggles show the start values they had at loading.
    EXPECT_EQ(1, host.Ui().ControlByLabel("Use Current Data")->value);
    EXPECT_EQ(0, host.Ui().ControlByLabel("Use Batch Directory")->value);
    // The panel has not been shown: an item message, even one that finds no
    // scene state, leaves its controls as built.
    void* box = host.Scene().AddItem("Box");
    host.SendMessage(11, box, 0x100000);
    host.SetStateRecordPresent(false);
    host.SendMessage(11, box, 0x100000);
    EXPECT_TRUE(host.Ui().ControlByLabel("Export Current Motion")->enabled);
    EXPECT_TRUE(host.Ui().ControlByLabel("Path")->enabled);
}

TEST_F(MessageDispatch, PanelBuilderBindsItsSixNamesInOrder) {
    std::string error;
    ASSERT_TRUE(host.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    host.ClearLookups();
    EXPECT_EQ(1, host.BuildPanel());
    ASSERT_GE(host.Lookups().size(), kPanelBuilderNames.size());
    EXPECT_EQ(kPanelBuilderNames, std::vector<std::string>(host.Lookups().begin(), host.Lookups().begin() + 6));
}

TEST_F(MessageDispatch, AHostWhoseLookupsAllFailIsNeverCalledThroughANullSlot) {
    host.FailLookups({"*"});
    host.Scene().AddItem("Box");
    host.SetCurrentItem(host.Scene().Items()[0]);
    std::string error;
    ASSERT_TRUE(host.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    EXPECT_EQ(1, host.BuildPanel());
    host.SendMessage(11, host.Scene().Items()[0], 0x100000);
    host.SendMessage(11, host.Scene().Items()[0], 4);
    host.SendStartupPhase(2);
    EXPECT_EQ(0u, host.InstanceBlocks());
    EXPECT_TRUE(host.Ui().Blocks().empty());
    EXPECT_TRUE(host.Violations().empty());
    EXPECT_EQ(0u, host.Memory().Outstanding());
}

}  // namespace
}  // namespace corvantide_test
