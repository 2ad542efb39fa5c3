// SPEED_SIM at 10 ms: the simulated speed. The valve percent of the last
// pass, lagged like a rotor, runs through a breakpoint curve that rises from
// standstill through fractions of the overspeed test limit and the trip level
// to the test limit itself; it reaches the turbine speed's high select while
// the internal simulation is on and calibration mode is off.
#include <cmath>

#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kPoints = 8;           // the origin and X_2 .. X_8
constexpr float kStepDown = 0.001f;  // a breakpoint out of order moves below the next

struct SPEED_SIM_speed_blocks {
    bk::LagState LAG_2;
};
BlockRam<SPEED_SIM_speed_blocks> SPEED_SIM_speed_st;

// The curve's output at x over the points px/py, px increasing: linear
// between breakpoints, the first segment extended below the first point,
// flat above the last.
float curve(const float (&px)[kPoints], const float (&py)[kPoints], float x) {
    if (x >= px[kPoints - 1]) return py[kPoints - 1];
    int k = 1;
    while (k < kPoints - 1 && x > px[k]) ++k;
    const float x0 = px[k - 1], x1 = px[k];
    return py[k - 1] + (py[k] - py[k - 1]) * (x - x0) / (x1 - x0);
}
}  // namespace

void SPEED_SIM_curve_init_blks() { cells::SPEED_SIM.CURVES_2_REV_OUT = ""; }

namespace r10 {

void SPEED_SIM_speed() {
    auto& c = SPEED_SIM;
    const float valve = std::isfinite(c.VLV_PERCENT_ZMINUS1) ? static_cast<float>(c.VLV_PERCENT_ZMINUS1) : 0.0f;
    bk::LAG(SPEED_SIM_speed_st.LAG_2, c.LAG_2_LAG_2, &c.LAG_2_DERIV.ref(), valve, c.LAG_2_LAG_TAU, bk::T10);

    const float limit = CNFG_SETPT.OST_LIMIT_A_NAME;
    c.MULT_PT25_MULTIPLY = limit * 0.25f;
    c.MULT_PT5_MULTIPLY = limit * 0.5f;
    c.MULT_PT6_MULTIPLY = limit * 0.6f;
    c.MULT_PT75_MULTIPLY = limit * 0.75f;

    float px[kPoints] = {0.0f,           c.CURVES_2_X_2, c.CURVES_2_X_3, c.CURVES_2_X_4,
                         c.CURVES_2_X_5, c.CURVES_2_X_6, c.CURVES_2_X_7, c.CURVES_2_X_8};
    const float py[kPoints] = {0.0f,
                               c.CURVES_2_Y_2,
                               c.MULT_PT25_MULTIPLY,
                               c.MULT_PT5_MULTIPLY,
                               c.MULT_PT6_MULTIPLY,
                               c.MULT_PT75_MULTIPLY,
                               CNFG_SETPT.OSPD_TRIP_A_NAME,
                               limit};
    // From the top down, each breakpoint must lie below the one above it.
    int first = 0;
    for (int k = kPoints - 2; k >= 0; --k) {
        if (!(px[k] < px[k + 1])) {
            px[k] = px[k + 1] - kStepDown;
            first = k + 1;  // X_k numbering: the origin is point 1
        }
    }
    c.CURVES_2_LIMIT_ALM = first != 0 ? 1u : 0u;
    c.CURVES_2_FIRST_X_A = static_cast<float>(first);

    c.TURB_SPD_A_NAME = curve(px, py, c.LAG_2_LAG_2);
    c.TURB_SPD_A_SW_A_SW = bk::SW<float>(CALMODE.CALMODE_B_NAME, c.TURB_SPD_A_NAME, 0.0f);
    c.ENA_SIMSPD_A_SW = bk::SW<float>(c.ENA__SIM_B_NAME, 0.0f, c.TURB_SPD_A_SW_A_SW);
}

}  // namespace r10
