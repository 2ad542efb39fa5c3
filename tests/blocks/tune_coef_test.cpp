// Coefficient routines against hand-computed values, and curve and spline
// break points kept strictly ordered where 0.001 is below float resolution.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "blocks/tune_coef.h"

namespace {

using Outs = std::vector<float>;

// tune_pid / tune_pid824 with dt 0.1: {flag, a, b, G, c}.
Outs pid(bool p824, int32_t propOnly, int32_t rate, float P, float I, float poI, float sdr)
{
    float b, G, a, c;
    uint32_t flag = 7;
    (p824 ? tune_pid824 : tune_pid)(&b, &G, &a, &c, propOnly, &flag, rate, P, I, 0.1f, 0.f, 0.f,
                                    0.f, poI, sdr);
    return {static_cast<float>(flag), a, b, G, c};
}

}  // namespace

TEST(TuneCoef, HandComputedValues)
{
    float b, a, m, q, x, c1, c2, c3;
    const float tmin = 0.2f / 3.14f;
    struct Case {
        const char* what;
        std::function<Outs()> run;
        Outs want;
    };
    const Case cases[] = {
        // T' = max(2 x 0.08/3.14, lag), b = dt/(2T' + dt).
        {"lag 0", [&] { tune_lag(&b, 0.0f, 0.08f); return Outs{b}; }, {0.08f / (4 * 0.08f / 3.14f + 0.08f)}},
        {"lead-lag", [&] { tune_lead_lag(&b, &a, 0.5f, 0.2f, 0.1f); return Outs{b, a}; }, {0.2f, 2.0f}},
        {"lead-lag floors", [&] { tune_lead_lag(&b, &a, 0.0f, 0.0f, 0.1f); return Outs{b, a}; },
         {0.1f / (2 * tmin + 0.1f), 2 * tmin / (2 * tmin + 0.1f)}},
        {"lead 1", [&] { tune_lead(&b, &a, 1.0f, 0.1f); return Outs{b, a}; }, {1.0f / 3.0f, 2.0f / 0.3f}},
        {"lead 0", [&] { tune_lead(&b, &a, 0.0f, 0.1f); return Outs{b, a}; },
         {0.1f / (2 * tmin + 0.1f), 6 * tmin / (2 * tmin + 0.1f)}},
        // P 2, I 1, SDR 0.5: Td = 1, Ki = 2, Tf = 0.1.
        {"pid", [] { return pid(false, 0, 0, 2, 1, 0, 0.5f); }, {0, 20 / 3.f, 1 / 3.f, 1.1f, 0.9f / 1.1f}},
        {"pid824", [] { return pid(true, 0, 0, 2, 1, 0, 0.5f); }, {0, 20 / 3.f, 1 / 3.f, 1.1f, 0.9f / 1.1f}},
        {"pid rate", [] { return pid(false, 0, 1, 2, 1, 0, 0.5f); }, {0, 20 / 3.f, 1 / 3.f, 0.11f}},
        {"pid prop only", [] { return pid(false, 1, 0, 2, 1, 1, 0.5f); }, {1, 0, 0.5f, 2, 0.9f / 1.1f}},
        {"pid I above prop-only level", [] { return pid(false, 1, 0, 2, 1, 0.99f, 0.5f); }, {0}},
        // I 20: SDR 1 is feedback-dominant (Td 0.05 < dt gives a = 0); just
        // below 1 the input-dominant fast case keeps Td = 0.05.
        {"pid SDR 1", [] { return pid(false, 0, 0, 1, 20, 0, 1.0f); }, {0, 0, 1 / 3.f}},
        {"pid SDR 0.999", [] { return pid(false, 0, 0, 1, 20, 0, 0.999f); }, {0, 1 / 3.f}},
        {"pid824 SDR 0.999", [] { return pid(true, 0, 0, 1, 20, 0, 0.999f); }, {0, 1 / 3.f}},
        // SDR 0.01 is fast-integral even when I/SDR is below 1/dt: I 0.01
        // gives Td 100, Tf 5, Ki 0.2.
        {"pid SDR 0.01 slow integral", [] { return pid(false, 0, 0, 2, 0.01f, 0, 0.01f); },
         {0, 200 / 10.1f, 0.1f / 10.1f, 0.101f, 0.99f / 1.01f}},
        {"pid824 SDR 0.01 slow integral", [] { return pid(true, 0, 0, 2, 0.01f, 0, 0.01f); },
         {0, 100 / 5.05f, 0.05f / 5.05f, 0.101f, 0.99f / 1.01f}},
        {"slope", [&] { cal_slope_intercept(&m, &q, 1, 2, 3, 8); return Outs{m, q}; }, {3, -1}},
        {"curve first", [&] { x = 3; tune_crv_fxy(&x, 0, &q, &m, 2, 1); return Outs{x, m}; },
         {1.999f, 1.0f / (2.0f - 1.999f)}},
        {"curve middle",
         [&] { x = 1; tune_crv_mxy(0, 0, &q, &m, &x, 1, &c1, &c2, 3, 5); return Outs{m, q, c2, c1}; },
         {1, 0, 2, -1}},
        {"curve middle high",
         [&] { x = 4; tune_crv_mxy(0, 0, &q, &m, &x, 1, &c1, &c2, 3, 5); return Outs{x}; },
         {2.999f}},
        {"curve last", [&] { x = 0; tune_crv_lxy(1, 1, &q, &m, &x, 2); return Outs{x}; }, {1.001f}},
        // Points (0,0), (1,1), (2,4), weight 0.5; inner (1,2) between (0,0)
        // and (2,3), weight 0.25: 0.75 x 1 + 0.25 x 2 + (-0.5)(1/2)(-1).
        {"spline first", [&] { x = 0; tune_spline_fm(&x, 0, &m, 1, 1, 2, 4, 0.5f); return Outs{m}; }, {0.5f}},
        {"spline last", [&] { x = 2; tune_spline_lm(&x, 4, &m, 1, 1, 0, 0, 0.5f); return Outs{m}; }, {3.5f}},
        {"spline inner", [&] { x = 1; tune_spline_im(&x, 2, &m, 0, 0, 2, 3, 0.25f); return Outs{m}; }, {1.5f}},
        {"spline inner shifted", [&] { x = 2; tune_spline_im(&x, 2, &m, 1, 0, 3, 3, 0.25f); return Outs{m}; }, {1.5f}},
        // Hermite (0,0) slope 1 to (2,4) slope 3: h 2, dy 4.
        {"hermite", [&] { tune_spline_g(0, 0, 1, &c1, &c2, &c3, 2, 4, 3); return Outs{c1, c2, c3}; }, {2, 2, 0}},
        {"hermite shifted", [&] { tune_spline_g(1, 1, 1, &c1, &c2, &c3, 3, 5, 3); return Outs{c1, c2, c3}; }, {2, 2, 0}},
    };
    for (const Case& c : cases) {
        const Outs got = c.run();
        ASSERT_LE(c.want.size(), got.size()) << c.what;
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_NEAR(got[i], c.want[i], 2e-6f * std::max(1.0f, std::fabs(c.want[i])))
                << c.what << " #" << i;
    }
}

// Break points where x +/- 0.001 rounds back to x still end up strictly
// ordered, so no segment divides by zero.
TEST(TuneCoef, BreakPointsAtLargeValues)
{
    float x = 1e5f, m, q;
    tune_crv_fxy(&x, 0.0f, &q, &m, 1e5f, 1.0f);
    EXPECT_TRUE(x < 1e5f && std::isfinite(m) && std::isfinite(q));
    x = 1e6f;
    tune_crv_lxy(1e6f, 0.0f, &q, &m, &x, 1.0f);
    EXPECT_TRUE(x > 1e6f && std::isfinite(m));
    x = 1e6f;
    tune_spline_fm(&x, 0.0f, &m, 1e6f, 1.0f, 2e6f, 4.0f, 0.5f);
    EXPECT_TRUE(x < 1e6f && std::isfinite(m));
    x = 1e6f;
    tune_spline_lm(&x, 4.0f, &m, 1e6f, 1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_TRUE(x > 1e6f && std::isfinite(m));
    x = 1e6f;
    tune_spline_im(&x, 2.0f, &m, 1e6f, 0.0f, 2e6f, 3.0f, 0.25f);
    EXPECT_TRUE(x > 1e6f && std::isfinite(m));
}
