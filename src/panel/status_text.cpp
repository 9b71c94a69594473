// Reading a status text back into its parts.
#include "panel/status_text.h"

#include <charconv>
#include <system_error>

namespace corvantide {

namespace {

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// The number at the start of `text`, taken off it; 0, with `text` as it
// was, when none is there.
std::int32_t TakeNumber(std::string_view* text) {
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error != std::errc()) return 0;
    text->remove_prefix(static_cast<std::size_t>(end - text->data()));
    return number;
}

// A progress line's mode and numbers; false when `line` is none. A line
// cut at the text's capacity still reads as progress.
bool ReadProgressLine(std::string_view line, StatusReading* reading) {
    if (StartsWith(line, kComputingPrefix)) {
        reading->mode = kProgressComputing;
        line.remove_prefix(sizeof kComputingPrefix - 1);
    } else if (StartsWith(line, kSavingPrefix)) {
        reading->mode = kProgressSaving;
        line.remove_prefix(sizeof kSavingPrefix - 1);
    } else {
        return false;
    }
    reading->frame = TakeNumber(&line);
    if (StartsWith(line, kProgressOf)) {
        line.remove_prefix(sizeof kProgressOf - 1);
        reading->total = TakeNumber(&line);
    }
    return true;
}

}  // namespace

StatusReading ReadStatusText(std::string_view text) {
    StatusReading reading{StatusKind::kForeign, {}, kProgressComputing, 0, 0};
    if (text == kStatusIdleText) {
        reading.kind = StatusKind::kIdle;
        return reading;
    }
    if (!StartsWith(text, kStatusMessagePrefix)) return reading;
    text.remove_prefix(sizeof kStatusMessagePrefix - 1);
    const std::size_t lineEnd = text.find('\n');
    reading.message = text.substr(0, lineEnd);
    const std::string_view next =
        lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    if (reading.message == kAbortMessage) {
        reading.kind = StatusKind::kAborted;
    } else if (ReadProgressLine(next, &reading)) {
        reading.kind = StatusKind::kProgress;
    } else {
        reading.kind = StatusKind::kMessage;
    }
    return reading;
}

}  // namespace corvantide
