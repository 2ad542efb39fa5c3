// The alarm/event log through real passes of the protection slices and the
// writer task "LogEventMonitor": lines read back by Python's csv module, the
// latch times (also of an entry released before the writer ran), rotation at
// 500 KiB, a full disk, and a burst of events from three rate groups.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/protection/LATCH_AE.h"
#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "runtime/appinit.h"
#include "storage/log_evt.h"
#include "tests/protection/protection_rig.h"
#include "tests/support/paths.h"

namespace pr_test {
namespace {

struct Row {
    bool lost;
    long long ms;  // event time, or the lost count
    std::string what;
};

class EventLog : public ProtectionRig {
protected:
    void TearDown() override {
        hostfs::setCapacity(std::nullopt);
        ProtectionRig::TearDown();
    }
    std::string hostFile(const std::string& name) { return hostfs::applicationRoot() + "/" + name; }
    bool exists(const std::string& name) { return std::filesystem::exists(hostFile(name)); }
    uint64_t size(const std::string& name) { return exists(name) ? std::filesystem::file_size(hostFile(name)) : 0; }

    // The rows of the files by the independent reader; fails on a row it cannot parse.
    std::vector<Row> read(std::vector<std::string> names) {
        std::string cmd = "/usr/bin/python3 " + tc_test::sourceDir() + "/tests/storage_eventlog/read_eventlog.py";
        for (const auto& n : names) cmd += " " + hostFile(n);
        std::string out;
        if (FILE* p = popen(cmd.c_str(), "r")) {
            char buf[4096];
            size_t k;
            while ((k = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, k);
            EXPECT_EQ(pclose(p), 0) << out;
        }
        std::vector<Row> rows;
        std::istringstream in(out);
        std::string kind;
        while (in >> kind) {
            Row r{kind == "lost", 0, ""};
            in >> r.ms;
            std::getline(in, r.what);
            if (!r.what.empty() && r.what[0] == ' ') r.what.erase(0, 1);
            rows.push_back(r);
        }
        return rows;
    }
    bool writerIdle() { return LogEventHead == LogEventTail; }
    void waitWriter() { ASSERT_TRUE(hk::runUntil([this] { return writerIdle(); }, 2000)); runPasses(R10, 2); }
    void holdWriter() { ASSERT_EQ(taskSuspend(LogEventMonitorPID), 0); }
    void releaseWriter() { ASSERT_EQ(taskResume(LogEventMonitorPID), 0); }
    long long evTmMs(int n) {
        const TimeCell* t = static_cast<TimeCell*>(cell("SHUTDOWNS.ANY.EV_TM_" + std::to_string(n)));
        return static_cast<long long>(t->sec) * 1000 + t->usec / 1000;
    }
    // Also for the 80 ms OPC trip: the trip sees it after the next copy.
    void trip(const char* c) {
        setCell(c, 1);
        runPasses(R80, 1);
    }
};

TEST_F(EventLog, LinesCarryTheLatchTimesAlsoForAnEntryReleasedBeforeTheWriterRan) {
    start();
    holdWriter();
    trip("MOD_BW.MOD1_SW.B_SW");
    runPasses(R10, 7);
    trip("OPC_DATA.OPC_TRIP.AND");
    const long long t5 = evTmMs(5), t20 = evTmMs(20);
    ASSERT_GT(t5, 0);
    ASSERT_LT(t5, t20);
    setCell("MOD_BW.MOD1_SW.B_SW", 0);
    setCell("OPC_DATA.OPC_TRIP.AND", 0);
    resetShutdowns();  // both entries released, their time cells cleared
    ASSERT_EQ(evTmMs(5), 0);
    uint16_t id = 0;
    TimerValue reset{}, cleared{};
    ASSERT_EQ(GetNextLatchAEInfo(1, 0, &id, &reset), 1);
    ASSERT_EQ(GetNextLatchAEInfo(1, 1, &id, &cleared), 1);
    releaseWriter();
    waitWriter();
    const auto rows = read({"ae_eventlog.csv"});
    ASSERT_EQ(rows.size(), 5u) << "the alarm list logs the common reset too";
    EXPECT_EQ(rows[0].what, "SHUTDOWNS.ANY.SEL_5|TRIP_05 Trip Command from Modbus|500");
    EXPECT_EQ(rows[0].ms, t5);
    EXPECT_EQ(rows[1].what, "SHUTDOWNS.ANY.SEL_20|TRIP_20 Trip Cmd from OPC Device|500");
    EXPECT_EQ(rows[1].ms, t20);
    EXPECT_EQ(rows[2].what, "SHUTDOWNS.ANY|Reset command activated|1");
    EXPECT_EQ(rows[2].ms, reset.seconds * 1000LL + reset.microsec / 1000);
    EXPECT_EQ(rows[3].what, "SHUTDOWNS.ANY|All events cleared|1");
    EXPECT_EQ(rows[3].ms, cleared.seconds * 1000LL + cleared.microsec / 1000);
    EXPECT_EQ(rows[4].what, "ALARMS.ANY|Reset command activated|1");
}

struct FormatCase {
    const char* name;
    uint32_t sec, usec;
    const char* line;
};
class EventLine : public ::testing::TestWithParam<FormatCase> {};

TEST_P(EventLine, FormatsDateMonthNameAndTruncatedMilliseconds) {
    char out[128];
    const int n = FormatEventLine(out, sizeof out, TimeCell{GetParam().sec, GetParam().usec}, "A.B,t,,1");
    EXPECT_EQ(std::string(out, n > 0 ? n : 0), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Cases, EventLine,
                         ::testing::Values(FormatCase{"Truncated", 1776671086, 123999, "2026-Apr-20 07:44:46.123,A.B,t,,1\n"},
                                           FormatCase{"LastMicrosecond", 0, 999999, "1970-Jan-01 00:00:00.999,A.B,t,,1\n"},
                                           FormatCase{"LeapDay", 951782400, 0, "2000-Feb-29 00:00:00.000,A.B,t,,1\n"},
                                           FormatCase{"YearEnd", 1767225599, 500000, "2025-Dec-31 23:59:59.500,A.B,t,,1\n"}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(EventLogMonths, NumbersOutsideTheYearPrintQuestionMarks) {
    EXPECT_STREQ(ToMonthString(0), "???");
    EXPECT_STREQ(ToMonthString(13), "???");
    EXPECT_STREQ(ToMonthString(1), "Jan");
    EXPECT_STREQ(ToMonthString(12), "Dec");
}

// A log of `bytes` bytes of well-formed lines.
std::string filler(uint64_t bytes) {
    const std::string line = "2026-Jan-01 00:00:00.000,PAD.PAD,padding,,1\n";
    std::string s;
    while (s.size() + 2 * line.size() <= bytes) s += line;
    // One last line of exactly the remaining length.
    const std::string head = "2026-Jan-01 00:00:00.000,PAD.PAD,";
    s += head + std::string(bytes - s.size() - head.size() - 4, 'x') + ",,1\n";
    return s;
}

struct RotateCase {
    uint64_t before;
    bool rotatesAtFirstBatch;
};
class EventLogRotation : public EventLog, public ::testing::WithParamInterface<RotateCase> {};

TEST_P(EventLogRotation, TheLogMovesToTheBackupAtItsLimitAndLosesNoLine) {
    const RotateCase& c = GetParam();
    start();
    std::ofstream(hostFile("ae_eventlog.csv"), std::ios::binary) << filler(c.before);
    ASSERT_EQ(size("ae_eventlog.csv"), c.before);
    const size_t padLines = read({"ae_eventlog.csv"}).size();
    trip("MOD_BW.MOD1_SW.B_SW");
    waitWriter();
    EXPECT_EQ(exists("ae_eventlog.bak"), c.rotatesAtFirstBatch);
    trip("OPC_DATA.OPC_TRIP.AND");
    waitWriter();
    ASSERT_TRUE(exists("ae_eventlog.bak")) << "the log has passed its limit by now";
    const auto all = read({"ae_eventlog.bak", "ae_eventlog.csv"});
    ASSERT_EQ(all.size(), padLines + 2);
    EXPECT_EQ(all[padLines].what, "SHUTDOWNS.ANY.SEL_5|TRIP_05 Trip Command from Modbus|500");
    EXPECT_EQ(all[padLines + 1].what, "SHUTDOWNS.ANY.SEL_20|TRIP_20 Trip Cmd from OPC Device|500");
    EXPECT_LT(size("ae_eventlog.csv"), 512000u);
}

INSTANTIATE_TEST_SUITE_P(Limits, EventLogRotation,
                         ::testing::Values(RotateCase{511999, false}, RotateCase{512000, true}),
                         [](const auto& i) { return "Bytes" + std::to_string(i.param.before); });

TEST_F(EventLog, AFullDiskKeepsEveryEarlierLineAndWritesTheRestOnceThereIsRoom) {
    start();
    trip("MOD_BW.MOD1_SW.B_SW");
    waitWriter();
    const uint64_t used = size("ae_eventlog.csv");
    ASSERT_GT(used, 0u);
    // Room for about one more line only.
    uint64_t total = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(hostfs::applicationRoot()))
        if (e.is_regular_file()) total += e.file_size();
    hostfs::setCapacity(total + 70);
    testing::internal::CaptureStdout();
    for (const char* c : {"OPC_DATA.OPC_TRIP.AND", "SPDC.UDRSPD_SD.AND", "CNTRL_STOP.STP_COMPLETE.AND"}) trip(c);
    runPasses(R10, 700);  // several retries, 2 s apart
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(writerIdle()) << "entries wait while the disk is full";
    int reported = 0;
    for (const auto& m : messageLines())
        if (m == "event 6: Error writing to \"ae_eventlog.csv\" file!") ++reported;
    EXPECT_GE(reported, 3) << "an event for every failed retry";
    int lines = 0;
    for (size_t at = console.find("Error writing to"); at != std::string::npos;
         at = console.find("Error writing to", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1) << "one console line for the episode";
    const auto partial = read({"ae_eventlog.csv"});  // no cut line
    ASSERT_GE(partial.size(), 1u);
    EXPECT_EQ(partial[0].what, "SHUTDOWNS.ANY.SEL_5|TRIP_05 Trip Command from Modbus|500");
    hostfs::setCapacity(std::nullopt);
    ASSERT_TRUE(hk::runUntil([this] { return writerIdle(); }, 2000));
    runPasses(R10, 2);
    const auto rows = read({"ae_eventlog.csv"});
    std::vector<std::string> want = {"SHUTDOWNS.ANY.SEL_5|TRIP_05 Trip Command from Modbus|500",
                                     "SHUTDOWNS.ANY.SEL_20|TRIP_20 Trip Cmd from OPC Device|500",
                                     "SHUTDOWNS.ANY.SEL_25|TRIP_25 Normal Shutdown Complete|500",
                                     "SHUTDOWNS.ANY.SEL_26|TRIP_26 Underspeed Trip|500"};
    std::vector<std::string> got;
    for (const auto& r : rows) got.push_back(r.what);
    std::sort(got.begin() + 1, got.end());
    EXPECT_EQ(got, want);
}

// Producers of the 10, 40 and 80 ms groups, each queuing a number of
// events per pass of its group until the burst is complete.
int g_queued = 0;
bool g_go = false;
constexpr int kBurst = 1000;
void produce(int perPass) {
    if (!g_go) return;
    for (int k = 0; k < perPass && g_queued < kBurst; ++k, ++g_queued)
        SendEventlogEntry(&SHUTDOWNS_ANY_list.entries[g_queued % 30]);
}

TEST_F(EventLog, EveryEventOfABurstFromThreeGroupsIsEitherWrittenOrCountedAsLost) {
    g_queued = 0;
    g_go = false;
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, [] { produce(3); }});
    useSlices(R40, {[] { produce(7); }});
    useSlices(R80, {[] { produce(11); }});
    startApp();
    holdWriter();
    g_go = true;
    ASSERT_TRUE(hk::runUntil([] { return g_queued >= kBurst; }, 20000));
    releaseWriter();
    ASSERT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail && LogEventLostEvents == 0; }, 5000));
    runPasses(R10, 2);
    const auto rows = read({"ae_eventlog.csv"});
    long long written = 0, lost = 0;
    for (const auto& r : rows) (r.lost ? lost += r.ms : ++written);
    EXPECT_EQ(written, kLogEventSlots - 1) << "the ring holds 100";
    EXPECT_EQ(written + lost, kBurst);
}

// One event per 10 ms pass up to a limit.
int g_limit = 0;
void produceOne() {
    if (g_go && g_queued < g_limit) {
        SendEventlogEntry(&SHUTDOWNS_ANY_list.entries[g_queued % 30]);
        ++g_queued;
    }
}

// Two and a half times the ring with the writer running: every event reaches
// the file, in order. Then, with the ring wrapped and the writer held, it
// still takes exactly 100 and counts the rest as lost.
TEST_F(EventLog, MoreEventsThanTheRingHoldsPassThroughItInOrderAndAWrappedRingHoldsOneHundred) {
    constexpr int kSteady = 250, kHeld = 150;
    g_queued = 0;
    g_limit = kSteady;
    g_go = false;
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, produceOne});
    startApp();
    g_go = true;
    ASSERT_TRUE(hk::runUntil([] { return g_queued >= kSteady; }, 20000));
    waitWriter();
    EXPECT_EQ(LogEventLostEvents, 0);
    ASSERT_NE(LogEventTail, 0) << "the ring has wrapped";
    holdWriter();
    g_limit = kSteady + kHeld;
    ASSERT_TRUE(hk::runUntil([] { return g_queued >= kSteady + kHeld; }, 20000));
    releaseWriter();
    ASSERT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail && LogEventLostEvents == 0; }, 5000));
    runPasses(R10, 2);
    const auto rows = read({"ae_eventlog.csv"});
    const int held = kLogEventSlots - 1;
    ASSERT_EQ(rows.size(), static_cast<size_t>(kSteady + held + 1));
    for (int k = 0; k < kSteady + held; ++k) {
        std::string want = SHUTDOWNS_ANY_list.entries[k % 30].text;
        want.replace(want.find(",,"), 2, "|");
        want.replace(want.find(','), 1, "|");
        ASSERT_FALSE(rows[k].lost) << k;
        ASSERT_EQ(rows[k].what, want) << k;
    }
    EXPECT_TRUE(rows.back().lost);
    EXPECT_EQ(rows.back().ms, kHeld - held);
}

