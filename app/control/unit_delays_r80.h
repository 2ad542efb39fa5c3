// The unit delays of the 80 ms group: the group's last slice stores their
// inputs in the group's slots (reals 13 .. 14, booleans 10 .. 23), then the
// sequence charts commit their steps, then the stored values go to the
// delay outputs; so every delay output seen in a pass is the previous
// pass's input.
#pragma once

namespace r80 {
void unit_delays_store();
void unit_delays_commit();
}  // namespace r80
