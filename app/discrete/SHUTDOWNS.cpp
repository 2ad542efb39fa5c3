// SHUTDOWNS: the thirty trips and their overrides, the latched shutdown
// list with the shutdown signal and its copies, the history of the last five
// shutdowns, the first-out text and the tripped LED; and the discrete
// logic's part: the "External Trip 1" latch and the trip relay.
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/protection/SHUTDOWNS_texts.h"
#include "app/control/CONF_LATCH.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/protection/trip_block.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr int kTrips = 30;
constexpr int kHistory = 5;

struct SHUTDOWNS_blocks {
    bk::OneShotState PWR_UP_OVRD;
    // The trip blocks' timers (no trip has a delay; the block keeps one).
    float SD_01, SD_02, SD_03, SD_04, SD_05, SD_06, SD_07, SD_08, SD_09, SD_10, SD_11, SD_12, SD_13,
          SD_14, SD_15, SD_16, SD_17, SD_18, SD_19, SD_20, SD_21, SD_22, SD_23, SD_24, SD_25, SD_26,
          SD_28, SD_29, SD_30;
    bk::OneShotState SD_PLS;
    bk::OneShotState SD_SHOOT;
    // The latched list.
    uint32_t latched[kTrips + 1];
    LatchAeHidden any;
    uint16_t order[kTrips + 4];
    // The history of the last five.
    bk::OneShotState CNTR_OVRD, CNTR_RST, CMPR_RST;
    bk::DelayState PWRUPDLY;
    uint32_t startcnt_prev, init_sd_prev;
    uint32_t sd_prev[kHistory + 1];
    // 160 ms.
    uint32_t any_sd_prev;
    bk::SvcCmdState<1> LED_TEST;
};
BlockRam<SHUTDOWNS_blocks> SHUTDOWNS_st;

// The first-out text of trip 1 .. 30; any other number leaves the text.
void first_out_text(StrCell& out, int32_t trip) {
    if (trip >= 1 && trip <= kTrips) str_cell_copy(out, kShutdownFirstOutText[trip - 1]);
}

// Length of the shutdown pulse that sets the relay latch.
constexpr float kShutdownPulse = 0.5f;
// Length of the one-shot that tells the other logic a shutdown began.
constexpr float kShootPulse = 1.0f;
// List positions of the external trips: 1 ("External Trip 1") and 9 .. 12.
constexpr int32_t kExtTrip1 = 1, kExtTrip2 = 9, kExtTrip5 = 12;
// History: the counter override after start-up, the reset pulses, the
// trigger delay and the counter's wrap.
constexpr float kCounterOverride = 2.0f, kCounterPulse = 0.1f, kTriggerDelay = 1.0f;
constexpr float kCounterWrap = 6.0f;
constexpr float kLedTestTime = 5.0f;
constexpr int32_t kHistoryActOut = 5;
// Boolean unit-delay slot of the counter's compare output.
constexpr int kZCompare = 8;

}  // namespace

uint16_t (&SHUTDOWNS_ANY_nIndexT)[30 + 4] = SHUTDOWNS_st.order;
uint16_t* const SHUTDOWNS_ANY_nIndex = &SHUTDOWNS_st.order[2];

