// The speed setpoints entered over Modbus and OPC: on the whole program each
// entry held between its minimum and the maximum governor speed (the go-to
// latches and their selection: link_entries_test.cpp); through real 160 ms
// passes of their slice alone each input of the reset and sample requests
// standing alone.
#include <gtest/gtest.h>

#include <string>

#include "app/control/control_slices.h"
#include "tests/control_ref/entries_rig.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R80 = 3;
constexpr int R160 = 4;

class EnteredSetpoints : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R160, {_R160_TASK_45});
        startApp();
    }
};

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

// Each input of the reset and of the sample request alone raises it.
TEST_F(EnteredSetpoints, ResetAndSampleRequestsFromEachInput) {
    const struct {
        const char* output;
        const char* inputs[4];
    } requests[] = {
        {"MOD_SPD_SP.RST_M1.OR",
         {"ENTR_SETPT.H_SER_LAT.LATCH_R", "ENTR_SETPT.H_SER_DIS.OR", "MOD_SPD_SP.RST_M1.IN_3",
          "ALARMS.ANY_MOD1_ALM.AND"}},
        {"MOD_SPD_SP.SMPL_M1.OR",
         {"MOD_SPD_SP.M1_PLS.ONE_SHOT", "PWR_UP_MSG.PWR_UP_RST.ONE_SHOT", "MOD_SPD_SP.SMPL_M1.IN_3",
          "ALARMS.LK1_NT_PLS.ONE_SHOT"}},
    };
    for (const auto& r : requests) {
        for (const char* in : r.inputs) setCell(in, 0);
        runPasses(R80, 2);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(r.output), 0u) << r.output;
        for (const char* in : r.inputs) {
            setCell(in, 1);
            runPasses(R160, 1);
            EXPECT_EQ(boolean(r.output), 1u) << in;
            setCell(in, 0);
            runPasses(R160, 1);
            EXPECT_EQ(boolean(r.output), 0u) << in;
        }
    }
}

}  // namespace
