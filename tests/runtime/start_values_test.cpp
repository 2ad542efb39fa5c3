// What a start leaves behind whatever the run before it left: the flags of
// the block initialisation, the CAN2 network block's counters, the relay
// outputs, the supervision task's progress word and a stored flush request
// of the serial port.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
#include "app/sys_vars.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "platform/vkiodev.h"
#include "runtime/appinit.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"
#include "storage/eefile.h"
#include "tests/support/runtime_fixture.h"

namespace {

class StartValues : public tc_test::RuntimeFixture {
protected:
    void SetUp() override {
        RuntimeFixture::SetUp();
        // The runtime alone: no block overwrites what the start left.
        for (auto& s : rg_slices) s.clear();
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
    }
    void restart() {
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        _SYS_INFO_STOP_PER = 1;
        ASSERT_EQ(stop(), 0u);
        ASSERT_EQ(start(), 0u);
    }
};

// Every flag of the block initialisation gets its start value, also when a
// run before left another one in it.
TEST_F(StartValues, BlockInitialisationFlagsAreSetAfterARunThatChangedThem) {
    struct Flag {
        const char* name;
        int32_t* word;
        int32_t want;
    };
    const Flag flags[] = {
        {"has_expansion", &has_expansion, 0},
        {"conf_enable", &conf_enable, 1},
        {"ServPort0Sel", &ServPort0Sel, 1},
        {"debug_tunable_enable", &debug_tunable_enable, 1},
        {"using_quick_serv", &using_quick_serv, 0},
        {"using_quick_conf", &using_quick_conf, 0},
        {"rtc_defined", &rtc_defined, 1},
        {"_FIRST_SERV_HDR_INDEX", &_FIRST_SERV_HDR_INDEX, -1},
        {"_FIRST_CONF_HDR_INDEX", &_FIRST_CONF_HDR_INDEX, -1},
        {"ll_expected", &ll_expected, 0},
        {"FieldBusUsed", &FieldBusUsed, 0},
        {"HasEgdBlock", &HasEgdBlock, 0},
        {"_UseKeyPad", &_UseKeyPad, 0},
        {"num_of_act_corrs", &num_of_act_corrs, 0},
        {"TotalNumEGDConsumers", &TotalNumEGDConsumers, 0},
        {"TotalNumEGDProducers", &TotalNumEGDProducers, 0},
        {"num_tiq_files", &num_tiq_files, 12},
    };
    ASSERT_EQ(start(), 0u);
    for (const Flag& f : flags) *f.word = 77;
    restart();
    for (const Flag& f : flags) EXPECT_EQ(*f.word, f.want) << f.name;
}

// The CAN2 network block starts closed, off the bus, with its counters and
// lamps cleared and the port's library version.
TEST_F(StartValues, CanNetworkBlockStartsClearedAndOffTheBus) {
    auto& n = cells::CNFG_CAN2;
    struct Word {
        const char* name;
        const cat::Cell<int32_t>& cell;
    };
    const Word counters[] = {
        {"RXTXERRS", n.CAN2_NTW1_RXTXERRS},
        {"RXOVRFLOW", n.CAN2_NTW1_RXOVRFLOW},
        {"TXOVRFLOW", n.CAN2_NTW1_TXOVRFLOW},
        {"STATE", n.CAN2_NTW1_STATE},
    };
    struct Bit {
        const char* name;
        const cat::Cell<uint32_t>& cell;
        uint32_t want;
    };
    const Bit bits[] = {
        {"GRN_LED", n.CAN2_NTW1_GRN_LED, 0},   {"RED_LED", n.CAN2_NTW1_RED_LED, 0},
        {"TX_WARN", n.CAN2_NTW1_TX_WARN, 0},   {"RX_WARN", n.CAN2_NTW1_RX_WARN, 0},
        {"TX_ERR", n.CAN2_NTW1_TX_ERR, 0},     {"RX_ERR", n.CAN2_NTW1_RX_ERR, 0},
        {"BUS_OFF", n.CAN2_NTW1_BUS_OFF, 1},
    };
    ASSERT_EQ(start(), 0u);
    for (const Word& w : counters) w.cell = 5;
    for (const Bit& b : bits) b.cell = 1 - b.want;
    restart();
    for (const Word& w : counters) EXPECT_EQ(static_cast<int32_t>(w.cell), 0) << w.name;
    for (const Bit& b : bits) EXPECT_EQ(static_cast<uint32_t>(b.cell), b.want) << b.name;
    EXPECT_EQ(static_cast<int32_t>(n.CAN2_PORT_VERSION), 3);
}

// The controller's four relays start released; the other bits of the relay
// register are not the controller's outputs and keep what they hold.
TEST_F(StartValues, TheFourRelaysStartReleasedAndNothingElseOfTheirRegisterChanges) {
    struct Case {
        uint16_t before, after;
    };
    const Case cases[] = {
        {0x000F, ZARN_RELAYS_ALWAYS},
        {0x0010, 0x0010 | ZARN_RELAYS_ALWAYS},
        {0xBFFF, 0xBFF0 | ZARN_RELAYS_ALWAYS},
    };
    for (const Case& c : cases) {
        board::poke16(ZARN_RELAYS, c.before);
        ASSERT_EQ(start(), 0u);
        EXPECT_EQ(board::peek16(ZARN_RELAYS), c.after) << std::hex << c.before;
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        _SYS_INFO_STOP_PER = 1;
        ASSERT_EQ(stop(), 0u);
    }
}

// Between its passes the supervision task's progress word shows that the
// last pass ran to its end.
TEST_F(StartValues, SupervisionProgressWordShowsACompletedPass) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(1000);  // past the first 4 s and a few passes
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(ttyStatus, 6u) << k;
        hk::runTicks(37);
    }
}

// A flush request stored in the tunables file goes to the port once after
// the start: the request is a rising edge against the cleared last value.
TEST_F(StartValues, StoredFlushRequestIsSentOnceAfterTheStart) {
    ASSERT_EQ(start(), 0u);
    cells::CNFG_SIO.COMM1_PORT_P_FLUSH = 1;
    hk::runTask([] { update_ee(); });
    restart();
    SerialDvram* port = serialDvramOf(1);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(cells::CNFG_SIO.COMM1_PORT_P_FLUSH), 1u);
    // The serial Modbus instance flushes the port as it starts; the
    // supervision task's first pass comes 4 s after the start.
    hk::runTicks(600);
    port->abortFlag = 0;
    ASSERT_TRUE(hk::runUntil([&] { return port->abortFlag == 1; }, 400));
    port->abortFlag = 0;
    hk::runTicks(400);
    EXPECT_EQ(port->abortFlag, 0u);
}

}  // namespace
