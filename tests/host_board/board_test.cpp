// The board model: register space, behaviours, write log, built-in FPGA
// behaviour and platform library calls.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <numeric>
#include <thread>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"

namespace {

class Board : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override { hk::shutdown(); }
};

TEST_F(Board, RegisterSpaceBehavioursAndWriteLog) {
    // 32-bit registers are two big-endian halves.
    board::cpuWrite32(0x8080E000, 0xA1B2C3D4);
    board::poke16(0x8080E002, 0x0001);
    EXPECT_EQ(board::cpuRead32(0x8080E000), 0xA1B20001u);

    // A behaviour sees CPU accesses of its range only; pokes bypass it; an empty behaviour detaches.
    std::vector<uint32_t> writes;
    board::attach(0x8080E010, 0x8080E01E,
                  board::Behaviour{[](uint32_t a, int, uint32_t stored) { return stored + (a & 0xFF); },
                                   [&](uint32_t a, int, uint32_t v) { writes.insert(writes.end(), {a, v}); }});
    board::cpuWrite16(0x8080E012, 5);
    board::cpuWrite16(0x8080E020, 5);  // outside
    board::poke16(0x8080E014, 9);
    EXPECT_EQ(writes, (std::vector<uint32_t>{0x8080E012, 5}));
    EXPECT_EQ(board::cpuRead16(0x8080E012), 5u + 0x12u);
    board::attach(0x8080E010, 0x8080E012, board::Behaviour{});
    EXPECT_EQ(board::cpuRead16(0x8080E012), 5u);
    EXPECT_EQ(board::cpuRead16(0x8080E014), 9u + 0x14u);

    // The log holds CPU writes in order with their time; pokes are not logged.
    hk::runTicks(3);
    board::cpuWrite16(0x8080E030, 0x1234);
    const auto log = board::writeLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[3].address, 0x8080E030u);
    EXPECT_EQ(log[3].timeNs, 3 * hk::kTickNs);
    EXPECT_EQ(board::writeLog(0x8080E010, 0x8080E020).size(), 2u);
}

// The log keeps the newest writes up to its capacity, oldest first, through
// wrap-arounds and changes of the capacity; reset restores the default.
TEST_F(Board, WriteLogKeepsTheNewestWritesInOrder) {
    auto values = [] {
        std::vector<uint32_t> v;
        for (const auto& w : board::writeLog()) v.push_back(w.value);
        return v;
    };
    auto write = [](uint32_t from, uint32_t to) {
        for (uint32_t v = from; v <= to; ++v) board::cpuWrite16(0x8080E000 + 2 * (v % 4), static_cast<uint16_t>(v));
    };
    board::setWriteLogCapacity(3);
    write(1, 2);
    EXPECT_EQ(values(), (std::vector<uint32_t>{1, 2}));
    write(3, 7);  // wraps around more than once
    EXPECT_EQ(values(), (std::vector<uint32_t>{5, 6, 7}));
    EXPECT_EQ(board::writeLog(0x8080E000, 0x8080E002).size(), 1u);  // 5 at 0x8080E002
    board::setWriteLogCapacity(5);  // grows from a wrapped ring
    write(8, 10);
    EXPECT_EQ(values(), (std::vector<uint32_t>{6, 7, 8, 9, 10}));
    write(11, 11);
    board::setWriteLogCapacity(2);  // shrinks a wrapped ring to its newest
    EXPECT_EQ(values(), (std::vector<uint32_t>{10, 11}));
    write(12, 12);
    EXPECT_EQ(values(), (std::vector<uint32_t>{11, 12}));
    board::clearWriteLog();
    write(13, 15);
    EXPECT_EQ(values(), (std::vector<uint32_t>{14, 15}));
    board::setWriteLogCapacity(0);
    write(16, 16);
    EXPECT_TRUE(values().empty());
    board::reset();
    write(1, 100);
    EXPECT_EQ(values().size(), 100u);
    // The capacity after a reset: 65536 writes.
    write(101, 65537);
    const std::vector<uint32_t> kept = values();
    ASSERT_EQ(kept.size(), 65536u);
    EXPECT_EQ(kept.front(), 2u);                            // the first write dropped
    EXPECT_EQ(kept.back(), uint32_t{uint16_t(65537)});      // a 16-bit write of the last
}

