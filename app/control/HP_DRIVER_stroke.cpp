// HP_DRIVER at 80 ms: the stroke pulse, 1.5 s on the rising stroke enable.
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kStrokePulse = 1.5f;
struct HP_DRIVER_stroke_blocks {
    bk::OneShotState YES_PLS;
};
BlockRam<HP_DRIVER_stroke_blocks> HP_DRIVER_stroke_st;
}  // namespace

namespace r80 {

void HP_DRIVER_stroke() {
    auto& v = IFACE_IN_VLV;
    v.HP_STRK_ENBL_B_NAME = v.HP_STRK_ENBL_IN;
    bk::ONE_SHOT(HP_DRIVER_stroke_st.YES_PLS, HP_DRIVER.YES_PLS_ONE_SHOT, &HP_DRIVER.YES_PLS_R_TIME.ref(),
                 v.HP_STRK_ENBL_B_NAME, kStrokePulse, bk::T80);
}

}  // namespace r80
