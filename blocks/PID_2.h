// The PID block of the control library: one sample of a PID controller in
// SDR form (proportional gain, reset rate, speed-derivative ratio) with an
// external reset feedback for bumpless transfer and anti-windup.
#pragma once

#include <cstdint>

// One record per block instance. Inputs are held by value and written by the
// calling slice just before the call; state and output live in application
// cells reached through the pointers; the remaining settings are fixed at
// start-up.
struct Pid2Vars {
    float PV;            // process value
    float SP;            // setpoint
    float I;             // integral gain (reset rate, 1/s)
    float P;             // proportional gain
    float SDR;           // speed-derivative ratio
    float PROP_ONLY_I;   // integral gain at or above which PROP_ONLY applies
    float* ERR_PREV;     // cell: error of the previous sample
    float* DERIV;        // cell: lead-lag (derivative) filter output
    float* RESET;        // cell: reset (integral) state
    float* FDBK_PREV;    // cell: feedback of the previous sample
    float* OUT;          // cell: block output
    float THRESH;        // error threshold of the select-bus push
    float LO_LIM;        // lower output limit
    float HI_LIM;        // upper output limit
    float FDBK;          // external reset feedback (value selected downstream)
    float DT;            // sample period (s)
    int32_t LSS_HSS;     // 0 none, 1 feeds a low-signal select, 2 a high-signal select
    int32_t RATE_CTRL;   // rate-control mode
    int32_t FEEDBACK1;   // this block's output is the one selected downstream
    int32_t PROP_ONLY;   // proportional-only enable
};

// One sample: reads the inputs and the four state cells, writes the state
// cells and the output cell.
void pid2(Pid2Vars* v);

// Time constants of the SDR form, shared by the single-precision block and
// tuning routines and by the double-precision step of the self-tuning PID.
// Ki0 is the integral rate to use (I or its substitute for I <= 0) and Td0
// its reciprocal; `inputDominant` selects the branch for small SDR and
// `fastIntegral` its case where the integral alone would be faster than the
// sample rate allows. Tf is raised to dt and Ki lowered to 1/dt at the end.
template <class T>
struct PidTimeConstants {
    T Ki;
    T Td;
    T Tf;
};

template <class T>
PidTimeConstants<T> sdr_time_constants(T Ki0, T Td0, T SDR, T dt, bool inputDominant,
                                       bool fastIntegral)
{
    PidTimeConstants<T> k{Ki0, Td0, T(0)};
    if (inputDominant) {
        if (fastIntegral) {
            k.Tf = T(0.05) * Td0;
            k.Ki = T(1) / k.Tf;
        } else {
            k.Ki = Ki0 / SDR;
            k.Tf = T(0.2) * SDR * Td0;
        }
    } else if (SDR >= T(100)) {
        k.Td = T(0);
        k.Tf = T(1) / (T(20) * Ki0);
    } else {
        k.Td = T(1) / (Ki0 * SDR);
        if (dt > k.Td) {
            k.Td = T(0);
            k.Tf = T(1) / (T(20) * Ki0);
        } else {
            k.Tf = T(0.2) * k.Td;
        }
    }
    if (k.Tf < dt) k.Tf = dt;
    if (k.Ki > T(1) / dt) k.Ki = T(1) / dt;
    return k;
}

// Tustin lead-lag step of (1 + Td s)/(1 + Tf s) with a = 2Td/(dt + 2Tf) and
// b = dt/(dt + 2Tf): new output from the previous output y1, the input e and
// the previous input e1.
template <class T>
T lead_lag_step(T y1, T e, T e1, T a, T b)
{
    return y1 + a * (e - e1) + b * (e + e1 - T(2) * y1);
}
