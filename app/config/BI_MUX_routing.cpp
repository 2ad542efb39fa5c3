// The discrete inputs' 160 ms routing: which functions the controller's
// eight inputs carry and which inputs are in use, each block cleared every
// pass and then written by channels 1 .. 8 in order (a number outside the
// block writes nothing); the named use flags copy the function slots.
#include "app/discrete/BI_MUX.cells.h"

#include <cstddef>

#include "app/discrete/BI_CHANNEL.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

#define BI_MUX_T20(B)                                                                                 \
    &BI_MUX.B##_OUT_1, &BI_MUX.B##_OUT_2, &BI_MUX.B##_OUT_3, &BI_MUX.B##_OUT_4, &BI_MUX.B##_OUT_5,    \
        &BI_MUX.B##_OUT_6, &BI_MUX.B##_OUT_7, &BI_MUX.B##_OUT_8, &BI_MUX.B##_OUT_9, &BI_MUX.B##_OUT_10, \
        &BI_MUX.B##_OUT_11, &BI_MUX.B##_OUT_12, &BI_MUX.B##_OUT_13, &BI_MUX.B##_OUT_14,               \
        &BI_MUX.B##_OUT_15, &BI_MUX.B##_OUT_16, &BI_MUX.B##_OUT_17, &BI_MUX.B##_OUT_18,               \
        &BI_MUX.B##_OUT_19, &BI_MUX.B##_OUT_20
#define BI_MUX_T30(B)                                                                                 \
    BI_MUX_T20(B), &BI_MUX.B##_OUT_21, &BI_MUX.B##_OUT_22, &BI_MUX.B##_OUT_23, &BI_MUX.B##_OUT_24,    \
        &BI_MUX.B##_OUT_25, &BI_MUX.B##_OUT_26, &BI_MUX.B##_OUT_27, &BI_MUX.B##_OUT_28,               \
        &BI_MUX.B##_OUT_29, &BI_MUX.B##_OUT_30

// ---- routing tables -------------------------------------------------------------------
constexpr const cat::Cell<uint32_t>* Bmux_BI_MUX_BI_FUNC_USED_363[30] = {BI_MUX_T30(BI_FUNC_USED)};
constexpr const cat::Cell<uint32_t>* Bmux_BI_MUX_BI_CHAN_USED_351[20] = {BI_MUX_T20(BI_CHAN_USED)};
constexpr const cat::Cell<uint32_t>* kChannelUsed[20] = {
    &BI_MUX.BI_01_USED_B_NAME, &BI_MUX.BI_02_USED_B_NAME, &BI_MUX.BI_03_USED_B_NAME, &BI_MUX.BI_04_USED_B_NAME,
    &BI_MUX.BI_05_USED_B_NAME, &BI_MUX.BI_06_USED_B_NAME, &BI_MUX.BI_07_USED_B_NAME, &BI_MUX.BI_08_USED_B_NAME,
    &BI_MUX.BI_09_USED_B_NAME, &BI_MUX.BI_10_USED_B_NAME, &BI_MUX.BI_11_USED_B_NAME, &BI_MUX.BI_12_USED_B_NAME,
    &BI_MUX.BI_13_USED_B_NAME, &BI_MUX.BI_14_USED_B_NAME, &BI_MUX.BI_15_USED_B_NAME, &BI_MUX.BI_16_USED_B_NAME,
    &BI_MUX.BI_17_USED_B_NAME, &BI_MUX.BI_18_USED_B_NAME, &BI_MUX.BI_19_USED_B_NAME, &BI_MUX.BI_20_USED_B_NAME,
};
// The named use flag of functions 2 .. 27 (28 .. 30 have none).
constexpr const cat::Cell<uint32_t>* kFunctionUsed[26] = {
    &BI_MUX.SPD_LWR_USED_B_NAME,      &BI_MUX.SPD_RAISE_USED_B_NAME,  &BI_MUX.EXT_TRIP_1_USED_B_NAME,
    &BI_MUX.EXT_RUN_USED_B_NAME,      &BI_MUX.RESET_USED_B_NAME,      &BI_MUX.IDLE_RATED_USED_B_NAME,
    &BI_MUX.RMT_SPD_ENBL_USED_B_NAME, &BI_MUX.ONLINE_DYN_USED_B_NAME, &BI_MUX.OVSPD_USED_B_NAME,
    &BI_MUX.CASC_RAISE_USED_B_NAME,   &BI_MUX.CASC_LWR_USED_B_NAME,   &BI_MUX.CASC_ENBL_USED_B_NAME,
    &BI_MUX.RMT_CASC_ENBL_USED_B_NAME, &BI_MUX.EXT_TRIP_2_USED_B_NAME, &BI_MUX.EXT_TRIP_3_USED_B_NAME,
    &BI_MUX.EXT_TRIP_4_USED_B_NAME,   &BI_MUX.EXT_TRIP_5_USED_B_NAME, &BI_MUX.EXT_ALM_1_USED_B_NAME,
    &BI_MUX.EXT_ALM_2_USED_B_NAME,    &BI_MUX.EXT_ALM_3_USED_B_NAME,  &BI_MUX.VLV_LMT_OPN_USED_B_NAME,
    &BI_MUX.VLV_LMT_CLS_USED_B_NAME,  &BI_MUX.SPDCAS_R_USED_B_NAME,   &BI_MUX.SPDCAS_L_USED_B_NAME,
    &BI_MUX.TIME_SYNC_USED_B_NAME,    &BI_MUX.STARTPERM_USED_B_NAME,
};

