// The service-write side effects of the cells declared with access 'S': the
// momentary command inputs of the output channels' command blocks and the
// timed commands of the operator interface.
#include "runtime/tune_side_effects.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "host/vxworks.h"

namespace {

// Which command input (1 .. 5) of a channel's command block the cell is; 0
// for none.
template <class C>
int command_input(const C& c, const void* cell) {
    const void* inputs[5] = {&c.COMMANDS_IN_1.ref(), &c.COMMANDS_IN_2.ref(), &c.COMMANDS_IN_3.ref(),
                             &c.COMMANDS_IN_4.ref(), &c.COMMANDS_IN_5.ref()};
    for (int n = 1; n <= 5; ++n)
        if (inputs[n - 1] == cell) return n;
    return 0;
}

}  // namespace

void special_case_tune(void* cell) {
    const int key = intLock();
    const uint32_t value = *static_cast<const uint32_t*>(cell) != 0 ? 1u : 0u;
    if (const int n = command_input(cells::_ub5, cell)) ACT_CHANNEL_command_written(n, value);
    if (const int n = command_input(cells::_ub10, cell)) AO_CHANNEL_command_written(0, n, value);
    if (const int n = command_input(cells::_ub11, cell)) AO_CHANNEL_command_written(1, n, value);
    if (const int n = command_input(cells::_ub12, cell)) AO_CHANNEL_command_written(2, n, value);
    IFACE_IN_command_written(cell, value);
    intUnlock(key);
}
