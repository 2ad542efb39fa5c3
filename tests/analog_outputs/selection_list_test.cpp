// The analog output selection list through real passes of the actuator
// channel's 10 ms slice: each entry carries its source (a faster-group cell,
// a slower group's cell through the copies, a tunable or zero), the HP
// demand entry switches to the limited select output.
#include <string>

#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class SelectionList : public OutputRig {
protected:
    float entry(int n) { return real("AO_MUX.SEL_OUTS.LIST_" + std::to_string(n)); }
};

struct Source {
    int entry;
    const char* cell;
};

// Sources that no slice of the rig computes, each set to a value of its own.
const Source kSources[] = {
    {2, "MPU.TURB_SPD.A_NAME"},          {3, "AO_MUX.SPD_SETPT.A_NAME"},   {4, "AO_MUX.RMT_SPD_SP.A_NAME"},
    {5, "AI_MUX.CASC_IN.A_NAME"},   {6, "AO_MUX.CASC_SETPT.A_NAME"},  {7, "AO_MUX.RMT_CASC.A_NAME"},
    {8, "AO_MUX.VALVE_LMT_NAME.A_NAME"}, {10, "AI_MUX.SIG_MON_1.A_NAME"},  {11, "AI_MUX.SIG_MON_2.A_NAME"},
    {12, "AI_MUX.SIG_MON_3.A_NAME"},     {14, "AI_MUX.HP_FDBK.A_NAME"},    {15, "AO_MUX.SEL_OUTS.IN_15"},
    {16, "AO_MUX.SEL_OUTS.IN_16"},       {17, "AO_MUX.SEL_OUTS.IN_17"},
};

TEST_F(SelectionList, EachEntryCarriesItsSource) {
    start();
    for (int n = 1; n <= 20; ++n) setCell("AO_MUX.SEL_OUTS.LIST_" + std::to_string(n), 999.0);
    for (const Source& s : kSources) setCell(s.cell, 100.0 + s.entry);
    runPasses(R160, 2);
    for (const Source& s : kSources) {
        SCOPED_TRACE(s.cell);
        EXPECT_EQ(entry(s.entry), 100.0f + s.entry);
    }
    EXPECT_EQ(real("AO_MUX.SPEED.A_NAME"), 102.0f);
    for (int n : {1, 18, 19, 20}) EXPECT_EQ(entry(n), 0.0f) << n;
    // The LSS value is the select's output of this pass.
    EXPECT_EQ(entry(13), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
    EXPECT_EQ(real("AO_MUX.LSS_VALUE.A_NAME"), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
}

// Entry 9 is the HP demand, or the limited select output while its switch
// is on. A reverse scaling makes the two differ.
TEST_F(SelectionList, TheDemandEntrySwitchesToTheLimitedSelectOutput) {
    start();
    setCell("HP_DRIVER.REV_GAIN.A_SW", 2.0);
    setCell("HP_DRIVER.REV_SP.A_SW", 150.0);
    runPasses(R160, 1);
    const float demand = real("_ub5.HP_DMD.A_NAME");
    const float limited = real("HP_DRIVER.HP_MAX.A_MIN");
    ASSERT_NE(demand, limited);
    EXPECT_EQ(entry(9), demand);
    EXPECT_EQ(real("AO_MUX.HP_DMD.A_SW"), demand);
    setCell("AO_MUX.HP_DMD.CTRL", 1);
    runPasses(R10, 1);
    EXPECT_EQ(real("AO_MUX.HP_LSS_DMD.A_NAME"), limited);
    EXPECT_EQ(entry(9), limited);
}

}  // namespace
}  // namespace ao_test
