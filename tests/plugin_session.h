// A simulated host with the real plug-in library loaded and started, as the
// host has it after start-up phases 2 and 4 (PluginSession), or a bare one
// for tests that load it themselves (AuditedHost). Each test gets a fresh one.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim_host.h"

namespace corvantide_test {

// A simulated host whose validator's findings are checked when the test ends.
class AuditedHost : public testing::Test {
protected:
    void TearDown() override { ExpectCleanHost(); }

    // The simulated host saw nothing a real host would punish: no violation,
    // no overrun, no byte of its records changed that the plug-in does not own.
    void ExpectCleanHost() {
        for (const std::string& finding : host.Audit()) ADD_FAILURE() << finding;
    }

    simhost::SimHost host;
};

class PluginSession : public AuditedHost {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    }
};

}  // namespace corvantide_test
