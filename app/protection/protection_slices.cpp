// The slices of the protection logic: each lists its module pieces in the
// order they compute.
#include "app/protection/protection_slices.h"

#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/RCTRL.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/control/MPU.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/config/CNFG_START.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/protection/START_ALM_DSPL.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/SIO1.cells.h"
#include "app/control/SIM.cells.h"

// Trips 2 to 11 and their conditions; the turbine speed comes first, so that
// the overspeed trip acts on the speed of its own pass.
void _R10_TASK_3() {
    using namespace r10;
    BI_MUX_trip_times();
    SPEED_SIM_speed();
    MPU_turbine_speed();
    SD_LOGIC_conditions();
    SD_LOGIC_hp_fault();
    OSPD_trip();
    SHUTDOWNS_trips_a();
}

// Trips 12 to 30, the shutdown list and the shutdown signal.
void _R10_TASK_4() {
    using namespace r10;
    SHUTDOWNS_trips_b();
    SHUTDOWNS_list();
    BI_MUX_dynamics_contact();
    IFACE_IN_SPEED_dynamics_contact();
    SPD_CTRL_dynamics();
    HP_MAN_ENBL_latch();
    DROOP_feedback_limit();
}

// The front-panel trip key and the history of the last five shutdowns.
void _R10_TASK_9() {
    using namespace r10;
    SD_LOGIC_trip_key();
    SHUTDOWNS_history();
    ORVEX12_IO_comparator();
}

void _R40_TASK_1() {
    using namespace r40;
    ALM_LOGIC_signal_failures();
    ALARMS_alarms(1, 40);
}

void _R40_TASK_2() { r40::ALARMS_alarms(41, 85); }

void _R40_TASK_3() {
    using namespace r40;
    ALARMS_alarms(86, 100);
    ALARMS_list();
    ALARMS_outputs();
    IFACE_IN_step_test();
    SPDC_selectors();
    CRIT_SPD_reference_band();
}

void _R160_TASK_11() {
    using namespace r160;
    ALARMS_settings();
    ALM_LOGIC_hp_difference();
    CNFG_SETPT_config_lists();
    SPDC_min_gov_level();
    ALM_LOGIC_limiter();
    CALMODE_latch();
    CNFG_START_list();
    CNFG_SPEED_list();
}

void _R160_TASK_48() {
    using namespace r160;
    SHUTDOWNS_overrides();
    SHUTDOWNS_inputs();
    SD_LOGIC_settings();
    SHUTDOWNS_displays();
    RCTRL_conditions();
    SPDC_a02a_c2();
    START_start_inhibits();
    RMT_CAS_limits();
    RMT_CAS_EN_commands();
    SIO1_modbus_restart();
    REMOTE_rate();
    RESET_auto_reset_setting();
    SIM_start_flags();
    SPDC_underspeed_margin();
}
