// The whole program (its own slice table) with a simulated RTD node on the
// host CAN bus: the program configures the node and commands it
// operational, the test sends the node's two process-data PDOs every 160 ms
// and the node's channels, alarm levels and trips reach the remote-node
// lists through the program's own slices. Settings are applied in the first
// 10 ms frame, after the defaults, so that they are in force when the node's
// configuration is prepared.
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

class NodeRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
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
    }
    void TearDown() override {
        node_.reset();
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
    // Starts with the remote nodes in use and the RTD node enabled; runs
    // until the node is active, lets its words settle at 77 F and resets the
    // latches its silence before it came up left.
    void start() {
        setting("CNFG_CAN2.USE_VL.IN", 1);
        setting("CNFG_CAN2.VL3_ENA.IN", 1);
        node_ = std::make_unique<SimRemoteNode>(SimRemoteNode::Kind::Rtd, 3);
        startApp();
        for (int p = 0; p < 2000 && RemoteNodeBlocks[kNodeRtd].Operational == 0; ++p) runPasses(R20, 1);
        ASSERT_EQ(RemoteNodeBlocks[kNodeRtd].Operational, 1u) << "the RTD node never became operational";
        feed(10);
        ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE"), 1u);
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
    // Runs n 80 ms passes, the node sending both PDOs every 160 ms.
    void feed(int n80) { feed20(4 * n80); }
    // Runs n 20 ms passes, the node sending as above.
    void feed20(int n20) {
        for (int p = 0; p < n20; ++p) {
            if (sending_ && tick_ % 8 == 0) {
                send(0x283, 0);
                send(0x383, 4);
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
        // Only the RTD node may be configured; the own node goes operational
        // once the network is open.
        c.VL_NODE1_AIO_INIT_PERM = 0;
        c.VL_NODE4_BI_INIT_PERM = 0;
        c.VL_NODE5_BO_INIT_PERM = 0;
        c.GO_OPER_IN_1 = 1;
        for (const auto& [name, v] : self_->settings_) self_->setCell(name, v);
        done_ = true;
    }
    void send(uint32_t cob, int first) {
        std::vector<uint8_t> b;
        for (int k = first; k < first + 4; ++k) {
            b.push_back(static_cast<uint8_t>(raw_[k] & 0xFF));
            b.push_back(static_cast<uint8_t>(raw_[k] >> 8));
        }
        hostcan::send(peer_, hostcan::makeFrame(cob, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]}));
    }

    static inline NodeRig* self_ = nullptr;
    static inline bool started_ = false, done_ = false;
    std::vector<std::pair<std::string, double>> settings_;
    std::unique_ptr<SimRemoteNode> node_;
    int peer_ = -1;
    uint16_t raw_[8] = {};
    int tick_ = 0;

protected:
    bool sending_ = true;  // the node sends its PDOs
};

}  // namespace ra_node
