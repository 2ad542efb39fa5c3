// CNTRL_STOP: enable and disable of the controlled stop (80 ms).
#include "app/control/CNTRL_STOP.cells.h"

#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/control/standin/speedref_standin.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CNTRL_STOP_blocks {
    refbk::EdgeState PLS_ON, BI_OFF;
};
BlockRam<CNTRL_STOP_blocks> CNTRL_STOP_st;
}  // namespace

namespace r80 {

void CNTRL_STOP_enable() {
    auto& c = CNTRL_STOP;
    auto& s = CNTRL_STOP_st;
    c.OR_ENABLE_OR = bk::OR({IFACE_IN_START.CNTRL_ST_B_NAME, c.BI_ON_B_ACTION, MOD_BW.BW_CMD_SEL_21, c.OR_ENABLE_IN_4});
    c.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, c.OR_ENABLE_OR);
    c.CI_NOT_NOT = bk::NOT(c.CONTACT_B_NAME);
    c.BI_OFF_B_ACTION = refbk::RISE(s.BI_OFF, c.CI_NOT_NOT);
}

void CNTRL_STOP_disable() {
    auto& c = CNTRL_STOP;
    c.OR_DISABLE_OR = bk::OR({c.BI_OFF_B_ACTION, IFACE_IN_START.ANY_SD_B_NAME, MOD_BW.BW_CMD_SEL_22, c.OR_DISABLE_IN_4,
                              c.NOT_USED_NOT, OSPD.MV_REF_OR, IFACE_IN_START.CSD_ABORT_B_NAME, c.RST_LTCH_DELAY,
                              START.NOT_STRTD_NOT});
    if (c.OR_DISABLE_OR != 0) {
        c.NSD_ENABLED_LATCH_R = 0;
        c.DISABLED_NOT = 1;
    } else {
        bk::LATCH_R(c.NSD_ENABLED_LATCH_R, c.PLS_ON_B_ACTION, 0);
        c.DISABLED_NOT = bk::NOT(c.NSD_ENABLED_LATCH_R);
    }
    IFACE_OUT_START.CSD_DISABLED_B_NAME = c.DISABLED_NOT;
}

}  // namespace r80

namespace {
struct CNTRL_STOP_settings_blocks {
    bk::DelayState RST_LTCH;
};
BlockRam<CNTRL_STOP_settings_blocks> CNTRL_STOP_settings_st;
}  // namespace

namespace r160 {

void CNTRL_STOP_settings() {
    auto& c = CNTRL_STOP;
    c.USE_STOP_B_NAME = c.USE_STOP_IN;
    c.NOT_USED_NOT = bk::NOT(c.USE_STOP_B_NAME);
    bk::DELAY(CNTRL_STOP_settings_st.RST_LTCH, c.RST_LTCH_DELAY, nullptr, c.Z_HPRPLIM_ZMINUS1_B, 1.0f, 0.0f,
              bk::T160);
}

}  // namespace r160
