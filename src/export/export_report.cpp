// The files of a run of exports.
#include "export/export_report.h"

#include <charconv>
#include <cstring>

#include "export/file_claims.h"
#include "export/file_output.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

constexpr char kUnwrittenStart[] = "Couldn't write ";
constexpr char kSeparator[] = "; ";
constexpr char kMoreStart[] = "; and ";
constexpr char kMoreEnd[] = " more";
// A run writes at most a motion file and a zoom file per item.
constexpr std::int64_t kFilesPerItem = 2;

struct ExportReport {
    std::int32_t files;
    std::int32_t unwritten;
    std::int32_t unsynced;
    std::int32_t listed;  // unwritten files kept in `entries`
    std::size_t entriesUsed;
    // "<name><suffix><reason>" of each unwritten file with its NUL, in the
    // order they failed, as many as fit; the rest are counted only.
    char entries[kUnwrittenNamesCapacity];
};

ExportReport Report{};
// Who wrote which file in this run; no table outside a run.
FileClaims WrittenFiles{nullptr, 0, 0};

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

// Room for "; and N more" after an entry that leaves `remaining` unshown.
std::size_t MoreReserve(std::int32_t remaining) {
    if (remaining == 0) return 0;
    char digits[kInt32TextCapacity];
    const auto result = std::to_chars(digits, digits + sizeof digits, remaining);
    return sizeof kMoreStart - 1 + static_cast<std::size_t>(result.ptr - digits) + sizeof kMoreEnd - 1;
}

}  // namespace

bool BeginExportReport(std::int32_t items) {
    EndExportReport();
    Report = ExportReport{};
    const std::int64_t most = (items > 0 ? std::int64_t{items} : 0) * kFilesPerItem;
    return BeginFileClaims(&WrittenFiles, most);
}

void EndExportReport() { EndFileClaims(&WrittenFiles); }

void NoteExportedFile(const char* name, const char* suffix, bool written, const char* reason) {
    ++Report.files;
    if (written) return;
    ++Report.unwritten;
    const char* parts[] = {name != nullptr ? name : "", suffix, reason != nullptr ? reason : ""};
    char entry[kUnwrittenNamesCapacity];
    std::size_t length = 0;
    for (const char* part : parts) {
        const std::size_t partLength = BoundedLength(part, sizeof entry);
        if (length + partLength >= sizeof entry) return;  // counted, not listed
        std::memcpy(entry + length, part, partLength);
        length += partLength;
    }
    if (Report.entriesUsed + length + 1 > sizeof Report.entries) return;
    std::memcpy(Report.entries + Report.entriesUsed, entry, length);
    Report.entriesUsed += length;
    Report.entries[Report.entriesUsed++] = '\0';
    ++Report.listed;
}

std::int32_t UnwrittenFiles() { return Report.unwritten; }

std::int32_t UnsyncedFiles() { return Report.unsynced; }

const void* EarlierWriterOf(const char* target) {
    FileKey key{};
    if (WrittenFiles.slots == nullptr || !IdentifyFile(target, &key)) return nullptr;
    return FindClaim(&WrittenFiles, key);
}

void NoteWrittenFile(const char* target, const void* item, bool unsynced) {
    if (unsynced) ++Report.unsynced;
    FileKey key{};
    if (WrittenFiles.slots != nullptr && IdentifyFile(target, &key)) ClaimFile(&WrittenFiles, key, item);
}

void ComposeUnwrittenMessage(char* message, std::size_t capacity) {
    CopyTextCut(message, capacity, kUnwrittenStart);
    AppendNumber(message, capacity, Report.unwritten);
    AppendWhole(message, capacity, 0, " of ");
    AppendNumber(message, capacity, Report.files);
    AppendWhole(message, capacity, 0, Report.files == 1 ? " file: " : " files: ");
    std::int32_t shown = 0;
    for (std::size_t at = 0; at < Report.entriesUsed; ++shown) {
        const char* entry = Report.entries + at;
        at += std::strlen(entry) + 1;
        const std::size_t reserve = MoreReserve(Report.unwritten - shown - 1);
        const std::size_t before = std::strlen(message);
        const bool fits =
            (shown == 0 || AppendWhole(message, capacity, reserve + std::strlen(entry), kSeparator)) &&
            AppendWhole(message, capacity, reserve, entry);
        if (!fits) {
            message[before] = '\0';
            break;
        }
    }
    if (shown == Report.unwritten) return;
    if (shown == 0) {
        // Not one entry fits: the count alone, without its colon.
        message[std::strlen(message) - 2] = '\0';
        return;
    }
    AppendWhole(message, capacity, 0, kMoreStart);
    AppendNumber(message, capacity, Report.unwritten - shown);
    AppendWhole(message, capacity, 0, kMoreEnd);
}

void ComposeUnsyncedMessage(char* message, std::size_t capacity) {
    CopyTextCut(message, capacity, "Wrote ");
    AppendNumber(message, capacity, Report.files);
    AppendWhole(message, capacity, 0, Report.files == 1 ? " file; the folder of " : " files; the folders of ");
    AppendNumber(message, capacity, Report.unsynced);
    AppendWhole(message, capacity, 0, " could not be synced to the disk");
}

}  // namespace corvantide
