// Serial transport over an in-memory line: framing, stuffing, CRC, station
// addresses, sequence numbers and retransmission, driven through the
// serial pass of the server exactly as the server task runs it.
#include <gtest/gtest.h>

#include <deque>

#include "service/Excepres.h"
#include "service/InPdu.h"
#include "service/OutPdu.h"
#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwSerial.h"
#include "service/TwTrnspt.h"
#include "tw_fake_binding.h"
#include "tw_serial_frames.h"

namespace {

std::deque<uint8_t> line_in;
std::vector<uint8_t> line_out;
int refuseEvery = 0;  // refuse every n-th byte offered to the line (0: never)
int offered = 0;

uint8_t memGet(uint8_t* b) {
    if (line_in.empty()) return TW_BYTE_NOT_NOW;
    *b = line_in.front();
    line_in.pop_front();
    return 0;
}

uint8_t memPut(uint8_t b) {
    if (refuseEvery != 0 && ++offered % refuseEvery == 0) return TW_BYTE_NOT_NOW;
    line_out.push_back(b);
    return 0;
}

uint32_t deviceCell = 1;

class SerialLine : public ::testing::Test {
protected:
    void SetUp() override { open(255); }

    void open(uint8_t address) {
        installFakeBinding();
        ASSERT_EQ(TallwireAllocSerialPorts(1), 0);
        TwSerialPort* p = &TWSerialPorts[0];
        pCurTWSerialPort = p;
        p->inUse = 1;
        p->deviceNumberRef = &deviceCell;
        p->deviceNumber = 1;
        p->tokenState = TOKEN_ALLOWED;
        ASSERT_EQ(TwTransportInit(address == 255 ? 3 : address), 0);
        ASSERT_EQ(TwTransportOpen(Connect), 0);
        InPduOpen(memGet);
        OutPduOpen(memPut);
        p->initialised = 1;
        p->channelOpen = 1;
        pCurTWSerialPort = nullptr;
        _TW_SLAVEpid = 1;  // the pass runs only while the server task exists
    }

    void TearDown() override { TallwireFreeSerialPorts(); }

    void send(const std::vector<uint8_t>& bytes) { line_in.insert(line_in.end(), bytes.begin(), bytes.end()); }

    // Runs serial passes until the line is drained; returns what went out.
    std::vector<uint8_t> pass(int passes = 1) {
        for (int i = 0; i < passes; ++i) serialTwSlave();
        std::vector<uint8_t> out = line_out;
        line_out.clear();
        return out;
    }

    std::vector<twser::Reply> replies(const std::vector<uint8_t>& out) {
        std::vector<twser::Reply> r;
        std::vector<uint8_t> rest = out;
        size_t used = 0;
        while (auto rep = twser::parse(rest, &used)) {
            r.push_back(*rep);
            rest.erase(rest.begin(), rest.begin() + static_cast<long>(used));
        }
        return r;
    }

    void connect() {
        send(twser::frame(0x40, std::nullopt, {}));
        ASSERT_EQ(replies(pass()).size(), 1u);
    }
};

TEST_F(SerialLine, ConnectReplyIsExactOnTheLine) {
    send(twser::frame(0x40, std::nullopt, {}));
    std::vector<uint8_t> expect{0x01, 0x60, 0x10, 0x21, 0x10, 0x21, 0x00, 0x10, 0x21, 0x00, 0x03, 0x17, 0x34};
    EXPECT_EQ(pass(), expect);
    EXPECT_EQ(fake.connects, 1);
    // A connect frame with three data bytes is ignored.
    send(twser::frame(0x40, std::nullopt, {1, 2, 3}));
    EXPECT_TRUE(pass().empty());
}

TEST_F(SerialLine, EveryStuffedByteTravelsBothWays) {
    connect();
    // Request with sequence 1 and no address: its control byte 0x01 is itself
    // stuffed, and the text carries every special value.
    std::vector<uint8_t> text{0x53, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13, 'x', 0x00};
    std::vector<uint8_t> wire = twser::frame(0x01, std::nullopt, text);
    ASSERT_EQ(wire[1], 0x10);
    ASSERT_EQ(wire[2], 0x21);
    send(wire);
    auto r = replies(pass());
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(fake.lastSetText, std::string("\x01\x03\x0D\x10\x11\x13x"));
    EXPECT_EQ(r[0].control, 0x21);
    EXPECT_EQ(r[0].data, std::vector<uint8_t>{0});

    // A reply carrying every special value goes out stuffed, byte for byte.
    fake.blob = {0x01, 0x03, 0x0D, 0x10, 0x11, 0x13, 0x20};
    send(twser::frame(0x00, std::nullopt, {0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1}));
    std::vector<uint8_t> out = pass();
    std::vector<uint8_t> data{0x00, 0x01, 0x03, 0x0D, 0x10, 0x11, 0x13, 0x20};
    std::vector<uint8_t> expect = twser::frame(0x20, std::nullopt, data);
    EXPECT_EQ(out, expect);
    // 0x13 travels as 10 33.
    bool found = false;
    for (size_t i = 0; i + 1 < out.size(); ++i) found |= out[i] == 0x10 && out[i + 1] == 0x33;
    EXPECT_TRUE(found);
}

TEST_F(SerialLine, RepeatedSequenceIsAnsweredAgainWithoutDispatch) {
    connect();
    std::vector<uint8_t> write{0x25, 0x84, 0, 0, 2, 4, 0, 0, 0, 9};
    send(twser::frame(0x01, std::nullopt, write));
    auto first = pass();
    ASSERT_EQ(fake.writes.size(), 1u);
    // The reply was lost: the client sends the same request again.
    send(twser::frame(0x01, std::nullopt, write));
    auto again = pass();
    EXPECT_EQ(again, first);
    EXPECT_EQ(fake.writes.size(), 1u);
    // The next sequence number is served normally.
    send(twser::frame(0x00, std::nullopt, write));
    auto r = replies(pass());
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].control, 0x20);
    EXPECT_EQ(fake.writes.size(), 2u);
}

