// The remote nodes' alarm summary and trip list on the whole program: a
// simulated RTD node on the CAN bus raises its channels' alarm levels and
// trips, and the lists latch them with their texts in the event log, the
// first-out, the remote-node trip reaching the 10 ms shutdown logic, the
// override while no node is in use, the reset with an input still true, the
// cleared event one microsecond after the reset, the network alarms and the
// service-side size of both lists.
#include "app/control/SD_LOGIC.cells.h"
#include "app/protection/LATCH_AE.h"
#include "runtime/appmem.h"
#include "tests/remote_alarms/node_rig.h"
#include "tests/remote_alarms/remote_rig.h"

namespace {

using namespace ra_node;

class Lists : public NodeRig {
protected:
    void hornAcknowledged(double delay);
};

TEST_F(Lists, AnRtdTripLatchesInThePassItRisesWithItsRecordAsFirstOut) {
    // Channels 1 and 3: a trip at 200 F, the alarm level above it.
    levels(1, 300.0, 200.0);
    levels(3, 300.0, 200.0);
    start();
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 0u);
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u);
    // The service-side size counts the reset and clear records of the list's
    // head as well as the latched entries.
    const int head = GetLatchAESize(4);
    for (int k : {3, 1}) {
        SCOPED_TRACE(k);
        word(k, k212F);
        const std::string trip = "VLTR_ALMS.SD_VL3_RTD" + std::to_string(k) + "_LVL2.B_NAME";
        ASSERT_GT(passesUntil(trip, 1, 10), 0);
        EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_" + std::to_string(17 + k)), 1u) << "same pass";
        EXPECT_EQ(integer("VLTR_OUTS.VLTR_TRIP_FO.I_NAME"), 20) << "the first one stays first";
        EXPECT_EQ(boolean("VLTR_OUTS.VLTR_TRIP_SUM.B_NAME"), 1u);
        EXPECT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 1u);
        EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u) << "a trip is not a summary alarm";
    }
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.ALM_NO_20"), 1);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.ALM_NO_18"), 2);
    EXPECT_EQ(GetLatchAESize(4), head + 2);
    // The 10 ms shutdown logic reads the remote-node trip through its copy.
    runPasses(R10, 2);
    EXPECT_EQ(r10::SD_LOGIC.VL_SUMMARY_B_NAME, 1u);
    const auto rows = eventLog();
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM.SEL_20|Node 3 RTD_3 Level 2 Trip|500"), 1);
    EXPECT_EQ(count(rows, "VLTR_ALMS.TRIP_SUM.SEL_18|Node 3 RTD_1 Level 2 Trip|500"), 1);
}

TEST_F(Lists, WithoutRemoteNodesNothingLatchesAndAResetEmptiesBoth) {
    levels(1, 150.0, 200.0);
    levels(2, 150.0, 200.0);
    start();
    word(1, k212F);
    feed(4);
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 1u);
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_71"), 1u);
    // The remote nodes taken out of use from the service tool.
    serviceWrite("CNFG_CAN2.USE_VL.IN", 0);
    feed(4);
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_SDS.OR"), 1u);
    reset();
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 0u) << "the override clears with the reset";
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u);
    EXPECT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 0u);
    word(2, k212F);
    feed(4);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_19"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LOGICAL_OR"), 1u) << "the inputs are still seen";
}

TEST_F(Lists, AnEntryWhoseInputStaysTrueSurvivesTheResetWhichIsLoggedOncePerRise) {
    levels(5, 300.0, 200.0);
    start();
    const auto before = eventLog();
    word(5, k212F);
    ASSERT_GT(passesUntil("VLTR_ALMS.TRIP_SUM.SEL_22", 1, 10), 0);
    reset();
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_22"), 1u);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 22);
    // The input goes; the next reset clears the entry and the list.
    word(5, k77F);
    feed(2);
    reset();
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
    const auto added = [&](const std::string& what) { return count(rows, what) - count(before, what); };
    EXPECT_EQ(added("VLTR_ALMS.TRIP_SUM|Reset command activated|1"), 2) << "one per rising edge";
    EXPECT_EQ(added("VLTR_ALMS.TRIP_SUM|All events cleared|1"), 1);
    EXPECT_EQ(added("VLTR_ALMS.SUMMARY|Reset command activated|1"), 2);

    // The reset held from the service tool: an entry whose input goes while
    // it is held is released, another staying, and the list's counter,
    // changed flag and size show the change to a reader.
    word(5, k320F);
    serviceWrite("VLTR_ALMS.SUMMARY.IN_90", 1);
    ASSERT_GT(passesUntil("VLTR_ALMS.SUMMARY.SEL_79", 1, 10), 0);
    ASSERT_GT(passesUntil("VLTR_ALMS.SUMMARY.SEL_90", 1, 10), 0);
    serviceWrite("CNFG_CAN2.VL_RST.IN_2", 1);
    feed(2);
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_90"), 1u);
    const int32_t changes = LatchAeChangeCounters[2];
    const int size = GetLatchAESize(3);
    serviceWrite("VLTR_ALMS.SUMMARY.IN_90", 0);
    ASSERT_GT(passesUntil("VLTR_ALMS.SUMMARY.SEL_90", 0, 4), 0);
    EXPECT_EQ(bEventStatusChanged3, 1);
    EXPECT_EQ(LatchAeChangeCounters[2], changes + 1);
    EXPECT_EQ(GetLatchAESize(3), size - 1);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_79"), 1u);
    serviceWrite("CNFG_CAN2.VL_RST.IN_2", 0);
}

