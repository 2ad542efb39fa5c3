// The slices of the speed reference road: each lists its module pieces in
// the order they compute.
#include "app/analog/TUTORIAL.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/control/AUTO_SEQ.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/GOTO_MIN.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/IDLE_RATE.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/control/MOD_SPD_SP.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/RCTRL.cells.h"
#include "app/control/RESET.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_REF.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "app/control/SPD_SETPT.cells.h"
#include "app/control/START.cells.h"
#include "app/control/SYS_ID.cells.h"
#include "app/control/X_RESET.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/control/control_slices.h"

#include "app/control/SD_LOGIC.cells.h"
#include "app/protection/SERVICE.cells.h"
#include "app/control/unit_delays_r80.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"

void _R80_TASK_14() {
    using namespace r80;
    SPDC_stop_input();
    AUTO_SEQ_contact();
    START_pulses();
    CNTRL_STOP_stop_flags();
    HP_LIMTER_commands();
}
void _R80_TASK_15() {
    using namespace r80;
    SPD_R_L_lower();
    RMT_ENBL_enable();
    CNTRL_STOP_enable();
    CASC_ENBL_latch();
}
void _R80_TASK_16() {
    using namespace r80;
    SPD_R_L_raise();
    OSPD_test_flags();
    OSPD_demand();
    START_inhibit();
    START_commands();
    START_run_command();
    AUTO_SEQ_sequence();
    CNTRL_STOP_disable();
    SPDC_stop_transitions();
}
void _R80_TASK_19() {
    using namespace r80;
    IDLE_RATE_latch();
    IFACE_MODE_level_flags();
    IFACE_IN_VLV_sequence_status();
    IFACE_OUT_CASC_status();
    SPD_CTRL_dynamics_set();
}
// The display values and interface bits of the speed control, after the
// idle/rated latch and the dynamics of the pass.
void _R80_TASK_20() {
    using namespace r80;
    IFACE_OUT_SPEED_dynamics();
    SPDC_load_percent();
    IFACE_OUT_SPEED_load();
    IFACE_OUT_START_copies();
    IFACE_OUT_VLV_invalid_setpoint();
    MESSAGE_START_pulses();
}
void _R80_TASK_23() {
    using namespace r80;
    RMT_ENBL_disabled();
    RMT_CAS_EN_match();
    START_pulse();
    RESET_trip_reset();
    SD_LOGIC_trip_commands();
    SERVICE_start_entered();
    SPDC_start_detect();
}
void _R80_TASK_24() { r80::SPDC_run_steps(); }
void _R80_TASK_25() {
    using namespace r80;
    SPD_SETPT_tracking();
    SPDC_test_steps();
}
void _R80_TASK_26() {
    using namespace r80;
    SPD_R_L_fast_rate();
    START_flags();
    SPD_CTRL_optimizer_commands();
    SPEED_SIM_actuator_mode();
    X_RESET_not_blink();
    SPDC_z00();
    UNIT_DEMO_chart();
}
void _R80_TASK_30() {
    using namespace r80;
    unit_delays_store();
    SPDC_commit();
    UNIT_DEMO_commit();
    unit_delays_commit();
}

void _R160_TASK_36() {
    using namespace r160;
    START_semi_auto();
    MOD_SPD_SP_link_entries();
    ENTR_SETPT_entry();
}
void _R160_TASK_37() {
    using namespace r160;
    IFACE_IN_START_auto_seq();
    IDLE_RATE_config();
    SPDC_idle_target();
    SPD_REF_deviation();
    IFACE_IN_HP_MAN_raise_lower();
    IFACE_IN_START_idle_rated();
    MESSAGE_speed_in_control();
    HP_LIMTER_maximum();
    HPLM_chart();
}
void _R160_TASK_40() {
    using namespace r160;
    IFACE_MODE_modes();
    IFACE_OUT_CASC_status();
    SPD_CTRL_status_leds();
    OSPD_no_movement();
    SPDC_ramp_rates();
    SPDC_idle_level();
}
void _R160_TASK_44() {
    r160::SPDC_rem_act();
    r160::MESSAGE_start_texts();
    r160::MOD_map();
}
void _R160_TASK_45() {
    r160::MOD_link_alarms();
    r160::MOD_SCALE_values();
    r160::MOD_SPD_SP_entries();
    r160::MOD_SPD_SP_select();
    r160::MOD_SPD_SP_requests();
    r160::MPU_min_entry();
    r160::MPU_monitor_lag();
}
void _R160_TASK_47() {
    using namespace r160;
    RCTRL_local_conditions();
    OSPD_test_commands();
    ORVEX12_IO_display();
    PWR_UP_MSG_run_program();
}
void _R160_TASK_50() {
    using namespace r160;
    SYS_ID_site();
    START_not_started();
    START_permissives();
    START_run_time();
    TUTORIAL_page();
}
