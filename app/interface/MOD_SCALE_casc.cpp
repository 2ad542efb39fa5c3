// MOD_SCALE: a change of the cascade input's Modbus scale. While the scale
// differs from that of the pass before, a one-shot blocks the Modbus and OPC
// go-to pulses of the entered cascade setpoints; a reset pulse follows the
// change at once and again once the block has stood for its delay, which
// re-samples the OPC entry.
#include "app/analog/AI_MUX.cells.h"
#include "app/interface/MOD.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct MOD_SCALE_casc_blocks {
    bk::OneShotState CAS_CHG_OS, CAS_RST, CAS_RST2;
    bk::DelayState CAS_DLY;
};
BlockRam<MOD_SCALE_casc_blocks> MOD_SCALE_casc_st;
constexpr float kResetPulse = 1.0f;  // s
}  // namespace

namespace r160 {

void MOD_SCALE_casc_change() {
    auto& m = MOD_SCALE;
    auto& s = MOD_SCALE_casc_st;
    m.CASC_SCALE_A_NAME = AI_MUX.CASC_IN_MODX_A_NAME;
    bk::A_COMPARE(m.CASC_CHGD_A_COMPARE, m.CASC_CHGD_A_EQUAL, m.CASC_SCALE_A_NAME, m.LAST_CASC_ZMINUS1);
    m.CASCCHGD_NOT = bk::NOT(m.CASC_CHGD_A_EQUAL);
    bk::ONE_SHOT(s.CAS_CHG_OS, m.CAS_CHG_OS_ONE_SHOT, &m.CAS_CHG_OS_R_TIME.ref(), m.CASCCHGD_NOT, m.CAS_CHG_OS_DLY_TIME,
                 bk::T160);
    bk::ONE_SHOT(s.CAS_RST, m.CAS_RST_ONE_SHOT, &m.CAS_RST_R_TIME.ref(), m.CASCCHGD_NOT, kResetPulse, bk::T160);
    bk::DELAY(s.CAS_DLY, m.CAS_DLY_DELAY, &m.CAS_DLY_R_TIME.ref(), m.CAS_CHG_OS_ONE_SHOT, m.CAS_DLY_DLY_TIME, 0.0f,
              bk::T160);
    bk::ONE_SHOT(s.CAS_RST2, m.CAS_RST2_ONE_SHOT, &m.CAS_RST2_R_TIME.ref(), m.CAS_DLY_DELAY, kResetPulse, bk::T160);
    m.CAS_RST_OR_OR = bk::OR({m.CAS_RST_ONE_SHOT, m.CAS_RST2_ONE_SHOT});
}

}  // namespace r160
