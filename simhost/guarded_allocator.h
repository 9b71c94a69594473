// The simulated host's allocator: zero-filled blocks with guard bytes after
// each, a count of outstanding blocks, and a switch to fail from the Nth
// allocation on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace simhost {

class GuardedAllocator {
public:
    using Reporter = std::function<void(const std::string&)>;

    explicit GuardedAllocator(Reporter report) : report_(std::move(report)) {}
    ~GuardedAllocator();
    GuardedAllocator(const GuardedAllocator&) = delete;
    GuardedAllocator& operator=(const GuardedAllocator&) = delete;

    void* Allocate(std::uint64_t count, std::uint64_t size);
    void Release(void* block);

    // Allocation number n (1-based, counted from now) and every later one fail.
    void FailFrom(std::uint64_t n);
    void StopFailing() { failFrom_ = 0; }
    // A host with this many bytes to give: a block that would take the
    // outstanding total past it is refused (null, no violation). 0: no limit.
    void LimitBytes(std::uint64_t limit) { limit_ = limit; }

    std::uint64_t AllocationsMade() const { return made_; }
    std::size_t Outstanding() const { return blocks_.size(); }
    std::uint64_t BytesOutstanding() const;
    std::uint64_t PeakBytes() const { return peakBytes_; }
    // Size in bytes of a live block, 0 when unknown.
    std::uint64_t SizeOf(const void* block) const;
    // Checks every live block's guard bytes; reports and returns false on damage.
    bool CheckGuards() const;

    static constexpr std::size_t kGuardSize = 32;
    static constexpr unsigned char kGuardByte = 0xAB;

private:
    bool GuardIntact(const unsigned char* block, std::uint64_t size) const;

    Reporter report_;
    std::map<const void*, std::uint64_t> blocks_;
    std::uint64_t made_ = 0;
    std::uint64_t failFrom_ = 0;  // 0: never fail
    std::uint64_t limit_ = 0;     // 0: no limit
    std::uint64_t bytes_ = 0;
    std::uint64_t peakBytes_ = 0;
};

}  // namespace simhost
