// OPC_DATA: the command booleans of the OPC link, latched while its write
// window is open, the lists of values it reads with their descriptions, the
// two reals it writes, and the supervision of the link's heartbeat.
#include "app/interface/OPC_DATA.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/CNFG_BO.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/remote_io/MOD_VL_IO.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/OPC_DATA_texts.h"
#include "app/interface/command_latch.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr int kCommands = 20;
constexpr int32_t kPulseOnRise = 5;
constexpr float kLinkFaultPulse = 2.0f;
constexpr float kClearPulse = 1.0f;
constexpr float kWindowOffDelay = 0.5f;
// The written reals have no limits in force but the widest a real allows.
constexpr float kWrittenLo = -1e38f, kWrittenHi = 1e38f;

struct OPC_DATA_blocks {
    CommandLatchState<kCommands> BW_CMDS;
    uint32_t sel4_prev;
    bk::DelayState BEAT_F, BEAT_T;
    bk::OneShotState LINK_FLT_OS;
    bk::SampState OPC_AW_1, OPC_AW_2;
    bk::OneShotState CLEAR_BWS;
    bk::DelayState WRIT_OFF_DLY;
    bk::FlipFlopState<1> BEAT;
};
BlockRam<OPC_DATA_blocks> OPC_DATA_st;

}  // namespace

namespace r80 {

void OPC_DATA_commands() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
#define OPC_DATA_EACH(M)                                                                                          \
    M(1) M(2) M(3) M(4) M(5) M(6) M(7) M(8) M(9) M(10) M(11) M(12) M(13) M(14) M(15) M(16) M(17) M(18) M(19) M(20)
#define OPC_DATA_COPY(n) c.BW_LIST_LIST_##n = c.BW_LIST_IN_##n;
    OPC_DATA_EACH(OPC_DATA_COPY)
#undef OPC_DATA_COPY

    if (c.WRIT_OFF_DLY_DELAY != 0) {
#define OPC_DATA_SEL(n) &c.BW_CMDS_SEL_##n.ref(),
#define OPC_DATA_NO(n) &c.BW_CMDS_ALM_NO_##n.ref(),
#define OPC_DATA_IN(n) c.BW_LIST_LIST_##n,
        const CommandLatchCells<kCommands> cells{c.BW_CMDS_LATCH1, c.BW_CMDS_LOGICAL_OR, c.BW_CMDS_HORN,
                                                 c.BW_CMDS_FIRST_ALM, {OPC_DATA_EACH(OPC_DATA_SEL)},
                                                 {OPC_DATA_EACH(OPC_DATA_NO)}};
        const uint32_t in[kCommands] = {OPC_DATA_EACH(OPC_DATA_IN)};
#undef OPC_DATA_SEL
#undef OPC_DATA_NO
#undef OPC_DATA_IN
        command_latch(s.BW_CMDS, cells, in, c.BW_CMDS_RST, c.CLEAR_BWS_ONE_SHOT);
    }
#undef OPC_DATA_EACH

    refbk::ACTION_OUT(RESET.RST_OPC_ACT_OUT, RESET.RST_OPC_E_TIME, RESET.RST_OPC_R_TIME, kPulseOnRise);
    RESET.RST_OPC_B_ACTION = bk::AND({c.BW_CMDS_SEL_4, bk::NOT(RESET.RST_OPC_RST_2), bk::NOT(s.sel4_prev)});
    s.sel4_prev = c.BW_CMDS_SEL_4;
}

