// The whole program (its own slice table) with a simulated RTD node on the
// host CAN bus, and on request the remote analog node as well: the program
// configures the nodes and commands them operational, the test sends the
// RTD node's two process-data PDOs every 160 ms (the analog node's three
// every 100 ms) and the nodes' channels, alarm levels and trips reach the
// remote-node lists through the program's own slices. Settings are applied
// in the first 10 ms frame, after the defaults, so that they are in force
// when the nodes' configuration is prepared.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/remote_io/remote_io.h"
#include "host/board.h"
#include "host/vkboard.h"
#include "host/canbus.h"
#include "host/hostkernel.h"
#include "host/hostnet.h"
#include "host/mscan.h"
#include "storage/log_evt.h"
#include "tests/support/app_harness.h"
#include "tests/support/event_log_reader.h"
#include "tests/support/sim_remote_node.h"

namespace ra_node {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

// Channel words: 1/16 degree Celsius.
constexpr uint16_t k77F = 0x0190;   // 25 C
constexpr uint16_t k176F = 0x0500;  // 80 C
constexpr uint16_t k212F = 0x0640;  // 100 C
constexpr uint16_t k320F = 0x0A00;  // 160 C

// The analog node's words: 1/1024 mA, the top bit the channel's fault flag.
constexpr uint16_t nodeMa(double mA) { return static_cast<uint16_t>(mA * 1024.0 + 0.5); }
constexpr uint16_t kChannelFault = 0x8000;

class NodeRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        // Its settings go in while the control runs, in larger steps than the
        // service tool accepts then: not yet entered in the tool's steps or in
        // configure mode.
        checkSteps(false);
        board::reset();
        board::resetPlatform();
        hostnet::reset();
        hostcan::reset();
        // Every contact of the board closed: no external trip.
        board::setDiscreteInputs(0xFFFFFFFFu);
        started_ = false;
        done_ = false;
        self_ = this;
        peer_ = hostcan::attach("test-peer", [](const hostcan::Frame&) {});
        const auto& program = tc_test::programSliceTable();
        std::vector<SliceFn> r10{early};
        r10.insert(r10.end(), program[R10].begin(), program[R10].end());
        useSlices(R10, r10);
        for (int g : {R20, R40, R80, R160}) useSlices(g, program[g]);
        for (auto& w : raw_) w = k77F;
        for (auto& w : analog_) w = nodeMa(12.0);
        readback_[0] = readback_[1] = 0;
        analogNode_ = false;
        rtdNode_ = true;
    }
    void TearDown() override {
        node_.reset();
        aio_.reset();
        settings_.clear();
        AppHarness::TearDown();
        hostcan::reset();
    }
    // A setting of the first frame.
    void setting(const std::string& name, double v) { settings_.emplace_back(name, v); }
    // Channel k (1..8) used as a bearing temperature, armed at standstill:
    // level 1 an alarm at `alarm` F, level 2 a trip at `trip` F, no delay.
    void levels(int k, double alarm, double trip) {
        const std::string f = "_ub" + std::to_string(42 + k), e = "_ub" + std::to_string(50 + k);
        for (const auto& [cell, v] : std::vector<std::pair<std::string, double>>{
                 {f + ".FUNCT.IN", 2},
                 {e + ".SPEED_ENA.IN", 0},
                 {e + ".USE_SP1.IN", 1},
                 {e + ".ALM_SP1.IN", alarm},
                 {e + ".TRIP_SP2.IN", 1},
                 {e + ".ALM_SP2.IN", trip},
                 {e + ".ALM_DLY.IN", 0.0}})
            setting(cell, v);
    }
    // The remote analog node (node 1) on the bus and enabled as well, from
    // the next start on.
    void withAnalogNode() { analogNode_ = true; }
    // No node enabled (the remote nodes still in use): the test's peer
    // keeps the bus alive with the RTD node's PDOs alone.
    void withoutNodes() { rtdNode_ = false; }
    // Analog channel k (1..8) in use with `function` (13: signal monitoring,
    // nothing else reads it).
    void analogChannel(int k, int function = 13) { setting("_ub" + std::to_string(32 + k) + ".FUNCT.IN", function); }
    // The alarm levels of analog channel k (1..8), armed at standstill, no
    // delay; the channel reads 0 .. 100 over 4 .. 20 mA.
    void analogLevels(int k, const std::vector<std::pair<std::string, double>>& levels) {
        const std::string e = "_ub" + std::to_string(24 + k);
        setting(e + ".SPEED_ENA.IN", 0);
        setting(e + ".ALM_DLY.IN", 0.0);
        for (const auto& [field, v] : levels) setting(e + "." + field, v);
    }
    // Starts with the remote nodes in use and the RTD node (and the analog
    // node, when asked for) enabled; runs until the nodes are active, lets
    // their words settle and resets the latches their silence before they
    // came up left.
    void start() {
        setting("CNFG_CAN2.USE_VL.IN", 1);
        if (!rtdNode_) {
            startApp();
            feed(60);
            reset();
            return;
        }
        setting("CNFG_CAN2.VL3_ENA.IN", 1);
        node_ = std::make_unique<SimRemoteNode>(SimRemoteNode::Kind::Rtd, 3);
        if (analogNode_) {
            setting("CNFG_CAN2.VL1_ENA.IN", 1);
            aio_ = std::make_unique<SimRemoteNode>(SimRemoteNode::Kind::AnalogIO, 1);
        }
        startApp();
        const auto up = [&] {
            return RemoteNodeBlocks[kNodeRtd].Operational != 0 &&
                   (!analogNode_ || RemoteNodeBlocks[kNodeAio].Operational != 0);
        };
        for (int p = 0; p < 4000 && !up(); ++p) runPasses(R20, 1);
        ASSERT_EQ(RemoteNodeBlocks[kNodeRtd].Operational, 1u) << "the RTD node never became operational";
        if (analogNode_) {
            ASSERT_EQ(RemoteNodeBlocks[kNodeAio].Operational, 1u) << "the analog node never did";
        }
        feed(10);
        ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE"), 1u);
        if (analogNode_) {
            ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE"), 1u);
        }
        reset();
    }
    // The service tool's reset: a pulse on the debug reset, then the 1 s
    // reset pulse of the 80 ms group.
    void reset() {
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
        feed(2);
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
        feed(20);
    }
    // Channel k's word from now on.
    void word(int k, uint16_t w) { raw_[k - 1] = w; }
    // The analog node's input k (1..8) from now on; its readback of output
    // n (1, 2).
    void analogWord(int k, uint16_t w) { analog_[k - 1] = w; }
    void readback(int n, uint16_t w) { readback_[n - 1] = w; }
    // Runs n 80 ms passes, the node sending both PDOs every 160 ms.
    void feed(int n80) { feed20(4 * n80); }
    // Runs n 20 ms passes, the node sending as above.
    void feed20(int n20) {
        for (int p = 0; p < n20; ++p) {
            if (sending_ && tick_ % 8 == 0) {
                send(0x283, raw_);
                send(0x383, raw_ + 4);
            }
            if (sending_ && analogNode_ && tick_ % 5 == 0) {
                send(0x481, readback_);
                send(0x281, analog_);
                send(0x381, analog_ + 4);
            }
            ++tick_;
            runPasses(R20, 1);
        }
    }
    // 80 ms passes until the boolean cell reads `value`: the count, or 0.
    int passesUntil(const std::string& name, uint32_t value, int limit) {
        for (int k = 1; k <= limit; ++k) {
            feed(1);
            if (boolean(name) == value) return k;
        }
        return 0;
    }
    // The event-log rows, read back once the writer has caught up.
    std::vector<tc_test::LogRow> eventLog() {
        EXPECT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail; }, 2000));
        feed(1);
        return tc_test::readEventLog();
    }
    static int count(const std::vector<tc_test::LogRow>& rows, const std::string& what) {
        return tc_test::countRows(rows, what);
    }

