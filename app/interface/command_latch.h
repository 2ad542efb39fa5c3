// The first-out command latch of the Modbus and OPC command lists: every
// evaluated pass it may start cleared; each active input not yet latched
// latches in list order (unless the clear pulse runs), numbered by a running
// count, the first one named; LOGICAL_OR reports any active input.
#pragma once

#include <cstdint>

template <int N>
struct CommandLatchState {
    uint32_t mem[N];
    int32_t count;
};

template <int N>
struct CommandLatchCells {
    uint32_t& latch1;
    uint32_t& logical_or;
    uint32_t& horn;
    int32_t& first_alm;
    uint32_t* sel[N];
    int32_t* alm_no[N];
};

template <int N>
void command_latch(CommandLatchState<N>& s, const CommandLatchCells<N>& c, const uint32_t (&in)[N], uint32_t clear,
                   uint32_t clear_pulse) {
    if (clear != 0) {
        c.horn = 0;
        c.latch1 = 0;
        c.first_alm = 0;
        s.count = 0;
        for (int n = 0; n < N; ++n) {
            *c.sel[n] = 0;
            *c.alm_no[n] = 0;
            s.mem[n] = 0;
        }
    }
    uint32_t any = 0;
    for (int n = 0; n < N; ++n) {
        if (in[n] == 0) continue;
        any = 1;
        if (s.mem[n] != 0 || clear_pulse != 0) continue;
        if (s.count == 0) c.first_alm = n + 1;
        c.horn = 1;
        c.latch1 = 1;
        *c.sel[n] = 1;
        s.mem[n] = 1;
        s.count += 1;
        *c.alm_no[n] = s.count;
    }
    c.logical_or = any;
}