// ---- the controller's inputs in routing order ------------------------------------------
struct BiSource {
    const cat::Cell<int32_t>* function;
    const cat::Cell<uint32_t>* used;
    const cat::Cell<int32_t>* slot;  // selector of the channel-use slot
};
constexpr BiSource kSources[kBiControllerChannels] = {
    {&_ub13.FUNCT_INT_I_NAME, &_ub13.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_1},
    {&_ub14.FUNCT_INT_I_NAME, &_ub14.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_2},
    {&_ub15.FUNCT_INT_I_NAME, &_ub15.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_3},
    {&_ub16.FUNCT_INT_I_NAME, &_ub16.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_4},
    {&_ub17.FUNCT_INT_I_NAME, &_ub17.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_5},
    {&_ub18.FUNCT_INT_I_NAME, &_ub18.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_6},
    {&_ub19.FUNCT_INT_I_NAME, &_ub19.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_7},
    {&_ub20.FUNCT_INT_I_NAME, &_ub20.BI_USED_GT, &BI_MUX.BI_CHAN_USED_SEL_8},
};

// Trip numbers: inputs 1, 2 and 4 .. 8 (input 3 has none).
struct TripNumber {
    const cat::Cell<int32_t>* function;
    const cat::Cell<int32_t>* offset;
    const cat::Cell<int32_t>* out;
};
#define BI_MUX_TRIP_NO(UB, N) TripNumber{&UB.FUNCT_INT_I_NAME, &BI_MUX.FUNC_TO_TRIP_##N##_IN_2, &BI_MUX.FUNC_TO_TRIP_##N##_I_SUBTRACT}
constexpr TripNumber kTrips[7] = {BI_MUX_TRIP_NO(_ub13, 01), BI_MUX_TRIP_NO(_ub14, 02), BI_MUX_TRIP_NO(_ub16, 04),
                                  BI_MUX_TRIP_NO(_ub17, 05), BI_MUX_TRIP_NO(_ub18, 06), BI_MUX_TRIP_NO(_ub19, 07),
                                  BI_MUX_TRIP_NO(_ub20, 08)};
#undef BI_MUX_TRIP_NO

template <size_t N>
void route(const cat::Cell<uint32_t>* const (&table)[N], int32_t f, uint32_t value) {
    if (f >= 1 && f <= static_cast<int32_t>(N)) *table[f - 1] = value;
}
template <size_t N>
void clear(const cat::Cell<uint32_t>* const (&table)[N]) {
    for (const cat::Cell<uint32_t>* c : table) *c = 0u;
}

}  // namespace

void BI_MUX_routing() {
    clear(Bmux_BI_MUX_BI_FUNC_USED_363);
    for (const BiSource& s : kSources) route(Bmux_BI_MUX_BI_FUNC_USED_363, *s.function, 1u);
    clear(Bmux_BI_MUX_BI_CHAN_USED_351);
    for (const BiSource& s : kSources) route(Bmux_BI_MUX_BI_CHAN_USED_351, *s.slot, *s.used);
    for (int k = 0; k < 20; ++k) *kChannelUsed[k] = *Bmux_BI_MUX_BI_CHAN_USED_351[k];
    for (int k = 0; k < 26; ++k) *kFunctionUsed[k] = *Bmux_BI_MUX_BI_FUNC_USED_363[k + 1];
    for (const TripNumber& t : kTrips) *t.out = bk::I_SUBTRACT(*t.function, *t.offset);
    BI_MUX.BI01_TS_SEL_I_NAME = 1;
}

}  // namespace r160
