// The version gate against every platform answer it distinguishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "tests/support/runtime_fixture.h"

namespace {

using hostplatform::Versions;

struct GateCase {
    const char* name;
    std::function<void(Versions&)> set;
    int result;
    const char* error;  // the error event, or nullptr when none is sent
    const char* coder = "1.00-0";  // the coder version and date the module was generated with
    const char* coderDate = "2016/12/06";
};

class VersionGate : public tc_test::RuntimeFixture, public ::testing::WithParamInterface<GateCase> {};

TEST_P(VersionGate, AcceptsOrRefusesWithItsEvent) {
    const GateCase& c = GetParam();
    c.set(hostplatform::versions());
    std::snprintf(OSVersionNumber, sizeof OSVersionNumber, "%s", c.coder);
    std::snprintf(OSReleaseDate, sizeof OSReleaseDate, "%s", c.coderDate);
    int rc = 99;
    hk::runTask([&] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
        rc = AppVerifyVersionCompatibility();
    });
    hk::runTicks(100);
    EXPECT_EQ(rc, c.result);
    std::vector<std::string> errors;
    bool footprintState = false;
    for (const auto& l : messageLines()) {
        if (l.rfind("event 6: ", 0) == 0) errors.push_back(l.substr(9));
        if (l.rfind("state 3: CPU Footprint ", 0) == 0) footprintState = true;
    }
    if (c.error)
        EXPECT_EQ(errors, std::vector<std::string>{c.error});
    else
        EXPECT_TRUE(errors.empty()) << errors.front();
    // The footprint is announced whenever it is accepted.
    EXPECT_EQ(footprintState, std::string(c.error ? c.error : "").find("footprint") == std::string::npos);
}

const char* kOs = "ERROR: VxWorks version does not match.";
const char* kFp = "ERROR: Wrong footprint version installed.";
const char* kStd = "ERROR: VN_StdFiles version does not match.";
const char* kAbs = "ERROR: VN_Abstracton version does not match.";
const char* kCoder = "ERROR: Wrong Coder library version installed.";

INSTANTIATE_TEST_SUITE_P(
    Answers, VersionGate,
    ::testing::Values(
        GateCase{"Expected", [](Versions&) {}, 0, nullptr},
        GateCase{"OsOtherPatch", [](Versions& v) { v.os[3] = 4; }, -1, kOs},
        GateCase{"OsOtherMajor", [](Versions& v) { v.os[0] = 7; }, -1, kOs},
        GateCase{"OsQueryFails", [](Versions& v) { v.osOk = false; }, -1, kOs},
        GateCase{"FootprintOtherPart", [](Versions& v) { v.footprintPn = 61930459; }, -1, kFp},
        GateCase{"FootprintNewerRevision", [](Versions& v) { v.footprintRev = 106; }, 0, nullptr},
        GateCase{"FootprintOlderRevisionAboveTheOldest", [](Versions& v) { v.footprintRev = 104; }, 0, nullptr},
        GateCase{"FootprintRevisionZero", [](Versions& v) { v.footprintRev = 0; }, -1, kFp},
        GateCase{"StdFilesOtherMajor", [](Versions& v) { v.stdFiles[0] = 2; }, -1, kStd},
        GateCase{"StdFilesOlderMinor", [](Versions& v) { v.stdFiles[1] = 6; }, -1, kStd},
        GateCase{"StdFilesNewerMinor", [](Versions& v) { v.stdFiles[1] = 8; }, 0, nullptr},
        GateCase{"StdFilesOtherPatch", [](Versions& v) { v.stdFiles[2] = 0; }, 0, nullptr},
        GateCase{"StdFilesQueryFails", [](Versions& v) { v.stdFilesOk = false; }, -1, kStd},
        GateCase{"AbstractionOtherMajor", [](Versions& v) { v.abstraction[0] = 4; }, -1, kAbs},
        GateCase{"AbstractionOlderMinor", [](Versions& v) { v.abstraction[1] = 10; }, -1, kAbs},
        GateCase{"AbstractionNewerPatch", [](Versions& v) { v.abstraction[2] = 1; }, 0, nullptr},
        GateCase{"AbstractionQueryFails", [](Versions& v) { v.abstractionOk = false; }, -1, kAbs},
        GateCase{"CoderOtherVersion", [](Versions&) {}, -1, kCoder, "1.01-0"},
        GateCase{"CoderOtherDateIsAnAlarm", [](Versions&) {}, 0, nullptr, "1.00-0", "2017/01/01"}),
    [](const ::testing::TestParamInfo<GateCase>& i) { return std::string(i.param.name); });

}  // namespace
