#include "blocks/tune_coef.h"

#include <cmath>

#include "blocks/PID_2.h"

namespace {

// Shortest filter time allowed for a sample period: 2 dt / 3.14.
float min_filter_time(float dt) { return 2.0f * dt / 3.14f; }

void tune_pid_common(bool halfSteps, float* b, float* G, float* a, float* c, int32_t PROP_ONLY,
                     uint32_t* propOnlyFlag, uint32_t RATE_CTRL, float P, float I, float dt,
                     float PROP_ONLY_I, float SDR)
{
    // The SDR form of the PID block without the substitute for I <= 0; the
    // input-dominant branch applies below SDR 1.
    const bool inputDominant = SDR < 1.0f;
    const bool fastIntegral = SDR <= 0.01f || (halfSteps ? dt * I / SDR > 1.0f : 1.0f / dt < I / SDR);
    const PidTimeConstants<float> k =
        sdr_time_constants<float>(I, inputDominant ? 1.0f / I : 0.0f, SDR, dt, inputDominant,
                                  fastIntegral);
    const float h = k.Ki * dt / 2.0f;
    *c = (1.0f - h) / (1.0f + h);
    if (PROP_ONLY != 0 && I <= PROP_ONLY_I) {
        *b = 0.5f;
        *G = P;
        *a = 0.0f;
        *propOnlyFlag = 1;
        return;
    }
    if (halfSteps) {
        const float den = dt / 2.0f + std::fmax(k.Tf, dt);
        *b = (dt / 2.0f) / den;
        *a = k.Td / den;
    } else {
        *b = dt / (2.0f * k.Tf + dt);
        *a = 2.0f * k.Td / (2.0f * k.Tf + dt);
    }
    float g = P * I * (1.0f / k.Ki + dt / 2.0f);
    if (RATE_CTRL != 0) g = g * dt;
    *G = g;
    *propOnlyFlag = 0;
}

// Tustin coefficients for the (already floored) lead and lag times.
void lead_lag_coefficients(float* b, float* a, float lead, float lag, float dt)
{
    *b = dt / (2.0f * lag + dt);
    *a = 2.0f * lead / (2.0f * lag + dt);
}

float slope_of(float x1, float y1, float x2, float y2) { return (y2 - y1) / (x2 - x1); }

}  // namespace

void tune_pid(float* b, float* G, float* a, float* c, int32_t PROP_ONLY, uint32_t* propOnlyFlag,
              uint32_t RATE_CTRL, float P, float I, float dt, float, float, float,
              float PROP_ONLY_I, float SDR)
{
    tune_pid_common(false, b, G, a, c, PROP_ONLY, propOnlyFlag, RATE_CTRL, P, I, dt, PROP_ONLY_I,
                    SDR);
}

void tune_pid824(float* b, float* G, float* a, float* c, int32_t PROP_ONLY,
                 uint32_t* propOnlyFlag, uint32_t RATE_CTRL, float P, float I, float dt, float,
                 float, float, float PROP_ONLY_I, float SDR)
{
    tune_pid_common(true, b, G, a, c, PROP_ONLY, propOnlyFlag, RATE_CTRL, P, I, dt, PROP_ONLY_I,
                    SDR);
}

void tune_lead_lag(float* b, float* a, float lead, float lag, float dt)
{
    const float tmin = min_filter_time(dt);
    lead_lag_coefficients(b, a, std::fmax(lead, tmin), std::fmax(lag, tmin), dt);
}

void tune_lead(float* b, float* a, float lead, float dt)
{
    const float lag = std::fmax(min_filter_time(dt), 0.1f * lead);
    const float leadFloor = 6.0f * dt / 3.14f;
    lead_lag_coefficients(b, a, std::fmax(lead, leadFloor), lag, dt);
}

void tune_lag(float* b, float lag, float dt)
{
    const float t = std::fmax(lag, min_filter_time(dt));
    *b = dt / (2.0f * t + dt);
}

void cal_slope_intercept(float* slope, float* intercept, float x1, float y1, float x2, float y2)
{
    const float m = slope_of(x1, y1, x2, y2);
    *slope = m;
    *intercept = y1 - m * x1;
}

// The break points are kept 0.001 apart. For large break points 0.001 is
// below the resolution of a float and limit -/+ 0.001 rounds back to the
// limit, which would leave two equal points and a division by zero in the
// segment; the next representable value is used then.
void crv_less_than_edit(float* x, float limit)
{
    if (*x >= limit) {
        float moved = limit - 0.001f;
        if (!(moved < limit)) moved = std::nextafter(limit, -INFINITY);
        *x = moved;
    }
}

void crv_gtr_than_edit(float* x, float limit)
{
    if (*x <= limit) {
        float moved = limit + 0.001f;
        if (!(moved > limit)) moved = std::nextafter(limit, INFINITY);
        *x = moved;
    }
}

void tune_crv_fxy(float* x0, float y0, float* intercept, float* slope, float x1, float y1)
{
    crv_less_than_edit(x0, x1);
    cal_slope_intercept(slope, intercept, *x0, y0, x1, y1);
}

void tune_crv_mxy(float x0, float y0, float* intercept1, float* slope1, float* x1, float y1,
                  float* intercept2, float* slope2, float x2, float y2)
{
    crv_less_than_edit(x1, x2);
    crv_gtr_than_edit(x1, x0);
    cal_slope_intercept(slope1, intercept1, x0, y0, *x1, y1);
    cal_slope_intercept(slope2, intercept2, *x1, y1, x2, y2);
}

void tune_crv_lxy(float x0, float y0, float* intercept, float* slope, float* x1, float y1)
{
    crv_gtr_than_edit(x1, x0);
    cal_slope_intercept(slope, intercept, x0, y0, *x1, y1);
}

void tune_spline_fm(float* x0, float y0, float* slope, float x1, float y1, float x2, float y2,
                    float weight)
{
    crv_less_than_edit(x0, x1);
    const float p = *x0;
    *slope = weight * (slope_of(p, y0, x2, y2) - slope_of(x1, y1, x2, y2)) + slope_of(p, y0, x1, y1);
}

void tune_spline_lm(float* xn, float yn, float* slope, float xn1, float yn1, float xn2, float yn2,
                    float weight)
{
    crv_gtr_than_edit(xn, xn1);
    const float p = *xn;
    *slope = weight * (slope_of(xn2, yn2, p, yn) - slope_of(xn2, yn2, xn1, yn1)) +
             slope_of(xn1, yn1, p, yn);
}

void tune_spline_im(float* x, float y, float* slope, float xPrev, float yPrev, float xNext,
                    float yNext, float weight)
{
    crv_less_than_edit(x, xNext);
    crv_gtr_than_edit(x, xPrev);
    const float p = *x;
    const float s1 = slope_of(xPrev, yPrev, p, y);
    const float s2 = slope_of(p, y, xNext, yNext);
    *slope = (1.0f - weight) * s2 + weight * s1 +
             (2.0f * weight - 1.0f) * (p - xPrev) / (xNext - xPrev) * (s2 - s1);
}

void tune_spline_g(float x0, float y0, float m0, float* c1, float* c2, float* c3, float x1,
                   float y1, float m1)
{
    const float h = x1 - x0;
    const float dy = y1 - y0;
    *c1 = m0 * h;
    *c2 = 3.0f * dy - (2.0f * m0 + m1) * h;
    *c3 = -2.0f * dy + (m0 + m1) * h;
}

void tune_spline_gl(float v1, float v2, float v3, float* o1, float* o2, float* o3)
{
    *o1 = v1;
    *o2 = v2;
    *o3 = v3;
}
