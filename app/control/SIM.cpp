// SIM: the value transfer to an external turbine simulator. A Modbus master
// instance on the simulator port exchanges the words of the link record; the
// 40 ms slice fills the words it sends, takes the words it received, keeps
// the link's error statistics and reports a link error when nothing arrives
// within the time-out.
#include "app/control/SIM.cells.h"

#include <cmath>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "platform/vkiodev.h"
#include "runtime/appmem.h"

namespace {
// The link record and the totals live with the application memory.
struct SIM_blocks {
    SimLink link;
    SimLinkTotals totals;
};
BlockRam<SIM_blocks> SIM_st;
constexpr int kDevControlModbusRequest = 27;
constexpr int32_t kHalveAbove = 1024;
}  // namespace

SimLink& SIM_link() { return SIM_st.link; }
SimLinkTotals& SIM_link_totals() { return SIM_st.totals; }

int16_t SIM_word(float v) {
    if (std::isnan(v)) return 0;
    const double r = std::round(static_cast<double>(v));
    if (r >= 32767.0) return 32767;
    if (r <= -32768.0) return -32768;
    return static_cast<int16_t>(r);
}

namespace r10 {
void SIM_trip() { SIM.TRIP_ACT_B_NAME = SHUTDOWNS.ANY_SD_B_NAME; }
}  // namespace r10

namespace r40 {

void SIM_transfer() {
    SimLink& l = SIM_st.link;
    SimLinkTotals& t = SIM_st.totals;

    // Link supervision.
    if (l.received > 0) t.timer = 0.0f;
    else t.timer += 0.04f;
    l.received = 0;
    SIM.XFER_TO_SIM_LNK_ERR_1 = t.timer > SIM.XFER_TO_SIM_TIME_OUT_1 ? 1u : 0u;

    // Error statistics of the pass into the running totals.
    t.errors += l.passErrors;
    t.messages += l.passMessages;
    if (l.passErrors > 0) SIM.XFER_TO_SIM_EX_ERR_1 = 1;
    l.passErrors = 0;
    l.passMessages = 0;
    if (SIM.XFER_TO_SIM_RST != 0) SIM.XFER_TO_SIM_EX_ERR_1 = 0;
    SIM.XFER_TO_SIM_ERR_PCT_1 =
        t.errors > 0 && t.messages > 0 ? 100.0f * static_cast<float>(t.errors) / static_cast<float>(t.messages) : 0.0f;
    if (t.messages > kHalveAbove) {
        t.messages /= 2;
        t.errors /= 2;
    }

    // A port request of the master instance.
    if (l.request != 0) {
        l.request = 0;
        VKIO_devControl(SIM.PORT5005_TO_SIM_UDP_P, kDevControlModbusRequest, SIM.XFER_TO_SIM_NET_ADDR_1, 0);
    }

    // Received values, none while the link is down or initialising.
    if (SIM.XFER_TO_SIM_LNK_ERR_1 != 0 || SIM.XFER_TO_SIM_INIT_MOD != 0) {
        l.recvBool[0] = l.recvBool[1] = 0;
        l.recvAnalog[0] = 0;
    }
    SIM.XFER_TO_SIM_BW_V_1 = l.recvBool[0] != 0 ? 1u : 0u;
    SIM.XFER_TO_SIM_BW_V_2 = l.recvBool[1] != 0 ? 1u : 0u;
    SIM.XFER_TO_SIM_AW_V_1 = static_cast<float>(l.recvAnalog[0]);

    // Sent values.
    l.sentBool[0] = SIM.TRIP_ACT_B_NAME != 0 ? 1 : 0;
    l.sentBool[1] = SIM.SIM_START_B_NAME != 0 ? 1 : 0;
    int16_t* w = l.sentAnalog;
    w[0] = SIM_word(IFACE_IN_SPEED.MIN_GOV_A_NAME);
    w[1] = SIM_word(CNFG_SETPT.OST_LIMIT_A_NAME);
    w[2] = SIM_word(IFACE_IN_SPEED.MAX_GOV_A_NAME);
    w[3] = SIM_word(10.0f * _ub6.MIN_SAMP_TUNE);
    w[4] = SIM_word(10.0f * _ub6.MAX_SAMP_TUNE);
    w[5] = SIM_word(10.0f * _ub7.MIN_SAMP_TUNE);
    w[6] = SIM_word(10.0f * _ub7.MAX_SAMP_TUNE);
    w[7] = SIM_word(10.0f * _ub8.MIN_SAMP_TUNE);
    w[8] = SIM_word(10.0f * SPEED_SIM.AI_KW_TO_MW_DIVIDE);
    w[9] = SIM_word(10.0f * _ub9.MIN_SAMP_TUNE);
    w[10] = SIM_word(10.0f * _ub9.MAX_SAMP_TUNE);
    w[11] = SIM_word(CNFG_SPEED.SPD1_MAXSPD_A_NAME);
    w[12] = SIM_word(CNFG_SETPT.OSPD_TRIP_A_NAME);
    w[13] = SIM_word(IFACE_IN_SPEED.IDLE_1_A_NAME);
    w[15] = SIM_word(SPEED_SIM.ANIN_CNFIG_OUT_1);
    w[16] = SIM_word(SPEED_SIM.ANIN_CNFIG_OUT_2);
    w[17] = SIM_word(SPEED_SIM.ANIN_CNFIG_OUT_3);
    w[18] = SIM_word(SPEED_SIM.ANIN_CNFIG_OUT_4);
    w[23] = SIM_word(SPEED_SIM.RO_CONFIG_OUT_1);
    w[24] = SIM_word(SPEED_SIM.RO_CONFIG_OUT_2);
    w[25] = SIM_word(SPEED_SIM.RO_CONFIG_OUT_3);
}

}  // namespace r40
