// The MSCAN controller model: buffers to and from the bus, transmit order,
// stall and bus-off, and the controller's interrupt routine.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "host/canbus.h"
#include "host/hostkernel.h"
#include "host/mscan.h"

namespace {

// The stack side: a FIFO the transmit pop handler serves, and what the
// receive and error handlers were given.
std::deque<std::vector<uint8_t>> g_fifo;
std::vector<std::string> g_events;

std::vector<uint8_t> buffer(uint32_t id, std::vector<uint8_t> data, uint8_t priority = 0) {
    std::vector<uint8_t> b(kMscanBufferBytes, 0);
    const uint32_t w = id << 21;
    b[MSCAN_OFS_IDR0] = static_cast<uint8_t>(w >> 24);
    b[MSCAN_OFS_IDR1] = static_cast<uint8_t>(w >> 16);
    for (size_t i = 0; i < data.size(); ++i) b[static_cast<size_t>(kMscanDataOffsets[i])] = data[i];
    b[MSCAN_OFS_DLR] = static_cast<uint8_t>(data.size());
    b[MSCAN_OFS_TBPR] = priority;
    return b;
}

void onPush(uint8_t, const uint8_t* b) { g_fifo.emplace_back(b, b + kMscanBufferBytes); }
int onPop(uint8_t, uint8_t* b) {
    if (g_fifo.empty()) return 0;
    std::memcpy(b, g_fifo.front().data(), kMscanBufferBytes);
    g_fifo.pop_front();
    return 1;
}
void onRx(uint8_t ctl, const uint8_t* b) {
    const uint32_t id = ((b[MSCAN_OFS_IDR0] << 8) | b[MSCAN_OFS_IDR1]) >> 5;
    std::string s = "rx" + std::to_string(ctl) + " " + hostcan::formatFrame(hostcan::makeFrame(id, {}));
    for (int i = 0; i < b[MSCAN_OFS_DLR]; ++i) s += std::to_string(b[kMscanDataOffsets[i]]) + ",";
    s += intContext() ? " irq" : " task";
    g_events.push_back(s);
}
void onError(uint8_t ctl, uint8_t flags) { g_events.push_back("error" + std::to_string(ctl) + " " + std::to_string(flags)); }

class Mscan : public ::testing::Test {
protected:
    void SetUp() override {
        g_fifo.clear(), g_events.clear();
        hostcan::reset();
        mscan::reset();
        hk::start(hk::ClockMode::Simulated);
        node_ = hostcan::attach("peer", [this](const hostcan::Frame& f) { seen_.push_back(hostcan::formatFrame(f)); });
        params_.ErrorHandler = onError, params_.RxHandler = onRx;
        params_.TxPushHandler = onPush, params_.TxPopHandler = onPop;
        MSCANInit(2, nullptr);
    }
    void TearDown() override {
        mscan::reset();
        hk::shutdown();
        hostcan::reset();
    }
    void openB() {
        ASSERT_EQ(MSCANOpenController(1, 0, &params_), 1);
        MSCANBConnect(MSCANBInterrupt);
        MSCANBintEnable();
    }
    int node_ = 0;
    std::vector<std::string> seen_;
    CanControllerParams params_{};
};

TEST_F(Mscan, OpenOnlyKnownControllersOnce) {
    EXPECT_EQ(MSCANOpenController(2, 0, &params_), -1);  // only two initialised
    EXPECT_EQ(MSCANOpenController(-1, 0, &params_), -1);
    EXPECT_EQ(MSCANOpenController(0, 0, nullptr), -1);
    EXPECT_EQ(MSCANOpenController(0, 0, &params_), 0);
    EXPECT_EQ(params_.Open, 1u);
    EXPECT_EQ(MSCANOpenController(0, 0, &params_), -1);
    EXPECT_EQ(MSCANCloseController(0), 0);
    EXPECT_EQ(params_.Open, 0u);
    EXPECT_EQ(MSCANCloseController(0), -1);
    EXPECT_EQ(MSCANCloseController(4), -1);
    EXPECT_EQ(MSCANTxRequest(0, buffer(1, {}).data()), -1);  // closed
}

TEST_F(Mscan, FramesGoOutThroughTheBuffersAndComeInAtInterruptLevel) {
    openB();
    EXPECT_EQ(MSCANReadRegister8(kMscanRegisterBase[1] + MSCAN_REG_TFLG), 7);  // three empty buffers
    ASSERT_EQ(MSCANTxRequest(1, buffer(0x181, {1, 2, 3}).data()), 0);
    EXPECT_EQ(seen_, std::vector<std::string>{"181#010203"});
    EXPECT_EQ(mscan::framesSent(1), 1u);
    // Stalled: three frames fill the buffers, the fourth waits in the stack;
    // released, they go out lowest priority value first.
    mscan::setTxStall(1, true);
    const uint8_t prio[4] = {5, 1, 3, 0};
    for (uint8_t i = 0; i < 4; ++i) MSCANTxRequest(1, buffer(0x200u + i, {i}, prio[i]).data());
    EXPECT_EQ(MSCANReadRegister8(kMscanRegisterBase[1] + MSCAN_REG_TFLG), 0);
    EXPECT_EQ(g_fifo.size(), 1u);
    mscan::setTxStall(1, false);
    hk::runTicks(1);
    EXPECT_EQ(seen_, (std::vector<std::string>{"181#010203", "201#01", "202#02", "200#00", "203#03"}));
    EXPECT_EQ(MSCANReadRegister8(kMscanRegisterBase[1] + MSCAN_REG_TFLG), 7);
    // Equal priorities go out in buffer order.
    mscan::setTxStall(1, true);
    for (uint8_t i = 0; i < 3; ++i) MSCANTxRequest(1, buffer(0x300u + i, {}, 2).data());
    mscan::setTxStall(1, false);
    hk::runTicks(1);
    EXPECT_EQ(std::vector<std::string>(seen_.end() - 3, seen_.end()), (std::vector<std::string>{"300#", "301#", "302#"}));
    // From the bus: the handler sees the id, length and data bytes at interrupt level.
    hostcan::send(node_, hostcan::makeFrame(0x60A, {0x40, 0x18, 0x10}));
    hk::runTicks(1);
    EXPECT_EQ(g_events, std::vector<std::string>{"rx1 60A#64,24,16, irq"});
}

TEST_F(Mscan, BusOffStopsTrafficAndTheErrorHandlerSeesTheFlags) {
    openB();
    mscan::setErrorState(1, 3, 0);  // receiver bus-off
    hk::runTicks(1);
    EXPECT_EQ(g_events, std::vector<std::string>{"error1 48"});
    EXPECT_EQ(MSCANReadRegister8(kMscanRegisterBase[1] + MSCAN_REG_RFLG), 0x30);
    MSCANTxRequest(1, buffer(0x181, {}).data());
    hostcan::send(node_, hostcan::makeFrame(0x80, {}));
    hk::runTicks(1);
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_fifo.size(), 1u);  // waits in the stack
    mscan::setErrorState(1, 0, 3);  // transmitter bus-off: still no traffic
    hk::runTicks(1);
    MSCANTxRequest(1, buffer(0x182, {}).data());
    EXPECT_TRUE(seen_.empty());
    mscan::setErrorState(1, 1, 1);  // warning levels: traffic again, the waiting frames first
    hk::runTicks(1);
    EXPECT_EQ(seen_, (std::vector<std::string>{"181#", "182#"}));
    EXPECT_EQ(g_events.back(), "error1 20");
}

