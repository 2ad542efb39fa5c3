// CNFG_SPEED at 80 ms: the open-wire check of each speed sensor is released
// while the sensor's monitor value is at or above its setting.
#include "app/control/CNFG_SPEED.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void CNFG_SPEED_open_wire() {
    auto& c = CNFG_SPEED;
    bk::A_COMPARE(c.OPNCHK1_DIS_A_COMPARE, c.OPNCHK1_DIS_A_EQUAL, c.TSS_01_MONITOR, c.OPNCHK1_DIS_IN_2);
    c.AUTOOWF1_R_NOT = bk::NOT(c.OPNCHK1_DIS_A_COMPARE);
    bk::A_COMPARE(c.OPNCHK2_DIS_A_COMPARE, c.OPNCHK2_DIS_A_EQUAL, c.TSS_02_MONITOR, c.OPNCHK2_DIS_IN_2);
    c.AUTOOWF2_R_NOT = bk::NOT(c.OPNCHK2_DIS_A_COMPARE);
}

}  // namespace r80
