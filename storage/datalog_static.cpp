// The static data-log items: the cells every data log holds, whatever the
// configuration file adds. Built once at start-up into the RAM block.
#include <cstring>

#include "host/vxworks.h"
#include "runtime/dbug.h"
#include "storage/datalog.h"

using namespace dlog;

const StaticDataLogRow kStaticDataLogRows[kStaticItems] = {
    // R10 Reals
    {"DATALOG.SPEED.A_NAME", "Speed"},
    {"CNFG_SPEED.TSS_01.MPU_ZARN", "Speed_Sig1"},
    {"CNFG_SPEED.TSS_02.MPU_ZARN", "Speed_Sig2"},
    {"CNFG_ACT.ACT_01.DEMAND_OUT", "ACT01_Dmd"},
    {"CNFG_ACT.ACT_1.RDBK_SRC", "ACT01_ma_src"},
    {"CNFG_ACT.ACT_1.RDBK_RET", "ACT01_ma_ret"},
    {"IFACE_OUT_SPEED.SPD_PID_LSS.A_NAME", "Speed_PID"},
    {"SPD_CTRL.PROC_OPTI.A_NAME", "OPTI_proc_norm"},
    {"SPD_CTRL.SPD_TO_PID.A_SW", "Speed_HSS"},
    {"SPD_CTRL.SP_OPTI.A_NAME", "OPTI_sp_norm"},
    {"IFACE_OUT_HP_MAN.MAN_OUT.A_NAME", "Manual_Vlv_Dmd"},
    {"SPD_CTRL.DROOP_VAL.A_SW", "Speed_DroopVa"},
    {"SPD_CTRL.SPD_PID.PID_OPTI", "OPTI_PID_out"},
    {"SPD_CTRL.SPD_PID.CALC_P", "OPTI_PID_calc_p"},
    {"SPD_CTRL.SPD_PID.CALC_I", "OPTI_PID_calc_i"},
    {"SPD_CTRL.SPD_PID.CALC_SDR", "OPTI_PID_calc_d"},
    {"SPD_CTRL.SPD_PID.PROC_ERR", "OPTI_PID_proc_err"},
    {"SPD_CTRL.SPD_PID.OPTI_MON", "OPTI_PID_opti_mon"},
    {"ACCEL.SS1_DERIV.A_NAME", "Speed 1 Acceleration"},
    {"ACCEL.SS2_DERIV.A_NAME", "Speed 2 Acceleration"},
    {"ACCEL.ACCEL_PV.A_NAME", "Acceleration HSS"},
    // R10 Ints
    {"SHUTDOWNS.FIRST_OUT.I_NAME", "First Out Shutdown"},
    {"SPD_CTRL.SPD_PID.OPTI_STATUS", "OPTI_Status"},
    {"SPD_CTRL.SPD_PID.OPTI_FAULT", "OPTI_Fault"},
    {"SPD_CTRL.SPD_PID.OPTI_ALARM", "OPTI_Alarm"},
    // R10 Bools
    {"DATALOG.TURB_TRIP.B_NAME", "TRIP"},
    {"BI_MUX.SPD_RAISE_CONT.B_NAME", "Speed Raise Command Contact"},
    {"BI_MUX.SPD_LWR_CONT.B_NAME", "Speed Lower Command Contact"},
    {"BI_MUX.OVSPD_CONT.B_NAME", "Overspeed Test Contact"},
    {"BI_MUX.EXT_RUN_CONT.B_NAME", "External Run Contact"},
    {"BI_MUX.IDLE_RATED_CONT.B_NAME", "Idle/Rated Contact"},
    {"BI_MUX.ONLINE_DYN_CONT.B_NAME", "Select On-Line Dynamics Contact"},
    {"BI_MUX.RMT_SPD_ENBL_CONT.B_NAME", "Remote Speed Setpt Enable Contact"},
    {"BI_MUX.CASC_ENBL_CONT.B_NAME", "Cascade Control Enable Contact"},
    {"BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", "Remote Cascade Enable Contact"},
    {"BI_MUX.VLV_LMT_OPN_CONT.B_NAME", "Valve Limiter Open Contact"},
    {"BI_MUX.VLV_LMT_CLS_CONT.B_NAME", "Valve Limiter Close Contact"},
    {"SPD_CTRL.ONLINE_DYN.B_NAME", "Unit_Online_Dyn"},
    {"HP_DRIVER.ACT_LSS.SEL_1", "LSS_cntrl_Speed"},
    {"HP_DRIVER.ACT_LSS.SEL_2", "LSS_cntrl_VlvLmtr"},
    {"HP_DRIVER.ACT_LSS.SEL_3", "LSS_cntrl_Manual"},
    {"CNFG_BI.BI_01_ZARN.BI_ZARN", "BI_01"},
    {"CNFG_BI.BI_02_ZARN.BI_ZARN", "BI_02"},
    {"CNFG_BI.BI_03_ZARN.BI_ZARN", "BI_03"},
    {"CNFG_BI.BI_04_ZARN.BI_ZARN", "BI_04"},
    {"CNFG_BI.BI_05_ZARN.BI_ZARN", "BI_05"},
    {"CNFG_BI.BI_06_ZARN.BI_ZARN", "BI_06"},
    {"CNFG_BI.BI_07_ZARN.BI_ZARN", "BI_07"},
    {"CNFG_BI.BI_08_ZARN.BI_ZARN", "BI_08"},
    {"CNFG_BO.RELAY_1.DISPLAY", "Relay_1"},
    {"CNFG_BO.RELAY_2.DISPLAY", "Relay_2"},
    {"CNFG_BO.RELAY_3.DISPLAY", "Relay_3"},
    {"CNFG_BO.RELAY_4.DISPLAY", "Relay_4"},
    {"IFACE_OUT_START.MPU1_OVRD_ON.B_NAME", "MPU1 Override ON"},
    {"IFACE_OUT_START.IN_CRIT.B_NAME", "In Critical Band"},
    {"BI_MUX.CONTL_SD_CONT.B_NAME", "Controlled Shutdown Contact"},
    // R20 Reals
    {"CNFG_AI.AI_01.VALUE_OUT", "AI01_Val"},
    {"CNFG_AI.AI_02.VALUE_OUT", "AI02_Val"},
    {"CNFG_AI.AI_03.VALUE_OUT", "AI03_Val"},
    {"CNFG_AI.AI_04.VALUE_OUT", "AI04_Val"},
    {"CNFG_AO.AO_01.MA_SIGNAL_OUT", "AO_Dmd_Sig1"},
    {"CNFG_AO.AO_01_ZARN.RDBK_RET", "AO_ma_Sig1"},
    {"CNFG_AO.AO_02.MA_SIGNAL_OUT", "AO_Dmd_Sig2"},
    {"CNFG_AO.AO_02_ZARN.RDBK_RET", "AO_ma_Sig2"},
    {"CNFG_AO.AO_03.MA_SIGNAL_OUT", "AO_Dmd_Sig3"},
    {"CNFG_AO.AO_03_ZARN.RDBK_RET", "AO_ma_Sig3"},
    // R40 Reals
    {"SPD_CTRL.SPD_SETPT.A_NAME", "SpdPID_setpt"},
    {"SPDC.SPEED_REF.RAMP", "Speed_RefRamp"},
    {"IFACE_IN_VLV.V1LMTR_VAL.A_NAME", "HPvlv_lmtr"},
    // R40 Ints
    {"ALARMS.FIRST_OUT.I_NAME", "First Out Alarm"},
    // R40 Bools
    {"SPD_CTRL.ENA_OPTI.B_ACTION", "OPTI_Ena_OPID"},
    // R80 Reals
    {"IFACE_OUT_CASC.CASC_PID.A_NAME", "CASC_PID"},
    {"CASC_CTRL.PROC_MULT.MULTIPLY", "CASCPID_proc"},
    {"CASC_CTRL.SP_MULT.MULTIPLY", "CASCPID_setpt"},
    // R80 Ints
    {"VLTR_OUTS.VLTR_ALM_FO.I_NAME", "VLTR First Out Alarm"},
    {"VLTR_OUTS.VLTR_TRIP_FO.I_NAME", "VLTR First Out Trip"},
    // R80 Bools
    {"RMT_ENBL.ENABLED.LATCH_R", "Rem_Spd_setpt_ena"},
    {"RESET.RESET.B_NAME", "Reset Command"},
    {"IFACE_OUT_CASC.ENABLED.B_NAME", "Cascade Enabled"},
    {"IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", "Overspeed Test Enabled"},
    // R160 Reals
    {"SPD_CTRL.FAST_SLOW.A_NAME", "OPTI_fast_slow"},
    // R160 Ints
    {"CONT_MESS.CONT_PARA_INT.I_NAME", "In Control Message"},
    // R160 Bools
    {"DATALOG.TURB_START.B_NAME", "Turbine Start"},
    {"CALMODE.CALMODE.B_NAME", "Unit in Calibration Mode"},
};

