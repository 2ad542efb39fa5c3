// main() of every test program: GoogleTest's, plus a check after each test
// that no task held the emulated CPU for two ticks while a more urgent task
// was due (the host kernel keeps such reports; see hk::takeOverruns).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "host/hostkernel.h"

namespace {

// A report fails the test from two ticks of CPU time on. On a loaded
// virtual host the thread a stop of the host interrupts is charged for it
// as CPU time; the kernel's watcher takes stops of the whole machine off,
// but stops of a single processor of a few milliseconds it cannot see, and
// the kernel prints every report past a tick. Under AddressSanitizer the code
// runs several times slower, and far slower where it allocates or clears
// large blocks (the start of the whole application holds the CPU for up to
// about 150 ms there), so there a hold counts only from 250 ms on.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kCountFromMs = 250.0;
#else
constexpr double kCountFromMs = 10.0;
#endif

bool counts(const std::string& report) {
    const char* at = std::strstr(report.c_str(), " ms (");
    double ms = 0.0;
    if (at == nullptr || std::sscanf(at, " ms (%lf ms of CPU time)", &ms) != 1) return true;
    return ms >= kCountFromMs;
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
