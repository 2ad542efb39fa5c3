// ORVEX12_IO at 20 ms: the board temperature the chassis-status task last
// stored, and the calibration fault, reported unless its tunable masks it.
#include "app/control/ORVEX12_IO.cells.h"
#include "drivers/ZarnChassisStatus.h"
#include "runtime/blockkinds.h"
#include "runtime/sysinfo.h"

namespace rtcells {
uint32_t& ORVEX12_IO_CHASS_STATUS_CAL_FLT() { return r20::ORVEX12_IO.CHASS_STATUS_CAL_FLT.ref(); }
}  // namespace rtcells

namespace r20 {

void ORVEX12_IO_chassis() {
    auto& c = ORVEX12_IO;
    c.CHASS_STATUS_CELSIUS = ORVEX12_IO_CHASS_STATUS_2278TemperatureValue;
    c.CAL_FLT_AND = bk::AND({c.CHASS_STATUS_CAL_FLT, c.CAL_FLT_IN_2});
}

}  // namespace r20
