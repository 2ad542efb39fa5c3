// Module COND_MON: the turbine's life counters (starts, trips, trips above
// the two load levels, overspeed trips), its run hours above minimum
// governor and above the load levels and the peak speed and acceleration,
// kept across power cycles in the NV condition log (160 ms group; the NV
// log block, its power-up window and the snapshot run at 80 ms).
#pragma once

#include "runtime/catalogue.h"

#define COND_MON_CELLS(X) \
    X(NV_MEM_LOG, B_ENABLE, B, R80, TUNE(true)) \
    X(NV_MEM_LOG, COUNT, I, R80, PLAIN) \
    X(NV_MEM_LOG, OUT_1, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_2, A, R80, PLAIN) \
    X(NV_MEM_LOG, OUT_3, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_4, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_5, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_6, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_7, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_8, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_9, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_10, A, R80, PLAIN, R160) \
    X(NV_MEM_LOG, OUT_11, A, R80, PLAIN, R160) \
    X(PWRUPOS, ONE_SHOT, B, R80, PLAIN, R160) \
    X(PWRUPOS, R_TIME, I, R80, PLAIN) \
    X(NOTPWRUPOS, NOT, B, R80, PLAIN) \
    X(OKTOTRIG, AND, B, R80, PLAIN) \
    X(OKTOTRIGNV, B_NAME, B, R80, PLAIN) \
    X(SD_IN, B_NAME, B, R160, PLAIN) \
    X(SD_OS, ONE_SHOT, B, R160, PLAIN) \
    X(SD_OS, R_TIME, I, R160, PLAIN)   \
    X(LOAD_LVL1, B_NAME, B, R160, PLAIN) \
    X(LOAD_LVL2, B_NAME, B, R160, PLAIN) \
    X(ABV_LVL1, AND, B, R160, PLAIN) \
    X(ABV_LVL2, AND, B, R160, PLAIN) \
    X(ABV_MIN, A_COMPARE, B, R160, PLAIN) \
    X(ABV_MIN, A_EQUAL, B, R160, PLAIN) \
    X(OSPD_IN, B_NAME, B, R160, PLAIN) \
    X(OSPD_OS, ONE_SHOT, B, R160, PLAIN) \
    X(OSPD_OS, R_TIME, I, R160, PLAIN)   \
    X(START, B_NAME, B, R160, PLAIN) \
    X(START_OS, ONE_SHOT, B, R160, PLAIN) \
    X(START_OS, R_TIME, I, R160, PLAIN)   \
    X(REWRITE_NV_CMD, IN_1, B, R160, SVC_IN) \
    X(REWRITE_NV_CMD, OUT_1, B, R160, PLAIN) \
    X(BEGIN, LATCH, B, R160, PLAIN) \
    X(LAST, ZMINUS1_B, B, R160, PLAIN) \
    X(WRITE_OS, ONE_SHOT, B, R160, PLAIN) \
    X(WRITE_OS, R_TIME, I, R160, PLAIN)   \
    X(PRIORCNT1, IN_1, I, R160, TUNE(0, 0, 999999)) \
    X(PRIORCNT1, OUT_1, A, R160, PLAIN) \
    X(SEL_CNT_1, A_SW, A, R160, PLAIN) \
    X(COUNT_1, A_NAME, A, R160, PLAIN, R80) \
    X(PRIORCNT11, IN_1, I, R160, TUNE(0, 0, 999999)) \
    X(PRIORCNT11, OUT_1, A, R160, PLAIN) \
    X(SEL_CNT_11, A_SW, A, R160, PLAIN) \
    X(COUNT_11, A_NAME, A, R160, PLAIN, R80) \
    X(PRIORCNT3, IN_1, I, R160, TUNE(0, 0, 999999)) \
    X(PRIORCNT3, OUT_1, A, R160, PLAIN) \
    X(SEL_CNT_3, A_SW, A, R160, PLAIN) \
    X(COUNT_3, A_NAME, A, R160, PLAIN, R80) \
    X(PRIORCNT4, IN_1, I, R160, TUNE(0, 0, 999999)) \
    X(PRIORCNT4, OUT_1, A, R160, PLAIN) \
    X(SEL_CNT_4, A_SW, A, R160, PLAIN) \
    X(COUNT_4, A_NAME, A, R160, PLAIN, R80) \
    X(PRIORCNT5, IN_1, I, R160, TUNE(0, 0, 999999)) \
    X(PRIORCNT5, OUT_1, A, R160, PLAIN) \
    X(SEL_CNT_5, A_SW, A, R160, PLAIN) \
    X(COUNT_5, A_NAME, A, R160, PLAIN, R80) \
    X(SAVE_DELAY, DELAY, B, R160, PLAIN) \
    X(SAVE_DELAY, R_TIME, I, R160, PLAIN) \
    X(COUNT_CLR, ONE_SHOT, B, R160, PLAIN) \
    X(COUNT_CLR, R_TIME, I, R160, PLAIN)   \
    X(END, DELAY, B, R160, PLAIN) \
    X(END, R_TIME, I, R160, PLAIN) \
    X(RSET_DELAY, DELAY, B, R160, PLAIN) \
    X(RSET_DELAY, R_TIME, I, R160, PLAIN) \
    X(NV_WRITE, ONE_SHOT, B, R160, PLAIN) \
    X(NV_WRITE, R_TIME, I, R160, PLAIN)   \
    X(NV_TRIG, OUT_1, A, R160, PLAIN) \
    X(NV_TRIG, ELAP_TIME, T, R160, PLAIN) \
    X(RSTNVTRIG, A_COMPARE, B, R160, PLAIN) \
    X(RSTNVTRIG, A_EQUAL, B, R160, PLAIN) \
    X(RSTNVTRIG, IN_2, A, R160, TUNE(2.0, 0.25, 24.0)) \
    X(LOOP1, ZMINUS1_B, B, R160, PLAIN) \
    X(TRIG_DLY, DELAY, B, R160, PLAIN) \
    X(TRIG_DLY, R_TIME, I, R160, PLAIN) \
    X(TRIG_DLY, DLY_TIME, A, R160, TUNE(0.5, 0.0, 6.0)) \
    X(WRITE, B_NAME, B, R160, PLAIN) \
    X(SD_WRITE, AND, B, R160, PLAIN) \
    X(WAIT4COUNT, DELAY, B, R160, PLAIN) \
    X(WAIT4COUNT, R_TIME, I, R160, PLAIN) \
    X(SAVE, OR, B, R160, PLAIN) \
    X(SAVE, IN_4, B, R160, TUNE(false)) \
    X(TRIGNV, ONE_SHOT, B, R160, PLAIN, R80) \
    X(TRIGNV, R_TIME, I, R160, PLAIN)        \
    X(TRIGNV, DLY_TIME, A, R160, TUNE(1.0, 1.0, 10.0)) \
    X(RST_DYN, ONE_SHOT, B, R160, PLAIN) \
    X(RST_DYN, R_TIME, I, R160, PLAIN)   \
    X(RST_DYN, DLY_TIME, A, R160, TUNE(5.2, 2.0, 20.0)) \
    X(RESET_DLY, DELAY, B, R160, PLAIN) \
    X(RESET_DLY, R_TIME, I, R160, PLAIN) \
    X(RESET_DLY, DLY_TIME, A, R160, TUNE(5.0, 2.0, 20.0)) \
    X(RSET, OR, B, R160, PLAIN) \
    X(RSET, IN_4, B, R160, TUNE(false)) \
    X(RESET, B_NAME, B, R160, PLAIN) \
    X(START_TURB, COUNTER, A, R160, PLAIN) \
    X(START_TURB, CMP_OUT, B, R160, PLAIN) \
    X(RST_1, OUT_1, I, R160, PLAIN) \
    X(WAIT_CNT_1, ZMINUS1, A, R160, PLAIN) \
    X(SD_CNT, COUNTER, A, R160, PLAIN) \
    X(SD_CNT, CMP_OUT, B, R160, PLAIN) \
    X(RST_3, OUT_1, I, R160, PLAIN) \
    X(WAIT_CNT_3, ZMINUS1, A, R160, PLAIN) \
    X(SDWLOAD1_CNT, COUNTER, A, R160, PLAIN) \
    X(SDWLOAD1_CNT, CMP_OUT, B, R160, PLAIN) \
    X(RST_4, OUT_1, I, R160, PLAIN) \
    X(WAIT_CNT_4, ZMINUS1, A, R160, PLAIN) \
    X(SDWLOAD2_CNT, COUNTER, A, R160, PLAIN) \
    X(SDWLOAD2_CNT, CMP_OUT, B, R160, PLAIN) \
    X(RST_5, OUT_1, I, R160, PLAIN) \
    X(WAIT_CNT_5, ZMINUS1, A, R160, PLAIN) \
    X(OSPD_CNT, COUNTER, A, R160, PLAIN) \
    X(OSPD_CNT, CMP_OUT, B, R160, PLAIN) \
    X(RST_11, OUT_1, I, R160, PLAIN) \
    X(WAIT_CNT_11, ZMINUS1, A, R160, PLAIN) \
    X(PEAK_ACCEL, A_SW, A, R160, PLAIN, R80) \
    X(PEAKACEL_GUI, A_MAX, A, R160, PLAIN) \
    X(PEAK_SPD, A_SW, A, R160, PLAIN, R80) \
    X(PEAKSPD_GUI, A_MAX, A, R160, PLAIN) \
    X(STRT_TURB, A_NAME, A, R160, PLAIN, R80)\
    X(SD_NUM, A_NAME, A, R160, PLAIN, R80)\
    X(SDLOAD1_NUM, A_NAME, A, R160, PLAIN, R80)\
    X(SDLOAD2_NUM, A_NAME, A, R160, PLAIN, R80)\
    X(OSPD_NUM, A_NAME, A, R160, PLAIN, R80)\
    X(TURB_RUN, IN_2, B, R160, TUNE(true)) \
    X(TRUNSET, IN, A, R160, TUNE(0.0, 0.0, 1e8)) \
    X(TRUNSET, A_NAME, A, R160, PLAIN) \
    X(SEL_TMR_1, A_SW, A, R160, PLAIN, R80) \
    X(WAIT_TMR_1, ZMINUS1, A, R160, PLAIN) \
    X(RIHOURS, OUT_1, I, R160, PLAIN) \
    X(RHOURS, OUT_1, A, R160, PLAIN) \
    X(TRUNHRS, A_NAME, A, R160, PLAIN, R80)\
    X(TURB_RUN, AND, B, R160, PLAIN) \
    X(TRUNACCUM, OUT_1, A, R160, PLAIN) \
    X(TRUNACCUM, ELAP_TIME, T, R160, PLAIN) \
    X(TRUNCALC, CALCULATE, A, R160, PLAIN) \
    X(TRUNCALC, ALM, B, R160, PLAIN) \
    X(TRUNCVTBK, MULTIPLY, A, R160, PLAIN) \
    X(TRUNTOTIME, A_TO_T, T, R160, PLAIN) \
    X(TRUN_HMS, YEAR, A, R160, PLAIN) \
    X(TRUN_HMS, MONTH, A, R160, PLAIN) \
    X(TRUN_HMS, DAY, A, R160, PLAIN) \
    X(TRUN_HMS, HOUR, A, R160, PLAIN) \
    X(TRUN_HMS, MIN, A, R160, PLAIN) \
    X(TRUN_HMS, SEC, A, R160, PLAIN) \
    X(TRUN_HMS, MICROSEC, A, R160, PLAIN) \
    X(TRUNMINS, A_NAME, A, R160, PLAIN) \
    X(TRUNLDSET, IN, A, R160, TUNE(0.0, 0.0, 1e8)) \
    X(TRUNLDSET, A_NAME, A, R160, PLAIN) \
    X(SEL_TMR_2, A_SW, A, R160, PLAIN, R80) \
    X(WAIT_TMR_2, ZMINUS1, A, R160, PLAIN) \
    X(RLDIHOURS, OUT_1, I, R160, PLAIN) \
    X(RLDHOURS, OUT_1, A, R160, PLAIN) \
    X(TRUNLDHRS, A_NAME, A, R160, PLAIN, R80)\
    X(TURB_RUNLD, AND, B, R160, PLAIN) \
    X(TRUNLDACCUM, OUT_1, A, R160, PLAIN) \
    X(TRUNLDACCUM, ELAP_TIME, T, R160, PLAIN) \
    X(TRUNLDCALC, CALCULATE, A, R160, PLAIN) \
    X(TRUNLDCALC, ALM, B, R160, PLAIN) \
    X(TRUNCVTBK2, MULTIPLY, A, R160, PLAIN) \
    X(TRUNLDTOTIME, A_TO_T, T, R160, PLAIN) \
    X(TRUNLD_HMS, YEAR, A, R160, PLAIN) \
    X(TRUNLD_HMS, MONTH, A, R160, PLAIN) \
    X(TRUNLD_HMS, DAY, A, R160, PLAIN) \
    X(TRUNLD_HMS, HOUR, A, R160, PLAIN) \
    X(TRUNLD_HMS, MIN, A, R160, PLAIN) \
    X(TRUNLD_HMS, SEC, A, R160, PLAIN) \
    X(TRUNLD_HMS, MICROSEC, A, R160, PLAIN) \
    X(TRUNLDMINS, A_NAME, A, R160, PLAIN) \
    X(TRUNLD2SET, IN, A, R160, TUNE(0.0, 0.0, 1e8)) \
    X(TRUNLD2SET, A_NAME, A, R160, PLAIN) \
    X(SEL_TMR_3, A_SW, A, R160, PLAIN, R80) \
    X(WAIT_TMR_3, ZMINUS1, A, R160, PLAIN) \
    X(RLD2IHOURS, OUT_1, I, R160, PLAIN) \
    X(RLD2HOURS, OUT_1, A, R160, PLAIN) \
    X(TRUNLD2HRS, A_NAME, A, R160, PLAIN, R80)\
    X(TURB_RUNLD2, AND, B, R160, PLAIN) \
    X(TRUNLD2ACCUM, OUT_1, A, R160, PLAIN) \
    X(TRUNLD2ACCUM, ELAP_TIME, T, R160, PLAIN) \
    X(TRUNLD2CALC, CALCULATE, A, R160, PLAIN) \
    X(TRUNLD2CALC, ALM, B, R160, PLAIN) \
    X(TRUNCVTBK3, MULTIPLY, A, R160, PLAIN) \
    X(TRUNLD2TOTIME, A_TO_T, T, R160, PLAIN) \
    X(TRUNLD2_HMS, YEAR, A, R160, PLAIN) \
    X(TRUNLD2_HMS, MONTH, A, R160, PLAIN) \
    X(TRUNLD2_HMS, DAY, A, R160, PLAIN) \
    X(TRUNLD2_HMS, HOUR, A, R160, PLAIN) \
    X(TRUNLD2_HMS, MIN, A, R160, PLAIN) \
    X(TRUNLD2_HMS, SEC, A, R160, PLAIN) \
    X(TRUNLD2_HMS, MICROSEC, A, R160, PLAIN) \
    X(TRUNLD2MINS, A_NAME, A, R160, PLAIN)

CAT_MODULE(COND_MON)

// The run condition of the run-hour timers: speed at or above minimum governor.
#define NV_MEM_CELLS(X) \
    X(ABV_IDLE, A_COMPARE, B, R160, PLAIN) \
    X(ABV_IDLE, A_EQUAL, B, R160, PLAIN)
CAT_MODULE(NV_MEM)

namespace r80 {
// The power-up window and the snapshot of the eleven values for the NV log.
void COND_MON_nv_snapshot();
}  // namespace r80

namespace r160 {
// Trip, overspeed and start inputs and the load-level trip flags.
void COND_MON_inputs();
// The rewrite command, the saves and reloads, the counters and the peaks.
void COND_MON_counters();
// The three run-hour timers and the third one's duration display
// (_R160_TASK_31).
void COND_MON_run_hours();
// The first timer's time cell and the duration displays of the first two
// (_R160_TASK_32).
void COND_MON_run_times();
}  // namespace r160

// A service write of the rewrite command restarts its hold time.
void COND_MON_command_written(uint32_t value);
// Block initialisation: the rewrite command over. The counters start at 0
// and take their stored counts at the reload after power-up.
void COND_MON_init_blks();
