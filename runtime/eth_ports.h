// The socket devices' address table built at start-up from the port blocks.
#pragma once

#include <cstdint>

// Hidden octet items of the UDP port blocks: the peer's IPv4 address, first
// octet first. They belong to the blocks "CNFG_ETHER.PORT_5001",
// "CNFG_ETHER.PORT_5002" and "SIM.PORT5005_TO_SIM" and are not in the cell
// directory.
struct EthPortPeer {
    uint32_t octet[4];
};
extern EthPortPeer CNFG_ETHER_PORT_5001_Peer;
extern EthPortPeer CNFG_ETHER_PORT_5002_Peer;
extern EthPortPeer SIM_PORT5005_TO_SIM_Peer;

// Fills PentEthPortIP / PentEthPortNum: no peer for the TCP devices 2 and 5;
// the UDP devices 4, 6 and 7 take their block's peer address, port 0.
void InitEthPorts();
