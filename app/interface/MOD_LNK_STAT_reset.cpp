// MOD_LNK_STAT at 80 ms: the Modbus reset, from the common reset pulse or
// the delayed restart of the serial link. SIO1 at 160 ms: that restart, an
// on-delay of one pass of the program-running pulse.
#include "app/control/RESET.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/interface/SIO1.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kRestartDelay = 0.16f;

struct SIO1_blocks {
    bk::DelayState DLY_RST_MD;
};
BlockRam<SIO1_blocks> SIO1_st;
}  // namespace

namespace r80 {

void MOD_LNK_STAT_reset() {
    MOD_LNK_STAT.RST_MODBUS_OR = bk::OR({RESET.RST_ONE_SHOT, SIO1.DLY_RST_MD_DELAY});
}

}  // namespace r80

namespace r160 {

void SIO1_modbus_restart() {
    bk::DELAY(SIO1_st.DLY_RST_MD, SIO1.DLY_RST_MD_DELAY, &SIO1.DLY_RST_MD_R_TIME.ref(), PWR_UP_MSG.RUN_PRGM_ONE_SHOT,
              kRestartDelay, 0.0f, bk::T160);
}

}  // namespace r160
