// Rows of module ORVEX12_IO for the chassis display settings (listed in
// app/control/ORVEX12_IO.cells.h), 160 ms: the local-time offset, the boot
// page, the backlight level with its dimming and fading, the temperature
// buffer's start pulse and the chassis alarm.
#pragma once


#define ORVEX12_IO_DISPLAY_ROWS(X)                                \
    X(TIMEZONE, IN_1, I, R160, TUNE(0, -12, 13))                  \
    X(TIMEZONE, OUT_1, A, R160, PLAIN)                            \
    X(USE_HALF, NO, A, R160, TUNE(0.5, 0.01, 1.0))                \
    X(USE_HALF, CTRL, B, R160, TUNE(false))                       \
    X(USE_HALF, A_SW, A, R160, PLAIN)                             \
    X(BOOT_PAGE, IN, I, R160, TUNE(1, 1, 5))                      \
    X(BOOT_PAGE, I_NAME, I, R160, PLAIN)                          \
    X(SEL_BPAGE, IN, B, R160, TUNE(false))                        \
    X(SEL_BPAGE, B_NAME, B, R160, PLAIN)                          \
    X(TOO_HOT, IN_2, A, R160, TUNE(65.0, 40.0, 100.0))            \
    X(TOO_HOT, A_COMPARE, B, R160, PLAIN, R40)                    \
    X(TOO_HOT, A_EQUAL, B, R160, PLAIN)                           \
    X(LIM_MAX, OR, B, R160, PLAIN)                                \
    X(USER_BRITE, TUNE, A, R160, TUNE(75.0, 0.0, 100.0))          \
    X(USER_BRITE, SAMP_TUNE, A, R160, PLAIN, R80)                 \
    X(USER_BRITE, LIMITED, B, R160, PLAIN)                        \
    X(USER_BRITE, EN_ENT_OUT, B, R160, PLAIN)                     \
    X(USER_BRITE, LO_LIM_OUT, A, R160, PLAIN)                     \
    X(USER_BRITE, HI_LIM_OUT, A, R160, PLAIN)                     \
    X(ZMINUS1_B, ZMINUS1_B, B, R160, PLAIN)                       \
    X(MAX_BRIGHT, NO, A, R160, TUNE(30.0, 10.0, 100.0))           \
    X(MAX_BRIGHT, A_SW, A, R160, PLAIN)                           \
    X(FADE_RATE, RATE_DN, A, R160, TUNE(3.0, 1.0, 100.0))         \
    X(FADE_RATE, RATE_LIMIT, A, R160, PLAIN)                      \
    X(BRITENESS, OUT_1, I, R160, PLAIN, R80)                      \
    X(BUFF_INIT, DLY_TIME, A, R160, TUNE(61.0, 0.0, 100.0))       \
    X(BUFF_INIT, TRIGGER, B, R160, TUNE(true))                    \
    X(BUFF_INIT, ONE_SHOT, B, R160, PLAIN, R80)                   \
    X(BUFF_INIT, R_TIME, I, R160, PLAIN)                          \
    X(CHASS_ALMS, OR, B, R160, PLAIN, R40)                        \
    X(DIFF, OR, B, R160, PLAIN)                                   \
    X(NOT_DIM, NOT, B, R160, PLAIN)                               \
    X(PWRUP, NOT, B, R160, PLAIN)                                 \
    X(ENA_DB, AND, B, R160, PLAIN, R80)                           \
    X(SAMP, AND, B, R160, PLAIN)                                  \
    X(PWRUP_OS, DLY_TIME, A, R160, TUNE(5.0, 0.0, 600.0))         \
    X(PWRUP_OS, ONE_SHOT, B, R160, PLAIN)                         \
    X(PWRUP_OS, R_TIME, I, R160, PLAIN)                           \
    X(IOLOCK_PWRUP, OR, B, R160, PLAIN)

// The chassis display settings (piece of _R160_TASK_47).
namespace r160 {
void ORVEX12_IO_display();
}