TEST_F(EventLog, ADiskWithRoomToSpareTakesTheLines) {
    start();
    hostfs::setCapacity(1000000);
    trip("MOD_BW.MOD1_SW.B_SW");
    trip("OPC_DATA.OPC_TRIP.AND");
    waitWriter();
    const auto rows = read({"ae_eventlog.csv"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].what, "SHUTDOWNS.ANY.SEL_20|TRIP_20 Trip Cmd from OPC Device|500");
}

TEST_F(EventLog, ALogThatCannotBeOpenedIsReportedOnceAndWrittenOnceItCan) {
    start();
    std::filesystem::create_directory(hostFile("ae_eventlog.csv"));  // cannot be opened as a file
    trip("MOD_BW.MOD1_SW.B_SW");
    runPasses(R10, 1000);  // several retries
    EXPECT_FALSE(writerIdle());
    int reports = 0;
    for (const auto& m : messageLines())
        if (m == "event 6: Error opening \"ae_eventlog.csv\" file!") ++reports;
    EXPECT_EQ(reports, 1);
    std::filesystem::remove(hostFile("ae_eventlog.csv"));
    waitWriter();
    const auto rows = read({"ae_eventlog.csv"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].what, "SHUTDOWNS.ANY.SEL_5|TRIP_05 Trip Command from Modbus|500");
}

}  // namespace
}  // namespace pr_test
