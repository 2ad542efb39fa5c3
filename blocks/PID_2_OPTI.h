// Tuner state block of the self-tuning speed PID and its double-precision
// PID step.
#pragma once

#include <cstdint>

constexpr int kOptiCycles = 40;  // half-cycle records, numbered 1..40

// State of one self-tuning PID (the tuning sequence and its PID step).
// Reals are 64-bit.
struct alignas(8) PidOptiData {
    uint32_t ALARM_BITS;
    int32_t FAULT;
    double CALC_P, CALC_I, CALC_SDR;   // gains computed by the tuner
    double USE_P, USE_I, USE_SDR;      // gains the PID step uses
    uint8_t STARTED;                   // first call done
    int32_t STATE;
    double MEAS_PREV;
    double OUT_PREV;
    double OUT_AVG;                    // slowly averaged output (operating point)
    double MEAS_FILT;                  // filtered measured value
    double FILT_K;
    double PERIOD_MEAN;
    double DEAD_FACTOR;
    double STATE_TIME;
    double TEST_TIME;
    int32_t CYCLE;                     // next half-cycle record, 1..41
    double CYC_TIME[kOptiCycles];
    double MON;
    double OUT_CALC;
    double TIMEOUT_SEQ;
    double MEAS_MIN, MEAS_MAX;
    double BAND_HI, BAND_LO;
    double CYC_MAX[kOptiCycles];
    double CYC_MIN[kOptiCycles];
    double CYC_OUT_HI[kOptiCycles];
    double CYC_OUT_LO[kOptiCycles];
    double CYC_CROSS[kOptiCycles];
    double CROSS_TIME;
    int32_t FIRST_CYCLE;               // 41: none yet
    double OUT_BASE;
    double OUT_HI, OUT_LO;
    double OUT_HI_LAST, OUT_LO_LAST;
    int32_t ADAPT_ON;
    int32_t UP_TIMEOUT, DOWN_TIMEOUT;
    double RATIO_SUM;
    double MEAS_AT_TEST;
    double PASS_COUNT;
    double DRP_MIN, DRP_MAX;
    double STEP_UP, STEP_DOWN;
    double DRP_MIN0, DRP_MAX0;
    double OUT;
    // State of the PID step.
    double ERR_PREV;
    uint8_t INIT;                      // 0 before the first step
    double DERIV;
    double RESET;
    double FDBK_PREV;
};

// One step of the PID in double precision on the state in `d`. Output limits
// are fixed at 0 and 100 (the select-bus push gives 101 or -1). PID_TYPE 1 is
// proportional-only. `reinit` > 0 sets the state for a bumpless start from
// `fdbk` instead of the normal step; `firstCall` 1.0 re-initialises the state.
double PID_2_OPTI(PidOptiData* d, int32_t PID_TYPE, int32_t RATE_CTRL, int32_t LSS_HSS,
                  int32_t FEEDBACK1, int32_t reinit, double ref, double meas, double fdbk,
                  double P, double I, double SDR, double THRESH, double dt, double firstCall);
