// Timed service inputs of one block: IN_n, which only the service protocol
// writes, is passed to OUT_n for the hold time, then both are cleared. The
// after-write hook (app/tune_side_effects.cpp) restarts an input's time at
// every write: a written TRUE holds for the full time, a written FALSE ends
// the pulse at the next pass.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

template <int N>
class TimedInputs {
public:
    struct Cells {
        uint32_t& in;
        uint32_t& out;
    };

    explicit TimedInputs(float hold) : hold_(hold) {}

    // Block initialisation: every input's time is over, so an input set
    // without a service write does nothing.
    void init() { bk::SVC_CMD_INIT(st_, hold_); }
    // A service write of IN_n (from 1).
    void written(int n, uint32_t value) { bk::SVC_CMD_WRITTEN(st_, n, value, hold_); }
    // One pass of the group of period T over IN_1 .. IN_N.
    void pass(const Cells (&io)[N], float T) {
        for (int k = 0; k < N; ++k) bk::SVC_CMD(st_, k + 1, io[k].in, io[k].out, hold_, T);
    }

private:
    float hold_;
    BlockRam<bk::SvcCmdState<N>> st_;
};
