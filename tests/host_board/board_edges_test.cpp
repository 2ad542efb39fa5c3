// The board model at its edges: the first and last registers, a behaviour's
// range ends, the write log's address range, discrete-input samples from
// before time began, the relay readback contacts, the E-stop latch, the
// status register's other bits and the SPI engine's done bit.
#include <sched.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "drivers/zarn_regs.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"

namespace {

class BoardEdges : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override {
        hk::shutdown();
        board::reset();
    }
};

// The register space ends where it ends, for both widths; anything beyond or
// misaligned aborts. Keys exist in words 0..2, bits 0..11.
TEST(BoardEdgesAccess, FirstAndLastRegistersOfEachWidth) {
    board::reset();
    const uint32_t base = board::kFpgaBase, end = board::kFpgaEnd;
    board::cpuWrite32(end - 4, 0x12345678u);
    EXPECT_EQ(board::cpuRead16(end - 4), 0x1234u);
    EXPECT_EQ(board::cpuRead16(end - 2), 0x5678u);
    board::cpuWrite32(base, 0x9ABCDEF0u);
    EXPECT_EQ(board::cpuRead32(base), 0x9ABCDEF0u);
    board::cpuWrite16(end - 2, 0x4321);
    EXPECT_EQ(board::peek16(end - 2), 0x4321u);
    EXPECT_DEATH(board::cpuRead32(end - 2), "bad 32-bit FPGA access");
    EXPECT_DEATH(board::cpuWrite32(base + 2, 0), "bad 32-bit FPGA access");
    EXPECT_DEATH(board::cpuRead16(end), "bad 16-bit FPGA access");
    EXPECT_DEATH(board::peek32(end - 2), "bad 32-bit FPGA access");
    EXPECT_DEATH(board::peek16Held(end), "bad 16-bit FPGA access at 0x80810000");
    EXPECT_DEATH(board::poke16(base - 2, 0), "bad 16-bit FPGA access");
    EXPECT_DEATH(board::poke32(base + 2, 0), "bad 32-bit FPGA access");
    EXPECT_DEATH(board::poke32(end - 2, 0), "bad 32-bit FPGA access");
    EXPECT_DEATH(board::setKey(3, 0, true), "no key at word 3 bit 0");
    EXPECT_DEATH(board::setKey(0, 12, true), "no key at word 0 bit 12");
    EXPECT_DEATH(board::setKey(-1, 0, true), "no key");
    EXPECT_DEATH(board::setKey(0, -1, true), "no key");
    board::setKey(2, 11, true);
    EXPECT_EQ(board::peek16(ZARN_KEYPAD2), 0x0800u);
    board::reset();
}

// The speed-sensor samples are answered from a copy once the first of them
// was read; a misaligned 32-bit read among them still aborts. So does a
// misaligned 16-bit read among the discrete-input samples.
TEST(BoardEdgesAccess, MisalignedReadOfACopiedRegisterAborts) {
    board::reset();
    speedsensor::install();
    EXPECT_DEATH(
        {
            board::cpuRead32(ZARN_TSS_SAMPLES0);
            board::cpuRead32(ZARN_TSS_SAMPLES0 + 6);
        },
        "bad 32-bit FPGA access at 0x8080F306");
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_SAMPLES0 + 4), 0xFFFFFFFFu);
    // Likewise the discrete-input samples, copied at their first read.
    EXPECT_DEATH(
        {
            board::cpuRead16(ZARN_DIN_SAMPLES_FIRST);
            board::cpuRead16(ZARN_DIN_SAMPLES_FIRST + 1);
        },
        "bad 16-bit FPGA access at 0x8080F155");
    board::reset();
}

// A behaviour takes both ends of its range and nothing beyond; one with a
// write only leaves the reads to the stored value.
TEST_F(BoardEdges, BehaviourRangeIncludesBothEnds) {
    static std::vector<uint32_t> written;
    written.clear();
    board::attach(0x8080E010, 0x8080E01E,
                  board::Behaviour{[](uint32_t, int, uint32_t stored) { return stored + 1; }, nullptr});
    board::attach(0x8080E040, 0x8080E040,
                  board::Behaviour{nullptr, [](uint32_t a, int, uint32_t) { written.push_back(a); }});
    const struct {
        uint32_t address;
        uint16_t read;  // after 7 was written
    } rows[] = {{0x8080E00E, 7}, {0x8080E010, 8}, {0x8080E01E, 8}, {0x8080E020, 7}, {0x8080E040, 7}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.address);
        board::cpuWrite16(r.address, 7);
        EXPECT_EQ(board::cpuRead16(r.address), r.read);
    }
    EXPECT_EQ(written, std::vector<uint32_t>{0x8080E040});
    board::attach(0x8080E010, 0x8080E01E, board::Behaviour{});
    board::attach(0x8080E040, 0x8080E040, board::Behaviour{});
}

