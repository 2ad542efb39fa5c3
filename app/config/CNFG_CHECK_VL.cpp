// The remote nodes' part of the duplicate checks: the switch values of the
// remote analog and discrete inputs, their sums, and the sums while the
// node is enabled (0 otherwise).
#include "app/config/CNFG_CHECK_VL.cells.h"

#include <iterator>

#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
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
// The remote discrete inputs by input number: the channel's function in
// force (1 is _ub59, 2 .. 9 are _ub67 .. _ub74, 10 .. 16 are _ub60 .. _ub66).
#define CNFG_CHECK_VL_B(NN, UB)                                                                      \
    Remote {                                                                                         \
        &UB.FUNCT_INT_I_NAME, &CNFG_CHECK_VL.BI_##NN##_SW_I_SW, {                                    \
            &CNFG_CHECK_VL.BI_##NN##_NOT_USED_GT, &CNFG_CHECK_VL.BI_##NN##_NOT_USED_EQ,              \
                &CNFG_CHECK_VL.BI_##NN##_NOT_USED_LT                                                 \
        }                                                                                            \
    }
constexpr Remote kDiscrete[] = {
    CNFG_CHECK_VL_B(01, _ub59), CNFG_CHECK_VL_B(02, _ub67), CNFG_CHECK_VL_B(03, _ub68), CNFG_CHECK_VL_B(04, _ub69),
    CNFG_CHECK_VL_B(05, _ub70), CNFG_CHECK_VL_B(06, _ub71), CNFG_CHECK_VL_B(07, _ub72), CNFG_CHECK_VL_B(08, _ub73),
    CNFG_CHECK_VL_B(09, _ub74), CNFG_CHECK_VL_B(10, _ub60), CNFG_CHECK_VL_B(11, _ub61), CNFG_CHECK_VL_B(12, _ub62),
    CNFG_CHECK_VL_B(13, _ub63), CNFG_CHECK_VL_B(14, _ub64), CNFG_CHECK_VL_B(15, _ub65), CNFG_CHECK_VL_B(16, _ub66)};
#undef CNFG_CHECK_VL_B

}  // namespace

void CNFG_CHECK_VL_analog() {
    CNFG_CHECK_VL.VL_FUNCT_I_ADD = fnchk::switch_sum(kAnalog);
    CNFG_CHECK_VL.VL_FUNCTS_I_SW = bk::SW<int32_t>(CNFG_CAN2.VL1_ENA_B_NAME, 0, CNFG_CHECK_VL.VL_FUNCT_I_ADD);
}

void CNFG_CHECK_VL_discrete_input(int n) { fnchk::switch_value(kDiscrete[n - 1]); }

void CNFG_CHECK_VL_discrete() {
    CNFG_CHECK_VL.BI_FUNCT_I_ADD = fnchk::sum_of_switches(kDiscrete);
    CNFG_CHECK_VL.BI_FUNCTS_I_SW = bk::SW<int32_t>(CNFG_CAN2.VL4_ENA_B_NAME, 0, CNFG_CHECK_VL.BI_FUNCT_I_ADD);
}

void CNFG_CHECK_VL_collect_analog(const fnchk::Collector<20>& block) {
    for (const Remote& r : kAnalog) block.collect(*r.function);
}

void CNFG_CHECK_VL_collect_discrete(const fnchk::Collector<50>& block) {
    for (const Remote& r : kDiscrete) block.collect(*r.sw);
}

}  // namespace r160
