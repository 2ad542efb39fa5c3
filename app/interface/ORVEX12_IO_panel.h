// Rows of module ORVEX12_IO for the front panel (listed in
// app/control/ORVEX12_IO.cells.h), 80 ms: the stretched keys, the
// backlight level and fault, the E-stop reset setting, the alarm-LED source,
// operator activity and automatic dimming, and the unit-temperature estimate.
#pragma once

#include <cstdint>

// The 34 keys in the order of the keypad record.
#define ORVEX12_IO_KEYS(K)                                                                                        \
    K(ALARM_VIEW) K(TRIP_VIEW) K(MODE) K(SOFT_KEY_1) K(SOFT_KEY_2) K(SOFT_KEY_3) K(SOFT_KEY_4) K(SCRN_L) K(SCRN_UP) \
    K(SCRN_R) K(SCRN_DN) K(ENTER) K(TRIP) K(ESC) K(HOME) K(START) K(ADJ_UP) K(ADJ_DN) K(RESET) K(ZERO) K(ONE)       \
    K(TWO) K(THREE) K(FOUR) K(FIVE) K(SIX) K(SEVEN) K(EIGHT) K(NINE) K(DECIMAL_PT) K(PLUS_MINUS) K(BACK_SPACE)       \
    K(SHIFT) K(BRIGHTNESS)

#define ORVEX12_IO_PANEL_ROWS(X)                                  \
    X(KEYPAD, ALARM_VIEW, B, R80, PLAIN)                          \
    X(KEYPAD, TRIP_VIEW, B, R80, PLAIN)                           \
    X(KEYPAD, MODE, B, R80, PLAIN)                                \
    X(KEYPAD, SOFT_KEY_1, B, R80, PLAIN)                          \
    X(KEYPAD, SOFT_KEY_2, B, R80, PLAIN)                          \
    X(KEYPAD, SOFT_KEY_3, B, R80, PLAIN)                          \
    X(KEYPAD, SOFT_KEY_4, B, R80, PLAIN)                          \
    X(KEYPAD, SCRN_L, B, R80, PLAIN)                              \
    X(KEYPAD, SCRN_UP, B, R80, PLAIN)                             \
    X(KEYPAD, SCRN_R, B, R80, PLAIN)                              \
    X(KEYPAD, SCRN_DN, B, R80, PLAIN)                             \
    X(KEYPAD, ENTER, B, R80, PLAIN)                               \
    X(KEYPAD, TRIP, B, R80, PLAIN, R10)                           \
    X(KEYPAD, ESC, B, R80, PLAIN)                                 \
    X(KEYPAD, HOME, B, R80, PLAIN)                                \
    X(KEYPAD, START, B, R80, PLAIN)                               \
    X(KEYPAD, ADJ_UP, B, R80, PLAIN)                              \
    X(KEYPAD, ADJ_DN, B, R80, PLAIN)                              \
    X(KEYPAD, RESET, B, R80, PLAIN)                               \
    X(KEYPAD, ZERO, B, R80, PLAIN)                                \
    X(KEYPAD, ONE, B, R80, PLAIN)                                 \
    X(KEYPAD, TWO, B, R80, PLAIN)                                 \
    X(KEYPAD, THREE, B, R80, PLAIN)                               \
    X(KEYPAD, FOUR, B, R80, PLAIN)                                \
    X(KEYPAD, FIVE, B, R80, PLAIN)                                \
    X(KEYPAD, SIX, B, R80, PLAIN)                                 \
    X(KEYPAD, SEVEN, B, R80, PLAIN)                               \
    X(KEYPAD, EIGHT, B, R80, PLAIN)                               \
    X(KEYPAD, NINE, B, R80, PLAIN)                                \
    X(KEYPAD, DECIMAL_PT, B, R80, PLAIN)                          \
    X(KEYPAD, PLUS_MINUS, B, R80, PLAIN)                          \
    X(KEYPAD, BACK_SPACE, B, R80, PLAIN)                          \
    X(KEYPAD, SHIFT, B, R80, PLAIN, R160)                         \
    X(KEYPAD, BRIGHTNESS, B, R80, PLAIN)                          \
    X(KEYPAD, HOLD_TIME, A, R80, TUNE(100.0, 10.0, 1000.0))       \
    X(KEYPAD, BRIGHTNESS_OUT, A, R80, PLAIN, R160)                \
    X(KEYPAD, DISP_BKLT_FLT, B, R80, PLAIN, R40)                  \
    X(KEYPAD, ESTOP_RESET, B, R80, TUNE(false))                   \
    X(INIT_BLINK, B_SW, B, R80, PLAIN)                            \
    X(ANY_KEY, OR, B, R80, PLAIN)                                 \
    X(DIS_DIMMING, IN, B, R80, TUNE(false))                       \
    X(DIS_DIMMING, B_NAME, B, R80, PLAIN)                         \
    X(DIMMING_ENA, NOT, B, R80, PLAIN)                            \
    X(NO_USER, NOT, B, R80, PLAIN)                                \
    X(DIM_MINS, A_NAME, A, R80, TUNE(30.0, 0.5, 240.0))           \
    X(DIM_TO_DIM, MULTIPLY, A, R80, PLAIN)                        \
    X(DLY_NOKEYS, DELAY, B, R80, PLAIN)                           \
    X(DLY_NOKEYS, R_TIME, I, R80, PLAIN)                          \
    X(AUTO_DIM, AND, B, R80, PLAIN, R160)                         \
    X(BRITE_DIFF, RAISE_VAL, B, R80, PLAIN, R160)                 \
    X(BRITE_DIFF, LOWER_VAL, B, R80, PLAIN, R160)                 \
    X(BRITE_DIFF, EXCD_DB_2, B, R80, PLAIN)                       \
    X(UNIT_TEMP, PERIOD, I, R80, TUNE(750, 1, 100000))            \
    X(UNIT_TEMP, RUNNING_AVG, A, R80, PLAIN)                      \
    X(EST_OP_TEMP, IN_2, A, R80, TUNE(-2.0, -50.0, 50.0))         \
    X(EST_OP_TEMP, ADD, A, R80, PLAIN, R160)

// Backlight, keys, E-stop reset, key stretching and the keypad reset pulse
// (piece of _R80_TASK_1).
namespace r80 {
void ORVEX12_IO_keypad();
// Operator activity, automatic dimming and the unit temperature
// (piece of _R80_TASK_22).
void ORVEX12_IO_activity();
}  // namespace r80

// The unit-temperature samples of the last hour.
extern float ORVEX12_IO_UNIT_TEMP_2329Avg[60];
