// The data log end to end: static and configured items sampled at their
// rates by the rate groups, the writer task's prints read back by an
// independent reader, the configuration file's errors, and the failures of
// memory and drive.
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "datalog_rig.h"
#include "runtime/appmain.h"
#include "runtime/dbug.h"

using namespace dl_test;

namespace {

const char* kHeaderLine = "VARNEKAR DATA_LOG_M Configuration File\n";

// Samples of a counting cell: the value before the counting began, then one
// more per row up to the last value set, which the rows after the counting
// stopped repeat.
void expectCountingUp(const Var& v, double first, double last) {
    ASSERT_FALSE(v.samples.empty());
    size_t i = 0;
    while (i < v.samples.size() && v.samples[i] == first) ++i;
    for (; i < v.samples.size() && v.samples[i] != last; ++i) {
        if (i > 0) {
            ASSERT_EQ(v.samples[i], v.samples[i - 1] + 1) << i;
        }
    }
    ASSERT_LT(i, v.samples.size());
    for (; i < v.samples.size(); ++i) ASSERT_EQ(v.samples[i], last) << i;
}


// The static items as the log file must show them: path and short name of
// every row, list by list in the order of the static table, typed here from
// the table's own list and not taken from the program.
struct StaticRow {
    const char *path, *name;
};
struct StaticList {
    char kind;  // 'A' real, 'I' integer, 'B' boolean
    std::vector<StaticRow> rows;
};
const StaticList kStaticLists[] = {
    {'A',  // R10 Reals
     {{"DATALOG.SPEED.A_NAME", "Speed"},
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
      {"ACCEL.ACCEL_PV.A_NAME", "Acceleration HSS"}}},
    {'I',  // R10 Ints
     {{"SHUTDOWNS.FIRST_OUT.I_NAME", "First Out Shutdown"},
      {"SPD_CTRL.SPD_PID.OPTI_STATUS", "OPTI_Status"},
      {"SPD_CTRL.SPD_PID.OPTI_FAULT", "OPTI_Fault"},
      {"SPD_CTRL.SPD_PID.OPTI_ALARM", "OPTI_Alarm"}}},
    {'B',  // R10 Bools
     {{"DATALOG.TURB_TRIP.B_NAME", "TRIP"},
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
      {"BI_MUX.CONTL_SD_CONT.B_NAME", "Controlled Shutdown Contact"}}},
    {'A',  // R20 Reals
     {{"CNFG_AI.AI_01.VALUE_OUT", "AI01_Val"},
      {"CNFG_AI.AI_02.VALUE_OUT", "AI02_Val"},
      {"CNFG_AI.AI_03.VALUE_OUT", "AI03_Val"},
      {"CNFG_AI.AI_04.VALUE_OUT", "AI04_Val"},
      {"CNFG_AO.AO_01.MA_SIGNAL_OUT", "AO_Dmd_Sig1"},
      {"CNFG_AO.AO_01_ZARN.RDBK_RET", "AO_ma_Sig1"},
      {"CNFG_AO.AO_02.MA_SIGNAL_OUT", "AO_Dmd_Sig2"},
      {"CNFG_AO.AO_02_ZARN.RDBK_RET", "AO_ma_Sig2"},
      {"CNFG_AO.AO_03.MA_SIGNAL_OUT", "AO_Dmd_Sig3"},
      {"CNFG_AO.AO_03_ZARN.RDBK_RET", "AO_ma_Sig3"}}},
    {'A',  // R40 Reals
     {{"SPD_CTRL.SPD_SETPT.A_NAME", "SpdPID_setpt"},
      {"SPDC.SPEED_REF.RAMP", "Speed_RefRamp"},
      {"IFACE_IN_VLV.V1LMTR_VAL.A_NAME", "HPvlv_lmtr"}}},
    {'I', {{"ALARMS.FIRST_OUT.I_NAME", "First Out Alarm"}}},      // R40 Ints
    {'B', {{"SPD_CTRL.ENA_OPTI.B_ACTION", "OPTI_Ena_OPID"}}},     // R40 Bools
    {'A',  // R80 Reals
     {{"IFACE_OUT_CASC.CASC_PID.A_NAME", "CASC_PID"},
      {"CASC_CTRL.PROC_MULT.MULTIPLY", "CASCPID_proc"},
      {"CASC_CTRL.SP_MULT.MULTIPLY", "CASCPID_setpt"}}},
    {'I',  // R80 Ints
     {{"VLTR_OUTS.VLTR_ALM_FO.I_NAME", "VLTR First Out Alarm"},
      {"VLTR_OUTS.VLTR_TRIP_FO.I_NAME", "VLTR First Out Trip"}}},
    {'B',  // R80 Bools
     {{"RMT_ENBL.ENABLED.LATCH_R", "Rem_Spd_setpt_ena"},
      {"RESET.RESET.B_NAME", "Reset Command"},
      {"IFACE_OUT_CASC.ENABLED.B_NAME", "Cascade Enabled"},
      {"IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", "Overspeed Test Enabled"}}},
    {'A', {{"SPD_CTRL.FAST_SLOW.A_NAME", "OPTI_fast_slow"}}},      // R160 Reals
    {'I', {{"CONT_MESS.CONT_PARA_INT.I_NAME", "In Control Message"}}},  // R160 Ints
    {'B',  // R160 Bools
     {{"DATALOG.TURB_START.B_NAME", "Turbine Start"}, {"CALMODE.CALMODE.B_NAME", "Unit in Calibration Mode"}}},
};

// The static items of a printed file, as "type path | name" lines: the
// file lists reals, then integers, then booleans, each kind by group.
std::vector<std::string> expectedStaticColumns() {
    std::vector<std::string> out;
    for (const auto& [kind, type] : {std::pair{'A', "A4"}, {'I', "I4"}, {'B', "b"}})
        for (const StaticList& l : kStaticLists)
            if (l.kind == kind)
                for (const StaticRow& r : l.rows) out.push_back(std::string(type) + " " + r.path + " | " + r.name);
    return out;
}

}  // namespace

