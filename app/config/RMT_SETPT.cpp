// RMT_SETPT and CNFG_CHECK_RMT: the remote speed setpoint's limits and
// their check against the remote input's range.
#include "app/config/RMT_SETPT.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

struct RMT_SETPT_blocks {
    bk::SampState MAX_SPD, MIN_SPD;
};
BlockRam<RMT_SETPT_blocks> RMT_SETPT_st;

// A sampled limit, held between the hold limits.
#define RMT_SETPT_SAMPLE(BLK, IN, LO, HI)                                                                       \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(RMT_SETPT_st.BLK, R.BLK##_TUNE, IN, CALMODE.CFG_SAMPL_OK_B_NAME, LO, HI, 0,   \
                                   bk::kRealLoLim, bk::kRealHiLim, static_cast<uint32_t>(AllRgExecutedwMMM)),  \
                     R.BLK##_SAMP_TUNE, R.BLK##_LIMITED, R.BLK##_EN_ENT_OUT, R.BLK##_LO_LIM_OUT,                \
                     R.BLK##_HI_LIM_OUT)

}  // namespace

namespace r160 {

void RMT_SETPT_limits() {
    auto& R = RMT_SETPT;
    R.MAX_REMOTE_A_MIN = bk::A_MIN(IFACE_IN_SPEED.MAX_GOV_A_NAME, AI_MUX.RMT_SPD_MAX_A_NAME);
    R.MIN_REMOTE_A_MAX = bk::A_MAX(CNFG_SETPT.MIN_GOV_A_NAME, AI_MUX.RMT_SPD_MIN_A_NAME);
    // Open limits while the I/O is locked, else the governor range.
    const uint32_t locked = MASTER.IO_LOCK_B_NAME;
    R.MIN_CAS_SP_HOLD_A_SW = bk::SW<float>(locked, CNFG_SETPT.MIN_GOV_A_NAME, bk::kRealLoLim);
    R.MAX_GOV_HOLD_A_SW = bk::SW<float>(locked, IFACE_IN_SPEED.MAX_GOV_A_NAME, bk::kRealHiLim);
    RMT_SETPT_SAMPLE(MAX_SPD, R.MAX_REMOTE_A_MIN, R.MIN_CAS_SP_HOLD_A_SW, R.MAX_GOV_HOLD_A_SW);
    RMT_SETPT_SAMPLE(MIN_SPD, R.MIN_REMOTE_A_MAX, R.MIN_CAS_SP_HOLD_A_SW, R.MAX_GOV_HOLD_A_SW);
}

void CNFG_CHECK_RMT_range() {
    auto& C = CNFG_CHECK_RMT;
    C.MAX_CHK_ADD = AI_MUX.RMT_SPD_MAX_A_NAME - 1.0f;
    bk::A_COMPARE(C.MAX_2HI_A_COMPARE, C.MAX_2HI_A_EQUAL, C.MAX_CHK_ADD, RMT_SETPT.MAX_SPD_SAMP_TUNE);
    C.MIN_CHK_ADD = RMT_SETPT.MIN_SPD_SAMP_TUNE - 1.0f;
    bk::A_COMPARE(C.MIN_2LO_A_COMPARE, C.MIN_2LO_A_EQUAL, C.MIN_CHK_ADD, AI_MUX.RMT_SPD_MIN_A_NAME);
    C.RANG_WRNG_OR = bk::OR({C.MIN_2LO_A_COMPARE, C.MAX_2HI_A_COMPARE});
    C.RANG_ERR_AND = bk::AND({AI_MUX.RMT_SPD_USED_B_NAME, C.RANG_WRNG_OR});
    C.RMT_AI_NOT_NOT = bk::NOT(AI_MUX.RMT_SPD_USED_B_NAME);
    C.RMT_SP_CNFG_ERR_B_SW = bk::SW<uint32_t>(CNFG_SETPT.USE_RMTSPD_B_NAME, 0u, C.RMT_AI_NOT_NOT);
    C.REMSPD_CFG_B_NAME = C.RMT_SP_CNFG_ERR_B_SW;
}

}  // namespace r160
