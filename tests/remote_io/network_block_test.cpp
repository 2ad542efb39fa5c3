// The CAN2 network block and the 80 ms start-up pulses through real passes:
// the reset pulse, the port silence watch, the bus load, the error cells and
// LEDs and the CAN LED the chassis task drives, the NMT state compare, the
// node initialisation pulses and the configuration start they give.
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/remote_io/rtd_slices.h"
#include "canopen/canopen.h"
#include "runtime/can_startup.h"
#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

// The network block in the whole program, started with the own node's
// go-operational command and the bit rate from the tunables file, and no
// node configured.
class NetworkBlock : public ProgramWithNodes {
protected:
    void start(uint32_t goOper = 0, int32_t baud = 2, std::vector<std::pair<std::string, double>> extra = {}) {
        std::vector<std::pair<std::string, double>> settings = {{"CNFG_CAN2.GO_OPER.IN_1", goOper},
                                                                {"CNFG_CAN2.CAN2_NTW1.CAN_BAUD", baud}};
        for (const char* perm : {"CNFG_CAN2.VL_NODE1_AIO.INIT_PERM", "CNFG_CAN2.VL_NODE3_RTD_8C.INIT_PERM",
                                 "CNFG_CAN2.VL_NODE4_BI.INIT_PERM", "CNFG_CAN2.VL_NODE5_BO.INIT_PERM"})
            settings.emplace_back(perm, 0);
        settings.insert(settings.end(), extra.begin(), extra.end());
        settingsAtStart(settings);
        ProgramWithNodes::start();
    }
    // Runs 20 ms passes until the network is open (the second 160 ms pass).
    void untilOpen() {
        for (int k = 0; k < 100 && integer("CNFG_CAN2.CAN2_NTW1.STATE") != 2; ++k) runPasses(R20, 1);
        ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.STATE"), 2);
    }
    void frame(uint32_t cob, int len) {
        hostcan::Frame f = hostcan::makeFrame(cob, {});
        f.len = static_cast<uint8_t>(len);
        hostcan::send(peer_, f);
    }
};

TEST_F(NetworkBlock, NotOpenReadsAsBusOffWithTheLedsOffAndStatesMinusOne) {
    start();
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), -1);
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.STATE"), -1);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.BUS_OFF"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.RED_LED"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.NMT_STATUS_5.LT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.NMT_STATUS_5.EQ"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.NOT_OPER.OR"), 1u);
    EXPECT_EQ(integer("CNFG_CAN2.NTW1_NMT_STATUS.I_NAME"), -1);
    EXPECT_EQ(integer("CNFG_CAN2.NTW1_STATE.I_NAME"), -1);
}

// More frames between two passes than the receive queue holds: the ones
// that found it full are counted, and the count reaches its cell.
TEST_F(NetworkBlock, FramesLostToAFullReceiveQueueAreCounted) {
    start();
    untilOpen();
    runPasses(R20, 1);
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.RXOVRFLOW"), 0);
    for (int k = 0; k < 4000; ++k) frame(0x77F, 0);
    runPasses(R20, 1);
    EXPECT_GT(integer("CNFG_CAN2.CAN2_NTW1.RXOVRFLOW"), 0);
}

// Each rise of the go-operational command sends one start command to the
// controller's own node.
TEST_F(NetworkBlock, EachRiseOfTheGoOperationalCommandStartsTheOwnNodeOnce) {
    start();
    untilOpen();
    runPasses(R20, 1);
    hostcan::enableLog(true);
    hostcan::takeLog();
    for (uint32_t level : {1u, 1u, 0u, 1u, 1u}) {
        serviceWrite("CNFG_CAN2.GO_OPER.IN_1", level);
        runPasses(R20, 1);
    }
    int starts = 0;
    for (const std::string& l : hostcan::takeLog()) starts += l == "000#010A" ? 1 : 0;
    EXPECT_EQ(starts, 2);
}

TEST_F(NetworkBlock, AStoppedNodeFlashesGreenOncePerCycle) {
    start(1);
    untilOpen();
    runPasses(R20, 5);
    hostcan::send(peer_, hostcan::makeFrame(0x000, {0x02, 10}));  // stop the controller's node
    runPasses(R20, 2);
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 4);
    std::string pattern;
    for (int k = 0; k < 120; ++k) {
        runPasses(R20, 1);
        pattern += boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED") ? '1' : '0';
    }
    const std::string cycle = "1111111111" + std::string(50, '0');
    EXPECT_NE(pattern.find("0" + cycle + "1"), std::string::npos) << pattern;
}

