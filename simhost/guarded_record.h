// A host record as a strict host hands it out: every byte filled with a
// pattern, the fields the plug-in may write listed, and an image of what the
// host itself put there. Any other byte the plug-in changes is a finding.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace simhost {

// The fill of host records: a byte no field of the plug-in's would hold by chance.
inline constexpr unsigned char kRecordPattern = 0xC5;

class GuardedRecord {
public:
    GuardedRecord(std::size_t size, std::string name);
    GuardedRecord(const GuardedRecord&) = delete;
    GuardedRecord& operator=(const GuardedRecord&) = delete;

    void* Data() { return bytes_.get(); }
    const void* Data() const { return bytes_.get(); }
    std::size_t Size() const { return size_; }

    // A field the plug-in owns: it may write any bytes there.
    void Own(std::size_t offset, std::size_t size) { owned_.emplace_back(offset, size); }
    // The host's own write, to the record and to its image.
    void HostWrite(std::size_t offset, const void* data, std::size_t size);
    template <typename T>
    void HostPut(std::size_t offset, T value) {
        HostWrite(offset, &value, sizeof value);
    }
    // One finding per run of changed bytes outside the owned fields.
    void Check(std::vector<std::string>* findings) const;

private:
    bool Owned(std::size_t offset) const;

    std::size_t size_;
    std::string name_;
    std::unique_ptr<unsigned char[]> bytes_;
    std::unique_ptr<unsigned char[]> image_;
    std::vector<std::pair<std::size_t, std::size_t>> owned_;
};

// Reports every byte of `record` that differs from `image` as one finding per
// changed run, naming the record; the plug-in owns none of these bytes.
void CompareRecord(const unsigned char* record, const unsigned char* image, std::size_t size,
                   const std::string& name, std::vector<std::string>* findings);

}  // namespace simhost
