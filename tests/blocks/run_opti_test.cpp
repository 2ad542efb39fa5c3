// The tuning sequence: a full run on a simulated turbine speed loop, the
// levels it applies, and each fault and alarm of the sequence raised by its
// condition.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <array>
#include <deque>
#include <vector>

#include "blocks/RunOptiPID.h"
#include "blocks/pid_opti.h"
#include "tests/blocks/opti_rig.h"

namespace {

// Normalised speed (%) of a turbine as a first-order lag on the valve demand
// with a transport delay: at 40 % demand it runs at 90 %.
struct Plant {
    double pv = 90.0;
    double gain = 2.0;   // % speed per % demand
    double tau = 0.5;    // s
    std::deque<double> delay = std::deque<double>(5, 40.0);  // 50 ms
    void update(double u)
    {
        delay.push_back(u);
        const double ud = delay.front();
        delay.pop_front();
        pv += 0.01 / tau * (90.0 + gain * (ud - 40.0) - pv);
    }
};

// The speed PID closed over the plant. Returns the status after `calls`
// passes or as soon as `until` reports true.
struct Loop {
    OptiRig r;
    Plant plant;
    int calls = 0;
    Loop()
    {
        r.v.P = 1.0f;
        r.v.I = 1.0f;
        r.v.SDR = 5.0f;
        r.v.FDBK = 40.0f;
        for (int i = 0; i < 300; ++i) pass();
    }
    void pass()
    {
        r.v.PV = static_cast<float>(plant.pv);
        r.step();
        plant.update(r.out);
        ++calls;
    }
    template <class F>
    bool run_until(F until, int maxCalls)
    {
        for (int i = 0; i < maxCalls; ++i) {
            pass();
            if (until()) return true;
        }
        return false;
    }
};

}  // namespace

// The arguments of one RunOptiPID call, at the speed PID's defaults.
struct Seq {
    PidOptiData d;
    PidOptiData* sd = &d;
    int32_t rate = 0, fb1 = 1, enable = 1, pidType = 3, procType = 1, clrEdge = 0, lss = 1;
    double P = 1, I = 1, SDR = 5, thresh = 100, PV = 90, SP = 90, FDBK = 40, prcMv = 27,
           outMv = 5, respTo = 5, fastSlow = 50, spareA = 0, DT = 0.01;
    int32_t abortCode = 0;
    double drpMv = 0, drpMvLmt = 0, drpRef = 0, spareB = 0, spareC = 0, spareD = 0;
    int32_t spareE = 0;
    double out = 0, useP = 0, useI = 0, useSdr = 0, useRef = 0;
    int32_t status = 0, alarm = 0, fault = 0;
    float mon = 0;
    Seq() { std::memset(&d, 0, sizeof d); }
    void call()
    {
        RunOptiPID(&sd, rate, fb1, enable, pidType, procType, clrEdge, lss, P, I, SDR, thresh, PV,
                   SP, FDBK, prcMv, outMv, respTo, fastSlow, spareA, DT, abortCode, drpMv,
                   drpMvLmt, drpRef, spareB, spareC, spareD, spareE, &out, &useP, &useI, &useSdr,
                   &status, &alarm, &fault, &useRef, &mon);
    }
    // Started and idle, then enabled: settling.
    void startRun()
    {
        enable = 0;
        call();
        call();
        enable = 1;
        call();
    }
    // Nine identification records from record 1 on: half-cycles of 1 s
    // (periods of 2 s), amplitude 1, output swing 2, crossings `lag` s before
    // each end; band R +/- 0.05; the square wave is on its high side.
    void craftRecords(double lag)
    {
        startRun();
        d.STATE = kOptiStepUp;
        d.CYCLE = 10;
        d.FIRST_CYCLE = 1;
        d.BAND_HI = SP + 0.05;
        d.BAND_LO = SP - 0.05;
        d.OUT_HI = 42.0;
        d.OUT_LO = 38.0;
        d.PASS_COUNT = 0;
        for (int k = 1; k <= 9; ++k) {
            d.CYC_TIME[k - 1] = k;
            d.CYC_MAX[k - 1] = 90.5;
            d.CYC_MIN[k - 1] = 89.5;
            d.CYC_OUT_HI[k - 1] = 41.0;
            d.CYC_OUT_LO[k - 1] = 39.0;
            d.CYC_CROSS[k - 1] = k - lag;
        }
        d.MEAS_FILT = d.MEAS_PREV = PV;
    }
};

