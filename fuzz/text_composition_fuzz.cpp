// Text the plug-in composes into fixed buffers: status texts, batch base
// names and paths, and the bounded text helpers, from random names,
// directories and messages of up to several thousand characters. Every
// buffer is a heap block of exactly its capacity, so a write past it is
// caught; every result either fits and is exactly right, or is refused (or,
// for texts only shown, cut) without touching more than the capacity.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "batch/batch_paths.h"
#include "export/file_output.h"
#include "host/text_buffer.h"
#include "panel/status_area.h"
#include "settings/export_settings.h"

namespace {

using corvantide::kPathCapacity;

constexpr std::size_t kLongestText = 5000;
constexpr char kUntouched = '\x5a';

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "text composition: %s\n", what);
    std::abort();
}

// A buffer of exactly `capacity` bytes, filled with a marker.
std::vector<char> Buffer(std::size_t capacity) { return std::vector<char>(capacity, kUntouched); }

bool Untouched(const std::vector<char>& buffer) {
    for (char c : buffer) {
        if (c != kUntouched) return false;
    }
    return true;
}

std::string TextIn(const std::vector<char>& buffer) {
    const void* end = std::memchr(buffer.data(), '\0', buffer.size());
    Expect(end != nullptr, "result without its terminator");
    return std::string(buffer.data(), static_cast<const char*>(end));
}

// Texts as C strings: up to their first NUL.
std::string RandomText(FuzzedDataProvider& data) {
    const std::string raw = data.ConsumeRandomLengthString(kLongestText);
    return std::string(raw.c_str());
}

std::string Folded(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

bool EndsWithFolded(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && Folded(text.substr(text.size() - suffix.size())) == Folded(suffix);
}

void StatusText(FuzzedDataProvider& data) {
    const bool idle = data.ConsumeBool();
    const std::string message = RandomText(data);
    const auto frame = data.ConsumeIntegral<std::int32_t>();
    const auto total = data.ConsumeIntegral<std::int32_t>();
    const auto mode = data.ConsumeIntegralInRange<std::int32_t>(-1, 3);
    std::vector<char> text = Buffer(corvantide::kStatusTextCapacity);
    corvantide::ComposeStatusText(text.data(), idle ? nullptr : message.c_str(), frame, total, mode);

    std::string expected = "Info\nStatus: Idle";
    if (!idle) {
        expected = "Info  " + message + "\n";
        if (mode == corvantide::kProgressComputing || mode == corvantide::kProgressSaving) {
            expected += mode == corvantide::kProgressComputing ? "Computing Frame: " : "Saving Motion Frame: ";
            expected += std::to_string(frame) + " of " + std::to_string(total) + ".   (ESC to Abort)";
        }
    }
    // A status text is only shown: it may be cut, never overrun.
    expected = expected.substr(0, corvantide::kStatusTextCapacity - 1);
    Expect(TextIn(text) == expected, "status text");
}

// A device's name before the first ".": CON, PRN, AUX, NUL, COM1-9, LPT1-9.
bool IsDeviceStem(const std::string& name) {
    const std::string stem = Folded(name.substr(0, name.find('.')));
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

// The item name as a file name Windows can hold (host text is bytes here).
std::string MadeFileName(std::string name) {
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr) c = '_';
    }
    return IsDeviceStem(name) ? name + "_" : name;
}

void BaseName(FuzzedDataProvider& data) {
    std::string name = RandomText(data);
    if (data.PickValueInArray({false, false, true})) {
        name = data.PickValueInArray({"NUL", "con", "Com1", "lpt9", "AUX", "prn"}) + name;
    }
    if (data.ConsumeBool()) name += data.PickValueInArray({".lwo", ".LWO", ".Lwo", ".lwo.lwo", "lwo", ".lw"});
    std::vector<char> baseName = Buffer(kPathCapacity);
    const bool fits = corvantide::BatchBaseName(baseName.data(), name.c_str());
    const std::string dropped = EndsWithFolded(name, ".lwo") ? name.substr(0, name.size() - 4) : name;
    const std::string made = MadeFileName(dropped);
    Expect(fits == (name.size() < kPathCapacity && made.size() < kPathCapacity),
           "base name refused or taken wrongly");
    Expect(TextIn(baseName) == (fits ? made : ""), "base name");
}

bool IsAbsolute(const std::string& directory) {
    return !directory.empty() &&
           (directory[0] == '\\' || directory[0] == '/' || (directory.size() > 1 && directory[1] == ':'));
}

