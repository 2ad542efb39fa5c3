// VLTR_ALMS at 80 ms: the remote nodes' own latched lists, kept apart from
// the controller's alarm and shutdown lists. The alarm summary (list 3)
// latches node, channel and network faults and alarm levels; the trip list
// (list 4) latches the nodes' trip requests, and its latch is the
// remote-node trip of the shutdown logic. Every newly latched entry and
// every list event goes to the event log.
#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "app/interface/VLTR_ALMS_texts.h"
#include "app/protection/LATCH_AE.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kSummary = 90, kTrips = 35;

struct VLTR_ALMS_list_blocks {
    uint32_t summary_latched[kSummary + 1];
    uint32_t trip_latched[kTrips + 1];
    LatchAeHidden summary, trip;
    uint16_t summary_order[kSummary + 4];
    uint16_t trip_order[kTrips + 4];
    bk::DelayState ERR_DELAY;
};
BlockRam<VLTR_ALMS_list_blocks> VLTR_ALMS_list_st;

// The records without a condition read this cell, which stays 0.
uint32_t g_unused_cell[1];
void* const g_unused_chunk = g_unused_cell;
constexpr LatchRef<uint32_t> unused_input() {
    LatchRef<uint32_t> r;
    r.chunk = &g_unused_chunk;
    return r;
}

#define SU_ENTRY(n, input)                                                                                     \
    LatchAeEntry{input, &VLTR_ALMS_list_st.summary_latched[n], r80::VLTR_ALMS.SUMMARY_SEL_##n,                 \
                 r80::VLTR_ALMS.SUMMARY_ALM_NO_##n, r80::VLTR_ALMS.SUMMARY_EV_TM_##n, nullptr,                 \
                 r80::ORVEX12_IO.RTC_TOD, kVltrSummaryText[n - 1]}
#define TS_ENTRY(n, input)                                                                                     \
    LatchAeEntry{input, &VLTR_ALMS_list_st.trip_latched[n], r80::VLTR_ALMS.TRIP_SUM_SEL_##n,                   \
                 r80::VLTR_ALMS.TRIP_SUM_ALM_NO_##n, r80::VLTR_ALMS.TRIP_SUM_EV_TM_##n, nullptr,               \
                 r80::ORVEX12_IO.RTC_TOD, kVltrTripText[n - 1]}
#define SU_EVENT(k, time) \
    LatchAeEntry{{}, nullptr, {}, {}, {}, &VLTR_ALMS_list_st.summary.time, {}, kVltrSummaryText[kSummary + (k) - 1]}
#define TS_EVENT(k, time) \
    LatchAeEntry{{}, nullptr, {}, {}, {}, &VLTR_ALMS_list_st.trip.time, {}, kVltrTripText[kTrips + (k) - 1]}

