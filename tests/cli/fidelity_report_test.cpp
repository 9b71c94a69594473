// The fidelity report's wording: what a user reads after an export.
#include "fidelity_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvantide_test {
namespace {

using namespace corvantide::cli;
using corvantide::motfile::ChannelQuantity;

ChannelFidelity Channel(const char* name, ChannelQuantity quantity, double largest, double time = 0.0,
                        std::int64_t frame = 0) {
    ChannelFidelity channel;
    channel.name = name;
    channel.quantity = quantity;
    channel.deviation.compared = 61;
    channel.deviation.largest = largest;
    channel.time = time;
    channel.frame = frame;
    return channel;
}

TEST(FidelityReport, DifferencesAreRoundedUpToTwoDigitsSoWithinNeverUnderstates) {
    EXPECT_EQ("0.84", FormatDifference(0.84));
    EXPECT_EQ("0.85", FormatDifference(0.8412));
    EXPECT_EQ("13", FormatDifference(12.4));
    EXPECT_EQ("2.0", FormatDifference(2.0));
    EXPECT_EQ("0.0013", FormatDifference(0.00123));
    EXPECT_EQ("0", FormatDifference(0.0));
    EXPECT_EQ("0.267", FormatSeconds(8 / 30.0));
    EXPECT_EQ("2", FormatSeconds(2.0));
    EXPECT_EQ("0", FormatSeconds(-0.0001));
}

TEST(FidelityReport, EachChannelIsToldInItsOwnUnitsRotationsInDegrees) {
    // 0.5 radians is 28.65 degrees.
    EXPECT_EQ("Heading: within 29 degrees, largest at 0.267 s (frame 8)",
              ChannelLine(Channel("Heading", ChannelQuantity::kRotation, 0.5, 8 / 30.0, 8), 0));
    EXPECT_EQ("Position Z: within 0.031 units, largest at 1.5 s (host frame 35)",
              ChannelLine(Channel("Position Z", ChannelQuantity::kPosition, 0.0301, 1.5, 35), 10));
    EXPECT_EQ("Scale X: within 1.0, largest at 0 s (frame 0)",
              ChannelLine(Channel("Scale X", ChannelQuantity::kScale, 1.0), 0));
    EXPECT_EQ("Bank: exact", ChannelLine(Channel("Bank", ChannelQuantity::kRotation, 0.000004), 0));
    ChannelFidelity unknown = Channel("Channel", ChannelQuantity::kOther, 0.0);
    unknown.deviation.compared = 0;
    EXPECT_EQ("Channel: nothing to compare (the host has no value for it)", ChannelLine(unknown, 0));
}

TEST(FidelityReport, BehavioursOutsideTheKeysAreSaidToBeLeftOut) {
    ChannelFidelity heading = Channel("Heading", ChannelQuantity::kRotation, 0.0);
    heading.skippedAfter = 1.2;
    heading.postBehaviour = corvantide::motfile::kBehaviourRepeat;
    EXPECT_EQ(
        "Heading: exact; not compared after 1.2 s (Repeat): the simulated host holds the end keys' values "
        "there",
        ChannelLine(heading, 0));
}

TEST(FidelityReport, TheSummaryGivesEachFileOneLineWithTheWorstChannelOfEachQuantity) {
    FileFidelity hand{"Hand.mot", "keys, Local", 0, 1, {}};
    for (const char* name : {"Position X", "Position Y", "Position Z"}) {
        hand.channels.push_back(Channel(name, ChannelQuantity::kPosition, 0.0000005));
    }
    FileFidelity world{"Hand_World.mot", "keys, World", 0, 1, {}};
    world.channels = {Channel("Position X", ChannelQuantity::kPosition, 0.02, 0.7, 21),
                      Channel("Position Y", ChannelQuantity::kPosition, 0.07, 1.767, 53),
                      Channel("Heading", ChannelQuantity::kRotation, 0.1, 0.3, 9),
                      Channel("Scale X", ChannelQuantity::kScale, 0.0)};
    FileFidelity zoom{"Camera_ZoomFactor.mot",
                      "zoom keys",
                      0,
                      1,
                      {Channel("Zoom Factor", ChannelQuantity::kZoom, 0.25, 1.5, 45)}};
    std::ostringstream out;
    PrintSummary({hand, world, zoom}, out);
    EXPECT_EQ(
        "  Hand.mot               keys, Local  exact in all 3 channels\n"
        "  Hand_World.mot         keys, World  exact in 1 of 4 channels; position within 0.070 units "
        "(Position Y at 1.767 s), rotation within 5.8 degrees (Heading at 0.3 s)\n"
        "  Camera_ZoomFactor.mot  zoom keys    within 0.25, largest at 1.5 s (frame 45)\n"
        "World keys are exact at the item's keys and interpolated between them. For the exact world motion of\n"
        "an item carried by moving parents, or of an item without keys, export every frame (\"Freeze "
        "Motion\").\n",
        out.str());

    // Without a file of World keys there is nothing to say about them.
    std::ostringstream local;
    PrintSummary({hand, zoom}, local);
    EXPECT_EQ(std::string::npos, local.str().find("World keys")) << local.str();
}

}  // namespace
}  // namespace corvantide_test
