// BI_MUX at 10 ms: the contact multiplexer, the named function contacts and
// the event-time switches.
#include "app/discrete/BI_MUX.cells.h"

#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/VL4_BI.cells.h"

namespace r10 {

namespace {
// Functions 15 .. 18 ("External Trip 2" .. "External Trip 5") are healthy
// when nothing is routed to them.
constexpr int kFirstTripSlot = 15, kLastTripSlot = 18;
constexpr int kSlots = 31;
constexpr int kTimeSyncFunction = 26;
}  // namespace

// The routing table: entry k is the output of function k + 1.
const cat::Cell<uint32_t>* const Bmux_BI_MUX_CONT_MUX_372[kSlots] = {
    &BI_MUX.CONT_MUX_OUT_1, &BI_MUX.CONT_MUX_OUT_2, &BI_MUX.CONT_MUX_OUT_3, &BI_MUX.CONT_MUX_OUT_4,
    &BI_MUX.CONT_MUX_OUT_5, &BI_MUX.CONT_MUX_OUT_6, &BI_MUX.CONT_MUX_OUT_7, &BI_MUX.CONT_MUX_OUT_8,
    &BI_MUX.CONT_MUX_OUT_9, &BI_MUX.CONT_MUX_OUT_10, &BI_MUX.CONT_MUX_OUT_11, &BI_MUX.CONT_MUX_OUT_12,
    &BI_MUX.CONT_MUX_OUT_13, &BI_MUX.CONT_MUX_OUT_14, &BI_MUX.CONT_MUX_OUT_15, &BI_MUX.CONT_MUX_OUT_16,
    &BI_MUX.CONT_MUX_OUT_17, &BI_MUX.CONT_MUX_OUT_18, &BI_MUX.CONT_MUX_OUT_19, &BI_MUX.CONT_MUX_OUT_20,
    &BI_MUX.CONT_MUX_OUT_21, &BI_MUX.CONT_MUX_OUT_22, &BI_MUX.CONT_MUX_OUT_23, &BI_MUX.CONT_MUX_OUT_24,
    &BI_MUX.CONT_MUX_OUT_25, &BI_MUX.CONT_MUX_OUT_26, &BI_MUX.CONT_MUX_OUT_27, &BI_MUX.CONT_MUX_OUT_28,
    &BI_MUX.CONT_MUX_OUT_29, &BI_MUX.CONT_MUX_OUT_30, &BI_MUX.CONT_MUX_OUT_31
};

namespace {
void route_one(int32_t f, uint32_t signal) {
    if (f >= 1 && f <= kSlots) *Bmux_BI_MUX_CONT_MUX_372[f - 1] = signal;
}
}  // namespace

void BI_MUX_route() {
    for (int k = 1; k <= kSlots; ++k)
        *Bmux_BI_MUX_CONT_MUX_372[k - 1] = (k >= kFirstTripSlot && k <= kLastTripSlot) ? 1u : 0u;
    // Later writes win: the remote channels after the controller's.
    for (int k = 0; k < kBiControllerChannels; ++k) route_one(BI_CHANNEL_function(k), BI_CHANNEL_signal_out(k));
    struct Remote {
        const cat::Slot<int32_t>& function;
        const cat::Slot<uint32_t>& signal;
    };
    static const Remote kRemote[16] = {
        {VLTR_OUTS.VL_BINS_FUN_LIST_1, VLTR_OUTS.VL_BINS_LIST_1},
        {VLTR_OUTS.VL_BINS_FUN_LIST_2, VLTR_OUTS.VL_BINS_LIST_2},
        {VLTR_OUTS.VL_BINS_FUN_LIST_3, VLTR_OUTS.VL_BINS_LIST_3},
        {VLTR_OUTS.VL_BINS_FUN_LIST_4, VLTR_OUTS.VL_BINS_LIST_4},
        {VLTR_OUTS.VL_BINS_FUN_LIST_5, VLTR_OUTS.VL_BINS_LIST_5},
        {VLTR_OUTS.VL_BINS_FUN_LIST_6, VLTR_OUTS.VL_BINS_LIST_6},
        {VLTR_OUTS.VL_BINS_FUN_LIST_7, VLTR_OUTS.VL_BINS_LIST_7},
        {VLTR_OUTS.VL_BINS_FUN_LIST_8, VLTR_OUTS.VL_BINS_LIST_8},
        {VLTR_OUTS.VL_BINS_FUN_LIST_9, VLTR_OUTS.VL_BINS_LIST_9},
        {VLTR_OUTS.VL_BINS_FUN_LIST_10, VLTR_OUTS.VL_BINS_LIST_10},
        {VLTR_OUTS.VL_BINS_FUN_LIST_11, VLTR_OUTS.VL_BINS_LIST_11},
        {VLTR_OUTS.VL_BINS_FUN_LIST_12, VLTR_OUTS.VL_BINS_LIST_12},
        {VLTR_OUTS.VL_BINS_FUN_LIST_13, VLTR_OUTS.VL_BINS_LIST_13},
        {VLTR_OUTS.VL_BINS_FUN_LIST_14, VLTR_OUTS.VL_BINS_LIST_14},
        {VLTR_OUTS.VL_BINS_FUN_LIST_15, VLTR_OUTS.VL_BINS_LIST_15},
        {VLTR_OUTS.VL_BINS_FUN_LIST_16, VLTR_OUTS.VL_BINS_LIST_16},
    };
    for (const Remote& r : kRemote) route_one(r.function, r.signal);
    BI_MUX.TIME_SYNC_B_NAME = *Bmux_BI_MUX_CONT_MUX_372[kTimeSyncFunction - 1];
}

void BI_MUX_external_trip() { BI_MUX.EXT_TRIP_1_B_NAME = BI_MUX.CONT_MUX_OUT_4; }

void BI_MUX_event_times() {
    struct Switch {
        const cat::Cell<TimeCell>& out;
        const cat::Cell<TimeCell>& low_time;
    };
    static const Switch kSwitches[6] = {
        {BI_MUX.T_SW1_T_SW, CNFG_BI.BI_03_ZARN_LO_TIME}, {BI_MUX.T_SW2_T_SW, CNFG_BI.BI_02_ZARN_LO_TIME},
        {BI_MUX.T_SW3_T_SW, CNFG_BI.BI_01_ZARN_LO_TIME}, {BI_MUX.T_SW4_T_SW, CNFG_BI.BI_04_ZARN_LO_TIME},
        {BI_MUX.T_SW5_T_SW, CNFG_BI.BI_05_ZARN_LO_TIME}, {BI_MUX.T_SW6_T_SW, CNFG_BI.BI_06_ZARN_LO_TIME},
    };
    const bool power_up = SD_LOGIC.PWR_UP_SD_ONE_SHOT == 1;
    for (const Switch& s : kSwitches) s.out = power_up ? ORVEX12_IO.RTC_TOD.ref() : s.low_time.ref();
}

void BI_MUX_trip_times() {
    const bool power_up = SD_LOGIC.PWR_UP_SD_ONE_SHOT == 1;
    const TimeCell now = ORVEX12_IO.RTC_TOD;
    BI_MUX.T_SW7_T_SW = power_up ? now : CNFG_BI.BI_07_ZARN_LO_TIME.ref();
    BI_MUX.T_SW8_T_SW = power_up ? now : CNFG_BI.BI_08_ZARN_LO_TIME.ref();
    // The ten slots by trip number; a slot no source selects stays 0:0, a
    // later source overwrites an earlier one.
    TimeCell* const slot[10] = {
        &BI_MUX.BI_TRIP_TS_OUT_1.ref(), &BI_MUX.BI_TRIP_TS_OUT_2.ref(), &BI_MUX.BI_TRIP_TS_OUT_3.ref(),
        &BI_MUX.BI_TRIP_TS_OUT_4.ref(), &BI_MUX.BI_TRIP_TS_OUT_5.ref(), &BI_MUX.BI_TRIP_TS_OUT_6.ref(),
        &BI_MUX.BI_TRIP_TS_OUT_7.ref(), &BI_MUX.BI_TRIP_TS_OUT_8.ref(), &BI_MUX.BI_TRIP_TS_OUT_9.ref(),
        &BI_MUX.BI_TRIP_TS_OUT_10.ref()};
    for (TimeCell* t : slot) *t = TimeCell{};
    const auto put = [&slot](int32_t trip, const TimeCell& time) {
        if (trip >= 1 && trip <= 10) *slot[trip - 1] = time;
    };
    put(BI_MUX.BI01_TS_SEL_I_NAME, BI_MUX.T_SW1_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_02_I_SUBTRACT, BI_MUX.T_SW2_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_01_I_SUBTRACT, BI_MUX.T_SW3_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_04_I_SUBTRACT, BI_MUX.T_SW4_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_05_I_SUBTRACT, BI_MUX.T_SW5_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_06_I_SUBTRACT, BI_MUX.T_SW6_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_07_I_SUBTRACT, BI_MUX.T_SW7_T_SW.ref());
    put(BI_MUX.FUNC_TO_TRIP_08_I_SUBTRACT, BI_MUX.T_SW8_T_SW.ref());
    const auto& v = VL4_BI;
    const int32_t remote[16] = {
        v.FUNC_TO_TRIP_01_I_SUBTRACT, v.FUNC_TO_TRIP_02_I_SUBTRACT, v.FUNC_TO_TRIP_03_I_SUBTRACT,
        v.FUNC_TO_TRIP_04_I_SUBTRACT, v.FUNC_TO_TRIP_05_I_SUBTRACT, v.FUNC_TO_TRIP_06_I_SUBTRACT,
        v.FUNC_TO_TRIP_07_I_SUBTRACT, v.FUNC_TO_TRIP_08_I_SUBTRACT, v.FUNC_TO_TRIP_09_I_SUBTRACT,
        v.FUNC_TO_TRIP_10_I_SUBTRACT, v.FUNC_TO_TRIP_11_I_SUBTRACT, v.FUNC_TO_TRIP_12_I_SUBTRACT,
        v.FUNC_TO_TRIP_13_I_SUBTRACT, v.FUNC_TO_TRIP_14_I_SUBTRACT, v.FUNC_TO_TRIP_15_I_SUBTRACT,
        v.FUNC_TO_TRIP_16_I_SUBTRACT};
    for (int32_t trip : remote) put(trip, now);
}

void BI_MUX_dynamics_contact() { BI_MUX.ONLINE_DYN_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_9; }

void BI_MUX_contacts() {
    BI_MUX.BI_FUNC_28_B_NAME = BI_MUX.CONT_MUX_OUT_31;
    BI_MUX.BI_FUNC_29_B_NAME = BI_MUX.CONT_MUX_OUT_29;
    BI_MUX.BI_FUNC_30_B_NAME = BI_MUX.CONT_MUX_OUT_30;
    BI_MUX.CASC_ENBL_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_13;
    BI_MUX.CASC_LWR_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_12;
    BI_MUX.CASC_RAISE_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_11;
    BI_MUX.CONTL_SD_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_28;
    BI_MUX.EXT_ALM_1_B_NAME = BI_MUX.CONT_MUX_OUT_19;
    BI_MUX.EXT_ALM_2_B_NAME = BI_MUX.CONT_MUX_OUT_20;
    BI_MUX.EXT_ALM_3_B_NAME = BI_MUX.CONT_MUX_OUT_21;
    BI_MUX.EXT_RUN_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_5;
    BI_MUX.IDLE_RATED_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_7;
    BI_MUX.OVSPD_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_10;
    BI_MUX.RESET_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_6;
    BI_MUX.RMT_CASC_ENBL_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_14;
    BI_MUX.RMT_SPD_ENBL_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_8;
    BI_MUX.SPD_CASC_LWR_B_NAME = BI_MUX.CONT_MUX_OUT_25;
    BI_MUX.SPD_CASC_RAZ_B_NAME = BI_MUX.CONT_MUX_OUT_24;
    BI_MUX.SPD_LWR_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_2;
    BI_MUX.SPD_RAISE_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_3;
    BI_MUX.START_PERM_B_NAME = BI_MUX.CONT_MUX_OUT_27;
    BI_MUX.VLV_LMT_CLS_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_23;
    BI_MUX.VLV_LMT_OPN_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_22;
}

}  // namespace r10
