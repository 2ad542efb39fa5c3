// MESSAGE: the cascade and remote setpoint states, each debounced, and the
// status texts the operator interface shows for them. MESSAGE_START and
// PWR_UP_MSG: the speed-status and start-sequence texts and the power-up
// delays, in the order the 160 ms slice computes them. Every text selection
// writes its text and its selection number.
#include "app/interface/MESSAGE.cells.h"

#include "app/config/CNFG_CHECK.cells.h"
#include "app/control/AUTO_SEQ.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/IDLE_RATE.cells.h"
#include "app/control/IDLE_RTD.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/START.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/control/CONF_LATCH.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

struct MESSAGE_blocks {
    bk::DelayState B02_STEP_DELAY, CASC_CTL_DELAY, CASC_RMT_DELAY, CAS_INHIBITED_DELAY, ENABLEDMES_DELAY,
        REM_CAS_SEL_DELAY, REM_CAS_SEL_DLY, RMT_CAS_EN_DELAY, INHIBITED_DLY;
    bk::DelayState spdActive, spdDisabled, complt, nErr;
    bk::DelayState SP_EQ_RMT, SPD_IN_CTRL_DLY;
};
BlockRam<MESSAGE_blocks> MESSAGE_st;

// An on/off delay with its own tunable times.
#define MESSAGE_DELAY(BLOCK, IN)                                                                                 \
    bk::DELAY(s.BLOCK, M.BLOCK##_DELAY, &M.BLOCK##_R_TIME.ref(), IN, M.BLOCK##_DLY_TIME, M.BLOCK##_NEG_DTIME,    \
              bk::T160)

}  // namespace

namespace r40 {

void MESSAGE_remote_equal() {
    auto& M = MESSAGE;
    bk::DELAY(MESSAGE_st.SP_EQ_RMT, M.SP_EQ_RMT_DELAY, &M.SP_EQ_RMT_R_TIME.ref(), SPDC.SPEED_REF_P_LIM_12,
              M.SP_EQ_RMT_DLY_TIME, M.SP_EQ_RMT_NEG_DTIME, bk::T40);
}

}  // namespace r40

