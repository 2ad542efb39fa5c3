// The slices of the discrete channels: each lists its module pieces in the
// order they compute. Discrete input channel k: controller inputs 0 .. 7,
// remote node inputs 8 .. 23 (remote input n is 7 + n).
#include "app/discrete/discrete_slices.h"

#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/discrete/VL4_BI.cells.h"

namespace {
constexpr int kFirstRemote = kBiControllerChannels;
constexpr int kLastRemote = kBiChannels - 1;
// Configuration part of the remote input numbers first .. last (1 .. 16).
void configure_remote(int first, int last) {
    for (int n = first; n <= last; ++n) r160::BI_CHANNEL_configure(kFirstRemote + n - 1);
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

void _R10_TASK_6() {
    using namespace r10;
    // also: the 10 ms piece of the actuator channel (not built yet)
    BI_MUX_contacts();
    CNFG_BI_esd_copy();
}

void _R10_TASK_7() {}
void _R10_TASK_8() {}

// Input 1's E-stop and time-stamp selection.
void _R10_TASK_10() { r10::BI_CHANNEL_select(0); }

// Remote inputs: the signals into the node's list, then the selections.
void _R20_TASK_5() {
    for (int k = kFirstRemote; k <= kLastRemote; ++k) r20::BI_CHANNEL_signal(k);
}
void _R20_TASK_6() {
    for (int k = kFirstRemote; k <= kLastRemote; ++k) r20::BI_CHANNEL_select(k);
}

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
}
