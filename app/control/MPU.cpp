// MPU at 80 ms: the turbine speed against idle (with a settable hysteresis,
// default -5 rpm, about idle - 0.5 rpm) and minimum governor against the
// setpoint and the speed.
#include "app/control/MPU.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/standin/speed_rows_standin.h"
#include "app/interface/standin/CNFG_SETPT_standin.cells.h"
#include "runtime/blockkinds.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/MPU_OVRD.cells.h"

namespace {
constexpr float kNearIdle = 0.5f;
}

namespace r80 {

void MPU_idle_compare() {
    auto& c = MPU;
    c.NEAR_IDL_SUBTRACT = IFACE_IN_SPEED.IDLE_1_A_NAME - kNearIdle;
    bk::A_COMPARE_HYST(c.SPD_GT_IDL_A_COMPARE, c.SPD_GT_IDL_A_EQUAL, c.TURB_SPD_A_NAME, c.NEAR_IDL_SUBTRACT,
                       c.SPD_GT_IDL_HYSTER);
    c.SPD_GTEQ_IDL_OR = bk::OR({c.SPD_GT_IDL_A_COMPARE, c.SPD_GT_IDL_A_EQUAL});
}

void MPU_min_gov_compare() {
    auto& c = MPU;
    bk::A_COMPARE(c.SETPT_MIN_A_COMPARE, c.SETPT_MIN_A_EQUAL, CNFG_SETPT.MIN_GOV_A_NAME,
                  IFACE_OUT_SPEED.Z_SETPOINT_A_NAME);
    c.SPD_LT_IDL_NOT = bk::NOT(c.SPD_GTEQ_IDL_OR);
    bk::A_COMPARE(c.SPD_LT_MIN_A_COMPARE, c.SPD_LT_MIN_A_EQUAL, CNFG_SETPT.MIN_GOV_A_NAME, c.TURB_SPD_A_NAME);
}

}  // namespace r80

namespace r160 {

void MPU_min_speed_check() {
    MPU_OVRD.MIN_SPD_2_A_NAME = CNFG_SPEED.SPD2_LOW_SP_A_NAME;
    bk::A_COMPARE(MPU.SP2_MN_CHK_A_COMPARE, MPU.SP2_MN_CHK_A_EQUAL, MPU.MIN_SPD_CK2_A_NAME, MPU_OVRD.MIN_SPD_2_A_NAME);
    MPU.SP2_MINERR_AND = bk::AND({CONF_VAL_1.USE_MPU2_B_NAME, MPU.SP2_MN_CHK_A_COMPARE});
}

// The monitor lags half the speed; the speed shown doubles it back.
void MPU_speed_monitor() { MPU.SPEED_MULTIPLY = 2.0f * MPU.SPD_MONTOR_LAG; }

}  // namespace r160
