// The plug-in's objects linked into the test program, bound to a simulated
// host the way the host binds the library: InitCustomize, start-up phases 2
// and 4. A status area stands in for the panel's, so exports show progress.
// Each test gets a fresh host and a folder of its own for files, removed
// after; its teardown checks the validator's findings.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "settings/export_settings.h"
#include "sim_host.h"
#include "test_folder.h"

extern "C" void InitCustomize(void* hostInterface, void* moduleRecord) noexcept;

namespace corvantide_test {

class LinkedPlugin : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A settings record for the item with its destination base path set
    // (in the test's directory) and output enabled.
    corvantide::ExportSettings* Prepare(void* item, const std::string& baseName);
    // ExportItemMotion, checking that it gave back every host block it took
    // and overran none.
    std::int32_t Export(void* item);

    std::string PathOf(const std::string& fileName) const { return (directory / fileName).string(); }
    std::string Read(const std::string& fileName) const;
    bool Exists(const std::string& fileName) const;
    void Write(const std::string& fileName, const std::string& text) const;
    // Names of the files in the test's directory, sorted.
    std::vector<std::string> Files() const;
    // The status area's text now.
    std::string Status();

    void ExpectCleanHost();

    // The plug-in's own heap (its requester buffers): allocation number n
    // (1-based, counted from now) is refused; 0 refuses none.
    void FailOwnAllocation(std::uint64_t n);
    std::uint64_t OwnAllocationsMade() const;
    // Own blocks handed out and not given back; checked to be 0 at the end.
    std::int64_t OwnBlocksOutstanding() const;

    simhost::SimHost host;
    std::filesystem::path directory;

private:
    std::vector<void*> prepared_;
    std::unique_ptr<TestFolder> folder_;
};

// Expected file text, assembled from literal lines.
std::string Header(int channels);
std::string Channel(int channel, const std::string& body);
extern const char kPlaceholder[];

}  // namespace corvantide_test