class DataLog : public DataLogRig {};

TEST_F(DataLog, StaticItemsAreBuiltAtStartAndEveryOneNamesACell) {
    startApp();
    EXPECT_EQ(computeNumVariables(), 84);
    ASSERT_NE(pStatic_R10LogConfigReals, nullptr);
    EXPECT_STREQ(pStatic_R10LogConfigReals[0].path, "DATALOG.SPEED.A_NAME");
    EXPECT_STREQ(pStatic_R10LogConfigReals[0].name, "Speed");
    ASSERT_EQ(static_R160LogConfigBoolCount, 2);
    EXPECT_STREQ(pStatic_R160LogConfigBools[1].path, "CALMODE.CALMODE.B_NAME");
    EXPECT_STREQ(pStatic_R160LogConfigBools[1].name, "Unit in Calibration Mode");
    // The lists lie one after another in their fixed order, R20 Ints and
    // Bools empty at the end of R20 Reals.
    EXPECT_EQ(static_cast<void*>(pStatic_R10LogConfigReals), DATA_LOG_M_MEMORY_START);
    EXPECT_EQ(pStatic_R10LogConfigInts, pStatic_R10LogConfigReals + 21);
    EXPECT_EQ(pStatic_R20LogConfigReals, pStatic_R10LogConfigBools + 31);
    EXPECT_EQ(pStatic_R20LogConfigInts, pStatic_R20LogConfigReals + 10);
    EXPECT_EQ(pStatic_R20LogConfigBools, pStatic_R20LogConfigInts);
    EXPECT_EQ(pStatic_R40LogConfigReals, pStatic_R20LogConfigInts);
    EXPECT_EQ(pDynamicCfgStart, reinterpret_cast<uint8_t*>(pStatic_R160LogConfigBools + 2));
    // A user-block output keeps its outside name as the path.
    EXPECT_STREQ(pStatic_R20LogConfigReals[0].path, "CNFG_AI.AI_01.VALUE_OUT");
    std::string unresolved;
    for (int g = 0; g < dlog::kGroups; ++g)
        for (int k = 0; k < dlog::kKinds; ++k)
            for (int i = 0; i < *dlog::kLists[g][k].staticCount; ++i) {
                const DataLogItem& it = (*dlog::kLists[g][k].pStatic)[i];
                if (cell_ptr(it.cell) == nullptr) unresolved += std::string(it.path) + " ";
            }
    EXPECT_EQ(unresolved, "");
}

