// MPU at 160 ms: the second speed sensor's failed level must lie above the
// lowest speed it can measure.
#include "app/control/MPU.cells.h"

#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void MPU_min_speed_check() {
    MPU_OVRD.MIN_SPD_2_A_NAME = CNFG_SPEED.SPD2_LOW_SP_A_NAME;
    bk::A_COMPARE(MPU.SP2_MN_CHK_A_COMPARE, MPU.SP2_MN_CHK_A_EQUAL, MPU.MIN_SPD_CK2_A_NAME, MPU_OVRD.MIN_SPD_2_A_NAME);
    MPU.SP2_MINERR_AND = bk::AND({CONF_VAL_1.USE_MPU2_B_NAME, MPU.SP2_MN_CHK_A_COMPARE});
}

}  // namespace r160
