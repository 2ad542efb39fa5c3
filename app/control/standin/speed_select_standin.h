// STAND-IN until the protection logic lands with the turbine-speed
// selection of the shutdown slices: the speed the speed control, the start
// logic and the displays read.
#pragma once

namespace r10 {
// The turbine speed: the higher of the two probes (the second only when it
// is used), never below 0, into the speed cells of the interfaces.
void MPU_speed_select_standin();
}