namespace {

#define SD_ENTRY(NN, n)                                                                                     \
    LatchAeEntry{r10::SHUTDOWNS.SD_##NN##_B_ALARM, &SHUTDOWNS_st.latched[n], r10::SHUTDOWNS.ANY_SEL_##n,    \
                 r10::SHUTDOWNS.ANY_ALM_NO_##n, r10::SHUTDOWNS.ANY_EV_TM_##n, nullptr, r10::ORVEX12_IO.RTC_TOD, \
                 kShutdownEntryText[n - 1]}
#define SD_ENTRY_COPY(NN, n) SD_ENTRY(NN, n)
#define LIST_EVENT(k, time) \
    LatchAeEntry{{}, nullptr, {}, {}, {}, &SHUTDOWNS_st.any.time, {}, kShutdownEntryText[kTrips + (k) - 1]}

const LatchAeEntry kShutdownEntries[kTrips + 3] = {
    SD_ENTRY(01, 1),
    SD_ENTRY(02, 2),
    SD_ENTRY(03, 3),
    SD_ENTRY(04, 4),
    SD_ENTRY(05, 5),
    SD_ENTRY(06, 6),
    SD_ENTRY(07, 7),
    SD_ENTRY(08, 8),
    SD_ENTRY(09, 9),
    SD_ENTRY(10, 10),
    SD_ENTRY(11, 11),
    SD_ENTRY(12, 12),
    SD_ENTRY(13, 13),
    SD_ENTRY(14, 14),
    SD_ENTRY(15, 15),
    SD_ENTRY(16, 16),
    SD_ENTRY(17, 17),
    SD_ENTRY(18, 18),
    SD_ENTRY(19, 19),
    SD_ENTRY(20, 20),
    SD_ENTRY(21, 21),
    SD_ENTRY(22, 22),
    SD_ENTRY(23, 23),
    SD_ENTRY(24, 24),
    SD_ENTRY(25, 25),
    SD_ENTRY(26, 26),
    SD_ENTRY_COPY(27, 27),
    SD_ENTRY(28, 28),
    SD_ENTRY(29, 29),
    SD_ENTRY(30, 30),
    LIST_EVENT(1, reset_time),
    LIST_EVENT(2, clear_time),
    LIST_EVENT(3, ack_time),
};
#undef SD_ENTRY
#undef SD_ENTRY_COPY
#undef LIST_EVENT

}  // namespace

const LatchAeList SHUTDOWNS_ANY_list{1,
                                     kTrips,
                                     kShutdownEntries,
                                     true,
                                     true,
                                     true,
                                     &SHUTDOWNS_st.any,
                                     SHUTDOWNS_ANY_nIndex,
                                     &SHUTDOWNS_ANYNewRedFlag,
                                     &bEventStatusChanged1};

void SHUTDOWNS_init_blks() {
    SHUTDOWNS_ANYNewRedFlag = 0;
    bEventStatusChanged1 = 0;
    cells::SHUTDOWNS.COUNTER_COUNTER = 1.0f;
    bk::SVC_CMD_INIT(SHUTDOWNS_st.LED_TEST, kLedTestTime);
}

