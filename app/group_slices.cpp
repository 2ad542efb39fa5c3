// The slices of each rate group, in numeric order, as the generated logic
// provides them so far.
#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "runtime/rgtask.h"

std::vector<SliceFn> rg_slices[kNumRateGroups] = {
    // R10
    {
        _R10_TASK_1,
        _R10_TASK_5,
    },
    // R20
    {
        _R20_TASK_1,
        _R20_TASK_2,
        _R20_TASK_3,
        _R20_TASK_4,
        _R20_TASK_5,
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
    },
    // R40
    {
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
        _R160_TASK_51,
        _R160_TASK_52,
        _R160_TASK_53,
        _R160_TASK_58,
        _R160_TASK_59,
        _R160_TASK_62,
        _R160_TASK_65,
        _R160_TASK_71,
        _R160_TASK_80,
    },
};
