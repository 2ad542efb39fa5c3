// The service commands, command blocks and three-target force setpoint
// shared by the output channel templates (analog output and actuator). A
// channel's view `c` names the cells alike in both templates; what differs
// is passed in: whether forcing is enabled, the lower and raise targets,
// and the go-to one-shot's output and value.
#pragma once

#include "runtime/blockkinds.h"

struct ForceCommandState {
    bk::SvcCmdState<5> commands;
    bk::OneShotState rst_frc, no_mom_lwr_rst, no_mom_rst;
    bk::ActionState frc_lwr, frc_rse, goto_cmd;
    bk::RampState force_setpt;
};

inline constexpr float kServiceCommandTimeout = 60.0f;
// The ramp's rate while no command asks for the force rate: instantaneous.
inline constexpr float kFreeForceRate = 1000000.0f;

// The five momentary service commands, each passed on for at most 60 s.
template <class C>
void service_commands(const C& c, ForceCommandState& s) {
    bk::SVC_CMD(s.commands, 1, c.COMMANDS_IN_1, c.COMMANDS_OUT_1, kServiceCommandTimeout, bk::T160);
    bk::SVC_CMD(s.commands, 2, c.COMMANDS_IN_2, c.COMMANDS_OUT_2, kServiceCommandTimeout, bk::T160);
    bk::SVC_CMD(s.commands, 3, c.COMMANDS_IN_3, c.COMMANDS_OUT_3, kServiceCommandTimeout, bk::T160);
    bk::SVC_CMD(s.commands, 4, c.COMMANDS_IN_4, c.COMMANDS_OUT_4, kServiceCommandTimeout, bk::T160);
    bk::SVC_CMD(s.commands, 5, c.COMMANDS_IN_5, c.COMMANDS_OUT_5, kServiceCommandTimeout, bk::T160);
}

// Block initialisation: every command over (its time at the time-out), the
// force setpoint at its start value.
inline void service_commands_init(ForceCommandState& s, float force_start) {
    bk::SVC_CMD_INIT(s.commands, kServiceCommandTimeout);
    s.force_setpt.last = force_start;
}

// The service interface wrote command input n (1 .. 5): a true value
// restarts its 60 s, a false one ends it on the next pass.
inline void service_command_written(ForceCommandState& s, int n, uint32_t value) {
    bk::SVC_CMD_WRITTEN(s.commands, n, value, kServiceCommandTimeout);
}

// Release and force-reset one-shots, the three command blocks, the force
// setpoint and the unit delays of its limits (read here as the last pass's
// values, written at the end).
template <class C>
void force_setpoint(const C& c, ForceCommandState& s, uint32_t enabled, float low, float high, uint32_t goto_shot,
                    float goto_value, float force_rate) {
    c.FRC_NOT_NOT = bk::NOT(enabled);
    c.NO_MOM_LWR_NOT = bk::NOT(c.COMMANDS_OUT_2);
    c.NO__MOM_RSE_NOT = bk::NOT(c.COMMANDS_OUT_1);
    bk::ONE_SHOT(s.rst_frc, c.RST_FRC_ONE_SHOT, &static_cast<int32_t&>(c.RST_FRC_R_TIME), c.FRC_NOT_NOT,
                 c.RST_FRC_DLY_TIME, bk::T160);
    bk::ONE_SHOT(s.no_mom_lwr_rst, c.NO_MOM_LWR_RST_ONE_SHOT, &static_cast<int32_t&>(c.NO_MOM_LWR_RST_R_TIME),
                 c.NO_MOM_LWR_NOT, c.NO_MOM_LWR_RST_DLY_TIME, bk::T160);
    bk::ONE_SHOT(s.no_mom_rst, c.NO_MOM_RST_ONE_SHOT, &static_cast<int32_t&>(c.NO_MOM_RST_R_TIME), c.NO__MOM_RSE_NOT,
                 c.NO_MOM_RST_DLY_TIME, bk::T160);

    c.LWR_CMD_OR = bk::OR({c.RST_FRC_ONE_SHOT, c.COMMANDS_OUT_4, c.COMMANDS_OUT_2});
    c.RSE_CMD_OR = bk::OR({c.COMMANDS_OUT_3, c.COMMANDS_OUT_1});
    bk::ACTION(s.frc_lwr, c.FRC_LWR_B_ACTION, c.FRC_LWR_ACT_OUT, c.FRC_LWR_E_TIME, c.FRC_LWR_R_TIME, c.LWR_CMD_OR,
               bk::OR({c.NO_MOM_LWR_RST_ONE_SHOT, c.P_LIM_1_DLY_ZMINUS1_B, c.GOTO_CMD_DLY_ZMINUS1_B}),
               c.FRC_LWR_ACT_Q, 0.0f, bk::T160);
    bk::ACTION(s.frc_rse, c.FRC_RSE_B_ACTION, c.FRC_RSE_ACT_OUT, c.FRC_RSE_E_TIME, c.FRC_RSE_R_TIME, c.RSE_CMD_OR,
               bk::OR({c.NO_MOM_RST_ONE_SHOT, c.P_LIM_2_DLY_ZMINUS1_B, c.GOTO_CMD_DLY_ZMINUS1_B, c.FRC_NOT_NOT,
                       c.LWR_CMD_OR}),
               c.FRC_RSE_ACT_Q, 0.0f, bk::T160);
    bk::ACTION(s.goto_cmd, c.GOTO_CMD_B_ACTION, c.GOTO_CMD_ACT_OUT, c.GOTO_CMD_E_TIME, c.GOTO_CMD_R_TIME, goto_shot,
               bk::OR({c.P_LIM_3_DLY_ZMINUS1_B, c.FRC_NOT_NOT, c.RSE_CMD_OR, c.LWR_CMD_OR}), c.GOTO_CMD_ACT_Q, 0.0f,
               bk::T160);

    c.LWR_RT_ENBL_AND = bk::AND({c.FRC_LWR_B_ACTION, enabled});
    c.FRC_RATE_OR_OR = bk::OR({c.FRC_RSE_B_ACTION, c.LWR_RT_ENBL_AND, c.GOTO_CMD_B_ACTION});
    const bk::RampOut r = bk::RAMP(
        s.force_setpt, {{c.FRC_LWR_B_ACTION, low}, {c.FRC_RSE_B_ACTION, high}, {c.GOTO_CMD_B_ACTION, goto_value}},
        c.FRC_RATE_OR_OR != 0 ? force_rate : kFreeForceRate, bk::T160);
    c.FORCE_SETPT_RAMP = r.ramp;
    c.FORCE_SETPT_REV_RAMP = 0.0f;
    c.FORCE_SETPT_MOVING_UP = r.moving_up;
    c.FORCE_SETPT_MOVING_DN = r.moving_dn;
    c.FORCE_SETPT_POS_SEL = r.pos_sel;
    c.FORCE_SETPT_P_LIM_1 = bk::P_LIM(r, low);
    c.FORCE_SETPT_P_LIM_2 = bk::P_LIM(r, high);
    c.FORCE_SETPT_P_LIM_3 = bk::P_LIM(r, goto_value);
    c.P_LIM_1_DLY_ZMINUS1_B = c.FORCE_SETPT_P_LIM_1;
    c.P_LIM_2_DLY_ZMINUS1_B = c.FORCE_SETPT_P_LIM_2;
    c.P_LIM_3_DLY_ZMINUS1_B = c.FORCE_SETPT_P_LIM_3;
    c.GOTO_CMD_DLY_ZMINUS1_B = c.GOTO_CMD_B_ACTION;
}