void OPC_DATA_lists() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    // The limiter's position in percent, which the Modbus map reads too.
    MOD_SCALE.VLV_100_MULTIPLY = HP_LIMTER.HP_RAMP_RAMP * 100.0f;
    // The values the link reads, in its list order.
    c.AR_LIST_LIST_1 = MPU.TURB_SPD_A_NAME;
    c.AR_LIST_LIST_2 = SPD_CTRL.SPD_SETPT_A_NAME;
    c.AR_LIST_LIST_3 = IFACE_OUT_SPEED.RMT_SPD_INPUT_A_NAME;
    c.AR_LIST_LIST_4 = AI_MUX.RMT_SPD_SP_A_NAME;
    c.AR_LIST_LIST_5 = MOD_SCALE.VLV_100_MULTIPLY;
    c.AR_LIST_LIST_6 = MOD_SCALE.SPD_100_MULTIPLY;
    c.AR_LIST_LIST_7 = MOD_SCALE.ACT1_HSS_MULTIPLY;
    c.AR_LIST_LIST_8 = MOD_SCALE.CASC_100_MULTIPLY;
    c.AR_LIST_LIST_9 = IFACE_IN_CASC.CASC_IN_NAME_A_NAME;
    c.AR_LIST_LIST_10 = IFACE_OUT_CASC.CASC_SP_A_NAME;
    c.AR_LIST_LIST_11 = CNFG_SPEED.TSS_01_MONITOR;
    c.AR_LIST_LIST_12 = CNFG_SPEED.TSS_02_MONITOR;
    c.AR_LIST_LIST_13 = _ub6.VALUE_A_NAME;
    c.AR_LIST_LIST_14 = _ub7.VALUE_A_NAME;
    c.AR_LIST_LIST_15 = _ub8.VALUE_A_NAME;
    c.AR_LIST_LIST_16 = _ub9.VALUE_A_NAME;
    c.AR_LIST_LIST_17 = MOD_IO.ACT1_100_MULTIPLY;
    c.AR_LIST_LIST_18 = _ub10.VAL_A_NAME;
    c.AR_LIST_LIST_19 = _ub11.VAL_A_NAME;
    c.AR_LIST_LIST_20 = _ub12.VAL_A_NAME;
    c.AR_LIST_LIST_21 = MOD_VL_IO.VL_A_VALUES_LIST_1;
    c.AR_LIST_LIST_22 = MOD_VL_IO.VL_A_VALUES_LIST_2;
    c.AR_LIST_LIST_23 = MOD_VL_IO.VL_A_VALUES_LIST_3;
    c.AR_LIST_LIST_24 = MOD_VL_IO.VL_A_VALUES_LIST_4;
    c.AR_LIST_LIST_25 = MOD_VL_IO.VL_A_VALUES_LIST_5;
    c.AR_LIST_LIST_26 = MOD_VL_IO.VL_A_VALUES_LIST_6;
    c.AR_LIST_LIST_27 = MOD_VL_IO.VL_A_VALUES_LIST_7;
    c.AR_LIST_LIST_28 = MOD_VL_IO.VL_A_VALUES_LIST_8;
    c.AR_LIST_LIST_29 = MOD_VL_IO.VL_A_VALUES_LIST_9;
    c.AR_LIST_LIST_30 = MOD_VL_IO.VL_A_VALUES_LIST_10;
    c.AR_LIST_LIST_31 = MOD_VL_IO.VL_A_VALUES_LIST_11;
    c.AR_LIST_LIST_32 = MOD_VL_IO.VL_A_VALUES_LIST_12;
    c.AR_LIST_LIST_33 = MOD_VL_IO.VL_A_VALUES_LIST_13;
    c.AR_LIST_LIST_34 = MOD_VL_IO.VL_A_VALUES_LIST_14;
    c.AR_LIST_LIST_35 = MOD_VL_IO.VL_A_VALUES_LIST_15;
    c.AR_LIST_LIST_36 = MOD_VL_IO.VL_A_VALUES_LIST_16;
    c.AR_LIST_LIST_37 = MOD_VL_IO.VL_A_VALUES_LIST_17;
    c.AR_LIST_LIST_38 = MOD_VL_IO.VL_A_VALUES_LIST_18;
    c.AR_LIST_LIST_39 = ALARMS.FIRSTOUT_A_OUT_1;
    c.AR_LIST_LIST_40 = SHUTDOWNS.FIRSTOUT_A_OUT_1;
    c.AR_LIST_LIST_41 = COND_MON.STRT_TURB_A_NAME;
    c.AR_LIST_LIST_42 = COND_MON.SD_NUM_A_NAME;
    c.AR_LIST_LIST_43 = COND_MON.SDLOAD1_NUM_A_NAME;
    c.AR_LIST_LIST_44 = COND_MON.SDLOAD2_NUM_A_NAME;
    c.AR_LIST_LIST_45 = COND_MON.OSPD_NUM_A_NAME;
    c.AR_LIST_LIST_46 = COND_MON.TRUNHRS_A_NAME;
    c.AR_LIST_LIST_47 = COND_MON.TRUNLDHRS_A_NAME;
    c.AR_LIST_LIST_48 = COND_MON.TRUNLD2HRS_A_NAME;
    c.BR_LIST_LIST_1 = SHUTDOWNS.ANY_SD_B_NAME;
    c.BR_LIST_LIST_2 = ALARMS.ANY_ALM_B_NAME;
    c.BR_LIST_LIST_3 = ALARMS.ANY_SEL_1;
    c.BR_LIST_LIST_4 = ALARMS.ANY_SEL_2;
    c.BR_LIST_LIST_5 = ALARMS.ANY_SEL_3;
    c.BR_LIST_LIST_6 = SHUTDOWNS.ANY_SEL_1;
    c.BR_LIST_LIST_7 = SHUTDOWNS.ANY_SEL_4;
    c.BR_LIST_LIST_8 = SHUTDOWNS.ANY_SEL_3;
    c.BR_LIST_LIST_9 = SHUTDOWNS.ANY_SEL_2;
    c.BR_LIST_LIST_10 = SHUTDOWNS.ANY_SEL_5;
    c.BR_LIST_LIST_11 = IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME;
    c.BR_LIST_LIST_12 = IFACE_OUT_SPEED.RMT_SPD_ACTIVE_B_NAME;
    c.BR_LIST_LIST_13 = SPDC.A00_STEP_SFC_STEP;
    c.BR_LIST_LIST_14 = SPDC.A07_STEP_SFC_STEP;
    c.BR_LIST_LIST_15 = SPDC.A01_STEP_SFC_STEP;
    c.BR_LIST_LIST_16 = IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME;
    c.BR_LIST_LIST_17 = IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME;
    c.BR_LIST_LIST_18 = MPU_OVRD.OVRD1_OR_OR;
    c.BR_LIST_LIST_19 = ALARMS.ANY_SEL_7;
    c.BR_LIST_LIST_20 = ALARMS.ANY_SEL_67;
    c.BR_LIST_LIST_21 = MESSAGE.RMT_IN_CTL_AND;
    c.BR_LIST_LIST_22 = RMT_ENBL.RMT_SPD_INH_AND;
    c.BR_LIST_LIST_23 = IFACE_OUT_CASC.ENABLED_B_NAME;
    c.BR_LIST_LIST_24 = IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME;
    c.BR_LIST_LIST_25 = MESSAGE.CASC_CTL_DELAY_DELAY;
    c.BR_LIST_LIST_26 = CASC_ENBL.INHIBITED_LATCH1;
    c.BR_LIST_LIST_27 = IFACE_OUT_CASC.RMT_CAS_EN_B_NAME;
    c.BR_LIST_LIST_28 = IFACE_OUT_CASC.REM_CAS_SEL_B_NAME;
    c.BR_LIST_LIST_29 = MESSAGE.CASC_RMT_DELAY_DELAY;
    c.BR_LIST_LIST_30 = RMT_CAS_EN.RCASC_IH_LATCH1;
    c.BR_LIST_LIST_31 = HP_LIMTER.AT_MAX_OR;
    c.BR_LIST_LIST_32 = HP_LIMTER.HP_RAMP_P_LIM_1;
    c.BR_LIST_LIST_33 = IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME;
    c.BR_LIST_LIST_34 = 0;  // spare
    c.BR_LIST_LIST_35 = CNFG_BI.BI_01_ZARN_BI_ZARN;
    c.BR_LIST_LIST_36 = CNFG_BI.BI_02_ZARN_BI_ZARN;
    c.BR_LIST_LIST_37 = CNFG_BI.BI_03_ZARN_BI_ZARN;
    c.BR_LIST_LIST_38 = CNFG_BI.BI_04_ZARN_BI_ZARN;
    c.BR_LIST_LIST_39 = CNFG_BI.BI_05_ZARN_BI_ZARN;
    c.BR_LIST_LIST_40 = CNFG_BI.BI_06_ZARN_BI_ZARN;
    c.BR_LIST_LIST_41 = CNFG_BI.BI_07_ZARN_BI_ZARN;
    c.BR_LIST_LIST_42 = CNFG_BI.BI_08_ZARN_BI_ZARN;
    c.BR_LIST_LIST_43 = CNFG_BO.RELAY_1_DISPLAY;
    c.BR_LIST_LIST_44 = CNFG_BO.RELAY_2_DISPLAY;
    c.BR_LIST_LIST_45 = CNFG_BO.RELAY_3_DISPLAY;
    c.BR_LIST_LIST_46 = CNFG_BO.RELAY_4_DISPLAY;
    c.BR_LIST_LIST_47 = MOD_VL_IO.VL_B_STATES_LIST_1;
    c.BR_LIST_LIST_48 = MOD_VL_IO.VL_B_STATES_LIST_2;
    c.BR_LIST_LIST_49 = MOD_VL_IO.VL_B_STATES_LIST_3;
    c.BR_LIST_LIST_50 = MOD_VL_IO.VL_B_STATES_LIST_4;
    c.BR_LIST_LIST_51 = MOD_VL_IO.VL_B_STATES_LIST_5;
    c.BR_LIST_LIST_52 = MOD_VL_IO.VL_B_STATES_LIST_6;
    c.BR_LIST_LIST_53 = MOD_VL_IO.VL_B_STATES_LIST_7;
    c.BR_LIST_LIST_54 = MOD_VL_IO.VL_B_STATES_LIST_8;
    c.BR_LIST_LIST_55 = MOD_VL_IO.VL_B_STATES_LIST_9;
    c.BR_LIST_LIST_56 = MOD_VL_IO.VL_B_STATES_LIST_10;
    c.BR_LIST_LIST_57 = MOD_VL_IO.VL_B_STATES_LIST_11;
    c.BR_LIST_LIST_58 = MOD_VL_IO.VL_B_STATES_LIST_12;
    c.BR_LIST_LIST_59 = MOD_VL_IO.VL_B_STATES_LIST_13;
    c.BR_LIST_LIST_60 = MOD_VL_IO.VL_B_STATES_LIST_14;
    c.BR_LIST_LIST_61 = MOD_VL_IO.VL_B_STATES_LIST_15;
    c.BR_LIST_LIST_62 = MOD_VL_IO.VL_B_STATES_LIST_16;
    c.BR_LIST_LIST_63 = MOD_VL_IO.VL_B_STATES_LIST_17;
    c.BR_LIST_LIST_64 = MOD_VL_IO.VL_B_STATES_LIST_18;
    c.BR_LIST_LIST_65 = MOD_VL_IO.VL_B_STATES_LIST_19;
    c.BR_LIST_LIST_66 = MOD_VL_IO.VL_B_STATES_LIST_20;
    c.BR_LIST_LIST_67 = MOD_VL_IO.VL_B_STATES_LIST_21;
    c.BR_LIST_LIST_68 = MOD_VL_IO.VL_B_STATES_LIST_22;
    c.BR_LIST_LIST_69 = MOD_VL_IO.VL_B_STATES_LIST_23;
    c.BR_LIST_LIST_70 = MOD_VL_IO.VL_B_STATES_LIST_24;
    c.BR_LIST_LIST_71 = MOD_VL_IO.VL_B_STATES_LIST_25;
    c.BR_LIST_LIST_72 = MOD_VL_IO.VL_B_STATES_LIST_26;
    c.BR_LIST_LIST_73 = MOD_VL_IO.VL_B_STATES_LIST_27;
    c.BR_LIST_LIST_74 = MOD_VL_IO.VL_B_STATES_LIST_28;
    c.BR_LIST_LIST_75 = MOD_VL_IO.VL_B_STATES_LIST_29;
    c.BR_LIST_LIST_76 = MOD_VL_IO.VL_B_STATES_LIST_30;
    c.BR_LIST_LIST_77 = MOD_VL_IO.VL_B_STATES_LIST_31;
    c.BR_LIST_LIST_78 = MOD_VL_IO.VL_B_STATES_LIST_32;

    // The link writes the tunables themselves: nothing is sampled into them.
    const uint32_t wmmm = static_cast<uint32_t>(AllRgExecutedwMMM);
