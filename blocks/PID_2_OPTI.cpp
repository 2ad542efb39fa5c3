#include "blocks/PID_2_OPTI.h"

#include <cmath>

#include "blocks/PID_2.h"

// Integral rate used for I <= 0.
static constexpr double kIFloor = 1e-5;
static constexpr double kLoLim = 0.0;
static constexpr double kHiLim = 100.0;

double PID_2_OPTI(PidOptiData* d, int32_t PID_TYPE, int32_t RATE_CTRL, int32_t LSS_HSS,
                  int32_t FEEDBACK1, int32_t reinit, double ref, double meas, double fdbk,
                  double P, double I, double SDR, double THRESH, double dt, double firstCall)
{
    // Time constants as in the single-precision block, with the substitute
    // rate standing in for I <= 0 (also in the quotient I/SDR, so that the
    // path gain stays 0 instead of 0 x inf).
    const bool iPositive = I > 0.0;
    const double Ki0 = iPositive ? I : kIFloor;
    const bool inputDominant = SDR <= 1.0;
    const double Td0 = inputDominant ? 1.0 / Ki0 : 0.0;
    const bool fastIntegral = SDR <= 0.01 || 1.0 / dt < Ki0 / SDR;
    PidTimeConstants<double> k =
        sdr_time_constants<double>(Ki0, Td0, SDR, dt, inputDominant, fastIntegral);

    const bool propOnly = PID_TYPE == 1;
    double G;
    double a;
    double b = 0.0;
    if (propOnly) {
        G = P;
        a = 0.0;
        k.Tf = dt / 2.0;
    } else {
        G = I * P * (dt / 2.0 + 1.0 / k.Ki);
        if (RATE_CTRL == 1) G = G * dt;
        a = 2.0 * k.Td / (dt + 2.0 * k.Tf);
        b = dt / (dt + 2.0 * k.Tf);
    }
    const double h = k.Ki * dt / 2.0;
    const double c = (1.0 - h) / (1.0 + h);
    const double e = ref - meas;

    if (d->INIT == 0 || firstCall == 1.0) {
        d->ERR_PREV = 0.0;
        d->INIT = 1;
        d->DERIV = 0.0;
        d->RESET = fdbk;
        d->FDBK_PREV = fdbk;
    }
    const double dFb = (RATE_CTRL == 1) ? fdbk - d->FDBK_PREV : 0.0;

    double u;
    double y;
    if (reinit > 0) {
        // Bumpless start: the state is set so that the next step with the same
        // error gives a zero lead-lag output and a reset state equal to fdbk.
        if (propOnly) {
            d->ERR_PREV = e;
            y = e;
            u = G * e;
        } else {
            double div = 2.0 * a - 1.0;
            if (div == 0.0) div = 1e-5;
            d->ERR_PREV = (2.0 * a * e + e) / div;
            d->DERIV = (d->ERR_PREV - e) * a;
            d->RESET = fdbk - dFb / c;
            if (a == 0.0) d->RESET = d->RESET - e * G;
            y = d->DERIV;
            u = fdbk;
        }
    } else {
        y = (a == 0.0) ? e : lead_lag_step<double>(d->DERIV, e, d->ERR_PREV, a, b);
        if (!std::isfinite(y)) y = 0.0;
        d->DERIV = y;
        double r = fdbk + c * (d->RESET - fdbk) + dFb;
        if (!std::isfinite(r)) r = 0.0;
        d->RESET = r;
        u = y * G;
        if (!propOnly) u = u + r;
        d->ERR_PREV = e;
    }

    if (u > kHiLim) u = kHiLim;
    if (u < kLoLim) u = kLoLim;
    if (FEEDBACK1 == 0) {
        if (LSS_HSS == 1 && y > THRESH) u = kHiLim + 1.0;
        else if (LSS_HSS == 2 && y < -THRESH) u = kLoLim - 1.0;
    }
    d->FDBK_PREV = fdbk;
    return u;
}
