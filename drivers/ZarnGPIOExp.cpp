// Status LEDs on the GPIO port expander.
#include "drivers/ZarnGPIOExp.h"

#include <cstdio>

#include "host/chips.h"

int SetZarnGPIOExpLeds(uint32_t port, uint32_t on) {
    // The LEDs are wired to the supply: a low port output lights them.
    uint16_t word = static_cast<uint16_t>((port << 8) | ((on & 1u) == 0 ? 1u : 0u));
    if (MAX7317_Write(&word, word) != 0) {
        std::printf("Port expander SPI error\n");
    }
    return 0;
}
