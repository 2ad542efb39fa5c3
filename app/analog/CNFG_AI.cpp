// The controller's analog input stages: each pass the stage switches the
// loop supply, calibrates the driver's reading, maps it through the 4/20 mA
// line, and latches a reading that stays outside the plausible band.
#include "app/analog/CNFG_AI.cells.h"

#include <cmath>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/ma_stage.h"
#include "app/control/RESET.cells.h"
#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnCalibration.h"
#include "runtime/appmem.h"
#include "runtime/iogather.h"

namespace {

// Hidden state of a stage: the raw reading, the line and its settings, and
// the two band timers (ms).
struct StageVars {
    float raw;
    MaLine line;
    float hi_timer, lo_timer;
};
struct CNFG_AI_blocks {
    StageVars ch[kAiControllerChannels];
};
BlockRam<CNFG_AI_blocks> CNFG_AI_st;

// The cells of one stage in the 20 ms view.
struct StageCells {
    float &val4, &val20, &lo_sp, &hi_sp, &ai_4_20;
    uint32_t &lo_latch, &hi_latch, &latch_or, &fault;
    const float &gain, &offset, &latdly;
    const int32_t& type_sel;
    const uint32_t& ch_disab;
};

#define CNFG_AI_STAGE_CELLS(N, UB)                                                                          \
    StageCells {                                                                                            \
        CNFG_AI.AI_0##N##_ZARN_VAL_4, CNFG_AI.AI_0##N##_ZARN_VAL_20, CNFG_AI.AI_0##N##_ZARN_LO_SP_MA,        \
            CNFG_AI.AI_0##N##_ZARN_HI_SP_MA, CNFG_AI.AI_0##N##_ZARN_AI_4_20, CNFG_AI.AI_0##N##_ZARN_LO_LATCH, \
            CNFG_AI.AI_0##N##_ZARN_HI_LATCH, CNFG_AI.AI_0##N##_ZARN_LATCH_OR, CNFG_AI.AI_0##N##_ZARN_FAULT,   \
            CNFG_AI.AI_0##N##_GAIN_A_NAME, CNFG_AI.AI_0##N##_OFFSET_A_NAME, CNFG_AI.AI_0##N##_LATDLY_A_NAME,  \
            UB.TYPE_SEL_I_NAME, UB.CH_DISAB_B_NAME                                                          \
    }

StageCells stage_cells(int ch) {
    using namespace r20;
    switch (ch) {
        case 0: return CNFG_AI_STAGE_CELLS(1, _ub6);
        case 1: return CNFG_AI_STAGE_CELLS(2, _ub7);
        case 2: return CNFG_AI_STAGE_CELLS(3, _ub8);
        default: return CNFG_AI_STAGE_CELLS(4, _ub9);
    }
}
#undef CNFG_AI_STAGE_CELLS

}  // namespace

float CNFG_AI_raw_reading(int ch) { return CNFG_AI_st.ch[ch].raw; }

void CNFG_AI_gather() {
    using namespace r20;
    uint32_t* faults[kAiControllerChannels] = {&static_cast<uint32_t&>(CNFG_AI.AI_01_ZARN_FAULT),
                                               &static_cast<uint32_t&>(CNFG_AI.AI_02_ZARN_FAULT),
                                               &static_cast<uint32_t&>(CNFG_AI.AI_03_ZARN_FAULT),
                                               &static_cast<uint32_t&>(CNFG_AI.AI_04_ZARN_FAULT)};
    for (int ch = 0; ch < kAiControllerChannels; ++ch) {
        CNFG_AI_st.ch[ch].raw = static_cast<float>(ReadZarnAnalogIn(static_cast<uint32_t>(ch), faults[ch]));
    }
}

void iogather_R20_analog_inputs() { CNFG_AI_gather(); }

namespace r20 {

void CNFG_AI_stage(int ch) {
    const StageCells c = stage_cells(ch);
    StageVars& v = CNFG_AI_st.ch[ch];
    SetZarnAnalogInsLoopPower(static_cast<uint32_t>(ch), static_cast<uint32_t>(c.type_sel));
    v.line.update(c.val4, c.val20);
    float gain = 1.0f, offset = 0.0f;
    get_cal_mb(0, static_cast<uint32_t>(ch), &gain, &offset);
    float mA = gain * v.raw + offset;
    if (mA < 0.0f) mA = 0.0f;
    c.ai_4_20 = v.line.map(mA) * c.gain + c.offset;
    const uint32_t reset = RESET.RESET_B_NAME;
    ma_band_check(mA >= c.hi_sp, v.hi_timer, c.hi_latch, c.latdly, reset);
    ma_band_check(c.ch_disab == 0 && mA < c.lo_sp, v.lo_timer, c.lo_latch, c.latdly, reset);
    c.latch_or = (c.hi_latch != 0 || c.lo_latch != 0) ? 1u : 0u;
}

}  // namespace r20

namespace r160 {

void CNFG_AI_settings() {
    CNFG_AI.AI_01_GAIN_A_NAME = CNFG_AI.AI_01_GAIN_IN;
    CNFG_AI.AI_01_OFFSET_A_NAME = CNFG_AI.AI_01_OFFSET_IN;
    CNFG_AI.AI_01_LATDLY_A_NAME = CNFG_AI.AI_01_LATDLY_IN;
    CNFG_AI.AI_02_GAIN_A_NAME = CNFG_AI.AI_02_GAIN_IN;
    CNFG_AI.AI_02_OFFSET_A_NAME = CNFG_AI.AI_02_OFFSET_IN;
    CNFG_AI.AI_02_LATDLY_A_NAME = CNFG_AI.AI_02_LATDLY_IN;
    CNFG_AI.AI_03_GAIN_A_NAME = CNFG_AI.AI_03_GAIN_IN;
    CNFG_AI.AI_03_OFFSET_A_NAME = CNFG_AI.AI_03_OFFSET_IN;
    CNFG_AI.AI_03_LATDLY_A_NAME = CNFG_AI.AI_03_LATDLY_IN;
    CNFG_AI.AI_04_GAIN_A_NAME = CNFG_AI.AI_04_GAIN_IN;
    CNFG_AI.AI_04_OFFSET_A_NAME = CNFG_AI.AI_04_OFFSET_IN;
    CNFG_AI.AI_04_LATDLY_A_NAME = CNFG_AI.AI_04_LATDLY_IN;
    CNFG_AI.WIZFUN_AI_CH1_I_NAME = CNFG_AI.WIZFUN_AI_CH1_IN;
    CNFG_AI.WIZFUN_AI_CH2_I_NAME = CNFG_AI.WIZFUN_AI_CH2_IN;
    CNFG_AI.WIZFUN_AI_CH3_I_NAME = CNFG_AI.WIZFUN_AI_CH3_IN;
    CNFG_AI.WIZFUN_AI_CH4_I_NAME = CNFG_AI.WIZFUN_AI_CH4_IN;
}

}  // namespace r160