TEST_F(SerialLine, StationAddressesAndAddressedMode) {
    TallwireFreeSerialPorts();
    open(3);
    // Addressed to station 5: ignored by station 3.
    send(twser::frame(0x40, 5, {}));
    EXPECT_TRUE(pass().empty());
    // Addressed to station 3: answered.
    send(twser::frame(0x40, 3, {}));
    ASSERT_EQ(replies(pass()).size(), 1u);
    // The connect carried an address, so a data frame without one is ignored.
    send(twser::frame(0x01, std::nullopt, {0x00}));
    EXPECT_TRUE(pass().empty());
    send(twser::frame(0x01, 3, {0x00}));
    auto r = replies(pass());
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].data, std::vector<uint8_t>{0});

    // A fresh session connected without an address ignores addressed data
    // frames and takes frames without an address.
    TallwireFreeSerialPorts();
    open(3);
    connect();
    send(twser::frame(0x01, 3, {0x00}));
    EXPECT_TRUE(pass().empty());
    send(twser::frame(0x01, std::nullopt, {0x00}));
    EXPECT_EQ(replies(pass()).size(), 1u);
}

TEST_F(SerialLine, BadFramesAreDroppedSilently) {
    connect();
    // 257 data bytes: dropped.
    std::vector<uint8_t> big(257, 0x00);
    send(twser::frame(0x01, std::nullopt, big));
    EXPECT_TRUE(pass(3).empty());
    // Bad CRC: dropped.
    auto wire = twser::frame(0x01, std::nullopt, {0x00});
    wire.back() ^= 0x40;
    send(wire);
    EXPECT_TRUE(pass().empty());
    // Data before a connect on a new port: dropped.
    TallwireFreeSerialPorts();
    open(255);
    send(twser::frame(0x00, std::nullopt, {0x00}));
    EXPECT_TRUE(pass().empty());
    // Noise before SOH is ignored, and a frame with 256 data bytes is taken.
    connect();
    std::vector<uint8_t> full(256, 0x00);
    send({0x55, 0x03, 0x66});
    send(twser::frame(0x01, std::nullopt, full));
    EXPECT_EQ(replies(pass()).size(), 1u);
}

TEST_F(SerialLine, OutputThatIsRefusedResumesInLaterPasses) {
    connect();
    fake.blob = {0x10, 0x11, 0x12, 0x13, 0x14};
    std::vector<uint8_t> req{0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1};
    send(twser::frame(0x01, std::nullopt, req));
    std::vector<uint8_t> smooth = pass();
    refuseEvery = 3;
    send(twser::frame(0x00, std::nullopt, req));
    std::vector<uint8_t> choppy = pass(40);
    refuseEvery = 0;
    // Same frame apart from the sequence number, complete and well formed.
    auto a = replies(smooth), b = replies(choppy);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_TRUE(b[0].crcOk);
    EXPECT_EQ(a[0].data, b[0].data);
    EXPECT_EQ(b[0].control, 0x20);
}

TEST_F(SerialLine, PassWithoutDeviceInstallsNothing) {
    deviceCell = 0;
    pTwExtract = nullptr;
    send(twser::frame(0x40, std::nullopt, {}));
    EXPECT_TRUE(pass().empty());
    EXPECT_EQ(pTwExtract, nullptr);
    EXPECT_EQ(TWSerialPorts[0].inUse, 0);
    deviceCell = 1;
}

TEST(SerialOutputBuffer, SciPutcRefusesWhenFull) {
    curIndex = 0;
    for (int i = 0; i < TW_SCI_BUFFER_SIZE; ++i) ASSERT_EQ(twsupport::SciPutc(static_cast<uint8_t>(i)), 0);
    EXPECT_EQ(twsupport::SciPutc(0xAA), TW_BYTE_NOT_NOW);
    EXPECT_EQ(curIndex, TW_SCI_BUFFER_SIZE);
    EXPECT_EQ(szBuffer[TW_SCI_BUFFER_SIZE - 1], 0xFF);
}

TEST(SerialPorts, SetUpErrorsGoThroughTheHook) {
    static std::vector<std::pair<uint16_t, uint16_t>> seen;
    ExceptionResInit(nullptr, [](uint16_t g, uint16_t c) { seen.emplace_back(g, c); });
    uint32_t cell = 0;
    uint16_t cfg[2] = {0, 3};
    // No records allocated.
    EXPECT_EQ(TallwireInitSerialPort(&cell, cfg), 255);
    ASSERT_EQ(seen.back(), std::make_pair(uint16_t{2200}, uint16_t{2}));
    // Station address above 15.
    ASSERT_EQ(TallwireAllocSerialPorts(1), 0);
    cfg[1] = 16;
    EXPECT_EQ(TallwireInitSerialPort(&cell, cfg), 255);
    EXPECT_EQ(seen.back(), std::make_pair(uint16_t{2201}, uint16_t{7}));
    TallwireFreeSerialPorts();
    EXPECT_EQ(numSerialTWPorts, 0);
}

}  // namespace
