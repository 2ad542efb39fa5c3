// HP_DRIVER: the stroke pulse, 1.5 s on the rising stroke enable (80 ms);
// the forward/reverse scaling and the stroke latch (160 ms, below).
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

// HP_DRIVER at 160 ms: the forward/reverse scaling passes the demand
// straight (gain -1 on 0 - demand) unless the demand is inverted, then
// 100 - demand; the stroke latch lets the HP valve be stroked by the force
// setpoint only while the unit is shut down in calibration mode with no trip
// command, fault or configuration error.
#include "app/config/CALMODE.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"

namespace {
constexpr float kForwardGain = -1.0f, kForwardSp = 0.0f;
constexpr float kReverseGain = 1.0f, kReverseSp = 100.0f;
}  // namespace

namespace r160 {

void HP_DRIVER_forward_reverse() {
    const uint32_t inverted = IFACE_IN_VLV.INVERT_DMD_B_NAME;
    HP_DRIVER.REV_GAIN_A_SW = bk::SW<float>(inverted, kForwardGain, kReverseGain);
    HP_DRIVER.REV_SP_A_SW = bk::SW<float>(inverted, kForwardSp, kReverseSp);
}

void HP_DRIVER_stroke_latch() {
    auto& h = HP_DRIVER;
    auto& v = IFACE_IN_VLV;
    h.ENBL_STRK_AND = bk::AND({h.YES_PLS_ONE_SHOT, v.ANY_SD_B_NAME});
    h.RST_STRK_OR = bk::OR({v.HP_STRK_DISBL_B_NAME, SHUTDOWNS.NOT_SD_NOT, SD_LOGIC.TRIP_CMD_B_SW,
                            CALMODE.NOTCALMODE_B_NAME, v.HP_FAULT_B_NAME, SHUTDOWNS.CONFIG_ERROR_B_NAME});
    bk::LATCH_R(h.STRK_LTCH_LATCH_R, h.ENBL_STRK_AND, h.RST_STRK_OR);
}

}  // namespace r160
