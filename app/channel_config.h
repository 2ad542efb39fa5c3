// Pieces that the channel templates share in their configuration part
// (160 ms): what configures an instance, the choice between the function
// number entered by hand and the wizard's, and the sampled tunables that put
// a configuration in force.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace chan {

// What configures one instance: the configuration enable, the sample
// command, the wizard enable and the wizard's function number.
struct ConfigIn {
    uint32_t enable, sample, wizard;
    int32_t wizard_function;
};

// The cells of the function choice: the configuration enable, the wizard
// enable, the number entered by hand (and its tunable), the wizard's number,
// the selected candidate and the sample command.
struct FunctionChoice {
    uint32_t& enable;
    uint32_t& wizard;
    int32_t& hand;
    int32_t hand_in;
    int32_t& wizard_function;
    int32_t& selected;
    uint32_t& sample;
};

// Copies what configures the instance into its cells; the candidate is the
// wizard's number while the wizard is on, else the one entered by hand.
inline void choose_function(const ConfigIn& in, const FunctionChoice& c) {
    c.enable = in.enable;
    c.wizard = in.wizard;
    c.hand = c.hand_in;
    c.wizard_function = in.wizard_function;
    c.selected = bk::SW<int32_t>(c.wizard, c.hand, c.wizard_function);
    c.sample = in.sample;
}

// The cells of one sampled tunable: the tunable and its five outputs.
template <class V>
struct Sampled {
    V& tune;
    V& out;
    uint32_t& limited;
    uint32_t& en_ent_out;
    V& lo_lim_out;
    V& hi_lim_out;
};

// Its bounds: the range that limits the tunable, whether it may be entered,
// and the clamp of a value taken on a sample.
template <class V>
struct SampleBounds {
    V lo_lim, hi_lim;
    uint32_t en_ent;
    V in_lo, in_hi;
};

// The bounds of a range end: the whole real range, never entered.
inline constexpr SampleBounds<float> kRealRange{bk::kRealLoLim, bk::kRealHiLim, 0, bk::kRealLoLim, bk::kRealHiLim};

// One pass of a sampled tunable that is computed only while `enabled`:
// otherwise none of its cells changes, nor its edge memory.
template <class V>
void sample(bool enabled, bk::SampState& st, const Sampled<V>& c, std::type_identity_t<V> in, uint32_t sample_cmd,
            const SampleBounds<V>& b) {
    if (!enabled) return;
    bk::SAMP_OUTPUTS(bk::SAMP<V>(st, c.tune, in, sample_cmd, b.lo_lim, b.hi_lim, b.en_ent, b.in_lo, b.in_hi,
                                 static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.out, c.limited, c.en_ent_out, c.lo_lim_out, c.hi_lim_out);
}

// The inversion latch of a channel: while `set`, the action flag and the
// latch are 1; otherwise the flag is 0 and the latch clears when `reset` is 1
// and holds else. The action's mode output reads 1; its elapsed and
// remaining times have no timer behind them and are left as they are.
inline void inversion_latch(bool set, uint32_t reset, int32_t& act_out, uint32_t& action, uint32_t& latch) {
    act_out = 1;
    if (set) {
        action = 1;
        latch = 1;
    } else {
        action = 0;
        if (reset == 1) latch = 0;
    }
}

}  // namespace chan

// The function choice of instance cells `c` whose cells are ENABLE.B_NAME,
// WIZ_ENA.B_NAME, HAND.I_NAME and HAND.IN, WIZ_FUNCT.I_NAME, SELECTED.I_SW and
// SAMPLE_PULSE.B_NAME.
#define CHANNEL_FUNCTION_CHOICE(c, ENABLE, HAND, SELECTED)                                                 \
    chan::FunctionChoice {                                                                                  \
        c.ENABLE##_B_NAME, c.WIZ_ENA_B_NAME, c.HAND##_I_NAME, c.HAND##_IN, c.WIZ_FUNCT_I_NAME, c.SELECTED##_I_SW, \
            c.SAMPLE_PULSE_B_NAME                                                                           \
    }
// The cells of the sampled tunable BLOCK of instance cells `c` (integer or real).
#define CHANNEL_SAMPLED_ITUNE(c, BLOCK)                                                                     \
    chan::Sampled<int32_t> {                                                                                \
        c.BLOCK##_TUNE, c.BLOCK##_SAMP_ITUNE, c.BLOCK##_LIMITED, c.BLOCK##_EN_ENT_OUT, c.BLOCK##_LO_LIM_OUT, \
            c.BLOCK##_HI_LIM_OUT                                                                            \
    }
#define CHANNEL_SAMPLED_TUNE(c, BLOCK)                                                                     \
    chan::Sampled<float> {                                                                                 \
        c.BLOCK##_TUNE, c.BLOCK##_SAMP_TUNE, c.BLOCK##_LIMITED, c.BLOCK##_EN_ENT_OUT, c.BLOCK##_LO_LIM_OUT, \
            c.BLOCK##_HI_LIM_OUT                                                                           \
    }
