// The call of a user code block whose body is empty: its three output cells
// keep their start values.
#include "app/analog/_GENERIC.cells.h"

namespace {
void generic_user_block(float*, int32_t*, uint32_t*) {}
}  // namespace

namespace r160 {

void _GENERIC_block() {
    generic_user_block(&static_cast<float&>(_GENERIC.C1_A_OUT_1), &static_cast<int32_t&>(_GENERIC.C1_I_OUT_1),
                       &static_cast<uint32_t&>(_GENERIC.C1_B_OUT_1));
}

}  // namespace r160
