// The analog function mux on the whole program (its own slice table),
// driven only through its inputs: each channel's value, percentage and
// fault reach the named cells of its function; a later channel wins a
// shared function; the cleared slot's selection writes only inside the
// table. A function number outside the table, which no input gives a
// channel, stays on the analog input slices.
#include "tests/analog_inputs/analog_rig.h"

namespace ai_test {
namespace {

class FunctionMux : public AnalogProgram {};
class FunctionMuxSlices : public AnalogRig {};

struct MuxCase {
    const char* name;
    int channel;
    int function;
    const char* value;
    const char* pct;  // the node's channels (4 and up) give no percentage: stays 0
    const char* fault;
};

const MuxCase kRoutes[] = {
    {"remote speed setpoint", 0, 2, "AI_MUX.RMT_SPD_SP.A_NAME", "AI_MUX.RMT_SPD_PCT.A_NAME", "AI_MUX.RMT_SPD_FLT.B_NAME"},
    {"cascade input", 1, 3, "AI_MUX.CASC_IN.A_NAME", "AI_MUX.CASC_IN_PCT.A_NAME", "AI_MUX.CASC_IN_FLT.B_NAME"},
    {"remote process setpoint", 2, 4, "AI_MUX.RMT_CASC_SP.A_NAME", "AI_MUX.RMT_CASC_PCT.A_NAME",
     "AI_MUX.RMT_CASC_FLT.B_NAME"},
    {"vibration 4", 3, 8, "AI_MUX.VIB_IN4.A_NAME", "AI_MUX.VIB_IN4_PCT.A_NAME", "AI_MUX.VIB_IN4_FLT.B_NAME"},
    {"bearing temperature 1", 0, 9, "AI_MUX.BEARTEMP1.A_NAME", "AI_MUX.BTEMP1_PCT.A_NAME", "AI_MUX.BTEMP1_FLT.B_NAME"},
    {"signal monitoring 3", 1, 15, "AI_MUX.SIG_MON_3.A_NAME", "AI_MUX.SIG_MON_3_PCT.A_NAME",
     "AI_MUX.SIG_MON_3_FLT.B_NAME"},
    {"valve feedback", 2, 16, "AI_MUX.HP_FDBK.A_NAME", "AI_MUX.HP_FDBK_PCT.A_NAME", "AI_MUX.HP_RDBK_FLT.B_NAME"},
    {"spare 17", 3, 17, "AI_MUX.SPARE17.A_NAME", "AI_MUX.SPARE17_PCT.A_NAME", "AI_MUX.AI17_FLT.B_NAME"},
    {"spare 20", 0, 20, "AI_MUX.SPARE20.A_NAME", "AI_MUX.SPARE20_PCT.A_NAME", "AI_MUX.AI20_FLT.B_NAME"},
    {"node: bearing temperature 4", 4, 12, "AI_MUX.BEARTEMP4.A_NAME", "AI_MUX.BTEMP4_PCT.A_NAME",
     "AI_MUX.BTEMP4_FLT.B_NAME"},
    {"node: vibration 2", 11, 6, "AI_MUX.VIB_IN2.A_NAME", "AI_MUX.VIB_IN2_PCT.A_NAME", "AI_MUX.VIB_IN2_FLT.B_NAME"},
};

TEST_F(FunctionMux, ChannelValueReachesItsFunctionCellAndLeavesItWhenMoved) {
    startWith();
    for (const MuxCase& c : kRoutes) {
        SCOPED_TRACE(c.name);
        configure(c.channel, c.function, 0.0, 200.0);
        setValue(c.channel, 37.5);  // 75 on the range 0 .. 200
        run(30);
        EXPECT_NEAR(real(c.value), 75.0, 0.01);
        EXPECT_NEAR(real("AI_MUX.AI_MUX.OUT_" + std::to_string(c.function)), 75.0, 0.01);
        EXPECT_NEAR(real(c.pct), c.channel < 4 ? 37.5 : 0.0, 0.01);
        EXPECT_EQ(boolean(c.fault), 0u);
        if (c.channel >= 4) {
            EXPECT_NEAR(real("VLTR_OUTS.VL_AINS.LIST_" + std::to_string(c.channel - 3)), 75.0, 0.01);
            nodeWord(c.channel - 4, 0x8000 | 10 * 1024);  // the node's channel-fault flag
        } else {
            board::setAnalogInputOpen(c.channel, true);
        }
        run(6);  // the node reports every 100 ms
        EXPECT_EQ(boolean(c.fault), 1u);
        // Moved to function 1: the old slot falls to 0.0 and no fault remains.
        configure(c.channel, 1, 0.0, 200.0);
        run(1);
        EXPECT_EQ(real(c.value), 0.0f);
        EXPECT_EQ(boolean(c.fault), 0u);
        EXPECT_EQ(real(c.pct), 0.0f);
        if (c.channel >= 4) {
            setValue(c.channel, 37.5);
        } else {
            board::setAnalogInputOpen(c.channel, false);
            reset();
        }
    }
}

// Every function's named value, percentage and fault cells.
TEST_F(FunctionMux, EveryFunctionHasItsNamedCells) {
    struct Names {
        int function;
        const char *value, *pct, *fault;
    };
    const Names names[] = {
        {2, "RMT_SPD_SP", "RMT_SPD_PCT", "RMT_SPD_FLT"}, {3, "CASC_IN", "CASC_IN_PCT", "CASC_IN_FLT"},
        {4, "RMT_CASC_SP", "RMT_CASC_PCT", "RMT_CASC_FLT"}, {5, "VIB_IN1", "VIB_IN1_PCT", "VIB_IN1_FLT"},
        {6, "VIB_IN2", "VIB_IN2_PCT", "VIB_IN2_FLT"},       {7, "VIB_IN3", "VIB_IN3_PCT", "VIB_IN3_FLT"},
        {8, "VIB_IN4", "VIB_IN4_PCT", "VIB_IN4_FLT"},       {9, "BEARTEMP1", "BTEMP1_PCT", "BTEMP1_FLT"},
        {10, "BEARTEMP2", "BTEMP2_PCT", "BTEMP2_FLT"},      {11, "BEARTEMP3", "BTEMP3_PCT", "BTEMP3_FLT"},
        {12, "BEARTEMP4", "BTEMP4_PCT", "BTEMP4_FLT"},      {13, "SIG_MON_1", "SIG_MON_1_PCT", "SIG_MON_1_FLT"},
        {14, "SIG_MON_2", "SIG_MON_2_PCT", "SIG_MON_2_FLT"}, {15, "SIG_MON_3", "SIG_MON_3_PCT", "SIG_MON_3_FLT"},
        {16, "HP_FDBK", "HP_FDBK_PCT", "HP_RDBK_FLT"},      {17, "SPARE17", "SPARE17_PCT", "AI17_FLT"},
        {18, "SPARE18", "SPARE18_PCT", "AI18_FLT"},         {19, "SPARE19", "SPARE19_PCT", "AI19_FLT"},
        {20, "SPARE20", "SPARE20_PCT", "AI20_FLT"},
    };
    startWith({{"CNFG_AI.AI_03_LATDLY.IN", 0.0}});
    for (const Names& n : names) {
        SCOPED_TRACE(n.function);
        configure(2, n.function, 0.0, 50.0);
        setValue(2, 80.0);
        run(30);
        const std::string m = "AI_MUX.";
        EXPECT_NEAR(real(m + n.value + ".A_NAME"), 40.0, 0.01);
        EXPECT_NEAR(real(m + n.pct + ".A_NAME"), 80.0, 0.01);
        EXPECT_EQ(boolean(m + n.fault + ".B_NAME"), 0u);
        board::setAnalogInputOpen(2, true);
        run(1);
        EXPECT_EQ(boolean(m + n.fault + ".B_NAME"), 1u);
        board::setAnalogInputOpen(2, false);
        setValue(2, 80.0);
        reset();
        EXPECT_EQ(boolean(m + n.fault + ".B_NAME"), 0u);
    }
}

TEST_F(FunctionMux, LaterChannelWinsASharedFunction) {
    startWith({{"_ub6.FUNCT.IN", 3}, {"_ub8.FUNCT.IN", 3}, {"_ub34.FUNCT.IN", 3}});
    setValue(0, 10.0);
    setValue(2, 20.0);
    setValue(5, 30.0);
    run(30);
    // Order: controller 1 .. 4, then node 1 .. 8; the node gives no percentage,
    // so the percentage is the last controller channel's.
    EXPECT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 30.0, 0.01);
    EXPECT_NEAR(real("AI_MUX.CASC_IN_PCT.A_NAME"), 20.0, 0.01);
    configure(5, 1, 0.0, 100.0);
    run(1);
    EXPECT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 20.0, 0.01);
    configure(2, 1, 0.0, 100.0);
    run(1);
    EXPECT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 10.0, 0.01);
}

