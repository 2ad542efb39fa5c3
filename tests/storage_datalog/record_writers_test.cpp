// The pieces of a binary data-log file, byte for byte: variable headers,
// packed boolean columns, analog columns walked oldest first, and the
// system-information text with its announced size.
#include <cstring>
#include <string>
#include <vector>

#include "datalog_rig.h"
#include "app/sys_vars.h"
#include "platform/vkosfile.h"

using namespace dl_test;

namespace {

uint32_t be32(const std::string& s, size_t at) {
    return (uint32_t(uint8_t(s[at])) << 24) | (uint32_t(uint8_t(s[at + 1])) << 16) |
           (uint32_t(uint8_t(s[at + 2])) << 8) | uint32_t(uint8_t(s[at + 3]));
}

std::vector<uint32_t> words(const std::string& s) {
    std::vector<uint32_t> w;
    for (size_t at = 0; at + 4 <= s.size(); at += 4) w.push_back(be32(s, at));
    return w;
}

// Rows of `perRow` 4-byte entries; entry (r, c) = 100 * r + c.
std::vector<uint8_t> table(int rows, int perRow) {
    std::vector<uint8_t> t(static_cast<size_t>(rows * perRow) * 4);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < perRow; ++c) {
            const uint32_t v = static_cast<uint32_t>(100 * r + c);
            std::memcpy(&t[(static_cast<size_t>(r) * perRow + c) * 4], &v, 4);
        }
    return t;
}

}  // namespace

class RecordWriters : public DataLogRig {
protected:
    void SetUp() override {
        DataLogRig::SetUp();
        startApp();
    }
    // Runs f with a fresh file open for writing, then returns the file's bytes.
    std::string written(const std::function<void(int fd)>& f) {
        inTask([&] {
            const int fd = VKOS_CreateFileRW("piece.bin");
            ASSERT_NE(fd, 0);
            f(fd);
            VKOS_CloseFile(fd);
        });
        return readFile("piece.bin");
    }
};

TEST_F(RecordWriters, VariableHeaderCountsTheBytesThatFollowIt) {
    int ok = 0;
    const std::string b = written([&](int fd) { ok = WriteCDFVarHeader(fd, "n", "", "b", 1, 0x02030405, 7); });
    EXPECT_EQ(ok, 1);
    ASSERT_EQ(b.size(), 4u + 17u);
    EXPECT_EQ(be32(b, 0), 17u);
    EXPECT_EQ(b.substr(4, 5), std::string("n\0\0b\0", 5));
    EXPECT_EQ(be32(b, 9), 1u);
    EXPECT_EQ(be32(b, 13), 0x02030405u);
    EXPECT_EQ(be32(b, 17), 7u);
    const std::string c = written([](int fd) { WriteCDFVarHeader(fd, "Speed", "DATALOG.SPEED.A_NAME", "A4", 10, 3, 0); });
    EXPECT_EQ(be32(c, 0), 5u + 20u + 2u + 15u);
}

TEST_F(RecordWriters, BooleansArePackedMostSignificantBitFirstAndPadded) {
    // 33 samples: 1, 0, 1, 0 ... then a last 1.
    const std::string b = written([](int fd) {
        uint32_t word = 0, bits = 0;
        for (int i = 0; i < 33; ++i) AddBooleanBit(fd, &word, &bits, i % 2 == 0 ? 7 : 0);
        FinishBooleanWord(fd, &word, &bits, 1);
        EXPECT_EQ(word, 0u);
        EXPECT_EQ(bits, 0u);
    });
    EXPECT_EQ(words(b), (std::vector<uint32_t>{0xAAAAAAAAu, 0x80000000u}));
    // A column of no samples ended with a flush adds nothing.
    const std::string e = written([](int fd) {
        uint32_t word = 0, bits = 0;
        EXPECT_EQ(FinishBooleanWord(fd, &word, &bits, 1), 1);
    });
    EXPECT_EQ(e.size(), 0u);
}

TEST_F(RecordWriters, BooleanBufferIsWrittenWhenItHoldsOneHundredTwentyEightWords) {
    size_t before = 0, after = 0;
    written([&](int fd) {
        uint32_t word = 0, bits = 0;
        for (int i = 0; i < 127 * 32; ++i) AddBooleanBit(fd, &word, &bits, 1);
        uint32_t size = 0;
        VKOS_GetFileSize(fd, &size);
        before = size;
        for (int i = 0; i < 32; ++i) AddBooleanBit(fd, &word, &bits, 1);
        VKOS_GetFileSize(fd, &size);
        after = size;
    });
    EXPECT_EQ(before, 0u);
    EXPECT_EQ(after, 512u);
}

