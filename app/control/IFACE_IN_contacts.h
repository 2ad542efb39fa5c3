// The contact inputs of the speed, start and valve interfaces.
#pragma once

namespace r10 {
// Copies of the routed function contacts (after the named contacts of
// _R10_TASK_6).
void IFACE_IN_contacts();
}
