// MOD_SPD_SP and OPC_SPD_SP: the speed setpoints entered over Modbus and OPC,
// each held between its minimum and the maximum governor speed, the OPC
// go-to latch, and the Modbus entry's reset and sample requests.
#include "app/control/MOD_SPD_SP.cells.h"

#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/OPC_SPD_SP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

namespace {

// The minimum of an entry: 0 when the switch is set, else the lower speed
// setpoint limit; the entry is limited to [minimum, maximum governor], the
// maximum winning.
float entry_limited(uint32_t zeroMinimum, float& minimum, float sampled) {
    minimum = zeroMinimum != 0 ? 0.0f : static_cast<float>(SPDC.LOWER_SP_A_SW);
    return bk::A_LIMITER(sampled, minimum, IFACE_IN_SPEED.MAX_GOV_A_NAME);
}

}  // namespace

void MOD_SPD_SP_entries() {
    auto& m = MOD_SPD_SP;
    m.M1_SP_A_LIMITER = entry_limited(m.MIN_SETPT_CTRL, m.MIN_SETPT_A_SW.ref(), m.M1_SMP_TUN_SAMP_TUNE);
    auto& o = OPC_SPD_SP;
    o.AW1_SP_A_LIMITER = entry_limited(o.MIN_SETPT_CTRL, o.MIN_SETPT_A_SW.ref(), o.M1_SMP_TUN_SAMP_TUNE);
    bk::LATCH_R(o.GOTO_OPC_SP_LATCH_R.ref(), o.OPC_PLS_ONE_SHOT, o.RST_M1_Z_ZMINUS1_B);
}

void MOD_SPD_SP_requests() {
    auto& m = MOD_SPD_SP;
    IFACE_IN_SPEED.MOD_LINK_ALARM_B_NAME = ALARMS.ANY_MOD1_ALM_AND;
    m.RST_M1_OR = bk::OR({ENTR_SETPT.H_SER_LAT_LATCH_R, ENTR_SETPT.H_SER_DIS_OR, m.RST_M1_IN_3,
                          IFACE_IN_SPEED.MOD_LINK_ALARM_B_NAME});
    m.SMPL_M1_OR =
        bk::OR({m.M1_PLS_ONE_SHOT, PWR_UP_MSG.PWR_UP_RST_ONE_SHOT, m.SMPL_M1_IN_3, ALARMS.LK1_NT_PLS_ONE_SHOT});
}

}  // namespace r160
