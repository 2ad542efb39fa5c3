// The tuning sequence of the self-tuning speed PID: produces the PID output
// every call (from the double-precision PID step or from fixed test levels)
// and, while enabled, runs the identification and verification states.
#pragma once

#include <cstdint>

#include "blocks/PID_2_OPTI.h"

// Sequence states (the `STATE` field of PidOptiData).
enum OptiState : int32_t {
    kOptiOff = 0,
    kOptiReady = 1,
    kOptiSettling = 2,
    kOptiStepUp = 3,
    kOptiStepDown = 4,
    kOptiCalculating = 7,
    kOptiAtSetpoint1 = 8,
    kOptiStepTest1 = 9,
    kOptiStepTest1Back = 10,
    kOptiFault = 11,
    kOptiAtSetpoint2 = 12,
    kOptiStepTest2 = 13,
    kOptiStepTest2Back = 14,
    kOptiSystemSettling = 15,
    kOptiComplete = 16,
};

// Alarm bits (`ALARM_BITS`).
enum OptiAlarm : uint32_t {
    kAlarmRateGroupSlow = 1,
    kAlarmOvershoot = 2,
    kAlarmSluggish = 4,
    kAlarmActLimited = 8,
    kAlarmHighDeadtime = 16,
    kAlarmDroopMovement = 32,
    kAlarmRespTimeShort = 64,
};

// One call of the sequence. The four f64 pointers are in/out: output, P, I
// and SDR in use. `status`, `alarm`, `fault` and `mon` are the output cells.
void RunOptiPID(PidOptiData** DATA, int32_t RATE_CTRL, int32_t FEEDBACK1, int32_t ENABLE,
                int32_t PID_TYPE, int32_t PROC_TYPE, int32_t CLR_EDGE, int32_t LSS_HSS, double P,
                double I, double SDR, double THRESH, double PV, double SP, double FDBK,
                double PRC_MV_LMT, double OUT_MV_LMT, double RESP_TO, double FAST_SLOW,
                double SPARE_A, double DT, int32_t ABORT_CODE, double DRP_MV, double DRP_MV_LMT,
                double DRP_REF, double SPARE_B, double SPARE_C, double SPARE_D, int32_t SPARE_E,
                double* out, double* useP, double* useI, double* useSDR, int32_t* status,
                int32_t* alarm, int32_t* fault, double* useRef, float* mon);
