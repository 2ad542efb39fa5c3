// The discrete inputs' function checks: a function that needs the remote
// speed setpoint, cascade or remote cascade raises the input's error while
// that feature is off, except while the configuration wizard is active.
#include "app/config/CNFG_CHECK_BI.cells.h"

#include "app/config/CNFG_WIZ.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/function_check.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

using namespace fnchk;

// What each discrete input function 1 .. 30 needs.
constexpr fnchk::Need kBiNeeds[] = {
    kAny, kAny, kAny, kAny, kAny, kAny,  kAny,  kRmtSpd, kAny, kAny,  // 1 .. 10
    kCasc, kCasc, kCasc, kRmtCasc, kAny, kAny, kAny, kAny, kAny, kAny,  // 11 .. 20
    kAny, kAny, kAny, kCasc, kCasc, kAny, kAny, kAny, kAny, kAny,   // 21 .. 30
};

struct BiCheck {
    const cat::Cell<int32_t>* function;
    const cat::Cell<uint32_t>* func_chk;
    const cat::Cell<uint32_t>* cnfg_err;
    const cat::Cell<uint32_t>* chk;
    const cat::Cell<uint32_t>* cfg_er;
};
#define CNFG_CHECK_BI_ROW(UB, N, K)                                                                   \
    BiCheck{&UB.FUNCT_INT_I_NAME, &CNFG_CHECK_BI.BI_##N##_FUNC_CHK_B_MUX_N_1,                           \
            &CNFG_CHECK_BI.BI_##N##_CNFG_ERR_NOT, &CNFG_CHECK_BI.CHK##K##_AND,                          \
            &CNFG_CHECK_BI.DI##N##CFG_ER_B_NAME}
constexpr BiCheck kChannels[kBiControllerChannels] = {
    CNFG_CHECK_BI_ROW(_ub13, 01, 1), CNFG_CHECK_BI_ROW(_ub14, 02, 2), CNFG_CHECK_BI_ROW(_ub15, 03, 3),
    CNFG_CHECK_BI_ROW(_ub16, 04, 4), CNFG_CHECK_BI_ROW(_ub17, 05, 5), CNFG_CHECK_BI_ROW(_ub18, 06, 6),
    CNFG_CHECK_BI_ROW(_ub19, 07, 7), CNFG_CHECK_BI_ROW(_ub20, 08, 8),
};
#undef CNFG_CHECK_BI_ROW

}  // namespace

void CNFG_CHECK_BI_wizard() { CNFG_CHECK_BI.WIZ_OVRD_NOT = bk::NOT(CNFG_WIZ.WIZARD_B_NAME); }

void CNFG_CHECK_BI_functions() {
    const fnchk::Features have = CNFG_CHECK_features();
    for (const BiCheck& c : kChannels) {
        fnchk::check(*c.func_chk, kBiNeeds, *c.function, have);
        *c.cnfg_err = bk::NOT(*c.func_chk);
        *c.chk = bk::AND({CNFG_CHECK_BI.WIZ_OVRD_NOT, *c.cnfg_err});
        *c.cfg_er = *c.chk;
    }
}

}  // namespace r160
