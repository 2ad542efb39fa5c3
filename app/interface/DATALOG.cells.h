// Module DATALOG: when the data-log block TREND_DLOG starts and stops
// collecting, prints, collects continuously, which file index it uses and at
// which interval it samples (160 ms group, start request at 40 ms); with the
// block's enable, status and display cells that its writer task keeps (the
// B_ and C_ companions of the status cells are listed but written by nothing).
#pragma once

#include "runtime/catalogue.h"

#define DATALOG_CELLS(X) \
    X(TREND_DLOG, B_ENABLE, B, RNone, TUNE(true)) \
    X(TREND_DLOG, COLLECTING, B, RNone, PLAIN) \
    X(TREND_DLOG, BUF_FULL, B, RNone, PLAIN) \
    X(TREND_DLOG, PRINTING, B, RNone, PLAIN) \
    X(TREND_DLOG, P_ERROR, B, RNone, PLAIN) \
    X(TREND_DLOG, CFG_ERROR, B, RNone, PLAIN) \
    X(TREND_DLOG, ACTUAL_MEM, I, RNone, PLAIN) \
    X(TREND_DLOG, MAX_SEC, I, RNone, PLAIN) \
    X(TREND_DLOG, BOOL_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, ANALOG_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, INT_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, CFG_ID, C, RNone, PLAIN) \
    X(TREND_DLOG, CONTINUING, B, RNone, PLAIN) \
    X(TREND_DLOG, B_COLLING, B, RNone, PLAIN) \
    X(TREND_DLOG, C_COLLING, B, RNone, PLAIN) \
    X(TREND_DLOG, B_BUF_FULL, B, RNone, PLAIN) \
    X(TREND_DLOG, C_BUF_FULL, B, RNone, PLAIN) \
    X(TREND_DLOG, B_PRINTING, B, RNone, PLAIN) \
    X(TREND_DLOG, C_PRINTING, B, RNone, PLAIN) \
    X(TREND_DLOG, B_P_ERROR, B, RNone, PLAIN) \
    X(TREND_DLOG, C_P_ERROR, B, RNone, PLAIN) \
    X(TREND_DLOG, B_CFG_ERR, B, RNone, PLAIN) \
    X(TREND_DLOG, C_CFG_ERR, B, RNone, PLAIN) \
    X(TREND_DLOG, B_ACT_MEM, I, RNone, PLAIN) \
    X(TREND_DLOG, C_ACT_MEM, I, RNone, PLAIN) \
    X(TREND_DLOG, B_MAX_SEC, I, RNone, PLAIN) \
    X(TREND_DLOG, C_MAX_SEC, I, RNone, PLAIN) \
    X(TREND_DLOG, B_BOOL_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, C_BOOL_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, B_ANA_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, C_ANA_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, B_INT_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, C_INT_CNT, I, RNone, PLAIN) \
    X(TREND_DLOG, B_CFG_ID, C, RNone, PLAIN) \
    X(TREND_DLOG, C_CFG_ID, C, RNone, PLAIN) \
    X(SPEED, A_NAME, A, R10, PLAIN, R160) \
    X(TURB_TRIP, B_NAME, B, R10, PLAIN, R160) \
    X(PRT_OS, ONE_SHOT, B, R10, PLAIN, R160) \
    X(PRT_OS, R_TIME, I, R10, PLAIN)         \
    X(PRT_OS, DLY_TIME, A, R10, TUNE(4.0, 1.0, 10.0)) \
    X(DLOG_CMDS, OUT_1, B, R80, PLAIN, R40) \
    X(DLOG_CMDS, OUT_2, B, R80, PLAIN, R160) \
    X(DLOG_CMDS, OUT_3, B, R80, PLAIN, R160) \
    X(DLOG_CMDS, OUT_4, B, R80, PLAIN, R160) \
    X(DLOG_CMDS, OUT_5, B, R80, PLAIN, R160) \
    X(DLOG_CMDS, OUT_6, B, R80, PLAIN, R160) \
    X(DLOG_CMDS, IN_1, B, R80, SVC_IN) \
    X(DLOG_CMDS, IN_2, B, R80, SVC_IN) \
    X(DLOG_CMDS, IN_3, B, R80, SVC_IN) \
    X(DLOG_CMDS, IN_4, B, R80, SVC_IN) \
    X(DLOG_CMDS, IN_5, B, R80, SVC_IN) \
    X(DLOG_CMDS, IN_6, B, R80, SVC_IN) \
    X(COMMISH_TIME, OUT_1, A, R80, PLAIN, R160) \
    X(COMMISH_TIME, ELAP_TIME, T, R80, PLAIN) \
    X(LOAD_LVL1, A_COMPARE, B, R160, PLAIN) \
    X(LOAD_LVL1, A_EQUAL, B, R160, PLAIN) \
    X(LOAD_LVL1, IN_2, A, R160, TUNE(25.0, 0.0, 110.0)) \
    X(LD_GTE_LVL1, OR, B, R160, PLAIN) \
    X(LOAD_LEVEL1, B_NAME, B, R160, PLAIN) \
    X(LOAD_LVL2, A_COMPARE, B, R160, PLAIN) \
    X(LOAD_LVL2, A_EQUAL, B, R160, PLAIN) \
    X(LOAD_LVL2, IN_2, A, R160, TUNE(75.0, 0.0, 110.0)) \
    X(LD_GTE_LVL2, OR, B, R160, PLAIN) \
    X(LOAD_LEVEL2, B_NAME, B, R160, PLAIN) \
    X(LEVEL1_SP, A_NAME, A, R160, PLAIN) \
    X(TURB_START, B_NAME, B, R160, PLAIN) \
    X(MIN_GOV, A_NAME, A, R160, PLAIN) \
    X(AUTO, DELAY, B, R160, PLAIN, R40) \
    X(AUTO, R_TIME, I, R160, PLAIN) \
    X(AUTO, DLY_TIME, A, R160, TUNE(3.5, 1.0, 10.0)) \
    X(AUTO_OFF, A_COMPARE, B, R160, PLAIN) \
    X(AUTO_OFF, A_EQUAL, B, R160, PLAIN) \
    X(AUTO_OFF, IN_2, A, R160, TUNE(8.0, 2.0, 50.0)) \
    X(BUFF_OVRTE, AND, B, R160, PLAIN) \
    X(COUNTER, COUNTER, A, R160, PLAIN) \
    X(COUNTER, CMP_OUT, B, R160, PLAIN) \
    X(COUNTER, IN_1, A, R160, TUNE(4.0, 2.0, 5.0)) \
    X(CNTATOI, OUT_1, I, R160, PLAIN) \
    X(COMMISH, B_NAME, B, R160, PLAIN) \
    X(ONE_SHOT, ONE_SHOT, B, R160, PLAIN) \
    X(ONE_SHOT, R_TIME, I, R160, PLAIN)   \
    X(INHIBIT, OR, B, R160, PLAIN) \
    X(INHIBIT, IN_2, B, R160, TUNE(false)) \
    X(LAT_OFF, OR, B, R160, PLAIN) \
    X(COMMISH_MODE, LATCH_R, B, R160, PLAIN, R80) \
    X(CONTIN, B_SW, B, R160, PLAIN) \
    X(CONTIN, NC, B, R160, TUNE(false)) \
    X(DATASEC, OUT_1, A, R160, PLAIN) \
    X(DATATIME, A_NAME, A, R160, PLAIN) \
    X(D_BUFFFULL, B_NAME, B, R160, PLAIN) \
    X(D_BUFFOVRT, B_NAME, B, R160, PLAIN) \
    X(D_COLLECT, B_NAME, B, R160, PLAIN) \
    X(D_TRANSFER, B_NAME, B, R160, PLAIN) \
    X(STP_DLY, DELAY, B, R160, PLAIN) \
    X(STP_DLY, R_TIME, I, R160, PLAIN) \
    X(STP_DLY, DLY_TIME, A, R160, TUNE(20.0, 1.0, 120.0)) \
    X(SD_OS, ONE_SHOT, B, R160, PLAIN) \
    X(SD_OS, R_TIME, I, R160, PLAIN)   \
    X(MODE_CHANG, OR, B, R160, PLAIN) \
    X(OFF, ONE_SHOT, B, R160, PLAIN) \
    X(OFF, R_TIME, I, R160, PLAIN) \
    X(OFF, DLY_TIME, A, R160, TUNE(10.0, 1.0, 20.0)) \
    X(EVENT_STP, OR, B, R160, PLAIN) \
    X(EVENT_STP, IN_3, B, R160, TUNE(false)) \
    X(MININTVL, I_NAME, I, R160, PLAIN) \
    X(MININTVL, IN, I, R160, TUNE(10.0, 5.0, 1000.0)) \
    X(NEXT_INDEX, I_ADD, I, R160, PLAIN) \
    X(NEXT_INDEX_DISP, I_NAME, I, R160, PLAIN) \
    X(USE_FILE, AND, B, R160, PLAIN) \
    X(USE_FILE, IN_2, B, R160, TUNE(true)) \
    X(WRITE_OS, ONE_SHOT, B, R160, PLAIN) \
    X(WRITE_OS, R_TIME, I, R160, PLAIN)   \
    X(WRITE_DLY, DELAY, B, R160, PLAIN) \
    X(WRITE_DLY, R_TIME, I, R160, PLAIN) \
    X(PRINT, OR, B, R160, PLAIN) \
    X(PRINT, IN_2, B, R160, TUNE(false)) \
    X(PRT_DISPLY_FB, B_NAME, B, R160, PLAIN) \
    X(REMAINDLY, DELAY, B, R160, PLAIN) \
    X(REMAINDLY, R_TIME, I, R160, PLAIN) \
    X(REMAINA, OUT_1, A, R160, PLAIN) \
    X(REMAINTIME, A_NAME, A, R160, PLAIN) \
    X(RST_ACCUM, DELAY, B, R160, PLAIN, R80) \
    X(RST_ACCUM, R_TIME, I, R160, PLAIN)     \
    X(STOP_PRT, OR, B, R160, PLAIN) \
    X(STOP_PRT, IN_1, B, R160, TUNE(false)) \
    X(STRT_ONE, ONE_SHOT, B, R160, PLAIN, R40) \
    X(STRT_ONE, R_TIME, I, R160, PLAIN)        \
    X(UNLOCK_GUI, IN, B, R160, TUNE(true)) \
    X(UNLOCK_GUI, B_NAME, B, R160, PLAIN) \
    X(EVENT_STRT, OR, B, R40, PLAIN) \
    X(EVENT_STRT, IN_3, B, R160, TUNE(false), R40)
CAT_MODULE(DATALOG)

namespace r160 {
void DATALOG_load_levels();   // piece of _R160_TASK_29
void DATALOG_start();         // piece of _R160_TASK_31
void DATALOG_counter();       // piece of _R160_TASK_34
void DATALOG_requests();      // piece of _R160_TASK_35
}  // namespace r160
namespace r40 {
void DATALOG_start_request();  // piece of _R40_TASK_4
}  // namespace r40

namespace r10 {
// The logged speed and the print pulse while the writer prints (piece of
// _R10_TASK_8).
void DATALOG_print_pulse();
}  // namespace r10

namespace r80 {
// The commissioning time and the six operator commands (pieces of
// _R80_TASK_18).
void DATALOG_commission_time();
void DATALOG_commands();
}  // namespace r80

// Block initialisation: every command's window over.
void DATALOG_commands_init_blks();
// After a service write of DLOG_CMDS.IN_n (from 1): the window restarts.
void DATALOG_command_written(int n, uint32_t value);