namespace r160 {

void MESSAGE_speed_in_control() {
    auto& M = MESSAGE;
    auto& s = MESSAGE_st;
    MESSAGE_DELAY(SPD_IN_CTRL_DLY, IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME);
    M.SPD_PID_IN_CTRL_B_NAME = M.SPD_IN_CTRL_DLY_DELAY;
}

void MESSAGE_texts() {
    MESSAGE_blocks& s = MESSAGE_st;
    auto& M = MESSAGE;
    const uint32_t valve_in_control = IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME;
    const uint32_t cascade_step = SPDC.B02_STEP_SFC_STEP;
    const uint32_t remote_cascade = IFACE_OUT_CASC.REM_CAS_SEL_B_NAME;

    MESSAGE_DELAY(B02_STEP_DELAY, cascade_step);
    M.CASC_CTL_AND = bk::AND({cascade_step, valve_in_control});
    MESSAGE_DELAY(CASC_CTL_DELAY, M.CASC_CTL_AND);
    M.CASC_RMT_AND = bk::AND({remote_cascade, valve_in_control});
    MESSAGE_DELAY(CASC_RMT_DELAY, M.CASC_RMT_AND);
    MESSAGE_DELAY(CAS_INHIBITED_DELAY, CASC_ENBL.INHIBITED_LATCH1);
    MESSAGE_DELAY(ENABLEDMES_DELAY, CASC_ENBL.ENABLEDMES_B_ACTION);
    MESSAGE_DELAY(REM_CAS_SEL_DELAY, remote_cascade);
    MESSAGE_DELAY(REM_CAS_SEL_DLY, remote_cascade);
    MESSAGE_DELAY(RMT_CAS_EN_DELAY, IFACE_OUT_CASC.RMT_CAS_EN_B_NAME);
    bk::DELAY(s.INHIBITED_DLY, M.INHIBITED_DLY_DELAY, &M.INHIBITED_DLY_R_TIME.ref(), IFACE_OUT_CASC.INHIBITED_B_NAME,
              0.0f, 0.0f, bk::T160);

    M.F_CASC_MSG_SEL = bk::MSG_SEL(M.F_CASC_B_TO_STR,
                                   {
                                       {M.CASC_RMT_DELAY_DELAY, 1, "Cascade Control with Remote Setpoint"},
                                       {M.REM_CAS_SEL_DELAY_DELAY, 2, "Cascade Active With Remote Setpoint"},
                                       {M.CASC_CTL_DELAY_DELAY, 3, "Cascade is In Control"},
                                       {M.B02_STEP_DELAY_DELAY, 4, "Cascade Active/ No Speed Control"},
                                       {M.ENABLEDMES_DELAY_DELAY, 5, "Cascade is Enabled"},
                                       {M.CAS_INHIBITED_DELAY_DELAY, 6, "Cascade is Inhibited"},
                                   },
                                   "Cascade is Disabled");

    const uint32_t remote_active = IFACE_OUT_SPEED.RMT_SPD_ACTIVE_B_NAME;
    const uint32_t remote_enabled = IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME;
    M.RMT_IN_CTL_AND = bk::AND({remote_active, valve_in_control, M.SP_EQ_RMT_DELAY});
    M.F_RMT_MSG_SEL = bk::MSG_SEL(M.F_RMT_B_TO_STR,
                                  {
                                      {M.RMT_IN_CTL_AND, 1, "In Control"},
                                      {remote_active, 2, "Active"},
                                      {remote_enabled, 3, "Enabled"},
                                      {RMT_ENBL.INHIBITED_OR, 4, "Inhibited"},
                                  },
                                  "Disabled");
    M.F_RMT_CASC_MSG_SEL = bk::MSG_SEL(M.F_RMT_CASC_B_TO_STR,
                                       {
                                           {M.CASC_RMT_DELAY_DELAY, 1, "In Control"},
                                           {M.REM_CAS_SEL_DLY_DELAY, 2, "Active"},
                                           {M.RMT_CAS_EN_DELAY_DELAY, 3, "Enabled"},
                                           {M.INHIBITED_DLY_DELAY, 4, "Inhibited"},
                                       },
                                       "Disabled");
    M.F_RMT_MSG_MSG_SEL = bk::MSG_SEL(M.F_RMT_MSG_B_TO_STR,
                                      {
                                          {remote_enabled, 1, "\"No to Disable     \""},
                                          {RMT_ENBL.OR_DISABLE_OR, 2, "\"Yes/No Inactive   \""},
                                      },
                                      "\"Yes to Enable     \"");

    M.SPD_NOT_DISABLED_NOT = bk::NOT(IFACE_OUT_SPEED.SPD_CTRL_DISABLED_B_NAME);
    M.SPD_NOT_IN_CTRL_NOT = bk::NOT(valve_in_control);
    M.SPD_ACTIVE_AND = bk::AND({M.SPD_NOT_DISABLED_NOT, M.SPD_NOT_IN_CTRL_NOT});
}

void MESSAGE_start_texts() {
    auto& m = MESSAGE;
    auto& st = MESSAGE_st;
    // 1-2: speed status.
    bk::DELAY(st.spdActive, m.SPD_ACTIVE_DLY_DELAY, &static_cast<int32_t&>(m.SPD_ACTIVE_DLY_R_TIME),
              m.SPD_ACTIVE_AND, 0.5f, 0.5f, bk::T160);
    bk::DELAY(st.spdDisabled, m.SPD_DISABLED_DLY_DELAY, &static_cast<int32_t&>(m.SPD_DISABLED_DLY_R_TIME),
              IFACE_OUT_SPEED.SPD_CTRL_DISABLED_B_NAME, 0.5f, 0.5f, bk::T160);
    m.SPEED_MSG_MSG_SEL = bk::MSG_SEL(m.SPEED_MSG_B_TO_STR,
                                      {{m.SPD_IN_CTRL_DLY_DELAY, 1, "In Control"},
                                       {m.SPD_DISABLED_DLY_DELAY, 2, "Disabled"},
                                       {m.SPD_ACTIVE_DLY_DELAY, 3, "Active"}},
                                      "Active");

    auto& s = MESSAGE_START;
    const uint32_t completed = SPDC.A08_STEP_SFC_STEP;
    // 3: automatic sequence.
    if (completed != 0) {
        s.AS_SEQ_CMP_LATCH = 1;
        s.AUTO_MSG_MSG_SEL = 1;
        s.AUTO_MSG_B_TO_STR = "Auto Start Seq Cmpltd";
    } else {
        if (IFACE_IN_START.ANY_SD_B_NAME != 0) s.AS_SEQ_CMP_LATCH = 0;
        s.AUTO_MSG_MSG_SEL = bk::MSG_SEL(s.AUTO_MSG_B_TO_STR,
                                         {{s.AS_SEQ_CMP_LATCH, 1, "Auto Start Seq Cmpltd"},
                                          {AUTO_SEQ.CONTINUE_LATCH_R, 2, "\"Press No to Halt     \""}},
                                         "\"Press Yes to Continue\"");
    }
    // 4: start sequence.
    s.AUTO_STRT_MSG_SEL = bk::MSG_SEL(s.AUTO_STRT_B_TO_STR,
                                      {{IFACE_OUT_START.IN_CRIT_B_NAME, 1, "\"In Crit Band\""},
                                       {completed, 3, "Startup Completed"},
                                       {SPDC.A02ASTEP_SFC_STEP, 4, "\"Halted\""},
                                       {SPDC.A12_STEP_SFC_STEP, 5, "\"Waiting for Idle Permissives\""},
                                       {s.TOIDLE_OR, 6, "\"Mvg Low Idle\""},
                                       {SPDC.A02_STEP_SFC_STEP, 7, "\"At Low Idle\""},
                                       {SPDC.A07_STEP_SFC_STEP, 12, "\"Mvg to Rated\""}},
                                      "Not Active");
    // 5: controlled stop.
    s.CNTRL_STOP_MSG_SEL =
        bk::MSG_SEL(s.CNTRL_STOP_B_TO_STR, {{CNTRL_STOP.NSD_ENABLED_LATCH_R, 1, "In Control"}}, "Stopped");
    // 6: idle/rated prompt.
    s.GOTO_IDLE_AND = bk::AND({IDLE_RATE.RATED_LATCH_R, IDLE_RTD.USE_IDLE_B_NAME});
    s.F_IDLE_RTD_MSG_SEL = bk::MSG_SEL(s.F_IDLE_RTD_B_TO_STR,
                                       {{s.GOTO_IDLE_AND, 1, "\"No to Go to Idle  \""},
                                        {IDLE_RATE.RATE_LACT_NOT, 2, "Yes to Go to Rated"}},
                                       "\"Yes=Rated No=Idle \"");
    // 7-8: conditions of the idle/rated text.
    s.OR_STRT_OR = bk::OR({SPDC.A01_STEP_SFC_STEP, SPDC.A02_STEP_SFC_STEP, SPDC.A00_STEP_SFC_STEP,
                           SPDC.A00ASTEP_SFC_STEP});
    s.IAND_RTE_AND = bk::AND({s.OR_STRT_OR, IDLE_RATE.RATED_LATCH_R});
    s.OR_NOPERM_OR = bk::NOT(SPDC.B00_STEP_SFC_STEP);
    s.IDLE_IH_AND = bk::AND({s.OR_NOPERM_OR, s.SH_OFFCMD_ONE_SHOT, completed});
    s.RATED_IH_AND = bk::AND({s.OR_NOPERM_OR, completed, s.SH_ONCMD_ONE_SHOT});
    s.START_COMP_B_NAME = completed;
    // 9: idle/rated status.
    s.IDL_RTD_MSG_SEL = bk::MSG_SEL(s.IDL_RTD_B_TO_STR,
                                    {{IFACE_OUT_START.IN_CRIT_B_NAME, 1, "In Crit Band"},
                                     {s.IAND_RTE_AND, 2, "Rated selected"},
                                     {SPDC.A07_STEP_SFC_STEP, 3, "Mvg to Rated"},
                                     {SPDC.A02_STEP_SFC_STEP, 4, "At Idle Spd"},
                                     {SPDC.A01_STEP_SFC_STEP, 5, "Mvg to Idle"},
                                     {s.IDLE_IH_AND, 7, "Idle inhibited"},
                                     {s.RATED_IH_AND, 8, "Rated inhibited"},
                                     {SPDC.A11_STEP_SFC_STEP, 9, "Mvg to Idle"},
                                     {s.START_COMP_B_NAME, 11, "Startup Completed"}},
                                    "Not Active");
    // 10: start inhibits.
    s.START_INH_MSG_MSG_SEL = bk::MSG_SEL(s.START_INH_MSG_B_TO_STR,
                                          {{START.STRT_IH_SEL_1, 1, "Turbine Tripped"},
                                           {START.STRT_IH_SEL_2, 2, "No Start Configured"},
                                           {START.STRT_IH_SEL_3, 3, "BI Permissibe Not Met"},
                                           {START.STRT_IH_SEL_4, 4, "Redundant Communication Error"},
                                           {START.STRT_IH_SEL_5, 5, "Configuration Error"},
                                           {START.STRT_IH_SEL_6, 6, "In Critical Band"}},
                                          "Ok to Start");

    // 11: power-up.
    auto& p = PWR_UP_MSG;
    bk::DELAY(st.complt, p.COMPLT_DLY_DELAY, &static_cast<int32_t&>(p.COMPLT_DLY_R_TIME),
              p.PWR_UP_COMPLETE_DELAY, 1.0f, 0.0f, bk::T160);
    p.CONFIG_ERR_AND = bk::AND({p.COMPLT_DLY_DELAY, CONF_LATCH.ANY_LATCH_AE});
    p.N_CONF_ERR_NOT = bk::NOT(p.CONFIG_ERR_AND);
    p.ENBL_STRT_AND = bk::AND({p.PWR_UP_COMPLETE_DELAY, p.N_CONF_ERR_NOT});
    bk::DELAY(st.nErr, p.N_ERR_DLY_DELAY, &static_cast<int32_t&>(p.N_ERR_DLY_R_TIME), p.ENBL_STRT_AND, 2.5f, 0.0f,
              bk::T160);
}

}  // namespace r160
