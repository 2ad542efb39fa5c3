// CONF_VAL_1 and CONF_VAL_2: what the configuration uses, as flags and
// counts for the displays and the other modules.
#include "app/control/CONF_VAL_1.cells.h"

#include "app/control/CNFG_CASC.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/CONF_VAL_2.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void CONF_VAL_flags() {
    auto& c = CONF_VAL_1;
    c.CASC_USED_I_NAME = CNFG_CASC.USE_CASC_B_NAME != 0 ? 1 : 0;
    c.CAS_EN_TRK_AND = bk::AND({IFACE_IN_CASC.USE_CASC_B_NAME, CNFG_CASC.USE_SP_TRACK_B_NAME});
    c.CONTROLLERS_TOTAL_I_NAME = bk::I_ADD(c.CASC_USED_I_NAME, 1);
    c.CONTROLLERS_USED_I_NAME = c.CONTROLLERS_TOTAL_I_NAME;
    c.IDLE_RTD_N_NOT = bk::NOT(c.IDLE_RTD_B_NAME);
    c.NO_CASC_NOT = bk::NOT(IFACE_IN_CASC.USE_CASC_B_NAME);
    CONF_VAL_2.NO_MPU2_NOT = bk::NOT(c.USE_MPU2_B_NAME);
}

}  // namespace r160
