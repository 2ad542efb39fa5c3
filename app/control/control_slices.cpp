// The slices of the turbine control logic: each lists its module pieces in
// the order they compute.
#include "app/control/control_slices.h"

#include "app/control/ACCEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "app/discrete/CNFG_BI.cells.h"

void _R10_TASK_1() {
    using namespace r10;
    SD_LOGIC_power_up();
    // Sensor 1.
    MPU_OVRD_override_1();
    CNFG_SPEED_config_1();
    CNFG_SPEED_evaluate_1();
    CNFG_SPEED_latches_1();
    CNFG_SPEED_phase_teeth_1();
    IFACE_IN_START_mpu_a();
    MPU_OVRD_failed_1();
    ACCEL_deriv_1();
    // Sensor 2.
    MPU_OVRD_override_2();
    CNFG_SPEED_config_2();
    CNFG_SPEED_evaluate_2();
    CNFG_SPEED_latches_2();
    CNFG_SPEED_phase_teeth_2();
    IFACE_IN_START_mpu_b();
    MPU_OVRD_failed_2();
    ACCEL_deriv_2();
    // Acceleration.
    ACCEL_accel();
    ORVEX12_IO_set_clock();
    // Controller discrete inputs 1 and 2 (input 1's selection is in _R10_TASK_10).
    CNFG_BI_input(0);
    BI_CHANNEL_signal(0);
    BI_CHANNEL_select(1);
    CNFG_BI_input(1);
    BI_CHANNEL_signal(1);
}
