// MASTER at 160 ms: the six master commands. The service tool writes IN_n
// TRUE; OUT_n follows it for 1.0 s (7 passes), then both are cleared.
#include "app/config/MASTER.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kCommandTime = 1.0f;

struct MASTER_commands_blocks {
    bk::SvcCmdState<6> COMMANDS;
};
BlockRam<MASTER_commands_blocks> MASTER_commands_st;
}  // namespace

void MASTER_commands_init_blks() { bk::SVC_CMD_INIT(MASTER_commands_st.COMMANDS, kCommandTime); }

void MASTER_command_written(int n, uint32_t value) {
    bk::SVC_CMD_WRITTEN(MASTER_commands_st.COMMANDS, n, value, kCommandTime);
}

namespace r160 {

void MASTER_commands() {
    auto& c = MASTER;
    auto& s = MASTER_commands_st.COMMANDS;
    bk::SVC_CMD(s, 1, c.COMMANDS_IN_1, c.COMMANDS_OUT_1, kCommandTime, bk::T160);
    bk::SVC_CMD(s, 2, c.COMMANDS_IN_2, c.COMMANDS_OUT_2, kCommandTime, bk::T160);
    bk::SVC_CMD(s, 3, c.COMMANDS_IN_3, c.COMMANDS_OUT_3, kCommandTime, bk::T160);
    bk::SVC_CMD(s, 4, c.COMMANDS_IN_4, c.COMMANDS_OUT_4, kCommandTime, bk::T160);
    bk::SVC_CMD(s, 5, c.COMMANDS_IN_5, c.COMMANDS_OUT_5, kCommandTime, bk::T160);
    bk::SVC_CMD(s, 6, c.COMMANDS_IN_6, c.COMMANDS_OUT_6, kCommandTime, bk::T160);
}

}  // namespace r160
