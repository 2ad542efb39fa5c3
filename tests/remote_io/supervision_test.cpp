// The remote nodes' supervision through the whole program: the user takes
// a simulated node in, the chassis task runs the configuration sequence
// against it on the virtual bus and commands it operational, and the 20 ms
// node block counts the node's PDOs (raw frames from the test) and its
// failed periodic reads.
#include <algorithm>
#include <cstdio>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/remote_io/remote_io.h"
#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

using Lines = std::vector<std::string>;

const char* const kBlocks[4] = {"VL_NODE1_AIO", "VL_NODE3_RTD_8C", "VL_NODE4_BI", "VL_NODE5_BO"};
const char* const kEnables[4] = {"CNFG_CAN2.VL1_ENA.IN", "CNFG_CAN2.VL3_ENA.IN", "CNFG_CAN2.VL4_ENA.IN",
                                 "CNFG_CAN2.VL5_ENA.IN"};

class Supervision : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        hostcan::enableLog(true);
    }
    std::string f(const std::string& block, const char* field) { return "CNFG_CAN2." + block + "." + field; }

    // Node k (0 .. 3: analog, RTD, discrete input, relay) of the given kind
    // on the bus, taken in by the user past the power-up window.
    SimRemoteNode& takeIn(int k, Kind kind, int id) {
        addNode(kind, static_cast<uint8_t>(id));
        startPastPowerUp();
        takeNodesIn({kEnables[k]});
        return *nodes_.back();
    }
    // Takes node k in and runs until it is configured and commanded
    // operational.
    void startWithNode(int k, Kind kind, int id) {
        takeIn(k, kind, id);
        for (int pass = 0; pass < 4000 && RemoteNodeBlocks[k].Operational == 0; ++pass) runPasses(R20, 1);
        ASSERT_EQ(RemoteNodeBlocks[k].Operational, 1u) << "node " << id << " never became operational";
        ASSERT_EQ(boolean(f(kBlocks[k], "CFG_FAULT")), 0u);
        ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    }
    // A PDO or another frame of the given bytes (a node's PDO is shorter
    // than the eight objects its receive PDO maps).
    void pdo(uint32_t cob, std::initializer_list<uint8_t> bytes) { hostcan::send(peer_, hostcan::makeFrame(cob, bytes)); }
    // Runs passes, sending the PDO every `every` passes.
    void feed(uint32_t cob, int passes, int every) {
        for (int p = 0; p < passes; ++p) {
            if (p % every == 0) pdo(cob, {1, 2, 3});
            runPasses(R20, 1);
        }
    }
    bool logged(const std::string& line) {
        const Lines l = hostcan::takeLog();
        return std::find(l.begin(), l.end(), line) != l.end();
    }
};

TEST_F(Supervision, PdosInTimeKeepTheNodeActiveAndLateOnesAddSlipsUntilItIsLost) {
    startWithNode(2, Kind::DiscreteIn, 4);
    EXPECT_TRUE(logged("000#0104"));  // NMT start of node 4
    feed(0x184, 400, 10);             // every 200 ms, the scan rate
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 1u);
    EXPECT_EQ(integer(f("VL_NODE4_BI", "DBS_M1_P1")), 0);
    EXPECT_NEAR(real(f("VL_NODE4_BI", "MSG_1_RATE")), 200.0f, 25.0f);
    EXPECT_LE(integer(f("VL_NODE4_BI", "LAST_MSG_1")), 200);
    // Late PDOs, then PDOs on time: each gap of 220 ms adds 64, each PDO on
    // time takes one off, down to 0. Two late in a row (128) are not yet a
    // loss, nor is a third once the count is back at 0.
    hostcan::takeLog();
    for (const int late : {2, 1}) {
        pdo(0x184, {1, 2, 3});
        runPasses(R20, 1 + 11 * late);
        ASSERT_EQ(integer(f("VL_NODE4_BI", "DBS_M1_P1")), 64 * late);
        for (int want = 64 * late - 1; want >= 0; --want) {
            pdo(0x184, {1, 2, 3});
            for (int p = 0; p < 5; ++p) {
                runPasses(R20, 1);
                ASSERT_EQ(integer(f("VL_NODE4_BI", "DBS_M1_P1")), want) << late << " late, pass " << p;
                ASSERT_EQ(boolean(f("VL_NODE4_BI", "COMM_FLT_1")), 0u) << late << " late, " << want;
            }
        }
    }
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 1u);
    EXPECT_FALSE(logged("000#8004"));
    // The PDOs stop: a slip of 64 every 220 ms (lateness above the 200 ms
    // limit), the node lost once the count passes 128.
    pdo(0x184, {1, 2, 3});
    runPasses(R20, 1);
    std::vector<int> slips;
    int lostAt = -1;
    for (int p = 1; p <= 40 && lostAt < 0; ++p) {
        runPasses(R20, 1);
        const int s = integer(f("VL_NODE4_BI", "DBS_M1_P1"));
        if (slips.empty() || s != slips.back()) slips.push_back(s);
        if (boolean(f("VL_NODE4_BI", "COMM_FLT_1")) != 0) lostAt = p;
    }
    EXPECT_EQ(slips, (std::vector<int>{0, 64, 128, 192}));
    EXPECT_EQ(lostAt, 33);  // three steps of 11 passes
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 0u);
    runPasses(R20, 2);
    EXPECT_TRUE(logged("000#8004"));  // a lost node is sent back to pre-operational
    // PDOs again: the node stays lost, its slip count held at 0.
    feed(0x184, 30, 10);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "COMM_FLT_1")), 1u);
    EXPECT_EQ(integer(f("VL_NODE4_BI", "DBS_M1_P1")), 0);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 0u);
    // The communication reset brings it back: operational again, active.
    serviceWrite("CNFG_CAN2.VL_RST.IN_2", 1);
    runPasses(R20, 8);
    serviceWrite("CNFG_CAN2.VL_RST.IN_2", 0);
    feed(0x184, 30, 10);
    EXPECT_TRUE(logged("000#0104"));
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "COMM_FLT_1")), 0u);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 1u);
}