std::string Directory(FuzzedDataProvider& data) {
    std::string text = RandomText(data);
    switch (data.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            return "";
        case 1:
            return "C:" + text;
        case 2:
            return "\\" + text;
        case 3:
            return "/" + text;
        default:
            return text;
    }
}

void BatchPaths(FuzzedDataProvider& data) {
    const std::string name = RandomText(data);
    const std::string directory = Directory(data);
    const std::string content = RandomText(data).substr(0, 1023);  // the host's 1024-byte field
    const bool useBatchDirectory = data.ConsumeBool();
    const std::string batchDirectory = RandomText(data).substr(0, 255);  // 256-byte panel texts
    const std::string batchRequesterPath = RandomText(data).substr(0, 255);

    std::string requester;
    std::string destination;
    if (useBatchDirectory) {
        requester = batchRequesterPath + "\\" + name;
        destination = batchDirectory + "\\" + name;
    } else {
        if (directory.empty())
            requester = content + "\\" + name;
        else if (IsAbsolute(directory))
            requester = directory + "\\" + name;
        else
            requester = content + "\\" + directory + "\\" + name;
        destination = requester;
    }
    const bool expectFit = requester.size() < kPathCapacity && destination.size() < kPathCapacity;

    const corvantide::BatchPathSources sources{name.c_str(),           directory.c_str(),
                                               content.c_str(),        useBatchDirectory,
                                               batchDirectory.c_str(), batchRequesterPath.c_str()};
    std::vector<char> requesterPath = Buffer(kPathCapacity);
    std::vector<char> destinationPath = Buffer(kPathCapacity);
    const bool fits = corvantide::ComposeBatchPaths(sources, requesterPath.data(), destinationPath.data());
    Expect(fits == expectFit, "batch path refused or taken wrongly");
    if (!fits) {
        Expect(Untouched(requesterPath) && Untouched(destinationPath), "a refused path changed its buffer");
        return;
    }
    Expect(TextIn(requesterPath) == requester, "requester path");
    Expect(TextIn(destinationPath) == destination, "destination path");
}

void Helpers(FuzzedDataProvider& data) {
    const std::size_t capacity = data.ConsumeIntegralInRange<std::size_t>(1, 1100);
    const std::string source = RandomText(data);
    const bool fits = source.size() < capacity;

    std::vector<char> copy = Buffer(capacity);
    Expect(corvantide::CopyText(copy.data(), capacity, source.c_str()) == fits, "CopyText refusal");
    Expect(fits ? TextIn(copy) == source : Untouched(copy), "CopyText result");

    std::vector<char> cut = Buffer(capacity);
    corvantide::CopyTextCut(cut.data(), capacity, source.c_str());
    Expect(TextIn(cut) == source.substr(0, capacity - 1), "CopyTextCut result");

    Expect(corvantide::BoundedLength(source.c_str(), capacity) == (fits ? source.size() : capacity),
           "BoundedLength");

    std::vector<std::string> parts;
    const std::size_t partCount = data.ConsumeIntegralInRange<std::size_t>(0, 4);
    std::string joined;
    for (std::size_t i = 0; i < partCount; ++i) {
        parts.push_back(RandomText(data));
        joined += (i > 0 ? "\\" : "") + parts.back();
    }
    std::vector<const char*> pointers;
    for (const std::string& part : parts) pointers.push_back(part.c_str());
    std::vector<char> join = Buffer(capacity);
    const bool joinFits = joined.size() < capacity;
    Expect(corvantide::JoinText(join.data(), capacity, '\\', pointers.data(), pointers.size()) == joinFits,
           "JoinText refusal");
    Expect(joinFits ? TextIn(join) == joined : Untouched(join), "JoinText result");

    const std::string suffix = RandomText(data).substr(0, 32);
    const bool ends = EndsWithFolded(source, suffix);
    Expect(corvantide::EndsWithIgnoreCase(source.c_str(), suffix.c_str()) == ends, "EndsWithIgnoreCase");

    std::vector<char> fileName = Buffer(capacity);
    const std::string composed = source + suffix;
    const bool nameFits = composed.size() < capacity;
    Expect(corvantide::ComposeFileName(fileName.data(), capacity, source.c_str(), suffix.c_str()) == nameFits,
           "ComposeFileName refusal");
    if (nameFits) Expect(TextIn(fileName) == composed, "ComposeFileName result");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            StatusText(data);
            break;
        case 1:
            BaseName(data);
            break;
        case 2:
            BatchPaths(data);
            break;
        default:
            Helpers(data);
            break;
    }
    return 0;
}
