// The two PID block records of the application (the self-tuning speed PID
// and the cascade PID) and their wiring to application cells at start-up.
#pragma once

#include <cstdint>

#include "blocks/PID_2.h"
#include "blocks/PID_2_OPTI.h"
#include "blocks/pid_opti.h"

extern PidOptiVars SPD_CTRL_SPD_PID_9052_vars;
extern PidOptiData SPD_CTRL_SPD_PID_9052_pData;
extern PidOptiData* SPD_CTRL_SPD_PID_9052_sData;
extern double SPD_CTRL_SPD_PID_9052_vars_UseRef;
extern Pid2Vars CASC_CTRL_CASC_PID_9137_vars;

// Cells of a self-tuning PID record.
struct PidOptiCells {
    float* hiddenReals;    // 6 consecutive: ERR_PREV, DERIV, RESET, FDBK_PREV, MEAS_FILT, OUT_AVG saves
    int32_t* hiddenBools;  // 3 consecutive: INIT, CLR_STATE_LAST, ENABLE_LAST saves
    int32_t* hiddenInt;    // FAULT_LATCH save
    float* PID_OPTI;       // "SPD_CTRL.SPD_PID.PID_OPTI"
    float* CALC_P;         // "SPD_CTRL.SPD_PID.CALC_P"
    float* CALC_I;         // "SPD_CTRL.SPD_PID.CALC_I"
    float* CALC_SDR;       // "SPD_CTRL.SPD_PID.CALC_SDR"
    int32_t* OPTI_STATUS;  // "SPD_CTRL.SPD_PID.OPTI_STATUS"
    int32_t* OPTI_ALARM;   // "SPD_CTRL.SPD_PID.OPTI_ALARM"
    int32_t* OPTI_FAULT;   // "SPD_CTRL.SPD_PID.OPTI_FAULT"
    float* PROC_ERR;       // "SPD_CTRL.SPD_PID.PROC_ERR"
    float* OPTI_MON;       // "SPD_CTRL.SPD_PID.OPTI_MON"
};

// Cells of the cascade PID.
struct CascPidCells {
    float* hiddenReals;    // 4 consecutive: ERR_PREV, DERIV, RESET, FDBK_PREV
    float* PID_2;          // "CASC_CTRL.CASC_PID.PID_2"
};

// Sets up a self-tuning PID record on the given cells, its state block (held
// through the pointer word `sData`) and its reference word: settings of the
// speed PID (period 0.01 s, process type 1), edge memories and the
// "initialised" flag and its hidden cell cleared. Inputs are left alone.
void wire_pid_opti_record(PidOptiVars& v, PidOptiData** sData, PidOptiData* data,
                          double* useRef, const PidOptiCells& cells);

// The speed PID record on its cells.
void wire_SPD_CTRL_SPD_PID_9052(const PidOptiCells& cells);

// Sets up the cascade PID record on the given cells (limits 0 and 100,
// period 0.08 s). The inputs written by the 80 ms slice are left alone.
void wire_CASC_CTRL_CASC_PID_9137(const CascPidCells& cells);

// Hidden state cells of the two records: not in the variable directory,
// cleared with the application memory.
struct SPD_CTRL_SPD_PID_9052_hidden {
    float reals[6];
    int32_t bools[3];
    int32_t faultLatch;
};
struct CASC_CTRL_CASC_PID_9137_hidden {
    float reals[4];
};
SPD_CTRL_SPD_PID_9052_hidden& SPD_CTRL_SPD_PID_9052_hidden_cells();
CASC_CTRL_CASC_PID_9137_hidden& CASC_CTRL_CASC_PID_9137_hidden_cells();

// Start-up: wires both records to their application cells. Called by
// RTinit_blks after the rate-group tasks and the task times are set up.
void RTinit_pid_contexts();