struct WalkCase {
    const char* name;
    int32_t start, rowCount, samples;
    uint32_t step;
    std::vector<uint32_t> rows;  // rows whose column-1 entry is written, in order
};
class ColumnWalk : public RecordWriters, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(ColumnWalk, RowsAreVisitedOldestFirstAndTheNewestRepeated) {
    const WalkCase& c = GetParam();
    const std::vector<uint8_t> t = table(8, 3);
    int ok = 0;
    const std::string a = written([&](int fd) {
        ok = WriteCDFAnalogData(fd, t.data(), 3, 1, c.start, c.rowCount, c.samples, c.step);
    });
    EXPECT_EQ(ok, 1);
    std::vector<uint32_t> want;
    for (uint32_t r : c.rows) want.push_back(100 * r + 1);
    EXPECT_EQ(words(a), want);
    // The boolean writer walks the same rows (entry 0 of row 0 is the only zero).
    const std::vector<uint8_t> z = table(8, 3);
    const std::string b = written([&](int fd) {
        WriteCDFBooleanData(fd, z.data(), 3, 0, c.start, c.rowCount, c.samples, c.step);
    });
    uint32_t bitsWant = 0;
    for (size_t i = 0; i < c.rows.size(); ++i)
        if (c.rows[i] != 0) bitsWant |= 0x80000000u >> i;
    if (c.rows.empty()) {
        EXPECT_EQ(b.size(), 0u);
    } else {
        ASSERT_EQ(b.size(), 4u);
        EXPECT_EQ(be32(b, 0), bitsWant);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnWalk,
    ::testing::Values(WalkCase{"FromTheStart", 0, 5, 5, 1, {0, 1, 2, 3, 4}},
                      WalkCase{"WrappedRing", 2, 5, 5, 1, {2, 3, 4, 0, 1}},
                      WalkCase{"ShortHistoryRepeatsTheNewest", 2, 5, 7, 1, {2, 3, 4, 0, 1, 1, 1}},
                      WalkCase{"EveryOtherRow", 1, 6, 3, 2, {1, 3, 5}},
                      WalkCase{"EveryOtherRowWrapped", 3, 7, 4, 2, {3, 5, 0, 0}},
                      WalkCase{"StepRowsOnlyBeforeTheStart", 4, 4, 2, 2, {0, 2}},
                      WalkCase{"FewerSamplesThanRows", 1, 5, 2, 1, {1, 2}},
                      WalkCase{"OneSample", 3, 5, 1, 1, {3}},
                      WalkCase{"StartAtTheLastRow", 4, 5, 5, 1, {4, 0, 1, 2, 3}},
                      WalkCase{"NoRowToVisitWritesNothing", 0, 0, 3, 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordWriters, AnalogColumnIsWrittenInBlocksOfOneHundredTwentyEightValues) {
    for (int rows : {128, 129, 300}) {
        const std::vector<uint8_t> t = table(rows, 1);
        const std::string a = written([&](int fd) { WriteCDFAnalogData(fd, t.data(), 1, 0, 0, rows, rows, 1); });
        const std::vector<uint32_t> w = words(a);
        ASSERT_EQ(w.size(), static_cast<size_t>(rows));
        for (uint32_t r = 0; r < w.size(); ++r) ASSERT_EQ(w[r], 100 * r) << r;
    }
}

// The coder's date and every program file's date are filled: each date is
// the 23-character "yyyy/mm/dd hh:mm:ss UTC".
TEST_F(RecordWriters, SystemInformationCarriesTheCoderAndProgramFileDates) {
    const std::string b = written([&](int fd) { writeSystemInfoBlob(fd, "cfg", 10); });
    EXPECT_NE(b.find("\rCDR Date:2026-04-20 07.44.46\rTIQ File 1:"), std::string::npos);
    for (int f = 1; f <= 12; ++f) {
        const std::string label = "\rDate TIQ File " + std::to_string(f) + ":";
        const size_t at = b.find(label);
        ASSERT_NE(at, std::string::npos) << f;
        const size_t from = at + label.size();
        const size_t end = b.find('\r', from);
        ASSERT_NE(end, std::string::npos) << f;
        const std::string date = b.substr(from, end - from);
        ASSERT_EQ(date.size(), 23u) << f << " '" << date << "'";
        for (size_t i = 0; i < date.size(); ++i) {
            const char want = std::string("0000/00/00 00:00:00 UTC")[i];
            if (want == '0') EXPECT_TRUE(date[i] >= '0' && date[i] <= '9') << f << " " << date;
            else EXPECT_EQ(date[i], want) << f << " " << date;
        }
    }
}

TEST_F(RecordWriters, SystemInformationSizeIsWhatIsWritten) {
    for (int32_t interval : {-1, 0, 10, 320}) {
        const std::string b = written([&](int fd) { writeSystemInfoBlob(fd, "My config", interval); });
        EXPECT_EQ(static_cast<int32_t>(b.size()), sizeofSystemInfoBlob("My config", interval)) << interval;
        EXPECT_EQ(b.substr(0, 13), "Control Name:");
        EXPECT_EQ(b.substr(b.size() - 2), std::string("\r\0", 2));
        EXPECT_NE(b.find("\rDynamic Configuration Name:My config\r"), std::string::npos);
        EXPECT_EQ(b.find("\rMIN_INTVL:") != std::string::npos, interval >= 0) << interval;
        if (interval >= 0) {
            EXPECT_NE(b.find("\rMIN_INTVL:" + std::to_string(interval) + " MS\r"), std::string::npos);
        }
        // The program files and their dates, in order, end the text.
        std::string tail;
        for (int f = 1; f <= 12; ++f)
            tail += "\rTIQ File " + std::to_string(f) + ":" + sys_text[APP_TIQFILE1 + 2 * (f - 1)].s +
                    "\rDate TIQ File " + std::to_string(f) + ":" + sys_text[APP_TIQFILE1 + 2 * (f - 1) + 1].s;
        tail += std::string("\r\0", 2);
        ASSERT_GE(b.size(), tail.size());
        EXPECT_EQ(b.substr(b.size() - tail.size()), tail);
    }
    // Without the interval piece: 11 bytes of label and the "%d MS" text less.
    EXPECT_EQ(sizeofSystemInfoBlob("x", 10) - sizeofSystemInfoBlob("x", -1), 11 + 5);
}