// Without the kernel running: a death test forks this process.
TEST(BoardAccess, BadAccessesAbort) {
    EXPECT_DEATH(board::cpuRead16(0x80810000), "bad 16-bit FPGA access at 0x80810000");
    EXPECT_DEATH(board::cpuWrite16(0x8080F041, 1), "bad 16-bit");
    EXPECT_DEATH(board::cpuRead32(0x8080F042), "bad 32-bit");
    EXPECT_DEATH(board::cpuRead16(0x807FFFFE), "bad 16-bit");
}

std::vector<bool> delivered;  // intContext() of each delivery
long deliveredArg = 0;         // the argument of the last

TEST_F(Board, CpuRequestDeliveredAtInterruptLevelOnceEnabled) {
    VKCpuRqstConnect(
        [](long arg) {
            delivered.push_back(intContext());
            deliveredArg = arg;
        },
        42);
    board::raiseCpuRequest(ZARN_INTR_POWER_FAIL | ZARN_INTR_CALLBACK);
    hk::runTicks(1);
    EXPECT_TRUE(delivered.empty());  // the platform has not initialised it
    EXPECT_EQ(board::cpuRequestsDelivered(), 0u);
    VKCpuRqstInit();  // pending status is delivered as soon as it is enabled
    hk::runTicks(1);
    EXPECT_EQ(delivered, std::vector<bool>{true});
    EXPECT_EQ(deliveredArg, 42);
    EXPECT_EQ(board::cpuRequestsDelivered(), 1u);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_CALLBACK | ZARN_INTR_WDOG_TIMEOUT);  // clears the written bits
    EXPECT_EQ(board::cpuRequestStatus(), ZARN_INTR_POWER_FAIL);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_POWER_FAIL);

    // Raises before the handler runs are served by one delivery (raised from a task: from this
    // thread the idle CPU might serve the first at once); masked in the FPGA, nothing is delivered.
    hk::runTask([] {
        board::raiseCpuRequest(ZARN_INTR_POWER_FAIL);
        board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT);
    });
    EXPECT_EQ(delivered.size(), 2u);
    board::cpuWrite16(ZARN_INTR_ACK, 3);
    board::cpuWrite16(ZARN_INTR_ENABLE, 0);
    board::raiseCpuRequest(ZARN_INTR_CALLBACK);
    hk::runTicks(1);
    EXPECT_EQ(delivered.size(), 2u);
}

TEST_F(Board, WatchdogKeysAndTimeout) {
    auto keys = [](std::vector<std::pair<uint32_t, uint16_t>> writes) {
        for (auto [reg, value] : writes) board::cpuWrite16(reg, value);
    };
    const uint32_t A = ZARN_WDOG_KEY_A, B = ZARN_WDOG_KEY_B;
    auto handshake = [&] { keys({{A, 0x5555}, {A, 0xAAAA}, {B, 0x5555}, {B, 0xAAAA}}); };
    hk::runTicks(100);
    EXPECT_FALSE(board::poll());  // disabled: no time-out however long
    board::cpuWrite16(ZARN_WDOG_ENABLE, 1);
    board::setWatchdogTimeoutNs(20 * hk::kTickNs);
    for (int i = 0; i < 10; ++i) hk::runTicks(15), handshake();
    EXPECT_FALSE(board::poll());
    // Keys out of order or to the wrong register do not count.
    keys({{A, 0xAAAA}, {A, 0x5555}, {B, 0xAAAA}, {A, 0x5555}, {A, 0xAAAA}, {B, 0x5555}, {A, 0xAAAA}});
    EXPECT_EQ(board::watchdogBadKeys(), 3u);
    EXPECT_EQ(board::watchdogHandshakes(), 10u);
    handshake();
    // No handshake for longer than the time-out: status bit 0, once.
    hk::runTicks(20);
    EXPECT_FALSE(board::poll());
    hk::runTicks(1);
    EXPECT_TRUE(board::poll());
    EXPECT_FALSE(board::poll());
    EXPECT_EQ(board::cpuRequestStatus(), ZARN_INTR_WDOG_TIMEOUT);
}

