// A simulated remote I/O node on the host CAN bus (in-process participant):
// NMT slave with boot-up, an SDO server (expedited and segmented upload,
// expedited download) over the objects the controller's configuration
// sequence reads and writes, and settable misbehaviour. The same node kinds
// exist as real peers on the bus port in tests/node/sim_nodes.js.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "host/canbus.h"

class SimRemoteNode {
public:
    enum class Kind { AnalogIO, Rtd, DiscreteIn, RelayOut };

    struct Write {
        uint16_t index;
        uint8_t sub;
        uint32_t value;
        bool operator==(const Write& o) const { return index == o.index && sub == o.sub && value == o.value; }
    };

    SimRemoteNode(Kind kind, uint8_t id);
    ~SimRemoteNode();
    SimRemoteNode(const SimRemoteNode&) = delete;
    SimRemoteNode& operator=(const SimRemoteNode&) = delete;

    // ---- misbehaviour ----
    bool neverBoots = false;   // ignores reset-node
    int bootUps = 1;           // boot-up frames sent per reset (2: boots twice)
    int lateMs = 0;            // every SDO answer leaves this much later (simulated time, 5 ms steps)
    // Objects answered with an SDO abort (key: index << 8 | sub) and the code sent.
    std::map<uint32_t, uint32_t> aborts;
    // Objects that get no answer at all.
    std::map<uint32_t, bool> silent;
    bool badToggle = false;    // answers every segment request with toggle 0

    // Object values (key: index << 8 | sub); texts separately.
    std::map<uint32_t, uint32_t> values;
    std::map<uint32_t, std::string> texts;
    static uint32_t key(uint16_t index, uint8_t sub) { return static_cast<uint32_t>(index) << 8 | sub; }

    uint8_t id() const { return id_; }
    // A frame the node sends of its own accord (its process data), at once.
    void transmit(const hostcan::Frame& f) { hostcan::send(participant_, f); }
    uint8_t nmtState() const;
    int resets() const;
    // Downloads the node accepted, in order.
    std::vector<Write> writes() const;
    static uint32_t moduleCode(Kind kind);

private:
    void receive(const hostcan::Frame& f);
    void onSdo(const hostcan::Frame& f);
    void reply(const hostcan::Frame& f);
    void tick();

    Kind kind_;
    uint8_t id_;
    int participant_ = -1;
    int hook_ = -1;
    mutable std::mutex mu_;
    uint8_t nmt_ = 0;
    int resets_ = 0;
    std::vector<Write> writes_;
    // Segmented upload in progress.
    std::string segText_;
    size_t segPos_ = 0;
    uint8_t segToggle_ = 0;
    // Answers held back: frame and remaining ms.
    std::vector<std::pair<hostcan::Frame, int>> held_;
};
