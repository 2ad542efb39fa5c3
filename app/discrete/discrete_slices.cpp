// The slices of the discrete channels: each lists its module pieces in the
// order they compute. Discrete input channel k: controller inputs 0 .. 7,
// remote node inputs 8 .. 23 (remote input n is 7 + n).
#include "app/interface/DATALOG.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/analog/TUTORIAL.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CHECK_VL.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/discrete/discrete_slices.h"

#include "app/config/MASTER.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/remote_io/MOD_VL_IO.cells.h"
#include "app/remote_io/remote_io.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/ACT_MUX.cells.h"
#include "app/control/IFACE_IN_contacts.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/control_slices.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/MOD_SPD_SP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/CNFG_BO.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/RELAY_CHANNEL.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/discrete/VL4_BI.cells.h"
#include "app/discrete/VL5_BO.cells.h"
#include "app/discrete/unit_delays_r160.h"

namespace {
constexpr int kFirstRemote = kBiControllerChannels;
constexpr int kLastRemote = kBiChannels - 1;
// Configuration part of the remote input numbers first .. last (1 .. 16).
void configure_remote(int first, int last) {
    for (int n = first; n <= last; ++n) {
        r160::BI_CHANNEL_configure(kFirstRemote + n - 1);
        r160::CNFG_CHECK_VL_discrete_input(n);
    }
}
// Relay channel index of remote relay k (1 .. 16).
constexpr int remote_relay(int k) { return kRelayControllerChannels + k - 1; }
// Run part of the remote relays first .. last.
void run_remote_relays(int first, int last) {
    for (int k = first; k <= last; ++k) {
        r40::RELAY_CHANNEL_select(remote_relay(k));
        r40::RELAY_CHANNEL_output(remote_relay(k));
    }
}
// Configuration part of remote relay k.
void configure_remote_relay(int k) {
    using namespace r160;
    RELAY_CHANNEL_function(remote_relay(k));
    RELAY_CHANNEL_level_switch(remote_relay(k));
    RELAY_CHANNEL_settings(remote_relay(k));
}
}  // namespace

// Controller inputs 3 .. 8, the contact routing, the clock block, the
// "External Trip 1" latch and the event-time switches.
void _R10_TASK_2() {
    using namespace r10;
    for (int k = 2; k < kBiControllerChannels; ++k) {
        BI_CHANNEL_select(k);
        CNFG_BI_input(k);
        BI_CHANNEL_signal(k);
    }
    BI_MUX_route();
    ORVEX12_IO_clock();
    BI_MUX_external_trip();
    SHUTDOWNS_external_trip_1();
    BI_MUX_event_times();
}

// The drive shutdown and, in the same pass, its hand-off to the actuator
// driver; the alarm override after a shutdown, the named contacts with the
// interface contacts that copy them, and the HP driver's selections.
void _R10_TASK_6() {
    using namespace r10;
    DRVR_SCALE_drive_shutdown();
    CNFG_ACT_shutdown_request();
    ACT_CHANNEL_shutdown();
    CNFG_ACT_driver();
    ACT_MUX_fault_routing();
    SHUTDOWNS_not_latched();
    ALARMS_shutdown_override();
    IFACE_OUT_VLV_high_limit();
    ALM_LOGIC_conditions();
    BI_MUX_contacts();
    IFACE_IN_contacts();
    IFACE_OUT_VLV_selections();
    BO_MUX_limiter();
}

// The relay states, the trip relay and the controller relays' run parts.
void _R10_TASK_7() {
    using namespace r10;
    BO_MUX_speed_states();
    SHUTDOWNS_trip_relay();
    BO_MUX_trip_relay();
    BO_MUX_states();
    CNFG_ACT_displays();
    CNFG_BI_esd_copy();
    CNFG_BO_relay_1();
    RELAY_CHANNEL_select(0);
    RELAY_CHANNEL_output(0);
    RELAY_CHANNEL_select(1);
    RELAY_CHANNEL_output(1);
    RELAY_CHANNEL_select(2);
}
// Relay 3's run part, the own CAN node's go-operational command, then the
// speed control's pieces.
void _R10_TASK_8() {
    r10::RELAY_CHANNEL_output(2);
    r10::CNFG_CAN2_go_oper();
    speed_control_R10_TASK_8();
    r10::DATALOG_print_pulse();
}

// Input 1's E-stop and time-stamp selection, then the speed control's and
// the shutdown logic's pieces.
void _R10_TASK_10() {
    r10::BI_CHANNEL_select(0);
    speed_control_R10_TASK_10();
}

