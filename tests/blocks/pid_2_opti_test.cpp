// The double-precision PID step of the self-tuning PID: the law of the PID
// block in double, fixed limits, proportional-only type, bumpless
// re-initialisation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "blocks/PID_2.h"
#include "blocks/PID_2_OPTI.h"

namespace {

struct Step2 {
    PidOptiData d;
    int32_t pidType = 3, rate = 0, lss = 0, fb1 = 1;
    double P = 2.0, I = 1.0, SDR = 0.5, thresh = 100.0, dt = 0.1;
    double firstCall = 1.0;
    Step2() { std::memset(&d, 0, sizeof d); }
    double run(double ref, double meas, double fdbk, int32_t reinit = 0)
    {
        const double u = PID_2_OPTI(&d, pidType, rate, lss, fb1, reinit, ref, meas, fdbk, P, I, SDR,
                                     thresh, dt, firstCall);
        firstCall = 0.0;
        return u;
    }
};

}  // namespace

// Same PID as the single-precision block (P 2, I 1, SDR 0.5, dt 0.1): outputs
// 7.7, 4.7, 1.1 x 5/3 + 2 with the output fed back; the first call starts
// from reset state = feedback.
TEST(Pid2Opti, PidStepResponseMatchesBlockLaw)
{
    Step2 s;
    double u = s.run(1.0, 0.0, 0.0);
    EXPECT_NEAR(u, 7.7, 1e-12);
    EXPECT_NEAR(s.d.DERIV, 7.0, 1e-12);
    EXPECT_EQ(s.d.INIT, 1);
    u = s.run(1.0, 0.0, u);
    EXPECT_NEAR(u, 4.7, 1e-12);
    u = s.run(1.0, 0.0, u);
    EXPECT_NEAR(u, 1.1 * 5.0 / 3.0 + 2.0, 1e-12);

    // PI (SDR 100): 2.1, then + P x I x e x dt = 0.2 per pass.
    Step2 pi;
    pi.SDR = 100.0;
    u = pi.run(1.0, 0.0, 0.0);
    EXPECT_NEAR(u, 2.1, 1e-12);
    for (int n = 1; n < 5; ++n) {
        u = pi.run(1.0, 0.0, u);
        EXPECT_NEAR(u, 2.1 + 0.2 * n, 1e-12);
    }

    // A first-call value of 1.0 re-initialises a used state.
    pi.firstCall = 1.0;
    pi.d.DERIV = 55.0;
    u = pi.run(1.0, 0.0, 0.0);
    EXPECT_NEAR(u, 2.1, 1e-12);
}

// PID_TYPE 1 is proportional-only: P x e, limits 0 and 100, push 101 / -1.
TEST(Pid2Opti, ProportionalOnlyLimitsAndPush)
{
    Step2 s;
    s.pidType = 1;
    s.P = 3.0;
    EXPECT_DOUBLE_EQ(s.run(2.0, 0.0, 50.0), 6.0);
    EXPECT_NE(s.d.RESET, 0.0);  // the reset state follows the feedback
    EXPECT_DOUBLE_EQ(s.run(50.0, 0.0, 50.0), 100.0);
    EXPECT_DOUBLE_EQ(s.run(0.0, 50.0, 50.0), 0.0);

    s.fb1 = 0;
    s.thresh = 1.0;
    s.lss = 1;
    EXPECT_DOUBLE_EQ(s.run(2.0, 0.0, 50.0), 101.0);
    s.lss = 2;
    EXPECT_DOUBLE_EQ(s.run(0.0, 2.0, 50.0), -1.0);
    EXPECT_DOUBLE_EQ(s.run(0.0, 0.5, 50.0), 0.0);  // within the threshold: clamped
}

// I <= 0: the substitute rate 1e-5 keeps the path gain at 0, so the output is
// the (finite) reset state.
TEST(Pid2Opti, ZeroIntegralGain)
{
    Step2 s;
    s.I = 0.0;
    s.P = 4.0;
    double u = s.run(5.0, 0.0, 30.0);
    ASSERT_TRUE(std::isfinite(u));
    EXPECT_DOUBLE_EQ(u, s.d.RESET);
    EXPECT_NEAR(u, 30.0, 1e-9);
    s.SDR = 0.005;  // the SDR <= 0.01 case
    u = s.run(5.0, 0.0, 30.0);
    EXPECT_DOUBLE_EQ(u, s.d.RESET);
}

// Bumpless re-initialisation: the call returns the feedback, and the next
// normal step with the same error gives a zero lead-lag output and the same
// feedback again, after which the integral takes over.
TEST(Pid2Opti, BumplessReinit)
{
    Step2 s;  // P 2, I 1, SDR 0.5: a = 20/3
    s.run(0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(s.run(1.0, 0.0, 30.0, 1), 30.0);
    EXPECT_NEAR(s.d.ERR_PREV, 43.0 / 37.0, 1e-12);
    EXPECT_NEAR(s.d.DERIV, 40.0 / 37.0, 1e-12);
    EXPECT_NEAR(s.d.RESET, 30.0, 1e-12);
    double u = s.run(1.0, 0.0, 30.0);
    EXPECT_NEAR(u, 30.0, 1e-9);
    EXPECT_NEAR(s.d.DERIV, 0.0, 1e-12);
    u = s.run(1.0, 0.0, u);
    EXPECT_GT(u, 30.0);

    // Without derivative (a = 0) the reset state absorbs G x e; the next
    // step moves by one pass of integral action only: P x I x e x dt.
    Step2 p;
    p.SDR = 100.0;
    p.run(0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(p.run(1.0, 0.0, 30.0, 1), 30.0);
    EXPECT_NEAR(p.run(1.0, 0.0, 30.0), 30.2, 1e-9);

    // Proportional-only: stores e and returns G x e.
    Step2 q;
    q.pidType = 1;
    q.P = 3.0;
    q.run(0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(q.run(2.0, 0.0, 30.0, 1), 6.0);
    EXPECT_DOUBLE_EQ(q.d.ERR_PREV, 2.0);

    // The clamp applies to the re-initialised value too.
    Step2 r;
    r.run(0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(r.run(1.0, 0.0, 130.0, 1), 100.0);
}

// The previous feedback is stored at the end of every step, and the rate
// mode adds its change to the reset state.
TEST(Pid2Opti, RateModeAndFeedbackMemory)
{
    Step2 s;
    s.SDR = 100.0;
    s.rate = 1;
    s.run(0.0, 0.0, 1.0);
    EXPECT_DOUBLE_EQ(s.d.FDBK_PREV, 1.0);
    const double c = 0.95 / 1.05;
    const double r0 = s.d.RESET;
    const double u = s.run(1.0, 0.0, 3.0);
    const double rExp = 3.0 + c * (r0 - 3.0) + 2.0;
    EXPECT_NEAR(s.d.RESET, rExp, 1e-12);
    EXPECT_NEAR(u, 2.1 * 0.1 + rExp, 1e-12);
    EXPECT_DOUBLE_EQ(s.d.FDBK_PREV, 3.0);
}
