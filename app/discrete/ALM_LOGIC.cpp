// ALM_LOGIC at 10 ms: alarm conditions of the HP driver's high limit and of
// the second speed sensor's failure while it is used.
#include "app/discrete/ALM_LOGIC.cells.h"

#include "app/control/MPU_OVRD.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/standin/discrete_standin.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void ALM_LOGIC_conditions() {
    ALM_LOGIC.ACT_LSS_HI_LIM_NOT_NOT = bk::NOT(IFACE_OUT_VLV.ACT_LSS_HI_LIM_I_B_NAME);
    ALM_LOGIC.SS2_FLT_AND = bk::AND({MPU_OVRD.SS2_FLD_B_SW, CONF_VAL_1.USE_MPU2_B_NAME});
}

}  // namespace r10
