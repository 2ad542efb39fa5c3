// Module BO_MUX, the relay states at 10 ms: the speed-control and
// valve-limiter states with their on/off delay, the trip-relay state, and the
// state list SEL_STATES from which every relay output picks its function.
#pragma once

#include "runtime/catalogue.h"

// The level-switch list: the values a relay level switch can watch (the
// first twelve reach the relays), partly tunable.
#define BO_MUX_LSW_ROW(X, N) X(SEL_LSW, LIST_##N, A, R80, PLAIN, R10, R40)
#define BO_MUX_LSW_IN(X, N) X(SEL_LSW, IN_##N, A, R80, TUNE(0.0, -1e38, 1e38))
#define BO_MUX_CELLS(X) \
    X(NOT_VLVLMTR, NOT, B, R10, PLAIN)                  \
    X(SPD_NOTLMTR, AND, B, R10, PLAIN)                  \
    X(DLY_LSS1, DELAY, B, R10, PLAIN)                   \
    X(DLY_LSS1, R_TIME, I, R10, PLAIN)                  \
    X(DLY_LSS1, DLY_TIME, A, R10, TUNE(0.5, 0.0, 3.0))  \
    X(DLY_LSS1, NEG_DTIME, A, R10, TUNE(0.5, 0.0, 3.0)) \
    X(SPD_CTRL, B_NAME, B, R10, PLAIN)                  \
    X(SPD_CASC, AND, B, R10, PLAIN)                     \
    X(CASC_CTRL, B_NAME, B, R10, PLAIN)                 \
    X(ON_LINE, B_NAME, B, R10, PLAIN)                   \
    X(OSPD_TRIP, B_NAME, B, R10, PLAIN)                 \
    X(TRIPPED, B_NAME, B, R10, PLAIN)                   \
    X(VLVLMT_CTL, B_NAME, B, R10, PLAIN)                \
    X(TRIP_RLY, B_NAME, B, R10, PLAIN)                  \
    X(SEL_STATES, LIST_1, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_2, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_3, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_4, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_5, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_6, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_7, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_8, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_9, B, R10, PLAIN, R40)           \
    X(SEL_STATES, LIST_10, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_11, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_12, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_13, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_14, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_15, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_16, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_17, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_18, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_19, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_20, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_21, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_22, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_23, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_24, B, R10, PLAIN, R40)          \
    X(SEL_STATES, LIST_25, B, R10, PLAIN, R40)          \
    X(RMT_ENBLD, B_NAME, B, R80, PLAIN, R10)            \
    X(RMT_CTRL, B_NAME, B, R80, PLAIN, R10)             \
    X(OSPD_TEST, B_NAME, B, R80, PLAIN, R10)            \
    X(CASC_ENBLD, B_NAME, B, R80, PLAIN, R10)           \
    X(CASC_ACTIV, B_NAME, B, R160, PLAIN, R10)          \
    X(RMTCASC_EN, B_NAME, B, R80, PLAIN, R10)           \
    X(AUTO_HALT, B_NAME, B, R80, PLAIN)                 \
    X(RMTCAS_ACT, B_NAME, B, R160, PLAIN, R10)          \
    X(RST_PLS2, ONE_SHOT, B, R80, PLAIN)                \
    X(RST_PLS2, R_TIME, I, R80, PLAIN)                  \
    X(RST_PLS, B_NAME, B, R80, PLAIN, R10)              \
    X(STARTED_OS, ONE_SHOT, B, R80, PLAIN)              \
    X(STARTED_OS, R_TIME, I, R80, PLAIN)                \
    X(START_IND, CTRL, B, R80, TUNE(true))              \
    X(START_IND, B_SW, B, R80, PLAIN, R10)              \
    X(SEL_LSW, IN_1, A, R80, TUNE(0.0, -100.0, 100.0))  \
    BO_MUX_LSW_ROW(X, 1) BO_MUX_LSW_ROW(X, 2) BO_MUX_LSW_ROW(X, 3)     \
    BO_MUX_LSW_ROW(X, 4) BO_MUX_LSW_ROW(X, 5) BO_MUX_LSW_ROW(X, 6)     \
    BO_MUX_LSW_ROW(X, 7) BO_MUX_LSW_ROW(X, 8) BO_MUX_LSW_ROW(X, 9)     \
    BO_MUX_LSW_ROW(X, 10) BO_MUX_LSW_ROW(X, 11) BO_MUX_LSW_ROW(X, 12)  \
    X(SEL_LSW, LIST_13, A, R80, PLAIN)                  \
    X(SEL_LSW, LIST_14, A, R80, PLAIN)                  \
    X(SEL_LSW, LIST_15, A, R80, PLAIN)                  \
    BO_MUX_LSW_IN(X, 10) BO_MUX_LSW_IN(X, 11) BO_MUX_LSW_IN(X, 12)     \
    BO_MUX_LSW_IN(X, 13) BO_MUX_LSW_IN(X, 14) BO_MUX_LSW_IN(X, 15)     \
    X(ALARM, B_NAME, B, R40, PLAIN, R10)                \
    X(REV_ALM, NOT, B, R40, PLAIN)                      \
    X(ALARM_R, B_NAME, B, R40, PLAIN)

CAT_MODULE(BO_MUX)

constexpr int kRelayStates = 25;

namespace r80 {
// The relay indications of the 80 ms group: remote speed setpoint enabled,
// the reset pulse, the level-switch list and the start indication (piece of
// _R80_TASK_17).
void BO_MUX_indications();
}  // namespace r80

namespace r10 {
// The speed-PID and valve-limiter selections of the HP driver (sixth slice).
void BO_MUX_limiter();
// The speed-control delay and the states it feeds (seventh slice).
void BO_MUX_speed_states();
// The trip-relay state, after the trip relay logic.
void BO_MUX_trip_relay();
// The state list (entries 1 .. 25), just before the relay run parts.
void BO_MUX_states();
}  // namespace r10

namespace r40 {
// The alarm relay's function slots: the blinking alarm and its negation
// (piece of _R40_TASK_4).
void BO_MUX_alarm_slots();
}  // namespace r40
