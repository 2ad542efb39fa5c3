// The serial device over a socat pseudo-terminal pair: the controller's side
// is "/tyCo/0" mapped to one end, the test talks through the other end.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/hostnet.h"
#include "platform/ttyvxppc.h"
#include "platform/vkiodev.h"
#include "tests/support/pty_pair.h"

namespace {

using Bytes = std::vector<uint8_t>;

class SerialDevice : public ::testing::Test {
protected:
    testsupport::PtyPair pty;
    SerialDvram* rec = nullptr;

    void SetUp() override {
        ASSERT_TRUE(pty.ok() && pty.openPeer());
        hostio::setTtyPath("/tyCo/0", pty.path(0));
        hk::start(hk::ClockMode::Simulated);
        ApplicationRunning = 1;
        ASSERT_EQ(run([] { return VKIO_devInit(1); }), VKIO_DONE);
        rec = serialDvramOf(1);
    }
    void TearDown() override {
        hk::runTask([] { DeleteDevs(); });
        hk::shutdown();
    }
    template <typename F>
    int32_t run(F f) {
        int32_t r = 0;
        hk::runTask([&] { r = f(); });
        return r;
    }
    // The peer sends bytes; returns once the driver has taken all of them in.
    void feed(const std::string& s) {
        uint64_t before = hostio::ttyDelivered(rec->readFd);
        ASSERT_TRUE(pty.write(Bytes(s.begin(), s.end())));
        ASSERT_TRUE(hostio::ttyWaitDelivered(rec->readFd, before + s.size(), 5000));
    }
    int32_t control(int code, long a) {
        return run([&] { return VKIO_devControl(1, code, a, 0); });
    }
    std::string read(int len = 252) {
        std::string out(static_cast<size_t>(len), '\0');
        out.resize(static_cast<size_t>(std::max(0, run([&] { return VKIO_devRead(1, out.data(), len); }))));
        return out;
    }
    int32_t write(const void* buf, int len) {
        return run([&] { return VKIO_devWrite(1, buf, len); });
    }
    // The rate the controller's end of the line runs at, as the tty reports it.
    speed_t portSpeed() {
        const int fd = ::open(pty.path(0).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios t{};
        const bool ok = fd >= 0 && ::tcgetattr(fd, &t) == 0;
        if (fd >= 0) ::close(fd);
        return ok ? ::cfgetospeed(&t) : B0;
    }
};

}  // namespace

TEST_F(SerialDevice, LineModeReadsAndWritesBuildTheLineEndingInTheDriver) {
    EXPECT_EQ(control(4, 1), VKIO_DONE);  // a read ends at LF
    feed("AB\rcd\n");
    EXPECT_EQ(read(), "AB\n");  // CR ends a line as LF
    EXPECT_EQ(read(), "cd\n");
    feed("abc\n");
    EXPECT_EQ(read(2), "ab");  // a full caller buffer also ends the read
    EXPECT_EQ(read(1), "c");   // even of one byte
    EXPECT_EQ(read(), "\n");

    // The caller's bytes are never written into; the driver adds the CR.
    const Bytes line = {'h', 'i', '\n'};
    Bytes copy = line;
    EXPECT_EQ(write(copy.data(), 3), VKIO_DONE);
    EXPECT_EQ(copy, line);
    EXPECT_EQ(pty.read(4, 5000), (Bytes{'h', 'i', '\r', '\n'}));
    EXPECT_EQ(write(copy.data(), 0), VKIO_DONE);  // sends nothing: the next bytes are the next write's
    EXPECT_EQ(control(7, 2), VKIO_DONE);
    EXPECT_EQ(write("Z\n", 2), VKIO_DONE);
    EXPECT_EQ(pty.read(2, 5000), (Bytes{'Z', '\r'}));
    EXPECT_EQ(run([] { return VKIO_devOpen(1); }), VKIO_DONE);  // takes the device for the caller
    EXPECT_EQ(run([] { return VKIO_devClose(1); }), VKIO_DONE);
    EXPECT_EQ(control(15, 2), VKIO_DONE);  // frame mode writes the bytes as they are
    EXPECT_EQ(write("\x05\n", 2), VKIO_DONE);
    EXPECT_EQ(pty.read(2, 5000), (Bytes{5, '\n'}));
}

TEST_F(SerialDevice, FrameModeSplitsBySilenceAndFiltersAddress) {
    // The silent interval: 3.5 characters, at least one character and 1.75 ms.
    // Characters of 9, 11 and 11.5 bits (8N1; 8O2; code 2 with 1.5 stop bits and even parity).
    const struct { long baud, data, stop, parity; uint32_t us; speed_t speed; } formats[] = {
        {7, 1, 2, 2, 8021, B4800},     // 3.5 characters
        {9, 2, 3, 3, 2349, B19200},    // one character and 1.75 ms
        {11, 2, 1, 4, 1941, B57600},
        {12, 1, 1, 1, 1829, B115200},
        {8, 1, 1, 1, 3282, B9600},     // 3.5 characters
    };
    for (const auto& f : formats) {
        EXPECT_EQ(control(1, f.data), VKIO_DONE);
        EXPECT_EQ(control(2, f.stop), VKIO_DONE);
        EXPECT_EQ(control(3, f.parity), VKIO_DONE);
        EXPECT_EQ(control(0, f.baud), VKIO_DONE);
        EXPECT_EQ(rec->silentInterval, f.us) << "baud index " << f.baud;
        EXPECT_EQ(portSpeed(), f.speed) << "baud index " << f.baud;
    }
    EXPECT_EQ(control(15, 2), VKIO_DONE);
    EXPECT_EQ(control(26, 5), VKIO_DONE);
    const std::string a("\x05\x03\x00\x00\x00\x02\xC4\x0B", 8), b("\x05\x06\x00\x01\x00\x03\x98\x0B", 8);
    feed(a);
    uint64_t t0 = hk::ticks();
    EXPECT_EQ(read(), a);  // once the line has been silent for the interval
    EXPECT_EQ(hk::ticks() - t0, 1u);
    hk::runTicks(1);
    feed(b.substr(0, 3));  // parts within the interval are one frame
    feed(b.substr(3));
    EXPECT_EQ(read(), b);
    // A frame for another address is dropped up to the next silence.
    hk::runTicks(1);
    feed(std::string("\x07\x03\x00\x00\x00\x02\xC5\xCD", 8));
    feed("\x05");  // no silence yet: still the foreign frame
    hk::runTicks(1);
    feed(a);
    EXPECT_EQ(read(), a);
    // A minimum interval holds the frame back longer: 20 ms.
    EXPECT_EQ(control(27, 20), VKIO_DONE);
    hk::runTicks(5);
    feed(b);
    t0 = hk::ticks();
    EXPECT_EQ(read(), b);
    EXPECT_EQ(hk::ticks() - t0, 5u);
}

TEST_F(SerialDevice, ControlValuesOutsideTheirRangesAreRefused) {
    // Each code with its lowest and highest value: one below and one above are refused.
    const struct {
        const char* name;
        int code;
        long low, high;
    } cases[] = {
        {"baud", 0, 1, 12},        {"data bits", 1, 1, 2},   {"stop bits", 2, 1, 3}, {"parity", 3, 1, 5},
        {"read ending", 4, 1, 2},  {"flow control", 5, 1, 3}, {"echo", 6, 1, 2},     {"write ending", 7, 1, 3},
        {"carriage return", 8, 1, 2}, {"protocol", 15, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control(c.code, c.low - 1), VKIO_ERROR);
        EXPECT_EQ(control(c.code, c.low), VKIO_DONE);
        EXPECT_EQ(control(c.code, c.high), VKIO_DONE);
        EXPECT_EQ(control(c.code, c.high + 1), VKIO_ERROR);
    }
    // A refused rate leaves the line at 38,400 baud.
    EXPECT_EQ(rec->baudIndex, 10);
    EXPECT_EQ(portSpeed(), B38400);
    // Flow control 2 is XON/XOFF on, 1 and 3 off; echo 2 on.
    int opts = 0;
    const struct { int code; long value; int option; bool on; } options[] = {
        {5, 2, hostio::TTY_OPT_TANDEM, true}, {5, 3, hostio::TTY_OPT_TANDEM, false},
        {5, 1, hostio::TTY_OPT_TANDEM, false}, {6, 2, hostio::TTY_OPT_ECHO, true}, {6, 1, hostio::TTY_OPT_ECHO, false}};
    for (const auto& o : options) {
        ASSERT_EQ(control(o.code, o.value), VKIO_DONE);
        ASSERT_EQ(hostio::ttyGetOptions(rec->readFd, &opts), 0);
        EXPECT_EQ((opts & o.option) != 0, o.on) << o.code << " " << o.value;
    }
}

TEST_F(SerialDevice, CharacterFormatReachesThePortWithoutComplaint) {
    const struct { int code; long value; int mask, bits; } cases[] = {
        {1, 2, hostio::TTY_HW_CSIZE, hostio::TTY_HW_CS7}, {1, 1, hostio::TTY_HW_CSIZE, hostio::TTY_HW_CS8},
        {2, 3, hostio::TTY_HW_STOPB, hostio::TTY_HW_STOPB}, {2, 1, hostio::TTY_HW_STOPB, 0},
        {3, 2, hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD, hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD},
        {3, 3, hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD, hostio::TTY_HW_PARENB},
        {3, 1, hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD, 0},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(control(c.code, c.value), VKIO_DONE);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.code << " " << c.value;
        int opts = 0;
        ASSERT_EQ(hostio::ttyGetHwOptions(rec->readFd, &opts), 0);
        EXPECT_EQ(opts & c.mask, c.bits) << c.code << " " << c.value;
    }
}

TEST(SerialDeviceUnset, RowNeverInitialisedRefusesEveryOperation) {
    hk::start(hk::ClockMode::Simulated);
    ApplicationRunning = 1;
    ASSERT_EQ(serialDvramOf(1), nullptr);
    hk::runTask([] {
        char buf[4] = {};
        EXPECT_EQ(VKIO_devOpen(1), VKIO_ERROR);
        EXPECT_EQ(VKIO_devClose(1), VKIO_ERROR);
        EXPECT_EQ(VKIO_devWrite(1, "x", 1), VKIO_ERROR);
        EXPECT_EQ(VKIO_devPutc(1, 'x'), VKIO_ERROR);
        EXPECT_EQ(VKIO_devControl(1, 4, 1, 0), VKIO_ERROR);
        EXPECT_EQ(VKIO_devRead(1, buf, sizeof buf), VKIO_ERROR);
    });
    ApplicationRunning = 0;
    hk::shutdown();
}

