// Front-panel keypad.
#include "drivers/ZarnKeypad.h"

#include "drivers/zarn_regs.h"
#include "platform/vkiobus.h"

uint32_t AutoRepeatTicks = 10;

// Slot order of the KEYPAD block: ALARM_VIEW, TRIP_VIEW, MODE, SOFT_KEY_1..4,
// SCRN_L, SCRN_UP, SCRN_R, SCRN_DN, ENTER, TRIP, ESC, HOME, START, ADJ_UP,
// ADJ_DN, RESET, ZERO, ONE .. NINE, DECIMAL_PT, PLUS_MINUS, BACK_SPACE,
// SHIFT, BRIGHTNESS.
const ZarnKeyBit zarnKeypadBits[ZARN_KEYPAD_KEYS] = {
    {0, 0}, {1, 0},  {1, 6},  {0, 6}, {0, 1}, {1, 8},  {1, 3},  {1, 4},  {1, 1},
    {1, 2}, {0, 9},  {1, 5},  {0, 7}, {0, 8}, {0, 10}, {2, 11}, {2, 10}, {2, 5},
    {2, 4}, {2, 2},  {0, 3},  {0, 4}, {0, 5}, {1, 9},  {1, 10}, {1, 11}, {2, 9},
    {2, 8}, {2, 7},  {2, 3},  {2, 1}, {0, 2}, {2, 0},  {1, 7},
};

void InitKeypad(uint32_t ticks) { AutoRepeatTicks = ticks; }

void ReadKeypad(uint32_t* const* table) {
    const uint32_t words[3] = {
        VKIO_fpgaRdUint16(ZARN_KEYPAD0),
        VKIO_fpgaRdUint16(ZARN_KEYPAD1),
        VKIO_fpgaRdUint16(ZARN_KEYPAD2),
    };
    for (int slot = 0; slot < ZARN_KEYPAD_KEYS; ++slot) {
        const ZarnKeyBit k = zarnKeypadBits[slot];
        *table[slot] = (words[k.word] >> k.bit) & 1u;
    }
}
