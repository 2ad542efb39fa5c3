// Panel, safety and interrupt drivers on the board model in simulated time.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "drivers/ZarnGPIO.h"
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

// Every key with the register word (0 = 0x8080F2F0, 1 = F2F2, 2 = F2F4) and
// bit it is read from, in slot order.
struct KeyWire {
    const char* name;
    int word, bit;
};
constexpr KeyWire kKeys[ZARN_KEYPAD_KEYS] = {
    {"ALARM_VIEW", 0, 0}, {"TRIP_VIEW", 1, 0},   {"MODE", 1, 6},       {"SOFT_KEY_1", 0, 6}, {"SOFT_KEY_2", 0, 1},
    {"SOFT_KEY_3", 1, 8}, {"SOFT_KEY_4", 1, 3},  {"SCRN_L", 1, 4},     {"SCRN_UP", 1, 1},    {"SCRN_R", 1, 2},
    {"SCRN_DN", 0, 9},    {"ENTER", 1, 5},       {"TRIP", 0, 7},       {"ESC", 0, 8},        {"HOME", 0, 10},
    {"START", 2, 11},     {"ADJ_UP", 2, 10},     {"ADJ_DN", 2, 5},     {"RESET", 2, 4},      {"ZERO", 2, 2},
    {"ONE", 0, 3},        {"TWO", 0, 4},         {"THREE", 0, 5},      {"FOUR", 1, 9},       {"FIVE", 1, 10},
    {"SIX", 1, 11},       {"SEVEN", 2, 9},       {"EIGHT", 2, 8},      {"NINE", 2, 7},       {"DECIMAL_PT", 2, 3},
    {"PLUS_MINUS", 2, 1}, {"BACK_SPACE", 0, 2},  {"SHIFT", 2, 0},      {"BRIGHTNESS", 1, 7},
};

// The slots ReadKeypad sets with the given (word, bit) keys held down.
std::vector<int> keypadSlots(const std::vector<std::pair<int, int>>& keys) {
    uint32_t cells[ZARN_KEYPAD_KEYS];
    uint32_t* table[ZARN_KEYPAD_KEYS];
    for (int i = 0; i < ZARN_KEYPAD_KEYS; ++i) table[i] = &cells[i];
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
}

TEST_F(Panel, EachKeySetsItsOwnSlotOnly) {
    for (int slot = 0; slot < ZARN_KEYPAD_KEYS; ++slot) {
        const KeyWire& k = kKeys[slot];
        EXPECT_EQ(keypadSlots({{k.word, k.bit}}), std::vector<int>{slot}) << k.name;
    }
    // The two bits that carry no key, and no key at all.
    EXPECT_EQ(keypadSlots({{0, 11}, {2, 6}}), std::vector<int>{});
    EXPECT_EQ(keypadSlots({}), std::vector<int>{});
    // Keys on each word at once: SHIFT, TRIP, BRIGHTNESS, START, ALARM_VIEW, HOME, SIX.
    EXPECT_EQ(keypadSlots({{2, 0}, {0, 7}, {1, 7}, {2, 11}, {0, 0}, {0, 10}, {1, 11}}),
              (std::vector<int>{0, 12, 14, 15, 25, 32, 33}));
}

TEST_F(Panel, KeypadAutoRepeatIsStoredAsGiven) {
    EXPECT_EQ(AutoRepeatTicks, 10u);  // until the application sets it
    InitKeypad(25);
    EXPECT_EQ(AutoRepeatTicks, 25u);
    InitKeypad(10);
}

// Requests raised together, and what one run of the handler makes of them:
// its counters ([0] runs, [1] watchdog, [2] power, [3] callback), the callback
// (connected or not) and the events it sends.
struct RequestCase {
    const char* name;
    uint16_t raised;
    bool connected;
    std::vector<uint32_t> counts;
    uint32_t callbackArg;
    std::vector<std::string> events;
};

uint32_t lastCallbackArg = 0;

