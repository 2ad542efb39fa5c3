// The far end of the simulator link for tests of the whole program in
// simulated time: a Modbus master in RTU framing over UDP on a real socket
// to the controller's port 5005 on 127.0.0.1.
#pragma once

#include <cstdint>

#include "tests/control_ref/modbus_peer.h"

namespace sc_test {

class SimMaster : public tc_test::ModbusPeer {
public:
    explicit SimMaster(uint8_t slave = 1) : ModbusPeer(UdpRtu, 5005, slave) {}
    bool writeRegister(int16_t v) { return ModbusPeer::writeRegister(0, v); }
};

}  // namespace sc_test