TEST_F(FunctionMux, ClearedSlotSelectionWritesOnlyInsideTheTable) {
    startWith({{"_ub7.FUNCT.IN", 4}});
    setValue(1, 50.0);
    run(30);
    struct Case {
        int sel;
        float slot4;
    };
    // The selected slot gets 0.0 before the channels write theirs: the
    // channel's value still stands there.
    const Case cases[] = {{4, 50.0f}, {0, 50.0f}, {21, 50.0f}, {100, 50.0f}, {1, 50.0f}};
    for (const Case& c : cases) {
        serviceWrite("AI_MUX.AI_MUX.SEL_1", c.sel);
        serviceWrite("AI_MUX.AI_FLTS.SEL_1", c.sel);
        run(1);
        EXPECT_NEAR(real("AI_MUX.RMT_CASC_SP.A_NAME"), c.slot4, 0.01) << c.sel;
    }
    // Slots no channel serves read 0.0, whatever they held (slot 1 takes
    // the unused channels).
    for (int slot = 2; slot <= 20; ++slot) {
        if (slot == 4) continue;
        EXPECT_EQ(real("AI_MUX.AI_MUX.OUT_" + std::to_string(slot)), 0.0f) << slot;
        EXPECT_EQ(boolean("AI_MUX.AI_FLTS.OUT_" + std::to_string(slot)), 0u) << slot;
    }
}

// Kept on the slices: a channel's function number is clamped into the
// table when sampled (and the stored one lies within it), so no input of
// the program gives the node's list a number outside it.
TEST_F(FunctionMuxSlices, FunctionNumbersOutsideTheTableReachNoSlot) {
    start();
    // A node list entry out of range, as the node's configuration might hold.
    configure(6, 3, 0.0, 100.0);
    setValue(6, 40.0);
    runPasses(R20, 30);
    ASSERT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 40.0, 0.01);
    for (int f : {0, 21, -1, 1000}) {
        setCell("_ub35.FUN_NUM.TUNE", f);
        setCell("_ub35.FUN_NUM.SAMP_ITUNE", f);
        runPasses(R160, 2);
        runPasses(R20, 1);
        EXPECT_EQ(integer("VLTR_OUTS.VL_AI_FUNCT.LIST_3"), f);
        for (int slot = 2; slot <= 20; ++slot)
            EXPECT_EQ(real("AI_MUX.AI_MUX.OUT_" + std::to_string(slot)), 0.0f) << f << " slot " << slot;
    }
}

}  // namespace
}  // namespace ai_test