TEST_F(Lists, NetworkErrorsLatchAfterTheirDelayAndTheRealTimeRecordNever) {
    start();
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_88"), 0u);
    // The CAN controller of the remote-node network reports its receiver
    // error-passive.
    mscan::setErrorState(1, 2, 0);
    // The delay runs from the first 80 ms pass that sees the 20 ms network
    // block's error flag: 2.0 s of 0.08 s steps after it.
    ASSERT_GT(passesUntil("CNFG_CAN2.COPEN_ERRS.OR", 1, 2), 0);
    for (int p = 0; p < 3 && integer("VLTR_ALMS.ERR_DELAY.R_TIME") == 0; ++p) feed(1);
    ASSERT_NE(integer("VLTR_ALMS.ERR_DELAY.R_TIME"), 0);
    EXPECT_EQ(passesUntil("VLTR_ALMS.COPEN_FAULT.B_NAME", 1, 40), 25);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_88"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_89"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.RT_ERRS.EQ"), 1u);
    EXPECT_EQ(count(eventLog(), "VLTR_ALMS.SUMMARY.SEL_88|Errors on TX/RX messages|500"), 1);
    mscan::setErrorState(1, 0, 0);
    EXPECT_GT(passesUntil("VLTR_ALMS.COPEN_FAULT.B_NAME", 0, 2), 0);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_88"), 1u) << "latched until a reset";
}

// The bus falls silent: the port's link error latches its entry with its
// text and reaches the unit's alarm list.
TEST_F(Lists, TheSilentBusLatchesTheLinkErrorEntry) {
    start();
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.LATCH_AE"), 0u);
    // (The silence before the node came up latched it once already.)
    const std::string logged = "VLTR_ALMS.SUMMARY.SEL_87|CAN2 Communication Link Error|500";
    const int before = count(eventLog(), logged);
    sending_ = false;
    ASSERT_GT(passesUntil("CNFG_CAN2.CAN2_FLT.AND", 1, 100), 0);
    feed(2);
    EXPECT_EQ(boolean("VLTR_ALMS.CAN2_LINK_LOST.B_NAME"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_87"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.VL_SUMMARY.B_NAME"), 1u);
    EXPECT_EQ(boolean("VLTR_OUTS.VLTR_ALM_SUM.B_NAME"), 1u);
    EXPECT_EQ(count(eventLog(), logged), before + 1);
}

// The unit's alarm horn, sounded by the remote-node alarm, acknowledges
// itself after its delay; that acknowledges the summary's horn, whichever
// 40 ms pass the acknowledge falls in (the default 5.0 s and a pass longer).
void Lists::hornAcknowledged(double delay) {
    setting("ALARMS.ACK_D.DLY_TIME", delay);
    levels(8, 150.0, 300.0);
    start();
    const auto before = eventLog();
    word(8, k176F);
    ASSERT_GT(passesUntil("VLTR_ALMS.SUMMARY.SEL_85", 1, 10), 0);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.HORN"), 1u);
    EXPECT_GT(passesUntil("VLTR_ALMS.SUMMARY.HORN", 0, 100), 0);
    const std::string ack = "VLTR_ALMS.SUMMARY|Acknowledge command activated|1";
    EXPECT_EQ(count(eventLog(), ack) - count(before, ack), 1);
}

TEST_F(Lists, TheAlarmHornAcknowledgesTheSummaryAndIsLogged) { hornAcknowledged(5.0); }
TEST_F(Lists, TheAlarmHornAcknowledgesTheSummaryOnAnyPass) { hornAcknowledged(5.04); }

