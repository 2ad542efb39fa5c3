// IFACE_OUT_SPEED at 10 ms: the interface copies of the speed control.
#include "app/control/IFACE_OUT_SPEED.cells.h"

#include "app/control/CRIT_SPD.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
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

namespace r160 {

void IFACE_OUT_SPEED_status() {
    auto& o = IFACE_OUT_SPEED;
    const auto& leds = SPD_CTRL;
    o.IDLE_1_CMPL_B_NAME = SPDC.IDLE_1_CMPL_AND;
    o.INVALID_SP_B_NAME = ENTR_SETPT.INVALID_SP_OR;
    o.OPTI_AT_SETPT_B_NAME = o.AT_SETPT_OR;
    o.OPTI_STEPS_THRESH_B_NAME = o.DATA_STEPS_OR;
    o.OPTI_CALC_GAINS_B_NAME = leds.QT_STATUS_LEDS_OUT_7;
    o.OPTI_CMPLT_B_NAME = leds.QT_STATUS_LEDS_OUT_16;
    o.OPTI_FAULT_ABORT_B_NAME = leds.QT_STATUS_LEDS_OUT_11;
    o.OPTI_SETTLING_B_NAME = leds.QT_STATUS_LEDS_OUT_2;
    o.OPTI_STEADY_B_NAME = leds.QT_STATUS_LEDS_OUT_15;
    o.OPTI_STEPDN_ALYZ_B_NAME = leds.QT_STATUS_LEDS_OUT_4;
    o.OPTI_STEPDN_THRE_B_NAME = leds.QT_STATUS_LEDS_OUT_6;
    o.OPTI_STEPUP_ALYZ_B_NAME = leds.QT_STATUS_LEDS_OUT_3;
    o.OPTI_STEPUP_THRE_B_NAME = leds.QT_STATUS_LEDS_OUT_5;
    o.RDY_STATUS_AND = bk::AND({o.SP_NOT_MOVE_NOT, leds.QT_STATUS_LEDS_OUT_1});
    o.OPTI_RDY_B_NAME = o.RDY_STATUS_AND;
    o.STEPS_OR = bk::OR({leds.QT_STATUS_LEDS_OUT_9, leds.QT_STATUS_LEDS_OUT_10, leds.QT_STATUS_LEDS_OUT_13,
                         leds.QT_STATUS_LEDS_OUT_14, leds.QT_STATUS_LEDS_OUT_15});
    o.OPTI_STEP_TESTS_B_NAME = o.STEPS_OR;
    o.STAT_7812_OR = bk::OR({o.OPTI_CALC_GAINS_B_NAME, o.AT_SETPT_OR});
    o.STATUS7812_B_NAME = o.STAT_7812_OR;
    OSPD.PERMISSIVE_NOT = bk::NOT(OSPD.OR_DISABLE_OR);
    o.OST_PERMISSIVE_B_NAME = OSPD.PERMISSIVE_NOT;
    o.RMT_SPD_N_MATCH_RATE_A_NAME = IFACE_IN_SPEED.RMT_NOT_MATCH_A_NAME;
    o.SUGGEST_PROC_LIM_A_NAME = leds.RCMD_OPTI_PROC_LIM_A_SW;
}

}  // namespace r160
