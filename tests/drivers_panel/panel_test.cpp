// Panel, safety and interrupt drivers and the FPGA register layer, run on the
// board model in simulated time.
#include <gtest/gtest.h>

#include <cstring>

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
#include "runtime/sysinfo.h"

namespace {

// Runs with the platform's message table and "AppEventMonitor", so that the
// events the drivers send reach the platform.
class Panel : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
        hostplatform::start(false);
        AppEventInit();
        hk::spawnFunction([] { AppEventMonitor(0); }, 40, "AppEventMonitor");
    }
    void TearDown() override {
        hostplatform::stop();
        hk::shutdown();
    }
};

struct Event {
    uint32_t code;
    std::string text;
    bool operator==(const Event&) const = default;
};

// The events the platform has received once `count` have arrived (or the
// monitor had time enough to move them all).
std::vector<Event> platformEvents(size_t count) {
    hk::runUntil([&] { return hostplatform::messages().size() >= count; }, 400);
    std::vector<Event> out;
    for (const auto& m : hostplatform::messages()) out.push_back(Event{m.code, m.text});
    return out;
}

// Stands between the platform's interrupt connection and CpuIntrHandler:
// records whether the handler runs at interrupt level and whether its events
// were queued before it returned.
std::vector<bool> handlerAtInterruptLevel;
std::vector<bool> eventsQueuedInHandler;
void probeCpuIntrHandler(long arg) {
    handlerAtInterruptLevel.push_back(intContext());
    const bool emptyBefore = AppEventEmpty(0) == 1;
    CpuIntrHandler(arg);
    eventsQueuedInHandler.push_back(emptyBefore && AppEventEmpty(0) == 0);
}

std::vector<uint32_t> valuesWritten(uint32_t address) {
    std::vector<uint32_t> out;
    for (const board::RegWrite& w : board::writeLog(address, address)) out.push_back(w.value);
    return out;
}

// ---- Watchdog ---------------------------------------------------------------

TASK_ID passTask = 0;
int passCount = 0;

void resumePass(long) { taskResume(passTask); }

TEST_F(Panel, WatchdogHandshakeEveryMasterClockPass) {
    hk::runTask([] { WatchdogEnable(); });
    // Disable, then enable: bit 0 cleared and then set.
    EXPECT_EQ(valuesWritten(ZARN_WDOG_ENABLE), (std::vector<uint32_t>{0, 1}));
    EXPECT_TRUE(board::watchdogEnabled());
    VKCpuRqstConnect(probeCpuIntrHandler, 0);
    VKCpuRqstInit();

    // A pass task as the master clock runs it: resumed by the 5 ms clock
    // hook, one handshake per pass, then it suspends itself.
    board::clearWriteLog();
    passTask = hk::spawnFunction(
        [] {
            for (;;) {
                ZarnWatchdogHandshake();
                ++passCount;
                taskSuspend(0);
            }
        },
        8, "MasterClockProcess");
    VKClkConnect(resumePass, 0);
    hk::runTicks(40);

    const auto log = board::writeLog();
    ASSERT_EQ(log.size(), 4u * static_cast<size_t>(passCount));
    ASSERT_GE(passCount, 40);
    for (size_t i = 0; i < log.size(); i += 4) {
        EXPECT_EQ(log[i].address, ZARN_WDOG_KEY_A);
        EXPECT_EQ(log[i].value, 0x5555u);
        EXPECT_EQ(log[i + 1].address, ZARN_WDOG_KEY_A);
        EXPECT_EQ(log[i + 1].value, 0xAAAAu);
        EXPECT_EQ(log[i + 2].address, ZARN_WDOG_KEY_B);
        EXPECT_EQ(log[i + 2].value, 0x5555u);
        EXPECT_EQ(log[i + 3].address, ZARN_WDOG_KEY_B);
        EXPECT_EQ(log[i + 3].value, 0xAAAAu);
        // The four writes of one pass happen at one instant; passes after the
        // first are one tick apart.
        EXPECT_EQ(log[i + 3].timeNs, log[i].timeNs);
        if (i >= 8) {
            EXPECT_EQ(log[i].timeNs - log[i - 4].timeNs, hk::kTickNs);
        }
    }
    EXPECT_EQ(board::watchdogHandshakes(), static_cast<uint64_t>(passCount));
    EXPECT_EQ(board::watchdogBadKeys(), 0u);
    EXPECT_FALSE(board::poll());
    EXPECT_TRUE(handlerAtInterruptLevel.empty());

    // The passes stop (as after a fatal slip): the watchdog times out and the
    // CPU request interrupt reports it.
    VKClkDisconnect();
    hk::runTicks(25);
    EXPECT_TRUE(board::poll());
    EXPECT_EQ(platformEvents(1), (std::vector<Event>{{3, "External Watchdog Timeout!"}}));
    EXPECT_EQ(handlerAtInterruptLevel, std::vector<bool>{true});
    EXPECT_EQ(eventsQueuedInHandler, std::vector<bool>{true});
    EXPECT_EQ(CpuIntrCount[1], 1u);
    EXPECT_EQ(board::cpuRequestStatus(), 0u);

    hk::runTask([] { WatchdogDisable(); });
    EXPECT_FALSE(board::watchdogEnabled());
}

