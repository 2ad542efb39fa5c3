// Coefficient routines against hand-computed values and their edge cases.
#include <gtest/gtest.h>

#include <cmath>

#include "blocks/tune_coef.h"

TEST(TuneCoef, LagLeadLag)
{
    float b = 0, a = 0;
    // Lag 0 at 0.08 s: T' = 2 x 0.08/3.14 = 0.050955, b = 0.08/(2T' + 0.08).
    tune_lag(&b, 0.0f, 0.08f);
    EXPECT_NEAR(b, 0.43978f, 1e-5f);
    tune_lag(&b, 1.0f, 0.08f);
    EXPECT_NEAR(b, 0.08f / 2.08f, 1e-7f);
    tune_lag(&b, 0.04f, 0.04f);   // above the floor 0.025478
    EXPECT_NEAR(b, 0.04f / 0.12f, 1e-7f);

    tune_lead_lag(&b, &a, 0.5f, 0.2f, 0.1f);
    EXPECT_NEAR(b, 0.2f, 1e-7f);
    EXPECT_NEAR(a, 2.0f, 1e-6f);
    tune_lead_lag(&b, &a, 0.0f, 0.0f, 0.1f);   // both raised to 0.2/3.14
    const float tmin = 0.2f / 3.14f;
    EXPECT_NEAR(b, 0.1f / (2 * tmin + 0.1f), 1e-6f);
    EXPECT_NEAR(a, 2 * tmin / (2 * tmin + 0.1f), 1e-6f);

    // Lead 1 at 0.1 s: lag = max(0.0637, 0.1) = 0.1, lead stays 1.
    tune_lead(&b, &a, 1.0f, 0.1f);
    EXPECT_NEAR(b, 1.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(a, 2.0f / 0.3f, 1e-5f);
    // Lead 0: lag = 0.2/3.14, lead = 0.6/3.14.
    tune_lead(&b, &a, 0.0f, 0.1f);
    EXPECT_NEAR(b, 0.439775f, 1e-5f);
    EXPECT_NEAR(a, 1.68068f, 1e-5f);
}

// The PID coefficients of the block: P = 2, I = 1, SDR = 0.5, dt = 0.1 gives
// Td = 1, Ki = 2, Tf = 0.1: b = 1/3, a = 20/3, G = 1.1, c = 0.9/1.1.
TEST(TuneCoef, PidCoefficients)
{
    float b, G, a, c;
    uint32_t flag = 7;
    tune_pid(&b, &G, &a, &c, 0, &flag, 0, 2.0f, 1.0f, 0.1f, 9.f, 9.f, 9.f, 0.0f, 0.5f);
    EXPECT_NEAR(b, 1.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(a, 20.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(G, 1.1f, 1e-6f);
    EXPECT_NEAR(c, 0.9f / 1.1f, 1e-6f);
    EXPECT_EQ(flag, 0u);

    float b2, G2, a2, c2;
    uint32_t flag2 = 7;
    tune_pid824(&b2, &G2, &a2, &c2, 0, &flag2, 0, 2.0f, 1.0f, 0.1f, 0.f, 0.f, 0.f, 0.0f, 0.5f);
    EXPECT_NEAR(b2, b, 1e-6f);
    EXPECT_NEAR(a2, a, 1e-5f);
    EXPECT_FLOAT_EQ(G2, G);
    EXPECT_FLOAT_EQ(c2, c);
    EXPECT_EQ(flag2, 0u);

    // Rate mode multiplies G by dt.
    tune_pid(&b, &G, &a, &c, 0, &flag, 1, 2.0f, 1.0f, 0.1f, 0.f, 0.f, 0.f, 0.0f, 0.5f);
    EXPECT_NEAR(G, 0.11f, 1e-6f);

    // Proportional only when I <= PROP_ONLY_I: b 0.5, G = P, a 0, flag 1.
    tune_pid(&b, &G, &a, &c, 1, &flag, 0, 2.0f, 1.0f, 0.1f, 0.f, 0.f, 0.f, 1.0f, 0.5f);
    EXPECT_EQ(b, 0.5f);
    EXPECT_EQ(G, 2.0f);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(flag, 1u);
    EXPECT_NEAR(c, 0.9f / 1.1f, 1e-6f);
    tune_pid(&b, &G, &a, &c, 1, &flag, 0, 2.0f, 1.0f, 0.1f, 0.f, 0.f, 0.f, 0.99f, 0.5f);
    EXPECT_EQ(flag, 0u);

    // SDR = 1 takes the feedback-dominant branch here: with I = 20 and
    // dt = 0.1, Td = 0.05 < dt becomes 0, so a = 0.
    tune_pid(&b, &G, &a, &c, 0, &flag, 0, 1.0f, 20.0f, 0.1f, 0.f, 0.f, 0.f, 0.0f, 1.0f);
    EXPECT_EQ(a, 0.0f);
    EXPECT_NEAR(b, 1.0f / 3.0f, 1e-6f);
    // Just below 1 the input-dominant fast case: Td = 0.05, a = 0.1/0.3.
    tune_pid(&b, &G, &a, &c, 0, &flag, 0, 1.0f, 20.0f, 0.1f, 0.f, 0.f, 0.f, 0.0f, 0.999f);
    EXPECT_NEAR(a, 1.0f / 3.0f, 1e-5f);
    tune_pid824(&b2, &G2, &a2, &c2, 0, &flag2, 0, 1.0f, 20.0f, 0.1f, 0.f, 0.f, 0.f, 0.0f, 0.999f);
    EXPECT_NEAR(a2, a, 1e-5f);
    EXPECT_NEAR(b2, b, 1e-6f);
}

TEST(TuneCoef, StraightLineAndCurveSegments)
{
    float m, q;
    cal_slope_intercept(&m, &q, 1.0f, 2.0f, 3.0f, 8.0f);
    EXPECT_FLOAT_EQ(m, 3.0f);
    EXPECT_FLOAT_EQ(q, -1.0f);

    float x = 5.0f;
    crv_less_than_edit(&x, 5.0f);
    EXPECT_FLOAT_EQ(x, 4.999f);
    x = 4.0f;
    crv_less_than_edit(&x, 5.0f);
    EXPECT_EQ(x, 4.0f);
    x = 5.0f;
    crv_gtr_than_edit(&x, 5.0f);
    EXPECT_FLOAT_EQ(x, 5.001f);
    x = 6.0f;
    crv_gtr_than_edit(&x, 5.0f);
    EXPECT_EQ(x, 6.0f);

    // First segment in order: unchanged points.
    float x0 = 0.0f;
    tune_crv_fxy(&x0, 1.0f, &q, &m, 2.0f, 5.0f);
    EXPECT_EQ(x0, 0.0f);
    EXPECT_FLOAT_EQ(m, 2.0f);
    EXPECT_FLOAT_EQ(q, 1.0f);
    // Out of order: x0 forced below x1 by 0.001, finite slope.
    x0 = 3.0f;
    tune_crv_fxy(&x0, 0.0f, &q, &m, 2.0f, 1.0f);
    EXPECT_FLOAT_EQ(x0, 1.999f);
    EXPECT_TRUE(std::isfinite(m));
    EXPECT_NEAR(m, 1.0f / 0.001f, 1.0f);

    // Middle point: below x2, then above x0.
    float x1 = 1.0f, q1, m1, q2, m2;
    tune_crv_mxy(0.0f, 0.0f, &q1, &m1, &x1, 1.0f, &q2, &m2, 3.0f, 5.0f);
    EXPECT_FLOAT_EQ(m1, 1.0f);
    EXPECT_FLOAT_EQ(q1, 0.0f);
    EXPECT_FLOAT_EQ(m2, 2.0f);
    EXPECT_FLOAT_EQ(q2, -1.0f);
    x1 = 4.0f;
    tune_crv_mxy(0.0f, 0.0f, &q1, &m1, &x1, 1.0f, &q2, &m2, 3.0f, 5.0f);
    EXPECT_FLOAT_EQ(x1, 2.999f);
    x1 = -1.0f;
    tune_crv_mxy(0.0f, 0.0f, &q1, &m1, &x1, 1.0f, &q2, &m2, 3.0f, 5.0f);
    EXPECT_FLOAT_EQ(x1, 0.001f);
    EXPECT_TRUE(std::isfinite(m1) && std::isfinite(m2));

    // Last point: above x0.
    x1 = 0.0f;
    tune_crv_lxy(1.0f, 1.0f, &q, &m, &x1, 2.0f);
    EXPECT_FLOAT_EQ(x1, 1.001f);
    EXPECT_TRUE(std::isfinite(m));

    // Break points where 0.001 is below float resolution still end up
    // strictly ordered, so no segment divides by zero.
    x0 = 100000.0f;
    tune_crv_fxy(&x0, 0.0f, &q, &m, 100000.0f, 1.0f);
    EXPECT_LT(x0, 100000.0f);
    EXPECT_TRUE(std::isfinite(m) && std::isfinite(q));
    x1 = 1e6f;
    tune_crv_lxy(1e6f, 0.0f, &q, &m, &x1, 1.0f);
    EXPECT_GT(x1, 1e6f);
    EXPECT_TRUE(std::isfinite(m));
}

TEST(TuneCoef, SplineSlopesAndSegments)
{
    // Points (0,0), (1,1), (2,4), weight 0.5.
    float x0 = 0.0f, m;
    tune_spline_fm(&x0, 0.0f, &m, 1.0f, 1.0f, 2.0f, 4.0f, 0.5f);
    EXPECT_FLOAT_EQ(m, 0.5f);
    float xn = 2.0f;
    tune_spline_lm(&xn, 4.0f, &m, 1.0f, 1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_FLOAT_EQ(m, 3.5f);
    // Inner point (1,2) between (0,0) and (2,3): s1 = 2, s2 = 1, weight 0.25:
    // 0.75 x 1 + 0.25 x 2 + (-0.5)(1/2)(-1) = 1.5.
    float x = 1.0f;
    tune_spline_im(&x, 2.0f, &m, 0.0f, 0.0f, 2.0f, 3.0f, 0.25f);
    EXPECT_FLOAT_EQ(m, 1.5f);
    // Point ordering on the point being set.
    x0 = 1.0f;
    tune_spline_fm(&x0, 0.0f, &m, 1.0f, 1.0f, 2.0f, 4.0f, 0.5f);
    EXPECT_FLOAT_EQ(x0, 0.999f);
    EXPECT_TRUE(std::isfinite(m));
    xn = 0.5f;
    tune_spline_lm(&xn, 4.0f, &m, 1.0f, 1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_FLOAT_EQ(xn, 1.001f);
    x = 3.0f;
    tune_spline_im(&x, 2.0f, &m, 0.0f, 0.0f, 2.0f, 3.0f, 0.25f);
    EXPECT_FLOAT_EQ(x, 1.999f);

    // Cubic Hermite segment: (0,0) slope 1 to (2,4) slope 3: h = 2, dy = 4,
    // c1 = 2, c2 = 12 - 10 = 2, c3 = -8 + 8 = 0; the cubic ends at y1.
    float c1, c2, c3;
    tune_spline_g(0.0f, 0.0f, 1.0f, &c1, &c2, &c3, 2.0f, 4.0f, 3.0f);
    EXPECT_FLOAT_EQ(c1, 2.0f);
    EXPECT_FLOAT_EQ(c2, 2.0f);
    EXPECT_FLOAT_EQ(c3, 0.0f);
    tune_spline_g(1.0f, 1.0f, 0.0f, &c1, &c2, &c3, 2.0f, 3.0f, 1.0f);
    EXPECT_FLOAT_EQ(c1, 0.0f);
    EXPECT_FLOAT_EQ(c2, 5.0f);
    EXPECT_FLOAT_EQ(c3, -3.0f);
    EXPECT_FLOAT_EQ(1.0f + c1 + c2 + c3, 3.0f);

    float o1 = 0, o2 = 0, o3 = 0;
    tune_spline_gl(1.5f, -2.5f, 3.25f, &o1, &o2, &o3);
    EXPECT_EQ(o1, 1.5f);
    EXPECT_EQ(o2, -2.5f);
    EXPECT_EQ(o3, 3.25f);
}
