// ACCEL in the 10 ms group: the turbine's acceleration from the two speed
// sensors, filtered, with the held maximum rate and the peak.
#include "app/control/ACCEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/X_RESET.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct ACCEL_blocks {
    bk::LagState SS_DERIV_FILT;
};
BlockRam<ACCEL_blocks> ACCEL_st;
}  // namespace

namespace r10 {

namespace {
constexpr float kHoldHi = 50000.0f;
constexpr float kHoldLo = 0.0f;
}  // namespace

// A failed sensor contributes no acceleration.
void ACCEL_deriv_1() {
    ACCEL.SS1_FLD_B_NAME = MPU_OVRD.SS1_FLD_B_SW;
    ACCEL.SS1_DERIV_A_NAME = CNFG_SPEED.TSS_01_DERIV;
    ACCEL.SS1_DERIV_USED_A_SW = bk::SW<float>(ACCEL.SS1_FLD_B_NAME, ACCEL.SS1_DERIV_A_NAME, 0.0f);
}

void ACCEL_deriv_2() {
    ACCEL.MPU2_SD_L_B_NAME = MPU_OVRD.MPU2_SD_L_OR;
    ACCEL.SS2_DERIV_A_NAME = CNFG_SPEED.TSS_02_DERIV;
    ACCEL.SS2_DERIV_USED_A_SW = bk::SW<float>(ACCEL.MPU2_SD_L_B_NAME, ACCEL.SS2_DERIV_A_NAME, 0.0f);
}

void ACCEL_accel() {
    ACCEL.SS_DERIV_MAX_A_MAX = bk::A_MAX(ACCEL.SS1_DERIV_USED_A_SW, ACCEL.SS2_DERIV_USED_A_SW);
    bk::LAG(ACCEL_st.SS_DERIV_FILT, ACCEL.SS_DERIV_FILT_LAG_2, &ACCEL.SS_DERIV_FILT_DERIV.ref(),
            ACCEL.SS_DERIV_MAX_A_MAX, ACCEL.SS_DERIV_FILT_LAG_TAU, bk::T10);
    ACCEL.ACCEL_PV_A_NAME = ACCEL.SS_DERIV_FILT_LAG_2;

    // Held maximum rate, until the hold is reset.
    const bk::BusOut hold = bk::HSS_BUS({ACCEL.LP_BRKR_ZMINUS1, ACCEL.ACCEL_PV_A_NAME}, kHoldHi, kHoldLo);
    ACCEL.ACCEL_HOLD_HSS_BUS = hold.out;
    ACCEL.ACCEL_HOLD_HI_LIM_I = hold.hi_lim_i;
    ACCEL.ACCEL_HOLD_LO_LIM_I = hold.lo_lim_i;
    bk::set_sel(hold.sel, ACCEL.ACCEL_HOLD_SEL_1, ACCEL.ACCEL_HOLD_SEL_2);
    ACCEL.HOLD_RST_A_SW = bk::SW<float>(ACCEL.RST_HOLD_OR, ACCEL.ACCEL_HOLD_HSS_BUS, 0.0f);
    ACCEL.MAX_RATE_A_NAME = ACCEL.ACCEL_HOLD_HSS_BUS;

    // Peak, until the blink reset.
    ACCEL.A_MAX_A_MAX = bk::A_MAX(ACCEL.ACCEL_PV_A_NAME, ACCEL.MEM_ZMINUS1);
    ACCEL.RESET_A_SW = bk::SW<float>(X_RESET.BLINK_RST2_ONE_SHOT, ACCEL.A_MAX_A_MAX, 0.0f);
    ACCEL.PEAK_A_NAME = ACCEL.A_MAX_A_MAX;
}

}  // namespace r10

namespace r160 {

void ACCEL_reset_hold() {
    ACCEL.RST_HOLD_OR = bk::OR({IFACE_IN_SPEED.RESET_HOLD_B_NAME, RESET.PWR_UP_RST_ONE_SHOT, ACCEL.RST_HOLD_IN_3});
}

}  // namespace r160
