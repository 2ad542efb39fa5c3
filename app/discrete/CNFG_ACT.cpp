// CNFG_ACT at 10 ms: the shutdown request of the actuator channel (the
// self-powered actuator's own setting, or the drive shutdown) and the display
// copies of the channel's output and readbacks.
#include "app/analog/CNFG_ACT.cells.h"

#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void CNFG_ACT_shutdown_request() {
    CNFG_ACT.SELFPWR_SW_B_SW =
        bk::SW<uint32_t>(IFACE_IN_VLV.SELF_PWACT_B_NAME, DRVR_SCALE.N_SD_DRVRS_AND, CNFG_ACT.SELFPWR_SW_NO);
}

void CNFG_ACT_displays() {
    CNFG_ACT.ACT_01_DISPLAY_A_NAME = CNFG_ACT.ACT_1_ACT_ZARN;
    CNFG_ACT.ACT_01_RDBK_A_NAME = CNFG_ACT.ACT_1_RDBK_RET;
    CNFG_ACT.ACT_01_SRC_A_NAME = CNFG_ACT.ACT_1_RDBK_SRC;
}

}  // namespace r10
