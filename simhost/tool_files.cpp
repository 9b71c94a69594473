// The simulated host's and the tools' own files, through the file layer.
#include "tool_files.h"

namespace simhost {

using corvantide::CurrentTextEncoding;
using corvantide::SetTextEncoding;
using corvantide::TextEncoding;
using corvantide::WholeFile;

namespace {
// The longest reason the file layer gives, with room to spare.
constexpr std::size_t kReasonCapacity = 128;
constexpr char kNulRefusal[] = "a file name cannot hold a control character (0x00)";

// A path cut at a NUL byte would name another file.
bool HoldsNul(const std::string& path) { return path.find('\0') != std::string::npos; }
}  // namespace

Utf8Paths::Utf8Paths() : before_(CurrentTextEncoding()) { SetTextEncoding(TextEncoding::kUtf8); }

Utf8Paths::~Utf8Paths() { SetTextEncoding(before_); }

std::string DestinationRefusal(const std::string& path) {
    if (HoldsNul(path)) return kNulRefusal;
    const Utf8Paths utf8;
    char reason[kReasonCapacity] = "";
    if (!corvantide::WholeFileRefused(path.c_str(), reason, sizeof reason)) return {};
    return reason;
}

ToolWrite WriteToolFile(const std::string& path, const std::string& text) {
    if (HoldsNul(path)) return {WholeFile::kRefused, kNulRefusal};
    const Utf8Paths utf8;
    char reason[kReasonCapacity] = "";
    const WholeFile outcome =
        corvantide::WriteWholeFile(path.c_str(), text.data(), text.size(), reason, sizeof reason);
    return {outcome, reason};
}

ToolWrite MoveToolFile(const std::string& from, const std::string& to) {
    if (HoldsNul(from) || HoldsNul(to)) return {WholeFile::kRefused, kNulRefusal};
    const Utf8Paths utf8;
    char reason[kReasonCapacity] = "";
    const WholeFile outcome = corvantide::MoveWholeFile(from.c_str(), to.c_str(), reason, sizeof reason);
    return {outcome, reason};
}

}  // namespace simhost
