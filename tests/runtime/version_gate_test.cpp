// The version gate: the coder version check's result and the two texts it
// writes into the caller's buffers, whatever the runtime's version cells hold
// and however small the buffers are; and the whole gate on the platforms the
// module may be loaded on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "tests/support/runtime_fixture.h"

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

namespace {

// The whole gate on the emulated platform: its result, the messages the
// platform reads and the console text, for each platform it may be loaded on.
struct GateCase {
    const char* name;
    void (*platform)(hostplatform::Versions&);
    std::string version, date;
    int result;
    std::vector<std::string> messages;
    std::string console;
};

void PrintTo(const GateCase& c, std::ostream* os) { *os << c.name; }

std::string lines(const std::string& first, const std::string& actual, const std::string& expected) {
    return first + "       Actual version   - " + actual + "\n       Expected version - " + expected + "\n\n";
}
const std::string kOsError = "ERROR:  VxWorks version does not match:  Application will not run.\n";
const std::string kFpError = "ERROR:  Wrong footprint version installed:  Application will not run.\n";
const std::string kFpAlarm = "ALARM:  Minor version of footprint does not match:\n";
const std::string kStdError = "ERROR:  VN_StdFiles version does not match:  Application will not run.\n";
const std::string kStdAlarm = "ALARM:  Minor version of VN_StdFiles does not match:\n";
const std::string kAbsError = "ERROR:  VN_Abstracton version does not match:  Application will not run.\n";
const std::string kAbsAlarm = "ALARM:  Minor version of VN_Abstracton does not match:\n";
const std::string kCoderError = "ERROR:  Wrong Coder library version installed:  Application will not run.\n";
const std::string kFootprints = "61930458.105, 61930458.001";

const std::string kFootprintState = "state 3: CPU Footprint 61930458.105 (6.9)";
const std::string kCoderEvent = "event 3: TIQ Coder 1.00-0";
const std::string kOsEvent = "event 6: ERROR: VxWorks version does not match.";
const std::string kFpEvent = "event 6: ERROR: Wrong footprint version installed.";
const std::string kStdEvent = "event 6: ERROR: VN_StdFiles version does not match.";
const std::string kAbsEvent = "event 6: ERROR: VN_Abstracton version does not match.";

const GateCase kGateCases[] = {
    {"AllMatch", [](hostplatform::Versions&) {}, "1.00-0", "2016/12/06", 0, {kFootprintState, kCoderEvent}, ""},
    {"OsQueryFails", [](hostplatform::Versions& v) { v.osOk = false; }, "1.00-0", "2016/12/06", -1,
     {kOsEvent, "event 3:   Actual , Expected ", kFootprintState, kCoderEvent}, lines(kOsError, "", "")},
    {"OsFirstNumber", [](hostplatform::Versions& v) { v.os[0] = 7; }, "1.00-0", "2016/12/06", -1,
     {kOsEvent, "event 3:   Actual 7.9.3.3, Expected 6.9.3.3", kFootprintState, kCoderEvent},
     lines(kOsError, "7.9.3.3", "6.9.3.3")},
    {"OsSecondNumber", [](hostplatform::Versions& v) { v.os[1] = 8; }, "1.00-0", "2016/12/06", -1,
     {kOsEvent, "event 3:   Actual 6.8.3.3, Expected 6.9.3.3", kFootprintState, kCoderEvent},
     lines(kOsError, "6.8.3.3", "6.9.3.3")},
    {"FootprintOtherPart", [](hostplatform::Versions& v) { v.footprintPn = 61930459; }, "1.00-0", "2016/12/06", -1,
     {kFpEvent, "event 3:   Actual 61930459.105, Expected " + kFootprints, kCoderEvent},
     lines(kFpError, "61930459.105", kFootprints)},
    {"FootprintPartWithoutText", [](hostplatform::Versions& v) { v.footprintPn = 0; }, "1.00-0", "2016/12/06", -1,
     {kFpEvent, "event 3:   Actual , Expected ", kCoderEvent}, lines(kFpError, "", "")},
    // Accepted, but by no row exactly: an alarm only.
    {"FootprintOlderRevision", [](hostplatform::Versions& v) { v.footprintRev = 104; }, "1.00-0", "2016/12/06", 0,
     {"state 3: CPU Footprint 61930458.104 (6.9)", kCoderEvent}, lines(kFpAlarm, "61930458.104", kFootprints)},
    {"FootprintNewerRevision", [](hostplatform::Versions& v) { v.footprintRev = 106; }, "1.00-0", "2016/12/06", 0,
     {"state 3: CPU Footprint 61930458.106 (6.9)", kCoderEvent}, lines(kFpAlarm, "61930458.106", kFootprints)},
    {"FootprintSecondRowExact", [](hostplatform::Versions& v) { v.footprintRev = 1; }, "1.00-0", "2016/12/06", 0,
     {"state 3: CPU Footprint 61930458.001 (6.9)", kCoderEvent}, ""},
    {"FootprintBelowEveryRow", [](hostplatform::Versions& v) { v.footprintRev = 0; }, "1.00-0", "2016/12/06", -1,
     {kFpEvent, "event 3:   Actual 61930458.000, Expected " + kFootprints, kCoderEvent},
     lines(kFpError, "61930458.000", kFootprints)},
    {"CoderOtherDate", [](hostplatform::Versions&) {}, "1.00-0", "2016/12/07", 0,
     {kFootprintState, "state 3: TIQ Coder 1.00-0 "},
     lines("ALARM:  Wrong Coder library version installed. Date does not match:\n", "1.00-0 (2016/12/07)",
           "1.00-0 (2016/12/06)")},
    {"CoderOtherVersion", [](hostplatform::Versions&) {}, "1.01-0", "2016/12/06", -1,
     {kFootprintState, "event 6: ERROR: Wrong Coder library version installed.",
      "event 3:   Actual 1.01-0 (2016/12/06), Expected 1.00-0 (2016/12/06)"},
     lines(kCoderError, "1.01-0 (2016/12/06)", "1.00-0 (2016/12/06)")},
    // Full version cells: the actual text is cut to the gate's 64-byte buffer.
    {"CoderFullCells", [](hostplatform::Versions&) {}, k40A, k40B, -1,
     {kFootprintState, "event 6: ERROR: Wrong Coder library version installed.",
      // the event text is formatted into 80 bytes
      "event 3: " + ("  Actual " + kCutLong + ", Expected 1.00-0 (2016/12/06)").substr(0, 79)},
     lines(kCoderError, kCutLong, "1.00-0 (2016/12/06)")},
    {"StdFilesQueryFails", [](hostplatform::Versions& v) { v.stdFilesOk = false; }, "1.00-0", "2016/12/06", -1,
     {kFootprintState, kCoderEvent, kStdEvent, "event 3:   Actual , Expected "}, lines(kStdError, "", "")},
    {"StdFilesOtherMajor", [](hostplatform::Versions& v) { v.stdFiles[0] = 2; }, "1.00-0", "2016/12/06", -1,
     {kFootprintState, kCoderEvent, kStdEvent, "event 3:   Actual 2.7.1, Expected 1.7.1"},
     lines(kStdError, "2.7.1", "1.7.1")},
    {"StdFilesOlderMinor", [](hostplatform::Versions& v) { v.stdFiles[1] = 6; }, "1.00-0", "2016/12/06", -1,
     {kFootprintState, kCoderEvent, kStdEvent, "event 3:   Actual 1.6.1, Expected 1.7.1"},
     lines(kStdError, "1.6.1", "1.7.1")},
    {"StdFilesNewerMinor", [](hostplatform::Versions& v) { v.stdFiles[1] = 8; }, "1.00-0", "2016/12/06", 0,
     {kFootprintState, kCoderEvent}, lines(kStdAlarm, "1.8.1", "1.7.1")},
    {"StdFilesOtherPatch", [](hostplatform::Versions& v) { v.stdFiles[2] = 0; }, "1.00-0", "2016/12/06", 0,
     {kFootprintState, kCoderEvent}, lines(kStdAlarm, "1.7.0", "1.7.1")},
    {"AbstractionQueryFails", [](hostplatform::Versions& v) { v.abstractionOk = false; }, "1.00-0", "2016/12/06", -1,
     {kFootprintState, kCoderEvent, kAbsEvent, "event 3:   Actual , Expected "}, lines(kAbsError, "", "")},
    {"AbstractionOlderMinor", [](hostplatform::Versions& v) { v.abstraction[1] = 10; }, "1.00-0", "2016/12/06", -1,
     {kFootprintState, kCoderEvent, kAbsEvent, "event 3:   Actual 3.10.0, Expected 3.11.0"},
     lines(kAbsError, "3.10.0", "3.11.0")},
    {"AbstractionOtherPatch", [](hostplatform::Versions& v) { v.abstraction[2] = 1; }, "1.00-0", "2016/12/06", 0,
     {kFootprintState, kCoderEvent}, lines(kAbsAlarm, "3.11.1", "3.11.0")},
    // Every check runs: an early error does not hide a later one.
    {"FirstAndLastFail",
     [](hostplatform::Versions& v) {
         v.os[3] = 4;
         v.abstraction[0] = 2;
     },
     "1.00-0", "2016/12/06", -1,
     {kOsEvent, "event 3:   Actual 6.9.3.4, Expected 6.9.3.3", kFootprintState, kCoderEvent, kAbsEvent,
      "event 3:   Actual 2.11.0, Expected 3.11.0"},
     lines(kOsError, "6.9.3.4", "6.9.3.3") + lines(kAbsError, "2.11.0", "3.11.0")},
};

class VersionGate : public tc_test::RuntimeFixture, public ::testing::WithParamInterface<GateCase> {};

TEST_P(VersionGate, ResultMessagesAndConsole) {
    const GateCase& c = GetParam();
    hostplatform::versions() = {};  // the platform's own versions, then the case's differences
    c.platform(hostplatform::versions());
    fillCell(OSVersionNumber, c.version);
    fillCell(OSReleaseDate, c.date);
    int result = 0;
    ::testing::internal::CaptureStdout();
    hk::runTask([&] {
        // The messages reach the platform through the application's monitor, as at start.
        AppEventInit();
        VKOS_ResumeProcess(VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0));
        result = AppVerifyVersionCompatibility();
    });
    std::fflush(stdout);
    const std::string console = ::testing::internal::GetCapturedStdout();
    hk::runTicks(400);  // the monitor starts after half a second
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(messageLines(), c.messages);
    EXPECT_EQ(console, c.console);
}

INSTANTIATE_TEST_SUITE_P(Platforms, VersionGate, ::testing::ValuesIn(kGateCases),
                         [](const ::testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });

}  // namespace
