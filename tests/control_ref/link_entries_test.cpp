// The speed setpoints entered over Modbus and OPC on the whole program, from
// the written value to the go-to latch: the sampled tunable takes the
// written value (within its range) on a sample request, a value that stays
// different for the write delay or a go-to command gives the go-to pulse,
// the pulse sets the latch and samples the value, a reset clears the latch.
#include <gtest/gtest.h>

#include <string>

#include "tests/control_ref/entries_rig.h"

namespace {

struct ProgramPath {
    const char *module, *name;
    bool modbus;
    const char *changed, *delay, *go_to, *pulse, *latch;
};
const ProgramPath kProgramPaths[] = {
    {"MOD_SPD_SP", "Modbus", true, "M1_CHANGED.NOR", "M1_DELAY.DELAY", "MOD1_GO_TO.OR", "M1_PLS.ONE_SHOT",
     "GOTO_M1_SP.LATCH_R"},
    {"OPC_SPD_SP", "Opc", false, "AW1_CHANGED.NOR", "AW1_DELAY.DELAY", "OPC_GO_TO.OR", "OPC_PLS.ONE_SHOT",
     "GOTO_OPC_SP.LATCH_R"},
};

class LinkEntriesOnProgram : public ref_test::EntriesRig, public ::testing::WithParamInterface<ProgramPath> {
protected:
    std::string cellOf(const char* name) { return std::string(GetParam().module) + "." + name; }
    float sampled() { return real(cellOf("M1_SMP_TUN.SAMP_TUNE")); }
    void written(double v) { EntriesRig::written(GetParam().modbus, v); }
    void goTo(bool on) { EntriesRig::goTo(GetParam().modbus, on); }
    void sampleNow() { EntriesRig::sampleNow(GetParam().module); }
};

// The value one pass old, limited to the tunable's range, on a request.
TEST_P(LinkEntriesOnProgram, ASampleRequestTakesTheWrittenValueWithinItsRange) {
    const ProgramPath& p = GetParam();
    const struct {
        double written;
        float taken;
        uint32_t equal;
    } cases[] = {{2500, 2500, 1}, {30000, 20000, 0}, {20000, 20000, 1}, {-50, -10, 0}, {-10, -10, 1}, {0, 0, 1}};
    float before = sampled();
    for (const auto& c : cases) {
        written(c.written);
        runPasses(ref_test::R160, 3);
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
// holds the change back. The values lie above the reference, inside the
// governor range, so that the latch is not reset at once by the arrival.
TEST_P(LinkEntriesOnProgram, AChangedValueIsTakenAfterTheWriteDelayUnlessTheLinkFails) {
    const ProgramPath& p = GetParam();
    written(3500);
    sampleNow();
    ASSERT_EQ(sampled(), 3500.0f);
    if (p.modbus) {
        // The master falls silent past a short time-out.
        serviceWrite("MOD.QT_TIME_OUT_2.IN", 1.0);
        written(3600);
        ASSERT_GE(passesUntil("ALARMS.ANY_MOD1_ALM.AND", 1, 40), 0);
    } else {
        // The link's heartbeat has not changed for its time-out.
        serviceWrite("OPC_DATA.ENA_FLT.IN_3", 1);
        ASSERT_GE(passesUntil("OPC_DATA.LINK_FLT.B_NAME", 1, 10), 0);
        written(3600);
    }
    runPasses(ref_test::R160, 20);
    EXPECT_EQ(boolean(cellOf(p.changed)), 0u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    EXPECT_EQ(sampled(), 3500.0f);
    if (p.modbus) {
        serviceWrite("MOD.QT_TIME_OUT_2.IN", 100.0);
        connect();
        written(3600);
    } else {
        serviceWrite("OPC_DATA.ENA_FLT.IN_3", 0);
    }
    ASSERT_GE(passesUntil(cellOf(p.changed), 1, 4), 0) << sampled();
    // The delay is on from the 14th pass with the change (13 x 0.16 s).
    runPasses(ref_test::R160, 12);
    EXPECT_EQ(boolean(cellOf(p.delay)), 0u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean(cellOf(p.delay)), 1u);
    EXPECT_EQ(boolean(cellOf(p.go_to)), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    // The pulse sets the latch in its third pass (see below).
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    EXPECT_EQ(sampled(), 3600.0f);
    EXPECT_EQ(boolean(cellOf(p.changed)), 0u);
}

// The go-to command pulses at once (1.0 s) and sets the latch, which
// selects the path's entry as the reference's target and holds after the
// pulse until a reset request, which wins over the pulse.
TEST_P(LinkEntriesOnProgram, GoToCommandSetsTheLatchUntilAReset) {
    const ProgramPath& p = GetParam();
    // A value away from the reference to go to (one at the reference is
    // reached at once, which resets the latch).
    written(3300);
    sampleNow();
    goTo(true);
    ASSERT_GE(passesUntil(cellOf(p.go_to), 1, 3), 0);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    // The pulse sets the latch in its third pass, once the reset of the
    // passes before (the reference at its own target while no go-to was
    // latched) is over.
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    // The entered setpoints' select takes the path's entry.
    EXPECT_EQ(integer("MOD_SPD_SP.ENTRD_MUX.INT_SEL"), p.modbus ? 1 : 3);
    EXPECT_EQ(real("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS"), 3300.0f);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    goTo(false);
    runPasses(ref_test::R160, 5);
    EXPECT_EQ(boolean(cellOf(p.latch)), 1u);
    // The reset, requested while a new pulse runs, clears the latch one pass
    // after the request.
    goTo(true);
    ASSERT_GE(passesUntil(cellOf(p.pulse), 1, 3), 0);
    serviceWrite(cellOf("RST_M1.IN_3"), 1);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean(cellOf("RST_M1.OR")), 1u);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean(cellOf("RST_M1_Z.ZMINUS1_B")), 1u);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
    // A pulse still running when the reset ends sets the latch again; one
    // that ended under the reset does not.
    goTo(false);
    serviceWrite(cellOf("RST_M1.IN_3"), 0);
    ASSERT_GE(passesUntil(cellOf(p.latch), 1, 4), 0);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 1u);
    goTo(true);
    serviceWrite(cellOf("RST_M1.IN_3"), 1);
    ASSERT_GE(passesUntil(cellOf(p.latch), 0, 3), 0);
    goTo(false);
    runPasses(ref_test::R160, 7);
    EXPECT_EQ(boolean(cellOf(p.pulse)), 0u);
    serviceWrite(cellOf("RST_M1.IN_3"), 0);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean(cellOf(p.latch)), 0u);
    // Not latched, the select takes the last reference: the reference holds.
    EXPECT_EQ(integer("MOD_SPD_SP.ENTRD_MUX.INT_SEL"), 0);
    EXPECT_EQ(real("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS"), real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME"));
    EXPECT_EQ(real("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS"), ref());
}

INSTANTIATE_TEST_SUITE_P(Paths, LinkEntriesOnProgram, ::testing::ValuesIn(kProgramPaths),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
