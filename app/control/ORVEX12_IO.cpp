// ORVEX12_IO at 10 ms: the set-date command in the first slice and the
// chassis comparator of the shutdown slices.
#include "app/control/ORVEX12_IO.cells.h"

#include "runtime/blockkinds.h"

namespace r10 {

void ORVEX12_IO_set_clock() { ORVEX12_IO.SET_CLOCK_B_NAME = ORVEX12_IO.SET_CLOCK_IN; }

void ORVEX12_IO_comparator() {
    auto& o = ORVEX12_IO;
    bk::A_COMPARE(o.A_COMPARE_A_COMPARE, o.A_COMPARE_A_EQUAL, o.ACCUM_OUT_1, o.A_COMPARE_IN_2);
}

}  // namespace r10
