// Composition of a text in a caller's fixed buffer: parts appended in order,
// the text always NUL-terminated and never past the buffer's capacity. Texts
// shown to the user are cut in whole characters when they do not fit;
// AppendWhole adds a part only when all of it fits. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvantide {

class TextBuilder {
public:
    // Starts an empty text in `text` (capacity bytes, at least 1; not null).
    TextBuilder(char* text, std::size_t capacity);
    // Goes on from the NUL-terminated text already in `text`; a text that
    // fills the buffer without its NUL is cut to fit.
    static TextBuilder Continuing(char* text, std::size_t capacity);

    // Appends as much of `part` (null: nothing) as fits, in whole characters.
    TextBuilder& Append(const char* part);
    TextBuilder& Append(std::int64_t number);
    // Appends all of `part` when it fits with `reserve` bytes to spare
    // besides; else nothing, and false.
    bool AppendWhole(const char* part, std::size_t reserve = 0);
    bool AppendWhole(std::int64_t number, std::size_t reserve = 0);

    std::size_t Length() const { return length_; }
    // Shortens the text to `length` bytes (no longer than it is).
    void CutTo(std::size_t length);

private:
    // Goes on from the first `length` bytes of `text`.
    TextBuilder(char* text, std::size_t capacity, std::size_t length);

    char* text_;
    std::size_t capacity_;
    std::size_t length_ = 0;
};

// Characters of `number` as text: its digits and sign.
std::size_t NumberLength(std::int64_t number);

// The end of a list cut short: "; and N more" for the N entries not shown.
void AppendMoreMark(TextBuilder& text, std::int64_t left);
// Its length, to keep room for it.
std::size_t MoreMarkLength(std::int64_t left);

}  // namespace corvantide
