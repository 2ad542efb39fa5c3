// The block library of the generated logic: what each block kind computes
// in one pass of its rate group, in single precision. A slice is a sequence
// of these calls over cells (views of runtime/catalogue.h convert to the
// references the calls take). Stateful kinds keep their hidden state in a
// small state object owned by the module (a BlockRam member, cleared with
// the areas); the group period T (0.01 .. 0.16) is passed by the caller.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "runtime/appmem.h"

namespace bk {

// Nominal periods of the five groups.
constexpr float T10 = 0.01f, T20 = 0.02f, T40 = 0.04f, T80 = 0.08f, T160 = 0.16f;

// Division by zero gives +/-kDivByZero by the sign of the dividend.
constexpr float kDivByZero = 1e34f;
// Unconnected dynamic limits of the sampled tunables.
constexpr float kRealLoLim = -1e38f, kRealHiLim = 1e38f;
constexpr int32_t kIntLoLim = -10000000, kIntHiLim = 10000000;

inline bool finite(float x) { return std::isfinite(x); }

// ---- conversions ------------------------------------------------------------------------
inline float int_to_real(int32_t v) { return static_cast<float>(v); }
// Saturating truncation; NaN gives the most negative integer.
int32_t real_to_int(float x);
// Truncation toward zero of remaining seconds; a negative result is 0.
int32_t remaining_time(float seconds);

// ---- logic and selection ------------------------------------------------------------------
inline uint32_t NOT(uint32_t in) { return in == 0 ? 1u : 0u; }
inline uint32_t AND(std::initializer_list<uint32_t> in) {
    for (uint32_t v : in)
        if (v == 0) return 0;
    return 1;
}
inline uint32_t OR(std::initializer_list<uint32_t> in) {
    for (uint32_t v : in)
        if (v != 0) return 1;
    return 0;
}
inline uint32_t NAND(std::initializer_list<uint32_t> in) { return AND(in) ? 0u : 1u; }
inline uint32_t NOR(std::initializer_list<uint32_t> in) { return OR(in) ? 0u : 1u; }
inline uint32_t XOR(uint32_t a, uint32_t b) { return a ^ b; }

// A_SW, B_SW, I_SW, T_SW: NO when CTRL is true, NC when it is false.
template <class T>
inline T SW(uint32_t ctrl, const T& nc, const T& no) {
    return ctrl != 0 ? no : nc;
}
// S_SW: the selected text copied into the output.
void S_SW(StrCell& out, uint32_t ctrl, const char* nc, const char* no);

// A_MUX_N_1, B_MUX_N_1, I_MUX_N_1: IN_SEL for 1 <= SEL <= n, else unchanged.
template <class T>
inline void MUX(T& out, int32_t sel, std::initializer_list<T> in) {
    if (sel >= 1 && static_cast<size_t>(sel) <= in.size()) out = in.begin()[sel - 1];
}
void S_MUX(StrCell& out, int32_t sel, std::initializer_list<const char*> in);

inline float A_MAX(float a, float b) { return b > a ? b : a; }
inline float A_MIN(float a, float b) { return b < a ? b : a; }
// IN below MIN gives MIN; then above MAX gives MAX (MAX wins when MIN > MAX).
inline float A_LIMITER(float in, float mn, float mx) {
    float x = in < mn ? mn : in;
    return x > mx ? mx : x;
}

// HSS_BUS / LSS_BUS: the highest (lowest) input, a later one replacing the
// running choice only when strictly higher (lower), then limited. Returns
// the chosen input's number (1 ..) for the SEL_k outputs.
struct BusOut {
    float out;
    uint32_t hi_lim_i;
    uint32_t lo_lim_i;
    int sel;
};
BusOut HSS_BUS(std::initializer_list<float> in, float hi_lim, float lo_lim);
BusOut LSS_BUS(std::initializer_list<float> in, float hi_lim, float lo_lim);
// SEL_1 .. SEL_n: 1 for the chosen input only.
template <class... Sel>
inline void set_sel(int chosen, Sel&&... sel) {
    int k = 0;
    ((sel = (++k == chosen) ? 1u : 0u), ...);
}

// A_COMPARE (1 if IN_1 >= IN_2, unchanged when either is NaN) and A_EQUAL.
inline void A_COMPARE(uint32_t& compare, uint32_t& equal, float in1, float in2) {
    if (!std::isnan(in1) && !std::isnan(in2)) compare = in1 >= in2 ? 1u : 0u;
    equal = in1 == in2 ? 1u : 0u;
}
// A_COMPARE with hysteresis h on IN_1 against IN_2: for h >= 0 set at
// IN_1 >= IN_2 + h and cleared below IN_2; for h < 0 set at IN_1 >= IN_2 and
// cleared below IN_2 + h; unchanged between and when either is NaN.
inline void A_COMPARE_HYST(uint32_t& compare, uint32_t& equal, float in1, float in2, float h) {
    const float on = h >= 0.0f ? in2 + h : in2;
    const float off = h >= 0.0f ? in2 : in2 + h;
    if (in1 >= on) compare = 1u;
    else if (in1 < off) compare = 0u;
    equal = in1 == in2 ? 1u : 0u;
}
// EQ, LT, GT of two integers: exactly one is 1.
inline void I_COMPARE(uint32_t& eq, uint32_t& lt, uint32_t& gt, int32_t a, int32_t b) {
    gt = a > b ? 1u : 0u;
    eq = a == b ? 1u : 0u;
    lt = a < b ? 1u : 0u;
}

// ---- arithmetic ---------------------------------------------------------------------------
inline int32_t I_ADD(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t I_SUBTRACT(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline float DIVIDE(float a, float b) {
    if (b == 0.0f) return a >= 0.0f ? kDivByZero : -kDivByZero;
    return a / b;
}
// Real seconds to a time cell, millisecond resolution.
TimeCell A_TO_T(float x);
// Date and time split of a time cell by the calendar routine tohms.
struct DateSplit {
    float YEAR, MONTH, DAY, HOUR, MIN, SEC, MICROSEC;
};
DateSplit DATE_SPLIT(const TimeCell& t);

// ---- dynamic blocks -----------------------------------------------------------------------
// LAG: `out` is the LAG_n cell (the block's output y), `deriv` the DERIV cell
// or nullptr.
struct LagState {
    float x_prev;
};
void LAG(LagState& s, float& out, float* deriv, float in, float lag_tau, float T);
// LAG with the coefficient c = T / (2 tau + T) computed on a service write.
void LAG_COEF(LagState& s, float& out, float* deriv, float in, float c, float T);

struct RateLimitState {
    float last;
};
float RATE_LIMIT(RateLimitState& s, float in, float up, float down, float T);

// RUNNING_AVG over a ring of N floats, sampling every k passes.
template <int N>
struct RunningAvgState {
    uint32_t inited;
    uint32_t index;
    int32_t counter;
    float buf[N];
};
template <int N>
inline void RUNNING_AVG(RunningAvgState<N>& s, float& out, float in, int32_t k, uint32_t all_rg_executed_wmmm) {
    if (s.inited == 0) {
        s.inited = all_rg_executed_wmmm;
        for (float& b : s.buf) b = 0.0f;
        out = 0.0f;
        s.index = 0;
        s.counter = 1;
        return;
    }
    ++s.counter;
    if (s.counter > k) {
        s.buf[s.index] = in;
        float sum = 0.0f;
        for (float b : s.buf) sum += b;
        out = sum / static_cast<float>(N);
        s.counter = 1;
        s.index = s.index + 1 >= static_cast<uint32_t>(N) ? 0 : s.index + 1;
    }
}

// Elapsed-time accumulator: OUT_1 real seconds and the ELAP_TIME time cell.
struct ElapsedState {
    float fraction;
};
void ELAPSED(ElapsedState& s, float& out_1, TimeCell& elap_time, uint32_t reset, uint32_t enbl, float T);

// RAMP (multi-position): positions in priority order, each with its select
// input and target; `rate` is the instance's chosen rate (units/s).
struct RampState {
    float last;
};
struct RampPos {
    uint32_t select;
    float target;
};
struct RampOut {
    float ramp;
    float rev_ramp;
    uint32_t moving_up;
    uint32_t moving_dn;
    int32_t pos_sel;
};
RampOut RAMP(RampState& s, std::initializer_list<RampPos> pos, float rate, float T);
// P_LIM_k: 1 when the output equals position k's target exactly.
inline uint32_t P_LIM(const RampOut& r, float target) { return r.ramp == target ? 1u : 0u; }

// ---- sequential blocks --------------------------------------------------------------------
inline void LATCH(uint32_t& q, uint32_t set, uint32_t reset) {
    if (set != 0) q = 1;
    else if (reset != 0) q = 0;
}
inline void LATCH_R(uint32_t& q, uint32_t set, uint32_t reset) {
    if (reset != 0) q = 0;
    else if (set == 1) q = 1;
}

template <int N>
struct FlipFlopState {
    uint32_t edge[N];
};
template <int N>
inline void T_FLIPFLOP(FlipFlopState<N>& s, uint32_t& q, std::initializer_list<uint32_t> in) {
    int k = 0;
    for (uint32_t v : in) {
        if (k >= N) break;
        if (v == 0) s.edge[k] = 0;
        else if (s.edge[k] == 0) {
            q = q == 0 ? 1u : 0u;
            s.edge[k] = 1;
        }
        ++k;
    }
}

struct OneShotState {
    float e;
    uint32_t prev;
};
// ONE_SHOT with its R_TIME (nullptr when the instance has none) and an
// optional reset that ends the pulse.
void ONE_SHOT(OneShotState& s, uint32_t& out, int32_t* r_time, uint32_t trigger, float dly_time, float T,
              uint32_t reset = 0);

struct DelayState {
    float e_on;
    float e_off;
    uint32_t prev;
};
void DELAY(DelayState& s, uint32_t& out, int32_t* r_time, uint32_t in, float dly_time, float neg_dtime, float T);

// ---- unit delays --------------------------------------------------------------------------
// Slot ranges of the groups in _zblock / _zblockb.
struct ZRange {
    int first_r, last_r, first_b, last_b;  // inclusive; first > last: none
};
inline constexpr ZRange kZRange[5] = {
    {0, 8, 0, 8}, {1, 0, 1, 0}, {9, 12, 9, 9}, {13, 14, 10, 23}, {15, 32, 24, 78},
};
inline void ZSTORE(int slot, float in) { _zblock[slot] = in; }
inline void ZSTORE_B(int slot, uint32_t in) { _zblockb[slot] = in; }
// The commit of a slot into its ZMINUS1 output: a non-finite real gives 0.0.
inline float ZCOMMIT(int slot) {
    const float v = _zblock[slot];
    return std::isfinite(v) ? v : 0.0f;
}
inline uint32_t ZCOMMIT_B(int slot) { return _zblockb[slot]; }

// ---- sequential function charts -----------------------------------------------------------
struct SfcState {
    uint32_t hold;
};
// One step: `step` is the step's SFC_STEP cell as of the pass start, `cond`
// the conditions of its transitions 1 .. (at most 4); TRAN_1 .. TRAN_n are
// written through `tran`.
template <class... Tran>
inline void SFC_STEP(SfcState& s, uint32_t step, float& activetime, std::initializer_list<uint32_t> cond, float T,
                     Tran&&... tran) {
    int fire = 0;
    if (step == 1) {
        int k = 0;
        for (uint32_t c : cond) {
            ++k;
            if (c == 1) {
                fire = k;
                break;
            }
        }
        s.hold = fire == 0 ? 1u : 0u;
    } else {
        s.hold = 0;
    }
    int k = 0;
    ((tran = (++k == fire) ? 1u : 0u), ...);
    activetime = step == 1 ? activetime + T : 0.0f;
}
// The chart commit of one step: its hold flag or any transition leading to it.
inline uint32_t SFC_COMMIT(const SfcState& s, std::initializer_list<uint32_t> incoming) {
    uint32_t v = s.hold;
    for (uint32_t t : incoming) v |= t != 0 ? 1u : 0u;
    return v != 0 ? 1u : 0u;
}

// ---- action block ---------------------------------------------------------------------------
struct ActionState {
    uint32_t done;
    uint32_t stored;
};
// B_ACTION with qualifier q (1 .. 8), the OR of its inputs as `request` and
// of its resets as `reset`; TIME in seconds. A true reset takes precedence
// over the request: it clears B_ACTION of the set kinds (2, 7), the stored
// flag (6, 8) and the timer, and counts as no request for the others.
void ACTION(ActionState& s, uint32_t& b_action, int32_t& act_out, float& e_time, float& r_time, uint32_t request,
            uint32_t reset, int32_t q, float time, float T);

// ---- service command block ------------------------------------------------------------------
template <int N>
struct SvcCmdState {
    float e[N];
};
// Block initialisation: every OUT 0 and every elapsed time at the time-out.
template <int N>
inline void SVC_CMD_INIT(SvcCmdState<N>& s, float timeout) {
    for (float& e : s.e) e = timeout;
}
// A service write of IN_k (from 1) restarts its time.
template <int N>
inline void SVC_CMD_RESTART(SvcCmdState<N>& s, int k) {
    if (k >= 1 && k <= N) s.e[k - 1] = 0.0f;
}
// A service write of IN_k (from 1) with `value`: a true input starts its
// time at 0, a false one sets it to the time-out, so its output falls at the
// next pass.
template <int N>
inline void SVC_CMD_WRITTEN(SvcCmdState<N>& s, int k, uint32_t value, float timeout) {
    if (k >= 1 && k <= N) s.e[k - 1] = value != 0 ? 0.0f : timeout;
}
// One input k (from 1): IN_k is cleared once it has been on for the time-out.
template <int N>
inline void SVC_CMD(SvcCmdState<N>& s, int k, uint32_t& in, uint32_t& out, float timeout, float T) {
    float& e = s.e[k - 1];
    if (e >= timeout) {
        out = 0;
        in = 0;
    } else {
        e += T;
        out = in;
    }
}

// ---- sampled tunables ---------------------------------------------------------------------
struct SampState {
    uint32_t flag;
};
template <class V>
struct SampOut {
    V out;
    uint32_t limited;
    V lo_lim_out;
    V hi_lim_out;
    uint32_t en_ent_out;
};
// SAMP_TUNE (float) and SAMP_ITUNE (int32): `tune` is the tunable cell,
// [tmin, tmax] its own range; lo_lim / hi_lim the dynamic limits.
template <class V>
inline SampOut<V> SAMP(SampState& s, V& tune, V in, uint32_t sample, V lo_lim, V hi_lim, uint32_t en_ent, V tmin,
                       V tmax, uint32_t all_rg_executed_wmmm) {
    if (sample != 1) {
        s.flag = 0;
    } else if (s.flag == 0) {
        s.flag = 1;
        V v = in;
        if (v < tmin) v = tmin;
        if (v > tmax) v = tmax;
        tune = v;
    }
    uint32_t limited = 0;
    if (hi_lim <= tune && all_rg_executed_wmmm == 1) {
        tune = hi_lim;
        limited = 1;
    }
    if (tune <= lo_lim && all_rg_executed_wmmm == 1) {
        tune = lo_lim;
        limited = 1;
    }
    return {tune, limited, lo_lim, lo_lim > hi_lim ? lo_lim : hi_lim, en_ent != 0 ? 1u : 0u};
}
inline SampOut<float> SAMP_TUNE(SampState& s, float& tune, float in, uint32_t sample, float lo_lim, float hi_lim,
                                uint32_t en_ent, float tmin, float tmax, uint32_t wmmm) {
    return SAMP<float>(s, tune, in, sample, lo_lim, hi_lim, en_ent, tmin, tmax, wmmm);
}
inline SampOut<int32_t> SAMP_ITUNE(SampState& s, int32_t& tune, int32_t in, uint32_t sample, int32_t lo_lim,
                                   int32_t hi_lim, uint32_t en_ent, int32_t tmin, int32_t tmax, uint32_t wmmm) {
    return SAMP<int32_t>(s, tune, in, sample, lo_lim, hi_lim, en_ent, tmin, tmax, wmmm);
}
// The five outputs of a sampled tunable into its cells.
template <class V>
inline void SAMP_OUTPUTS(const SampOut<V>& s, std::type_identity_t<V>& out, uint32_t& limited,
                         uint32_t& en_ent_out, std::type_identity_t<V>& lo_lim_out,
                         std::type_identity_t<V>& hi_lim_out) {
    out = s.out;
    limited = s.limited;
    en_ent_out = s.en_ent_out;
    lo_lim_out = s.lo_lim_out;
    hi_lim_out = s.hi_lim_out;
}
// SAMP_BTUNE: a boolean has no limits; one sample per rising edge.
SampOut<uint32_t> SAMP_BTUNE(SampState& s, uint32_t& tune, uint32_t in, uint32_t sample, uint32_t en_ent);

// ---- texts --------------------------------------------------------------------------------
struct MsgIn {
    uint32_t in;
    int32_t number;
    const char* text;
};
// MSG_SEL: the first input at 1 selects its message; none: the default, 0.
int32_t MSG_SEL(StrCell& out, std::initializer_list<MsgIn> in, const char* default_text);

struct IntText {
    int32_t value;
    const char* text;
};
// I_TO_STR: the text of the first equal value; no match leaves the output
// unchanged, unless the instance has an `otherwise` text.
void I_TO_STR(StrCell& out, int32_t v, std::initializer_list<IntText> table, const char* otherwise = nullptr);
// B_TO_STR: the text chosen by a boolean.
void B_TO_STR(StrCell& out, uint32_t b, const char* text_false, const char* text_true);

}  // namespace bk
