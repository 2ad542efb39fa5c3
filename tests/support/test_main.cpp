// main() of every test program: GoogleTest's, plus a check after each test
// that no task held the emulated CPU past a tick while a more urgent task
// was due (the host kernel keeps such reports; see hk::takeOverruns).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "host/hostkernel.h"

namespace {

// Under AddressSanitizer the code runs several times slower than built for
// use, and far slower where it allocates or clears large blocks (the start
// of the whole application holds the CPU for up to about 150 ms there), so
// there a hold counts only from 250 ms on; the normal build counts every
// hold past a tick.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSanitizerSlackMs = 250.0;
#else
constexpr double kSanitizerSlackMs = 0.0;
#endif

bool counts(const std::string& report) {
    if (kSanitizerSlackMs <= 0.0) return true;
    const char* at = std::strstr(report.c_str(), "for over ");
    double ms = 0.0;
    if (at == nullptr || std::sscanf(at, "for over %lf ms", &ms) != 1) return true;
    return ms >= kSanitizerSlackMs;
}

class OverrunCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { hk::takeOverruns(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        for (const std::string& report : hk::takeOverruns())
            if (counts(report)) ADD_FAILURE() << report;
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new OverrunCheck);
    return RUN_ALL_TESTS();
}