// The node's enable is its start request: held, it starts the node no
// more; dropped, it sends the node back to pre-operational once, and the
// node's PDOs no longer make it active.
TEST_F(Supervision, AHeldEnableGivesNoFurtherStartAndItsDropTakesTheNodeOut) {
    startWithNode(2, Kind::DiscreteIn, 4);
    auto count = [](const std::string& frame) {
        const Lines l = hostcan::takeLog();
        return std::count(l.begin(), l.end(), frame);
    };
    feed(0x184, 60, 10);
    count("000#0104");
    feed(0x184, 60, 10);
    EXPECT_EQ(count("000#0104"), 0);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 1u);
    serviceWrite(kEnables[2], 0);
    feed(0x184, 40, 10);
    Lines l = hostcan::takeLog();
    EXPECT_EQ(std::count(l.begin(), l.end(), "000#8004"), 1);
    EXPECT_EQ(std::count(l.begin(), l.end(), "000#0104"), 0);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 0u);
}

// The PDO rate is a running average; a restart of the node's configuration
// starts it again from nothing heard.
TEST_F(Supervision, ARestartStartsThePdoRateAgain) {
    startWithNode(2, Kind::DiscreteIn, 4);
    feed(0x184, 400, 10);
    ASSERT_NEAR(real(f("VL_NODE4_BI", "MSG_1_RATE")), 200.0f, 25.0f);
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 1);
    runPasses(R20, 8);
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 0);
    for (int p = 0; p < 4000 && (RemoteNodeBlocks[2].Operational == 0 || boolean(f("VL_NODE4_BI", "CFG_FAULT")) != 0);
         ++p)
        runPasses(R20, 1);
    ASSERT_EQ(boolean(f("VL_NODE4_BI", "CFG_FAULT")), 0u);
    // The first PDO is only heard; each one after it adds a tenth of its
    // 200 ms period to the average: 20, then 38 ms.
    feed(0x184, 21, 10);
    EXPECT_NEAR(real(f("VL_NODE4_BI", "MSG_1_RATE")), 38.0f, 0.5f);
}

TEST_F(Supervision, TheRtdNodeGetsAHundredMillisecondsMoreBeforeASlip) {
    startWithNode(1, Kind::Rtd, 3);
    feed(0x283, 30, 10);
    pdo(0x283, {1});
    pdo(0x383, {1});
    runPasses(R20, 1);
    std::vector<int> at;
    int prev = integer(f("VL_NODE3_RTD_8C", "DBS_M1_P1"));
    for (int p = 1; p <= 50; ++p) {
        if (p % 10 == 0) pdo(0x383, {1});  // the second PDO keeps coming
        runPasses(R20, 1);
        const int s = integer(f("VL_NODE3_RTD_8C", "DBS_M1_P1"));
        if (s != prev) at.push_back(p);
        prev = s;
    }
    // +64 every 320 ms past the last PDO; lost above 128, and a lost node's
    // count is held at 0.
    EXPECT_EQ(at, (std::vector<int>{16, 32, 48, 49}));
    EXPECT_EQ(boolean(f("VL_NODE3_RTD_8C", "COMM_FLT_1")), 1u);
    EXPECT_EQ(integer(f("VL_NODE3_RTD_8C", "DBS_M2_P1")), 0);
}

