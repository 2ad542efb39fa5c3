// SD_LOGIC in the 10 ms group: the power-up shutdown window.
#include "app/control/SD_LOGIC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SD_LOGIC_blocks {
    bk::OneShotState PWR_UP_SD;
};
BlockRam<SD_LOGIC_blocks> SD_LOGIC_st;
}  // namespace

namespace r10 {

// 1 from the start until DLY_TIME has passed, with the whole seconds left.
void SD_LOGIC_power_up() {
    bk::ONE_SHOT(SD_LOGIC_st.PWR_UP_SD, SD_LOGIC.PWR_UP_SD_ONE_SHOT, &SD_LOGIC.PWR_UP_SD_R_TIME.ref(), 1,
                 SD_LOGIC.PWR_UP_SD_DLY_TIME, bk::T10);
}

}  // namespace r10
