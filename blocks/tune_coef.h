// Tuning and coefficient routines: turn settings into the coefficients that
// blocks use every pass (PID, lead-lag and lag filters, straight-line and
// curve segments, cubic spline segments). Single precision; results are
// written through the pointer arguments.
#pragma once

#include <cstdint>

// PID coefficients of the PID block: b and a of the lead-lag filter, path
// gain G, reset factor c and the proportional-only flag. The three reals
// after dt play no part.
void tune_pid(float* b, float* G, float* a, float* c, int32_t PROP_ONLY, uint32_t* propOnlyFlag,
              uint32_t RATE_CTRL, float P, float I, float dt, float unused1, float unused2,
              float unused3, float PROP_ONLY_I, float SDR);
// The same coefficients computed on half steps.
void tune_pid824(float* b, float* G, float* a, float* c, int32_t PROP_ONLY,
                 uint32_t* propOnlyFlag, uint32_t RATE_CTRL, float P, float I, float dt,
                 float unused1, float unused2, float unused3, float PROP_ONLY_I, float SDR);

void tune_lead_lag(float* b, float* a, float lead, float lag, float dt);
void tune_lead(float* b, float* a, float lead, float dt);
void tune_lag(float* b, float lag, float dt);

void cal_slope_intercept(float* slope, float* intercept, float x1, float y1, float x2, float y2);
void crv_less_than_edit(float* x, float limit);
void crv_gtr_than_edit(float* x, float limit);
void tune_crv_fxy(float* x0, float y0, float* intercept, float* slope, float x1, float y1);
void tune_crv_mxy(float x0, float y0, float* intercept1, float* slope1, float* x1, float y1,
                  float* intercept2, float* slope2, float x2, float y2);
void tune_crv_lxy(float x0, float y0, float* intercept, float* slope, float* x1, float y1);

void tune_spline_fm(float* x0, float y0, float* slope, float x1, float y1, float x2, float y2,
                    float weight);
void tune_spline_lm(float* xn, float yn, float* slope, float xn1, float yn1, float xn2, float yn2,
                    float weight);
void tune_spline_im(float* x, float y, float* slope, float xPrev, float yPrev, float xNext,
                    float yNext, float weight);
void tune_spline_g(float x0, float y0, float m0, float* c1, float* c2, float* c3, float x1,
                   float y1, float m1);
void tune_spline_gl(float v1, float v2, float v3, float* o1, float* o2, float* o3);
