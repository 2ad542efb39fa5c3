// CNFG_SETPT: the remote speed setpoint's maximum rate, and the reduced
// overspeed option, cleared when its disable rises so that it must be chosen
// again.
#include "app/config/CNFG_SETPT.cells.h"

#include "app/control/OSPD.cells.h"
#include "runtime/appmem.h"

namespace {
struct CNFG_SETPT_blocks {
    uint32_t disable_prev;  // the disable of the previous pass
};
BlockRam<CNFG_SETPT_blocks> CNFG_SETPT_st;
}  // namespace

namespace r160 {

void CNFG_SETPT_settings() {
    auto& c = CNFG_SETPT;
    c.RMT_SPD_SP_MAX_RT_A_NAME = c.RMT_SPD_SP_MAX_RT_IN;
    const uint32_t disable = OSPD.REDICE_OSPD_NOT_NOT;
    if (disable != 0 && CNFG_SETPT_st.disable_prev == 0) c.USE_REDUC_OSPD_TUNE = 0;
    CNFG_SETPT_st.disable_prev = disable;
    c.USE_REDUC_OSPD_SAMP_BTUNE = c.USE_REDUC_OSPD_TUNE;
}

}  // namespace r160
