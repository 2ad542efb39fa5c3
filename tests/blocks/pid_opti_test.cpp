// The self-tuning PID: every fault and abort code raised by its condition,
// the record arrays at their end, the crossing time on a half-cycle time-out
// and a whole tuning run on a simulated speed loop.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <vector>

#include "blocks/RunOptiPID.h"
#include "blocks/pid_opti.h"
#include "tests/blocks/opti_rig.h"

namespace {

// Idle for a few passes, then a clean enable edge: the run is settling.
void start_run(OptiRig& r)
{
    for (int i = 0; i < 5; ++i) r.step();
    r.v.ENABLE = 1;
    r.step();
    ASSERT_EQ(r.status, kOptiSettling);
}

// Nine identification records from record 1 on: half-cycles ending at
// `ends` (1 s apart unless given), swing 1, output swing 2, crossings 0.05 s
// before each end; band 90 +/- 0.05; on the high side of the square wave.
void craft_records(OptiRig& r, std::array<double, 9> ends = {1, 2, 3, 4, 5, 6, 7, 8, 9})
{
    PidOptiData& d = r.data;
    d.STATE = kOptiStepUp;
    d.CYCLE = 10;
    d.FIRST_CYCLE = 1;
    d.BAND_HI = 90.05;
    d.BAND_LO = 89.95;
    d.OUT_HI = 42.0;
    d.OUT_LO = 38.0;
    for (int k = 0; k < 9; ++k) {
        d.CYC_TIME[k] = ends[k];
        d.CYC_MAX[k] = 90.5;
        d.CYC_MIN[k] = 89.5;
        d.CYC_OUT_HI[k] = 41.0;
        d.CYC_OUT_LO[k] = 39.0;
        d.CYC_CROSS[k] = ends[k] - 0.05;
    }
    d.MEAS_FILT = d.MEAS_PREV = 90.0;
}

using Act = std::function<void(OptiRig&)>;
void none(OptiRig&) {}

}  // namespace

// `before` acts before the enable edge, `during` before every pass of the
// run; the code shown is the first fault within 300 passes (3 s).
TEST(PidOpti, FaultCodesRaisedByTheirCondition)
{
    struct Case {
        const char* what;
        Act before, during;
        int32_t code;
    };
    const Case cases[] = {
        {"clear state", none, [](OptiRig& r) { r.v.CLR_STATE = 1; }, kAbortClrState},
        {"noise band over a tenth of the movement limit", [](OptiRig& r) { r.v.PRC_MV_LMT = 1.0f; },
         [n = 0](OptiRig& r) mutable { r.v.PV = 90.0f + 0.5f * std::sin(++n * 0.157f); }, 2},
        {"spread periods", none,
         [](OptiRig& r) { craft_records(r, {1, 1.05, 1.1, 1.15, 6.1, 6.15, 11.1, 11.15, 16.1}); }, 3},
        {"record without swing", none, [](OptiRig& r) { craft_records(r); r.data.CYC_MAX[4] = 89.5; }, 4},
        {"not finite", none, [](OptiRig& r) { r.v.PV = std::nanf(""); }, kAbortNotFinite},
        {"measured value outside the limit", none, [](OptiRig& r) { r.v.PV = 117.5f; }, 5},
        {"test time-out", [](OptiRig& r) { r.v.PV = 89.99f; },
         [](OptiRig& r) { r.data.TEST_TIME = r.status == kOptiStepUp ? 200.1 : r.data.TEST_TIME; }, 6},
        {"droop movement", [](OptiRig& r) { r.v.SPARE_E = 1; r.v.DRP_MV_LMT = 1.0f; },
         [](OptiRig& r) { r.v.DRP_MV = 1.5f; r.v.PV = 88.5f; }, 7},
        {"rate control", none, [](OptiRig& r) { r.v.RATE_CTRL = 1; }, kAbortRateCtrl},
        {"feedback", none, [](OptiRig& r) { r.v.FEEDBACK1 = 0; }, kAbortFeedback1},
        {"movement limit", none, [](OptiRig& r) { r.v.PRC_MV_LMT = 26.0f; }, kAbortPrcMvLmt},
        {"output limit", none, [](OptiRig& r) { r.v.OUT_MV_LMT = 5.5f; }, kAbortOutMvLmt},
        {"response time", none, [](OptiRig& r) { r.v.RESP_TO = 6.0f; }, kAbortRespTo},
        {"response time, type 3", [](OptiRig& r) { r.v.PROC_TYPE = 3; },
         [](OptiRig& r) { r.v.RESP_TO = 6.0f; }, 0},
        {"PID type", none, [](OptiRig& r) { r.v.PID_TYPE = 2; }, kAbortPidType},
        {"fast/slow", none, [](OptiRig& r) { r.v.FAST_SLOW = 51.0f; }, kAbortFastSlow},
        {"process type", none, [](OptiRig& r) { r.v.PROC_TYPE = 3; }, kAbortProcType},
        {"SDR crossed down", none, [](OptiRig& r) { r.v.SDR = 0.8f; }, kAbortSdrCrossed},
        {"SDR crossed up", [](OptiRig& r) { r.v.SDR = 0.8f; }, [](OptiRig& r) { r.v.SDR = 1.2f; },
         kAbortSdrCrossed},
        {"SDR onto 1", [](OptiRig& r) { r.v.SDR = 0.8f; }, [](OptiRig& r) { r.v.SDR = 1.0f; }, 0},
        {"setpoint", none, [](OptiRig& r) { r.v.SP = 90.5f; }, kAbortSpChanged},
        {"droop reference", none, [](OptiRig& r) { r.v.DRP_REF = 0.1f; }, kAbortDrpRef},
        {"system fail", none, [](OptiRig& r) { r.v.SYSCON_FAIL = 1; }, kAbortSysconFail},
        {"droop limit", none, [](OptiRig& r) { r.v.DRP_MV_LMT = 0.1f; }, kAbortDrpMvLmt},
        {"nothing changed", none, none, 0},
    };
    for (const Case& c : cases) {
        OptiRig r;
        c.before(r);
        start_run(r);
        for (int i = 0; i < 300 && r.fault == 0; ++i) {
            c.during(r);
            r.step();
        }
        EXPECT_EQ(r.fault, c.code) << c.what;
    }
}

