// CASC_ENBL: cascade enable and disable requests, the enable latch and the
// inhibit list with its text.
#include "app/control/CASC_ENBL.cells.h"

#include "app/control/CRIT_SPD.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CASC_ENBL_blocks {
    refbk::EdgeState BI_ON, BI_OFF, PLS_ON, PLS_ENABL;
};
BlockRam<CASC_ENBL_blocks> CASC_ENBL_st;
}  // namespace

namespace r160 {
void CASC_ENBL_config() {
    CASC_ENBL.CASC_CF_B_NAME = IFACE_IN_CASC.USE_CASC_B_NAME;
    CASC_ENBL.NO_BI_CF_NOT = bk::NOT(IFACE_IN_CASC.ENBL_CONT_USED_B_NAME);
}
}  // namespace r160

namespace r80 {

void CASC_ENBL_latch() {
    auto& c = CASC_ENBL;
    auto& s = CASC_ENBL_st;
    const uint32_t cf = c.CASC_CF_B_NAME;
    c.CONTACT_B_NAME = BI_MUX.CASC_ENBL_CONT_B_NAME;
    if (cf != 0) {
        c.BI_ON_B_ACTION = refbk::RISE(s.BI_ON, c.CONTACT_B_NAME, c.BI_ON_ACT_OUT, c.BI_ON_E_TIME, c.BI_ON_R_TIME);
        c.BI_OFF_B_ACTION =
            refbk::RISE(s.BI_OFF, bk::NOT(c.CONTACT_B_NAME), c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME);
    }
    // With momentary contacts only the remote setpoint's enabling (not a
    // refused request) disables cascade.
    c.DIS_RMTSPD_B_SW = bk::SW<uint32_t>(IFACE_IN_SPEED.USE_DI_MOMENT_B_NAME, RMT_ENBL.ENABLED_LATCH_R,
                                         RMT_ENBL.PLS_ENABL_B_ACTION);
    c.OR_ENABLE_OR = bk::OR({IFACE_IN_CASC.CASC_ENBL_B_NAME, RMT_CAS_EN.CAS_EN_AND, MOD_BW.BW_CMD_SEL_16, c.OR_ENABLE_IN_4,
                             c.BI_ON_B_ACTION, OPC_DATA.BW_CMDS_SEL_16});
    c.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, c.OR_ENABLE_OR, c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME);
    c.OR_DISABLE_OR = bk::OR({c.BI_OFF_B_ACTION, c.OR_DISABLE_IN_2, RMT_CAS_EN.CAS_DIS_AND, SHUTDOWNS.ANY_SD_B_NAME,
                              IFACE_IN_CASC.CASC_PV_FLT_B_NAME, c.DIS_RMTSPD_B_SW, IFACE_IN_CASC.CASC_DIS_B_NAME,
                              CONF_VAL_1.NO_CASC_NOT, CRIT_SPD.IN_CRIT_OR, OPC_DATA.BW_CMDS_SEL_17,
                              MOD_BW.BW_CMD_SEL_17, SPDC.Z01_STEP_SFC_STEP});
    if (cf != 0) bk::LATCH_R(c.ENABLED_LATCH_R, c.PLS_ON_B_ACTION, c.OR_DISABLE_OR);
    IFACE_OUT_CASC.ENABLED_B_NAME = c.ENABLED_LATCH_R;
    c.DISABLED_NOT = bk::NOT(c.ENABLED_LATCH_R);
    c.PLS_ENABL_B_ACTION =
        refbk::RISE(s.PLS_ENABL, c.ZENABLED_ZMINUS1_B, c.PLS_ENABL_ACT_OUT, c.PLS_ENABL_E_TIME, c.PLS_ENABL_R_TIME);
    c.ENABLEDMES_B_ACTION = IFACE_OUT_CASC.ENABLED_B_NAME;
    refbk::ACTION_OUT(c.ENABLEDMES_ACT_OUT, c.ENABLEDMES_E_TIME, c.ENABLEDMES_R_TIME, 1);
}

void CASC_ENBL_inhibit() {
    auto& c = CASC_ENBL;
    uint32_t* const sel[] = {&c.INHIBITED_SEL_1.ref(), &c.INHIBITED_SEL_2.ref(), &c.INHIBITED_SEL_3.ref(),
                             &c.INHIBITED_SEL_4.ref(), &c.INHIBITED_SEL_5.ref(), &c.INHIBITED_SEL_6.ref()};
    int32_t* const no[] = {&c.INHIBITED_ALM_NO_1.ref(), &c.INHIBITED_ALM_NO_2.ref(), &c.INHIBITED_ALM_NO_3.ref(),
                           &c.INHIBITED_ALM_NO_4.ref(), &c.INHIBITED_ALM_NO_5.ref(), &c.INHIBITED_ALM_NO_6.ref()};
    uint32_t in[] = {CONF_VAL_1.NO_CASC_NOT, SHUTDOWNS.ANY_SD_B_NAME, IFACE_IN_CASC.CASC_PV_FLT_B_NAME, 0u, 0u,
                     SPDC.Z01_STEP_SFC_STEP};
    // Without the pass reset the list keeps what it has shown.
    if (c.INHIBITED_RST == 0)
        for (size_t n = 0; n < 6; ++n) in[n] = bk::OR({in[n], *sel[n]});
    refbk::LIST_PASS(sel, no, c.INHIBITED_LATCH1, c.INHIBITED_HORN, c.INHIBITED_FIRST_ALM,
                     c.INHIBITED_LOGICAL_OR, in, 1);
    bk::I_TO_STR(c.WHY_INHIBIT_I_TO_STR, c.INHIBITED_FIRST_ALM,
                 {{0, "Not Inhibited"},
                  {1, "No CASC Configured"},
                  {2, "Unit is TRIPPED"},
                  {3, "CASC PV is Failed"},
                  {6, "Normal SD in Progress"}});
}

}  // namespace r80
