// Module ORVEX12_IO: controller I/O values; the 10 ms group takes the
// set-date command; the chassis status block's supplies, ADC fault and LED
// commands; the chassis display settings (160 ms).
#pragma once

#include "platform/TIME.h"
#include "app/interface/ORVEX12_IO_panel.h"
#include "app/control/ORVEX12_IO_display.rows.h"
#include "runtime/catalogue.h"

#define ORVEX12_IO_CELLS(X)                      \
    /* Nothing in the application writes the accumulator the chassis */ \
    /* comparator watches: it stays 0.                                */ \
    X(ACCUM, OUT_1, A, R10, PLAIN) \
    X(A_COMPARE, IN_2, A, R10, TUNE(1.0, -1.0e6, 1.0e6)) \
    X(A_COMPARE, A_COMPARE, B, R10, PLAIN) \
    X(A_COMPARE, A_EQUAL, B, R10, PLAIN) \
    X(RTC, YEARS, I, R10, PLAIN) \
    X(RTC, MONTHS, I, R10, PLAIN) \
    X(RTC, DAYS, I, R10, PLAIN) \
    X(RTC, DAYOFWEEK, I, R10, PLAIN) \
    X(RTC, HOURS, I, R10, PLAIN) \
    X(RTC, MINUTES, I, R10, PLAIN) \
    X(RTC, SECONDS, I, R10, PLAIN) \
    X(RTC, F_SECS, I, R10, PLAIN) \
    X(RTC, TOD, T, R10, PLAIN, R40, R80, R160) \
    X(RTC, FAULT, B, R10, PLAIN) \
    X(RTC, RST, B, R10, TUNE(false)) \
    X(RTC, YEAR_IN, I, R10, TUNE(17, 0, 99)) \
    X(RTC, MONTH_IN, I, R10, TUNE(1, 1, 12)) \
    X(RTC, DAY_IN, I, R10, TUNE(1, 1, 31)) \
    X(RTC, DOW_IN, I, R10, TUNE(1, 1, 7)) \
    X(RTC, HOUR_IN, I, R10, TUNE(0, 0, 23)) \
    X(RTC, MIN_IN, I, R10, TUNE(0, 0, 59)) \
    X(RTC, SEC_IN, I, R10, TUNE(0, 0, 59)) \
    X(RTC, DST_ACTIVE, B, R10, PLAIN) \
    X(SET_TIME, OR, B, R10, PLAIN) \
    X(ADD_HALF, ADD, A, R160, PLAIN, R10) \
    X(SET_CLOCK, IN, B, R10, TUNE(false))        \
    X(SET_CLOCK, B_NAME, B, R10, PLAIN)          \
    X(CHASS_STATUS, PS_1_2V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_1_4V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_1_8V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_3_3V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_5V, A, R20, PLAIN)        \
    X(CHASS_STATUS, PS_15V, A, R20, PLAIN)       \
    X(CHASS_STATUS, PS_N15V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_24V, A, R20, PLAIN)       \
    X(CHASS_STATUS, FPGA_ADC_FLT, B, R20, PLAIN) \
    X(CHASS_STATUS, CAL_FLT, B, R20, PLAIN)      \
    X(CHASS_STATUS, CELSIUS, A, R20, PLAIN, R80) \
    X(CAL_FLT, IN_2, B, R20, TUNE(true))         \
    X(CAL_FLT, AND, B, R20, PLAIN, R160)         \
    X(CHASS_STATUS, CPU_RED_LED, B, R20, PLAIN)  \
    X(CHASS_STATUS, CPU_GREEN_LED, B, R20, PLAIN) \
    X(CHASS_STATUS, PRODUCT_MODEL, C, R20, PLAIN) \
    X(PULSE, ZMINUS1_B, B, R10, PLAIN)           \
    ORVEX12_IO_DISPLAY_ROWS(X) \
    ORVEX12_IO_PANEL_ROWS(X)
CAT_MODULE(ORVEX12_IO)

// The board temperature and the calibration fault (piece of _R20_TASK_7).
namespace r20 {
void ORVEX12_IO_chassis();
}

// The set-date command (piece of _R10_TASK_1).
namespace r10 {
void ORVEX12_IO_set_clock();
// The chassis comparator (piece of _R10_TASK_9).
void ORVEX12_IO_comparator();
}

// The controller clock block RTC (app/discrete/ORVEX12_IO_RTC.cpp): local
// time of day from the time service, its advance check, and the settings
// from the tunables (piece of _R10_TASK_2, after the contact routing).
namespace r10 {
void ORVEX12_IO_clock();
}
// The block's time record, the last millisecond seen and the passes since it
// changed.
extern CalendarTime& ORVEX12_IO_RTC_2310_time;
extern int32_t& ORVEX12_IO_RTC_2310_LastMs;
extern int32_t& ORVEX12_IO_RTC_2310_Forgive;
