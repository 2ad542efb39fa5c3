// The self-tuning PID block: process error, edges, every abort code raised by
// its condition, check order, fault latch, finiteness guard, save/restore
// modes, and the PID output while the tuner is idle.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "blocks/RunOptiPID.h"
#include "blocks/pid_opti.h"
#include "tests/blocks/opti_rig.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Idle for a few passes, then a clean enable edge: the run is settling.
void start_run(OptiRig& r)
{
    for (int i = 0; i < 5; ++i) r.step();
    r.v.ENABLE = 1;
    r.step();
    ASSERT_EQ(r.status, kOptiSettling);
    ASSERT_EQ(r.fault, 0);
}

// Starts a clean run, applies `change` a few passes later and returns the
// fault code shown after one more pass.
int32_t fault_after(const std::function<void(OptiRig&)>& setup,
                    const std::function<void(OptiRig&)>& change)
{
    OptiRig r;
    setup(r);
    start_run(r);
    r.step();
    r.step();
    change(r);
    r.step();
    return r.fault;
}

void none(OptiRig&) {}

}  // namespace

TEST(PidOpti, ProcessErrorAndIdleOutput)
{
    OptiRig r;
    r.v.SP = 90.0f;
    r.v.PV = 88.75f;
    r.v.DRP_MV = 0.25f;
    r.v.P = 2.0f;
    r.v.I = 1.0f;
    r.v.SDR = 100.0f;
    r.v.FDBK = 30.0f;
    // First pass: the PID starts bumplessly from the selected demand.
    r.step();
    EXPECT_FLOAT_EQ(r.procErr, 1.0f);
    EXPECT_FLOAT_EQ(r.out, 30.0f);
    EXPECT_EQ(r.status, kOptiReady);
    EXPECT_EQ(r.fault, 0);
    // Gains in use are the configured ones.
    EXPECT_FLOAT_EQ(r.calcP, 2.0f);
    EXPECT_FLOAT_EQ(r.calcI, 1.0f);
    EXPECT_FLOAT_EQ(r.calcSdr, 100.0f);
    // Then PI action: each pass adds P x I x e x dt with e = SP - (PV + DRP_MV).
    r.step();
    EXPECT_NEAR(r.out, 30.0f + 2.0f * 1.0f * 1.0f * 0.01f, 1e-5f);
    r.step();
    EXPECT_NEAR(r.out, 30.04f, 1e-5f);
    EXPECT_DOUBLE_EQ(r.useRef, 90.0);
}

TEST(PidOpti, EdgesOfClearAndEnable)
{
    OptiRig r;
    r.step();
    r.v.CLR_STATE = 1;
    r.step();
    EXPECT_EQ(r.v.CLR_EDGE, 1);
    r.step();
    EXPECT_EQ(r.v.CLR_EDGE, 0);
    EXPECT_EQ(r.v.CLR_STATE_LAST, 1);
    r.v.CLR_STATE = 0;
    r.step();
    r.v.ENABLE = 1;
    r.step();
    EXPECT_EQ(r.v.ENABLE_EDGE, 1);
    EXPECT_EQ(r.v.SP_AT_START, r.v.SP);
    EXPECT_EQ(r.v.PROC_TYPE_AT_START, 1);
    r.step();
    EXPECT_EQ(r.v.ENABLE_EDGE, 0);
    EXPECT_EQ(r.v.ENABLE_LAST, 1);
}

// Every abort code raised by its own condition during a run.
TEST(PidOpti, AbortCodesDuringRun)
{
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.CLR_STATE = 1; }), kAbortClrState);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.RATE_CTRL = 1; }), kAbortRateCtrl);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.FEEDBACK1 = 0; }), kAbortFeedback1);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.PRC_MV_LMT = 26.0f; }), kAbortPrcMvLmt);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.OUT_MV_LMT = 5.5f; }), kAbortOutMvLmt);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.RESP_TO = 6.0f; }), kAbortRespTo);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.PID_TYPE = 2; }), kAbortPidType);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.FAST_SLOW = 51.0f; }), kAbortFastSlow);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.PROC_TYPE = 3; }), kAbortProcType);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.SDR = 0.8f; }), kAbortSdrCrossed);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.SP = 90.5f; }), kAbortSpChanged);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.DRP_REF = 0.1f; }), kAbortDrpRef);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.SYSCON_FAIL = 1; }), kAbortSysconFail);
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.DRP_MV_LMT = 0.1f; }), kAbortDrpMvLmt);
    // Non-finite result while enabled: the measurement filter turns NaN.
    EXPECT_EQ(fault_after(none, [](OptiRig& r) { r.v.PV = kNaN; }), kAbortNotFinite);
    // Nothing changed: no fault.
    EXPECT_EQ(fault_after(none, none), 0);
}

