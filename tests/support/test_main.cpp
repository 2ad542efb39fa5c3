// main() of every test program: GoogleTest's, plus a check after each test
// that no task held the emulated CPU past a tick while a more urgent task
// was due (the host kernel keeps such reports; see hk::takeOverruns).
#include <gtest/gtest.h>

#include <string>

#include "host/hostkernel.h"

namespace {

class OverrunCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { hk::takeOverruns(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        for (const std::string& report : hk::takeOverruns()) ADD_FAILURE() << report;
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new OverrunCheck);
    return RUN_ALL_TESTS();
}
