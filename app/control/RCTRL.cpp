// RCTRL and the remote-control mode chart B00..B03 of SPDC (160 ms): which
// source owns the speed setpoint while the speed controller is in control.
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/RCTRL.cells.h"

#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/ref_blocks.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct RCTRL_blocks {
    bk::SfcState B00, B01, B02, B03;
};
BlockRam<RCTRL_blocks> RCTRL_st;
}  // namespace

namespace r160 {

using refbk::COND;

void SPDC_rem_act() { SPDC.REM_ACT_NOT = bk::NOT(SPDC.B00_STEP_SFC_STEP); }

void RCTRL_local_conditions() {
    auto& c = RCTRL;
    c.CTRL_INHIB_NAND = bk::NAND({SPDC.A08_STEP_SFC_STEP, c.CTRL_INHIB_IN_2});
    const uint32_t csd = IFACE_OUT_START.CSD_SEQ_ENABLED_B_NAME;
    const uint32_t inhib = c.CTRL_INHIB_NAND;
    const uint32_t no_rmt = IFACE_IN_SPEED.NO_RMT_SPD_NOT;
    const uint32_t no_casc = CONF_VAL_1.NO_CASC_NOT;
    COND(c.B00_C1_B_ACTION, c.B00_C1_ACT_OUT, c.B00_C1_E_TIME, c.B00_C1_R_TIME,
         bk::AND({bk::OR({IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME, c.B00_C1_IN_2}),
                  bk::NOT(bk::OR({c.B00_C1_RST_1, inhib, no_rmt, RMT_ENBL.RMT_SP_INH_LATCH1, csd}))}));
    COND(c.B00_C2_B_ACTION, c.B00_C2_ACT_OUT, c.B00_C2_E_TIME, c.B00_C2_R_TIME,
         bk::AND({bk::OR({IFACE_OUT_CASC.ENABLED_B_NAME, c.B00_C2_IN_2}),
                  bk::NOT(bk::OR({csd, inhib, CASC_ENBL.INHIBITED_LATCH1, no_casc}))}));
}

void RCTRL_conditions() {
    auto& c = RCTRL;
    const uint32_t csd = IFACE_OUT_START.CSD_SEQ_ENABLED_B_NAME;
    const uint32_t inhib = c.CTRL_INHIB_NAND;
    const uint32_t no_rmt = IFACE_IN_SPEED.NO_RMT_SPD_NOT;
    const uint32_t no_casc = CONF_VAL_1.NO_CASC_NOT;
    const uint32_t rmt_inh = RMT_ENBL.RMT_SP_INH_LATCH1;
    const uint32_t casc_inh = CASC_ENBL.INHIBITED_LATCH1;
    const uint32_t casc_off = bk::OR({CASC_ENBL.DISABLED_NOT, casc_inh});
    const uint32_t b00 = SPDC.B00_STEP_SFC_STEP, b02 = SPDC.B02_STEP_SFC_STEP;
    COND(c.B01_C1_B_ACTION, c.B01_C1_ACT_OUT, c.B01_C1_E_TIME, c.B01_C1_R_TIME,
         bk::AND({bk::OR({csd, inhib}), bk::NOT(c.B01_C1_RST_1)}));
    COND(c.B01_C3_B_ACTION, c.B01_C3_ACT_OUT, c.B01_C3_E_TIME, c.B01_C3_R_TIME,
         bk::AND({bk::OR({IFACE_OUT_CASC.ENABLED_B_NAME, c.B01_C3_IN_2}),
                  bk::NOT(bk::OR({c.B01_C3_RST_1, no_casc, casc_inh}))}));
    COND(c.B01_C4_B_ACTION, c.B01_C4_ACT_OUT, c.B01_C4_E_TIME, c.B01_C4_R_TIME,
         bk::AND({bk::OR({RMT_ENBL.DISABLED_NOT, rmt_inh}), bk::NOT(c.B01_C4_RST_1)}));
    COND(c.B02_C1_B_ACTION, c.B02_C1_ACT_OUT, c.B02_C1_E_TIME, c.B02_C1_R_TIME,
         bk::AND({bk::OR({csd, inhib}), bk::NOT(c.B02_C1_RST_1)}));
    COND(c.B02_C2_B_ACTION, c.B02_C2_ACT_OUT, c.B02_C2_E_TIME, c.B02_C2_R_TIME,
         bk::AND(
             {bk::OR({RMT_ENBL.ENABLED_LATCH_R, c.B02_C2_IN_2}), bk::NOT(bk::OR({c.B02_C2_RST_1, no_rmt, rmt_inh}))}));
    COND(c.B02_C4_B_ACTION, c.B02_C4_ACT_OUT, c.B02_C4_E_TIME, c.B02_C4_R_TIME,
         bk::AND({bk::OR({IFACE_OUT_CASC.RMT_CAS_EN_B_NAME, c.B02_C4_IN_2}),
                  bk::NOT(bk::OR({c.B02_C4_RST_1, c.B02_C4_RST_2, RMT_CAS_EN.RCASC_IH_LATCH1}))}));
    COND(c.B02_C5_B_ACTION, c.B02_C5_ACT_OUT, c.B02_C5_E_TIME, c.B02_C5_R_TIME, bk::AND({casc_off, bk::NOT(b00)}));
    COND(c.B03_C1_B_ACTION, c.B03_C1_ACT_OUT, c.B03_C1_E_TIME, c.B03_C1_R_TIME,
         bk::AND({bk::OR({csd, inhib}), bk::NOT(c.B03_C1_RST_1)}));
    COND(c.B03_C2_B_ACTION, c.B03_C2_ACT_OUT, c.B03_C2_E_TIME, c.B03_C2_R_TIME,
         bk::AND(
             {bk::OR({RMT_ENBL.ENABLED_LATCH_R, c.B03_C2_IN_2}), bk::NOT(bk::OR({c.B03_C2_RST_1, no_rmt, rmt_inh}))}));
    COND(c.B03_C4_B_ACTION, c.B03_C4_ACT_OUT, c.B03_C4_E_TIME, c.B03_C4_R_TIME,
         bk::AND({casc_off, bk::NOT(bk::OR({b00, b02}))}));
    COND(c.B03_C5_B_ACTION, c.B03_C5_ACT_OUT, c.B03_C5_E_TIME, c.B03_C5_R_TIME,
         bk::AND({bk::NOT(IFACE_OUT_CASC.RMT_CAS_EN_B_NAME), bk::NOT(b02)}));
}

void SPDC_mode_chart() {
    auto& c = RCTRL;
    auto& s = SPDC;
    bk::SFC_STEP(RCTRL_st.B00, s.B00_STEP_SFC_STEP, s.B00_STEP_ACTIVETIME, {c.B00_C1_B_ACTION, c.B00_C2_B_ACTION},
                 bk::T160, s.B00_STEP_TRAN_1, s.B00_STEP_TRAN_2);
    bk::SFC_STEP(RCTRL_st.B01, s.B01_STEP_SFC_STEP, s.B01_STEP_ACTIVETIME,
                 {c.B01_C1_B_ACTION, c.B01_C3_B_ACTION, c.B01_C4_B_ACTION}, bk::T160, s.B01_STEP_TRAN_1,
                 s.B01_STEP_TRAN_2, s.B01_STEP_TRAN_3);
    bk::SFC_STEP(RCTRL_st.B02, s.B02_STEP_SFC_STEP, s.B02_STEP_ACTIVETIME,
                 {c.B02_C1_B_ACTION, c.B02_C2_B_ACTION, c.B02_C4_B_ACTION, c.B02_C5_B_ACTION}, bk::T160,
                 s.B02_STEP_TRAN_1, s.B02_STEP_TRAN_2, s.B02_STEP_TRAN_3, s.B02_STEP_TRAN_4);
    bk::SFC_STEP(RCTRL_st.B03, s.B03_STEP_SFC_STEP, s.B03_STEP_ACTIVETIME,
                 {c.B03_C1_B_ACTION, c.B03_C2_B_ACTION, c.B03_C4_B_ACTION, c.B03_C5_B_ACTION}, bk::T160,
                 s.B03_STEP_TRAN_1, s.B03_STEP_TRAN_2, s.B03_STEP_TRAN_3, s.B03_STEP_TRAN_4);
}

void SPDC_commit_mode() {
    auto& s = SPDC;
    const RCTRL_blocks& st = RCTRL_st;
    s.B00_STEP_SFC_STEP = bk::SFC_COMMIT(st.B00, {s.B01_STEP_TRAN_1, s.B01_STEP_TRAN_3, s.B02_STEP_TRAN_1,
                                                  s.B02_STEP_TRAN_4, s.B03_STEP_TRAN_1, s.B03_STEP_TRAN_3});
    s.B01_STEP_SFC_STEP = bk::SFC_COMMIT(st.B01, {s.B00_STEP_TRAN_1, s.B02_STEP_TRAN_2, s.B03_STEP_TRAN_2});
    s.B02_STEP_SFC_STEP = bk::SFC_COMMIT(st.B02, {s.B00_STEP_TRAN_2, s.B01_STEP_TRAN_2, s.B03_STEP_TRAN_4});
    s.B03_STEP_SFC_STEP = bk::SFC_COMMIT(st.B03, {s.B02_STEP_TRAN_3});
}

}  // namespace r160
