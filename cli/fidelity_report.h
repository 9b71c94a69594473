// Fidelity in numbers: for each channel of a written file, the largest
// difference between the host's value at every frame and the file's curve,
// and where it occurs. Positions are in the scene's units; rotations, which
// the host and the file both hold in radians, are told in degrees.
#pragma once

#include <cmath>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "host_motion.h"
#include "motfile/curve_deviation.h"
#include "motfile/motion_file.h"

namespace corvantide::cli {

struct ChannelFidelity {
    std::string name;  // "Heading"
    motfile::ChannelQuantity quantity = motfile::ChannelQuantity::kOther;
    motfile::CurveDeviation deviation;  // deviation.compared == 0: nothing to compare
    double time = 0.0;                  // file time of the largest difference
    std::int64_t frame = 0;             // host frame of it
    // Outside its keys the file's curve follows its behaviours, while the
    // simulated host holds the end keys' values; frames there are not
    // compared unless the behaviour is Constant. NaN: nothing left out.
    double skippedBefore = NAN;  // the first key's time
    double skippedAfter = NAN;   // the last key's time
    int preBehaviour = motfile::kBehaviourConstant;
    int postBehaviour = motfile::kBehaviourConstant;
};

// The form of a file exported from an item's keys in World values.
inline constexpr char kWorldKeysForm[] = "keys, World";

struct FileFidelity {
    std::string fileName;  // "Hips.mot"
    std::string form;      // "keys, Local", "every frame, World", "zoom keys", kWorldKeysForm
    std::int32_t offset = 0;
    std::int64_t stride = 1;
    std::vector<ChannelFidelity> channels;
};

FileFidelity MeasureFidelity(const std::string& fileName, const std::string& form,
                             const motfile::MotionFile& file, const HostMotion& motion);

// "Heading: within 0.84 degrees, largest at 0.267 s (frame 8)", "Position X: exact".
std::string ChannelLine(const ChannelFidelity& channel, std::int32_t offset);
// One line per channel, each after `indent`.
void PrintChannelLines(const FileFidelity& fidelity, const std::string& indent, std::ostream& out);
// The closing table: one line per file ("exact in 8 of 9 channels; rotation
// within 2.9 degrees (Heading at 0.6 s)"), the form column aligned; when a
// file holds World keys, a note on what they carry follows.
void PrintSummary(const std::vector<FileFidelity>& files, std::ostream& out);

// How a channel's values are told: rotations in degrees (the file holds
// radians), positions in the scene's units, scale and zoom as factors.
// Columns a text takes on a terminal: one per UTF-8 character, not per byte.
std::size_t DisplayWidth(const std::string& text);
// The text with spaces after it up to `width` columns.
std::string PaddedTo(std::string text, std::size_t width);

struct ShownUnit {
    double scale;       // file value to shown value
    const char* unit;   // after the number, with its space; empty for a factor
    const char* group;  // "position", "rotation", ...
};
ShownUnit UnitOf(motfile::ChannelQuantity quantity);
// "1 unit", "1 degree", "2.5 units": the unit after a number, singular for one.
std::string WithUnit(const std::string& number, std::string_view unit);

// A difference as shown: rounded up to two significant digits ("0.84",
// "0.0013", "12"), so that "within" never understates it.
std::string FormatDifference(double difference);
// Fixed notation without trailing zeros ("0.267", "2", "-6.5").
std::string FormatTrimmed(double value, int decimals);
// A time in seconds with at most three decimals: FormatTrimmed(seconds, 3).
std::string FormatSeconds(double seconds);

}  // namespace corvantide::cli
