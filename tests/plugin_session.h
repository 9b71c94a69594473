// A simulated host with the real plug-in library loaded and started, as the
// host has it after start-up phases 2 and 4. Each test gets a fresh one.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim_host.h"

namespace corvantide_test {

class PluginSession : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    }

    // The simulated host saw nothing a real host would punish.
    void ExpectCleanHost() {
        const auto findings = host.Audit();
        EXPECT_TRUE(findings.empty()) << findings.front();
    }

    simhost::SimHost host;
};

}  // namespace corvantide_test