const LatchAeEntry kSummaryEntries[kSummary + 3] = {
    SU_ENTRY(1, r80::VLTR_ALMS.VL1_CFLT_ENA_AND),
    SU_ENTRY(2, r80::VLTR_ALMS.VL2_CFLT_ENA_AND),
    SU_ENTRY(3, r80::VLTR_ALMS.VL3_CFLT_ENA_AND),
    SU_ENTRY(4, r80::VLTR_ALMS.VL4_CFLT_ENA_AND),
    SU_ENTRY(5, r80::VLTR_ALMS.VL5_CFLT_ENA_AND),
    SU_ENTRY(6, r80::VLTR_ALMS.VL1_FLT_ENA_AND),
    SU_ENTRY(7, r80::VLTR_ALMS.VL2_FLT_ENA_AND),
    SU_ENTRY(8, r80::VLTR_ALMS.VL3_FLT_ENA_AND),
    SU_ENTRY(9, r80::VLTR_ALMS.VL4_FLT_ENA_AND),
    SU_ENTRY(10, r80::VLTR_ALMS.VL5_FLT_ENA_AND),
    SU_ENTRY(11, r80::_ub33.CHNL_FLT_B_NAME),
    SU_ENTRY(12, r80::_ub34.CHNL_FLT_B_NAME),
    SU_ENTRY(13, r80::_ub35.CHNL_FLT_B_NAME),
    SU_ENTRY(14, r80::_ub36.CHNL_FLT_B_NAME),
    SU_ENTRY(15, r80::_ub37.CHNL_FLT_B_NAME),
    SU_ENTRY(16, r80::_ub38.CHNL_FLT_B_NAME),
    SU_ENTRY(17, r80::_ub39.CHNL_FLT_B_NAME),
    SU_ENTRY(18, r80::_ub40.CHNL_FLT_B_NAME),
    SU_ENTRY(19, r80::_ub41.DBK_FLT_B_NAME),
    SU_ENTRY(20, r80::_ub42.DBK_FLT_B_NAME),
    SU_ENTRY(21, unused_input()),
    SU_ENTRY(22, unused_input()),
    SU_ENTRY(23, unused_input()),
    SU_ENTRY(24, unused_input()),
    SU_ENTRY(25, unused_input()),
    SU_ENTRY(26, unused_input()),
    SU_ENTRY(27, unused_input()),
    SU_ENTRY(28, unused_input()),
    SU_ENTRY(29, unused_input()),
    SU_ENTRY(30, unused_input()),
    SU_ENTRY(31, r80::_ub43.CHNL_FLT_B_NAME),
    SU_ENTRY(32, r80::_ub44.CHNL_FLT_B_NAME),
    SU_ENTRY(33, r80::_ub45.CHNL_FLT_B_NAME),
    SU_ENTRY(34, r80::_ub46.CHNL_FLT_B_NAME),
    SU_ENTRY(35, r80::_ub47.CHNL_FLT_B_NAME),
    SU_ENTRY(36, r80::_ub48.CHNL_FLT_B_NAME),
    SU_ENTRY(37, r80::_ub49.CHNL_FLT_B_NAME),
    SU_ENTRY(38, r80::_ub50.CHNL_FLT_B_NAME),
    SU_ENTRY(39, r80::_ub25.ALARM_LVL1_B_NAME),
    SU_ENTRY(40, r80::_ub25.ALARM_LVL2_B_NAME),
    SU_ENTRY(41, r80::_ub26.ALARM_LVL1_B_NAME),
    SU_ENTRY(42, r80::_ub26.ALARM_LVL2_B_NAME),
    SU_ENTRY(43, r80::_ub27.ALARM_LVL1_B_NAME),
    SU_ENTRY(44, r80::_ub27.ALARM_LVL2_B_NAME),
    SU_ENTRY(45, r80::_ub28.ALARM_LVL1_B_NAME),
    SU_ENTRY(46, r80::_ub28.ALARM_LVL2_B_NAME),
    SU_ENTRY(47, r80::_ub29.ALARM_LVL1_B_NAME),
    SU_ENTRY(48, r80::_ub29.ALARM_LVL2_B_NAME),
    SU_ENTRY(49, r80::_ub30.ALARM_LVL1_B_NAME),
    SU_ENTRY(50, r80::_ub30.ALARM_LVL2_B_NAME),
    SU_ENTRY(51, r80::_ub31.ALARM_LVL1_B_NAME),
    SU_ENTRY(52, r80::_ub31.ALARM_LVL2_B_NAME),
    SU_ENTRY(53, r80::_ub32.ALARM_LVL1_B_NAME),
    SU_ENTRY(54, r80::_ub32.ALARM_LVL2_B_NAME),
    SU_ENTRY(55, unused_input()),
    SU_ENTRY(56, unused_input()),
    SU_ENTRY(57, unused_input()),
    SU_ENTRY(58, unused_input()),
    SU_ENTRY(59, unused_input()),
    SU_ENTRY(60, unused_input()),
    SU_ENTRY(61, unused_input()),
    SU_ENTRY(62, unused_input()),
    SU_ENTRY(63, unused_input()),
    SU_ENTRY(64, unused_input()),
    SU_ENTRY(65, unused_input()),
    SU_ENTRY(66, unused_input()),
    SU_ENTRY(67, unused_input()),
    SU_ENTRY(68, unused_input()),
    SU_ENTRY(69, unused_input()),
    SU_ENTRY(70, unused_input()),
    SU_ENTRY(71, r80::_ub51.ALARM_LVL1_B_NAME),
    SU_ENTRY(72, r80::_ub51.ALARM_LVL2_B_NAME),
    SU_ENTRY(73, r80::_ub52.ALARM_LVL1_B_NAME),
    SU_ENTRY(74, r80::_ub52.ALARM_LVL2_B_NAME),
    SU_ENTRY(75, r80::_ub53.ALARM_LVL1_B_NAME),
    SU_ENTRY(76, r80::_ub53.ALARM_LVL2_B_NAME),
    SU_ENTRY(77, r80::_ub54.ALARM_LVL1_B_NAME),
    SU_ENTRY(78, r80::_ub54.ALARM_LVL2_B_NAME),
    SU_ENTRY(79, r80::_ub55.ALARM_LVL1_B_NAME),
    SU_ENTRY(80, r80::_ub55.ALARM_LVL2_B_NAME),
    SU_ENTRY(81, r80::_ub56.ALARM_LVL1_B_NAME),
    SU_ENTRY(82, r80::_ub56.ALARM_LVL2_B_NAME),
    SU_ENTRY(83, r80::_ub57.ALARM_LVL1_B_NAME),
    SU_ENTRY(84, r80::_ub57.ALARM_LVL2_B_NAME),
    SU_ENTRY(85, r80::_ub58.ALARM_LVL1_B_NAME),
    SU_ENTRY(86, r80::_ub58.ALARM_LVL2_B_NAME),
    SU_ENTRY(87, r80::VLTR_ALMS.CAN2_LINK_LOST_B_NAME),
    SU_ENTRY(88, r80::VLTR_ALMS.COPEN_FAULT_B_NAME),
    SU_ENTRY(89, r80::VLTR_ALMS.CAN_RT_FAULT_B_NAME),
    SU_ENTRY(90, r80::VLTR_ALMS.SUMMARY_IN_90),
    SU_EVENT(1, reset_time),
    SU_EVENT(2, clear_time),
    SU_EVENT(3, ack_time),
};

