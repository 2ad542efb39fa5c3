// The configuration window: the I/O-lock state the master clock pass copies
// into _MASTER._SYS_INFO.C_PWD, held 2.0 s after it clears, or'ed with a
// one-shot over the first 2.0 s after start.
#include "app/config/MASTER.cells.h"

#include "app/config/CALMODE.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/SYS_ID.cells.h"
#include "app/system/_MASTER.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr float kUnlockHold = 2.0f;
constexpr float kPowerUpWindow = 2.0f;

constexpr float kExitSave = 1.0f;
constexpr int kIdleSamples = 250;

struct MASTER_blocks {
    bk::DelayState dly_offdsp;
    bk::OneShotState pwr_up;
    bk::OneShotState io_locl_os, os_on_exit;
    bk::DelayState full_cnfg;
    bk::OneShotState ee_busy_os;
    bk::RunningAvgState<kIdleSamples> idle_10s_avg;
};
BlockRam<MASTER_blocks> MASTER_st;

}  // namespace

namespace r40 {

void MASTER_load() {
    auto& M = MASTER;
    bk::ONE_SHOT(MASTER_st.ee_busy_os, M.EE_BUSY_OS_ONE_SHOT, &M.EE_BUSY_OS_R_TIME.ref(), _MASTER._SYS_INFO_EE_BUSY,
                 M.EE_BUSY_OS_DLY_TIME, bk::T40);
    M.EE_BUSY_B_NAME = M.EE_BUSY_OS_ONE_SHOT;
    M.I_TO_AN_OUT_1 = bk::int_to_real(_MASTER._SYS_INFO_IDLE_TIME);
    bk::RUNNING_AVG(MASTER_st.idle_10s_avg, M.IDLE_10S_AVG_RUNNING_AVG.ref(), M.I_TO_AN_OUT_1,
                    M.IDLE_10S_AVG_LOG_RATE, static_cast<uint32_t>(AllRgExecutedwMMM));
    M.IDLE_TIME_AVG_A_NAME = M.IDLE_10S_AVG_RUNNING_AVG;
}

}  // namespace r40

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

void MASTER_configure_mode() {
    MASTER_blocks& s = MASTER_st;
    auto& M = MASTER;
    M.DLY_IN_SEC_OUT_1 = bk::real_to_int(SYS_ID.CONVRT_MULTIPLY);
    M.DISABL_SS_B_NAME = M.DISABL_SS_IN;
    M.APP_OVRD_I_SW = bk::SW<int32_t>(M.DISABL_SS_B_NAME, M.DLY_IN_SEC_OUT_1, M.APP_OVRD_NO);

    // Configure mode: entered by command, the service lock or a local I/O
    // lock, left by command; both only under the calibration permissive.
    bk::ONE_SHOT(s.io_locl_os, M.IO_LOCL_OS_ONE_SHOT, &M.IO_LOCL_OS_R_TIME.ref(), M.IO_LOCK_B_NAME,
                 M.IO_LOCL_OS_DLY_TIME, bk::T160);
    M.ENTER_CONFIG_B_NAME = M.COMMANDS_OUT_2;
    M.LOCK_CMD_OR = bk::OR({M.LOCK_CMD_IN_1, M.ENTER_CONFIG_B_NAME});
    M.LOCK_CMD_OR_OR = bk::OR({M.IO_LOCL_OS_ONE_SHOT, M.LOCK_CMD_OR});
    M.LOCK_PERM_AND = bk::AND({M.LOCK_CMD_OR_OR, CALMODE.CALPERM_B_NAME});
    M.EXIT_CONFIG_B_NAME = M.COMMANDS_OUT_3;
    M.EXIT_CONFIG_AND_AND = bk::AND({CALMODE.CALPERM_B_NAME, M.EXIT_CONFIG_B_NAME});
    bk::LATCH(M.LOCK_IO_LATCH, M.LOCK_PERM_AND, M.EXIT_CONFIG_AND_AND);
    M.CNFG_EXIT_NOT = bk::NOT(M.LOCK_IO_LATCH);

    // The save request: the save command or button, or leaving configure mode.
    refbk::ACTION_OUT(M.IH_SAVE_PB_ACT_OUT, M.IH_SAVE_PB_E_TIME, M.IH_SAVE_PB_R_TIME, 1);
    M.IH_SAVE_PB_B_ACTION =
        bk::AND({bk::OR({M.COMMANDS_OUT_1, M.IH_SAVE_PB_IN_2}), bk::NOT(M.IH_SAVE_PB_RST_1)});
    bk::ONE_SHOT(s.os_on_exit, M.OS_ON_EXIT_ONE_SHOT, &M.OS_ON_EXIT_R_TIME.ref(), M.CNFG_EXIT_NOT, kExitSave, bk::T160);
    M.SAVETUNES_OR = bk::OR({M.SAVETUNES_IN_1, M.IH_SAVE_PB_B_ACTION, M.OS_ON_EXIT_ONE_SHOT});
    M.EE_UPDATE_B_NAME = M.SAVETUNES_OR;

    // The I/O lock follows configure mode after its on-delay and is released
    // its off-delay after leaving.
    bk::DELAY(s.full_cnfg, M.FULL_CNFG_DELAY, &M.FULL_CNFG_R_TIME.ref(), M.LOCK_IO_LATCH, M.FULL_CNFG_DLY_TIME,
              M.FULL_CNFG_NEG_DTIME, bk::T160);
    M.IOLOCK_CMD_B_NAME = M.FULL_CNFG_DELAY;

    M.TIQ_PN_S_NAME = "9902-4411";
    str_cell_copy(M.TIQ_REV_S_NAME, static_cast<const StrCell&>(M.TIQ_REV_IN).s);
    M.LOGOUT_TO_OPERATOR_B_NAME = M.LOGOUT_TO_OPERATOR_IN;
    str_cell_copy(M.OPERATOR_PASSWORD_S_NAME, static_cast<const StrCell&>(M.OPERATOR_PASSWORD_IN).s);
    M.PART_NUMBER_A_NAME = 99024408.0f;
    M.QT_PN_S_NAME = "9902-4486";
    M.REV_A_NAME = 0.0f;
}

}  // namespace r160