// A whole run: settling, square wave, identification, gains, two step tests
// and completion, without a fault, with the new gains kept. While the tuner
// drives the process (states 2 to 7) the output is only the base level or a
// test level; during the step tests the reference is moved by one and two
// bands.
TEST(RunOpti, FullRunOnSimulatedLoop)
{
    Loop L;
    ASSERT_NEAR(L.plant.pv, 90.0, 0.01);
    L.r.v.ENABLE = 1;
    std::vector<int> seen;
    int prev = -1;
    for (int i = 0; i < 30000 && L.r.status != kOptiComplete && L.r.status != kOptiFault; ++i) {
        L.pass();
        const int s = L.r.status;
        if (seen.empty() || seen.back() != s) seen.push_back(s);
        const PidOptiData& d = L.r.data;
        switch (s) {
        case kOptiSettling:
            ASSERT_EQ(L.r.out, static_cast<float>(d.OUT_BASE));
            break;
        case kOptiStepUp:
        case kOptiStepUp + 2:
        case kOptiStepDown:
        case kOptiStepDown + 2: {
            // The level of the half-cycle (on a switching pass, the level of
            // the side just left).
            const double o = L.r.out;
            ASSERT_TRUE(o == static_cast<float>(d.OUT_HI) || o == static_cast<float>(d.OUT_LO));
            break;
        }
        case kOptiCalculating:
            ASSERT_EQ(L.r.out, static_cast<float>(d.OUT_CALC));
            break;
        case kOptiStepTest1:
            if (prev == s) { ASSERT_NEAR(L.r.useRef, 90.0 + (d.BAND_HI - 90.0), 1e-9); }
            break;
        case kOptiStepTest2:
            if (prev == s) { ASSERT_NEAR(L.r.useRef, 90.0 + 2 * (d.BAND_HI - 90.0), 1e-9); }
            break;
        default:
            if (prev == s) { ASSERT_DOUBLE_EQ(L.r.useRef, 90.0); }
            break;
        }
        prev = s;
        // Levels stay within the movement limit around the base.
        if (d.STATE >= kOptiSettling && d.STATE <= kOptiCalculating) {
            ASSERT_LE(std::fabs(L.r.out - d.OUT_BASE), 5.0 + 1e-6);
        }
    }
    const std::vector<int> expected = {2, 4, 5, 6, 5, 6, 5, 6, 5, 6, 5, 6, 5, 6,
                                       7, 8, 9, 10, 12, 13, 14, 15, 16};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(L.r.fault, 0);
    EXPECT_EQ(L.r.alarm & (kAlarmOvershoot | kAlarmSluggish | kAlarmActLimited), 0);
    // New gains in use and shown.
    EXPECT_GT(L.r.calcP, 0.0f);
    EXPECT_GT(L.r.calcI, 0.0f);
    EXPECT_FLOAT_EQ(L.r.calcP, static_cast<float>(L.r.data.CALC_P));
    EXPECT_FLOAT_EQ(L.r.calcI, static_cast<float>(L.r.data.CALC_I));
    EXPECT_FLOAT_EQ(L.r.calcSdr, 6.8531f);
    // Kept while enabled, and the loop holds speed on them.
    for (int i = 0; i < 1000; ++i) L.pass();
    EXPECT_EQ(L.r.status, kOptiComplete);
    EXPECT_NEAR(L.plant.pv, 90.0, 0.01);
    EXPECT_FLOAT_EQ(L.r.calcP, static_cast<float>(L.r.data.CALC_P));
    // Dropping the enable returns to the configured gains, bumplessly.
    const float before = L.r.out;
    L.r.v.ENABLE = 0;
    L.pass();
    EXPECT_EQ(L.r.status, kOptiReady);
    EXPECT_EQ(L.r.alarm, 0);
    EXPECT_FLOAT_EQ(L.r.calcP, 1.0f);
    EXPECT_NEAR(L.r.out, before, 1e-3f);
}

