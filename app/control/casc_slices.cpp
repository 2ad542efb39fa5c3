// The slices of the cascade controller: each lists its module pieces in the
// order they compute.
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "app/interface/RMT_SETPT.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_ENTRD.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "app/interface/MOD_SCALE_casc.rows.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/CONF_CHECK_CASC.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IDLE_RATE.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/control_slices.h"

void _R80_TASK_13() {
    using namespace r80;
    CASC_RATE_tracking();
    RMT_SETPT_limiter();
    RMT_CAS_setpoint();
    CASC_R_L_commands();
    CASC_R_L_step_test();
    CASC_SETPT_ramp();
    CASC_ENTRD_arrived();
    HP_LIMTER_force_close();
    CNTRL_STOP_below_idle();
}
void _R80_TASK_17() {
    using namespace r80;
    CASC_CTRL_pid();
    CASC_ENBL_inhibit();
    CASC_RATE_matching();
    CNFG_CAN2_init_commands();
    CALMODE_unit_off();
    BO_MUX_indications();
    CNFG_CAN2_power_up();
}

void _R160_TASK_15() {
    using namespace r160;
    CNFG_CASC_config();
    CALMODE_flags();
}
void _R160_TASK_16() {
    using namespace r160;
    CASC_RATE_rates();
    CASC_SETPT_limits();
    CASC_CTRL_scaling();
    CASC_R_L_step_limits();
}
void _R160_TASK_17() {
    using namespace r160;
    CASC_ENBL_config();
    MOD_SCALE_casc_change();
    CASC_ENTRD_entries();
    CASC_SETPT_targets();
    CASC_RATE_matched();
    SPDC_slow_online_rate();
}
void _R160_TASK_38() {
    using namespace r160;
    HP_MAN_RAMP_commands();
    IFACE_IN_CASC_service();
    IFACE_IN_SPEED_service_settings();
    IDLE_RATE_interface_settings();
}

void _R160_TASK_32() {
    using namespace r160;
    COND_MON_run_times();
    CONF_CHECK_CASC_checks();
    MPU_checks();
}
