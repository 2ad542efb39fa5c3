// Module SHUTDOWNS, the parts the discrete channel logic computes at 10 ms:
// the "External Trip 1" latch SD_01 with its power-up override, and the trip
// relay (shutdown pulse, relay latch, first-out test of the external trips).
#pragma once

#include "app/discrete/standin/discrete_rows_standin.h"
#include "runtime/catalogue.h"

#define SHUTDOWNS_CELLS(X) \
    X(SIM_SW, B_SW, B, R10, PLAIN)                         \
    X(PWR_UP_OVRD, ONE_SHOT, B, R10, PLAIN)                \
    X(PWR_UP_OVRD, R_TIME, I, R10, PLAIN)                  \
    X(PWR_UP_OVRD, DLY_TIME, A, R10, TUNE(0.5, 0.01, 5.0)) \
    X(SD_01, B_ALARM, B, R10, PLAIN)                       \
    X(SD_01, LIGHT, B, R10, PLAIN)                         \
    X(SD_01, HORN, B, R10, PLAIN)                          \
    X(NOT_SD, NOT, B, R10, PLAIN)                          \
    X(SD_PLS, ONE_SHOT, B, R10, PLAIN, R80)                \
    X(SD_PLS, R_TIME, I, R10, PLAIN)                       \
    X(REL_LATCH, LATCH, B, R10, PLAIN)                     \
    X(SD_REL_SW, B_SW, B, R10, PLAIN)                      \
    X(TRIP1_EQ, EQ, B, R10, PLAIN)                         \
    X(TRIP1_EQ, LT, B, R10, PLAIN)                         \
    X(TRIP1_EQ, GT, B, R10, PLAIN)                         \
    X(TRIP2_EQ, EQ, B, R10, PLAIN)                         \
    X(TRIP2_EQ, LT, B, R10, PLAIN)                         \
    X(TRIP2_EQ, GT, B, R10, PLAIN)                         \
    X(TRIP2_GT_EQ, OR, B, R10, PLAIN)                      \
    X(TRIP5_EQ, EQ, B, R10, PLAIN)                         \
    X(TRIP5_EQ, LT, B, R10, PLAIN)                         \
    X(TRIP5_EQ, GT, B, R10, PLAIN)                         \
    X(TRIP5_LT_EQ, OR, B, R10, PLAIN)                      \
    X(TRIPS2_5, AND, B, R10, PLAIN)                        \
    X(N_EXT_TRIP, NOR, B, R10, PLAIN)                      \
    X(XTRNL_TRIP, B_SW, B, R10, PLAIN)                     \
    X(TRIP_RELAY, AND, B, R10, PLAIN)                      \
    X(RELY_NOT, NOT, B, R10, PLAIN, R80)                   \
    SHUTDOWNS_STANDIN_ROWS(X)
CAT_MODULE(SHUTDOWNS)

namespace r10 {
// The "External Trip 1" path after the clock block: the simulation switch,
// the power-up override and the latch SD_01.
void SHUTDOWNS_external_trip_1();
// No shutdown latched (sixth slice).
void SHUTDOWNS_not_latched();
// The trip relay: shutdown pulse, relay latch and the external-trip
// first-out test (seventh slice).
void SHUTDOWNS_trip_relay();
}  // namespace r10
