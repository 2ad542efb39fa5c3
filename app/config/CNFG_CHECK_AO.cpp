// The analog outputs' function checks: an output function that needs the
// remote speed setpoint, cascade or remote cascade raises the output's error
// while that feature is off, whether or not the wizard is active.
#include "app/config/CNFG_CHECK_AO.cells.h"

#include "app/analog/AO_CHANNEL.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/function_check.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

using namespace fnchk;

// What each analog output function 1 .. 20 needs.
constexpr fnchk::Need kAoNeeds[] = {kAny, kAny, kAny, kRmtSpd, kCasc, kCasc, kRmtCasc, kAny, kAny, kAny,
                                      kAny, kAny, kAny, kAny,    kAny,  kAny,  kAny,     kAny, kAny, kAny};

struct AoCheck {
    const cat::Cell<int32_t>* function;
    const cat::Cell<uint32_t>* func_chk;
    const cat::Cell<uint32_t>* cfg_er;
};
constexpr AoCheck kChannels[kAoChannels] = {
    {&_ub10.FUNCT_INT_I_NAME, &CNFG_CHECK_AO.AO_01_FUNC_CHK_B_MUX_N_1, &CNFG_CHECK_AO.AO01CFG_ER_B_NAME},
    {&_ub11.FUNCT_INT_I_NAME, &CNFG_CHECK_AO.AO_02_FUNC_CHK_B_MUX_N_1, &CNFG_CHECK_AO.AO02CFG_ER_B_NAME},
    {&_ub12.FUNCT_INT_I_NAME, &CNFG_CHECK_AO.AO_03_FUNC_CHK_B_MUX_N_1, &CNFG_CHECK_AO.AO03CFG_ER_B_NAME},
};

}  // namespace

void CNFG_CHECK_AO_functions() {
    const fnchk::Features have = CNFG_CHECK_features();
    for (const AoCheck& c : kChannels) {
        fnchk::check(*c.func_chk, kAoNeeds, *c.function, have);
        *c.cfg_er = bk::NOT(*c.func_chk);
    }
}

}  // namespace r160
