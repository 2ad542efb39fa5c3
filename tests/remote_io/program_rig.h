// The whole program (its own slice table) with simulated remote nodes on the
// host CAN bus: the program configures the nodes and commands them
// operational; each node sends the process data the test gives it every
// 100 ms, and the test sees the frames the controller sends.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host/board.h"
#include "host/canbus.h"
#include "host/hostnet.h"
#include "host/vkboard.h"
#include "tests/config/config_rig.h"
#include "tests/support/sim_remote_node.h"

namespace rio_test {

// A current in mA as a node's 16-bit word (1/1024 mA).
inline uint16_t nodeMa(double v) { return static_cast<uint16_t>(std::lround(v * 1024.0)); }

class ProgramWithNodes : public cfg_test::ConfigRig {
protected:
    using Kind = SimRemoteNode::Kind;
    static constexpr int R10 = cfg_test::R10, R20 = cfg_test::R20, R80 = cfg_test::R80, R160 = cfg_test::R160;

    void SetUp() override {
        board::resetPlatform();
        hostnet::reset();
        hostcan::reset();
        sent_.clear();
        peer_ = hostcan::attach("test-peer", [this](const hostcan::Frame& f) {
            std::lock_guard<std::mutex> lock(mu_);
            sent_.push_back(f);
        });
        ConfigRig::SetUp();
    }
    void TearDown() override {
        nodes_.clear();
        ConfigRig::TearDown();
        hostcan::reset();
    }

    // A node of kind k with its default id, enabled by tunable `enable`
    // ("CNFG_CAN2.VL1_ENA.IN" ..).
    void addNode(Kind k, uint8_t id) { nodes_.push_back(std::make_unique<SimRemoteNode>(k, id)); }

    // Starts past the power-up window, opens the network and waits until
    // every node in `active` ("CNFG_CAN2.VL_NODE1_AIO.ACTIVE" ..) is set.
    void startWithNodes(std::initializer_list<const char*> enables, std::initializer_list<const char*> active) {
        startPastPowerUp();
        takeNodesIn(enables);
        for (int pass = 0; pass < 4000; ++pass) {
            bool all = true;
            for (const char* a : active) all = all && boolean(a) != 0;
            if (all) return;
            run(1);
        }
        for (const char* a : active) ASSERT_EQ(boolean(a), 1u) << a;
    }

    // The user's settings that take the nodes in: only the nodes on the bus
    // may be configured, the remote nodes are in use, the nodes `enables`
    // ("CNFG_CAN2.VL1_ENA.IN" ..) are enabled, and the own node's
    // go-operational command is on.
    void takeNodesIn(std::initializer_list<const char*> enables) {
        for (const char* perm : {"CNFG_CAN2.VL_NODE1_AIO.INIT_PERM", "CNFG_CAN2.VL_NODE3_RTD_8C.INIT_PERM",
                                 "CNFG_CAN2.VL_NODE4_BI.INIT_PERM", "CNFG_CAN2.VL_NODE5_BO.INIT_PERM"})
            setCell(perm, 0);
        for (const auto& nd : nodes_) setCell(permOf(nd->id()), 1);
        setCell("CNFG_CAN2.USE_VL.IN", 1);
        for (const char* e : enables) setCell(e, 1);
        setCell("CNFG_CAN2.GO_OPER.IN_1", 1);
    }

    // The tunables file's values that `fn` sets, entered once at the start,
    // after the defaults and before the program's first 10 ms slice (as the
    // loader enters the file's values before the groups run); from then on
    // the groups run the program's own slices alone.
    void tunablesAtStart(SliceFn fn) {
        self_ = this;
        atStartFn_ = fn;
        atStartDone_ = false;
        std::vector<SliceFn> r10 = {cfg_test::startUpInFirstFrame, [] {
                                        if (self_->atStartDone_) return;
                                        self_->atStartDone_ = true;
                                        self_->atStartFn_();
                                    }};
        const auto& program = cfg_test::programSlices()[R10];
        r10.insert(r10.end(), program.begin(), program.end());
        useSlices(R10, r10);
    }
    // Settings the tunables file gives, entered as above (so that the
    // configuration window of the power-up takes them).
    void settingsAtStart(std::vector<std::pair<std::string, double>> settings) {
        atStart_ = std::move(settings);
        tunablesAtStart([] {
            for (const auto& [name, v] : self_->atStart_) self_->setCell(name, v);
        });
    }