#define OPC_DATA_WRITTEN(B)                                                                                     \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.B, c.B##_TUNE, 0.0f, 0, kWrittenLo, kWrittenHi, c.B##_ENBL_ENTER, kWrittenLo, \
                                   kWrittenHi, wmmm),                                                           \
                     c.B##_SAMP_TUNE, c.B##_LIMITED, c.B##_EN_ENT_OUT, c.B##_LO_LIM_OUT, c.B##_HI_LIM_OUT)
    OPC_DATA_WRITTEN(OPC_AW_1);
    OPC_DATA_WRITTEN(OPC_AW_2);
#undef OPC_DATA_WRITTEN
    c.AW_LIST_LIST_1 = c.OPC_AW_1_SAMP_TUNE;
    c.AW_LIST_LIST_2 = c.OPC_AW_2_SAMP_TUNE;
}

void OPC_DATA_link() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    c.HB_NOT_NOT = bk::NOT(c.HEARTBEAT_B_NAME);
    c.HB_TIMEOUT_A_NAME = c.HB_TIMEOUT_IN;
    bk::DELAY(s.BEAT_F, c.BEAT_F_DELAY, &c.BEAT_F_R_TIME.ref(), c.HB_NOT_NOT, c.HB_TIMEOUT_A_NAME, 0.0f, bk::T80);
    bk::DELAY(s.BEAT_T, c.BEAT_T_DELAY, &c.BEAT_T_R_TIME.ref(), c.HEARTBEAT_B_NAME, c.HB_TIMEOUT_A_NAME, 0.0f, bk::T80);
    c.HB_LOST_OR = bk::OR({c.BEAT_T_DELAY, c.BEAT_F_DELAY, c.HB_LOST_IN_3});
    c.ENA_FLT_AND = bk::AND({c.HB_LOST_OR, c.ENA_WRITES_B_NAME, c.ENA_FLT_IN_3});
    c.LINK_FLT_B_NAME = c.ENA_FLT_AND;
    bk::ONE_SHOT(s.LINK_FLT_OS, c.LINK_FLT_OS_ONE_SHOT, &c.LINK_FLT_OS_R_TIME.ref(), c.LINK_FLT_B_NAME, kLinkFaultPulse,
                 bk::T80);
    c.OPC_TRIP_AND = bk::AND({c.ENA_OPC_TRIP_B_NAME, c.BW_CMDS_SEL_3, c.NO_FLT_NOT});
}

}  // namespace r80

