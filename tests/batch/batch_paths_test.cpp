// An item's base name for Setup Batch, on its own.
#include "batch/batch_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace corvantide_test {
namespace {

using corvantide::BatchBaseName;
using corvantide::kPathCapacity;

TEST(BatchPaths, ANameThatCannotFitLeavesTheBaseNameEmptyWhateverItHeld) {
    char baseName[kPathCapacity] = "Left from the item before";
    const std::string longest(kPathCapacity - 1, 'a');
    const std::string tooLong(kPathCapacity, 'a');

    EXPECT_FALSE(BatchBaseName(baseName, tooLong.c_str()));
    EXPECT_STREQ("", baseName);

    ASSERT_TRUE(BatchBaseName(baseName, longest.c_str()));
    EXPECT_EQ(longest, baseName);
    EXPECT_TRUE(BatchBaseName(baseName, nullptr));
    EXPECT_STREQ("", baseName);
}

}  // namespace
}  // namespace corvantide_test