private:
    static void early() {
        if (started_) return;
        started_ = true;
        tc_test::loadTuneDefaults();
        auto& c = cells::CNFG_CAN2;
        // Only the nodes on the bus may be configured; the own node goes operational
        // once the network is open.
        c.VL_NODE1_AIO_INIT_PERM = self_->analogNode_ ? 1 : 0;
        c.VL_NODE4_BI_INIT_PERM = 0;
        c.VL_NODE5_BO_INIT_PERM = 0;
        c.GO_OPER_IN_1 = 1;
        for (const auto& [name, v] : self_->settings_) self_->setCell(name, v);
        done_ = true;
    }
    // Four words from `w` in one PDO.
    void send(uint32_t cob, const uint16_t* w) {
        std::vector<uint8_t> b;
        for (int k = 0; k < 4; ++k) {
            b.push_back(static_cast<uint8_t>(w[k] & 0xFF));
            b.push_back(static_cast<uint8_t>(w[k] >> 8));
        }
        hostcan::send(peer_, hostcan::makeFrame(cob, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]}));
    }

    static inline NodeRig* self_ = nullptr;
    static inline bool started_ = false, done_ = false;
    std::vector<std::pair<std::string, double>> settings_;
    std::unique_ptr<SimRemoteNode> node_, aio_;
    int peer_ = -1;
    uint16_t raw_[8] = {};
    uint16_t analog_[8] = {};
    uint16_t readback_[4] = {};  // outputs 1 and 2, the rest of the PDO 0
    bool analogNode_ = false, rtdNode_ = true;
    int tick_ = 0;

protected:
    bool sending_ = true;  // the node sends its PDOs
};

}  // namespace ra_node
