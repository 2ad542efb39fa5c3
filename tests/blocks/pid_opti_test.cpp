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

// Ends the half-cycle of the high side on the next pass.
void leave_band_above_now(OptiRig& r)
{
    r.v.PV = 95.0f;
    r.data.MEAS_FILT = r.data.MEAS_PREV = 95.0;
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
        // Periods of 1 s and one of 20 s: the spread is 19/20 of the longest,
        // within the bound of 20; 22 s is beyond it.
        {"periods 1 and 20 s", none,
         [](OptiRig& r) { craft_records(r, {1, 1.5, 2, 2.5, 3, 3.5, 4, 23.5, 24}); }, 0},
        {"periods 1 and 22 s", none,
         [](OptiRig& r) { craft_records(r, {1, 1.5, 2, 2.5, 3, 3.5, 4, 25.5, 26}); }, 3},
        {"record without swing", none, [](OptiRig& r) { craft_records(r); r.data.CYC_MAX[4] = 89.5; }, 4},
        {"not finite", none, [](OptiRig& r) { r.v.PV = std::nanf(""); }, kAbortNotFinite},
        {"measured value outside the limit", none, [](OptiRig& r) { r.v.PV = 117.5f; }, 5},
        {"measured value at the upper limit", none, [](OptiRig& r) { r.v.PV = 117.0f; }, 0},
        {"measured value at the lower limit", none, [](OptiRig& r) { r.v.PV = 63.0f; }, 0},
        {"measured value below the lower limit", none, [](OptiRig& r) { r.v.PV = 62.5f; }, 5},
        {"test time-out", [](OptiRig& r) { r.v.PV = 89.99f; },
         [](OptiRig& r) { r.data.TEST_TIME = r.status == kOptiStepUp ? 200.1 : r.data.TEST_TIME; }, 6},
        {"droop movement", [](OptiRig& r) { r.v.SPARE_E = 1; r.v.DRP_MV_LMT = 1.0f; },
         [](OptiRig& r) { r.v.DRP_MV = 1.5f; r.v.PV = 88.5f; }, 7},
        {"droop variable at its limit", [](OptiRig& r) { r.v.SPARE_E = 1; r.v.DRP_MV_LMT = 1.0f; },
         [](OptiRig& r) { r.v.DRP_MV = -1.0f; r.v.PV = 91.0f; }, 0},
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
// records are used stops the run with the test time-out (6): nothing is
// written past the record arrays, and neither the record count nor the step
// sizes nor the alarms move on that pass.
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
    const double stepUp = d.STEP_UP, stepDown = d.STEP_DOWN;
    const uint32_t alarms = d.ALARM_BITS;
    r.step();
    EXPECT_EQ(r.fault, 6);
    for (double cell : {d.MON, d.CYC_MIN[0], d.CYC_OUT_HI[0], d.CYC_OUT_LO[0], d.CYC_CROSS[0]})
        EXPECT_EQ(cell, 7.0);
    EXPECT_EQ(d.CYCLE, kOptiCycles + 1);
    EXPECT_EQ(d.STEP_UP, stepUp);
    EXPECT_EQ(d.STEP_DOWN, stepDown);
    EXPECT_EQ(d.ALARM_BITS, alarms);
}

// A run starts from fresh extremes: what a run before it measured does not
// widen the noise band of the next.
TEST(PidOpti, ANewRunMeasuresItsOwnNoise)
{
    OptiRig r;
    start_run(r);
    r.v.CLR_STATE = 1;
    r.step();
    ASSERT_EQ(r.fault, kAbortClrState);
    r.v.CLR_STATE = 0;
    r.data.MEAS_MAX = 200.0;
    r.data.MEAS_MIN = -200.0;
    r.v.ENABLE = 0;
    r.step();
    r.v.ENABLE = 1;
    r.step();
    while (r.status == kOptiSettling) r.step();
    EXPECT_EQ(r.fault, 0);
    EXPECT_EQ(r.status, kOptiStepDown);
}

// Out of test time with records still free: the half-cycle that ends on the
// pass of the time-out is not recorded.
TEST(PidOpti, TestTimeOutRecordsNoFurtherHalfCycle)
{
    OptiRig r;
    r.v.PV = 89.99f;
    start_run(r);
    while (r.status == kOptiSettling) r.step();
    ASSERT_EQ(r.status, kOptiStepUp);
    PidOptiData& d = r.data;
    d.TEST_TIME = 40.0 * 5.0 + 0.5;
    leave_band_above_now(r);
    r.step();
    EXPECT_EQ(r.fault, 6);
    EXPECT_EQ(d.CYCLE, 1);
    EXPECT_EQ(d.CYC_TIME[0], 0.0);
}

