// The analog function mux: each pass clears the function slots and writes
// every channel's value, percentage and fault into the slot of the channel's
// function number (1 .. 20; any other number writes nothing, and of two
// channels with the same number the later one stands).
#include "app/analog/AI_MUX.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"

namespace r20 {
namespace {

constexpr int kSlots = 20;
constexpr int kNodeChannels = kAiChannels - kAiControllerChannels;

constexpr const cat::Cell<float>* Amux_AI_MUX_AI_MUX_53[kSlots] = {
    &AI_MUX.AI_MUX_OUT_1,
    &AI_MUX.AI_MUX_OUT_2,
    &AI_MUX.AI_MUX_OUT_3,
    &AI_MUX.AI_MUX_OUT_4,
    &AI_MUX.AI_MUX_OUT_5,
    &AI_MUX.AI_MUX_OUT_6,
    &AI_MUX.AI_MUX_OUT_7,
    &AI_MUX.AI_MUX_OUT_8,
    &AI_MUX.AI_MUX_OUT_9,
    &AI_MUX.AI_MUX_OUT_10,
    &AI_MUX.AI_MUX_OUT_11,
    &AI_MUX.AI_MUX_OUT_12,
    &AI_MUX.AI_MUX_OUT_13,
    &AI_MUX.AI_MUX_OUT_14,
    &AI_MUX.AI_MUX_OUT_15,
    &AI_MUX.AI_MUX_OUT_16,
    &AI_MUX.AI_MUX_OUT_17,
    &AI_MUX.AI_MUX_OUT_18,
    &AI_MUX.AI_MUX_OUT_19,
    &AI_MUX.AI_MUX_OUT_20,
};
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_PERCENT_55[kSlots] = {
    &AI_MUX.AI_PERCENT_OUT_1,
    &AI_MUX.AI_PERCENT_OUT_2,
    &AI_MUX.AI_PERCENT_OUT_3,
    &AI_MUX.AI_PERCENT_OUT_4,
    &AI_MUX.AI_PERCENT_OUT_5,
    &AI_MUX.AI_PERCENT_OUT_6,
    &AI_MUX.AI_PERCENT_OUT_7,
    &AI_MUX.AI_PERCENT_OUT_8,
    &AI_MUX.AI_PERCENT_OUT_9,
    &AI_MUX.AI_PERCENT_OUT_10,
    &AI_MUX.AI_PERCENT_OUT_11,
    &AI_MUX.AI_PERCENT_OUT_12,
    &AI_MUX.AI_PERCENT_OUT_13,
    &AI_MUX.AI_PERCENT_OUT_14,
    &AI_MUX.AI_PERCENT_OUT_15,
    &AI_MUX.AI_PERCENT_OUT_16,
    &AI_MUX.AI_PERCENT_OUT_17,
    &AI_MUX.AI_PERCENT_OUT_18,
    &AI_MUX.AI_PERCENT_OUT_19,
    &AI_MUX.AI_PERCENT_OUT_20,
};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_FLTS_30[kSlots] = {
    &AI_MUX.AI_FLTS_OUT_1,
    &AI_MUX.AI_FLTS_OUT_2,
    &AI_MUX.AI_FLTS_OUT_3,
    &AI_MUX.AI_FLTS_OUT_4,
    &AI_MUX.AI_FLTS_OUT_5,
    &AI_MUX.AI_FLTS_OUT_6,
    &AI_MUX.AI_FLTS_OUT_7,
    &AI_MUX.AI_FLTS_OUT_8,
    &AI_MUX.AI_FLTS_OUT_9,
    &AI_MUX.AI_FLTS_OUT_10,
    &AI_MUX.AI_FLTS_OUT_11,
    &AI_MUX.AI_FLTS_OUT_12,
    &AI_MUX.AI_FLTS_OUT_13,
    &AI_MUX.AI_FLTS_OUT_14,
    &AI_MUX.AI_FLTS_OUT_15,
    &AI_MUX.AI_FLTS_OUT_16,
    &AI_MUX.AI_FLTS_OUT_17,
    &AI_MUX.AI_FLTS_OUT_18,
    &AI_MUX.AI_FLTS_OUT_19,
    &AI_MUX.AI_FLTS_OUT_20,
};

// Writes `value` into slot `f` of `table`; a number outside 1 .. 20 writes
// nothing.
template <class T, class V>
void route(const cat::Cell<T>* const (&table)[kSlots], int32_t f, V value) {
    if (f >= 1 && f <= kSlots) *table[f - 1] = static_cast<T>(value);
}

template <class T>
void clear(const cat::Cell<T>* const (&table)[kSlots]) {
    for (const cat::Cell<T>* c : table) *c = T{};
}

// The function numbers of the remote node's channels (160 ms, through the
// node's list).
int32_t node_function(int n) {
    switch (n) {
        case 0: return VLTR_OUTS.VL_AI_FUNCT_LIST_1;
        case 1: return VLTR_OUTS.VL_AI_FUNCT_LIST_2;
        case 2: return VLTR_OUTS.VL_AI_FUNCT_LIST_3;
        case 3: return VLTR_OUTS.VL_AI_FUNCT_LIST_4;
        case 4: return VLTR_OUTS.VL_AI_FUNCT_LIST_5;
        case 5: return VLTR_OUTS.VL_AI_FUNCT_LIST_6;
        case 6: return VLTR_OUTS.VL_AI_FUNCT_LIST_7;
        default: return VLTR_OUTS.VL_AI_FUNCT_LIST_8;
    }
}

constexpr const cat::Cell<float>* kNodeValues[16] = {
    &VLTR_OUTS.VL_AINS_LIST_1,
    &VLTR_OUTS.VL_AINS_LIST_2,
    &VLTR_OUTS.VL_AINS_LIST_3,
    &VLTR_OUTS.VL_AINS_LIST_4,
    &VLTR_OUTS.VL_AINS_LIST_5,
    &VLTR_OUTS.VL_AINS_LIST_6,
    &VLTR_OUTS.VL_AINS_LIST_7,
    &VLTR_OUTS.VL_AINS_LIST_8,
    &VLTR_OUTS.VL_AINS_LIST_9,
    &VLTR_OUTS.VL_AINS_LIST_10,
    &VLTR_OUTS.VL_AINS_LIST_11,
    &VLTR_OUTS.VL_AINS_LIST_12,
    &VLTR_OUTS.VL_AINS_LIST_13,
    &VLTR_OUTS.VL_AINS_LIST_14,
    &VLTR_OUTS.VL_AINS_LIST_15,
    &VLTR_OUTS.VL_AINS_LIST_16
};
constexpr const cat::Cell<uint32_t>* kNodeFaults[16] = {
    &VLTR_OUTS.VL_AI_FLTS_LIST_1,
    &VLTR_OUTS.VL_AI_FLTS_LIST_2,
    &VLTR_OUTS.VL_AI_FLTS_LIST_3,
    &VLTR_OUTS.VL_AI_FLTS_LIST_4,
    &VLTR_OUTS.VL_AI_FLTS_LIST_5,
    &VLTR_OUTS.VL_AI_FLTS_LIST_6,
    &VLTR_OUTS.VL_AI_FLTS_LIST_7,
    &VLTR_OUTS.VL_AI_FLTS_LIST_8,
    &VLTR_OUTS.VL_AI_FLTS_LIST_9,
    &VLTR_OUTS.VL_AI_FLTS_LIST_10,
    &VLTR_OUTS.VL_AI_FLTS_LIST_11,
    &VLTR_OUTS.VL_AI_FLTS_LIST_12,
    &VLTR_OUTS.VL_AI_FLTS_LIST_13,
    &VLTR_OUTS.VL_AI_FLTS_LIST_14,
    &VLTR_OUTS.VL_AI_FLTS_LIST_15,
    &VLTR_OUTS.VL_AI_FLTS_LIST_16
};

}  // namespace

void AI_MUX_faults() {
    for (int n = 0; n < kNodeChannels; ++n) *kNodeFaults[n] = AI_CHANNEL_fault_out(kAiControllerChannels + n);
    for (int n = kNodeChannels; n < 16; ++n) *kNodeFaults[n] = 0u;
    clear(Bmux_AI_MUX_AI_FLTS_30);
    route(Bmux_AI_MUX_AI_FLTS_30, AI_MUX.AI_FLTS_SEL_1, 0u);
    for (int k = 0; k < kAiControllerChannels; ++k)
        route(Bmux_AI_MUX_AI_FLTS_30, AI_CHANNEL_function(k), AI_CHANNEL_fault_out(k));
    for (int n = 0; n < kNodeChannels; ++n)
        route(Bmux_AI_MUX_AI_FLTS_30, node_function(n), static_cast<uint32_t>(*kNodeFaults[n]));
}

void AI_MUX_spare_faults() {
    AI_MUX.AI17_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_17;
    AI_MUX.AI18_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_18;
    AI_MUX.AI19_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_19;
    AI_MUX.AI20_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_20;
}

void AI_MUX_node_values() {
    for (int n = 0; n < kNodeChannels; ++n) *kNodeValues[n] = AI_CHANNEL_value(kAiControllerChannels + n);
    for (int n = kNodeChannels; n < 16; ++n) *kNodeValues[n] = 0.0f;
}

void AI_MUX_values() {
    clear(Amux_AI_MUX_AI_MUX_53);
    route(Amux_AI_MUX_AI_MUX_53, AI_MUX.AI_MUX_SEL_1, 0.0f);
    for (int k = 0; k < kAiControllerChannels; ++k)
        route(Amux_AI_MUX_AI_MUX_53, AI_CHANNEL_function(k), AI_CHANNEL_value(k));
    for (int n = 0; n < kNodeChannels; ++n)
        route(Amux_AI_MUX_AI_MUX_53, node_function(n), static_cast<float>(*kNodeValues[n]));
}

void AI_MUX_percents() {
    clear(Amux_AI_MUX_AI_PERCENT_55);
    for (int k = 0; k < kAiControllerChannels; ++k)
        route(Amux_AI_MUX_AI_PERCENT_55, AI_CHANNEL_function(k), AI_CHANNEL_percent(k));
}

void AI_MUX_copies_a() {
    AI_MUX.RMT_SPD_SP_A_NAME = AI_MUX.AI_MUX_OUT_2;
    AI_MUX.RMT_SPD_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_2;
    AI_MUX.RMT_SPD_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_2;
    AI_MUX.CASC_IN_A_NAME = AI_MUX.AI_MUX_OUT_3;
    AI_MUX.CASC_IN_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_3;
    AI_MUX.CASC_IN_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_3;
    AI_MUX.RMT_CASC_SP_A_NAME = AI_MUX.AI_MUX_OUT_4;
    AI_MUX.RMT_CASC_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_4;
    AI_MUX.RMT_CASC_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_4;
    AI_MUX.BEARTEMP1_A_NAME = AI_MUX.AI_MUX_OUT_9;
    AI_MUX.BTEMP1_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_9;
    AI_MUX.BTEMP1_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_9;
    AI_MUX.BEARTEMP2_A_NAME = AI_MUX.AI_MUX_OUT_10;
    AI_MUX.BTEMP2_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_10;
    AI_MUX.BTEMP2_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_10;
    AI_MUX.BEARTEMP3_A_NAME = AI_MUX.AI_MUX_OUT_11;
    AI_MUX.BTEMP3_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_11;
    AI_MUX.BTEMP3_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_11;
    AI_MUX.BEARTEMP4_A_NAME = AI_MUX.AI_MUX_OUT_12;
    AI_MUX.BTEMP4_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_12;
    AI_MUX.BTEMP4_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_12;
    AI_MUX.SIG_MON_1_A_NAME = AI_MUX.AI_MUX_OUT_13;
    AI_MUX.SIG_MON_1_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_13;
    AI_MUX.SIG_MON_1_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_13;
    AI_MUX.SIG_MON_2_A_NAME = AI_MUX.AI_MUX_OUT_14;
    AI_MUX.SIG_MON_2_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_14;
    AI_MUX.SIG_MON_2_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_14;
    AI_MUX.SIG_MON_3_A_NAME = AI_MUX.AI_MUX_OUT_15;
    AI_MUX.SIG_MON_3_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_15;
    AI_MUX.SIG_MON_3_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_15;
    AI_MUX.HP_FDBK_A_NAME = AI_MUX.AI_MUX_OUT_16;
    AI_MUX.HP_FDBK_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_16;
    AI_MUX.HP_RDBK_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_16;
    AI_MUX.SPARE17_A_NAME = AI_MUX.AI_MUX_OUT_17;
    AI_MUX.SPARE17_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_17;
    AI_MUX.SPARE18_A_NAME = AI_MUX.AI_MUX_OUT_18;
    AI_MUX.SPARE18_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_18;
}

void AI_MUX_copies_b() {
    AI_MUX.VIB_IN1_A_NAME = AI_MUX.AI_MUX_OUT_5;
    AI_MUX.VIB_IN1_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_5;
    AI_MUX.VIB_IN1_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_5;
    AI_MUX.VIB_IN2_A_NAME = AI_MUX.AI_MUX_OUT_6;
    AI_MUX.VIB_IN2_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_6;
    AI_MUX.VIB_IN2_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_6;
    AI_MUX.VIB_IN3_A_NAME = AI_MUX.AI_MUX_OUT_7;
    AI_MUX.VIB_IN3_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_7;
    AI_MUX.VIB_IN3_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_7;
    AI_MUX.VIB_IN4_A_NAME = AI_MUX.AI_MUX_OUT_8;
    AI_MUX.VIB_IN4_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_8;
    AI_MUX.VIB_IN4_FLT_B_NAME = AI_MUX.AI_FLTS_OUT_8;
    AI_MUX.SPARE19_A_NAME = AI_MUX.AI_MUX_OUT_19;
    AI_MUX.SPARE19_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_19;
    AI_MUX.SPARE20_A_NAME = AI_MUX.AI_MUX_OUT_20;
    AI_MUX.SPARE20_PCT_A_NAME = AI_MUX.AI_PERCENT_OUT_20;
}

}  // namespace r20
