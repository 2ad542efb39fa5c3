// DATALOG at 80 ms: the commissioning hours while commissioning mode runs,
// and the six operator commands of the data log (start, stop, mode change,
// stop printing, commissioning on and off). The service tool writes IN_n;
// OUT_n follows it for 1.0 s (13 passes), then both are cleared.
#include <cmath>

#include "app/interface/DATALOG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kCommandTime = 1.0f;
constexpr float kHoursPerPass = 2.2222222e-5f;  // 0.08 s in hours
constexpr uint32_t kUsecPerPass = 80000u;

struct DATALOG_command_blocks {
    bk::SvcCmdState<6> DLOG_CMDS;
    float fraction;  // seconds of ELAP_TIME not yet counted
};
BlockRam<DATALOG_command_blocks> DATALOG_command_st;
}  // namespace

void DATALOG_commands_init_blks() { bk::SVC_CMD_INIT(DATALOG_command_st.DLOG_CMDS, kCommandTime); }

void DATALOG_command_written(int n, uint32_t value) {
    bk::SVC_CMD_WRITTEN(DATALOG_command_st.DLOG_CMDS, n, value, kCommandTime);
}

namespace r80 {

void DATALOG_commission_time() {
    auto& c = DATALOG;
    auto& s = DATALOG_command_st;
    TimeCell& elapsed = c.COMMISH_TIME_ELAP_TIME;
    if (c.RST_ACCUM_DELAY != 0) {
        c.COMMISH_TIME_OUT_1 = 0.0f;
        elapsed = TimeCell{0, 0};
        s.fraction = 0.0f;
    } else if (c.COMMISH_MODE_LATCH_R != 0) {
        const float hours = c.COMMISH_TIME_OUT_1 + kHoursPerPass;
        c.COMMISH_TIME_OUT_1 = std::isfinite(hours) ? hours : 0.0f;
        s.fraction += bk::T80;
        if (s.fraction > 1.0f) {
            ++elapsed.sec;
            elapsed.usec = 0;
            s.fraction -= 1.0f;
        } else {
            elapsed.usec += kUsecPerPass;
        }
    }
}

void DATALOG_commands() {
    auto& c = DATALOG;
    auto& s = DATALOG_command_st.DLOG_CMDS;
    bk::SVC_CMD(s, 1, c.DLOG_CMDS_IN_1, c.DLOG_CMDS_OUT_1, kCommandTime, bk::T80);
    bk::SVC_CMD(s, 2, c.DLOG_CMDS_IN_2, c.DLOG_CMDS_OUT_2, kCommandTime, bk::T80);
    bk::SVC_CMD(s, 3, c.DLOG_CMDS_IN_3, c.DLOG_CMDS_OUT_3, kCommandTime, bk::T80);
    bk::SVC_CMD(s, 4, c.DLOG_CMDS_IN_4, c.DLOG_CMDS_OUT_4, kCommandTime, bk::T80);
    bk::SVC_CMD(s, 5, c.DLOG_CMDS_IN_5, c.DLOG_CMDS_OUT_5, kCommandTime, bk::T80);
    bk::SVC_CMD(s, 6, c.DLOG_CMDS_IN_6, c.DLOG_CMDS_OUT_6, kCommandTime, bk::T80);
}

}  // namespace r80
