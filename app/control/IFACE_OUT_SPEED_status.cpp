// IFACE_OUT_SPEED at 80 ms: which speed dynamics are in use, the off-line
// flag, the load percentage of the reference and the normal-shutdown flag
// for the interfaces.
#include "app/control/IFACE_OUT_SPEED.cells.h"

#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void IFACE_OUT_SPEED_dynamics() {
    auto& c = IFACE_OUT_SPEED;
    c.MANUL_OFFL_B_NAME = SPD_CTRL.DYN_ACTIV_OUT_1;
    c.MANUL_ONL_B_NAME = SPD_CTRL.DYN_ACTIV_OUT_2;
    c.OPTI_OFFL_B_NAME = SPD_CTRL.DYN_ACTIV_OUT_3;
    c.OPTI_ONL_B_NAME = SPD_CTRL.DYN_ACTIV_OUT_4;
    c.USING_OPTIDYN_B_NAME = SPD_CTRL.DYN_ACTIV_OUT_5;
    c.OFFLINE_OR = bk::OR({c.MANUL_OFFL_B_NAME, c.OPTI_OFFL_B_NAME});
}

void IFACE_OUT_SPEED_load() {
    auto& c = IFACE_OUT_SPEED;
    c.MDRIVE_LOAD_A_NAME = SPDC.PCT_RANGE_MULTIPLY;
    c.NSD_IN_PROGRESS_B_NAME = SPDC.Z01_C2_B_ACTION;
}

}  // namespace r80