// ---- I/O lock ------------------------------------------------------------------

TEST_F(Panel, IoLockSoftwareAndRegisterAgree) {
    EXPECT_EQ(IoLock, 1);  // locked at load
    hk::runTask([] {
        // Other bits of the control register are left alone.
        VKIO_fpgaWrUint16(ZARN_CTRL, ZARN_CTRL_TSS_OPENW0 | ZARN_CTRL_ACT6_ENABLE);
        struct Case {
            uint32_t value;
            uint8_t ioLock;
            bool released;
        };
        for (const Case& c : {Case{0x8000, 0x00, true}, Case{0x7FFF, 0xFF, false}, Case{0x8000, 0x00, true},
                              Case{0, 1, false}, Case{0x8000, 0x00, true}, Case{1, 1, false},
                              Case{0x8000, 0x00, true}, Case{0x10000, 1, false}, Case{0x18000, 1, false}}) {
            SCOPED_TRACE(c.value);
            EXPECT_EQ(io_lock(c.value), 0);
            EXPECT_EQ(IoLock, c.ioLock);
            // One state: released in software exactly when released in the FPGA.
            EXPECT_EQ(IoLock == 0, board::outputsReleased());
            EXPECT_EQ(board::outputsReleased(), c.released);
            EXPECT_EQ(board::controlRegister() & ~ZARN_CTRL_OUTPUTS_RELEASED,
                      ZARN_CTRL_TSS_OPENW0 | ZARN_CTRL_ACT6_ENABLE);
        }
    });
}

TEST_F(Panel, IoLockServiceEntryPoints) {
    hk::runTask([] {
        io_lock(0x8000);
        // Without the permissive the assert changes nothing.
        _SYS_INFO_LOCK_PER = 0;
        Assert_IOLOCK();
        EXPECT_EQ(Query_IOLOCK(), 0u);
        EXPECT_EQ(IsIOLockSet(), 0);
        EXPECT_TRUE(board::outputsReleased());

        _SYS_INFO_LOCK_PER = 1;
        Assert_IOLOCK();
        EXPECT_EQ(Query_IOLOCK(), 1u);
        EXPECT_EQ(IsIOLockSet(), 1);
        EXPECT_EQ(IoLock, 0xFF);
        EXPECT_FALSE(board::outputsReleased());

        // The release works whatever the permissive.
        _SYS_INFO_LOCK_PER = 0;
        UnAssert_IOLOCK();
        EXPECT_EQ(Query_IOLOCK(), 0u);
        EXPECT_EQ(IoLock, 0);
        EXPECT_TRUE(board::outputsReleased());

        EXPECT_EQ(VKIO_AssertIOLock(), 0);
        EXPECT_EQ(Query_IOLOCK(), 1u);
        EXPECT_FALSE(board::outputsReleased());
        EXPECT_EQ(VKIO_UnAssertIOLock(), 0);
        EXPECT_EQ(Query_IOLOCK(), 0u);
        EXPECT_TRUE(board::outputsReleased());
    });
}