// Step test 1 without any response of the measured value aborts with 4.
TEST(RunOpti, StepTestWithoutResponse)
{
    Loop L;
    L.r.v.ENABLE = 1;
    ASSERT_TRUE(L.run_until([&] { return L.r.status == kOptiAtSetpoint1; }, 30000));
    // The process stops answering: the measured value stays where it is.
    L.r.data.MEAS_FILT = L.r.data.MEAS_PREV = L.r.v.PV;
    for (int i = 0; i < 2000 && L.r.status != kOptiFault; ++i) L.r.step();
    EXPECT_EQ(L.r.status, kOptiFault);
    EXPECT_EQ(L.r.fault, 4);
    EXPECT_EQ(L.r.data.STATE, kOptiFault);
}

// Identification worked out by hand: periods 2 s, amplitude 1, output swing
// 2 (ratio 2), dead-time sum D = 6 x (1/0.1) x 0.02 = 1.2, so the dead factor
// is (2 - 0.4)/2 = 0.8 and f = 5 x 0.8 - 1.5 = 2.5 (alarm 16); frequency
// 0.5 x 2.5 = 1.25, K = 2/2.5; S = 0.25 + 0.0175 x 50.
TEST(RunOpti, IdentificationByHand)
{
    Seq q;
    q.craftRecords(0.02);
    q.call();
    EXPECT_EQ(q.fault, 0);
    EXPECT_EQ(q.status, kOptiCalculating);
    EXPECT_DOUBLE_EQ(q.d.PERIOD_MEAN, 2.0);
    EXPECT_NEAR(q.d.DEAD_FACTOR, 0.8, 1e-12);
    EXPECT_NEAR(q.d.MON, 1.25, 1e-12);
    EXPECT_NEAR(q.d.CALC_P, 0.35 * 0.8 * 1.125, 1e-12);
    EXPECT_NEAR(q.d.CALC_I, 0.76 * 1.25, 1e-12);
    EXPECT_DOUBLE_EQ(q.d.CALC_SDR, 6.8531);
    EXPECT_DOUBLE_EQ(q.useP, q.d.CALC_P);
    EXPECT_EQ(q.alarm, static_cast<int32_t>(kAlarmHighDeadtime));
    EXPECT_NEAR(q.d.FILT_K, 0.04, 1e-12);
    EXPECT_DOUBLE_EQ(q.d.BAND_HI, 90.2);   // widened to R + Amax/5
    EXPECT_DOUBLE_EQ(q.out, 42.0);         // the level in force is held
    EXPECT_FLOAT_EQ(q.mon, 1.25f);

    // Crossings 0.05 s before the ends: dead factor 0.5, f = 1, K = 2.
    auto gains = [](int32_t type, double sdr) {
        Seq s;
        s.pidType = type;
        s.SDR = sdr;
        s.craftRecords(0.05);
        s.call();
        EXPECT_EQ(s.fault, 0);
        EXPECT_EQ(s.alarm, 0);
        return std::array<double, 3>{s.d.CALC_P, s.d.CALC_I, s.d.CALC_SDR};
    };
    auto g = gains(1, 5.0);
    EXPECT_NEAR(g[0], 0.2 * 2 * 1.125, 1e-12);
    EXPECT_EQ(g[1], 0.0);
    EXPECT_EQ(g[2], 100.0);
    g = gains(2, 0.5);
    EXPECT_NEAR(g[0], 0.3 * 2 * 1.125, 1e-12);
    EXPECT_NEAR(g[1], 0.4 * 0.5, 1e-12);
    EXPECT_EQ(g[2], 0.01);
    g = gains(3, 0.5);
    EXPECT_NEAR(g[0], 0.35 * 2 * 1.125, 1e-12);
    EXPECT_NEAR(g[1], 0.76 * 0.5, 1e-12);
    EXPECT_EQ(g[2], 0.1459);
}

