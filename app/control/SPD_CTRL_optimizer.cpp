// SPD_CTRL at 80 ms: the commands of the self-tuning speed PID. A tuning run
// that times out or is switched off gives a one-second reset pulse; a reset
// or the delayed tuning enable clears the optimizer's held fault; the
// combination of reference and remote setpoint is allowed only when set up,
// above minimum speed and with remote speed control enabled.
#include "app/control/SPD_CTRL.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPD_DYN.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kResetPulse = 1.0f;
struct SPD_CTRL_optimizer_blocks {
    bk::OneShotState ONE_SHOT;
};
BlockRam<SPD_CTRL_optimizer_blocks> SPD_CTRL_optimizer_st;
}  // namespace

namespace r80 {

void SPD_CTRL_optimizer_commands() {
    auto& c = SPD_CTRL;
    bk::A_COMPARE(c.ENA_TO_A_COMPARE, c.ENA_TO_A_EQUAL, c.ENA_OPTI_R_TIME, 0.0f);
    c.AUTO_RST_OR = bk::OR({SPD_DYN.OPTI_OFF_DELAY, c.ENA_TO_A_EQUAL});
    bk::ONE_SHOT(SPD_CTRL_optimizer_st.ONE_SHOT, c.ONE_SHOT_ONE_SHOT, &c.ONE_SHOT_R_TIME.ref(), c.AUTO_RST_OR,
                 kResetPulse, bk::T80);
    c.OPTI_FLT_RST_OR = bk::OR({RESET.RESET_B_NAME, c.ENA_OPTI_DELAY_DELAY});
    c.ENA_COMBO_AND = bk::AND({IFACE_IN_SPEED.USE_COMBO_B_NAME, MPU.SPD_GTEQ_MIN_OR, RMT_ENBL.ENABLED_LATCH_R});
}

}  // namespace r80
