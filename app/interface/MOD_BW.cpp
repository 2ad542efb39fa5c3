// MOD_BW: the Modbus command window and latch. A link whose writes are
// enabled opens the window; when the enables go away a clear pulse drops
// every command at once and the window closes half a second later, so no
// command is left latched behind a closed window.
#include "app/interface/MOD_BW.cells.h"

#include "app/control/RESET.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/command_latch.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr int kCommands = 22;
constexpr float kWindowOffDelay = 0.5f;
constexpr float kClearPulse = 1.0f;
constexpr int32_t kPulseOnRise = 5;

struct MOD_BW_blocks {
    bk::DelayState WRIT_OFF_DLY;
    bk::OneShotState CLEAR_BWS;
    CommandLatchState<kCommands> BW_CMD;
    uint32_t sel4_prev;     // BW_CMD.SEL_4 of the previous pass
    uint32_t enables;       // the links' write enables, without the latch's hold
};
BlockRam<MOD_BW_blocks> MOD_BW_st;

}  // namespace

namespace r80 {

void MOD_BW_write_enable() {
    auto& c = MOD_BW;
    MOD_BW_st.enables = bk::OR({c.OR_ENABLE_IN_2, MOD.PORT1_ENBL_WRT_AND, MOD.PORT2_ENBL_WRT_AND,
                                MOD.PORT3_ENBL_WRT_AND});
    c.OR_ENABLE_OR = bk::OR({c.ZLATCH_ZMINUS1_B, MOD_BW_st.enables});
}

void MOD_BW_commands() {
    auto& c = MOD_BW;
    MOD_BW_blocks& s = MOD_BW_st;
    bk::DELAY(s.WRIT_OFF_DLY, c.WRIT_OFF_DLY_DELAY, &c.WRIT_OFF_DLY_R_TIME.ref(), c.OR_ENABLE_OR, 0.0f,
              kWindowOffDelay, bk::T80);
    // The clear pulse starts when the enables go, even while a latched
    // command still holds the window open: a command whose coil can no
    // longer be written must not stay latched.
    c.WRIT_OFF_NOT = bk::NOT(s.enables);
    bk::ONE_SHOT(s.CLEAR_BWS, c.CLEAR_BWS_ONE_SHOT, &c.CLEAR_BWS_R_TIME.ref(), c.WRIT_OFF_NOT, kClearPulse, bk::T80);

    if (c.WRIT_OFF_DLY_DELAY != 0) {
#define MOD_BW_SEL(n) &c.BW_CMD_SEL_##n.ref()
#define MOD_BW_NO(n) &c.BW_CMD_ALM_NO_##n.ref()
        const CommandLatchCells<kCommands> cells{
            c.BW_CMD_LATCH1, c.BW_CMD_LOGICAL_OR, c.BW_CMD_HORN, c.BW_CMD_FIRST_ALM,
            {MOD_BW_SEL(1), MOD_BW_SEL(2), MOD_BW_SEL(3), MOD_BW_SEL(4), MOD_BW_SEL(5), MOD_BW_SEL(6),
             MOD_BW_SEL(7), MOD_BW_SEL(8), MOD_BW_SEL(9), MOD_BW_SEL(10), MOD_BW_SEL(11), MOD_BW_SEL(12),
             MOD_BW_SEL(13), MOD_BW_SEL(14), MOD_BW_SEL(15), MOD_BW_SEL(16), MOD_BW_SEL(17), MOD_BW_SEL(18),
             MOD_BW_SEL(19), MOD_BW_SEL(20), MOD_BW_SEL(21), MOD_BW_SEL(22)},
            {MOD_BW_NO(1), MOD_BW_NO(2), MOD_BW_NO(3), MOD_BW_NO(4), MOD_BW_NO(5), MOD_BW_NO(6), MOD_BW_NO(7),
             MOD_BW_NO(8), MOD_BW_NO(9), MOD_BW_NO(10), MOD_BW_NO(11), MOD_BW_NO(12), MOD_BW_NO(13), MOD_BW_NO(14),
             MOD_BW_NO(15), MOD_BW_NO(16), MOD_BW_NO(17), MOD_BW_NO(18), MOD_BW_NO(19), MOD_BW_NO(20),
             MOD_BW_NO(21), MOD_BW_NO(22)}};
#undef MOD_BW_SEL
#undef MOD_BW_NO
        const uint32_t in[kCommands] = {
            MOD.MOD1_BW_V_1,  MOD.MOD1_BW_V_2,  MOD.MOD1_BW_V_3,  MOD.MOD1_BW_V_4,  MOD.MOD1_BW_V_5,
            MOD.MOD1_BW_V_6,  MOD.MOD1_BW_V_7,  MOD.MOD1_BW_V_8,  MOD.MOD1_BW_V_9,  MOD.MOD1_BW_V_10,
            MOD.MOD1_BW_V_11, MOD.MOD1_BW_V_12, MOD.MOD1_BW_V_13, MOD.MOD1_BW_V_14, MOD.MOD1_BW_V_15,
            MOD.MOD1_BW_V_16, MOD.MOD1_BW_V_17, MOD.MOD1_BW_V_18, MOD.MOD1_BW_V_19, c.BW_CMD_IN_20,
            MOD.MOD1_BW_V_21, MOD.MOD1_BW_V_22};
        command_latch(s.BW_CMD, cells, in, 1, c.CLEAR_BWS_ONE_SHOT);
    }

    refbk::ACTION_OUT(RESET.RST_M1_ACT_OUT, RESET.RST_M1_E_TIME, RESET.RST_M1_R_TIME, kPulseOnRise);
    RESET.RST_M1_B_ACTION = bk::AND({c.BW_CMD_SEL_4, bk::NOT(MOD_LNK_STAT.ALL_LNK_FAIL_B_NAME),
                                     bk::NOT(RESET.RST_M1_RST_2), bk::NOT(s.sel4_prev)});
    s.sel4_prev = c.BW_CMD_SEL_4;
}

}  // namespace r80
