// Module CNFG_SETPT: the setpoint settings. The governor limits, the
// overspeed levels and the critical band are taken from their tunables into
// the configuration lists only while the I/O is locked or at power-up, and
// the setting cells the control reads follow the lists; the slow reference
// rates and the remote speed setpoint's maximum rate follow their tunables
// every pass; the reduced overspeed option is cleared by a rising edge of
// its disable.
#pragma once

#include "runtime/catalogue.h"

// Speeds in speed units (rpm), rates in speed units per second.
#define CNFG_SETPT_SPEED_TUNE(dflt) TUNE(dflt, 0.0, 65000.0)

#define CNFG_SETPT_CELLS(X)                                        \
    X(RMT_SPD_SP_MAX_RT, IN, A, R160, TUNE(50.0, 0.0099, 1000.0))  \
    X(RMT_SPD_SP_MAX_RT, A_NAME, A, R160, PLAIN)                   \
    X(USE_REDUC_OSPD, TUNE, B, R160, TUNE(false))                  \
    X(USE_REDUC_OSPD, SAMP_BTUNE, B, R160, PLAIN)                  \
    X(QT_OST_LIMIT, IN, A, R160, CNFG_SETPT_SPEED_TUNE(4000.0))    \
    X(QT_OSPD_TRIP, IN, A, R160, CNFG_SETPT_SPEED_TUNE(3960.0))    \
    X(QT_MAX_GOV, IN, A, R160, CNFG_SETPT_SPEED_TUNE(3780.0))      \
    X(CONFIG_A, IN_4, A, R160, CNFG_SETPT_SPEED_TUNE(0.0))         \
    X(QT_MIN_GOV, IN, A, R160, CNFG_SETPT_SPEED_TUNE(3420.0))      \
    X(QT_CRIT_SPD_RATE, IN, A, R160, TUNE(50.0, 0.0099, 2000.0))   \
    X(QT_CRIT_SPD_1_MAX, IN, A, R160, CNFG_SETPT_SPEED_TUNE(2400.0)) \
    X(QT_CRIT_SPD_1_MIN, IN, A, R160, CNFG_SETPT_SPEED_TUNE(2000.0)) \
    X(CONFIG_A, LIST_1, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_2, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_3, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_4, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_5, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_6, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_7, A, R160, PLAIN)                            \
    X(CONFIG_A, LIST_8, A, R160, PLAIN)                            \
    X(CONFIG_B, IN_1, B, R160, TUNE(false))                        \
    X(CONFIG_B, IN_2, B, R160, TUNE(false))                        \
    X(CONFIG_B, IN_3, B, R160, TUNE(false))                        \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                            \
    X(CONFIG_B, LIST_2, B, R160, PLAIN)                            \
    X(CONFIG_B, LIST_3, B, R160, PLAIN)                            \
    X(OST_LIMIT, A_NAME, A, R160, PLAIN, R10, R40, R80)            \
    X(OSPD_TRIP, A_NAME, A, R160, PLAIN, R10, R40, R80)               \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R10)                        \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R80)                        \
    X(CRIT_SPD_RATE, A_NAME, A, R160, PLAIN, R40)                  \
    X(CRIT_SPD_1_MAX, A_NAME, A, R160, PLAIN)                      \
    X(CRIT_SPD_1_MIN, A_NAME, A, R160, PLAIN)                      \
    X(USE_CRIT_SPD, B_NAME, B, R160, PLAIN)                        \
    X(USE_RMTSPD, B_NAME, B, R160, PLAIN)                          \
    X(SLOW_RATE_ONLINE, IN, A, R160, TUNE(5.0, 0.01, 1000.0))      \
    X(SLOW_RATE_ONLINE, A_NAME, A, R160, PLAIN)                    \
    X(SLOW_RATE_OFFLINE, IN, A, R160, TUNE(5.0, 0.01, 1000.0))     \
    X(SLOW_RATE_OFFLINE, A_NAME, A, R160, PLAIN)
CAT_MODULE(CNFG_SETPT)

namespace r160 {
// The configuration lists and the governor, overspeed and critical band
// settings, and the slow reference rates (piece of _R160_TASK_11).
void CNFG_SETPT_config_lists();
// The remote setpoint rate and the reduced overspeed option (piece of
// _R160_TASK_29).
void CNFG_SETPT_settings();
}  // namespace r160
