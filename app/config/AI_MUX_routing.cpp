// The analog inputs' 160 ms function routing: every pass each block is
// cleared, its fixed first entry (if any) is written into the slot its
// selector names, then the controller channels 1 .. 4 and the remote node's
// channels 1 .. 8 write their datum into the slot of their function number
// (a number outside the block writes nothing; a later channel overwrites an
// earlier one). The named per-function cells copy the slots.
#include "app/analog/AI_MUX.cells.h"

#include <cstddef>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"

namespace r160 {
namespace {

using RealSlots20 = const cat::Cell<float>* const[20];

#define AI_MUX_T8(B)                                                                                  \
    &AI_MUX.B##_OUT_1, &AI_MUX.B##_OUT_2, &AI_MUX.B##_OUT_3, &AI_MUX.B##_OUT_4, &AI_MUX.B##_OUT_5,    \
        &AI_MUX.B##_OUT_6, &AI_MUX.B##_OUT_7, &AI_MUX.B##_OUT_8
#define AI_MUX_T20(B)                                                                                 \
    AI_MUX_T8(B), &AI_MUX.B##_OUT_9, &AI_MUX.B##_OUT_10, &AI_MUX.B##_OUT_11, &AI_MUX.B##_OUT_12,      \
        &AI_MUX.B##_OUT_13, &AI_MUX.B##_OUT_14, &AI_MUX.B##_OUT_15, &AI_MUX.B##_OUT_16,               \
        &AI_MUX.B##_OUT_17, &AI_MUX.B##_OUT_18, &AI_MUX.B##_OUT_19, &AI_MUX.B##_OUT_20
#define AI_MUX_T26(B)                                                                                 \
    AI_MUX_T20(B), &AI_MUX.B##_OUT_21, &AI_MUX.B##_OUT_22, &AI_MUX.B##_OUT_23, &AI_MUX.B##_OUT_24,    \
        &AI_MUX.B##_OUT_25, &AI_MUX.B##_OUT_26
#define AI_MUX_T30(B)                                                                                 \
    AI_MUX_T26(B), &AI_MUX.B##_OUT_27, &AI_MUX.B##_OUT_28, &AI_MUX.B##_OUT_29, &AI_MUX.B##_OUT_30

// ---- routing tables: one cell per slot -------------------------------------------------
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_MAX_47[20] = {AI_MUX_T20(AI_MAX)};
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_MIN_49[20] = {AI_MUX_T20(AI_MIN)};
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_MULT_51[20] = {AI_MUX_T20(AI_MULT)};
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_ALM1_SP_14[20] = {AI_MUX_T20(AI_ALM1_SP)};
constexpr const cat::Cell<float>* Amux_AI_MUX_AI_ALM2_SP_16[20] = {AI_MUX_T20(AI_ALM2_SP)};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_CHAN_ALM1_18[20] = {AI_MUX_T20(AI_CHAN_ALM1)};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_CHAN_ALM2_20[20] = {AI_MUX_T20(AI_CHAN_ALM2)};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_CHAN_TRIP_22[20] = {AI_MUX_T20(AI_CHAN_TRIP)};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_FUNC_USED_32[30] = {AI_MUX_T30(AI_FUNC_USED)};
constexpr const cat::Cell<StrCell>* Smux_AI_MUX_AI_ENG_UNITS_29[20] = {AI_MUX_T20(AI_ENG_UNITS)};
constexpr const cat::Cell<StrCell>* Smux_AI_MUX_AI_TAGS_56[20] = {AI_MUX_T20(AI_TAGS)};
constexpr const cat::Cell<int32_t>* Imux_AI_MUX_QT_DECIMAL_DISP_143[26] = {AI_MUX_T26(QT_DECIMAL_DISP)};
constexpr const cat::Cell<uint32_t>* Bmux_AI_MUX_AI_CHAN_USED_24[8] = {AI_MUX_T8(AI_CHAN_USED)};

// ---- the channels in routing order ----------------------------------------------------
struct AiSource {
    const cat::Cell<int32_t>* function;
    const cat::Cell<float>* max;
    const cat::Cell<float>* min;
    const cat::Cell<float>* mult;
    const cat::Slot<float>* alm1_sp;
    const cat::Slot<float>* alm2_sp;
    const cat::Slot<uint32_t>* alm1;
    const cat::Slot<uint32_t>* alm2;
    const cat::Slot<uint32_t>* trip;
    const cat::Cell<uint32_t>* used;
    const cat::Cell<StrCell>* units;
    const cat::Cell<StrCell>* tag;
    const cat::Cell<int32_t>* decimals;
};
// Channel CH with its event-level block EV, function number FN and use
// tunable AI_FUNC_USED.IN_U.
#define AI_MUX_SRC(CH, EV, FN, U)                                                                     \
    AiSource{&FN, &CH.MAX_SAMP_TUNE, &CH.MIN_SAMP_TUNE, &CH.MOD_MULT_A_NAME, &EV.ALM_SP1_A_NAME,       \
             &EV.ALM_SP2_A_NAME, &EV.ALARM_LVL1_B_NAME, &EV.ALARM_LVL2_B_NAME, &EV.TRIP_LVL2_B_NAME,  \
             &AI_MUX.AI_FUNC_USED_IN_##U, &CH.ENG_UNIT_S_NAME, &CH.TAG_S_NAME, &CH.QT_DECIMALS_I_NAME}
constexpr AiSource kSources[kAiChannels] = {
    AI_MUX_SRC(_ub6, _ub1, _ub6.FUN_NUM_SAMP_ITUNE, 2),
    AI_MUX_SRC(_ub7, _ub2, _ub7.FUN_NUM_SAMP_ITUNE, 3),
    AI_MUX_SRC(_ub8, _ub3, _ub8.FUN_NUM_SAMP_ITUNE, 4),
    AI_MUX_SRC(_ub9, _ub4, _ub9.FUN_NUM_SAMP_ITUNE, 5),
    AI_MUX_SRC(_ub33, _ub25, VLTR_OUTS.VL_AI_FUNCT_LIST_1, 6),
    AI_MUX_SRC(_ub34, _ub26, VLTR_OUTS.VL_AI_FUNCT_LIST_2, 7),
    AI_MUX_SRC(_ub35, _ub27, VLTR_OUTS.VL_AI_FUNCT_LIST_3, 8),
    AI_MUX_SRC(_ub36, _ub28, VLTR_OUTS.VL_AI_FUNCT_LIST_4, 9),
    AI_MUX_SRC(_ub37, _ub29, VLTR_OUTS.VL_AI_FUNCT_LIST_5, 10),
    AI_MUX_SRC(_ub38, _ub30, VLTR_OUTS.VL_AI_FUNCT_LIST_6, 11),
    AI_MUX_SRC(_ub39, _ub31, VLTR_OUTS.VL_AI_FUNCT_LIST_7, 12),
    AI_MUX_SRC(_ub40, _ub32, VLTR_OUTS.VL_AI_FUNCT_LIST_8, 13),
};
#undef AI_MUX_SRC

// The controller channels' enable flags and the selectors of their use slots.
struct ChanUse {
    const cat::Cell<uint32_t>* enabled;
    const cat::Cell<int32_t>* slot;
};
constexpr ChanUse kChanUse[kAiControllerChannels] = {
    {&_ub6.CH_ENABL_B_NAME, &AI_MUX.AI_CHAN_USED_SEL_1},
    {&_ub7.CH_ENABL_B_NAME, &AI_MUX.AI_CHAN_USED_SEL_2},
    {&_ub8.CH_ENABL_B_NAME, &AI_MUX.AI_CHAN_USED_SEL_3},
    {&_ub9.CH_ENABL_B_NAME, &AI_MUX.AI_CHAN_USED_SEL_4},
};

// ---- the named cells of each function ------------------------------------------------
struct AiNamed {
    const cat::Cell<float>* max;
    const cat::Cell<float>* min;
    const cat::Cell<float>* modx;
    const cat::Cell<float>* alm1_sp;
    const cat::Cell<float>* alm2_sp;
    const cat::Cell<uint32_t>* used;
    const cat::Cell<int32_t>* decimals;
    const cat::Cell<uint32_t>* alm1;  // nullptr: no alarm flags (spares)
    const cat::Cell<uint32_t>* alm2;
    const cat::Cell<uint32_t>* trip;
    const cat::Cell<StrCell>* tag;    // nullptr: no tag (functions 13 .. 20)
};
#define AI_MUX_NAMED(P, USED, DEC)                                                                    \
    &AI_MUX.P##MAX_A_NAME, &AI_MUX.P##MIN_A_NAME, &AI_MUX.P##MODX_A_NAME, &AI_MUX.P##ALM1SP_A_NAME,   \
        &AI_MUX.P##ALM2SP_A_NAME, &AI_MUX.USED##_B_NAME, &AI_MUX.DEC##_I_NAME
#define AI_MUX_ALM(P) &AI_MUX.P##ALM1_B_NAME, &AI_MUX.P##ALM2_B_NAME, &AI_MUX.P##TRIP_B_NAME
#define AI_MUX_FULL(P, USED, DEC) AiNamed{AI_MUX_NAMED(P, USED, DEC), AI_MUX_ALM(P), &AI_MUX.P##TAG_S_NAME}
#define AI_MUX_NOTAG(P, USED, DEC) AiNamed{AI_MUX_NAMED(P, USED, DEC), AI_MUX_ALM(P), nullptr}
#define AI_MUX_SPARE(P, USED, DEC) AiNamed{AI_MUX_NAMED(P, USED, DEC), nullptr, nullptr, nullptr, nullptr}
// Functions 2 .. 20 (function 1, not used, has no named cells).
constexpr AiNamed kNamed[19] = {
    AI_MUX_FULL(RMT_SPD_, RMT_SPD_USED, RMT_SPD_DECIMALS),
    AI_MUX_FULL(CASC_IN_, CASC_USED, CASC_QT_DECIMALS),
    AI_MUX_FULL(RMT_CASC_, RMT_CASC_USED, RMT_CASC_DECIMALS),
    AI_MUX_FULL(VIB_IN1_, VIB_IN1_USED, VIB1_DECIMALS),
    AI_MUX_FULL(VIB_IN2_, VIB_IN2_USED, VIB2_DECIMALS),
    AI_MUX_FULL(VIB_IN3_, VIB_IN3_USED, VIB3_DECIMALS),
    AI_MUX_FULL(VIB_IN4_, VIB_IN4_USED, VIB4_DECIMALS),
    AI_MUX_FULL(BEARTEMP1_, BEARTEMP1_USED, BTEMP1_DECIMALS),
    AI_MUX_FULL(BEARTEMP2_, BEARTEMP2_USED, BTEMP2_DECIMALS),
    AI_MUX_FULL(BEARTEMP3_, BEARTEMP3_USED, BTEMP3_DECIMALS),
    AI_MUX_FULL(BEARTEMP4_, BEARTEMP4_USED, BTEMP4_DECIMALS),
    AI_MUX_NOTAG(SIG_MON_1_, SIG_MON_1_USED, SIG1_DECIMALS),
    AI_MUX_NOTAG(SIG_MON_2_, SIG_MON_2_USED, SIG2_DECIMALS),
    AI_MUX_NOTAG(SIG_MON_3_, SIG_MON_3_USED, SIG3_DECIMALS),
    AI_MUX_NOTAG(HP_FDBK_, HP_FDBK_USED, HP_FDBK_DECIMALS),
    AI_MUX_SPARE(SPARE17_, SPARE17_USED, SPAR17_DECIMALS),
    AI_MUX_SPARE(SPARE18_, SPARE18_USED, SPAR18_DECIMALS),
    AI_MUX_SPARE(SPARE19_, SPARE19_USED, SPAR19_DECIMALS),
    AI_MUX_SPARE(SPARE20_, SPARE20_USED, SPAR20_DECIMALS),
};

// ---- the routing steps ----------------------------------------------------------------
// Writes `value` into slot f of `table` when 1 <= f <= N.
template <class T, size_t N, class V>
void route(const cat::Cell<T>* const (&table)[N], int32_t f, const V& value) {
    if (f >= 1 && f <= static_cast<int32_t>(N)) *table[f - 1] = value;
}
template <class T, size_t N, class V>
void clear(const cat::Cell<T>* const (&table)[N], const V& value) {
    for (const cat::Cell<T>* c : table) *c = value;
}

// One block: cleared, its fixed entry, then every channel's datum.
template <class T, size_t N, class V, class Get>
void fill(const cat::Cell<T>* const (&table)[N], const V& cleared, Get datum) {
    clear(table, cleared);
    for (const AiSource& s : kSources) route(table, *s.function, datum(s));
}
template <class T, size_t N, class V, class Get>
void fill_fixed(const cat::Cell<T>* const (&table)[N], const V& cleared, int32_t sel, const V& fixed, Get datum) {
    clear(table, cleared);
    route(table, sel, fixed);
    for (const AiSource& s : kSources) route(table, *s.function, datum(s));
}

}  // namespace

void AI_MUX_routing() {
    fill_fixed(Amux_AI_MUX_AI_MAX_47, 0.0f, AI_MUX.AI_MAX_SEL_1, 20.0f, [](const AiSource& s) -> float { return *s.max; });
    fill_fixed(Amux_AI_MUX_AI_MIN_49, 0.0f, AI_MUX.AI_MIN_SEL_1, 4.0f, [](const AiSource& s) -> float { return *s.min; });
    fill_fixed(Amux_AI_MUX_AI_MULT_51, 1.0f, AI_MUX.AI_MULT_SEL_1, 20.0f,
               [](const AiSource& s) -> float { return *s.mult; });
    fill_fixed(Amux_AI_MUX_AI_ALM1_SP_14, 0.0f, AI_MUX.AI_ALM1_SP_SEL_1, 4.0f,
               [](const AiSource& s) -> float { return *s.alm1_sp; });
    fill_fixed(Amux_AI_MUX_AI_ALM2_SP_16, 0.0f, AI_MUX.AI_ALM2_SP_SEL_1, 4.0f,
               [](const AiSource& s) -> float { return *s.alm2_sp; });
    fill_fixed(Bmux_AI_MUX_AI_CHAN_ALM1_18, 0u, AI_MUX.AI_CHAN_ALM1_SEL_1, 0u,
               [](const AiSource& s) -> uint32_t { return *s.alm1; });
    fill_fixed(Bmux_AI_MUX_AI_CHAN_ALM2_20, 0u, AI_MUX.AI_CHAN_ALM2_SEL_1, 0u,
               [](const AiSource& s) -> uint32_t { return *s.alm2; });
    fill_fixed(Bmux_AI_MUX_AI_CHAN_TRIP_22, 0u, AI_MUX.AI_CHAN_TRIP_SEL_1, 0u,
               [](const AiSource& s) -> uint32_t { return *s.trip; });
    fill_fixed(Bmux_AI_MUX_AI_FUNC_USED_32, 0u, AI_MUX.AI_FUNC_USED_SEL_1,
               static_cast<uint32_t>(AI_MUX.AI_FUNC_USED_IN_1), [](const AiSource& s) -> uint32_t { return *s.used; });
    fill(Smux_AI_MUX_AI_ENG_UNITS_29, "", [](const AiSource& s) -> const StrCell& { return *s.units; });
    clear(Smux_AI_MUX_AI_TAGS_56, "");
    route(Smux_AI_MUX_AI_TAGS_56, AI_MUX.AI_TAGS_SEL_1, "NOT USED");
    for (const AiSource& s : kSources) route(Smux_AI_MUX_AI_TAGS_56, *s.function, static_cast<const StrCell&>(*s.tag));
    fill(Imux_AI_MUX_QT_DECIMAL_DISP_143, 1, [](const AiSource& s) -> int32_t { return *s.decimals; });
    clear(Bmux_AI_MUX_AI_CHAN_USED_24, 0u);
    for (const ChanUse& c : kChanUse) route(Bmux_AI_MUX_AI_CHAN_USED_24, *c.slot, static_cast<uint32_t>(*c.enabled));
    AI_MUX.AI_01_USED_B_NAME = AI_MUX.AI_CHAN_USED_OUT_1;
    AI_MUX.AI_02_USED_B_NAME = AI_MUX.AI_CHAN_USED_OUT_2;
    AI_MUX.AI_03_USED_B_NAME = AI_MUX.AI_CHAN_USED_OUT_3;
    AI_MUX.AI_04_USED_B_NAME = AI_MUX.AI_CHAN_USED_OUT_4;
}

void AI_MUX_named_copies() {
    for (int n = 0; n < 19; ++n) {
        const AiNamed& c = kNamed[n];
        const int slot = n + 1;  // function n + 2
        *c.max = *Amux_AI_MUX_AI_MAX_47[slot];
        *c.min = *Amux_AI_MUX_AI_MIN_49[slot];
        *c.modx = *Amux_AI_MUX_AI_MULT_51[slot];
        *c.alm1_sp = *Amux_AI_MUX_AI_ALM1_SP_14[slot];
        *c.alm2_sp = *Amux_AI_MUX_AI_ALM2_SP_16[slot];
        *c.used = *Bmux_AI_MUX_AI_FUNC_USED_32[slot];
        *c.decimals = *Imux_AI_MUX_QT_DECIMAL_DISP_143[slot];
        if (c.alm1) {
            *c.alm1 = *Bmux_AI_MUX_AI_CHAN_ALM1_18[slot];
            *c.alm2 = *Bmux_AI_MUX_AI_CHAN_ALM2_20[slot];
            // The trip flag of a function follows its level-2 alarm slot.
            *c.trip = *Bmux_AI_MUX_AI_CHAN_ALM2_20[slot];
        }
        if (c.tag) *c.tag = *Smux_AI_MUX_AI_TAGS_56[slot];
    }
    AI_MUX.CASC_ENG_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_3;
    AI_MUX.VIB_ENG_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_5;
    AI_MUX.BTEMP_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_9;
    AI_MUX.SIGMON1_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_13;
    AI_MUX.SIGMON2_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_14;
    AI_MUX.SIGMON3_UNITS_S_NAME = AI_MUX.AI_ENG_UNITS_OUT_15;
}

}  // namespace r160
