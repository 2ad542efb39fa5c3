// CNTRL_STOP at 80 ms: the controlled-stop sequence is enabled while its
// enable latch is set.
#include "app/control/CNTRL_STOP.cells.h"

namespace r80 {

void CNTRL_STOP_sequence() { CNTRL_STOP.CSD_SEQ_B_NAME = CNTRL_STOP.NSD_ENABLED_LATCH_R; }

}  // namespace r80
