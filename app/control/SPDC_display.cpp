// SPDC display values: where the reference stands within the governor range
// (the load percentage of the interfaces), and whether the reference has
// reached the margin below the maximum governor (the overspeed test reads it).
#include "app/control/SPDC.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kMaxGovMargin = 1.0f;
constexpr float kPercent = 100.0f;
}  // namespace

namespace r80 {

void SPDC_load_percent() {
    auto& c = SPDC;
    const float min_gov = CNFG_SETPT.MIN_GOV_A_NAME;
    c.SP_RPM_SUBTRACT = c.SPEED_REF_RAMP - min_gov;
    c.RANGE_SUBTRACT = IFACE_IN_SPEED.MAX_GOV_A_NAME - min_gov;
    // A zero range gives +-1e34 by the sign of the reference's offset.
    c.RATIO_DIVIDE = bk::DIVIDE(c.SP_RPM_SUBTRACT, c.RANGE_SUBTRACT);
    c.PCT_RANGE_MULTIPLY = kPercent * c.RATIO_DIVIDE;
}

void SPDC_max_gov_check() {
    auto& c = SPDC;
    bk::A_COMPARE(c.SR_MXGGRRE_A_COMPARE, c.SR_MXGGRRE_A_EQUAL, c.SUB_1_SUBTRACT,
                  IFACE_OUT_SPEED.SPEED_REF_A_NAME);
}

}  // namespace r80

namespace r160 {

void SPDC_max_gov_margin() { SPDC.SUB_1_SUBTRACT = IFACE_IN_SPEED.MAX_GOV_A_NAME - kMaxGovMargin; }

}  // namespace r160
