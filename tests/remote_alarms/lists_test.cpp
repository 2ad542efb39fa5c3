// The remote nodes' alarm summary and trip list: entries latched with their
// texts in the event log, the first-out, the remote-node trip reaching the
// 10 ms shutdown logic, the override while no node is in use, the reset
// with an input still true, the cleared event one microsecond after the
// reset, the network alarms and the service-side size of both lists.
#include "app/control/SD_LOGIC.cells.h"
#include "app/protection/LATCH_AE.h"
#include "tests/remote_alarms/remote_rig.h"

using namespace ra_test;

namespace {

class Lists : public RemoteRig {};

TEST_F(Lists, AnRtdTripLatchesInThePassItRisesWithItsRecordAsFirstOut) {
    start();
    for (int k : {2, 0}) {
        g_rtdTrip[k] = 1;
        runPasses(R80, 1);
        const int record = 18 + k;
        EXPECT_EQ(boolean("VLTR_ALMS.SD_VL3_RTD" + std::to_string(k + 1) + "_LVL2.B_NAME"), 1u);
        EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_" + std::to_string(record)), 1u) << "same pass";
        EXPECT_EQ(integer("VLTR_OUTS.VLTR_TRIP_FO.I_NAME"), 20) << "the first one stays first";
        EXPECT_EQ(boolean("VLTR_OUTS.VLTR_TRIP_SUM.B_NAME"), 1u);
        EXPECT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 1u);
        EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u) << "a trip is not a summary alarm";
    }
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.ALM_NO_20"), 1);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.ALM_NO_18"), 2);
    EXPECT_EQ(GetLatchAESize(4), 2);
    // The 10 ms shutdown logic reads the remote-node trip through its copy.
    runPasses(R10, 2);
    EXPECT_EQ(r10::SD_LOGIC.VL_SUMMARY_B_NAME, 1u);
    const auto rows = eventLog();
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM.SEL_20|Node 3 RTD_3 Level 2 Trip|500"), 1);
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM.SEL_18|Node 3 RTD_1 Level 2 Trip|500"), 1);
}

struct RecordCase {
    const char* name;
    const char* list;   // SUMMARY or TRIP_SUM
    const char* input;  // set on its cell for the rig
    int record;
    const char* text;
};

class Records : public Lists, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(Records, LatchWithTheirTextsAndFirstOut) {
    const RecordCase& c = GetParam();
    const std::string list = std::string("VLTR_ALMS.") + c.list;
    const bool summary = std::string(c.list) == "SUMMARY";
    start();
    setCell(c.input, 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean(list + ".SEL_" + std::to_string(c.record)), 1u);
    EXPECT_EQ(integer(summary ? "VLTR_OUTS.VLTR_ALM_FO.I_NAME" : "VLTR_OUTS.VLTR_TRIP_FO.I_NAME"), c.record);
    EXPECT_EQ(boolean(summary ? "ALM_LOGIC.VL_SUMMARY.B_NAME" : "SD_LOGIC.VL_SUMMARY.B_NAME"), 1u);
    EXPECT_EQ(boolean(summary ? "VLTR_OUTS.VLTR_ALM_SUM.B_NAME" : "VLTR_OUTS.VLTR_TRIP_SUM.B_NAME"), 1u);
    const std::string logged = list + ".SEL_" + std::to_string(c.record) + "|" + c.text + "|500";
    EXPECT_EQ(count(eventLog(), logged), 1) << logged;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Records,
    ::testing::Values(RecordCase{"AnalogChannel1", "SUMMARY", "_ub33.CHNL_FLT.B_NAME", 11, "Node 1 AI_1 Fault"},
                      RecordCase{"AnalogChannel8", "SUMMARY", "_ub40.CHNL_FLT.B_NAME", 18, "Node 1 AI_8 Fault"},
                      RecordCase{"Output2", "SUMMARY", "_ub42.DBK_FLT.B_NAME", 20, "Node 1 AO_2 Fault"},
                      RecordCase{"AnalogLevel1Of1", "SUMMARY", "_ub25.ALARM_LVL1.B_NAME", 39,
                                 "Node 1 AI 1 Alarm Level 1"},
                      RecordCase{"AnalogLevel2Of8", "SUMMARY", "_ub32.ALARM_LVL2.B_NAME", 54,
                                 "Node 1 AI 8 Alarm Level 2"},
                      RecordCase{"CanLinkLost", "SUMMARY", "CNFG_CAN2.CAN2_FLT.AND", 87,
                                 "CAN2 Communication Link Error"},
                      RecordCase{"Spare", "SUMMARY", "VLTR_ALMS.SUMMARY.IN_90", 90, "SPARE_90"},
                      RecordCase{"VibrationSignals", "TRIP_SUM", "VLTR_ALMS.VIB_SIGS_LOST.B_NAME", 1,
                                 "Loss of VIB Signals -Trip"},
                      RecordCase{"AnalogTrip1", "TRIP_SUM", "_ub25.TRIP_LVL2.B_NAME", 2, "Node 1 AI_1 Level 2 Trip"},
                      RecordCase{"AnalogTrip2", "TRIP_SUM", "_ub26.TRIP_LVL2.B_NAME", 3, "Node 1 AI_2 Level 2 Trip"},
                      RecordCase{"AnalogTrip3", "TRIP_SUM", "_ub27.TRIP_LVL2.B_NAME", 4, "Node 1 AI_3 Level 2 Trip"},
                      RecordCase{"AnalogTrip4", "TRIP_SUM", "_ub28.TRIP_LVL2.B_NAME", 5, "Node 1 AI_4 Level 2 Trip"},
                      RecordCase{"AnalogTrip5", "TRIP_SUM", "_ub29.TRIP_LVL2.B_NAME", 6, "Node 1 AI_5 Level 2 Trip"},
                      RecordCase{"AnalogTrip6", "TRIP_SUM", "_ub30.TRIP_LVL2.B_NAME", 7, "Node 1 AI_6 Level 2 Trip"},
                      RecordCase{"AnalogTrip7", "TRIP_SUM", "_ub31.TRIP_LVL2.B_NAME", 8, "Node 1 AI_7 Level 2 Trip"},
                      RecordCase{"AnalogTrip8", "TRIP_SUM", "_ub32.TRIP_LVL2.B_NAME", 9, "Node 1 AI_8 Level 2 Trip"},
                      RecordCase{"SignalFault1", "TRIP_SUM", "_ub25.AND.AND", 26, "Node 1 AI_1 Sig Fault Trip"},
                      RecordCase{"SignalFault2", "TRIP_SUM", "_ub26.AND.AND", 27, "Node 1 AI_2 Sig Fault Trip"},
                      RecordCase{"SignalFault3", "TRIP_SUM", "_ub27.AND.AND", 28, "Node 1 AI_3 Sig Fault Trip"},
                      RecordCase{"SignalFault4", "TRIP_SUM", "_ub28.AND.AND", 29, "Node 1 AI_4 Sig Fault Trip"},
                      RecordCase{"SignalFault5", "TRIP_SUM", "_ub29.AND.AND", 30, "Node 1 AI_5 Sig Fault Trip"},
                      RecordCase{"SignalFault6", "TRIP_SUM", "_ub30.AND.AND", 31, "Node 1 AI_6 Sig Fault Trip"},
                      RecordCase{"SignalFault7", "TRIP_SUM", "_ub31.AND.AND", 32, "Node 1 AI_7 Sig Fault Trip"},
                      RecordCase{"SignalFault8", "TRIP_SUM", "_ub32.AND.AND", 33, "Node 1 AI_8 Sig Fault Trip"}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(Lists, WithoutRemoteNodesNothingLatchesAndAResetEmptiesBoth) {
    start();
    g_rtdTrip[0] = 1;
    g_rtdAlarm1[0] = 1;
    runPasses(R80, 1);
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 1u);
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_71"), 1u);
    setCell("CNFG_CAN2.ENA_VL.OR", 0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_SDS.OR"), 1u);
    resetLists();
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 0u) << "the override clears with the reset";
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u);
    EXPECT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 0u);
    g_rtdTrip[1] = 1;
    runPasses(R80, 3);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_19"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LOGICAL_OR"), 1u) << "the inputs are still seen";
}