// The data-log block's cells of the variable directory: the status cells and
// their B_ and C_ companions, all without a rate group.
TEST_F(DataLog, DirectoryListsEveryCellOfTheBlock) {
    const struct {
        const char* field;
        char type;
    } rows[] = {
        {"B_ENABLE", 'B'},   {"COLLECTING", 'B'}, {"BUF_FULL", 'B'},   {"PRINTING", 'B'},   {"P_ERROR", 'B'},
        {"CFG_ERROR", 'B'},  {"ACTUAL_MEM", 'I'}, {"MAX_SEC", 'I'},    {"BOOL_CNT", 'I'},   {"ANALOG_CNT", 'I'},
        {"INT_CNT", 'I'},    {"CFG_ID", 'C'},     {"CONTINUING", 'B'}, {"B_COLLING", 'B'},  {"C_COLLING", 'B'},
        {"B_BUF_FULL", 'B'}, {"C_BUF_FULL", 'B'}, {"B_PRINTING", 'B'}, {"C_PRINTING", 'B'}, {"B_P_ERROR", 'B'},
        {"C_P_ERROR", 'B'},  {"B_CFG_ERR", 'B'},  {"C_CFG_ERR", 'B'},  {"B_ACT_MEM", 'I'},  {"C_ACT_MEM", 'I'},
        {"B_MAX_SEC", 'I'},  {"C_MAX_SEC", 'I'},  {"B_BOOL_CNT", 'I'}, {"C_BOOL_CNT", 'I'}, {"B_ANA_CNT", 'I'},
        {"C_ANA_CNT", 'I'},  {"B_INT_CNT", 'I'},  {"C_INT_CNT", 'I'},  {"B_CFG_ID", 'C'},   {"C_CFG_ID", 'C'},
    };
    for (const auto& r : rows) {
        const std::string name = std::string("DATALOG.TREND_DLOG.") + r.field;
        char type = 0;
        CellRef ref = 0;
        const char* rate = nullptr;
        ASSERT_EQ(get_dbug_address(name.c_str(), &type, 0, &ref, &rate), 1) << name;
        EXPECT_EQ(type, r.type) << name;
        EXPECT_STREQ(rate, "_RNone") << name;
    }
}