TEST_F(NetworkBlock, ASilentPortRaisesTheAlarmOnTheFourthSilentPassAndKeepsItUntilReset) {
    start();
    serviceWrite("CNFG_CAN2.CAN2_P_STAT.A_TIMEOUT", 100);
    serviceWrite("CNFG_CAN2.CAN2_P_STAT.E_TIMEOUT", 200);
    untilOpen();
    // The reset of the power-up (which clears the latches each pass) over.
    for (int k = 0; k < 100 && boolean("CNFG_CAN2.CAN2_RST.OR") != 0; ++k) runPasses(R20, 1);
    ASSERT_EQ(boolean("CNFG_CAN2.CAN2_RST.OR"), 0u);
    runPasses(R20, 10);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ALM"), 1u);  // silent since the start
    // A reset in the pass that sees a new frame clears the latches.
    serviceWrite("CNFG_CAN2.CAN2_RST.IN_4", 1);
    frame(0x704, 1);
    runPasses(R20, 1);
    serviceWrite("CNFG_CAN2.CAN2_RST.IN_4", 0);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ALM"), 0u);
    std::vector<int> alm, err;
    for (int k = 1; k <= 10; ++k) {
        runPasses(R20, 1);
        alm.push_back(static_cast<int>(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ALM")));
        err.push_back(static_cast<int>(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ERR")));
    }
    EXPECT_EQ(alm, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(err, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.BKUP_ERR"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_FLT.AND"), 0u);  // remote nodes not in use
    // Frames again: the alarm stays latched until a reset.
    frame(0x704, 1);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ALM"), 1u);
    serviceWrite("CNFG_CAN2.CAN2_RST.IN_4", 1);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ALM"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_P_STAT.LNK_ERR"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_RST.OR"), 1u);
}

TEST_F(NetworkBlock, BusLoadCountsBitsOfEveryFrameAgainstTheBitRate) {
    start(0, 1);  // 250 kbit/s
    untilOpen();
    runPasses(R20, 30);
    const float before = real("CNFG_CAN2.CAN2_NTW1.CAN_LOAD");
    for (int k = 0; k < 100; ++k) frame(0x7F0, 8);
    runPasses(R20, 1);
    const float after = real("CNFG_CAN2.CAN2_NTW1.CAN_LOAD");
    // (8 x 800 + 51 x 100) / 250000 / 0.02 x 100 = 230 %, a tenth of it
    // filtered in; the pass's own SYNC adds about 0.1 %.
    EXPECT_NEAR(after - 0.9f * before, 23.0f, 0.3f);
    runPasses(R20, 1);
    EXPECT_NEAR(real("CNFG_CAN2.CAN2_NTW1.CAN_LOAD"), 0.9f * after, 0.3f);
}

// The first load after the application starts counts the frames since the
// network opened, no more and no less.
TEST_F(NetworkBlock, FirstBusLoadCountsTheFramesSinceTheOpen) {
    start(0, 0);  // 125 kbit/s
    float load = 0.0f;
    for (int k = 0; k < 100 && load == 0.0f; ++k) {
        runPasses(R20, 1);
        load = real("CNFG_CAN2.CAN2_NTW1.CAN_LOAD");
    }
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.STATE"), 2);
    const float bits = 8.0f * COImagesApp.NumBytes + 51.0f * COImagesApp.NumIrq;
    ASSERT_GT(COImagesApp.NumIrq, 0);
    // One frame more or less would move it by 0.24 %.
    EXPECT_NEAR(load, 0.1f * bits / 125000.0f / 0.02f * 100.0f, 0.05f)
        << COImagesApp.NumIrq << " frames, " << COImagesApp.NumBytes << " bytes";
}

// The raw channel words take a node's new data only in the 20 ms pass that
// begins the frame of the group whose channel logic reads them: the analog
// words in every pass, the relay readback in every second, the RTD words in
// every fourth (with the relay's).
TEST_F(NetworkBlock, RawChannelWordsTakeNewDataOnlyAtTheirReadersFrame) {
    start(1);
    untilOpen();
    runPasses(R20, 5);
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    std::string aio, bo, rtd;
    for (int p = 1; p <= 16; ++p) {
        const auto v = static_cast<uint8_t>(p);
        for (uint32_t cob : {0x281u, 0x185u, 0x283u}) hostcan::send(peer_, hostcan::makeFrame(cob, {v, 0, 0, 0, 0, 0, 0, 0}));
        runPasses(R20, 1);
        uint32_t readback = 0;
        for (int ch = 0; ch < 16; ++ch) readback |= (VL5_BO_Readback[ch] & 1u) << ch;
        aio += VL1_AIO_RawChan[0] == p ? '1' : '0';
        bo += readback == static_cast<uint32_t>(p) ? '1' : '0';
        rtd += VL3_RTD_RawChan[0] == p ? '1' : '0';
    }
    EXPECT_EQ(aio, std::string(16, '1'));
    const size_t first = bo.find('1');
    ASSERT_LT(first, 2u) << bo;
    std::string wantBo(16, '0'), wantRtd(16, '0');
    for (size_t k = first; k < 16; k += 2) wantBo[k] = '1';
    EXPECT_EQ(bo, wantBo);
    const size_t firstRtd = rtd.find('1');
    ASSERT_LT(firstRtd, 4u) << rtd;
    for (size_t k = firstRtd; k < 16; k += 4) wantRtd[k] = '1';
    EXPECT_EQ(rtd, wantRtd);
    EXPECT_EQ(bo[firstRtd], '1');  // the 80 ms frame begins with a 40 ms one
}

TEST_F(NetworkBlock, TheResetPulseRunsItsLengthAndReopensTheNetwork) {
    start();
    untilOpen();
    serviceWrite("CNFG_CAN2.CAN2_RST_OS.DLY_TIME", 0.1);
    serviceWrite("CNFG_CAN2.RST_OR.IN_2", 1);
    std::string pulse;
    for (int k = 0; k < 10; ++k) {
        runPasses(R20, 1);
        pulse += boolean("CNFG_CAN2.CAN2_RST_OS.ONE_SHOT") ? '1' : '0';
    }
    EXPECT_EQ(pulse, "1111110000");  // 0.1 s: five sums of 0.02 stay below it
    EXPECT_EQ(boolean("CNFG_CAN2.RST_OR.OR"), 1u);
    // The RST input ends a pulse at once.
    serviceWrite("CNFG_CAN2.RST_OR.IN_2", 0);
    runPasses(R20, 1);
    serviceWrite("CNFG_CAN2.CAN2_RST_OS.DLY_TIME", 2.0);
    serviceWrite("CNFG_CAN2.RST_OR.IN_2", 1);
    runPasses(R20, 3);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_RST_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_RST_OS.R_TIME"), 1);
    serviceWrite("CNFG_CAN2.CAN2_RST_OS.RST", 1);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_RST_OS.ONE_SHOT"), 0u);
    untilOpen();
}

struct ScanCase {
    int ht, scan;
};
class ScanRate : public NetworkBlock, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanRate, IsTheTunableRoundedDownToHundredsWithinLimits) {
    start();
    // The service path's limits refuse a rate outside them: the block's own
    // bounds are tested with the value written in place.
    pokeTunable("CNFG_CAN2.VL_NODE4_BI.HT_SCAN_RT", GetParam().ht);
    serviceWrite("CNFG_CAN2.VL_NODE4_BI.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 1);
    runPasses(R80, 2);
    runPasses(R20, 2);
    EXPECT_EQ(CNFG_CAN2_VL_NODE4_BI_2425.ScanRate[0], GetParam().scan);
    EXPECT_EQ(CNFG_CAN2_VL_NODE4_BI_2425.TxScanRate, GetParam().scan);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.CFG_FAULT"), 1u);  // until the sequence says otherwise
}
INSTANTIATE_TEST_SUITE_P(Rates, ScanRate,
                         ::testing::Values(ScanCase{250, 200}, ScanCase{150, 100}, ScanCase{1000, 1000},
                                           ScanCase{99, 100}, ScanCase{1999, 1000}),
                         [](const ::testing::TestParamInfo<ScanCase>& i) {
                             return "set_" + std::to_string(i.param.ht) + "_scans_" + std::to_string(i.param.scan);
                         });

TEST_F(NetworkBlock, RtdChannelWordsFollowResistanceAndCurveSelections) {
    // The channels' settings (channel 1's in the first slice) make the texts
    // that the sensor type words are made from.
    const int ohm[8] = {1, 1, 2, 2, 1, 2, 1, 2};
    const int curve[8] = {2, 1, 2, 1, 2, 2, 1, 2};
    start();
    for (int c = 0; c < 8; ++c) {
        const std::string inst = "_ub" + std::to_string(43 + c);
        serviceWrite(inst + ".OHM_C.IN", ohm[c]);
        serviceWrite(inst + ".CURVE_C.IN", curve[c]);
    }
    runPasses(R80, 2);
    serviceWrite("CNFG_CAN2.VL_NODE3_RTD_8C.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.VL3_INIT.IN_3", 1);
    runPasses(R80, 2);
    runPasses(R20, 2);
    const int want[8] = {0x100, 0x101, 0x102, 0x103, 0x100, 0x102, 0x101, 0x102};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(VL3_RTD_ChanDev[c], want[c]) << c;
}

// The network block in the whole program: the own node taken operational
// by the user's go-operational command.
class WholeNetwork : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        startPastPowerUp();
    }
};

TEST_F(WholeNetwork, PreOperationalBlinksThenTheGoOperationalCommandShowsSolidGreen) {
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 127);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.BUS_OFF"), 0u);
    // 200 ms on, 200 ms off.
    std::string pattern;
    for (int k = 0; k < 40; ++k) {
        run(1);
        pattern += boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED") ? '1' : '0';
    }
    EXPECT_NE(pattern.find("0111111111100000000001"), std::string::npos) << pattern;
    EXPECT_EQ(boolean("CNFG_CAN2.NMT_STATUS_5.GT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.NOT_OPER.OR"), 1u);
    // The user's go-operational command at the beginning of an off phase of
    // the blink: operational turns the green LED on at once, green for
    // good, and the CAN LED follows it.
    for (int k = 0; k < 40 && !(pattern.ends_with("10")); ++k) {
        run(1);
        pattern += boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED") ? '1' : '0';
    }
    ASSERT_TRUE(pattern.ends_with("10")) << pattern;
    serviceWrite("CNFG_CAN2.GO_OPER.IN_1", 1);
    for (int p = 0; p < 5 && integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS") != 5; ++p) {
        run(1);
        ASSERT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED"), integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS") == 5 ? 1u : 0u);
    }
    ASSERT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    run(1);
    EXPECT_EQ(boolean("CNFG_CAN2.NMT_STATUS_5.EQ"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.NMT_STATUS_5.GT"), 0u);
    for (int p = 0; p < 60; ++p) {
        run(1);
        ASSERT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.GRN_LED"), 1u) << p;
    }
    EXPECT_EQ(boolean("CNFG_CAN2.NOT_OPER.OR"), 0u);
    EXPECT_EQ(board::canLed2(), board::CanLed::Green);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_NTW1.RED_LED"), 0u);
}

// From the start of the whole program, with no node active and the own
// node not operational: once the not-operational delay (2 s) stands, one
// start-up pulse of 1.0 s, during which the go-operational command is held
// off.
class WholeNetworkFromStart : public ProgramWithNodes {};

TEST_F(WholeNetworkFromStart, StartUpPulseFollowsNoneActiveAfterTheNotOperationalDelay) {
    start();
    int on = 0, rise = -1, delay = -1;
    for (int k = 0; k < 400; ++k) {
        run(1);
        ASSERT_EQ(boolean("CNFG_CAN2.NONE_ACTIV.NOR"), 1u) << k;
        if (delay < 0 && boolean("CNFG_CAN2.NO_OPERDLY.DELAY") != 0) delay = k;
        const uint32_t pulse = boolean("CNFG_CAN2.PULSE_OS.ONE_SHOT");
        if (rise < 0 && pulse != 0) rise = k;
        on += static_cast<int>(pulse);
        EXPECT_NE(pulse, boolean("CNFG_CAN2.NOT.NOT")) << k;
    }
    ASSERT_GE(delay, 0);
    EXPECT_EQ(boolean("CNFG_CAN2.PULS.AND"), 1u);
    // The 20 ms block takes the 160 ms group's delay within one 160 ms frame.
    EXPECT_GT(rise, delay);
    EXPECT_LE(rise - delay, 8);
    EXPECT_EQ(on, 51);  // one 1.0 s pulse: fifty sums of 0.02 stay below 1.0
}

}  // namespace
}  // namespace rio_test
