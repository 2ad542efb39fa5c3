// CNFG_DRIVER and CNFG_OPERATE: option lists taken over from their tunables
// while the configuration window is open, and the settings read from them.
#include "app/config/CNFG_DRIVER.cells.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void CNFG_DRIVER_options() {
    auto& D = CNFG_DRIVER;
    // The actuator drives the second HP valve when its function is 3.
    bk::I_COMPARE(D.ACT1_HP2_EQ, D.ACT1_HP2_LT, D.ACT1_HP2_GT, _ub5.FUNCT_INT_I_NAME, 3);
    if (MASTER.IO_LOCK_OR_PWR_B_NAME != 0) {
        D.CONFIG_A_LIST_1 = D.CONFIG_A_IN_1;
        D.CONFIG_B_LIST_1 = D.CONFIG_B_IN_1;
        D.CONFIG_B_LIST_2 = D.CONFIG_B_IN_2;
        D.CONFIG_B_LIST_3 = D.ACT1_HP2_EQ;
    }
    D.INVERT_B_NAME = D.CONFIG_B_LIST_1;
    IFACE_IN_VLV.INVERT_DMD_B_NAME = D.INVERT_B_NAME;  // a reverse-acting driver inverts the HP demand
    D.USE_HP1_FLT_SD_B_NAME = D.CONFIG_B_LIST_2;
}

void CNFG_OPERATE_options() {
    auto& O = CNFG_OPERATE;
    if (MASTER.IO_LOCK_OR_PWR_B_NAME != 0) {
        O.CONFIG_B_LIST_1 = 0;
        O.CONFIG_B_LIST_2 = O.CONFIG_B_IN_2;
        O.CONFIG_B_LIST_3 = O.CONFIG_B_IN_3;
        O.CONFIG_B_LIST_4 = O.CONFIG_B_IN_4;
        O.CONFIG_B_LIST_5 = O.CONFIG_B_IN_5;
    }
    O.CSD_TRIP_B_NAME = O.CONFIG_B_LIST_5;
    O.EXT_TRIPS_RELAY_B_NAME = O.CONFIG_B_LIST_2;
    O.RST_CLRS_TRIP_B_NAME = O.CONFIG_B_LIST_3;
    O.TRIP_ACTS_B_NAME = O.CONFIG_B_LIST_4;
    CNTRL_STOP.CSD_TRIP_B_NAME = O.CSD_TRIP_B_NAME;
}

}  // namespace r160