struct IntervalCase {
    const char* name;
    int32_t requested, sampleMs;
    int32_t group, actual;  // ActualSampleRate(group) with that interval
};
class DataLogInterval : public DataLogRig, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(DataLogInterval, RequestedIntervalIsRoundedAndGroupsSampleAtMultiples) {
    const IntervalCase& c = GetParam();
    startApp();
    setCell("DATALOG.MININTVL.I_NAME", c.requested);
    inTask([] { configure_Log_Dataspace(); });
    EXPECT_EQ(TREND_DLOG_internal.SAMPLE_MS, c.sampleMs);
    EXPECT_EQ(ActualSampleRate(c.group), c.actual);
    EXPECT_EQ(DataLog_R20Cycle, c.sampleMs);  // the first pass after configuring samples at once
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataLogInterval,
    ::testing::Values(IntervalCase{"Zero", 0, 10, 20, 20}, IntervalCase{"Ten", 10, 10, 10, 10},
                      IntervalCase{"Eleven", 11, 20, 10, 20}, IntervalCase{"Twenty", 20, 20, 40, 40},
                      IntervalCase{"TwentyFive", 25, 40, 20, 40}, IntervalCase{"FortyOne", 41, 80, 40, 80},
                      IntervalCase{"Eighty", 80, 80, 160, 160}, IntervalCase{"Hundred", 100, 160, 20, 160},
                      IntervalCase{"OneSixty", 160, 160, 80, 160}, IntervalCase{"OneSixtyOne", 161, 320, 160, 320},
                      IntervalCase{"ThreeTwenty", 320, 320, 80, 320}, IntervalCase{"ThreeTwentyOne", 321, 480, 40, 480}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataLog, IncRealTimeCarriesMicrosecondsIntoSeconds) {
    struct {
        TimeCell t;
        uint32_t ms;
        TimeCell want;
    } cases[] = {
        {{5, 0}, 160, {5, 160000}},
        {{5, 840000}, 160, {6, 0}},
        {{5, 999999}, 1, {6, 999}},
        {{0, 999000}, 2500, {3, 499000}},
    };
    for (auto& c : cases) {
        IncRealTime(&c.t, c.ms);
        EXPECT_EQ(c.t.sec, c.want.sec);
        EXPECT_EQ(c.t.usec, c.want.usec);
    }
}

// Items from the static table and from the configuration file, sampled at
// their rates, printed, and read back: every sample is the value the cell
// held at the start of its pass.
TEST_F(DataLog, PrintedLogHoldsEverySampleOfStaticAndConfiguredItems) {
    writeConfig(std::string(kHeaderLine) +
                "[Revision] Test configuration 7\n"
                "ACCEL.SS1_DERIV_USED.A_SW Accel used\n"
                "ACCEL.SS2_DERIV_USED.A_SW Second accel\n"
                "  CASC_CTRL.CASC_PID.PID_2\tCascade output\n"
                "DATALOG.CNTATOI.OUT_1 File index\n"
                "ORVEX12_IO.INIT_BLINK.B_SW Blink\n");
    startLog(10);
    setCell("CASC_CTRL.CASC_PID.PID_2", 42.5);
    setCell("ACCEL.SS1_DERIV_USED.A_SW", 1.5);
    setCell("ACCEL.SS2_DERIV_USED.A_SW", -2.5);
    setCell("DATALOG.CNTATOI.OUT_1", 3);
    setCell("DATALOG.SPEED.A_NAME", 999);
    startCollecting();
    // Speed follows the pass count; the trip input toggles every third pass.
    std::vector<float> speed;
    std::vector<int> trip;
    for (int p = 0; p < 100; ++p) {
        setCell("DATALOG.SPEED.A_NAME", 1000 + p);
        setCell("DATALOG.TURB_TRIP.B_NAME", (p / 3) % 2);
        runPasses(R10, 1);
    }
    stopCollecting();
    EXPECT_EQ(integer("DATALOG.TREND_DLOG.ANALOG_CNT"), 21 + 10 + 3 + 3 + 1 + 3);
    EXPECT_EQ(integer("DATALOG.TREND_DLOG.INT_CNT"), 4 + 1 + 2 + 1 + 1);
    EXPECT_EQ(integer("DATALOG.TREND_DLOG.BOOL_CNT"), 31 + 1 + 5 + 2);
    EXPECT_EQ(text("DATALOG.TREND_DLOG.CFG_ID"), "Test configuration 7");
    ASSERT_TRUE(print());
    ASSERT_TRUE(exists("TREND_DLOG3.log"));
    EXPECT_FALSE(exists("TREND_DLOG3.tmp"));
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.P_ERROR"), 0u);

    const LogFile f = parse(readLog("TREND_DLOG3.log"));
    EXPECT_EQ(f.head.at("banner"), "Varnekar Binary Datalog File (MOTOROLA) 1");
    EXPECT_EQ(f.head.at("version"), "1.1");
    EXPECT_EQ(f.head.at("block"), "DATALOG_TREND_DLOG");
    EXPECT_EQ(f.head.at("count"), "89");
    {
        std::istringstream ls(f.head.at("lengths"));
        int headerLen, infoLen, infoRead;
        ls >> headerLen >> infoLen >> infoRead;
        EXPECT_EQ(headerLen, 35 + infoLen);
        EXPECT_EQ(infoRead, infoLen);
    }
    EXPECT_NE(f.head.at("info").find("|Dynamic Configuration Name:Test configuration 7|MIN_INTVL:10 MS|"),
              std::string::npos);
    // Order: reals, integers, booleans; groups R10 .. R160; static, then dynamic.
    ASSERT_EQ(f.vars.size(), 89u);
    EXPECT_EQ(f.vars[0].path, "DATALOG.SPEED.A_NAME");
    EXPECT_EQ(f.vars[0].name, "Speed");
    EXPECT_EQ(f.vars[1].name, "Speed_Sig1");
    EXPECT_EQ(f.vars[21].path, "ACCEL.SS1_DERIV_USED.A_SW");
    EXPECT_EQ(f.vars[21].dynamic, 1);
    EXPECT_EQ(f.vars[21].name, "Accel used");
    // Every static column, name for name and in the table's order.
    std::vector<std::string> staticColumns;
    for (const Var& v : f.vars)
        if (v.dynamic == 0) staticColumns.push_back(v.type + " " + v.path + " | " + v.name);
    const std::vector<std::string> want = expectedStaticColumns();
    ASSERT_EQ(staticColumns.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(staticColumns[i], want[i]) << "static column " << i;

    const Var* s = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->type, "A4");
    EXPECT_EQ(s->spacing, 10);
    ASSERT_GT(s->count, 90);
    // Consecutive passes, oldest first, up to the last value set.
    expectCountingUp(*s, 999, 1099);
    const Var* t = f.find("DATALOG.TURB_TRIP.B_NAME");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->type, "b");
    ASSERT_EQ(t->count, s->count);
    for (int i = 0; i < t->count; ++i) {
        const int pass = static_cast<int>(s->samples[i]) - 1000;
        ASSERT_EQ(t->samples[i], (pass / 3) % 2) << i;
    }
    // Every group of a file that never wrapped has as many rows as it sampled.
    const Var* cascade = f.find("CASC_CTRL.CASC_PID.PID_2", 1);
    ASSERT_NE(cascade, nullptr);
    EXPECT_EQ(cascade->spacing, 80);
    EXPECT_EQ(cascade->name, "Cascade output");
    for (double v : cascade->samples) EXPECT_EQ(v, 42.5);
    // Two configured items of one group and kind: each its own column.
    for (const auto& [path, value] : {std::pair{"ACCEL.SS1_DERIV_USED.A_SW", 1.5}, {"ACCEL.SS2_DERIV_USED.A_SW", -2.5}}) {
        const Var* v = f.find(path, 1);
        ASSERT_NE(v, nullptr) << path;
        ASSERT_EQ(v->count, s->count);
        for (double x : v->samples) ASSERT_EQ(x, value) << path;
    }
    EXPECT_NEAR(cascade->count, s->count / 8, 1);
    const Var* idx = f.find("DATALOG.CNTATOI.OUT_1", 1);
    ASSERT_NE(idx, nullptr);
    EXPECT_EQ(idx->type, "I4");
    EXPECT_EQ(idx->spacing, 160);
    for (double v : idx->samples) EXPECT_EQ(v, 3);
}

