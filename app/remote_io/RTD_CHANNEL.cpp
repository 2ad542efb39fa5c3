// The remote RTD channel template: settings, sampled function number,
// display value and texts, computed inline once per instance over the
// instance's own cells.
#include "app/remote_io/RTD_CHANNEL.cells.h"

#include <cmath>

#include "app/channel_config.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/instance_table.h"

namespace {

constexpr float kMsPerSecond = 1000.0f;
constexpr float kFahrenheitZero = 32.0f;
constexpr float kCelsiusPerFahrenheit = 0.5555556f;
constexpr float kFahrenheitPerCelsius = 1.8f;
// The function number is stored within 1 .. 15, whatever the candidate.
constexpr int32_t kLowestFunction = 1, kHighestFunction = 15;

// Texts of the function numbers 1 .. 20; another number is not configured.
const char* const kFunctionTexts[20] = {
    "--- Not Used ---",          "Bearing Temperature 1",           "Bearing Temperature 2",
    "Bearing Temperature 3",     "Bearing Temperature 4",           "Inlet Steam Temperature Input",
    "Exhaust Steam Temperature Input", "Lube Oil Temperature",      "Casing Temperature",
    "Temperature Monitoring #1", "Temperature Monitoring #2",       "Temperature Monitoring #3",
    "Temperature Monitoring #4", "Temperature Monitoring #5",       "Temperature Monitoring #6",
    "Temperature Monitoring #7", "Temperature Monitoring #8",       "Spare_18",
    "Spare_19",                  "Spare_20",
};
constexpr const char* kNotConfigured = "Not Configured";

// Hidden state of one instance: the edge memory of the sampled function.
struct RtdChannelVars {
    bk::SampState fun_num;
};
struct RTD_CHANNEL_blocks {
    RtdChannelVars ch[kRtdChannels];
};
BlockRam<RTD_CHANNEL_blocks> RTD_CHANNEL_st;

// ---- instance K's cells in the view of a group --------------------------------------------
#define RTD_CHANNEL_SELECT(NS)                    \
    if constexpr (K == 0) return NS::_ub43;       \
    else if constexpr (K == 1) return NS::_ub44;  \
    else if constexpr (K == 2) return NS::_ub45;  \
    else if constexpr (K == 3) return NS::_ub46;  \
    else if constexpr (K == 4) return NS::_ub47;  \
    else if constexpr (K == 5) return NS::_ub48;  \
    else if constexpr (K == 6) return NS::_ub49;  \
    else return NS::_ub50;

template <int K>
constexpr const auto& ch80() {
    RTD_CHANNEL_SELECT(r80)
}
// The channel texts as the node block reads them when it starts a
// configuration: straight from the channel's cells, without a copy slot
// (they follow only the curve and resistance settings).
template <int K>
constexpr const auto& ch_texts() {
    RTD_CHANNEL_SELECT(cells)
}

template <int K>
void settings() {
    using namespace r80;
    const auto& c = ch80<K>();
    c.CURVE_C_I_NAME = c.CURVE_C_IN;
    c.OHM_C_I_NAME = c.OHM_C_IN;
    bk::S_MUX(c.CURVE_TYPE_S_MUX_N_1, c.CURVE_C_I_NAME, {"E", "A"});
    bk::S_MUX(c.OHM_VAL_S_MUX_N_1, c.OHM_C_I_NAME, {"100", "200"});
    c.OFFSET_A_NAME = c.OFFSET_IN;
    c.GAIN_A_NAME = c.GAIN_IN;
    c.CH_FILTR_A_NAME = c.CH_FILTR_IN;
    c.FLT_DLY_A_NAME = c.FLT_DLY_IN;
    c.SEC_TO_MS_MULTIPLY = c.FLT_DLY_A_NAME * kMsPerSecond;
    c.SEL_DEG_F_B_NAME = CNFG_CAN2.USE_DEG_F_IN;
    c.RANGE_LO_A_NAME = c.RANGE_LO_IN;
    c.RANGE_HI_A_NAME = c.RANGE_HI_IN;
    c.F_TO_C_OUT_1 = (c.RANGE_LO_A_NAME - kFahrenheitZero) * kCelsiusPerFahrenheit;
    c.F_TO_C_OUT_2 = (c.RANGE_HI_A_NAME - kFahrenheitZero) * kCelsiusPerFahrenheit;
    c.LO_SP_IN_C_A_SW = bk::SW<float>(c.SEL_DEG_F_B_NAME, c.RANGE_LO_A_NAME, c.F_TO_C_OUT_1);
    c.HI_SP_IN_C_A_SW = bk::SW<float>(c.SEL_DEG_F_B_NAME, c.RANGE_HI_A_NAME, c.F_TO_C_OUT_2);
}

// The latch fault of the channel block goes in; the function number is taken
// over on a rising sample pulse only while configuration is allowed.
template <int K>
void function(uint32_t latch_or) {
    using namespace r80;
    const auto& c = ch80<K>();
    c.CHN_FLT_B_NAME = latch_or;
    c.CNFG_ENBL_B_NAME = CNFG_CAN2.CNFG_VLTR_B_NAME;
    c.SAMPLE_PULSE_B_NAME = CNFG_CAN2.SAMPL_LIVE_AND;
    c.WIZ_ENA_B_NAME = c.WIZ_ENA_IN;
    c.FUNCT_I_NAME = c.FUNCT_IN;
    c.WIZ_FUNCT_I_NAME = c.WIZ_FUNCT_IN;
    c.I_SW_I_SW = bk::SW<int32_t>(c.WIZ_ENA_B_NAME, c.FUNCT_I_NAME, c.WIZ_FUNCT_I_NAME);
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME != 0, RTD_CHANNEL_st.ch[K].fun_num, CHANNEL_SAMPLED_ITUNE(c, FUN_NUM),
                          c.I_SW_I_SW, c.SAMPLE_PULSE_B_NAME,
                          {bk::kIntLoLim, bk::kIntHiLim, 0, kLowestFunction, kHighestFunction});
    bk::I_COMPARE(c.RTD_USED_EQ, c.RTD_USED_LT, c.RTD_USED_GT, c.FUN_NUM_SAMP_ITUNE, kLowestFunction);
    c.CH_ENBL_B_NAME = c.RTD_USED_GT;
    c.CH_DSBL_B_NAME = c.RTD_USED_EQ;
    c.CHNL_FLT_B_NAME = bk::AND({c.CHN_FLT_B_NAME, c.CH_ENBL_B_NAME});
}

