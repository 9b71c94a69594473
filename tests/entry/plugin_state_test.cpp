// The process-wide state as start-up phase 2 leaves it, before any panel is
// built, and again after a later phase 2 resets what a session changed.
#include <string>
#include <vector>

#include "entry/plugin_state.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

// The entries a popup list offers: its texts up to the first null slot.
std::vector<std::string> Offered(const char* const* names, std::size_t slots) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < slots && names[i] != nullptr; ++i) entries.emplace_back(names[i]);
    return entries;
}

class StartValues : public LinkedPlugin {
protected:
    void ExpectStartValues() {
        EXPECT_EQ(std::vector<std::string>(6, "NULL"),
                  Offered(corvantide::MotionFormatNames, corvantide::kMotionFormatNameSlots));
        EXPECT_EQ((std::vector<std::string>{"Local", "World"}),
                  Offered(corvantide::CoordinateNames, corvantide::kCoordinateNameSlots));
        EXPECT_EQ(1, corvantide::UseCurrentData);
        EXPECT_EQ(0, corvantide::UseBatchDirectory);
        EXPECT_EQ(0, corvantide::PanelShown);
        EXPECT_EQ("", std::string(corvantide::BatchDirectory));
        EXPECT_EQ("", std::string(corvantide::BatchRequesterPath));
    }
};

TEST_F(StartValues, AfterStartUpTheFormatListOffersSixNullEntriesAndTheBatchOptionsTheirDefaults) {
    ExpectStartValues();
}

TEST_F(StartValues, ALaterStartUpPhaseTwoResetsWhatASessionChanged) {
    corvantide::UseCurrentData = 0;
    corvantide::UseBatchDirectory = 1;
    corvantide::PanelShown = 1;
    corvantide::BatchDirectory[0] = 'D';
    corvantide::BatchRequesterPath[0] = 'R';
    corvantide::MotionFormatNames[0] = "Lightwave 6.x";
    corvantide::MotionFormatNames[1] = nullptr;
    host.SendStartupPhase(2);
    ExpectStartValues();
}

}  // namespace
}  // namespace corvantide_test
