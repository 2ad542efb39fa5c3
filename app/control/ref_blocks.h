// Small block kinds shared by the speed-reference modules: the comparator
// with hysteresis, the one-pass edge action and the chart's condition blocks.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace refbk {

// A_COMPARE with HYSTER h: with h < 0 set when v >= lim and cleared when
// v < lim + h; with h >= 0 set when v >= lim + h and cleared when v < lim.
// Between the two the output keeps its value; NaN leaves it unchanged.
inline void A_COMPARE_H(uint32_t& compare, uint32_t& equal, float v, float lim, float h) {
    if (!std::isnan(v) && !std::isnan(lim)) {
        const float set_at = h < 0.0f ? lim : lim + h;
        const float clear_below = h < 0.0f ? lim + h : lim;
        if (v >= set_at) compare = 1;
        else if (v < clear_below) compare = 0;
    }
    equal = v == lim ? 1u : 0u;
}
inline void A_COMPARE_H(uint32_t& compare, float v, float lim, float h) {
    uint32_t eq = 0;
    A_COMPARE_H(compare, eq, v, lim, h);
}

// The outputs of an action block besides B_ACTION when its qualifier q
// runs no timer (1 non-stored, 2 set, 5 pulse): ACT_OUT is q, and the
// timer, never run, leaves E_TIME and R_TIME at 0.
inline void ACTION_OUT(int32_t& act_out, float& e_time, float& r_time, int32_t q) {
    act_out = q;
    e_time = 0.0f;
    r_time = 0.0f;
}

// An action that is 1 for one pass when its input rises.
struct EdgeState {
    uint32_t prev;
};
inline uint32_t RISE(EdgeState& s, uint32_t in) {
    const uint32_t out = in != 0 && s.prev == 0 ? 1u : 0u;
    s.prev = in != 0 ? 1u : 0u;
    return out;
}
// The same pulse action (qualifier 5) with its other outputs.
inline uint32_t RISE(EdgeState& s, uint32_t in, int32_t& act_out, float& e_time, float& r_time) {
    ACTION_OUT(act_out, e_time, r_time, 5);
    return RISE(s, in);
}

// A condition block computed every pass: ACT_OUT is 1.
inline void COND(uint32_t& b_action, int32_t& act_out, float& e_time, float& r_time, uint32_t value) {
    b_action = value != 0 ? 1u : 0u;
    ACTION_OUT(act_out, e_time, r_time, 1);
}
// A condition block under an enable gate: computed only while the gate is
// 1, its last value kept otherwise; ACT_OUT follows the gate.
inline void COND_GATED(uint32_t& b_action, int32_t& act_out, float& e_time, float& r_time, uint32_t gate,
                       uint32_t value) {
    if (gate != 0) b_action = value != 0 ? 1u : 0u;
    ACTION_OUT(act_out, e_time, r_time, gate != 0 ? 1 : 0);
}

// A multiplexer in which the highest-numbered true selector wins; `none`
// when no selector is true. Returns the index (0 when none).
struct MuxIn {
    int index;
    uint32_t select;
    float value;
};
template <size_t N>
inline int32_t A_MUX_HSS(float& out, const MuxIn (&in)[N], float none) {
    int32_t sel = 0;
    out = none;
    for (const MuxIn& m : in)
        if (m.select != 0 && m.index > sel) {
            sel = m.index;
            out = m.value;
        }
    return sel;
}

}  // namespace refbk

namespace refbk {

// A list of alarm inputs with first-out. While `rst` is 1 the list is
// cleared at the start of the pass (selections, occurrence numbers, LATCH1,
// FIRST_ALM and the occurrence count); HORN and FIRST_ALM are cleared on
// every pass. Each input that is 1, not yet latched (and may latch) sets its
// SEL_n, LATCH1 and HORN and takes the next occurrence number in ALM_NO_n;
// the first since the reset gives FIRST_ALM. LOGICAL_OR is 1 when any input
// is 1.
template <size_t N>
inline void LIST_LATCH(int32_t& count, uint32_t* const (&sel)[N], int32_t* const (&alm_no)[N], uint32_t& latch1,
                       uint32_t& horn, int32_t& first_alm, uint32_t& logical_or, const uint32_t (&in)[N],
                       uint32_t may_latch, uint32_t rst) {
    if (rst != 0) {
        for (size_t n = 0; n < N; ++n) {
            *sel[n] = 0;
            *alm_no[n] = 0;
        }
        latch1 = 0;
        count = 0;
    }
    horn = 0;
    first_alm = 0;
    logical_or = 0;
    for (size_t n = 0; n < N; ++n) {
        if (in[n] == 0) continue;
        logical_or = 1;
        if (may_latch == 0 || *sel[n] != 0) continue;
        if (count == 0) first_alm = static_cast<int32_t>(n + 1);
        horn = 1;
        *sel[n] = 1;
        latch1 = 1;
        *alm_no[n] = ++count;
    }
}

// The list cleared at the start of every pass in which it is evaluated: it
// shows the present inputs only.
template <size_t N>
inline void LIST_PASS(uint32_t* const (&sel)[N], int32_t* const (&alm_no)[N], uint32_t& latch1, uint32_t& horn,
                      int32_t& first_alm, uint32_t& logical_or, const uint32_t (&in)[N], uint32_t may_latch) {
    int32_t count = 0;
    LIST_LATCH(count, sel, alm_no, latch1, horn, first_alm, logical_or, in, may_latch, 1u);
}

}  // namespace refbk

namespace refbk {

// A momentary service input: OUT follows IN, and IN is cleared once it has
// been on for `timeout` seconds (its own timer, T a pass).
struct MomentaryState {
    float e;
};
inline void MOMENTARY(MomentaryState& s, uint32_t& in, uint32_t& out, float timeout, float T) {
    if (in == 0) {
        s.e = 0.0f;
        out = 0;
        return;
    }
    s.e += T;
    if (s.e >= timeout) {
        in = 0;
        s.e = 0.0f;
    }
    out = in;
}

}  // namespace refbk

namespace refbk {

// A backlash deadband: the output keeps its previous value while that lies
// within [in - db, in + db] and is otherwise pulled to the nearer bound.
inline float BACKLASH(float prev, float in, float db) {
    const float hi = in + db, lo = in - db;
    const float capped = prev < hi ? prev : hi;
    return capped > lo ? capped : lo;
}

}  // namespace refbk
