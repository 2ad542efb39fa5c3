// Front-panel keypad.
#pragma once

#include <cstdint>

constexpr int ZARN_KEYPAD_KEYS = 34;

// Keypad auto-repeat setting (stored only).
extern uint32_t AutoRepeatTicks;

// Where each slot of the keypad table reads its key: keypad word 0..2
// (registers 0x8080F2F0, F2F2, F2F4) and bit.
struct ZarnKeyBit {
    uint8_t word;
    uint8_t bit;
};
extern const ZarnKeyBit zarnKeypadBits[ZARN_KEYPAD_KEYS];

void InitKeypad(uint32_t ticks);
// Reads the three keypad registers once each and writes 1 (pressed) or 0
// through each of the 34 boolean-cell pointers of `table`, in slot order.
void ReadKeypad(uint32_t* const* table);