namespace r10 {

namespace {
// One trip block of the list's group, without delay.
#define TRIP(NN, cond, ovrd)                                                                                   \
    bk::TRIP(SHUTDOWNS_st.SD_##NN,                                                                            \
             bk::TripOut{SHUTDOWNS.SD_##NN##_B_ALARM, SHUTDOWNS.SD_##NN##_LIGHT, SHUTDOWNS.SD_##NN##_HORN}, cond, \
             ovrd, 0.0f, RESET.RESET_B_NAME, bk::T10)
}  // namespace

void SHUTDOWNS_external_trip_1() {
    SHUTDOWNS.SIM_SW_B_SW = bk::SW<uint32_t>(SPEED_SIM.ENA__SIM_B_NAME, BI_MUX.EXT_TRIP_1_B_NAME,
                                            CNFG_BI.BI_03_ZARN_BI_ZARN);
    bk::ONE_SHOT(SHUTDOWNS_st.PWR_UP_OVRD, SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT, &SHUTDOWNS.PWR_UP_OVRD_R_TIME.ref(), 1,
                 SHUTDOWNS.PWR_UP_OVRD_DLY_TIME, bk::T10);
    TRIP(01, SHUTDOWNS.SIM_SW_B_SW, SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT);
}

void SHUTDOWNS_trips_a() {
    const uint32_t puo = SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT;
    TRIP(02, SD_LOGIC.PSHBTN_Z_ZMINUS1_B, SHUTDOWNS.SD_OVRDS_LIST_2);
    TRIP(03, OSPD.OSPD_SD_AND, puo);
    MPU_OVRD.B_MPUS_FLD_AND =
        bk::AND({MPU_OVRD.SS1_FLD_B_SW, MPU_OVRD.MPU2_SD_L_OR, MPU_OVRD.NOT_SD_Z_ZMINUS1_B});
    SHUTDOWNS.OVRD_SD04_OR = bk::OR({SPEED_SIM.ENA__SIM_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_4});
    TRIP(04, MPU_OVRD.B_MPUS_FLD_AND, SHUTDOWNS.OVRD_SD04_OR);
    TRIP(05, MOD_BW.MOD1_SW_B_SW, SHUTDOWNS.SD_OVRDS_LIST_5);
    TRIP(06, SHUTDOWNS.CNFG_ERR_OR, puo);
    TRIP(07, CALMODE.CALMODE_B_NAME, 0u);
    SHUTDOWNS.OVRD_8_OR = bk::OR({SHUTDOWNS.SD_OVRDS_LIST_8, SD_LOGIC.OVRD_TRIP_NOT});
    TRIP(08, SD_LOGIC.PWRUP_SD_AND, SHUTDOWNS.OVRD_8_OR);
    TRIP(09, SD_LOGIC.NOT_TRIP2_NOT, puo);
    TRIP(10, SD_LOGIC.NOT_TRIP3_NOT, puo);
    TRIP(11, SD_LOGIC.NOT_TRIP4_NOT, puo);
}

void SHUTDOWNS_trips_b() {
    TRIP(12, SD_LOGIC.NOT_TRIP5_NOT, SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT);
    TRIP(13, _ub1.TRIP_LVL2_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_13);
    TRIP(14, _ub2.TRIP_LVL2_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_14);
    TRIP(15, _ub3.TRIP_LVL2_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_15);
    TRIP(16, _ub4.TRIP_LVL2_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_16);
    TRIP(17, SD_LOGIC.VL_SUMMARY_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_17);
    TRIP(18, OSPD.MAX_SP_ENA_AND, SHUTDOWNS.SD_OVRDS_LIST_18);
    TRIP(19, SD_LOGIC.HP_FLT_P_AND, SHUTDOWNS.SD_OVRDS_LIST_19);
    TRIP(20, OPC_DATA.OPC_TRIP_AND, SHUTDOWNS.SD_OVRDS_LIST_20);
    TRIP(21, _ub1.AND_AND, SHUTDOWNS.SD_OVRDS_LIST_21);
    TRIP(22, _ub2.AND_AND, SHUTDOWNS.SD_OVRDS_LIST_22);
    TRIP(23, _ub3.AND_AND, SHUTDOWNS.SD_OVRDS_LIST_23);
    TRIP(24, _ub4.AND_AND, SHUTDOWNS.SD_OVRDS_LIST_24);
    TRIP(25, CNTRL_STOP.STP_COMPLETE_AND, SHUTDOWNS.SD_OVRDS_LIST_25);
    TRIP(26, SPDC.UDRSPD_SD_AND, SHUTDOWNS.SD_OVRDS_LIST_26);
    TRIP(28, SHUTDOWNS.UNUSED_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_28);
    TRIP(29, SHUTDOWNS.UNUSED_B_NAME, SHUTDOWNS.SD_OVRDS_LIST_29);
    TRIP(30, SHUTDOWNS.TUNABLE_TRIP_OR_OR, SHUTDOWNS.SD_OVRDS_LIST_30);
}
#undef TRIP

// The list pass, then the shutdown signal and its copies.
void SHUTDOWNS_list() {
    LATCH_AE(SHUTDOWNS_ANY_list,
             LatchAeIo{SHUTDOWNS.DLY_SDREAC_B_ACTION, SHUTDOWNS.ACKNOWLEDG_OR, SHUTDOWNS.ANY_FA_RST, 0u,
                       SHUTDOWNS.ANY_LATCH_AE, SHUTDOWNS.ANY_LOGICAL_OR, SHUTDOWNS.ANY_HORN,
                       SHUTDOWNS.ANY_FIRST_ALM},
             ORVEX12_IO.RTC_TOD);
    const uint32_t sd = SHUTDOWNS.ANY_LATCH_AE;
    SHUTDOWNS.ANY_SD_B_NAME = sd;
    IFACE_IN_VLV.ANY_SD_B_NAME = sd;
    IFACE_IN_HP_MAN.ANY_SD_B_NAME = sd;
    DRVR_SCALE.TRIP_SWITC_B_SW = bk::SW<uint32_t>(IFACE_IN_VLV.SELF_PWACT_B_NAME, 0u, sd);
    // The data log stops and prints on a trip.
    DATALOG.TURB_TRIP_B_NAME = sd;
}

void SHUTDOWNS_not_latched() { SHUTDOWNS.NOT_SD_NOT = bk::NOT(SHUTDOWNS.ANY_LATCH_AE); }

void SHUTDOWNS_trip_relay() {
    bk::ONE_SHOT(SHUTDOWNS_st.SD_PLS, SHUTDOWNS.SD_PLS_ONE_SHOT, &SHUTDOWNS.SD_PLS_R_TIME.ref(),
                 SHUTDOWNS.ANY_SD_B_NAME, kShutdownPulse, bk::T10);
    bk::LATCH(SHUTDOWNS.REL_LATCH_LATCH, SHUTDOWNS.SD_PLS_ONE_SHOT, RESET.RST_ONE_SHOT);
    SHUTDOWNS.SD_REL_SW_B_SW =
        bk::SW<uint32_t>(SHUTDOWNS.RST_CLRTRP_B_NAME, SHUTDOWNS.ANY_SD_B_NAME, SHUTDOWNS.REL_LATCH_LATCH);
    // First-out test: is the first shutdown one of the external trips?
    const int32_t f = SHUTDOWNS.ANY_FIRST_ALM;
    bk::I_COMPARE(SHUTDOWNS.TRIP1_EQ_EQ, SHUTDOWNS.TRIP1_EQ_LT, SHUTDOWNS.TRIP1_EQ_GT, f, kExtTrip1);
    bk::I_COMPARE(SHUTDOWNS.TRIP2_EQ_EQ, SHUTDOWNS.TRIP2_EQ_LT, SHUTDOWNS.TRIP2_EQ_GT, f, kExtTrip2);
    SHUTDOWNS.TRIP2_GT_EQ_OR = bk::OR({SHUTDOWNS.TRIP2_EQ_GT, SHUTDOWNS.TRIP2_EQ_EQ});
    bk::I_COMPARE(SHUTDOWNS.TRIP5_EQ_EQ, SHUTDOWNS.TRIP5_EQ_LT, SHUTDOWNS.TRIP5_EQ_GT, f, kExtTrip5);
    SHUTDOWNS.TRIP5_LT_EQ_OR = bk::OR({SHUTDOWNS.TRIP5_EQ_LT, SHUTDOWNS.TRIP5_EQ_EQ});
    SHUTDOWNS.TRIPS2_5_AND = bk::AND({SHUTDOWNS.TRIP2_GT_EQ_OR, SHUTDOWNS.TRIP5_LT_EQ_OR});
    SHUTDOWNS.N_EXT_TRIP_NOR = bk::NOR({SHUTDOWNS.TRIPS2_5_AND, SHUTDOWNS.TRIP1_EQ_EQ});
    SHUTDOWNS.XTRNL_TRIP_B_SW =
        bk::SW<uint32_t>(CNFG_OPERATE.EXT_TRIPS_RELAY_B_NAME, SHUTDOWNS.N_EXT_TRIP_NOR, 1u);
    SHUTDOWNS.TRIP_RELAY_AND = bk::AND({SHUTDOWNS.SD_REL_SW_B_SW, SHUTDOWNS.XTRNL_TRIP_B_SW});
    SHUTDOWNS.RELY_NOT_NOT = bk::NOT(SHUTDOWNS.TRIP_RELAY_AND);
}

namespace {
// The five slots of the history by number.
struct Slot {
    LatchRef<uint32_t> cmp, eq, sd, rst, lch;
    LatchRef<float> hold, e_time, r_time;
    LatchRef<int32_t> out, act_out;
    LatchRef<TimeCell> time;
};
#define HIST_SLOT(k)                                                                                     \
    Slot {                                                                                               \
        SHUTDOWNS.COUNTER##k##_A_COMPARE, SHUTDOWNS.COUNTER##k##_A_EQUAL, SHUTDOWNS.SD##k##_AND,         \
            SHUTDOWNS.SD##k##_RST_B_ACTION, SHUTDOWNS.SD##k##_LCH_LATCH_R, SHUTDOWNS.HOLD_SD##k##_OUT_1, \
            SHUTDOWNS.SD##k##_RST_E_TIME, SHUTDOWNS.SD##k##_RST_R_TIME, SHUTDOWNS.LAST5SD_OUT_##k,       \
            SHUTDOWNS.SD##k##_RST_ACT_OUT, SHUTDOWNS.SD##k##_TIME_T_SW                                   \
    }
const Slot kSlots[kHistory + 1] = {HIST_SLOT(1), HIST_SLOT(1), HIST_SLOT(2), HIST_SLOT(3), HIST_SLOT(4),
                                   HIST_SLOT(5)};
#undef HIST_SLOT
const LatchRef<int32_t> kRotated[kHistory + 1] = {SHUTDOWNS.LAST_5_SD_I_OUT_1, SHUTDOWNS.LAST_5_SD_I_OUT_1,
                                                   SHUTDOWNS.LAST_5_SD_I_OUT_2, SHUTDOWNS.LAST_5_SD_I_OUT_3,
                                                   SHUTDOWNS.LAST_5_SD_I_OUT_4, SHUTDOWNS.LAST_5_SD_I_OUT_5};
}  // namespace

void SHUTDOWNS_history() {
    SHUTDOWNS_blocks& s = SHUTDOWNS_st;
    bk::ONE_SHOT(s.CNTR_OVRD, SHUTDOWNS.CNTR_OVRD_ONE_SHOT, &SHUTDOWNS.CNTR_OVRD_R_TIME.ref(), 1, kCounterOverride,
                 bk::T10);
    bk::DELAY(s.PWRUPDLY, SHUTDOWNS.PWRUPDLY_DELAY, &SHUTDOWNS.PWRUPDLY_R_TIME.ref(), SHUTDOWNS.PWRUPDLY_TRIGGER,
              kTriggerDelay, 0.0f, bk::T10);
    bk::ONE_SHOT(s.CNTR_RST, SHUTDOWNS.CNTR_RST_ONE_SHOT, &SHUTDOWNS.CNTR_RST_R_TIME.ref(), SHUTDOWNS.PWRUPDLY_DELAY,
                 kCounterPulse, bk::T10);
    bk::ONE_SHOT(s.CMPR_RST, SHUTDOWNS.CMPR_RST_ONE_SHOT, &SHUTDOWNS.CMPR_RST_R_TIME.ref(),
                 SHUTDOWNS.CMP_OUT_Z_ZMINUS1_B, kCounterPulse, bk::T10);
    SHUTDOWNS.CONFIG_ERROR_B_NAME = SHUTDOWNS.ANY_SEL_12;
    SHUTDOWNS.INIT_SD_AND = bk::AND({SHUTDOWNS.INIT_SD_IN_1, SHUTDOWNS.ANY_SD_B_NAME});

    // The counter: preset to 1 by the reset pulses, one up per shutdown, and
    // back to 1 one pass after it has reached 6.
    SHUTDOWNS.STARTCNT_OR = bk::OR({SHUTDOWNS.CNTR_RST_ONE_SHOT, SHUTDOWNS.CMPR_RST_ONE_SHOT});
    if (SHUTDOWNS.STARTCNT_OR != 0 && s.startcnt_prev == 0) {
        SHUTDOWNS.COUNTER_COUNTER = 1.0f;
        SHUTDOWNS.COUNTER_CMP_OUT = 0;
    }
    s.startcnt_prev = SHUTDOWNS.STARTCNT_OR;
    if (SHUTDOWNS.INIT_SD_AND != 0 && s.init_sd_prev == 0) SHUTDOWNS.COUNTER_COUNTER += 1.0f;
    s.init_sd_prev = SHUTDOWNS.INIT_SD_AND;
    if (SHUTDOWNS.COUNTER_COUNTER >= kCounterWrap) SHUTDOWNS.COUNTER_CMP_OUT = 1;
    bk::ZSTORE_B(kZCompare, SHUTDOWNS.COUNTER_CMP_OUT);
    SHUTDOWNS.CMP_OUT_Z_ZMINUS1_B = bk::ZCOMMIT_B(kZCompare);

    SHUTDOWNS.PU_DIS_COUNTR_A_SW = bk::SW<float>(SHUTDOWNS.CNTR_OVRD_ONE_SHOT, SHUTDOWNS.COUNTER_COUNTER, 1.0f);
    const float value = SHUTDOWNS.PU_DIS_COUNTR_A_SW;
    for (int k = 1; k <= kHistory; ++k) bk::A_COMPARE(kSlots[k].cmp.get(), kSlots[k].eq.get(), value, static_cast<float>(k));

    SHUTDOWNS.FIRSTOUT_A_OUT_1 = bk::int_to_real(SHUTDOWNS.ANY_FIRST_ALM);
    SHUTDOWNS.FIRST_OUT_I_NAME = SHUTDOWNS.ANY_FIRST_ALM;
    SHUTDOWNS.SD_FRSTOUT_A_NAME = SHUTDOWNS.FIRSTOUT_A_OUT_1;

    SHUTDOWNS.INIT_HIST_OR = bk::OR({SD_LOGIC.PU_SD_HIST_AND, SHUTDOWNS.ANY_SD_B_NAME});
    uint32_t rose[kHistory + 1] = {};
    for (int k = 1; k <= kHistory; ++k) {
        const Slot& h = kSlots[k];
        h.sd.get() = bk::AND({k == 1 ? SHUTDOWNS.INIT_HIST_OR.ref() : SHUTDOWNS.ANY_SD_B_NAME.ref(), h.eq.get()});
        rose[k] = h.sd.get() != 0 && s.sd_prev[k] == 0 ? 1u : 0u;
        s.sd_prev[k] = h.sd.get();
        if (rose[k]) h.hold.get() = SHUTDOWNS.SD_FRSTOUT_A_NAME;
        h.out.get() = bk::real_to_int(h.hold.get());
    }

    int c = 0;
    for (int k = 1; k <= kHistory; ++k)
        if (kSlots[k].cmp.get() == 1) c = k;
    if (c > 0)
        for (int j = 1; j <= kHistory; ++j) {
            const int from = (c - j + kHistory) % kHistory + 1;
            kRotated[j].get() = kSlots[from].out.get();
        }
    if (!bk::finite(SHUTDOWNS.LAST_5_SD_A_OUT_1)) {
        SHUTDOWNS.LAST_5_SD_A_OUT_1 = 0.0f;
        SHUTDOWNS.LAST_5_SD_ALM = 1;
    }

    for (int k = 1; k <= kHistory; ++k) {
        const Slot& h = kSlots[k];
        h.rst.get() = rose[k];
        h.act_out.get() = kHistoryActOut;
        h.e_time.get() = 0.0f;  // the pulse action runs no timer
        h.r_time.get() = 0.0f;
        if (rose[k]) {
            h.lch.get() = 0;
            h.time.get() = ORVEX12_IO.RTC_TOD;
        } else if (h.sd.get() != 0) {
            h.lch.get() = 1;
        } else if (h.lch.get() == 0) {
            h.time.get() = ORVEX12_IO.RTC_TOD;
        }
    }
}

void SHUTDOWNS_pulses() {
    SHUTDOWNS.SD_PWRUP_OR = bk::OR({SHUTDOWNS.ANY_SD_B_NAME, SD_LOGIC.PWR_UP_SD_ONE_SHOT});
    bk::ONE_SHOT(SHUTDOWNS_st.SD_SHOOT, SHUTDOWNS.SD_SHOOT_ONE_SHOT, &SHUTDOWNS.SD_SHOOT_R_TIME.ref(),
                 SHUTDOWNS.ANY_SD_B_NAME, kShootPulse, bk::T10);
    SHUTDOWNS.TIME_STAMP_SD1_T_NAME = SHUTDOWNS.SD1_TIME_T_SW.ref();
    SHUTDOWNS.TIME_STAMP_SD2_T_NAME = SHUTDOWNS.SD2_TIME_T_SW.ref();
    SHUTDOWNS.TIME_STAMP_SD3_T_NAME = SHUTDOWNS.SD3_TIME_T_SW.ref();
    SHUTDOWNS.TIME_STAMP_SD4_T_NAME = SHUTDOWNS.SD4_TIME_T_SW.ref();
    SHUTDOWNS.TIME_STAMP_SD5_T_NAME = SHUTDOWNS.SD5_TIME_T_SW.ref();
    // The first shutdown of the list by its text; no first shutdown leaves
    // the text standing.
    first_out_text(SHUTDOWNS.TRIP_FO_S_MUX_N_1, SHUTDOWNS.ANY_FIRST_ALM);
}

}  // namespace r10

namespace r160 {

void SHUTDOWNS_overrides() {
    if (SHUTDOWNS.SD_OVRDS_B_ENABLE == 0) return;
    SHUTDOWNS.SD_OVRDS_LIST_1 = 0;
    SHUTDOWNS.SD_OVRDS_LIST_3 = 0;
    SHUTDOWNS.SD_OVRDS_LIST_6 = 0;
    SHUTDOWNS.SD_OVRDS_LIST_7 = 0;
    SHUTDOWNS.SD_OVRDS_LIST_2 = SHUTDOWNS.SD_OVRDS_IN_2;
    SHUTDOWNS.SD_OVRDS_LIST_4 = SHUTDOWNS.SD_OVRDS_IN_4;
    SHUTDOWNS.SD_OVRDS_LIST_5 = SHUTDOWNS.SD_OVRDS_IN_5;
    SHUTDOWNS.SD_OVRDS_LIST_8 = SHUTDOWNS.SD_OVRDS_IN_8;
    SHUTDOWNS.SD_OVRDS_LIST_9 = SHUTDOWNS.SD_OVRDS_IN_9;
    SHUTDOWNS.SD_OVRDS_LIST_10 = SHUTDOWNS.SD_OVRDS_IN_10;
    SHUTDOWNS.SD_OVRDS_LIST_11 = SHUTDOWNS.SD_OVRDS_IN_11;
    SHUTDOWNS.SD_OVRDS_LIST_12 = SHUTDOWNS.SD_OVRDS_IN_12;
    SHUTDOWNS.SD_OVRDS_LIST_13 = SHUTDOWNS.SD_OVRDS_IN_13;
    SHUTDOWNS.SD_OVRDS_LIST_14 = SHUTDOWNS.SD_OVRDS_IN_14;
    SHUTDOWNS.SD_OVRDS_LIST_15 = SHUTDOWNS.SD_OVRDS_IN_15;
    SHUTDOWNS.SD_OVRDS_LIST_16 = SHUTDOWNS.SD_OVRDS_IN_16;
    SHUTDOWNS.SD_OVRDS_LIST_17 = SHUTDOWNS.SD_OVRDS_IN_17;
    SHUTDOWNS.SD_OVRDS_LIST_18 = SHUTDOWNS.SD_OVRDS_IN_18;
    SHUTDOWNS.SD_OVRDS_LIST_19 = SHUTDOWNS.SD_OVRDS_IN_19;
    SHUTDOWNS.SD_OVRDS_LIST_20 = SHUTDOWNS.SD_OVRDS_IN_20;
    SHUTDOWNS.SD_OVRDS_LIST_21 = SHUTDOWNS.SD_OVRDS_IN_21;
    SHUTDOWNS.SD_OVRDS_LIST_22 = SHUTDOWNS.SD_OVRDS_IN_22;
    SHUTDOWNS.SD_OVRDS_LIST_23 = SHUTDOWNS.SD_OVRDS_IN_23;
    SHUTDOWNS.SD_OVRDS_LIST_24 = SHUTDOWNS.SD_OVRDS_IN_24;
    SHUTDOWNS.SD_OVRDS_LIST_25 = SHUTDOWNS.SD_OVRDS_IN_25;
    SHUTDOWNS.SD_OVRDS_LIST_26 = SHUTDOWNS.SD_OVRDS_IN_26;
    SHUTDOWNS.SD_OVRDS_LIST_27 = SHUTDOWNS.SD_OVRDS_IN_27;
    SHUTDOWNS.SD_OVRDS_LIST_28 = SHUTDOWNS.SD_OVRDS_IN_28;
    SHUTDOWNS.SD_OVRDS_LIST_29 = SHUTDOWNS.SD_OVRDS_IN_29;
    SHUTDOWNS.SD_OVRDS_LIST_30 = SHUTDOWNS.SD_OVRDS_IN_30;
}

void SHUTDOWNS_inputs() {
    SHUTDOWNS.CNFG_ERR_OR = bk::OR({CONF_LATCH.ANY_LATCH_AE, MASTER.IO_LOCK_B_NAME});
    SHUTDOWNS.TUNABLE_TRIP_B_NAME = SHUTDOWNS.TUNABLE_TRIP_IN;
    SHUTDOWNS.TUNABLE_TRIP_OR_OR = bk::OR({SHUTDOWNS.TUNABLE_TRIP_B_NAME, UNIT_DEMO.B_CMDS_LIST_2});
    SHUTDOWNS.UNUSED_B_NAME = SHUTDOWNS.UNUSED_IN;
    SHUTDOWNS.ACKNOWLEDG_OR = SHUTDOWNS.ACKNOWLEDG_IN_2 > 0 ? 1u : 0u;
    SHUTDOWNS.RST_CLRTRP_B_NAME = CNFG_OPERATE.RST_CLRS_TRIP_B_NAME;
}

void SHUTDOWNS_displays() {
    first_out_text(SHUTDOWNS.SD_FO_NOW_S_MUX_N_1, SHUTDOWNS.LAST_5_SD_I_OUT_1);
    if (SHUTDOWNS.ANY_SD_B_NAME != 0 && SHUTDOWNS_st.any_sd_prev == 0)
        SHUTDOWNS.LAST_TRIP_OUT_1 = SHUTDOWNS.SD_FRSTOUT_A_NAME.ref();
    SHUTDOWNS_st.any_sd_prev = SHUTDOWNS.ANY_SD_B_NAME;
    bk::SVC_CMD(SHUTDOWNS_st.LED_TEST, 1, SHUTDOWNS.LED_TEST_IN_1, SHUTDOWNS.LED_TEST_OUT_1, kLedTestTime, bk::T160);
    SHUTDOWNS.LED_TST_B_SW = SHUTDOWNS.LED_TEST_OUT_1 != 0 ? 1u : 0u;
    SHUTDOWNS.TO_LED_OR = bk::OR({SHUTDOWNS.ANY_LATCH_AE, SHUTDOWNS.LED_TST_B_SW});
    SHUTDOWNS.TRIPPED_LED_B_NAME = SHUTDOWNS.TO_LED_OR;
}

void SHUTDOWNS_led_test_written(uint32_t value) {
    bk::SVC_CMD_WRITTEN(SHUTDOWNS_st.LED_TEST, 1, value, kLedTestTime);
}

}  // namespace r160