// Remote inputs: the signals from the node's contacts (which the node logic
// delivers at the head of _R20_TASK_6), the node's input list, then the
// E-stop and time-stamp selections.
void _R20_TASK_6() {
    r20::VL4_BI_contacts();
    for (int k = kFirstRemote; k <= kLastRemote; ++k) r20::BI_CHANNEL_signal(k);
    r20::MOD_VL_IO_image();
}
void discrete_R20_TASK_7() { r20::BI_CHANNEL_node_list(); }
void _R20_TASK_19() {
    remote_io_R20_TASK_19();
    for (int k = kFirstRemote; k <= kLastRemote; ++k) r20::BI_CHANNEL_select(k);
}

// Run parts of the remote node's relays at 40 ms.
void _R40_TASK_5() {
    r40::SPDC_track_rate();
    r40::OSPD_speed_hold();
    r40::SPD_CTRL_reference_moving();
    run_remote_relays(1, 4);
    r40::RELAY_CHANNEL_select(remote_relay(5));
}
void _R40_TASK_6() {
    r40::RELAY_CHANNEL_output(remote_relay(5));
    run_remote_relays(6, 10);
}
void _R40_TASK_7() {
    run_remote_relays(11, 15);
    r40::RELAY_CHANNEL_select(remote_relay(16));
}
// Remote relay 16's run part, the storage and idle-time indications, then
// the speed control's pieces and the 40 ms unit delays.
void _R40_TASK_8() {
    r40::RELAY_CHANNEL_output(remote_relay(16));
    r40::MASTER_load();
    r40::MESSAGE_remote_equal();
    speed_control_R40_TASK_8();
}

// Relay 1 and the function and level-switch numbers of relays 2 .. 4.
void _R160_TASK_18() { r160::CNFG_BO_relay_1(); }
void _R160_TASK_19() {
    for (int k = 0; k < kRelayControllerChannels; ++k) r160::RELAY_CHANNEL_function(k);
}
void _R160_TASK_27() {
    using namespace r160;
    for (int k = 0; k < kRelayControllerChannels; ++k) RELAY_CHANNEL_level_switch(k);
    CNFG_BO_functions();
}
void _R160_TASK_56() { r160::RELAY_CHANNEL_settings(0); }
void _R160_TASK_57() { r160::RELAY_CHANNEL_settings(1); }
void discrete_R160_TASK_58() { r160::RELAY_CHANNEL_settings(2); }

// Configuration parts at 160 ms: the controller inputs, then the remote
// node's inputs from _R160_TASK_62 on.
void _R160_TASK_54() {
    for (int k = 0; k < 4; ++k) r160::BI_CHANNEL_configure(k);
}
void _R160_TASK_55() {
    for (int k = 4; k < kBiControllerChannels; ++k) r160::BI_CHANNEL_configure(k);
}
void discrete_R160_TASK_62() {
    r160::VL4_BI_wizard();
    configure_remote(1, 3);
}
void _R160_TASK_63() { configure_remote(4, 6); }
void _R160_TASK_64() { configure_remote(7, 9); }
void discrete_R160_TASK_65() { configure_remote(10, 12); }
void _R160_TASK_66() {
    configure_remote(13, 16);
    r160::BI_CHANNEL_node_functions();
    r160::VL4_BI_trip_numbers();
    r160::VL5_BO_wizard();
    configure_remote_relay(1);
}
// The remote node's relays 2 .. 16, one per slice.
void _R160_TASK_67() { configure_remote_relay(2); }
void _R160_TASK_68() { configure_remote_relay(3); }
void _R160_TASK_69() { configure_remote_relay(4); }
void _R160_TASK_70() { configure_remote_relay(5); }
void discrete_R160_TASK_71() { configure_remote_relay(6); }
void _R160_TASK_72() { configure_remote_relay(7); }
void _R160_TASK_73() { configure_remote_relay(8); }
void _R160_TASK_74() { configure_remote_relay(9); }
void _R160_TASK_75() { configure_remote_relay(10); }
void _R160_TASK_76() { configure_remote_relay(11); }
void _R160_TASK_77() { configure_remote_relay(12); }
void _R160_TASK_78() { configure_remote_relay(13); }
void _R160_TASK_79() { configure_remote_relay(14); }
void discrete_R160_TASK_80() { configure_remote_relay(15); }
void _R160_TASK_81() {
    configure_remote_relay(16);
    r160::unit_delays_store_first_block();
}
// The end of the 160 ms pass: the commit of the unit delays.
void _R160_TASK_82() {
    // also: the second block of stores and the step commits (not built yet)
    r160::SPDC_store_delays();
    r160::ENTR_SETPT_store_delays();
    r160::MOD_SPD_SP_store_delays();
    r160::unit_delays_commit_first_block();
    r160::SPDC_commit_delays();
    r160::ENTR_SETPT_commit_delays();
    r160::MOD_SPD_SP_commit_delays();
    r160::SPDC_commit_mode();
    r160::HPLM_commit();
    r160::TUTORIAL_commit();
}
