// DATALOG: turns operator commands, turbine start and trip, commissioning
// mode and the load level into the requests the data-log writer reads, and
// copies the writer's status back into display cells.
#include "app/interface/DATALOG.cells.h"

#include "app/config/CNFG_SETPT.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/control/START.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct DATALOG_blocks {
    bk::DelayState AUTO, STP_DLY, WRITE_DLY, REMAINDLY, RST_ACCUM;
    bk::OneShotState ONE_SHOT, SD_OS, OFF, WRITE_OS, STRT_ONE;
    uint32_t cmp_prev;    // COUNTER.CMP_OUT as the previous pass found it
    uint32_t print_prev;  // PRT_OS.ONE_SHOT of the previous pass
};
BlockRam<DATALOG_blocks> DATALOG_st;

constexpr float kT = bk::T160;
constexpr float kLoadHysteresis = 5.0f;

// On at or above the level, off below the level less the hysteresis, else held.
void load_level(uint32_t& compare, uint32_t& equal, float load, float level) {
    if (load >= level) compare = 1;
    else if (load < level - kLoadHysteresis) compare = 0;
    equal = load == level ? 1u : 0u;
}
}  // namespace

namespace r160 {

void DATALOG_load_levels() {
    const float load = IFACE_OUT_VLV.LSS_OUT_A_NAME;
    load_level(DATALOG.LOAD_LVL1_A_COMPARE, DATALOG.LOAD_LVL1_A_EQUAL, load, DATALOG.LOAD_LVL1_IN_2);
    DATALOG.LD_GTE_LVL1_OR = bk::OR({DATALOG.LOAD_LVL1_A_COMPARE, DATALOG.LOAD_LVL1_A_EQUAL});
    DATALOG.LOAD_LEVEL1_B_NAME = DATALOG.LD_GTE_LVL1_OR;
    COND_MON.LOAD_LVL1_B_NAME = DATALOG.LD_GTE_LVL1_OR;
    load_level(DATALOG.LOAD_LVL2_A_COMPARE, DATALOG.LOAD_LVL2_A_EQUAL, load, DATALOG.LOAD_LVL2_IN_2);
    DATALOG.LD_GTE_LVL2_OR = bk::OR({DATALOG.LOAD_LVL2_A_COMPARE, DATALOG.LOAD_LVL2_A_EQUAL});
    DATALOG.LOAD_LEVEL2_B_NAME = DATALOG.LD_GTE_LVL2_OR;
    COND_MON.LOAD_LVL2_B_NAME = DATALOG.LD_GTE_LVL2_OR;
    DATALOG.LEVEL1_SP_A_NAME = IFACE_IN_SPEED.IDLE_1_A_NAME;
}

void DATALOG_start() {
    DATALOG.TURB_START_B_NAME = START.STARTED_LATCH;
    DATALOG.MIN_GOV_A_NAME = CNFG_SETPT.MIN_GOV_A_NAME;
}

// The automatic restart, the commissioning time-out, the buffer overwrite
// flag and the file counter.
void DATALOG_counter() {
    DATALOG_blocks& s = DATALOG_st;
    bk::DELAY(s.AUTO, DATALOG.AUTO_DELAY, &DATALOG.AUTO_R_TIME.ref(), DATALOG.PRT_OS_ONE_SHOT, DATALOG.AUTO_DLY_TIME,
              0.0f, kT);
    bk::A_COMPARE(DATALOG.AUTO_OFF_A_COMPARE, DATALOG.AUTO_OFF_A_EQUAL, DATALOG.COMMISH_TIME_OUT_1,
                  DATALOG.AUTO_OFF_IN_2);
    DATALOG.BUFF_OVRTE_AND = bk::AND({DATALOG.TREND_DLOG_COLLECTING, DATALOG.TREND_DLOG_BUF_FULL});
    // The counter reaches its limit on a print edge, holds it for that pass
    // and starts again at 1 on the next.
    const uint32_t cmp = DATALOG.COUNTER_CMP_OUT;
    if (cmp != 0 && s.cmp_prev == 0) {
        DATALOG.COUNTER_COUNTER = 1.0f;
        DATALOG.COUNTER_CMP_OUT = 0;
    }
    s.cmp_prev = cmp;
    const uint32_t print = DATALOG.PRT_OS_ONE_SHOT;
    if (print != 0 && s.print_prev == 0) DATALOG.COUNTER_COUNTER = DATALOG.COUNTER_COUNTER + 1.0f;
    s.print_prev = print;
    if (DATALOG.COUNTER_COUNTER >= DATALOG.COUNTER_IN_1) DATALOG.COUNTER_CMP_OUT = 1;
    DATALOG.CNTATOI_OUT_1 = bk::real_to_int(DATALOG.COUNTER_COUNTER);
}

// Commissioning mode, the display copies and the requests the writer reads.
void DATALOG_requests() {
    DATALOG_blocks& s = DATALOG_st;
    DATALOG.COMMISH_B_NAME = DATALOG.DLOG_CMDS_OUT_5;
    bk::ONE_SHOT(s.ONE_SHOT, DATALOG.ONE_SHOT_ONE_SHOT, &DATALOG.ONE_SHOT_R_TIME.ref(), DATALOG.COMMISH_B_NAME, 1.0f,
                 kT);
    DATALOG.INHIBIT_OR = bk::OR({COND_MON.PWRUPOS_ONE_SHOT, DATALOG.INHIBIT_IN_2});
    DATALOG.LAT_OFF_OR = bk::OR({DATALOG.INHIBIT_OR, DATALOG.DLOG_CMDS_OUT_6, DATALOG.AUTO_OFF_A_COMPARE});
    bk::LATCH_R(DATALOG.COMMISH_MODE_LATCH_R, DATALOG.ONE_SHOT_ONE_SHOT, DATALOG.LAT_OFF_OR);
    DATALOG.CONTIN_B_SW = bk::SW<uint32_t>(DATALOG.COMMISH_MODE_LATCH_R, DATALOG.CONTIN_NC, 1u);

    DATALOG.DATASEC_OUT_1 = bk::int_to_real(DATALOG.TREND_DLOG_MAX_SEC);
    DATALOG.DATATIME_A_NAME = DATALOG.DATASEC_OUT_1;
    DATALOG.D_BUFFFULL_B_NAME = DATALOG.TREND_DLOG_BUF_FULL;
    DATALOG.D_BUFFOVRT_B_NAME = DATALOG.BUFF_OVRTE_AND;
    DATALOG.D_COLLECT_B_NAME = DATALOG.TREND_DLOG_COLLECTING;
    DATALOG.D_TRANSFER_B_NAME = DATALOG.TREND_DLOG_PRINTING;
    DATALOG.UNLOCK_GUI_B_NAME = DATALOG.UNLOCK_GUI_IN;

    bk::DELAY(s.STP_DLY, DATALOG.STP_DLY_DELAY, &DATALOG.STP_DLY_R_TIME.ref(), DATALOG.TURB_TRIP_B_NAME,
              DATALOG.STP_DLY_DLY_TIME, 0.0f, kT);
    bk::ONE_SHOT(s.SD_OS, DATALOG.SD_OS_ONE_SHOT, &DATALOG.SD_OS_R_TIME.ref(), DATALOG.STP_DLY_DELAY, 2.0f, kT);
    DATALOG.MODE_CHANG_OR = bk::OR({DATALOG.DLOG_CMDS_OUT_3, DATALOG.COMMISH_B_NAME});
    bk::ONE_SHOT(s.OFF, DATALOG.OFF_ONE_SHOT, &DATALOG.OFF_R_TIME.ref(), DATALOG.MODE_CHANG_OR, DATALOG.OFF_DLY_TIME,
                 kT);

    DATALOG.EVENT_STP_OR = bk::OR(
        {DATALOG.SD_OS_ONE_SHOT, DATALOG.DLOG_CMDS_OUT_2, DATALOG.EVENT_STP_IN_3, DATALOG.OFF_ONE_SHOT});
    DATALOG.MININTVL_I_NAME = DATALOG.MININTVL_IN;
    DATALOG.NEXT_INDEX_I_ADD = bk::I_ADD(DATALOG.CNTATOI_OUT_1, 1);
    DATALOG.NEXT_INDEX_DISP_I_NAME = DATALOG.NEXT_INDEX_I_ADD;

    DATALOG.USE_FILE_AND = bk::AND({DATALOG.EVENT_STP_OR, DATALOG.USE_FILE_IN_2});
    bk::ONE_SHOT(s.WRITE_OS, DATALOG.WRITE_OS_ONE_SHOT, &DATALOG.WRITE_OS_R_TIME.ref(), DATALOG.USE_FILE_AND, 5.0f, kT);
    bk::DELAY(s.WRITE_DLY, DATALOG.WRITE_DLY_DELAY, &DATALOG.WRITE_DLY_R_TIME.ref(), DATALOG.WRITE_OS_ONE_SHOT, 3.0f,
              1.0f, kT);
    DATALOG.PRINT_OR = bk::OR({DATALOG.WRITE_DLY_DELAY, DATALOG.PRINT_IN_2});
    DATALOG.PRT_DISPLY_FB_B_NAME = DATALOG.PRT_OS_ONE_SHOT;

    bk::DELAY(s.REMAINDLY, DATALOG.REMAINDLY_DELAY, &DATALOG.REMAINDLY_R_TIME.ref(), DATALOG.TREND_DLOG_COLLECTING,
              DATALOG.DATASEC_OUT_1, 0.0f, kT);
    DATALOG.REMAINA_OUT_1 = bk::int_to_real(DATALOG.REMAINDLY_R_TIME);
    DATALOG.REMAINTIME_A_NAME = DATALOG.REMAINA_OUT_1;
    bk::DELAY(s.RST_ACCUM, DATALOG.RST_ACCUM_DELAY, &DATALOG.RST_ACCUM_R_TIME.ref(), DATALOG.AUTO_OFF_A_COMPARE, 1.0f,
              0.0f, kT);
    DATALOG.STOP_PRT_OR = bk::OR({DATALOG.STOP_PRT_IN_1, DATALOG.DLOG_CMDS_OUT_4});
    bk::ONE_SHOT(s.STRT_ONE, DATALOG.STRT_ONE_ONE_SHOT, &DATALOG.STRT_ONE_R_TIME.ref(), DATALOG.TURB_START_B_NAME, 1.0f,
                 kT);
}

}  // namespace r160

namespace r40 {
void DATALOG_start_request() {
    DATALOG.EVENT_STRT_OR = bk::OR(
        {DATALOG.DLOG_CMDS_OUT_1, DATALOG.STRT_ONE_ONE_SHOT, DATALOG.EVENT_STRT_IN_3, DATALOG.AUTO_DELAY});
}
}  // namespace r40
