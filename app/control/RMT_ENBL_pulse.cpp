// RMT_ENBL at 80 ms: one pass on the rise of the remote speed setpoint's
// enable, as the last pass left it. Enabling the remote speed setpoint drops
// remote cascade.
#include "app/control/RMT_ENBL.cells.h"

#include "app/control/ref_blocks.h"
#include "runtime/appmem.h"

namespace {
constexpr int32_t kPulseOnRise = 5;

struct RMT_ENBL_pulse_blocks {
    refbk::EdgeState PLS_ENABL;
};
BlockRam<RMT_ENBL_pulse_blocks> RMT_ENBL_pulse_st;
}  // namespace

namespace r80 {

void RMT_ENBL_enable_pulse() {
    auto& c = RMT_ENBL;
    refbk::ACTION_OUT(c.PLS_ENABL_ACT_OUT, c.PLS_ENABL_E_TIME, c.PLS_ENABL_R_TIME, kPulseOnRise);
    c.PLS_ENABL_B_ACTION = refbk::RISE(RMT_ENBL_pulse_st.PLS_ENABL, c.ZENABLED_ZMINUS1_B);
}

}  // namespace r80
