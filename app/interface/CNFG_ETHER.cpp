// CNFG_ETHER: the cells the drivers of the Ethernet devices report through,
// handed to the device table.
#include "app/interface/CNFG_ETHER.cells.h"

#include "runtime/sysinfo.h"

void CNFG_ETHER_init_blks() {
    auto& e = cells::CNFG_ETHER;
    e.NETADDR_1_TCP_P = 2;
    e.NETADDR_2_TCP_P = 5;
    e.PORT_5001_UDP_P = 4;
    e.PORT_5001_P_STATUS = 1;
    e.PORT_5002_UDP_P = 6;
    e.PORT_5002_P_STATUS = 1;
}

namespace rtcells {
int32_t& CNFG_ETHER_NETADDR_1_P_STATUS() { return cells::CNFG_ETHER.NETADDR_1_P_STATUS.ref(); }
uint32_t& CNFG_ETHER_NETADDR_1_FAULT() { return cells::CNFG_ETHER.NETADDR_1_FAULT.ref(); }
int32_t& CNFG_ETHER_NETADDR_2_P_STATUS() { return cells::CNFG_ETHER.NETADDR_2_P_STATUS.ref(); }
uint32_t& CNFG_ETHER_NETADDR_2_FAULT() { return cells::CNFG_ETHER.NETADDR_2_FAULT.ref(); }
uint32_t& CNFG_ETHER_PORT_5001_FAULT() { return cells::CNFG_ETHER.PORT_5001_FAULT.ref(); }
uint32_t& CNFG_ETHER_PORT_5002_FAULT() { return cells::CNFG_ETHER.PORT_5002_FAULT.ref(); }
}  // namespace rtcells
