// The simulator link on the whole program, driven only through its inputs:
// a simulator (a Modbus master over UDP on a real socket to port 5005)
// writes its coils and register and reads the words the controller sends;
// the link's supervision, its error statistics and its slave address
// setting, entered from the service tool.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/control/SIM.cells.h"
#include "tests/control_speed/sim_master.h"
#include "tests/support/ref_rig.h"

namespace sc_test {
namespace {

class SimulatorLink : public ref_test::RefRig {
protected:
    static constexpr int P40 = ref_test::R40, P160 = ref_test::R160;
    // Powered up with `settings` entered from the service tool, the link's
    // slave answering the simulator.
    void powerUp(const Settings& settings = {}) {
        startApp();
        for (const auto& [name, v] : settings) serviceWrite(name, v);
        runPasses(P160, 20);  // past the slave's own start-up wait
        ASSERT_EQ(sim().inputRegisters(1).size(), 1u) << "the link does not answer";
        countedPass();
        ASSERT_EQ(integer("SIM.XFER_TO_SIM.TOT_MSG_1"), 1);
    }
    // Good requests (read the sent words) and unserved ones (answered with
    // an exception), every one answered.
    void requests(int good, int unserved) {
        for (int k = 0; k < good; ++k) ASSERT_EQ(sim().inputRegisters(1).size(), 1u) << k;
        for (int k = 0; k < unserved; ++k) ASSERT_EQ(sim().unservedFunction(), 1) << k;
    }
    // The pass that counts the last answered request: the timer restarts.
    void countedPass() {
        if (integer("SIM.XFER_TO_SIM.MSG_CNT_1") != 0) runPasses(P40, 1);
        ASSERT_EQ(integer("SIM.XFER_TO_SIM.MSG_CNT_1"), 0) << "the pass's counts are consumed";
        ASSERT_EQ(integer("SIM.XFER_TO_SIM.ERR_CNT_1"), 0);
        ASSERT_EQ(real("SIM.XFER_TO_SIM.TIMER_1"), 0.0f);
    }
    void expectTotals(int messages, int errors, uint32_t flag) {
        EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_MSG_1"), messages);
        EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_ERR_1"), errors);
        EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), flag);
    }
    void SetUp() override {
        RefRig::SetUp();
        master_ = std::make_unique<SimMaster>();
    }
    void TearDown() override {
        master_.reset();
        RefRig::TearDown();
    }
    std::unique_ptr<SimMaster> master_;
    SimMaster& sim() { return *master_; }
};

// The simulator's coils and register reach the link's cells while it
// polls; without a request the link reports its error after the time-out
// (1 s: not within 24 passes of 40 ms, within 26) and the received values
// are 0; the sent words carry the settings, saturated to 16 bits.
TEST_F(SimulatorLink, ErrorAfterTheTimeOut) {
    powerUp({{"SIM.XFER_TO_SIM.TIME_OUT_1", 1.0}, {"CNFG_SPEED.SPD1_MAXSPD.IN", 40000.0}});
    ASSERT_TRUE(sim().writeCoils(false, true));
    ASSERT_TRUE(sim().writeRegister(-7));
    countedPass();
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 0u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_1"), 0u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 1u);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), -7.0f);
    const std::vector<int16_t> words = sim().inputRegisters(13);
    ASSERT_EQ(words.size(), 13u);
    EXPECT_EQ(words[11], 32767);
    EXPECT_EQ(words[1], static_cast<int16_t>(std::lround(real("CNFG_SETPT.OST_LIMIT.A_NAME"))));
    EXPECT_EQ(words[12], static_cast<int16_t>(std::lround(real("CNFG_SETPT.OSPD_TRIP.A_NAME"))));
    EXPECT_EQ(words[1], 4000);
    EXPECT_EQ(words[12], 3960);
    countedPass();
    runPasses(P40, 24);  // 0.96 s without a message: within the time-out
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 0u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 1u);
    runPasses(P40, 2);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 1u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 0u);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), 0.0f);
    EXPECT_EQ(_BW_SIM_XFER_TO_SIM_11359[1], 0u);
    EXPECT_EQ(_AW_SIM_XFER_TO_SIM_11359[0], 0);
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[11], 32767);
}

// The error statistics over a simulator's requests: the totals count every
// answered request and every exception; the first exception sets the error
// flag; the percentage is taken on the totals; once the message total is
// above 1024 both totals are halved (not at 1024 itself); a reset from the
// service tool clears the flag and the last error number.
TEST_F(SimulatorLink, StatisticsAndTheirHalvingAbove1024) {
    powerUp();
    // 1 message counted at power-up.
    requests(1023, 0);
    countedPass();
    expectTotals(1024, 0, 0);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 0.0f);
    requests(0, 1);
    countedPass();
    expectTotals(512, 0, 1);  // 1025 and 1 halved
    EXPECT_FLOAT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 100.0f / 1025.0f);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_NUM_1"), 1);  // illegal function
    // The reset clears the flag and the error number, not the totals.
    serviceWrite("SIM.XFER_TO_SIM.RST", 1);
    runPasses(P40, 2);
    serviceWrite("SIM.XFER_TO_SIM.RST", 0);
    runPasses(P40, 1);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), 0u);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_NUM_1"), 0);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_MSG_1"), 512);
    // 1000 messages with 10 errors: 1 %.
    requests(478, 0);
    countedPass();
    expectTotals(990, 0, 0);
    requests(0, 10);
    countedPass();
    expectTotals(1000, 10, 1);
    EXPECT_FLOAT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 1.0f);
    // Above 1024 with 11 errors: both halved, 512 and 5.
    requests(24, 1);
    countedPass();
    expectTotals(512, 5, 1);
    EXPECT_FLOAT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 1100.0f / 1025.0f);
    serviceWrite("SIM.XFER_TO_SIM.RST", 1);
    runPasses(P40, 1);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), 0u);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_NUM_1"), 0);
}

// The slave address of the link is a copy of its setting, entered from the
// service tool; both write enables are held on, so the simulator's writes
// are taken.
TEST_F(SimulatorLink, TheSlaveAddressFromItsSettingAndTheWritesEnabled) {
    powerUp();
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ADDR_1"), 1);
    serviceWrite("SIM.XFER_TO_SIM.NET_ADDR_1", 17);
    runPasses(P40, 2);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ADDR_1"), 17);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_ENBL_1"), 1u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.AW_ENBL_1"), 1u);
    EXPECT_TRUE(sim().inputRegisters(1).empty()) << "answered at the old address";
    sim().slave(17);
    ASSERT_TRUE(sim().writeCoils(true, false));
    ASSERT_TRUE(sim().writeRegister(1234));
    countedPass();
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_1"), 1u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 0u);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), 1234.0f);
}

}  // namespace
}  // namespace sc_test