// RESP_TO aborts only for process types 1 and 2; SDR aborts only when it
// crosses 1 (exactly 1 never counts).
TEST(PidOpti, ConditionalAborts)
{
    auto type = [](int32_t t) { return [t](OptiRig& r) { r.v.PROC_TYPE = t; }; };
    EXPECT_EQ(fault_after(type(2), [](OptiRig& r) { r.v.RESP_TO = 6.0f; }), kAbortRespTo);
    EXPECT_EQ(fault_after(type(3), [](OptiRig& r) { r.v.RESP_TO = 6.0f; }), 0);

    auto sdr = [](float s) { return [s](OptiRig& r) { r.v.SDR = s; }; };
    EXPECT_EQ(fault_after(sdr(0.8f), sdr(1.0f)), 0);
    EXPECT_EQ(fault_after(sdr(0.8f), sdr(1.2f)), kAbortSdrCrossed);
    EXPECT_EQ(fault_after(sdr(1.2f), sdr(0.8f)), kAbortSdrCrossed);
    EXPECT_EQ(fault_after(sdr(1.2f), sdr(1.0f)), 0);
    EXPECT_EQ(fault_after(sdr(1.0f), sdr(0.5f)), 0);
    EXPECT_EQ(fault_after(sdr(0.8f), sdr(0.3f)), 0);
}

// Checks at the enable edge, in order: 1, 8, 9 (the later one wins).
TEST(PidOpti, AbortCodesAtEnableEdge)
{
    OptiRig a;
    a.step();
    a.v.CLR_STATE = 1;
    a.step();
    a.v.ENABLE = 1;
    a.step();
    EXPECT_EQ(a.fault, kAbortClrState);
    EXPECT_EQ(a.status, kOptiFault);

    OptiRig b;
    b.step();
    b.v.CLR_STATE = 1;
    b.v.FEEDBACK1 = 0;
    b.step();
    b.v.ENABLE = 1;
    b.step();
    EXPECT_EQ(b.fault, kAbortFeedback1);

    OptiRig c;
    c.step();
    c.v.RATE_CTRL = 1;
    c.v.ENABLE = 1;
    c.step();
    EXPECT_EQ(c.fault, kAbortRateCtrl);
}

// During a run the later check overwrites: a changed SP (17) wins over a
// changed PRC_MV_LMT (10) and FEEDBACK1 (9) in the same pass.
TEST(PidOpti, CheckOrderDuringRun)
{
    EXPECT_EQ(fault_after(none,
                          [](OptiRig& r) {
                              r.v.SP = 91.0f;
                              r.v.PRC_MV_LMT = 20.0f;
                              r.v.FEEDBACK1 = 0;
                          }),
              kAbortSpChanged);
    EXPECT_EQ(fault_after(none,
                          [](OptiRig& r) {
                              r.v.DRP_MV_LMT = 1.0f;
                              r.v.DRP_REF = 1.0f;
                          }),
              kAbortDrpMvLmt);
    EXPECT_EQ(fault_after(none,
                          [](OptiRig& r) {
                              r.v.PROC_TYPE = 3;
                              r.v.SDR = 0.5f;
                          }),
              kAbortSdrCrossed);
    // SYSCON_FAIL is checked last of all.
    EXPECT_EQ(fault_after(none,
                          [](OptiRig& r) {
                              r.v.SP = 91.0f;
                              r.v.SYSCON_FAIL = 1;
                          }),
              kAbortSysconFail);
}

// The first fault of a run stays shown; a later, different fault does not
// replace it; dropping the enable clears it.
TEST(PidOpti, FaultLatch)
{
    OptiRig r;
    start_run(r);
    r.v.FEEDBACK1 = 0;
    r.step();
    EXPECT_EQ(r.fault, kAbortFeedback1);
    EXPECT_EQ(r.status, kOptiFault);
    r.v.FEEDBACK1 = 1;
    r.v.SP = 95.0f;  // 17 > 9: the sequence's own fault moves on to 17
    r.step();
    EXPECT_EQ(r.data.FAULT, kAbortSpChanged);
    EXPECT_EQ(r.fault, kAbortFeedback1);
    EXPECT_EQ(r.v.FAULT_LATCH, kAbortFeedback1);
    r.v.ENABLE = 0;
    r.step();
    EXPECT_EQ(r.fault, 0);
    EXPECT_EQ(r.v.FAULT_LATCH, 0);
    EXPECT_EQ(r.v.ABORT_CODE, 0);
    EXPECT_EQ(r.status, kOptiReady);
    // A new run starts clean.
    r.v.ENABLE = 1;
    r.step();
    EXPECT_EQ(r.fault, 0);
    EXPECT_EQ(r.status, kOptiSettling);
}

