// Module CNFG_ENET1: the Ethernet settings of the controller. The 160 ms
// group takes the address, mask and gateway tunables over while the I/O is
// locked and latches the operator's confirmations; the 80 ms group turns the
// confirmations into apply pulses and request flags; the chassis task
// applies the address, mask and gateway octets as the 80 ms group's copies
// hold them and publishes what the interface holds (ENET_IPS, no rate group).
#pragma once

#include "runtime/catalogue.h"

#define CNFG_ENET1_OCTET_ROWS(X, K, DEF)                     \
    X(CONFIG_IP, IN_##K, I, R160, TUNE(DEF, 0, 255))         \
    X(CONFIG_IP, LIST_##K, I, R160, PLAIN)

#define CNFG_ENET1_CELLS(X)                                  \
    CNFG_ENET1_OCTET_ROWS(X, 1, 172)                         \
    CNFG_ENET1_OCTET_ROWS(X, 2, 16)                          \
    CNFG_ENET1_OCTET_ROWS(X, 3, 10)                          \
    CNFG_ENET1_OCTET_ROWS(X, 4, 10)                          \
    CNFG_ENET1_OCTET_ROWS(X, 5, 255)                         \
    CNFG_ENET1_OCTET_ROWS(X, 6, 255)                         \
    CNFG_ENET1_OCTET_ROWS(X, 7, 0)                           \
    CNFG_ENET1_OCTET_ROWS(X, 8, 0)                           \
    CNFG_ENET1_OCTET_ROWS(X, 9, 10)                          \
    CNFG_ENET1_OCTET_ROWS(X, 10, 0)                          \
    CNFG_ENET1_OCTET_ROWS(X, 11, 0)                          \
    CNFG_ENET1_OCTET_ROWS(X, 12, 1)                          \
    X(IP_1, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_2, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_3, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_4, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_5, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_6, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_7, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_8, I_NAME, I, R160, PLAIN, R80)                     \
    X(GW_IP_1, I_NAME, I, R160, PLAIN, R80)                  \
    X(GW_IP_2, I_NAME, I, R160, PLAIN, R80)                  \
    X(GW_IP_3, I_NAME, I, R160, PLAIN, R80)                  \
    X(GW_IP_4, I_NAME, I, R160, PLAIN, R80)                  \
    X(QT_CONFIRM_IP, IN_1, B, R160, SVC_IN)                  \
    X(QT_CONFIRM_IP, IN_2, B, R160, SVC_IN)                  \
    X(QT_CONFIRM_IP, IN_3, B, R160, SVC_IN)                  \
    X(QT_CONFIRM_IP, OUT_1, B, R160, PLAIN)                  \
    X(QT_CONFIRM_IP, OUT_2, B, R160, PLAIN)                  \
    X(QT_CONFIRM_IP, OUT_3, B, R160, PLAIN)                  \
    X(CONFIRM_IP, LIST_1, B, R160, PLAIN, R80)               \
    X(CONFIRM_IP, LIST_2, B, R160, PLAIN, R80)               \
    X(CONFIRM_IP, LIST_3, B, R160, PLAIN, R80)               \
    X(GATE_OR, IN_1, B, R80, TUNE(false))                    \
    X(GATE_OR, OR, B, R80, PLAIN)                            \
    X(SET_GATEWAY, ONE_SHOT, B, R80, PLAIN)                  \
    X(SET_GATEWAY, R_TIME, I, R80, PLAIN)                    \
    X(INIT_ENET1, IN_2, B, R80, TUNE(false))                 \
    X(INIT_ENET1, AND, B, R80, PLAIN)                        \
    X(SET1, IN_1, B, R80, TUNE(false))                       \
    X(SET1, OR, B, R80, PLAIN)                               \
    X(SET_IP_1, ONE_SHOT, B, R80, PLAIN)                     \
    X(SET_IP_1, R_TIME, I, R80, PLAIN)                       \
    X(ENET_IPS, SNTP_FAULT, B, R80, PLAIN)                   \
    X(ENET_IPS, SNTP_ENABLE, B, RNone, TUNE(false))          \
    X(ENET_IPS, SNTP_RATE, I, RNone, TUNE(60, 0, 65535))     \
    X(ENET_IPS, SNTP_TIMEOUT, I, RNone, TUNE(5, 0, 65535))   \
    X(ENET_IPS, GATEWAY_ADDR, C, RNone, PLAIN)               \
    X(ENET_IPS, SNTP_ADDR, C, RNone, PLAIN)                  \
    X(ENET_IPS, MAC_ADDR_1, C, RNone, PLAIN)                 \
    X(ENET_IPS, IP1_ADDR_1, I, RNone, PLAIN)                 \
    X(ENET_IPS, IP2_ADDR_1, I, RNone, PLAIN)                 \
    X(ENET_IPS, IP3_ADDR_1, I, RNone, PLAIN)                 \
    X(ENET_IPS, IP4_ADDR_1, I, RNone, PLAIN)                 \
    X(ENET_IPS, MASK1_ADD_1, I, RNone, PLAIN)                \
    X(ENET_IPS, MASK2_ADD_1, I, RNone, PLAIN)                \
    X(ENET_IPS, MASK3_ADD_1, I, RNone, PLAIN)                \
    X(ENET_IPS, MASK4_ADD_1, I, RNone, PLAIN)                \
    X(ENET_IPS, BCAST_IP1_1, I, RNone, PLAIN)                \
    X(ENET_IPS, BCAST_IP2_1, I, RNone, PLAIN)                \
    X(ENET_IPS, BCAST_IP3_1, I, RNone, PLAIN)                \
    X(ENET_IPS, BCAST_IP4_1, I, RNone, PLAIN)                \
    X(ENET_IPS, SNTP_RATE_RD, I, RNone, PLAIN)               \
    X(ENET_IPS, SNTP_TIMEOUT_RD, I, RNone, PLAIN)            \
    X(ENET_IPS, SNTP_ENABLED, B, RNone, PLAIN)
CAT_MODULE(CNFG_ENET1)


// Request words of the chassis task: set to 1 by the 80 ms group, applied
// and cleared by the task.
extern uint32_t update_ip_flag_0, update_mask_flag_0, update_gw_flag, update_sntp_flag;

namespace r160 {
// Slice 28: the address and gateway lists and the confirmations.
void CNFG_ENET1_lists();
// Slice 29: the mask's last two octets and the SNTP server.
void CNFG_ENET1_mask_tail();
}  // namespace r160
namespace r80 {
// The gateway apply pulse.
void CNFG_ENET1_gateway();
// The address apply pulse, the request flags and the SNTP fault.
void CNFG_ENET1_address();
}  // namespace r80
// Service write of a confirmation input (1 .. 3): restarts its hold time.
void CNFG_ENET1_confirm_written(int k, uint32_t value);
// Block initialisation: the confirmations start elapsed.
void CNFG_ENET1_init();
