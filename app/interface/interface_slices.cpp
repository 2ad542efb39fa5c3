#include "app/interface/interface_slices.h"

#include "app/control/HP_DRIVER.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/MOD_links.rows.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/F_KEY.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/RMT_SETPT.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "app/remote_io/VLTR_BEAR.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/CUST_TREND.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/SYS_ID.cells.h"
#include "app/config/CNFG_CHECK_BO.cells.h"
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/config/RMT_SETPT.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/CNFG_SNTP.cells.h"
#include "app/interface/C_COMM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/config/CNFG_START.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"

void _R40_TASK_4() {
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
    r40::IFACE_IN_commands_40();
    r40::HP_LIMTER_lag();
    r40::CUST_TREND_values();
    r40::BO_MUX_alarm_slots();
    r40::ENTR_SETPT_matched();
}

void _R160_TASK_28() {
    using namespace r160;
    CNFG_CHECK_BO_relay_errors();
    RMT_SETPT_limits();
    CNFG_CHECK_RMT_range();
    CNFG_DRIVER_options();
    CNFG_ENET1_lists();
    CNFG_COMMS_ports();
}

void _R160_TASK_29() {
    using namespace r160;
    CNFG_ENET1_mask_tail();
    CNFG_SNTP_server();
    START_started();
    IFACE_OUT_START_starting();
    // The trip counters above a load level take the level of the pass
    // before: the valve demand has fallen to 0 by the first pass that
    // sees the trip.
    COND_MON_inputs();
    DATALOG_load_levels();
    CNFG_OPERATE_options();
    CNFG_SPEED_difference();
    CNTRL_STOP_settings();
    CNFG_SETPT_settings();
    CNFG_START_settings();
}

void _R160_TASK_30() { r160::COND_MON_counters(); }

void _R160_TASK_31() {
    r160::COND_MON_run_hours();
    r160::DATALOG_start();
}

void _R160_TASK_34() {
    r160::C_COMM_copy();
    r160::CUST_TREND_ranges();
    r160::DATALOG_counter();
}

void _R160_TASK_35() {
    r160::DATALOG_requests();
    r160::IFACE_IN_settings();
    r160::DROOP_values();
    r160::HP_DRIVER_forward_reverse();
    r160::HP_DRIVER_stroke_latch();
    r160::DRVR_SCALE_self_powered();
}

// The suggested process limit, the sensor override timer and the speed,
// start and valve status shown.
void _R160_TASK_41() {
    using namespace r160;
    ENTR_SETPT_auto_start();
    SPD_CTRL_process_limit();
    MPU_OVRD_start_timer();
    IFACE_OUT_SPEED_status();
    IFACE_OUT_START_overrides();
    IFACE_OUT_VLV_entered_rate();
}

void _R160_TASK_39() { r160::IFACE_IN_VLV_limiter_text(); }
// Remote-node enables and fault summaries, RTD channel 1's configuration and
// the reset pulses, ahead of the front panel.
void _R80_TASK_1() {
    using namespace r80;
    CNFG_CAN2_node_enables();
    VLTR_ALMS_override();
    VLTR_ALMS_node_faults();
    RTD_CHANNEL_settings(0);
    RESET_pulses();
    ORVEX12_IO_keypad();
    MOD_BW_write_enable();
}

// The simulator commands, the simulation and demo enables and the idle
// comparison.
void _R80_TASK_2() {
    using namespace r80;
    MOD_BW_commands();
    OPC_DATA_commands();
    SPEED_SIM_internal_sim();
    IFACE_MODE_local_level();
    SPEED_SIM_enable();
    UNIT_DEMO_enables();
    MPU_idle_compare();
    UNIT_DEMO_at_idle();
    UNIT_DEMO_commands();
    RESET_reset_pulse();
}

// Minimum governor and idle flags, the remote-cascade inhibit list, the
// overspeed-test demand, the power-up message and the remote speed setpoint.
// The remote nodes' trip list.
void _R80_TASK_21() { r80::VLTR_ALMS_trip_list(); }

void _R80_TASK_22() {
    using namespace r80;
    MPU_min_gov_compare();
    OPC_DATA_lists();
    RMT_CAS_EN_inhibit_list();
    OPC_DATA_link();
    OSPD_test_demand();
    ORVEX12_IO_activity();
    PWR_UP_MSG_timing();
    REMOTE_selection();
    RMT_SETPT_filter();
    RMT_SETPT_switch();
    REMOTE_match_window();
}

// The lamp test and alarm LED, the blink rhythm, the master commands and the
// calibration permissive.
void _R160_TASK_10() {
    using namespace r160;
    ALARMS_alarm_led();
    ALARMS_delay_override_lists();
    MOD_link_flags();
    F_KEY_blink();
    MASTER_commands();
    CALMODE_permissive();
}

void _R160_TASK_43() {
    using namespace r160;
    VLTR_BEAR_monitor();
    VLTR_VIB_used();
    VLTR_VIB_count();
    SYS_ID_delay();
    MASTER_configure_mode();
    MESSAGE_texts();
}
