// Panel, safety and interrupt drivers on the board model in simulated time.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "drivers/ZarnGPIOExp.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/ZarnIntrHandler.h"
#include "drivers/ZarnKeypad.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"
#include "host/vkplatform.h"
#include "platform/send_evt.h"
#include "platform/vkiobus.h"

namespace {

// Runs "AppEventMonitor" so that the events the drivers send reach the platform.
class Panel : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
        hostplatform::start(false);
        AppEventUnload();
        AppEventInit();
        hk::spawnFunction([] { AppEventMonitor(0); }, 40, "AppEventMonitor");
    }
    void TearDown() override { hostplatform::stop(); hk::shutdown(); }
};

TASK_ID passTask = 0;
int passCount = 0;

TEST_F(Panel, WatchdogHandshakeEveryMasterClockPass) {
    hk::runTask([] { WatchdogEnable(); });
    // A pass task resumed by the 5 ms clock hook as the master clock runs it: one handshake per pass.
    board::clearWriteLog();
    passTask = hk::spawnFunction([] { for (;; taskSuspend(0)) ZarnWatchdogHandshake(), ++passCount; }, 8, "MasterClock");
    VKClkConnect([](long) { taskResume(passTask); }, 0);
    hk::runTicks(40);

    const auto log = board::writeLog();
    ASSERT_GE(passCount, 40);
    ASSERT_EQ(log.size(), 4u * static_cast<size_t>(passCount));
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].address, i % 4 < 2 ? ZARN_WDOG_KEY_A : ZARN_WDOG_KEY_B) << i;
        EXPECT_EQ(log[i].value, i % 2 ? 0xAAAAu : 0x5555u) << i;
        // The four writes of a pass at one instant; passes after the first one tick apart.
        EXPECT_EQ(log[i].timeNs, i < 4 ? log[0].timeNs : log[4].timeNs + (i / 4 - 1) * hk::kTickNs) << i;
    }
    EXPECT_FALSE(board::poll());
}

TEST_F(Panel, IoLockSoftwareAndRegisterAgree) {
    EXPECT_EQ(IoLock, 1);  // locked at load
    hk::runTask([] {
        const uint16_t others = ZARN_CTRL_TSS_OPENW0 | ZARN_CTRL_ACT6_ENABLE;
        VKIO_fpgaWrUint16(ZARN_CTRL, others);
        // Value written and the software lock it leaves; released in the FPGA exactly when it is 0.
        for (auto [value, lock] : std::vector<std::pair<uint32_t, int>>{
                 {0x8000, 0}, {0x7FFF, 0xFF}, {0x8000, 0}, {0, 1}, {0x8000, 0}, {1, 1}, {0x8000, 0}, {0x18000, 1}}) {
            SCOPED_TRACE(value);
            EXPECT_EQ(io_lock(value), 0);
            EXPECT_EQ(IoLock, lock);
            EXPECT_EQ(board::outputsReleased(), lock == 0);
            EXPECT_EQ(board::controlRegister() & ~ZARN_CTRL_OUTPUTS_RELEASED, others);  // other bits untouched
        }
    });
}

// An interrupt between the read and the write of the control register (a preemption point
// inside the register read) must not lose its own change.
TEST_F(Panel, ControlRegisterChangesAreNotLost) {
    static bool armed = false;
    auto readHook = [](uint32_t, int, uint32_t stored) {
        if (std::exchange(armed, false)) {
            hk::postInterrupt([] { ResetZarnEstop(1); });
            hk::checkpoint();
        }
        return stored;
    };
    board::attach(ZARN_CTRL, ZARN_CTRL, board::Behaviour{readHook, nullptr});
    hk::runTask([] {
        for (auto [value, control] : std::vector<std::pair<uint32_t, uint32_t>>{
                 {0x8000, ZARN_CTRL_OUTPUTS_RELEASED | ZARN_CTRL_ESTOP_RESET}, {0x7FFF, ZARN_CTRL_ESTOP_RESET}}) {
            armed = true;
            io_lock(value);
            hk::checkpoint();  // the interrupt runs here at the latest
            EXPECT_EQ(board::controlRegister(), control);
        }
    });
}

TEST_F(Panel, EstopLatchesUntilReset) {
    hk::runTask([] {
        board::setEstopButton(true);
        board::setEstopButton(false);
        EXPECT_EQ(ReadZarnEstop(), 1);  // latched
        ResetZarnEstop(1);
        EXPECT_EQ(ReadZarnEstop(), 0);
        // Only the value 1 asserts the reset; it does not clear while the button is pressed.
        ResetZarnEstop(0);
        board::setEstopButton(true);
        ResetZarnEstop(2);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ESTOP_RESET, 0);
        ResetZarnEstop(1);
        EXPECT_EQ(ReadZarnEstop(), 1);
        board::setEstopButton(false);  // the reset is still held
        EXPECT_EQ(ReadZarnEstop(), 0);
    });
}

