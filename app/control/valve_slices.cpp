// Slices of the valve limiter, the critical band and the control messages
// that hold only these modules' pieces.
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/control_slices.h"

void _R80_TASK_13() { r80::HP_LIMTER_force_close(); }
