// The Modbus map on the whole program, with a real master (mbpoll) on link
// 2 over TCP: link devices and settings from the service tool, supervision
// (silence, errors, percentage, totals), the map hold, the exchange arrays
// read and written by the master, the scaled values. On the map's slices
// alone, the cases below their mark: the totals' halving, a link without
// errors and each array element's source one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include "app/control/control_slices.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/C_COMM.cells.h"
#include "app/interface/MOD_links.rows.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/remote_io/remote_io.h"
#include "tests/interface/program_cases_rig.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace {

constexpr int R80 = 3;
constexpr int R160 = 4;

// Element k of the discrete inputs, in the order the map lists them.
const char* const kBits[87] = {
    "SHUTDOWNS.ANY_SD.B_NAME",
    "ALARMS.ANY_ALM.B_NAME",
    "ALARMS.ANY.SEL_1",
    "ALARMS.ANY.SEL_2",
    "ALARMS.ANY.SEL_3",
    "SHUTDOWNS.ANY.SEL_1",
    "SHUTDOWNS.ANY.SEL_4",
    "SHUTDOWNS.ANY.SEL_3",
    "SHUTDOWNS.ANY.SEL_2",
    "SHUTDOWNS.ANY.SEL_5",
    "IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME",
    "IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME",
    "SPDC.A00_STEP.SFC_STEP",
    "SPDC.A07_STEP.SFC_STEP",
    "SPDC.A01_STEP.SFC_STEP",
    "IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME",
    "IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME",
    "MPU_OVRD.OVRD1_OR.OR",
    "ALARMS.ANY.SEL_7",
    "ALARMS.ANY.SEL_67",
    "MESSAGE.RMT_IN_CTL.AND",
    "RMT_ENBL.RMT_SPD_INH.AND",
    "IFACE_OUT_CASC.ENABLED.B_NAME",
    "IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME",
    "MESSAGE.CASC_CTL_DELAY.DELAY",
    "CASC_ENBL.INHIBITED.LATCH1",
    "IFACE_OUT_CASC.RMT_CAS_EN.B_NAME",
    "IFACE_OUT_CASC.REM_CAS_SEL.B_NAME",
    "MESSAGE.CASC_RMT_DELAY.DELAY",
    "RMT_CAS_EN.RCASC_IH.LATCH1",
    "HP_LIMTER.AT_MAX.OR",
    "HP_LIMTER.HP_RAMP.P_LIM_1",
    "IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME",
    "IFACE_OUT_START.SD_CLEAR.B_NAME",
    "CNFG_BI.BI_01_ZARN.BI_ZARN",
    "CNFG_BI.BI_02_ZARN.BI_ZARN",
    "CNFG_BI.BI_03_ZARN.BI_ZARN",
    "CNFG_BI.BI_04_ZARN.BI_ZARN",
    "CNFG_BI.BI_05_ZARN.BI_ZARN",
    "CNFG_BI.BI_06_ZARN.BI_ZARN",
    "CNFG_BI.BI_07_ZARN.BI_ZARN",
    "CNFG_BI.BI_08_ZARN.BI_ZARN",
    "CNFG_BO.RELAY_1.DISPLAY",
    "CNFG_BO.RELAY_2.DISPLAY",
    "CNFG_BO.RELAY_3.DISPLAY",
    "CNFG_BO.RELAY_4.DISPLAY",
    "MOD_VL_IO.VL_B_STATES.LIST_1",
    "MOD_VL_IO.VL_B_STATES.LIST_2",
    "MOD_VL_IO.VL_B_STATES.LIST_3",
    "MOD_VL_IO.VL_B_STATES.LIST_4",
    "MOD_VL_IO.VL_B_STATES.LIST_5",
    "MOD_VL_IO.VL_B_STATES.LIST_6",
    "MOD_VL_IO.VL_B_STATES.LIST_7",
    "MOD_VL_IO.VL_B_STATES.LIST_8",
    "MOD_VL_IO.VL_B_STATES.LIST_9",
    "MOD_VL_IO.VL_B_STATES.LIST_10",
    "MOD_VL_IO.VL_B_STATES.LIST_11",
    "MOD_VL_IO.VL_B_STATES.LIST_12",
    "MOD_VL_IO.VL_B_STATES.LIST_13",
    "MOD_VL_IO.VL_B_STATES.LIST_14",
    "MOD_VL_IO.VL_B_STATES.LIST_15",
    "MOD_VL_IO.VL_B_STATES.LIST_16",
    "MOD_VL_IO.VL_B_STATES.LIST_17",
    "MOD_VL_IO.VL_B_STATES.LIST_18",
    "MOD_VL_IO.VL_B_STATES.LIST_19",
    "MOD_VL_IO.VL_B_STATES.LIST_20",
    "MOD_VL_IO.VL_B_STATES.LIST_21",
    "MOD_VL_IO.VL_B_STATES.LIST_22",
    "MOD_VL_IO.VL_B_STATES.LIST_23",
    "MOD_VL_IO.VL_B_STATES.LIST_24",
    "MOD_VL_IO.VL_B_STATES.LIST_25",
    "MOD_VL_IO.VL_B_STATES.LIST_26",
    "MOD_VL_IO.VL_B_STATES.LIST_27",
    "MOD_VL_IO.VL_B_STATES.LIST_28",
    "MOD_VL_IO.VL_B_STATES.LIST_29",
    "MOD_VL_IO.VL_B_STATES.LIST_30",
    "MOD_VL_IO.VL_B_STATES.LIST_31",
    "MOD_VL_IO.VL_B_STATES.LIST_32",
    "SPDC.Z01_STEP.SFC_STEP",
    "START.IDLE.OR",
    "SHUTDOWNS.ANY.SEL_25",
    "IFACE_MODE.TIQ_HEARTBEAT.B_NAME",
    "_ub6.CHNL_FLT.B_NAME",
    "_ub7.CHNL_FLT.B_NAME",
    "_ub8.CHNL_FLT.B_NAME",
    "_ub9.CHNL_FLT.B_NAME",
    "SPDC.Z01_C2.B_ACTION",
};

