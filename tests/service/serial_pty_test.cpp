// The serial transport over the controller's serial device ("/tyCo/0"),
// mapped to one end of a socat pseudo-terminal pair; the test is the
// service tool on the other end, talking to station address 3.
#include <gtest/gtest.h>

#include <optional>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkiodev.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "service/Excepres.h"
#include "service/TwSerial.h"
#include "service/crc16.h"
#include "tests/support/pty_pair.h"
#include "tw_fake_binding.h"

namespace {

using Bytes = std::vector<uint8_t>;
uint32_t serialDeviceCell = 1;

// A serial-line frame written from the framing rules: SOH, stuffed control,
// optional address and data, ETX, stuffed reflected CRC-16 (high byte first).
void putStuffed(Bytes& out, uint8_t b) {
    bool special = b == 0x01 || b == 0x03 || b == 0x0D || b == 0x10 || b == 0x11 || b == 0x13;
    if (special) out.push_back(0x10);
    out.push_back(special ? static_cast<uint8_t>(b | 0x20) : b);
}

// control: sequence | kind (0x40 connect); an address adds bit 0x10.
Bytes frame(uint8_t control, std::optional<uint8_t> address, const Bytes& data) {
    Bytes body{static_cast<uint8_t>(control | (address ? 0x10 : 0))};
    if (address) body.push_back(*address);
    body.insert(body.end(), data.begin(), data.end());
    uint16_t crc = 0xFFFF;
    for (uint8_t b : body) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    Bytes out{0x01};
    for (uint8_t b : body) putStuffed(out, b);
    out.push_back(0x03);
    putStuffed(out, static_cast<uint8_t>(crc >> 8));
    putStuffed(out, static_cast<uint8_t>(crc));
    return out;
}

TEST(SerialPty, ConnectStuffingAndRetransmission) {
    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    hostio::setTtyPath("/tyCo/0", pty.path(0));
    ASSERT_TRUE(pty.openPeer());
    hk::start(hk::ClockMode::Simulated);
    int port = -1;
    hk::runTask([&] {
        ApplicationRunning = 1;
        VKIO_devInit(1);
        AllRgExecutedwMMM = 1;
        InitializeTallwire(0, 1, 0, 0, 0);
        installFakeBinding();
        const uint16_t config[2] = {0, 3};
        port = TallwireInitSerialPort(&serialDeviceCell, config);
    });
    ASSERT_EQ(port, 0);
    hk::runTicks(2);
    // Bytes go out as one burst: the test waits in real time, the simulated
    // clock standing still, until the device has taken all of them.
    uint64_t sent = 0;
    auto send = [&](const Bytes& b) {
        ASSERT_TRUE(pty.write(b));
        sent += b.size();
        ASSERT_TRUE(hostio::ttyWaitDelivered(serialDvramOf(1)->readFd, sent, 2000));
    };
    auto exchange = [&](const Bytes& request, const Bytes& expectedReply) {
        send(request);
        hk::runTicks(6);
        return pty.read(expectedReply.size(), 2000);
    };

    // A data request before the connect, and a connect request with three
    // data bytes, get no answer: the reply to a connect with two, which
    // carries the CRC 0x1734 over 60 01 01 00 01 00, comes first.
    send(frame(0x00, std::nullopt, {0x00}));
    send(frame(0x40, 3, {0x00, 0x00, 0x00}));
    Bytes connectReply{0x01, 0x60, 0x10, 0x21, 0x10, 0x21, 0x00, 0x10, 0x21, 0x00, 0x03, 0x17, 0x34};
    EXPECT_EQ(exchange(frame(0x40, 3, {0x00, 0x00}), connectReply), connectReply);
    EXPECT_EQ(fake.connects, 1);

    // Sequence 1 with the station address: the control byte 0x11 and the
    // address 0x03 travel stuffed (and are unstuffed before the CRC), and
    // the text carries every special byte.
    Bytes request = frame(0x01, 3, {0x53, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13, 'z', 0x00});
    ASSERT_EQ(Bytes(request.begin() + 1, request.begin() + 5), (Bytes{0x10, 0x31, 0x10, 0x23}));
    Bytes ok = frame(0x21, std::nullopt, {0x00});
    EXPECT_EQ(exchange(request, ok), ok);
    EXPECT_EQ(fake.lastSetText, std::string("\x01\x03\x0D\x10\x11\x13z"));

    // A reply with every special byte goes out stuffed.
    fake.blob = {0x01, 0x03, 0x0D, 0x10, 0x11, 0x13};
    Bytes blobReply = frame(0x20, std::nullopt, {0x00, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13});
    EXPECT_EQ(exchange(frame(0x00, 3, {0x2B, 0xD0, 0x10, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}), blobReply), blobReply);

    // The tool lost a reply and repeats the request: the same reply comes
    // again without a second dispatch.
    Bytes write = frame(0x01, 3, {0x25, 0x84, 0, 0, 2, 4, 0, 0, 0, 5});
    EXPECT_EQ(exchange(write, ok), ok);
    EXPECT_EQ(exchange(write, ok), ok);
    EXPECT_EQ(fake.writes.size(), 1u);

    // A frame for station 5 gets no answer, a bad CRC neither: the next
    // reply is the first thing on the line.
    send(frame(0x00, 5, {0x00}));
    Bytes bad = frame(0x00, 3, {0x00});
    bad.back() ^= 0x01;
    send(bad);
    Bytes pong = frame(0x20, std::nullopt, {0x00});
    EXPECT_EQ(exchange(frame(0x00, 3, {0x00}), pong), pong);

    // 256 data bytes are a request; 257 are dropped, so the next request
    // with the same sequence number is a new one and gets its own reply.
    Bytes ping256(256, 'p'), ping257(257, 'p');
    ping256[0] = ping257[0] = 0x00;
    EXPECT_EQ(exchange(frame(0x01, 3, ping256), ok), ok);
    send(frame(0x00, 3, ping257));
    Bytes running = frame(0x20, std::nullopt, {0x00, 0x01});
    EXPECT_EQ(exchange(frame(0x00, 3, {0x12}), running), running);

    // An array read ends with the last item that leaves room for the frame:
    // 23 latched-list entries of 10 bytes (with 14 kept free per item).
    fake.arraySize = 40;
    Bytes entries{0x00};
    for (int i = 0; i < 23; ++i) entries.insert(entries.end(), {0x02, 0x04, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28});
    Bytes list = frame(0x21, std::nullopt, entries);
    EXPECT_EQ(exchange(frame(0x01, 3, {0x24, 0x85, 0xC0, 0x00, 0x01, 0, 0, 0, 0}), list), list);
    // A batch read likewise: 18 four-field records of 12 bytes, each with its status.
    Bytes quads{0x00}, batch{0x28};
    for (int i = 0; i < 18; ++i) quads.insert(quads.end(), {0x00, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C});
    for (int i = 0; i < 20; ++i) batch.insert(batch.end(), {0x85, 0x00, 0x00, 0x0C});
    Bytes quadReply = frame(0x20, std::nullopt, quads);
    EXPECT_EQ(exchange(frame(0x00, 3, batch), quadReply), quadReply);
    // A handle that ends exactly at the end of the request is still read.
    Bytes one = frame(0x21, std::nullopt, {0x00, 0x00, 0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(exchange(frame(0x01, 3, {0x28, 0x84, 0x00, 0x00, 0x02}), one), one);
    hk::runTask([] { TallwireClose(); });
    hk::shutdown();
}

// Each port takes a free slot of those allocated; a station address above 15
// is refused. In order: what is asked, what comes back, the error reported.
TEST(SerialPortInit, StationAddressUpTo15AndOnlyFreeSlots) {
    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    hostio::setTtyPath("/tyCo/0", pty.path(0));
    hk::start(hk::ClockMode::Simulated);
    struct Row { uint16_t address; int result; uint16_t group, code; };
    auto initPorts = [](std::initializer_list<Row> rows) {
        for (const Row& r : rows) {
            ExceptionResInit(nullptr, nullptr);
            const uint16_t config[2] = {0, r.address};
            EXPECT_EQ(TallwireInitSerialPort(&serialDeviceCell, config), r.result) << r.address;
            EXPECT_EQ(std::pair(ExceptionResId, ExceptionResErrorType), std::pair(r.group, r.code)) << r.address;
        }
    };
    hk::runTask([&] {
        ApplicationRunning = 1;
        AllRgExecutedwMMM = 1;
        VKIO_devInit(1);
        InitializeTallwire(0, 2, 0, 0, 0);
        initPorts({{16, 255, 2201, 7}, {15, 0, 0, 0}, {3, 255, 2200, 2}});
    });
    // A pass serves the ports (the refused one not at all); then a device
    // cell of 0 frees both. The one set up before keeps its open channel, and
    // taking it again reports that.
    hk::runTask([] { ExceptionResInit(nullptr, nullptr); });
    hk::runTicks(4);
    EXPECT_EQ(std::pair(ExceptionResId, ExceptionResErrorType), std::pair(uint16_t{0}, uint16_t{0}));
    serialDeviceCell = 0;
    hk::runTicks(4);
    serialDeviceCell = 1;
    hk::runTask([&] {
        initPorts({{15, 0, 0, 0}, {15, 0, 2200, 4}});
        // No port holds the change token: both sessions may change values.
        EXPECT_EQ(std::pair(TWSerialPorts[0].tokenState, TWSerialPorts[1].tokenState), std::pair(TOKEN_ALLOWED, TOKEN_ALLOWED));
        TallwireClose();
    });
    hk::shutdown();
}

// Both checksums against the published check values over "123456789".
TEST(ServiceChecksums, PublishedCheckValues) {
    struct Row { const char* name; uint16_t (*step)(uint16_t, uint8_t); uint16_t initial, check; };
    const Row rows[] = {{"reflected 0xA001 (Modbus)", Crc16RevNext, 0xFFFF, 0x4B37},
                        {"CCITT from 0xFFFF", Crc16CcittNext, 0xFFFF, 0x29B1},
                        {"CCITT from 0 (XMODEM)", Crc16CcittNext, 0, 0x31C3}};
    for (const Row& r : rows) {
        uint16_t crc = r.initial;
        for (char c : std::string("123456789")) crc = r.step(crc, static_cast<uint8_t>(c));
        EXPECT_EQ(crc, r.check) << r.name;
    }
}

// The serial output buffer refuses a byte when full instead of overrunning.
TEST(SerialOutputBuffer, SciPutcRefusesWhenFull) {
    curIndex = 0;
    for (int i = 0; i < TW_SCI_BUFFER_SIZE; ++i) ASSERT_EQ(twsupport::SciPutc(static_cast<uint8_t>(i)), 0);
    EXPECT_EQ(twsupport::SciPutc(0xAA), TW_BYTE_NOT_NOW);
    EXPECT_EQ(curIndex, TW_SCI_BUFFER_SIZE);
}

}  // namespace