const LatchAeEntry kTripEntries[kTrips + 3] = {
    TS_ENTRY(1, r80::VLTR_ALMS.VIB_SIGS_LOST_B_NAME),
    TS_ENTRY(2, r80::VLTR_ALMS.SD_VL1_AI1_LVL2_B_NAME),
    TS_ENTRY(3, r80::VLTR_ALMS.SD_VL1_AI2_LVL2_B_NAME),
    TS_ENTRY(4, r80::VLTR_ALMS.SD_VL1_AI3_LVL2_B_NAME),
    TS_ENTRY(5, r80::VLTR_ALMS.SD_VL1_AI4_LVL2_B_NAME),
    TS_ENTRY(6, r80::VLTR_ALMS.SD_VL1_AI5_LVL2_B_NAME),
    TS_ENTRY(7, r80::VLTR_ALMS.SD_VL1_AI6_LVL2_B_NAME),
    TS_ENTRY(8, r80::VLTR_ALMS.SD_VL1_AI7_LVL2_B_NAME),
    TS_ENTRY(9, r80::VLTR_ALMS.SD_VL1_AI8_LVL2_B_NAME),
    TS_ENTRY(10, r80::VLTR_ALMS.SD_VL2_AI1_LVL2_B_NAME),
    TS_ENTRY(11, r80::VLTR_ALMS.SD_VL2_AI2_LVL2_B_NAME),
    TS_ENTRY(12, r80::VLTR_ALMS.SD_VL2_AI3_LVL2_B_NAME),
    TS_ENTRY(13, r80::VLTR_ALMS.SD_VL2_AI4_LVL2_B_NAME),
    TS_ENTRY(14, r80::VLTR_ALMS.SD_VL2_AI5_LVL2_B_NAME),
    TS_ENTRY(15, r80::VLTR_ALMS.SD_VL2_AI6_LVL2_B_NAME),
    TS_ENTRY(16, r80::VLTR_ALMS.SD_VL2_AI7_LVL2_B_NAME),
    TS_ENTRY(17, r80::VLTR_ALMS.SD_VL2_AI8_LVL2_B_NAME),
    TS_ENTRY(18, r80::VLTR_ALMS.SD_VL3_RTD1_LVL2_B_NAME),
    TS_ENTRY(19, r80::VLTR_ALMS.SD_VL3_RTD2_LVL2_B_NAME),
    TS_ENTRY(20, r80::VLTR_ALMS.SD_VL3_RTD3_LVL2_B_NAME),
    TS_ENTRY(21, r80::VLTR_ALMS.SD_VL3_RTD4_LVL2_B_NAME),
    TS_ENTRY(22, r80::VLTR_ALMS.SD_VL3_RTD5_LVL2_B_NAME),
    TS_ENTRY(23, r80::VLTR_ALMS.SD_VL3_RTD6_LVL2_B_NAME),
    TS_ENTRY(24, r80::VLTR_ALMS.SD_VL3_RTD7_LVL2_B_NAME),
    TS_ENTRY(25, r80::VLTR_ALMS.SD_VL3_RTD8_LVL2_B_NAME),
    TS_ENTRY(26, r80::_ub25.AND_AND),
    TS_ENTRY(27, r80::_ub26.AND_AND),
    TS_ENTRY(28, r80::_ub27.AND_AND),
    TS_ENTRY(29, r80::_ub28.AND_AND),
    TS_ENTRY(30, r80::_ub29.AND_AND),
    TS_ENTRY(31, r80::_ub30.AND_AND),
    TS_ENTRY(32, r80::_ub31.AND_AND),
    TS_ENTRY(33, r80::_ub32.AND_AND),
    TS_ENTRY(34, unused_input()),
    TS_ENTRY(35, unused_input()),
    TS_EVENT(1, reset_time),
    TS_EVENT(2, clear_time),
    TS_EVENT(3, ack_time),
};
#undef SU_ENTRY
#undef TS_ENTRY
#undef SU_EVENT
#undef TS_EVENT
}  // namespace

