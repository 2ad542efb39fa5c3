// The chassis block task "__MASTER_CHASS_2351": publishes the controller's
// network settings into application cells, applies the settings the
// generated logic asks for through the platform, checks the CAN2 network,
// drives the CAN LED and steps the configuration of the four remote nodes,
// starting or stopping them. It loops every 5 ms below every rate group.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/CNFG_SNTP.cells.h"
#include "app/remote_io/remote_io.h"
#include "canopen/canopen.h"
#include "canopen/canopen_orsk.h"
#include "host/hostnet.h"
#include "host/vkboard.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/rgtask.h"

uint32_t PreviousLEDStateB;

namespace {

constexpr uint32_t kOctetFailed = 256;
constexpr int kSioCheckPasses = 80;
constexpr char kMacTemplate[] = "--:--:--:--:--:--";
constexpr char kNoAddress[] = "---.---.---.---";

// Processing order of the nodes: RTD, analog I/O, discrete input, relay.
constexpr RemoteNode kNodeOrder[4] = {kNodeRtd, kNodeAio, kNodeBi, kNodeBo};

using cells::CNFG_ENET1;

// An address text from the platform into a string cell.
void address_text(StrCell& cell, int queryResult, const char* text) {
    uint32_t a = 0;
    char out[40];
    if (queryResult == 0 && VKNetworkIPString2UINT(text, &a) == 0)
        std::snprintf(out, sizeof out, "%03u.%03u.%03u.%03u", a >> 24, (a >> 16) & 255u, (a >> 8) & 255u, a & 255u);
    else
        std::snprintf(out, sizeof out, "%s", kNoAddress);
    str_cell_copy(cell, out);
}

void octets(int32_t& o1, int32_t& o2, int32_t& o3, int32_t& o4, bool ok, uint32_t a) {
    o1 = static_cast<int32_t>(ok ? a >> 24 : kOctetFailed);
    o2 = static_cast<int32_t>(ok ? (a >> 16) & 255u : kOctetFailed);
    o3 = static_cast<int32_t>(ok ? (a >> 8) & 255u : kOctetFailed);
    o4 = static_cast<int32_t>(ok ? a & 255u : kOctetFailed);
}

// Address, mask and broadcast octets as the platform reports them.
void read_address_and_mask() {
    uint32_t mask = 0, addr = 0;
    const bool maskOk = VKNetworkMaskGet(0, &mask) == 0;
    const bool addrOk = VKNetworkAddrGet(0, &addr) == 0;
    auto& e = CNFG_ENET1;
    octets(e.ENET_IPS_MASK1_ADD_1.ref(), e.ENET_IPS_MASK2_ADD_1.ref(), e.ENET_IPS_MASK3_ADD_1.ref(),
           e.ENET_IPS_MASK4_ADD_1.ref(), maskOk, mask);
    octets(e.ENET_IPS_IP1_ADDR_1.ref(), e.ENET_IPS_IP2_ADDR_1.ref(), e.ENET_IPS_IP3_ADDR_1.ref(),
           e.ENET_IPS_IP4_ADDR_1.ref(), addrOk, addr);
    octets(e.ENET_IPS_BCAST_IP1_1.ref(), e.ENET_IPS_BCAST_IP2_1.ref(), e.ENET_IPS_BCAST_IP3_1.ref(),
           e.ENET_IPS_BCAST_IP4_1.ref(), maskOk && addrOk, addr | ~mask);
}

void read_gateway() {
    char text[64] = {0};
    const int r = VKGatewayGet(0, text);
    address_text(CNFG_ENET1.ENET_IPS_GATEWAY_ADDR.ref(), r, text);
}

void read_sntp() {
    char text[64] = {0};
    const int r = VNSntp_GetServerAddress(text);
    address_text(CNFG_ENET1.ENET_IPS_SNTP_ADDR.ref(), r, text);
    CNFG_ENET1.ENET_IPS_SNTP_RATE_RD = VNSntp_GetUpdateRate();
    CNFG_ENET1.ENET_IPS_SNTP_TIMEOUT_RD = VNSntp_GetServerTimeout();
    CNFG_ENET1.ENET_IPS_SNTP_ENABLED = VNSntp_ClientTaskActive() != 0 ? 1u : 0u;
}

// The Ethernet address into the template "--:--:--:--:--:--": the text must
// hold exactly 12 hexadecimal digits once its ':' and '-' separators are
// dropped; anything else leaves the template.
void read_mac() {
    char mac[sizeof kMacTemplate];
    std::memcpy(mac, kMacTemplate, sizeof mac);
    char text[64] = {0};
    if (VKGetEnetAddress(0, text) == 0 && std::strlen(text) <= 19) {
        char digits[13];
        int n = 0;
        bool ok = true;
        for (const char* p = text; *p != '\0' && ok; ++p) {
            if (*p == ':' || *p == '-') continue;
            if (!std::isxdigit(static_cast<unsigned char>(*p)) || n == 12) ok = false;
            else digits[n++] = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
        }
        if (ok && n == 12)
            for (int k = 0; k < 6; ++k) {
                mac[3 * k] = digits[2 * k];
                mac[3 * k + 1] = digits[2 * k + 1];
            }
    }
    str_cell_copy(CNFG_ENET1.ENET_IPS_MAC_ADDR_1.ref(), mac);
}

// Dotted text of four requested octet cells; false (nothing written) when an
// octet lies outside 0..255.
bool requested_address(char (&out)[16], int32_t o1, int32_t o2, int32_t o3, int32_t o4) {
    for (int32_t o : {o1, o2, o3, o4})
        if (o < 0 || o > 255) return false;
    std::snprintf(out, sizeof out, "%d.%d.%d.%d", o1, o2, o3, o4);
    return true;
}

// The requested octets are read from the 80 ms group's copies of the
// 160 ms settings: the values of the same 160 ms frame as the confirmation
// from which the 80 ms group raised the request, not ones the 160 ms group
// took over since. Until every group has run twice those copies may still
// be the cleared ones of the start (a request of the power-up pulse comes
// in the same tick as the first 160 ms pass), so a request waits until then
// rather than apply an address of zeros.
void apply_requests() {
    if (AllRgExecutedwMMM == 0) return;
    auto& e = CNFG_ENET1;
    auto& want = r80::CNFG_ENET1;
    char text[16];
    const bool ip = update_ip_flag_0 == 1, mask = update_mask_flag_0 == 1;
    if (ip && requested_address(text, want.IP_1_I_NAME, want.IP_2_I_NAME, want.IP_3_I_NAME, want.IP_4_I_NAME))
        VKIPSet(0, text);
    if (mask && requested_address(text, want.IP_5_I_NAME, want.IP_6_I_NAME, want.IP_7_I_NAME, want.IP_8_I_NAME))
        VKMaskSet(0, text);
    if (ip || mask) {
        read_address_and_mask();
        update_ip_flag_0 = 0;
        update_mask_flag_0 = 0;
    }
    if (update_sntp_flag == 1) {
        auto& s = r80::CNFG_SNTP;
        if (requested_address(text, s.IP_1_I_NAME, s.IP_2_I_NAME, s.IP_3_I_NAME, s.IP_4_I_NAME)) {
            VNSntp_SetServerAddress(text);
            VNSntp_SetUpdateRate(e.ENET_IPS_SNTP_RATE & 0xFFFF);
            VNSntp_SetServerTimeout(e.ENET_IPS_SNTP_TIMEOUT & 0xFFFF);
            if (e.ENET_IPS_SNTP_ENABLE == 1)
                VNSntp_ClientStart();
            else
                VNSntp_ClientStop();
        }
        update_sntp_flag = 0;
        read_sntp();
    }
    if (update_gw_flag == 1) {
        if (requested_address(text, want.GW_IP_1_I_NAME, want.GW_IP_2_I_NAME, want.GW_IP_3_I_NAME,
                              want.GW_IP_4_I_NAME))
            VKGatewaySet(0, text);
        update_gw_flag = 0;
        read_gateway();
    }
}

void can_led() {
    auto& c = cells::CNFG_CAN2;
    const uint32_t state = c.CAN2_NTW1_GRN_LED * 2 + c.CAN2_NTW1_RED_LED;
    if (state == PreviousLEDStateB) return;
    if (c.CAN2_NTW1_RED_LED != 0)
        VKCanLed2Red();
    else if (c.CAN2_NTW1_GRN_LED != 0)
        VKCanLed2Green();
    else
        VKCanLed2Off();
    PreviousLEDStateB = state;
}

// The node's fault cells and start request. The 80 ms node enable is the
// start request as the 20 ms group's copy holds it.
struct NodeGate {
    uint32_t cfgFault, idFault, commFlt1, request;
};
NodeGate node_gate(RemoteNode n) {
    auto& c = cells::CNFG_CAN2;
    auto& start = r20::CNFG_CAN2;
    switch (n) {
        case kNodeAio:
            return {c.VL_NODE1_AIO_CFG_FAULT, c.VL_NODE1_AIO_ID_FAULT, c.VL_NODE1_AIO_COMM_FLT_1,
                    start.VL1_ENABLE_AND};
        case kNodeRtd:
            return {c.VL_NODE3_RTD_8C_CFG_FAULT, c.VL_NODE3_RTD_8C_ID_FAULT, c.VL_NODE3_RTD_8C_COMM_FLT_1,
                    start.VL3_ENABLE_AND};
        case kNodeBi:
            return {c.VL_NODE4_BI_CFG_FAULT, c.VL_NODE4_BI_ID_FAULT, c.VL_NODE4_BI_COMM_FLT_1,
                    start.VL4_ENABLE_AND};
        default:
            return {c.VL_NODE5_BO_CFG_FAULT, c.VL_NODE5_BO_ID_FAULT, c.VL_NODE5_BO_COMM_FLT_1,
                    start.VL5_ENABLE_AND};
    }
}

void step_node(RemoteNode n) {
    RemoteNodeBlock& b = RemoteNodeBlocks[n];
    CoOrskNodeData& d = *CoOrskNodeData4[n];
    if (CNFG_CAN2_CAN2_NTW1_2357_NtwOpen != 0) {
        CO_ORSK_NodeConfig copy = *CoOrskNodeRecords[n];
        Process_CO_ORSK_Sdo(copy, nullptr);
        if ((d.Status & ORSK_IDLE) == 0 && (d.Status & ORSK_SDO_ERROR) != 0) b.Lost[0] = 1;
    }
    if (d.CurrentSDO == 2 || d.CurrentSDO == 6) {
        if ((d.Status & ORSK_SDO_ERROR) != 0) {
            d.Status &= ~ORSK_SDO_ERROR;
            b.SDOSlipCount = static_cast<int16_t>(b.SDOSlipCount + 32);
        } else if (b.SDOSlipCount > 0) {
            --b.SDOSlipCount;
        }
        if (b.SDOSlipCount > 128) b.Lost[0] = 1;
    }
    if (cells::CNFG_CAN2.CAN2_NTW1_NMT_STATUS != NMT_OPERATIONAL) return;
    const NodeGate g = node_gate(n);
    const uint8_t node = static_cast<uint8_t>(d.NodeId);
    if (g.request != 0 && b.RequestSeen == 0) {
        b.Started = 1;
        if ((d.Status & ORSK_IDLE) != 0) {
            if (g.cfgFault == 0 && g.idFault == 0 && g.commFlt1 == 0) {
                CanOpenNodeGoOperational(1, node);
                b.Operational = 1;
            }
            b.RequestSeen = 1;
        }
    }
    if (g.request == 0) b.RequestSeen = 0;
    if ((g.request == 0 || g.commFlt1 != 0) && b.Started != 0) {
        CanOpenNodeGoPreOperational(1, node);
        b.Operational = 0;
        b.Started = 0;
    }
}

}  // namespace

