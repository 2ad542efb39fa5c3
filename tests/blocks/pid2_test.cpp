// PID block: step responses against values worked out from the control law,
// limits, anti-windup, bumpless transfer, select-bus push and the edges of
// the time-constant rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "blocks/PID_2.h"
#include "tests/blocks/pid2_rig.h"


// PI: SDR 100 gives Td = 0 (lead-lag passes the error), Ki = I = 1,
// Tf = max(1/20, 0.1) = 0.1, G = I*P*(DT/2 + 1/Ki) = 2.1, c = 0.95/1.05.
// The first pass gives G*e; every further pass adds P*I*e*DT = 0.2.
TEST(Pid2, PiStepResponse)
{
    Pid2Rig r;
    r.v.P = 2.0f;
    r.v.I = 1.0f;
    r.v.SDR = 100.0f;
    r.v.SP = 1.0f;
    r.v.PV = 0.0f;
    const float expected[] = {2.1f, 2.3f, 2.5f, 2.7f, 2.9f};
    for (float want : expected) EXPECT_NEAR(r.stepOwnFeedback(), want, 1e-5f);
    EXPECT_FLOAT_EQ(r.deriv, 1.0f);   // y = e
    EXPECT_FLOAT_EQ(r.errPrev, 1.0f);
    EXPECT_NEAR(r.fdbkPrev, 2.7f, 1e-5f);
}

// PID: SDR 0.5 is input-dominant: Td = 1/I = 1, Ki = I/SDR = 2,
// Tf = 0.2*SDR*Td = 0.1; a = 2Td/(DT+2Tf) = 20/3, b = 1/3, G = 1.1,
// c = 0.9/1.1. Lead-lag: 7, 3, 5/3; reset: 0, 1.4, 2.0.
TEST(Pid2, PidStepResponse)
{
    Pid2Rig r;
    r.v.P = 2.0f;
    r.v.I = 1.0f;
    r.v.SDR = 0.5f;
    r.v.SP = 1.0f;
    r.v.PV = 0.0f;
    EXPECT_NEAR(r.stepOwnFeedback(), 7.7f, 1e-4f);
    EXPECT_NEAR(r.deriv, 7.0f, 1e-5f);
    EXPECT_NEAR(r.reset, 0.0f, 1e-6f);
    EXPECT_NEAR(r.stepOwnFeedback(), 4.7f, 1e-4f);
    EXPECT_NEAR(r.deriv, 3.0f, 1e-5f);
    EXPECT_NEAR(r.reset, 1.4f, 1e-5f);
    EXPECT_NEAR(r.stepOwnFeedback(), 1.1f * 5.0f / 3.0f + 2.0f, 1e-4f);
    EXPECT_NEAR(r.reset, 2.0f, 1e-5f);
}

// Proportional only: output P*e clamped, no reset added, reset still updated.
TEST(Pid2, ProportionalOnly)
{
    Pid2Rig r;
    r.v.PROP_ONLY = 1;
    r.v.PROP_ONLY_I = 0.5f;
    r.v.I = 0.5f;           // at the level: proportional-only applies
    r.v.P = 3.0f;
    r.v.SDR = 0.5f;
    r.v.SP = 2.0f;
    r.v.PV = 0.0f;
    r.v.FDBK = 10.0f;
    r.reset = 4.0f;
    pid2(&r.v);
    EXPECT_FLOAT_EQ(r.out, 6.0f);
    EXPECT_FLOAT_EQ(r.deriv, 2.0f);          // a = 0: y = e
    EXPECT_NE(r.reset, 4.0f);                // reset state moved towards FDBK
    EXPECT_GT(r.reset, 4.0f);
    r.v.HI_LIM = 5.0f;
    pid2(&r.v);
    EXPECT_FLOAT_EQ(r.out, 5.0f);

    // Just above the level the full law applies again.
    Pid2Rig f;
    f.v.PROP_ONLY = 1;
    f.v.PROP_ONLY_I = 0.49f;
    f.v.I = 0.5f;
    f.v.P = 3.0f;
    f.v.SDR = 100.0f;
    f.v.SP = 2.0f;
    pid2(&f.v);
    EXPECT_NE(f.out, 6.0f);
}

