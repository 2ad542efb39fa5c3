// MOD: the Modbus map MOD.MOD1 of the 160 ms group. Each link's device and
// settings go to its slave instance; each link is supervised (silence
// time-out, exception errors, error percentage); the discrete-input and
// input-register arrays are filled from application cells and the coil and
// holding-register arrays taken into the map's cells, unless the map is held.
#include "app/interface/MOD.cells.h"

#include <cmath>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SIM.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/START.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/CNFG_BO.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/CASC_ENTRD.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/C_COMM.cells.h"
#include "app/interface/CNFG_ETHER.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/remote_io/MOD_VL_IO.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"
#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/blockkinds.h"

uint32_t _BW_MOD_MOD1_11103[22];
uint32_t _BR_MOD_MOD1_11103[90];
int16_t _AR_MOD_MOD1_11103[50];
int16_t _AW_MOD_MOD1_11103[5];

namespace {

constexpr int kPortResetControl = 27;
constexpr int32_t kHalveAbove = 1024;
constexpr float kPeriod = 0.16f;

// The cells of one link as the supervision sees them.
struct Link {
    int32_t& addr;
    int32_t& errCnt;
    int32_t& msgCnt;
    int32_t& totErr;
    int32_t& totMsg;
    int32_t& portReset;
    float& timer;
    uint32_t& bwEnbl;
    uint32_t& awEnbl;
    uint32_t& lnkErr;
    uint32_t& exErr;
    float& errPct;
    int32_t& errNum;
    float& timeout;  // the link's time-out cell, a copy of its setting
    float setting;
    int32_t port;
};

// The alarm of one link: a one-pass pulse at the onset of its link error.
struct LinkAlarm {
    uint32_t& err;
    uint32_t& notErr;
    uint32_t& okLatch;
    uint32_t& pulse;
};
void link_alarm(const LinkAlarm& a, uint32_t used, uint32_t lnkErr, uint32_t previous) {
    if (used == 0 || lnkErr == 0) {
        a.err = 0;
        a.notErr = 1;
        a.okLatch = 1;
    } else {
        a.err = 1;
        a.notErr = 0;
        if (previous != 0) a.okLatch = 0;
    }
    a.pulse = bk::AND({a.err, a.okLatch});
}

// Chooses a link's device from its type: 1 none (0), 2 TCP, 3 UDP; other
// types keep the last choice.
void choose_port(int32_t& choice, int32_t type, int32_t tcp, int32_t udp) {
    if (type == 1) choice = 0;
    else if (type == 2) choice = tcp;
    else if (type == 3) choice = udp;
}

}  // namespace

int16_t MOD_register_word(float multiplier, float value) {
    const float p = multiplier * value;
    if (std::isnan(p)) return 0;
    double r = std::round(static_cast<double>(p));
    if (r > 2147483647.0) r = 2147483647.0;
    if (r < -2147483648.0) r = -2147483648.0;
    const auto whole = static_cast<int64_t>(r);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(whole) & 0xFFFFu));
}