TEST_F(DataLog, WrappedRingsPrintTheWholeHistoryOldestFirst) {
    // A small block: 128 KiB, the static items only.
    hk::setMemoryFigures(0x500000 + 0x20000, 0x20000);
    startLog(10);
    EXPECT_EQ(DATA_LOG_M_MEMORY_SIZE, 0x20000u);
    startCollecting();
    const int64_t rows = (p_R10LogRealsEnd - p_R10LogRealsBegin) / (4 * 21);
    ASSERT_GT(rows, 0);
    for (int p = 0; p < rows + 37; ++p) {
        setCell("DATALOG.SPEED.A_NAME", p);
        runPasses(R10, 1);
    }
    stopCollecting();
    runPasses(R160, 1);
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.BUF_FULL"), 1u);
    EXPECT_EQ(percentDatalogBufferToPrint(), 100);
    ASSERT_TRUE(print());
    const LogFile f = parse(readLog("TREND_DLOG1.log"));
    const Var* s = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->count, rows);
    expectCountingUp(*s, -1, static_cast<double>(rows + 36));
    EXPECT_NE(s->samples[0], 0);  // the oldest rows were overwritten
}

// Continuous mode: each ring is two halves; reaching the middle asks for a
// print of the first half, handed over at the next 160 ms boundary.
TEST_F(DataLog, ContinuousModePrintsEachFilledHalfInTurn) {
    hk::setMemoryFigures(0x500000 + 0x20000, 0x20000);
    startLog(10);
    setCell("DATALOG.CONTIN.B_SW", 1);
    *static_cast<TimeCell*>(cell("ORVEX12_IO.RTC.TOD")) = TimeCell{1700000000, 123456};
    setCell("DATALOG.SPEED.A_NAME", 0);
    startCollecting();
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.CONTINUING"), 1u);
    int pass = 0;
    auto countUntil = [&](const char* file) {
        for (; pass < 6000 && !exists(file); ++pass) {
            setCell("DATALOG.SPEED.A_NAME", pass + 1);
            runPasses(R10, 1);
        }
        runUntil([] { return TREND_DLOG_internal.PRT_BUSY == 0; });
        return exists(file);
    };
    ASSERT_TRUE(countUntil("RamLog/TREND_DLOG_1.log"));
    EXPECT_EQ(ContinuousDatalogCollectSection, 2);
    EXPECT_EQ(DatalogPrintRequested, 0);  // one print per hand-over
    ASSERT_TRUE(countUntil("RamLog/TREND_DLOG_2.log"));
    EXPECT_EQ(percentDatalogBufferToPrint(), 50);
    const LogFile f = parse(readLog("RamLog/TREND_DLOG_1.log"));
    const Var* s = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(s, nullptr);
    const int64_t half = (p_R10LogRealsMiddle - p_R10LogRealsBegin) / (4 * 21);
    EXPECT_EQ(s->count, half);
    // The second file holds the second half: the rows after the first's.
    const LogFile f2 = parse(readLog("RamLog/TREND_DLOG_2.log"));
    const Var* s2 = f2.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(s2, nullptr);
    ASSERT_EQ(s2->count, (p_R10LogRealsEnd - p_R10LogRealsMiddle) / (4 * 21));
    EXPECT_EQ(s2->samples.front(), s->samples.back() + 1);
    for (size_t i = 1; i < s2->samples.size(); ++i) ASSERT_EQ(s2->samples[i], s2->samples[i - 1] + 1) << i;
    // The log time is the clock's time at the start (to 5 ms), advanced 160 ms per frame.
    std::istringstream ts(f.head.at("time"));
    uint32_t sec = 0, usec = 0;
    ts >> sec >> usec;
    const int64_t since = (static_cast<int64_t>(sec) - 1700000000) * 1000000 + usec - 120000;
    EXPECT_GT(since, 0);
    EXPECT_EQ(since % 160000, 0) << sec << " " << usec;
    stopCollecting();
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.CONTINUING"), 0u);
}

