// RESET at 80 ms: the common reset pulse RST that every latch of the group
// uses. Any reset source starts a 1.0 s pulse; the application issues one
// at start (the power-up delay and pulse); a shutdown one-shot cuts a
// running pulse off at once.
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kResetPulse = 1.0f;
constexpr int32_t kPulseOnRise = 5;

struct RESET_reset_blocks {
    refbk::EdgeState RST_DEMO;
    bk::DelayState PWR_UP_DLY;
    bk::OneShotState PWR_UP_RST, RST;
};
BlockRam<RESET_reset_blocks> RESET_reset_st;
}  // namespace

namespace r80 {

void RESET_reset_pulse() {
    auto& c = RESET;
    auto& s = RESET_reset_st;
    refbk::ACTION_OUT(c.RST_DEMO_ACT_OUT, c.RST_DEMO_E_TIME, c.RST_DEMO_R_TIME, kPulseOnRise);
    const uint32_t demo = refbk::RISE(s.RST_DEMO, UNIT_DEMO.B_CMDS_LIST_3);
    c.RST_DEMO_B_ACTION = bk::AND({demo, bk::NOT(c.RST_DEMO_RST_2)});

    bk::DELAY(s.PWR_UP_DLY, c.PWR_UP_DLY_DELAY, &c.PWR_UP_DLY_R_TIME.ref(), 1u, c.PWR_UP_DLY_DLY_TIME, 0.0f,
              bk::T80);
    bk::ONE_SHOT(s.PWR_UP_RST, c.PWR_UP_RST_ONE_SHOT, &c.PWR_UP_RST_R_TIME.ref(), c.PWR_UP_DLY_DELAY,
                 c.PWR_UP_RST_DLY_TIME, bk::T80);

    c.RST_OR_OR = bk::OR({c.DEBUG_RST_ONE_SHOT, c.RESET_DI_ONE_SHOT, c.RST_Z_ZMINUS1_B, c.RST_KEYPAD_B_ACTION,
                          c.RST_M1_B_ACTION, c.RST_OPC_B_ACTION, c.RST_DEMO_B_ACTION, c.PWR_UP_RST_ONE_SHOT,
                          c.AT_RST_B_NAME});
    if (SHUTDOWNS.SD_SHOOT_ONE_SHOT != 0) {
        // Cut off: the timer parks at twice the width, so the pulse does not
        // restart while a source stays on.
        c.RST_ONE_SHOT = 0;
        s.RST.e = 2.0f * kResetPulse;
        s.RST.prev = 0;
        c.RST_R_TIME = 0;
    } else {
        bk::ONE_SHOT(s.RST, c.RST_ONE_SHOT, &c.RST_R_TIME.ref(), c.RST_OR_OR, kResetPulse, bk::T80);
    }
    c.RESET_B_NAME = c.RST_ONE_SHOT;
}

}  // namespace r80
