// The analog input channel template: scaling, filters and fault of the run
// part (20 ms) and the sampled configuration (160 ms), computed inline once
// per instance over the instance's own cells.
#include "app/analog/AI_CHANNEL.cells.h"

#include <cmath>

#include "app/analog/CNFG_AI.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/channel_config.h"
#include "app/config/CNFG_WIZ.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/analog/VL1_AIO.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/instance_table.h"
#include "runtime/rgtask.h"

namespace {

// Hidden state of one instance: the previous inputs of the two filters and
// the edge memories of the three sampled tunables.
struct AiChannelVars {
    bk::LagState value_lag;
    bk::LagState pct_lag;
    bk::SampState fun_num;
    bk::SampState min;
    bk::SampState max;
};
struct AI_CHANNEL_blocks {
    AiChannelVars ch[kAiChannels];
};
BlockRam<AI_CHANNEL_blocks> AI_CHANNEL_st;

// Texts of the function numbers 1 .. 20.
const char* const kFunctionTexts[20] = {
    "--- Not Used ---",       "Remote Speed Setpoint",  "Process/Cascade Input",      "Remote Process Setpoint",
    "Vibration Input #1",     "Vibration Input #2",     "Vibration Input #3",         "Vibration Input #4",
    "Bearing Temperature #1", "Bearing Temperature #2", "Bearing Temperature #3",     "Bearing Temperature #4",
    "Signal Monitoring #1",   "Signal Monitoring #2",   "Signal Monitoring #3",       "HP Valve Feedback Position",
    "Spare 17",               "Spare 18",               "Spare 19",                   "Spare 20",
};

// ---- instance K's cells in the view of a group --------------------------------------
#define AI_CHANNEL_SELECT(NS)                                                    \
    if constexpr (K == 0) return NS::_ub6;                                       \
    else if constexpr (K == 1) return NS::_ub7;                                  \
    else if constexpr (K == 2) return NS::_ub8;                                  \
    else if constexpr (K == 3) return NS::_ub9;                                  \
    else if constexpr (K == 4) return NS::_ub33;                                 \
    else if constexpr (K == 5) return NS::_ub34;                                 \
    else if constexpr (K == 6) return NS::_ub35;                                 \
    else if constexpr (K == 7) return NS::_ub36;                                 \
    else if constexpr (K == 8) return NS::_ub37;                                 \
    else if constexpr (K == 9) return NS::_ub38;                                 \
    else if constexpr (K == 10) return NS::_ub39;                                \
    else return NS::_ub40;

template <int K>
constexpr const auto& ch20() {
    AI_CHANNEL_SELECT(r20)
}
template <int K>
constexpr const auto& ch160() {
    AI_CHANNEL_SELECT(r160)
}
#undef AI_CHANNEL_SELECT

constexpr bool controller(int k) { return k < kAiControllerChannels; }

// The input stage in front of instance K: its milliamperes and raw fault.
struct StageOut {
    float current;
    uint32_t fault;
};
#define AI_CHANNEL_STAGE(BLOCK, MA) {BLOCK##_##MA, BLOCK##_LATCH_OR}
template <int K>
StageOut stage() {
    using namespace r20;
    if constexpr (K == 0) return AI_CHANNEL_STAGE(CNFG_AI.AI_01_ZARN, AI_4_20);
    else if constexpr (K == 1) return AI_CHANNEL_STAGE(CNFG_AI.AI_02_ZARN, AI_4_20);
    else if constexpr (K == 2) return AI_CHANNEL_STAGE(CNFG_AI.AI_03_ZARN, AI_4_20);
    else if constexpr (K == 3) return AI_CHANNEL_STAGE(CNFG_AI.AI_04_ZARN, AI_4_20);
    else if constexpr (K == 4) return AI_CHANNEL_STAGE(VL1_AIO.AI_1, VL_AI);
    else if constexpr (K == 5) return AI_CHANNEL_STAGE(VL1_AIO.AI_2, VL_AI);
    else if constexpr (K == 6) return AI_CHANNEL_STAGE(VL1_AIO.AI_3, VL_AI);
    else if constexpr (K == 7) return AI_CHANNEL_STAGE(VL1_AIO.AI_4, VL_AI);
    else if constexpr (K == 8) return AI_CHANNEL_STAGE(VL1_AIO.AI_5, VL_AI);
    else if constexpr (K == 9) return AI_CHANNEL_STAGE(VL1_AIO.AI_6, VL_AI);
    else if constexpr (K == 10) return AI_CHANNEL_STAGE(VL1_AIO.AI_7, VL_AI);
    else return AI_CHANNEL_STAGE(VL1_AIO.AI_8, VL_AI);
}
#undef AI_CHANNEL_STAGE

// Configuration inputs of instance K (160 ms).
template <int K>
chan::ConfigIn config_in() {
    using namespace r160;
    if constexpr (controller(K)) {
        int32_t wiz = 0;
        if constexpr (K == 0) wiz = CNFG_AI.WIZFUN_AI_CH1_I_NAME;
        else if constexpr (K == 1) wiz = CNFG_AI.WIZFUN_AI_CH2_I_NAME;
        else if constexpr (K == 2) wiz = CNFG_AI.WIZFUN_AI_CH3_I_NAME;
        else wiz = CNFG_AI.WIZFUN_AI_CH4_I_NAME;
        return {MASTER.IO_LOCK_OR_PWR_B_NAME, CALMODE.CFG_SAMPL_OK_B_NAME, CNFG_WIZ.WIZARD_B_NAME, wiz};
    } else {
        const auto& c = ch160<K>();
        return {CNFG_CAN2.CNFG_VLTR_B_NAME, CNFG_CAN2.SAMPL_LIVE_AND, c.WIZ_ENA_IN, c.WIZ_FUNCT_IN};
    }
}

// ---- run part --------------------------------------------------------------------------
template <int K>
void fault() {
    const auto& c = ch20<K>();
    c.CHN_FLT_B_NAME = stage<K>().fault;
    c.AI_FLT_AND = bk::AND({c.CHN_FLT_B_NAME, c.CH_ENABL_B_NAME});
    c.CHNL_FLT_B_NAME = c.AI_FLT_AND;
}

// A non-finite scaling result reads 0.0 and latches the scaling alarm.
inline float finite_or_alarm(float x, uint32_t& alarm) {
    if (std::isfinite(x)) return x;
    alarm = 1;
    return 0.0f;
}

template <int K>
void scale() {
    const auto& c = ch20<K>();
    c.MA_A_NAME = stage<K>().current;
    const float x = (static_cast<float>(c.MA_A_NAME) - 4.0f) * 0.0625f;
    const float mn = c.MIN_SAMP_TUNE;
    const float mx = c.MAX_SAMP_TUNE;
    uint32_t& alarm = c.SCALED_ALM;
    c.SCALED_A_OUT_1 = finite_or_alarm(std::fma(mx - mn, x, mn), alarm);
    c.SCALED_A_OUT_2 = finite_or_alarm(x, alarm);
    c.SCALED_A_OUT_3 = finite_or_alarm(100.0f * x, alarm);
}

template <int K>
void value_filter() {
    const auto& c = ch20<K>();
    bk::LAG(AI_CHANNEL_st.ch[K].value_lag, c.AI_LAG_LAG_2, &static_cast<float&>(c.AI_LAG_DERIV), c.SCALED_A_OUT_1,
            c.CH_FILTR_A_NAME, bk::T20);
    c.VALUE_A_NAME = c.AI_LAG_LAG_2;
}

template <int K>
void pct_filter() {
    const auto& c = ch20<K>();
    bk::LAG(AI_CHANNEL_st.ch[K].pct_lag, c.AI_PCT_LAG_LAG_2, &static_cast<float&>(c.AI_PCT_LAG_DERIV),
            c.SCALED_A_OUT_3, c.CH_FILTR_A_NAME, bk::T20);
    c.PCT_A_NAME = c.AI_PCT_LAG_LAG_2;
}

template <int K>
int32_t function_in_force() {
    return ch20<K>().FUN_NUM_SAMP_ITUNE;
}
template <int K>
float value_out() {
    return ch20<K>().VALUE_A_NAME;
}
template <int K>
float pct_out() {
    return ch20<K>().PCT_A_NAME;
}
template <int K>
uint32_t fault_out() {
    return ch20<K>().CHNL_FLT_B_NAME;
}

// ---- configuration part ------------------------------------------------------------------
template <int K>
void function_number() {
    const auto& c = ch160<K>();
    chan::choose_function(config_in<K>(), CHANNEL_FUNCTION_CHOICE(c, CNFG_ENBL, FUNCT, I_SW));
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME != 0, AI_CHANNEL_st.ch[K].fun_num, CHANNEL_SAMPLED_ITUNE(c, FUN_NUM),
                          c.I_SW_I_SW, c.SAMPLE_PULSE_B_NAME, {bk::kIntLoLim, bk::kIntHiLim, 0, 1, 20});
    bk::I_COMPARE(c.AI_USED_EQ, c.AI_USED_LT, c.AI_USED_GT, c.FUN_NUM_SAMP_ITUNE, 1);
    c.CH_DISAB_B_NAME = c.AI_USED_EQ;
    c.CH_ENABL_B_NAME = c.AI_USED_GT;
    const int32_t f = c.FUN_NUM_SAMP_ITUNE;
    c.FUN_STRG_I_TO_STR = (f >= 1 && f <= 20) ? kFunctionTexts[f - 1] : "Not Configured";
}

