// The analog inputs' function checks and duplicate-function check. The
// duplicate check compares the sum of the function numbers the channels
// chose with the sum of the distinct numbers a 20-slot block collects: a
// function chosen twice counts twice in the first sum and once in the
// second.
#include "app/config/CNFG_CHECK_AI.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/CNFG_CHECK_BI.cells.h"
#include "app/config/CNFG_CHECK_VL.cells.h"
#include "app/config/function_check.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

using namespace fnchk;

// What each analog input function 1 .. 20 needs.
constexpr fnchk::Need kAiNeeds[] = {kAny, kRmtSpd, kCasc, kRmtCasc, kAny, kAny, kAny, kAny, kAny, kAny,
                                      kAny, kAny,    kAny,  kAny,     kAny, kAny, kAny, kAny, kAny, kAny};

struct AiCheck {
    const cat::Cell<int32_t>* function;
    const cat::Cell<uint32_t>* func_chk;
    const cat::Cell<uint32_t>* cnfg_err;
    const cat::Cell<uint32_t>* cfg_er;
    const cat::Cell<int32_t>* sw;
    fnchk::NotUsed not_used;
};
#define CNFG_CHECK_AI_ROW(UB, N)                                                                      \
    AiCheck{&UB.FUN_NUM_SAMP_ITUNE, &CNFG_CHECK_AI.AI_##N##_FUNC_CHK_B_MUX_N_1,                          \
            &CNFG_CHECK_AI.AI_##N##_CNFG_ERR_NOT, &CNFG_CHECK_AI.AI_##N##_CFG_ER_B_NAME,                 \
            &CNFG_CHECK_AI.AI_##N##_SW_I_SW,                                                             \
            {&CNFG_CHECK_AI.AI_##N##_NOT_USED_GT, &CNFG_CHECK_AI.AI_##N##_NOT_USED_EQ,                   \
             &CNFG_CHECK_AI.AI_##N##_NOT_USED_LT}}
constexpr AiCheck kChannels[kAiControllerChannels] = {CNFG_CHECK_AI_ROW(_ub6, 01), CNFG_CHECK_AI_ROW(_ub7, 02),
                                                      CNFG_CHECK_AI_ROW(_ub8, 03), CNFG_CHECK_AI_ROW(_ub9, 04)};
#undef CNFG_CHECK_AI_ROW

constexpr const cat::Cell<int32_t>* Imux_CNFG_CHECK_AI_AI_FUNCT_7407[20] = {
    &CNFG_CHECK_AI.AI_FUNCT_OUT_1,  &CNFG_CHECK_AI.AI_FUNCT_OUT_2,  &CNFG_CHECK_AI.AI_FUNCT_OUT_3,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_4,  &CNFG_CHECK_AI.AI_FUNCT_OUT_5,  &CNFG_CHECK_AI.AI_FUNCT_OUT_6,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_7,  &CNFG_CHECK_AI.AI_FUNCT_OUT_8,  &CNFG_CHECK_AI.AI_FUNCT_OUT_9,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_10, &CNFG_CHECK_AI.AI_FUNCT_OUT_11, &CNFG_CHECK_AI.AI_FUNCT_OUT_12,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_13, &CNFG_CHECK_AI.AI_FUNCT_OUT_14, &CNFG_CHECK_AI.AI_FUNCT_OUT_15,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_16, &CNFG_CHECK_AI.AI_FUNCT_OUT_17, &CNFG_CHECK_AI.AI_FUNCT_OUT_18,
    &CNFG_CHECK_AI.AI_FUNCT_OUT_19, &CNFG_CHECK_AI.AI_FUNCT_OUT_20,
};

constexpr fnchk::Collector<20> kCollector{Imux_CNFG_CHECK_AI_AI_FUNCT_7407};

}  // namespace

void CNFG_CHECK_AI_functions() {
    const fnchk::Features have = CNFG_CHECK_features();
    for (const AiCheck& c : kChannels) {
        fnchk::check(*c.func_chk, kAiNeeds, *c.function, have);
        *c.cnfg_err = bk::NOT(*c.func_chk);
        // No error while the configuration wizard is active.
        *c.cfg_er = bk::AND({*c.cnfg_err, CNFG_CHECK_BI.WIZ_OVRD_NOT});
    }
}

void CNFG_CHECK_AI_duplicates() {
    auto& c = CNFG_CHECK_AI;
    c.AI_ADD1_I_ADD = bk::I_ADD(fnchk::switch_sum(kChannels), CNFG_CHECK_VL.VL_FUNCTS_I_SW);
    kCollector.clear();
    for (const AiCheck& ch : kChannels) kCollector.collect(*ch.function);
    // The remote node's channels fill their slots whether or not the node is
    // enabled; only the channel sum leaves a disabled node out, so a disabled
    // node still holding a function of its own is a finding until its
    // channels are set back to "not used".
    CNFG_CHECK_VL_collect_analog(kCollector);
    c.AI_ADD2_I_ADD = kCollector.sum();
    c.DUP_AI_NOT = fnchk::duplicate(c.AI_FUNCT_EQ_EQ, c.AI_FUNCT_EQ_LT, c.AI_FUNCT_EQ_GT, c.AI_ADD1_I_ADD,
                                    c.AI_ADD2_I_ADD);
    c.DUPLICATE_AI_B_NAME = c.DUP_AI_NOT;
}

}  // namespace r160
