// Block kinds of the generated logic, grouped by kind, with their corner cases.
#include <gtest/gtest.h>

#include <vector>

#include <array>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/blockkinds.h"

using namespace bk;

static constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
static constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(Conversions, SaturationTimeAndDate) {
    const struct { float in; int32_t out; } ints[] = {
        {2.9f, 2}, {-2.9f, -2}, {kNaN, INT32_MIN}, {-1e20f, INT32_MIN}, {2147483648.0f, INT32_MAX}, {kInf, INT32_MAX}};
    for (const auto& c : ints) EXPECT_EQ(real_to_int(c.in), c.out) << c.in;
    const TimeCell t = A_TO_T(3.2567f);  // millisecond resolution in the microseconds word
    EXPECT_EQ(t.sec * 1000000u + t.usec, 3256000u);
    // Past 2^31 ms the milliseconds still come from the fraction.
    const TimeCell late = A_TO_T(3000000.5f);
    EXPECT_EQ(late.sec, 3000000u);
    EXPECT_EQ(late.usec, 500000u);
    DateSplit d = DATE_SPLIT({1771359627u, 123u});  // 2026-02-17 20:20:27 UTC
    EXPECT_EQ((std::array{d.YEAR, d.MONTH, d.DAY, d.HOUR, d.MIN, d.SEC, d.MICROSEC}),
              (std::array{2026.0f, 2.0f, 17.0f, 20.0f, 20.0f, 27.0f, 123.0f}));
    d = DATE_SPLIT({951782400u, 0});  // 2000-02-29, a leap day
    EXPECT_EQ(d.MONTH * 100 + d.DAY, 229.0f);
}