namespace r160 {

void OPC_DATA_items() {
    auto& c = OPC_DATA;
#define OPC_DATA_TEXT(LIST, n) c.LIST##_LIST_LIST_##n = opc_items::LIST##_LIST[(n) - 1];
    OPC_DATA_EACH_48(OPC_DATA_TEXT, ARS)
    OPC_DATA_TEXT(AWS, 1)
    OPC_DATA_TEXT(AWS, 2)
    OPC_DATA_EACH_78(OPC_DATA_TEXT, BRS)
    OPC_DATA_EACH_20(OPC_DATA_TEXT, BWS)
#undef OPC_DATA_TEXT
}

void OPC_DATA_write_enable() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    c.ENA_WRITES_B_NAME = c.ENA_WRITES_IN;
    c.WRIT_OFF_NOT = bk::NOT(c.ENA_WRITES_B_NAME);
    // Writes start disabled, so the first pass clears the commands as well.
    bk::ONE_SHOT(s.CLEAR_BWS, c.CLEAR_BWS_ONE_SHOT, &c.CLEAR_BWS_R_TIME.ref(), c.WRIT_OFF_NOT, kClearPulse, bk::T160);
    bk::DELAY(s.WRIT_OFF_DLY, c.WRIT_OFF_DLY_DELAY, &c.WRIT_OFF_DLY_R_TIME.ref(), c.ENA_WRITES_B_NAME, 0.0f,
              kWindowOffDelay, bk::T160);
    c.ENA_OPC_B_NAME = c.ENA_OPC_IN;
    c.ENA_OPC_TRIP_B_NAME = c.ENA_OPC_TRIP_IN;
    // Command 20 of the link toggles its heartbeat.
    bk::T_FLIPFLOP(s.BEAT, c.BEAT_T_FLIPFLOP, {c.BW_CMDS_SEL_20});
    c.HEARTBEAT_B_NAME = c.BEAT_T_FLIPFLOP;
    c.NO_FLT_NOT = bk::NOT(c.LINK_FLT_B_NAME);
}

}  // namespace r160
