// SIM: the value transfer to an external turbine simulator. Slave instance
// 0 serves the simulator's requests on the simulator port; the 40 ms slice
// fills the words the simulator reads, takes the words it wrote, keeps the
// link's error statistics and reports a link error when no request arrives
// within the time-out.
#include "app/control/SIM.cells.h"

#include <cmath>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/control/START.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "modbus/MODBUS.h"
#include "platform/vkiodev.h"
#include "runtime/sysinfo.h"

// The cell the simulator port's driver reports a set-up fault through.
namespace rtcells {
uint32_t& SIM_PORT5005_TO_SIM_FAULT() { return cells::SIM.PORT5005_TO_SIM_FAULT.ref(); }
}  // namespace rtcells

uint32_t _BW_SIM_XFER_TO_SIM_11359[2];
uint32_t _BR_SIM_XFER_TO_SIM_11359[5];
int16_t _AR_SIM_XFER_TO_SIM_11359[30];
int16_t _AW_SIM_XFER_TO_SIM_11359[1];

namespace {
constexpr int kDevControlModbusRequest = 27;
constexpr int32_t kHalveAbove = 1024;
constexpr int32_t kUdpPort5005 = 7;
constexpr int32_t kInstance = 0;
}  // namespace

void SIM_port_init_blks() {
    cells::SIM.PORT5005_TO_SIM_UDP_P = kUdpPort5005;
    cells::SIM.PORT5005_TO_SIM_P_STATUS = 1;
}

void SIM_modbus_start() {
    auto& s = cells::SIM;
    s.PORT5005_TO_SIM_UDP_P = kUdpPort5005;
    for (uint32_t& c : _BW_SIM_XFER_TO_SIM_11359) c = 0;
    for (int16_t& r : _AW_SIM_XFER_TO_SIM_11359) r = 0;
    modbus(&s.PORT5005_TO_SIM_UDP_P.ref(), &s.XFER_TO_SIM_ADDR_1.ref(), &s.XFER_TO_SIM_ASC_RTU_1.ref(),
           _MODBUS_READ, _BW_SIM_XFER_TO_SIM_11359, 0, 2, _BR_SIM_XFER_TO_SIM_11359, 0, 5,
           _AR_SIM_XFER_TO_SIM_11359, 0, 30, _AW_SIM_XFER_TO_SIM_11359, 0, 1, &s.XFER_TO_SIM_ERR_CNT_1.ref(),
           &s.XFER_TO_SIM_MSG_CNT_1.ref(), &s.XFER_TO_SIM_ERR_NUM_1.ref(), kInstance, 0,
           &s.XFER_TO_SIM_TIME_OUT_1.ref(), &s.XFER_TO_SIM_BW_ENBL_1.ref(), &s.XFER_TO_SIM_AW_ENBL_1.ref());
    s.XFER_TO_SIM_ERR_CNT_1 = 0;
    s.XFER_TO_SIM_MSG_CNT_1 = 0;
    s.XFER_TO_SIM_ERR_NUM_1 = 0;
    s.XFER_TO_SIM_TIMER_1 = 0.0f;
}

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
    auto& x = SIM;
    x.XFER_TO_SIM_ADDR_1 = x.XFER_TO_SIM_NET_ADDR_1;
    x.XFER_TO_SIM_BW_ENBL_1 = 1;
    x.XFER_TO_SIM_AW_ENBL_1 = 1;

    // Link supervision.
    x.XFER_TO_SIM_TIMER_1 = x.XFER_TO_SIM_MSG_CNT_1 > 0 ? 0.0f : x.XFER_TO_SIM_TIMER_1 + 0.04f;
    x.XFER_TO_SIM_LNK_ERR_1 = x.XFER_TO_SIM_TIMER_1 > x.XFER_TO_SIM_TIME_OUT_1 ? 1u : 0u;

    // Error statistics of the pass into the running totals; the pass's
    // counts are consumed.
    x.XFER_TO_SIM_TOT_ERR_1 += x.XFER_TO_SIM_ERR_CNT_1;
    x.XFER_TO_SIM_TOT_MSG_1 += x.XFER_TO_SIM_MSG_CNT_1;
    if (x.XFER_TO_SIM_ERR_CNT_1 > 0) x.XFER_TO_SIM_EX_ERR_1 = 1;
    x.XFER_TO_SIM_ERR_CNT_1 = 0;
    x.XFER_TO_SIM_MSG_CNT_1 = 0;
    if (x.XFER_TO_SIM_RST != 0) {
        x.XFER_TO_SIM_EX_ERR_1 = 0;
        x.XFER_TO_SIM_ERR_NUM_1 = 0;
    }
    const int32_t errors = x.XFER_TO_SIM_TOT_ERR_1, messages = x.XFER_TO_SIM_TOT_MSG_1;
    x.XFER_TO_SIM_ERR_PCT_1 =
        errors > 0 && messages > 0 ? 100.0f * static_cast<float>(errors) / static_cast<float>(messages) : 0.0f;
    if (messages > kHalveAbove) {
        x.XFER_TO_SIM_TOT_MSG_1 = messages / 2;
        x.XFER_TO_SIM_TOT_ERR_1 = errors / 2;
    }

    // A port request waiting for the slice.
    if (x.XFER_TO_SIM_PRT_RST_1 != 0) {
        x.XFER_TO_SIM_PRT_RST_1 = 0;
        VKIO_devControl(x.PORT5005_TO_SIM_UDP_P, kDevControlModbusRequest, 0, 0);
    }

    // Received values, none while the link is down or initialising.
    if (x.XFER_TO_SIM_LNK_ERR_1 != 0 || x.XFER_TO_SIM_INIT_MOD != 0) {
        _BW_SIM_XFER_TO_SIM_11359[0] = _BW_SIM_XFER_TO_SIM_11359[1] = 0;
        _AW_SIM_XFER_TO_SIM_11359[0] = 0;
    }
    x.XFER_TO_SIM_BW_V_1 = _BW_SIM_XFER_TO_SIM_11359[0] != 0 ? 1u : 0u;
    x.XFER_TO_SIM_BW_V_2 = _BW_SIM_XFER_TO_SIM_11359[1] != 0 ? 1u : 0u;
    x.XFER_TO_SIM_AW_V_1 = static_cast<float>(_AW_SIM_XFER_TO_SIM_11359[0]);

    // Sent values.
    _BR_SIM_XFER_TO_SIM_11359[0] = SIM.TRIP_ACT_B_NAME != 0 ? 1u : 0u;
    _BR_SIM_XFER_TO_SIM_11359[1] = SIM.SIM_START_B_NAME != 0 ? 1u : 0u;
    int16_t* w = _AR_SIM_XFER_TO_SIM_11359;
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

namespace r160 {

void SIM_start_flags() {
    SIM.GEN_UNIT_B_NAME = SIM.GEN_UNIT_IN;
    SIM.SIM_START_B_NAME = START.RUN_CMD_LATCH_R;
}

}  // namespace r160
