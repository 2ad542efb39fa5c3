// SPD_SETPT and SPD_REF: the speed-tracking target of the reference and
// the reference's deviation above the speed.
#include "app/control/SPD_SETPT.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/SPD_REF.cells.h"
#include "app/control/DROOP.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "blocks/tune_coef.h"

namespace {
struct SPD_SETPT_blocks {
    bk::LagState SPD_TRK_LG;
    float SPD_TRK_LG_coef;
};
BlockRam<SPD_SETPT_blocks> SPD_SETPT_st;

constexpr float kDeviation = 200.0f;
}  // namespace

void SPD_SETPT_init_blks() { tune_lag(&SPD_SETPT_st.SPD_TRK_LG_coef, cells::SPD_SETPT.SPD_TRK_LG_LAG_TAU, bk::T80); }
void SPD_SETPT_lag_time_written() { SPD_SETPT_init_blks(); }

namespace r80 {
void SPD_SETPT_tracking() {
    auto& c = SPD_SETPT;
    c.SPD_TRCK_ADD = IFACE_IN_SPEED.SPEED_A_NAME + DROOP.DROOP_RPM_MULTIPLY;
    bk::LAG_COEF(SPD_SETPT_st.SPD_TRK_LG, c.SPD_TRK_LG_LAG_2, nullptr, c.SPD_TRCK_ADD, SPD_SETPT_st.SPD_TRK_LG_coef,
                 bk::T80);
    c.LIM_RSTTR_A_LIMITER = bk::A_LIMITER(c.SPD_TRK_LG_LAG_2, MPU_OVRD.MIN_LVL_1_ADD, IFACE_IN_SPEED.MAX_GOV_A_NAME);
    c.ADD_RPM_ADD = c.LIM_RSTTR_A_LIMITER + c.ADD_RPM_IN_2;
}
}  // namespace r80

namespace r160 {
void SPD_REF_deviation() {
    SPD_REF.SUB_REF_SUBTRACT = IFACE_OUT_SPEED.SPEED_REF_A_NAME - IFACE_IN_SPEED.SPEED_A_NAME;
    const float d = SPD_REF.SUB_REF_SUBTRACT;
    bk::A_COMPARE(SPD_REF.CP_DEV_A_COMPARE, SPD_REF.CP_DEV_A_EQUAL, d, kDeviation);
}
void SPD_REF_not_high() { SPD_REF.N_HIGH_NOT = bk::NOT(SPD_REF.CP_DEV_A_COMPARE); }
}  // namespace r160
