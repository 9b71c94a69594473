// Bounded text composition.
#include "host/text_builder.h"

#include <charconv>
#include <cstring>

#include "host/host_characters.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

constexpr char kMoreStart[] = "; and ";
constexpr char kMoreEnd[] = " more";

std::size_t FormatNumber(char (&digits)[kNumberTextCapacity], std::int64_t number) {
    const auto end = std::to_chars(digits, digits + sizeof digits - 1, number).ptr;
    *end = '\0';
    return static_cast<std::size_t>(end - digits);
}

}  // namespace

TextBuilder::TextBuilder(char* text, std::size_t capacity) : text_(text), capacity_(capacity) {
    text_[0] = '\0';
}

TextBuilder TextBuilder::Continuing(char* text, std::size_t capacity) {
    const std::size_t length = BoundedLength(text, capacity);
    const std::size_t kept = length < capacity ? length : WholeCharactersWithin(text, capacity - 1);
    return TextBuilder(text, capacity, kept);
}

TextBuilder::TextBuilder(char* text, std::size_t capacity, std::size_t length)
    : text_(text), capacity_(capacity), length_(length) {
    text_[length_] = '\0';
}

TextBuilder& TextBuilder::Append(const char* part) {
    if (part == nullptr) return *this;
    const std::size_t room = capacity_ - 1 - length_;
    std::size_t count = BoundedLength(part, room + 1);
    if (count > room) count = WholeCharactersWithin(part, room);
    std::memcpy(text_ + length_, part, count);
    length_ += count;
    text_[length_] = '\0';
    return *this;
}

TextBuilder& TextBuilder::Append(std::int64_t number) {
    char digits[kNumberTextCapacity];
    FormatNumber(digits, number);
    return Append(digits);
}

bool TextBuilder::AppendWhole(const char* part, std::size_t reserve) {
    const std::size_t room = capacity_ - 1 - length_;
    const std::size_t count = BoundedLength(part, room + 1);
    if (part == nullptr || count + reserve > room) return false;
    std::memcpy(text_ + length_, part, count);
    length_ += count;
    text_[length_] = '\0';
    return true;
}

bool TextBuilder::AppendWhole(std::int64_t number, std::size_t reserve) {
    char digits[kNumberTextCapacity];
    FormatNumber(digits, number);
    return AppendWhole(digits, reserve);
}

void TextBuilder::CutTo(std::size_t length) {
    if (length >= length_) return;
    length_ = length;
    text_[length_] = '\0';
}

std::size_t NumberLength(std::int64_t number) {
    char digits[kNumberTextCapacity];
    return FormatNumber(digits, number);
}

void AppendMoreMark(TextBuilder& text, std::int64_t left) {
    text.Append(kMoreStart).Append(left).Append(kMoreEnd);
}

std::size_t MoreMarkLength(std::int64_t left) {
    return sizeof kMoreStart - 1 + NumberLength(left) + sizeof kMoreEnd - 1;
}

}  // namespace corvantide
