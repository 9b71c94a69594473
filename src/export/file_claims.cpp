// Claimed files: an open-addressing table of keys, at most half full.
#include "export/file_claims.h"

#include <initializer_list>

#include "host/host_characters.h"
#include "host/host_interface.h"

namespace corvantide {

namespace {

constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;
// A second, independent hash of the same bytes: two 64-bit hashes make an
// accidental match of two names out of reach.
constexpr std::uint64_t kSecondBasis = 0x9e3779b97f4a7c15ull;
// The table is at least twice the claims it takes, so a probe always ends.
constexpr std::uint32_t kLoadFactor = 2;
constexpr std::int64_t kMostSlots = std::int64_t{1} << 30;

unsigned char FoldedByte(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    if (c == '/') return '\\';
    return static_cast<unsigned char>(c);
}

std::uint32_t FirstSlot(const FileClaims* claims, const FileKey& key) {
    return static_cast<std::uint32_t>(key.low ^ (key.high >> 32)) & (claims->capacity - 1);
}

bool IsFree(const ClaimSlot& slot) { return slot.item == nullptr; }

}  // namespace

FileKey NameKey(const char* base, const char* suffix) {
    FileKey key{kOffsetBasis, kSecondBasis};
    for (const char* part : {base, suffix}) {
        for (const char* at = part; *at != '\0';) {
            // Only a character of one byte is folded: in a double-byte code
            // page the second byte of a letter may look like "A" or "/".
            const char* next = NextHostCharacter(at);
            const bool single = next == at + 1;
            for (; at < next; ++at) {
                const unsigned char c = single ? FoldedByte(*at) : static_cast<unsigned char>(*at);
                key.high = (key.high ^ c) * kPrime;
                key.low = (key.low + c + 1) * kPrime ^ (key.low >> 29);
            }
        }
    }
    return key;
}

bool BeginFileClaims(FileClaims* claims, std::int64_t most) {
    *claims = FileClaims{nullptr, 0, 0};
    std::int64_t capacity = 16;
    while (capacity < most * kLoadFactor && capacity < kMostSlots) capacity *= 2;
    auto* slots =
        static_cast<ClaimSlot*>(HostAllocate(static_cast<std::uint64_t>(capacity), sizeof(ClaimSlot)));
    if (slots == nullptr) return false;
    *claims = FileClaims{slots, static_cast<std::uint32_t>(capacity), 0};
    return true;
}

const void* FindClaim(const FileClaims* claims, const FileKey& key) {
    if (claims->slots == nullptr) return nullptr;
    for (std::uint32_t at = FirstSlot(claims, key);; at = (at + 1) & (claims->capacity - 1)) {
        const ClaimSlot& slot = claims->slots[at];
        if (IsFree(slot)) return nullptr;
        if (slot.key == key) return slot.item;
    }
}

const void* ClaimFile(FileClaims* claims, const FileKey& key, const void* item) {
    if (claims->slots == nullptr) return nullptr;
    std::uint32_t at = FirstSlot(claims, key);
    for (; !IsFree(claims->slots[at]); at = (at + 1) & (claims->capacity - 1)) {
        if (claims->slots[at].key == key) return claims->slots[at].item;
    }
    if ((claims->used + 1) * kLoadFactor > claims->capacity) return nullptr;
    claims->slots[at] = ClaimSlot{key, item};
    ++claims->used;
    return nullptr;
}

void EndFileClaims(FileClaims* claims) {
    if (claims->slots != nullptr) HostRelease(claims->slots);
    *claims = FileClaims{nullptr, 0, 0};
}

}  // namespace corvantide
