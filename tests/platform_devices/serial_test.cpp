// The serial device over a socat pseudo-terminal pair: the controller's side
// is "/tyCo/0" mapped to one end, the test talks through the other end.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "host/hostio.h"
#include "host/hostnet.h"
#include "host/hostkernel.h"
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
        ASSERT_TRUE(pty.ok());
        ASSERT_TRUE(pty.openPeer());
        hostio::setTtyPath("/tyCo/0", pty.path(0));
        hk::start(hk::ClockMode::Simulated);
        ApplicationRunning = 1;
        int32_t r = -1;
        hk::runTask([&] { r = VKIO_devInit(1); });
        ASSERT_EQ(r, VKIO_DONE);
        rec = serialDvramOf(1);
        ASSERT_NE(rec, nullptr);
    }

    void TearDown() override {
        CpuSlot = 1;
        hk::runTask([] { DeleteDevs(); });
        hk::shutdown();
    }

    // The peer sends bytes; returns once the driver has taken all of them in
    // (kept or discarded by the receive hook).
    void feed(const Bytes& b) {
        uint64_t before = hostio::ttyDelivered(rec->readFd);
        ASSERT_TRUE(pty.write(b));
        ASSERT_TRUE(hostio::ttyWaitDelivered(rec->readFd, before + b.size(), 5000));
    }
    void feed(const std::string& s) { feed(Bytes(s.begin(), s.end())); }

    int32_t control(int code, long a, long b = 0) {
        int32_t r = 0;
        hk::runTask([&] { r = VKIO_devControl(1, code, a, b); });
        return r;
    }

    // One read in a task; the result code or the bytes read.
    int32_t read(Bytes& out, int len) {
        out.assign(static_cast<size_t>(len), 0);
        int32_t r = 0;
        hk::runTask([&] { r = VKIO_devRead(1, out.data(), len); });
        if (r >= 0) out.resize(static_cast<size_t>(r));
        return r;
    }

    std::string readText(int len) {
        Bytes b;
        int32_t r = read(b, len);
        return r < 0 ? "<" + std::to_string(r) + ">" : std::string(b.begin(), b.end());
    }

    int32_t waiting() {
        int32_t n = -1;
        EXPECT_EQ(control(23, reinterpret_cast<long>(&n)), VKIO_DONE);
        return n;
    }

    void write(const void* buf, int len) {
        hk::runTask([&] { EXPECT_EQ(VKIO_devWrite(1, buf, len), VKIO_DONE); });
    }
};

Bytes rtu(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<uint8_t>(x));
    return b;
}

}  // namespace

TEST_F(SerialDevice, SilentIntervalAndLineSettings) {
    EXPECT_EQ(rec->silentInterval, 1750u);
    EXPECT_EQ(control(0, 8), VKIO_DONE);  // 9600 baud, 8 data bits, 1 stop bit, no parity
    EXPECT_EQ(rec->silentInterval, 3282u);
    EXPECT_EQ(control(0, 12), VKIO_DONE);
    EXPECT_EQ(rec->silentInterval, 1829u);
    EXPECT_EQ(control(0, 13), VKIO_ERROR);
    EXPECT_EQ(rec->baudIndex, 10);  // left at 38,400 baud
    EXPECT_EQ(control(27, 5), VKIO_DONE);
    EXPECT_EQ(rec->silentInterval, 5000u);

    int opts = 0;
    EXPECT_EQ(control(1, 2), VKIO_DONE);
    ASSERT_EQ(hostio::ttyGetHwOptions(rec->readFd, &opts), 0);
    EXPECT_EQ(opts & hostio::TTY_HW_CSIZE, hostio::TTY_HW_CS7);
    EXPECT_EQ(control(2, 3), VKIO_DONE);  // one and a half: two on the port
    EXPECT_EQ(control(3, 2), VKIO_DONE);
    ASSERT_EQ(hostio::ttyGetHwOptions(rec->readFd, &opts), 0);
    EXPECT_EQ(opts & (hostio::TTY_HW_STOPB | hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD),
              hostio::TTY_HW_STOPB | hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD);
    EXPECT_EQ(control(3, 4), VKIO_DONE);  // even
    EXPECT_EQ(control(1, 1), VKIO_DONE);
    ASSERT_EQ(hostio::ttyGetHwOptions(rec->readFd, &opts), 0);
    EXPECT_EQ(opts & (hostio::TTY_HW_CSIZE | hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD),
              hostio::TTY_HW_CS8 | hostio::TTY_HW_PARENB);

    EXPECT_EQ(control(4, 3), VKIO_ERROR);
    EXPECT_EQ(control(15, 0), VKIO_ERROR);
    EXPECT_EQ(control(7, 4), VKIO_ERROR);
    EXPECT_EQ(control(9, 99), VKIO_DONE);  // changes nothing
    EXPECT_EQ(control(28, 0), VKIO_DONE);
    EXPECT_EQ(control(20, 12), VKIO_DONE);
    EXPECT_EQ(rec->readTimeout, 3u);
    EXPECT_EQ(control(20, 0), VKIO_DONE);
    EXPECT_EQ(rec->readTimeout, 0u);
}