// Output clamped at HI_LIM; with the clamped value fed back the reset state
// settles at the limit instead of winding up, so the output leaves the limit
// on the first pass after the error reverses: -G + HI_LIM.
TEST(Pid2, AntiWindupAtLimits)
{
    Pid2Rig r;
    r.v.P = 2.0f;
    r.v.I = 1.0f;
    r.v.SDR = 100.0f;
    r.v.HI_LIM = 5.0f;
    r.v.LO_LIM = -5.0f;
    r.v.SP = 10.0f;
    for (int i = 0; i < 300; ++i) EXPECT_LE(r.stepOwnFeedback(), 5.0f);
    EXPECT_FLOAT_EQ(r.out, 5.0f);
    EXPECT_NEAR(r.reset, 5.0f, 1e-4f);
    r.v.SP = -1.0f;
    EXPECT_NEAR(r.stepOwnFeedback(), 5.0f - 2.1f, 1e-4f);

    // The same at the low limit.
    r.v.SP = -10.0f;
    for (int i = 0; i < 300; ++i) EXPECT_GE(r.stepOwnFeedback(), -5.0f);
    EXPECT_FLOAT_EQ(r.out, -5.0f);
    r.v.SP = 1.0f;
    EXPECT_NEAR(r.stepOwnFeedback(), -5.0f + 2.1f, 1e-4f);
}

// While another signal is selected downstream, the reset state follows the
// selected value (FDBK): with e = 0 it relaxes toward FDBK by c each pass,
// and when this block takes over its output starts at the selected value.
TEST(Pid2, BumplessTransferThroughFeedback)
{
    Pid2Rig r;
    r.v.P = 2.0f;
    r.v.I = 1.0f;
    r.v.SDR = 100.0f;
    r.v.FEEDBACK1 = 0;
    r.v.LSS_HSS = 1;
    r.v.FDBK = 40.0f;
    const float c = 0.95f / 1.05f;
    pid2(&r.v);
    EXPECT_NEAR(r.reset, 40.0f * (1.0f - c), 1e-4f);
    pid2(&r.v);
    EXPECT_NEAR(r.reset, 40.0f * (1.0f - c * c), 1e-4f);
    for (int i = 0; i < 300; ++i) pid2(&r.v);
    EXPECT_NEAR(r.out, 40.0f, 1e-3f);
    r.v.FEEDBACK1 = 1;
    r.v.SP = 0.01f;
    EXPECT_NEAR(r.stepOwnFeedback(), 40.0f + 2.1f * 0.01f, 1e-3f);
}

// Select-bus push: exactly HI_LIM + 1 (after the clamp) for a low-signal
// select, LO_LIM - 1 for a high-signal select; nothing while in control or
// with another mode.
TEST(Pid2, SelectBusPush)
{
    Pid2Rig r;
    r.v.P = 100.0f;
    r.v.I = 1.0f;
    r.v.SDR = 100.0f;
    r.v.HI_LIM = 100.0f;
    r.v.LO_LIM = 0.0f;
    r.v.THRESH = 2.0f;
    r.v.FEEDBACK1 = 0;
    r.v.LSS_HSS = 1;
    r.v.SP = 3.0f;   // y = 3 > THRESH
    pid2(&r.v);
    EXPECT_EQ(r.out, 101.0f);
    r.v.SP = 1.0f;   // y = 1 <= THRESH: clamped value
    pid2(&r.v);
    EXPECT_LE(r.out, 100.0f);

    r.v.LSS_HSS = 2;
    r.v.SP = -3.0f;  // y = -3 < -THRESH
    pid2(&r.v);
    EXPECT_EQ(r.out, -1.0f);
    r.v.SP = 3.0f;
    pid2(&r.v);
    EXPECT_EQ(r.out, 100.0f);

    r.v.LSS_HSS = 3;  // no such mode: nothing
    r.v.SP = -3.0f;
    pid2(&r.v);
    EXPECT_GE(r.out, 0.0f);
    r.v.LSS_HSS = 1;
    r.v.FEEDBACK1 = 1;
    r.v.SP = 3.0f;
    pid2(&r.v);
    EXPECT_EQ(r.out, 100.0f);
}

