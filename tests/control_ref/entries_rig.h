// The speed setpoints entered over Modbus and OPC on the whole program,
// driven only through its inputs: a Modbus master on the map's TCP port
// writes the holding register and the go-to coil; the OPC link writes its
// entry and its command as the service side takes them; sample and reset
// requests come from the service tool.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/control_ref/modbus_peer.h"
#include "tests/support/ref_rig.h"

namespace ref_test {

class EntriesRig : public RefRig {
protected:
    // In control at minimum governor (the entries' latches are reset while
    // the unit is not), the Modbus map's TCP link in use with writes enabled
    // (its time-out the longest) and polled by the master, the OPC link's
    // writes enabled.
    void SetUp() override {
        RefRig::SetUp();
        begin();
        startToInControl();
        connect();
    }
    // Started with the links' settings and `extra`, ready to start.
    void begin(const Settings& extra = {}) {
        Settings s = {{"C_COMM.C1.IN", 1},
                      {"CNFG_COMMS.LINK2_USED.IN", 1},
                      {"CNFG_COMMS.PORT2_WRT_ENBL.IN", 1},
                      {"MOD.QT_TIME_OUT_2.IN", 100.0},
                      {"OPC_DATA.ENA_WRITES.IN", 1},
                      {"OPC_DATA.HB_TIMEOUT.IN", 1.0}};
        s.insert(s.end(), extra.begin(), extra.end());
        start(false, false, s);
    }
    void TearDown() override {
        modbus_.reset();
        RefRig::TearDown();
    }
    // The master (re)connects and polls once.
    void connect() {
        modbus_ = std::make_unique<tc_test::ModbusPeer>(tc_test::ModbusPeer::Tcp, 502, 2);
        ASSERT_FALSE(modbus_->inputRegisters(1).empty()) << "the map does not answer";
        runPasses(R160, 2);
    }
    // The entry written over Modbus (holding register 1) or OPC.
    void written(bool modbus, double v) {
        if (modbus) {
            ASSERT_TRUE(modbus_->writeRegister(0, static_cast<int16_t>(v))) << v;
        } else {
            serviceWrite("OPC_DATA.OPC_AW_1.TUNE", v);
        }
    }
    // The go-to command: Modbus coil 18 or OPC command 18.
    void goTo(bool modbus, bool on) {
        if (modbus) {
            ASSERT_TRUE(modbus_->writeCoil(17, on));
        } else {
            serviceWrite("OPC_DATA.BW_LIST.IN_18", on ? 1 : 0);
        }
    }
    // A sample request of `module` for one pass, then the passes until it
    // is taken.
    void sampleNow(const std::string& module) {
        serviceWrite(module + ".SMPL_M1.IN_3", 1);
        runPasses(R160, 1);
        serviceWrite(module + ".SMPL_M1.IN_3", 0);
        runPasses(R160, 2);
    }
    // 160 ms passes until the cell reads `v`, at most `max`; the count or -1.
    int passesUntil(const std::string& name, uint32_t v, int max) {
        for (int k = 0; k <= max; ++k) {
            if (boolean(name) == v) return k;
            runPasses(R160, 1);
        }
        return -1;
    }
    std::unique_ptr<tc_test::ModbusPeer> modbus_;
};

}  // namespace ref_test
