// CNTRL_STOP: enable and disable of the controlled stop (80 ms).
#include "app/control/CNTRL_STOP.cells.h"

#include "app/control/IFACE_IN_START.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CNTRL_STOP_blocks {
    refbk::EdgeState BI_ON, PLS_ON, BI_OFF;
};
BlockRam<CNTRL_STOP_blocks> CNTRL_STOP_st;
}  // namespace

namespace r80 {

void CNTRL_STOP_enable() {
    auto& c = CNTRL_STOP;
    auto& s = CNTRL_STOP_st;
    // The controlled-stop contact: closing it enables the stop, opening it
    // disables it.
    c.CONTACT_B_NAME = BI_MUX.CONTL_SD_CONT_B_NAME;
    c.BI_ON_B_ACTION = refbk::RISE(s.BI_ON, c.CONTACT_B_NAME, c.BI_ON_ACT_OUT, c.BI_ON_E_TIME, c.BI_ON_R_TIME);
    c.OR_ENABLE_OR = bk::OR({IFACE_IN_START.CNTRL_ST_B_NAME, c.BI_ON_B_ACTION, MOD_BW.BW_CMD_SEL_21, c.OR_ENABLE_IN_4});
    c.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, c.OR_ENABLE_OR, c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME);
    c.CI_NOT_NOT = bk::NOT(c.CONTACT_B_NAME);
    c.BI_OFF_B_ACTION = refbk::RISE(s.BI_OFF, c.CI_NOT_NOT, c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME);
}

void CNTRL_STOP_disable() {
    auto& c = CNTRL_STOP;
    c.OR_DISABLE_OR = bk::OR({c.BI_OFF_B_ACTION, IFACE_IN_START.ANY_SD_B_NAME, MOD_BW.BW_CMD_SEL_22, c.OR_DISABLE_IN_4,
                              c.NOT_USED_NOT, OSPD.MV_REF_OR, IFACE_IN_START.CSD_ABORT_B_NAME, c.RST_LTCH_DELAY,
                              START.NOT_STRTD_NOT});
    if (c.OR_DISABLE_OR != 0) {
        c.NSD_ENABLED_LATCH_R = 0;
        c.DISABLED_NOT = 1;
    } else {
        bk::LATCH_R(c.NSD_ENABLED_LATCH_R, c.PLS_ON_B_ACTION, 0);
        c.DISABLED_NOT = bk::NOT(c.NSD_ENABLED_LATCH_R);
    }
    IFACE_OUT_START.CSD_DISABLED_B_NAME = c.DISABLED_NOT;
}

}  // namespace r80

namespace {
struct CNTRL_STOP_settings_blocks {
    bk::DelayState RST_LTCH;
};
BlockRam<CNTRL_STOP_settings_blocks> CNTRL_STOP_settings_st;
}  // namespace

namespace r160 {

void CNTRL_STOP_settings() {
    auto& c = CNTRL_STOP;
    c.USE_STOP_B_NAME = c.USE_STOP_IN;
    c.NOT_USED_NOT = bk::NOT(c.USE_STOP_B_NAME);
    bk::DELAY(CNTRL_STOP_settings_st.RST_LTCH, c.RST_LTCH_DELAY, &c.RST_LTCH_R_TIME.ref(), c.Z_HPRPLIM_ZMINUS1_B, 1.0f,
              0.0f, bk::T160);
}

}  // namespace r160

// The controlled stop complete: while the normal-shutdown step is active,
// once the speed has come below idle, or the reference is at idle (or at
// the minimum it stops at). The valve limiter lowers on it.
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"

namespace r80 {

void CNTRL_STOP_below_idle() {
    CNTRL_STOP.STP_SPD_LT_IDLE_AND = bk::AND({SPDC.IDLE_1_CMPL_AND, SPDC.Z01_STEP_SFC_STEP});
    // The reference at or below the lowest speed it idles at.
    refbk::A_COMPARE_H(SPDC.MIN_REF_EQ_A_COMPARE, SPDC.MIN_REF_EQ_A_EQUAL, SPDC.NO_LOW_IDL_A_SW,
                       SPDC.SPEED_REF_RAMP, SPDC.MIN_REF_EQ_HYSTER);
    SPDC.BELOW_MIN_OR = bk::OR({SPDC.MIN_REF_EQ_A_COMPARE, SPDC.MIN_REF_EQ_A_EQUAL});
    IFACE_OUT_SPEED.BELOW_MIN_B_NAME = SPDC.BELOW_MIN_OR;
}

void CNTRL_STOP_stop_flags() {
    auto& c = CNTRL_STOP;
    c.STP_SPD_EQ_IDLE_OR = bk::OR({SPDC.A01_STEP_SFC_STEP, IFACE_OUT_SPEED.BELOW_MIN_B_NAME});
    c.STP_CMD_AND = bk::AND({c.STP_SPD_EQ_IDLE_OR, SPDC.Z01_STEP_SFC_STEP});
    c.STP_CPLT_OR = bk::OR({c.STP_SPD_LT_IDLE_AND, c.STP_CMD_AND});
}

}  // namespace r80
