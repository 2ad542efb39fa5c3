// The configuration window: the I/O-lock state the master clock pass copies
// into _MASTER._SYS_INFO.C_PWD, held 2.0 s after it clears, or'ed with a
// one-shot over the first 2.0 s after start.
#include "app/config/MASTER.cells.h"

#include "app/system/_MASTER.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr float kUnlockHold = 2.0f;
constexpr float kPowerUpWindow = 2.0f;

struct MASTER_blocks {
    bk::DelayState dly_offdsp;
    bk::OneShotState pwr_up;
};
BlockRam<MASTER_blocks> MASTER_st;

}  // namespace

namespace r160 {

void MASTER_config_window() {
    bk::DELAY(MASTER_st.dly_offdsp, MASTER.DLY_OFFDSP_DELAY, &MASTER.DLY_OFFDSP_R_TIME.ref(), _MASTER._SYS_INFO_C_PWD,
              0.0f, kUnlockHold, bk::T160);
    MASTER.IO_LOCK_B_NAME = MASTER.DLY_OFFDSP_DELAY;
    // Triggered from the first pass on: one pulse after start.
    bk::ONE_SHOT(MASTER_st.pwr_up, MASTER.PWR_UP_RST_ONE_SHOT_ONE_SHOT, &MASTER.PWR_UP_RST_ONE_SHOT_R_TIME.ref(), 1u,
                 kPowerUpWindow, bk::T160);
    MASTER.IO_LOCK_PWR_UP_OR = bk::OR({MASTER.IO_LOCK_B_NAME, MASTER.PWR_UP_RST_ONE_SHOT_ONE_SHOT});
    MASTER.IO_LOCK_OR_PWR_B_NAME = MASTER.IO_LOCK_PWR_UP_OR;
}

}  // namespace r160
