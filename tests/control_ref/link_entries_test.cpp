// The speed setpoints entered over Modbus and OPC through real 160 ms passes,
// from the written value to the go-to latch: the sampled tunable takes the
// written value (within its range) on a sample request, a value that stays
// different for the write delay or a go-to command gives the go-to pulse,
// the pulse sets the latch and samples the value, a reset clears the latch.
#include <gtest/gtest.h>

#include <string>

#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R160 = 4;

struct Path {
    const char *module, *written, *go_to_cmd, *link_fault, *changed, *delay, *go_to, *pulse, *latch;
};
const Path kPaths[] = {
    {"MOD_SPD_SP", "MOD.MOD1.AW_V_1", "MOD_BW.BW_CMD.SEL_18", "ALARMS.ANY_MOD1_ALM.AND", "M1_CHANGED.NOR",
     "M1_DELAY.DELAY", "MOD1_GO_TO.OR", "M1_PLS.ONE_SHOT", "GOTO_M1_SP.LATCH_R"},
    {"OPC_SPD_SP", "OPC_DATA.AW_LIST.LIST_1", "OPC_DATA.BW_CMDS.SEL_18", "OPC_DATA.LINK_FLT.B_NAME",
     "AW1_CHANGED.NOR", "AW1_DELAY.DELAY", "OPC_GO_TO.OR", "OPC_PLS.ONE_SHOT", "GOTO_OPC_SP.LATCH_R"},
};

class LinkEntries : public tc_test::AppHarness, public ::testing::WithParamInterface<Path> {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R160, {_R160_TASK_36, _R160_TASK_45, _R160_TASK_46, _R160_TASK_82});
        startApp();
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 20000);
        runPasses(R160, 2);
    }
    std::string cellOf(const char* name) { return std::string(GetParam().module) + "." + name; }
    float sampled() { return real(cellOf("M1_SMP_TUN.SAMP_TUNE")); }
    // A sample request for one pass, then the passes until it is taken.
    void sampleNow() {
        setCell(cellOf("SMPL_M1.IN_3"), 1);
        runPasses(R160, 1);
        setCell(cellOf("SMPL_M1.IN_3"), 0);
        runPasses(R160, 2);
    }
};

// The value one pass old, limited to the tunable's range, on a request.
TEST_P(LinkEntries, ASampleRequestTakesTheWrittenValueWithinItsRange) {
    const Path& p = GetParam();
    const struct {
        double written;
        float taken;
        uint32_t equal;
    } cases[] = {{2500, 2500, 1}, {30000, 20000, 0}, {20000, 20000, 1}, {-50, -10, 0}, {-10, -10, 1}, {0, 0, 1}};
    float before = sampled();
    for (const auto& c : cases) {
        setCell(p.written, c.written);
        runPasses(R160, 2);
        EXPECT_EQ(sampled(), before) << c.written;  // not taken before the request
        sampleNow();
        before = c.taken;
        EXPECT_EQ(sampled(), c.taken) << c.written;
        EXPECT_EQ(real(cellOf("M1_SMP_TUN.TUNE")), c.taken) << c.written;
        EXPECT_EQ(boolean(cellOf("M1_EQUAL.A_EQUAL")), c.equal) << c.written;
        EXPECT_EQ(boolean(cellOf(p.changed)), 1u - c.equal) << c.written;
    }
}

// A written value that stays different for the write delay (2.0 s) gives
// the go-to pulse, which sets the latch and samples the value; a link fault
// holds the change back.
TEST_P(LinkEntries, AChangedValueIsTakenAfterTheWriteDelayUnlessTheLinkFails) {
    const Path& p = GetParam();
    setCell(p.written, 2500);
    sampleNow();
    ASSERT_EQ(sampled(), 2500.0f);
    setCell(p.link_fault, 1);
    setCell(p.written, 2600);
    runPasses(R160, 20);
    EXPECT_EQ(boolean(cellOf(p.changed)), 0u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    EXPECT_EQ(sampled(), 2500.0f);
    setCell(p.link_fault, 0);
    int n = 0;
    while (boolean(cellOf(p.changed)) == 0 && n++ < 4) runPasses(R160, 1);
    ASSERT_EQ(boolean(cellOf(p.changed)), 1u);
    // The delay is on from the 14th pass with the change (13 x 0.16 s).
    runPasses(R160, 12);
    EXPECT_EQ(boolean(cellOf(p.delay)), 0u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean(cellOf(p.delay)), 1u);
    EXPECT_EQ(boolean(cellOf(p.go_to)), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    runPasses(R160, 2);
    EXPECT_EQ(sampled(), 2600.0f);
    EXPECT_EQ(boolean(cellOf(p.changed)), 0u);
}

// The go-to command pulses at once (1.0 s); the latch holds after the
// pulse until a reset request, which wins over the pulse.
TEST_P(LinkEntries, GoToCommandSetsTheLatchUntilAReset) {
    const Path& p = GetParam();
    setCell(p.go_to_cmd, 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean(cellOf(p.go_to)), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    runPasses(R160, 6);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    setCell(p.go_to_cmd, 0);
    runPasses(R160, 5);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    // The reset, requested while a new pulse runs, clears the latch one pass
    // after the request.
    setCell(p.go_to_cmd, 1);
    setCell(cellOf("RST_M1.IN_3"), 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean(cellOf("RST_M1.OR")), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean(cellOf("RST_M1_Z.ZMINUS1_B")), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
    // A pulse still running when the reset ends sets the latch again; one
    // that ended under the reset does not.
    setCell(p.go_to_cmd, 0);
    runPasses(R160, 7);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    setCell(cellOf("RST_M1.IN_3"), 0);
    runPasses(R160, 3);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
}

INSTANTIATE_TEST_SUITE_P(Paths, LinkEntries, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.module); });

}  // namespace
