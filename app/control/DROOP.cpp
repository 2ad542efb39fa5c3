// DROOP: the deadband's reference switch and the droop lag of the selected
// valve demand with the speed PID's integral time.
#include "app/control/DROOP.cells.h"

#include <cmath>

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct DROOP_blocks {
    float x_prev;  // the lag's input of the previous pass
};
BlockRam<DROOP_blocks> DROOP_st;
constexpr float kMinLagTime = 0.0063694264f;
float finite_or_zero(float v) { return std::isfinite(v) ? v : 0.0f; }
}  // namespace

namespace r10 {

void DROOP_reference() { DROOP.SW_REF_A_SW = bk::SW<float>(DROOP.SW_REF_CTRL, DROOP.LIM_FDBK_A_LIMITER, 0.0f); }

// A delayed speed above the upper offset reads as the upper offset, any
// other as at least the lower offset.
void DROOP_feedback_limit() {
    const float z = DROOP.Z_SPD_ZMINUS1;
    const float upper = DROOP.SUB_RPM2_SUBTRACT;
    DROOP.LIM_FDBK_A_LIMITER = z > upper ? upper : bk::A_MAX(z, DROOP.ADD_OFSET_ADD);
}

// A Tustin first-order lag whose time is the integral time 1/I of the PID
// (1e34 at a gain of 0), at least two steps' worth.
void DROOP_lag() {
    DROOP.SET_LAG_DIVIDE = bk::DIVIDE(1.0f, SPD_CTRL.I_GAIN_A_SW);
    const float T = DROOP.SET_LAG_DIVIDE < kMinLagTime ? kMinLagTime : static_cast<float>(DROOP.SET_LAG_DIVIDE);
    const float x = finite_or_zero(DROOP.ACTR_Z_ZMINUS1);
    const float y = DROOP.SPD_DP_LAG_LAG_2;
    const float delta = (x + DROOP_st.x_prev - 2.0f * y) * bk::T10 / (2.0f * T + bk::T10);
    DROOP_st.x_prev = x;
    DROOP.SPD_DP_LAG_LAG_2 = finite_or_zero(y + delta);
    DROOP.SPD_DP_LAG_DERIV = finite_or_zero(delta / bk::T10);
    DROOP.DROOP_RPM_MULTIPLY =
        DROOP.SPD_DP_LAG_LAG_2 * IFACE_IN_SPEED.DROOP_PCT_A_NAME * IFACE_IN_SPEED.MIN_GOV_A_NAME * 0.0001f;
}

}  // namespace r10

namespace r160 {

void DROOP_values() {
    auto& d = DROOP;
    d.ADD_OFSET_ADD = d.RPM_DB_A_NAME + CNFG_SETPT.MIN_GOV_A_NAME;
    d.SPD_DB2_A_SW = bk::SW<float>(d.SPD_DB2_CTRL, d.RPM_DB_A_NAME, 0.0f);
    d.SUB_RPM2_SUBTRACT = IFACE_IN_SPEED.MAX_GOV_A_NAME - d.RPM_DB_A_NAME;
}

}  // namespace r160
