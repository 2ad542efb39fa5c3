// SHUTDOWNS at 10 ms, the discrete channel logic's part: the "External Trip
// 1" latch with its power-up override, and the trip relay.
#include "app/discrete/SHUTDOWNS.cells.h"

#include "app/control/RESET.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/standin/discrete_standin.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

struct SHUTDOWNS_blocks {
    bk::OneShotState PWR_UP_OVRD;
    float SD_01_timer;  // the alarm block's timer, held at 0 in this use
    bk::OneShotState SD_PLS;
};
BlockRam<SHUTDOWNS_blocks> SHUTDOWNS_st;

// Length of the shutdown pulse that sets the relay latch.
constexpr float kShutdownPulse = 0.5f;
// List positions of the external trips: 1 ("External Trip 1") and 9 .. 12.
constexpr int32_t kExtTrip1 = 1, kExtTrip2 = 9, kExtTrip5 = 12;

}  // namespace

namespace r10 {

void SHUTDOWNS_external_trip_1() {
    SHUTDOWNS.SIM_SW_B_SW = bk::SW<uint32_t>(SPEED_SIM.ENA__SIM_B_NAME, BI_MUX.EXT_TRIP_1_B_NAME,
                                            CNFG_BI.BI_03_ZARN_BI_ZARN);
    bk::ONE_SHOT(SHUTDOWNS_st.PWR_UP_OVRD, SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT, &SHUTDOWNS.PWR_UP_OVRD_R_TIME.ref(), 1,
                 SHUTDOWNS.PWR_UP_OVRD_DLY_TIME, bk::T10);
    if (SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT == 0 && SHUTDOWNS.SIM_SW_B_SW != 0) {
        if (SHUTDOWNS.SD_01_B_ALARM == 0) {
            SHUTDOWNS.SD_01_B_ALARM = 1;
            SHUTDOWNS.SD_01_LIGHT = 1;
            SHUTDOWNS.SD_01_HORN = 1;
        }
    } else {
        SHUTDOWNS_st.SD_01_timer = 0.0f;
        if (RESET.RESET_B_NAME != 0) {
            SHUTDOWNS.SD_01_B_ALARM = 0;
            SHUTDOWNS.SD_01_LIGHT = 0;
            SHUTDOWNS.SD_01_HORN = 0;
        }
    }
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

}  // namespace r10
