// VLTR_OUTS at 160 ms: the remote analog node's function numbers, ranges,
// Modbus multipliers, units and display decimals as lists of 16 entries;
// entries 9-16 stand for channels the node does not have.
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "runtime/blockkinds.h"

namespace {

constexpr int kChannels = 8, kEntries = 16;

struct Channel {
    const cat::Cell<int32_t>& function;
    const cat::Cell<float>&max, &min, &multiplier;
    const cat::Cell<StrCell>& units;
    const cat::Cell<int32_t>& decimals;
};
#define VLTR_OUTS_CHANNEL(UB)                                                                            \
    Channel {                                                                                            \
        r160::UB.FUN_NUM_SAMP_ITUNE, r160::UB.MAX_SAMP_TUNE, r160::UB.MIN_SAMP_TUNE, r160::UB.MOD_MULT_A_NAME, \
            r160::UB.ENG_UNIT_S_NAME, r160::UB.QT_DECIMALS_I_NAME                                        \
    }
const Channel kChannel[kChannels] = {VLTR_OUTS_CHANNEL(_ub33), VLTR_OUTS_CHANNEL(_ub34), VLTR_OUTS_CHANNEL(_ub35),
                                     VLTR_OUTS_CHANNEL(_ub36), VLTR_OUTS_CHANNEL(_ub37), VLTR_OUTS_CHANNEL(_ub38),
                                     VLTR_OUTS_CHANNEL(_ub39), VLTR_OUTS_CHANNEL(_ub40)};
#undef VLTR_OUTS_CHANNEL

struct Entry {
    const cat::Cell<int32_t>& function;
    const cat::Cell<float>&max, &min, &multiplier;
    const cat::Cell<StrCell>& units;
    const cat::Cell<int32_t>& decimals;
};
#define VLTR_OUTS_ENTRY(N)                                                                                   \
    Entry {                                                                                                  \
        r160::VLTR_OUTS.VL_AI_FUNCT_LIST_##N, r160::VLTR_OUTS.VL_AI_MAXS_LIST_##N,                           \
            r160::VLTR_OUTS.VL_AI_MINS_LIST_##N, r160::VLTR_OUTS.VL_AI_MODMULT_LIST_##N,                     \
            r160::VLTR_OUTS.VL_AI_UNITS_LIST_##N, r160::VLTR_OUTS.VL_AI_DECIM_LIST_##N                       \
    }
const Entry kEntry[kEntries] = {VLTR_OUTS_ENTRY(1),  VLTR_OUTS_ENTRY(2),  VLTR_OUTS_ENTRY(3),  VLTR_OUTS_ENTRY(4),
                                VLTR_OUTS_ENTRY(5),  VLTR_OUTS_ENTRY(6),  VLTR_OUTS_ENTRY(7),  VLTR_OUTS_ENTRY(8),
                                VLTR_OUTS_ENTRY(9),  VLTR_OUTS_ENTRY(10), VLTR_OUTS_ENTRY(11), VLTR_OUTS_ENTRY(12),
                                VLTR_OUTS_ENTRY(13), VLTR_OUTS_ENTRY(14), VLTR_OUTS_ENTRY(15), VLTR_OUTS_ENTRY(16)};
#undef VLTR_OUTS_ENTRY

}  // namespace

namespace r160 {

void VLTR_OUTS_ai_functions() {
    for (int k = 0; k < kEntries; ++k) kEntry[k].function = k < kChannels ? kChannel[k].function.ref() : 0;
}

void VLTR_OUTS_ai_settings() {
    for (int k = 0; k < kEntries; ++k) {
        const Entry& e = kEntry[k];
        if (k < kChannels) {
            const Channel& c = kChannel[k];
            e.max = c.max.ref();
            e.min = c.min.ref();
            e.multiplier = c.multiplier.ref();
            e.units = c.units.ref();
            e.decimals = c.decimals.ref();
        } else {
            e.max = 1.0f;
            e.min = 0.0f;
            e.multiplier = 1.0f;
            e.units = "1";
            e.decimals = 1;
        }
    }
}

}  // namespace r160
