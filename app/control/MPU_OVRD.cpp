// MPU_OVRD: in the 10 ms group the override of each speed sensor and its
// failed flag; in the 160 ms group when each override holds.
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/CONF_VAL_2.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r10 {

void MPU_OVRD_override_1() {
    MPU_OVRD.OVRD1_OR_OR = bk::OR({MPU_OVRD.OVRD_MPU_1_B_SW, MPU_OVRD.RDWN_DLY_DELAY, SD_LOGIC.PWR_UP_SD_ONE_SHOT,
                                   MPU_OVRD.S_PWRACT_O_ZMINUS1_B, MPU_OVRD.DLY_CTRL1_DELAY});
}

// Sensor 1 has failed when its speed is at or below the minimum detection
// speed, or below the measurable minimum unless that is inhibited; never
// while overridden.
void MPU_OVRD_failed_1() {
    bk::A_COMPARE(MPU_OVRD.SPD1_FLD_A_COMPARE, MPU_OVRD.SPD1_FLD_A_EQUAL, MPU_OVRD.MIN_SPD_1_A_NAME,
                  IFACE_IN_START.MPU_A_A_NAME);
    MPU_OVRD.INHIB_MIN1_AND = bk::AND({MPU_OVRD.INHIB_MIN1_IN_1, CNFG_SPEED.TSS_01_MIN_SPEED});
    MPU_OVRD.SPD1FLD_OR = bk::OR({MPU_OVRD.SPD1_FLD_A_COMPARE, MPU_OVRD.INHIB_MIN1_AND});
    MPU_OVRD.SS1_FLD_B_SW = bk::SW<uint32_t>(MPU_OVRD.OVRD1_OR_OR, MPU_OVRD.SPD1FLD_OR, 0u);
}

void MPU_OVRD_override_2() {
    MPU_OVRD.OVRD_MPU2_OR = bk::OR({MPU_OVRD.RDWN_DLY_DELAY, CONF_VAL_2.NO_MPU2_NOT, SD_LOGIC.PWR_UP_SD_ONE_SHOT,
                                    MPU_OVRD.OVRD_MPU_2_B_SW, MPU_OVRD.S_PWRACT_O_ZMINUS1_B,
                                    MPU_OVRD.DLY_CTRL2_DELAY});
}

// As sensor 1; a second sensor that is failed or not used is lost.
void MPU_OVRD_failed_2() {
    bk::A_COMPARE(MPU_OVRD.SPD2_FLD_A_COMPARE, MPU_OVRD.SPD2_FLD_A_EQUAL, MPU_OVRD.MIN_SPD_2_A_NAME,
                  IFACE_IN_START.MPU_B_A_NAME);
    MPU_OVRD.INHIB_MIN2_AND = bk::AND({MPU_OVRD.INHIB_MIN2_IN_1, CNFG_SPEED.TSS_02_MIN_SPEED});
    MPU_OVRD.SPD2FLD_OR = bk::OR({MPU_OVRD.SPD2_FLD_A_COMPARE, MPU_OVRD.INHIB_MIN2_AND});
    MPU_OVRD.SS2_FLD_B_SW = bk::SW<uint32_t>(MPU_OVRD.OVRD_MPU2_OR, MPU_OVRD.SPD2FLD_OR, 0u);
    MPU_OVRD.MPU2_SD_L_OR = bk::OR({MPU_OVRD.SS2_FLD_B_SW, CONF_VAL_2.NO_MPU2_NOT});
}

}  // namespace r10

namespace r10 {

// A self-powered actuator counts as powered while its speed level is 5 rpm
// or more above the turbine speed, until the speed passes the level.
void MPU_OVRD_self_powered() {
    bk::A_COMPARE_HYST(MPU_OVRD.MPU_COMP_A_COMPARE, MPU_OVRD.MPU_COMP_A_EQUAL, MPU_OVRD.IN_PCT_MULTIPLY,
                       IFACE_IN_START.TURB_SPEED_A_NAME, 5.0f);
    MPU_OVRD.SELFPWRED_B_SW = bk::SW<uint32_t>(IFACE_IN_VLV.SELF_PWACT_B_NAME, 0u, MPU_OVRD.MPU_COMP_A_COMPARE);
    MPU_OVRD.OR_NOTSTRP_OR = bk::OR({MPU_OVRD.NSTR_SH_ONE_SHOT, SHUTDOWNS.ANY_SD_B_NAME});
}

}  // namespace r10

