// The PID block and its double-precision twin in the self-tuning PID: step
// responses worked out from the control law, anti-windup at the limits,
// bumpless transfer and a zero integral gain.
#include <gtest/gtest.h>

#include <cmath>

#include "blocks/PID_2.h"
#include "blocks/PID_2_OPTI.h"
#include "tests/blocks/pid2_rig.h"

namespace {

// PID_2_OPTI (limits 0 and 100, dt 0.1), one call per pass; `first` marks
// the first call, which starts from reset state = feedback.
struct Opti2 {
    int32_t type = 3;
    double P = 2.0, I = 1.0, SDR = 0.5, first = 1.0;
    PidOptiData d{};
    double run(double ref, double fdbk, int32_t reinit = 0)
    {
        const double u =
            PID_2_OPTI(&d, type, 0, 0, 1, reinit, ref, 0.0, fdbk, P, I, SDR, 100.0, 0.1, first);
        first = 0.0;
        return u;
    }
};

}  // namespace

// dt 0.1, error e, own output fed back.
// P: P x e.  PI (SDR 100): Td = 0, Tf = 0.1, G = P(dt/2 + 1/I) = 2.1, then
// + P x I x e x dt = 0.2 per pass.  PID (SDR 0.5): Td = 1, Ki = 2, Tf = 0.1,
// a = 20/3, b = 1/3, G = 1.1, c = 0.9/1.1; lead-lag 7, 3, 5/3, reset 0, 1.4, 2.
TEST(Pid2, StepResponses)
{
    struct Case {
        const char* what;
        bool propOnly;
        float P, I, SDR, e, want[3];
    };
    const Case cases[] = {
        {"P", true, 3.0f, 0.5f, 0.5f, 2.0f, {6.0f, 6.0f, 6.0f}},
        {"PI", false, 2.0f, 1.0f, 100.0f, 1.0f, {2.1f, 2.3f, 2.5f}},
        {"PID", false, 2.0f, 1.0f, 0.5f, 1.0f, {7.7f, 4.7f, 1.1f * 5.0f / 3.0f + 2.0f}},
    };
    for (const Case& c : cases) {
        Pid2Rig r(c.P, c.I, c.SDR);
        r.v.PROP_ONLY = c.propOnly;
        r.v.PROP_ONLY_I = c.I;
        r.v.SP = c.e;
        Opti2 o{c.propOnly ? 1 : 3, c.P, c.I, c.SDR};
        double u = 0.0;
        for (float want : c.want) {
            EXPECT_NEAR(r.stepOwnFeedback(), want, 1e-4f) << c.what;
            EXPECT_NEAR(u = o.run(c.e, u), want, 1e-6) << c.what << " (double)";
        }
    }
}

// Clamped at a limit with the clamped value fed back, the reset state settles
// at the limit instead of winding up: the output leaves the limit on the
// first pass after the error reverses, by G x e.
TEST(Pid2, AntiWindupAtLimits)
{
    Pid2Rig r(2.0f, 1.0f, 100.0f);
    r.v.HI_LIM = 5.0f;
    r.v.LO_LIM = -5.0f;
    for (float s : {1.0f, -1.0f}) {
        r.v.SP = 10.0f * s;
        for (int i = 0; i < 300; ++i) ASSERT_LE(std::fabs(r.stepOwnFeedback()), 5.0f);
        EXPECT_FLOAT_EQ(r.out, 5.0f * s);
        EXPECT_NEAR(r.reset, 5.0f * s, 1e-4f);
        r.v.SP = -s;
        EXPECT_NEAR(r.stepOwnFeedback(), s * (5.0f - 2.1f), 1e-4f);
    }
}

// While another signal is selected downstream the reset state relaxes toward
// the selected value by c per pass; on take-over the output starts there.
// The double-precision step re-initialised returns the feedback and the next
// pass with the same error adds nothing.
TEST(Pid2, BumplessTransfer)
{
    Pid2Rig r(2.0f, 1.0f, 100.0f);
    r.v.FEEDBACK1 = 0;
    r.v.LSS_HSS = 1;
    r.v.FDBK = 40.0f;
    pid2(&r.v);
    EXPECT_NEAR(r.reset, 40.0f * (1.0f - 0.95f / 1.05f), 1e-4f);
    for (int i = 0; i < 300; ++i) pid2(&r.v);
    EXPECT_NEAR(r.out, 40.0f, 1e-3f);
    r.v.FEEDBACK1 = 1;
    r.v.SP = 0.01f;
    EXPECT_NEAR(r.stepOwnFeedback(), 40.0f + 2.1f * 0.01f, 1e-3f);

    Opti2 o;  // PID: a = 20/3
    o.run(0.0, 0.0);
    EXPECT_DOUBLE_EQ(o.run(1.0, 30.0, 1), 30.0);
    EXPECT_NEAR(o.run(1.0, 30.0), 30.0, 1e-9);
    EXPECT_NEAR(o.d.DERIV, 0.0, 1e-12);
}

// I = 0 with SDR <= 1 (both the <= 0.01 case and above): a substitute
// integral rate keeps every term finite and the path gain at 0, so the
// output is the reset state.
TEST(Pid2, ZeroIntegralGainGivesNoNaN)
{
    for (float sdr : {0.5f, 0.01f, 0.005f}) {
        Pid2Rig r(5.0f, 0.0f, sdr);
        r.v.SP = 5.0f;
        r.v.FDBK = 7.0f;
        r.reset = 3.0f;
        pid2(&r.v);
        ASSERT_TRUE(std::isfinite(r.out) && std::isfinite(r.deriv)) << sdr;
        EXPECT_FLOAT_EQ(r.out, r.reset) << sdr;
        EXPECT_NEAR(r.out, 3.0f, 0.01f) << sdr;

        Opti2 o{3, 4.0, 0.0, sdr};
        const double u = o.run(5.0, 30.0);
        ASSERT_TRUE(std::isfinite(u) && std::isfinite(o.d.DERIV)) << sdr;
        EXPECT_NEAR(u, 30.0, 1e-6) << sdr;
    }
}