// Identification faults: spread periods (3), records beyond 38 (4), a
// record without amplitude (4); slow rate group (alarm 1).
TEST(RunOpti, IdentificationFaults)
{
    Seq spread;
    spread.craftRecords(0.05);
    const double t[9] = {1, 1.05, 1.1, 1.15, 6.1, 6.15, 11.1, 11.15, 16.1};
    std::memcpy(spread.d.CYC_TIME, t, sizeof t);
    spread.call();
    EXPECT_EQ(spread.fault, 3);
    EXPECT_EQ(spread.status, kOptiFault);

    Seq late;
    late.craftRecords(0.05);
    for (int k = 31; k <= 40; ++k) {
        late.d.CYC_TIME[k - 1] = k;
        late.d.CYC_MAX[k - 1] = 90.5;
        late.d.CYC_MIN[k - 1] = 89.5;
        late.d.CYC_OUT_HI[k - 1] = 41.0;
        late.d.CYC_OUT_LO[k - 1] = 39.0;
        late.d.CYC_CROSS[k - 1] = k - 0.05;
    }
    late.d.FIRST_CYCLE = 31;
    late.d.CYCLE = 40;
    late.call();
    EXPECT_EQ(late.fault, 4);

    Seq flat;
    flat.craftRecords(0.05);
    flat.d.CYC_MAX[4] = flat.d.CYC_MIN[4];
    flat.call();
    EXPECT_EQ(flat.fault, 4);

    Seq slow;
    slow.craftRecords(0.05);
    slow.DT = 0.06;  // 40 x 0.06 = 2.4 > the shortest period of 2 s
    slow.call();
    EXPECT_EQ(slow.fault, 0);
    EXPECT_EQ(slow.alarm, static_cast<int32_t>(kAlarmRateGroupSlow));
}

// A noise band wider than a tenth of the movement limit aborts with 2 right
// after settling.
TEST(RunOpti, NoiseBandTooWide)
{
    Seq q;
    q.prcMv = 1.0;
    q.startRun();
    int calls = 0;
    while (q.status == kOptiSettling && calls < 1000) {
        ++calls;
        q.PV = 90.0 + 0.5 * std::sin(2 * M_PI * calls * 0.01 / 0.4);
        q.call();
    }
    EXPECT_EQ(q.fault, 2);
    EXPECT_EQ(q.status, kOptiFault);
    EXPECT_NEAR(calls * 0.01, 1.0, 0.02);   // 2 x RESP_TO/10
}

// Half-cycles by time-out and crossing: an up time-out, a down crossing, an
// up crossing and then a down time-out raise alarm 64.
TEST(RunOpti, TimeoutSequenceRaisesAlarm64)
{
    Seq q;
    q.PV = 89.99;
    q.startRun();
    auto holdUntilChange = [&](double pv) {
        const int s = q.status;
        int n = 0;
        q.PV = pv;
        while (q.status == s && n++ < 1000) q.call();
        return n;
    };
    holdUntilChange(89.99);
    ASSERT_EQ(q.status, kOptiStepUp);
    EXPECT_DOUBLE_EQ(q.out, q.d.OUT_BASE + 0.5);   // smallest step
    EXPECT_GT(holdUntilChange(89.99), 499);          // time-out after RESP_TO
    ASSERT_EQ(q.status, kOptiStepDown);
    EXPECT_EQ(q.d.TIMEOUT_SEQ, 1.0);
    EXPECT_EQ(q.d.UP_TIMEOUT, 1);
    EXPECT_LT(holdUntilChange(89.9), 100);            // down crossing
    ASSERT_EQ(q.status, kOptiStepUp + 2);
    EXPECT_EQ(q.d.TIMEOUT_SEQ, 2.0);
    EXPECT_LT(holdUntilChange(90.1), 100);            // up crossing
    ASSERT_EQ(q.status, kOptiStepDown + 2);
    EXPECT_EQ(q.d.TIMEOUT_SEQ, 3.0);
    EXPECT_EQ(q.alarm, 0);
    // The up step was raised 4x after the up time-out with the low extreme
    // still below the reference.
    EXPECT_DOUBLE_EQ(q.d.STEP_UP, 2.0);
    holdUntilChange(90.1);                            // down time-out
    EXPECT_EQ(q.status, kOptiStepUp);
    EXPECT_EQ(q.alarm, static_cast<int32_t>(kAlarmRespTimeShort));
    EXPECT_EQ(q.fault, 0);
}

