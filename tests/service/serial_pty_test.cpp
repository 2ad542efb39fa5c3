// The serial transport over the controller's serial device ("/tyCo/0"),
// mapped to one end of a socat pseudo-terminal pair; the test is the
// service tool on the other end. The server runs with no TCP and one
// serial port at station address 3.
#include <gtest/gtest.h>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkiodev.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "service/Tallwire.h"
#include "service/TwSerial.h"
#include "tests/support/pty_pair.h"
#include "tw_fake_binding.h"
#include "tw_serial_frames.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t serialDeviceCell = 1;

class SerialPty : public ::testing::Test {
protected:
    testsupport::PtyPair pty;
    int handle = -1;
    uint64_t sent = 0;

    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        hostio::setTtyPath("/tyCo/0", pty.path(0));
        ASSERT_TRUE(pty.openPeer());
        hk::start(hk::ClockMode::Simulated);
        int32_t init = -1;
        int port = -1;
        hk::runTask([&] {
            ApplicationRunning = 1;
            init = VKIO_devInit(1);
            AllRgExecutedwMMM = 1;
            InitializeTallwire(0, 1, 0, 0, 0);
            installFakeBinding();
            const uint16_t config[2] = {0, 3};
            port = TallwireInitSerialPort(&serialDeviceCell, config);
        });
        ASSERT_EQ(init, VKIO_DONE);
        ASSERT_EQ(port, 0);
        handle = serialDvramOf(1)->readFd;
        hk::runTicks(2);
    }

    void TearDown() override {
        hk::runTask([] { TallwireClose(); });
        hk::shutdown();
    }

    // Sends bytes from the tool's end and waits (in real time, with the
    // simulated clock standing still) until the device has taken all of
    // them, so that they arrive as one burst.
    void send(const Bytes& bytes) {
        ASSERT_TRUE(pty.write(bytes));
        sent += bytes.size();
        ASSERT_TRUE(hostio::ttyWaitDelivered(handle, sent, 2000));
    }

    // Runs a few server passes and reads n reply bytes from the line.
    Bytes reply(size_t n) {
        hk::runTicks(6);
        return pty.read(n, 2000);
    }

    Bytes exchange(const Bytes& request, const Bytes& expectedReply) {
        send(request);
        return reply(expectedReply.size());
    }
};

TEST_F(SerialPty, ConnectStuffingAndRetransmission) {
    // Connect: the reply carries the CRC 0x1734 over 60 01 01 00 01 00.
    Bytes connectReply{0x01, 0x60, 0x10, 0x21, 0x10, 0x21, 0x00, 0x10, 0x21, 0x00, 0x03, 0x17, 0x34};
    EXPECT_EQ(exchange(twser::frame(0x40, 3, {}), connectReply), connectReply);
    EXPECT_EQ(fake.connects, 1);

    // Sequence 1 with the station address: the control byte 0x11 and the
    // address 0x03 travel stuffed, and the text carries every special byte.
    Bytes text{0x53, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13, 'z', 0x00};
    Bytes request = twser::frame(0x01, 3, text);
    ASSERT_EQ(request[1], 0x10);
    ASSERT_EQ(request[2], 0x31);
    Bytes ok = twser::frame(0x21, std::nullopt, {0x00});
    EXPECT_EQ(exchange(request, ok), ok);
    EXPECT_EQ(fake.lastSetText, std::string("\x01\x03\x0D\x10\x11\x13z"));

    // A reply with every special byte goes out stuffed.
    fake.blob = {0x01, 0x03, 0x0D, 0x10, 0x11, 0x13};
    Bytes read = twser::frame(0x00, 3, {0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1});
    Bytes blobReply = twser::frame(0x20, std::nullopt, {0x00, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13});
    EXPECT_EQ(exchange(read, blobReply), blobReply);

    // The tool lost that reply and repeats the request: the same reply comes
    // again without a second dispatch.
    size_t writes = fake.writes.size();
    Bytes write = twser::frame(0x01, 3, {0x25, 0x84, 0, 0, 2, 4, 0, 0, 0, 5});
    Bytes writeReply = twser::frame(0x21, std::nullopt, {0x00});
    EXPECT_EQ(exchange(write, writeReply), writeReply);
    EXPECT_EQ(exchange(write, writeReply), writeReply);
    EXPECT_EQ(fake.writes.size(), writes + 1);

    // A frame for station 5 gets no answer; a bad CRC neither.
    send(twser::frame(0x00, 5, {0x00}));
    Bytes bad = twser::frame(0x00, 3, {0x00});
    bad.back() ^= 0x01;
    send(bad);
    // The next good request is served, and its reply is the first thing on
    // the line.
    Bytes ping = twser::frame(0x00, 3, {0x00});
    Bytes pong = twser::frame(0x20, std::nullopt, {0x00});
    EXPECT_EQ(exchange(ping, pong), pong);
}

}  // namespace
