// The slices of each rate group, in numeric order, as the generated logic
// provides them so far.
#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "runtime/rgtask.h"

std::vector<SliceFn> rg_slices[kNumRateGroups] = {
    // R10
    {
        _R10_TASK_1,
        _R10_TASK_2,
        _R10_TASK_5,
        _R10_TASK_6,
        _R10_TASK_7,
        _R10_TASK_8,
        _R10_TASK_10,
    },
    // R20
    {
        _R20_TASK_1,
        _R20_TASK_2,
        _R20_TASK_3,
        _R20_TASK_4,
        _R20_TASK_5,
        _R20_TASK_6,
        _R20_TASK_7,
        _R20_TASK_8,
        _R20_TASK_9,
        _R20_TASK_10,
        _R20_TASK_11,
        _R20_TASK_12,
        _R20_TASK_13,
        _R20_TASK_14,
        _R20_TASK_15,
        _R20_TASK_16,
        _R20_TASK_17,
        _R20_TASK_18,
        _R20_TASK_19,
    },
    // R40
    {
        _R40_TASK_4,
        _R40_TASK_5,
        _R40_TASK_6,
        _R40_TASK_7,
        _R40_TASK_8,
    },
    // R80
    {
    },
    // R160
    {
        _R160_TASK_1,
        _R160_TASK_2,
        _R160_TASK_3,
        _R160_TASK_4,
        _R160_TASK_5,
        _R160_TASK_6,
        _R160_TASK_18,
        _R160_TASK_19,
        _R160_TASK_27,
        _R160_TASK_29,
        _R160_TASK_31,
        _R160_TASK_34,
        _R160_TASK_35,
        _R160_TASK_51,
        _R160_TASK_52,
        _R160_TASK_53,
        _R160_TASK_54,
        _R160_TASK_55,
        _R160_TASK_56,
        _R160_TASK_57,
        _R160_TASK_58,
        _R160_TASK_59,
        _R160_TASK_62,
        _R160_TASK_63,
        _R160_TASK_64,
        _R160_TASK_65,
        _R160_TASK_66,
        _R160_TASK_67,
        _R160_TASK_68,
        _R160_TASK_69,
        _R160_TASK_70,
        _R160_TASK_71,
        _R160_TASK_72,
        _R160_TASK_73,
        _R160_TASK_74,
        _R160_TASK_75,
        _R160_TASK_76,
        _R160_TASK_77,
        _R160_TASK_78,
        _R160_TASK_79,
        _R160_TASK_80,
        _R160_TASK_81,
        _R160_TASK_82,
    },
};
