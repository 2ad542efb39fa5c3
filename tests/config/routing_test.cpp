// Function routing in the running program: a function assigned to a
// controller channel and to a remote channel reaches its function cells;
// unchosen functions show the cleared values; a later channel overwrites an
// earlier one.
#include <string>

#include "host/analog_inputs.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

class Routing : public ConfigRig {
protected:
    void SetUp() override {
        ConfigRig::SetUp();
        start();
        lock();
    }
};

TEST_F(Routing, AnalogFunctionsOfAControllerAndARemoteChannel) {
    set({{"_ub6.FUNCT.IN", 3},
         {"_ub6.RANGE_LO.IN", 10.0},
         {"_ub6.RANGE_HI.IN", 500.0},
         {"_ub6.AI_MOD_X.IN", 4},
         {"_ub6.QT_DECIMALS.IN", 2},
         {"_ub35.FUNCT.IN", 9},
         {"_ub35.RANGE_HI.IN", 150.0}});
    settle();
    // Cascade input from controller input 1.
    EXPECT_EQ(real("AI_MUX.CASC_IN_MAX.A_NAME"), 500.0f);
    EXPECT_EQ(real("AI_MUX.CASC_IN_MIN.A_NAME"), 10.0f);
    EXPECT_EQ(real("AI_MUX.CASC_IN_MODX.A_NAME"), 10.0f);
    EXPECT_EQ(boolean("AI_MUX.CASC_USED.B_NAME"), 1u);
    EXPECT_EQ(integer("AI_MUX.CASC_QT_DECIMALS.I_NAME"), 2);
    EXPECT_EQ(text("AI_MUX.CASC_IN_TAG.S_NAME"), "AI_01");
    EXPECT_EQ(text("AI_MUX.CASC_ENG_UNITS.S_NAME"), "ENG Units");
    EXPECT_EQ(real("AI_MUX.CASC_IN_ALM1SP.A_NAME"), real("_ub1.ALM_SP1.A_NAME"));
    EXPECT_EQ(real("AI_MUX.CASC_IN_ALM2SP.A_NAME"), real("_ub1.ALM_SP2.A_NAME"));
    EXPECT_EQ(boolean("AI_MUX.AI_01_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("AI_MUX.AI_02_USED.B_NAME"), 0u);
    // Bearing temperature 1 from remote input 3.
    EXPECT_EQ(real("AI_MUX.BEARTEMP1_MAX.A_NAME"), 150.0f);
    EXPECT_EQ(real("AI_MUX.BEARTEMP1_MIN.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("AI_MUX.BEARTEMP1_USED.B_NAME"), 1u);
    EXPECT_EQ(text("AI_MUX.BEARTEMP1_TAG.S_NAME"), "VL1_AI_03");
    EXPECT_EQ(real("AI_MUX.BEARTEMP1_ALM1SP.A_NAME"), real("_ub27.ALM_SP1.A_NAME"));
    // A function no channel chooses shows the cleared values.
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MAX.A_NAME"), 0.0f);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MIN.A_NAME"), 0.0f);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MODX.A_NAME"), 1.0f);
    EXPECT_EQ(boolean("AI_MUX.HP_FDBK_USED.B_NAME"), 0u);
    EXPECT_EQ(integer("AI_MUX.HP_FDBK_DECIMALS.I_NAME"), 1);
    EXPECT_EQ(text("AI_MUX.RMT_SPD_TAG.S_NAME"), "");
    // Units of the functions that have a units cell.
    EXPECT_EQ(text("AI_MUX.BTEMP_UNITS.S_NAME"), "ENG Units");
    for (const char* units : {"AI_MUX.VIB_ENG_UNITS.S_NAME", "AI_MUX.SIGMON1_UNITS.S_NAME",
                              "AI_MUX.SIGMON2_UNITS.S_NAME", "AI_MUX.SIGMON3_UNITS.S_NAME"})
        EXPECT_EQ(text(units), "") << units;
    // The values follow at 20 ms: 12 mA on 10 .. 500; without its node the
    // remote input reads 0 mA, a quarter of the span below its low end.
    board::setAnalogInputMa(0, 12.0);
    runPasses(R160, 2);
    EXPECT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 255.0f, 0.5f);
    EXPECT_NEAR(real("AI_MUX.BEARTEMP1.A_NAME"), -37.5f, 0.01f);
}

TEST_F(Routing, ALaterChannelOverwritesAnEarlierOne) {
    set({{"_ub7.FUNCT.IN", 9}, {"_ub7.RANGE_HI.IN", 80.0}, {"_ub35.FUNCT.IN", 9}, {"_ub35.RANGE_HI.IN", 150.0}});
    settle();
    EXPECT_EQ(real("AI_MUX.BEARTEMP1_MAX.A_NAME"), 150.0f);
    EXPECT_EQ(text("AI_MUX.BEARTEMP1_TAG.S_NAME"), "VL1_AI_03");
    setCell("_ub35.FUNCT.IN", 10);
    settle();
    EXPECT_EQ(real("AI_MUX.BEARTEMP1_MAX.A_NAME"), 80.0f);
    EXPECT_EQ(real("AI_MUX.BEARTEMP2_MAX.A_NAME"), 150.0f);
    // Slot 1 (not used) holds the last channel still on function 1 over
    // the fixed entry: remote input 8's tag and range.
    EXPECT_EQ(text("AI_MUX.AI_TAGS.OUT_1"), "VL1_AI_08");
    EXPECT_EQ(real("AI_MUX.AI_MAX.OUT_1"), 100.0f);
}

// Every channel reaches the last function's slot, and its own use tunable
// decides whether the function counts as used.
TEST_F(Routing, EachChannelReachesItsFunctionWithItsUseTunable) {
    for (int k = 0; k < kAiChannels; ++k) {
        const std::string ch = "_ub" + std::to_string(k < 4 ? 6 + k : 29 + k);
        const std::string use = "AI_MUX.AI_FUNC_USED.IN_" + std::to_string(k + 2);
        SCOPED_TRACE(ch);
        set({{(ch + ".FUNCT.IN").c_str(), 20}, {(ch + ".RANGE_HI.IN").c_str(), 200.0 + k}});
        settle();
        EXPECT_EQ(real("AI_MUX.SPARE20_MAX.A_NAME"), 200.0f + k);
        EXPECT_EQ(boolean("AI_MUX.SPARE20_USED.B_NAME"), 1u);
        setCell(use, 0);
        settle();
        EXPECT_EQ(boolean("AI_MUX.SPARE20_USED.B_NAME"), 0u);
        set({{use.c_str(), 1}, {(ch + ".FUNCT.IN").c_str(), 1}});
    }
    settle();
    EXPECT_EQ(real("AI_MUX.SPARE20_MAX.A_NAME"), 0.0f);
}

TEST_F(Routing, DiscreteFunctionsInUse) {
    set({{"_ub13.FUNCT.IN", 16}, {"_ub14.FUNCT.IN", 17}, {"_ub15.FUNCT.IN", 10}, {"_ub16.FUNCT.IN", 18},
         {"_ub18.FUNCT.IN", 40}, {"_ub17.FUNCT.IN", 6}, {"_ub19.FUNCT.IN", 1}, {"_ub20.FUNCT.IN", 27}});
    settle();
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_3_USED.B_NAME"), 1u);
    EXPECT_EQ(integer("BI_MUX.FUNC_TO_TRIP_01.I_SUBTRACT"), 3);
    EXPECT_EQ(boolean("BI_MUX.RESET_USED.B_NAME"), 1u);
    // Trip numbers: the function less 13 (input 3 has none).
    const std::pair<const char*, int> trips[] = {
        {"BI_MUX.FUNC_TO_TRIP_02.I_SUBTRACT", 4},  {"BI_MUX.FUNC_TO_TRIP_04.I_SUBTRACT", 5},
        {"BI_MUX.FUNC_TO_TRIP_05.I_SUBTRACT", -7}, {"BI_MUX.FUNC_TO_TRIP_06.I_SUBTRACT", 18},
        {"BI_MUX.FUNC_TO_TRIP_07.I_SUBTRACT", -12}, {"BI_MUX.FUNC_TO_TRIP_08.I_SUBTRACT", 14}};
    for (const auto& [cell, number] : trips) EXPECT_EQ(integer(cell), number) << cell;
    EXPECT_EQ(boolean("BI_MUX.STARTPERM_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("BI_MUX.BI_01_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("BI_MUX.BI_05_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("BI_MUX.BI_FUNC_USED.OUT_1"), 1u);  // input 7, not used
    EXPECT_EQ(boolean("BI_MUX.BI_07_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("BI_MUX.BI_08_USED.B_NAME"), 1u);
    // 40 is sampled as 31, for which the block has no slot.
    EXPECT_EQ(integer("_ub18.FUNCT_INT.I_NAME"), 31);
    EXPECT_EQ(boolean("BI_MUX.BI_FUNC_USED.OUT_30"), 0u);
    EXPECT_EQ(boolean("BI_MUX.BI_06_USED.B_NAME"), 1u);
    // Input 3 follows its own wizard enable (on by default): the wizard's
    // external trip 1, not its entered 10.
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_1_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("BI_MUX.OVSPD_USED.B_NAME"), 0u);
    setCell("_ub15.WIZ_ENA.IN", 0);
    settle();
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_1_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("BI_MUX.OVSPD_USED.B_NAME"), 1u);
    EXPECT_EQ(integer("BI_MUX.BI01_TS_SEL.I_NAME"), 1);
    setCell("_ub17.FUNCT.IN", 7);
    settle();
    EXPECT_EQ(boolean("BI_MUX.RESET_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("BI_MUX.IDLE_RATED_USED.B_NAME"), 1u);
}

}  // namespace
}  // namespace cfg_test
