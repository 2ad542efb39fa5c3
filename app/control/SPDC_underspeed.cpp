// SPDC underspeed alarm: while the speed controller is in control (step
// A08), a turbine speed at or below the underspeed level (the configured
// level, or the minimum governor speed less a margin when that is lower)
// raises the alarm after its delay; the alarm and the shutdown each take
// effect where the interface enables them.
#include "app/control/SPDC.cells.h"

#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/protection/trip_block.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SPDC_underspeed_blocks {
    float UNDERSPD;  // the alarm block's timer
};
BlockRam<SPDC_underspeed_blocks> SPDC_underspeed_st;
}  // namespace

namespace r160 {

void SPDC_underspeed_margin() { SPDC.UNDR_SPD_M_SUBTRACT = CNFG_SETPT.MIN_GOV_A_NAME - SPDC.UNDR_SPD_M_IN_2; }

void SPDC_underspeed() {
    auto& c = SPDC;
    const float level = IFACE_IN_SPEED.UNDERSPEED_A_NAME, margin = c.UNDR_SPD_M_SUBTRACT;
    c.A_MIN_A_MIN = level < margin ? level : margin;
    bk::A_COMPARE(c.SPD_UDRSPD_A_COMPARE, c.SPD_UDRSPD_A_EQUAL, c.A_MIN_A_MIN, MPU.TURB_SPD_A_NAME);
    c.UNDER_SPD_B_SW = c.A08_STEP_SFC_STEP != 0 ? static_cast<uint32_t>(c.SPD_UDRSPD_A_COMPARE) : 0u;
    // No override; the alarm clears as soon as the condition ends.
    bk::TRIP(SPDC_underspeed_st.UNDERSPD, bk::TripOut{c.UNDERSPD_B_ALARM, c.UNDERSPD_LIGHT, c.UNDERSPD_HORN},
             c.UNDER_SPD_B_SW, 0, c.UNDERSPD_DLY_TIME, 1, bk::T160);
    c.UDRSPD_ALM_AND = bk::AND({c.UNDERSPD_B_ALARM, IFACE_IN_SPEED.ENA_USPD_AL_B_NAME});
    c.UDRSPD_SD_AND = bk::AND({c.UNDERSPD_B_ALARM, IFACE_IN_SPEED.ENA_USPD_SD_B_NAME});
}

}  // namespace r160
