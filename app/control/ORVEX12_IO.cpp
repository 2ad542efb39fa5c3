// ORVEX12_IO in the first 10 ms slice: the set-date command.
#include "app/control/ORVEX12_IO.cells.h"

namespace r10 {

void ORVEX12_IO_set_clock() { ORVEX12_IO.SET_CLOCK_B_NAME = ORVEX12_IO.SET_CLOCK_IN; }

}  // namespace r10