    // Relays 1 .. 16 of the relay node (_ub75 .. _ub90), unused, energised
    // where bit n-1 of `pattern` is set (an unused relay inverted), taken
    // over while live configuration is allowed.
    void energiseRelays(uint16_t pattern) {
        setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
        for (int n = 1; n <= 16; ++n) setCell("_ub" + std::to_string(74 + n) + ".INVERT.IN", (pattern >> (n - 1)) & 1u);
        run(8 * 4);
        setCell("CNFG_CAN2.CNFG_LIVE.IN", 0);
        run(8);
    }
    // Patterns of 16 bits that give every bit its own sequence of states,
    // each bit set in one pattern and clear in another.
    static constexpr uint16_t kBitPatterns[] = {0xAAAA, 0xCCCC, 0xF0F0, 0xFF00, 0x4D35};

    static const char* permOf(uint8_t id) {
        switch (id) {
            case 1: return "CNFG_CAN2.VL_NODE1_AIO.INIT_PERM";
            case 3: return "CNFG_CAN2.VL_NODE3_RTD_8C.INIT_PERM";
            case 4: return "CNFG_CAN2.VL_NODE4_BI.INIT_PERM";
            default: return "CNFG_CAN2.VL_NODE5_BO.INIT_PERM";
        }
    }

    // The data bytes that a node sends in its PDO `cob` every 100 ms, in a
    // frame of that length (an empty entry stops it); the node of the PDO's
    // id sends it, or the test's own participant when there is none.
    void pdo(uint32_t cob, std::vector<uint8_t> bytes) {
        if (bytes.empty()) pdos_.erase(cob);
        else pdos_[cob] = std::move(bytes);
    }
    // Little-endian 16-bit words as PDO bytes.
    static std::vector<uint8_t> words(std::initializer_list<uint16_t> w) {
        std::vector<uint8_t> out;
        for (uint16_t v : w) {
            out.push_back(static_cast<uint8_t>(v & 0xFF));
            out.push_back(static_cast<uint8_t>(v >> 8));
        }
        return out;
    }

    // 20 ms passes, the nodes reporting every fifth.
    void run(int passes) {
        for (int p = 0; p < passes; ++p) {
            if (tick_++ % 5 == 0) {
                for (const auto& [cob, bytes] : pdos_) {
                    hostcan::Frame fr = hostcan::makeFrame(cob, {});
                    fr.len = static_cast<uint8_t>(bytes.size() < 8 ? bytes.size() : 8);
                    for (size_t i = 0; i < fr.len; ++i) fr.data[i] = bytes[i];
                    SimRemoteNode* from = nodeOf(static_cast<uint8_t>(cob & 0x7F));
                    if (from != nullptr) from->transmit(fr);
                    else hostcan::send(peer_, fr);
                }
            }
            runPasses(R20, 1);
        }
    }

    void pass160() override { run(8); }

    SimRemoteNode* nodeOf(uint8_t id) {
        for (const auto& nd : nodes_)
            if (nd->id() == id) return nd.get();
        return nullptr;
    }

    // Frames with identifier `cob` the controller sent since the last call.
    std::vector<hostcan::Frame> takeSent(uint32_t cob) {
        std::lock_guard<std::mutex> lock(mu_);
        std::vector<hostcan::Frame> out;
        for (const auto& f : sent_)
            if (f.id == cob) out.push_back(f);
        sent_.clear();
        return out;
    }

    static inline ProgramWithNodes* self_ = nullptr;
    std::vector<std::pair<std::string, double>> atStart_;
    SliceFn atStartFn_ = nullptr;
    bool atStartDone_ = false;
    std::vector<std::unique_ptr<SimRemoteNode>> nodes_;
    std::map<uint32_t, std::vector<uint8_t>> pdos_;
    int peer_ = -1;
    int tick_ = 0;
    std::mutex mu_;
    std::vector<hostcan::Frame> sent_;
};

}  // namespace rio_test