TEST_F(Panel, KeypadDecoding) {
    uint32_t cells[ZARN_KEYPAD_KEYS];
    uint32_t* table[ZARN_KEYPAD_KEYS];
    for (int i = 0; i < ZARN_KEYPAD_KEYS; ++i) table[i] = &cells[i];
    auto pressed = [&](std::vector<std::pair<int, int>> keys) {
        for (auto [word, bit] : keys) board::setKey(word, bit, true);
        std::fill(std::begin(cells), std::end(cells), 0xA5A5A5A5u);
        hk::runTask([&] { ReadKeypad(table); });
        board::releaseAllKeys();
        std::vector<int> slots;
        for (int i = 0; i < ZARN_KEYPAD_KEYS; ++i) {
            EXPECT_LE(cells[i], 1u) << "slot " << i;
            if (cells[i] == 1) slots.push_back(i);
        }
        return slots;
    };
    // SHIFT, TRIP, BRIGHTNESS, START, ALARM_VIEW, HOME, SIX: keys on each word.
    EXPECT_EQ(pressed({{2, 0}, {0, 7}, {1, 7}, {2, 11}, {0, 0}, {0, 10}, {1, 11}}),
              (std::vector<int>{0, 12, 14, 15, 25, 32, 33}));
    // Every key bit lights one slot, each slot from one bit only; two of the 36 bits carry no key.
    std::vector<int> lit;
    for (int bit = 0; bit < 36; ++bit) {
        const std::vector<int> slots = pressed({{bit / 12, bit % 12}});
        ASSERT_LE(slots.size(), 1u) << "bit " << bit;
        lit.insert(lit.end(), slots.begin(), slots.end());
    }
    ASSERT_EQ(lit.size(), 34u);
    std::sort(lit.begin(), lit.end());
    EXPECT_EQ(std::unique(lit.begin(), lit.end()), lit.end());
}

// Each run of the handler: at interrupt level with its events queued before it returns.
std::vector<bool> handlerRuns;
void probe(long arg) {
    const bool emptyBefore = AppEventEmpty(0) == 1;
    CpuIntrHandler(arg);
    handlerRuns.push_back(intContext() && emptyBefore && AppEventEmpty(0) == 0);
}
uint32_t callbackArg = 0;
bool callbackAfterEvents = false;
void callback(uint32_t arg) { callbackArg = arg, callbackAfterEvents = intContext() && AppEventEmpty(0) == 0; }

TEST_F(Panel, CpuRequestInterruptRaisesEventsAtInterruptLevel) {
    VKCpuRqstConnect(probe, 0);
    hk::runTask([] { CpuIntrCallbackConnect(callback, 0x1234); });
    board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT | ZARN_INTR_POWER_FAIL | ZARN_INTR_CALLBACK);
    VKCpuRqstInit();
    hk::runTicks(1);
    EXPECT_EQ(handlerRuns, std::vector<bool>{true});
    EXPECT_EQ(callbackArg, 0x1234u);
    EXPECT_TRUE(callbackAfterEvents);
    EXPECT_EQ(board::cpuRequestStatus(), 0u);  // all acknowledged
    hk::runUntil([] { return hostplatform::messages().size() >= 2; }, 400);
    std::vector<std::string> events;
    for (const auto& m : hostplatform::messages()) events.push_back(std::to_string(m.code) + " " + m.text);
    EXPECT_EQ(events, (std::vector<std::string>{"3 External Watchdog Timeout!", "3 Power Failed!"}));
}

TEST_F(Panel, LedOutputs) {
    hk::runTask([] {
        EXPECT_EQ(SetZarnGPIOExpLeds(8, 1), 0);
        EXPECT_EQ(SetZarnGPIOExpLeds(9, 1), 0);
        EXPECT_EQ(SetZarnGPIOExpLeds(9, 2), 0);  // only bit 0 of `on` counts
        EXPECT_EQ(board::expanderPorts() & 0x300, 0x200);
        Zarn_application_stop_tasks();
        EXPECT_FALSE(board::expanderLedOn(8));

        DriveZarnDBugLED(3, 1);
        DriveZarnDBugLED(15, 1);
        DriveZarnDBugLED(16, 1);  // no such LED
        EXPECT_EQ(board::debugLeds(), 0x8008);
        ToggleZarnDBugLED(3);
        ToggleZarnDBugLED(4);
        DriveZarnDBugLED(15, 2);  // any value but 1 switches off
        EXPECT_EQ(board::debugLeds(), 0x0010);
        EXPECT_EQ(ReadZarnDBugLED(4), 1u);
    });
}

}  // namespace
