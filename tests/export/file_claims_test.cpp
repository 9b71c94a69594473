// The record of which item claimed which file: every claim is found again,
// however many, and a table never takes more than it was made for.
#include <string>
#include <vector>

#include "export/file_claims.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::FileClaims;
using corvantide::NameKey;

using FileClaimsTable = LinkedPlugin;

TEST_F(FileClaimsTable, EveryClaimIsFoundAgainAndASecondClaimNamesTheFirst) {
    constexpr int kFiles = 1000;
    FileClaims claims{};
    ASSERT_TRUE(corvantide::BeginFileClaims(&claims, kFiles));
    std::vector<int> items(kFiles);
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "C:\\out\\Bone" + std::to_string(i);
        EXPECT_EQ(nullptr, corvantide::ClaimFile(&claims, NameKey(name.c_str(), ".mot"), &items[i])) << i;
    }
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "c:/OUT/bone" + std::to_string(i);  // as Windows compares names
        EXPECT_EQ(&items[i], corvantide::FindClaim(&claims, NameKey(name.c_str(), ".MOT"))) << i;
        EXPECT_EQ(&items[i], corvantide::ClaimFile(&claims, NameKey(name.c_str(), ".mot"), &items[0])) << i;
    }
    EXPECT_EQ(nullptr, corvantide::FindClaim(&claims, NameKey("C:\\out\\Bone", "_ZoomFactor.mot")));
    EXPECT_TRUE(host.Memory().CheckGuards());
    corvantide::EndFileClaims(&claims);
    EXPECT_EQ(nullptr, claims.slots);
}

TEST_F(FileClaimsTable, ATableTakesNoMoreClaimsThanItWasMadeFor) {
    constexpr int kMost = 8;
    FileClaims claims{};
    ASSERT_TRUE(corvantide::BeginFileClaims(&claims, kMost));
    int item = 0;
    for (int i = 0; i <= kMost; ++i) {
        const std::string name = "File" + std::to_string(i);
        corvantide::ClaimFile(&claims, NameKey(name.c_str(), ""), &item);
    }
    EXPECT_EQ(&item, corvantide::FindClaim(&claims, NameKey("File7", "")));
    EXPECT_EQ(nullptr, corvantide::FindClaim(&claims, NameKey("File8", "")));
    EXPECT_EQ(static_cast<std::uint32_t>(kMost), claims.used);
    corvantide::EndFileClaims(&claims);
}

TEST_F(FileClaimsTable, ATableTheHostCannotLendIsNone) {
    FileClaims claims{};
    host.Memory().FailFrom(1);
    EXPECT_FALSE(corvantide::BeginFileClaims(&claims, 4));
    host.Memory().StopFailing();
    EXPECT_EQ(nullptr, claims.slots);
    int item = 0;
    EXPECT_EQ(nullptr, corvantide::ClaimFile(&claims, NameKey("A", ""), &item));
    EXPECT_EQ(nullptr, corvantide::FindClaim(&claims, NameKey("A", "")));
}

}  // namespace
}  // namespace corvantide_test