// An interrupt that arrives between the read and the write of a control
// register change (modelled by a preemption point inside the register read)
// must not lose its own change.
TEST_F(Panel, ControlRegisterChangesAreNotLost) {
    static bool armed = false;
    board::attach(ZARN_CTRL, ZARN_CTRL, board::Behaviour{[](uint32_t, int, uint32_t stored) {
                                                             if (armed) {
                                                                 armed = false;
                                                                 hk::postInterrupt([] { ResetZarnEstop(1); });
                                                                 hk::checkpoint();
                                                             }
                                                             return stored;
                                                         },
                                                         nullptr});
    hk::runTask([] {
        armed = true;
        io_lock(0x8000);
        hk::checkpoint();  // the interrupt runs here at the latest
        EXPECT_EQ(board::controlRegister(), ZARN_CTRL_OUTPUTS_RELEASED | ZARN_CTRL_ESTOP_RESET);
        armed = true;
        io_lock(0x7FFF);
        hk::checkpoint();
        EXPECT_EQ(board::controlRegister(), ZARN_CTRL_ESTOP_RESET);
    });
    EXPECT_FALSE(armed);
}

// ---- E-stop -----------------------------------------------------------------

TEST_F(Panel, EstopLatchesUntilReset) {
    hk::runTask([] {
        EXPECT_EQ(ReadZarnEstop(), 0);
        board::setEstopButton(true);
        EXPECT_EQ(ReadZarnEstop(), 1);
        board::setEstopButton(false);
        EXPECT_EQ(ReadZarnEstop(), 1);  // latched

        ResetZarnEstop(1);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ESTOP_RESET, ZARN_CTRL_ESTOP_RESET);
        EXPECT_EQ(ReadZarnEstop(), 0);
        ResetZarnEstop(0);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ESTOP_RESET, 0);

        // A reset while the button is still pressed does not clear it; only
        // the value 1 asserts the reset.
        board::setEstopButton(true);
        ResetZarnEstop(2);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ESTOP_RESET, 0);
        ResetZarnEstop(1);
        EXPECT_EQ(ReadZarnEstop(), 1);
        board::setEstopButton(false);  // the reset is still held
        EXPECT_EQ(ReadZarnEstop(), 0);
    });
}

// ---- Keypad ------------------------------------------------------------------

