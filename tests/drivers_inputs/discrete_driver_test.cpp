// The discrete input and relay output driver against the board model:
// channel decoding, the relay register's read-modify-write, and channels
// outside the registers.
#include <gtest/gtest.h>

#include "drivers/ZarnDiscreteIns.h"
#include "drivers/ZarnDiscreteOuts.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"

namespace {

class DiscreteDriver : public ::testing::Test {
protected:
    void SetUp() override { board::reset(); }
};

TEST_F(DiscreteDriver, InputsReadTheirBitOfTheCurrentStateWords) {
    struct Case {
        uint32_t levels;
        int32_t ch;
        uint32_t expect;
    };
    const Case cases[] = {
        {0x00000001u, 0, 1},  {0x00000001u, 1, 0},  {0x00008000u, 15, 1}, {0x00008000u, 16, 0},
        {0x00010000u, 16, 1}, {0x00010000u, 0, 0},  {0x80000000u, 31, 1}, {0x08000000u, 27, 1},
        {0xFFFFFFFFu, 32, 0}, {0xFFFFFFFFu, -1, 0}, {0xFFFFFFFFu, 64, 0}, {0x7FFFFFFFu, 31, 0},
    };
    for (const Case& c : cases) {
        board::setDiscreteInputs(c.levels);
        EXPECT_EQ(ReadBooleanInput(c.ch), c.expect) << std::hex << c.levels << " ch " << std::dec << c.ch;
    }
}

TEST_F(DiscreteDriver, RelayWritesKeepTheOtherBitsAndAlwaysSetBit14) {
    struct Case {
        uint16_t before;
        uint32_t ch;
        int32_t on;
        uint16_t after;
    };
    const Case cases[] = {
        {0x0001, 2, 1, 0x4005},  {0x4005, 0, 0, 0x4004}, {0x0000, 3, 1, 0x4008}, {0x400F, 3, 2, 0x4007},
        {0x400F, 1, -1, 0x400D}, {0x0000, 15, 1, 0xC000}, {0x4000, 14, 0, 0x4000}, {0x0000, 0, 0, 0x4000},
    };
    for (const Case& c : cases) {
        board::poke16(ZARN_RELAYS, c.before);
        WriteBooleanOutput(c.ch, c.on);
        EXPECT_EQ(board::peek16(ZARN_RELAYS), c.after) << std::hex << c.before << " ch " << c.ch << " on " << c.on;
    }
}

TEST_F(DiscreteDriver, RelayChannelsBeyondTheRegisterChangeNothing) {
    for (uint32_t ch : {16u, 31u, 32u, 33u, 64u, 0xFFFFFFFFu}) {
        board::poke16(ZARN_RELAYS, 0x0005);
        board::clearWriteLog();
        WriteBooleanOutput(ch, 1);
        EXPECT_EQ(board::peek16(ZARN_RELAYS), 0x0005) << ch;
        EXPECT_TRUE(board::writeLog(ZARN_RELAYS, ZARN_RELAYS).empty()) << ch;
    }
}

TEST_F(DiscreteDriver, InitialisedRelaysAreReleased) {
    board::poke16(ZARN_RELAYS, 0x000F);
    for (uint32_t ch = 0; ch < 4; ++ch) InitBooleanOutput(ch);
    EXPECT_EQ(board::peek16(ZARN_RELAYS), 0x4000);
}

}  // namespace