TEST_F(SerialDevice, LineModeReads) {
    EXPECT_EQ(control(4, 1), VKIO_DONE);  // a read ends at LF
    feed("AB\r");
    EXPECT_EQ(readText(16), "AB\n");
    feed("xy\ncd\n");
    EXPECT_EQ(readText(16), "xy\n");
    EXPECT_EQ(readText(16), "cd\n");
    // A full caller buffer also ends the read; the rest stays buffered.
    feed("abcd\n");
    EXPECT_EQ(readText(2), "ab");
    EXPECT_EQ(readText(2), "cd");
    EXPECT_EQ(readText(2), "\n");
    // Received CR dropped.
    EXPECT_EQ(control(8, 2), VKIO_DONE);
    feed("pq\r\n");
    EXPECT_EQ(readText(16), "pq\n");

    // A line that arrives in parts is returned whole; the read waits for it.
    Bytes out(16);
    std::atomic<int32_t> n{0};
    std::atomic<bool> done{false};
    feed("AB");
    hk::spawnFunction([&] {
        n = VKIO_devRead(1, out.data(), 16);
        done = true;
    }, 50, "tRead");
    hk::runTicks(5);
    EXPECT_FALSE(done);
    feed("C\n");
    ASSERT_TRUE(hk::runUntil([&] { return done.load(); }, 100));
    ASSERT_EQ(n, 4);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "ABC\n");

    // Read ending 2 returns whatever is there.
    EXPECT_EQ(control(4, 2), VKIO_DONE);
    feed("hello");
    EXPECT_EQ(readText(16), "hello");

    // Time-out in polls of 5 ms.
    EXPECT_EQ(control(20, 12), VKIO_DONE);
    uint64_t t0 = hk::ticks();
    EXPECT_EQ(readText(16), "<" + std::to_string(VKIO_TIMEOUT) + ">");
    EXPECT_EQ(hk::ticks() - t0, 3u);
}

TEST_F(SerialDevice, WritesBuildTheLineEndingInTheDriver) {
    // Exactly the caller's bytes; nothing may be written into or past them.
    const Bytes line = {'h', 'e', 'l', 'l', 'o', '\n'};
    Bytes copy = line;
    write(copy.data(), static_cast<int>(copy.size()));
    EXPECT_EQ(copy, line);
    EXPECT_EQ(pty.read(7, 5000), (Bytes{'h', 'e', 'l', 'l', 'o', '\r', '\n'}));
    // A zero-length write sends nothing: the next bytes are the next write's.
    write(copy.data(), 0);
    write("Z\n", 2);
    EXPECT_EQ(pty.read(3, 5000), (Bytes{'Z', '\r', '\n'}));
    EXPECT_EQ(control(7, 2), VKIO_DONE);
    write("hi\n", 3);
    EXPECT_EQ(pty.read(3, 5000), (Bytes{'h', 'i', '\r'}));
    EXPECT_EQ(control(7, 1), VKIO_DONE);
    write("ab", 2);
    EXPECT_EQ(pty.read(2, 5000), (Bytes{'a', 'b'}));
    // Frame mode writes the bytes as they are.
    EXPECT_EQ(control(15, 2), VKIO_DONE);
    EXPECT_EQ(control(7, 3), VKIO_DONE);
    write("\x05\x03\n", 3);
    EXPECT_EQ(pty.read(3, 5000), (Bytes{5, 3, '\n'}));
    EXPECT_EQ(control(15, 1), VKIO_DONE);

    // Not while the application is stopped.
    ApplicationRunning = 0;
    hk::runTask([&] { EXPECT_EQ(VKIO_devWrite(1, "no\n", 3), VKIO_ERROR); });
    ApplicationRunning = 1;
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devPutc(1, 0x141), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(1, 11, 2, 1), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(1, 12, 0, 0), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(1, 13, 4, 0), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(1, 19, 3, 10), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(1, 19, 3, 60), VKIO_DONE);
    });
    EXPECT_EQ(pty.read(8, 5000), (Bytes{0x41, 194, 1, 15, 138, 131, 202, 195}));
    EXPECT_EQ(ttyWriteError, 0u);
}

