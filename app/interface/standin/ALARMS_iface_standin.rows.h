// STAND-IN rows of module ALARMS until the alarm LED logic lands: the LED
// state that the front panel's LED source passes on after the boot phase.
#pragma once

#define ALARMS_IFACE_STANDIN_ROWS(X) X(ALARM_LED, B_NAME, B, R160, PLAIN, R80)
