#include "blocks/PID_2.h"

#include <cmath>

// Integral rate and derivative time used when the integral gain is zero or
// negative: 0.001/s, and the single-precision value just below 1000 s.
static constexpr float kIFloor = 0.001f;
static constexpr float kTdFloor = 999.99994f;

void pid2(Pid2Vars* v)
{
    const float DT = v->DT;
    const float I = v->I;
    const float SDR = v->SDR;

    // 1. Time constants. For I <= 0 the substitute rate also stands in for I
    // in the input-dominant quotient I/SDR: taken literally, that quotient is
    // 0, 1/Ki infinite and the path gain 0 x inf = NaN, which would reach the
    // output. With the substitute the path gain is 0 and the output is the
    // reset state alone.
    const bool iPositive = I > 0.0f;
    const float Ki0 = iPositive ? I : kIFloor;
    const bool inputDominant = SDR <= 1.0f;
    const float Td0 = inputDominant ? (iPositive ? 1.0f / I : kTdFloor) : 0.0f;
    const bool fastIntegral = SDR <= 0.01f || 1.0f / DT < Ki0 / SDR;
    const PidTimeConstants<float> k =
        sdr_time_constants<float>(Ki0, Td0, SDR, DT, inputDominant, fastIntegral);

    // 2. Path gain and lead-lag coefficients.
    const bool propOnly = v->PROP_ONLY != 0 && v->PROP_ONLY_I >= I;
    float G;
    float a;
    float b = 0.0f;
    if (propOnly) {
        G = v->P;
        a = 0.0f;
    } else {
        G = I * v->P * (DT / 2.0f + 1.0f / k.Ki);
        if (v->RATE_CTRL != 0) G = G * DT;
        a = 2.0f * k.Td / (DT + 2.0f * k.Tf);
        b = DT / (DT + 2.0f * k.Tf);
    }
    const float h = k.Ki * DT / 2.0f;

    // 3. Error.
    const float e = v->SP - v->PV;

    // 4. Lead-lag filter on the error.
    float y = (a == 0.0f) ? e : lead_lag_step<float>(*v->DERIV, e, *v->ERR_PREV, a, b);
    if (!std::isfinite(y)) y = 0.0f;
    *v->DERIV = y;

    // 5. Reset state, following the external feedback.
    const float c = (1.0f - h) / (1.0f + h);
    const float d = (v->RATE_CTRL != 0) ? v->FDBK - *v->FDBK_PREV : 0.0f;
    float r = v->FDBK + c * (*v->RESET - v->FDBK) + d;
    if (!std::isfinite(r)) r = 0.0f;
    *v->RESET = r;

    // 6. Output and clamp.
    float u = y * G;
    if (!propOnly) u = u + r;
    if (u > v->HI_LIM) u = v->HI_LIM;
    if (u < v->LO_LIM) u = v->LO_LIM;

    // 7. Push the output out of a downstream select while another signal is
    // in control and this one wants to take over.
    if (v->FEEDBACK1 == 0) {
        if (v->LSS_HSS == 1 && y > v->THRESH) u = v->HI_LIM + 1.0f;
        else if (v->LSS_HSS == 2 && y < -v->THRESH) u = v->LO_LIM - 1.0f;
    }

    // 8. Store.
    *v->ERR_PREV = e;
    *v->FDBK_PREV = v->FDBK;
    *v->OUT = u;
}
