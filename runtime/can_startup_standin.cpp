// STAND-IN definitions (see can_startup_standin.h); weak so that the real
// definitions of the subsystems that own them take over when linked.
#include "runtime/can_startup_standin.h"

#include "host/vxworks.h"

CanStartupCellsStandin canCellsStandin;

__attribute__((weak)) uint32_t VmeMasterController = 1;

// The FPGA's free-running microsecond timer, low 16 bits.
__attribute__((weak)) uint32_t VKIO_fpgaRdUint16(uint32_t) { return VKGetTimer() & 0xFFFF; }

__attribute__((weak)) uint32_t VKGetIdentityRevision() { return 1; }
__attribute__((weak)) uint32_t VKGetIdentitySerialNumber() { return 0; }
__attribute__((weak)) uint32_t VKGetIdentityPartNumber() { return 0; }
__attribute__((weak)) void VKCanLed1Off() {}
__attribute__((weak)) void VKCanLed2Off() {}
