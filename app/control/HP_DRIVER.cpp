// HP_DRIVER: the trip demand, the low-signal select of the four valve
// demands, the forward/reverse scaling and the stroke switch.
#include "app/control/HP_DRIVER.cells.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kNeverSelected = 101.0f;
}

namespace r10 {

void HP_DRIVER_trip() { HP_DRIVER.TRIP_A_SW = bk::SW<float>(IFACE_IN_VLV.ANY_SD_B_NAME, kNeverSelected, 0.0f); }

// The lowest demand wins, a later input only when strictly lower; limited to
// 0 .. 100.
void HP_DRIVER_select() {
    const bk::BusOut lss = bk::LSS_BUS({SPD_CTRL.SPD_PID_SW_A_SW, IFACE_IN_VLV.V1LMTR_VAL_A_NAME,
                                        HP_MAN_RAMP.MAN_DMD_SW_A_SW, HP_DRIVER.TRIP_A_SW},
                                       100.0f, 0.0f);
    HP_DRIVER.ACT_LSS_LSS_BUS = lss.out;
    HP_DRIVER.ACT_LSS_HI_LIM_I = lss.hi_lim_i;
    HP_DRIVER.ACT_LSS_LO_LIM_I = lss.lo_lim_i;
    bk::set_sel(lss.sel, HP_DRIVER.ACT_LSS_SEL_1, HP_DRIVER.ACT_LSS_SEL_2, HP_DRIVER.ACT_LSS_SEL_3,
                HP_DRIVER.ACT_LSS_SEL_4);
    IFACE_OUT_VLV.LSS_OUT_A_NAME = HP_DRIVER.ACT_LSS_LSS_BUS;
}

void HP_DRIVER_scaling() {
    HP_DRIVER.HP_MAX_A_MIN = bk::A_MIN(HP_DRIVER.ACT_LSS_LSS_BUS, 100.0f);
    HP_DRIVER.FORWRD_REV_PROP = HP_DRIVER.REV_GAIN_A_SW * (HP_DRIVER.REV_SP_A_SW - HP_DRIVER.HP_MAX_A_MIN);
    _ub5.FORCE_SP_A_NAME = _ub5.FORCE_SETPT_RAMP;
    HP_DRIVER.STRK_SW_A_SW =
        bk::SW<float>(HP_DRIVER.STRK_LTCH_LATCH_R, HP_DRIVER.FORWRD_REV_PROP, _ub5.FORCE_SP_A_NAME);
    HP_DRIVER.HP_ACT_A_NAME = HP_DRIVER.STRK_SW_A_SW;
}

}  // namespace r10
