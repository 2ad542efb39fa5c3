// A PID block record wired to plain cells, for the tests and the benchmark.
#pragma once

#include "blocks/PID_2.h"

struct Pid2Rig {
    // The record points into the rig itself: no copies.
    Pid2Rig(const Pid2Rig&) = delete;
    Pid2Rig& operator=(const Pid2Rig&) = delete;

    float errPrev = 0, deriv = 0, reset = 0, fdbkPrev = 0, out = 0;
    Pid2Vars v{};
    explicit Pid2Rig(float P = 0.0f, float I = 0.0f, float SDR = 0.0f)
    {
        v.P = P;
        v.I = I;
        v.SDR = SDR;
        v.ERR_PREV = &errPrev;
        v.DERIV = &deriv;
        v.RESET = &reset;
        v.FDBK_PREV = &fdbkPrev;
        v.OUT = &out;
        v.LO_LIM = -1000.0f;
        v.HI_LIM = 1000.0f;
        v.THRESH = 100.0f;
        v.DT = 0.1f;
        v.FEEDBACK1 = 1;
    }
    // One pass with the block's own output of the last pass fed back, as a
    // downstream select does while this block is in control.
    float stepOwnFeedback()
    {
        v.FDBK = out;
        pid2(&v);
        return out;
    }
};
