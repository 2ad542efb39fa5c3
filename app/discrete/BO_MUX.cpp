// BO_MUX at 10 ms: the speed-control and valve-limiter states with their
// on/off delay, the trip-relay state and the relay state list.
#include "app/discrete/BO_MUX.cells.h"

#include "app/discrete/ALARMS.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/SPDC.cells.h"

#include "app/control/SPD_CTRL.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct BO_MUX_blocks {
    bk::DelayState DLY_LSS1;
};
BlockRam<BO_MUX_blocks> BO_MUX_st;
}  // namespace

namespace r10 {

void BO_MUX_limiter() {
    BO_MUX.NOT_VLVLMTR_NOT = bk::NOT(IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME);
    BO_MUX.SPD_NOTLMTR_AND = bk::AND({IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME, BO_MUX.NOT_VLVLMTR_NOT});
}

void BO_MUX_speed_states() {
    bk::DELAY(BO_MUX_st.DLY_LSS1, BO_MUX.DLY_LSS1_DELAY, &BO_MUX.DLY_LSS1_R_TIME.ref(), BO_MUX.SPD_NOTLMTR_AND,
              BO_MUX.DLY_LSS1_DLY_TIME, BO_MUX.DLY_LSS1_NEG_DTIME, bk::T10);
    BO_MUX.SPD_CTRL_B_NAME = BO_MUX.DLY_LSS1_DELAY;
    BO_MUX.SPD_CASC_AND =
        bk::AND({IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, BO_MUX.DLY_LSS1_DELAY, SPDC.SPEED_REF_P_LIM_13});
    BO_MUX.CASC_CTRL_B_NAME = BO_MUX.SPD_CASC_AND;
    BO_MUX.ON_LINE_B_NAME = SPD_CTRL.ONLINE_DYN_B_NAME;
    BO_MUX.OSPD_TRIP_B_NAME = SHUTDOWNS.SD_03_B_ALARM;
    BO_MUX.TRIPPED_B_NAME = SHUTDOWNS.ANY_LATCH_AE;
    BO_MUX.VLVLMT_CTL_B_NAME = IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME;
}

void BO_MUX_trip_relay() { BO_MUX.TRIP_RLY_B_NAME = SHUTDOWNS.RELY_NOT_NOT; }

void BO_MUX_states() {
    BO_MUX.SEL_STATES_LIST_1 = 0u;
    BO_MUX.SEL_STATES_LIST_2 = BO_MUX.TRIPPED_B_NAME;
    BO_MUX.SEL_STATES_LIST_3 = BO_MUX.ALARM_B_NAME;
    BO_MUX.SEL_STATES_LIST_4 = BO_MUX.RST_PLS_B_NAME;
    BO_MUX.SEL_STATES_LIST_5 = BO_MUX.SPD_CTRL_B_NAME;
    BO_MUX.SEL_STATES_LIST_6 = BO_MUX.RMT_ENBLD_B_NAME;
    BO_MUX.SEL_STATES_LIST_7 = BO_MUX.RMT_CTRL_B_NAME;
    BO_MUX.SEL_STATES_LIST_8 = BO_MUX.OSPD_TRIP_B_NAME;
    BO_MUX.SEL_STATES_LIST_9 = BO_MUX.OSPD_TEST_B_NAME;
    BO_MUX.SEL_STATES_LIST_10 = SPDC.UNDER_SPD_B_SW;
    BO_MUX.SEL_STATES_LIST_11 = BO_MUX.VLVLMT_CTL_B_NAME;
    BO_MUX.SEL_STATES_LIST_12 = BO_MUX.ON_LINE_B_NAME;
    BO_MUX.SEL_STATES_LIST_13 = SHUTDOWNS.RELY_NOT_NOT;
    BO_MUX.SEL_STATES_LIST_14 = BO_MUX.CASC_ENBLD_B_NAME;
    BO_MUX.SEL_STATES_LIST_15 = BO_MUX.CASC_ACTIV_B_NAME;
    BO_MUX.SEL_STATES_LIST_16 = BO_MUX.CASC_CTRL_B_NAME;
    BO_MUX.SEL_STATES_LIST_17 = BO_MUX.RMTCASC_EN_B_NAME;
    BO_MUX.SEL_STATES_LIST_18 = BO_MUX.RMTCAS_ACT_B_NAME;
    BO_MUX.SEL_STATES_LIST_19 = BO_MUX.START_IND_B_SW;
    BO_MUX.SEL_STATES_LIST_20 = IFACE_OUT_START.SD_CLEAR_B_NAME;
    BO_MUX.SEL_STATES_LIST_21 = IFACE_OUT_SPEED.NSD_IN_PROGRESS_B_NAME;
    BO_MUX.SEL_STATES_LIST_22 = 0u;
    BO_MUX.SEL_STATES_LIST_23 = 0u;
    BO_MUX.SEL_STATES_LIST_24 = 0u;
    BO_MUX.SEL_STATES_LIST_25 = 0u;
}

}  // namespace r10