// The platform's serial-settings check of the SIO configuration: this
// application has nothing to check there.
void CheckSIOControlPrams(int) {}

int GenRedundantChecksum() { return 0; }

void _MASTER_CHASS_2351(long) {
    PreviousLEDStateB = 0;  // the start-up CAN set-up switched the LED off
    VKOS_SleepMillisec(100);
    read_gateway();
    read_sntp();
    update_ip_flag_0 = 1;
    update_mask_flag_0 = 1;
    read_address_and_mask();
    read_mac();
    update_ip_flag_0 = 0;
    update_mask_flag_0 = 0;
    VKOS_SleepMillisec(5);

    int passes = 1;
    for (;;) {
        if (passes > kSioCheckPasses) {
            CheckSIOControlPrams(0);
            passes = 0;
        }
        apply_requests();
        COpenNtwCheckCNFG_CAN2_CAN2_NTW1_2357();
        can_led();
        for (RemoteNode n : kNodeOrder) step_node(n);
        ++passes;
        VKOS_SleepMillisec(5);
    }
}

int _RGStartsFreerunThread() {
    __MASTER_CHASS_2351pid = VKOS_CreateProcess(_MASTER_CHASS_2351, 8192, 39, "__MASTER_CHASS_2351", 0);
    return VKOS_ResumeProcess(__MASTER_CHASS_2351pid);
}
