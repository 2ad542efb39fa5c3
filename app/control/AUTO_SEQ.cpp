// AUTO_SEQ: the automatic start sequence and the start and stop
// indications (80 ms).
#include "app/control/AUTO_ENBL.cells.h"
#include "app/control/AUTO_SEQ.cells.h"

#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct AUTO_SEQ_blocks {
    refbk::EdgeState START, PLS_ON, PLS_SEQ_OF, BI_ON, BI_OFF;
    bk::DelayState IH_AGAIN;
};
BlockRam<AUTO_SEQ_blocks> AUTO_SEQ_st;
}  // namespace

namespace r80 {

void AUTO_SEQ_contact() {
    auto& c = AUTO_SEQ;
    auto& s = AUTO_SEQ_st;
    // The continue contact: closing it enables the sequence, opening it halts it.
    c.CONTACT_B_NAME = c.CONTACT_IN != 0 ? 1u : 0u;
    c.CI_NOT_NOT = bk::NOT(c.CONTACT_B_NAME);
    c.BI_ON_B_ACTION = refbk::RISE(s.BI_ON, c.CONTACT_B_NAME, c.BI_ON_ACT_OUT, c.BI_ON_E_TIME, c.BI_ON_R_TIME);
    c.BI_OFF_B_ACTION = refbk::RISE(s.BI_OFF, c.CI_NOT_NOT, c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME);
}

void AUTO_SEQ_sequence() {
    auto& c = AUTO_SEQ;
    auto& s = AUTO_SEQ_st;
    // A start of the run command enables the sequence (never while a stop holds it).
    const uint32_t run_rise = refbk::RISE(s.START, START.RUN_CMD_LATCH_R);
    c.START_B_ACTION = bk::AND({run_rise, bk::NOT(START.OR_SD_OR)});
    refbk::ACTION_OUT(c.START_ACT_OUT, c.START_E_TIME, c.START_R_TIME, 5);
    c.OR_ENABLE_OR = bk::OR({c.START_B_ACTION, c.OR_ENABLE_IN_3, c.BI_ON_B_ACTION, IFACE_IN_START.AUTO_EN_B_NAME});
    c.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, c.OR_ENABLE_OR, c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME);
    c.IDLE_STEPS_OR = bk::OR({SPDC.A02_STEP_SFC_STEP, c.IDLE_STEPS_IN_2, SPDC.A08_STEP_SFC_STEP});
    bk::DELAY(s.IH_AGAIN, c.IH_AGAIN_DELAY, &c.IH_AGAIN_R_TIME.ref(), SPDC.A02ASTEP_SFC_STEP, 0.16f, 0.3f, bk::T80);
    const uint32_t steps_rise = refbk::RISE(s.PLS_SEQ_OF, c.IDLE_STEPS_OR);
    c.PLS_SEQ_OF_B_ACTION = bk::AND({steps_rise, bk::NOT(c.IH_AGAIN_DELAY)});
    refbk::ACTION_OUT(c.PLS_SEQ_OF_ACT_OUT, c.PLS_SEQ_OF_E_TIME, c.PLS_SEQ_OF_R_TIME, 5);
    c.HALT_IDLE_AND = bk::AND({c.PLS_SEQ_OF_B_ACTION, AUTO_ENBL.AUTO_HALT_B_NAME});
    c.OR_DISABLE_OR = bk::OR({c.BI_OFF_B_ACTION, SHUTDOWNS.SD_SHOOT_ONE_SHOT, c.OR_DISABLE_IN_4, OSPD.MV_REF_OR,
                              CRIT_SPD.FRC_TOMIN_B_ACTION, c.HALT_IDLE_AND, IFACE_IN_START.AUTO_DIS_B_NAME,
                              SPDC.A08_STEP_SFC_STEP, SPDC.A00ASTEP_SFC_STEP, IFACE_IN_START.AUTO_SEQ_NOT_NOT,
                              CNTRL_STOP.NSD_ENABLED_LATCH_R});
    bk::LATCH_R(c.CONTINUE_LATCH_R, c.PLS_ON_B_ACTION, c.OR_DISABLE_OR);
    c.HALT_LTCH_NOT = bk::NOT(c.CONTINUE_LATCH_R);
    // This application never halts its automatic sequence.
    c.HALT_AND = 0;
    BO_MUX.AUTO_HALT_B_NAME = 0;
    // Indications.
    IFACE_OUT_START.CSD_LATCH_ENABLED_B_NAME = CNTRL_STOP.NSD_ENABLED_LATCH_R;
    BO_MUX.CASC_ENBLD_B_NAME = IFACE_OUT_CASC.ENABLED_B_NAME;
    BO_MUX.OSPD_TEST_B_NAME = IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME;
    BO_MUX.RMTCASC_EN_B_NAME = RMT_CAS_EN.ENABLED_LATCH_R;
    IFACE_OUT_SPEED.RMT_SPD_ACTIVE_B_NAME = REMOTE.REM_SEL_SW_B_SW;
    BO_MUX.RMT_CTRL_B_NAME = REMOTE.REM_SEL_SW_B_SW;
}

}  // namespace r80

namespace r160 {

void AUTO_SEQ_blink() {
    auto& c = AUTO_SEQ;
    c.NOR_STEP_NOR = bk::NOR({IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, SPDC.A08_STEP_SFC_STEP, SPDC.A10_STEP_SFC_STEP,
                              SPDC.Z01_STEP_SFC_STEP});
    c.BLINK_AND = bk::AND({c.NOR_STEP_NOR, START.RUN_CMD_LATCH_R, bk::NOT(c.HALT_LTCH_NOT)});
}

}  // namespace r160
