// The data-log configuration file: what each kind of line adds, what is
// reported to the platform log, and the limits of lines, texts and memory.
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "datalog_rig.h"

using namespace dl_test;

namespace {

const std::string kHeader = "VARNEKAR DATA_LOG_M Configuration File\n";

int dynamicItems() {
    int n = 0;
    for (int g = 0; g < dlog::kGroups; ++g)
        for (int k = 0; k < dlog::kKinds; ++k) n += *dlog::kLists[g][k].dynamicCount;
    return n;
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

class ConfigFile : public DataLogRig {
protected:
    // Starts the application, writes the file and configures the data log.
    void load(const std::string& text) {
        startApp();
        writeConfig(text);
        inTask([] { configure_Log_Dataspace(); });
    }
    void reload() {
        inTask([] { configure_Log_Dataspace(); });
    }
    std::string cfgName() { return TREND_DLOG_internal.CFG_NAME.s; }
};

struct LineCase {
    const char* name;
    std::string body;                     // lines after the first
    int items;                            // dynamic items built
    std::vector<std::string> messages;    // each logged once, in this order
};

class ConfigLines : public ConfigFile, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ConfigLines, EachLineIsAddedOrReportedAndSkipped) {
    const LineCase& c = GetParam();
    load(kHeader + c.body);
    EXPECT_EQ(dynamicItems(), c.items);
    const std::string log = logText();
    size_t at = 0;
    for (const std::string& m : c.messages) {
        const size_t found = log.find(m, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << m << "\nin:\n" << log;
        at = found + m.size();
    }
    EXPECT_EQ(countOf(log, "Configuration error:"), static_cast<int>(c.messages.size())) << log;
    EXPECT_EQ(TREND_DLOG_internal.CFG_ERR, c.messages.empty() ? 0u : 1u);
    EXPECT_EQ(event("event 3: DATA_LOG_M Configuration error:  See LogFile.txt for details"), !c.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigLines,
    ::testing::Values(
        LineCase{"ItemsOfEveryKind",
                 "ACCEL.SS1_DERIV_USED.A_SW Accel\nDATALOG.CNTATOI.OUT_1 Index\nORVEX12_IO.INIT_BLINK.B_SW Blink\n",
                 3,
                 {}},
        LineCase{"WindowsLineEnds", "ACCEL.SS1_DERIV_USED.A_SW Accel\r\nDATALOG.CNTATOI.OUT_1 Index\r\n", 2, {}},
        LineCase{"CommentsAndShortLinesAreSkipped", "  // ACCEL.SS1_DERIV_USED.A_SW\nab\n \t \n/x\n", 0, {}},
        LineCase{"TagWithoutDetail", "ACCEL.SS1_DERIV_USED.A_SW   \nACCEL.SS2_DERIV_USED.A_SW Two\n", 1,
                 {"Configuration error:  Improper line 'ACCEL.SS1_DERIV_USED.A_SW   '"}},
        LineCase{"UnknownCell", "NO_SUCH.CELL.HERE Gone\n", 0,
                 {"Configuration error:  Could not find 'NO_SUCH.CELL.HERE'"}},
        LineCase{"TimeAndTextCellsAreRefused", "ORVEX12_IO.RTC.TOD Clock\nORVEX12_IO.CHASS_STATUS.PRODUCT_MODEL Model\n", 0,
                 {"Configuration error:  Unsupported value type for 'ORVEX12_IO.RTC.TOD'",
                  "Configuration error:  Unsupported value type for 'ORVEX12_IO.CHASS_STATUS.PRODUCT_MODEL'"}},
        LineCase{"StaticDuplicateIsReportedAndKept", "RESET.RESET.B_NAME Reset again\n", 1,
                 {"Configuration error:  Duplicate definition (static/dynamic) for 'RESET.RESET.B_NAME'"}},
        LineCase{"DynamicDuplicateIsReportedAndKept", "ACCEL.SS2_DERIV_USED.A_SW One\nACCEL.SS2_DERIV_USED.A_SW Two\n", 2,
                 {"Configuration error:  Duplicate definition (dynamic/dynamic) for 'ACCEL.SS2_DERIV_USED.A_SW'"}},
        LineCase{"UserBlockOutsideNameIsNotAStaticDuplicate", "_ub6.VALUE.A_NAME Value\n", 1, {}},
        LineCase{"OutsideNamesOfTheStaticUserBlockOutputsAreFound",
                 "CNFG_ACT.ACT_01.DEMAND_OUT d\nCNFG_AO.AO_01.MA_SIGNAL_OUT a\nCNFG_AO.AO_02.MA_SIGNAL_OUT b\n"
                 "CNFG_AO.AO_03.MA_SIGNAL_OUT c\n",
                 4,
                 {"Duplicate definition (static/dynamic) for 'CNFG_ACT.ACT_01.DEMAND_OUT'",
                  "Duplicate definition (static/dynamic) for 'CNFG_AO.AO_01.MA_SIGNAL_OUT'",
                  "Duplicate definition (static/dynamic) for 'CNFG_AO.AO_02.MA_SIGNAL_OUT'",
                  "Duplicate definition (static/dynamic) for 'CNFG_AO.AO_03.MA_SIGNAL_OUT'"}},
        LineCase{"LineStartingWithANulByteIsReportedAndReadingGoesOn",
                 std::string("\0junk\nDATALOG.CNTATOI.OUT_1 Index\n", 34), 1,
                 {"Configuration error:  Improper line 'junk'"}},
        LineCase{"NulByteInsideALineIsReported",
                 std::string("ACCEL.SS1_DERIV_USED.A_SW Ac\0cel\nDATALOG.CNTATOI.OUT_1 Index\n", 61), 1,
                 {"Configuration error:  Improper line 'ACCEL.SS1_DERIV_USED.A_SW Accel'"}},
        LineCase{"SecondRevisionIsIgnored", "[Revision] first\n[Revision] second\n", 0,
                 {"Configuration error:  Duplicate revision string ignored ('second')"}},
        LineCase{"LongDetailIsCut",
                 "ACCEL.SS2_DERIV_USED.A_SW " + std::string(70, 'd') + "\n", 1,
                 {"Configuration error:  String truncated to '" + std::string(60, 'd') + "'"}},
        LineCase{"DetailOfSixtyIsKept", "ACCEL.SS2_DERIV_USED.A_SW " + std::string(60, 'd') + "\n", 1, {}},
        LineCase{"TagOverSixtyCharactersIsImproper", "A" + std::string(60, 'x') + " detail\n", 0,
                 {"Configuration error:  Improper line 'A" + std::string(60, 'x') + " detail'"}},
        LineCase{"TagOfSixtyCharactersIsLookedUp", std::string(60, 'x') + " detail\n", 0,
                 {"Configuration error:  Could not find '" + std::string(60, 'x') + "'"}},
        LineCase{"OverLongLineIsCutAndTheNextLineStillRead",
                 "ACCEL.SS2_DERIV_USED.A_SW " + std::string(400, 'z') + "\nACCEL.SS_DERIV_MAX.A_MAX Next\n", 2,
                 {"Configuration error:  String truncated to '" + std::string(60, 'z') + "'"}},
        LineCase{"SixthErrorIsCountedButNotLogged",
                 "A.B.C1 x\nA.B.C2 x\nA.B.C3 x\nA.B.C4 x\nA.B.C5 x\nA.B.C6 x\nA.B.C7 x\n", 0,
                 {"Could not find 'A.B.C1'", "Could not find 'A.B.C2'", "Could not find 'A.B.C3'",
                  "Could not find 'A.B.C4'", "Could not find 'A.B.C5'"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigFile, FifthErrorAnnouncesTheLimitAndTheEventIsSentOnce) {
    load(kHeader + "A.B.C1 x\nA.B.C2 x\nA.B.C3 x\nA.B.C4 x\nA.B.C5 x\nA.B.C6 x\n");
    const std::string log = logText();
    EXPECT_EQ(countOf(log, "Max error count reached.  Further errors from this file will not be logged...\n"), 1);
    EXPECT_LT(log.find("Could not find 'A.B.C5'"), log.find("Max error count reached"));
    int events = 0;
    for (const std::string& m : messageLines())
        events += m == "event 3: DATA_LOG_M Configuration error:  See LogFile.txt for details";
    EXPECT_EQ(events, 1);
}

// A message longer than the formatter's 256 bytes has its quoted text cut:
// every message still ends in its closing quote and line feed, and the next
// one starts a line of its own.
TEST_F(ConfigFile, OverLongMessagesAreCutInsideTheirQuotedText) {
    const std::string improper = "A" + std::string(60, 'x') + " " + std::string(193, 'd');
    ASSERT_EQ(improper.size(), 255u);
    load(kHeader + improper + "\nNO_SUCH.CELL.HERE Gone\n");
    const std::string log = logText();
    std::vector<std::string> lines;
    for (size_t from = 0, end; (end = log.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(log.substr(from, end - from));
    ASSERT_EQ(lines.size(), 3u) << log;
    EXPECT_NE(lines[0].find("Loaded new configuration 'TREND_DLOG.logConfig'"), std::string::npos);
    const std::string start = "Configuration error:  Improper line '" + improper.substr(0, 100);
    EXPECT_NE(lines[1].find(start), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].size() + 1, 256u) << "cut to the formatter's length";
    EXPECT_EQ(lines[1].back(), '\'');
    EXPECT_NE(lines[2].find("Configuration error:  Could not find 'NO_SUCH.CELL.HERE'"), std::string::npos);
    EXPECT_EQ(lines[2].back(), '\'');
}

TEST_F(ConfigFile, WrongFirstLineLeavesOnlyTheStaticItems) {
    load("VARNEKAR DATA_LOG_M Configuration File \nACCEL.SS2_DERIV_USED.A_SW One\n");
    EXPECT_EQ(dynamicItems(), 0);
    EXPECT_EQ(computeNumVariables(), 84);
    EXPECT_NE(logText().find("Configuration error:  First line of file unexpected "
                             "'VARNEKAR DATA_LOG_M Configuration File '"),
              std::string::npos);
    EXPECT_EQ(cfgName(), "");
    EXPECT_EQ(countOf(logText(), "Loaded new configuration"), 0) << "a refused file is not loaded";
}

// A pipe or a device under the file's name is said in the log, not waited
// for, and leaves the static configuration.
TEST_F(ConfigFile, AFileThatIsNoRegularFileIsReportedAndNotWaitedFor) {
    load(kHeader + "ACCEL.SS2_DERIV_USED.A_SW One\n");
    for (const std::string kind : {"pipe", "zero"}) {
        SCOPED_TRACE(kind);
        writeConfig(kHeader + "ACCEL.SS2_DERIV_USED.A_SW One\n");
        reload();
        ASSERT_EQ(dynamicItems(), 1);
        const std::string file = hostFile("TREND_DLOG.logConfig");
        std::filesystem::remove(file);
        if (kind == "pipe") {
            ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
        } else {
            std::filesystem::create_symlink("/dev/zero", file);
        }
        const size_t before = logText().size();
        reload();
        const std::string said = logText().substr(before);
        EXPECT_EQ(countOf(said, "Configuration error:  Cannot read the configuration file 'TREND_DLOG.logConfig "
                                "(not a regular file)'; static configuration only\n"),
                  1)
            << said;
        EXPECT_EQ(countOf(said, "Loaded new configuration"), 0) << said;
        EXPECT_EQ(dynamicItems(), 0);
        EXPECT_EQ(cfgName(), "<static configuration only>");
        std::filesystem::remove(file);
    }
}

// The file is read 256 bytes at a time: a last read of one byte still
// belongs to the file.
TEST_F(ConfigFile, AFileWhoseLastReadIsOneByteKeepsThatByte) {
    for (const size_t size : {257u, 513u}) {
        SCOPED_TRACE(size);
        const std::string last = "DATALOG.CNTATOI.OUT_1 Index";
        const size_t pad = size - kHeader.size() - last.size() - 4;
        load(kHeader + "// " + std::string(pad, 'p') + "\n" + last);
        ASSERT_EQ(dynamic_R160LogConfigIntCount, 1);
        EXPECT_STREQ(pDynamic_R160LogConfigInts[0].name, "Index");
        stopApp();
    }
}

// A cell of every rate group (and one of none), each found in its own
// group's list and no other.
TEST_F(ConfigFile, DynamicItemsGoToTheirGroupAndKindInFileOrder) {
    load(kHeader +
         "DATALOG.CNTATOI.OUT_1 Index\n"
         "SPDC.SPEED_REF.REV_RAMP Reverse\n"
         "ACCEL.SS2_DERIV_USED.A_SW Second\n"
         "DATALOG.TREND_DLOG.ACTUAL_MEM Memory\n"
         "SPDC.LOST_REM.R_TIME Lost\n"
         "ACCEL.SS_DERIV_MAX.A_MAX First\n"
         "CASC_CTRL.CASC_PID.PID_2 Cascade\n");
    ASSERT_EQ(dynamic_R10LogConfigRealCount, 2);
    EXPECT_STREQ(pDynamic_R10LogConfigReals[0].name, "Second");
    EXPECT_STREQ(pDynamic_R10LogConfigReals[1].name, "First");
    EXPECT_STREQ(pDynamic_R10LogConfigReals[1].path, "ACCEL.SS_DERIV_MAX.A_MAX");
    ASSERT_EQ(dynamic_R20LogConfigIntCount, 1);
    EXPECT_STREQ(pDynamic_R20LogConfigInts[0].name, "Lost");
    ASSERT_EQ(dynamic_R40LogConfigRealCount, 1);
    EXPECT_STREQ(pDynamic_R40LogConfigReals[0].name, "Reverse");
    ASSERT_EQ(dynamic_R80LogConfigRealCount, 1);
    EXPECT_STREQ(pDynamic_R80LogConfigReals[0].name, "Cascade");
    // Cells of no group are sampled with the 160 ms group.
    ASSERT_EQ(dynamic_R160LogConfigIntCount, 2);
    EXPECT_STREQ(pDynamic_R160LogConfigInts[0].name, "Index");
    EXPECT_STREQ(pDynamic_R160LogConfigInts[1].name, "Memory");
    EXPECT_EQ(dynamic_R20LogConfigRealCount, 0);
    EXPECT_EQ(pDynamic_R20LogConfigReals, nullptr);
    EXPECT_EQ(dynamicItems(), 7);
    // The lists lie from the end of the static ones, list after list.
    EXPECT_EQ(reinterpret_cast<uint8_t*>(pDynamic_R10LogConfigReals), pDynamicCfgStart);
    EXPECT_EQ(pDynamic_R20LogConfigInts, pDynamic_R10LogConfigReals + 2);
    EXPECT_EQ(pDynamic_R40LogConfigReals, pDynamic_R10LogConfigReals + 3);
    EXPECT_EQ(pDynamic_R80LogConfigReals, pDynamic_R10LogConfigReals + 4);
    EXPECT_EQ(pDynamic_R160LogConfigInts, pDynamic_R10LogConfigReals + 5);
    EXPECT_EQ(pDynamicCfgEnd, reinterpret_cast<uint8_t*>(pDynamic_R10LogConfigReals + 7));
    EXPECT_EQ(computeNumVariables(), 91);
}

TEST_F(ConfigFile, RevisionTextIsCutToTheTextCell) {
    load(kHeader + "[Revision] " + std::string(60, 'r') + "\n");
    EXPECT_EQ(cfgName(), std::string(39, 'r'));
    runPasses(R160, 1);
    EXPECT_EQ(text("DATALOG.TREND_DLOG.CFG_ID"), std::string(39, 'r'));
}

TEST_F(ConfigFile, UnchangedFileIsNotReadAgainAndARemovedOneIsDropped) {
    load(kHeader + "[Revision] one\nACCEL.SS2_DERIV_USED.A_SW One\n");
    ASSERT_EQ(dynamicItems(), 1);
    ASSERT_EQ(countOf(logText(), "Loaded new configuration 'TREND_DLOG.logConfig'"), 1);
    reload();
    EXPECT_EQ(countOf(logText(), "Loaded new configuration"), 1);
    EXPECT_EQ(dynamicItems(), 1);
    EXPECT_EQ(cfgName(), "one");
    // A new date: read again.
    writeConfig(kHeader + "[Revision] two\n");
    reload();
    EXPECT_EQ(countOf(logText(), "Loaded new configuration"), 2);
    EXPECT_EQ(dynamicItems(), 0);
    EXPECT_EQ(cfgName(), "two");
    std::filesystem::remove(hostFile("TREND_DLOG.logConfig"));
    reload();
    EXPECT_EQ(cfgName(), "<static configuration only>");
    EXPECT_EQ(iLoadedConfigurationDate, 0u);
}

// In a small block the requests fill the second half and the items grow from
// the end of the static lists: reading stops before an item could reach a
// request not yet read, and the requests read so far are used.
TEST_F(ConfigFile, RequestsStopBeforeTheItemsCouldOvertakeThem) {
    hk::setMemoryFigures(0x500000 + 0x6000, 0x6000);  // 24 KiB
    std::string body;
    for (int k = 0; k < 40; ++k) body += "ACCEL.SS_DERIV_MAX.A_MAX n" + std::to_string(k) + "\n";
    load(kHeader + body);
    ASSERT_EQ(DATA_LOG_M_MEMORY_SIZE, 0x6000u);
    // Static lists end at 84 x 128 = 10752; the requests start at 12288.
    const int room = (0x3000 - 84 * 128) / 128;
    EXPECT_EQ(dynamicItems(), room);
    EXPECT_LE(pDynamicCfgEnd, pToAddCfgStart);
    EXPECT_NE(logText().find("Configuration error:  Configuration overflow truncated at ('ACCEL.SS_DERIV_MAX.A_MAX')"),
              std::string::npos);
}

TEST_F(ConfigFile, RequestAreaEndLeavesRoomForOneMoreRecord) {
    // 1 MiB: the items (128 bytes) never reach the requests (132 bytes); the
    // end of the block stops them.
    hk::setMemoryFigures(0x500000 + 0x100000, 0x100000);
    std::string body;
    for (int k = 0; k < 4100; ++k) body += "ACCEL.SS_DERIV_MAX.A_MAX n" + std::to_string(k) + "\n";
    load(kHeader + body);
    // Records of 132 bytes from the middle; the one whose start + 332 passes the end is the last.
    int n = 0;
    while (0x80000 + n * 132 + 332 <= 0x100000) ++n;
    EXPECT_EQ(dynamicItems(), n + 1);
    EXPECT_EQ(countOf(logText(), "Configuration overflow truncated at"), 1);
}
