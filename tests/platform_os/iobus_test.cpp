// The FPGA bus routines: block copies that open the interrupt lock at fixed
// word counts, and the I/O lock with its permissive.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "drivers/ZarnHwDepend.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"

namespace {

constexpr uint32_t kBlock = 0x8080E000;  // scratch registers of the board model

class FpgaBus : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
        _SYS_INFO_C_PWD = 0;
        _SYS_INFO_LOCK_PER = 1;
    }
    void TearDown() override { hk::shutdown(); }

    // Words copied when each interrupt posted during a copy got to run: one is
    // posted at the first access after the previous one ran, so each entry is
    // where the copy opened the interrupt lock.
    std::vector<int> copyWindows(int words, bool write) {
        static int accesses = 0;
        static bool pending = false;
        static std::vector<int> windows;
        accesses = 0, pending = false, windows.clear();
        auto access = [] {
            ++accesses;
            if (pending) return;
            pending = true;
            hk::postInterrupt([] { windows.push_back(accesses), pending = false; });
            hk::checkpoint();  // a locked copy must hold it back
        };
        board::attach(kBlock, kBlock + 4u * 32u - 2u,
                      board::Behaviour{[access](uint32_t, int, uint32_t stored) { return access(), stored; },
                                       [access](uint32_t, int, uint32_t) { access(); }});
        std::vector<uint32_t> data(static_cast<size_t>(words > 0 ? words : 1), 0);
        hk::runTask([&] {
            if (write) VKIO_fpgaWrite(kBlock, data.data(), words);
            else VKIO_fpgaRead(kBlock, data.data(), words);
        });
        board::attach(kBlock, kBlock + 4u * 32u - 2u, board::Behaviour{});
        return windows;
    }
};

using V = std::vector<int>;

TEST_F(FpgaBus, BlockCopiesMoveEachWordToItsRegister) {
    std::vector<uint32_t> out(7), in(9, 0xEEEEEEEEu);
    std::iota(out.begin(), out.end(), 0xA0000001u);
    hk::runTask([&] {
        EXPECT_EQ(VKIO_fpgaWrite(kBlock, out.data(), 7), 0);
        EXPECT_EQ(VKIO_fpgaRead(kBlock, in.data() + 1, 7), 0);
        EXPECT_EQ(VKIO_fpgaWrite(kBlock + 4 * 7, out.data(), 0), 0);   // nothing
        EXPECT_EQ(VKIO_fpgaWrite(kBlock + 4 * 7, out.data(), -3), 0);  // nothing
    });
    for (uint32_t i = 0; i < 7; ++i) EXPECT_EQ(board::cpuRead32(kBlock + 4 * i), 0xA0000001u + i) << i;
    EXPECT_EQ(board::cpuRead32(kBlock + 4 * 7), 0u);
    EXPECT_EQ(in.front(), 0xEEEEEEEEu);
    EXPECT_EQ(std::vector<uint32_t>(in.begin() + 1, in.end() - 1), out);
    EXPECT_EQ(in.back(), 0xEEEEEEEEu);
    EXPECT_EQ(board::writeLog().size(), 7u);
}

TEST_F(FpgaBus, LongCopiesLetInterruptsInAtFixedWordCounts) {
    const struct {
        const char* name;
        bool write;
        int words;
        V windows;
    } cases[] = {
        {"write: after 5, then every 6", true, 20, {5, 11, 17, 20}},
        {"write shorter than its first run", true, 4, {4}},
        {"write of exactly the first run", true, 5, {5}},
        {"read: after 4, then every 5", false, 20, {4, 9, 14, 19, 20}},
        {"read of exactly two runs", false, 9, {4, 9}},
        {"read of one word", false, 1, {1}},
        {"no words", true, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(copyWindows(c.words, c.write), c.windows) << c.name;
}

TEST_F(FpgaBus, IoLockFollowsThePermissive) {
    const struct {
        const char* name;
        uint32_t permissive;
        void (*call)();
        uint32_t lockWord;
        bool released;
    } cases[] = {
        {"assert with the permissive", 1, Assert_IOLOCK, 1, false},
        {"assert without the permissive", 0, Assert_IOLOCK, 0, true},
        {"assert with another permissive value", 2, Assert_IOLOCK, 0, true},
        {"release", 1, UnAssert_IOLOCK, 0, true},
        {"lock directly", 0, [] { VKIO_AssertIOLock(); }, 1, false},
        {"release directly", 0, [] { VKIO_UnAssertIOLock(); }, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hk::runTask([] { VKIO_UnAssertIOLock(); });
        ASSERT_TRUE(board::outputsReleased());
        _SYS_INFO_LOCK_PER = c.permissive;
        hk::runTask(c.call);
        EXPECT_EQ(_SYS_INFO_C_PWD, c.lockWord);
        EXPECT_EQ(Query_IOLOCK(), c.lockWord);
        EXPECT_EQ(IsIOLockSet(), c.lockWord > 0 ? 1 : 0);
        EXPECT_EQ(board::outputsReleased(), c.released);
        EXPECT_EQ(IoLock, c.released ? 0 : 0xFF);
    }
    _SYS_INFO_C_PWD = 7;  // any non-zero word is set
    EXPECT_EQ(IsIOLockSet(), 1);
}

TEST(VmeBus, AbsentBusReadsItsFixedValues) {
    EXPECT_EQ(VKIO_vmeRdUint16(0x100), 1234u);
    EXPECT_EQ(VKIO_vmeRdReal1616(0x100), 1234u);
    EXPECT_EQ(VKIO_vmeRdReal(0x100), 1234.0);
    EXPECT_EQ(VKIO_vmeRdUint32(0x100), 0u);
}

}  // namespace
