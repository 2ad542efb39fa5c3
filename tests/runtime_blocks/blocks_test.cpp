// Block kinds of the generated logic, grouped by kind, with their corner cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/blockkinds.h"

using namespace bk;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(Conversions, RealToIntSaturatesAndTruncates) {
    EXPECT_EQ(real_to_int(2.9f), 2);
    EXPECT_EQ(real_to_int(-2.9f), -2);
    EXPECT_EQ(real_to_int(kNaN), INT32_MIN);
    EXPECT_EQ(real_to_int(-2147483648.0f), INT32_MIN);
    EXPECT_EQ(real_to_int(-1e20f), INT32_MIN);
    EXPECT_EQ(real_to_int(2147483648.0f), INT32_MAX);
    EXPECT_EQ(real_to_int(kInf), INT32_MAX);
    EXPECT_EQ(remaining_time(-0.5f), 0);
    EXPECT_EQ(remaining_time(-3.0f), 0);
    EXPECT_EQ(remaining_time(1.99f), 1);
    EXPECT_EQ(int_to_real(-7), -7.0f);
    // A_TO_T: millisecond resolution in the microseconds word.
    TimeCell t = A_TO_T(3.2567f);
    EXPECT_EQ(t.sec, 3u);
    EXPECT_EQ(t.usec, 256000u);
    // Date split of 2026-02-17 20:20:27 UTC.
    DateSplit d = DATE_SPLIT({1771359627u, 123u});
    EXPECT_EQ(d.YEAR, 2026.0f);
    EXPECT_EQ(d.MONTH, 2.0f);
    EXPECT_EQ(d.DAY, 17.0f);
    EXPECT_EQ(d.HOUR, 20.0f);
    EXPECT_EQ(d.MIN, 20.0f);
    EXPECT_EQ(d.SEC, 27.0f);
    EXPECT_EQ(d.MICROSEC, 123.0f);
    d = DATE_SPLIT({951782400u, 0});  // 2000-02-29 00:00:00, a leap day
    EXPECT_EQ(d.MONTH, 2.0f);
    EXPECT_EQ(d.DAY, 29.0f);
}

