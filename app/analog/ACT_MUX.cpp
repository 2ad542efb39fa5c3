// ACT_MUX at 10 ms: the actuator fault goes to output (function - 1) of the
// routing, 1 the HP valve, 2 the HP2 valve; the outputs are cleared first.
#include "app/analog/ACT_MUX.cells.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/control/SD_LOGIC.cells.h"

namespace r10 {

namespace {
// Output `number` (1 or 2) of the routing; nothing for another number.
void route(int32_t number, uint32_t value) {
    if (number == 1) ACT_MUX.HP_FLT_ACTOUT_B_NAME = value;
    else if (number == 2) ACT_MUX.HP2_FLT_ACTOUT_B_NAME = value;
}
}  // namespace

void ACT_MUX_fault_routing() {
    ACT_MUX.HP_FLT_ACTOUT_B_NAME = 0u;
    ACT_MUX.HP2_FLT_ACTOUT_B_NAME = 0u;
    route(_ub5.FUNCT_INT_I_NAME - 1, CNFG_ACT.ACT_01_FLT_ANY_OR);
    route(ACT_MUX.HP_FLT_ACT_SEL_2 - 1, ACT_MUX.HP_FLT_ACT_IN_2);
}

}  // namespace r10
