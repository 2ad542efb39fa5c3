// The slices of each rate group, in numeric order, as the generated logic
// provides them so far.
#include "app/control/control_slices.h"
#include "runtime/rgtask.h"

std::vector<SliceFn> rg_slices[kNumRateGroups] = {
    // R10
    {
        _R10_TASK_1,
    },
    // R20
    {
    },
    // R40
    {
    },
    // R80
    {
    },
    // R160
    {
    },
};
