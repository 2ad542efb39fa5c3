// The Ethernet settings: lists taken over while the I/O is locked, the
// operator's confirmations, and the apply pulses and request flags of the
// chassis task.
#include "app/interface/CNFG_ENET1.cells.h"

#include "app/config/MASTER.cells.h"
#include "host/hostnet.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

uint32_t update_ip_flag_0, update_mask_flag_0, update_gw_flag, update_sntp_flag;

namespace {

constexpr float kConfirmHold = 1.0f;
constexpr float kApplyPulse = 1.0f;

struct CNFG_ENET1_blocks {
    bk::SvcCmdState<3> QT_CONFIRM_IP;
    bk::OneShotState SET_GATEWAY, SET_IP_1;
    uint32_t ipEdge, maskEdge, gwEdge, sntpEdge;
};
BlockRam<CNFG_ENET1_blocks> CNFG_ENET1_st;

// LIST_k takes IN_k over while the configuration window is open.
template <class V>
void take_octet(V& view, int k, uint32_t window) {
    int32_t* in[12] = {&view.CONFIG_IP_IN_1.ref(),  &view.CONFIG_IP_IN_2.ref(),  &view.CONFIG_IP_IN_3.ref(),
                       &view.CONFIG_IP_IN_4.ref(),  &view.CONFIG_IP_IN_5.ref(),  &view.CONFIG_IP_IN_6.ref(),
                       &view.CONFIG_IP_IN_7.ref(),  &view.CONFIG_IP_IN_8.ref(),  &view.CONFIG_IP_IN_9.ref(),
                       &view.CONFIG_IP_IN_10.ref(), &view.CONFIG_IP_IN_11.ref(), &view.CONFIG_IP_IN_12.ref()};
    int32_t* list[12] = {&view.CONFIG_IP_LIST_1.ref(),  &view.CONFIG_IP_LIST_2.ref(),  &view.CONFIG_IP_LIST_3.ref(),
                         &view.CONFIG_IP_LIST_4.ref(),  &view.CONFIG_IP_LIST_5.ref(),  &view.CONFIG_IP_LIST_6.ref(),
                         &view.CONFIG_IP_LIST_7.ref(),  &view.CONFIG_IP_LIST_8.ref(),  &view.CONFIG_IP_LIST_9.ref(),
                         &view.CONFIG_IP_LIST_10.ref(), &view.CONFIG_IP_LIST_11.ref(), &view.CONFIG_IP_LIST_12.ref()};
    if (window != 0) *list[k - 1] = *in[k - 1];
}

// A request word is set on the rising edge of its pulse.
void raise_on_edge(uint32_t& edge, uint32_t pulse, uint32_t& flag) {
    if (pulse != 0 && edge == 0) flag = 1;
    edge = pulse;
}

}  // namespace

void CNFG_ENET1_init() { bk::SVC_CMD_INIT(CNFG_ENET1_st.QT_CONFIRM_IP, kConfirmHold); }

void CNFG_ENET1_confirm_written(int k, uint32_t value) {
    if (k < 1 || k > 3) return;
    CNFG_ENET1_st.QT_CONFIRM_IP.e[k - 1] = value != 0 ? 0.0f : kConfirmHold;
}

namespace r160 {

void CNFG_ENET1_lists() {
    const uint32_t window = MASTER.IO_LOCK_OR_PWR_B_NAME;
    for (int k : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12}) take_octet(CNFG_ENET1, k, window);
    CNFG_ENET1.IP_1_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_1;
    CNFG_ENET1.IP_2_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_2;
    CNFG_ENET1.IP_3_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_3;
    CNFG_ENET1.IP_4_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_4;
    CNFG_ENET1.IP_5_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_5;
    CNFG_ENET1.IP_6_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_6;
    CNFG_ENET1.GW_IP_1_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_9;
    CNFG_ENET1.GW_IP_2_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_10;
    CNFG_ENET1.GW_IP_3_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_11;
    CNFG_ENET1.GW_IP_4_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_12;

    auto& s = CNFG_ENET1_st.QT_CONFIRM_IP;
    bk::SVC_CMD(s, 1, CNFG_ENET1.QT_CONFIRM_IP_IN_1, CNFG_ENET1.QT_CONFIRM_IP_OUT_1, kConfirmHold, bk::T160);
    bk::SVC_CMD(s, 2, CNFG_ENET1.QT_CONFIRM_IP_IN_2, CNFG_ENET1.QT_CONFIRM_IP_OUT_2, kConfirmHold, bk::T160);
    bk::SVC_CMD(s, 3, CNFG_ENET1.QT_CONFIRM_IP_IN_3, CNFG_ENET1.QT_CONFIRM_IP_OUT_3, kConfirmHold, bk::T160);
    if (window != 0) {
        CNFG_ENET1.CONFIRM_IP_LIST_1 = CNFG_ENET1.QT_CONFIRM_IP_OUT_1;
        CNFG_ENET1.CONFIRM_IP_LIST_2 = CNFG_ENET1.QT_CONFIRM_IP_OUT_2;
        CNFG_ENET1.CONFIRM_IP_LIST_3 = CNFG_ENET1.QT_CONFIRM_IP_OUT_3;
    }
}

void CNFG_ENET1_mask_tail() {
    const uint32_t window = MASTER.IO_LOCK_OR_PWR_B_NAME;
    take_octet(CNFG_ENET1, 7, window);
    take_octet(CNFG_ENET1, 8, window);
    CNFG_ENET1.IP_7_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_7;
    CNFG_ENET1.IP_8_I_NAME = CNFG_ENET1.CONFIG_IP_LIST_8;
}

}  // namespace r160

namespace r80 {

void CNFG_ENET1_gateway() {
    auto& st = CNFG_ENET1_st;
    CNFG_ENET1.GATE_OR_OR = bk::OR({CNFG_ENET1.GATE_OR_IN_1, CNFG_ENET1.CONFIRM_IP_LIST_2});
    bk::ONE_SHOT(st.SET_GATEWAY, CNFG_ENET1.SET_GATEWAY_ONE_SHOT, &CNFG_ENET1.SET_GATEWAY_R_TIME.ref(),
                 CNFG_ENET1.GATE_OR_OR, kApplyPulse, bk::T80);
}

void CNFG_ENET1_address() {
    auto& st = CNFG_ENET1_st;
    CNFG_ENET1.SET1_OR =
        bk::OR({CNFG_ENET1.SET1_IN_1, CNFG_ENET1.CONFIRM_IP_LIST_1, CNFG_ENET1.INIT_ENET1_AND});
    bk::ONE_SHOT(st.SET_IP_1, CNFG_ENET1.SET_IP_1_ONE_SHOT, &CNFG_ENET1.SET_IP_1_R_TIME.ref(), CNFG_ENET1.SET1_OR,
                 kApplyPulse, bk::T80);
    raise_on_edge(st.ipEdge, CNFG_ENET1.SET_IP_1_ONE_SHOT, update_ip_flag_0);
    raise_on_edge(st.maskEdge, CNFG_ENET1.SET_IP_1_ONE_SHOT, update_mask_flag_0);
    raise_on_edge(st.gwEdge, CNFG_ENET1.SET_GATEWAY_ONE_SHOT, update_gw_flag);
    raise_on_edge(st.sntpEdge, CNFG_ENET1.CONFIRM_IP_LIST_3, update_sntp_flag);
    CNFG_ENET1.ENET_IPS_SNTP_FAULT = VNSntp_ClientError() != 0 ? 1u : 0u;
}

}  // namespace r80
