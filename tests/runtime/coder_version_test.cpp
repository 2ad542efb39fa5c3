// The coder version check: its result, and the two texts it writes into the
// caller's buffers, whatever the runtime's version cells hold and however
// small the buffers are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "runtime/appinit.h"

namespace {

// Fills a 40-byte cell: a text that fits is terminated, a longer one fills
// every byte and is left without a terminator.
void fillCell(char (&cell)[40], const std::string& text) {
    std::memset(cell, 0, sizeof cell);
    std::memcpy(cell, text.data(), std::min(text.size(), sizeof cell));
}

struct CoderCase {
    const char* name;
    std::string version, date;
    int actualSize, expectedSize;  // 0: no buffer given
    int result;
    const char* actual;  // nullptr: the buffer is left as it was
    const char* expected;
};

const std::string k40A(40, 'A');
const std::string k40B(40, 'B');
const std::string kCutLong = std::string(40, 'A') + " (" + std::string(18, 'B') + "...";
const std::string kFullDate = "1.00-0 (" + std::string(40, 'B') + ")";

const CoderCase kCases[] = {
    {"Same", "1.00-0", "2016/12/06", 64, 64, 0, "1.00-0 (2016/12/06)", "1.00-0 (2016/12/06)"},
    {"LaterDate", "1.00-0", "2017/01/01", 64, 64, 1, "1.00-0 (2017/01/01)", "1.00-0 (2016/12/06)"},
    {"EarlierDate", "1.00-0", "2016/12/05", 64, 64, 1, "1.00-0 (2016/12/05)", "1.00-0 (2016/12/06)"},
    {"OtherVersion", "1.00-1", "2016/12/06", 64, 64, -1, "1.00-1 (2016/12/06)", "1.00-0 (2016/12/06)"},
    {"VersionPrefix", "1.00-", "2016/12/06", 64, 64, -1, "1.00- (2016/12/06)", "1.00-0 (2016/12/06)"},
    {"VersionLonger", "1.00-00", "2016/12/06", 64, 64, -1, "1.00-00 (2016/12/06)", "1.00-0 (2016/12/06)"},
    {"NoBuffers", "1.00-0", "2016/12/06", 0, 0, 0, nullptr, nullptr},
    {"OnlyExpected", "1.00-0", "2016/12/06", 0, 64, 0, nullptr, "1.00-0 (2016/12/06)"},
    // Full cells carry no terminator: the text stops at the cell's end and,
    // too long for the buffer, is cut with a visible mark.
    {"FullCellsCut", k40A, k40B, 64, 64, -1, kCutLong.c_str(), "1.00-0 (2016/12/06)"},
    {"FullDateCell", "1.00-0", k40B, 64, 64, 1, kFullDate.c_str(), "1.00-0 (2016/12/06)"},
    // Exactly filling the buffer is not a cut.
    {"ExactFit", "1.00-0", "2016/12/06", 20, 20, 0, "1.00-0 (2016/12/06)", "1.00-0 (2016/12/06)"},
    {"OneShort", "1.00-0", "2016/12/06", 19, 19, 0, "1.00-0 (2016/12...", "1.00-0 (2016/12..."},
    {"SmallestMarked", "1.00-0", "2016/12/06", 4, 4, 0, "...", "..."},
    {"TooSmallToMark", "1.00-0", "2016/12/06", 3, 3, 0, "1.", "1."},
    {"OneByte", "1.00-0", "2016/12/06", 1, 1, 0, "", ""},
};

void PrintTo(const CoderCase& c, std::ostream* os) { *os << c.name; }

class CoderVersion : public ::testing::TestWithParam<CoderCase> {};

TEST_P(CoderVersion, ResultAndTexts) {
    const CoderCase& c = GetParam();
    fillCell(OSVersionNumber, c.version);
    fillCell(OSReleaseDate, c.date);
    // Guard bytes after each buffer catch a write past the size given.
    char actual[80], expected[80];
    std::memset(actual, '#', sizeof actual);
    std::memset(expected, '#', sizeof expected);
    const int result = AppVersionVerifyCoderCompatibility(c.actualSize ? actual : nullptr, c.actualSize,
                                                          c.expectedSize ? expected : nullptr, c.expectedSize);
    EXPECT_EQ(result, c.result);
    auto check = [](const char* buf, int size, const char* want) {
        if (want == nullptr) {
            EXPECT_EQ(std::string(buf, 80), std::string(80, '#'));
            return;
        }
        ASSERT_NE(std::memchr(buf, '\0', static_cast<size_t>(size)), nullptr) << "not terminated";
        EXPECT_EQ(std::string(buf), want);
        EXPECT_EQ(std::string(buf + size, 80 - static_cast<size_t>(size)), std::string(80 - size, '#'));
    };
    check(actual, c.actualSize, c.actual);
    check(expected, c.expectedSize, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, CoderVersion, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CoderCase>& info) { return std::string(info.param.name); });

}  // namespace
