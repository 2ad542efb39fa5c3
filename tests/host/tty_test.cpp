// The tty driver model over a socat pseudo-terminal pair: options, the
// receive hook at interrupt level, the input buffer and writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "tests/support/pty_pair.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Tty : public ::testing::Test {
protected:
    testsupport::PtyPair pty;
    int h = -1;
    void SetUp() override {
        ASSERT_TRUE(pty.ok() && pty.openPeer());
        hostio::setTtyPath("/tyCo/1", pty.path(0));
        hk::start(hk::ClockMode::Simulated);
        h = hostio::ttyOpen("/tyCo/1");
        ASSERT_GE(h, 3);
    }
    void TearDown() override {
        hostio::ttyClose(h);
        hostio::setTtyPath("/tyCo/1", "");
        hk::shutdown();
    }
    void feed(const std::string& s) {
        const uint64_t before = hostio::ttyDelivered(h);
        ASSERT_TRUE(pty.write(Bytes(s.begin(), s.end())));
        ASSERT_TRUE(hostio::ttyWaitDelivered(h, before + s.size(), 5000));
        hk::runTicks(1);
    }
    std::string take(int len) {
        std::string out(static_cast<size_t>(len), '\0');
        const int n = hostio::ttyRead(h, out.data(), len);
        out.resize(static_cast<size_t>(n < 0 ? 0 : n));
        return out;
    }
};

std::vector<int> g_hookChars;
bool g_hookAtInterruptLevel = true;
int dropDigits(void*, int ch) {
    g_hookChars.push_back(ch);
    g_hookAtInterruptLevel = g_hookAtInterruptLevel && intContext();
    return ch >= '0' && ch <= '9';
}

TEST_F(Tty, InputBufferHookAndFlush) {
    EXPECT_EQ(hostio::ttyNRead(h), 0);
    feed("abc");
    EXPECT_EQ(hostio::ttyNRead(h), 3);
    EXPECT_EQ(take(2), "ab");
    EXPECT_EQ(take(10), "c");
    EXPECT_EQ(take(10), "");
    // The hook sees every character at interrupt level; the digits it discards never arrive.
    g_hookChars.clear();
    ASSERT_EQ(hostio::ttySetHook(h, dropDigits, nullptr), 0);
    feed("x1y2");
    EXPECT_EQ(g_hookChars, (std::vector<int>{'x', '1', 'y', '2'}));
    EXPECT_TRUE(g_hookAtInterruptLevel);
    EXPECT_EQ(take(10), "xy");
    ASSERT_EQ(hostio::ttySetHook(h, nullptr, nullptr), 0);
    feed("34");
    EXPECT_EQ(hostio::ttyFlush(h), 0);
    EXPECT_EQ(hostio::ttyNRead(h), 0);
    EXPECT_EQ(hostio::ttyRead(h, nullptr, -1), -1);
}

TEST_F(Tty, OptionsAreKeptAsSet) {
    int opts = -1;
    for (int hw : {hostio::TTY_HW_CS8, hostio::TTY_HW_CS7 | hostio::TTY_HW_PARENB,
                   hostio::TTY_HW_CS8 | hostio::TTY_HW_STOPB | hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD}) {
        EXPECT_EQ(hostio::ttySetHwOptions(h, hw), 0);
        EXPECT_EQ(hostio::ttyGetHwOptions(h, &opts), 0);
        EXPECT_EQ(opts, hw);
    }
    for (int o : {0, hostio::TTY_OPT_TANDEM}) {
        EXPECT_EQ(hostio::ttySetOptions(h, o), 0);
        EXPECT_EQ(hostio::ttyGetOptions(h, &opts), 0);
        EXPECT_EQ(opts, o);
    }
    EXPECT_EQ(hostio::ttySetBaud(h, 9600), 0);
    EXPECT_EQ(hostio::ttySetBaud(h, 12345), -1);  // no such rate
    // A handle that is not open is refused everywhere.
    for (int bad : {-1, 0, h + 100}) {
        EXPECT_EQ(hostio::ttySetBaud(bad, 9600), -1);
        EXPECT_EQ(hostio::ttyGetHwOptions(bad, &opts), -1);
        EXPECT_EQ(hostio::ttySetHwOptions(bad, 0), -1);
        EXPECT_EQ(hostio::ttyGetOptions(bad, &opts), -1);
        EXPECT_EQ(hostio::ttySetOptions(bad, 0), -1);
        EXPECT_EQ(hostio::ttySetHook(bad, nullptr, nullptr), -1);
        EXPECT_EQ(hostio::ttyFlush(bad), -1);
        EXPECT_EQ(hostio::ttyNRead(bad), -1);
        EXPECT_EQ(hostio::ttyRead(bad, &opts, 1), -1);
        EXPECT_EQ(hostio::ttyWrite(bad, "x", 1), -1);
    }
    EXPECT_EQ(hostio::ttyOpen("/tyCo/9"), -1);  // not mapped
    EXPECT_FALSE(hostio::ttyWaitDelivered(h + 100, 0, 0));
}

TEST_F(Tty, WritesReachThePeer) {
    int n = 0;
    hk::runTask([&] { n = hostio::ttyWrite(h, "hello", 5); });
    EXPECT_EQ(n, 5);
    EXPECT_EQ(pty.read(5, 5000), (Bytes{'h', 'e', 'l', 'l', 'o'}));
    hk::runTask([&] { n = hostio::ttyWrite(h, "", 0); });
    EXPECT_EQ(n, 0);
}

}  // namespace