TEST_F(Lists, AnEntryWhoseInputStaysTrueSurvivesTheResetWhichIsLoggedOncePerRise) {
    start();
    g_rtdTrip[4] = 1;
    runPasses(R80, 1);
    setCell("CNFG_CAN2.VL_RST.IN_2", 1);
    runPasses(R80, 4);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_22"), 1u);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 22);
    setCell("CNFG_CAN2.VL_RST.IN_2", 0);
    runPasses(R80, 1);
    // The input goes; the next reset clears the entry and the list.
    g_rtdTrip[4] = 0;
    setCell("CNFG_CAN2.VL_RST.IN_2", 1);
    runPasses(R80, 1);
    setCell("CNFG_CAN2.VL_RST.IN_2", 0);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_22"), 0u);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 0);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 0u);
    uint16_t id = 0;
    TimerValue reset{}, cleared{};
    ASSERT_EQ(GetNextLatchAEInfo(4, 0, &id, &reset), 1);
    ASSERT_EQ(GetNextLatchAEInfo(4, 1, &id, &cleared), 1);
    EXPECT_EQ(static_cast<long long>(cleared.seconds) * 1000000 + cleared.microsec,
              static_cast<long long>(reset.seconds) * 1000000 + reset.microsec + 1);
    const auto rows = eventLog();
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM|Reset command activated|1"), 2) << "one per rising edge";
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM|All events cleared|1"), 1);
    EXPECT_EQ(count(rows, "VLTR_ALMS.SUMMARY|Reset command activated|1"), 2);
}

TEST_F(Lists, NetworkErrorsLatchAfterTheirDelayAndTheRealTimeRecordNever) {
    start();
    setCell("CNFG_CAN2.COPEN_ERRS.OR", 1);
    // 2.0 s of 0.08 s steps.
    EXPECT_EQ(passesUntil(R80, "VLTR_ALMS.COPEN_FAULT.B_NAME", 1, 40), 26);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_88"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_89"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.RT_ERRS.EQ"), 1u);
    EXPECT_EQ(count(eventLog(), "VLTR_ALMS.SUMMARY.SEL_88|Errors on TX/RX messages|500"), 1);
    setCell("CNFG_CAN2.COPEN_ERRS.OR", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("VLTR_ALMS.COPEN_FAULT.B_NAME"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_88"), 1u) << "latched until a reset";
}

TEST_F(Lists, TheAlarmHornAcknowledgesTheSummaryAndIsLogged) {
    start();
    g_rtdAlarm1[7] = 1;
    runPasses(R80, 1);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_85"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.HORN"), 1u);
    setCell("ALARMS.HORN_Z.ZMINUS1_B", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.HORN"), 0u);
    EXPECT_EQ(count(eventLog(), "VLTR_ALMS.SUMMARY|Acknowledge command activated|1"), 1);
}

}  // namespace
