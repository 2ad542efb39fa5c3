#include "runtime/eth_ports.h"

#include "host/hostnet.h"

EthPortPeer CNFG_ETHER_PORT_5001_Peer;
EthPortPeer CNFG_ETHER_PORT_5002_Peer;
EthPortPeer SIM_PORT5005_TO_SIM_Peer;

namespace {

uint32_t address(const EthPortPeer& p) {
    return (p.octet[0] << 24) + (p.octet[1] << 16) + (p.octet[2] << 8) + p.octet[3];
}

void udpDevice(int device, const EthPortPeer& p) {
    PentEthPortIP[device] = address(p);
    PentEthPortNum[device] = 0;
}

}  // namespace

void InitEthPorts() {
    PentEthPortIP[2] = 0;
    PentEthPortIP[5] = 0;
    udpDevice(4, CNFG_ETHER_PORT_5001_Peer);
    udpDevice(6, CNFG_ETHER_PORT_5002_Peer);
    udpDevice(7, SIM_PORT5005_TO_SIM_Peer);
}
