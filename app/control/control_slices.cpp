// The slices of the turbine control logic: each lists its module pieces in
// the order they compute.
#include "app/control/control_slices.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/control/ACCEL.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/SIM.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_DYN.cells.h"
#include "app/control/SPD_REF.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/control/START.cells.h"
#include "app/control/unit_delays_r10_r40.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
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

void _R10_TASK_5() {
    using namespace r10;
    DROOP_reference();
    SPD_CTRL_speed_pid();
    HP_MAN_RAMP_gate();
    HP_DRIVER_trip();
    HP_DRIVER_select();
    HP_DRIVER_scaling();
    DRVR_SCALE_demand();
    ACT_CHANNEL_demand();
    CNFG_ACT_sim_mode();
}

void speed_control_R10_TASK_8() {
    using namespace r10;
    CRIT_SPD_band();
    CNFG_SPEED_rated();
    DROOP_lag();
    HP_MAN_RAMP_ramp();
    IFACE_OUT_SPEED_copies();
    MPU_OVRD_self_powered();
}

void speed_control_R10_TASK_10() {
    using namespace r10;
    SPD_CTRL_optimizer_ready();
    SPD_CTRL_noise();
    SPD_CTRL_status_block();
    ACT_CHANNEL_readout_name();
    SHUTDOWNS_pulses();
    SIM_trip();
    // The unit-delay inputs of slots 0 .. 2, the trip key's among them, once
    // this pass has computed them.
    unit_delays_store_first();
}

void _R10_TASK_11() {
    r10::unit_delays_store_second();
    r10::unit_delays_commit();
}

void speed_control_R40_TASK_8() {
    using namespace r40;
    OSPD_hold_reset();
    SIM_transfer();
    SPDC_over_max_gov();
    SPD_CTRL_setpoint();
    SPD_CTRL_optimizer_enable();
    SPD_CTRL_near_max();
    SPD_DYN_accept();
    START_rest_delay();
    unit_delays_store_commit();
}

void _R160_TASK_49() {
    using namespace r160;
    SPD_DYN_settings();
    SPD_CTRL_values();
    SPEED_SIM_config();
    SPD_REF_not_high();
    SPDC_mode_chart();
    SPDC_underspeed();
    SPDC_max_gov_margin();
}
