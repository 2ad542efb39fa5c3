// The selection of an output channel's signal from the twenty entries of the
// analog output selection list by function number (1 .. 20); any other
// number keeps the last selection. `mux` is the list's view in the caller's
// group; the actuator's readout takes 0.0 for entry 20.
#pragma once

#include "runtime/blockkinds.h"

template <class Mux, class Out>
void select_signal(Out&& out, int32_t function, const Mux& mux, bool last_entry_zero) {
    bk::MUX<float>(out, function,
                   {mux.SEL_OUTS_LIST_1, mux.SEL_OUTS_LIST_2, mux.SEL_OUTS_LIST_3, mux.SEL_OUTS_LIST_4,
                    mux.SEL_OUTS_LIST_5, mux.SEL_OUTS_LIST_6, mux.SEL_OUTS_LIST_7, mux.SEL_OUTS_LIST_8,
                    mux.SEL_OUTS_LIST_9, mux.SEL_OUTS_LIST_10, mux.SEL_OUTS_LIST_11, mux.SEL_OUTS_LIST_12,
                    mux.SEL_OUTS_LIST_13, mux.SEL_OUTS_LIST_14, mux.SEL_OUTS_LIST_15, mux.SEL_OUTS_LIST_16,
                    mux.SEL_OUTS_LIST_17, mux.SEL_OUTS_LIST_18, mux.SEL_OUTS_LIST_19,
                    last_entry_zero ? 0.0f : static_cast<float>(mux.SEL_OUTS_LIST_20)});
}
