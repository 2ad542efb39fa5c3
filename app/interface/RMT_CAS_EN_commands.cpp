// RMT_CAS_EN at 160 ms: the commands around the remote-cascade enable latch.
// The configuration copy gates the release contact's pulse; the enable
// contact's rise, a Modbus or OPC command, the interface command or the
// setting ask for the latch; where no cascade enable contact is configured
// the contact's rise enables cascade and its release disables it. RMT_ENBL's inhibit flag of the
// remote speed setpoint is computed beside them.
#include "app/interface/RMT_CAS_EN.cells.h"

#include "app/control/CASC_ENBL.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int32_t kPulseOnRise = 5;

struct RMT_CAS_EN_command_blocks {
    refbk::EdgeState BI_ON, BI_OFF;
};
BlockRam<RMT_CAS_EN_command_blocks> RMT_CAS_EN_command_st;
}  // namespace

namespace r160 {

void RMT_CAS_EN_commands() {
    auto& c = RMT_CAS_EN;
    RMT_CAS_EN_command_blocks& s = RMT_CAS_EN_command_st;
    c.RCASC_CF_B_NAME = IFACE_IN_CASC.CAS_RMT_B_NAME;
    c.CONTACT_B_NAME = BI_MUX.RMT_CASC_ENBL_CONT_B_NAME;
    c.BI_ON_B_ACTION = refbk::RISE(s.BI_ON, c.CONTACT_B_NAME, c.BI_ON_ACT_OUT, c.BI_ON_E_TIME, c.BI_ON_R_TIME);
    c.CI_NOT_NOT = bk::NOT(c.CONTACT_B_NAME);
    if (c.RCASC_CF_B_NAME != 0) {
        refbk::ACTION_OUT(c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME, kPulseOnRise);
        c.BI_OFF_B_ACTION = refbk::RISE(s.BI_OFF, c.CI_NOT_NOT);
    }
    c.CAS_DIS_AND = bk::AND({c.BI_OFF_B_ACTION, CASC_ENBL.NO_BI_CF_NOT});
    // Without a cascade enable contact the remote-cascade contact enables
    // cascade as well.
    c.CAS_EN_AND = bk::AND({CASC_ENBL.NO_BI_CF_NOT, c.BI_ON_B_ACTION});
    c.OR_ENABLE_OR = bk::OR({c.BI_ON_B_ACTION, MOD_BW.BW_CMD_SEL_14, IFACE_IN_CASC.RMT_CAS_ENBL_B_NAME,
                             c.OR_ENABLE_IN_4, OPC_DATA.BW_CMDS_SEL_14});
    RMT_ENBL.RMT_SPD_INH_AND = bk::AND({RMT_ENBL.RMT_SP_INH_LATCH1, IFACE_IN_SPEED.USE_RMT_SPD_SP_B_NAME});
}

}  // namespace r160
