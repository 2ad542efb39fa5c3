// HP_LIMTER at 80 ms: when the entered limiter value is not taken. It is
// disabled while the operator raises or lowers the limiter, once the
// limiter has reached the entered value (except in the pass of the service
// write's pulse), on a shutdown and during a normal shutdown sequence; and
// how long an entry has stood refused.
#include "app/control/HPLM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPDC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct HP_LIMTER_service_blocks {
    bk::DelayState LIMITED;
};
BlockRam<HP_LIMTER_service_blocks> HP_LIMTER_service_st;
}  // namespace

namespace r80 {

void HP_LIMTER_service_disable() {
    auto& c = HP_LIMTER;
    auto& v = IFACE_IN_VLV;
    c.H_SER_OK_NOT_NOT = bk::NOT(c.H_SER_OK_ONE_SHOT);
    c.AT_ENTERED_AND = bk::AND({c.H_SER_OK_NOT_NOT, c.HP_RAMP_P_LIM_4});
    v.SD_SEQ_NORM_SD_B_NAME = SPDC.Z01_STEP_SFC_STEP;
    c.H_SER_DIS_OR = bk::OR({HPLM.R_L_OR, c.AT_ENTERED_AND, v.ANY_SD_B_NAME, v.SD_SEQ_NORM_SD_B_NAME});
    bk::DELAY(HP_LIMTER_service_st.LIMITED, c.LIMITED_DELAY, &c.LIMITED_R_TIME.ref(), c.INVALID_SP_OR,
              c.LIMITED_DLY_TIME, 0.0f, bk::T80);
}

}  // namespace r80
