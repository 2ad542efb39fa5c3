// Service writes with side effects through real passes of the application:
// the output channels' momentary commands and a data-log print.
#include <algorithm>
#include <string>
#include <vector>

#include "service_app.h"
#include "tests/storage_datalog/datalog_file.h"

using namespace svc_test;

namespace {

class Commands : public ServiceApp {
protected:
    void loggedIn(Client& c) {
        ASSERT_EQ(c.connectSession(), kConnectReply);
        ASSERT_EQ(c.login("tech", "secret"), 0);
    }
};

TEST_F(Commands, AWrittenCommandRunsUntilItsTimeOutOrAWrittenZero) {
    startService();
    Client c(port);
    loggedIn(c);
    // A command that no service write started is over from the start.
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12", "_ub41", "_ub42"}) setCell(std::string(m) + ".COMMANDS.IN_4", 1);
    runPasses(R160, 2);
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12", "_ub41", "_ub42"}) {
        EXPECT_EQ(boolean(std::string(m) + ".COMMANDS.OUT_4"), 0u) << m;
        EXPECT_EQ(boolean(std::string(m) + ".COMMANDS.IN_4"), 0u) << m;
    }
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12", "_ub41", "_ub42"}) {
        for (int n = 1; n <= 5; ++n) {
            const std::string in = std::string(m) + ".COMMANDS.IN_" + std::to_string(n);
            const std::string out = std::string(m) + ".COMMANDS.OUT_" + std::to_string(n);
            ASSERT_EQ(c.writeName(in, kBool, {1}), 0) << in;
            runPasses(R160, 2);
            EXPECT_EQ(boolean(out), 1u) << out;
            for (int k = 1; k <= 5; ++k) {  // the block's other commands stay off
                if (k == n) continue;
                EXPECT_EQ(boolean(std::string(m) + ".COMMANDS.OUT_" + std::to_string(k)), 0u) << in << " " << k;
            }
            ASSERT_EQ(c.writeName(in, kBool, {0}), 0) << in;
            runPasses(R160, 2);
            EXPECT_EQ(boolean(out), 0u) << out;
        }
    }
    // 60 s of 160 ms passes (375), restarted in full by a second write.
    ASSERT_EQ(c.writeName("_ub11.COMMANDS.IN_3", kBool, {1}), 0);
    // The session stays open through requests now and then.
    auto waitPasses = [&](int n) {
        for (; n > 0; n -= 50) {
            runPasses(R160, uint32_t(std::min(n, 50)));
            ASSERT_EQ(c.ask({0x00}), (Bytes{0}));
        }
    };
    waitPasses(200);
    ASSERT_EQ(c.writeName("_ub11.COMMANDS.IN_3", kBool, {1}), 0);
    waitPasses(370);
    EXPECT_EQ(boolean("_ub11.COMMANDS.OUT_3"), 1u);
    runPasses(R160, 8);
    EXPECT_EQ(boolean("_ub11.COMMANDS.OUT_3"), 0u);
    EXPECT_EQ(boolean("_ub11.COMMANDS.IN_3"), 0u);
}

TEST_F(Commands, APrintCommandedOverTheServiceInterfaceWritesADataLogFile) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    // A stop alone writes no file.
    ASSERT_EQ(c.writeName("DATALOG.USE_FILE.IN_2", kBool, {0}), 0);
    auto waitFor = [&](const char* name, uint32_t value) {
        for (int i = 0; i < 500 && boolean(name) != value; ++i) runPasses(R160, 1);
        return boolean(name) == value;
    };
    ASSERT_EQ(c.writeName("DATALOG.EVENT_STRT.IN_3", kBool, {1}), 0);
    ASSERT_TRUE(waitFor("DATALOG.TREND_DLOG.COLLECTING", 1));
    ASSERT_EQ(c.writeName("DATALOG.EVENT_STRT.IN_3", kBool, {0}), 0);
    runPasses(R160, 20);
    ASSERT_EQ(c.writeName("DATALOG.EVENT_STP.IN_3", kBool, {1}), 0);
    ASSERT_TRUE(waitFor("DATALOG.TREND_DLOG.COLLECTING", 0));
    ASSERT_EQ(c.writeName("DATALOG.EVENT_STP.IN_3", kBool, {0}), 0);
    auto logFiles = [&] {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(root_)) {
            const std::string f = e.path().filename().string();
            n += f.rfind("TREND_DLOG", 0) == 0 && f.size() > 4 && f.substr(f.size() - 4) == ".log";
        }
        return n;
    };
    runPasses(R160, 20);
    EXPECT_EQ(logFiles(), 0);
    ASSERT_EQ(c.writeName("DATALOG.PRINT.IN_2", kBool, {1}), 0);
    for (int i = 0; i < 500 && logFiles() == 0; ++i) runPasses(R160, 1);
    EXPECT_EQ(logFiles(), 1);
}

