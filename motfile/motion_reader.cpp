// Strict reader: every line must be exactly what the writer prints.
#include "motion_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "number_text.h"
#include "text_join.h"
#include "utf8_path.h"

namespace corvantide::motfile {
namespace {

constexpr std::string_view kMagic = "LWMO";
constexpr int kVersion = 3;
constexpr std::string_view kEnvelopeOpen = "{ Envelope";
constexpr std::string_view kEnvelopeClose = "}";
constexpr std::string_view kIndent = "  ";
// Key lines hold value, time, shape and p1 .. p6.
constexpr std::size_t kKeyFieldCount = 9;
// A key count is only a claim until the lines are there; reserve no more
// than this up front so a corrupt count cannot demand a huge allocation.
constexpr std::size_t kKeyReserveLimit = 1 << 16;
// Larger than any sampled export of a long scene; guards against reading
// something that is plainly not a motion file into memory.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;

// Splits on single spaces; false when two spaces meet or the text ends in one.
bool SplitFields(std::string_view text, std::vector<std::string_view>* fields) {
    fields->clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t space = text.find(' ', start);
        const std::string_view field = text.substr(start, space - start);
        if (field.empty()) {
            return false;
        }
        fields->push_back(field);
        if (space == std::string_view::npos) {
            return true;
        }
        start = space + 1;
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    ReadResult Run() {
        result_.ok = ParseFile();
        return std::move(result_);
    }

private:
    bool Fail(int line, std::string reason) {
        result_.error = FileIssue{line, std::move(reason)};
        return false;
    }

    // Fetches the next line without its line feed.
    bool NextLine(std::string_view* line, std::string_view expected) {
        if (pos_ >= text_.size()) {
            return Fail(line_ + 1, Join({"file ends early: expected ", expected}));
        }
        ++line_;
        const std::size_t feed = text_.find('\n', pos_);
        if (feed == std::string_view::npos) {
            return Fail(line_, "last line does not end with a line feed");
        }
        *line = text_.substr(pos_, feed - pos_);
        pos_ = feed + 1;
        if (!line->empty() && line->find('\r') == line->size() - 1) {  // saved by a Windows editor
            return Fail(line_, "lines end in CR LF; the exporter writes LF only");
        }
        if (line->find('\r') != std::string_view::npos) {
            return Fail(line_, "carriage return in line (lines end with a line feed only)");
        }
        return true;
    }

    bool ExpectExact(std::string_view want, std::string_view what) {
        std::string_view line;
        if (!NextLine(&line, what)) {
            return false;
        }
        if (line != want) {
            return Fail(line_, Join({"expected ", what, ", found ", Quote(line)}));
        }
        return true;
    }

    // A line "<indent><word> fields..." split into its fields.
    bool SplitWordLine(std::string_view line, std::string_view indent, std::string_view word,
                       std::vector<std::string_view>* fields) {
        const std::string prefix = Join({indent, word, " "});
        if (line.substr(0, prefix.size()) != prefix) {
            return Fail(line_, Join({"expected ", Quote(Join({prefix, "..."})), ", found ", Quote(line)}));
        }
        if (!SplitFields(line.substr(prefix.size()), fields)) {
            return Fail(line_, Join({"unexpected spacing in ", Quote(line)}));
        }
        return true;
    }

    bool Integer(std::string_view field, int* value) {
        std::string reason;
        return ParseInteger(field, value, &reason) || Fail(line_, reason);
    }

    bool Number(std::string_view field, double* value) {
        std::string reason;
        return ParseFixedNumber(field, value, &reason) || Fail(line_, reason);
    }

    bool InRange(int value, int last, std::string_view what) {
        if (value < 0 || value > last) {
            return Fail(line_,
                        Join({what, " ", std::to_string(value), " out of range 0..", std::to_string(last)}));
        }
        return true;
    }

    bool ParseFile() {
        if (text_.empty()) {
            return Fail(1, "empty file");
        }
        const std::size_t firstEnd = text_.find('\n');
        const std::string_view first = text_.substr(0, firstEnd);
        if (first == kEnvelopeOpen) {
            result_.file.kind = MotionFileKind::kSingleEnvelope;
            Envelope envelope;
            if (!ParseEnvelope(&envelope)) {
                return false;
            }
            result_.file.envelopes.push_back(std::move(envelope));
            return ExpectEnd();
        }
        result_.file.kind = MotionFileKind::kChannels;
        return ParseHeader() && ParseChannels() && ExpectEnd();
    }

    bool ParseHeader() {
        std::string_view line;
        if (!NextLine(&line, "\"LWMO\"")) {
            return false;
        }
        if (line != kMagic) {
            return Fail(line_, Join({"missing \"LWMO\" on the first line, found ", Quote(line)}));
        }
        if (!NextLine(&line, "the version line")) {
            return false;
        }
        int version = 0;
        if (!Integer(line, &version)) {
            return false;
        }
        if (version != kVersion) {
            return Fail(line_, Join({"unsupported version ", std::to_string(version), " (expected 3)"}));
        }
        if (!NextLine(&line, "an empty line")) {
            return false;
        }
        if (!line.empty()) {
            return Fail(line_, Join({"expected an empty line after the version, found ", Quote(line)}));
        }
        std::vector<std::string_view> fields;
        if (!NextLine(&line, "\"NumChannels\"") || !SplitWordLine(line, "", "NumChannels", &fields)) {
            return false;
        }
        if (fields.size() != 1) {
            return Fail(line_, "expected one number after \"NumChannels\"");
        }
        if (!Integer(fields[0], &channelCount_)) {
            return false;
        }
        if (channelCount_ != 6 && channelCount_ != 9) {
            return Fail(line_,
                        "NumChannels must be 9, or 6 for a camera, found " + std::to_string(channelCount_));
        }
        return true;
    }

    bool ParseChannels() {
        std::vector<std::string_view> fields;
        for (int channel = 0; channel < channelCount_; ++channel) {
            std::string_view line;
            if (!NextLine(&line, Quote(Join({"Channel ", std::to_string(channel)}))) ||
                !SplitWordLine(line, "", "Channel", &fields)) {
                return false;
            }
            int number = 0;
            if (fields.size() != 1) {
                return Fail(line_, "expected one number after \"Channel\"");
            }
            if (!Integer(fields[0], &number)) {
                return false;
            }
            if (number != channel) {
                return Fail(line_, Join({"channel ", std::to_string(number), " out of sequence (expected ",
                                         std::to_string(channel), ")"}));
            }
            Envelope envelope;
            envelope.channel = channel;
            if (!ParseEnvelope(&envelope)) {
                return false;
            }
            result_.file.envelopes.push_back(std::move(envelope));
        }
        return true;
    }

    bool ParseEnvelope(Envelope* envelope) {
        if (!ExpectExact(kEnvelopeOpen, Quote(kEnvelopeOpen))) {
            return false;
        }
        envelope->line = line_;
        std::string_view line;
        if (!NextLine(&line, "the key count")) {
            return false;
        }
        if (line.substr(0, kIndent.size()) != kIndent || line.substr(kIndent.size(), 1) == " ") {
            return Fail(line_, Join({"expected the key count after two spaces, found ", Quote(line)}));
        }
        int count = 0;
        if (!Integer(line.substr(kIndent.size()), &count)) {
            return false;
        }
        if (count < 1) {
            return Fail(line_,
                        Join({"key count ", std::to_string(count), " (an envelope has at least one key)"}));
        }
        const int countLine = line_;
        envelope->keys.reserve(std::min(static_cast<std::size_t>(count), kKeyReserveLimit));
        std::vector<std::string_view> fields;
        for (int index = 0; index < count; ++index) {
            if (!NextLine(&line, "a key line")) {
                return false;
            }
            if (line.substr(0, 12) == "  Behaviors ") {
                return Fail(line_,
                            Join({"envelope has ", std::to_string(index), " key lines, but the count on line ",
                                  std::to_string(countLine), " says ", std::to_string(count)}));
            }
            MotionKey key;
            if (!SplitWordLine(line, kIndent, "Key", &fields) || !ParseKey(fields, &key)) {
                return false;
            }
            if (!envelope->keys.empty() && !CheckOrder(envelope->keys.back(), key)) {
                return false;
            }
            envelope->keys.push_back(key);
        }
        envelope->placeholder = count == 1 && line == "  Key 0 0 0 0 0 0 0 0 0";
        if (!NextLine(&line, "\"  Behaviors\"")) {
            return false;
        }
        if (line.substr(0, 6) == "  Key ") {
            return Fail(line_, Join({"more key lines than the count on line ", std::to_string(countLine), " (",
                                     std::to_string(count), ")"}));
        }
        if (!SplitWordLine(line, kIndent, "Behaviors", &fields)) {
            return false;
        }
        if (fields.size() != 2) {
            return Fail(line_, Join({"expected two behaviours, found ", std::to_string(fields.size())}));
        }
        if (!Integer(fields[0], &envelope->preBehaviour) ||
            !InRange(envelope->preBehaviour, kLastBehaviour, "behaviour") ||
            !Integer(fields[1], &envelope->postBehaviour) ||
            !InRange(envelope->postBehaviour, kLastBehaviour, "behaviour")) {
            return false;
        }
        envelope->placeholder =
            envelope->placeholder && envelope->preBehaviour == 1 && envelope->postBehaviour == 1;
        return ExpectExact(kEnvelopeClose, Quote(kEnvelopeClose));
    }

    bool ParseKey(const std::vector<std::string_view>& fields, MotionKey* key) {
        if (fields.size() != kKeyFieldCount) {
            return Fail(line_, Join({"key line has ", std::to_string(fields.size()), " numbers, expected 9"}));
        }
        key->line = line_;
        if (!Number(fields[0], &key->value) || !Number(fields[1], &key->time) ||
            !Integer(fields[2], &key->shape) || !InRange(key->shape, kLastShape, "shape")) {
            return false;
        }
        for (std::size_t p = 0; p < key->params.size(); ++p) {
            if (!Number(fields[3 + p], &key->params[p])) {
                return false;
            }
        }
        return true;
    }

    // Receiving packages expect keys in increasing time.
    bool CheckOrder(const MotionKey& previous, const MotionKey& key) {
        if (key.time < previous.time) {
            return Fail(line_, Join({"key time ", FormatTime(key.time), " is earlier than the previous key's ",
                                     FormatTime(previous.time)}));
        }
        if (key.time == previous.time) {
            result_.warnings.push_back({line_, Join({"two keys at the same time ", FormatTime(key.time)})});
        }
        return true;
    }

    static std::string FormatTime(double time) {
        char buffer[64];
        // Echoes a value read from the file; fixed notation, no locale.
        const auto [end, error] =
            std::to_chars(buffer, buffer + sizeof buffer, time, std::chars_format::fixed, 6);
        return error == std::errc{} ? std::string(buffer, end) : std::string("?");
    }

    bool ExpectEnd() {
        if (pos_ < text_.size()) {
            return Fail(line_ + 1, "text after the last envelope");
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 0;
    int channelCount_ = 0;
    ReadResult result_;
};

}  // namespace

ReadResult ParseMotionText(std::string_view text) { return Parser(text).Run(); }

bool LoadFileText(const std::string& path, std::string* text, std::string* reason) {
    std::error_code error;
    const std::filesystem::path file = Utf8Path(path);
    if (!std::filesystem::is_regular_file(file, error)) {
        *reason = error ? error.message() : "not a regular file";
        if (!std::filesystem::exists(file, error)) {
            *reason = "no such file";
        }
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        *reason = error.message();
        return false;
    }
    if (size > kMaxFileBytes) {
        *reason = "file too large for a motion file";
        return false;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        *reason = "cannot open the file";
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) {
        *reason = "read error";
        return false;
    }
    return true;
}

}  // namespace corvantide::motfile
