// The unit delays of the 160 ms group, first block: the stores of
// _R160_TASK_81 (_zblock slots 15 .. 28, _zblockb slots 24 .. 35) and their
// commit at the end of the group's pass.
#pragma once

namespace r160 {
// Each slot of the first block takes its input cell.
void unit_delays_store_first_block();
// Each delay output of the first block takes its slot (a real that is not
// finite commits as 0.0).
void unit_delays_commit_first_block();
}  // namespace r160
