// DRVR_SCALE at 10 ms: the HP driver is shut down when its shutdown delay
// is set and trips act on the actuators, unless the demand is reversed or
// the calibration mode is active.
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"

#include "app/config/CALMODE.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/standin/speedref_standin.cells.h"
#include "runtime/blockkinds.h"

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

namespace r160 {

void DRVR_SCALE_self_powered() {
    auto& d = DRVR_SCALE;
    d.IDL_OR_RATED_A_SW =
        bk::SW<float>(CNFG_START.IDLE_RATED_SEQ_B_NAME, IFACE_IN_SPEED.MIN_GOV_A_NAME, IFACE_IN_SPEED.IDLE_1_A_NAME);
    d.IN_PCT_MULTIPLY = d.IDL_OR_RATED_A_SW * IFACE_IN_START.SELFPWRACT_A_NAME * 0.01f;
    d.I_TO_AN_OUT_1 = static_cast<float>(IFACE_IN_VLV.SELFPWR_TDLY_I_NAME);
}

}  // namespace r160
