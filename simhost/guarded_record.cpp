// Pattern-filled host records and the check of what the plug-in wrote.
#include "guarded_record.h"

#include <charconv>

namespace simhost {

namespace {

std::string Hex(std::size_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    return "0x" + std::string(digits, end);
}

std::string Finding(const std::string& name, std::size_t first, std::size_t end) {
    return "the plug-in wrote " + std::to_string(end - first) + " byte(s) of the " + name + " at " +
           Hex(first) + ", outside the fields it owns";
}

}  // namespace

GuardedRecord::GuardedRecord(std::size_t size, std::string name)
    : size_(size),
      name_(std::move(name)),
      bytes_(std::make_unique<unsigned char[]>(size)),
      image_(std::make_unique<unsigned char[]>(size)) {
    std::memset(bytes_.get(), kRecordPattern, size);
    std::memset(image_.get(), kRecordPattern, size);
}

void GuardedRecord::HostWrite(std::size_t offset, const void* data, std::size_t size) {
    std::memcpy(bytes_.get() + offset, data, size);
    std::memcpy(image_.get() + offset, data, size);
}

bool GuardedRecord::Owned(std::size_t offset) const {
    for (const auto& [first, size] : owned_) {
        if (offset >= first && offset < first + size) return true;
    }
    return false;
}

void GuardedRecord::Check(std::vector<std::string>* findings) const {
    if (std::memcmp(bytes_.get(), image_.get(), size_) == 0) return;
    std::size_t i = 0;
    while (i < size_) {
        if (bytes_[i] == image_[i] || Owned(i)) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i < size_ && bytes_[i] != image_[i] && !Owned(i)) ++i;
        findings->push_back(Finding(name_, first, i));
    }
}

void CompareRecord(const unsigned char* record, const unsigned char* image, std::size_t size,
                   const std::string& name, std::vector<std::string>* findings) {
    if (std::memcmp(record, image, size) == 0) return;
    std::size_t i = 0;
    while (i < size) {
        if (record[i] == image[i]) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i < size && record[i] != image[i]) ++i;
        findings->push_back(Finding(name, first, i));
    }
}

}  // namespace simhost