TEST_F(Board, OutputsHeldOffWhileLocked) {
    board::cpuWrite16(ZARN_RELAYS, ZARN_RELAYS_ALWAYS | 0x5);
    board::cpuWrite16(zarnAoutCountReg(4), 7000);
    EXPECT_EQ(board::relaysEnergised(), 0u);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), 0u);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED);
    EXPECT_EQ(board::relaysEnergised(), 0x5u);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), 7000u);
}

TEST_F(Board, DiscreteInputSampleHistory) {
    hk::runTicks(2);  // 10 ms
    const uint64_t ms = 1'000'000;
    board::setDiscreteInputsAt(11 * ms, 1u << 3);
    board::setDiscreteInputsAt(12 * ms + ms / 2, (1u << 3) | (1u << 17));
    board::setDiscreteInputsAt(14 * ms, 1u << 3);
    hk::runTicks(1);  // 15 ms
    // Samples k = 4 .. 0 at 11 .. 15 ms: the short pulse on input 17 shows at 13 ms only.
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(board::cpuRead16(zarnDinSampleReg(k, 0)), 1u << 3) << k;
        EXPECT_EQ(board::cpuRead16(zarnDinSampleReg(k, 1)), k == 2 ? 1u << 1 : 0u) << k;
    }
}

// One input set or cleared by its number: 0 .. 31 change their own bit
// only, any other number changes nothing.
TEST_F(Board, OneDiscreteInputByItsNumber) {
    const struct {
        int n;
        uint32_t bit;
    } rows[] = {{0, 1u}, {17, 1u << 17}, {31, 1u << 31}, {-1, 0u}, {32, 0u}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.n);
        board::setDiscreteInputs(1u << 5);
        board::setDiscreteInput(r.n, true);
        EXPECT_EQ(board::discreteInputs(), (1u << 5) | r.bit);
        board::setDiscreteInputs(~0u);
        board::setDiscreteInput(r.n, false);
        EXPECT_EQ(board::discreteInputs(), ~r.bit);
    }
}

TEST_F(Board, CalibrationFlashAndIdentity) {
    // The default table is valid: its words sum to 0.
    uint32_t words[89];
    ASSERT_EQ(VKReadCalibrationData(words, 356), 0);
    EXPECT_EQ(std::accumulate(std::begin(words), std::end(words), 0u), 0u);
    uint8_t block[356], back[356] = {};
    for (size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(VKWriteCalibrationData(block, 356), 0);
    EXPECT_EQ(VKReadCalibrationData(back, 356), 0);
    EXPECT_EQ(std::memcmp(block, back, sizeof block), 0);
    board::failCalibrationFlash(true);
    EXPECT_NE(VKWriteCalibrationData(block, 356), 0);

    board::setIdentity({1234567, 42, 7, "M", std::string(50, 'x')});
    char name[40];
    EXPECT_EQ(VKGetTargetName(name), 0);
    EXPECT_EQ(std::string(name), std::string(39, 'x'));  // cut to fit a text cell
}

}  // namespace

