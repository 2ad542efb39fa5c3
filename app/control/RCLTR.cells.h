// Module RCLTR: whether cascade control is in control, for the relays and
// the interface (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define RCLTR_CELLS(X) X(OR_CASCADE, OR, B, R160, PLAIN)
CAT_MODULE(RCLTR)

namespace r160 {
// Cascade in control while the mode chart is in either cascade step, and
// remote cascade in control in its remote step (piece of _R160_TASK_12).
void RCLTR_cascade();
}  // namespace r160
