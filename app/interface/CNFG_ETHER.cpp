// CNFG_ETHER: the cells the drivers of the Ethernet devices report through,
// handed to the device table.
#include "app/interface/CNFG_ETHER.cells.h"

#include "runtime/sysinfo.h"

namespace rtcells {
int32_t& CNFG_ETHER_NETADDR_1_P_STATUS() { return cells::CNFG_ETHER.NETADDR_1_P_STATUS.ref(); }
uint32_t& CNFG_ETHER_NETADDR_1_FAULT() { return cells::CNFG_ETHER.NETADDR_1_FAULT.ref(); }
int32_t& CNFG_ETHER_NETADDR_2_P_STATUS() { return cells::CNFG_ETHER.NETADDR_2_P_STATUS.ref(); }
uint32_t& CNFG_ETHER_NETADDR_2_FAULT() { return cells::CNFG_ETHER.NETADDR_2_FAULT.ref(); }
uint32_t& CNFG_ETHER_PORT_5001_FAULT() { return cells::CNFG_ETHER.PORT_5001_FAULT.ref(); }
uint32_t& CNFG_ETHER_PORT_5002_FAULT() { return cells::CNFG_ETHER.PORT_5002_FAULT.ref(); }
}  // namespace rtcells
