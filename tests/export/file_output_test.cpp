// Staged files: the destination is replaced only by a complete file, and
// names that do not fit are refused rather than cut.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "export/file_output.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace corvantide_test {
namespace {

using corvantide::StagedFile;

class StagedFiles : public testing::Test {
protected:
    void SetUp() override {
        directory =
            std::filesystem::temp_directory_path() /
            ("corvantide-staged-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        base = (directory / "Box").string();
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Get(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    std::size_t FileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory), {}));
    }

    std::filesystem::path directory;
    std::string base;
};

TEST_F(StagedFiles, ACommittedFileReplacesTheDestination) {
    Put(base + ".mot", "older");
    StagedFile staged;
    ASSERT_TRUE(corvantide::NameStagedFile(&staged, base.c_str(), ".mot"));
    ASSERT_TRUE(corvantide::OpenStagedFile(&staged));
    // A short name of its own in the destination's folder.
    const std::filesystem::path temporary(staged.temporary);
    EXPECT_EQ(directory, temporary.parent_path());
    EXPECT_EQ(corvantide::kTemporaryNameLength, temporary.filename().string().size());
    EXPECT_EQ("older", Get(base + ".mot"));  // untouched while the new file is written
    ASSERT_TRUE(corvantide::FileOutput.write(staged.file, "new", 3));
    ASSERT_TRUE(corvantide::FileOutput.write(staged.file, "\n", 1));  // a write of one byte lands too
    ASSERT_TRUE(corvantide::CloseStagedFile(&staged));
    ASSERT_EQ(corvantide::Commit::kInPlace, corvantide::CommitStagedFile(&staged));
    EXPECT_EQ("new\n", Get(base + ".mot"));
    EXPECT_EQ(1u, FileCount());
}

#if !defined(_WIN32)
TEST_F(StagedFiles, ACommittedFileHasThePermissionsOfAnyNewFileOfTheUser) {
    const mode_t userMask = ::umask(022);
    StagedFile staged;
    ASSERT_TRUE(corvantide::NameStagedFile(&staged, base.c_str(), ".mot"));
    const bool opened = corvantide::OpenStagedFile(&staged);
    ::umask(userMask);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(corvantide::CloseStagedFile(&staged));
    ASSERT_EQ(corvantide::Commit::kInPlace, corvantide::CommitStagedFile(&staged));
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read,
              fs::status(base + ".mot").permissions());
}
#endif

TEST_F(StagedFiles, ADiscardedFileLeavesTheDestinationAndNoTemporaryFile) {
    Put(base + ".mot", "older");
    StagedFile staged;
    ASSERT_TRUE(corvantide::NameStagedFile(&staged, base.c_str(), ".mot"));
    ASSERT_TRUE(corvantide::OpenStagedFile(&staged));
    corvantide::FileOutput.write(staged.file, "partial", 7);
    corvantide::DiscardStagedFile(&staged);
    EXPECT_EQ("older", Get(base + ".mot"));
    EXPECT_EQ(1u, FileCount());
}

// A file not on the disk is not written: it is discarded at its close, and
// the destination stays.
TEST_F(StagedFiles, AFileThatCannotBeSyncedClosesAsNotWritten) {
    Put(base + ".mot", "older");
    StagedFile staged;
    ASSERT_TRUE(corvantide::NameStagedFile(&staged, base.c_str(), ".mot"));
    ASSERT_TRUE(corvantide::OpenStagedFile(&staged));
    ASSERT_TRUE(corvantide::FileOutput.write(staged.file, "new\n", 4));
    corvantide::FileOutput.sync = [](void*) { return false; };
    const bool closed = corvantide::CloseStagedFile(&staged);
    corvantide::FileOutput = corvantide::PlatformFileOperations();
    EXPECT_FALSE(closed);
    EXPECT_EQ(corvantide::Commit::kFailed, corvantide::CommitStagedFile(&staged));
    EXPECT_EQ("older", Get(base + ".mot"));
    EXPECT_EQ(1u, FileCount());
}

// The temporary name the open was refused for may be someone else's file by
// then: discarding a staged file that never opened removes nothing.
TEST_F(StagedFiles, AFileThatCouldNotBeOpenedRemovesNothingOfSomeoneElses) {
    static std::string tried;
    corvantide::FileOutput.open = [](const char* path) -> void* {
        tried = path;
        std::ofstream(path, std::ios::binary) << "not ours";
        errno = EACCES;
        return nullptr;
    };
    StagedFile staged;
    ASSERT_TRUE(corvantide::NameStagedFile(&staged, base.c_str(), ".mot"));
    EXPECT_FALSE(corvantide::OpenStagedFile(&staged));
    EXPECT_FALSE(corvantide::CloseStagedFile(&staged));  // nothing to close is no file written
    corvantide::DiscardStagedFile(&staged);
    corvantide::FileOutput = corvantide::PlatformFileOperations();
    ASSERT_FALSE(tried.empty());
    EXPECT_EQ("not ours", Get(tried));
    EXPECT_FALSE(std::filesystem::exists(base + ".mot"));
}

TEST_F(StagedFiles, NamesAreComposedWithinTheirBuffersOrRefused) {
    char name[16];
    std::memset(name, 'x', sizeof name);
    EXPECT_TRUE(corvantide::ComposeFileName(name, sizeof name, "12345678901", ".mot"));  // 15 and the NUL
    EXPECT_STREQ("12345678901.mot", name);
    EXPECT_FALSE(corvantide::ComposeFileName(name, sizeof name, "123456789012", ".mot"));
    EXPECT_STREQ("12345678901.mot", name);  // unchanged, not cut
    EXPECT_FALSE(corvantide::ComposeFileName(name, sizeof name, nullptr, ".mot"));

    const std::string longest(1019, 'p');
    StagedFile staged;
    EXPECT_TRUE(corvantide::NameStagedFile(&staged, longest.c_str(), ".mot"));
    EXPECT_EQ(longest + ".mot", staged.destination);
    const std::string tooLong(1020, 'p');
    EXPECT_FALSE(corvantide::NameStagedFile(&staged, tooLong.c_str(), ".mot"));
}

}  // namespace
}  // namespace corvantide_test
