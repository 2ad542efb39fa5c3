// The own CAN node's go-operational command through the whole program: its
// tunable, the power-up delay and the network's start-up pulse gate it, and
// each rise sends the own node one NMT start on the bus.
#include <string>
#include <vector>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/control/MPU.cells.h"
#include "host/canbus.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

float g_pwrUpDelay = 0.01f;
uint32_t g_goOperIn = 0;
bool g_settingsDone = false;

// After the defaults of the first frame: the power-up delay and the
// command's tunable, once.
void goOperSettings() {
    if (g_settingsDone) return;
    g_settingsDone = true;
    cells::MPU.PWR_UP_DLY_DLY_TIME = g_pwrUpDelay;
    cells::CNFG_CAN2.GO_OPER_IN_1 = g_goOperIn;
}

constexpr const char* kOwnStart = "000#010A";  // NMT start to node 10, the own node

class GoOper : public ConfigRig {
protected:
    void SetUp() override {
        hostcan::reset();
        ConfigRig::SetUp();
        std::vector<SliceFn> r10 = {startUpInFirstFrame, goOperSettings};
        r10.insert(r10.end(), programSlices()[R10].begin(), programSlices()[R10].end());
        useSlices(R10, r10);
        peer_ = hostcan::attach("test-peer", [](const hostcan::Frame&) {});
        hostcan::enableLog(true);
        hostcan::takeLog();
    }
    void TearDown() override {
        ConfigRig::TearDown();
        hostcan::reset();
    }
    void begin(uint32_t in1, float pwrUpDelay) {
        g_goOperIn = in1;
        g_pwrUpDelay = pwrUpDelay;
        g_settingsDone = false;
        start();
    }
    // Own-node starts sent since the last call.
    int starts() {
        int n = 0;
        for (const std::string& l : hostcan::takeLog()) n += l == kOwnStart ? 1 : 0;
        return n;
    }
    int peer_ = -1;
};

struct GateCase {
    const char* what;
    uint32_t in1;
    float pwrUpDelay;  // s
    int passes;        // 20 ms passes after the start
    uint32_t goOper;
    int nmt;  // the own node's NMT state then
    int starts;
};

TEST_F(GoOper, TheTunableAndThePowerUpDelayGateTheOwnNodesStart) {
    const GateCase cases[] = {
        {"tunable off", 0, 0.01f, 150, 0, 127, 0},
        {"tunable on", 1, 0.01f, 150, 1, 5, 1},
        {"power-up delay running", 1, 5.0f, 200, 0, 127, 0},
        {"power-up delay run out", 1, 5.0f, 300, 1, 5, 1},
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(c.what);
        begin(c.in1, c.pwrUpDelay);
        runPasses(R20, c.passes);
        EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.STATE"), 2);
        EXPECT_EQ(boolean("CNFG_CAN2.GO_OPER.AND"), c.goOper);
        EXPECT_EQ(boolean("MPU.PWR_UP_DLY.DELAY"), c.passes * 0.02f >= c.pwrUpDelay ? 1u : 0u);
        EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), c.nmt);
        EXPECT_EQ(starts(), c.starts);
        stopApp();
    }
}

// The own node stopped by another master: once it has not been operational
// for the 2 s delay with no remote node active, the 1 s start-up pulse holds
// the command off, and its end raises the command again, which starts the
// node once more.
TEST_F(GoOper, TheStartUpPulseRestartsAStoppedOwnNode) {
    begin(1, 0.01f);
    runPasses(R20, 150);
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    ASSERT_EQ(starts(), 1);
    hostcan::send(peer_, hostcan::makeFrame(0x000, {0x02, 10}));
    std::string trace;  // the command, one character per 20 ms pass
    for (int k = 0; k < 250; ++k) {
        runPasses(R20, 1);
        trace += boolean("CNFG_CAN2.GO_OPER.AND") != 0 ? '1' : '0';
    }
    // Off for the 1.0 s pulse, once the 2.0 s delay (in 160 ms steps) has
    // run out, and on again for good.
    const size_t off = trace.find('0'), on = trace.find('1', off);
    ASSERT_NE(off, std::string::npos) << trace;
    EXPECT_GE(off, 100u) << trace;
    EXPECT_LE(off, 120u) << trace;
    EXPECT_EQ(on - off, 51u) << trace;
    EXPECT_EQ(trace.find('0', on), std::string::npos) << trace;
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    EXPECT_EQ(starts(), 1);
}

}  // namespace
}  // namespace cfg_test
