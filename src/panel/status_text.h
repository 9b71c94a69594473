// The status area's texts, in one place for the panel that composes them and
// for a reader that takes them apart again (the command-line host shows an
// export's progress and messages from them).
//
// A text is one of: the idle text; "Info  " and a message on the message
// line, then "\n" and, while an export runs, a progress line
// ("Computing Frame: 3 of 10.   (ESC to Abort)"). The abort text is a
// message of its own.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/plugin_limits.h"

namespace corvantide {

inline constexpr char kStatusIdleText[] = "Info\nStatus: Idle";
inline constexpr char kStatusMessagePrefix[] = "Info  ";
// What an export the user stopped with Escape leaves on the message line.
inline constexpr char kAbortMessage[] = "Motion File Generation Aborted.";

// Progress line modes, and each one's start; frame and total follow as "i of n".
inline constexpr std::int32_t kProgressComputing = 0;  // "Computing Frame: i of n."
inline constexpr std::int32_t kProgressSaving = 1;     // "Saving Motion Frame: i of n."
inline constexpr char kComputingPrefix[] = "Computing Frame: ";
inline constexpr char kSavingPrefix[] = "Saving Motion Frame: ";
inline constexpr char kProgressOf[] = " of ";
inline constexpr char kProgressSuffix[] = ".   (ESC to Abort)";

static_assert(kStatusMessageCapacity == kStatusTextCapacity - (sizeof kStatusMessagePrefix - 1) - 1,
              "the message line: the prefix, the message and its line break");

enum class StatusKind {
    kIdle,      // the idle text
    kProgress,  // an item's name, then a progress line
    kMessage,   // a message (a failure, a refusal, a batch's summary), on one line or more
    kAborted,   // the abort text on the message line
    kForeign,   // no text the panel composes
};

struct StatusReading {
    StatusKind kind;
    // The message line without "Info  " (the item's name with kProgress);
    // a view into the text read. Empty with kIdle and kForeign.
    std::string_view message;
    // With kProgress: kProgressComputing or kProgressSaving, and "frame of
    // total" (0 where a cut text holds no number).
    std::int32_t mode;
    std::int32_t frame;
    std::int32_t total;
};

// Takes a status text apart (the bytes the status area holds, without its NUL).
StatusReading ReadStatusText(std::string_view text);

}  // namespace corvantide
