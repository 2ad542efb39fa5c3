// The NV condition log: its file routines on a real directory and its task
// between app_inited and the block's write requests.
#include <cmath>
#include <cstring>

#include "app/interface/COND_MON.cells.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"
#include "storage/eefile.h"
#include "storage/nvlog.h"
#include "tests/storage/storage_fixture.h"

using storage_test::be32;
using storage_test::readBe32;

namespace {

const std::string kFile = "9902-4411_e.nlg";
const std::string kTemp = "9902-4411_e.nlg.tmp";
const std::string kHeading =
    "NVLog Variables Save File (Binary Format)\nApplication \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";

uint32_t bits(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}
std::string nvFile(int32_t n, int32_t count, int values, float first = 1.5f) {
    std::string f = kHeading + be32(static_cast<uint32_t>(n)) + be32(static_cast<uint32_t>(count));
    for (int k = 0; k < values; ++k) f += be32(bits(first + static_cast<float>(k)));
    return f;
}

class NvLog : public storage_test::StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        nvlog_reset();
    }
    int32_t logEleven(float first) {
        int32_t r = -1;
        inTask([&] {
            for (int k = 0; k < 10; ++k) EXPECT_EQ(EElog(k, 0, first + static_cast<float>(k)), 0);
            r = EElog(10, 1, first + 10.0f);
        });
        return r;
    }
    float get(int32_t index) {
        float v = -1.0f;
        inTask([&] { v = EEget(index); });
        return v;
    }
    int32_t readTable() {
        int32_t v = -9;
        inTask([&] { v = NVLogReadTable(); });
        return v;
    }
};

