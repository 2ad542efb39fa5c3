// MPU at 10 ms: the turbine speed. Each probe gives its monitor value while
// it reads at least that and reports its minimum speed, else its evaluated
// speed; the second probe counts only when it is used. The turbine speed is
// the high select of the two probes and the simulated speed, the first of
// equal values winning, held between 0 and the larger maximum speed of the
// two probes, which is 0 until the power-up delay has run out.
#include "app/control/MPU.cells.h"

#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct MPU_speed_blocks {
    bk::DelayState PWR_UP_DLY;
};
BlockRam<MPU_speed_blocks> MPU_speed_st;

// A probe's speed: its monitor value when the reading is at or above it and
// the probe is at its minimum speed.
float probe_speed(uint32_t& ok, float mpu_zarn, float monitor, uint32_t min_speed) {
    ok = bk::AND({mpu_zarn >= monitor ? 1u : 0u, min_speed});
    return bk::SW<float>(ok, mpu_zarn, monitor);
}
}  // namespace

namespace r10 {

void MPU_turbine_speed() {
    auto& c = MPU;
    const auto& s = CNFG_SPEED;
    c.TSS_01_A_SW = probe_speed(c.MON01_OK_AND.ref(), s.TSS_01_MPU_ZARN, s.TSS_01_MONITOR, s.TSS_01_MIN_SPEED);
    c.TSS_02_A_SW = probe_speed(c.MON02_OK_AND.ref(), s.TSS_02_MPU_ZARN, s.TSS_02_MONITOR, s.TSS_02_MIN_SPEED);
    c.SPEED_SW_A_SW = bk::SW<float>(CONF_VAL_1.USE_MPU2_B_NAME, 0.0f, c.TSS_02_A_SW);
    bk::DELAY(MPU_speed_st.PWR_UP_DLY, c.PWR_UP_DLY_DELAY.ref(), &c.PWR_UP_DLY_R_TIME.ref(), 1u, c.PWR_UP_DLY_DLY_TIME,
              0.0f, bk::T10);
    c.MAXSPD_DLY_A_SW =
        bk::SW<float>(c.PWR_UP_DLY_DELAY, 0.0f, bk::A_MAX(s.SPD1_MAXSPD_A_NAME, s.SPD2_MAXSPD_A_NAME));
    const bk::BusOut sel =
        bk::HSS_BUS({c.TSS_01_A_SW, c.SPEED_SW_A_SW, SPEED_SIM.ENA_SIMSPD_A_SW}, c.MAXSPD_DLY_A_SW, 0.0f);
    c.TURB_SPEED_HSS_BUS = sel.out;
    c.TURB_SPEED_HI_LIM_I = sel.hi_lim_i;
    c.TURB_SPEED_LO_LIM_I = sel.lo_lim_i;
    bk::set_sel(sel.sel, c.TURB_SPEED_SEL_1.ref(), c.TURB_SPEED_SEL_2.ref(), c.TURB_SPEED_SEL_3.ref());
    c.TURB_SPD_A_NAME = sel.out;
    IFACE_IN_SPEED.SPEED_A_NAME = sel.out;
    IFACE_IN_START.TURB_SPEED_A_NAME = sel.out;
}

}  // namespace r10
