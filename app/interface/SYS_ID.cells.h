// The delay value in hours of module SYS_ID (module VLTR_VIB, with it in
// the same 160 ms slice, has its own header).
#pragma once

#include "app/control/SYS_ID.cells.h"
#include "app/remote_io/VLTR_VIB.cells.h"
#include "runtime/catalogue.h"

namespace r160 {
// The delay value in seconds.
void SYS_ID_delay();
}  // namespace r160