// A test level limited by the movement limit raises alarm 8: after the up
// time-out the up step grows 4x to 2.0, above OUT_MV_LMT 1.5.
TEST(RunOpti, ActuatorMovementLimited)
{
    Seq q;
    q.outMv = 1.5;
    q.PV = 89.99;
    q.startRun();
    while (q.status == kOptiSettling) q.call();
    ASSERT_EQ(q.status, kOptiStepUp);
    while (q.status == kOptiStepUp) q.call();   // up time-out
    EXPECT_EQ(q.alarm, 0);
    q.PV = 89.9;
    while (q.status == kOptiStepDown) q.call(); // down crossing
    ASSERT_EQ(q.status, kOptiStepUp + 2);
    EXPECT_DOUBLE_EQ(q.d.OUT_HI, q.d.OUT_BASE + 1.5);
    EXPECT_EQ(q.alarm, static_cast<int32_t>(kAlarmActLimited));
}

// Step test 1 worked out by hand: output swing 42 - 40 over a response of
// 1, g = 2; x = -0.444444 x 4.5/2 + 4.444444 = 3.444445, within 0..4 so
// 1 + x/4; the integral gain is scaled by (0.5 + 0.0075 x 50)(1 + x/4).
TEST(RunOpti, StepTest1ScalesIntegralGain)
{
    Seq q;
    q.startRun();
    q.PV = 91.0;
    q.d.STATE = kOptiStepTest1;
    q.d.STATE_TIME = 5.05;
    q.d.BAND_HI = 90.1;
    q.d.OUT_PREV = 42.0;
    q.d.OUT_LO_LAST = 40.0;
    q.d.MEAS_AT_TEST = 90.0;
    q.d.MEAS_FILT = q.d.MEAS_PREV = 91.0;
    q.d.RATIO_SUM = 4.5;
    q.d.CALC_I = q.d.USE_I = 1.0;
    q.d.USE_P = q.d.CALC_P = 0.5;
    q.d.USE_SDR = q.d.CALC_SDR = 6.8531;
    q.call();
    EXPECT_EQ(q.fault, 0);
    EXPECT_EQ(q.status, kOptiStepTest1Back);
    const double x = -0.444444 * 4.5 / 2.0 + 4.444444;
    EXPECT_NEAR(q.d.MON, x, 1e-12);
    const double factor = (0.5 + 0.0075 * 50.0) * (1.0 + x / 4.0);
    EXPECT_NEAR(q.d.CALC_I, factor, 1e-12);
    EXPECT_NEAR(q.useI, factor, 1e-12);
    EXPECT_DOUBLE_EQ(q.useRef, 90.1);   // stepped by one band on this pass
}

// Step test 2: an overshoot past three bands raises alarm 2; a response
// that never reaches one band raises alarm 4.
TEST(RunOpti, StepTest2Alarms)
{
    auto run = [](double peak) {
        Seq q;
        q.startRun();
        q.PV = peak;
        q.d.STATE = kOptiStepTest2;
        q.d.STATE_TIME = 5.05;
        q.d.BAND_HI = 90.1;
        q.d.MEAS_MAX = q.d.MEAS_MIN = 90.0;
        q.d.MEAS_FILT = q.d.MEAS_PREV = peak;
        q.d.USE_P = 0.5;
        q.d.USE_I = 1.0;
        q.d.USE_SDR = 6.8531;
        q.call();
        EXPECT_EQ(q.status, kOptiStepTest2Back);
        EXPECT_EQ(q.fault, 0);
        return q.alarm;
    };
    EXPECT_EQ(run(90.35), static_cast<int32_t>(kAlarmOvershoot));
    EXPECT_EQ(run(90.05), static_cast<int32_t>(kAlarmSluggish));
    EXPECT_EQ(run(90.2), 0);
}

