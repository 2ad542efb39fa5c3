// The discrete inputs' duplicate-function check: the sum of the switch
// values the channels chose against the sum of the distinct numbers a
// 50-slot block collects.
#include "app/config/CNFG_DUP_CHK_BI.cells.h"

#include "app/config/CNFG_CHECK_BI.cells.h"
#include "app/config/CNFG_CHECK_VL.cells.h"
#include "app/config/function_check.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

struct BiDup {
    const cat::Cell<int32_t>* function;
    const cat::Cell<int32_t>* sw;
    fnchk::NotUsed not_used;
};
#define CNFG_DUP_CHK_BI_ROW(UB, N)                                                                     \
    BiDup {                                                                                             \
        &UB.FUNCT_INT_I_NAME, &CNFG_DUP_CHK_BI.BI_##N##_SW_I_SW, {                                      \
            &CNFG_DUP_CHK_BI.BI_##N##_NOT_USED_GT, &CNFG_DUP_CHK_BI.BI_##N##_NOT_USED_EQ,               \
                &CNFG_DUP_CHK_BI.BI_##N##_NOT_USED_LT                                                   \
        }                                                                                               \
    }
constexpr BiDup kChannels[7] = {CNFG_DUP_CHK_BI_ROW(_ub13, 01), CNFG_DUP_CHK_BI_ROW(_ub14, 02),
                                CNFG_DUP_CHK_BI_ROW(_ub16, 04), CNFG_DUP_CHK_BI_ROW(_ub17, 05),
                                CNFG_DUP_CHK_BI_ROW(_ub18, 06), CNFG_DUP_CHK_BI_ROW(_ub19, 07),
                                CNFG_DUP_CHK_BI_ROW(_ub20, 08)};
#undef CNFG_DUP_CHK_BI_ROW

constexpr int kSlots = 50;
constexpr const cat::Cell<int32_t>* Imux_CNFG_DUP_CHK_BI_BI_FUNCT_7611[kSlots] = {
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_1, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_2, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_3, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_4, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_5,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_6, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_7, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_8, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_9, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_10,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_11, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_12, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_13, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_14, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_15,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_16, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_17, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_18, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_19, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_20,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_21, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_22, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_23, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_24, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_25,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_26, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_27, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_28, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_29, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_30,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_31, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_32, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_33, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_34, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_35,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_36, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_37, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_38, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_39, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_40,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_41, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_42, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_43, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_44, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_45,
    &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_46, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_47, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_48, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_49, &CNFG_DUP_CHK_BI.BI_FUNCT_OUT_50,
};

constexpr fnchk::Collector<kSlots> kCollector{Imux_CNFG_DUP_CHK_BI_BI_FUNCT_7611};

}  // namespace

void CNFG_DUP_CHK_BI_duplicates() {
    auto& c = CNFG_DUP_CHK_BI;
    c.BI_ADD1_I_ADD = bk::I_ADD(fnchk::switch_sum(kChannels), CNFG_CHECK_VL.BI_FUNCTS_I_SW);
    kCollector.clear();
    for (const BiDup& ch : kChannels) kCollector.collect(*ch.function);
    // The remote node's inputs write their switch values whether or not the
    // node is enabled; only the channel sum leaves a disabled node out, so a
    // disabled node still holding a function of its own is a finding until
    // its inputs are set back to "not used".
    CNFG_CHECK_VL_collect_discrete(kCollector);
    c.BI_ADD2_I_ADD = kCollector.sum();
    c.BI_ADD4_I_ADD = c.BI_ADD2_I_ADD;
    c.DUP_BI_NOT = fnchk::duplicate(c.BI_FUNCT_EQ_EQ, c.BI_FUNCT_EQ_LT, c.BI_FUNCT_EQ_GT, c.BI_ADD1_I_ADD,
                                    c.BI_ADD2_I_ADD);
    CNFG_CHECK_BI.DUPLICATDI_B_NAME = c.DUP_BI_NOT;
}

}  // namespace r160