namespace {

// A turbine speed loop around a rig: first-order lag of 0.5 s with 50 ms of
// transport delay; 40 % demand holds 90 %.
struct SpeedLoop {
    OptiRig& r;
    double pv = 90.0;
    std::deque<double> delay = std::deque<double>(5, 40.0);
    void operator()()
    {
        r.v.PV = static_cast<float>(pv);
        r.step();
        delay.push_back(r.out);
        pv += 0.01 / 0.5 * (90.0 + 2.0 * (delay.front() - 40.0) - pv);
        delay.pop_front();
    }
    // Settles on P 1, I 1, then enables the run.
    void settleAndEnable()
    {
        r.v.P = 1.0f;
        r.v.I = 1.0f;
        for (int i = 0; i < 300; ++i) (*this)();
        r.v.ENABLE = 1;
    }
};

// A run just below the band, settled and on the high test level.
void run_to_step_up(OptiRig& r)
{
    r.v.PV = 89.99f;
    start_run(r);
    while (r.status == kOptiSettling) r.step();
    ASSERT_EQ(r.status, kOptiStepUp);
}

// Ends the half-cycle on the next pass: the value well above the band.
void leave_band_above(OptiRig& r)
{
    r.v.PV = 95.0f;
    r.data.MEAS_FILT = r.data.MEAS_PREV = 95.0;
}

}  // namespace

// From the second record on, two consecutive crossings more than 0.75 of the
// response time (5 s) apart mark the response time as short.
TEST(PidOpti, ShortResponseTimeFromTheSecondRecord)
{
    for (double apart : {3.5, 4.0}) {
        OptiRig r;
        ASSERT_NO_FATAL_FAILURE(run_to_step_up(r));
        PidOptiData& d = r.data;
        d.CYCLE = 2;
        d.TEST_TIME = d.CROSS_TIME = 20.0;
        d.CYC_CROSS[0] = 20.0 - apart;
        leave_band_above(r);
        r.step();
        ASSERT_EQ(d.CYCLE, 3);
        EXPECT_EQ((r.alarm & kAlarmRespTimeShort) != 0, apart > 3.75) << apart;
    }
}

// Up timed out, down and up completed, then down timed out: short response
// time. Without the completed up half-cycle in that sequence: no alarm.
TEST(PidOpti, ShortResponseTimeFromTheTimeOutSequence)
{
    for (double seq : {1.0, 2.0}) {
        OptiRig r;
        ASSERT_NO_FATAL_FAILURE(run_to_step_up(r));
        PidOptiData& d = r.data;
        d.TIMEOUT_SEQ = seq;  // 2: up timed out, then down completed
        leave_band_above(r);  // up completes on this pass, down then times out
        r.step();
        ASSERT_EQ(d.STATE, kOptiStepDown);
        for (int i = 0; i < 600 && d.STATE == kOptiStepDown; ++i) r.step();
        EXPECT_EQ(r.fault, 0) << seq;
        EXPECT_EQ((r.alarm & kAlarmRespTimeShort) != 0, seq == 2.0) << seq;
    }
}

