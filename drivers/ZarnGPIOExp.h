// Status LEDs on the GPIO port expander.
#pragma once

#include <cstdint>

// Switches the LED of expander `port` on (bit 0 of `on` set) or off; returns 0.
int SetZarnGPIOExpLeds(uint32_t port, uint32_t on);
