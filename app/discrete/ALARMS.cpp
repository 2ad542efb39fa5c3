// ALARMS at 10 ms: a pulse of DLY_TIME that starts when a latched shutdown
// clears (and once at start-up) and overrides alarm entry 17.
#include "app/discrete/ALARMS.cells.h"

#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct ALARMS_blocks {
    bk::OneShotState RST_SD_OVRD;
};
BlockRam<ALARMS_blocks> ALARMS_st;
}  // namespace

namespace r10 {

void ALARMS_shutdown_override() {
    bk::ONE_SHOT(ALARMS_st.RST_SD_OVRD, ALARMS.RST_SD_OVRD_ONE_SHOT, &ALARMS.RST_SD_OVRD_R_TIME.ref(),
                 SHUTDOWNS.NOT_SD_NOT, ALARMS.RST_SD_OVRD_DLY_TIME, bk::T10);
    ALARMS.OVRD_17_OR = bk::OR({ALARMS.ALM_OVRDS_LIST_17, ALARMS.RST_SD_OVRD_ONE_SHOT});
}

}  // namespace r10
