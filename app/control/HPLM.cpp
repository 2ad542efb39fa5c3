// HPLM: the valve limiter's sequence chart (160 ms).
#include "app/control/HPLM.cells.h"

#include "app/control/HP_LIMTER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_REF.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct HPLM_blocks {
    bk::SfcState A00, A01, A02, A03;
    bk::DelayState DLY, DLY_OFF;
    uint32_t at_max_z;  // unit-delay store of HP_LIMTER.AT_MAX
};
BlockRam<HPLM_blocks> HPLM_st;

constexpr float kHold = 2.0f;  // the off-delay after A00 and the on-delay of the end of a normal shutdown

// A transition condition: its set input and not its reset input.
uint32_t cond(uint32_t set, uint32_t reset) { return bk::AND({set, bk::NOT(reset)}); }
}  // namespace

namespace r160 {

void HPLM_chart() {
    auto& c = HPLM;
    auto& s = HPLM_st;
    const auto& v = IFACE_IN_VLV;
    // Signals of the chart.
    bk::DELAY(s.DLY, c.DLY_DELAY, &c.DLY_R_TIME.ref(), c.A00_STEP_SFC_STEP, 0.0f, kHold, bk::T160);
    c.R_L_OR = bk::OR({HP_LIMTER.CLS_LMTR_OR, HP_LIMTER.OPN_LMTR_OR});
    c.NOT_NSD_NOT = bk::NOT(v.SD_SEQ_NORM_SD_B_NAME);
    bk::DELAY(s.DLY_OFF, c.DLY_OFF_DELAY, &c.DLY_OFF_R_TIME.ref(), c.NOT_NSD_NOT, kHold, 0.0f, bk::T160);

    // Transition conditions.
    c.A00_C2_B_ACTION = cond(START.PULSE_ONE_SHOT, START.SEMI_AUTO_AND);
    refbk::ACTION_OUT(c.A00_C2_ACT_OUT, c.A00_C2_E_TIME, c.A00_C2_R_TIME, 1);
    c.A00_C3_B_ACTION = cond(START.PULSE_ONE_SHOT, bk::OR({START.MAN_START_B_NAME, START.AUTO_START_AND}));
    refbk::ACTION_OUT(c.A00_C3_ACT_OUT, c.A00_C3_E_TIME, c.A00_C3_R_TIME, 1);
    c.A01_C4_B_ACTION = cond(v.STRT_SEQ_RST_B_NAME, c.DLY_DELAY);
    refbk::ACTION_OUT(c.A01_C4_ACT_OUT, c.A01_C4_E_TIME, c.A01_C4_R_TIME, 1);
    c.A01_C5_B_ACTION =
        cond(START.V1_STRT_ONE_SHOT,
             bk::OR({v.STRT_SEQ_CMPL_B_NAME, v.STRT_SEQ_OVSPD_B_NAME, v.STRT_SEQ_OVSPD_RST_B_NAME,
                     v.STRT_SEQ_RUN_BK_B_NAME, START.SEMI_AUTO_AND, START.MAN_START_B_NAME, c.A02_STEP_SFC_STEP,
                     SPD_REF.CP_DEV_A_COMPARE}));
    refbk::ACTION_OUT(c.A01_C5_ACT_OUT, c.A01_C5_E_TIME, c.A01_C5_R_TIME, 1);
    c.A02_C4_B_ACTION = cond(bk::OR({c.R_L_OR, HP_LIMTER.H_SER_OK_ONE_SHOT}), c.A01_STEP_SFC_STEP);
    refbk::ACTION_OUT(c.A02_C4_ACT_OUT, c.A02_C4_E_TIME, c.A02_C4_R_TIME, 1);
    c.A02_C5_B_ACTION = cond(c.ZATMAX_ZMINUS1_B, c.A02_C5_RST_1);
    refbk::ACTION_OUT(c.A02_C5_ACT_OUT, c.A02_C5_E_TIME, c.A02_C5_R_TIME, 1);
    c.A03_C3_B_ACTION = bk::OR({v.STRT_SEQ_RST_B_NAME, v.SD_SEQ_SD_B_NAME});
    refbk::ACTION_OUT(c.A03_C3_ACT_OUT, c.A03_C3_E_TIME, c.A03_C3_R_TIME, 1);
    c.A03_C4_B_ACTION = cond(bk::OR({SPDC.A02ASTEP_SFC_STEP, v.STRT_SEQ_TO_IDL1_B_NAME, v.STRT_SEQ_AT_IDL1_B_NAME,
                                     c.DLY_OFF_DELAY}),
                             bk::OR({v.SD_SEQ_NORM_SD_B_NAME, v.STRT_SEQ_RST_B_NAME}));
    refbk::ACTION_OUT(c.A03_C4_ACT_OUT, c.A03_C4_E_TIME, c.A03_C4_R_TIME, 1);

    // Steps.
    const uint32_t any_sd = v.ANY_SD_B_NAME, nsd = v.SD_SEQ_NORM_SD_B_NAME;
    bk::SFC_STEP(s.A00, c.A00_STEP_SFC_STEP, c.A00_STEP_ACTIVETIME, {c.A00_C2_B_ACTION, c.A00_C3_B_ACTION},
                 bk::T160, c.A00_STEP_TRAN_1, c.A00_STEP_TRAN_2);
    bk::SFC_STEP(s.A01, c.A01_STEP_SFC_STEP, c.A01_STEP_ACTIVETIME,
                 {any_sd, nsd, c.A01_C4_B_ACTION, c.A01_C5_B_ACTION}, bk::T160, c.A01_STEP_TRAN_1,
                 c.A01_STEP_TRAN_2, c.A01_STEP_TRAN_3, c.A01_STEP_TRAN_4);
    bk::SFC_STEP(s.A02, c.A02_STEP_SFC_STEP, c.A02_STEP_ACTIVETIME,
                 {any_sd, nsd, c.A02_C4_B_ACTION, c.A02_C5_B_ACTION}, bk::T160, c.A02_STEP_TRAN_1,
                 c.A02_STEP_TRAN_2, c.A02_STEP_TRAN_3, c.A02_STEP_TRAN_4);
    bk::SFC_STEP(s.A03, c.A03_STEP_SFC_STEP, c.A03_STEP_ACTIVETIME, {any_sd, c.A03_C3_B_ACTION, c.A03_C4_B_ACTION},
                 bk::T160, c.A03_STEP_TRAN_1, c.A03_STEP_TRAN_2, c.A03_STEP_TRAN_3);
    s.at_max_z = HP_LIMTER.AT_MAX_OR;
}

void HPLM_commit() {
    auto& c = HPLM;
    auto& s = HPLM_st;
    c.A00_STEP_SFC_STEP =
        bk::SFC_COMMIT(s.A00, {c.A01_STEP_TRAN_1, c.A01_STEP_TRAN_3, c.A02_STEP_TRAN_1, c.A03_STEP_TRAN_1,
                               c.A03_STEP_TRAN_2});
    c.A01_STEP_SFC_STEP =
        bk::SFC_COMMIT(s.A01, {c.A00_STEP_TRAN_2, c.A02_STEP_TRAN_3, c.A02_STEP_TRAN_4, c.A03_STEP_TRAN_3});
    c.A02_STEP_SFC_STEP = bk::SFC_COMMIT(s.A02, {c.A00_STEP_TRAN_1, c.A01_STEP_TRAN_4});
    c.A03_STEP_SFC_STEP = bk::SFC_COMMIT(s.A03, {c.A01_STEP_TRAN_2, c.A02_STEP_TRAN_2});
    c.ZATMAX_ZMINUS1_B = s.at_max_z;
}

}  // namespace r160

void HPLM_init_blks() {
    using namespace cells;
    HPLM.A00_STEP_SFC_STEP = 1;
    HPLM.A01_STEP_SFC_STEP = 0;
    HPLM.A02_STEP_SFC_STEP = 0;
    HPLM.A03_STEP_SFC_STEP = 0;
}
