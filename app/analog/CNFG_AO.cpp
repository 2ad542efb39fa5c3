// Hardware stages of the controller's analog outputs 1 .. 3: each 20 ms pass
// converts and checks the readbacks the gather brought (they answer the
// demand of the previous pass), then scales, limits and calibrates the
// channel's milliamp signal into the PWM count the next gather writes.
#include "app/analog/CNFG_AO.cells.h"

#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/ma_output.h"
#include "drivers/ZarnActuator.h"
#include "drivers/ZarnAnalogOuts.h"
#include "drivers/ZarnCalibration.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/iogather.h"

namespace {

// Output k is hardware output 4 + k, read back on driver channel 3 + k and
// calibrated with pair 11 + k.
constexpr uint32_t kFirstOutput = 4;
constexpr uint32_t kFirstReadback = 3;
constexpr uint32_t kFirstCalPair = kCalPairAnalogOut1 + 3;
constexpr float kMaxMa = 27.5f;
constexpr float kMaxCount = 15644.476f;
constexpr float kCountsPerMa = 568.89f;

// Hidden state of a stage: the limits last seen, the clamps derived from
// them and the count for the gather.
struct StageVars {
    MaOutputClamps clamps;
    float count;
};
struct CNFG_AO_blocks {
    StageVars out[kAoControllerOutputs];
};
BlockRam<CNFG_AO_blocks> CNFG_AO_st;

struct StageCells {
    const float& ma_signal;
    const float &min_cur, &max_cur;
    const uint32_t& sd;
    float &display, &rdbk_src, &rdbk_ret;
    uint32_t &rb_src_flt, &rb_ret_flt;
    const float &gain, &offset;
    float &ma, &rdbk;
    uint32_t &rdbk_flt, &src_flt;
};

#define CNFG_AO_STAGE_CELLS(N, UB)                                                                          \
    StageCells {                                                                                            \
        UB.MA_SIGNAL_A_NAME, CNFG_AO.AO_0##N##_ZARN_MIN_CUR, CNFG_AO.AO_0##N##_ZARN_MAX_CUR,                 \
            CNFG_AO.AO_0##N##_ZARN_SD, CNFG_AO.AO_0##N##_ZARN_DISPLAY, CNFG_AO.AO_0##N##_ZARN_RDBK_SRC,      \
            CNFG_AO.AO_0##N##_ZARN_RDBK_RET, CNFG_AO.AO_0##N##_ZARN_RB_SRC_FLT,                              \
            CNFG_AO.AO_0##N##_ZARN_RB_RET_FLT, CNFG_AO.AO_0##N##_GAIN_A_NAME, CNFG_AO.AO_0##N##_OFFSET_A_NAME, \
            CNFG_AO.AO_0##N##_MA_A_NAME, CNFG_AO.AO_0##N##_RDBK_A_NAME, CNFG_AO.AO_0##N##_RDBK_FLT_B_NAME,   \
            CNFG_AO.AO_0##N##_SRC_FLT_B_NAME                                                                \
    }

StageCells stage_cells(int k) {
    using namespace r20;
    switch (k) {
        case 0: return CNFG_AO_STAGE_CELLS(1, _ub10);
        case 1: return CNFG_AO_STAGE_CELLS(2, _ub11);
        default: return CNFG_AO_STAGE_CELLS(3, _ub12);
    }
}
#undef CNFG_AO_STAGE_CELLS

}  // namespace

void CNFG_AO_init_blks() {
    for (uint32_t ch = kFirstReadback; ch < kFirstReadback + kAoControllerOutputs; ++ch) {
        stZarnActData[ch].Command = 0;
        stZarnActData[ch].Rategroup = 20;
        stZarnActData[ch].Shutdown = 0;
    }
}

double CNFG_AO_count(int k) { return CNFG_AO_st.out[k].count; }

// The 20 ms gather: for each output the readbacks of its driver channel,
// then the count of the last pass.
void iogather_R20_analog_outputs() {
    for (uint32_t k = 0; k < kAoControllerOutputs; ++k) {
        GatherZarnSrcRetReadback(kFirstReadback + k);
        WriteAnalogOut(kFirstOutput + k, CNFG_AO_st.out[k].count);
    }
}

namespace r20 {

void CNFG_AO_output(int k) {
    const StageCells c = stage_cells(k);
    StageVars& v = CNFG_AO_st.out[k];
    const uint32_t ch = kFirstReadback + static_cast<uint32_t>(k);
    ZarnActChannel& rec = stZarnActData[ch];

    CalcZarnSrcRetReadback(ch);
    CheckZarnSrcRetReadbackFaults(ch);
    c.rdbk_src = rec.FiltSrcRbMa;
    c.rdbk_ret = rec.FiltRtnRbMa;
    c.rb_src_flt = rec.SourceRbErr == 1 ? 1u : 0u;
    c.rb_ret_flt = rec.ReturnRbErr == 1 ? 1u : 0u;

    v.clamps.update(c.min_cur, c.max_cur, kMaxMa);
    c.display = c.ma_signal;
    float current = c.ma_signal * c.gain + c.offset;
    current = current * 1.0f + 0.0f;
    current = bk::A_LIMITER(current, v.clamps.lo, v.clamps.hi);
    if (c.sd == 1) {
        current = 0.0f;
        rec.Shutdown = 1;
    } else {
        rec.Shutdown = 0;
    }
    rec.MaDemand = current;
    rec.MaDemandwDither = current;

    float gain = 1.0f, offset = 0.0f;
    get_cal_mb(0, kFirstCalPair + static_cast<uint32_t>(k), &gain, &offset);
    const float calibrated = current * gain + offset;
    if (calibrated < 0.0f) v.count = 0.0f;
    else if (calibrated > kMaxMa) v.count = kMaxCount;
    else v.count = calibrated * kCountsPerMa;

    c.ma = c.display;
    c.rdbk = c.rdbk_ret;
    c.rdbk_flt = c.rb_ret_flt;
    c.src_flt = c.rb_src_flt;
}

}  // namespace r20

namespace r160 {

void CNFG_AO_wizard() {
    CNFG_AO.WIZFUN_AO_CH1_I_NAME = CNFG_AO.WIZFUN_AO_CH1_IN;
    CNFG_AO.WIZFUN_AO_CH2_I_NAME = CNFG_AO.WIZFUN_AO_CH2_IN;
    CNFG_AO.WIZFUN_AO_CH3_I_NAME = CNFG_AO.WIZFUN_AO_CH3_IN;
    CNFG_AO.AO_FORCE_RATE_A_NAME = CNFG_AO.AO_FORCE_RATE_IN;
}

void CNFG_AO_settings(int k) {
    switch (k) {
        case 0:
            CNFG_AO.AO_01_GAIN_A_NAME = CNFG_AO.AO_01_GAIN_IN;
            CNFG_AO.AO_01_OFFSET_A_NAME = CNFG_AO.AO_01_OFFSET_IN;
            break;
        case 1:
            CNFG_AO.AO_02_GAIN_A_NAME = CNFG_AO.AO_02_GAIN_IN;
            CNFG_AO.AO_02_OFFSET_A_NAME = CNFG_AO.AO_02_OFFSET_IN;
            break;
        default:
            CNFG_AO.AO_03_GAIN_A_NAME = CNFG_AO.AO_03_GAIN_IN;
            CNFG_AO.AO_03_OFFSET_A_NAME = CNFG_AO.AO_03_OFFSET_IN;
            break;
    }
}

}  // namespace r160