namespace r160 {

namespace {

// The remote-node image's lists: consecutive cells of one kind.
// The image's lists come from the 20 ms group, one copy each.
uint32_t MOD_VL_IO_b_state(int k) {
    const auto& M = MOD_VL_IO;
    const uint32_t s[32] = {
        M.VL_B_STATES_LIST_1,  M.VL_B_STATES_LIST_2,  M.VL_B_STATES_LIST_3,  M.VL_B_STATES_LIST_4,
        M.VL_B_STATES_LIST_5,  M.VL_B_STATES_LIST_6,  M.VL_B_STATES_LIST_7,  M.VL_B_STATES_LIST_8,
        M.VL_B_STATES_LIST_9,  M.VL_B_STATES_LIST_10, M.VL_B_STATES_LIST_11, M.VL_B_STATES_LIST_12,
        M.VL_B_STATES_LIST_13, M.VL_B_STATES_LIST_14, M.VL_B_STATES_LIST_15, M.VL_B_STATES_LIST_16,
        M.VL_B_STATES_LIST_17, M.VL_B_STATES_LIST_18, M.VL_B_STATES_LIST_19, M.VL_B_STATES_LIST_20,
        M.VL_B_STATES_LIST_21, M.VL_B_STATES_LIST_22, M.VL_B_STATES_LIST_23, M.VL_B_STATES_LIST_24,
        M.VL_B_STATES_LIST_25, M.VL_B_STATES_LIST_26, M.VL_B_STATES_LIST_27, M.VL_B_STATES_LIST_28,
        M.VL_B_STATES_LIST_29, M.VL_B_STATES_LIST_30, M.VL_B_STATES_LIST_31, M.VL_B_STATES_LIST_32};
    return s[k];
}
float MOD_VL_IO_a_value(int k) {
    const auto& M = MOD_VL_IO;
    const float v[18] = {M.VL_A_VALUES_LIST_1,  M.VL_A_VALUES_LIST_2,  M.VL_A_VALUES_LIST_3,
                         M.VL_A_VALUES_LIST_4,  M.VL_A_VALUES_LIST_5,  M.VL_A_VALUES_LIST_6,
                         M.VL_A_VALUES_LIST_7,  M.VL_A_VALUES_LIST_8,  M.VL_A_VALUES_LIST_9,
                         M.VL_A_VALUES_LIST_10, M.VL_A_VALUES_LIST_11, M.VL_A_VALUES_LIST_12,
                         M.VL_A_VALUES_LIST_13, M.VL_A_VALUES_LIST_14, M.VL_A_VALUES_LIST_15,
                         M.VL_A_VALUES_LIST_16, M.VL_A_VALUES_LIST_17, M.VL_A_VALUES_LIST_18};
    return v[k];
}
// The multipliers come from the 80 ms group, one copy each.
float MOD_VL_IO_a_mult(int k) {
    const auto& M = MOD_VL_IO;
    const float m[18] = {M.VL_A_MULT_LIST_1,  M.VL_A_MULT_LIST_2,  M.VL_A_MULT_LIST_3,  M.VL_A_MULT_LIST_4,
                         M.VL_A_MULT_LIST_5,  M.VL_A_MULT_LIST_6,  M.VL_A_MULT_LIST_7,  M.VL_A_MULT_LIST_8,
                         M.VL_A_MULT_LIST_9,  M.VL_A_MULT_LIST_10, M.VL_A_MULT_LIST_11, M.VL_A_MULT_LIST_12,
                         M.VL_A_MULT_LIST_13, M.VL_A_MULT_LIST_14, M.VL_A_MULT_LIST_15, M.VL_A_MULT_LIST_16,
                         M.VL_A_MULT_LIST_17, M.VL_A_MULT_LIST_18};
    return m[k];
}

Link link_cells(int n) {
    auto& m = MOD;
    switch (n) {
        case 1:
            return {m.MOD1_ADDR_1, m.MOD1_ERR_CNT_1, m.MOD1_MSG_CNT_1, m.MOD1_TOT_ERR_1, m.MOD1_TOT_MSG_1,
                    m.MOD1_PRT_RST_1, m.MOD1_TIMER_1, m.MOD1_BW_ENBL_1, m.MOD1_AW_ENBL_1, m.MOD1_LNK_ERR_1,
                    m.MOD1_EX_ERR_1, m.MOD1_ERR_PCT_1, m.MOD1_ERR_NUM_1, m.MOD1_TIME_OUT_1, m.QT_TIME_OUT_1_IN,
                    CNFG_SIO.COMM1_PORT_SIO_PORT};
        case 2:
            return {m.MOD1_ADDR_2, m.MOD1_ERR_CNT_2, m.MOD1_MSG_CNT_2, m.MOD1_TOT_ERR_2, m.MOD1_TOT_MSG_2,
                    m.MOD1_PRT_RST_2, m.MOD1_TIMER_2, m.MOD1_BW_ENBL_2, m.MOD1_AW_ENBL_2, m.MOD1_LNK_ERR_2,
                    m.MOD1_EX_ERR_2, m.MOD1_ERR_PCT_2, m.MOD1_ERR_NUM_2, m.MOD1_TIME_OUT_2, m.QT_TIME_OUT_2_IN,
                    m.PORT2_COMM_USED_I_SW};
        default:
            return {m.MOD1_ADDR_3, m.MOD1_ERR_CNT_3, m.MOD1_MSG_CNT_3, m.MOD1_TOT_ERR_3, m.MOD1_TOT_MSG_3,
                    m.MOD1_PRT_RST_3, m.MOD1_TIMER_3, m.MOD1_BW_ENBL_3, m.MOD1_AW_ENBL_3, m.MOD1_LNK_ERR_3,
                    m.MOD1_EX_ERR_3, m.MOD1_ERR_PCT_3, m.MOD1_ERR_NUM_3, m.MOD1_TIME_OUT_3, m.QT_TIME_OUT_3_IN,
                    m.PORT3_COMM_USED_I_SW};
    }
}

// Step 5: settings, silence timer, link error and running totals.
void supervise(Link l, int32_t addr, uint32_t writeEnable) {
    l.addr = addr;
    l.bwEnbl = writeEnable;
    l.awEnbl = writeEnable;
    l.timeout = l.setting;
    l.timer = l.msgCnt == 0 ? l.timer + kPeriod : 0.0f;
    l.lnkErr = l.timer > l.timeout ? 1u : 0u;
    l.totErr += l.errCnt;
    l.totMsg += l.msgCnt + l.errCnt;
}

// Step 7: counts consumed, error percentage, totals halved, port reset.
void consume(Link l) {
    if (l.errCnt > 0) l.exErr = 1;
    l.errCnt = 0;
    l.msgCnt = 0;
    l.errPct = l.totErr > 0 ? bk::DIVIDE(static_cast<float>(l.totErr), static_cast<float>(l.totMsg)) * 100.0f : 0.0f;
    if (l.totMsg > kHalveAbove) {
        l.totErr /= 2;
        l.totMsg /= 2;
    }
    if (l.portReset != 0) {
        l.portReset = 0;
        VKIO_devControl(l.port, kPortResetControl, 0, 0);
    }
}

void fill_discrete_inputs() {
    uint32_t* br = _BR_MOD_MOD1_11103;
    br[0] = SHUTDOWNS.ANY_SD_B_NAME;
    br[1] = ALARMS.ANY_ALM_B_NAME;
    br[2] = ALARMS.ANY_SEL_1;
    br[3] = ALARMS.ANY_SEL_2;
    br[4] = ALARMS.ANY_SEL_3;
    br[5] = SHUTDOWNS.ANY_SEL_1;
    br[6] = SHUTDOWNS.ANY_SEL_4;
    br[7] = SHUTDOWNS.ANY_SEL_3;
    br[8] = SHUTDOWNS.ANY_SEL_2;
    br[9] = SHUTDOWNS.ANY_SEL_5;
    br[10] = IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME;
    br[11] = IFACE_OUT_SPEED.RMT_SPD_ACTIVE_B_NAME;
    br[12] = SPDC.A00_STEP_SFC_STEP;
    br[13] = SPDC.A07_STEP_SFC_STEP;
    br[14] = SPDC.A01_STEP_SFC_STEP;
    br[15] = IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME;
    br[16] = IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME;
    br[17] = MPU_OVRD.OVRD1_OR_OR;
    br[18] = ALARMS.ANY_SEL_7;
    br[19] = ALARMS.ANY_SEL_67;
    br[20] = MESSAGE.RMT_IN_CTL_AND;
    br[21] = RMT_ENBL.RMT_SPD_INH_AND;
    br[22] = IFACE_OUT_CASC.ENABLED_B_NAME;
    br[23] = IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME;
    br[24] = MESSAGE.CASC_CTL_DELAY_DELAY;
    br[25] = CASC_ENBL.INHIBITED_LATCH1;
    br[26] = IFACE_OUT_CASC.RMT_CAS_EN_B_NAME;
    br[27] = IFACE_OUT_CASC.REM_CAS_SEL_B_NAME;
    br[28] = MESSAGE.CASC_RMT_DELAY_DELAY;
    br[29] = RMT_CAS_EN.RCASC_IH_LATCH1;
    br[30] = HP_LIMTER.AT_MAX_OR;
    br[31] = HP_LIMTER.HP_RAMP_P_LIM_1;
    br[32] = IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME;
    br[33] = IFACE_OUT_START.SD_CLEAR_B_NAME;
    const uint32_t bi[8] = {CNFG_BI.BI_01_ZARN_BI_ZARN, CNFG_BI.BI_02_ZARN_BI_ZARN, CNFG_BI.BI_03_ZARN_BI_ZARN,
                            CNFG_BI.BI_04_ZARN_BI_ZARN, CNFG_BI.BI_05_ZARN_BI_ZARN, CNFG_BI.BI_06_ZARN_BI_ZARN,
                            CNFG_BI.BI_07_ZARN_BI_ZARN, CNFG_BI.BI_08_ZARN_BI_ZARN};
    for (int k = 0; k < 8; ++k) br[34 + k] = bi[k];
    br[42] = CNFG_BO.RELAY_1_DISPLAY;
    br[43] = CNFG_BO.RELAY_2_DISPLAY;
    br[44] = CNFG_BO.RELAY_3_DISPLAY;
    br[45] = CNFG_BO.RELAY_4_DISPLAY;
    for (int k = 0; k < 32; ++k) br[46 + k] = MOD_VL_IO_b_state(k);
    br[78] = SPDC.Z01_STEP_SFC_STEP;
    br[79] = START.IDLE_OR;
    br[80] = SHUTDOWNS.ANY_SEL_25;
    br[81] = IFACE_MODE.TIQ_HEARTBEAT_B_NAME;
    br[82] = _ub6.CHNL_FLT_B_NAME;
    br[83] = _ub7.CHNL_FLT_B_NAME;
    br[84] = _ub8.CHNL_FLT_B_NAME;
    br[85] = _ub9.CHNL_FLT_B_NAME;
    br[86] = SPDC.Z01_C2_B_ACTION;
}

void fill_input_registers() {
    int16_t* ar = _AR_MOD_MOD1_11103;
    const auto& m = MOD;
    ar[0] = MOD_register_word(m.MOD1_AR_M_1, MPU.TURB_SPD_A_NAME);
    ar[1] = MOD_register_word(m.MOD1_AR_M_2, SPD_CTRL.SPD_SETPT_A_NAME);
    ar[2] = MOD_register_word(m.MOD1_AR_M_3, IFACE_OUT_SPEED.RMT_SPD_INPUT_A_NAME);
    ar[3] = MOD_register_word(m.MOD1_AR_M_4, AI_MUX.RMT_SPD_SP_A_NAME);
    ar[4] = MOD_register_word(m.MOD1_AR_M_5, MOD_SCALE.VLV_100_MULTIPLY);
    ar[5] = MOD_register_word(m.MOD1_AR_M_6, MOD_SCALE.SPD_100_MULTIPLY);
    ar[6] = MOD_register_word(m.MOD1_AR_M_7, MOD_SCALE.ACT1_HSS_MULTIPLY);
    ar[7] = MOD_register_word(m.MOD1_AR_M_8, MOD_SCALE.CASC_100_MULTIPLY);
    ar[8] = MOD_register_word(AI_MUX.CASC_IN_MODX_A_NAME, IFACE_IN_CASC.CASC_IN_NAME_A_NAME);
    ar[9] = MOD_register_word(AI_MUX.CASC_IN_MODX_A_NAME, IFACE_OUT_CASC.CASC_SP_A_NAME);
    ar[10] = MOD_register_word(m.MOD1_AR_M_11, CNFG_SPEED.TSS_01_MONITOR);
    ar[11] = MOD_register_word(m.MOD1_AR_M_12, CNFG_SPEED.TSS_02_MONITOR);
    ar[12] = MOD_register_word(_ub6.MOD_MULT_A_NAME, _ub6.VALUE_A_NAME);
    ar[13] = MOD_register_word(_ub7.MOD_MULT_A_NAME, _ub7.VALUE_A_NAME);
    ar[14] = MOD_register_word(_ub8.MOD_MULT_A_NAME, _ub8.VALUE_A_NAME);
    ar[15] = MOD_register_word(_ub9.MOD_MULT_A_NAME, _ub9.VALUE_A_NAME);
    ar[16] = MOD_register_word(m.MOD1_AR_M_17, MOD_IO.ACT1_100_MULTIPLY);
    ar[17] = MOD_register_word(_ub10.MOD_MULT_A_NAME, _ub10.VAL_A_NAME);
    ar[18] = MOD_register_word(_ub11.MOD_MULT_A_NAME, _ub11.VAL_A_NAME);
    ar[19] = MOD_register_word(_ub12.MOD_MULT_A_NAME, _ub12.VAL_A_NAME);
    for (int k = 0; k < 18; ++k) ar[20 + k] = MOD_register_word(MOD_VL_IO_a_mult(k), MOD_VL_IO_a_value(k));
    ar[38] = MOD_register_word(1.0f, ALARMS.FIRSTOUT_A_OUT_1);
    ar[39] = MOD_register_word(1.0f, SHUTDOWNS.FIRSTOUT_A_OUT_1);
    ar[40] = MOD_register_word(1.0f, COND_MON.STRT_TURB_A_NAME);
    ar[41] = MOD_register_word(1.0f, COND_MON.SD_NUM_A_NAME);
    ar[42] = MOD_register_word(1.0f, COND_MON.SDLOAD1_NUM_A_NAME);
    ar[43] = MOD_register_word(1.0f, COND_MON.SDLOAD2_NUM_A_NAME);
    ar[44] = MOD_register_word(1.0f, COND_MON.OSPD_NUM_A_NAME);
    ar[45] = MOD_register_word(1.0f, COND_MON.TRUNHRS_A_NAME);
    ar[46] = MOD_register_word(1.0f, COND_MON.TRUNLDHRS_A_NAME);
    ar[47] = MOD_register_word(1.0f, COND_MON.TRUNLD2HRS_A_NAME);
}

}  // namespace

void MOD_map() {
    auto& m = MOD;
    // 1-2: any link configured; the map is held until power-up has settled.
    m.C2_OR_OR = bk::OR({CNFG_COMMS.MOD_LINK1_USED_AND, m.PORT2_USED_B_NAME, m.PORT3_USED_B_NAME});
    m.MODMNOT_OK_NOT = bk::NOT(PWR_UP_MSG.N_ERR_DLY_DELAY);
    m.OR_INI_OR = bk::OR({m.OR_INI_IN_1, m.MODMNOT_OK_NOT});

    // 3: the devices of links 2 and 3 (0 is the null device).
    choose_port(m.PORT2_COMM_I_MUX_N_1, CNFG_COMMS.PORT2_COMM_TYP_I_NAME, CNFG_ETHER.NETADDR_1_TCP_P,
                CNFG_ETHER.PORT_5001_UDP_P);
    m.PORT2_COMM_USED_I_SW = m.PORT2_USED_B_NAME != 0 ? static_cast<int32_t>(m.PORT2_COMM_I_MUX_N_1) : 0;
    choose_port(m.PORT3_COMM_I_MUX_N_1, CNFG_COMMS.PORT3_COMM_TYP_I_NAME, CNFG_ETHER.NETADDR_2_TCP_P,
                CNFG_ETHER.PORT_5002_UDP_P);
    m.PORT3_COMM_USED_I_SW = m.PORT3_USED_B_NAME != 0 ? static_cast<int32_t>(m.PORT3_COMM_I_MUX_N_1) : 0;

    // 5: settings and supervision of each link.
    supervise(link_cells(1), C_COMM.C4_I_NAME, m.PORT1_ENBL_WRT_AND);
    supervise(link_cells(2), CNFG_COMMS.PORT2_NET_ADDR_I_NAME, m.PORT2_ENBL_WRT_AND);
    supervise(link_cells(3), CNFG_COMMS.PORT3_NET_ADDR_I_NAME, m.PORT3_ENBL_WRT_AND);

    // 6: the reset pulse clears the errors seen.
    if (RESET.RST_ONE_SHOT != 0) {
        for (int n = 1; n <= 3; ++n) {
            Link l = link_cells(n);
            l.errCnt = 0;
            l.exErr = 0;
            l.errNum = 0;
        }
    }
    // 7: the pass's counts consumed.
    for (int n = 1; n <= 3; ++n) consume(link_cells(n));

    // 8 and 10: what masters wrote, unless the map is held.
    const bool held = (m.MOD1_LNK_ERR_1 != 0 && m.MOD1_LNK_ERR_2 != 0 && m.MOD1_LNK_ERR_3 != 0) || m.OR_INI_OR != 0;
    uint32_t* const coils[22] = {
        &static_cast<uint32_t&>(m.MOD1_BW_V_1),  &static_cast<uint32_t&>(m.MOD1_BW_V_2),
        &static_cast<uint32_t&>(m.MOD1_BW_V_3),  &static_cast<uint32_t&>(m.MOD1_BW_V_4),
        &static_cast<uint32_t&>(m.MOD1_BW_V_5),  &static_cast<uint32_t&>(m.MOD1_BW_V_6),
        &static_cast<uint32_t&>(m.MOD1_BW_V_7),  &static_cast<uint32_t&>(m.MOD1_BW_V_8),
        &static_cast<uint32_t&>(m.MOD1_BW_V_9),  &static_cast<uint32_t&>(m.MOD1_BW_V_10),
        &static_cast<uint32_t&>(m.MOD1_BW_V_11), &static_cast<uint32_t&>(m.MOD1_BW_V_12),
        &static_cast<uint32_t&>(m.MOD1_BW_V_13), &static_cast<uint32_t&>(m.MOD1_BW_V_14),
        &static_cast<uint32_t&>(m.MOD1_BW_V_15), &static_cast<uint32_t&>(m.MOD1_BW_V_16),
        &static_cast<uint32_t&>(m.MOD1_BW_V_17), &static_cast<uint32_t&>(m.MOD1_BW_V_18),
        &static_cast<uint32_t&>(m.MOD1_BW_V_19), &static_cast<uint32_t&>(m.MOD1_BW_V_20),
        &static_cast<uint32_t&>(m.MOD1_BW_V_21), &static_cast<uint32_t&>(m.MOD1_BW_V_22)};
    for (int k = 0; k < 22; ++k) {
        if (held) _BW_MOD_MOD1_11103[k] = 0;
        *coils[k] = _BW_MOD_MOD1_11103[k];
    }
    // 9: discrete inputs.
    fill_discrete_inputs();
    float* const regs[5] = {&static_cast<float&>(m.MOD1_AW_V_1), &static_cast<float&>(m.MOD1_AW_V_2),
                            &static_cast<float&>(m.MOD1_AW_V_3), &static_cast<float&>(m.MOD1_AW_V_4),
                            &static_cast<float&>(m.MOD1_AW_V_5)};
    for (int k = 0; k < 5; ++k) {
        if (held) _AW_MOD_MOD1_11103[k] = 0;
        *regs[k] = static_cast<float>(_AW_MOD_MOD1_11103[k]);
    }
    // 11: input registers.
    fill_input_registers();

    // 12: permission and the link-2/3 error copies.
    m.MOD1_PERM_AND = bk::AND({m.C2_OR_OR, C_COMM.C1_B_NAME});
    m.USE_MOD_B_NAME = m.MOD1_PERM_AND;
    m.PORT2_ERR_CODE_I_NAME = m.MOD1_ERR_NUM_2;
    m.PORT2_EXCP_ERR_B_NAME = m.MOD1_EX_ERR_2;
    m.PORT3_ERR_CODE_I_NAME = m.MOD1_ERR_NUM_3;
    m.PORT3_EXCP_ERR_B_NAME = m.MOD1_EX_ERR_3;

    // 13: link-2 alarm.
    auto& s = MOD_LNK_STAT;
    auto& z = MODBUS1;
    link_alarm({s.LNK2_ERR_AND, z.N_LNK2_ERR_NOT, z.LNK2_OK_LAT_LATCH, z.LNK2_ALM_AND}, m.PORT2_USED_B_NAME,
               m.MOD1_LNK_ERR_2, z.LNK2_Z_ZMINUS1_B);
}

void MOD_link_alarms() {
    auto& m = MOD;
    auto& s = MOD_LNK_STAT;
    auto& z = MODBUS1;
    link_alarm({s.LNK3_ERR_AND, z.N_LNK3_ERR_NOT, z.LNK3_OK_LAT_LATCH, z.LNK3_ALM_AND}, m.PORT3_USED_B_NAME,
               m.MOD1_LNK_ERR_3, z.LNK3_Z_ZMINUS1_B);
    MOD_IO.ACT1_100_MULTIPLY = CNFG_ACT.ACT_01_SRC_A_NAME * 100.0f;
    link_alarm({s.LNK_ERR_AND, s.N_LNK_ERR_NOT, s.MOD_OK_LAT_LATCH, s.MOD1_ALM_AND}, m.PORT1_USED_B_NAME,
               m.MOD1_LNK_ERR_1, s.FLD_Z_ZMINUS1_B);
    s.LN1_SW_B_SW = bk::SW<uint32_t>(s.LN1_SW_CTRL, s.LNK_ERR_AND, s.MOD1_ALM_AND);
    s.LN2_SW_B_SW = bk::SW<uint32_t>(s.LN2_SW_CTRL, s.LNK2_ERR_AND, z.LNK2_ALM_AND);
    s.LN3_SW_B_SW = bk::SW<uint32_t>(s.LN3_SW_CTRL, s.LNK3_ERR_AND, z.LNK3_ALM_AND);
    s.SIO_LNK1_ALM_B_NAME = s.LN1_SW_B_SW;
    s.LNK2_ALM_B_NAME = s.LN2_SW_B_SW;
    s.LNK3_ALM_B_NAME = s.LN3_SW_B_SW;
    s.MOD1_ALL_LNK_FLD_AND = bk::AND({s.SIO_LNK1_ALM_B_NAME, s.LNK2_ALM_B_NAME, s.LNK3_ALM_B_NAME});
    s.ALL_LNK_FAIL_B_NAME = s.MOD1_ALL_LNK_FLD_AND;
    // The alarm outputs of this pass, seen by the next one.
    s.FLD_Z_ZMINUS1_B = s.SIO_LNK1_ALM_B_NAME;
    z.LNK2_Z_ZMINUS1_B = s.LNK2_ALM_B_NAME;
    z.LNK3_Z_ZMINUS1_B = s.LNK3_ALM_B_NAME;
}

void MOD_SCALE_values() {
    auto& s = MOD_SCALE;
    const float cascSp = IFACE_OUT_CASC.CASC_SP_A_NAME;
    const float cascIn = IFACE_IN_CASC.CASC_IN_NAME_A_NAME;
    s.ACT1_HSS_MULTIPLY = HP_DRIVER.HP_MAX_A_MIN * 100.0f;
    s.CASC_100_MULTIPLY = IFACE_OUT_CASC.CASC_PID_A_NAME * 100.0f;
    s.CASC_MOD1_DIVIDE = bk::DIVIDE(MOD.MOD1_AW_V_2, s.CASC_SCALE_A_NAME);
    s.SP_DIV2_DIVIDE = 0.5f * cascSp;
    s.CAS_SP_SCL_SUBTRACT = s.SP_DIV2_DIVIDE - CASC_CTRL.MINSP_DIV2_DIVIDE;
    s.CASC_RANGE_DIVIDE = bk::DIVIDE(100.0f, CASC_CTRL.MAX_CASC_SUBTRACT);
    s.CASC_PRCT_MULTIPLY = s.CAS_SP_SCL_SUBTRACT * 100.0f * s.CASC_RANGE_DIVIDE;
    s.CASC_RNG_SCL_DIVIDE = 0.5f * cascIn;
    s.CASC_SCD_MULTIPLY = cascIn * s.CASC_SCALE_A_NAME;
    s.CAS_PV_SCL_SUBTRACT = s.CASC_RNG_SCL_DIVIDE - CASC_CTRL.MINSP_DIV2_DIVIDE;
    s.CAS_VL_PRC_MULTIPLY = s.CAS_PV_SCL_SUBTRACT * 100.0f * s.CASC_RANGE_DIVIDE;
    s.CSETPT_SCD_MULTIPLY = s.CASC_SCALE_A_NAME * cascSp;
    s.LSS_100_MULTIPLY = IFACE_OUT_VLV.LSS_OUT_A_NAME * 100.0f;
    s.M1_CAS_SCL_MULTIPLY = CASC_ENTRD.M1_SMP_TUN_SAMP_TUNE * s.CASC_SCALE_A_NAME;
    s.RMT_CASC_S_MULTIPLY = IFACE_OUT_CASC.REMOTE_CAS_SP_A_NAME * s.CASC_SCALE_A_NAME;
    s.SETPT_DIVIDE = bk::DIVIDE(SPD_CTRL.SPD_SETPT_A_NAME, IFACE_IN_SPEED.MAX_GOV_A_NAME);
    s.SETPT_PRCT_MULTIPLY = s.SETPT_DIVIDE * 10000.0f;
    s.SPD_100_MULTIPLY = IFACE_OUT_SPEED.SPD_PID_LSS_A_NAME * 100.0f;
    s.SPEED_DIVIDE = bk::DIVIDE(MPU.TURB_SPD_A_NAME, IFACE_IN_SPEED.MAX_GOV_A_NAME);
    s.SPD_PRCT_MULTIPLY = s.SPEED_DIVIDE * 10000.0f;
}

}  // namespace r160

