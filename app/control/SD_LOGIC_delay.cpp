// SD_LOGIC at 20 ms: the not-shut-down delay. Its output rises once no
// shutdown has been active for DLY_TIME and falls with the next shutdown.
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SD_LOGIC_delay_blocks {
    bk::DelayState SD_NOT_DLY;
};
BlockRam<SD_LOGIC_delay_blocks> SD_LOGIC_delay_st;
}  // namespace

namespace r20 {

void SD_LOGIC_not_sd_delay() {
    auto& c = SD_LOGIC;
    bk::DELAY(SD_LOGIC_delay_st.SD_NOT_DLY, c.SD_NOT_DLY_DELAY, &c.SD_NOT_DLY_R_TIME.ref(), SHUTDOWNS.NOT_SD_NOT,
              c.SD_NOT_DLY_DLY_TIME, 0.0f, bk::T20);
}

}  // namespace r20