namespace {

TEST_F(Board, WatchdogKeySequenceRestartsOnAWrongWrite) {
    const uint32_t A = ZARN_WDOG_KEY_A, B = ZARN_WDOG_KEY_B;
    const struct {
        const char* name;
        std::vector<std::pair<uint32_t, uint16_t>> writes;
        uint64_t handshakes, bad;
    } cases[] = {
        {"in order", {{A, 0x5555}, {A, 0xAAAA}, {B, 0x5555}, {B, 0xAAAA}}, 1, 0},
        {"a repeated first key starts over", {{A, 0x5555}, {A, 0x5555}, {A, 0xAAAA}, {B, 0x5555}, {B, 0xAAAA}}, 1, 1},
        {"a wrong value", {{A, 0x5555}, {A, 0x1234}, {A, 0xAAAA}, {B, 0x5555}, {B, 0xAAAA}}, 0, 4},
        {"the last key twice", {{A, 0x5555}, {A, 0xAAAA}, {B, 0x5555}, {B, 0xAAAA}, {B, 0xAAAA}}, 1, 1},
    };
    for (const auto& c : cases) {
        board::reset();
        for (auto [reg, value] : c.writes) board::cpuWrite16(reg, value);
        EXPECT_EQ(board::watchdogHandshakes(), c.handshakes) << c.name;
        EXPECT_EQ(board::watchdogBadKeys(), c.bad) << c.name;
    }
}

TEST_F(Board, WatchdogTimeOutCountsFromTheEnable) {
    board::setWatchdogTimeoutNs(4 * hk::kTickNs);
    hk::runTicks(50);
    board::cpuWrite16(ZARN_WDOG_ENABLE, 1);  // no handshake yet: the time-out runs from here
    EXPECT_TRUE(board::watchdogEnabled());
    hk::runTicks(4);
    EXPECT_FALSE(board::poll());
    hk::runTicks(1);
    EXPECT_TRUE(board::poll());
    // A handshake after the time-out arms it again.
    board::cpuWrite16(ZARN_WDOG_KEY_A, 0x5555);
    board::cpuWrite16(ZARN_WDOG_KEY_A, 0xAAAA);
    board::cpuWrite16(ZARN_WDOG_KEY_B, 0x5555);
    board::cpuWrite16(ZARN_WDOG_KEY_B, 0xAAAA);
    hk::runTicks(4);
    EXPECT_FALSE(board::poll());
    hk::runTicks(1);
    EXPECT_TRUE(board::poll());
    // Switching it on again restarts the time-out.
    board::cpuWrite16(ZARN_WDOG_ENABLE, 0);
    EXPECT_FALSE(board::poll());
    board::cpuWrite16(ZARN_WDOG_ENABLE, 1);
    hk::runTicks(4);
    EXPECT_FALSE(board::poll());
    // ... and the watchdog, which had timed out, times out again.
    hk::runTicks(1);
    EXPECT_TRUE(board::poll());
}

TEST_F(Board, InterruptStatusIsReadOnlyAndAcknowledgedBitByBit) {
    board::raiseCpuRequest(ZARN_INTR_POWER_FAIL | ZARN_INTR_CALLBACK | 0x8);  // only the three sources exist
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 0x6u);
    board::cpuWrite16(ZARN_INTR_STATUS, 0);  // the CPU cannot clear it by writing
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 0x6u);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_CALLBACK);
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 0x2u);
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_ACK), 0u);
    // Enabled without its source bit, the request is not delivered; with it, once.
    int runs = 0;
    static int* counter = nullptr;
    counter = &runs;
    VKCpuRqstConnect([](long) { ++*counter; }, 0);
    VKCpuRqstInit();
    hk::runTicks(1);
    EXPECT_EQ(runs, 1);
    board::cpuWrite16(ZARN_INTR_SOURCES, 0);
    board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT);
    board::cpuWrite16(ZARN_INTR_ENABLE, 1);
    hk::runTicks(1);
    EXPECT_EQ(runs, 1);
    board::cpuWrite16(ZARN_INTR_SOURCES, ZARN_INTR_SRC_CPU_RQST);
    hk::runTicks(1);
    EXPECT_EQ(runs, 2);
    board::cpuWrite16(ZARN_INTR_ACK, 7);
    board::cpuWrite16(ZARN_INTR_ENABLE, 0);  // and off again
    board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT);
    hk::runTicks(1);
    EXPECT_EQ(runs, 2);
}

// The CPU's register accesses and another thread's holds of the board's lock
// exclude each other, and neither side waits for ever: the CPU thread keeps
// the lock between its accesses only until somebody waits for it or the
// kernel lets other threads in.
TEST(BoardLock, CpuAccessesAndOtherThreadsExcludeEachOther) {
    constexpr uint32_t kReg = 0x8080E040;
    constexpr int kHolds = 3000;
    struct Shared {
        std::atomic<int> inside{0};
        std::atomic<int> overlaps{0};
        int count = 0;  // guarded by the board's lock
        void enter() {
            if (inside.fetch_add(1) != 0) ++overlaps;
        }
        void leave() { inside.fetch_sub(1); }
    };
    static Shared shared;
    shared.count = 0;
    shared.overlaps = 0;
    board::reset();
    board::attach(kReg, kReg, board::Behaviour{nullptr, [](uint32_t, int, uint32_t) {
                                                   shared.enter();
                                                   const int c = shared.count;
                                                   std::this_thread::yield();
                                                   shared.count = c + 1;
                                                   shared.leave();
                                               }});
    for (hk::ClockMode mode : {hk::ClockMode::Simulated, hk::ClockMode::RealTime}) {
        SCOPED_TRACE(mode == hk::ClockMode::Simulated ? "free-running simulated clock" : "real-time clock");
        shared.count = 0;
        hk::start(mode);
        if (mode == hk::ClockMode::Simulated) hk::setFreeRunning();
        std::atomic<bool> stop{false};
        std::atomic<int> cpuWrites{0};
        hk::spawnFunction(
            [&] {
                // Never idle: only a waiter can take the lock from this task.
                while (!stop.load()) {
                    board::cpuWrite16(kReg, 1);
                    ++cpuWrites;
                    hk::checkpoint();
                }
            },
            50, "tWriter");
        while (cpuWrites.load() == 0) std::this_thread::yield();
        for (int i = 0; i < kHolds; ++i) {
            auto g = board::lock();
            shared.enter();
            const int c = shared.count;
            std::this_thread::yield();
            shared.count = c + 1;
            shared.leave();
        }
        stop = true;
        hk::shutdown();
        // The task's last write may have come after the stop was seen: every
        // write and every hold counted once.
        EXPECT_EQ(shared.count, kHolds + cpuWrites.load());
        EXPECT_EQ(shared.overlaps.load(), 0);
    }
    board::attach(kReg, kReg, board::Behaviour{});
}

