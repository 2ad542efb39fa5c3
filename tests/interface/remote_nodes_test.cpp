// The start of the 80 ms pass through real passes: the remote-node enables
// under the I/O lock, the node fault summaries, the alarm override while no
// node is in use, RTD channel 1's configuration and the reset pulses.
#include <string>

#include "tests/interface/operator_rig.h"

namespace op_test {
namespace {

class RemoteNodes : public OperatorRig {
protected:
    static constexpr const char* kNodes[5] = {"VL_NODE1_AIO", nullptr, "VL_NODE3_RTD_8C", "VL_NODE4_BI",
                                              "VL_NODE5_BO"};
    static std::string vl(int k, const char* rest) { return "VL" + std::to_string(k) + rest; }
    void enableAll() {
        for (int k = 1; k <= 5; ++k) setCell("CNFG_CAN2." + vl(k, "_ENA.IN"), 1);
    }
    void nodeFlag(int k, const char* field, uint32_t v) {
        setCell(std::string("CNFG_CAN2.") + kNodes[k - 1] + "." + field, v);
    }
};

TEST_F(RemoteNodes, EnablesFollowTheirSettingsAndTheIoLockTurnsThemAllOff) {
    start();
    runPasses(R80, 2);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 0u) << k;
    setCell("CNFG_CAN2.VL3_ENA.IN", 1);
    runPasses(R80, 1);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENA.B_NAME")), k == 3 ? 1u : 0u) << k;
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), k == 3 ? 1u : 0u) << k;
    }
    enableAll();
    for (int k : {1, 3, 4, 5}) {
        nodeFlag(k, "COMM_FLT_1", 1);
        nodeFlag(k, "NODE_FLT", 1);
    }
    runPasses(R80, 1);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 1u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_CFLT_ENA.AND")), k == 2 ? 0u : 1u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT_ENA.AND")), k == 2 ? 0u : 1u) << k;
    }
    // The I/O lock (a 160 ms cell, through its copy).
    setCell("MASTER.IO_LOCK.B_NAME", 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("CNFG_CAN2.NO_IOLOCK.NOT"), 0u);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENA.B_NAME")), 1u) << k;
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_CFLT_ENA.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT_ENA.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT.OR")), k == 2 ? 0u : 1u) << k;
    }
}

