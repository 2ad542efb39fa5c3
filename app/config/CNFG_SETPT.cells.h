// Module CNFG_SETPT: the setpoint settings; here the remote speed setpoint's
// maximum rate and the reduced overspeed option, which a rising edge of its
// disable clears.
#pragma once

#include "app/interface/standin/CNFG_SETPT_standin.rows.h"
#include "runtime/catalogue.h"

#define CNFG_SETPT_CELLS(X)                                        \
    X(RMT_SPD_SP_MAX_RT, IN, A, R160, TUNE(50.0, 0.0099, 1000.0))  \
    X(RMT_SPD_SP_MAX_RT, A_NAME, A, R160, PLAIN)                   \
    X(USE_REDUC_OSPD, TUNE, B, R160, TUNE(false))                  \
    X(USE_REDUC_OSPD, SAMP_BTUNE, B, R160, PLAIN)                  \
    CNFG_SETPT_STANDIN_ROWS(X)
CAT_MODULE(CNFG_SETPT)

namespace r160 {
// The remote setpoint rate and the reduced overspeed option (piece of
// _R160_TASK_29).
void CNFG_SETPT_settings();
}  // namespace r160
