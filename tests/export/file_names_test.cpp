// File names Windows can hold: where a path's name starts, what is refused
// in it, and how an item's name is made into one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "export/file_names.h"

namespace corvantide_test {
namespace {

using corvantide::CheckFileName;
using corvantide::MakeFileName;
using corvantide::NameFault;
using corvantide::NamePartOffset;

// A ":" after the drive never starts a name: "C:\out\rig:Hips" is the file
// "rig:Hips" in C:\out (refused), never a stream "Hips" of a file "rig".
TEST(FileNames, TheNameStartsAfterTheLastSeparatorOrTheDrive) {
    EXPECT_EQ(7u, NamePartOffset("C:\\out\\rig:Hips"));
    EXPECT_EQ(7u, NamePartOffset("C:\\out/rig:Hips"));
    EXPECT_EQ(2u, NamePartOffset("C:Hips"));
    EXPECT_EQ(0u, NamePartOffset("Hips"));
    EXPECT_EQ(0u, NamePartOffset("rig:Hips"));
    EXPECT_EQ(3u, NamePartOffset("C:\\"));
}

TEST(FileNames, RefusedCharactersAndDeviceNamesAreFoundInTheNameOnly) {
    EXPECT_EQ(NameFault::kNone, CheckFileName("C:\\out\\Hips.mot").fault);
    EXPECT_EQ(NameFault::kNone, CheckFileName("C:Hips.mot").fault);
    EXPECT_EQ(NameFault::kNoName, CheckFileName("C:\\out\\").fault);
    EXPECT_EQ(NameFault::kNoName, CheckFileName("").fault);
    for (const char* refused : {"<", ">", ":", "\"", "|", "?", "*", "\x01", "\x1f"}) {
        const std::string path = std::string("C:\\out\\a") + refused + "b.mot";
        const corvantide::NameCheck check = CheckFileName(path.c_str());
        EXPECT_EQ(NameFault::kForbidden, check.fault) << path;
        EXPECT_EQ(static_cast<unsigned char>(refused[0]), check.character) << path;
    }
    for (const char* device : {"CON", "prn.mot", "Aux.x.mot", "NUL", "com1", "COM9.mot", "lpt1.mot", "LPT9"}) {
        EXPECT_EQ(NameFault::kDevice, CheckFileName((std::string("D:\\") + device).c_str()).fault) << device;
    }
    for (const char* plain : {"CONSOLE.mot", "COM0.mot", "COM10.mot", "NULL.mot", "LPT.mot", "xNUL.mot"}) {
        EXPECT_EQ(NameFault::kNone, CheckFileName((std::string("D:\\") + plain).c_str()).fault) << plain;
    }
}

TEST(FileNames, AnItemNameBecomesAFileNameWithUnderscores) {
    char name[32];
    const struct {
        const char* given;
        const char* made;
    } cases[] = {
        {"rig:Hips", "rig_Hips"},    {"Hand/R", "Hand_R"}, {"..\\..\\x", ".._.._x"}, {"NUL", "NUL_"},
        {"com1.take", "com1.take_"}, {"Light?", "Light_"}, {"Hips", "Hips"},         {"", ""},
    };
    for (const auto& c : cases) {
        ASSERT_LT(std::strlen(c.given), sizeof name);
        std::memcpy(name, c.given, std::strlen(c.given) + 1);
        ASSERT_TRUE(MakeFileName(name, sizeof name)) << c.given;
        EXPECT_STREQ(c.made, name) << c.given;
    }
    // A device name whose "_" does not fit is refused, unchanged; one byte more and it fits.
    char full[4] = "NUL";
    EXPECT_FALSE(MakeFileName(full, sizeof full));
    EXPECT_STREQ("NUL", full);
    char exact[5] = "NUL";
    EXPECT_TRUE(MakeFileName(exact, sizeof exact));
    EXPECT_STREQ("NUL_", exact);
}

}  // namespace
}  // namespace corvantide_test