const int kStaticListRows[kGroups][kKinds] = {{21, 4, 31}, {10, 0, 0}, {3, 1, 1}, {3, 2, 4}, {1, 1, 2}};

namespace {
// Lists in the order they lie in the block.
constexpr int kOrder[13][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {2, 0}, {2, 1}, {2, 2},
                               {3, 0}, {3, 1}, {3, 2}, {4, 0}, {4, 1}, {4, 2}};

void copy_text(char* dst, const char* src, size_t cap) {
    size_t n = 0;
    while (n + 1 < cap && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    std::memset(dst + n, 0, cap - n);
}
}  // namespace

int BuildStaticDATA_LOG_M_Lists() {
    auto* at = static_cast<DataLogItem*>(DATA_LOG_M_MEMORY_START);
    const DbugTables tables = app_dbug_tables();
    int row = 0;
    for (const auto& gk : kOrder) {
        const ListRefs& l = kLists[gk[0]][gk[1]];
        *l.pStatic = at;
        for (int n = 0; n < kStaticListRows[gk[0]][gk[1]]; ++n, ++row, ++at) {
            const StaticDataLogRow& r = kStaticDataLogRows[row];
            copy_text(at->path, r.path, sizeof at->path);
            copy_text(at->name, r.name, sizeof at->name);
            const DbugVar* v = dbug_find_in(tables, r.path);
            at->cell = v ? dbug_cell_of(tables, *v) : 0;
            if (!verifyItemsFit(row + 1)) return 0;
            // A scheduling point every few rows: the start runs below the
            // master clock, and the name searches add up past a tick.
            if (row % 32 == 31) taskDelay(0);
        }
        *l.staticCount = kStaticListRows[gk[0]][gk[1]];
        // The lists without items (R20 Ints and Bools) sit at the end of R20 Reals.
        if (gk[0] == 1 && gk[1] == 0) {
            *kLists[1][1].pStatic = at;
            *kLists[1][2].pStatic = at;
        }
    }
    pDynamicCfgStart = reinterpret_cast<uint8_t*>(at);
    return 1;
}

void UpdateStaticDATA_LOG_M_Names() {
    int row = 0;
    for (const auto& gk : kOrder) {
        const ListRefs& l = kLists[gk[0]][gk[1]];
        DataLogItem* it = *l.pStatic;
        for (int n = 0; n < *l.staticCount; ++n, ++row, ++it)
            copy_text(it->name, kStaticDataLogRows[row].name, sizeof it->name);
    }
}