struct Reg {
    const char* value;
    const char* multiplier;
};
const Reg kRegs[48] = {
    {"MPU.TURB_SPD.A_NAME", "MOD.MOD1.AR_M_1"},
    {"SPD_CTRL.SPD_SETPT.A_NAME", "MOD.MOD1.AR_M_2"},
    {"IFACE_OUT_SPEED.RMT_SPD_INPUT.A_NAME", "MOD.MOD1.AR_M_3"},
    {"AI_MUX.RMT_SPD_SP.A_NAME", "MOD.MOD1.AR_M_4"},
    {"MOD_SCALE.VLV_100.MULTIPLY", "MOD.MOD1.AR_M_5"},
    {"IFACE_OUT_SPEED.SPD_PID_LSS.A_NAME", "MOD.MOD1.AR_M_6"},
    {"HP_DRIVER.HP_MAX.A_MIN", "MOD.MOD1.AR_M_7"},
    {"IFACE_OUT_CASC.CASC_PID.A_NAME", "MOD.MOD1.AR_M_8"},
    {"IFACE_IN_CASC.CASC_IN_NAME.A_NAME", "AI_MUX.CASC_IN_MODX.A_NAME"},
    {"IFACE_OUT_CASC.CASC_SP.A_NAME", "AI_MUX.CASC_IN_MODX.A_NAME"},
    {"CNFG_SPEED.TSS_01.MONITOR", "MOD.MOD1.AR_M_11"},
    {"CNFG_SPEED.TSS_02.MONITOR", "MOD.MOD1.AR_M_12"},
    {"_ub6.VALUE.A_NAME", "_ub6.MOD_MULT.A_NAME"},
    {"_ub7.VALUE.A_NAME", "_ub7.MOD_MULT.A_NAME"},
    {"_ub8.VALUE.A_NAME", "_ub8.MOD_MULT.A_NAME"},
    {"_ub9.VALUE.A_NAME", "_ub9.MOD_MULT.A_NAME"},
    {"CNFG_ACT.ACT_01_SRC.A_NAME", "MOD.MOD1.AR_M_17"},
    {"_ub10.VAL.A_NAME", "_ub10.MOD_MULT.A_NAME"},
    {"_ub11.VAL.A_NAME", "_ub11.MOD_MULT.A_NAME"},
    {"_ub12.VAL.A_NAME", "_ub12.MOD_MULT.A_NAME"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_1", "MOD_VL_IO.VL_A_MULT.LIST_1"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_2", "MOD_VL_IO.VL_A_MULT.LIST_2"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_3", "MOD_VL_IO.VL_A_MULT.LIST_3"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_4", "MOD_VL_IO.VL_A_MULT.LIST_4"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_5", "MOD_VL_IO.VL_A_MULT.LIST_5"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_6", "MOD_VL_IO.VL_A_MULT.LIST_6"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_7", "MOD_VL_IO.VL_A_MULT.LIST_7"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_8", "MOD_VL_IO.VL_A_MULT.LIST_8"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_9", "MOD_VL_IO.VL_A_MULT.LIST_9"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_10", "MOD_VL_IO.VL_A_MULT.LIST_10"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_11", "MOD_VL_IO.VL_A_MULT.LIST_11"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_12", "MOD_VL_IO.VL_A_MULT.LIST_12"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_13", "MOD_VL_IO.VL_A_MULT.LIST_13"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_14", "MOD_VL_IO.VL_A_MULT.LIST_14"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_15", "MOD_VL_IO.VL_A_MULT.LIST_15"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_16", "MOD_VL_IO.VL_A_MULT.LIST_16"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_17", "MOD_VL_IO.VL_A_MULT.LIST_17"},
    {"MOD_VL_IO.VL_A_VALUES.LIST_18", "MOD_VL_IO.VL_A_MULT.LIST_18"},
    {"ALARMS.FIRSTOUT_A.OUT_1", nullptr},
    {"SHUTDOWNS.FIRSTOUT_A.OUT_1", nullptr},
    {"COND_MON.STRT_TURB.A_NAME", nullptr},
    {"COND_MON.SD_NUM.A_NAME", nullptr},
    {"COND_MON.SDLOAD1_NUM.A_NAME", nullptr},
    {"COND_MON.SDLOAD2_NUM.A_NAME", nullptr},
    {"COND_MON.OSPD_NUM.A_NAME", nullptr},
    {"COND_MON.TRUNHRS.A_NAME", nullptr},
    {"COND_MON.TRUNLDHRS.A_NAME", nullptr},
    {"COND_MON.TRUNLD2HRS.A_NAME", nullptr},
};
// Registers 6-8 and 17 carry their sources x 100.
bool percentRegister(int k) { return (k >= 5 && k <= 7) || k == 16; }

class ModbusLinks : public pc_test::ProgramCases {
protected:
    static constexpr int P160 = pc_test::R160;
    // A ready unit, Modbus used and link 2 (Modbus TCP) in use with its
    // writes enabled, past the power-up (the map free).
    void startWithLink2() {
        start(false, false);
        modbusLinkWithWrites();
        runPasses(P160, 20);
    }
    // One request of a master on link 2 answered (mbpoll exits with 0).
    void request(const std::string& options = "-t 3 -r 1", const std::string& values = "") {
        const auto [status, out] = mbpoll(options, values);
        ASSERT_EQ(status, 0) << out;
    }
    // The values mbpoll read, by reference number.
    std::map<int, long> read(const std::string& options) {
        const auto [status, out] = mbpoll(options);
        EXPECT_EQ(status, 0) << out;
        std::map<int, long> values;
        std::istringstream lines(out);
        std::string line;
        while (std::getline(lines, line)) {
            int ref = 0;
            long v = 0;
            if (std::sscanf(line.c_str(), "[%d]: %ld", &ref, &v) == 2) values[ref] = v;
        }
        return values;
    }
};

TEST(ModbusRegisterWord, NearestIntegerLowSixteenBits) {
    struct Case {
        float multiplier, value;
        int16_t word;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {1.0f, 123.5f, 124},   {1.0f, -123.5f, -124}, {1.0f, 123.49f, 123}, {1.0f, 40000.0f, -25536},
        {1.0f, 32767.0f, 32767}, {1.0f, 32768.0f, -32768}, {1.0f, -32769.0f, 32767}, {10.0f, 3.6f, 36},
        {0.01f, 12345.0f, 123}, {1.0f, nan, 0},         {1.0f, 3e9f, -1},     {1.0f, inf, -1},
        {1.0f, -3e9f, 0},      {1.0f, 65536.0f + 7.0f, 7}, {1.0f, -0.5f, -1}, {1.0f, 0.4f, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(MOD_register_word(c.multiplier, c.value), c.word) << c.multiplier << " x " << c.value;
}

// With a time-out of 10 s the link error comes on the first pass after the
// silence has exceeded it (63 steps of 0.16 s); a request clears it.
TEST_F(ModbusLinks, SilenceBeyondTheTimeOutRaisesTheLinkError) {
    startWithLink2();
    request();
    runPasses(P160, 1);
    EXPECT_EQ(integer("MOD.MOD1.MSG_CNT_2"), 0);  // consumed
    // The passes since the one that heard the request, by the silence timer.
    const int since = static_cast<int>(std::lround(real("MOD.MOD1.TIMER_2") / 0.16f));
    ASSERT_LT(since, 10);
    EXPECT_EQ(passesUntil(P160, [this] { return boolean("MOD.MOD1.LNK_ERR_2") == 1u; }, 100) + since, 63);
    request();
    runPasses(P160, 1);
    EXPECT_EQ(boolean("MOD.MOD1.LNK_ERR_2"), 0u);
    EXPECT_EQ(integer("MOD.MOD1.MSG_CNT_2"), 0);
}

// Requests and refused requests (an address past the map's end): the
// totals count both, the percentage is the errors' share of the totals (the
// link's time-outs before a master came count as errors too), an error sets
// the exception flag until the reset (from the reset contact) clears it and
// the error number.
TEST_F(ModbusLinks, ErrorPercentageTotalsAndExceptionFlag) {
    startWithLink2();
    auto share = [this] {
        const float msgs = static_cast<float>(integer("MOD.MOD1.TOT_MSG_2"));
        return msgs > 0.0f ? static_cast<float>(integer("MOD.MOD1.TOT_ERR_2")) / msgs * 100.0f : 0.0f;
    };
    const int32_t msgs0 = integer("MOD.MOD1.TOT_MSG_2"), errs0 = integer("MOD.MOD1.TOT_ERR_2");
    for (int k = 0; k < 3; ++k) request();
    runPasses(P160, 2);
    EXPECT_GE(integer("MOD.MOD1.TOT_MSG_2"), msgs0 + 3);
    EXPECT_FLOAT_EQ(real("MOD.MOD1.ERR_PCT_2"), share());
    // Input register 51: past the map's fifty.
    const int32_t errs1 = integer("MOD.MOD1.TOT_ERR_2");
    EXPECT_GE(errs1, errs0);
    EXPECT_NE(mbpoll("-t 3 -r 51").first, 0);
    runPasses(P160, 2);
    EXPECT_GE(integer("MOD.MOD1.TOT_ERR_2"), errs1 + 1);
    EXPECT_FLOAT_EQ(real("MOD.MOD1.ERR_PCT_2"), share());
    EXPECT_GT(real("MOD.MOD1.ERR_PCT_2"), 0.0f);
    EXPECT_EQ(integer("MOD.MOD1.ERR_CNT_2"), 0);  // consumed
    EXPECT_EQ(boolean("MOD.MOD1.EX_ERR_2"), 1u);
    EXPECT_NE(integer("MOD.MOD1.ERR_NUM_2"), 0);
    const int32_t errs2 = integer("MOD.MOD1.TOT_ERR_2");
    contact(ref_test::kResetContact, true);
    ASSERT_GE(passesUntil(P160, [this] { return boolean("MOD.MOD1.EX_ERR_2") == 0u; }, 5), 0);
    contact(ref_test::kResetContact, false);
    EXPECT_EQ(integer("MOD.MOD1.ERR_NUM_2"), 0);
    EXPECT_GE(integer("MOD.MOD1.TOT_ERR_2"), errs2);  // the totals stay
}

// The device of links 2 and 3 by the link type; a link not in use gets the
// null device, where its instance times out and records error 23. The
// addresses and write enables follow their settings.
TEST_F(ModbusLinks, LinkDevicesByTypeAndTheNullDevice) {
    start(false, false);
    struct Case {
        int type2, type3;
        int device2, device3;
    };
    tune("C_COMM.C1.IN", 1);
    tune("CNFG_COMMS.LINK2_USED.IN", 1);
    tune("CNFG_COMMS.LINK3_USED.IN", 1);
    const Case cases[] = {{2, 2, 2, 5}, {3, 3, 4, 6}, {7, 7, 4, 6}, {1, 1, 0, 0}, {7, 2, 0, 5}};
    // A type outside 1 .. 3, which the service tool refuses, is written to
    // the cell: the device chosen last stays.
    const auto type = [&](const char* name, int t) {
        if (t >= 1 && t <= 3) tune(name, t);
        else pokeTunable(name, t);
    };
    for (const Case& c : cases) {
        type("CNFG_COMMS.PORT2_COMM_TYP.IN", c.type2);
        type("CNFG_COMMS.PORT3_COMM_TYP.IN", c.type3);
        runPasses(P160, 2);
        EXPECT_EQ(integer("MOD.PORT2_COMM_USED.I_SW"), c.device2) << c.type2;
        EXPECT_EQ(integer("MOD.PORT3_COMM_USED.I_SW"), c.device3) << c.type3;
    }
    tune("CNFG_COMMS.PORT3_COMM_TYP.IN", 3);
    tune("CNFG_COMMS.LINK3_USED.IN", 0);
    runPasses(P160, 2);
    EXPECT_EQ(integer("MOD.PORT3_COMM_USED.I_SW"), 0);
    EXPECT_EQ(integer("MOD.PORT3_COMM.I_MUX_N_1"), 6);
    // On the null device the links record time-outs.
    runPasses(P160, 20);
    EXPECT_EQ(integer("MOD.PORT2_COMM_USED.I_SW"), 0);
    EXPECT_EQ(integer("MOD.PORT2_ERR_CODE.I_NAME"), 23);
    EXPECT_EQ(boolean("MOD.PORT2_EXCP_ERR.B_NAME"), 1u);
    EXPECT_EQ(integer("MOD.PORT3_ERR_CODE.I_NAME"), 23);
    EXPECT_EQ(boolean("MOD.PORT3_EXCP_ERR.B_NAME"), 1u);
    // Link 2 on Modbus TCP again with its writes enabled, heard by a
    // master: the addresses and write enables follow their settings.
    tune("CNFG_COMMS.PORT2_COMM_TYP.IN", 2);
    tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 1);
    runPasses(P160, 3);
    request();
    tune("CNFG_COMMS.PORT2_NET_ADDR.IN", 44);
    tune("C_COMM.C4.IN", 9);
    runPasses(P160, 3);
    EXPECT_EQ(integer("MOD.MOD1.ADDR_2"), 44);
    EXPECT_EQ(integer("MOD.MOD1.ADDR_1"), 9);
    EXPECT_EQ(integer("MOD.MOD1.ADDR_3"), 3);
    EXPECT_EQ(boolean("MOD.MOD1.BW_ENBL_2"), 1u);
    EXPECT_EQ(boolean("MOD.MOD1.AW_ENBL_2"), 1u);
    EXPECT_EQ(boolean("MOD.MOD1.AW_ENBL_1"), 0u);
    EXPECT_EQ(boolean("MOD.MOD1_PERM.AND"), 1u);
    EXPECT_EQ(boolean("MOD.USE_MOD.B_NAME"), 1u);
    tune("C_COMM.C1.IN", 0);
    runPasses(P160, 2);
    EXPECT_EQ(boolean("MOD.MOD1_PERM.AND"), 0u);
    EXPECT_EQ(boolean("MOD.C2_OR.OR"), 0u);
}

// What a master wrote (mbpoll on link 2) reaches the map's cells, unless the
// map is held (the hold input, or every link in error): then arrays and
// cells are cleared; one link heard again frees it.
TEST_F(ModbusLinks, WrittenValuesTakenOverUnlessTheMapIsHeld) {
    startWithLink2();
    request("-t 4 -r 2", "500");
    request("-t 4 -r 5", "65529");  // -7 as a 16-bit word
    request("-t 0 -r 1", "1");
    request("-t 0 -r 22", "1");
    runPasses(P160, 2);
    EXPECT_EQ(real("MOD.MOD1.AW_V_2"), 500.0f);
    EXPECT_EQ(real("MOD.MOD1.AW_V_5"), -7.0f);
    EXPECT_EQ(boolean("MOD.MOD1.BW_V_1"), 1u);
    EXPECT_EQ(boolean("MOD.MOD1.BW_V_22"), 1u);
    EXPECT_EQ(boolean("MOD.MOD1.BW_V_2"), 0u);
    // The hold input clears arrays and cells.
    tune("MOD.OR_INI.IN_1", 1);
    runPasses(P160, 2);
    EXPECT_EQ(real("MOD.MOD1.AW_V_2"), 0.0f);
    EXPECT_EQ(boolean("MOD.MOD1.BW_V_1"), 0u);
    EXPECT_EQ(read("-t 4 -r 2").at(2), 0);
    EXPECT_EQ(read("-t 0 -r 22").at(22), 0);
    tune("MOD.OR_INI.IN_1", 0);
    // Every link in use in error: held. Links 1 and 3 are in use with no
    // master; link 2 falls silent.
    tune("CNFG_COMMS.LINK3_USED.IN", 1);
    request("-t 4 -r 3", "12");
    ASSERT_TRUE(runUntil([this] { return boolean("MOD.MOD1.LNK_ERR_2") == 1u; }, 200));
    runPasses(P160, 2);
    EXPECT_EQ(boolean("MOD.MOD1.LNK_ERR_1"), 1u);
    EXPECT_EQ(boolean("MOD.MOD1.LNK_ERR_3"), 1u);
    EXPECT_EQ(real("MOD.MOD1.AW_V_3"), 0.0f);
    // Written again while held, then heard: taken over.
    request("-t 4 -r 3", "12");
    runPasses(P160, 3);
    EXPECT_EQ(boolean("MOD.MOD1.LNK_ERR_2"), 0u);
    request("-t 4 -r 3", "12");
    runPasses(P160, 2);
    EXPECT_EQ(real("MOD.MOD1.AW_V_3"), 12.0f);
}

// The discrete inputs and input registers a master reads (mbpoll on link
// 2) from a unit in control with the remote speed setpoint and cascade
// configured, the shaft held at minimum governor: each element is its
// source cell of the pass (the registers as words of their multipliers,
// the demand and actuator registers x 100).
TEST_F(ModbusLinks, ArraysReadByAMasterHoldTheirCells) {
    startWithRemoteAndCascade();
    modbusLinkWithWrites();
    startToInControl();
    holdShaftAt(ref_test::kMinGov);
    runPasses(P160, 40);
    const std::map<int, long> bits = read("-t 1 -r 1 -c 87");
    const std::map<int, long> regs = read("-t 3 -r 1 -c 48");
    ASSERT_EQ(bits.size(), 87u);
    ASSERT_EQ(regs.size(), 48u);
    int nonzero = 0;
    for (int k = 0; k < 87; ++k) {
        // The heartbeat toggles between the master's read and this look.
        if (std::string(kBits[k]) == "IFACE_MODE.TIQ_HEARTBEAT.B_NAME") continue;
        EXPECT_EQ(static_cast<uint32_t>(bits.at(k + 1)), boolean(kBits[k])) << kBits[k];
        EXPECT_EQ(static_cast<uint32_t>(bits.at(k + 1)), _BR_MOD_MOD1_11103[k]) << kBits[k];
        nonzero += bits.at(k + 1) != 0;
    }
    for (int k = 0; k < 48; ++k) {
        const float m = kRegs[k].multiplier != nullptr ? real(kRegs[k].multiplier) : 1.0f;
        const float v = real(kRegs[k].value) * (percentRegister(k) ? 100.0f : 1.0f);
        const int16_t word = static_cast<int16_t>(regs.at(k + 1));
        // The demand moves in its last digits from pass to pass.
        const int16_t want = MOD_register_word(m, v);
        EXPECT_NEAR(word, want, std::max(1.0, std::fabs(want) * 0.01)) << kRegs[k].value;
        EXPECT_NEAR(word, _AR_MOD_MOD1_11103[k], std::max(1.0, std::fabs(want) * 0.01)) << kRegs[k].value;
        nonzero += word != 0;
    }
    EXPECT_GE(nonzero, 8) << "a unit in control gives many elements a value";
}

// ---- on the map's slices --------------------------------------------------

// The map's slices with the power-up pulses and the link flags ahead of it;
// link 1 has no serial line here, so the test feeds its counters.
class ModbusMap : public pc_test::OnTheirSlices {
protected:
    void start() {
        startSlices({{R80, {r80::PWR_UP_MSG_pulses, r80::PWR_UP_MSG_timing}},
                     {R160, {r160::MOD_link_flags, r160::CNFG_COMMS_ports, r160::C_COMM_copy, _R160_TASK_44,
                             _R160_TASK_45}}});
        runPasses(R160, 40);  // power-up settled, map free
    }
    // One pass in which link 1's engine counted `messages` requests and `errors` errors.
    void link1Pass(int messages, int errors = 0) {
        setCell("MOD.MOD1.MSG_CNT_1", messages);
        setCell("MOD.MOD1.ERR_CNT_1", errors);
        runPasses(R160, 1);
    }
};

// More than 1024 messages in a pass halve both totals: 1030 messages with
// 10 errors show 10 / 1030 x 100 %. A master's thousand requests in one
// pass are more than a real link gives in the simulated time of a test.
TEST_F(ModbusMap, TotalsHalvedAboveTheirLimit) {
    start();
    link1Pass(1020, 10);
    EXPECT_FLOAT_EQ(real("MOD.MOD1.ERR_PCT_1"), 10.0f / 1030.0f * 100.0f);
    EXPECT_EQ(integer("MOD.MOD1.TOT_ERR_1"), 5);
    EXPECT_EQ(integer("MOD.MOD1.TOT_MSG_1"), 515);
    // 1024 is not halved; errors of 0 give 5 / 516.
    link1Pass(509, 0);
    EXPECT_EQ(integer("MOD.MOD1.TOT_MSG_1"), 1024);
    EXPECT_EQ(integer("MOD.MOD1.TOT_ERR_1"), 5);
    EXPECT_FLOAT_EQ(real("MOD.MOD1.ERR_PCT_1"), 5.0f / 1024.0f * 100.0f);
    link1Pass(1, 0);
    EXPECT_EQ(integer("MOD.MOD1.TOT_MSG_1"), 512);
    EXPECT_EQ(integer("MOD.MOD1.TOT_ERR_1"), 2);
    // The reset drops the errors of its own pass from the flag, not from the totals.
    setCell("MOD.MOD1.ERR_NUM_1", 3);
    setCell("RESET.RST.ONE_SHOT", 1);
    link1Pass(1, 4);
    setCell("RESET.RST.ONE_SHOT", 0);
    EXPECT_EQ(boolean("MOD.MOD1.EX_ERR_1"), 0u);
    EXPECT_EQ(integer("MOD.MOD1.ERR_NUM_1"), 0);
    EXPECT_EQ(integer("MOD.MOD1.TOT_ERR_1"), 6);
}

// No errors, no percentage: a link of the program in use counts its
// time-outs as errors from power-up on, so it is never without errors.
TEST_F(ModbusMap, NoErrorsNoPercentage) {
    start();
    EXPECT_EQ(integer("MOD.MOD1.TOT_MSG_1"), 0);  // nothing counted yet: 0, not a share of nothing
    EXPECT_EQ(real("MOD.MOD1.ERR_PCT_1"), 0.0f);
    link1Pass(7, 0);
    EXPECT_EQ(real("MOD.MOD1.ERR_PCT_1"), 0.0f);
    EXPECT_EQ(integer("MOD.MOD1.TOT_MSG_1"), 7);
    EXPECT_EQ(boolean("MOD.MOD1.EX_ERR_1"), 0u);
    link1Pass(2, 1);  // the first error already has its share
    EXPECT_FLOAT_EQ(real("MOD.MOD1.ERR_PCT_1"), 1.0f / 10.0f * 100.0f);
}

// Each array element from its own cell, one cell at a time: the program
// never gives every source a distinct value at once, so only the map's
// slices show that no two elements share a source.
TEST_F(ModbusMap, ArraysFilledFromTheirCells) {
    start();
    for (int k = 0; k < 87; ++k) setCell(kBits[k], 0);
    runPasses(R160, 1);
    for (int k = 0; k < 87; ++k) {
        setCell(kBits[k], 1);
        runPasses(R160, 1);
        EXPECT_EQ(_BR_MOD_MOD1_11103[k], 1u) << kBits[k];
        int on = 0;
        for (uint32_t v : _BR_MOD_MOD1_11103) on += v != 0;
        EXPECT_EQ(on, 1) << kBits[k];
        setCell(kBits[k], 0);
    }
    // Element k of the input registers: its source and multiplier cells. Each
    // value k + 1 with a multiplier of its own, k + 2 (elements 8 and 9
    // share theirs; the last ten have none), shows where it lands and which
    // multiplier it takes; registers 5-7 and 16 carry their sources x 100.
    for (int k = 0; k < 48; ++k) {
        setCell(kRegs[k].value, 0);
        if (kRegs[k].multiplier != nullptr) setCell(kRegs[k].multiplier, k + 2);
    }
    for (int k = 0; k < 48; ++k) {
        // The speed demand, actuator high select, cascade output and actuator
        // source reach their registers as percentages.
        const bool percent = (k >= 5 && k <= 7) || k == 16;
        setCell(kRegs[k].value, percent ? (k + 1) / 100.0 : k + 1);
        runPasses(R160, 2);
        const int want = kRegs[k].multiplier != nullptr ? static_cast<int>(real(kRegs[k].multiplier)) * (k + 1) : k + 1;
        EXPECT_EQ(_AR_MOD_MOD1_11103[k], want) << kRegs[k].value;
        int others = 0;
        for (int e = 0; e < 50; ++e) others += e != k && _AR_MOD_MOD1_11103[e] != 0;
        EXPECT_EQ(others, 0) << kRegs[k].value;
        setCell(kRegs[k].value, 0);
    }
    runPasses(R160, 2);
    struct Word {
        const char* cell;
        float value;
        const char* multiplier;
        float m;
        int element;
        int16_t word;
    };
    const Word words[] = {
        {"MPU.TURB_SPD.A_NAME", 3600.0f, "MOD.MOD1.AR_M_1", 0.1f, 0, 360},
        {"CNFG_SPEED.TSS_02.MONITOR", 1234.5f, "MOD.MOD1.AR_M_12", 1.0f, 11, 1235},
        {"COND_MON.STRT_TURB.A_NAME", 40000.0f, nullptr, 0.0f, 40, -25536},
        {"COND_MON.TRUNLD2HRS.A_NAME", -123.5f, nullptr, 0.0f, 47, -124},
    };
    for (const Word& r : words) {
        setCell(r.cell, r.value);
        if (r.multiplier != nullptr) setCell(r.multiplier, r.m);
        runPasses(R160, 1);
        EXPECT_EQ(_AR_MOD_MOD1_11103[r.element], r.word) << r.cell;
    }
    // The actuator percentage of the second slice.
    setCell("MOD.MOD1.AR_M_17", 1.0);
    setCell("CNFG_ACT.ACT_01_SRC.A_NAME", 0.25f);
    runPasses(R160, 2);
    EXPECT_EQ(real("MOD_IO.ACT1_100.MULTIPLY"), 25.0f);
    EXPECT_EQ(_AR_MOD_MOD1_11103[16], 25);
}

// The values scaled for the map, on the whole program: a unit in control
// with the remote speed setpoint and cascade configured on the controller's
// analog inputs, the cascade input's Modbus multiplier 10. Each scaled
// value follows from the program's own values of the pass.
class ModbusMapOnProgram : public ref_test::RefRig {};

TEST_F(ModbusMapOnProgram, ScaledValues) {
    startWithRemoteAndCascade({{"_ub7.AI_MOD_X.IN", 4}});
    startToInControl();
    // Held at minimum governor, the shaft steady: the values of one pass
    // are those of the next.
    holdShaftAt(ref_test::kMinGov);
    runPasses(ref_test::R160, 40);
    ASSERT_TRUE(step("A08_STEP"));
    const float scale = real("MOD_SCALE.CASC_SCALE.A_NAME");
    EXPECT_FLOAT_EQ(scale, 10.0f);
    const float max_gov = real("IFACE_IN_SPEED.MAX_GOV.A_NAME");
    EXPECT_FLOAT_EQ(max_gov, ref_test::kMaxGov);
    // The cascade input at mid range (12 mA on 0 .. 100).
    const float pv = real("IFACE_IN_CASC.CASC_IN_NAME.A_NAME");
    EXPECT_NEAR(pv, 50.0f, 0.01f);
    const float sp = real("IFACE_OUT_CASC.CASC_SP.A_NAME");
    const float min_half = real("CASC_CTRL.MINSP_DIV2.DIVIDE");
    const float range = real("CASC_CTRL.MAX_CASC.SUBTRACT");
    ASSERT_GT(range, 0.0f);
    const float speed = real("MPU.TURB_SPD.A_NAME");
    EXPECT_NEAR(speed, ref_test::kMinGov, 5.0f);
    const float setpt = real("SPD_CTRL.SPD_SETPT.A_NAME");
    EXPECT_NEAR(setpt, ref_test::kMinGov, 5.0f);
    const float demand = real("IFACE_OUT_SPEED.SPD_PID_LSS.A_NAME");
    EXPECT_GT(demand, 0.0f);
    struct Out {
        const char* cell;
        double value;
    };
    const Out outs[] = {
        {"MOD_SCALE.ACT1_HSS.MULTIPLY", real("HP_DRIVER.HP_MAX.A_MIN") * 100.0},
        {"MOD_SCALE.CASC_100.MULTIPLY", real("IFACE_OUT_CASC.CASC_PID.A_NAME") * 100.0},
        {"MOD_SCALE.CASC_MOD1.DIVIDE", real("MOD.MOD1.AW_V_2") / scale},
        {"MOD_SCALE.SP_DIV2.DIVIDE", sp / 2.0},
        {"MOD_SCALE.CAS_SP_SCL.SUBTRACT", sp / 2.0 - min_half},
        {"MOD_SCALE.CASC_RANGE.DIVIDE", 100.0 / range},
        {"MOD_SCALE.CASC_PRCT.MULTIPLY", (sp / 2.0 - min_half) * 100.0 * (100.0 / range)},
        {"MOD_SCALE.CASC_RNG_SCL.DIVIDE", pv / 2.0},
        {"MOD_SCALE.CASC_SCD.MULTIPLY", pv * scale},
        {"MOD_SCALE.CAS_PV_SCL.SUBTRACT", pv / 2.0 - min_half},
        {"MOD_SCALE.CAS_VL_PRC.MULTIPLY", (pv / 2.0 - min_half) * 100.0 * (100.0 / range)},
        {"MOD_SCALE.CSETPT_SCD.MULTIPLY", scale * sp},
        {"MOD_SCALE.LSS_100.MULTIPLY", real("IFACE_OUT_VLV.LSS_OUT.A_NAME") * 100.0},
        {"MOD_SCALE.M1_CAS_SCL.MULTIPLY", real("CASC_ENTRD.M1_SMP_TUN.SAMP_TUNE") * scale},
        {"MOD_SCALE.RMT_CASC_S.MULTIPLY", real("IFACE_OUT_CASC.REMOTE_CAS_SP.A_NAME") * scale},
        {"MOD_SCALE.SETPT.DIVIDE", setpt / max_gov},
        {"MOD_SCALE.SETPT_PRCT.MULTIPLY", setpt / max_gov * 10000.0},
        {"MOD_SCALE.SPD_100.MULTIPLY", demand * 100.0},
        {"MOD_SCALE.SPEED.DIVIDE", speed / max_gov},
        {"MOD_SCALE.SPD_PRCT.MULTIPLY", speed / max_gov * 10000.0},
    };
    for (const Out& o : outs) EXPECT_NEAR(real(o.cell), o.value, 1e-4 * std::max(1.0, std::fabs(o.value))) << o.cell;
    // Registers 6 and 7: the speed demand and the actuator high select, x 100.
    EXPECT_EQ(_AR_MOD_MOD1_11103[5], MOD_register_word(real("MOD.MOD1.AR_M_6"), real("MOD_SCALE.SPD_100.MULTIPLY")));
    EXPECT_EQ(_AR_MOD_MOD1_11103[6], MOD_register_word(real("MOD.MOD1.AR_M_7"), real("MOD_SCALE.ACT1_HSS.MULTIPLY")));
    EXPECT_NE(_AR_MOD_MOD1_11103[5], 0);
}

// Configured without a maximum governor speed (a configuration error): the
// speed and setpoint percentages divide by zero and show the system's large
// value, with the dividend's sign.
TEST_F(ModbusMapOnProgram, ScaledValuesDivideByZeroToTheLargeValue) {
    holdShaftAt(500.0);
    startApp();
    serviceWrite("CNFG_SETPT.QT_MAX_GOV.IN", 0.0);
    runPasses(ref_test::R160, 20);
    ASSERT_EQ(real("IFACE_IN_SPEED.MAX_GOV.A_NAME"), 0.0f);
    ASSERT_NEAR(real("MPU.TURB_SPD.A_NAME"), 500.0f, 5.0f);
    EXPECT_GT(real("MOD_SCALE.SPEED.DIVIDE"), 1e30f);
    EXPECT_GT(real("MOD_SCALE.SPD_PRCT.MULTIPLY"), 1e30f);
    const float setpt = real("SPD_CTRL.SPD_SETPT.A_NAME");
    EXPECT_GT(std::fabs(real("MOD_SCALE.SETPT.DIVIDE")), 1e30f);
    EXPECT_EQ(real("MOD_SCALE.SETPT.DIVIDE") > 0.0f, setpt >= 0.0f) << setpt;
}

// A link's alarm: the steady error, or with its switch set a pulse of one
// pass at the onset; all three alarms together make all-links-failed. Link
// 1 (serial, no master here) and link 3 stay silent; link 2 is heard from
// mbpoll. Passes of 160 ms.
TEST_F(ModbusLinks, LinkAlarmsSteadyOrPulsed) {
    start(false, false, {{"C_COMM.C1.IN", 1}, {"C_COMM.C2.IN", 1}, {"MOD_LNK_STAT.LN1_SW.CTRL", 1}});
    auto on = [this](const char* cell) { return boolean(cell); };
    // Link 1 silent since the start: its error and its alarm's pulse.
    ASSERT_GE(passesUntil(P160, [&] { return on("MOD_LNK_STAT.LNK_ERR.AND") == 1u; }, 200), 0);
    EXPECT_EQ(on("MOD_LNK_STAT.N_LNK_ERR.NOT"), 0u);
    EXPECT_EQ(on("MOD_LNK_STAT.MOD1_ALM.AND"), 1u);
    EXPECT_EQ(on("MOD_LNK_STAT.SIO_LNK1_ALM.B_NAME"), 1u);
    runPasses(P160, 1);
    EXPECT_EQ(on("MOD_LNK_STAT.MOD_OK_LAT.LATCH"), 0u);
    EXPECT_EQ(on("MOD_LNK_STAT.SIO_LNK1_ALM.B_NAME"), 0u) << "a pulse of one pass";
    EXPECT_EQ(on("MOD_LNK_STAT.LNK_ERR.AND"), 1u);
    tune("MOD_LNK_STAT.LN1_SW.CTRL", 0);
    runPasses(P160, 2);
    EXPECT_EQ(on("MOD_LNK_STAT.SIO_LNK1_ALM.B_NAME"), 1u) << "steady";
    // Links 2 and 3 not in use: no alarm, not all links failed.
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 0u);
    EXPECT_EQ(on("MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME"), 0u);
    // Both in use, silent: link 2's alarm pulsed, link 3's steady; all
    // three together for one pass.
    tune("MOD_LNK_STAT.LN2_SW.CTRL", 1);
    tune("CNFG_COMMS.LINK2_USED.IN", 1);
    tune("CNFG_COMMS.LINK3_USED.IN", 1);
    ASSERT_GE(passesUntil(P160, [&] { return on("MODBUS1.LNK2_ALM.AND") == 1u; }, 200), 0);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 1u);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK3_ALM.B_NAME"), 1u);
    EXPECT_EQ(on("MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME"), 1u);
    EXPECT_EQ(on("MOD_LNK_STAT.MOD1_ALL_LNK_FLD.AND"), 1u);
    runPasses(P160, 1);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 0u);
    EXPECT_EQ(on("MODBUS1.LNK2_OK_LAT.LATCH"), 0u);
    EXPECT_EQ(on("MODBUS1.N_LNK2_ERR.NOT"), 0u);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK3_ALM.B_NAME"), 1u) << "steady";
    EXPECT_EQ(on("MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME"), 0u);
    // Link 2 heard again: its error and alarm clear, the latch re-arms; 63
    // silent passes later the pulse again.
    tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 1);
    request();
    runPasses(P160, 1);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ERR.AND"), 0u);
    EXPECT_EQ(on("MODBUS1.N_LNK2_ERR.NOT"), 1u);
    EXPECT_EQ(on("MODBUS1.LNK2_OK_LAT.LATCH"), 1u);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 0u);
    ASSERT_GE(passesUntil(P160, [&] { return on("MOD_LNK_STAT.LNK2_ALM.B_NAME") == 1u; }, 100), 0);
    runPasses(P160, 1);
    EXPECT_EQ(on("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 0u);
}

}  // namespace
