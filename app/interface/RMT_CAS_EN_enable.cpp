// RMT_CAS_EN at 80 ms: the remote-cascade enable latch. While remote cascade
// is configured, the rise of the enable list sets it and any disable clears
// it (a disable wins); while it is not configured the latch keeps its state.
// Remote cascade is selected while it is enabled, cascade is enabled and the
// cascade setpoint has matched.
#include "app/interface/RMT_CAS_EN.cells.h"

#include "app/control/CASC_RATE.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int32_t kPulseOnRise = 5;

struct RMT_CAS_EN_enable_blocks {
    refbk::EdgeState PLS_ON;
};
BlockRam<RMT_CAS_EN_enable_blocks> RMT_CAS_EN_enable_st;
}  // namespace

namespace r80 {

void RMT_CAS_EN_enable() {
    auto& c = RMT_CAS_EN;
    const uint32_t configured = c.RCASC_CF_B_NAME;
    if (configured != 0) {
        refbk::ACTION_OUT(c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME, kPulseOnRise);
        c.PLS_ON_B_ACTION = refbk::RISE(RMT_CAS_EN_enable_st.PLS_ON, c.OR_ENABLE_OR);
    }
    c.OR_DISABLE_OR = bk::OR({SHUTDOWNS.SD_SHOOT_ONE_SHOT, RMT_ENBL.PLS_ENABL_B_ACTION, c.BI_OFF_B_ACTION,
                              IFACE_IN_CASC.CASC_PV_FLT_B_NAME, IFACE_IN_CASC.RMT_CASC_FLT_B_NAME,
                              IFACE_IN_CASC.RMT_CAS_DIS_B_NAME, IFACE_IN_CASC.CASC_RMT_N_NOT, c.OR_DISABLE_IN_8,
                              MOD_BW.BW_CMD_SEL_15, OPC_DATA.BW_CMDS_SEL_15});
    if (configured != 0) bk::LATCH_R(c.ENABLED_LATCH_R, c.PLS_ON_B_ACTION, c.OR_DISABLE_OR);
    c.REM_SEL_AND = bk::AND({c.ENABLED_LATCH_R, IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, CASC_RATE.MATCHED_NOT});
    IFACE_OUT_CASC.REM_CAS_SEL_B_NAME = c.REM_SEL_AND;
}

}  // namespace r80
