// RMT_ENBL and REMOTE: enable and selection of the remote speed setpoint
// (80 ms).
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/RMT_ENBL.cells.h"

#include "app/control/AUTO_SEQ.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct RMT_ENBL_blocks {
    refbk::EdgeState BI_ON, BI_OFF;
    bk::ActionState PLS_ON;
    bk::DelayState GO_ACTIV;
    bk::OneShotState LATCH_RMT;
    int32_t RMT_SP_INH_count;
};
BlockRam<RMT_ENBL_blocks> RMT_ENBL_st;
}  // namespace

namespace r80 {

void RMT_ENBL_enable() {
    auto& c = RMT_ENBL;
    auto& s = RMT_ENBL_st;
    c.CONTACT_B_NAME = IFACE_IN_SPEED.ENA_REM_SPDSP_B_NAME;
    c.NO_AI_FLT_NOT = bk::NOT(IFACE_IN_SPEED.REMSP_PV_FLT_B_NAME);
    // Speed at or above minimum governor - 0.5.
    MPU.NEAR_MIN_SUBTRACT = CNFG_SETPT.MIN_GOV_A_NAME - 0.5f;
    refbk::A_COMPARE_H(MPU.SPD_GT_MIN_A_COMPARE, MPU.SPD_GT_MIN_A_EQUAL, MPU.TURB_SPD_A_NAME, MPU.NEAR_MIN_SUBTRACT,
                       MPU.SPD_GT_MIN_HYSTER);
    MPU.SPD_GTEQ_MIN_OR = bk::OR({MPU.SPD_GT_MIN_A_COMPARE, MPU.SPD_GT_MIN_A_EQUAL});
    c.ENA_OK_AND = bk::AND({c.CONTACT_B_NAME, c.NO_AI_FLT_NOT, MPU.SPD_GTEQ_MIN_OR});
    c.BI_ON_B_ACTION = refbk::RISE(s.BI_ON, c.ENA_OK_AND, c.BI_ON_ACT_OUT, c.BI_ON_E_TIME, c.BI_ON_R_TIME);
    // Service enable and disable commands.
    IFACE_IN_SPEED.RMT_SPD_SP_EN_B_NAME = IFACE_IN_SPEED.ENA_DIS_REM_OUT_1;
    IFACE_IN_SPEED.RMT_SPD_SP_DIS_B_NAME = IFACE_IN_SPEED.ENA_DIS_REM_OUT_2;
    const uint32_t request = bk::OR({IFACE_IN_SPEED.RMT_SPD_SP_EN_B_NAME, MOD_BW.BW_CMD_SEL_8, c.BI_ON_B_ACTION,
                                     OPC_DATA.BW_CMDS_SEL_8, c.PLS_ON_IN_5});
    bk::ACTION(s.PLS_ON, c.PLS_ON_B_ACTION, c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME, request, 0,
               c.PLS_ON_ACT_Q, 0.1f, bk::T80);
    const uint32_t moment = IFACE_IN_SPEED.USE_DI_MOMENT_B_NAME;
    c.BI_ENA_B_SW = bk::SW<uint32_t>(moment, c.ENA_OK_AND, 0u);
    c.OR_ENABLE_OR = bk::OR({c.PLS_ON_B_ACTION, c.BI_ENA_B_SW});
    // Disable: commands, contact release, faults, speed, stop.
    c.DISFROMCASC_AND = bk::AND({CASC_ENBL.PLS_ENABL_B_ACTION, moment});
    c.OR_OR = bk::OR({moment, IFACE_IN_SPEED.NO_RMT_DI_NOT});
    c.DIS_REM_NOT = bk::NOT(c.ENA_OK_AND);
    const uint32_t off_edge = refbk::RISE(s.BI_OFF, c.DIS_REM_NOT);
    c.BI_OFF_B_ACTION = bk::AND({off_edge, bk::NOT(IFACE_IN_SPEED.NO_RMT_DI_NOT)});
    refbk::ACTION_OUT(c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME, 5);
    c.BI_DIS_B_SW = bk::SW<uint32_t>(c.OR_OR, c.DIS_REM_NOT, c.BI_OFF_B_ACTION);
    c.SPD_LOW_NOT = bk::NOT(MPU.SPD_GTEQ_MIN_OR);
    c.INHIBITED_OR = bk::OR({SHUTDOWNS.SD_SHOOT_ONE_SHOT, IFACE_IN_SPEED.REMSP_PV_FLT_B_NAME,
                             IFACE_IN_SPEED.NO_RMT_SPD_NOT, c.SPD_LOW_NOT, SPDC.Z01_STEP_SFC_STEP});
    c.OR_DISABLE_OR = bk::OR({c.DISFROMCASC_AND, MOD_BW.BW_CMD_SEL_9, c.BI_DIS_B_SW, c.OR_DISABLE_IN_4,
                              IFACE_IN_SPEED.RMT_SPD_SP_DIS_B_NAME, c.INHIBITED_OR, CRIT_SPD.IN_CRIT_OR,
                              OPC_DATA.BW_CMDS_SEL_9});
    bk::LATCH_R(c.ENABLED_LATCH_R, c.OR_ENABLE_OR, c.OR_DISABLE_OR);
    // Selection of the remote setpoint.
    REMOTE.REM_SEL_AND = bk::AND({c.ENABLED_LATCH_R, SPD_CTRL.ONLINE_DYN_B_NAME});
    bk::DELAY(s.GO_ACTIV, REMOTE.GO_ACTIV_DELAY, &REMOTE.GO_ACTIV_R_TIME.ref(), c.ENABLED_LATCH_R, 1.0f, 0.0f, bk::T80);
    REMOTE.REM_SEL_SW_B_SW = bk::SW<uint32_t>(REMOTE.REM_SEL_SW_CTRL, REMOTE.REM_SEL_AND, REMOTE.GO_ACTIV_DELAY);
    SPDC.REM_ENA_AND = bk::AND({REMOTE.REM_SEL_SW_B_SW, SPDC.NOT_COMBO_NOT});
}

void RMT_ENBL_disabled() {
    auto& c = RMT_ENBL;
    c.DISABLED_NOT = bk::NOT(c.ENABLED_LATCH_R);
    REMOTE.IN_CNTRL_AND = bk::AND({REMOTE.REM_SEL_SW_B_SW, REMOTE.MATCH_HI_A_COMPARE, REMOTE.MATCH_LO_A_COMPARE});
    bk::ONE_SHOT(RMT_ENBL_st.LATCH_RMT, REMOTE.LATCH_RMT_ONE_SHOT, &REMOTE.LATCH_RMT_R_TIME.ref(),
                 REMOTE.REM_SEL_SW_B_SW, 1.0f, bk::T80);
    bk::LATCH(REMOTE.N_MTCH_RTE_LATCH, REMOTE.LATCH_RMT_ONE_SHOT, REMOTE.DISABLE_OR);
    REMOTE.NOT_ENTR_NOT = bk::NOT(REMOTE.ENTR_ENBL_AND);
    c.ENBL_AUTO_AND = bk::AND({AUTO_SEQ.CONTINUE_LATCH_R, START.RUN_CMD_LATCH_R});
    // The inhibit list keeps what it latched until its reset RST; with RST
    // set (the default) it shows the present inputs only.
    uint32_t* const sel[] = {&c.RMT_SP_INH_SEL_1.ref(), &c.RMT_SP_INH_SEL_2.ref(), &c.RMT_SP_INH_SEL_3.ref(),
                             &c.RMT_SP_INH_SEL_4.ref(), &c.RMT_SP_INH_SEL_5.ref()};
    int32_t* const no[] = {&c.RMT_SP_INH_ALM_NO_1.ref(), &c.RMT_SP_INH_ALM_NO_2.ref(), &c.RMT_SP_INH_ALM_NO_3.ref(),
                           &c.RMT_SP_INH_ALM_NO_4.ref(), &c.RMT_SP_INH_ALM_NO_5.ref()};
    const uint32_t in[] = {0u, AI_MUX.RMT_SPD_FLT_B_NAME, 0u, SPDC.Z01_STEP_SFC_STEP, IFACE_IN_SPEED.NO_RMT_SPD_NOT};
    refbk::LIST_LATCH(RMT_ENBL_st.RMT_SP_INH_count, sel, no, c.RMT_SP_INH_LATCH1, c.RMT_SP_INH_HORN,
                      c.RMT_SP_INH_FIRST_ALM, c.RMT_SP_INH_LOGICAL_OR, in, 1u, c.RMT_SP_INH_RST);
}

}  // namespace r80
