// The sample pulses: the pulser toggles every 160 ms pass, so configuration
// is sampled on every second pass while the window is open.
#include "app/config/CALMODE.cells.h"

#include "app/config/MASTER.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/sysinfo.h"

namespace rtcells {
uint32_t& CALMODE_CALPERM_B_NAME() { return cells::CALMODE.CALPERM_B_NAME.ref(); }
}  // namespace rtcells

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

// The calibration-mode latch: set while permitted and requested, cleared
// on the exit command or once the speed check fails; and the flags derived
// from it. The user's stop request lasts a minute.
#include "app/discrete/SHUTDOWNS.cells.h"

namespace {
struct CALMODE_blocks {
    bk::OneShotState USER_STOP;
};
BlockRam<CALMODE_blocks> CALMODE_st;
constexpr float kUserStopTime = 60.0f;  // s
}  // namespace

namespace r160 {

void CALMODE_latch() {
    auto& c = CALMODE;
    c.LO_CHECK_NOT_NOT = bk::NOT(c.LO_CHECK_TEST_OVRD_OR);
    c.EXIT_CAL_OR = bk::OR({c.EXIT_CAL_PLS_B_NAME, c.LO_CHECK_NOT_NOT});
    bk::LATCH_R(c.ENABLE_LATCH_R, c.ENABL_AND, c.EXIT_CAL_OR);
    c.CALMODE_B_NAME = c.ENABLE_LATCH_R;
}

void CALMODE_flags() {
    auto& c = CALMODE;
    c.FORCE_INHI_OR = bk::OR({c.NOCALPERM_NOT, c.FORCE_INHI_IN_2});
    c.NOT_CAL_NOT = bk::NOT(c.ENABLE_LATCH_R);
    c.NOTCALMODE_B_NAME = c.NOT_CAL_NOT;
    bk::ONE_SHOT(CALMODE_st.USER_STOP, c.USER_STOP_ONE_SHOT, &c.USER_STOP_R_TIME.ref(), c.USER_STOP_TRIGGER, kUserStopTime,
                 bk::T160);
    c.STOP_APPL_OR = bk::OR({c.CALPERM_B_NAME, c.USER_STOP_ONE_SHOT});
}

}  // namespace r160

namespace r80 {

void CALMODE_unit_off() { CALMODE.UNIT_OFF_OR = bk::OR({CALMODE.UNIT_OFF_IN_1, SHUTDOWNS.ANY_SD_B_NAME}); }

}  // namespace r80