TEST_F(NvLog, MissingFileGivesZeros) {
    EXPECT_EQ(get(3), 0.0f);
    EXPECT_EQ(get(-1), 0.0f);
    EXPECT_EQ(ExistingNVFile, 0);
    EXPECT_EQ(readTable(), -1);
    for (const auto& line : events()) EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

TEST_F(NvLog, WrittenValuesComeBack) {
    ASSERT_EQ(logEleven(100.0f), 1);
    EXPECT_EQ(ExistingNVFile, 1);
    const std::string f = contents(kFile);
    ASSERT_EQ(f.size(), 161u);
    EXPECT_EQ(f.substr(0, kHeading.size()), kHeading);
    EXPECT_EQ(readBe32(f, 109), 10u);
    EXPECT_EQ(readBe32(f, 113), 1u);
    for (int k = 0; k < 11; ++k) EXPECT_EQ(readBe32(f, 117 + 4 * k), bits(100.0f + static_cast<float>(k)));
    EXPECT_FALSE(exists(kTemp));
    nvlog_reset();
    EXPECT_EQ(get(0), 100.0f);
    EXPECT_EQ(get(10), 110.0f);
    EXPECT_EQ(get(11), 0.0f) << "beyond the file's last value";
    EXPECT_EQ(get(-1), 1.0f);
    EXPECT_EQ(ExistingNVFile, 1);
    EXPECT_EQ(_NVnumWrites, 1);
    EXPECT_EQ(readTable(), 11);
    ASSERT_EQ(logEleven(200.0f), 1);
    EXPECT_EQ(readBe32(contents(kFile), 113), 2u);
    std::filesystem::remove(path(kFile));
    EXPECT_EQ(get(0), 0.0f);
    EXPECT_EQ(ExistingNVFile, 0);
}

struct IndexCase {
    const char* name;
    int32_t index;
    bool stored;
};
class NvIndexes : public NvLog, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(NvIndexes, OnlyIndexesOfTheBufferAreTaken) {
    int32_t r = -1;
    inTask([&] { r = EElog(GetParam().index, 1, 7.0f); });
    EXPECT_EQ(r, GetParam().stored ? 1 : 0);
    EXPECT_EQ(exists(kFile), GetParam().stored);
    if (GetParam().stored) {
        EXPECT_EQ(contents(kFile).size(), kHeading.size() + 8 + 4u * (GetParam().index + 1));
        EXPECT_EQ(get(GetParam().index), 7.0f);
        EXPECT_EQ(readTable(), GetParam().index + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Indexes, NvIndexes,
                         ::testing::Values(IndexCase{"First", 0, true}, IndexCase{"Last", 2000, true},
                                           IndexCase{"JustAboveTheLast", 2001, false},
                                           IndexCase{"Negative", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
    const char* name;
    int32_t n;
    int values;
    int32_t table;     // NVLogReadTable
    bool refused;      // the count does not fit
};
class NvCounts : public NvLog, public ::testing::WithParamInterface<CountCase> {};

TEST_P(NvCounts, CountsBeyondTheBufferAreRefused) {
    put(kFile, nvFile(GetParam().n, 42, GetParam().values));
    inTask([] { _NVlogBuffer[0] = -3.0f; });
    EXPECT_EQ(readTable(), GetParam().table);
    EXPECT_EQ(get(0), GetParam().refused || GetParam().n < 0 ? 0.0f : 1.5f);
    EXPECT_EQ(_NVlogBuffer[0], GetParam().refused || GetParam().n < 0 ? -3.0f : 1.5f) << "no value was read";
    EXPECT_EQ(get(-1), 42.0f);
    if (GetParam().refused) {
        auto ev = events();
        EXPECT_TRUE(std::any_of(ev.begin(), ev.end(), [](const std::string& l) {
            return l.find("event 6: Error in ReadNVLogTable(num_values") == 0;
        }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, NvCounts,
    ::testing::Values(CountCase{"AtTheCapacity", 2000, 2001, 2001, false},
                      CountCase{"JustAboveTheCapacity", 2001, 2002, -1, true},
                      CountCase{"FarAboveTheCapacity", 0x7FFFFFFF, 20, -1, true},
                      CountCase{"OneValue", 0, 1, 1, false}, CountCase{"NoValues", -1, 0, 0, false}, CountCase{"Negative", -5, 0, -4, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NvLog, ShortFilesReportAndKeepUnreadValues) {
    put(kFile, nvFile(10, 3, 5));
    inTask([] { _NVlogBuffer[7] = 9.0f; });
    EXPECT_EQ(get(4), 5.5f);
    EXPECT_EQ(get(7), 9.0f) << "an unread value stays as it was";
    EXPECT_EQ(readTable(), -1);
    EXPECT_TRUE(hasEvent("event 6: Error in ReadNVLogTable(value)"));
    put(kFile, kHeading + be32(10) + "\x01");
    EXPECT_EQ(get(-1), 0.0f);
    EXPECT_EQ(readTable(), -1);
    EXPECT_TRUE(hasEvent("event 6: Error in ReadNVLogTable(count)"));
    put(kFile, kHeading + "\x01");
    EXPECT_EQ(get(0), 0.0f);
    EXPECT_TRUE(hasEvent("event 6: Error in ReadNVLogTable(num_values)"));
}

TEST_F(NvLog, AMissingCountFailsTheReadEvenWithoutValues) {
    put(kFile, kHeading + be32(0xFFFFFFFFu));
    EXPECT_EQ(readTable(), -1);
    EXPECT_TRUE(hasEvent("event 6: Error in ReadNVLogTable(count)"));
}

// Heading lines are read past up to a bound far above their length;
// beyond it the file is no NV log and none of its bytes count.
struct HeadingCase {
    const char* name;
    size_t first, second;  // the lengths of the two heading lines
    bool read;
};
class NvHeadings : public NvLog, public ::testing::WithParamInterface<HeadingCase> {};

TEST_P(NvHeadings, AreReadPastWithinTheirBound) {
    put(kFile, std::string(GetParam().first, 'H') + "\n" + std::string(GetParam().second, 'h') + "\n" + be32(1) + be32(5) + be32(bits(2.0f)) +
                   be32(bits(4.0f)));
    EXPECT_EQ(get(1), GetParam().read ? 4.0f : 0.0f);
    EXPECT_EQ(get(-1), GetParam().read ? 5.0f : 0.0f);
    EXPECT_EQ(readTable(), GetParam().read ? 2 : -1);
    EXPECT_EQ(eventsStartingWith("event 6: Error in ReadNVLogTable(heading)"), GetParam().read ? 0 : 1)
        << "reported once for the three reads";
}

INSTANTIATE_TEST_SUITE_P(Lengths, NvHeadings,
                         ::testing::Values(HeadingCase{"WithinTheBound", 1000, 1000, true},
                                           HeadingCase{"BeyondTheBound", 3000, 3000, false},
                                           HeadingCase{"SecondLineBeyondTheBound", 10, 3000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Files no NV log can be: reported once and read as no file; the next
// write replaces them.
struct HostileCase {
    const char* name;
    int kind;
    const char* event;
};
class NvHostileFiles : public NvLog, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(NvHostileFiles, AreReportedOnceAndReplacedByTheNextWrite) {
    putHostile(kFile, GetParam().kind);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(get(k - 1), 0.0f);
    EXPECT_EQ(readTable(), -1);
    EXPECT_EQ(ExistingNVFile, GetParam().kind == storage_test::kHugeLine ? 1 : 0) << "opened only when a file";
    EXPECT_EQ(eventsStartingWith(std::string("event 6: ") + GetParam().event), 1);
    ASSERT_EQ(logEleven(7.0f), 1);
    EXPECT_EQ(get(3), 10.0f);
    EXPECT_EQ(contents(kFile).size(), 161u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NvHostileFiles,
    ::testing::Values(HostileCase{"NamedPipe", storage_test::kPipe,
                                  "Error in ReadNVLogTable(cannot read 9902-4411_e.nlg: not a regular file)"},
                      HostileCase{"LinkToDevZero", storage_test::kLinkToZero,
                                  "Error in ReadNVLogTable(cannot read 9902-4411_e.nlg: not a regular file)"},
                      HostileCase{"HugeHeadingLine", storage_test::kHugeLine,
                                  "Error in ReadNVLogTable(heading)"}),
    [](const auto& info) { return std::string(info.param.name); });

// A write that fails on the drive names the failed part in one text and
// leaves the previous file.
struct WriteTextCase {
    const char* name;
    uint64_t bytesBefore;  // written before the drive fails
    const char* event;
};
class NvWriteTexts : public NvLog, public ::testing::WithParamInterface<WriteTextCase> {};

TEST_P(NvWriteTexts, NameTheFailedPart) {
    ASSERT_EQ(logEleven(1.0f), 1);
    const std::string before = contents(kFile);
    int32_t r = -1;
    inTask([&] {
        // Another writer holds the write cache: the log's writes go straight
        // to the drive, as when the data log is writing.
        const int other = VKOS_CreateFileWrite("other.bin");
        hostfs::setWriteFault(GetParam().bytesBefore);
        for (int k = 0; k < 10; ++k) EElog(k, 0, 2.0f);
        r = EElog(10, 1, 2.0f);
        hostfs::setWriteFault(std::nullopt);
        VKOS_CloseFile(other);
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(contents(kFile), before);
    EXPECT_FALSE(exists(kTemp));
    EXPECT_TRUE(hasEvent(std::string("event 6: ") + GetParam().event));
    EXPECT_EQ(eventsStartingWith("event 6: Error in Write"), 1) << "one text for the failed write";
}

INSTANTIATE_TEST_SUITE_P(Parts, NvWriteTexts,
                         ::testing::Values(WriteTextCase{"Heading", 0, "Error in WriteEETable Heading"},
                                           WriteTextCase{"SecondHeadingLine", 50, "Error in WriteEETable Heading"},
                                           WriteTextCase{"NumVars", 109, "Error in WriteNVlogTable(num_vars)"},
                                           WriteTextCase{"Count", 113, "Error in WriteNVlogTable(Count)"},
                                           WriteTextCase{"FirstValue", 117, "Error in WriteEETable(REAL)"},
                                           WriteTextCase{"LastValue", 157, "Error in WriteEETable(REAL)"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WriteFault {
    const char* name;
    bool fullDisk;
};
class NvWriteFaults : public NvLog, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(NvWriteFaults, LeaveThePreviousFileAndCountTheWrite) {
    ASSERT_EQ(logEleven(1.0f), 1);
    const std::string before = contents(kFile);
    if (GetParam().fullDisk) hostfs::setCapacity(before.size() + 100);
    else hostfs::setRenameFault(true);
    EXPECT_EQ(logEleven(50.0f), 0);
    EXPECT_EQ(ExistingNVFile, GetParam().fullDisk ? 1 : 0);
    EXPECT_EQ(contents(kFile), before);
    EXPECT_FALSE(exists(kTemp));
    hostfs::setCapacity(std::nullopt);
    hostfs::setRenameFault(false);
    ASSERT_EQ(logEleven(60.0f), 1);
    EXPECT_EQ(readBe32(contents(kFile), 113), 3u) << "the failed write was counted";
}

INSTANTIATE_TEST_SUITE_P(Faults, NvWriteFaults,
                         ::testing::Values(WriteFault{"FullDisk", true}, WriteFault{"FailedRename", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The task: stored values into the outputs at start, then one file write per request.
TEST_F(NvLog, TaskLoadsTheStoredValuesAndWritesEachRequest) {
    put(kFile, nvFile(10, 7, 11, 20.0f));
    inTask([] {
        init_blk_ram();
        app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
        ApplicationRunning = 0;
    });
    auto& M = cells::COND_MON;
    hk::spawnFunction([] { COND_MON_NV_MEM_LOG_10465(0); }, 40, "COND_MON_NV_MEM_LOG_10465");
    hk::runTicks(10);
    EXPECT_EQ(static_cast<float>(M.NV_MEM_LOG_OUT_1), 0.0f) << "waits for app_inited";
    inTask([] { VKOS_FlushSemaphore(app_inited); });
    hk::runTicks(10);
    EXPECT_EQ(static_cast<float>(M.NV_MEM_LOG_OUT_1), 20.0f);
    EXPECT_EQ(static_cast<float>(M.NV_MEM_LOG_OUT_11), 30.0f);
    EXPECT_EQ(static_cast<int32_t>(M.NV_MEM_LOG_COUNT), 7);
    auto& st = COND_MON_NV_MEM_LOG_st;
    for (int k = 0; k < 11; ++k) st.LOG_VAL[k] = -1.0f - static_cast<float>(k);
    st.LOG_REQ = 1;
    hk::runTicks(400);
    EXPECT_EQ(st.LOG_REQ, 1u) << "no write while the application is not running";
    ApplicationRunning = 1;
    hk::runTicks(100);
    EXPECT_EQ(st.LOG_REQ, 0u);
    EXPECT_EQ(st.LOG_OK, 1u);
    EXPECT_EQ(static_cast<int32_t>(M.NV_MEM_LOG_COUNT), 8);
    const std::string f = contents(kFile);
    EXPECT_EQ(readBe32(f, 113), 8u);
    EXPECT_EQ(readBe32(f, 117 + 40), bits(-11.0f));
    hostfs::setRenameFault(true);
    st.LOG_REQ = 1;
    hk::runTicks(100);
    EXPECT_EQ(st.LOG_REQ, 0u);
    EXPECT_EQ(st.LOG_OK, 0u);
    EXPECT_EQ(static_cast<int32_t>(M.NV_MEM_LOG_COUNT), 9) << "a failed write still counts";
    ApplicationRunning = 0;
    app_inited = 0;
}

}  // namespace

namespace {

TEST_F(NvLog, WriteNeedsRoomForTheFileAndItsMargin) {
    const size_t needed = 161 + 256;
    hostfs::setCapacity(needed - 1);
    EXPECT_EQ(logEleven(1.0f), 0);
    EXPECT_TRUE(hasEvent("event 6: Insufficient memory space for NVLog file"));
    hostfs::setCapacity(needed);
    EXPECT_EQ(logEleven(1.0f), 1);
}

TEST_F(NvLog, TemporaryFileThatCannotBeCreatedIsReportedAndNotCounted) {
    std::filesystem::create_directory(path(kTemp));
    EXPECT_EQ(logEleven(1.0f), 0);
    EXPECT_TRUE(hasEvent("event 6: Error opening NVlog FileName " + kTemp));
    EXPECT_EQ(_NVnumWrites, 0);
}

// The stored counter as the task shows it in COUNT.
struct CounterCase {
    const char* name;
    uint32_t stored;
    int32_t count;
};
class NvCounter : public NvLog, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(NvCounter, ComesBackIntoCountThroughAFloat) {
    put(kFile, nvFile(10, static_cast<int32_t>(GetParam().stored), 11));
    inTask([] {
        init_blk_ram();
        app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
    });
    hk::spawnFunction([] { COND_MON_NV_MEM_LOG_10465(0); }, 40, "COND_MON_NV_MEM_LOG_10465");
    inTask([] { VKOS_FlushSemaphore(app_inited); });
    hk::runTicks(10);
    EXPECT_EQ(static_cast<int32_t>(cells::COND_MON.NV_MEM_LOG_COUNT), GetParam().count);
    app_inited = 0;
}

INSTANTIATE_TEST_SUITE_P(Counters, NvCounter,
                         ::testing::Values(CounterCase{"Small", 7, 7}, CounterCase{"Negative", 0xFFFFFFFBu, -5},
                                           CounterCase{"LargestExactFloat", 16777216, 16777216},
                                           CounterCase{"RoundedToAFloat", 16777217, 16777216},
                                           CounterCase{"LargestInteger", 0x7FFFFFFFu, INT32_MIN},
                                           CounterCase{"SmallestInteger", 0x80000000u, INT32_MIN}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NvLog, ResetReturnsToTheLoadTimeState) {
    ASSERT_EQ(logEleven(3.0f), 1);
    nvlog_reset();
    EXPECT_EQ(ExistingNVFile, 0);
    EXPECT_EQ(_NVnumWrites, 0);
    EXPECT_EQ(_NVlogBuffer[10], 0.0f);
}

TEST_F(NvLog, TaskWithoutTheStartSemaphoreEndsAtOnce) {
    app_inited = 0;
    bool returned = false;
    hk::spawnFunction([&] {
        COND_MON_NV_MEM_LOG_10465(0);
        returned = true;
    }, 40, "COND_MON_NV_MEM_LOG_10465");
    hk::runTicks(2);
    EXPECT_TRUE(returned);
}

}  // namespace