template <int K>
float display(float celsius) {
    using namespace r80;
    const auto& c = ch80<K>();
    c.TEMP_IN_A_NAME = celsius;
    c.TEMP_C_A_NAME = c.TEMP_IN_A_NAME;
    c.C_TO_F_OUT_1 = std::fma(kFahrenheitPerCelsius, c.TEMP_IN_A_NAME, kFahrenheitZero);
    c.TEMP_F_A_NAME = c.C_TO_F_OUT_1;
    return bk::SW<float>(CNFG_CAN2.USE_DEG_F_B_NAME, c.TEMP_C_A_NAME, c.TEMP_F_A_NAME);
}

template <int K>
void texts() {
    const auto& c = ch80<K>();
    c.TAG_S_NAME = c.TAG_IN;
    c.USAGE_S_NAME = c.USAGE_IN;
    c.QT_DECIMALS_I_NAME = c.QT_DECIMALS_IN;
    bk::B_TO_STR(c.ENG_UNIT_B_TO_STR, c.SEL_DEG_F_B_NAME, "Deg C", "Deg F");
    c.FLT_DLY_A_NAME = c.FLT_DLY_IN;
    c.SEC_TO_MS_MULTIPLY = c.FLT_DLY_A_NAME * kMsPerSecond;
    const int32_t f = c.FUN_NUM_SAMP_ITUNE;
    c.FUN_STRG_I_TO_STR = (f >= 1 && f <= 20) ? kFunctionTexts[f - 1] : kNotConfigured;
    c.RTD_MOD_X_I_NAME = c.RTD_MOD_X_IN;
    bk::MUX<float>(c.MOD_MULT_A_NAME, c.RTD_MOD_X_I_NAME, {0.01f, 0.1f, 1.0f, 10.0f, 100.0f});
}