TEST_F(Supervision, FailedPeriodicReadsAddThirtyTwoEachUntilTheNodeIsLost) {
    startWithNode(2, Kind::DiscreteIn, 4);
    nodes_[0]->values[SimRemoteNode::key(0x1001, 0)] = 0x09;  // error register: generic and temperature
    feed(0x184, 75, 10);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "NODE_FLT")), 1u);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "NODE_T_ALM")), 1u);
    EXPECT_EQ(RemoteNodeBlocks[2].SDOSlipCount, 0);
    // The error register is read once a second.
    hostcan::takeLog();
    feed(0x184, 255, 10);
    int reads = 0;
    for (const std::string& l : hostcan::takeLog()) reads += l.rfind("604#40011000", 0) == 0 ? 1 : 0;
    EXPECT_EQ(reads, 5);
    nodes_[0]->aborts[SimRemoteNode::key(0x1001, 0)] = 0x06020000;
    std::vector<int> counts;
    for (int p = 0; p < 400 && boolean(f("VL_NODE4_BI", "COMM_FLT_1")) == 0; ++p) {
        if (p % 10 == 0) pdo(0x184, {1});
        runPasses(R20, 1);
        const int s = RemoteNodeBlocks[2].SDOSlipCount;
        if (counts.empty() || s != counts.back()) counts.push_back(s);
    }
    // Each aborted read adds 32; the three further 5 ms chassis passes that
    // still see the read's finished state count as clean ones (-1 each)
    // until the 20 ms block closes the read. Lost once past 128.
    EXPECT_EQ(counts, (std::vector<int>{0, 32, 29, 61, 58, 90, 87, 119, 116, 148, 145}));
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "COMM_FLT_1")), 1u);
    EXPECT_EQ(integer(f("VL_NODE4_BI", "DBS_M1_P1")), 0);  // PDOs were fine all along
    // The lost node's entry in the remote nodes' alarm list, and no other
    // node's.
    runPasses(R80, 3);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_" + std::to_string(k)), k == 4 ? 1u : 0u) << k;
}

TEST_F(Supervision, ARestartedConfigurationStartsWithTheFaultSetAndEndsWithItCleared) {
    startWithNode(2, Kind::DiscreteIn, 4);
    nodes_[0]->lateMs = 100;
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 1);
    bool seenRunning = false;
    for (int p = 0; p < 2000 && !(seenRunning && (CNFG_CAN2_VL_NODE4_BI_2425.Status & ORSK_IDLE) != 0); ++p) {
        runPasses(R20, 1);
        if ((CNFG_CAN2_VL_NODE4_BI_2425.Status & ORSK_IDLE) == 0 && !seenRunning) {
            // From the start of the sequence until its verdict.
            seenRunning = true;
            EXPECT_EQ(boolean(f("VL_NODE4_BI", "CFG_FAULT")), 1u) << "pass " << p;
            EXPECT_EQ(boolean(f("VL_NODE4_BI", "ACTIVE")), 0u);
        }
    }
    EXPECT_TRUE(seenRunning);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "CFG_FAULT")), 0u);
}

// A node whose serial number read was refused is lost from then on; its
// sequence still reads the port and then the module code, as for a sound node.
TEST_F(Supervision, ANodeLostBeforeThePortReadStillHasItsModuleCodeRead) {
    addNode(Kind::RelayOut, 5);
    nodes_[0]->aborts[SimRemoteNode::key(0x1018, 4)] = 0x06020000;
    // The tunables file takes the relay node in from the power-up on.
    tunablesAtStart([] {
        auto& c = cells::CNFG_CAN2;
        c.VL_NODE1_AIO_INIT_PERM = 0;
        c.VL_NODE3_RTD_8C_INIT_PERM = 0;
        c.VL_NODE4_BI_INIT_PERM = 0;
        c.VL_NODE5_BO_INIT_PERM = 1;
        c.VL5_ENA_IN = 1;
        c.USE_VL_IN = 1;
        c.GO_OPER_IN_1 = 1;
    });
    start();
    hostcan::takeLog();
    Lines requests;
    for (int pass = 0; pass < 300; ++pass) {
        runPasses(R20, 1);
        for (const std::string& l : hostcan::takeLog())
            if (l.rfind("605#", 0) == 0) requests.push_back(l.substr(0, 12));
    }
    EXPECT_EQ(RemoteNodeBlocks[3].Lost[0], 1u);
    std::string all;
    for (const std::string& r : requests) all += r + " ";
    const auto port = std::find(requests.begin(), requests.end(), "605#40642202");
    ASSERT_NE(port, requests.end()) << all;
    ASSERT_NE(port + 1, requests.end()) << all;
    EXPECT_EQ(port[1], "605#40002000") << all;
}