// A half-cycle that crossed into the band but timed out leaves no crossing
// time to the half-cycle that follows. A half-cycle ending when all 40
// records are used stops the run with the test time-out (6) and writes
// nothing past the record arrays.
TEST(PidOpti, SquareWaveRecords)
{
    OptiRig r;
    r.v.PV = 89.99f;
    start_run(r);
    while (r.status == kOptiSettling) r.step();
    double crossed = 0.0;
    while (r.status == kOptiStepUp) {
        crossed = r.data.CROSS_TIME;
        r.step();
    }
    EXPECT_GT(crossed, 0.0);
    ASSERT_EQ(r.status, kOptiStepDown);
    EXPECT_EQ(r.data.CROSS_TIME, 0.0);

    PidOptiData& d = r.data;
    d.CYCLE = kOptiCycles + 1;
    // The fields right after each record array.
    d.MON = d.CYC_MIN[0] = d.CYC_OUT_HI[0] = d.CYC_OUT_LO[0] = d.CYC_CROSS[0] = 7.0;
    r.v.PV = 85.0f;  // well below the band: the half-cycle ends on this pass
    d.MEAS_FILT = d.MEAS_PREV = 85.0;
    r.step();
    EXPECT_EQ(r.fault, 6);
    for (double cell : {d.MON, d.CYC_MIN[0], d.CYC_OUT_HI[0], d.CYC_OUT_LO[0], d.CYC_CROSS[0]})
        EXPECT_EQ(cell, 7.0);
}

// A whole run on a turbine speed loop (first-order lag of 0.5 s with 50 ms
// of transport delay; 40 % demand holds 90 %): every state in order, no
// fault, the new gains kept and holding speed; dropping the enable returns to
// the configured gains bumplessly.
TEST(PidOpti, TuningRunToComplete)
{
    OptiRig r;
    double pv = 90.0;
    std::deque<double> delay(5, 40.0);
    auto pass = [&] {
        r.v.PV = static_cast<float>(pv);
        r.step();
        delay.push_back(r.out);
        pv += 0.01 / 0.5 * (90.0 + 2.0 * (delay.front() - 40.0) - pv);
        delay.pop_front();
    };
    r.v.P = 1.0f;
    r.v.I = 1.0f;
    for (int i = 0; i < 300; ++i) pass();
    r.v.ENABLE = 1;
    std::vector<int> seen;
    for (int i = 0; i < 30000 && r.status != kOptiComplete && r.status != kOptiFault; ++i) {
        pass();
        if (seen.empty() || seen.back() != r.status) seen.push_back(r.status);
    }
    const std::vector<int> states = {2, 4, 5, 6, 5, 6, 5, 6, 5, 6, 5, 6, 5, 6,
                                     7, 8, 9, 10, 12, 13, 14, 15, 16};
    EXPECT_EQ(seen, states);
    EXPECT_EQ(r.fault, 0);
    EXPECT_EQ(r.alarm & (kAlarmOvershoot | kAlarmSluggish | kAlarmActLimited), 0);
    for (int i = 0; i < 1000; ++i) pass();
    EXPECT_EQ(r.status, kOptiComplete);
    EXPECT_NEAR(pv, 90.0, 0.01);
    EXPECT_FLOAT_EQ(r.calcP, static_cast<float>(r.data.CALC_P));
    EXPECT_FLOAT_EQ(r.calcI, static_cast<float>(r.data.CALC_I));
    const float before = r.out;
    r.v.ENABLE = 0;
    pass();
    EXPECT_EQ(r.status, kOptiReady);
    EXPECT_FLOAT_EQ(r.calcP, 1.0f);
    EXPECT_NEAR(r.out, before, 1e-3f);
}