template <int K> float gain() { return ch80<K>().GAIN_A_NAME; }
template <int K> float offset() { return ch80<K>().OFFSET_A_NAME; }
template <int K> float filter() { return ch80<K>().CH_FILTR_A_NAME; }
template <int K> float lo_limit() { return ch80<K>().LO_SP_IN_C_A_SW; }
template <int K> float hi_limit() { return ch80<K>().HI_SP_IN_C_A_SW; }
template <int K> float delay_ms() { return ch80<K>().SEC_TO_MS_MULTIPLY; }
template <int K> uint32_t fault_out() { return ch80<K>().CHNL_FLT_B_NAME; }
template <int K> int32_t function_out() { return ch80<K>().FUN_NUM_SAMP_ITUNE; }
template <int K> float mod_mult() { return ch80<K>().MOD_MULT_A_NAME; }
template <int K> const char* ohm_text() { return ch_texts<K>().OHM_VAL_S_MUX_N_1.c_str(); }
template <int K> const char* curve_text() { return ch_texts<K>().CURVE_TYPE_S_MUX_N_1.c_str(); }

INSTANCE_TABLE(kSettings, void, settings, kRtdChannels)
INSTANCE_TABLE(kTexts, void, texts, kRtdChannels)
INSTANCE_TABLE(kGain, float, gain, kRtdChannels)
INSTANCE_TABLE(kOffset, float, offset, kRtdChannels)
INSTANCE_TABLE(kFilter, float, filter, kRtdChannels)
INSTANCE_TABLE(kLoLimit, float, lo_limit, kRtdChannels)
INSTANCE_TABLE(kHiLimit, float, hi_limit, kRtdChannels)
INSTANCE_TABLE(kDelayMs, float, delay_ms, kRtdChannels)
INSTANCE_TABLE(kFaultOut, uint32_t, fault_out, kRtdChannels)
INSTANCE_TABLE(kFunctionOut, int32_t, function_out, kRtdChannels)
INSTANCE_TABLE(kModMult, float, mod_mult, kRtdChannels)
INSTANCE_TABLE(kOhmText, const char*, ohm_text, kRtdChannels)
INSTANCE_TABLE(kCurveText, const char*, curve_text, kRtdChannels)

template <size_t... K>
constexpr auto function_table(std::index_sequence<K...>) {
    return std::array<void (*)(uint32_t), sizeof...(K)>{&function<static_cast<int>(K)>...};
}
template <size_t... K>
constexpr auto display_table(std::index_sequence<K...>) {
    return std::array<float (*)(float), sizeof...(K)>{&display<static_cast<int>(K)>...};
}
constexpr auto kFunction = function_table(std::make_index_sequence<kRtdChannels>{});
constexpr auto kDisplay = display_table(std::make_index_sequence<kRtdChannels>{});

}  // namespace

namespace r80 {
void RTD_CHANNEL_settings(int k) { kSettings[k](); }
void RTD_CHANNEL_function(int k, uint32_t latch_or) { kFunction[k](latch_or); }
float RTD_CHANNEL_display(int k, float celsius) { return kDisplay[k](celsius); }
void RTD_CHANNEL_texts(int k) { kTexts[k](); }
float RTD_CHANNEL_gain(int k) { return kGain[k](); }
float RTD_CHANNEL_offset(int k) { return kOffset[k](); }
float RTD_CHANNEL_filter(int k) { return kFilter[k](); }
float RTD_CHANNEL_lo_limit(int k) { return kLoLimit[k](); }
float RTD_CHANNEL_hi_limit(int k) { return kHiLimit[k](); }
float RTD_CHANNEL_delay_ms(int k) { return kDelayMs[k](); }
uint32_t RTD_CHANNEL_fault_out(int k) { return kFaultOut[k](); }
int32_t RTD_CHANNEL_function_out(int k) { return kFunctionOut[k](); }
float RTD_CHANNEL_mod_mult(int k) { return kModMult[k](); }
}  // namespace r80

namespace r20 {
const char* RTD_CHANNEL_ohm_text(int k) { return kOhmText[k](); }
const char* RTD_CHANNEL_curve_text(int k) { return kCurveText[k](); }
}  // namespace r20
