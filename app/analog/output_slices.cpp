// The slices of the analog output and actuator driver stages: each lists
// its module pieces in the order they compute.
#include "app/analog/output_slices.h"

#include "app/discrete/discrete_slices.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/ACT_MUX.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/analog/TUTORIAL.cells.h"
#include "app/control/X_RESET.cells.h"
#include "app/analog/UNITS.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/analog/ZZ.cells.h"
#include "app/analog/_GENERIC.cells.h"

void _R20_TASK_5() {
    using namespace r20;
    AO_CHANNEL_signal(2);
    CNFG_AO_output(2);
    AO_CHANNEL_alarm(2);
}

// The controller's analog output channels at 160 ms, one per slice.
void _R160_TASK_51() {
    r160::TUTORIAL_setpoint();
    r160::UNITS_text();
    r160::UNIT_DEMO_timers();
    r160::X_RESET_blink();
    r160::ZZ_notes();
    r160::_GENERIC_block();
    r160::AO_CHANNEL_config(0);
    r160::CNFG_AO_settings(0);
}
void _R160_TASK_52() {
    r160::AO_CHANNEL_config(1);
    r160::CNFG_AO_settings(1);
}
void _R160_TASK_53() {
    r160::AO_CHANNEL_config(2);
    r160::CNFG_AO_settings(2);
}
