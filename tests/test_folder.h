// A folder of the test's own under the temporary directory: made fresh when
// the test starts and removed with everything in it when the test ends,
// whatever its outcome. Its name is unique to this run, so what a failed or
// killed run leaves behind never meets a later one.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#if defined(_WIN32)
#include <process.h>
#define CORVANTIDE_TEST_PID _getpid()
#else
#include <unistd.h>
#define CORVANTIDE_TEST_PID getpid()
#endif

namespace corvantide_test {

class TestFolder {
public:
    // `label` is part of the name, to tell folders of one test apart.
    explicit TestFolder(const std::string& label = "")
        : path_(std::filesystem::temp_directory_path() / UniqueName(label)) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    static std::string UniqueName(const std::string& label) {
        static std::atomic<unsigned> serial{0};
        std::string test = "test";
        if (const auto* info = testing::UnitTest::GetInstance()->current_test_info()) {
            test = std::string(info->test_suite_name()) + "-" + info->name();
        }
        if (!label.empty()) test += "-" + label;
        for (char& c : test) {
            const bool plain =
                (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
            if (!plain) c = '_';
        }
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return "corvantide-" + test + "-" + std::to_string(CORVANTIDE_TEST_PID) + "-" + std::to_string(stamp) +
               "-" + std::to_string(serial++);
    }

    std::filesystem::path path_;
};

}  // namespace corvantide_test