// The relay indications of the 80 ms group.
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/START.cells.h"

namespace {
struct BO_MUX_r80_blocks {
    bk::OneShotState RST_PLS2, STARTED_OS;
};
BlockRam<BO_MUX_r80_blocks> BO_MUX_r80_st;
constexpr float kRelayPulse = 2.0f;  // s a pulse indication lasts
}  // namespace

namespace r80 {

void BO_MUX_indications() {
    auto& m = BO_MUX;
    auto& s = BO_MUX_r80_st;
    m.RMT_ENBLD_B_NAME = RMT_ENBL.ENABLED_LATCH_R;
    IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME = m.RMT_ENBLD_B_NAME;
    // A reset command of one pass still shows for the whole pulse.
    bk::ONE_SHOT(s.RST_PLS2, m.RST_PLS2_ONE_SHOT, &m.RST_PLS2_R_TIME.ref(), RESET.RST_OR_OR, kRelayPulse, bk::T80);
    m.RST_PLS_B_NAME = m.RST_PLS2_ONE_SHOT;
    m.SEL_LSW_LIST_1 = m.SEL_LSW_IN_1;
    m.SEL_LSW_LIST_2 = AO_MUX.SPEED_A_NAME;
    m.SEL_LSW_LIST_3 = AO_MUX.SPD_SETPT_A_NAME;
    m.SEL_LSW_LIST_4 = AO_MUX.CASC_IN_NAME_A_NAME;
    m.SEL_LSW_LIST_5 = AO_MUX.CASC_SETPT_A_NAME;
    m.SEL_LSW_LIST_6 = AO_MUX.HP_DMD_A_SW;
    m.SEL_LSW_LIST_7 = AI_MUX.SIG_MON_1_A_NAME;
    m.SEL_LSW_LIST_8 = AI_MUX.SIG_MON_2_A_NAME;
    m.SEL_LSW_LIST_9 = AI_MUX.SIG_MON_3_A_NAME;
    m.SEL_LSW_LIST_10 = m.SEL_LSW_IN_10;
    m.SEL_LSW_LIST_11 = m.SEL_LSW_IN_11;
    m.SEL_LSW_LIST_12 = m.SEL_LSW_IN_12;
    m.SEL_LSW_LIST_13 = m.SEL_LSW_IN_13;
    m.SEL_LSW_LIST_14 = m.SEL_LSW_IN_14;
    m.SEL_LSW_LIST_15 = m.SEL_LSW_IN_15;
    // The start indication: a 2 s pulse on starting, or the started state.
    IFACE_OUT_START.STARTED_B_NAME = START.RUN_CMD_LATCH_R;
    bk::ONE_SHOT(s.STARTED_OS, m.STARTED_OS_ONE_SHOT, &m.STARTED_OS_R_TIME.ref(), IFACE_OUT_START.STARTED_B_NAME,
                 kRelayPulse, bk::T80);
    m.START_IND_B_SW = bk::SW<uint32_t>(m.START_IND_CTRL, IFACE_OUT_START.STARTED_B_NAME, m.STARTED_OS_ONE_SHOT);
}

}  // namespace r80

namespace r40 {

void BO_MUX_alarm_slots() {
    BO_MUX.ALARM_B_NAME = ALARMS.BLINK_B_SW;
    BO_MUX.REV_ALM_NOT = bk::NOT(ALARMS.BLINK_B_SW);
    BO_MUX.ALARM_R_B_NAME = BO_MUX.REV_ALM_NOT;
}

}  // namespace r40
