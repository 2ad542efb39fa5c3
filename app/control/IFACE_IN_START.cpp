// IFACE_IN_START: the probe speeds of the start logic (10 ms) and the
// automatic-sequence and idle/rated flags (160 ms).
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void IFACE_IN_START_mpu_a() { IFACE_IN_START.MPU_A_A_NAME = CNFG_SPEED.TSS_01_MPU_ZARN; }
void IFACE_IN_START_mpu_b() { IFACE_IN_START.MPU_B_A_NAME = CNFG_SPEED.TSS_02_MPU_ZARN; }

}  // namespace r10

namespace r160 {

void IFACE_IN_START_auto_seq() {
    IFACE_IN_START.AUTO_SEQ_B_NAME = 0;
    IFACE_IN_START.AUTO_SEQ_NOT_NOT = bk::NOT(IFACE_IN_START.AUTO_SEQ_B_NAME);
}

void IFACE_IN_START_idle_rated() { IFACE_IN_START.USE_IDLE_RATED_B_NAME = CONF_VAL_1.IDLE_RTD_B_NAME; }

}  // namespace r160
