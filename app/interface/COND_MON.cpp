// COND_MON: counts starts, trips and overspeed trips, accumulates run
// hours, asks for the NV condition log to be written after a trip, every
// few hours and after an operator's rewrite, and reloads the counters from
// the log after each save so that both agree.
#include "app/interface/COND_MON.cells.h"

#include <cmath>

#include "app/control/ACCEL.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/START.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "storage/nvlog.h"

namespace {

constexpr float kT = bk::T160;
// One 160 ms pass in hours.
constexpr float kPassHours = 4.4444445e-5f;
constexpr uint32_t kPassMicros = 160000;
constexpr float kCommandHold = 1.0f;
// Where the hours of the periodic save start again after a save.
constexpr float kPeriodicRestartHours = 1.0f;

// Counter with preset: a rising reset loads the preset, a rising count
// input adds one.
struct CounterState {
    uint32_t reset_prev;
    uint32_t count_prev;
};

struct COND_MON_blocks {
    bk::OneShotState SD_OS, OSPD_OS, START_OS, WRITE_OS, COUNT_CLR, NV_WRITE, TRIGNV, RST_DYN, PWRUPOS;
    bk::DelayState SAVE_DELAY, END, RSET_DELAY, TRIG_DLY, WAIT4COUNT, RESET_DLY;
    bk::SvcCmdState<1> REWRITE_NV_CMD;
    CounterState START_TURB, SD_CNT, SDWLOAD1_CNT, SDWLOAD2_CNT, OSPD_CNT;
    uint32_t snapshot_edge;  // the NV log block's edge memory
    uint32_t trip_saved;     // the save of the trip standing now has begun
    uint32_t requests_before;  // the save requests of the pass before, one bit each
    uint32_t request_waiting;  // a request began and its save has not started yet
};
BlockRam<COND_MON_blocks> COND_MON_st;

void counter(CounterState& s, float& value, uint32_t& cmp_out, uint32_t reset, uint32_t count, int32_t preset) {
    if (reset != 0 && s.reset_prev == 0) {
        value = static_cast<float>(preset);
        cmp_out = 0;
    } else if (count != 0 && s.count_prev == 0) {
        value = value + 1.0f;
    }
    if (value >= 0.0f) cmp_out = 1;
    s.reset_prev = reset;
    s.count_prev = count;
}

// Hours and a time cell advanced by one pass.
void advance(float& hours, TimeCell& t) {
    hours = hours + kPassHours;
    if (!std::isfinite(hours)) hours = 0.0f;
    t.usec += kPassMicros;
    if (t.usec >= 1000000u) {
        t.usec -= 1000000u;
        t.sec += 1;
    }
}

// A count as shown and saved: the entered one while rewriting, else the
// counter of the pass before.
void select_count(uint32_t entering, int32_t entered, float& prior, float& sel, float delayed, float& count) {
    prior = bk::int_to_real(entered);
    sel = bk::SW<float>(entering, delayed, prior);
    count = sel;
}

// The first of two reals when it is larger, else the second.
float larger(float first, float second) { return first > second ? first : second; }

}  // namespace

