// MOD_LNK_STAT at 80 ms: the Modbus reset, from the common reset pulse or
// the delayed restart of the serial link.
#include "app/control/RESET.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/standin/SIO1_standin.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void MOD_LNK_STAT_reset() {
    MOD_LNK_STAT.RST_MODBUS_OR = bk::OR({RESET.RST_ONE_SHOT, SIO1.DLY_RST_MD_DELAY});
}

}  // namespace r80
