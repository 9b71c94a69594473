// Numbers are parsed with std::from_chars, so the process locale never matters.
#include "number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "text_join.h"

namespace corvantide::motfile {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    return end - from;
}

// Why a token that is not a plain decimal was refused, for the user.
std::string Explain(std::string_view text) {
    const std::string quoted = Quote(text);
    if (text.empty()) {
        return "missing number";
    }
    if (text.find(',') != std::string_view::npos) {
        return Join({"decimal comma in ", quoted, " (numbers use '.')"});
    }
    if (text.find_first_of("eE") != std::string_view::npos &&
        text.find_first_of("nN") == std::string_view::npos) {
        return Join({"exponent notation in ", quoted});
    }
    return Join({"malformed number ", quoted});
}

}  // namespace

bool ParseFixedNumber(std::string_view text, double* value, std::string* reason) {
    std::size_t at = (!text.empty() && text[0] == '-') ? 1 : 0;
    const std::size_t whole = CountDigits(text, at);
    bool wellFormed = whole > 0 && !(whole > 1 && text[at] == '0');
    at += whole;
    if (wellFormed && at < text.size()) {
        wellFormed = text[at] == '.' && CountDigits(text, at + 1) > 0 &&
                     at + 1 + CountDigits(text, at + 1) == text.size();
    }
    if (!wellFormed) {
        *reason = Explain(text);
        return false;
    }
    double parsed = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::fixed);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(parsed)) {
        *reason = Join({"number out of range ", Quote(text)});
        return false;
    }
    *value = parsed;
    return true;
}

bool ParseInteger(std::string_view text, int* value, std::string* reason) {
    const std::size_t at = (!text.empty() && text[0] == '-') ? 1 : 0;
    const std::size_t digits = CountDigits(text, at);
    if (digits == 0 || at + digits != text.size() || (digits > 1 && text[at] == '0')) {
        *reason = text.find('.') != std::string_view::npos
                      ? Join({"expected a whole number, found ", Quote(text)})
                      : Explain(text);
        return false;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size()) {
        *reason = Join({"number out of range ", Quote(text)});
        return false;
    }
    *value = parsed;
    return true;
}

}  // namespace corvantide::motfile
