// The self-tuning speed PID block: process error, tuner enable and clear
// edges, frozen settings and abort checks around the tuning sequence, output
// cells, finiteness guard and the fault latch of a run.
#pragma once

#include <cstdint>

#include "blocks/PID_2_OPTI.h"

// Abort (fault) codes raised by the block itself; 2 to 7 come from the
// tuning sequence (4 from both).
enum OptiAbortCode : int32_t {
    kAbortClrState = 1,
    kAbortNotFinite = 4,
    kAbortRateCtrl = 8,
    kAbortFeedback1 = 9,
    kAbortPrcMvLmt = 10,
    kAbortOutMvLmt = 11,
    kAbortRespTo = 12,
    kAbortPidType = 13,
    kAbortFastSlow = 14,
    kAbortProcType = 15,
    kAbortSdrCrossed = 16,
    kAbortSpChanged = 17,
    kAbortDrpRef = 18,
    kAbortSysconFail = 19,
    kAbortDrpMvLmt = 20,
};

// One record per instance. Inputs by value (written by the caller before each
// call), outputs and hidden save cells through pointers, settings fixed at
// start-up.
struct PidOptiVars {
    float PV;
    float SP;
    float I;
    float P;
    float SDR;
    float DRP_MV;
    float* ERR_PREV_SAVE;
    float* DERIV_SAVE;
    float* RESET_SAVE;
    float* FDBK_PREV_SAVE;
    float* OUT;
    float THRESH;
    float FDBK;
    int32_t FEEDBACK1;
    int32_t CLR_STATE;
    int32_t CLR_STATE_LAST;
    int32_t CLR_EDGE;
    int32_t ENABLE;
    int32_t ENABLE_LAST;
    int32_t ENABLE_EDGE;
    float PRC_MV_LMT;
    float OUT_MV_LMT;
    float DRP_MV_LMT;
    float RESP_TO;
    int32_t PID_TYPE;
    float FAST_SLOW;
    int32_t PROC_TYPE;
    float SPARE_A;
    float* CALC_P;
    float* CALC_I;
    float* CALC_SDR;
    int32_t* OPTI_STATUS;
    int32_t* OPTI_ALARM;
    int32_t* OPTI_FAULT;
    int32_t FAULT_LATCH;
    float* PROC_ERR;
    float DT;
    int32_t LSS_HSS;
    int32_t RATE_CTRL;
    PidOptiData** DATA;
    float SDR_AT_START;
    float SP_AT_START;
    float PRC_MV_LMT_AT_START;
    float OUT_MV_LMT_AT_START;
    float DRP_MV_LMT_AT_START;
    float RESP_TO_AT_START;
    int32_t PID_TYPE_AT_START;
    float FAST_SLOW_AT_START;
    int32_t PROC_TYPE_AT_START;
    int32_t ABORT_CODE;
    float SPARE_B, SPARE_C, SPARE_D;
    int32_t SYSCON_FAIL;
    int32_t* INIT_SAVE;
    double* USE_REF;
    float* OPTI_MON;
    float* MEAS_FILT_SAVE;
    float* OUT_AVG_SAVE;
    int32_t SPARE_E;
    int32_t* CLR_LAST_SAVE;
    int32_t* ENABLE_LAST_SAVE;
    int32_t* FAULT_LATCH_SAVE;
    float DRP_REF;
    float DRP_REF_AT_START;
};

// Modes of pid_opti.
enum PidOptiMode : int32_t {
    kPidOptiRun = 0,
    kPidOptiRunSave = 1,      // run, then save the states into the hidden cells
    kPidOptiRestoreRun = 2,   // restore the states, run, keep status/alarm/fault cells
};

// One 10 ms step.
void pid_opti(PidOptiVars* v, int32_t mode);
