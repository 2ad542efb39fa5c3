// The alarm/event log on the whole program and its writer task
// "LogEventMonitor": trips raised through the program's inputs (the OPC
// link's trip command, the remote station's trip command and the tunable
// trip, written as their writers write them), lines read back by Python's
// csv module, the latch times (also of an entry released before the writer
// ran), rotation at 500 KiB, a full disk, and a burst of events from three
// rate groups.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/protection/LATCH_AE.h"
#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "runtime/appinit.h"
#include "storage/log_evt.h"
#include "tests/protection/whole_rig.h"
#include "tests/support/paths.h"

namespace pr_test {
namespace {

struct Row {
    bool lost;
    long long ms;  // event time, or the lost count
    std::string what;
};

using ref_test::R10;
using ref_test::R40;
using ref_test::R80;

// The trips the cases raise, their entries and texts.
constexpr int kOpcTrip = 20, kRemoteTrip = 27, kTunableTrip = 30;
const std::string kOpcLine = "SHUTDOWNS.ANY.SEL_20|TRIP_20 Trip Cmd from OPC Device|500";
const std::string kRemoteLine = "SHUTDOWNS.ANY.SEL_27|TRIP_27 Trip Cmd from Farview|500";
const std::string kTunableLine = "SHUTDOWNS.ANY.SEL_30|TRIP_30 Tunable TRIP (SIM Mode)|500";

class EventLog : public WholeRig {
protected:
    void TearDown() override {
        hostfs::setCapacity(std::nullopt);
        WholeRig::TearDown();
    }
    // Ready at standstill with the OPC link's writes and trip and the remote
    // trip in use; the log written up to here and read.
    void start() {
        ready({{"OPC_DATA.ENA_WRITES.IN", 1}, {"OPC_DATA.ENA_OPC_TRIP.IN", 1}, {"SD_LOGIC.USE_RMTTRIP.IN", 1}});
        waitWriter();
        logged_ = exists("ae_eventlog.csv") ? read({"ae_eventlog.csv"}).size() : 0;
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
    // The rows of the log the case added (after those of the start).
    std::vector<Row> added() {
        auto rows = read({"ae_eventlog.csv"});
        rows.erase(rows.begin(), rows.begin() + static_cast<long>(std::min(logged_, rows.size())));
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
    // Trip n's command given (or taken back) as its writer gives it; the
    // case runs on until it has latched.
    void command(int n, bool on) {
        switch (n) {
            case kOpcTrip: tune("OPC_DATA.BW_LIST.IN_3", on ? 1 : 0); break;
            case kRemoteTrip: tune("SD_LOGIC.RMT_TRIP.IN", on ? 1 : 0); break;
            default: tune("SHUTDOWNS.TUNABLE_TRIP.IN", on ? 1 : 0); break;
        }
    }
    void trip(int n) {
        command(n, true);
        for (int k = 0; k < 100 && !on(any("SEL_", n)); ++k) run10(1);
        ASSERT_TRUE(on(any("SEL_", n))) << "trip " << n << " never latched";
    }
    // A producer of events run after the program's own slices of a group:
    // no input of the program queues hundreds of events at once.
    void withProducer(int group, SliceFn producer) {
        std::vector<SliceFn> slices = tc_test::programSliceTable()[group];
        slices.push_back(producer);
        useSlices(group, slices);
    }
    size_t logged_ = 0;
};

TEST_F(EventLog, LinesCarryTheLatchTimesAlsoForAnEntryReleasedBeforeTheWriterRan) {
    start();
    holdWriter();
    trip(kTunableTrip);
    runPasses(R10, 7);
    trip(kOpcTrip);
    const long long t30 = evTmMs(kTunableTrip), t20 = evTmMs(kOpcTrip);
    ASSERT_GT(t30, 0);
    ASSERT_LT(t30, t20);
    command(kTunableTrip, false);
    command(kOpcTrip, false);
    // Once the trips' one-shot (which cuts a reset off) is over, the reset
    // from its contact: both entries released, their time cells cleared.
    run160(8);
    reset();
    waitResetOver();
    ASSERT_EQ(evTmMs(kTunableTrip), 0);
    uint16_t id = 0;
    TimerValue reset{}, cleared{};
    ASSERT_EQ(GetNextLatchAEInfo(1, 0, &id, &reset), 1);
    ASSERT_EQ(GetNextLatchAEInfo(1, 1, &id, &cleared), 1);
    releaseWriter();
    waitWriter();
    const auto rows = added();
    std::string all;
    for (const auto& r : rows) all += "\n" + std::to_string(r.ms) + " " + r.what;
    // The trips in the order they latched, then the reset as each list
    // takes it: the alarm list (40 ms) at the common reset's pulse, the
    // shutdown list at its delayed reset, the remote-node lists (80 ms).
    const std::vector<std::pair<std::string, long long>> want = {
        {kTunableLine, t30},
        {kOpcLine, t20},
        {"ALARMS.ANY|Reset command activated|1", -1},
        {"SHUTDOWNS.ANY|Reset command activated|1", reset.seconds * 1000LL + reset.microsec / 1000},
        {"SHUTDOWNS.ANY|All events cleared|1", cleared.seconds * 1000LL + cleared.microsec / 1000},
        {"VLTR_ALMS.SUMMARY|Reset command activated|1", -1},
        {"VLTR_ALMS.TRIP_SUM|Reset command activated|1", -1},
    };
    ASSERT_EQ(rows.size(), want.size()) << "every list logs the common reset" << all;
    for (size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(rows[k].what, want[k].first) << all;
        if (want[k].second >= 0) {
            EXPECT_EQ(rows[k].ms, want[k].second) << rows[k].what;
        }
    }
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
    trip(kTunableTrip);
    waitWriter();
    EXPECT_EQ(exists("ae_eventlog.bak"), c.rotatesAtFirstBatch);
    trip(kOpcTrip);
    waitWriter();
    ASSERT_TRUE(exists("ae_eventlog.bak")) << "the log has passed its limit by now";
    const auto all = read({"ae_eventlog.bak", "ae_eventlog.csv"});
    ASSERT_EQ(all.size(), padLines + 2);
    EXPECT_EQ(all[padLines].what, kTunableLine);
    EXPECT_EQ(all[padLines + 1].what, kOpcLine);
    EXPECT_LT(size("ae_eventlog.csv"), 512000u);
}

INSTANTIATE_TEST_SUITE_P(Limits, EventLogRotation,
                         ::testing::Values(RotateCase{511999, false}, RotateCase{512000, true}),
                         [](const auto& i) { return "Bytes" + std::to_string(i.param.before); });

TEST_F(EventLog, AFullDiskKeepsEveryEarlierLineAndWritesTheRestOnceThereIsRoom) {
    start();
    trip(kTunableTrip);
    waitWriter();
    const uint64_t used = size("ae_eventlog.csv");
    ASSERT_GT(used, 0u);
    // Room for about one more line only.
    uint64_t total = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(hostfs::applicationRoot()))
        if (e.is_regular_file()) total += e.file_size();
    hostfs::setCapacity(total + 70);
    testing::internal::CaptureStdout();
    for (int n : {kOpcTrip, kRemoteTrip}) trip(n);
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
    const auto partial = added();  // no cut line
    ASSERT_GE(partial.size(), 1u);
    EXPECT_EQ(partial[0].what, kTunableLine);
    hostfs::setCapacity(std::nullopt);
    ASSERT_TRUE(hk::runUntil([this] { return writerIdle(); }, 2000));
    runPasses(R10, 2);
    const auto rows = added();
    std::vector<std::string> want = {kTunableLine, kOpcLine, kRemoteLine};
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
    withProducer(R10, [] { produce(3); });
    withProducer(R40, [] { produce(7); });
    withProducer(R80, [] { produce(11); });
    start();
    holdWriter();
    g_go = true;
    ASSERT_TRUE(hk::runUntil([] { return g_queued >= kBurst; }, 20000));
    releaseWriter();
    ASSERT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail && LogEventLostEvents == 0; }, 5000));
    runPasses(R10, 2);
    const auto rows = added();
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
    withProducer(R10, produceOne);
    start();
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
    const auto rows = added();
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
    trip(kTunableTrip);
    trip(kOpcTrip);
    waitWriter();
    const auto rows = added();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].what, kOpcLine);
}

TEST_F(EventLog, ALogThatCannotBeOpenedIsReportedOnceAndWrittenOnceItCan) {
    start();
    std::filesystem::remove(hostFile("ae_eventlog.csv"));
    logged_ = 0;
    std::filesystem::create_directory(hostFile("ae_eventlog.csv"));  // cannot be opened as a file
    trip(kTunableTrip);
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
    EXPECT_EQ(rows[0].what, kTunableLine);
}

}  // namespace
}  // namespace pr_test
