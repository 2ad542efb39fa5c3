// CNFG_SIO: the cells the serial device's driver reports through, handed to
// the device table.
#include "app/interface/CNFG_SIO.cells.h"

#include "runtime/sysinfo.h"

namespace rtcells {
int32_t& CNFG_SIO_COMM1_PORT_P_STATUS() { return cells::CNFG_SIO.COMM1_PORT_P_STATUS.ref(); }
uint32_t& CNFG_SIO_COMM1_PORT_FAULT() { return cells::CNFG_SIO.COMM1_PORT_FAULT.ref(); }
}  // namespace rtcells
