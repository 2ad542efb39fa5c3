// STAND-IN: the least of the turbine-speed selection the speed control
// needs until the protection logic builds it.
#include "app/control/standin/speed_select_standin.h"

#include "app/control/MPU.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void MPU_speed_select_standin() {
    const float probe2 = bk::SW<float>(CONF_VAL_1.USE_MPU2_B_NAME, 0.0f, CNFG_SPEED.TSS_02_MPU_ZARN);
    const bk::BusOut sel = bk::HSS_BUS({CNFG_SPEED.TSS_01_MPU_ZARN, probe2}, 1e30f, 0.0f);
    MPU.TURB_SPD_A_NAME = sel.out;
    IFACE_IN_SPEED.SPEED_A_NAME = sel.out;
    IFACE_IN_START.TURB_SPEED_A_NAME = sel.out;
}

}  // namespace r10