TEST_F(RemoteNodes, EachFaultOfANodeCountsForThatNodeOnly) {
    start();
    enableAll();
    // Every node starts unconfigured; here each has been configured.
    for (int k : {1, 3, 4, 5}) nodeFlag(k, "CFG_FAULT", 0);
    for (int k : {1, 3, 4, 5}) {
        for (const char* f : {"NODE_FLT", "CFG_FAULT", "ID_FAULT", "COMM_FLT_1"}) {
            nodeFlag(k, f, 1);
            runPasses(R80, 1);
            const bool comm = std::string(f) == "COMM_FLT_1";
            for (int j = 1; j <= 5; ++j) {
                EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_FLT.OR")), j == k && !comm ? 1u : 0u) << k << f << j;
                EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_FLT_ENA.AND")), j == k && !comm ? 1u : 0u) << k << f << j;
                EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_CFLT_ENA.AND")), j == k && comm ? 1u : 0u) << k << f << j;
            }
            nodeFlag(k, f, 0);
        }
    }
    // Node 2 has no node: its flags stay off whatever was in them.
    for (const char* f : {"VLTR_ALMS.VL2_CFLT_ENA.AND", "VLTR_ALMS.VL2_FLT.OR", "VLTR_ALMS.VL2_FLT_ENA.AND"}) setCell(f, 1);
    runPasses(R80, 1);
    for (const char* f : {"VLTR_ALMS.VL2_CFLT_ENA.AND", "VLTR_ALMS.VL2_FLT.OR", "VLTR_ALMS.VL2_FLT_ENA.AND"})
        EXPECT_EQ(boolean(f), 0u) << f;
    // A fault of a node that is not enabled is not annunciated.
    setCell("CNFG_CAN2.VL4_ENA.IN", 0);
    nodeFlag(4, "CFG_FAULT", 1);
    nodeFlag(4, "COMM_FLT_1", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_FLT.OR"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_FLT_ENA.AND"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_CFLT_ENA.AND"), 0u);
}

TEST_F(RemoteNodes, AlarmsAreOverriddenWhileNoNodeIsInUse) {
    start();
    runPasses(R80, 2);
    EXPECT_EQ(boolean("VLTR_ALMS.NOT_USED.NOT"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 1u);
    setCell("CNFG_CAN2.ENA_VL.OR", 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 0u);
    setCell("VLTR_ALMS.OVRD_ALMS.IN_1", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 1u);
}

TEST_F(RemoteNodes, NetworkResetFollowsTheCan2ResetOrItsSetting) {
    start();
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 0u);
    setCell("CNFG_CAN2.CAN2_RST.OR", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 1u);
    setCell("CNFG_CAN2.CAN2_RST.OR", 0);
    setCell("CNFG_CAN2.VL_RST.IN_2", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 1u);
}

TEST_F(RemoteNodes, RtdChannelOneRangeInCelsiusAndItsTexts) {
    start();
    runPasses(R80, 2);
    // Defaults: Fahrenheit, range 0 .. 1500.
    EXPECT_EQ(boolean("CNFG_CAN2.USE_DEG_F.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub43.SEL_DEG_F.B_NAME"), 1u);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), -17.777779f);
    EXPECT_FLOAT_EQ(real("_ub43.HI_SP_IN_C.A_SW"), 815.5556f);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "E");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "100");
    EXPECT_FLOAT_EQ(real("_ub43.SEC_TO_MS.MULTIPLY"), 1000.0f);
    EXPECT_FLOAT_EQ(real("_ub43.GAIN.A_NAME"), 1.0f);
    setCell("_ub43.CURVE_C.IN", 2);
    setCell("_ub43.OHM_C.IN", 2);
    setCell("_ub43.FLT_DLY.IN", 2.5);
    setCell("_ub43.OFFSET.IN", -3.0);
    setCell("CNFG_CAN2.USE_DEG_F.IN", 0);
    runPasses(R80, 1);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "A");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "200");
    EXPECT_EQ(integer("_ub43.CURVE_C.I_NAME"), 2);
    EXPECT_FLOAT_EQ(real("_ub43.SEC_TO_MS.MULTIPLY"), 2500.0f);
    EXPECT_FLOAT_EQ(real("_ub43.OFFSET.A_NAME"), -3.0f);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), 0.0f);
    EXPECT_FLOAT_EQ(real("_ub43.HI_SP_IN_C.A_SW"), 1500.0f);
    setCell("_ub43.RANGE_LO.IN", 100.0);
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), 100.0f);
    // A selector outside 1 .. 2 keeps the text.
    setCell("_ub43.CURVE_C.IN", 3);
    setCell("_ub43.OHM_C.IN", 0);
    runPasses(R80, 1);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "A");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "200");
}

TEST_F(RemoteNodes, ResetPulsesLastOneSecond) {
    start();
    setCell("RESET.DEBUG_RST.TRIGGER", 1);
    setCell("BI_MUX.RESET_CONT.B_NAME", 1);
    int debug = 0, contact = 0;
    for (int p = 0; p < 20; ++p) {
        runPasses(R80, 1);
        debug += static_cast<int>(boolean("RESET.DEBUG_RST.ONE_SHOT"));
        contact += static_cast<int>(boolean("RESET.RESET_DI.ONE_SHOT"));
    }
    EXPECT_EQ(debug, 13);
    EXPECT_EQ(contact, 13);
    EXPECT_EQ(integer("RESET.DEBUG_RST.R_TIME"), 0);
    // A new pulse needs the trigger to drop first.
    setCell("BI_MUX.RESET_CONT.B_NAME", 0);
    runPasses(R80, 1);
    setCell("BI_MUX.RESET_CONT.B_NAME", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RESET_DI.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("RESET.RESET_DI.R_TIME"), 0);
    EXPECT_EQ(boolean("RESET.DEBUG_RST.ONE_SHOT"), 0u);
}

}  // namespace
}  // namespace op_test
