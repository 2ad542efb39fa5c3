// Starts the host kernel in simulated time with the emulated platform, so
// that tests can run tRGStart/tRGEnd as the platform's task would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/hostkernel.h"
#include "host/vkplatform.h"

namespace tc_test {

class RuntimeFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs tRGStart / tRGEnd in the platform's task (priority 100).
    uint32_t start();
    uint32_t stop();

    // "state N: text" / "event N: text" for every message the platform read.
    std::vector<std::string> messageLines();

    std::string root_;
};

}  // namespace tc_test
