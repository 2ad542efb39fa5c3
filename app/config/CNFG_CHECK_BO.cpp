// The relays' function checks. A relay that acts as a level switch is
// checked only for its level-switch function, otherwise only for its relay
// function.
#include "app/config/CNFG_CHECK_BO.cells.h"

#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/function_check.h"
#include "app/discrete/RELAY_CHANNEL.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

using namespace fnchk;

// What each relay function needs: relays 2 and 4 know functions 1 .. 20,
// relay 3 also 21.
constexpr fnchk::Need kRelayNeeds[] = {kAny,  kAny,  kAny,  kAny,     kAny,     kRmtSpd, kRmtSpd,
                                         kAny,  kAny,  kAny,  kAny,     kAny,     kAny,    kCasc,
                                         kCasc, kCasc, kRmtCasc, kRmtCasc, kAny, kAny};
constexpr fnchk::Need kRelay3Needs[] = {kAny,  kAny,  kAny,  kAny,     kAny,     kRmtSpd, kRmtSpd,
                                          kAny,  kAny,  kAny,  kAny,     kAny,     kAny,    kCasc,
                                          kCasc, kCasc, kRmtCasc, kRmtCasc, kAny, kAny, kAny};
// What each level-switch function 1 .. 12 needs.
constexpr fnchk::Need kLevelNeeds[] = {kAny, kAny,     kAny,     kCasc,    kCasc, kAny,
                                         kSigMon1, kSigMon2, kSigMon3, kAny, kAny, kAny};

// The relay-function part of relay UB's check N.
#define CNFG_CHECK_BO_RELAY(UB, N, TABLE)                                                              \
    void relay_##N(const fnchk::Features& have) {                                                      \
        fnchk::check(CNFG_CHECK_BO.BO_##N##_FUNC_CHK_B_MUX_N_1, TABLE, UB.FUNCT_INT_I_NAME, have);      \
        CNFG_CHECK_BO.BO_##N##_CNFG_ERR_NOT = bk::NOT(CNFG_CHECK_BO.BO_##N##_FUNC_CHK_B_MUX_N_1);      \
        CNFG_CHECK_BO.BO_##N##_CNFG_ERR_AND_AND =                                                      \
            bk::AND({CNFG_CHECK_BO.BO_##N##_CNFG_ERR_NOT, bk::NOT(UB.USE_LVL_SW_B_NAME)});             \
    }
CNFG_CHECK_BO_RELAY(_ub21, 02, kRelayNeeds)
CNFG_CHECK_BO_RELAY(_ub22, 03, kRelay3Needs)
CNFG_CHECK_BO_RELAY(_ub23, 04, kRelayNeeds)
#undef CNFG_CHECK_BO_RELAY

// The level-switch part and the relay's error of check N.
#define CNFG_CHECK_BO_LEVEL(UB, N)                                                                     \
    void level_##N(const fnchk::Features& have) {                                                      \
        fnchk::check(CNFG_CHECK_BO.BO_##N##_LVL_FUNC_CHK_B_MUX_N_1, kLevelNeeds,                       \
                     UB.RLY_LVL_FUNCT_SAMP_ITUNE, have);                                               \
        CNFG_CHECK_BO.BO_##N##_LVL_CNFG_ERR_NOT = bk::NOT(CNFG_CHECK_BO.BO_##N##_LVL_FUNC_CHK_B_MUX_N_1); \
        CNFG_CHECK_BO.BO_##N##_LVL_SW_AND =                                                            \
            bk::AND({UB.OUT_USE_LVL_SW_B_NAME, CNFG_CHECK_BO.BO_##N##_LVL_CNFG_ERR_NOT});              \
        CNFG_CHECK_BO.BO_##N##_ERR_OR =                                                                \
            bk::OR({CNFG_CHECK_BO.BO_##N##_CNFG_ERR_AND_AND, CNFG_CHECK_BO.BO_##N##_LVL_SW_AND});      \
    }
CNFG_CHECK_BO_LEVEL(_ub21, 02)
CNFG_CHECK_BO_LEVEL(_ub22, 03)
CNFG_CHECK_BO_LEVEL(_ub23, 04)
#undef CNFG_CHECK_BO_LEVEL

}  // namespace

void CNFG_CHECK_BO_functions() {
    const fnchk::Features have = CNFG_CHECK_features();
    relay_02(have);
    level_02(have);
    relay_03(have);
    level_03(have);
    relay_04(have);
}

void CNFG_CHECK_BO_relay_errors() {
    level_04(CNFG_CHECK_features());
    auto& C = CNFG_CHECK_BO;
    C.RLY1ER_B_NAME = C.RLY1ER_IN;
    C.RLY2ER_B_NAME = C.BO_02_ERR_OR;
    C.RLY3ER_B_NAME = C.BO_03_ERR_OR;
    C.RLY4ER_B_NAME = C.BO_04_ERR_OR;
}

}  // namespace r160
