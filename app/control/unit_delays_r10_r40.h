// The unit delays of the 10 ms and 40 ms groups: their inputs are stored in
// the groups' slots during the pass and committed to the delay outputs at
// its end, so every delay output seen in a pass is the previous pass's input.
#pragma once

namespace r10 {
// Slots 0 .. 2 (speed-control slice _R10_TASK_10).
void unit_delays_store_first();
// Slots 3 .. 8, then the commit of all nine real and nine boolean slots (the
// group's last slice _R10_TASK_11).
void unit_delays_store_second();
void unit_delays_commit();
}  // namespace r10

namespace r40 {
// Store and commit of the 40 ms slots (end of _R40_TASK_8).
void unit_delays_store_commit();
}
