// Where the design places the pieces of each rate group's pass: the slice
// that computes a cell, and pairs of cells whose writers run in that order
// within one pass.
#pragma once

namespace order {

struct InSlice {
    const char* cell;   // "MODULE.BLOCK.FIELD"
    const char* slice;  // "_R10_TASK_3"
};

// A piece the slices call by its function's name (stores of unit delays).
struct PieceInSlice {
    const char* function;  // "r10::unit_delays_store_first"
    const char* slice;
};

struct Before {
    const char* first;  // computed earlier in the pass
    const char* then;   // than this one
};

inline constexpr InSlice kInSlice[] = {
    // 10 ms: simulated speed, manual enable, dynamics, droop limit.
    {"SPEED_SIM.LAG_2.LAG_2", "_R10_TASK_3"},
    {"IFACE_IN_HP_MAN.TURB_SPD.A_NAME", "_R10_TASK_4"},
    {"SPD_CTRL.OTHER_AT_MAX.AND", "_R10_TASK_4"},
    {"DROOP.LIM_FDBK.A_LIMITER", "_R10_TASK_4"},
    {"SHUTDOWNS.ANY.LATCH_AE", "_R10_TASK_4"},
    // 10 ms speed-control pieces of the eighth slice.
    {"CRIT_SPD.SPD_MAX1.A_COMPARE", "_R10_TASK_8"},
    {"CNFG_SPEED.RATED_MULT1.MULTIPLY", "_R10_TASK_8"},
    {"DROOP.SET_LAG.DIVIDE", "_R10_TASK_8"},
    {"MPU_OVRD.SELFPWRED.B_SW", "_R10_TASK_8"},
    {"IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME", "_R10_TASK_8"},
    {"DATALOG.PRT_OS.ONE_SHOT", "_R10_TASK_8"},
    {"CNFG_CAN2.GO_OPER.AND", "_R10_TASK_8"},
    // Front-panel trip key, last-five history and the chassis comparator.
    {"SD_LOGIC.DLY_OFF.DELAY", "_R10_TASK_9"},
    {"SD_LOGIC.STOP_BUTTON.B_SW", "_R10_TASK_9"},
    {"SD_LOGIC.PUSHBUTTON.B_SW", "_R10_TASK_9"},
    {"SHUTDOWNS.CNTR_OVRD.ONE_SHOT", "_R10_TASK_9"},
    {"ORVEX12_IO.A_COMPARE.A_COMPARE", "_R10_TASK_9"},
    // Speed-control pieces of the tenth slice.
    {"SPD_CTRL.DROOP_VAL.A_SW", "_R10_TASK_10"},
    {"SPD_CTRL.HOLD_HI.HSS_BUS", "_R10_TASK_10"},
    {"SPD_CTRL.OPID_ALRM.OUT_1", "_R10_TASK_10"},
    {"SHUTDOWNS.SD_PWRUP.OR", "_R10_TASK_10"},
    // 80 ms: the reference chart and its flags.
    {"SPDC.MIN_REF_EQ.A_COMPARE", "_R80_TASK_13"},
    {"SPDC.BELOW_MIN.OR", "_R80_TASK_13"},
    {"SPDC.DLY_QUIT.DELAY", "_R80_TASK_16"},
    {"IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", "_R80_TASK_16"},
    {"OSPD.OR_OSPD.OR", "_R80_TASK_16"},
    {"SPDC.COMP_MINGO.A_COMPARE", "_R80_TASK_18"},
    {"SPDC.SP_RPM.SUBTRACT", "_R80_TASK_20"},
    {"SPDC.SEL_SP.A_MUX_HSS", "_R80_TASK_25"},
    // 80 ms: start, controlled stop, remote setpoint.
    {"RMT_ENBL.OR_DISABLE.OR", "_R80_TASK_15"},
    {"CNTRL_STOP.OR_ENABLE.OR", "_R80_TASK_15"},
    {"START.OR_NOSTRT.OR", "_R80_TASK_16"},
    {"CNTRL_STOP.OR_DISABLE.OR", "_R80_TASK_16"},
    {"IDLE_RATE.BI_ON.B_ACTION", "_R80_TASK_18"},
    {"START.PULSE.ONE_SHOT", "_R80_TASK_23"},
    {"REMOTE.IN_CNTRL.AND", "_R80_TASK_23"},
    {"RMT_CAS_EN.MATCH_WINDOW.MULTIPLY", "_R80_TASK_23"},
    {"START.AND_H_MIN.AND", "_R80_TASK_26"},
    {"START.IDLE.OR", "_R80_TASK_26"},
    // 10 ms discrete outputs, 20 ms analog inputs.
    {"BO_MUX.SEL_STATES.LIST_1", "_R10_TASK_7"},
    {"AI_MUX.AI_FLTS.OUT_1", "_R20_TASK_1"},
    {"VLTR_OUTS.VL_AINS.LIST_1", "_R20_TASK_3"},
    {"VL4_BI.BIN_01.VL_BIN", "_R20_TASK_6"},
    // 40 ms: the reference ramp, the data-log start, the track rate.
    {"SPDC.SPEED_REF.RAMP", "_R40_TASK_4"},
    {"DATALOG.EVENT_STRT.OR", "_R40_TASK_4"},
    {"SPDC.TRACK_RATE.A_MUX_HSS", "_R40_TASK_5"},
    // 80 ms: Modbus write enable, relay level-switch values.
    {"MOD_BW.OR_ENABLE.OR", "_R80_TASK_1"},
    {"BO_MUX.SEL_LSW.LIST_1", "_R80_TASK_17"},
    // 160 ms: Modbus scaling.
    {"MOD_IO.ACT1_100.MULTIPLY", "_R160_TASK_45"},
    // 160 ms: cascade in control, its relay and interface flags, and the
    // sequence's blink request, after the discrete-input routing.
    {"RCLTR.OR_CASCADE.OR", "_R160_TASK_12"},
    {"IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", "_R160_TASK_12"},
    {"BO_MUX.CASC_ACTIV.B_NAME", "_R160_TASK_12"},
    {"BO_MUX.RMTCAS_ACT.B_NAME", "_R160_TASK_12"},
    {"AUTO_SEQ.NOR_STEP.NOR", "_R160_TASK_12"},
    {"AUTO_SEQ.BLINK.AND", "_R160_TASK_12"},
    // The overspeed test: its demand at 80 ms, its no-movement delay at 160 ms.
    {"OSPD.OSPD_DMD_OR.OR", "_R80_TASK_22"},
    {"OSPD.DLY_NOMOV.DELAY", "_R160_TASK_40"},
    // The reference's slow rates: on-line with the cascade, off-line with the
    // speed-setting checks.
    {"SPDC.SL_ONLINE.A_NAME", "_R160_TASK_17"},
    {"SPDC.SL_OFFLINE.A_NAME", "_R160_TASK_20"},
    // The reference inside the critical band, after the reference's selectors.
    {"CRIT_SPD.HIGH_LIM_1.A_COMPARE", "_R40_TASK_3"},
    {"CRIT_SPD.LOW_LIM_1.A_COMPARE", "_R40_TASK_3"},
    {"CRIT_SPD.CRIT_BAND1.AND", "_R40_TASK_3"},
    {"CRIT_SPD.CRIT_BAND.OR", "_R40_TASK_3"},
    // The alarms' delay and override lists, with the alarm LED.
    {"ALARMS.ALM_DELAYS.LIST_1", "_R160_TASK_10"},
    {"ALARMS.ALM_DELAYS.LIST_100", "_R160_TASK_10"},
    {"ALARMS.ALM_OVRDS.LIST_1", "_R160_TASK_10"},
    {"ALARMS.ALM_OVRDS.LIST_100", "_R160_TASK_10"},
    // The valve limiter's refused entry, timed with the entry's disable.
    {"HP_LIMTER.LIMITED.DELAY", "_R80_TASK_18"},
    // The actuator's simulation switch after its demand; the readout
    // function's name with the speed control's status texts.
    {"CNFG_ACT.SIM_MODE1.A_SW", "_R10_TASK_5"},
    {"_ub5.ACT_RO_FUNCT_STRG.I_TO_STR", "_R10_TASK_10"},
    // The speed controller in control, before the valve limiter's maximum.
    {"MESSAGE.SPD_PID_IN_CTRL.B_NAME", "_R160_TASK_37"},
    // The service tool's interface inputs, with the manual demand's commands.
    {"IFACE_IN_CASC.CASC_AI_MAX.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.CASC_AI_MIN.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.CASC_DIS.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.RMT_CAS_ENBL.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.RMT_CAS_DIS.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.CASC_INPUT_INT.I_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.CASC_RMT_N.NOT", "_R160_TASK_38"},
    {"IFACE_IN_CASC.TICK_CONFIG.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.RMT_RATE.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_CASC.RSE_LWR.OUT_1", "_R160_TASK_38"},
    {"IFACE_IN_CASC.RSE_LWR.OUT_2", "_R160_TASK_38"},
    {"IFACE_IN_HP_MAN.MAX_GOV.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_HP_MAN.MIN_GOV.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.ADJ_FAST_SLOW.OUT_1", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.ADJ_FAST_SLOW.OUT_2", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.DISABLE_HOT_START.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.DISABLE_OST.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.ENABLE_EXT_OST.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_SPEED.DROOP_PCT.A_NAME", "_R160_TASK_38"},
    {"IFACE_IN_START.USE_RAMP_TO_IDLE.B_NAME", "_R160_TASK_38"},
    {"IDLE_RTD.USE_IDLE.B_NAME", "_R160_TASK_38"},
    {"IDLE_RATE.NOT_RBACK.NOT", "_R160_TASK_38"},
    {"IDLE_RATE.NO_RBACK.B_NAME", "_R160_TASK_38"},
    {"IFACE_IN_START.IDLE_PRIORITY.B_NAME", "_R160_TASK_38"},
    {"IDLE_RTD.IDL_PRIOR.B_NAME", "_R160_TASK_38"},
    {"IDLE_RATE.NO_PRIOR.NOT", "_R160_TASK_38"},
};

inline constexpr PieceInSlice kPieceInSlice[] = {
    // The 10 ms unit delays: slots 0-2 stored after the trip key and the
    // shutdown pieces, the rest in the group's last slice, which commits all.
    {"r10::unit_delays_store_first", "_R10_TASK_10"},
    {"r10::unit_delays_store_second", "_R10_TASK_11"},
    {"r10::unit_delays_commit", "_R10_TASK_11"},
};

inline constexpr Before kBefore[] = {
    // Trip 2: the key is computed before the shutdown pieces that follow it.
    {"SD_LOGIC.PUSHBUTTON.B_SW", "SHUTDOWNS.SD_PWRUP.OR"},
    // Trip 3 acts on the turbine speed of its own pass.
    {"MPU.TURB_SPD.A_NAME", "OSPD.OSPD_LEVEL.A_COMPARE"},
    // The remote nodes' start-up pulses follow their requests in the pass.
    {"CNFG_CAN2.VL1_INIT.OR", "CNFG_CAN2.VL1_INIT_OS.ONE_SHOT"},
    {"CNFG_CAN2.ALL_PWRUP.AND", "CNFG_CAN2.RST_CAN2.ONE_SHOT"},
    // The 160 ms slice of the cascade flags: the discrete-input routing,
    // then cascade in control, then the sequence's blink request.
    {"BI_MUX.BI01_TS_SEL.I_NAME", "RCLTR.OR_CASCADE.OR"},
    {"RCLTR.OR_CASCADE.OR", "AUTO_SEQ.BLINK.AND"},
    // The band of the reference compares the reference of this pass.
    {"IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", "CRIT_SPD.HIGH_LIM_1.A_COMPARE"},
    // The alarm LED, then the lists (and the link flags after them).
    {"ALARMS.ALARM_LED.B_NAME", "ALARMS.ALM_DELAYS.LIST_1"},
    // The actuator's demand, then the simulation's switch on it; the
    // optimizer status, the readout name, then the shutdown pieces.
    {"_ub5.DEMAND.A_NAME", "CNFG_ACT.SIM_MODE1.A_SW"},
    {"SPD_CTRL.OPID_ALRM.OUT_1", "_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"},
    {"_ub5.ACT_RO_FUNCT_STRG.I_TO_STR", "SHUTDOWNS.SD_PWRUP.OR"},
    {"MESSAGE.SPD_PID_IN_CTRL.B_NAME", "HP_LIMTER.SPDCTRL_MING.AND"},
    // The manual demand's commands, then the interface inputs.
    {"HP_MAN_RAMP.GOTO_CMD.B_ACTION", "IFACE_IN_CASC.CASC_DIS.B_NAME"},
};

}  // namespace order
