// MESSAGE: the cascade and remote setpoint states, each debounced, and the
// status texts the operator interface shows for them.
#include "app/interface/MESSAGE.cells.h"

#include "app/control/CASC_ENBL.cells.h"

#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/standin/speedref_standin.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

struct MESSAGE_blocks {
    bk::DelayState B02_STEP_DELAY, CASC_CTL_DELAY, CASC_RMT_DELAY, CAS_INHIBITED_DELAY, ENABLEDMES_DELAY,
        REM_CAS_SEL_DELAY, REM_CAS_SEL_DLY, RMT_CAS_EN_DELAY, INHIBITED_DLY;
};
BlockRam<MESSAGE_blocks> MESSAGE_st;

// An on/off delay with its own tunable times.
#define MESSAGE_DELAY(BLOCK, IN)                                                                                 \
    bk::DELAY(s.BLOCK, M.BLOCK##_DELAY, &M.BLOCK##_R_TIME.ref(), IN, M.BLOCK##_DLY_TIME, M.BLOCK##_NEG_DTIME,    \
              bk::T160)

}  // namespace

namespace r160 {

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
    bk::DELAY(s.INHIBITED_DLY, M.INHIBITED_DLY_DELAY, nullptr, IFACE_OUT_CASC.INHIBITED_B_NAME, 0.0f, 0.0f, bk::T160);

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

}  // namespace r160