TEST(Selection, MuxOutOfRangeHoldsLimiterAndSignalSelectPriority) {
    float out = 9.0f;
    MUX(out, 0, {1.0f, 2.0f, 3.0f});  // SEL 0 or n + 1 keeps the previous output
    MUX(out, 4, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(out, 9.0f);
    MUX(out, 3, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(out, 3.0f);
    EXPECT_EQ(A_LIMITER(5.0f, 20.0f, 10.0f), 10.0f);  // MIN > MAX: MAX wins
    // Ties keep the earlier input; a later input wins only when strictly lower.
    BusOut r = LSS_BUS({50.0f, 50.0f, 101.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.sel, 1);
    EXPECT_EQ(r.hi_lim_i + r.lo_lim_i, 0u);
    r = LSS_BUS({101.0f, 30.0f, 0.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.sel, 3);
    EXPECT_EQ(r.lo_lim_i, 1u);
    // The high select: a later equal input keeps the earlier one; the limit
    // flags the side it clamps.
    r = HSS_BUS({50.0f, 70.0f, 70.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.sel, 2);
    EXPECT_EQ(r.out, 70.0f);
    EXPECT_EQ(r.hi_lim_i + r.lo_lim_i, 0u);
    r = HSS_BUS({50.0f, 120.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.sel, 2);
    EXPECT_EQ(r.out, 100.0f);
    EXPECT_EQ(r.hi_lim_i, 1u);
    EXPECT_EQ(r.lo_lim_i, 0u);
    // Below the low limit: clamped up to it, flagged; at a limit counts as at it.
    r = HSS_BUS({-5.0f, -10.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.sel, 1);
    EXPECT_EQ(r.out, 0.0f);
    EXPECT_EQ(r.lo_lim_i, 1u);
    EXPECT_EQ(r.hi_lim_i, 0u);
    r = LSS_BUS({100.0f, 120.0f}, 100.0f, 0.0f);
    EXPECT_EQ(r.out, 100.0f);
    EXPECT_EQ(r.hi_lim_i, 1u);
}

TEST(Arithmetic, CompareOnNaNDivisionByZeroAndWrappingIntegers) {
    uint32_t cmp = 1, eq = 1;
    A_COMPARE(cmp, eq, kNaN, 1.0f);
    EXPECT_EQ(cmp, 1u);
    EXPECT_EQ(eq, 0u);
    A_COMPARE(cmp, eq, 1.0f, 1.0f);
    EXPECT_EQ(cmp + eq, 2u);
    EXPECT_EQ(DIVIDE(0.0f, 0.0f), 1e34f);
    EXPECT_EQ(DIVIDE(-0.5f, 0.0f), -1e34f);
    EXPECT_EQ(DIVIDE(2.0f, -0.0f), 1e34f);  // -0.0 equals 0.0
    EXPECT_EQ(I_ADD(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(I_SUBTRACT(INT32_MIN, 1), INT32_MAX);
}

TEST(Filters, LagFloorNonFiniteValuesRateLimitAndRunningAverage) {
    LagState s{};
    float y = 0.0f, d = 0.0f;
    LAG(s, y, &d, 1.0f, 0.0f, T10);  // tau raised to T / 1.57
    EXPECT_FLOAT_EQ(y, T10 / (2.0f * T10 / 1.57f + T10));
    LagState s2{};
    y = 0.0f;
    LAG(s2, y, &d, kNaN, 0.5f, T10);  // a non-finite input counts as 0.0
    EXPECT_EQ(y, 0.0f);
    LagState s3{};
    y = 3e38f;
    LAG(s3, y, &d, -3e38f, 0.5f, T10);  // a non-finite output becomes 0.0, its derivative too
    EXPECT_EQ(y + d, 0.0f);

    RateLimitState r{};
    EXPECT_FLOAT_EQ(RATE_LIMIT(r, 100.0f, 10.0f, 5.0f, T10), 0.1f);
    r.last = 1.0f;
    EXPECT_FLOAT_EQ(RATE_LIMIT(r, -100.0f, 10.0f, 5.0f, T10), 0.95f);
    EXPECT_EQ(RATE_LIMIT(r, kNaN, 10.0f, 5.0f, T10), 0.0f);
    EXPECT_EQ(r.last, 0.0f);

    RunningAvgState<4> a{};
    float out = 5.0f;
    RUNNING_AVG(a, out, 8.0f, 2, 0);  // before start-up: cleared
    EXPECT_EQ(out, 0.0f);
    for (int k = 0; k < 3; ++k) RUNNING_AVG(a, out, 8.0f, 2, 1);  // sampled once the counter passes k
    EXPECT_EQ(out, 2.0f);
}

TEST(Ramp, MovesTowardTheFirstSelectedTargetWithoutPassingIt) {
    RampState s{};
    RampOut r = RAMP(s, {{0, 101.0f}, {1, 1.0f}, {1, 50.0f}}, 40.0f, T10);
    EXPECT_EQ(r.pos_sel, 2);
    EXPECT_FLOAT_EQ(r.ramp, 0.4f);
    EXPECT_EQ(r.moving_up, 1u);
    EXPECT_EQ(r.moving_dn, 0u);
    for (int k = 0; k < 2; ++k) r = RAMP(s, {{0, 101.0f}, {1, 1.0f}}, 40.0f, T10);
    EXPECT_EQ(r.ramp, 1.0f);  // reached, not passed
    EXPECT_EQ(r.moving_up, 0u);
    EXPECT_EQ(P_LIM(r, 1.0f), 1u);
    r = RAMP(s, {{1, -1.0f}}, 40.0f, T10);
    EXPECT_FLOAT_EQ(r.ramp, 0.6f);
    EXPECT_EQ(r.moving_dn, 1u);
    EXPECT_EQ(r.moving_up, 0u);
    EXPECT_EQ(r.pos_sel, 1);
}

TEST(Latches, SetAndResetDominanceAndFlipFlopEdges) {
    uint32_t q = 0;
    LATCH(q, 1, 1);
    EXPECT_EQ(q, 1u);  // set-dominant
    LATCH_R(q, 1, 1);
    EXPECT_EQ(q, 0u);  // reset-dominant
    FlipFlopState<2> f{};
    q = 0;
    T_FLIPFLOP(f, q, {1, 0});
    T_FLIPFLOP(f, q, {1, 0});  // held high: no toggle
    T_FLIPFLOP(f, q, {0, 0});
    T_FLIPFLOP(f, q, {1, 1});  // two rising in one pass toggle twice
    EXPECT_EQ(q, 1u);
}

TEST(Timers, OneShotIgnoresAFallingTriggerOnAndOffDelays) {
    OneShotState s{};
    uint32_t out = 0;
    int32_t rt = -1;
    ONE_SHOT(s, out, &rt, 1, 0.5f, T10);
    int on = static_cast<int>(out);
    for (int k = 0; k < 100; ++k) {
        ONE_SHOT(s, out, &rt, 0, 0.5f, T10);  // trigger fell during the pulse
        on += static_cast<int>(out);
    }
    EXPECT_NEAR(on, 50.5, 0.5);  // the full 0.5 s pulse
    ONE_SHOT(s, out, &rt, 1, 2.5f, T10);  // armed again after the trigger was false
    EXPECT_EQ(out, 1u);
    EXPECT_EQ(rt, 2);

    // The 2 s on-delay in the 160 ms group turns on in the 14th pass.
    DelayState dl{};
    int first_on = 0;
    std::vector<int32_t> remaining;
    for (int pass = 1; pass <= 20 && !first_on; ++pass) {
        DELAY(dl, out, &rt, 1, 2.0f, 0.0f, T160);
        remaining.push_back(rt);
        if (out) first_on = pass;
    }
    EXPECT_EQ(first_on, 14);
    // Whole seconds left, truncated: 1 until less than a second remains.
    EXPECT_EQ(remaining, (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    DelayState o{};
    DELAY(o, out, &rt, 1, 0.0f, 0.05f, T10);  // zero on-delay: on at once
    int still_on = 0;
    for (int k = 0; k < 10; ++k) {
        DELAY(o, out, &rt, 0, 0.0f, 0.05f, T10);
        still_on += static_cast<int>(out);
    }
    EXPECT_EQ(still_on, 6);  // the 0.05 s off-delay holds for six 10 ms passes

    // A service command clears itself after its timeout.
    SvcCmdState<2> sc{};
    SVC_CMD_INIT(sc, 0.05f);
    uint32_t in = 1;
    out = 5;
    SVC_CMD(sc, 1, in, out, 0.05f, T10);  // written before any restart: cleared
    EXPECT_EQ(in + out, 0u);
    in = 1;
    SVC_CMD_RESTART(sc, 1);
    on = 0;
    for (int k = 0; k < 20; ++k) {
        SVC_CMD(sc, 1, in, out, 0.05f, T10);
        on += static_cast<int>(out);
    }
    EXPECT_NEAR(on, 5.5, 0.5);
    EXPECT_EQ(in, 0u);
}

TEST(UnitDelay, NonFiniteCommitsAsZeroAndRangesCoverEveryStoreOnce) {
    ZSTORE(3, kNaN);
    EXPECT_EQ(ZCOMMIT(3), 0.0f);
    int r = 0, b = 0;
    for (const ZRange& z : kZRange) {
        if (z.first_r <= z.last_r) r += z.last_r - z.first_r + 1;
        if (z.first_b <= z.last_b) b += z.last_b - z.first_b + 1;
    }
    EXPECT_EQ(r, kNumZBlock);
    EXPECT_EQ(b, kNumZBlockB);
}

TEST(Sfc, FirstTrueTransitionWinsAndActivationTakesOnePass) {
    // Step A with transitions 1 -> B and 3 -> C; both conditions true.
    SfcState a{}, b{}, c{};
    uint32_t A = 1, B = 0, C = 0, a1 = 0, a2 = 0, a3 = 0, b1 = 0, c1 = 0;
    float ta = 0.0f, tb = 0.0f, tc = 0.0f;
    auto pass = [&](uint32_t cond) {
        SFC_STEP(a, A, ta, {cond, 0, cond}, T80, a1, a2, a3);
        SFC_STEP(b, B, tb, {0}, T80, b1);
        SFC_STEP(c, C, tc, {0}, T80, c1);
        const uint32_t nA = SFC_COMMIT(a, {}), nB = SFC_COMMIT(b, {a1}), nC = SFC_COMMIT(c, {a3});
        A = nA, B = nB, C = nC;
    };
    pass(0);
    EXPECT_EQ(A, 1u);
    EXPECT_FLOAT_EQ(ta, 0.08f);
    pass(1);
    EXPECT_EQ(a1 * 10 + a3, 10u);
    EXPECT_EQ(A * 100 + B * 10 + C, 10u);
    EXPECT_EQ(tb, 0.0f);  // active from the next pass
    pass(1);
    EXPECT_EQ(ta, 0.0f);
    EXPECT_FLOAT_EQ(tb, 0.08f);
}

TEST(Action, EveryQualifierAndOutOfRange) {
    // Each row: qualifier, requests per 10 ms pass (reset with the last one
    // when rst), passes with the output on, final output. The timed
    // qualifiers run 0.05 s, which the float timer reaches on the sixth pass.
    const struct { int q; const char* req; bool rst; int on; uint32_t b_end; } rows[] = {
        {1, "10", false, 1, 0},             // non-stored
        {2, "101", true, 2, 0},             // set; reset takes precedence
        {3, "111111111111", false, 6, 0},   // time limited while the request stays
        {4, "1111111111", false, 4, 1},     // time delayed
        {5, "1101", false, 2, 1},           // pulse: one pass per rising request
        {6, "1000000000", false, 4, 1},     // stored and delayed: a short request is enough
        {7, "1111111110", false, 4, 1},     // delayed and stored: stays once done
        {8, "1000000000", false, 6, 0},     // stored and limited
        {9, "0", false, 1, 1},              // out of range: output unchanged
        {3, "1111111111", true, 6, 0},      // time limited: a reset with the request ends it
        {4, "1111111111", true, 3, 0},      // time delayed: a reset with the request clears it
        {7, "1111111111", true, 3, 0},      // delayed and stored: a reset clears the stored output
        {6, "1000011111", true, 3, 0},      // stored and delayed: a reset clears the store
        {5, "1111", true, 1, 0},            // pulse: a reset with the request gives none
    };
    for (const auto& row : rows) {
        ActionState s{};
        float e = 0.0f, r = 0.0f;
        int32_t q_out = -1;
        uint32_t b = row.q == 9 ? 1u : 0u;
        int on = 0;
        for (const char* c = row.req; *c; ++c) {
            ACTION(s, b, q_out, e, r, *c == '1' ? 1u : 0u, row.rst && !c[1] ? 1u : 0u, row.q, 0.05f, T10);
            on += static_cast<int>(b);
        }
        EXPECT_EQ(on, row.on) << row.q << " " << row.req;
        EXPECT_EQ(b, row.b_end) << row.q << " " << row.req;
        EXPECT_EQ(q_out, row.q == 9 ? 0 : row.q) << row.q;
    }
}

TEST(Elapsed, CountsSecondsAndResets) {
    ElapsedState s{};
    float out = 0.0f;
    TimeCell t{};
    // 160 ms passes: the seconds field steps each time the fraction passes 1 s.
    std::vector<uint32_t> secs;
    for (int k = 0; k < 20; ++k) {
        ELAPSED(s, out, t, 0, 1, 0.16f);
        secs.push_back(t.sec);
    }
    EXPECT_NEAR(out, 3.2f, 1e-4f);
    EXPECT_EQ(secs, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3}));
    EXPECT_EQ(t.usec, 160000u);  // one pass since the last whole second
    ELAPSED(s, out, t, 0, 0, 0.16f);  // disabled: holds
    EXPECT_NEAR(out, 3.2f, 1e-4f);
    ELAPSED(s, out, t, 1, 1, 0.16f);  // reset wins over enable
    EXPECT_EQ(out, 0.0f);
    EXPECT_EQ(t.sec, 0u);
    EXPECT_EQ(t.usec, 0u);
    for (int k = 0; k < 7; ++k) ELAPSED(s, out, t, 0, 1, 0.16f);
    EXPECT_EQ(t.sec, 1u);  // the fraction restarted with the reset
}

TEST(SampledTunable, BooleanSamplesOncePerRisingEdge) {
    SampState s{};
    uint32_t tune = 0;
    // Each step: input, sample; tunable after it.
    const struct { uint32_t in, sample, tune; } steps[] = {
        {1, 0, 0}, {1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {0, 1, 0}, {5, 0, 0}, {5, 1, 1},
    };
    for (const auto& st : steps) {
        SampOut<uint32_t> o = SAMP_BTUNE(s, tune, st.in, st.sample, 1);
        EXPECT_EQ(tune, st.tune) << st.in << st.sample;
        EXPECT_EQ(o.out, tune);
        EXPECT_EQ(o.en_ent_out, 1u);
    }
}

TEST(SampledTunable, ClampsOnlyAfterStartUpAndSamplesOnRisingEdge) {
    SampState s{};
    float tune = 150.0f;  // loaded from the tunables file, above its dynamic limit
    SampOut<float> o = SAMP_TUNE(s, tune, 0.0f, 0, kRealLoLim, 100.0f, 1, 0.0f, 200.0f, 0);
    EXPECT_EQ(tune, 150.0f);
    EXPECT_EQ(o.limited, 0u);
    o = SAMP_TUNE(s, tune, 0.0f, 0, kRealLoLim, 100.0f, 1, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 100.0f);  // clamped in the tunable cell itself
    EXPECT_EQ(o.limited, 1u);
    SAMP_TUNE(s, tune, 500.0f, 1, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 200.0f);  // limited to the tunable's own range
    SAMP_TUNE(s, tune, 50.0f, 1, 0.0f, 1000.0f, 0, 0.0f, 200.0f, 1);
    EXPECT_EQ(tune, 200.0f);  // still high: no new sample
}

TEST(Texts, MessageSelectionTruncatesAndTextTables) {
    StrCell out{};
    const char* k45 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghi";
    std::memset(out.s, 'x', sizeof(out.s));
    EXPECT_EQ(MSG_SEL(out, {{0, 1, "one"}, {1, 3, k45}, {1, 4, "four"}}, "none"), 3);
    EXPECT_EQ(std::string(out.s), std::string(k45, 39));
    EXPECT_EQ(MSG_SEL(out, {{0, 1, "one"}, {2, 2, "two"}}, "none"), 0);  // only 1 selects
    EXPECT_STREQ(out.s, "none");
    I_TO_STR(out, 2, {{1, "Not Used"}, {2, "Actual Shaft Speed"}});
    I_TO_STR(out, 99, {{1, "Not Used"}});
    EXPECT_STREQ(out.s, "Actual Shaft Speed");  // no match: unchanged
}
