// The speed setpoints entered over Modbus and OPC through real 160 ms passes:
// each entry held between its minimum and the maximum governor speed, the
// OPC go-to latch and its selection, the Modbus entry's reset and sample
// requests.
#include <gtest/gtest.h>

#include <string>

#include "app/control/control_slices.h"
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

// Minimum 0 (switch set) or the lower setpoint limit; the maximum governor
// speed wins over the minimum.
TEST_F(EnteredSetpoints, EachEntryIsHeldBetweenItsMinimumAndTheMaximumGovernor) {
    struct Case {
        double lower, max, sampled;
        int zeroMin;
        float minimum, limited;
    };
    const Case cases[] = {
        {1000, 3600, 500, 0, 1000, 1000},  {1000, 3600, 999.5, 0, 1000, 1000}, {1000, 3600, 2000, 0, 1000, 2000},
        {1000, 3600, 3600, 0, 1000, 3600}, {1000, 3600, 3601, 0, 1000, 3600},  {1000, 3600, 500, 1, 0, 500},
        {1000, 3600, -10, 1, 0, 0},        {4000, 3600, 2000, 0, 4000, 3600},
    };
    const struct {
        const char *module, *limited;
    } entries[] = {{"MOD_SPD_SP", "M1_SP"}, {"OPC_SPD_SP", "AW1_SP"}};
    for (const auto& e : entries) {
        const std::string m = e.module;
        for (const Case& c : cases) {
            setCell("SPDC.LOWER_SP.A_SW", c.lower);
            setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", c.max);
            setCell(m + ".M1_SMP_TUN.SAMP_TUNE", c.sampled);
            setCell(m + ".MIN_SETPT.CTRL", c.zeroMin);
            runPasses(R160, 1);
            EXPECT_EQ(real(m + ".MIN_SETPT.A_SW"), c.minimum) << m << " " << c.sampled << " " << c.lower;
            EXPECT_EQ(real(m + "." + e.limited + ".A_LIMITER"), c.limited) << m << " " << c.sampled << " " << c.lower;
        }
    }
}

// The OPC go-to latch: set by a new entry, held, reset (reset wins); while
// set the selection takes the OPC entry.
TEST_F(EnteredSetpoints, OpcGoToLatchAndItsSelection) {
    setCell("SPDC.LOWER_SP.A_SW", 1000);
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 3600);
    setCell("OPC_SPD_SP.M1_SMP_TUN.SAMP_TUNE", 2500);
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 1234);
    const struct {
        int pulse, reset;
        uint32_t latch;
    } steps[] = {{0, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {0, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 1, 0}};
    for (const auto& s : steps) {
        setCell("OPC_SPD_SP.OPC_PLS.ONE_SHOT", s.pulse);
        setCell("OPC_SPD_SP.RST_M1_Z.ZMINUS1_B", s.reset);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("OPC_SPD_SP.GOTO_OPC_SP.LATCH_R"), s.latch) << s.pulse << s.reset;
        EXPECT_EQ(integer("MOD_SPD_SP.ENTRD_MUX.INT_SEL"), s.latch ? 3 : 0);
        EXPECT_EQ(real("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS"), s.latch ? 2500.0f : 1234.0f);
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