TEST_F(Panel, KeypadDecoding) {
    uint32_t cells[ZARN_KEYPAD_KEYS];
    uint32_t* table[ZARN_KEYPAD_KEYS];
    for (int i = 0; i < ZARN_KEYPAD_KEYS; ++i) table[i] = &cells[i];
    static int reads[3] = {0, 0, 0};
    board::attach(ZARN_KEYPAD0, ZARN_KEYPAD2, board::Behaviour{[](uint32_t a, int, uint32_t stored) {
                                                                   ++reads[(a - ZARN_KEYPAD0) / 2];
                                                                   return stored;
                                                               },
                                                               nullptr});
    auto read = [&] {
        std::memset(cells, 0xA5, sizeof cells);
        hk::runTask([&] { ReadKeypad(table); });
    };
    auto pressed = [&] {
        std::vector<int> slots;
        for (int i = 0; i < ZARN_KEYPAD_KEYS; ++i) {
            EXPECT_LE(cells[i], 1u) << "slot " << i;
            if (cells[i] == 1) slots.push_back(i);
        }
        return slots;
    };

    // TRIP alone: bit 7 of the first word.
    board::setKey(0, 7, true);
    read();
    EXPECT_EQ(pressed(), std::vector<int>{12});
    EXPECT_EQ(reads[0], 1);
    EXPECT_EQ(reads[1], 1);
    EXPECT_EQ(reads[2], 1);
    board::releaseAllKeys();

    // Keys on each word: SHIFT (F2F4.0), BRIGHTNESS (F2F2.7), START (F2F4.11),
    // ALARM_VIEW (F2F0.0), HOME (F2F0.10), SIX (F2F2.11).
    board::setKey(2, 0, true);
    board::setKey(1, 7, true);
    board::setKey(2, 11, true);
    board::setKey(0, 0, true);
    board::setKey(0, 10, true);
    board::setKey(1, 11, true);
    read();
    EXPECT_EQ(pressed(), (std::vector<int>{0, 14, 15, 25, 32, 33}));
    board::releaseAllKeys();

    // Every key bit lights exactly one slot, each slot from one bit only; two
    // bits of the 36 carry no key.
    std::vector<int> owner(ZARN_KEYPAD_KEYS, -1);
    int unused = 0;
    for (int word = 0; word < 3; ++word) {
        for (int bit = 0; bit < 12; ++bit) {
            board::setKey(word, bit, true);
            read();
            const std::vector<int> slots = pressed();
            board::setKey(word, bit, false);
            ASSERT_LE(slots.size(), 1u);
            if (slots.empty()) {
                ++unused;
                continue;
            }
            EXPECT_EQ(owner[slots[0]], -1) << "slot " << slots[0];
            owner[slots[0]] = word * 12 + bit;
        }
    }
    EXPECT_EQ(unused, 2);

    hk::runTask([] { InitKeypad(25); });
    EXPECT_EQ(AutoRepeatTicks, 25u);
}

// ---- CPU request interrupt ------------------------------------------------------

uint32_t callbackArg = 0;
bool callbackAtInterruptLevel = false;
bool eventsQueuedBeforeCallback = false;

void testCallback(uint32_t arg) {
    callbackArg = arg;
    callbackAtInterruptLevel = intContext();
    eventsQueuedBeforeCallback = AppEventEmpty(0) == 0;
}

TEST_F(Panel, CpuRequestInterruptRaisesEventsAtInterruptLevel) {
    VKCpuRqstConnect(probeCpuIntrHandler, 0);
    hk::runTask([] { CpuIntrCallbackConnect(testCallback, 0x1234); });
    board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT | ZARN_INTR_POWER_FAIL | ZARN_INTR_CALLBACK);
    hk::runTicks(1);
    EXPECT_TRUE(handlerAtInterruptLevel.empty());  // not delivered before the platform enables it

    board::clearWriteLog();
    VKCpuRqstInit();
    hk::runTicks(1);
    EXPECT_EQ(handlerAtInterruptLevel, std::vector<bool>{true});
    EXPECT_EQ(eventsQueuedInHandler, std::vector<bool>{true});
    // Callback after both events, at interrupt level, with its argument.
    EXPECT_EQ(callbackArg, 0x1234u);
    EXPECT_TRUE(callbackAtInterruptLevel);
    EXPECT_TRUE(eventsQueuedBeforeCallback);
    EXPECT_EQ(valuesWritten(ZARN_INTR_ACK), (std::vector<uint32_t>{1, 2, 4}));
    EXPECT_EQ(board::cpuRequestStatus(), 0u);
    EXPECT_EQ(CpuIntrCount[0], 1u);
    EXPECT_EQ(CpuIntrCount[1], 1u);
    EXPECT_EQ(CpuIntrCount[2], 1u);
    EXPECT_EQ(CpuIntrCount[3], 1u);
    EXPECT_EQ(platformEvents(2),
              (std::vector<Event>{{3, "External Watchdog Timeout!"}, {3, "Power Failed!"}}));

    // Power failure alone; then a callback request with no callback connected.
    board::powerFail();
    EXPECT_EQ(platformEvents(3).back(), (Event{3, "Power Failed!"}));
    hk::runTask([] { CpuIntrCallbackDisconnect(); });
    EXPECT_EQ(pCpuIntrCallbackRoutine, nullptr);
    EXPECT_EQ(CpuIntrCallbackArg, 0u);
    callbackArg = 0;
    board::raiseCpuRequest(ZARN_INTR_CALLBACK);
    EXPECT_EQ(platformEvents(4).size(), 3u);
    EXPECT_EQ(callbackArg, 0u);
    EXPECT_EQ(handlerAtInterruptLevel, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(CpuIntrCount[0], 3u);
    EXPECT_EQ(CpuIntrCount[2], 2u);
    EXPECT_EQ(CpuIntrCount[3], 2u);
    EXPECT_EQ(board::cpuRequestStatus(), 0u);
}