uint16_t* const VLTR_ALMS_SUMMARY_nIndex = &VLTR_ALMS_list_st.summary_order[2];
uint16_t* const VLTR_ALMS_TRIP_SUM_nIndex = &VLTR_ALMS_list_st.trip_order[2];

extern const LatchAeList VLTR_ALMS_SUMMARY_list, VLTR_ALMS_TRIP_SUM_list;
const LatchAeList VLTR_ALMS_SUMMARY_list{3,
                                         kSummary,
                                         kSummaryEntries,
                                         true,
                                         true,
                                         true,
                                         &VLTR_ALMS_list_st.summary,
                                         VLTR_ALMS_SUMMARY_nIndex,
                                         &VLTR_ALMS_SUMMARYNewRedFlag,
                                         &bEventStatusChanged3};
const LatchAeList VLTR_ALMS_TRIP_SUM_list{4,
                                          kTrips,
                                          kTripEntries,
                                          true,
                                          true,
                                          true,
                                          &VLTR_ALMS_list_st.trip,
                                          VLTR_ALMS_TRIP_SUM_nIndex,
                                          &VLTR_ALMS_TRIP_SUMNewRedFlag,
                                          &bEventStatusChanged4};

namespace r80 {

void VLTR_ALMS_summary() {
    auto& c = VLTR_ALMS;
    // The CAN2 network alarms.
    c.CAN2_LINK_LOST_B_NAME = CNFG_CAN2.CAN2_FLT_AND;
    bk::DELAY(VLTR_ALMS_list_st.ERR_DELAY, c.ERR_DELAY_DELAY, &c.ERR_DELAY_R_TIME.ref(), CNFG_CAN2.COPEN_ERRS_OR,
              c.ERR_DELAY_DLY_TIME, 0.0f, bk::T80);
    c.COPEN_FAULT_B_NAME = c.ERR_DELAY_DELAY;
    CNFG_CAN2.RXTXERRS_I_NAME = 0;
    // The real-time error check compares two equal constants: the fault is
    // never raised.
    c.RT_ERRS_EQ = 1;
    c.RT_ERRS_LT = 0;
    c.RT_ERRS_GT = 0;
    c.CAN_RT_FAULT_B_NAME = 0;

    LATCH_AE(VLTR_ALMS_SUMMARY_list,
             LatchAeIo{CNFG_CAN2.VL_RST_OR, ALARMS.ACK_HOLD_OR, c.SUMMARY_FA_RST, c.OVRD_ALMS_OR, c.SUMMARY_LATCH_AE,
                       c.SUMMARY_LOGICAL_OR, c.SUMMARY_HORN, c.SUMMARY_FIRST_ALM},
             ORVEX12_IO.RTC_TOD);
    VLTR_OUTS.VLTR_ALM_SUM_B_NAME = c.SUMMARY_LATCH_AE;
    ALM_LOGIC.VL_SUMMARY_B_NAME = c.SUMMARY_LATCH_AE;
    VLTR_OUTS.VLTR_ALM_FO_I_NAME = c.SUMMARY_FIRST_ALM;
}

void VLTR_ALMS_trip_list() {
    auto& c = VLTR_ALMS;
    // The nodes' trip requests: the analog node's level-2 trips, none of
    // node 2 (there is none), the RTD node's level-2 trips, each with its
    // channel's trip on signal failure (the list has no records of their
    // own for these).
    c.SD_VL1_AI1_LVL2_B_NAME = _ub25.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI2_LVL2_B_NAME = _ub26.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI3_LVL2_B_NAME = _ub27.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI4_LVL2_B_NAME = _ub28.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI5_LVL2_B_NAME = _ub29.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI6_LVL2_B_NAME = _ub30.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI7_LVL2_B_NAME = _ub31.TRIP_LVL2_B_NAME;
    c.SD_VL1_AI8_LVL2_B_NAME = _ub32.TRIP_LVL2_B_NAME;
    c.SD_VL2_AI1_LVL2_B_NAME = 0;
    c.SD_VL2_AI2_LVL2_B_NAME = 0;
    c.SD_VL2_AI3_LVL2_B_NAME = 0;
    c.SD_VL2_AI4_LVL2_B_NAME = 0;
    c.SD_VL2_AI5_LVL2_B_NAME = 0;
    c.SD_VL2_AI6_LVL2_B_NAME = 0;
    c.SD_VL2_AI7_LVL2_B_NAME = 0;
    c.SD_VL2_AI8_LVL2_B_NAME = 0;
    c.SD_VL3_RTD1_LVL2_B_NAME = bk::OR({_ub51.TRIP_LVL2_B_NAME, _ub51.AND_AND});
    c.SD_VL3_RTD2_LVL2_B_NAME = bk::OR({_ub52.TRIP_LVL2_B_NAME, _ub52.AND_AND});
    c.SD_VL3_RTD3_LVL2_B_NAME = bk::OR({_ub53.TRIP_LVL2_B_NAME, _ub53.AND_AND});
    c.SD_VL3_RTD4_LVL2_B_NAME = bk::OR({_ub54.TRIP_LVL2_B_NAME, _ub54.AND_AND});
    c.SD_VL3_RTD5_LVL2_B_NAME = bk::OR({_ub55.TRIP_LVL2_B_NAME, _ub55.AND_AND});
    c.SD_VL3_RTD6_LVL2_B_NAME = bk::OR({_ub56.TRIP_LVL2_B_NAME, _ub56.AND_AND});
    c.SD_VL3_RTD7_LVL2_B_NAME = bk::OR({_ub57.TRIP_LVL2_B_NAME, _ub57.AND_AND});
    c.SD_VL3_RTD8_LVL2_B_NAME = bk::OR({_ub58.TRIP_LVL2_B_NAME, _ub58.AND_AND});

    c.OVRD_SDS_OR = bk::OR({c.OVRD_SDS_IN_1, c.NOT_USED_NOT});
    LATCH_AE(VLTR_ALMS_TRIP_SUM_list,
             LatchAeIo{CNFG_CAN2.VL_RST_OR, ALARMS.ACK_HOLD_OR, c.TRIP_SUM_FA_RST, c.OVRD_SDS_OR, c.TRIP_SUM_LATCH_AE,
                       c.TRIP_SUM_LOGICAL_OR, c.TRIP_SUM_HORN, c.TRIP_SUM_FIRST_ALM},
             ORVEX12_IO.RTC_TOD);
    VLTR_OUTS.VLTR_TRIP_SUM_B_NAME = c.TRIP_SUM_LATCH_AE;
    VLTR_OUTS.VLTR_TRIP_FO_I_NAME = c.TRIP_SUM_FIRST_ALM;
    SD_LOGIC.VL_SUMMARY_B_NAME = VLTR_OUTS.VLTR_TRIP_SUM_B_NAME;
}

}  // namespace r80

void VLTR_ALMS_init_blks() {
    VLTR_ALMS_SUMMARYNewRedFlag = 0;
    VLTR_ALMS_TRIP_SUMNewRedFlag = 0;
    bEventStatusChanged3 = 0;
    bEventStatusChanged4 = 0;
    g_unused_cell[0] = 0;
}
