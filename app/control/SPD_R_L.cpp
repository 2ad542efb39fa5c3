// SPD_R_L: raise and lower commands of the speed reference (80 ms).
#include "app/control/SPD_R_L.cells.h"

#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SPD_R_L_blocks {
    bk::DelayState DI_LWR_DLY, DI_RSE_DLY, LWR_DLY, PNL_MD_RDL, PNL_MD_LDL;
    bk::OneShotState LWR_OS, RSE_OS, LWR_PLS;
};
BlockRam<SPD_R_L_blocks> SPD_R_L_st;
}  // namespace

namespace r80 {

void SPD_R_L_lower() {
    auto& c = SPD_R_L;
    auto& s = SPD_R_L_st;
    // Contact commands, from the combined speed/cascade contacts when configured.
    IFACE_IN_SPEED.LWR_SPD_B_NAME = BI_MUX.SPD_LWR_CONT_B_NAME;
    IFACE_IN_SPEED.RAZ_SPD_B_NAME = BI_MUX.SPD_RAISE_CONT_B_NAME;
    IFACE_IN_SPEED.SPD_LWR_CMD_B_SW =
        bk::SW<uint32_t>(BI_MUX.SPDCAS_L_USED_B_NAME, IFACE_IN_SPEED.LWR_SPD_B_NAME, BI_MUX.SPD_CASC_LWR_B_NAME);
    IFACE_IN_SPEED.SPD_RAZ_CMD_B_SW =
        bk::SW<uint32_t>(BI_MUX.SPDCAS_R_USED_B_NAME, IFACE_IN_SPEED.RAZ_SPD_B_NAME, BI_MUX.SPD_CASC_RAZ_B_NAME);
    bk::DELAY(s.DI_LWR_DLY, c.DI_LWR_DLY_DELAY, &c.DI_LWR_DLY_R_TIME.ref(), IFACE_IN_SPEED.SPD_LWR_CMD_B_SW, 0.08f,
              0.08f, bk::T80);
    c.N_DI_LWR_NOT = bk::NOT(c.DI_LWR_DLY_DELAY);
    bk::ONE_SHOT(s.LWR_OS, c.LWR_OS_ONE_SHOT, &c.LWR_OS_R_TIME.ref(), c.DI_LWR_DLY_DELAY, 0.1f, bk::T80);
    // The lower path.
    const uint32_t h_ser_rse = IFACE_IN_SPEED.H_SER_RSE_B_NAME;
    const uint32_t h_ser_lwr = IFACE_IN_SPEED.H_SER_LWR_B_NAME;
    c.NONDI_LWR_OR = bk::OR({h_ser_lwr, MOD_BW.BW_CMD_SEL_2, c.NONDI_LWR_IN_3, OPC_DATA.BW_CMDS_SEL_2});
    const uint32_t rem_ena = SPDC.REM_ENA_AND;
    c.L_LTCH_DIS_OR = bk::OR({c.N_DI_LWR_NOT, rem_ena, IFACE_OUT_CASC.ENABLED_B_NAME, c.L_LTCH_DIS_IN_4,
                              START.NOT_STRTD_NOT, ENTR_SETPT.DIRECT_ENT_B_ACTION, c.NONDI_LWR_OR, h_ser_rse});
    bk::LATCH(c.LWR_LTCH_LATCH, c.LWR_OS_ONE_SHOT, c.L_LTCH_DIS_OR);
    c.LOWER_REF_OR = bk::OR({c.LWR_OS_ONE_SHOT, c.LWR_LTCH_LATCH, c.NONDI_LWR_OR});
    c.NO_REM_NOT = bk::NOT(rem_ena);
    c.SPD_LWR_AND = bk::AND({c.LOWER_REF_OR, SPDC.B00_STEP_SFC_STEP, c.NO_REM_NOT});
    // A lower held for 0.2 s cancels a latched raise.
    bk::DELAY(s.LWR_DLY, c.LWR_DLY_DELAY, &c.LWR_DLY_R_TIME.ref(), c.SPD_LWR_AND, 0.2f, 0.0f, bk::T80);
    bk::ONE_SHOT(s.LWR_PLS, c.LWR_PLS_ONE_SHOT, &c.LWR_PLS_R_TIME.ref(), c.LWR_DLY_DELAY, 0.2f, bk::T80);
    // The raise contact.
    bk::DELAY(s.DI_RSE_DLY, c.DI_RSE_DLY_DELAY, &c.DI_RSE_DLY_R_TIME.ref(), IFACE_IN_SPEED.SPD_RAZ_CMD_B_SW, 0.08f,
              0.08f, bk::T80);
    c.N_DI_RSE_NOT = bk::NOT(c.DI_RSE_DLY_DELAY);
    bk::ONE_SHOT(s.RSE_OS, c.RSE_OS_ONE_SHOT, &c.RSE_OS_R_TIME.ref(), c.DI_RSE_DLY_DELAY, 0.1f, bk::T80);
}

void SPD_R_L_raise() {
    auto& c = SPD_R_L;
    const uint32_t h_ser_rse = IFACE_IN_SPEED.H_SER_RSE_B_NAME;
    c.NONDI_RAZ_OR = bk::OR({MOD_BW.BW_CMD_SEL_1, c.NONDI_RAZ_IN_2, h_ser_rse, UNIT_DEMO.B_CMDS_LIST_4,
                             OPC_DATA.BW_CMDS_SEL_1});
    c.R_LTCH_DIS_OR = bk::OR({c.N_DI_RSE_NOT, SPDC.REM_ENA_AND, IFACE_OUT_CASC.ENABLED_B_NAME, c.R_LTCH_DIS_IN_4,
                              START.NOT_STRTD_NOT, ENTR_SETPT.DIRECT_ENT_B_ACTION, c.NONDI_RAZ_OR,
                              c.LWR_PLS_ONE_SHOT, IFACE_IN_SPEED.H_SER_LWR_B_NAME});
    bk::LATCH(c.RSE_LTCH_LATCH, c.RSE_OS_ONE_SHOT, c.R_LTCH_DIS_OR);
    c.RAISE_OR = bk::OR({c.RSE_OS_ONE_SHOT, c.RSE_LTCH_LATCH, c.NONDI_RAZ_OR});
    c.SPD_RSE_AND = bk::AND({c.RAISE_OR, SPDC.B00_STEP_SFC_STEP, c.NO_REM_NOT});
    c.RSE_LWR_OR = bk::OR({c.SPD_LWR_AND, c.SPD_RSE_AND});
}

void SPD_R_L_fast_rate() {
    auto& c = SPD_R_L;
    auto& s = SPD_R_L_st;
    c.FST_DLY_TM_A_NAME = IFACE_IN_SPEED.SP_FRATE_DLY_A_NAME;
    bk::DELAY(s.PNL_MD_RDL, c.PNL_MD_RDL_DELAY, &c.PNL_MD_RDL_R_TIME.ref(), c.RAISE_OR, c.FST_DLY_TM_A_NAME, 0.0f,
              bk::T80);
    bk::DELAY(s.PNL_MD_LDL, c.PNL_MD_LDL_DELAY, &c.PNL_MD_LDL_R_TIME.ref(), c.SPD_LWR_AND, c.FST_DLY_TM_A_NAME, 0.0f,
              bk::T80);
    c.USE_FASTRATE_OR = bk::OR({c.PNL_MD_RDL_DELAY, c.USE_FASTRATE_IN_2, c.PNL_MD_LDL_DELAY});
}

}  // namespace r80