TEST(LogicAndSelection, GatesSwitchesMuxesAndLimits) {
    EXPECT_EQ(NOT(0), 1u);
    EXPECT_EQ(NOT(5), 0u);
    EXPECT_EQ(AND({1, 2, 1}), 1u);  // true means non-zero
    EXPECT_EQ(AND({1, 0, 1}), 0u);
    EXPECT_EQ(OR({0, 0, 7}), 1u);
    EXPECT_EQ(NAND({1, 1}), 0u);
    EXPECT_EQ(NOR({0, 0}), 1u);
    EXPECT_EQ(XOR(1, 1), 0u);
    EXPECT_EQ(XOR(0, 1), 1u);
    EXPECT_EQ(SW<float>(1, 2.0f, 3.0f), 3.0f);
    EXPECT_EQ(SW<float>(0, 2.0f, 3.0f), 2.0f);

    // A MUX with SEL = 0 or n + 1 keeps its previous output.
    float out = 9.0f;
    MUX(out, 0, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(out, 9.0f);
    MUX(out, 4, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(out, 9.0f);
    MUX(out, 3, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(out, 3.0f);
    StrCell s{};
    S_MUX(s, 2, {"a", "bb"});
    EXPECT_STREQ(s.s, "bb");
    S_MUX(s, -1, {"a", "bb"});
    EXPECT_STREQ(s.s, "bb");
    S_SW(s, 0, "nc", "no");
    EXPECT_STREQ(s.s, "nc");

    EXPECT_EQ(A_MAX(1.0f, 2.0f), 2.0f);
    EXPECT_EQ(A_MIN(1.0f, 2.0f), 1.0f);
    EXPECT_EQ(A_LIMITER(-5.0f, 0.0f, 10.0f), 0.0f);
    EXPECT_EQ(A_LIMITER(15.0f, 0.0f, 10.0f), 10.0f);
    EXPECT_EQ(A_LIMITER(15.0f, 20.0f, 10.0f), 10.0f);  // MIN > MAX: MAX wins
    EXPECT_EQ(A_LIMITER(5.0f, 20.0f, 10.0f), 10.0f);
}

TEST(LogicAndSelection, SignalSelectBusesPreferEarlierInputsAndFlagLimits) {
    // Ties keep the earlier input; a later input wins only when strictly lower.
    BusOut r = LSS_BUS({50.0f, 50.0f, 101.0f, 101.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.out, 50.0f);
    EXPECT_EQ(r.sel, 1);
    EXPECT_EQ(r.hi_lim_i, 0u);
    EXPECT_EQ(r.lo_lim_i, 0u);
    r = LSS_BUS({101.0f, 30.0f, 101.0f, 0.0f}, 100.0f, 0.0f);  // trip input 4 at 0
    EXPECT_EQ(r.out, 0.0f);
    EXPECT_EQ(r.sel, 4);
    EXPECT_EQ(r.lo_lim_i, 1u);
    r = HSS_BUS({3.0f, 60000.0f}, 50000.0f, 0.0f);
    EXPECT_EQ(r.out, 50000.0f);
    EXPECT_EQ(r.sel, 2);
    EXPECT_EQ(r.hi_lim_i, 1u);
    uint32_t s1 = 7, s2 = 7, s3 = 7;
    set_sel(2, s1, s2, s3);
    EXPECT_EQ(s1, 0u);
    EXPECT_EQ(s2, 1u);
    EXPECT_EQ(s3, 0u);
}

TEST(LogicAndSelection, CompareKeepsOutputOnNaN) {
    uint32_t cmp = 1, eq = 1;
    A_COMPARE(cmp, eq, kNaN, 1.0f);
    EXPECT_EQ(cmp, 1u);
    EXPECT_EQ(eq, 0u);
    A_COMPARE(cmp, eq, 0.5f, 1.0f);
    EXPECT_EQ(cmp, 0u);
    A_COMPARE(cmp, eq, 1.0f, kNaN);
    EXPECT_EQ(cmp, 0u);
    EXPECT_EQ(eq, 0u);
    A_COMPARE(cmp, eq, 1.0f, 1.0f);
    EXPECT_EQ(cmp, 1u);
    EXPECT_EQ(eq, 1u);

    uint32_t e, l, g;
    I_COMPARE(e, l, g, 4, 4);
    EXPECT_EQ(e + l + g, 1u);
    EXPECT_EQ(e, 1u);
    I_COMPARE(e, l, g, -5, 4);
    EXPECT_EQ(l, 1u);
    EXPECT_EQ(e + l + g, 1u);
    I_COMPARE(e, l, g, 5, 4);
    EXPECT_EQ(g, 1u);
}

TEST(Arithmetic, DivisionByZeroAndWrappingIntegers) {
    EXPECT_EQ(DIVIDE(0.0f, 0.0f), 1e34f);
    EXPECT_EQ(DIVIDE(-0.5f, 0.0f), -1e34f);
    EXPECT_EQ(DIVIDE(2.0f, -0.0f), 1e34f);  // -0.0 equals 0.0
    EXPECT_EQ(DIVIDE(1.0f, 3.0f), 1.0f / 3.0f);
    EXPECT_EQ(I_ADD(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(I_SUBTRACT(INT32_MIN, 1), INT32_MAX);
}

TEST(Lag, FloorOfTheTimeConstantNonFiniteInputAndDerivative) {
    LagState s{};
    float y = 0.0f, d = 0.0f;
    // A time constant below T / 1.57 is raised to it: with tau = 0 the
    // coefficient is T / (2 T / 1.57 + T).
    LAG(s, y, &d, 1.0f, 0.0f, T10);
    const float tau = T10 / 1.57f;
    EXPECT_FLOAT_EQ(tau, 0.0063694264f);
    const float c = T10 / (2.0f * tau + T10);
    EXPECT_EQ(y, (1.0f + 0.0f - 0.0f) * c);
    EXPECT_EQ(d, y / T10);
    EXPECT_EQ(s.x_prev, 1.0f);
    EXPECT_FLOAT_EQ(T160 / 1.57f, 0.10191082f);

    // A non-finite input counts as 0.0.
    LagState s2{};
    float y2 = 0.0f, d2 = 0.0f;
    LAG(s2, y2, &d2, kNaN, 0.5f, T10);
    EXPECT_EQ(y2, 0.0f);
    EXPECT_EQ(s2.x_prev, 0.0f);

    // A non-finite output becomes 0.0 and the derivative too.
    LagState s3{};
    float y3 = 3e38f, d3 = 1.0f;
    LAG(s3, y3, &d3, -3e38f, 0.5f, T10);
    EXPECT_EQ(y3, 0.0f);
    EXPECT_EQ(d3, 0.0f);

    // Settles at a constant input; the precomputed-coefficient variant agrees.
    LagState a{}, b{};
    float ya = 0.0f, yb = 0.0f;
    for (int k = 0; k < 2000; ++k) {
        LAG(a, ya, nullptr, 10.0f, 0.1f, T10);
        LAG_COEF(b, yb, nullptr, 10.0f, T10 / (2.0f * 0.1f + T10), T10);
    }
    EXPECT_NEAR(ya, 10.0f, 1e-3f);
    EXPECT_EQ(ya, yb);
}

TEST(RateLimit, LimitsBothDirectionsAndResetsOnNonFinite) {
    RateLimitState s{};
    EXPECT_FLOAT_EQ(RATE_LIMIT(s, 100.0f, 10.0f, 5.0f, T10), 0.1f);
    EXPECT_FLOAT_EQ(RATE_LIMIT(s, 100.0f, 10.0f, 5.0f, T10), 0.2f);
    s.last = 1.0f;
    EXPECT_FLOAT_EQ(RATE_LIMIT(s, -100.0f, 10.0f, 5.0f, T10), 0.95f);
    s.last = 1.0f;
    EXPECT_EQ(RATE_LIMIT(s, 1.02f, 10.0f, 5.0f, T10), std::fma((1.02f - 1.0f) / T10, T10, 1.0f));
    EXPECT_EQ(RATE_LIMIT(s, kNaN, 10.0f, 5.0f, T10), 0.0f);
    EXPECT_EQ(s.last, 0.0f);
}

TEST(RunningAvg, WaitsForStartupThenAveragesEveryKPasses) {
    RunningAvgState<4> s{};
    float out = 5.0f;
    RUNNING_AVG(s, out, 8.0f, 2, 0);  // not yet started: cleared
    EXPECT_EQ(out, 0.0f);
    RUNNING_AVG(s, out, 8.0f, 2, 1);  // flag taken
    EXPECT_EQ(s.inited, 1u);
    RUNNING_AVG(s, out, 8.0f, 2, 1);  // counter 2: not above k
    EXPECT_EQ(out, 0.0f);
    RUNNING_AVG(s, out, 8.0f, 2, 1);  // counter 3 > 2: sample
    EXPECT_EQ(out, 2.0f);
    for (int k = 0; k < 2 * 5; ++k) RUNNING_AVG(s, out, 4.0f, 2, 1);
    EXPECT_EQ(out, 4.0f);  // five samples later the ring holds only 4.0
    EXPECT_EQ(s.index, 2u);  // six samples: wrapped past 3
}

TEST(Elapsed, AccumulatesSecondsAndMicrosecondsAndResets) {
    ElapsedState s{};
    float out = 0.0f;
    TimeCell t{};
    for (int k = 0; k < 7; ++k) ELAPSED(s, out, t, 0, 1, T160);
    // 0.16 x 7 = 1.12: the seventh step passes 1.0.
    EXPECT_EQ(t.sec, 1u);
    EXPECT_EQ(t.usec, 0u);
    ELAPSED(s, out, t, 0, 1, T160);
    EXPECT_EQ(t.usec, 160000u);
    ELAPSED(s, out, t, 0, 0, T160);  // not enabled: holds
    EXPECT_EQ(t.usec, 160000u);
    ELAPSED(s, out, t, 1, 1, T160);  // reset first
    EXPECT_EQ(out, 0.0f);
    EXPECT_EQ(t.sec, 0u);
    EXPECT_EQ(s.fraction, 0.0f);
}

TEST(Ramp, MovesTowardTheFirstSelectedTargetWithoutPassingIt) {
    RampState s{};
    RampOut r = RAMP(s, {{0, 101.0f}, {1, 1.0f}, {1, 50.0f}}, 40.0f, T10);
    EXPECT_EQ(r.pos_sel, 2);
    EXPECT_FLOAT_EQ(r.ramp, 0.4f);
    EXPECT_EQ(r.moving_up, 1u);
    EXPECT_EQ(P_LIM(r, 1.0f), 0u);
    r = RAMP(s, {{0, 101.0f}, {1, 1.0f}}, 40.0f, T10);
    EXPECT_FLOAT_EQ(r.ramp, 0.8f);
    r = RAMP(s, {{0, 101.0f}, {1, 1.0f}}, 40.0f, T10);
    EXPECT_EQ(r.ramp, 1.0f);  // reached, not passed
    EXPECT_EQ(r.moving_up, 0u);
    EXPECT_EQ(P_LIM(r, 1.0f), 1u);
    EXPECT_EQ(r.rev_ramp, 0.0f);
    // A forcing rate completes the move in one pass.
    r = RAMP(s, {{1, -3.0f}}, 32500.0f, T10);
    EXPECT_EQ(r.ramp, -3.0f);
    EXPECT_EQ(r.moving_dn, 0u);
    // No position selected: hold, POS_SEL 0.
    r = RAMP(s, {{0, 5.0f}}, 1.0f, T10);
    EXPECT_EQ(r.ramp, -3.0f);
    EXPECT_EQ(r.pos_sel, 0);
    EXPECT_EQ(r.moving_up + r.moving_dn, 0u);
}

TEST(Latches, SetAndResetDominance) {
    uint32_t q = 0;
    LATCH(q, 1, 1);
    EXPECT_EQ(q, 1u);  // set-dominant
    LATCH(q, 0, 0);
    EXPECT_EQ(q, 1u);
    LATCH(q, 0, 1);
    EXPECT_EQ(q, 0u);
    q = 1;
    LATCH_R(q, 1, 1);
    EXPECT_EQ(q, 0u);  // reset-dominant
    LATCH_R(q, 2, 0);
    EXPECT_EQ(q, 0u);  // SET must be 1
    LATCH_R(q, 1, 0);
    EXPECT_EQ(q, 1u);
}

TEST(FlipFlop, TogglesOnEveryRisingEdge) {
    FlipFlopState<2> s{};
    uint32_t q = 0;
    T_FLIPFLOP(s, q, {1, 0});
    EXPECT_EQ(q, 1u);
    T_FLIPFLOP(s, q, {1, 0});  // held high: no toggle
    EXPECT_EQ(q, 1u);
    T_FLIPFLOP(s, q, {0, 0});
    T_FLIPFLOP(s, q, {1, 1});  // two rising in one pass toggle twice
    EXPECT_EQ(q, 1u);
}

TEST(OneShot, OnePulsePerTriggerOfFullLength) {
    // A trigger that stays true for 10 s gives one pulse of DLY_TIME.
    OneShotState s{};
    uint32_t out = 0;
    int32_t rt = -1;
    int on = 0, pulses = 0;
    uint32_t prev = 0;
    for (int k = 0; k < 1000; ++k) {
        ONE_SHOT(s, out, &rt, 1, 0.5f, T10);
        on += out;
        if (out && !prev) ++pulses;
        prev = out;
    }
    EXPECT_EQ(pulses, 1);
    EXPECT_GE(on, 50);
    EXPECT_LE(on, 51);
    EXPECT_EQ(rt, 0);

    // A trigger that falls during the pulse does not shorten it.
    OneShotState s2{};
    ONE_SHOT(s2, out, &rt, 1, 0.5f, T10);
    int on2 = out;
    for (int k = 0; k < 100; ++k) {
        ONE_SHOT(s2, out, &rt, 0, 0.5f, T10);
        on2 += out;
    }
    EXPECT_EQ(on2, on);
    // Armed again after the trigger was false: a new pulse.
    ONE_SHOT(s2, out, &rt, 1, 0.5f, T10);
    EXPECT_EQ(out, 1u);
    // R_TIME while more than a second remains.
    OneShotState s3{};
    ONE_SHOT(s3, out, &rt, 1, 2.5f, T10);
    EXPECT_EQ(rt, 2);
    // A reset ends the pulse at once.
    ONE_SHOT(s3, out, &rt, 1, 2.5f, T10, 1);
    EXPECT_EQ(out, 0u);
    ONE_SHOT(s3, out, &rt, 1, 2.5f, T10);
    EXPECT_EQ(out, 0u);  // spent until the trigger falls
}

TEST(Delay, OnDelayInThe160msGroupAndOffDelay) {
    // 2.0 s on-delay at 160 ms: on in the 14th consecutive pass.
    DelayState s{};
    uint32_t out = 0;
    int32_t rt = -1;
    int first_on = 0;
    for (int pass = 1; pass <= 20 && !first_on; ++pass) {
        DELAY(s, out, &rt, 1, 2.0f, 0.0f, T160);
        if (out) first_on = pass;
        else if (s.e_on < 1.0f) EXPECT_EQ(rt, 1) << pass;  // more than a second left
        else EXPECT_EQ(rt, 0) << pass;
    }
    EXPECT_EQ(first_on, 14);
    DELAY(s, out, &rt, 1, 2.0f, 0.0f, T160);  // stays on
    EXPECT_EQ(out, 1u);
    DELAY(s, out, &rt, 0, 2.0f, 0.0f, T160);  // no off-delay: off at once
    EXPECT_EQ(out, 0u);
    EXPECT_EQ(rt, 0);

    // Off-delay of 0.05 s at 10 ms; a zero on-delay switches on at once.
    DelayState o{};
    DELAY(o, out, &rt, 1, 0.0f, 0.05f, T10);
    EXPECT_EQ(out, 1u);
    int still_on = 0;
    for (int k = 0; k < 10; ++k) {
        DELAY(o, out, &rt, 0, 0.0f, 0.05f, T10);
        still_on += out;
    }
    EXPECT_GE(still_on, 5);
    EXPECT_LE(still_on, 6);
    EXPECT_EQ(out, 0u);
    // The off-delay does not run from a false start.
    DelayState f{};
    DELAY(f, out, &rt, 0, 0.0f, 0.05f, T10);
    EXPECT_EQ(out, 0u);
}

TEST(UnitDelay, CommitOfNonFiniteRealsAndGroupRanges) {
    ZSTORE(3, kInf);
    EXPECT_EQ(ZCOMMIT(3), 0.0f);
    ZSTORE(3, kNaN);
    EXPECT_EQ(ZCOMMIT(3), 0.0f);
    ZSTORE(3, 2.5f);
    EXPECT_EQ(ZCOMMIT(3), 2.5f);
    ZSTORE_B(78, 1);
    EXPECT_EQ(ZCOMMIT_B(78), 1u);
    // The group ranges cover the stores exactly once.
    int r = 0, b = 0;
    for (const ZRange& z : kZRange) {
        if (z.first_r <= z.last_r) r += z.last_r - z.first_r + 1;
        if (z.first_b <= z.last_b) b += z.last_b - z.first_b + 1;
    }
    EXPECT_EQ(r, kNumZBlock);
    EXPECT_EQ(b, kNumZBlockB);
}

TEST(Sfc, FirstTrueTransitionWinsAndActivationTakesOnePass) {
    // Chart: step A with transitions 1 -> B and 3 -> C; both conditions true.
    SfcState a{}, b{}, c{};
    uint32_t A = 1, B = 0, C = 0;
    float ta = 0.0f, tb = 0.0f, tc = 0.0f;
    uint32_t a1 = 0, a2 = 0, a3 = 0, b1 = 0, c1 = 0;
    auto pass = [&](uint32_t cond1, uint32_t cond3) {
        SFC_STEP(a, A, ta, {cond1, 0, cond3}, T80, a1, a2, a3);
        SFC_STEP(b, B, tb, {0}, T80, b1);
        SFC_STEP(c, C, tc, {0}, T80, c1);
        // The commit at the end of the pass.
        const uint32_t nA = SFC_COMMIT(a, {}), nB = SFC_COMMIT(b, {a1}), nC = SFC_COMMIT(c, {a3});
        A = nA, B = nB, C = nC;
    };
    pass(0, 0);
    EXPECT_EQ(A, 1u);  // held
    EXPECT_FLOAT_EQ(ta, 0.08f);
    pass(1, 1);
    EXPECT_EQ(a1, 1u);
    EXPECT_EQ(a3, 0u);
    EXPECT_EQ(A, 0u);
    EXPECT_EQ(B, 1u);  // active from the next pass
    EXPECT_EQ(C, 0u);
    EXPECT_EQ(tb, 0.0f);
    pass(1, 1);
    EXPECT_EQ(ta, 0.0f);  // the source step's time is back to 0.0
    EXPECT_FLOAT_EQ(tb, 0.08f);
    EXPECT_EQ(a1, 0u);
}

TEST(Action, AllEightQualifiers) {
    float e = 0.0f, r = 0.0f;
    int32_t q_out = -1;
    auto run = [&](ActionState& s, uint32_t& b, int q, uint32_t req, uint32_t rst = 0) {
        ACTION(s, b, q_out, e, r, req, rst, q, 0.05f, T10);
    };
    {  // 1 non-stored
        ActionState s{};
        uint32_t b = 0;
        run(s, b, 1, 1);
        EXPECT_EQ(b, 1u);
        EXPECT_EQ(q_out, 1);
        run(s, b, 1, 0);
        EXPECT_EQ(b, 0u);
    }
    {  // 2 set, reset takes precedence
        ActionState s{};
        uint32_t b = 0;
        run(s, b, 2, 1);
        run(s, b, 2, 0);
        EXPECT_EQ(b, 1u);
        run(s, b, 2, 1, 1);
        EXPECT_EQ(b, 0u);
    }
    {  // 3 time limited: on for TIME, then off while the request stays
        ActionState s{};
        uint32_t b = 0;
        e = 0.0f;
        int on = 0;
        for (int k = 0; k < 20; ++k) {
            run(s, b, 3, 1);
            on += b;
        }
        EXPECT_GE(on, 5);
        EXPECT_LE(on, 7);
        EXPECT_EQ(b, 0u);
        EXPECT_EQ(e, 0.05f);  // limited to TIME
        EXPECT_EQ(r, 0.0f);
        run(s, b, 3, 0);
        EXPECT_EQ(e, 0.0f);
        EXPECT_EQ(r, 0.05f);
    }
    {  // 4 time delayed
        ActionState s{};
        uint32_t b = 0;
        e = 0.0f;
        int first = 0;
        for (int k = 1; k <= 20 && !first; ++k) {
            run(s, b, 4, 1);
            if (b) first = k;
        }
        EXPECT_GE(first, 6);
        EXPECT_LE(first, 7);
        run(s, b, 4, 0);
        EXPECT_EQ(b, 0u);
    }
    {  // 5 pulse: one pass per rising request
        ActionState s{};
        uint32_t b = 0;
        run(s, b, 5, 1);
        EXPECT_EQ(b, 1u);
        run(s, b, 5, 1);
        EXPECT_EQ(b, 0u);
        run(s, b, 5, 0);
        run(s, b, 5, 1);
        EXPECT_EQ(b, 1u);
    }
    {  // 6 stored and delayed: a short request is enough
        ActionState s{};
        uint32_t b = 0;
        e = 0.0f;
        run(s, b, 6, 1);
        for (int k = 0; k < 10; ++k) run(s, b, 6, 0);
        EXPECT_EQ(b, 1u);
        run(s, b, 6, 0, 1);
        EXPECT_EQ(b, 0u);
    }
    {  // 7 delayed and stored: stays once done
        ActionState s{};
        uint32_t b = 0;
        e = 0.0f;
        for (int k = 0; k < 10; ++k) run(s, b, 7, 1);
        EXPECT_EQ(b, 1u);
        run(s, b, 7, 0);
        EXPECT_EQ(b, 1u);
        run(s, b, 7, 0, 1);
        EXPECT_EQ(b, 0u);
    }
    {  // 8 stored and limited
        ActionState s{};
        uint32_t b = 0;
        e = 0.0f;
        run(s, b, 8, 1);
        EXPECT_EQ(b, 1u);
        for (int k = 0; k < 10; ++k) run(s, b, 8, 0);
        EXPECT_EQ(b, 0u);
    }
    {  // out of range: ACT_OUT 0, B_ACTION unchanged
        ActionState s{};
        uint32_t b = 1;
        run(s, b, 9, 0);
        EXPECT_EQ(q_out, 0);
        EXPECT_EQ(b, 1u);
        run(s, b, 0, 0);
        EXPECT_EQ(b, 1u);
    }
}

TEST(ServiceCommand, ClearsItselfAfterTheTimeout) {
    SvcCmdState<2> s{};
    SVC_CMD_INIT(s, 0.05f);
    uint32_t in = 1, out = 5;
    SVC_CMD(s, 1, in, out, 0.05f, T10);  // written before any restart: cleared
    EXPECT_EQ(out, 0u);
    EXPECT_EQ(in, 0u);
    in = 1;
    SVC_CMD_RESTART(s, 1);
    int on = 0;
    for (int k = 0; k < 20; ++k) {
        SVC_CMD(s, 1, in, out, 0.05f, T10);
        on += out;
    }
    EXPECT_GE(on, 5);
    EXPECT_LE(on, 6);
    EXPECT_EQ(in, 0u);
    SVC_CMD_RESTART(s, 3);  // out of range: ignored
}

TEST(SampledTunable, SamplesOnRisingEdgeAndClampsOnlyAfterStartup) {
    SampState s{};
    float tune = 150.0f;  // loaded from the tunables file, above its dynamic limit
    SampOut<float> o = SAMP_TUNE(s, tune, 0.0f, 0, kRealLoLim, 100.0f, 1, 0.0f, 200.0f, 0);
    EXPECT_EQ(tune, 150.0f);
    EXPECT_EQ(o.limited, 0u);
    EXPECT_EQ(o.out, 150.0f);
    EXPECT_EQ(o.en_ent_out, 1u);
    o = SAMP_TUNE(s, tune, 0.0f, 0, kRealLoLim, 100.0f, 1, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 100.0f);  // clamped in the tunable cell itself
    EXPECT_EQ(o.limited, 1u);
    EXPECT_EQ(o.out, 100.0f);
    EXPECT_EQ(o.hi_lim_out, 100.0f);
    EXPECT_EQ(kRealLoLim, -9.9999997e37f);

    // One sample per rising edge, limited to the tunable's own range.
    o = SAMP_TUNE(s, tune, 500.0f, 1, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 200.0f);
    o = SAMP_TUNE(s, tune, 50.0f, 1, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 200.0f);  // still high: no new sample
    o = SAMP_TUNE(s, tune, 50.0f, 0, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    o = SAMP_TUNE(s, tune, 50.0f, 1, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 50.0f);
    EXPECT_EQ(o.limited, 0u);
    // HI_LIM_OUT is the larger of the two limits.
    o = SAMP_TUNE(s, tune, 0.0f, 0, 60.0f, 40.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(o.hi_lim_out, 60.0f);
    EXPECT_EQ(tune, 60.0f);  // upper clamp to 40, then lower to 60

    // Integers: raised to the minimum, default dynamic limits.
    SampState si{};
    int32_t it = 0;
    SampOut<int32_t> oi = SAMP_ITUNE(si, it, -5, 1, kIntLoLim, kIntHiLim, 0, 1, 42, 1);
    EXPECT_EQ(it, 1);
    EXPECT_EQ(oi.limited, 0u);
    it = 10000000;
    oi = SAMP_ITUNE(si, it, 0, 0, kIntLoLim, kIntHiLim, 0, 1, 42, 1);
    EXPECT_EQ(oi.limited, 1u);
    EXPECT_EQ(it, kIntHiLim);

    SampState sb{};
    uint32_t bt = 0;
    SAMP_BTUNE(sb, bt, 1, 1, 1);
    EXPECT_EQ(bt, 1u);
}

TEST(Texts, MessageSelectionAndTextTables) {
    StrCell out{};
    const char* k45 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghi";
    ASSERT_EQ(std::strlen(k45), 45u);
    std::memset(out.s, 'x', sizeof(out.s));
    int32_t sel = MSG_SEL(out, {{0, 1, "one"}, {1, 3, k45}, {1, 4, "four"}}, "none");
    EXPECT_EQ(sel, 3);
    EXPECT_EQ(std::string(out.s), std::string(k45, 39));
    EXPECT_EQ(out.s[39], '\0');
    sel = MSG_SEL(out, {{0, 1, "one"}, {2, 2, "two"}}, "none");  // only 1 selects
    EXPECT_EQ(sel, 0);
    EXPECT_STREQ(out.s, "none");

    I_TO_STR(out, 2, {{1, "Not Used"}, {2, "Actual Shaft Speed"}});
    EXPECT_STREQ(out.s, "Actual Shaft Speed");
    I_TO_STR(out, 99, {{1, "Not Used"}});
    EXPECT_STREQ(out.s, "Actual Shaft Speed");  // no match: unchanged
    I_TO_STR(out, 99, {{1, "Not Used"}}, "None");
    EXPECT_STREQ(out.s, "None");
    B_TO_STR(out, 1, "off", "on");
    EXPECT_STREQ(out.s, "on");
    B_TO_STR(out, 0, "off", k45);
    EXPECT_STREQ(out.s, "off");
}