TEST_F(Panel, InterruptSourceEnables) {
    hk::runTask([] {
        EnableOneMsIntr();
        EXPECT_EQ(board::peek16(ZARN_INTR_SOURCES), ZARN_INTR_SRC_ONE_MS);
        CpuIntrHandlerInit();
        EXPECT_EQ(board::peek16(ZARN_INTR_SOURCES), ZARN_INTR_SRC_ONE_MS | ZARN_INTR_SRC_CPU_RQST);
        EXPECT_EQ(board::peek16(ZARN_INTR_ENABLE), 1u);
    });
    // The source enable comes before the master enable.
    const auto log = board::writeLog(ZARN_INTR_ENABLE, ZARN_INTR_SOURCES);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].address, ZARN_INTR_SOURCES);
    EXPECT_EQ(log[2].address, ZARN_INTR_ENABLE);
}

// ---- LEDs and GPIO ------------------------------------------------------------------

TEST_F(Panel, LedOutputs) {
    hk::runTask([] {
        EXPECT_EQ(SetZarnGPIOExpLeds(8, 1), 0);
        EXPECT_TRUE(board::expanderLedOn(8));
        // Only bit 0 of `on` counts: 2 switches the LED off (word 0x0901).
        EXPECT_EQ(SetZarnGPIOExpLeds(9, 1), 0);
        EXPECT_TRUE(board::expanderLedOn(9));
        EXPECT_EQ(SetZarnGPIOExpLeds(9, 2), 0);
        EXPECT_FALSE(board::expanderLedOn(9));
        EXPECT_EQ(board::expanderPorts() & 0x300, 0x200);
        Zarn_application_stop_tasks();
        EXPECT_FALSE(board::expanderLedOn(8));

        DriveZarnGreenLED(1);
        DriveZarnRedLED(0);
        EXPECT_TRUE(board::runLed());
        EXPECT_FALSE(board::faultLed());
        DriveZarnRedLED(1);
        DriveZarnGreenLED(0);
        EXPECT_FALSE(board::runLed());
        EXPECT_TRUE(board::faultLed());

        DriveZarnDBugLED(3, 1);
        DriveZarnDBugLED(15, 1);
        DriveZarnDBugLED(16, 1);  // no such LED
        EXPECT_EQ(board::debugLeds(), 0x8008);
        EXPECT_EQ(ReadZarnDBugLED(3), 1u);
        EXPECT_EQ(ReadZarnDBugLED(4), 0u);
        ToggleZarnDBugLED(3);
        ToggleZarnDBugLED(4);
        DriveZarnDBugLED(15, 2);  // any value but 1 switches off
        EXPECT_EQ(board::debugLeds(), 0x0010);
    });

    // A failed expander transfer is reported on the console, not to the caller.
    board::failChip(board::Chip::MAX7317, true);
    testing::internal::CaptureStdout();
    int result = -1;
    hk::runTask([&] { result = SetZarnGPIOExpLeds(8, 1); });
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Port expander SPI error\n");
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(board::expanderLedOn(8));
}

