// A self-tuning PID record wired to plain cells by the start-up wiring, for
// the tests and the benchmark, with the inputs the 10 ms speed-control slice
// writes at their default values.
#pragma once

#include "blocks/PID_2_OPTI.h"
#include "blocks/pid_contexts.h"
#include "blocks/pid_opti.h"

struct OptiRig {
    float hidden[6] = {};
    int32_t hiddenB[3] = {};
    int32_t hiddenI = 0;
    float out = 0, calcP = 0, calcI = 0, calcSdr = 0, procErr = 0, mon = 0;
    int32_t status = 0, alarm = 0, fault = 0;
    double useRef = 0;
    PidOptiData data{};
    PidOptiData* sData = &data;
    PidOptiVars v{};

    OptiRig()
    {
        wire();
        // Speed-control inputs at their defaults.
        v.P = 5.0f;
        v.I = 0.5f;
        v.SDR = 5.0f;
        v.THRESH = 100.0f;
        v.FEEDBACK1 = 1;
        v.PRC_MV_LMT = 27.0f;
        v.OUT_MV_LMT = 5.0f;
        v.RESP_TO = 5.0f;
        v.PID_TYPE = 3;
        v.FAST_SLOW = 50.0f;
        v.LSS_HSS = 1;
        v.PV = 90.0f;
        v.SP = 90.0f;
        v.FDBK = 40.0f;
    }
    // The record points into the rig itself: no copies.
    OptiRig(const OptiRig&) = delete;
    OptiRig& operator=(const OptiRig&) = delete;

    // The start-up wiring, as at every start of the application.
    void wire()
    {
        wire_pid_opti_record(v, &sData, &data, &useRef,
                             {hidden, hiddenB, &hiddenI, &out, &calcP, &calcI, &calcSdr, &status,
                              &alarm, &fault, &procErr, &mon});
    }
    // One call with the output fed back, as the low-signal select does while
    // the speed PID is in control.
    void step(int32_t mode = kPidOptiRun)
    {
        pid_opti(&v, mode);
        v.FDBK = out;
    }
};
