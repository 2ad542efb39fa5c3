#include "runtime/blockkinds.h"

#include <climits>
#include <cmath>

#include "platform/TIME.h"

namespace bk {

int32_t real_to_int(float x) {
    if (std::isnan(x) || x <= -2147483648.0f) return INT32_MIN;
    if (x >= 2147483648.0f) return INT32_MAX;
    return static_cast<int32_t>(x);  // truncation toward zero
}

int32_t remaining_time(float seconds) {
    const int32_t v = real_to_int(seconds);
    return v < 0 ? 0 : v;
}

void S_SW(StrCell& out, uint32_t ctrl, const char* nc, const char* no) { str_cell_copy(out, ctrl != 0 ? no : nc); }

void S_MUX(StrCell& out, int32_t sel, std::initializer_list<const char*> in) {
    if (sel >= 1 && static_cast<size_t>(sel) <= in.size()) str_cell_copy(out, in.begin()[sel - 1]);
}

namespace {
template <bool High>
BusOut select_bus(std::initializer_list<float> in, float hi_lim, float lo_lim) {
    BusOut r{0.0f, 0, 0, 0};
    int k = 0;
    for (float v : in) {
        ++k;
        if (k == 1 || (High ? v > r.out : v < r.out)) {
            r.out = v;
            r.sel = k;
        }
    }
    if (r.out >= hi_lim) {
        r.out = hi_lim;
        r.hi_lim_i = 1;
    } else if (r.out <= lo_lim) {
        r.out = lo_lim;
        r.lo_lim_i = 1;
    }
    return r;
}
}  // namespace

BusOut HSS_BUS(std::initializer_list<float> in, float hi_lim, float lo_lim) { return select_bus<true>(in, hi_lim, lo_lim); }
BusOut LSS_BUS(std::initializer_list<float> in, float hi_lim, float lo_lim) { return select_bus<false>(in, hi_lim, lo_lim); }

TimeCell A_TO_T(float x) {
    const int32_t sec = real_to_int(x);
    // The fraction is taken before scaling, so the milliseconds stay right
    // beyond the 2^31 ms (24.9 days) that 1000 x would overflow.
    const int32_t ms = real_to_int((x - std::trunc(x)) * 1000.0f);
    return {static_cast<uint32_t>(sec), static_cast<uint32_t>(ms * 1000)};
}

DateSplit DATE_SPLIT(const TimeCell& t) {
    CalendarTime c{};
    tohms(t.sec, &c);
    return {static_cast<float>(c.year), static_cast<float>(c.month),  static_cast<float>(c.day),
            static_cast<float>(c.hour), static_cast<float>(c.minute), static_cast<float>(c.second),
            static_cast<float>(t.usec)};
}

namespace {
// One Tustin step of a lag with coefficient c.
inline void lag_step(LagState& s, float& out, float* deriv, float in, float c, float T) {
    const float x = std::isfinite(in) ? in : 0.0f;
    const float delta = (x + s.x_prev - 2.0f * out) * c;
    float y = out + delta;
    float d = delta / T;
    if (!std::isfinite(y)) y = 0.0f;
    if (!std::isfinite(d)) d = 0.0f;
    out = y;
    if (deriv) *deriv = d;
    s.x_prev = x;
}
}  // namespace

void LAG(LagState& s, float& out, float* deriv, float in, float lag_tau, float T) {
    const float floor_tau = T / 1.57f;
    const float tau = lag_tau > floor_tau ? lag_tau : floor_tau;
    lag_step(s, out, deriv, in, T / (2.0f * tau + T), T);
}

void LAG_COEF(LagState& s, float& out, float* deriv, float in, float c, float T) { lag_step(s, out, deriv, in, c, T); }

float RATE_LIMIT(RateLimitState& s, float in, float up, float down, float T) {
    float r = (in - s.last) / T;
    if (r >= 0.0f && r > up) r = up;
    else if (r < 0.0f && -r > down) r = -down;
    float out = std::fma(r, T, s.last);
    if (!std::isfinite(out)) out = 0.0f;
    s.last = out;
    return out;
}

void ELAPSED(ElapsedState& s, float& out_1, TimeCell& elap_time, uint32_t reset, uint32_t enbl, float T) {
    if (reset == 1) {
        out_1 = 0.0f;
        s.fraction = 0.0f;
        elap_time = {0, 0};
        return;
    }
    if (enbl != 1) return;
    out_1 += T;
    if (!std::isfinite(out_1)) out_1 = 0.0f;
    s.fraction += T;
    if (s.fraction > 1.0f) {
        elap_time.sec += 1;
        elap_time.usec = 0;
        s.fraction -= 1.0f;
    } else {
        elap_time.usec += static_cast<uint32_t>(T * 1000000.0f);
    }
}

RampOut RAMP(RampState& s, std::initializer_list<RampPos> pos, float rate, float T) {
    RampOut r{s.last, 0.0f, 0, 0, 0};
    int k = 0;
    for (const RampPos& p : pos) {
        ++k;
        if (p.select == 0) continue;
        r.pos_sel = k;
        if (p.target < s.last) {
            const float out = std::fma(-rate, T, s.last);
            if (out <= p.target) r.ramp = p.target;
            else {
                r.ramp = out;
                r.moving_dn = 1;
            }
        } else if (p.target > s.last) {
            const float out = std::fma(rate, T, s.last);
            if (out >= p.target) r.ramp = p.target;
            else {
                r.ramp = out;
                r.moving_up = 1;
            }
        }
        break;
    }
    s.last = r.ramp;
    return r;
}

void ONE_SHOT(OneShotState& s, uint32_t& out, int32_t* r_time, uint32_t trigger, float dly_time, float T,
              uint32_t reset) {
    if (trigger == 0 && s.prev == 0) {
        s.e = 0.0f;
        out = 0;
    } else if (reset != 0 || s.e >= dly_time) {
        out = 0;
        s.e = 2.0f * dly_time;
    } else {
        s.e += T;
        out = 1;
    }
    if (r_time) *r_time = remaining_time(dly_time - s.e);
    s.prev = out;
}

namespace {
// One side of DELAY while the input is at `level`: its own elapsed time `e`
// runs toward `dly`, the other side's is cleared; the output follows the
// input once the delay has passed (at once for a delay of 0). An output that
// already follows pins the time at the delay. A delay that is no number
// fails every comparison, so that side keeps counting (the on side gives 0,
// the off side keeps the output) until the delay is a number again.
inline uint32_t delay_side(float& e, float& e_other, uint32_t prev, uint32_t level, float dly, float T) {
    e_other = 0.0f;
    if (prev == level && !std::isnan(dly)) e = dly;
    if (e >= dly) return level;
    e += T;
    return level ? 0u : prev;
}
}  // namespace

void DELAY(DelayState& s, uint32_t& out, int32_t* r_time, uint32_t in, float dly_time, float neg_dtime, float T) {
    if (in != 0) {
        out = delay_side(s.e_on, s.e_off, s.prev, 1, dly_time, T);
        if (r_time) *r_time = remaining_time(dly_time - s.e_on);
    } else {
        out = delay_side(s.e_off, s.e_on, s.prev, 0, neg_dtime, T);
        if (r_time) *r_time = remaining_time(neg_dtime - s.e_off);
    }
    s.prev = out;
}

namespace {
// The shared timer of the timed qualifiers.
inline void timer_run(ActionState& s, float& e_time, float& r_time, float time, float T) {
    if (e_time >= time) s.done = 1;
    else e_time += T;
    if (e_time > time) e_time = time;
    r_time = time - e_time;
}
inline void timer_reset(ActionState& s, float& e_time, float& r_time, float time) {
    s.done = 0;
    e_time = 0.0f;
    r_time = time;
}
}  // namespace

void ACTION(ActionState& s, uint32_t& b_action, int32_t& act_out, float& e_time, float& r_time, uint32_t request,
            uint32_t reset, int32_t q, float time, float T) {
    if (q < 1 || q > 8) {
        act_out = 0;
        return;
    }
    act_out = q;
    const bool req = request != 0;
    const bool rst = reset != 0;
    switch (q) {
        case 1:  // non-stored
            b_action = req && !rst ? 1u : 0u;
            break;
        case 2:  // set: a reset takes precedence
            if (rst) b_action = 0;
            else if (req) b_action = 1;
            break;
        case 3:  // time limited
        case 4:  // time delayed
            if (req && !rst) timer_run(s, e_time, r_time, time, T);
            else timer_reset(s, e_time, r_time, time);
            b_action = q == 3 ? (req && !rst && !s.done ? 1u : 0u) : s.done;
            break;
        case 5:  // pulse: done holds the previous request, inhibited or not
            b_action = req && !rst && s.done == 0 ? 1u : 0u;
            s.done = req ? 1u : 0u;
            break;
        case 6:  // stored and delayed
        case 8:  // stored and limited
            if (rst) s.stored = 0;
            else if (req) s.stored = 1;
            if (s.stored) timer_run(s, e_time, r_time, time, T);
            else timer_reset(s, e_time, r_time, time);
            b_action = q == 6 ? s.done : (s.stored && !s.done ? 1u : 0u);
            break;
        case 7:  // delayed and stored
            if (req && !rst) timer_run(s, e_time, r_time, time, T);
            else timer_reset(s, e_time, r_time, time);
            if (rst) b_action = 0;
            else if (s.done) b_action = 1;
            break;
    }
}

SampOut<uint32_t> SAMP_BTUNE(SampState& s, uint32_t& tune, uint32_t in, uint32_t sample, uint32_t en_ent) {
    if (sample != 1) {
        s.flag = 0;
    } else if (s.flag == 0) {
        s.flag = 1;
        tune = in != 0 ? 1u : 0u;
    }
    return {tune, 0, 0, 1, en_ent != 0 ? 1u : 0u};
}

int32_t MSG_SEL(StrCell& out, std::initializer_list<MsgIn> in, const char* default_text) {
    for (const MsgIn& m : in)
        if (m.in == 1) {
            str_cell_copy(out, m.text);
            return m.number;
        }
    str_cell_copy(out, default_text);
    return 0;
}

void I_TO_STR(StrCell& out, int32_t v, std::initializer_list<IntText> table, const char* otherwise) {
    for (const IntText& t : table)
        if (t.value == v) {
            str_cell_copy(out, t.text);
            return;
        }
    if (otherwise) str_cell_copy(out, otherwise);
}

void B_TO_STR(StrCell& out, uint32_t b, const char* text_false, const char* text_true) {
    str_cell_copy(out, b != 0 ? text_true : text_false);
}

}  // namespace bk
