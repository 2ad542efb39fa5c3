// The unit-delay slots of the 10 ms and 40 ms groups, in slot order.
#include "app/control/unit_delays_r10_r40.h"

#include "app/control/OSPD.cells.h"
#include "app/control/SPDC.cells.h"

#include "app/control/ACCEL.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/analog/ACT_MUX.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void unit_delays_store_first() {
    bk::ZSTORE(0, ACCEL.HOLD_RST_A_SW);
    bk::ZSTORE(1, ACCEL.RESET_A_SW);
    bk::ZSTORE(2, IFACE_OUT_VLV.HP_DMD_A_NAME);
    bk::ZSTORE_B(0, MPU_OVRD.SELFPWRED_B_SW);
    bk::ZSTORE_B(1, SD_LOGIC.PUSHBUTTON_B_SW);
    bk::ZSTORE_B(2, IFACE_IN_START.NOT_SD_B_NAME);
}

void unit_delays_store_second() {
    bk::ZSTORE(3, SPD_CTRL.SPD_DB_A_DEADBAND);
    bk::ZSTORE(4, HP_MAN_RAMP.MAN_DMD_RAMP);
    bk::ZSTORE(5, IFACE_OUT_VLV.LSS_OUT_A_NAME);
    bk::ZSTORE(6, SPDC.SPEED_REF_RAMP);
    bk::ZSTORE(7, SPD_CTRL.HOLD_RST_HI_A_SW);
    bk::ZSTORE(8, SPD_CTRL.HOLD_RST_LO_A_SW);
    bk::ZSTORE_B(3, ACT_MUX.HP_FLT_ACTOUT_B_NAME);
    bk::ZSTORE_B(4, HP_DRIVER.ACT_LSS_SEL_3);
    bk::ZSTORE_B(5, SHUTDOWNS.SD_REL_SW_B_SW);
    bk::ZSTORE_B(6, HP_MAN_RAMP.MAN_DMD_P_LIM_5);
    bk::ZSTORE_B(7, ORVEX12_IO.A_COMPARE_A_COMPARE);
    bk::ZSTORE_B(8, SHUTDOWNS.COUNTER_CMP_OUT);
}

void unit_delays_commit() {
    ACCEL.LP_BRKR_ZMINUS1 = bk::ZCOMMIT(0);
    ACCEL.MEM_ZMINUS1 = bk::ZCOMMIT(1);
    SPEED_SIM.VLV_PERCENT_ZMINUS1 = bk::ZCOMMIT(2);
    DROOP.Z_SPD_ZMINUS1 = bk::ZCOMMIT(3);
    HP_MAN_RAMP.MAN_DMD_Z_ZMINUS1 = bk::ZCOMMIT(4);
    DROOP.ACTR_Z_ZMINUS1 = bk::ZCOMMIT(5);
    SPDC.MN_REF_ZMINUS1 = bk::ZCOMMIT(6);
    SPD_CTRL.LP_BRKR_HI_ZMINUS1 = bk::ZCOMMIT(7);
    SPD_CTRL.LP_BRKR_LO_ZMINUS1 = bk::ZCOMMIT(8);
    MPU_OVRD.S_PWRACT_O_ZMINUS1_B = bk::ZCOMMIT_B(0);
    SD_LOGIC.PSHBTN_Z_ZMINUS1_B = bk::ZCOMMIT_B(1);
    MPU_OVRD.NOT_SD_Z_ZMINUS1_B = bk::ZCOMMIT_B(2);
    SD_LOGIC.HP_FLT_Z_ZMINUS1_B = bk::ZCOMMIT_B(3);
    HP_DRIVER.LSS_SEL_3_Z_ZMINUS1_B = bk::ZCOMMIT_B(4);
    DRVR_SCALE.SD_DVR_BRK_ZMINUS1_B = bk::ZCOMMIT_B(5);
    HP_MAN_RAMP.P_LIM_4_Z_ZMINUS1_B = bk::ZCOMMIT_B(6);
    ORVEX12_IO.PULSE_ZMINUS1_B = bk::ZCOMMIT_B(7);
    SHUTDOWNS.CMP_OUT_Z_ZMINUS1_B = bk::ZCOMMIT_B(8);
}

}  // namespace r10

namespace r40 {

void unit_delays_store_commit() {
    bk::ZSTORE_B(9, ALARMS.ACK_D_DELAY);
    bk::ZSTORE(9, SPD_CTRL.COMBO_MODE_HSS_BUS);
    bk::ZSTORE(10, SPDC.TRACK_RATE_A_MUX_HSS);
    bk::ZSTORE(11, OSPD.HOLD_RST_A_SW);
    bk::ZSTORE(12, SPD_CTRL.MAX_SETPT_SUBTRACT);
    ALARMS.HORN_Z_ZMINUS1_B = bk::ZCOMMIT_B(9);
    SPD_CTRL.COMBO_SETPT_ZMINUS1 = bk::ZCOMMIT(9);
    SPDC.ZRATETRACK_ZMINUS1 = bk::ZCOMMIT(10);
    OSPD.LP_BRKR_ZMINUS1 = bk::ZCOMMIT(11);
    SPD_CLTR.Z_REFBACK_ZMINUS1 = bk::ZCOMMIT(12);
}

}  // namespace r40