TEST_F(Supervision, HeartbeatsOfAnIdleNodeAreNoRestartButABootUpIs) {
    startWithNode(2, Kind::DiscreteIn, 4);
    for (int k = 0; k < 5; ++k) {
        pdo(0x704, {0x05});
        feed(0x184, 10, 10);
    }
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ID_FAULT")), 0u);
    pdo(0x704, {0x00});
    runPasses(R20, 2);
    EXPECT_EQ(boolean(f("VL_NODE4_BI", "ID_FAULT")), 1u);
}

TEST_F(Supervision, TheRelayNodeGetsItsCommandsWithTheWatchdogByteOncePerScan) {
    startWithNode(3, Kind::RelayOut, 5);
    // Relay 16 (unused) inverted, so energised: taken over while live
    // configuration is allowed.
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
    serviceWrite("_ub90.INVERT.IN", 1);
    feed(0x185, 8 * 8, 10);
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
    feed(0x185, 8 * 2, 10);
    ASSERT_EQ(boolean("VL5_BO.BOUT_16.DISPLAY"), 1u);
    hostcan::takeLog();
    feed(0x185, 40, 10);
    Lines tx;
    for (const std::string& l : hostcan::takeLog())
        if (l.rfind("205#", 0) == 0) tx.push_back(l);
    ASSERT_GE(tx.size(), 3u);
    ASSERT_LE(tx.size(), 5u);
    unsigned wd[2] = {};
    for (size_t k = 0; k < tx.size(); ++k) {
        ASSERT_EQ(tx[k].size(), 10u) << tx[k];
        EXPECT_EQ(tx[k].substr(4, 4), "0080");
        if (k < 2) std::sscanf(tx[k].c_str() + 8, "%2x", &wd[k]);
    }
    EXPECT_EQ((wd[1] - wd[0]) & 0xFFu, 10u);  // ten 20 ms releases between two PDOs
    // A lost node gets nothing and reads all relays back as on.
    feed(0x185, 1, 10);
    runPasses(R20, 40);
    hostcan::takeLog();
    runPasses(R20, 20);
    for (const std::string& l : hostcan::takeLog()) EXPECT_NE(l.rfind("205#", 0), 0u) << l;
    EXPECT_EQ(RemoteNodeBlocks[3].Data[0][0], 65535u);
}

TEST_F(Supervision, TheAnalogNodeGetsBothOutputsAndTheWatchdogInFiveBytes) {
    startWithNode(0, Kind::AnalogIO, 1);
    // Output 1's channel limited to exactly 20 mA, output 2's to 4 mA.
    for (const auto& [ub, mA] : {std::pair{"_ub41", 20.0}, std::pair{"_ub42", 4.0}}) {
        serviceWrite(std::string(ub) + ".CHAN_LO.IN", mA);
        serviceWrite(std::string(ub) + ".CHAN_HI.IN", mA);
    }
    for (int p = 0; p < 40; ++p) {
        if (p % 10 == 0) {
            pdo(0x281, {0});
            pdo(0x381, {0});
            pdo(0x481, {0});
        }
        runPasses(R20, 1);
    }
    hostcan::takeLog();
    for (int p = 0; p < 20; ++p) {
        if (p % 10 == 0) {
            pdo(0x281, {0});
            pdo(0x381, {0});
            pdo(0x481, {0});
        }
        runPasses(R20, 1);
    }
    Lines tx;
    for (const std::string& l : hostcan::takeLog())
        if (l.rfind("501#", 0) == 0) tx.push_back(l);
    ASSERT_FALSE(tx.empty());
    EXPECT_EQ(tx[0].substr(0, 12), "501#00500010");
    EXPECT_EQ(tx[0].size(), 14u);
    EXPECT_EQ(boolean(f("VL_NODE1_AIO", "ACTIVE")), 1u);
}

}  // namespace
}  // namespace rio_test