namespace r80 {

void COND_MON_nv_snapshot() {
    COND_MON_blocks& s = COND_MON_st;
    // The power-up window: a pulse with no trigger, 10 s from start.
    bk::ONE_SHOT(s.PWRUPOS, COND_MON.PWRUPOS_ONE_SHOT, &COND_MON.PWRUPOS_R_TIME.ref(), 1u, 10.0f, bk::T80);
    COND_MON.NOTPWRUPOS_NOT = bk::NOT(COND_MON.PWRUPOS_ONE_SHOT);
    COND_MON.OKTOTRIG_AND = bk::AND({COND_MON.NOTPWRUPOS_NOT, COND_MON.TRIGNV_ONE_SHOT});
    COND_MON.OKTOTRIGNV_B_NAME = COND_MON.OKTOTRIG_AND;
    if (COND_MON.NV_MEM_LOG_B_ENABLE == 0) return;
    NvMemLogHandOver& log = COND_MON_NV_MEM_LOG_st;
    if (COND_MON.OKTOTRIGNV_B_NAME == 0) {
        s.snapshot_edge = 0;
        return;
    }
    if (s.snapshot_edge != 0 || log.LOG_REQ != 0) return;
    s.snapshot_edge = 1;
    const float values[kNvMemLogValues] = {
        COND_MON.COUNT_1_A_NAME,   0.0f,
        COND_MON.COUNT_3_A_NAME,   COND_MON.COUNT_4_A_NAME,
        COND_MON.COUNT_5_A_NAME,   COND_MON.SEL_TMR_1_A_SW,
        COND_MON.SEL_TMR_2_A_SW,   COND_MON.SEL_TMR_3_A_SW,
        COND_MON.PEAK_SPD_A_SW,    COND_MON.PEAK_ACCEL_A_SW,
        COND_MON.COUNT_11_A_NAME,
    };
    float* const outs[kNvMemLogValues] = {
        &COND_MON.NV_MEM_LOG_OUT_1.ref(), &COND_MON.NV_MEM_LOG_OUT_2.ref(),  &COND_MON.NV_MEM_LOG_OUT_3.ref(),
        &COND_MON.NV_MEM_LOG_OUT_4.ref(), &COND_MON.NV_MEM_LOG_OUT_5.ref(),  &COND_MON.NV_MEM_LOG_OUT_6.ref(),
        &COND_MON.NV_MEM_LOG_OUT_7.ref(), &COND_MON.NV_MEM_LOG_OUT_8.ref(),  &COND_MON.NV_MEM_LOG_OUT_9.ref(),
        &COND_MON.NV_MEM_LOG_OUT_10.ref(), &COND_MON.NV_MEM_LOG_OUT_11.ref(),
    };
    for (int k = 0; k < kNvMemLogValues; ++k) {
        *outs[k] = values[k];
        log.LOG_VAL[k] = values[k];
    }
    log.LOG_REQ = 1;
}

}  // namespace r80

