// The host's FindFileName writes the name and directory parts into the
// plug-in's 1024-byte buffers: parts of 1022 and 1023 characters come back
// whole, and a host that fills a buffer to its end without a terminator
// leaves 1023 characters and a terminator, with nothing written past it.
#include <cstring>
#include <string>

#include "host/core_services.h"
#include "host/host_api.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

constexpr std::size_t kCapacity = corvantide::kFileNamePartCapacity;
std::size_t partLength = 0;  // what the host below writes into each part

void HostSplit(const char*, char* name, char* dir) {
    const std::size_t written = partLength < kCapacity ? partLength : kCapacity;
    std::memset(name, 'n', written);
    std::memset(dir, 'd', written);
    if (written < kCapacity) {
        name[written] = '\0';
        dir[written] = '\0';
    }
}

class FileNameParts : public LinkedPlugin, public testing::WithParamInterface<std::size_t> {};

TEST_P(FileNameParts, PartsUpToTheirBufferComeBackWholeAndNothingPastItIsTouched) {
    partLength = GetParam();
    corvantide::HostApi.FindFileName = HostSplit;
    constexpr char kCanary = '#';
    char name[kCapacity + 8];
    char directoryPart[kCapacity + 8];
    std::memset(name, kCanary, sizeof name);
    std::memset(directoryPart, kCanary, sizeof directoryPart);

    corvantide::FindFileName("C:\\any\\path", name, directoryPart);

    const std::size_t kept = partLength < kCapacity ? partLength : kCapacity - 1;
    EXPECT_EQ(std::string(kept, 'n'), std::string(name));
    EXPECT_EQ(std::string(kept, 'd'), std::string(directoryPart));
    for (std::size_t i = kCapacity; i < sizeof name; ++i) {
        EXPECT_EQ(kCanary, name[i]) << i;
        EXPECT_EQ(kCanary, directoryPart[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AroundTheLimit, FileNameParts,
                         testing::Values(kCapacity - 2, kCapacity - 1, kCapacity));

// A host that writes neither part, or has no FindFileName at all, leaves
// both empty, never what the buffers held before.
using HostSplitting = LinkedPlugin;

TEST_F(HostSplitting, PartsTheHostLeavesUnwrittenComeBackEmpty) {
    char name[kCapacity];
    char directoryPart[kCapacity];
    corvantide::HostApi.FindFileName = [](const char*, char*, char*) {};
    std::memset(name, 'z', sizeof name);
    std::memset(directoryPart, 'z', sizeof directoryPart);
    corvantide::FindFileName("C:\\any\\path", name, directoryPart);
    EXPECT_EQ("", std::string(name));
    EXPECT_EQ("", std::string(directoryPart));

    corvantide::HostApi.FindFileName = nullptr;
    std::memset(name, 'z', sizeof name);
    std::memset(directoryPart, 'z', sizeof directoryPart);
    corvantide::FindFileName("C:\\any\\path", name, directoryPart);
    EXPECT_EQ("", std::string(name));
    EXPECT_EQ("", std::string(directoryPart));
}

}  // namespace
}  // namespace corvantide_test
