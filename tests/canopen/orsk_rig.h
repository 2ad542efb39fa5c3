// Test rig for the remote-node configuration: the CAN2 image on the virtual
// bus (CanNet), the nodes' start-up values, a 5 ms configuration task that
// calls one step of the sequence per enabled node, and in the 20 ms pass a
// minimal driver of the transitions the node supervision owns (request timer
// advance; moving on out of states 15, 13, 17, 10 and 38), so that the
// sequence can be followed on its own.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/config/CNFG_CAN2_nodes.h"
#include "tests/canopen/can_fixture.h"
#include "tests/support/sim_remote_node.h"

class OrskRig {
public:
    explicit OrskRig(bool runTask = true, hk::ClockMode mode = hk::ClockMode::Simulated);
    ~OrskRig();

    // Starts the configuration of node k (0 analog, 1 RTD, 2 discrete input, 3 relay).
    void start(int k);
    // Runs 20 ms passes until node k is idle again (or maxPasses).
    bool runUntilIdle(int k, int maxPasses = 1000);
    CoOrskNodeData& data(int k) { return *CoOrskNodeData4[k]; }
    const CO_ORSK_NodeConfig& rec(int k) { return *CoOrskNodeRecords[k]; }
    uint32_t cfgFault(int k) { return *rec(k).CfgFault; }
    uint32_t idFault(int k) { return *rec(k).IdFault; }
    bool lost(int k) { return lost_[k]; }
    std::string deviceName(int k) { return rec(k).DeviceName; }
    std::string swVer(int k) { return rec(k).SwVer; }

    CanNet net;
    bool enabled[4] = {true, true, true, true};
    bool drive = true;  // the supervision driver of the 20 ms pass

private:
    void supervise(int k);
    int phase_[4] = {};
    bool lost_[4] = {};
};

// The sequence's frames with node `id`, and the NMT and SDO frames only.
std::vector<std::string> nodeFrames(const std::vector<std::string>& lines, int id);
