// RMT_SETPT: the remote speed setpoint, filtered by a first-order lag
// (bilinear step over the 80 ms period, time constant at least 0.05095541 s)
// and held within a deadband: the output moves only when the filtered value
// leaves the band of +/-DB around it. A setpoint that is no number is
// filtered as 0; a filter state that overflows starts again from 0.
#include "app/interface/RMT_SETPT.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kMinLagTau = 0.05095541f;

struct RMT_SETPT_blocks {
    float x_prev;
};
BlockRam<RMT_SETPT_blocks> RMT_SETPT_st;
}  // namespace

namespace r80 {

void RMT_SETPT_filter() {
    auto& c = RMT_SETPT;
    if (IFACE_IN_SPEED.USE_RMT_SPD_SP_B_NAME == 0) return;
    float tau = IFACE_IN_SPEED.RMT_SPD_LAGTAU_A_NAME;
    if (!(tau > kMinLagTau)) tau = kMinLagTau;
    float x = c.A_LIMITER_A_LIMITER;
    if (!bk::finite(x)) x = 0.0f;
    const float k = bk::T80 / (2.0f * tau + bk::T80);
    const float d = k * (x + RMT_SETPT_st.x_prev - 2.0f * c.LAG_LAG_2);
    float lag = c.LAG_LAG_2 + d;
    float deriv = d / bk::T80;
    if (!bk::finite(lag)) lag = 0.0f;
    if (!bk::finite(deriv)) deriv = 0.0f;
    c.LAG_LAG_2 = lag;
    c.LAG_DERIV = deriv;
    RMT_SETPT_st.x_prev = x;
    const float db = IFACE_IN_SPEED.RMT_SPD_DB_A_NAME;
    const float prev = c.RMT_DEAD_A_DEADBAND;
    const float hi = lag + db, lo = lag - db;
    const float capped = prev < hi ? prev : hi;
    c.RMT_DEAD_A_DEADBAND = capped > lo ? capped : lo;
}

void RMT_SETPT_switch() {
    SPDC.RMT_SPD_KW_SW_A_SW = bk::SW<float>(SPDC.RMT_SPD_KW_SW_CTRL, RMT_SETPT.RMT_DEAD_A_DEADBAND, 0.0f);
}

}  // namespace r80

#include "app/analog/AO_MUX.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"

namespace r80 {

void RMT_SETPT_limiter() {
    auto& c = RMT_SETPT;
    c.A_LIMITER_A_LIMITER =
        bk::A_LIMITER(IFACE_IN_SPEED.REM_SPD_SP_A_NAME, c.MIN_SPD_SAMP_TUNE, c.MAX_SPD_SAMP_TUNE);
    IFACE_OUT_SPEED.RMT_SPD_INPUT_A_NAME = c.A_LIMITER_A_LIMITER;
    AO_MUX.RMT_SPD_SP_A_NAME = c.A_LIMITER_A_LIMITER;
}

}  // namespace r80
