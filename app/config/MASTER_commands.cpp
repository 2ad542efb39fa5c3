// MASTER at 160 ms: the six master commands. The service tool writes IN_n
// TRUE; OUT_n follows it for 1.0 s (7 passes), then both are cleared.
#include "app/config/MASTER.cells.h"

#include "app/timed_inputs.h"

namespace {
TimedInputs<6> MASTER_COMMANDS{1.0f};
}  // namespace

void MASTER_commands_init_blks() { MASTER_COMMANDS.init(); }

void MASTER_command_written(int n, uint32_t value) { MASTER_COMMANDS.written(n, value); }

namespace r160 {

void MASTER_commands() {
    auto& c = MASTER;
    MASTER_COMMANDS.pass({{c.COMMANDS_IN_1, c.COMMANDS_OUT_1},
                          {c.COMMANDS_IN_2, c.COMMANDS_OUT_2},
                          {c.COMMANDS_IN_3, c.COMMANDS_OUT_3},
                          {c.COMMANDS_IN_4, c.COMMANDS_OUT_4},
                          {c.COMMANDS_IN_5, c.COMMANDS_OUT_5},
                          {c.COMMANDS_IN_6, c.COMMANDS_OUT_6}},
                         bk::T160);
}

}  // namespace r160
