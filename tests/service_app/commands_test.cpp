// Service writes with side effects through real passes of the application:
// the output channels' momentary commands and a data-log print.
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
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12"}) setCell(std::string(m) + ".COMMANDS.IN_4", 1);
    runPasses(R160, 2);
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12"}) {
        EXPECT_EQ(boolean(std::string(m) + ".COMMANDS.OUT_4"), 0u) << m;
        EXPECT_EQ(boolean(std::string(m) + ".COMMANDS.IN_4"), 0u) << m;
    }
    for (const char* m : {"_ub5", "_ub10", "_ub11", "_ub12"}) {
        for (int n = 1; n <= 5; ++n) {
            const std::string in = std::string(m) + ".COMMANDS.IN_" + std::to_string(n);
            const std::string out = std::string(m) + ".COMMANDS.OUT_" + std::to_string(n);
            ASSERT_EQ(c.writeName(in, kBool, {1}), 0) << in;
            runPasses(R160, 2);
            EXPECT_EQ(boolean(out), 1u) << out;
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

}  // namespace
