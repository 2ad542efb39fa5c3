// IFACE_OUT_SPEED at 10 ms: the interface copies of the speed control.
#include "app/control/IFACE_OUT_SPEED.cells.h"

#include "app/control/CRIT_SPD.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/discrete/standin/discrete_standin.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void IFACE_OUT_SPEED_copies() {
    IFACE_IN_SPEED.ANY_SD_B_NAME = SHUTDOWNS.ANY_SD_B_NAME;
    IFACE_IN_START.ANY_SD_B_NAME = SHUTDOWNS.ANY_SD_B_NAME;
    IFACE_IN_SPEED.NOT_SPDCTRL_NOT = bk::NOT(IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME);
    IFACE_OUT_SPEED.SPD_CTRL_DISABLED_B_NAME = SPD_CTRL.SPD_SW_DLY_DELAY;
    IFACE_OUT_SPEED.SPD_PID_A_NAME = SPD_CTRL.SPD_PID_PID_OPTI;
    IFACE_OUT_START.IN_CRIT_B_NAME = CRIT_SPD.CRIT_OR;
}

}  // namespace r10
