// The socket devices' address table from the UDP port blocks' peer octets.
#include <gtest/gtest.h>

#include "host/hostnet.h"
#include "runtime/eth_ports.h"

namespace {

TEST(EthPorts, UdpDevicesTakeTheirBlocksPeerAndTcpDevicesNone) {
    for (int d = 0; d < 8; ++d) {
        PentEthPortIP[d] = 0xDEAD0000u + static_cast<uint32_t>(d);
        PentEthPortNum[d] = 9000u + static_cast<uint32_t>(d);
    }
    CNFG_ETHER_PORT_5001_Peer = {{192, 168, 1, 20}};
    CNFG_ETHER_PORT_5002_Peer = {{10, 0, 0, 255}};
    SIM_PORT5005_TO_SIM_Peer = {{172, 16, 200, 7}};
    InitEthPorts();
    struct Row {
        int device;
        uint32_t ip, port;
    };
    const Row rows[] = {
        {2, 0, 9002},          {5, 0, 9005},           // TCP: no peer, port untouched
        {4, 0xC0A80114u, 0},   {6, 0x0A0000FFu, 0},    // CNFG_ETHER.PORT_5001 / 5002
        {7, 0xAC10C807u, 0},                           // SIM.PORT5005_TO_SIM
        {0, 0xDEAD0000u, 9000}, {1, 0xDEAD0001u, 9001}, {3, 0xDEAD0003u, 9003},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(PentEthPortIP[r.device], r.ip) << r.device;
        EXPECT_EQ(PentEthPortNum[r.device], r.port) << r.device;
    }
}

}  // namespace
