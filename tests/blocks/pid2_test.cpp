// The PID block and its double-precision twin in the self-tuning PID: step
// responses worked out from the control law, anti-windup at the limits,
// bumpless transfer and a zero integral gain.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "blocks/PID_2.h"
#include "blocks/PID_2_OPTI.h"
#include "blocks/pid_contexts.h"
#include "tests/blocks/pid2_rig.h"

namespace {

// PID_2_OPTI (limits 0 and 100, dt 0.1), one call per pass; `first` marks
// the first call, which starts from reset state = feedback.
struct Opti2 {
    int32_t type = 3;
    double P = 2.0, I = 1.0, SDR = 0.5, first = 1.0;
    int32_t rate = 0;
    double dt = 0.1;
    PidOptiData d{};
    double run(double ref, double fdbk, int32_t reinit = 0)
    {
        const double u =
            PID_2_OPTI(&d, type, rate, 0, 1, reinit, ref, 0.0, fdbk, P, I, SDR, 100.0, dt, first);
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

// The double-precision step of the self-tuning PID follows the same law as
// the block, across the SDR branches and their boundaries (0.01, 1, 100) and
// an integral faster than the sample rate: five passes of a changing error
// with the output fed back.
TEST(Pid2, DoubleStepFollowsTheBlock)
{
    struct Set {
        float I, sdr, dt;
        int32_t rate;
    };
    std::vector<Set> sets;
    for (float I : {0.01f, 1.0f, 20.0f})
        for (float sdr : {0.005f, 0.01f, 0.02f, 0.5f, 1.0f, 2.0f, 100.0f, 150.0f}) sets.push_back({I, sdr, 0.1f, 0});
    // Rate control; and an integral exactly as fast as the sample rate
    // (I/SDR = 1/dt = 8).
    sets.push_back({1.0f, 100.0f, 0.1f, 1});
    sets.push_back({1.0f, 0.5f, 0.1f, 1});
    sets.push_back({0.25f, 0.03125f, 0.125f, 0});
    for (const Set& st : sets) {
        const float I = st.I, sdr = st.sdr;
        {
            Pid2Rig r(2.0f, I, sdr);
            r.v.LO_LIM = 0.0f;
            r.v.HI_LIM = 100.0f;
            r.v.DT = st.dt;
            r.v.RATE_CTRL = st.rate;
            r.out = 50.0f;
            r.reset = 50.0f;
            r.fdbkPrev = 50.0f;
            Opti2 o{3, 2.0, I, sdr};
            o.rate = st.rate;
            o.dt = st.dt;
            double u = 50.0;
            for (float e : {1.0f, 2.0f, -1.0f, 0.5f, 0.0f}) {
                r.v.SP = e;
                u = o.run(e, u);
                EXPECT_NEAR(r.stepOwnFeedback(), u, 2e-5 * std::max(1.0, std::fabs(u)))
                    << "I " << I << " SDR " << sdr << " dt " << st.dt << " rate " << st.rate << " e " << e;
            }
        }
    }
}

// SDR 0.01 exactly takes the fast-integral case however slow the integral:
// I 0.01 gives Td 100, Tf 5, Ki 0.2, G 0.101, a + b = 200.1/10.1 on the first
// pass of an error of 1 from a reset state of 50; a rate-controlled pass adds
// the change of the feedback to the reset state.
TEST(Pid2, FastIntegralAtSdrOneHundredth)
{
    const double want = 50.0 + 0.101 * 200.1 / 10.1;
    Opti2 o{3, 2.0, 0.01, 0.01};
    EXPECT_NEAR(o.run(1.0, 50.0), want, 1e-9);
    Pid2Rig r(2.0f, 0.01f, 0.01f);
    r.v.SP = 1.0f;
    r.v.FDBK = 50.0f;
    r.reset = 50.0f;
    pid2(&r.v);
    EXPECT_NEAR(r.out, want, 1e-3);

    Pid2Rig q(2.0f, 1.0f, 100.0f);  // PI, c = 0.95/1.05
    q.v.RATE_CTRL = 1;
    q.v.FDBK = 10.0f;
    q.fdbkPrev = 4.0f;
    q.reset = 10.0f;
    pid2(&q.v);
    EXPECT_NEAR(q.reset, 16.0f, 1e-5f);
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

namespace {

// The push out of a downstream select, for both the single-precision block
// and the double-precision step: PI (P 2, I 1, SDR 100, dt 0.1, G 2.1),
// limits 0 and 100, threshold 1, feedback 50 as the reset state.
struct PushCase {
    const char* name;
    int32_t lssHss;
    int32_t feedback1;
    float e;
    float want;
};

class Pid2Push : public ::testing::TestWithParam<PushCase> {};

TEST_P(Pid2Push, OutputLeavesTheLimitsOnlyToTakeOver)
{
    const PushCase& c = GetParam();
    Pid2Rig r(2.0f, 1.0f, 100.0f);
    r.v.LO_LIM = 0.0f;
    r.v.HI_LIM = 100.0f;
    r.v.THRESH = 1.0f;
    r.v.LSS_HSS = c.lssHss;
    r.v.FEEDBACK1 = c.feedback1;
    r.v.FDBK = 50.0f;
    r.reset = 50.0f;
    r.v.SP = c.e;
    pid2(&r.v);
    EXPECT_NEAR(r.out, c.want, 1e-4f);

    PidOptiData d{};
    const double u = PID_2_OPTI(&d, 3, 0, c.lssHss, c.feedback1, 0, c.e, 0.0, 50.0, 2.0, 1.0,
                                100.0, 1.0, 0.1, 1.0);
    EXPECT_NEAR(u, c.want, 1e-4);
}

const PushCase kPushCases[] = {
    {"LowSelectErrorAboveThreshold", 1, 0, 1.5f, 101.0f},
    {"LowSelectErrorAtThreshold", 1, 0, 1.0f, 52.1f},
    {"LowSelectWrongDirection", 1, 0, -1.5f, 50.0f - 3.15f},
    {"LowSelectWhileSelected", 1, 1, 1.5f, 53.15f},
    {"HighSelectErrorBelowThreshold", 2, 0, -1.5f, -1.0f},
    {"HighSelectErrorAtThreshold", 2, 0, -1.0f, 47.9f},
    {"HighSelectWrongDirection", 2, 0, 1.5f, 53.15f},
    {"HighSelectWhileSelected", 2, 1, -1.5f, 50.0f - 3.15f},
    {"NoSelect", 0, 0, 1.5f, 53.15f},
    {"NoSelectBigError", 0, 0, 30.0f, 100.0f},
};

INSTANTIATE_TEST_SUITE_P(Cases, Pid2Push, ::testing::ValuesIn(kPushCases),
                         [](const ::testing::TestParamInfo<PushCase>& i) { return std::string(i.param.name); });

}  // namespace

// The cascade record wired again over stale settings runs as the cascade PID:
// no rate control, no proportional-only, no select push, limits 0 and 100,
// 0.08 s: G x e = 2 x (0.04 + 1) on the first pass.
TEST(Pid2, CascadeWiringSetsEverySetting)
{
    Pid2Vars& v = CASC_CTRL_CASC_PID_9137_vars;
    v = Pid2Vars{};
    v.RATE_CTRL = 1;
    v.PROP_ONLY = 1;
    v.PROP_ONLY_I = 5.0f;
    v.LSS_HSS = 1;
    v.LO_LIM = 50.0f;
    v.HI_LIM = 60.0f;
    v.DT = 1.0f;
    float hidden[4] = {}, out = 0.0f;
    wire_CASC_CTRL_CASC_PID_9137({hidden, &out});
    v.SP = 1.0f;
    v.PV = 0.0f;
    v.P = 2.0f;
    v.I = 1.0f;
    v.SDR = 100.0f;
    v.THRESH = 0.5f;
    v.FDBK = 0.0f;
    v.FEEDBACK1 = 0;
    pid2(&v);
    EXPECT_NEAR(out, 2.08f, 1e-5f);
    EXPECT_FLOAT_EQ(hidden[0], 1.0f);  // the error kept for the next pass
    v.SP = 200.0f;
    pid2(&v);
    EXPECT_FLOAT_EQ(out, 100.0f);
    v.SP = -200.0f;
    pid2(&v);
    EXPECT_FLOAT_EQ(out, 0.0f);
}