namespace r160 {

void COND_MON_inputs() {
    COND_MON_blocks& s = COND_MON_st;
    COND_MON.SD_IN_B_NAME = DATALOG.TURB_TRIP_B_NAME;
    bk::ONE_SHOT(s.SD_OS, COND_MON.SD_OS_ONE_SHOT, &COND_MON.SD_OS_R_TIME.ref(), COND_MON.SD_IN_B_NAME, 1.0f, kT);
    COND_MON.ABV_LVL1_AND = bk::AND({COND_MON.SD_OS_ONE_SHOT, COND_MON.LOAD_LVL1_B_NAME});
    COND_MON.ABV_LVL2_AND = bk::AND({COND_MON.SD_OS_ONE_SHOT, COND_MON.LOAD_LVL2_B_NAME});
    bk::A_COMPARE(COND_MON.ABV_MIN_A_COMPARE, COND_MON.ABV_MIN_A_EQUAL, DATALOG.SPEED_A_NAME,
                  IFACE_IN_SPEED.IDLE_1_A_NAME);
    COND_MON.OSPD_IN_B_NAME = SHUTDOWNS.ANY_SEL_3;
    bk::ONE_SHOT(s.OSPD_OS, COND_MON.OSPD_OS_ONE_SHOT, &COND_MON.OSPD_OS_R_TIME.ref(), COND_MON.OSPD_IN_B_NAME, 1.0f,
                 kT);
    COND_MON.START_B_NAME = START.STARTED_LATCH;
    bk::ONE_SHOT(s.START_OS, COND_MON.START_OS_ONE_SHOT, &COND_MON.START_OS_R_TIME.ref(), COND_MON.START_B_NAME, 1.0f,
                 kT);
}

void COND_MON_counters() {
    COND_MON_blocks& s = COND_MON_st;
    auto& M = COND_MON;

    // The rewrite command: hold 1 s, latch until the sequence ends.
    bk::SVC_CMD(s.REWRITE_NV_CMD, 1, M.REWRITE_NV_CMD_IN_1, M.REWRITE_NV_CMD_OUT_1, kCommandHold, kT);
    bk::LATCH(M.BEGIN_LATCH, M.REWRITE_NV_CMD_OUT_1, M.LAST_ZMINUS1_B);
    bk::ONE_SHOT(s.WRITE_OS, M.WRITE_OS_ONE_SHOT, &M.WRITE_OS_R_TIME.ref(), M.BEGIN_LATCH, 5.0f, kT);
    const uint32_t entering = M.WRITE_OS_ONE_SHOT;

    // The counts shown and saved: the entered ones while rewriting.
    select_count(entering, M.PRIORCNT1_IN_1, M.PRIORCNT1_OUT_1, M.SEL_CNT_1_A_SW, M.WAIT_CNT_1_ZMINUS1, M.COUNT_1_A_NAME);
    select_count(entering, M.PRIORCNT11_IN_1, M.PRIORCNT11_OUT_1, M.SEL_CNT_11_A_SW, M.WAIT_CNT_11_ZMINUS1,
                 M.COUNT_11_A_NAME);
    select_count(entering, M.PRIORCNT3_IN_1, M.PRIORCNT3_OUT_1, M.SEL_CNT_3_A_SW, M.WAIT_CNT_3_ZMINUS1, M.COUNT_3_A_NAME);
    select_count(entering, M.PRIORCNT4_IN_1, M.PRIORCNT4_OUT_1, M.SEL_CNT_4_A_SW, M.WAIT_CNT_4_ZMINUS1, M.COUNT_4_A_NAME);
    select_count(entering, M.PRIORCNT5_IN_1, M.PRIORCNT5_OUT_1, M.SEL_CNT_5_A_SW, M.WAIT_CNT_5_ZMINUS1, M.COUNT_5_A_NAME);

    // The rewrite sequence: save at 1 s, reload from 2 s to 5 s, end at 6 s.
    bk::DELAY(s.SAVE_DELAY, M.SAVE_DELAY_DELAY, &M.SAVE_DELAY_R_TIME.ref(), M.BEGIN_LATCH, 2.0f, 0.0f, kT);
    bk::ONE_SHOT(s.COUNT_CLR, M.COUNT_CLR_ONE_SHOT, &M.COUNT_CLR_R_TIME.ref(), M.SAVE_DELAY_DELAY, 3.0f, kT);
    bk::DELAY(s.END, M.END_DELAY, &M.END_R_TIME.ref(), M.BEGIN_LATCH, 6.0f, 0.0f, kT);
    bk::DELAY(s.RSET_DELAY, M.RSET_DELAY_DELAY, &M.RSET_DELAY_R_TIME.ref(), M.BEGIN_LATCH, 1.0f, 0.0f, kT);
    bk::ONE_SHOT(s.NV_WRITE, M.NV_WRITE_ONE_SHOT, &M.NV_WRITE_R_TIME.ref(), M.RSET_DELAY_DELAY, 4.0f, kT);

    // The periodic save: hours since the last one, against the threshold.
    // After a periodic save the count starts again from one hour, so the
    // first save comes after the threshold and the later ones every
    // threshold less an hour. A threshold of an hour or less would leave
    // the comparison true for good (no further save, and no other save
    // either, since the request never ends): there the count starts again
    // from zero and saves every threshold.
    TimeCell& elapsed = M.NV_TRIG_ELAP_TIME;
    if (M.LOOP1_ZMINUS1_B != 0) {
        M.NV_TRIG_OUT_1 = M.RSTNVTRIG_IN_2 > kPeriodicRestartHours ? kPeriodicRestartHours : 0.0f;
        elapsed = {0, 0};
    } else {
        advance(M.NV_TRIG_OUT_1, elapsed);
    }
    bk::A_COMPARE(M.RSTNVTRIG_A_COMPARE, M.RSTNVTRIG_A_EQUAL, M.NV_TRIG_OUT_1, M.RSTNVTRIG_IN_2);

    // Reload after power-up; save after a trip above idle, on the rewrite,
    // periodically or on request; reload after each save.
    bk::DELAY(s.TRIG_DLY, M.TRIG_DLY_DELAY, &M.TRIG_DLY_R_TIME.ref(), M.PWRUPOS_ONE_SHOT, M.TRIG_DLY_DLY_TIME, 0.0f,
              kT);
    M.WRITE_B_NAME = DATALOG.TURB_TRIP_B_NAME;
    M.SD_WRITE_AND = bk::AND({M.WRITE_B_NAME, M.ABV_MIN_A_COMPARE});
    bk::DELAY(s.WAIT4COUNT, M.WAIT4COUNT_DELAY, &M.WAIT4COUNT_R_TIME.ref(), M.SD_WRITE_AND, 1.0f, 0.0f, kT);
    // A trip asks for one save: while a tripped turbine stays above idle the
    // request ends once its save has begun (or has been refused in the
    // power-up window), so that the save request can start again for the
    // periodic, rewrite and service saves.
    if (M.WAIT4COUNT_DELAY == 0) s.trip_saved = 0;
    const uint32_t trip_request = bk::AND({M.WAIT4COUNT_DELAY, bk::NOT(s.trip_saved)});
    M.SAVE_OR = bk::OR({trip_request, M.NV_WRITE_ONE_SHOT, M.RSTNVTRIG_A_COMPARE, M.SAVE_IN_4});
    // Every request gets a save of its own: one that begins while another
    // holds SAVE.OR high (the rewrite's four seconds, a held service save)
    // would never see the save request fall and rise again, and one that
    // begins while a save runs must not count as served by a snapshot taken
    // before it. Such a request starts the pulse anew once none runs.
    const uint32_t requests = (trip_request << 0) | (M.NV_WRITE_ONE_SHOT << 1) | (M.RSTNVTRIG_A_COMPARE << 2) |
                              (M.SAVE_IN_4 << 3);
    if ((requests & ~s.requests_before) != 0) s.request_waiting = 1;
    s.requests_before = requests;
    const uint32_t was_saving = M.TRIGNV_ONE_SHOT;
    const uint32_t again = bk::AND({s.request_waiting, bk::NOT(was_saving)});
    if (again != 0) {
        s.TRIGNV = {};
        s.request_waiting = 0;
    }
    bk::ONE_SHOT(s.TRIGNV, M.TRIGNV_ONE_SHOT, &M.TRIGNV_R_TIME.ref(), bk::OR({M.SAVE_OR, again}), M.TRIGNV_DLY_TIME,
                 kT, M.PWRUPOS_ONE_SHOT);
    const uint32_t save_began = bk::AND({M.TRIGNV_ONE_SHOT, bk::NOT(was_saving)});
    if (M.WAIT4COUNT_DELAY != 0 && (save_began != 0 || M.PWRUPOS_ONE_SHOT != 0)) s.trip_saved = 1;
    bk::ONE_SHOT(s.RST_DYN, M.RST_DYN_ONE_SHOT, &M.RST_DYN_R_TIME.ref(), M.TRIGNV_ONE_SHOT, M.RST_DYN_DLY_TIME, kT);
    bk::DELAY(s.RESET_DLY, M.RESET_DLY_DELAY, &M.RESET_DLY_R_TIME.ref(), M.RST_DYN_ONE_SHOT, M.RESET_DLY_DLY_TIME, 0.0f,
              kT);
    M.RSET_OR = bk::OR({M.TRIG_DLY_DELAY, M.COUNT_CLR_ONE_SHOT, M.RESET_DLY_DELAY, M.RSET_IN_4});
    M.RESET_B_NAME = M.RSET_OR;

    // The counters, loaded from the log's slots on a reload.
    const uint32_t reset = M.RESET_B_NAME;
    M.RST_1_OUT_1 = bk::real_to_int(M.NV_MEM_LOG_OUT_1);
    counter(s.START_TURB, M.START_TURB_COUNTER, M.START_TURB_CMP_OUT, reset, M.START_OS_ONE_SHOT, M.RST_1_OUT_1);
    M.RST_3_OUT_1 = bk::real_to_int(M.NV_MEM_LOG_OUT_3);
    counter(s.SD_CNT, M.SD_CNT_COUNTER, M.SD_CNT_CMP_OUT, reset, M.SD_OS_ONE_SHOT, M.RST_3_OUT_1);
    M.RST_4_OUT_1 = bk::real_to_int(M.NV_MEM_LOG_OUT_4);
    counter(s.SDWLOAD1_CNT, M.SDWLOAD1_CNT_COUNTER, M.SDWLOAD1_CNT_CMP_OUT, reset, M.ABV_LVL1_AND, M.RST_4_OUT_1);
    M.RST_5_OUT_1 = bk::real_to_int(M.NV_MEM_LOG_OUT_5);
    counter(s.SDWLOAD2_CNT, M.SDWLOAD2_CNT_COUNTER, M.SDWLOAD2_CNT_CMP_OUT, reset, M.ABV_LVL2_AND, M.RST_5_OUT_1);
    M.RST_11_OUT_1 = bk::real_to_int(M.NV_MEM_LOG_OUT_11);
    counter(s.OSPD_CNT, M.OSPD_CNT_COUNTER, M.OSPD_CNT_CMP_OUT, reset, M.OSPD_OS_ONE_SHOT, M.RST_11_OUT_1);
    M.STRT_TURB_A_NAME = M.COUNT_1_A_NAME;
    M.SD_NUM_A_NAME = M.COUNT_3_A_NAME;
    M.SDLOAD1_NUM_A_NAME = M.COUNT_4_A_NAME;
    M.SDLOAD2_NUM_A_NAME = M.COUNT_5_A_NAME;
    M.OSPD_NUM_A_NAME = M.COUNT_11_A_NAME;

    // The peaks: zero while rewriting, shown against the stored ones.
    M.PEAK_ACCEL_A_SW = bk::SW<float>(entering, ACCEL.MAX_RATE_A_NAME, 0.0f);
    M.PEAKACEL_GUI_A_MAX = larger(M.NV_MEM_LOG_OUT_10, M.PEAK_ACCEL_A_SW);
    M.PEAK_SPD_A_SW = bk::SW<float>(entering, OSPD.SPEED_HOLD_HSS_BUS, 0.0f);
    M.PEAKSPD_GUI_A_MAX = larger(M.NV_MEM_LOG_OUT_9, M.PEAK_SPD_A_SW);
}

namespace {

// The cells of one run-hour timer.
struct RunHours {
    float &set_in, &set, &sel, &wait, &hrs_real, &hrs, &accum;
    int32_t& hrs_int;
    uint32_t &run, &calc_alm;
    TimeCell& elapsed;
    float &calc, &multiply;
};

// A run time split as a date since 1970 into the fields of its display.
struct Display {
    float &year, &month, &day, &hour, &min, &sec, &microsec, &mins;
};
void split(const TimeCell& t, const Display& c) {
    const bk::DateSplit d = bk::DATE_SPLIT(t);
    c.year = d.YEAR;
    c.month = d.MONTH;
    c.day = d.DAY;
    c.hour = d.HOUR;
    c.min = d.MIN;
    c.sec = d.SEC;
    c.microsec = d.MICROSEC;
    c.mins = c.min;
}

void run_hours(const RunHours& c, uint32_t second_input, float stored) {
    auto& M = COND_MON;
    c.set = c.set_in;
    c.sel = bk::SW<float>(M.WRITE_OS_ONE_SHOT, c.wait, c.set);
    c.hrs_int = bk::real_to_int(c.sel);
    c.hrs_real = bk::int_to_real(c.hrs_int);
    c.hrs = c.hrs_real;
    c.run = bk::AND({NV_MEM.ABV_IDLE_A_COMPARE, second_input});
    TimeCell& t = c.elapsed;
    if (M.RESET_B_NAME != 0) {
        c.accum = 0.0f;
        t = {0, 0};
    } else if (c.run != 0) {
        advance(c.accum, t);
    }
    const float seconds = static_cast<float>(t.sec);
    c.calc = seconds / 3600.0f + (std::isfinite(stored) ? stored : 0.0f);
    c.calc_alm = 0;
    c.multiply = c.calc * 3600.0f;
}

}  // namespace

#define COND_MON_TIMER(SET, N, RUN, IH, RH, HRS, ACC, CALC, CVT)                                         \
    RunHours {                                                                                             \
        M.SET##_IN, M.SET##_A_NAME, M.SEL_TMR_##N##_A_SW, M.WAIT_TMR_##N##_ZMINUS1, M.RH##_OUT_1,         \
            M.HRS##_A_NAME, M.ACC##_OUT_1, M.IH##_OUT_1, M.RUN##_AND, M.CALC##_ALM, M.ACC##_ELAP_TIME,   \
            M.CALC##_CALCULATE, M.CVT##_MULTIPLY                                                          \
    }
#define COND_MON_DISPLAY(HMS, MINS)                                                                        \
    Display {                                                                                              \
        M.HMS##_YEAR, M.HMS##_MONTH, M.HMS##_DAY, M.HMS##_HOUR, M.HMS##_MIN, M.HMS##_SEC, M.HMS##_MICROSEC, \
            M.MINS##_A_NAME                                                                                \
    }

void COND_MON_run_hours() {
    auto& M = COND_MON;
    bk::A_COMPARE(NV_MEM.ABV_IDLE_A_COMPARE, NV_MEM.ABV_IDLE_A_EQUAL, DATALOG.SPEED_A_NAME,
                  DATALOG.MIN_GOV_A_NAME);
    run_hours(COND_MON_TIMER(TRUNSET, 1, TURB_RUN, RIHOURS, RHOURS, TRUNHRS, TRUNACCUM, TRUNCALC, TRUNCVTBK),
              M.TURB_RUN_IN_2, M.NV_MEM_LOG_OUT_6);
    run_hours(COND_MON_TIMER(TRUNLDSET, 2, TURB_RUNLD, RLDIHOURS, RLDHOURS, TRUNLDHRS, TRUNLDACCUM, TRUNLDCALC,
                             TRUNCVTBK2),
              M.LOAD_LVL1_B_NAME, M.NV_MEM_LOG_OUT_7);
    M.TRUNLDTOTIME_A_TO_T = bk::A_TO_T(M.TRUNCVTBK2_MULTIPLY);
    run_hours(COND_MON_TIMER(TRUNLD2SET, 3, TURB_RUNLD2, RLD2IHOURS, RLD2HOURS, TRUNLD2HRS, TRUNLD2ACCUM,
                             TRUNLD2CALC, TRUNCVTBK3),
              M.LOAD_LVL2_B_NAME, M.NV_MEM_LOG_OUT_8);
    M.TRUNLD2TOTIME_A_TO_T = bk::A_TO_T(M.TRUNCVTBK3_MULTIPLY);
    split(M.TRUNLD2TOTIME_A_TO_T, COND_MON_DISPLAY(TRUNLD2_HMS, TRUNLD2MINS));
}

void COND_MON_run_times() {
    auto& M = COND_MON;
    M.TRUNTOTIME_A_TO_T = bk::A_TO_T(M.TRUNCVTBK_MULTIPLY);
    split(M.TRUNLDTOTIME_A_TO_T, COND_MON_DISPLAY(TRUNLD_HMS, TRUNLDMINS));
    split(M.TRUNTOTIME_A_TO_T, COND_MON_DISPLAY(TRUN_HMS, TRUNMINS));
}

}  // namespace r160

void COND_MON_command_written(uint32_t value) {
    bk::SVC_CMD_WRITTEN(COND_MON_st.REWRITE_NV_CMD, 1, value, kCommandHold);
}

void COND_MON_init_blks() { bk::SVC_CMD_INIT(COND_MON_st.REWRITE_NV_CMD, kCommandHold); }
