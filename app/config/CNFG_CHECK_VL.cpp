// The remote nodes' part of the duplicate checks: the switch values of the
// remote analog and discrete inputs, their sums, and the sums while the
// node is enabled (0 otherwise).
#include "app/config/CNFG_CHECK_VL.cells.h"

#include <iterator>

#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/function_check.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

struct Remote {
    const cat::Cell<int32_t>* function;
    const cat::Cell<int32_t>* sw;
    fnchk::NotUsed not_used;
};
#define CNFG_CHECK_VL_A(N)                                                                           \
    Remote {                                                                                         \
        &VLTR_OUTS.VL_AI_FUNCT_LIST_##N, &CNFG_CHECK_VL.VL_AI_##N##_SW_I_SW, {                       \
            &CNFG_CHECK_VL.VL_AI_##N##_NOT_USED_GT, &CNFG_CHECK_VL.VL_AI_##N##_NOT_USED_EQ,          \
                &CNFG_CHECK_VL.VL_AI_##N##_NOT_USED_LT                                               \
        }                                                                                            \
    }
constexpr Remote kAnalog[] = {CNFG_CHECK_VL_A(1), CNFG_CHECK_VL_A(2), CNFG_CHECK_VL_A(3),
                                           CNFG_CHECK_VL_A(4), CNFG_CHECK_VL_A(5), CNFG_CHECK_VL_A(6),
                                           CNFG_CHECK_VL_A(7), CNFG_CHECK_VL_A(8)};
#undef CNFG_CHECK_VL_A
#define CNFG_CHECK_VL_B(N, NN)                                                                       \
    Remote {                                                                                         \
        &VLTR_OUTS.VL_BINS_FUN_LIST_##N, &CNFG_CHECK_VL.BI_##NN##_SW_I_SW, {                         \
            &CNFG_CHECK_VL.BI_##NN##_NOT_USED_GT, &CNFG_CHECK_VL.BI_##NN##_NOT_USED_EQ,              \
                &CNFG_CHECK_VL.BI_##NN##_NOT_USED_LT                                                 \
        }                                                                                            \
    }
constexpr Remote kDiscrete[] = {
    CNFG_CHECK_VL_B(1, 01),  CNFG_CHECK_VL_B(2, 02),  CNFG_CHECK_VL_B(3, 03),  CNFG_CHECK_VL_B(4, 04),
    CNFG_CHECK_VL_B(5, 05),  CNFG_CHECK_VL_B(6, 06),  CNFG_CHECK_VL_B(7, 07),  CNFG_CHECK_VL_B(8, 08),
    CNFG_CHECK_VL_B(9, 09),  CNFG_CHECK_VL_B(10, 10), CNFG_CHECK_VL_B(11, 11), CNFG_CHECK_VL_B(12, 12),
    CNFG_CHECK_VL_B(13, 13), CNFG_CHECK_VL_B(14, 14), CNFG_CHECK_VL_B(15, 15), CNFG_CHECK_VL_B(16, 16)};
#undef CNFG_CHECK_VL_B

}  // namespace

void CNFG_CHECK_VL_analog() {
    CNFG_CHECK_VL.VL_FUNCT_I_ADD = fnchk::switch_sum(kAnalog);
    CNFG_CHECK_VL.VL_FUNCTS_I_SW = bk::SW<int32_t>(CNFG_CAN2.VL1_ENA_B_NAME, 0, CNFG_CHECK_VL.VL_FUNCT_I_ADD);
}

void CNFG_CHECK_VL_discrete() {
    CNFG_CHECK_VL.BI_FUNCT_I_ADD = fnchk::switch_sum(kDiscrete);
    CNFG_CHECK_VL.BI_FUNCTS_I_SW = bk::SW<int32_t>(CNFG_CAN2.VL4_ENA_B_NAME, 0, CNFG_CHECK_VL.BI_FUNCT_I_ADD);
}

void CNFG_CHECK_VL_collect_analog(const fnchk::Collector<20>& block) {
    for (const Remote& r : kAnalog) block.collect(*r.function);
}

void CNFG_CHECK_VL_collect_discrete(const fnchk::Collector<50>& block) {
    for (const Remote& r : kDiscrete) block.collect(*r.sw);
}

}  // namespace r160