// A register whose behaviour was detached has none: a write to it is only
// stored (here: it does not restart a watchdog that has timed out).
TEST_F(BoardEdges, ADetachedRegisterHasNoBehaviour) {
    board::attach(0x8080E040, 0x8080E040, board::Behaviour{nullptr, [](uint32_t, int, uint32_t) {}});
    board::attach(0x8080E040, 0x8080E040, board::Behaviour{});
    board::setWatchdogTimeoutNs(2 * hk::kTickNs);
    board::cpuWrite16(ZARN_WDOG_ENABLE, 1);
    hk::runTicks(3);
    EXPECT_TRUE(board::poll());  // timed out
    board::cpuWrite16(0x8080E040, 1);
    hk::runTicks(3);
    EXPECT_FALSE(board::poll());  // and stays so
    EXPECT_EQ(board::peek16(0x8080E040), 1u);
}

// The write log's range takes both its ends.
TEST_F(BoardEdges, WriteLogRangeIncludesBothEnds) {
    for (uint32_t a : {0x8080E000u, 0x8080E002u, 0x8080E004u, 0x8080E006u}) board::cpuWrite16(a, 1);
    const struct {
        uint32_t first, last;
        size_t n;
    } rows[] = {{0x8080E002, 0x8080E004, 2}, {0x8080E000, 0x8080E000, 1}, {0x8080E006, 0x8080E006, 1},
                {0x8080E001, 0x8080E001, 0}, {0x8080E008, 0x8080E0FE, 0}};
    for (const auto& r : rows) EXPECT_EQ(board::writeLog(r.first, r.last).size(), r.n) << r.first << ".." << r.last;
}

// At time 0 only the latest sample holds the inputs: the older ones were
// taken before time began and read 0.
TEST_F(BoardEdges, SamplesFromBeforeTimeBeganReadZero) {
    board::setDiscreteInputs(0xFFFFFFFFu);
    for (int k = 0; k <= 4; ++k) {
        for (int word : {0, 1}) EXPECT_EQ(board::cpuRead16(zarnDinSampleReg(k, word)), k == 0 ? 0xFFFFu : 0u) << k;
    }
    hk::runTicks(1);  // 5 ms: every sample lies after the change
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(board::cpuRead16(zarnDinSampleReg(k, 1)), 0xFFFFu) << k;
}

// The readback contacts (inputs 24..27) close with their relays while the
// outputs are released, unless stuck; unwired, the inputs read as they are
// set. Every other input reads as set.
TEST_F(BoardEdges, RelayReadbackContacts) {
    const uint32_t others = 0xF0A5C35Au & ~0x0F000000u;
    const struct {
        const char* name;
        bool wired, released;
        uint16_t relays;
        int stuck[4];
        uint32_t setContacts, contacts;  // inputs 24..27 as set, and as read (bits 0..3)
    } rows[] = {
        {"unwired", false, true, 0xF, {-1, -1, -1, -1}, 0x6, 0x6},
        {"outputs locked", true, false, 0xF, {-1, -1, -1, -1}, 0xF, 0x0},
        {"following the relays", true, true, 0x5, {-1, -1, -1, -1}, 0xA, 0x5},
        {"stuck open and closed", true, true, 0x9, {0, 1, -1, -1}, 0x0, 0xA},
        {"stuck at any level above 0 is closed", true, true, 0x8, {-1, -1, 7, 0}, 0x0, 0x4},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        board::reset();
        board::wireRelayReadbacks(r.wired);
        for (int relay = 0; relay < 4; ++relay) board::setRelayReadbackStuck(relay, r.stuck[relay]);
        board::setRelayReadbackStuck(4, 1);   // no such relay
        board::setRelayReadbackStuck(-1, 1);  // nor this
        board::cpuWrite16(ZARN_RELAYS, r.relays);
        board::cpuWrite16(ZARN_CTRL, r.released ? ZARN_CTRL_OUTPUTS_RELEASED : 0);
        board::setDiscreteInputs(others | (r.setContacts << 24));
        const uint32_t read = (static_cast<uint32_t>(board::cpuRead16(zarnDinSampleReg(0, 1))) << 16) |
                              board::cpuRead16(zarnDinSampleReg(0, 0));
        EXPECT_EQ(read & ~0x0F000000u, others);
        EXPECT_EQ((read >> 24) & 0xFu, r.contacts);
    }
}

// A reset held on while the button is released clears the latch at the
// release. The E-stop bit of the status register is the latch's alone; the
// register's other bits read as set.
TEST_F(BoardEdges, EstopLatchAndTheStatusRegister) {
    board::setEstopButton(true);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);
    EXPECT_TRUE(board::estopLatched());
    board::setEstopButton(false);
    EXPECT_FALSE(board::estopLatched());

    board::poke16(ZARN_STATUS, ZARN_STATUS_ESTOP);
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS), 0u);
    const struct {
        bool faultA, faultB, backlight, estop;
        uint16_t status;
    } rows[] = {
        {true, false, false, false, ZARN_STATUS_ADC_FAULT_A},
        {false, true, true, false, ZARN_STATUS_ADC_FAULT_B | ZARN_STATUS_BACKLIGHT_FAULT},
        {true, true, false, true, ZARN_STATUS_ADC_FAULT_A | ZARN_STATUS_ADC_FAULT_B | ZARN_STATUS_ESTOP},
        {false, false, false, false, 0},
    };
    for (const auto& r : rows) {
        board::setAdcFault(r.faultA, r.faultB);
        board::setBacklightFault(r.backlight);
        board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);  // the button is out: the latch clears
        board::cpuWrite16(ZARN_CTRL, 0);
        if (r.estop) {
            board::setEstopButton(true);
            board::setEstopButton(false);
        }
        EXPECT_EQ(board::cpuRead16(ZARN_STATUS), r.status) << r.status;
    }
}