// SDR = 1 takes the input-dominant branch: with I = 20 and DT = 0.1 the
// fast-integral case gives Td = 0.05 and a lead-lag gain (a + b) of 2/3 on
// the first error step; the feedback-dominant branch would pass e unchanged.
// SDR = 100 passes the error (Td = 0).
TEST(Pid2, SdrBranchEdges)
{
    Pid2Rig r;
    r.v.I = 20.0f;
    r.v.P = 0.0f;
    r.v.SDR = 1.0f;
    r.v.SP = 1.0f;
    pid2(&r.v);
    EXPECT_NEAR(r.deriv, 2.0f / 3.0f, 1e-5f);

    Pid2Rig s;
    s.v.I = 20.0f;
    s.v.SDR = 1.0001f;
    s.v.SP = 1.0f;
    pid2(&s.v);
    EXPECT_FLOAT_EQ(s.deriv, 1.0f);

    Pid2Rig h;
    h.v.I = 1.0f;
    h.v.SDR = 100.0f;
    h.v.SP = 1.0f;
    h.deriv = 7.0f;
    h.errPrev = -3.0f;
    pid2(&h.v);
    EXPECT_FLOAT_EQ(h.deriv, 1.0f);
}

// I = 0 with SDR <= 1: Ki = 0.001 and Td = 999.99994; the path gain uses
// I = 0, so the output is the reset state alone (and finite).
TEST(Pid2, ZeroIntegralGainOutputsResetState)
{
    Pid2Rig r;
    r.v.I = 0.0f;
    r.v.P = 5.0f;
    r.v.SDR = 0.5f;
    r.v.SP = 5.0f;
    r.v.FDBK = 7.0f;
    r.reset = 3.0f;
    pid2(&r.v);
    ASSERT_TRUE(std::isfinite(r.out));
    EXPECT_FLOAT_EQ(r.out, r.reset);
    EXPECT_NEAR(r.out, 3.0f, 0.01f);   // h is tiny: the reset state barely moves
    EXPECT_TRUE(std::isfinite(r.deriv));

    // The SDR <= 0.01 case: Tf = 0.05 x 999.99994.
    Pid2Rig s;
    s.v.I = 0.0f;
    s.v.P = 5.0f;
    s.v.SDR = 0.01f;
    s.v.SP = 5.0f;
    s.v.FDBK = 7.0f;
    pid2(&s.v);
    EXPECT_FLOAT_EQ(s.out, s.reset);
    // a = 2 Td/(DT + 2 Tf) with Tf = Td/20: the first step gives (a + b) e.
    const float td = 999.99994f, tf = 0.05f * td;
    EXPECT_NEAR(s.deriv, (2.0f * td + 0.1f) / (0.1f + 2.0f * tf) * 5.0f, 1e-3f);
}

// Non-finite state is replaced by 0 and never reaches the output.
TEST(Pid2, NonFiniteStateReplaced)
{
    Pid2Rig r;
    r.v.I = 1.0f;
    r.v.P = 1.0f;
    r.v.SDR = 0.5f;
    r.v.SP = 1.0f;
    r.deriv = std::numeric_limits<float>::quiet_NaN();
    r.reset = std::numeric_limits<float>::infinity();
    r.v.FDBK = 2.0f;
    pid2(&r.v);
    EXPECT_EQ(r.deriv, 0.0f);
    EXPECT_EQ(r.reset, 0.0f);
    EXPECT_EQ(r.out, 0.0f);
    pid2(&r.v);
    EXPECT_TRUE(std::isfinite(r.out));
}

// Rate mode: the path gain is multiplied by DT and the feedback change is
// added to the reset state: r = F + c(r' - F) + (F - F').
TEST(Pid2, RateControl)
{
    Pid2Rig r;
    r.v.RATE_CTRL = 1;
    r.v.I = 1.0f;
    r.v.P = 2.0f;
    r.v.SDR = 100.0f;
    r.v.SP = 1.0f;
    r.v.FDBK = 3.0f;
    r.fdbkPrev = 1.0f;
    pid2(&r.v);
    const float c = 0.95f / 1.05f;
    const float rExp = 3.0f * (1.0f - c) + 2.0f;
    EXPECT_NEAR(r.reset, rExp, 1e-5f);
    EXPECT_NEAR(r.out, 0.21f + rExp, 1e-5f);
    EXPECT_FLOAT_EQ(r.fdbkPrev, 3.0f);
}