// The data-log commands of the service tool: a start, then a stop, which
// writes the log file; the print pulse then counts the file.
TEST_F(Commands, TheDataLogStopCommandOverTheServiceInterfaceWritesTheLogFile) {
    startService();
    Client c(port);
    loggedIn(c);
    auto waitFor = [&](const char* name, uint32_t value) {
        for (int i = 0; i < 500 && boolean(name) != value; ++i) runPasses(R160, 1);
        return boolean(name) == value;
    };
    const std::string file = root_ + "/TREND_DLOG1.log";
    ASSERT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(c.writeName("DATALOG.DLOG_CMDS.IN_1", kBool, {1}), 0);
    ASSERT_TRUE(waitFor("DATALOG.TREND_DLOG.COLLECTING", 1));
    runPasses(R160, 30);
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(c.writeName("DATALOG.DLOG_CMDS.IN_2", kBool, {1}), 0);
    ASSERT_TRUE(waitFor("DATALOG.TREND_DLOG.COLLECTING", 0));
    ASSERT_TRUE(waitFor("DATALOG.PRT_OS.ONE_SHOT", 1));
    ASSERT_TRUE(waitFor("DATALOG.TREND_DLOG.PRINTING", 0));
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(waitFor("DATALOG.PRT_OS.ONE_SHOT", 0));
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 1);
    const dl_test::LogFile f = dl_test::parse(dl_test::readDataLogFile(file));
    EXPECT_EQ(f.head.at("block"), "DATALOG_TREND_DLOG");
    const dl_test::Var* speed = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(speed, nullptr);
    EXPECT_GT(speed->count, 30 * 16) << "the 10 ms rows of the collection";
}

// Every command block the service side writes: a write of 1 to each input
// gives its output for the block's time-out in passes of its group, then
// the block clears both.
TEST_F(Commands, EveryServiceCommandBlockRunsForItsTimeOut) {
    struct Block {
        const char* name;
        int inputs;
        double timeout;
    };
    struct Group {
        int group;
        double period;
        std::vector<Block> blocks;
    };
    const Group groups[] = {
        {R40, 0.04,
         {{"IFACE_IN_SPEED.GO_STEP_SP", 3, 1.0},
          {"IFACE_IN_SPEED.ANLYZ_RQST", 4, 1.0},
          {"IFACE_IN_SPEED.ENA_DIS_REM", 2, 2.0},
          {"IFACE_IN_SPEED.USE_OPID_OUTS", 2, 2.0}}},
        {R80, 0.08,
         {{"SPEED_SIM.INTERNAL_SIM", 4, 1.0},
          {"CNFG_CAN2.INIT_NODES", 5, 1.0},
          {"DATALOG.DLOG_CMDS", 6, 1.0},
          {"CASC_R_L.GO_STEP_SP", 3, 1.0}}},
        {R160, 0.16,
         {{"ALARMS.LED_TEST", 1, 5.0},
          {"MASTER.COMMANDS", 6, 1.0},
          {"CNFG_ENET1.QT_CONFIRM_IP", 3, 1.0},
          {"COND_MON.REWRITE_NV_CMD", 1, 1.0},
          {"IFACE_IN_CASC.ENA_DIS", 4, 2.0},
          {"IFACE_IN_HP_MAN.RSE_LWR", 2, 60.0},
          {"IFACE_IN_CASC.RSE_LWR", 2, 60.0},
          {"IFACE_IN_SPEED.ADJ_FAST_SLOW", 2, 100.0},
          {"IFACE_IN_SPEED.RSE_LWR", 2, 60.0},
          {"IFACE_IN_VLV.RSE_LWR", 2, 60.0},
          {"IFACE_MODE.QT_OI_LOCAL", 1, 2.0},
          {"SHUTDOWNS.LED_TEST", 1, 5.0},
          {"TUTORIAL.SP_TUT_COMMANDS", 3, 20.0}}},
    };
    startService();
    Client c(port);
    loggedIn(c);
    for (const Group& g : groups) {
        struct Input {
            std::string in, out;
            double timeout;
            int on = 0;
        };
        std::vector<Input> inputs;
        double longest = 0;
        for (const Block& b : g.blocks)
            for (int k = 1; k <= b.inputs; ++k) {
                const std::string n = std::to_string(k);
                inputs.push_back({std::string(b.name) + ".IN_" + n, std::string(b.name) + ".OUT_" + n, b.timeout});
                longest = std::max(longest, b.timeout);
            }
        for (const Input& i : inputs) ASSERT_EQ(c.writeName(i.in, kBool, {1}), 0) << i.in;
        const int passes = static_cast<int>(longest / g.period) + 3;
        for (int p = 0; p < passes; ++p) {
            runPasses(g.group, 1);
            for (Input& i : inputs) i.on += static_cast<int>(boolean(i.out));
        }
        // The writes themselves take a pass or two of the fastest group.
        for (const Input& i : inputs) {
            const double whole = i.timeout / g.period;
            EXPECT_GE(i.on, static_cast<int>(whole) - 2) << i.out;
            EXPECT_LE(i.on, static_cast<int>(whole) + 2) << i.out;
            EXPECT_EQ(boolean(i.in), 0u) << i.in;
        }
    }
}

}  // namespace
