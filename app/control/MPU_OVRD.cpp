// MPU_OVRD in the 10 ms group: the override of each speed sensor and its
// failed flag.
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_2.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void MPU_OVRD_override_1() {
    MPU_OVRD.OVRD1_OR_OR = bk::OR({MPU_OVRD.OVRD_MPU_1_B_SW, MPU_OVRD.RDWN_DLY_DELAY, SD_LOGIC.PWR_UP_SD_ONE_SHOT,
                                   MPU_OVRD.S_PWRACT_O_ZMINUS1_B, MPU_OVRD.DLY_CTRL1_DELAY});
}

// Sensor 1 has failed when its speed is at or below the minimum detection
// speed, or below the measurable minimum unless that is inhibited; never
// while overridden.
void MPU_OVRD_failed_1() {
    bk::A_COMPARE(MPU_OVRD.SPD1_FLD_A_COMPARE, MPU_OVRD.SPD1_FLD_A_EQUAL, MPU_OVRD.MIN_SPD_1_A_NAME,
                  IFACE_IN_START.MPU_A_A_NAME);
    MPU_OVRD.INHIB_MIN1_AND = bk::AND({MPU_OVRD.INHIB_MIN1_IN_1, CNFG_SPEED.TSS_01_MIN_SPEED});
    MPU_OVRD.SPD1FLD_OR = bk::OR({MPU_OVRD.SPD1_FLD_A_COMPARE, MPU_OVRD.INHIB_MIN1_AND});
    MPU_OVRD.SS1_FLD_B_SW = bk::SW<uint32_t>(MPU_OVRD.OVRD1_OR_OR, MPU_OVRD.SPD1FLD_OR, 0u);
}

void MPU_OVRD_override_2() {
    MPU_OVRD.OVRD_MPU2_OR = bk::OR({MPU_OVRD.RDWN_DLY_DELAY, CONF_VAL_2.NO_MPU2_NOT, SD_LOGIC.PWR_UP_SD_ONE_SHOT,
                                    MPU_OVRD.OVRD_MPU_2_B_SW, MPU_OVRD.S_PWRACT_O_ZMINUS1_B,
                                    MPU_OVRD.DLY_CTRL2_DELAY});
}

// As sensor 1; a second sensor that is failed or not used is lost.
void MPU_OVRD_failed_2() {
    bk::A_COMPARE(MPU_OVRD.SPD2_FLD_A_COMPARE, MPU_OVRD.SPD2_FLD_A_EQUAL, MPU_OVRD.MIN_SPD_2_A_NAME,
                  IFACE_IN_START.MPU_B_A_NAME);
    MPU_OVRD.INHIB_MIN2_AND = bk::AND({MPU_OVRD.INHIB_MIN2_IN_1, CNFG_SPEED.TSS_02_MIN_SPEED});
    MPU_OVRD.SPD2FLD_OR = bk::OR({MPU_OVRD.SPD2_FLD_A_COMPARE, MPU_OVRD.INHIB_MIN2_AND});
    MPU_OVRD.SS2_FLD_B_SW = bk::SW<uint32_t>(MPU_OVRD.OVRD_MPU2_OR, MPU_OVRD.SPD2FLD_OR, 0u);
    MPU_OVRD.MPU2_SD_L_OR = bk::OR({MPU_OVRD.SS2_FLD_B_SW, CONF_VAL_2.NO_MPU2_NOT});
}

}  // namespace r10

namespace r10 {

// A self-powered actuator counts as powered while its speed level is 5 rpm
// or more above the turbine speed, until the speed passes the level.
void MPU_OVRD_self_powered() {
    bk::A_COMPARE_HYST(MPU_OVRD.MPU_COMP_A_COMPARE, MPU_OVRD.MPU_COMP_A_EQUAL, MPU_OVRD.IN_PCT_MULTIPLY,
                       IFACE_IN_START.TURB_SPEED_A_NAME, 5.0f);
    MPU_OVRD.SELFPWRED_B_SW = bk::SW<uint32_t>(IFACE_IN_VLV.SELF_PWACT_B_NAME, 0u, MPU_OVRD.MPU_COMP_A_COMPARE);
    MPU_OVRD.OR_NOTSTRP_OR = bk::OR({MPU_OVRD.NSTR_SH_ONE_SHOT, SHUTDOWNS.ANY_SD_B_NAME});
}

}  // namespace r10