TEST_F(Mscan, EventsWaitForTheEnableAndTheRoutine) {
    ASSERT_EQ(MSCANOpenController(1, 0, &params_), 1);
    hostcan::send(node_, hostcan::makeFrame(0x100, {}));
    hk::runTicks(1);
    EXPECT_TRUE(g_events.empty());  // no routine connected, not enabled
    MSCANBintEnable();
    hk::runTicks(1);
    EXPECT_TRUE(g_events.empty());
    MSCANBConnect(MSCANBInterrupt);
    hk::runTicks(1);
    EXPECT_EQ(g_events, std::vector<std::string>{"rx1 100# irq"});
    MSCANBintDisable();
    hostcan::send(node_, hostcan::makeFrame(0x101, {}));
    hk::runTicks(1);
    EXPECT_EQ(g_events.size(), 1u);
    EXPECT_EQ(MSCANBDisconnect(nullptr), -1);
    EXPECT_EQ(MSCANBDisconnect(MSCANBInterrupt), 0);
    MSCANBintEnable();
    hk::runTicks(1);
    EXPECT_EQ(g_events.size(), 1u);
    MSCANBConnect(MSCANBInterrupt);
    hk::runTicks(1);
    EXPECT_EQ(g_events.back(), "rx1 101# irq");
}

}  // namespace