namespace {
struct MPU_OVRD_blocks {
    bk::DelayState SPD1LT_MIN, SPD2LT_MIN, DLY_CTRL1, DLY_CTRL2, RDWN_DLY;
    bk::OneShotState NSTR_SH;
};
BlockRam<MPU_OVRD_blocks> MPU_OVRD_st;

constexpr float kBelowLevel = 2.0f;   // below the detection level before a stop overrides (s)
constexpr float kHoldOver = 0.32f;    // the stop and roll-down overrides hold (s)
constexpr float kRollDownMargin = 50.0f;  // below minimum governor
constexpr float kNotStartedPulse = 0.32f;
}  // namespace

namespace r160 {

void MPU_OVRD_overrides() {
    auto& c = MPU_OVRD;
    auto& s = MPU_OVRD_st;
    const float speed = MPU.TURB_SPD_A_NAME;
    // A sensor's override ends once the turbine is above its level.
    c.MIN_SPD_HYS_A_NAME = c.MIN_SPD_HYS_IN;
    c.MIN_LVL_1_ADD = c.MIN_SPD_1_A_NAME + c.MIN_SPD_HYS_IN;
    c.MIN_LVL_2_ADD = c.MIN_SPD_2_A_NAME + c.MIN_SPD_HYS_IN;
    bk::A_COMPARE(c.OVRD_OFF_1_A_COMPARE, c.OVRD_OFF_1_A_EQUAL, speed, c.MIN_LVL_1_ADD);
    bk::A_COMPARE(c.OVRD_OFF_2_A_COMPARE, c.OVRD_OFF_2_A_EQUAL, speed, c.MIN_LVL_2_ADD);
    c.SPD1LTMIN_NOT = bk::NOT(c.OVRD_OFF_1_A_COMPARE);
    c.SPD2LTMIN_NOT = bk::NOT(c.OVRD_OFF_2_A_COMPARE);
    bk::DELAY(s.SPD1LT_MIN, c.SPD1LT_MIN_DELAY, &c.SPD1LT_MIN_R_TIME.ref(), c.SPD1LTMIN_NOT, kBelowLevel, 0.0f,
              bk::T160);
    bk::DELAY(s.SPD2LT_MIN, c.SPD2LT_MIN_DELAY, &c.SPD2LT_MIN_R_TIME.ref(), c.SPD2LTMIN_NOT, kBelowLevel, 0.0f,
              bk::T160);
    // Controlled stop: the reference at or below idle in step Z01.
    c.OR_ATMIN_OR = bk::OR({SPDC.CP_MINCTRL_A_COMPARE, SPDC.CP_MINCTRL_A_EQUAL});
    c.CSTOPOVRD1_AND = bk::AND({c.OR_ATMIN_OR, c.SPD1LT_MIN_DELAY, SPDC.Z01_STEP_SFC_STEP});
    c.CSTOPOVRD2_AND = bk::AND({c.OR_ATMIN_OR, c.SPD2LT_MIN_DELAY, SPDC.Z01_STEP_SFC_STEP});
    bk::DELAY(s.DLY_CTRL1, c.DLY_CTRL1_DELAY, &c.DLY_CTRL1_R_TIME.ref(), c.CSTOPOVRD1_AND, 0.0f, kHoldOver, bk::T160);
    bk::DELAY(s.DLY_CTRL2, c.DLY_CTRL2_DELAY, &c.DLY_CTRL2_R_TIME.ref(), c.CSTOPOVRD2_AND, 0.0f, kHoldOver, bk::T160);
    // Start: overridden while not started, until the running turbine passes
    // the level; with the start timer used, at most until it runs out.
    c.OVRD_OFF_P_AND = bk::AND({START.RUN_CMD_LATCH_R, c.OVRD_OFF_1_A_COMPARE});
    c.OVD2_OFF_P_AND = bk::AND({START.RUN_CMD_LATCH_R, c.OVRD_OFF_2_A_COMPARE});
    bk::LATCH(c.OVRD_1_LATCH, c.OR_NOTSTRP_OR, c.OVRD_OFF_P_AND);
    bk::LATCH(c.OVRD_2_LATCH, c.OR_NOTSTRP_OR, c.OVD2_OFF_P_AND);
    c.N_TIME_1_NOT = bk::NOT(c.STRT_DLY_1_DELAY);
    c.EN_OVRD_1_AND = bk::AND({c.OVRD_1_LATCH, c.N_TIME_1_NOT});
    c.EN_OVRD_2_AND = bk::AND({c.OVRD_2_LATCH, c.N_TIME_1_NOT});
    c.USE_TMR_OR = IFACE_IN_START.USE_MPU_OVRD_TIME_B_NAME;
    c.OVRD_MPU_1_B_SW = bk::SW<uint32_t>(c.USE_TMR_OR, c.OVRD_1_LATCH, c.EN_OVRD_1_AND);
    c.OVRD_MPU_2_B_SW = bk::SW<uint32_t>(c.USE_TMR_OR, c.OVRD_2_LATCH, c.EN_OVRD_2_AND);
    // Roll-down: once above minimum governor since power-up, the turbine
    // rolling down below the roll-down speed.
    c.BELOWMIN_SUBTRACT = IFACE_IN_SPEED.MIN_GOV_A_NAME - kRollDownMargin;
    c.A_MIN_A_MIN = bk::A_MIN(c.BELOWMIN_SUBTRACT, IFACE_IN_START.ROLLDWN_SPD_A_NAME);
    bk::A_COMPARE(c.ROLLDWN_A_COMPARE, c.ROLLDWN_A_EQUAL, c.A_MIN_A_MIN, speed);
    bk::A_COMPARE(c.SPD_GE_MGOV_A_COMPARE, c.SPD_GE_MGOV_A_EQUAL, speed, IFACE_IN_SPEED.MIN_GOV_A_NAME);
    bk::LATCH(c.GT_MINGOV_LATCH, c.SPD_GE_MGOV_A_COMPARE, SHUTDOWNS.SD_PWRUP_OR);
    c.EN_RDWN_OVRD_AND =
        bk::AND({c.ROLLDWN_A_COMPARE, IFACE_IN_START.USE_RDWN_OVRD_B_NAME, c.GT_MINGOV_LATCH});
    bk::DELAY(s.RDWN_DLY, c.RDWN_DLY_DELAY, &c.RDWN_DLY_R_TIME.ref(), c.EN_RDWN_OVRD_AND,
              IFACE_IN_START.ROLLDWN_DLY_A_NAME, kHoldOver, bk::T160);
    // Other cells of the module.
    c.IN_PCT_MULTIPLY = DRVR_SCALE.IDL_OR_RATED_A_SW * 0.01f * IFACE_IN_START.SELFPWRACT_A_NAME;
    c.NOSD_NOT = bk::NOT(SPDC.Z00_STEP_SFC_STEP);
    bk::ONE_SHOT(s.NSTR_SH, c.NSTR_SH_ONE_SHOT, &c.NSTR_SH_R_TIME.ref(), START.NOT_STRTD_NOT, kNotStartedPulse,
                 bk::T160);
}

}  // namespace r160

namespace {
struct MPU_OVRD_timer_blocks {
    bk::DelayState STRT_DLY_1;
};
BlockRam<MPU_OVRD_timer_blocks> MPU_OVRD_timer_st;
}  // namespace

namespace r160 {

void MPU_OVRD_start_timer() {
    auto& m = MPU_OVRD;
    m.MPU2_OVRD_B_SW = bk::SW<uint32_t>(CONF_VAL_1.USE_MPU2_B_NAME, 0u, m.OVRD_MPU2_OR);
    m.OVRD_TIME_A_NAME = IFACE_IN_START.MPU_OVRD_TIME_A_NAME;
    bk::DELAY(MPU_OVRD_timer_st.STRT_DLY_1, m.STRT_DLY_1_DELAY.ref(), &m.STRT_DLY_1_R_TIME.ref(), START.RUN_CMD_LATCH_R,
              m.OVRD_TIME_A_NAME, 0.0f, bk::T160);
}

}  // namespace r160
