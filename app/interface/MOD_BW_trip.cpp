// MOD_BW at 80 ms: the Modbus trip. Coil 3 trips while Modbus is used and
// its trip is enabled; the service override replaces it with its own
// setting.
#include "app/interface/MOD.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void MOD_BW_trip_command() {
    auto& c = MOD_BW;
    c.MOD1_SD_B_NAME = c.MOD1_SD_IN;
    c.M1_BW_3_AND = bk::AND({c.BW_CMD_SEL_3, MOD.USE_MOD_B_NAME, c.MOD1_SD_B_NAME});
    c.MOD1_SW_B_SW = bk::SW<uint32_t>(c.MOD1_SW_CTRL, c.M1_BW_3_AND, c.MOD1_SW_NO);
}

}  // namespace r80
