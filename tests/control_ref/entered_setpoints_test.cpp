// The speed setpoints entered over Modbus and OPC on the whole program: each
// entry held between its minimum and the maximum governor speed (the go-to
// latches and their selection: link_entries_test.cpp), and each input of
// the Modbus entry's reset and sample requests standing alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/turbine_model.h"
#include "tests/control_ref/entries_rig.h"

namespace {

// On the whole program, in control: each path's entry written and sampled,
// held to its minimum, 0 (switch set from the service tool) or the lower
// setpoint limit, and to the maximum governor speed.
class EnteredSetpointsOnProgram : public ref_test::EntriesRig {};

TEST_F(EnteredSetpointsOnProgram, EachEntryIsHeldBetweenItsMinimumAndTheMaximumGovernor) {
    const float lower = real("SPDC.LOWER_SP.A_SW"), max = real("IFACE_IN_SPEED.MAX_GOV.A_NAME");
    ASSERT_LT(lower, max - 300.0f);
    struct Case {
        float sampled;
        int zeroMin;
        float minimum, limited;
    };
    const Case cases[] = {
        {lower - 500, 0, lower, lower}, {lower - 1, 0, lower, lower}, {lower + 200, 0, lower, lower + 200},
        {max, 0, lower, max},           {max + 1, 0, lower, max},     {500, 1, 0, 500},
        {-10, 1, 0, 0},                 {lower - 1, 0, lower, lower},
    };
    const struct {
        const char *module, *limited;
        bool modbus;
    } entries[] = {{"MOD_SPD_SP", "M1_SP", true}, {"OPC_SPD_SP", "AW1_SP", false}};
    for (const auto& e : entries) {
        const std::string m = e.module;
        for (const Case& c : cases) {
            serviceWrite(m + ".MIN_SETPT.CTRL", c.zeroMin);
            written(e.modbus, c.sampled);
            runPasses(ref_test::R160, 2);
            sampleNow(m);
            ASSERT_EQ(real(m + ".M1_SMP_TUN.SAMP_TUNE"), c.sampled) << m;
            runPasses(ref_test::R160, 1);
            EXPECT_EQ(real(m + ".MIN_SETPT.A_SW"), c.minimum) << m << " " << c.sampled;
            EXPECT_EQ(real(m + "." + e.limited + ".A_LIMITER"), c.limited) << m << " " << c.sampled;
        }
    }
    // The select's forced zero, set from the service tool: input 4.
    serviceWrite("MOD_SPD_SP.ENTRD_MUX.SEL_4", 1);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(integer("MOD_SPD_SP.ENTRD_MUX.INT_SEL"), 4);
    EXPECT_EQ(real("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS"), 0.0f);
    serviceWrite("MOD_SPD_SP.ENTRD_MUX.SEL_4", 0);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(integer("MOD_SPD_SP.ENTRD_MUX.INT_SEL"), 0);
}

// An idle speed configured above the maximum governor speed (the
// configuration checks overridden from the service tool), the unit at rest:
// the lower setpoint limit is the idle speed, and the maximum governor wins
// over it.
class EnteredSetpointsAtRest : public ref_test::EntriesRig {
protected:
    void SetUp() override {
        RefRig::SetUp();
        startable_ = false;
        begin({{"CONF_LATCH.ANY.OVRD", 1}, {"CNFG_START.CONFIG_A.IN_1", 4000.0}});
        connect();
    }
};

TEST_F(EnteredSetpointsAtRest, TheMaximumGovernorWinsOverALowerLimitAboveIt) {
    ASSERT_EQ(real("SPDC.LOWER_SP.A_SW"), 4000.0f);
    ASSERT_EQ(real("IFACE_IN_SPEED.MAX_GOV.A_NAME"), static_cast<float>(ref_test::kMaxGov));
    const struct {
        const char *module, *limited;
        bool modbus;
    } entries[] = {{"MOD_SPD_SP", "M1_SP", true}, {"OPC_SPD_SP", "AW1_SP", false}};
    for (const auto& e : entries) {
        const std::string m = e.module;
        for (const float v : {2000.0f, 4100.0f}) {
            written(e.modbus, v);
            runPasses(ref_test::R160, 2);
            sampleNow(m);
            ASSERT_EQ(real(m + ".M1_SMP_TUN.SAMP_TUNE"), v) << m;
            runPasses(ref_test::R160, 1);
            EXPECT_EQ(real(m + ".MIN_SETPT.A_SW"), 4000.0f) << m << " " << v;
            EXPECT_EQ(real(m + "." + e.limited + ".A_LIMITER"), static_cast<float>(ref_test::kMaxGov)) << m << " " << v;
        }
    }
}

// Each input of the Modbus entry's reset and sample requests standing alone
// on the whole program, every 160 ms pass: power-up (its pulse samples), in
// control at rest on the reference (the match disables the entries), a
// sample from the service tool, a Modbus go-to (its pulse samples) and,
// while the reference moves to the value, a reset from the service tool;
// another go-to, then the link lost by silence and restored (the restore
// pulse samples); a service go-to (its latch resets the Modbus entry).
// Whenever exactly one input has stood alone for two passes, the request
// is on; whenever none has for two passes, it is off.
class EntryRequestsOnProgram : public ref_test::EntriesRig {
protected:
    void SetUp() override { RefRig::SetUp(); }
    struct Request {
        const char* output;
        std::vector<std::string> inputs;
        std::vector<int> aloneSeen;
        int quietSeen = 0;
        int last = -2, lastFor = 0;
    };
    std::vector<Request> requests_ = {
        {"MOD_SPD_SP.RST_M1.OR",
         {"ENTR_SETPT.H_SER_LAT.LATCH_R", "ENTR_SETPT.H_SER_DIS.OR", "MOD_SPD_SP.RST_M1.IN_3", "ALARMS.ANY_MOD1_ALM.AND"},
         {0, 0, 0, 0}},
        {"MOD_SPD_SP.SMPL_M1.OR",
         {"MOD_SPD_SP.M1_PLS.ONE_SHOT", "PWR_UP_MSG.PWR_UP_RST.ONE_SHOT", "MOD_SPD_SP.SMPL_M1.IN_3",
          "ALARMS.LK1_NT_PLS.ONE_SHOT"},
         {0, 0, 0, 0}},
    };
    // `n` passes of 160 ms, each checked.
    void watch(int n) {
        for (int k = 0; k < n; ++k) {
            runPasses(ref_test::R160, 1);
            for (Request& r : requests_) {
                int on = 0, which = -1;
                for (size_t i = 0; i < r.inputs.size(); ++i)
                    if (boolean(r.inputs[i]) != 0) {
                        ++on;
                        which = static_cast<int>(i);
                    }
                const int state = on == 0 ? -1 : on == 1 ? which : -3;
                r.lastFor = state == r.last ? r.lastFor + 1 : 1;
                r.last = state;
                if (r.lastFor < 2 || state == -3) continue;
                const uint32_t out = boolean(r.output);
                if (state == -1) {
                    EXPECT_EQ(out, 0u) << r.output << " with no input";
                    ++r.quietSeen;
                } else {
                    EXPECT_EQ(out, 1u) << r.output << " with " << r.inputs[state] << " alone";
                    ++r.aloneSeen[state];
                }
            }
        }
    }
};

TEST_F(EntryRequestsOnProgram, EachInputAloneRaisesItsRequest) {
    turbine::enable();
    startApp();
    enterSettings(false, false,
                  {{"C_COMM.C1.IN", 1},
                   {"CNFG_COMMS.LINK2_USED.IN", 1},
                   {"CNFG_COMMS.PORT2_WRT_ENBL.IN", 1},
                   {"MOD.QT_TIME_OUT_2.IN", 100.0}});
    watch(20);
    clearTrip();
    for (int k = 0; k < 50 && !ready(); ++k) watch(1);
    ASSERT_TRUE(ready());
    startCommand();
    for (int k = 0; k < 400 && !step("A08_STEP"); ++k) watch(1);
    ASSERT_TRUE(step("A08_STEP"));
    connect();
    watch(10);
    // A sample from the service tool, then a Modbus go-to to it.
    written(true, 3300);
    watch(2);
    serviceWrite("MOD_SPD_SP.SMPL_M1.IN_3", 1);
    watch(3);
    serviceWrite("MOD_SPD_SP.SMPL_M1.IN_3", 0);
    watch(3);
    goTo(true, true);
    watch(10);
    goTo(true, false);
    ASSERT_EQ(boolean("MOD_SPD_SP.GOTO_M1_SP.LATCH_R"), 1u);
    // A reset from the service tool while the reference moves.
    serviceWrite("MOD_SPD_SP.RST_M1.IN_3", 1);
    watch(3);
    serviceWrite("MOD_SPD_SP.RST_M1.IN_3", 0);
    watch(10);
    // Another go-to, and the link lost by silence while the reference moves.
    written(true, 3600);
    watch(2);
    goTo(true, true);
    watch(10);
    goTo(true, false);
    serviceWrite("MOD.QT_TIME_OUT_2.IN", 1.0);
    watch(30);
    // Restored.
    serviceWrite("MOD.QT_TIME_OUT_2.IN", 100.0);
    connect();
    watch(10);
    // A service go-to.
    serviceWrite("ENTR_SETPT.ENTR_SETPT.TUNE", 3000.0);
    watch(2);
    pulse("IFACE_IN_SPEED.GOTO_ENTR_SP.IN", ref_test::R160);
    watch(20);
    for (const Request& r : requests_) {
        EXPECT_GT(r.quietSeen, 0) << r.output;
        for (size_t i = 0; i < r.inputs.size(); ++i) EXPECT_GT(r.aloneSeen[i], 0) << r.inputs[i] << " never alone";
    }
}

}  // namespace
