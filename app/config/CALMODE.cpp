// The sample pulses: the pulser toggles every 160 ms pass, so configuration
// is sampled on every second pass while the window is open.
#include "app/config/CALMODE.cells.h"

#include "app/config/MASTER.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void CALMODE_sample_pulses() {
    CALMODE.PULSER_NOT = bk::NOT(CALMODE.PULSER_NOT);
    CALMODE.CNFG_SH_TRIG_AND = bk::AND({CALMODE.PULSER_NOT, MASTER.IO_LOCK_OR_PWR_B_NAME});
    CALMODE.CFG_SAMPL_OK_B_NAME = CALMODE.CNFG_SH_TRIG_AND;
    CALMODE.ADJUSTOK_OR = bk::OR({CALMODE.CALMODE_B_NAME, CALMODE.ADJUSTOK_IN_2});
    CALMODE.ADJUST_OK_B_NAME = CALMODE.ADJUSTOK_OR;
    CALMODE.CALPERM_B_NAME = CALMODE.CAL_PERM_AND;
    CALMODE.NOCALPERM_NOT = bk::NOT(CALMODE.CAL_PERM_AND);
    CALMODE.CAL_SH_TRIG_AND = bk::AND({CALMODE.CALMODE_B_NAME, CALMODE.PULSER_NOT});
    CALMODE.CAL_SAMPLOK_OR = bk::OR({CALMODE.CAL_SH_TRIG_AND, CALMODE.CAL_SAMPLOK_IN_2});
    CALMODE.CAL_SAMPL_OK_B_NAME = CALMODE.CAL_SAMPLOK_OR;
}

}  // namespace r160

// The calibration permissive: calibration may be entered while the unit is
// off and the turbine turns no faster than 5 rpm above the lower of the two
// low-speed setpoints (or the check is overridden).
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/MPU.cells.h"

namespace {
constexpr float kLowSpeedHysteresis = -5.0f;
}

namespace r160 {

void CALMODE_permissive() {
    auto& c = CALMODE;
    c.ENTER_CAL_PLS_B_NAME = MASTER.COMMANDS_OUT_4;
    c.CAL_ENABLE_OR = bk::OR({c.CAL_ENABLE_IN_1, c.ENTER_CAL_PLS_B_NAME});
    const float lo1 = CNFG_SPEED.SPD1_LOW_SP_A_NAME, lo2 = CNFG_SPEED.SPD2_LOW_SP_A_NAME;
    c.MIN_SPEED_A_MIN = lo1 < lo2 ? lo1 : lo2;
    bk::A_COMPARE_HYST(c.LO_CHECK_A_COMPARE, c.LO_CHECK_A_EQUAL, c.MIN_SPEED_A_MIN, MPU.TURB_SPD_A_NAME,
                       kLowSpeedHysteresis);
    c.LO_CHECK_TEST_OVRD_OR = bk::OR({c.LO_CHECK_A_COMPARE, c.LO_CHECK_TEST_OVRD_IN_2});
    c.CAL_PERM_AND = bk::AND({c.LO_CHECK_TEST_OVRD_OR, c.UNIT_OFF_OR});
    c.ENABL_AND = bk::AND({c.CAL_PERM_AND, c.CAL_ENABLE_OR});
    c.EXIT_CAL_PLS_B_NAME = MASTER.COMMANDS_OUT_5;
}

}  // namespace r160
