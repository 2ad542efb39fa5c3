// Module SD_LOGIC: the power-up shutdown window and the trip conditions the
// shutdown logic computes at 10 ms (power-up trip, external contacts, the
// front-panel trip key, the HP actuator fault), with their 160 ms settings.
#pragma once

#include "app/protection/SD_LOGIC_trip_cmd.rows.h"
#include "runtime/catalogue.h"

#define SD_LOGIC_CELLS(X)                                  \
    X(PWR_UP_SD, DLY_TIME, A, R10, TUNE(1.0, 0.0, 2.0))    \
    X(PWR_UP_SD, ONE_SHOT, B, R10, PLAIN)                  \
    X(PWR_UP_SD, R_TIME, I, R10, PLAIN)                    \
    X(PSHBTN_Z, ZMINUS1_B, B, R10, PLAIN) \
    X(HP_FLT_Z, ZMINUS1_B, B, R10, PLAIN) \
    SD_LOGIC_TRIP_CMD_ROWS(X) \
    X(VL_SUMMARY, B_NAME, B, R80, PLAIN, R10) \
    X(SD_NOT_DLY, DLY_TIME, A, R20, TUNE(3.5, 0.0, 5.0)) \
    X(SD_NOT_DLY, DELAY, B, R20, PLAIN, R10) \
    X(SD_NOT_DLY, R_TIME, I, R20, PLAIN) \
    X(SD_ON_PWRUP, IN, B, R10, TUNE(false)) \
    X(SD_ON_PWRUP, B_NAME, B, R10, PLAIN) \
    X(PWRUP_SD, AND, B, R10, PLAIN) \
    X(OVRD_TRIP, NOT, B, R10, PLAIN) \
    X(PU_SD_HIST, AND, B, R10, PLAIN) \
    X(NOT_TRIP2, NOT, B, R10, PLAIN) \
    X(NOT_TRIP3, NOT, B, R10, PLAIN) \
    X(NOT_TRIP4, NOT, B, R10, PLAIN) \
    X(NOT_TRIP5, NOT, B, R10, PLAIN) \
    X(DLY_OFF, DELAY, B, R10, PLAIN) \
    X(DLY_OFF, R_TIME, I, R10, PLAIN) \
    X(DLY_OFF, NEG_DTIME, A, R10, TUNE(2.0, 0.0, 60.0)) \
    X(STOP_BUTTON, B_SW, B, R10, PLAIN, R80) \
    X(PUSHBUTTON, B_SW, B, R10, PLAIN) \
    X(HP_FLT_SD, DELAY, B, R10, PLAIN) \
    X(HP_FLT_SD, R_TIME, I, R10, PLAIN) \
    X(HP_FLT_SD, DLY_TIME, A, R10, TUNE(1.0, 0.0, 60.0)) \
    X(HP_FLT_P, AND, B, R10, PLAIN) \
    X(HP_FLT, AND, B, R10, PLAIN) \
    X(USE_DELAY, IN, B, R160, TUNE(false)) \
    X(USE_DELAY, B_NAME, B, R160, PLAIN, R10, R80) \
    X(USE_RMTTRIP, IN, B, R160, TUNE(false)) \
    X(USE_RMTTRIP, B_NAME, B, R160, PLAIN, R80) \
    X(CTRL_SD_NT, NOT, B, R160, PLAIN)
CAT_MODULE(SD_LOGIC)

namespace r10 {
// The power-up shutdown one-shot (first piece of _R10_TASK_1).
void SD_LOGIC_power_up();
// The power-up trip and the external trip contacts (third slice).
void SD_LOGIC_conditions();
// The HP actuator fault after its delay (third slice).
void SD_LOGIC_hp_fault();
// The front-panel trip key (ninth slice).
void SD_LOGIC_trip_key();
}  // namespace r10
namespace r160 {
void SD_LOGIC_settings();
}
namespace r20 {
// The not-shut-down delay (piece of _R20_TASK_7).
void SD_LOGIC_not_sd_delay();
}
