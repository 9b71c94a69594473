// The simulated host's blocks: a plug-in that reaches past one is caught.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guarded_allocator.h"

#if defined(__SANITIZE_ADDRESS__)
#define TEST_UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TEST_UNDER_ADDRESS_SANITIZER 1
#endif
#endif

namespace corvantide_test {
namespace {

TEST(GuardedAllocator, AnIntactBlockGoesBackWithoutAReport) {
    std::vector<std::string> reports;
    simhost::GuardedAllocator memory([&](const std::string& said) { reports.push_back(said); });
    auto* block = static_cast<unsigned char*>(memory.Allocate(3, 4));
    ASSERT_NE(nullptr, block);
    block[11] = 1;  // its last byte
    EXPECT_TRUE(memory.CheckGuards());
    memory.Release(block);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(0u, memory.Outstanding());
}

#if defined(TEST_UNDER_ADDRESS_SANITIZER)
// The sanitizer stops the read itself, where it happens.
TEST(GuardedAllocatorDeathTest, AReadPastABlockIsStoppedWhereItHappens) {
    simhost::GuardedAllocator memory([](const std::string&) {});
    auto* block = static_cast<volatile unsigned char*>(memory.Allocate(3, 4));
    ASSERT_NE(nullptr, block);
    EXPECT_DEATH(static_cast<void>(block[12]), "use-after-poison");
    memory.Release(const_cast<unsigned char*>(block));
}
#else
TEST(GuardedAllocator, AWritePastABlockIsReportedWhenItGoesBack) {
    std::vector<std::string> reports;
    simhost::GuardedAllocator memory([&](const std::string& said) { reports.push_back(said); });
    auto* block = static_cast<unsigned char*>(memory.Allocate(3, 4));
    ASSERT_NE(nullptr, block);
    block[12] = 1;
    EXPECT_FALSE(memory.CheckGuards());
    memory.Release(block);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ("overrun past a block of 12 bytes", reports[1]);
}
#endif

}  // namespace
}  // namespace corvantide_test
