// Module CNFG_BO: the controller's relays. The output blocks RELAY_1 ..
// RELAY_4 (display to the relay, readback and readback fault at 10 ms), the
// wizard's function numbers of relays 2 .. 4, and relay 1, a reduced channel
// built from blocks of this module (shutdown state or trip relay state,
// inversion and forcing, no level switch).
#pragma once

#include <cstdint>

#include "runtime/catalogue.h"

#define CNFG_BO_CELLS(X) \
    X(WIZFUN_RLY_CH2, IN, I, R160, TUNE(1, 1, 25))         \
    X(WIZFUN_RLY_CH2, I_NAME, I, R160, PLAIN)              \
    X(WIZFUN_RLY_CH3, IN, I, R160, TUNE(1, 1, 25))         \
    X(WIZFUN_RLY_CH3, I_NAME, I, R160, PLAIN)              \
    X(WIZFUN_RLY_CH4, IN, I, R160, TUNE(1, 1, 25))         \
    X(WIZFUN_RLY_CH4, I_NAME, I, R160, PLAIN)              \
    X(RELAY_1, DISPLAY, B, R10, PLAIN, R160, R80)                     \
    X(RELAY_1, READBACK, B, R10, PLAIN)                    \
    X(RELAY_1, RDBK_FAULT, B, R10, PLAIN)                  \
    X(RELAY_2, DISPLAY, B, R10, PLAIN, R160, R80)                     \
    X(RELAY_2, READBACK, B, R10, PLAIN)                    \
    X(RELAY_2, RDBK_FAULT, B, R10, PLAIN)                  \
    X(RELAY_3, DISPLAY, B, R10, PLAIN, R160, R80)                     \
    X(RELAY_3, READBACK, B, R10, PLAIN)                    \
    X(RELAY_3, RDBK_FAULT, B, R10, PLAIN)                  \
    X(RELAY_4, DISPLAY, B, R10, PLAIN, R160, R80)                     \
    X(RELAY_4, READBACK, B, R10, PLAIN)                    \
    X(RELAY_4, RDBK_FAULT, B, R10, PLAIN)                  \
    X(ENA_CONFIG_IN, B_NAME, B, R160, PLAIN)               \
    X(RLY_FUNCT, IN, I, R160, TUNE(2, 1, 2))               \
    X(RLY_FUNCT, I_NAME, I, R160, PLAIN)                   \
    X(RLY_FUNCTION, TUNE, I, R160, TUNE(2, 1, 2))          \
    X(RLY_FUNCTION, SAMP_ITUNE, I, R160, PLAIN, R10)       \
    X(RLY_FUNCTION, LIMITED, B, R160, PLAIN)               \
    X(RLY_FUNCTION, EN_ENT_OUT, B, R160, PLAIN)            \
    X(RLY_FUNCTION, LO_LIM_OUT, I, R160, PLAIN)            \
    X(RLY_FUNCTION, HI_LIM_OUT, I, R160, PLAIN)            \
    X(RLY_USED, EQ, B, R160, PLAIN)                        \
    X(RLY_USED, LT, B, R160, PLAIN)                        \
    X(RLY_USED, GT, B, R160, PLAIN)                        \
    X(INVERT_RELAY, IN, B, R160, TUNE(false))              \
    X(INVERT_RELAY, B_NAME, B, R160, PLAIN)                \
    X(INV_NOT, NOT, B, R160, PLAIN)                        \
    X(ENA_CNFG_NOT, NOT, B, R160, PLAIN)                   \
    X(ENBL_RST, AND, B, R160, PLAIN)                       \
    X(INV_INH, B_ACTION, B, R160, PLAIN)                   \
    X(INV_INH, ACT_OUT, I, R160, PLAIN)                    \
    X(INV_INH, E_TIME, A, R160, PLAIN)                     \
    X(INV_INH, R_TIME, A, R160, PLAIN)                     \
    X(INVERTED, LATCH, B, R160, PLAIN, R10)                \
    X(DISBL_FORCING, IN, B, R160, TUNE(false))             \
    X(DISBL_FORCING, B_NAME, B, R160, PLAIN)               \
    X(ENBLE_FORCING, IN, B, R160, TUNE(false))             \
    X(ENBLE_FORCING, B_NAME, B, R160, PLAIN)               \
    X(NOT_ENBLED, NOT, B, R160, PLAIN)                     \
    X(DIS_FRC, OR, B, R160, PLAIN)                         \
    X(FORCING_ENBLD, LATCH_R, B, R160, PLAIN, R10)         \
    X(DISBL_DLY, NEG_DTIME, A, R160, TUNE(0.5, 0.0, 5.0))  \
    X(DISBL_DLY, DELAY, B, R160, PLAIN)                    \
    X(DISBL_DLY, R_TIME, I, R160, PLAIN)                   \
    X(RESET_STATE, DLY_TIME, A, R160, TUNE(1.0, 0.0, 5.0)) \
    X(RESET_STATE, ONE_SHOT, B, R160, PLAIN)               \
    X(RESET_STATE, R_TIME, I, R160, PLAIN)                 \
    X(FORCE_PROTECT, TUNE, I, R160, TUNE(0, 0, 1))         \
    X(FORCE_PROTECT, SAMP_ITUNE, I, R160, PLAIN)           \
    X(FORCE_PROTECT, LIMITED, B, R160, PLAIN)              \
    X(FORCE_PROTECT, EN_ENT_OUT, B, R160, PLAIN)           \
    X(FORCE_PROTECT, LO_LIM_OUT, I, R160, PLAIN)           \
    X(FORCE_PROTECT, HI_LIM_OUT, I, R160, PLAIN)           \
    X(FORCE_STATE, EQ, B, R160, PLAIN, R10)                \
    X(FORCE_STATE, LT, B, R160, PLAIN)                     \
    X(FORCE_STATE, GT, B, R160, PLAIN)                     \
    X(RLY_SEL_STAT, B_MUX_N_1, B, R10, PLAIN)              \
    X(RLY_INVERT, XOR, B, R10, PLAIN)                      \
    X(RLY_OUT, B_SW, B, R10, PLAIN, R160)                  \
    X(RLY02_FDBK, MSG_SEL, I, R160, PLAIN)                 \
    X(RLY02_FDBK, B_TO_STR, C, R160, PLAIN)                \
    X(RLY_FUN_STRG1, I_TO_STR, C, R160, PLAIN)             \
    X(BO01_TAG, IN, C, R160, TUNE("Relay 01"))             \
    X(BO01_TAG, S_NAME, C, R160, PLAIN)                    \
    X(RELAY_01_FUNCT, OUT_1, A, R160, PLAIN)               \
    X(RELAY_02_FUNCT, OUT_1, A, R160, PLAIN)               \
    X(RELAY_03_FUNCT, OUT_1, A, R160, PLAIN)               \
    X(RELAY_04_FUNCT, OUT_1, A, R160, PLAIN)
CAT_MODULE(CNFG_BO)

// Relay n (1 .. 4) is relay output n - 1 with its readback on input 23 + n.
constexpr int kCnfgBoRelays = 4;
constexpr int kCnfgBoFirstReadback = 24;

namespace r10 {
// Relay 1's run part: selection, inversion, forcing and output.
void CNFG_BO_relay_1();
// The output block of relay n (1 .. 4): readback fault against the previous
// display, then the display takes the command.
void CNFG_BO_output(int n, uint32_t command);
}  // namespace r10

namespace r160 {
// Relay 1's configuration part (function, inversion, forcing, texts) and the
// function numbers of relays 1 .. 4 as reals.
void CNFG_BO_relay_1();
void CNFG_BO_functions();
// The wizard's function number of relay n (2 .. 4), copied from its tunable.
int32_t CNFG_BO_wizard_function(int n);
}  // namespace r160