// SYSCON_FAIL while idle: the abort code is 19 and the sequence holds the
// fault state, but the fault cell of an idle block stays 0.
TEST(PidOpti, SysconFailWhileIdle)
{
    OptiRig r;
    r.v.SYSCON_FAIL = 1;
    r.step();
    r.step();
    EXPECT_EQ(r.v.ABORT_CODE, kAbortSysconFail);
    EXPECT_EQ(r.status, kOptiFault);
    EXPECT_EQ(r.fault, 0);
    EXPECT_TRUE(std::isfinite(r.out));
}

// A NaN PID output zeroes the output cell; it aborts with 4 only while
// enabled.
TEST(PidOpti, NonFiniteOutput)
{
    OptiRig idle;
    idle.step();
    idle.v.P = kNaN;
    idle.step();
    EXPECT_EQ(idle.out, 0.0f);
    EXPECT_EQ(idle.fault, 0);
    EXPECT_EQ(idle.v.ABORT_CODE, 0);
    EXPECT_TRUE(std::isfinite(static_cast<float>(idle.data.OUT_AVG)));

    // Enabled with the sequence complete, so the PID runs on kept gains.
    OptiRig run;
    start_run(run);
    run.data.STATE = kOptiComplete;
    run.data.USE_P = std::numeric_limits<double>::quiet_NaN();
    run.step();
    EXPECT_EQ(run.out, 0.0f);
    EXPECT_EQ(run.fault, kAbortNotFinite);
    EXPECT_EQ(run.v.ABORT_CODE, kAbortNotFinite);

    // Non-finite PID state is zeroed.
    OptiRig st;
    st.step();
    st.data.DERIV = std::numeric_limits<double>::infinity();
    st.data.RESET = 1e300;  // finite in double, not as a float
    st.v.P = 0.0f;
    pid_opti(&st.v, kPidOptiRun);
    EXPECT_EQ(st.data.RESET, 0.0);
    EXPECT_EQ(st.out, 0.0f);
}

// Mode 1 saves the PID and tuner states into the hidden cells; mode 2
// restores them before the run and keeps the status cells of before the
// call (the fault latch still applies).
TEST(PidOpti, SaveAndRestoreModes)
{
    OptiRig r;
    r.v.SP = 91.0f;
    r.step();
    r.step();
    r.v.CLR_STATE = 1;
    r.step(kPidOptiRunSave);
    EXPECT_EQ(r.hidden[0], static_cast<float>(r.data.ERR_PREV));
    EXPECT_EQ(r.hidden[1], static_cast<float>(r.data.DERIV));
    EXPECT_EQ(r.hidden[2], static_cast<float>(r.data.RESET));
    EXPECT_EQ(r.hidden[3], static_cast<float>(r.data.FDBK_PREV));
    EXPECT_EQ(r.hidden[4], static_cast<float>(r.data.MEAS_FILT));
    EXPECT_EQ(r.hidden[5], static_cast<float>(r.data.OUT_AVG));
    EXPECT_EQ(r.hiddenB[0], 1);   // initialised
    EXPECT_EQ(r.hiddenB[1], 1);   // CLR_STATE_LAST
    EXPECT_EQ(r.hiddenB[2], 0);   // ENABLE_LAST
    EXPECT_EQ(r.hiddenI, 0);
    EXPECT_NE(r.hidden[2], 0.0f);

    // Spoil the live states; mode 2 brings the saved ones back first.
    const float savedReset = r.hidden[2];
    r.data.RESET = 5000.0;
    r.data.INIT = 0;
    r.v.CLR_STATE_LAST = 0;     // would make a clear edge if not restored
    r.status = 77;
    r.alarm = 5;
    r.fault = 3;
    r.v.P = 0.0f;               // output = reset state alone
    r.v.FDBK = savedReset;
    pid_opti(&r.v, kPidOptiRestoreRun);
    EXPECT_EQ(r.v.CLR_EDGE, 0);
    EXPECT_EQ(r.data.INIT, 1);
    EXPECT_NEAR(r.out, savedReset, 1e-3f);
    EXPECT_EQ(r.status, 77);
    EXPECT_EQ(r.alarm, 5);
    EXPECT_EQ(r.fault, 0);      // idle: the latch clears the fault cell
}
