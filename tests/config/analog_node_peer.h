// The remote analog node on the host bus for the whole-program rigs: a
// simulated node that the program configures and commands operational
// itself, and a test peer that sends the node's input PDOs as raw frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "host/canbus.h"
#include "tests/support/sim_remote_node.h"

namespace cfg_test {

class AnalogNodePeer {
public:
    // Attaches before the program starts (the bus is reset first).
    void attach() {
        hostcan::reset();
        peer_ = hostcan::attach("test-peer", [](const hostcan::Frame&) {});
        node_ = std::make_unique<SimRemoteNode>(SimRemoteNode::Kind::AnalogIO, 1);
    }
    // Takes the node off the bus (before the program stops; the bus is
    // reset after it).
    void detach() { node_.reset(); }
    // The node's readback PDO and its two input PDOs: input n (1 .. 8) at
    // mA(n) milliamps, four inputs a PDO.
    void sendInputs(const std::function<double(int)>& mA) {
        const auto word = [](double v) { return static_cast<uint16_t>(v * 1024.0); };
        auto frame = [&](uint32_t cob, int first) {
            hostcan::Frame fr = hostcan::makeFrame(cob, {});
            fr.len = 8;
            for (int i = 0; i < 4; ++i) {
                const uint16_t w = word(mA(first + i));
                fr.data[2 * i] = static_cast<uint8_t>(w & 0xFF);
                fr.data[2 * i + 1] = static_cast<uint8_t>(w >> 8);
            }
            hostcan::send(peer_, fr);
        };
        hostcan::Frame readbacks = hostcan::makeFrame(0x481, {});
        readbacks.len = 8;
        hostcan::send(peer_, readbacks);
        frame(0x281, 1);
        frame(0x381, 5);
    }

private:
    std::unique_ptr<SimRemoteNode> node_;
    int peer_ = -1;
};

}  // namespace cfg_test