// Supervision and abort while enabled.
TEST(RunOpti, SupervisionFaults)
{
    Seq f5;
    f5.startRun();
    f5.PV = 90.0 + 27.5;   // outside SP +/- |PRC_MV_LMT|
    f5.call();
    EXPECT_EQ(f5.fault, 5);
    EXPECT_EQ(f5.status, kOptiFault);

    Seq f6;
    f6.PV = 89.99;
    f6.startRun();
    while (f6.status == kOptiSettling) f6.call();
    ASSERT_EQ(f6.status, kOptiStepUp);
    f6.d.TEST_TIME = 40 * 5.0 + 0.1;
    f6.call();
    EXPECT_EQ(f6.fault, 6);

    Seq f7;
    f7.spareE = 1;
    f7.drpMvLmt = 1.0;
    f7.startRun();
    f7.drpMv = 1.5;
    f7.PV = 90.0 - 1.5;  // keeps PV + DRP_MV at the reference
    f7.call();
    EXPECT_EQ(f7.fault, 7);

    // A clear edge during a run: fault 1, PID restarted bumplessly from the
    // base level on the configured gains.
    Seq f1;
    f1.startRun();
    f1.call();
    f1.clrEdge = 1;
    f1.FDBK = 70.0;
    f1.call();
    EXPECT_EQ(f1.fault, 1);
    EXPECT_EQ(f1.status, kOptiFault);
    EXPECT_DOUBLE_EQ(f1.out, f1.d.OUT_BASE);
    EXPECT_EQ(f1.useP, 1.0);

    // An abort code above the sequence's fault replaces it; a lower one not.
    Seq ab;
    ab.startRun();
    ab.abortCode = 9;
    ab.call();
    EXPECT_EQ(ab.fault, 9);
    ab.abortCode = 1;
    ab.call();
    EXPECT_EQ(ab.fault, 9);
    ab.abortCode = 17;
    ab.call();
    EXPECT_EQ(ab.fault, 17);
}

// A half-cycle ending when all 40 records are used: the test time-out (6)
// stops the run, and the record that would follow the last one is not
// written past the arrays.
TEST(RunOpti, RecordsNeverOverrun)
{
    Seq q;
    q.PV = 89.99;
    q.startRun();
    while (q.status == kOptiSettling) q.call();
    ASSERT_EQ(q.d.STATE, kOptiStepUp);
    q.d.CYCLE = kOptiCycles + 1;
    // The fields right after each record array in the state block.
    q.d.MON = 7.0;
    q.d.CYC_MIN[0] = q.d.CYC_OUT_HI[0] = q.d.CYC_OUT_LO[0] = q.d.CYC_CROSS[0] = 7.0;
    q.PV = 95.0;   // well above the band: the half-cycle ends on this pass
    q.d.MEAS_FILT = q.d.MEAS_PREV = 95.0;
    q.call();
    EXPECT_EQ(q.fault, 6);
    EXPECT_EQ(q.status, kOptiFault);
    EXPECT_EQ(q.d.MON, 7.0);
    EXPECT_EQ(q.d.CYC_MIN[0], 7.0);
    EXPECT_EQ(q.d.CYC_OUT_HI[0], 7.0);
    EXPECT_EQ(q.d.CYC_OUT_LO[0], 7.0);
    EXPECT_EQ(q.d.CYC_CROSS[0], 7.0);
}

// SPARE_B restarts the run; process types 5 and 6 step only on calls
// marked by SPARE_C, with the step time spanning the skipped calls.
TEST(RunOpti, RestartAndMarkedCalls)
{
    Seq q;
    q.PV = 89.99;
    q.startRun();
    while (q.status == kOptiSettling) q.call();
    ASSERT_EQ(q.status, kOptiStepUp);
    q.spareB = 1.0;
    q.call();
    EXPECT_EQ(q.status, kOptiSettling);
    EXPECT_EQ(q.d.CYCLE, 1);

    Seq m;
    m.procType = 5;
    m.enable = 0;
    m.spareC = 1.0;
    m.call();
    m.call();
    const double out = m.out;
    m.spareC = 0.0;
    m.FDBK = 60.0;
    m.SP = 95.0;
    for (int i = 0; i < 3; ++i) m.call();
    EXPECT_EQ(m.out, out);
    EXPECT_EQ(m.d.PASS_COUNT, 3.0);
    m.spareC = 1.0;
    m.call();
    EXPECT_EQ(m.d.PASS_COUNT, 0.0);
    EXPECT_NE(m.out, out);
}