// After the CPU's last access the kernel idles at its time limit; the lock is
// free for another thread then, and the CPU takes it back at its next access.
TEST_F(Board, LockIsFreeWhileTheCpuIdles) {
    uint32_t seen = 0;
    hk::runTask([] { board::cpuWrite16(0x8080E050, 0x1234); });
    std::thread other([] { board::poke16(0x8080E050, 0x5678); });
    other.join();
    hk::runTask([&] { seen = board::cpuRead16(0x8080E050); });
    EXPECT_EQ(seen, 0x5678u);
    EXPECT_EQ(board::peek16(0x8080E050), 0x5678u);
}

// The E-stop latch: a reset while the button is held leaves it set; after
// the release the next reset clears it. Keys of every word show in their
// keypad register.
TEST_F(Board, EstopLatchAndKeypadWords) {
    board::setEstopButton(true);
    board::setEstopButton(false);
    EXPECT_TRUE(board::estopLatched());
    board::setEstopButton(true);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);
    EXPECT_TRUE(board::estopLatched());
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS) & ZARN_STATUS_ESTOP, ZARN_STATUS_ESTOP);
    board::cpuWrite16(ZARN_CTRL, 0);
    board::setEstopButton(false);
    EXPECT_TRUE(board::estopLatched());
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);
    EXPECT_FALSE(board::estopLatched());
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS) & ZARN_STATUS_ESTOP, 0u);

    for (int word = 0; word < 3; ++word) {
        SCOPED_TRACE(word);
        const uint32_t reg = ZARN_KEYPAD0 + 2u * static_cast<uint32_t>(word);
        board::setKey(word, 0, true);
        board::setKey(word, 11, true);
        EXPECT_EQ(board::peek16(reg), 0x0801u);
        board::setKey(word, 0, false);
        EXPECT_EQ(board::peek16(reg), 0x0800u);
    }
    board::releaseAllKeys();
    EXPECT_EQ(board::peek16(ZARN_KEYPAD0), 0u);
}

// Each relay's readback contact can be stuck closed while its relay is off,
// the first and the last of them alike.
TEST_F(Board, EveryRelayReadbackCanStick) {
    board::wireRelayReadbacks(true);
    // Inputs 16 .. 31 of the latest sample.
    auto highInputs = [] { return board::cpuRead16(ZARN_DIN_SAMPLES_LAST - 2); };
    for (int relay : {0, 3}) {
        SCOPED_TRACE(relay);
        const uint32_t bit = 1u << (24 - 16 + relay);
        EXPECT_EQ(highInputs() & bit, 0u);
        board::setRelayReadbackStuck(relay, 1);
        EXPECT_EQ(highInputs() & bit, bit);
        board::setRelayReadbackStuck(relay, -1);
        EXPECT_EQ(highInputs() & bit, 0u);
    }
}

TEST(BoardAccess, DiscreteInputChangesMustComeInTimeOrder) {
    board::reset();
    board::setDiscreteInputsAt(5'000'000, 1);
    EXPECT_DEATH(board::setDiscreteInputsAt(4'000'000, 2), "before an earlier one");
}

}  // namespace