TEST_F(Panel, EachRequestCountsAcknowledgesAndReports) {
    const RequestCase cases[] = {
        {"watchdog", ZARN_INTR_WDOG_TIMEOUT, true, {1, 1, 0, 0, 0, 0}, 0, {"3 External Watchdog Timeout!"}},
        {"power", ZARN_INTR_POWER_FAIL, true, {1, 0, 1, 0, 0, 0}, 0, {"3 Power Failed!"}},
        {"callback", ZARN_INTR_CALLBACK, true, {1, 0, 0, 1, 0, 0}, 77, {}},
        {"callback unconnected", ZARN_INTR_CALLBACK, false, {1, 0, 0, 1, 0, 0}, 0, {}},
        {"power and callback", ZARN_INTR_POWER_FAIL | ZARN_INTR_CALLBACK, true, {1, 0, 1, 1, 0, 0}, 77,
         {"3 Power Failed!"}},
    };
    VKCpuRqstConnect(CpuIntrHandler, 0);
    VKCpuRqstInit();
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(std::begin(CpuIntrCount), std::end(CpuIntrCount), 0u);
        lastCallbackArg = 0;
        hostplatform::clearMessages();
        hk::runTask([&] {
            if (c.connected) CpuIntrCallbackConnect([](uint32_t a) { lastCallbackArg = a; }, 77);
            else CpuIntrCallbackDisconnect();
        });
        EXPECT_EQ(pCpuIntrCallbackRoutine != nullptr, c.connected);
        board::raiseCpuRequest(c.raised);
        hk::runTicks(1);
        EXPECT_EQ(std::vector<uint32_t>(std::begin(CpuIntrCount), std::end(CpuIntrCount)), c.counts);
        EXPECT_EQ(lastCallbackArg, c.callbackArg);
        EXPECT_EQ(board::cpuRequestStatus(), 0u);
        hk::runUntil([&] { return hostplatform::messages().size() >= c.events.size(); }, 400);
        hk::runTicks(10);
        std::vector<std::string> events;
        for (const auto& m : hostplatform::messages()) events.push_back(std::to_string(m.code) + " " + m.text);
        EXPECT_EQ(events, c.events);
    }
    hk::runTask([] { CpuIntrCallbackDisconnect(); });
    EXPECT_EQ(CpuIntrCallbackArg, 0u);
}

TEST_F(Panel, InterruptSourcesEnabledBitByBit) {
    hk::runTask([] {
        VKIO_fpgaWrUint16(ZARN_INTR_SOURCES, 0x0100);
        board::clearWriteLog();
        CpuIntrHandlerInit();
        EnableOneMsIntr();
    });
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (const auto& w : board::writeLog()) got.emplace_back(w.address, w.value);
    const std::vector<std::pair<uint32_t, uint32_t>> want = {
        {ZARN_INTR_SOURCES, 0x0101}, {ZARN_INTR_ENABLE, 1}, {ZARN_INTR_SOURCES, 0x0105}};
    EXPECT_EQ(got, want);
}

TEST_F(Panel, WatchdogEnableRestartsItAndDisableStopsIt) {
    hk::runTask([] {
        VKIO_fpgaWrUint16(ZARN_WDOG_ENABLE, 0x0100);
        board::clearWriteLog();
        WatchdogEnable();
    });
    std::vector<uint32_t> writes;
    for (const auto& w : board::writeLog(ZARN_WDOG_ENABLE, ZARN_WDOG_ENABLE)) writes.push_back(w.value);
    EXPECT_EQ(writes, (std::vector<uint32_t>{0x0100, 0x0101}));  // off first, then on
    EXPECT_TRUE(board::watchdogEnabled());
    hk::runTask([] { WatchdogDisable(); });
    EXPECT_FALSE(board::watchdogEnabled());
    EXPECT_EQ(board::peek16(ZARN_WDOG_ENABLE), 0x0100);
}

TEST_F(Panel, ExpanderFailureIsReported) {
    for (bool fail : {false, true}) {
        board::failChip(board::Chip::MAX7317, fail);
        testing::internal::CaptureStdout();
        hk::runTask([] { EXPECT_EQ(SetZarnGPIOExpLeds(9, 1), 0); });
        EXPECT_EQ(testing::internal::GetCapturedStdout(), fail ? "Port expander SPI error\n" : "") << fail;
    }
    board::failChip(board::Chip::MAX7317, false);
}

TEST_F(Panel, SerialAndUsbSwitchesDriveTheirPins) {
    const struct { const char* name; int (*set)(int); int pin; } switches[] = {
        {"RS-485", ZarnRS485Enable, 16}, {"USB", SetUSBEnable, 14}};
    for (const auto& s : switches) {
        for (int value : {1, 0}) {
            board::resetChips();
            EXPECT_EQ(s.set(value), 0) << s.name;
            for (int pin = 0; pin < 32; ++pin)
                EXPECT_EQ(board::gpioValue(pin), pin == s.pin ? static_cast<uint32_t>(value) : 0u) << s.name << " " << pin;
        }
    }
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
        EXPECT_EQ(ReadZarnDBugLED(15), 0u);
        DriveZarnDBugLED(15, 1);
        EXPECT_EQ(ReadZarnDBugLED(15), 1u);  // the highest LED
        board::clearWriteLog();
        DriveZarnDBugLED(16, 1);  // beyond the register: not even a write
        EXPECT_EQ(ReadZarnDBugLED(16), 0u);
        EXPECT_TRUE(board::writeLog(ZARN_DBUG_LEDS, ZARN_DBUG_LEDS).empty());
    });
}

}  // namespace