// A print given in continuous mode before the first half is handed over
// finds no sample to write: it writes no file and reports it.
TEST_F(DataLog, ContinuousPrintBeforeTheFirstHandOverWritesNothing) {
    startLog(160);
    setCell("DATALOG.CONTIN.B_SW", 1);
    setCell("DATALOG.PRINT.OR", 1);
    setCell("DATALOG.EVENT_STRT.OR", 1);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    runPasses(R160, 3);
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.CONTINUING"), 1u);
    for (const char* f : {"RamLog/TREND_DLOG_0.log", "RamLog/TREND_DLOG_0.tmp", "RamLog/TREND_DLOG_1.log"})
        EXPECT_FALSE(exists(f)) << f;
    EXPECT_EQ(TREND_DLOG_internal.PRT_ERR, 1u);
    EXPECT_EQ(TREND_DLOG_internal.PRT_BUSY, 0u);
    EXPECT_TRUE(event("event 3: ERROR:  No DATA_LOG_M data handed over for a continuous print yet"));
}

struct NameCase {
    const char* name;
    int32_t index;
    const char* file;
};
class DataLogFileName : public DataLogRig, public ::testing::WithParamInterface<NameCase> {};

TEST_P(DataLogFileName, FileIndexIsClampedToOneToFive) {
    startLog(160);
    setCell("DATALOG.CNTATOI.OUT_1", GetParam().index);
    ASSERT_TRUE(print());
    EXPECT_TRUE(exists(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(Table, DataLogFileName,
                         ::testing::Values(NameCase{"Negative", -4, "TREND_DLOG1.log"},
                                           NameCase{"Zero", 0, "TREND_DLOG1.log"},
                                           NameCase{"One", 1, "TREND_DLOG1.log"},
                                           NameCase{"Four", 4, "TREND_DLOG4.log"},
                                           NameCase{"Five", 5, "TREND_DLOG5.log"},
                                           NameCase{"Seven", 7, "TREND_DLOG5.log"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataLog, PrintCommandHeldGivesOnePrintAndWaitsWhileCollecting) {
    startLog(160);
    setCell("DATALOG.PRINT.OR", 1);
    ASSERT_TRUE(runUntil([this] { return exists("TREND_DLOG1.log"); }));
    runUntil([] { return TREND_DLOG_internal.PRT_BUSY == 0; });
    std::filesystem::remove(hostFile("TREND_DLOG1.log"));
    // Held at 1: no second print.
    runPasses(R160, 5);
    EXPECT_FALSE(exists("TREND_DLOG1.log"));
    setCell("DATALOG.PRINT.OR", 0);
    runPasses(R160, 2);
    // Given while collecting: waits until collecting stops.
    startCollecting();
    setCell("DATALOG.PRINT.OR", 1);
    runPasses(R160, 5);
    EXPECT_FALSE(exists("TREND_DLOG1.log"));
    setCell("DATALOG.EVENT_STP.OR", 1);
    ASSERT_TRUE(runUntil([this] { return exists("TREND_DLOG1.log"); }));
    runUntil([] { return TREND_DLOG_internal.PRT_BUSY == 0; });
    std::filesystem::remove(hostFile("TREND_DLOG1.log"));
    // Given and taken back while collecting: nothing is printed.
    setCell("DATALOG.PRINT.OR", 0);
    setCell("DATALOG.EVENT_STP.OR", 0);
    runPasses(R160, 2);
    startCollecting();
    setCell("DATALOG.PRINT.OR", 1);
    runPasses(R160, 3);
    setCell("DATALOG.PRINT.OR", 0);
    stopCollecting();
    runPasses(R160, 5);
    EXPECT_FALSE(exists("TREND_DLOG1.log"));
}

TEST_F(DataLog, StopPrintHeldFailsEveryPrintAtTheHeaderAndLeavesNoTemporaryFile) {
    startLog(160);
    setCell("DATALOG.STOP_PRT.OR", 1);
    ASSERT_TRUE(print());
    EXPECT_FALSE(exists("TREND_DLOG1.tmp"));
    EXPECT_FALSE(exists("TREND_DLOG1.log"));
    EXPECT_EQ(TREND_DLOG_internal.PRT_ERR, 1u);
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.P_ERROR"), 1u);
    EXPECT_TRUE(event("event 3: ERROR:  Error writing DATA_LOG_M print header"));
}

// A failed print keeps the previous log of the same name whole.
TEST_F(DataLog, FullDriveAndFailedRenameKeepThePreviousLog) {
    startLog(160);
    ASSERT_TRUE(print());
    const std::string previous = readFile("TREND_DLOG1.log");
    ASSERT_GT(previous.size(), 1000u);
    setCell("DATALOG.SPEED.A_NAME", 77);
    startCollecting();
    runPasses(R160, 4);
    stopCollecting();

    hostfs::setCapacity(1);  // room for nothing
    ASSERT_TRUE(print());
    EXPECT_EQ(TREND_DLOG_internal.PRT_ERR, 1u);
    EXPECT_EQ(readFile("TREND_DLOG1.log"), previous);
    EXPECT_FALSE(exists("TREND_DLOG1.tmp"));
    hostfs::setCapacity(std::nullopt);

    hostfs::setRenameFault(true);
    ASSERT_TRUE(print());
    EXPECT_EQ(TREND_DLOG_internal.PRT_ERR, 1u);
    EXPECT_EQ(readFile("TREND_DLOG1.log"), previous);
    EXPECT_FALSE(exists("TREND_DLOG1.tmp"));
    EXPECT_TRUE(event("event 3: ERROR:  Unable to complete DATA_LOG_M print file"));
    hostfs::setRenameFault(false);

    ASSERT_TRUE(print());
    EXPECT_EQ(TREND_DLOG_internal.PRT_ERR, 0u);
    EXPECT_NE(readFile("TREND_DLOG1.log"), previous);
}

TEST_F(DataLog, NoBlockWhenTheSystemHasLessThanItsReserveFree) {
    hk::setMemoryFigures(0x500000, 0x800000);
    startLog(10);
    EXPECT_EQ(DATA_LOG_M_MEMORY_START, nullptr);
    EXPECT_TRUE(event("event 3: Not Enough RAM available for DATA_LOG_M block"));
    startCollecting();
    runPasses(R10, 40);
    EXPECT_EQ(computeNumVariables(), 0);
    EXPECT_EQ(integer("DATALOG.TREND_DLOG.MAX_SEC"), 0);
}

TEST_F(DataLog, BlockTooSmallForTheStaticItemsStopsBuildingThem) {
    // 83 items of 256 bytes: the 84th does not fit.
    hk::setMemoryFigures(0x500000 + 83 * 256 + 255, 0x800000);
    startLog(10);
    ASSERT_NE(DATA_LOG_M_MEMORY_START, nullptr);
    EXPECT_EQ(maxItemsInConfiguration, 83);
    EXPECT_TRUE(event("event 6: FATAL ERROR: Not Enough RAM available for DataLogM block values"));
    EXPECT_EQ(pDynamicCfgStart, nullptr);
    startCollecting();
    runPasses(R10, 40);
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.CFG_ERROR"), 1u);
}

TEST_F(DataLog, BlockSizeIsCappedAtEightMegabytesAndLeavesFiveFree) {
    struct {
        unsigned long freeBytes, largest;
        uint32_t size;
    } cases[] = {
        {0x2000000, 0x1000000, 0x800000},           // capped
        {0x500000 + 0x300000, 0x800000, 0x300000},  // 5 MiB stay free
        {0x500000 + 0x400000, 0x400000, 0x400000},  // exactly the reserve left
        {0x500000 + 0x3FFFFF, 0x400000, 0x3FFFFF},  // one byte short of it
        {0x500000 + 0x400001, 0x400000, 0x400000},
    };
    for (const auto& c : cases) {
        hk::setMemoryFigures(c.freeBytes, c.largest);
        startApp();
        EXPECT_EQ(DATA_LOG_M_MEMORY_SIZE, c.size) << c.freeBytes;
        EXPECT_EQ(TREND_DLOG_internal.MEM_MB, static_cast<int32_t>(c.size / 1048576));
        stopApp();
    }
}

// The refresh entry stops collecting at once, keeping the continuous mode;
// the writer task, still asked to collect, configures again and restarts.
TEST_F(DataLog, RefreshStopsCollectingAtOnceAndTheWriterConfiguresAgain) {
    startLog(10);
    startCollecting();
    setCell("DATALOG.TREND_DLOG.CONTINUING", 1);
    runPasses(R10, 5);
    uint8_t* const cur = p_R10LogRealsCur;
    inTask([] { TriggerDataLogRefresh(); });
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    EXPECT_EQ(TREND_DLOG_internal.RUN_REQ, 0u);
    runPasses(R10, 1);
    EXPECT_EQ(p_R10LogRealsCur, cur);  // nothing sampled
    EXPECT_EQ(boolean("DATALOG.TREND_DLOG.CONTINUING"), 1u);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    EXPECT_EQ(TREND_DLOG_internal.START_REQ, 1u);
}
