// Module BI_MUX at 10 ms: the contact multiplexer that routes every
// controller and remote discrete channel to its function slot, the named
// function contacts, and the event-time switches.
#pragma once

#include "app/config/BI_MUX_routing.rows.h"
#include "runtime/catalogue.h"

#define BI_MUX_CELLS(X) \
    BI_MUX_ROUTING_ROWS(X) \
    X(ONLINE_DYN_CONT, B_NAME, B, R10, PLAIN) \
    X(CONT_MUX, OUT_1, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_2, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_3, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_4, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_5, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_6, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_7, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_8, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_9, B, R10, PLAIN)            \
    X(CONT_MUX, OUT_10, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_11, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_12, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_13, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_14, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_15, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_16, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_17, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_18, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_19, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_20, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_21, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_22, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_23, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_24, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_25, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_26, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_27, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_28, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_29, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_30, B, R10, PLAIN)           \
    X(CONT_MUX, OUT_31, B, R10, PLAIN)           \
    X(EXT_TRIP_1, B_NAME, B, R10, PLAIN, R80) \
    X(EXT_TRIP_2, B_NAME, B, R10, PLAIN, R80) \
    X(EXT_TRIP_3, B_NAME, B, R10, PLAIN, R80) \
    X(EXT_TRIP_4, B_NAME, B, R10, PLAIN, R80) \
    X(EXT_TRIP_5, B_NAME, B, R10, PLAIN) \
    X(TIME_SYNC, B_NAME, B, R10, PLAIN)          \
    X(BI_FUNC_28, B_NAME, B, R10, PLAIN)         \
    X(BI_FUNC_29, B_NAME, B, R10, PLAIN)         \
    X(BI_FUNC_30, B_NAME, B, R10, PLAIN)         \
    X(CASC_ENBL_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(CASC_LWR_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(CASC_RAISE_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(CONTL_SD_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(EXT_ALM_1, B_NAME, B, R10, PLAIN, R40)          \
    X(EXT_ALM_2, B_NAME, B, R10, PLAIN, R40)          \
    X(EXT_ALM_3, B_NAME, B, R10, PLAIN, R40)          \
    X(EXT_RUN_CONT, B_NAME, B, R10, PLAIN)       \
    X(IDLE_RATED_CONT, B_NAME, B, R10, PLAIN)    \
    X(OVSPD_CONT, B_NAME, B, R10, PLAIN)         \
    X(RESET_CONT, B_NAME, B, R10, PLAIN, R80)    \
    X(RMT_CASC_ENBL_CONT, B_NAME, B, R10, PLAIN, R160) \
    X(RMT_SPD_ENBL_CONT, B_NAME, B, R10, PLAIN)  \
    X(SPD_CASC_LWR, B_NAME, B, R10, PLAIN, R80) \
    X(SPD_CASC_RAZ, B_NAME, B, R10, PLAIN, R80) \
    X(SPD_LWR_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(SPD_RAISE_CONT, B_NAME, B, R10, PLAIN, R80) \
    X(START_PERM, B_NAME, B, R10, PLAIN)         \
    X(VLV_LMT_CLS_CONT, B_NAME, B, R10, PLAIN)   \
    X(VLV_LMT_OPN_CONT, B_NAME, B, R10, PLAIN)   \
    X(T_SW1, T_SW, T, R10, PLAIN)                \
    X(T_SW2, T_SW, T, R10, PLAIN)                \
    X(T_SW3, T_SW, T, R10, PLAIN)                \
    X(T_SW4, T_SW, T, R10, PLAIN)                \
    X(T_SW5, T_SW, T, R10, PLAIN)                \
    X(T_SW6, T_SW, T, R10, PLAIN)                \
    X(T_SW7, T_SW, T, R10, PLAIN)                \
    X(T_SW8, T_SW, T, R10, PLAIN)                \
    X(BI_TRIP_TS, OUT_1, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_2, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_3, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_4, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_5, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_6, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_7, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_8, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_9, T, R10, PLAIN)          \
    X(BI_TRIP_TS, OUT_10, T, R10, PLAIN)         \

CAT_MODULE(BI_MUX)

namespace r10 {
// The multiplexer: every slot cleared (trip functions 15 .. 18 healthy), then
// each channel's signal into the slot of its function; the clock
// synchronisation contact.
void BI_MUX_route();
// "External Trip 1" from its slot (start of the trip path).
void BI_MUX_external_trip();
// The event-time switches (last in the second slice).
void BI_MUX_event_times();
// The named function contacts (sixth slice).
void BI_MUX_contacts();
// The time stamps of the contact trips, by trip number (start of the third
// slice).
void BI_MUX_trip_times();
// The on-line dynamics contact (fourth slice, before the dynamics switch).
void BI_MUX_dynamics_contact();
}  // namespace r10

namespace r160 {
// Which discrete-input functions and channels are in use, the named use
// flags and the trip numbers (app/config/BI_MUX_routing.cpp).
void BI_MUX_routing();
}  // namespace r160
