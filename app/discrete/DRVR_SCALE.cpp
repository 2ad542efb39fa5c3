// DRVR_SCALE: at 10 ms the HP driver is shut down when its shutdown delay
// is set and trips act on the actuators, unless the demand is reversed or
// the calibration mode is active; at 20 ms the self-powered actuator's
// start-up ramp; at 160 ms its scaling and stroke condition.
#include "app/config/CNFG_START.cells.h"
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"

#include "app/config/CALMODE.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/MPU.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct DRVR_SCALE_blocks {
    bk::DelayState DELAY;
    bk::RampState SELF_PWR_R;
};
BlockRam<DRVR_SCALE_blocks> DRVR_SCALE_st;
constexpr float kOpen = 100.0f;
constexpr float kClosed = 0.0f;
}  // namespace

namespace r10 {

void DRVR_SCALE_drive_shutdown() {
    DRVR_SCALE.NOT_ACTREV_NOT = bk::NOT(IFACE_IN_VLV.INVERT_DMD_B_NAME);
    DRVR_SCALE.CAL_DRVRS_NOT = bk::NOT(CALMODE.CALMODE_B_NAME);
    DRVR_SCALE.SD_DRV_AND = bk::AND({DRVR_SCALE.SD_DVR_BRK_ZMINUS1_B, CNFG_OPERATE.TRIP_ACTS_B_NAME});
    DRVR_SCALE.N_SD_DRVRS_AND =
        bk::AND({DRVR_SCALE.SD_DRV_AND, DRVR_SCALE.NOT_ACTREV_NOT, DRVR_SCALE.CAL_DRVRS_NOT});
    DRVR_SCALE.SDDRV_ACT1_B_NAME = DRVR_SCALE.N_SD_DRVRS_AND;
}

void DRVR_SCALE_demand() {
    DRVR_SCALE.SELF_PWR_A_SW =
        bk::SW<float>(DRVR_SCALE.TRIP_SWITC_B_SW, HP_DRIVER.HP_ACT_A_NAME, DRVR_SCALE.SELF_PWR_R_RAMP);
    DRVR_SCALE.TO_HP_DMD_A_SW =
        bk::SW<float>(DRVR_SCALE.SELFP_STROK_AND, DRVR_SCALE.SELF_PWR_A_SW, HP_DRIVER.HP_ACT_A_NAME);
}

}  // namespace r10

namespace r20 {

void DRVR_SCALE_ramp() {
    auto& d = DRVR_SCALE;
    const uint32_t anySd = IFACE_IN_VLV.ANY_SD_B_NAME;
    bk::DELAY(DRVR_SCALE_st.DELAY, d.DELAY_DELAY, &d.DELAY_R_TIME.ref(), anySd, d.I_TO_AN_OUT_1, 0.0f, bk::T20);
    bk::A_COMPARE(d.MPU_COMP_A_COMPARE, d.MPU_COMP_A_EQUAL, d.IN_PCT_MULTIPLY, MPU.TURB_SPD_A_NAME);
    d.RDYSTRT_POS_AND = bk::AND({SHUTDOWNS.NOT_SD_NOT, d.MPU_COMP_A_COMPARE});
    d.MPU_TIME_OR = bk::OR({d.DELAY_DELAY, d.RDYSTRT_POS_AND});
    const float rate = d.MPU_TIME_OR != 0 ? d.SELF_PWR_R_R_SP_1 : d.SELF_PWR_R_R_SP_2;
    const bk::RampOut r =
        bk::RAMP(DRVR_SCALE_st.SELF_PWR_R, {{d.MPU_TIME_OR, kOpen}, {anySd, kClosed}}, rate, bk::T20);
    d.SELF_PWR_R_RAMP = r.ramp;
    d.SELF_PWR_R_REV_RAMP = 0.0f;
    d.SELF_PWR_R_MOVING_UP = r.moving_up;
    d.SELF_PWR_R_MOVING_DN = r.moving_dn;
    d.SELF_PWR_R_POS_SEL = r.pos_sel;
    d.SELF_PWR_R_P_LIM_1 = bk::P_LIM(r, kOpen);
    d.SELF_PWR_R_P_LIM_2 = bk::P_LIM(r, kClosed);
}

}  // namespace r20

namespace r160 {

void DRVR_SCALE_self_powered() {
    auto& d = DRVR_SCALE;
    d.IDL_OR_RATED_A_SW =
        bk::SW<float>(CNFG_START.IDLE_RATED_SEQ_B_NAME, IFACE_IN_SPEED.MIN_GOV_A_NAME, IFACE_IN_SPEED.IDLE_1_A_NAME);
    d.IN_PCT_MULTIPLY = d.IDL_OR_RATED_A_SW * IFACE_IN_START.SELFPWRACT_A_NAME * 0.01f;
    d.I_TO_AN_OUT_1 = static_cast<float>(IFACE_IN_VLV.SELFPWR_TDLY_I_NAME);
    d.SELFP_STROK_AND = bk::AND({HP_DRIVER.STRK_LTCH_LATCH_R, IFACE_IN_VLV.SELF_PWACT_B_NAME, d.SELFP_STROK_IN_3});
}

}  // namespace r160
