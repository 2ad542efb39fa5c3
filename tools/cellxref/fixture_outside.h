// Code outside the fixture's folder (the folder the tool's test gives as
// --root): its uses of the fixture's cells and its calls are not listed.
#pragma once

#include "tools/cellxref/fixture/cells.h"

namespace xfix::outside {

inline void helper() {}

inline void writes() {
    r10::XFIX.OUTSIDE_OUT = 1.0f;
    helper();
}

}  // namespace xfix::outside
