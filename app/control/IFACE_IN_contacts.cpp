// The contact inputs of the speed, start and valve interfaces (10 ms): each
// is the named function contact its channel is routed to, so that a
// function no channel carries reads open.
#include "app/control/IFACE_IN_contacts.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"

namespace r10 {

void IFACE_IN_contacts() {
    IFACE_IN_SPEED.ENA_REM_SPDSP_B_NAME = BI_MUX.RMT_SPD_ENBL_CONT_B_NAME;
    IFACE_IN_SPEED.OSPD_TEST_SW_B_NAME = BI_MUX.OVSPD_CONT_B_NAME;
    IFACE_IN_START.STARTCMD_B_NAME = BI_MUX.EXT_RUN_CONT_B_NAME;
    IFACE_IN_START.IDLERATECMD_B_NAME = BI_MUX.IDLE_RATED_CONT_B_NAME;
    IFACE_IN_START.START_PERM_CMD_B_NAME = BI_MUX.START_PERM_B_NAME;
    IFACE_IN_VLV.HP_LIM_CLOSE_B_NAME = BI_MUX.VLV_LMT_CLS_CONT_B_NAME;
    IFACE_IN_VLV.HP_LIM_OPEN_B_NAME = BI_MUX.VLV_LMT_OPN_CONT_B_NAME;
    // No shutdown latched: the all-probes-failed trip reads it through a
    // unit delay, so that it trips a running unit only.
    IFACE_IN_START.NOT_SD_B_NAME = SHUTDOWNS.NOT_SD_NOT;
}

}  // namespace r10
