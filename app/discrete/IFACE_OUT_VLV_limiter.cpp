// IFACE_OUT_VLV at 80 ms: the valve limiter's invalid-setpoint flag for the
// interfaces.
#include "app/control/HP_LIMTER.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"

namespace r80 {

void IFACE_OUT_VLV_invalid_setpoint() { IFACE_OUT_VLV.INVALID_SP_B_NAME = HP_LIMTER.INVALID_SP_OR; }

}  // namespace r80