// Each command with the start bit counts a transfer; the done bit follows
// unless the engine is stuck or the transfer is one of the missed ones
// (the first 32 only). The CPU cannot set the done bit itself.
TEST_F(BoardEdges, SpiDoneBitPerTransfer) {
    auto command = [](uint16_t value) {
        board::cpuWrite16(ZARN_SPI_CMD, value);
        return (board::cpuRead16(ZARN_SPI_CMD) & ZARN_SPI_DONE) != 0;
    };
    EXPECT_FALSE(command(ZARN_SPI_DONE));  // no start: no transfer, no done
    EXPECT_EQ(board::spiTransfers(), 0u);
    board::setSpiMissedDone(0x80000001u);  // transfers 1 and 32
    std::vector<int> missed;
    for (int n = 1; n <= 34; ++n)
        if (!command(ZARN_SPI_START)) missed.push_back(n);
    EXPECT_EQ(missed, (std::vector<int>{1, 32}));
    EXPECT_EQ(board::spiTransfers(), 34u);
    board::setSpiStuck(true);
    EXPECT_FALSE(command(ZARN_SPI_START));
    board::setSpiStuck(false);
    EXPECT_TRUE(command(ZARN_SPI_START));
    EXPECT_EQ(board::spiTransfers(), 36u);
}

// After a reset, before anything converted or measured: every analog result
// holds the live zero and every speed-sensor count of both channels the
// longest one (no edge seen).
TEST_F(BoardEdges, ResultsAndCountsAtReset) {
    for (int ch = 0; ch < ZARN_AIN_COUNT; ++ch)
        EXPECT_EQ(static_cast<int16_t>(board::cpuRead16(ZARN_AIN_BASE + 4u * static_cast<uint32_t>(ch))),
                  board::analogInputCode(4.0))
            << ch;
    for (uint32_t ch = 0; ch < 2; ++ch) {
        SCOPED_TRACE(ch);
        const uint32_t base = ch * ZARN_TSS_STRIDE;
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
            EXPECT_EQ(board::peek32(ZARN_TSS_SAMPLES0 + base + 4u * static_cast<uint32_t>(i)), 0xFFFFFFFFu) << i;
        EXPECT_EQ(board::peek32(ZARN_TSS_PERIOD_A0 + base), 0xFFFFFFFFu);
        EXPECT_EQ(board::peek32(ZARN_TSS_PERIOD_B0 + base), 0xFFFFFFFFu);
        // The registers in between hold nothing.
        EXPECT_EQ(board::peek32(ZARN_TSS_SAMPLES0 + base + 4u * ZARN_TSS_SAMPLE_COUNT), 0u);
        EXPECT_EQ(board::peek32(ZARN_TSS_TEETH0 + base), 0u);
    }
    EXPECT_EQ(board::peek32(ZARN_TSS_SAMPLES0 - 4u), 0u);
    EXPECT_EQ(board::peek32(ZARN_TSS_PERIOD_B0 + 2u * ZARN_TSS_STRIDE), 0u);
}

}  // namespace

// A thread that shares the CPU thread's core gets the board's lock while a
// task takes it at every register read: the CPU thread waits for it rather
// than taking the lock again first (without that a Ctrl-C of the controller
// confined to one core waited minutes for the lock).
TEST(BoardLock, AThreadOnTheCpuThreadsCoreGetsItWhileATaskTakesItOverAndOver) {
    cpu_set_t saved;
    ASSERT_EQ(::sched_getaffinity(0, sizeof saved, &saved), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(::sched_getcpu(), &one);
    ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);  // the threads made below share it
    board::reset();
    hk::start(hk::ClockMode::Simulated);
    constexpr long kMostReads = 100'000'000;  // a second or more of reads: far more than a hand-over takes
    std::atomic<long> reads{0};
    std::atomic<bool> taken{false};
    std::thread taker([&] {
        while (reads.load() == 0) std::this_thread::yield();
        auto g = board::lock();
        taken = true;
    });
    hk::runTask([&] {
        while (!taken.load() && reads.load() < kMostReads) {
            board::cpuRead16(ZARN_CTRL);
            reads.fetch_add(1);
            hk::checkpoint();
        }
    });
    taker.join();
    hk::shutdown();
    ASSERT_EQ(::sched_setaffinity(0, sizeof saved, &saved), 0);
    EXPECT_TRUE(taken.load());
    EXPECT_LT(reads.load(), kMostReads);
}