TEST_F(Panel, GpioEnables) {
    EXPECT_EQ(ZarnRS485Enable(1), 0);
    EXPECT_EQ(SetUSBEnable(1), 0);
    EXPECT_EQ(board::gpioValue(16), 1u);
    EXPECT_EQ(board::gpioValue(14), 1u);
    EXPECT_EQ(ZarnRS485Enable(0), 0);
    EXPECT_EQ(board::gpioValue(16), 0u);
    EXPECT_EQ(board::gpioValue(14), 1u);
    EXPECT_EQ(InitUSBEnable(), 0);
}

// ---- FPGA register layer ---------------------------------------------------------------

// Words already copied when each interrupt posted during a block copy ran:
// an interrupt can run only where the copy opens the interrupt lock.
std::vector<int> openingsSeen(bool write, int words) {
    static int copied = 0;
    static std::vector<int> seen;
    copied = 0;
    seen.clear();
    const uint32_t base = 0x8080E000;
    auto onAccess = [](uint32_t, int) {
        ++copied;
        // Ask for an interrupt after every word; at most one waits at a time.
        static bool pending = false;
        if (!pending) {
            pending = true;
            hk::postInterrupt([] {
                seen.push_back(copied);
                pending = false;
            });
        }
    };
    board::attach(base, base + 4u * 40u - 2u,
                  board::Behaviour{[onAccess](uint32_t a, int w, uint32_t stored) {
                                       if (w == 32) onAccess(a, w);
                                       return stored;
                                   },
                                   [onAccess](uint32_t a, int w, uint32_t) {
                                       if (w == 32) onAccess(a, w);
                                   }});
    hk::runTask([&] {
        uint32_t buffer[40];
        for (int i = 0; i < 40; ++i) buffer[i] = 0x01000000u * static_cast<uint32_t>(i) + 7u;
        if (write) {
            EXPECT_EQ(VKIO_fpgaWrite(base, buffer, words), 0);
        } else {
            EXPECT_EQ(VKIO_fpgaRead(base, buffer, words), 0);
        }
    });
    return seen;
}

TEST_F(Panel, BlockCopiesOpenTheLockAfterEachRun) {
    // Write: runs of 5, then 6 words; the last entry is the final unlock.
    EXPECT_EQ(openingsSeen(true, 11), (std::vector<int>{5, 11}));
    EXPECT_EQ(openingsSeen(true, 12), (std::vector<int>{5, 11, 12}));
    EXPECT_EQ(openingsSeen(true, 18), (std::vector<int>{5, 11, 17, 18}));
    // Read: runs of 4, then 5 words.
    EXPECT_EQ(openingsSeen(false, 9), (std::vector<int>{4, 9}));
    EXPECT_EQ(openingsSeen(false, 10), (std::vector<int>{4, 9, 10}));
    EXPECT_TRUE(openingsSeen(false, 0).empty());
    EXPECT_TRUE(openingsSeen(true, -3).empty());

    // The words land in ascending order, big-endian halves.
    hk::runTask([] {
        const uint32_t src[3] = {0x11223344, 0x55667788, 0x99AABBCC};
        uint32_t dst[3] = {};
        VKIO_fpgaWrite(0x8080E100, src, 3);
        EXPECT_EQ(VKIO_fpgaRdUint16(0x8080E100), 0x1122u);
        EXPECT_EQ(VKIO_fpgaRdUint16(0x8080E10A), 0xBBCCu);
        VKIO_fpgaRead(0x8080E100, dst, 3);
        EXPECT_EQ(std::memcmp(src, dst, sizeof src), 0);
        VKIO_fpgaWrUint32(0x8080E200, 0xDEADBEEF);
        EXPECT_EQ(VKIO_fpgaRdUint32(0x8080E200), 0xDEADBEEFu);
        VKIO_fpgaWrUint16(0x8080E204, 0x12345678);  // low half only
        EXPECT_EQ(VKIO_fpgaRdUint16(0x8080E204), 0x5678u);
    });
}

}  // namespace