// The range ends, each sampled from its entered value.
template <int K>
void range() {
    const auto& c = ch160<K>();
    AiChannelVars& v = AI_CHANNEL_st.ch[K];
    c.RANGE_LO_A_NAME = c.RANGE_LO_IN;
    chan::sample<float>(c.CNFG_ENBL_B_NAME != 0, v.min, CHANNEL_SAMPLED_TUNE(c, MIN), c.RANGE_LO_IN,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
    c.RANGE_HI_A_NAME = c.RANGE_HI_IN;
    chan::sample<float>(c.CNFG_ENBL_B_NAME != 0, v.max, CHANNEL_SAMPLED_TUNE(c, MAX), c.RANGE_HI_IN,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
}

template <int K>
void modbus() {
    const auto& c = ch160<K>();
    c.AI_MOD_X_I_NAME = c.AI_MOD_X_IN;
    bk::MUX<float>(c.AI_MOD_SCALE_A_MUX_N_1, c.AI_MOD_X_I_NAME, {0.01f, 0.1f, 1.0f, 10.0f, 100.0f});
    c.MOD_MULT_A_NAME = c.AI_MOD_SCALE_A_MUX_N_1;
    c.QT_DECIMALS_I_NAME = c.QT_DECIMALS_IN;
}

template <int K>
void texts() {
    const auto& c = ch160<K>();
    c.LOOP_PWR_B_NAME = c.LOOP_PWR_IN;
    c.AI_TYPE_SEL_I_SW = c.LOOP_PWR_B_NAME != 0 ? 2 : 1;
    c.TYPE_SEL_I_NAME = c.AI_TYPE_SEL_I_SW;
    c.CH_FILTR_A_NAME = c.CH_FILTR_IN;
    c.TAG_S_NAME = c.TAG_IN;
    c.USAGE_S_NAME = c.USAGE_IN;
    c.ENG_UNIT_S_NAME = c.ENG_UNIT_IN;
}

template <int K>
void init_blks() {
    const auto& c = ch160<K>();
    c.FUN_NUM_SAMP_ITUNE = c.FUN_NUM_TUNE;
    c.MIN_SAMP_TUNE = c.MIN_TUNE;
    c.MAX_SAMP_TUNE = c.MAX_TUNE;
}

// ---- per-instance tables -----------------------------------------------------------------
INSTANCE_TABLE(kFault, void, fault, kAiChannels)
INSTANCE_TABLE(kScale, void, scale, kAiChannels)
INSTANCE_TABLE(kValueFilter, void, value_filter, kAiChannels)
INSTANCE_TABLE(kPctFilter, void, pct_filter, kAiChannels)
// A node channel's function number comes through the node's function list.
INSTANCE_TABLE(kFunctionInForce, int32_t, function_in_force, kAiControllerChannels)
INSTANCE_TABLE(kValueOut, float, value_out, kAiChannels)
INSTANCE_TABLE(kPctOut, float, pct_out, kAiChannels)
INSTANCE_TABLE(kFaultOut, uint32_t, fault_out, kAiChannels)
INSTANCE_TABLE(kFunctionNumber, void, function_number, kAiChannels)
INSTANCE_TABLE(kRange, void, range, kAiChannels)
INSTANCE_TABLE(kModbus, void, modbus, kAiChannels)
INSTANCE_TABLE(kTexts, void, texts, kAiChannels)
INSTANCE_TABLE(kInitBlks, void, init_blks, kAiChannels)

}  // namespace

void AI_CHANNEL_init_blks() {
    for (auto f : kInitBlks) f();
}

namespace r20 {
void AI_CHANNEL_fault(int k) { kFault[k](); }
void AI_CHANNEL_scale(int k) { kScale[k](); }
void AI_CHANNEL_value_filter(int k) { kValueFilter[k](); }
void AI_CHANNEL_pct_filter(int k) { kPctFilter[k](); }
int32_t AI_CHANNEL_function(int k) { return kFunctionInForce[k](); }
float AI_CHANNEL_value(int k) { return kValueOut[k](); }
float AI_CHANNEL_percent(int k) { return kPctOut[k](); }
uint32_t AI_CHANNEL_fault_out(int k) { return kFaultOut[k](); }
}  // namespace r20

namespace r160 {
void AI_CHANNEL_function_number(int k) { kFunctionNumber[k](); }
void AI_CHANNEL_range(int k) { kRange[k](); }
void AI_CHANNEL_modbus(int k) { kModbus[k](); }
void AI_CHANNEL_texts(int k) { kTexts[k](); }
}  // namespace r160

