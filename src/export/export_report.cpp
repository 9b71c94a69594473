// The files of a run of exports.
#include "export/export_report.h"

#include <charconv>
#include <cstring>

#include "host/plugin_limits.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

constexpr char kUnwrittenStart[] = "Couldn't write ";
constexpr char kSeparator[] = ", ";
constexpr char kMore[] = "...";

struct ExportReport {
    std::int32_t files;
    std::int32_t unwritten;
    std::size_t namesUsed;
    bool namesDropped;
    char names[kUnwrittenNamesCapacity];  // each with its NUL, in the order they failed; the rest counted only
};

ExportReport Report{};

// Appends `part` when it fits with `reserve` bytes to spare (and the NUL).
bool AppendWhole(char* text, std::size_t capacity, std::size_t reserve, const char* part) {
    const std::size_t length = std::strlen(text);
    const std::size_t partLength = std::strlen(part);
    if (length + partLength + reserve >= capacity) return false;
    std::memcpy(text + length, part, partLength + 1);
    return true;
}

void AppendNumber(char* text, std::size_t capacity, std::int32_t number) {
    char digits[kInt32TextCapacity];
    const auto result = std::to_chars(digits, digits + sizeof digits - 1, number);
    *result.ptr = '\0';
    AppendWhole(text, capacity, 0, digits);
}

}  // namespace

void BeginExportReport() { Report = ExportReport{}; }

void NoteExportedFile(const char* name, const char* suffix, bool written) {
    ++Report.files;
    if (written) return;
    ++Report.unwritten;
    const std::size_t nameLength = BoundedLength(name, kUnwrittenNamesCapacity);
    const std::size_t suffixLength = BoundedLength(suffix, kUnwrittenNamesCapacity);
    if (Report.namesDropped || Report.namesUsed + nameLength + suffixLength + 1 > kUnwrittenNamesCapacity) {
        Report.namesDropped = true;
        return;
    }
    std::memcpy(Report.names + Report.namesUsed, name, nameLength);
    std::memcpy(Report.names + Report.namesUsed + nameLength, suffix, suffixLength);
    Report.namesUsed += nameLength + suffixLength;
    Report.names[Report.namesUsed++] = '\0';
}

std::int32_t UnwrittenFiles() { return Report.unwritten; }

void ComposeUnwrittenMessage(char* message, std::size_t capacity) {
    CopyTextCut(message, capacity, kUnwrittenStart);
    AppendNumber(message, capacity, Report.unwritten);
    AppendWhole(message, capacity, 0, " of ");
    AppendNumber(message, capacity, Report.files);
    AppendWhole(message, capacity, 0, Report.files == 1 ? " file: " : " files: ");
    std::size_t at = 0;
    for (std::int32_t shown = 0; at < Report.namesUsed; ++shown) {
        const char* name = Report.names + at;
        at += std::strlen(name) + 1;
        const bool last = at >= Report.namesUsed && !Report.namesDropped;
        // Room for the separator and "..." stays unless this is the last name.
        const std::size_t reserve = last ? 0 : sizeof kSeparator - 1 + sizeof kMore - 1;
        const bool fits =
            (shown == 0 || AppendWhole(message, capacity, reserve + std::strlen(name), kSeparator)) &&
            AppendWhole(message, capacity, reserve, name);
        if (!fits) {
            if (shown > 0) AppendWhole(message, capacity, 0, kSeparator);
            AppendWhole(message, capacity, 0, kMore);
            return;
        }
    }
    if (Report.namesDropped) {
        if (Report.namesUsed > 0) AppendWhole(message, capacity, 0, kSeparator);
        AppendWhole(message, capacity, 0, kMore);
    }
}

}  // namespace corvantide
