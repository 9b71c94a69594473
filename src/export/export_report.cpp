// The files of a run of exports.
#include "export/export_report.h"

#include <cstring>

#include "export/file_claims.h"
#include "export/file_output.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "host/text_builder.h"

namespace corvantide {

namespace {

constexpr char kUnwrittenStart[] = "Couldn't write ";
constexpr char kSeparator[] = "; ";
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
    // An entry names a file: listed whole or not at all.
    char entry[kUnwrittenNamesCapacity];
    TextBuilder text(entry, sizeof entry);
    if (!text.AppendWhole(name != nullptr ? name : "") || !text.AppendWhole(suffix) ||
        !text.AppendWhole(reason != nullptr ? reason : "")) {
        return;  // counted, not listed
    }
    const std::size_t length = text.Length();
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
    TextBuilder text(message, capacity);
    text.Append(kUnwrittenStart).Append(Report.unwritten).Append(" of ").Append(Report.files);
    text.Append(Report.files == 1 ? " file: " : " files: ");
    std::int32_t shown = 0;
    for (std::size_t at = 0; at < Report.entriesUsed; ++shown) {
        const char* entry = Report.entries + at;
        at += std::strlen(entry) + 1;
        const std::int32_t left = Report.unwritten - shown - 1;
        const std::size_t reserve = left > 0 ? MoreMarkLength(left) : 0;
        const std::size_t before = text.Length();
        const bool fits = (shown == 0 || text.AppendWhole(kSeparator, reserve + std::strlen(entry))) &&
                          text.AppendWhole(entry, reserve);
        if (!fits) {
            text.CutTo(before);
            break;
        }
    }
    if (shown == Report.unwritten) return;
    if (shown == 0) {
        // Not one entry fits: the count alone, without its colon.
        text.CutTo(text.Length() - 2);
        return;
    }
    AppendMoreMark(text, Report.unwritten - shown);
}

void ComposeUnsyncedMessage(char* message, std::size_t capacity) {
    TextBuilder(message, capacity)
        .Append("Wrote ")
        .Append(Report.files)
        .Append(Report.files == 1 ? " file; the folder of " : " files; the folders of ")
        .Append(Report.unsynced)
        .Append(" could not be synced to the disk");
}

}  // namespace corvantide