TEST_F(SerialDevice, FrameModeSplitsBySilenceAndFiltersAddress) {
    EXPECT_EQ(control(0, 8), VKIO_DONE);
    EXPECT_EQ(control(15, 2), VKIO_DONE);
    EXPECT_EQ(control(26, 5), VKIO_DONE);
    const Bytes a = rtu({5, 3, 0, 0, 0, 2, 0xC4, 0x0B});
    const Bytes b = rtu({5, 6, 0, 1, 0, 3, 0x98, 0x0B});
    Bytes got;

    // A frame is returned once the line has been silent for the interval.
    feed(a);
    uint64_t t0 = hk::ticks();
    EXPECT_EQ(read(got, 252), 8);
    EXPECT_EQ(got, a);
    EXPECT_EQ(hk::ticks() - t0, 1u);

    // Parts that come within the interval are one frame.
    hk::runTicks(1);
    feed(Bytes(b.begin(), b.begin() + 3));
    feed(Bytes(b.begin() + 3, b.end()));
    EXPECT_EQ(read(got, 252), 8);
    EXPECT_EQ(got, b);

    // A frame for another address is dropped character by character up to
    // the next silence; the frame after it is kept.
    hk::runTicks(1);
    feed(rtu({7, 3, 0, 0, 0, 2, 0xC5, 0xCD}));
    feed(rtu({5}));  // no silence yet: still the foreign frame
    EXPECT_EQ(waiting(), 0);
    hk::runTicks(1);
    feed(a);
    EXPECT_EQ(waiting(), 8);
    EXPECT_EQ(read(got, 252), 8);
    EXPECT_EQ(got, a);

    // Frames separated by silence come one per read.
    hk::runTicks(1);
    feed(a);
    EXPECT_EQ(read(got, 252), 8);
    hk::runTicks(1);
    feed(b);
    EXPECT_EQ(read(got, 252), 8);
    EXPECT_EQ(got, b);

    // A minimum interval holds the frame back longer: 20 ms.
    EXPECT_EQ(control(27, 20), VKIO_DONE);
    EXPECT_EQ(rec->silentInterval, 20000u);
    hk::runTicks(5);
    feed(a);
    t0 = hk::ticks();
    EXPECT_EQ(read(got, 252), 8);
    EXPECT_EQ(hk::ticks() - t0, 5u);

    // Line mode keeps every character.
    EXPECT_EQ(control(15, 1), VKIO_DONE);
    feed(rtu({9, 1, 2}));
    EXPECT_EQ(waiting(), 3);
}

TEST_F(SerialDevice, FlushGetcAndOtherSlot) {
    // A flush ends a waiting read with 0 and drops what was received.
    std::atomic<int32_t> n{-1};
    std::atomic<bool> done{false};
    Bytes out(16);
    hk::spawnFunction([&] {
        n = VKIO_devRead(1, out.data(), 16);
        done = true;
    }, 50, "tRead");
    hk::runTicks(3);
    EXPECT_FALSE(done);
    EXPECT_EQ(control(16, 0), VKIO_DONE);
    ASSERT_TRUE(hk::runUntil([&] { return done.load(); }, 10));
    EXPECT_EQ(n, 0);
    feed("abc");
    EXPECT_EQ(waiting(), 3);
    EXPECT_EQ(control(16, 0), VKIO_DONE);
    EXPECT_EQ(waiting(), 0);
    EXPECT_EQ(readText(4), "");  // the pending abort ends the next read
    EXPECT_EQ(rec->abortFlag, 0u);

    feed("Q");
    int32_t c = 0;
    hk::runTask([&] { c = VKIO_devGetc(1); });
    EXPECT_EQ(c, 'Q');
    EXPECT_EQ(control(20, 20), VKIO_DONE);  // 4 polls of 10 ms for getc
    uint64_t t0 = hk::ticks();
    hk::runTask([&] { c = VKIO_devGetc(1); });
    EXPECT_EQ(c, VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 8u);

    // sendto is the null operation; recvfrom blocks the caller.
    t0 = hk::ticks();
    hk::runTask([&] { c = VKIO_devSendto(1, "x", 1, 0, nullptr, 0); });
    EXPECT_EQ(c, VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 20u);

    CpuSlot = 2;
    t0 = hk::ticks();
    hk::runTask([&] { c = VKIO_devRead(1, out.data(), 16); });
    EXPECT_EQ(c, VKIO_OTHER_CPU);
    EXPECT_EQ(hk::ticks() - t0, 200u);
    hk::runTask([&] { c = VKIO_devWrite(1, "x\n", 2); });
    EXPECT_EQ(c, VKIO_ERROR);
    CpuSlot = 1;

    hk::runTask([] { DeleteDevs(); });
    EXPECT_EQ(serialDvramOf(1), nullptr);
}