// A whole run on the speed loop: every state in order, no fault, the new
// gains kept and holding speed; dropping the enable returns to the
// configured gains bumplessly.
TEST(PidOpti, TuningRunToComplete)
{
    OptiRig r;
    SpeedLoop pass{r};
    double& pv = pass.pv;
    pass.settleAndEnable();
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

// The first fault of a run stays shown while later, higher codes are raised;
// the enable falling clears it, and the next run shows its own first fault.
TEST(PidOpti, FirstFaultOfARunStaysShown)
{
    OptiRig r;
    start_run(r);
    r.v.CLR_STATE = 1;
    r.step();
    ASSERT_EQ(r.fault, kAbortClrState);
    r.v.CLR_STATE = 0;
    r.v.SYSCON_FAIL = 1;
    for (int i = 0; i < 20; ++i) r.step();
    EXPECT_EQ(r.fault, kAbortClrState);
    EXPECT_EQ(r.data.FAULT, kAbortSysconFail);  // the sequence itself holds the highest
    r.v.ENABLE = 0;
    r.v.SYSCON_FAIL = 0;
    r.step();
    EXPECT_EQ(r.fault, 0);
    EXPECT_EQ(r.status, kOptiReady);
    EXPECT_EQ(r.data.FAULT, 0);
    r.v.ENABLE = 1;
    r.v.SYSCON_FAIL = 1;
    r.step();
    EXPECT_EQ(r.fault, kAbortSysconFail);
}

// Process types 5 and 6 step only on calls marked by SPARE_C; unmarked calls
// leave the output where it was. Other types step on every call. PI on an
// error of 1 with the rig's default feedback of 40.
TEST(PidOpti, MarkedCallsOnlyForProcessTypesFiveAndSix)
{
    struct Case {
        const char* what;
        int32_t type;
        float mark;
        bool moves;
    };
    const Case cases[] = {
        {"type 1 unmarked", 1, 0.0f, true}, {"type 4 unmarked", 4, 0.0f, true},
        {"type 5 unmarked", 5, 0.0f, false}, {"type 5 marked", 5, 1.0f, true},
        {"type 6 unmarked", 6, 0.0f, false}, {"type 6 marked", 6, 1.0f, true},
        {"type 7 unmarked", 7, 0.0f, true},
    };
    for (const Case& c : cases) {
        OptiRig r;
        r.v.PROC_TYPE = c.type;
        r.v.SPARE_C = c.mark;
        r.v.SDR = 100.0f;
        r.v.PV = 89.0f;
        r.step();
        const float first = r.out;
        for (int i = 0; i < 10; ++i) r.step();
        EXPECT_EQ(r.out != first, c.moves) << c.what << ": " << first << " -> " << r.out;
    }
}

// Saved states carry a run across a restore: a record whose state block was
// scribbled over continues, after a restore-and-run call, as its twin that
// kept its state (to float precision of the save cells).
TEST(PidOpti, SavedStatesCarryTheRunAcrossARestore)
{
    OptiRig a, b;
    int n = 0;
    auto pass = [&n](OptiRig& r, int32_t mode) {
        r.v.PV = 90.0f + 0.3f * std::sin(n * 0.05f);
        r.step(mode);
    };
    for (OptiRig* r : {&a, &b}) {
        for (int i = 0; i < 5; ++i) r->step(kPidOptiRunSave);
        r->v.ENABLE = 1;
    }
    for (n = 0; n < 150; ++n) {
        pass(a, kPidOptiRunSave);
        pass(b, kPidOptiRunSave);
    }
    b.data.ERR_PREV = b.data.DERIV = b.data.RESET = b.data.FDBK_PREV = 55.0;
    b.data.MEAS_FILT = b.data.OUT_AVG = 55.0;
    b.v.ENABLE_LAST = 0;  // would otherwise be a new enable edge
    b.v.FAULT_LATCH = 3;
    pass(a, kPidOptiRunSave);
    pass(b, kPidOptiRestoreRun);
    EXPECT_NEAR(b.data.MEAS_FILT, a.data.MEAS_FILT, 1e-4);
    EXPECT_NEAR(b.data.OUT_AVG, a.data.OUT_AVG, 1e-4);
    EXPECT_NEAR(b.data.RESET, a.data.RESET, 1e-4);
    EXPECT_NEAR(b.data.DERIV, a.data.DERIV, 1e-4);
    EXPECT_NEAR(b.data.ERR_PREV, a.data.ERR_PREV, 1e-4);
    EXPECT_NEAR(b.data.FDBK_PREV, a.data.FDBK_PREV, 1e-4);
    EXPECT_EQ(b.status, a.status);
    EXPECT_EQ(b.fault, 0);
    EXPECT_EQ(b.v.ENABLE_LAST, 1);
    EXPECT_NEAR(b.out, a.out, 1e-4f);
}

// Wired again at the next start, the record takes a clear request held over
// the restart as a new edge: the output restarts bumplessly at the feedback
// instead of adding the error to it.
TEST(PidOpti, ClearRequestHeldOverARestartIsANewEdge)
{
    OptiRig r;
    r.v.SDR = 100.0f;
    r.v.CLR_STATE = 1;
    for (int i = 0; i < 5; ++i) r.step();
    r.wire();
    r.v.PV = 89.0f;
    r.v.FDBK = 30.0f;
    pid_opti(&r.v, kPidOptiRun);
    EXPECT_FLOAT_EQ(r.out, 30.0f);
    pid_opti(&r.v, kPidOptiRun);  // held: no edge, the PI moves on
    EXPECT_GT(r.out, 30.0f);
}

// The gains a run calculates, per PID type, from the same identification:
// P from 0.2, 0.3 and 0.35 of the loop figure, I none, 0.4 and 0.76 of the
// period figure, SDR none (100 above 1) but for the PID.
TEST(PidOpti, ResultingGainsPerPidType)
{
    double p[4] = {}, i[4] = {}, sdr[4] = {};
    for (int32_t type = 1; type <= 3; ++type) {
        OptiRig r;
        SpeedLoop pass{r};
        pass.settleAndEnable();
        r.v.PID_TYPE = type;  // frozen at the enable edge of the next pass
        for (int k = 0; k < 30000 && r.status < kOptiAtSetpoint1; ++k) pass();
        ASSERT_EQ(r.status, kOptiAtSetpoint1) << type << " fault " << r.fault;
        // With an integral the PID takes over bumplessly at the operating point.
        if (type != 1) {
            EXPECT_FLOAT_EQ(r.out, static_cast<float>(r.data.OUT_BASE)) << type;
        }
        p[type] = r.data.CALC_P;
        i[type] = r.data.CALC_I;
        sdr[type] = r.data.CALC_SDR;
    }
    ASSERT_GT(p[3], 0.0);
    ASSERT_GT(i[3], 0.0);
    EXPECT_NEAR(p[1] / p[3], 0.2 / 0.35, 1e-9);
    EXPECT_NEAR(p[2] / p[3], 0.3 / 0.35, 1e-9);
    EXPECT_EQ(i[1], 0.0);
    EXPECT_NEAR(i[2] / i[3], 0.4 / 0.76, 1e-9);
    EXPECT_EQ(sdr[1], 100.0);
    EXPECT_EQ(sdr[2], 100.0);
    EXPECT_NEAR(sdr[3], 6.8531, 1e-12);
}

// Wiring sets up every setting and cell of the record, whatever a previous
// start left in it: a record full of stale settings, wired again, runs as a
// fresh one, saving and restoring through its own hidden cells.
TEST(PidOpti, WiringLeavesNoTraceOfAPreviousRecord)
{
    OptiRig fresh, stale;
    float junk[8] = {};
    int32_t junkI[4] = {};
    stale.v.RATE_CTRL = 1;
    stale.v.PROC_TYPE = 6;
    stale.v.DT = 0.5f;
    stale.v.DRP_MV = 3.0f;
    stale.v.DRP_MV_LMT = stale.v.DRP_REF = 2.0f;
    stale.v.SPARE_A = stale.v.SPARE_B = stale.v.SPARE_C = stale.v.SPARE_D = 1.0f;
    stale.v.SPARE_E = 1;
    stale.v.ENABLE_LAST = stale.v.CLR_STATE_LAST = 1;
    stale.v.FAULT_LATCH = 9;
    stale.v.OUT_AVG_SAVE = stale.v.MEAS_FILT_SAVE = stale.v.ERR_PREV_SAVE = &junk[0];
    stale.v.DERIV_SAVE = stale.v.RESET_SAVE = stale.v.FDBK_PREV_SAVE = &junk[1];
    stale.v.INIT_SAVE = stale.v.CLR_LAST_SAVE = stale.v.ENABLE_LAST_SAVE = &junkI[0];
    stale.v.FAULT_LATCH_SAVE = &junkI[1];
    stale.data.INIT = 1;
    stale.wire();
    for (OptiRig* r : {&fresh, &stale}) {
        r->v.PV = 89.0f;
        r->v.SDR = 100.0f;
        r->v.CLR_STATE = 1;
    }
    for (int k = 0; k < 20; ++k) {
        const int32_t mode = k % 2 ? kPidOptiRestoreRun : kPidOptiRunSave;
        fresh.step(mode);
        stale.step(mode);
        ASSERT_FLOAT_EQ(stale.out, fresh.out) << k;
    }
    for (int k = 0; k < 6; ++k) EXPECT_EQ(stale.hidden[k], fresh.hidden[k]) << k;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(stale.hiddenB[k], fresh.hiddenB[k]) << k;
    EXPECT_EQ(stale.hiddenI, fresh.hiddenI);
    for (float j : junk) EXPECT_EQ(j, 0.0f);
    for (int32_t j : junkI) EXPECT_EQ(j, 0);
}