// How a case raises its entry through the program's inputs.
enum class Raise {
    ChannelFault,   // analog input k in use, its word carrying the fault flag
    OutputFault,    // analog output k in use at 12 mA, the node reading back 0 mA
    Level1,         // analog input k's level 1 in use, the input above it
    Level2,         // analog input k's level 2 in use as an alarm, the input above it
    Trip,           // analog input k's level 2 in use as a trip, the input above it
    SignalFault,    // analog input k in use with its signal-fault trip, faulted
    Vibration,      // analog input k the first vibration input, one required, faulted
    LinkLost,       // no node enabled, the bus falling silent
    Spare,          // the spare entry's input written from the service tool
};

struct RecordCase {
    const char* name;
    const char* list;  // SUMMARY or TRIP_SUM
    Raise raise;
    int k;
    int record;
    const char* text;
};

// On the whole program with the analog node on the bus: each entry of the
// analog node, the network and the vibration signals raised through the
// node's words, the channel settings and the bus.
class Records : public NodeRig, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(Records, LatchWithTheirTextsAndFirstOut) {
    const RecordCase& c = GetParam();
    const std::string list = std::string("VLTR_ALMS.") + c.list;
    const bool summary = std::string(c.list) == "SUMMARY";
    if (c.raise == Raise::LinkLost) withoutNodes();
    else withAnalogNode();
    switch (c.raise) {
        case Raise::ChannelFault: analogChannel(c.k); break;
        case Raise::OutputFault:
            setting("_ub" + std::to_string(40 + c.k) + ".FUNCT.IN", 2);
            setting("_ub" + std::to_string(40 + c.k) + ".CHAN_LO.IN", 12.0);
            setting("_ub" + std::to_string(40 + c.k) + ".CHAN_HI.IN", 12.0);
            readback(c.k, nodeMa(12.0));
            break;
        case Raise::Level1:
            analogChannel(c.k);
            analogLevels(c.k, {{"USE_SP1.IN", 1}, {"ALM_SP1.IN", 60.0}});
            break;
        case Raise::Level2:
            analogChannel(c.k);
            analogLevels(c.k, {{"USE_SP2.IN", 1}, {"ALM_SP2.IN", 70.0}});
            break;
        case Raise::Trip:
            analogChannel(c.k);
            analogLevels(c.k, {{"TRIP_SP2.IN", 1}, {"ALM_SP2.IN", 70.0}});
            break;
        case Raise::SignalFault:
            analogChannel(c.k);
            setting("_ub" + std::to_string(24 + c.k) + ".SIGFLT_TRIP.IN", 1);
            break;
        case Raise::Vibration:
            analogChannel(c.k, 5);
            setting("VLTR_VIB.WIZ_RQRD.IN", 1);
            break;
        case Raise::LinkLost:
        case Raise::Spare: break;
    }
    start();
    const std::string entry = list + ".SEL_" + std::to_string(c.record);
    ASSERT_EQ(boolean(entry), 0u);
    ASSERT_EQ(boolean(list + ".LATCH_AE"), 0u) << "the start left the list empty";
    const std::string logged = entry + "|" + c.text + "|500";
    const int before = count(eventLog(), logged);
    switch (c.raise) {
        case Raise::ChannelFault:
        case Raise::SignalFault:
        case Raise::Vibration: analogWord(c.k, kChannelFault | nodeMa(12.0)); break;
        case Raise::OutputFault: readback(c.k, 0); break;
        case Raise::Level1: analogWord(c.k, nodeMa(14.0)); break;  // 62.5
        case Raise::Level2:
        case Raise::Trip: analogWord(c.k, nodeMa(16.0)); break;  // 75
        case Raise::LinkLost: sending_ = false; break;
        case Raise::Spare: serviceWrite("VLTR_ALMS.SUMMARY.IN_90", 1); break;
    }
    ASSERT_GT(passesUntil(entry, 1, 100), 0) << entry;
    feed(1);
    EXPECT_EQ(integer(summary ? "VLTR_OUTS.VLTR_ALM_FO.I_NAME" : "VLTR_OUTS.VLTR_TRIP_FO.I_NAME"), c.record);
    EXPECT_EQ(boolean(summary ? "ALM_LOGIC.VL_SUMMARY.B_NAME" : "SD_LOGIC.VL_SUMMARY.B_NAME"), 1u);
    EXPECT_EQ(boolean(summary ? "VLTR_OUTS.VLTR_ALM_SUM.B_NAME" : "VLTR_OUTS.VLTR_TRIP_SUM.B_NAME"), 1u);
    EXPECT_EQ(count(eventLog(), logged) - before, 1) << logged;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Records,
    ::testing::Values(
        RecordCase{"AnalogChannel1", "SUMMARY", Raise::ChannelFault, 1, 11, "Node 1 AI_1 Fault"},
        RecordCase{"AnalogChannel5", "SUMMARY", Raise::ChannelFault, 5, 15, "Node 1 AI_5 Fault"},
        RecordCase{"AnalogChannel8", "SUMMARY", Raise::ChannelFault, 8, 18, "Node 1 AI_8 Fault"},
        RecordCase{"Output2", "SUMMARY", Raise::OutputFault, 2, 20, "Node 1 AO_2 Fault"},
        RecordCase{"AnalogLevel1Of1", "SUMMARY", Raise::Level1, 1, 39, "Node 1 AI 1 Alarm Level 1"},
        RecordCase{"AnalogLevel2Of8", "SUMMARY", Raise::Level2, 8, 54, "Node 1 AI 8 Alarm Level 2"},
        RecordCase{"CanLinkLost", "SUMMARY", Raise::LinkLost, 0, 87, "CAN2 Communication Link Error"},
        RecordCase{"Spare", "SUMMARY", Raise::Spare, 0, 90, "SPARE_90"},
        RecordCase{"VibrationSignals", "TRIP_SUM", Raise::Vibration, 1, 1, "Loss of VIB Signals -Trip"},
        RecordCase{"AnalogTrip1", "TRIP_SUM", Raise::Trip, 1, 2, "Node 1 AI_1 Level 2 Trip"},
        RecordCase{"AnalogTrip2", "TRIP_SUM", Raise::Trip, 2, 3, "Node 1 AI_2 Level 2 Trip"},
        RecordCase{"AnalogTrip3", "TRIP_SUM", Raise::Trip, 3, 4, "Node 1 AI_3 Level 2 Trip"},
        RecordCase{"AnalogTrip4", "TRIP_SUM", Raise::Trip, 4, 5, "Node 1 AI_4 Level 2 Trip"},
        RecordCase{"AnalogTrip5", "TRIP_SUM", Raise::Trip, 5, 6, "Node 1 AI_5 Level 2 Trip"},
        RecordCase{"AnalogTrip6", "TRIP_SUM", Raise::Trip, 6, 7, "Node 1 AI_6 Level 2 Trip"},
        RecordCase{"AnalogTrip7", "TRIP_SUM", Raise::Trip, 7, 8, "Node 1 AI_7 Level 2 Trip"},
        RecordCase{"AnalogTrip8", "TRIP_SUM", Raise::Trip, 8, 9, "Node 1 AI_8 Level 2 Trip"},
        RecordCase{"SignalFault1", "TRIP_SUM", Raise::SignalFault, 1, 26, "Node 1 AI_1 Sig Fault Trip"},
        RecordCase{"SignalFault2", "TRIP_SUM", Raise::SignalFault, 2, 27, "Node 1 AI_2 Sig Fault Trip"},
        RecordCase{"SignalFault3", "TRIP_SUM", Raise::SignalFault, 3, 28, "Node 1 AI_3 Sig Fault Trip"},
        RecordCase{"SignalFault4", "TRIP_SUM", Raise::SignalFault, 4, 29, "Node 1 AI_4 Sig Fault Trip"},
        RecordCase{"SignalFault5", "TRIP_SUM", Raise::SignalFault, 5, 30, "Node 1 AI_5 Sig Fault Trip"},
        RecordCase{"SignalFault6", "TRIP_SUM", Raise::SignalFault, 6, 31, "Node 1 AI_6 Sig Fault Trip"},
        RecordCase{"SignalFault7", "TRIP_SUM", Raise::SignalFault, 7, 32, "Node 1 AI_7 Sig Fault Trip"},
        RecordCase{"SignalFault8", "TRIP_SUM", Raise::SignalFault, 8, 33, "Node 1 AI_8 Sig Fault Trip"}),
    [](const auto& i) { return std::string(i.param.name); });

}  // namespace

namespace {

using namespace ra_test;

// The lists' side of the horn acknowledge on the lists' slices alone.
class ListsOnCells : public RemoteRig {};

TEST_F(ListsOnCells, TheAlarmHornAcknowledgesTheSummaryAndIsLogged) {
    start();
    g_rtdAlarm1[7] = 1;
    runPasses(ra_test::R80, 1);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_85"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.HORN"), 1u);
    setCell("ALARMS.ACK_HOLD.OR", 1);
    runPasses(ra_test::R80, 2);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.HORN"), 0u);
    EXPECT_EQ(count(eventLog(), "VLTR_ALMS.SUMMARY|Acknowledge command activated|1"), 1);
}

}  // namespace
