// RESET: the trip-reset logic (80 ms).
#include "app/control/RESET.cells.h"

#include "app/control/IFACE_IN_START.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct RESET_blocks {
    bk::OneShotState RST_TRP_CI;
    bk::DelayState TRP_HDR_DY;
};
BlockRam<RESET_blocks> RESET_st;
}  // namespace

namespace r80 {
void RESET_trip_reset() {
    auto& c = RESET;
    c.AUTO_RESET_AND = bk::AND({BI_MUX.EXT_TRIP_1_B_NAME, BI_MUX.EXT_TRIP_2_B_NAME, BI_MUX.EXT_TRIP_3_B_NAME,
                                BI_MUX.EXT_TRIP_4_B_NAME, SHUTDOWNS.RELY_NOT_NOT, SHUTDOWNS.RST_CLRTRP_B_NAME});
    bk::ONE_SHOT(RESET_st.RST_TRP_CI, c.RST_TRP_CI_ONE_SHOT, &c.RST_TRP_CI_R_TIME.ref(), c.AUTO_RESET_AND, 1.0f,
                 bk::T80);
    c.RST_NOT_NOT = bk::NOT(c.RST_ONE_SHOT);
    bk::DELAY(RESET_st.TRP_HDR_DY, c.TRP_HDR_DY_DELAY, &c.TRP_HDR_DY_R_TIME.ref(), c.RST_ONE_SHOT, 0.5f, 0.0f, bk::T80);
    c.RUN_TRIP_OR = bk::OR({c.TRP_HDR_DY_DELAY, IFACE_IN_START.START_KEY_B_NAME, SHUTDOWNS.SD_PLS_ONE_SHOT});
    c.TRIP_HDR_AND = bk::AND({c.RUN_TRIP_OR, SHUTDOWNS.ANY_LATCH_AE, c.PWR_UP_N_NOT});
    c.TS_RESET_B_NAME = c.RESET_B_NAME;
}
}  // namespace r80

// The one-second pulses of the debug reset and of the reset contact.
namespace {
constexpr float kResetPulse = 1.0f;

struct RESET_pulse_blocks {
    bk::OneShotState DEBUG_RST, RESET_DI;
};
BlockRam<RESET_pulse_blocks> RESET_pulse_st;
}  // namespace

namespace r80 {
void RESET_pulses() {
    auto& c = RESET;
    bk::ONE_SHOT(RESET_pulse_st.DEBUG_RST, c.DEBUG_RST_ONE_SHOT, &c.DEBUG_RST_R_TIME.ref(), c.DEBUG_RST_TRIGGER,
                 kResetPulse, bk::T80);
    bk::ONE_SHOT(RESET_pulse_st.RESET_DI, c.RESET_DI_ONE_SHOT, &c.RESET_DI_R_TIME.ref(), BI_MUX.RESET_CONT_B_NAME,
                 kResetPulse, bk::T80);
}
}  // namespace r80

namespace r160 {
void RESET_auto_reset_setting() { RESET.AT_RST_B_NAME = RESET.AT_RST_IN; }
}  // namespace r160