namespace {
// Routing of TCP connections by unit address to links 2 and 3: the port and
// slave-address cells of each, by word index in the integer area.
TcpModRoute g_routes[3];
}  // namespace

void MOD_init_blks() {
    using namespace cells;
    CNFG_SIO.COMM1_PORT_SIO_PORT = 1;
    CNFG_ETHER.NETADDR_1_TCP_P = 2;
    CNFG_ETHER.NETADDR_2_TCP_P = 5;
    CNFG_ETHER.PORT_5001_UDP_P = 4;
    CNFG_ETHER.PORT_5002_UDP_P = 6;
    for (uint32_t& c : _BW_MOD_MOD1_11103) c = 0;
    for (int16_t& r : _AW_MOD_MOD1_11103) r = 0;
    auto& m = MOD;
    g_routes[0] = {1, Fetch_tCntIValAddress(&static_cast<int32_t&>(m.PORT2_COMM_USED_I_SW)),
                   Fetch_tCntIValAddress(&static_cast<int32_t&>(m.MOD1_ADDR_2))};
    g_routes[1] = {1, Fetch_tCntIValAddress(&static_cast<int32_t&>(m.PORT3_COMM_USED_I_SW)),
                   Fetch_tCntIValAddress(&static_cast<int32_t&>(m.MOD1_ADDR_3))};
    g_routes[2] = {-1, -1, -1};
    TCPMods = g_routes;
    _scan_tcpPid = VKOS_CreateProcess(scan_tcp, 8192, 40, "scan_tcp", 0);
    // Instance 0: the simulator link.
    SIM_modbus_start();
    struct Start {
        int32_t* port;
        int32_t* addr;
        int32_t* mode;
        int32_t* errCnt;
        int32_t* msgCnt;
        int32_t* lastErr;
        float* timeout;
        float setting;
        uint32_t* bwEnbl;
        uint32_t* awEnbl;
        float* timer;
    };
    const Start starts[3] = {
        {&static_cast<int32_t&>(CNFG_SIO.COMM1_PORT_SIO_PORT), &static_cast<int32_t&>(m.MOD1_ADDR_1),
         &static_cast<int32_t&>(C_COMM.C3_I_NAME), &static_cast<int32_t&>(m.MOD1_ERR_CNT_1),
         &static_cast<int32_t&>(m.MOD1_MSG_CNT_1), &static_cast<int32_t&>(m.MOD1_ERR_NUM_1),
         &static_cast<float&>(m.MOD1_TIME_OUT_1), m.QT_TIME_OUT_1_IN,
         &static_cast<uint32_t&>(m.MOD1_BW_ENBL_1),
         &static_cast<uint32_t&>(m.MOD1_AW_ENBL_1), &static_cast<float&>(m.MOD1_TIMER_1)},
        {&static_cast<int32_t&>(m.PORT2_COMM_USED_I_SW), &static_cast<int32_t&>(m.MOD1_ADDR_2),
         &static_cast<int32_t&>(CNFG_COMMS.PORT2_PROTO_I_NAME), &static_cast<int32_t&>(m.MOD1_ERR_CNT_2),
         &static_cast<int32_t&>(m.MOD1_MSG_CNT_2), &static_cast<int32_t&>(m.MOD1_ERR_NUM_2),
         &static_cast<float&>(m.MOD1_TIME_OUT_2), m.QT_TIME_OUT_2_IN,
         &static_cast<uint32_t&>(m.MOD1_BW_ENBL_2),
         &static_cast<uint32_t&>(m.MOD1_AW_ENBL_2), &static_cast<float&>(m.MOD1_TIMER_2)},
        {&static_cast<int32_t&>(m.PORT3_COMM_USED_I_SW), &static_cast<int32_t&>(m.MOD1_ADDR_3),
         &static_cast<int32_t&>(CNFG_COMMS.PORT3_PROTO_I_NAME), &static_cast<int32_t&>(m.MOD1_ERR_CNT_3),
         &static_cast<int32_t&>(m.MOD1_MSG_CNT_3), &static_cast<int32_t&>(m.MOD1_ERR_NUM_3),
         &static_cast<float&>(m.MOD1_TIME_OUT_3), m.QT_TIME_OUT_3_IN,
         &static_cast<uint32_t&>(m.MOD1_BW_ENBL_3),
         &static_cast<uint32_t&>(m.MOD1_AW_ENBL_3), &static_cast<float&>(m.MOD1_TIMER_3)},
    };
    for (int i = 0; i < 3; ++i) {
        const Start& s = starts[i];
        *s.timeout = s.setting;  // the instance starts with the stored time-out
        modbus(s.port, s.addr, s.mode, _MODBUS_READ, _BW_MOD_MOD1_11103, 0, 22, _BR_MOD_MOD1_11103, 0, 90,
               _AR_MOD_MOD1_11103, 0, 50, _AW_MOD_MOD1_11103, 0, 5, s.errCnt, s.msgCnt, s.lastErr, i + 1, 0,
               s.timeout, s.bwEnbl, s.awEnbl);
        *s.errCnt = 0;
        *s.msgCnt = 0;
        *s.lastErr = 0;
        *s.timer = 0.0f;
    }
}
