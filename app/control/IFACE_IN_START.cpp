// IFACE_IN_START in the 10 ms group: the probe speeds of the start logic.
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/CNFG_SPEED.cells.h"

namespace r10 {

void IFACE_IN_START_mpu_a() { IFACE_IN_START.MPU_A_A_NAME = CNFG_SPEED.TSS_01_MPU_ZARN; }
void IFACE_IN_START_mpu_b() { IFACE_IN_START.MPU_B_A_NAME = CNFG_SPEED.TSS_02_MPU_ZARN; }

}  // namespace r10
