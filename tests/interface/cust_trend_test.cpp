// Custom trends through real passes: each pen's value chosen by its list
// position (retuned through the 160 ms group), the bearing temperatures
// from the controller or the remote RTD node, the axis ranges converted to
// integers; with the cascade input's copy for the outputs and the routing of
// the analog outputs' function-used flags.
#include <cmath>
#include <limits>

#include "app/analog/input_slices.h"
#include "app/interface/interface_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R20 = 1, R40 = 2, R160 = 4;

bool g_defaulted = false;
void tunableDefaultsOnce() {
    if (g_defaulted) return;
    g_defaulted = true;
    tc_test::loadTunableDefaults();
}

class CustTrend : public tc_test::AppHarness {
protected:
    void start() {
        g_defaulted = false;
        useSlices(R10, {tunableDefaultsOnce});
        useSlices(R20, {_R20_TASK_4});
        useSlices(R40, {_R40_TASK_4});
        useSlices(R160, {_R160_TASK_33, _R160_TASK_34, _R160_TASK_62});
        startApp();
    }
    // Long enough for a 160 ms value to reach the 40 ms group and back.
    void settle() { runPasses(R160, 3); }
    float pen(int n) { return real("CUST_TREND.TREND" + std::to_string(n) + "_VALUE.A_NAME"); }
    void position(int n, int i) { setCell("CUST_TREND.TREND" + std::to_string(n) + "_VAR_INT.IN", i); }
};

TEST_F(CustTrend, EachPenShowsItsDefaultSignal) {
    start();
    const struct {
        const char* cell;
        float value;
        int pen;
    } rows[] = {
        {"AO_MUX.SPEED.A_NAME", 3010.0f, 1},
        {"IFACE_OUT_SPEED.SPD_PID.A_NAME", 55.5f, 3},
        {"AI_MUX.CASC_IN.A_NAME", 12.25f, 4},
        {"AO_MUX.CASC_SETPT.A_NAME", 14.0f, 5},
        {"IFACE_OUT_CASC.CASC_PID.A_NAME", 33.0f, 6},
        {"AI_MUX.AI_MUX.OUT_5", 1.5f, 7},
        {"AI_MUX.AI_MUX.OUT_6", 2.5f, 8},
        {"AI_MUX.AI_MUX.OUT_7", 3.5f, 9},
        {"AI_MUX.AI_MUX.OUT_8", 4.5f, 10},
        {"AI_MUX.BEARTEMP1.A_NAME", 61.0f, 11},
        {"AI_MUX.BEARTEMP2.A_NAME", 62.0f, 12},
        {"AI_MUX.BEARTEMP3.A_NAME", 63.0f, 13},
        {"AI_MUX.BEARTEMP4.A_NAME", 64.0f, 14},
    };
    for (int n = 1; n <= 4; ++n) setCell("AI_MUX.BEARTEMP" + std::to_string(n) + "_USED.B_NAME", 1);
    for (const auto& r : rows) setCell(r.cell, r.value);
    settle();
    for (const auto& r : rows) EXPECT_EQ(pen(r.pen), r.value) << r.cell;
    EXPECT_EQ(real("AO_MUX.CASC_IN_NAME.A_NAME"), 12.25f);
    EXPECT_EQ(pen(2), real("AO_MUX.SPD_SETPT.A_NAME"));
}

TEST_F(CustTrend, APenShowsTheListPositionItIsTunedTo) {
    start();
    const struct {
        int position;
        const char* cell;  // nullptr: a constant 0.0
    } rows[] = {
        {1, nullptr},
        {5, "AO_MUX.RMT_SPD_SP.A_NAME"},
        {9, "AO_MUX.RMT_CASC.A_NAME"},
        {10, "AO_MUX.VALVE_LMT_NAME.A_NAME"},
        {11, "AO_MUX.HP_DMD.A_SW"},
        {12, "AO_MUX.LSS_VALUE.A_NAME"},
        {13, "AI_MUX.HP_FDBK.A_NAME"},
        {14, "AI_MUX.SIG_MON_1.A_NAME"},
        {15, "AI_MUX.SIG_MON_2.A_NAME"},
        {16, "AI_MUX.SIG_MON_3.A_NAME"},
        {22, "VLTR_OUTS.VL_RTDS.LIST_2"},
        {25, nullptr},
        {30, nullptr},
    };
    float v = 100.0f;
    for (const auto& r : rows) {
        // A non-zero value on the pen first, so that 0.0 is a choice.
        position(3, 4);
        setCell("IFACE_OUT_SPEED.SPD_PID.A_NAME", 7.0);
        settle();
        ASSERT_EQ(pen(3), 7.0f);
        v += 1.0f;
        if (r.cell) setCell(r.cell, v);
        position(3, r.position);
        settle();
        EXPECT_EQ(pen(3), r.cell ? v : 0.0f) << "position " << r.position;
        EXPECT_EQ(real("CUST_TREND.TREND3_SEL.A_MUX_N_1"), pen(3));
    }
}

TEST_F(CustTrend, APositionOutsideTheListKeepsThePensLastValue) {
    start();
    position(7, 0);  // before any selection: 0.0 stays
    settle();
    setCell("AI_MUX.AI_MUX.OUT_5", 9.0);  // routed to vibration 1
    settle();
    EXPECT_EQ(pen(7), 0.0f);
    position(7, 17);
    settle();
    EXPECT_EQ(pen(7), 9.0f);
    for (int bad : {0, -1, 31, std::numeric_limits<int32_t>::min()}) {
        position(7, bad);
        settle();
        setCell("AI_MUX.AI_MUX.OUT_5", bad);
        settle();
        EXPECT_EQ(pen(7), 9.0f) << bad;
    }
}

TEST_F(CustTrend, RangesAreTheDefaultSignalsLimitsAsIntegers) {
    start();
    setCell("CNFG_SETPT.OST_LIMIT.A_NAME", 3.0e9);
    setCell("SPDC.QT_LOW.A_SW", -3.0e9);
    setCell("AI_MUX.CASC_IN_MAX.A_NAME", 99.9);
    setCell("AI_MUX.CASC_IN_MIN.A_NAME", -0.5);
    setCell("CNFG_CASC.MAX_SP.A_NAME", std::nan(""));
    setCell("CNFG_CASC.MIN_SP.A_NAME", -7.9);
    const char* vib[8] = {"AI_MUX.VIB_IN1_MAX.A_NAME", "AI_MUX.VIB_IN1_MIN.A_NAME", "AI_MUX.VIB_IN2_MAX.A_NAME",
                          "AI_MUX.VIB_IN2_MIN.A_NAME", "AI_MUX.VIB_IN3_MAX.A_NAME", "AI_MUX.VIB_IN3_MIN.A_NAME",
                          "AI_MUX.VIB_IN4_MAX.A_NAME", "AI_MUX.VIB_IN4_MIN.A_NAME"};
    for (int k = 0; k < 8; ++k) setCell(vib[k], 10 * (k + 1) + 0.7);
    for (int n = 1; n <= 4; ++n) {
        setCell("AI_MUX.BEARTEMP" + std::to_string(n) + "_USED.B_NAME", 1);
        setCell("AI_MUX.BEARTEMP" + std::to_string(n) + "_MAX.A_NAME", 100 + n);
        setCell("AI_MUX.BEARTEMP" + std::to_string(n) + "_MIN.A_NAME", -n);
    }
    position(1, 13);  // retuned: the range stays the speed's
    settle();
    const int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    const struct {
        int pen;
        int32_t ymax, ymin;
    } rows[] = {
        {1, kMax, kMin}, {2, kMax, kMin}, {3, 100, 0},  {4, 99, 0},     {5, kMin, -7},    {7, 10, 20},
        {8, 30, 40},     {9, 50, 60},     {10, 70, 80}, {11, 101, -1},  {12, 102, -2},    {13, 103, -3},
        {14, 104, -4},
    };
    for (const auto& r : rows) {
        const std::string p = "CUST_TREND.TREND" + std::to_string(r.pen);
        EXPECT_EQ(integer(p + "_Y_MAX.I_NAME"), r.ymax) << "pen " << r.pen;
        EXPECT_EQ(integer(p + "_Y_MIN.I_NAME"), r.ymin) << "pen " << r.pen;
    }
    EXPECT_EQ(cell("CUST_TREND.TREND6_Y_MAX.I_NAME"), nullptr);
}

TEST_F(CustTrend, BearingTemperatureFromTheRtdNodeWhenNotConfiguredOnTheController) {
    start();
    setCell("AI_MUX.BEARTEMP2_USED.B_NAME", 0);
    setCell("AI_MUX.BEARTEMP2.A_NAME", 50.0);
    setCell("AI_MUX.BEARTEMP2_MAX.A_NAME", 150.0);
    setCell("AI_MUX.BEARTEMP2_MIN.A_NAME", 5.0);
    setCell("VLTR_OUTS.VL_RTDS.LIST_2", 71.5);
    setCell("_ub44.HI_SP_IN_C.A_SW", 120.0);
    setCell("_ub44.LO_SP_IN_C.A_SW", 10.0);
    settle();
    EXPECT_EQ(pen(12), 71.5f);
    EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MAX.I_NAME"), 120);
    EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MIN.I_NAME"), 10);
    setCell("AI_MUX.BEARTEMP2_USED.B_NAME", 1);
    settle();
    EXPECT_EQ(pen(12), 50.0f);
    EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MAX.I_NAME"), 150);
    EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MIN.I_NAME"), 5);
}

TEST_F(CustTrend, OutputFunctionsInUseAreRoutedToTheirSlotsLaterChannelsWinning) {
    start();
    settle();
    const int32_t act = integer("_ub5.FUNCT_INT.I_NAME");
    setCell("AO_MUX.AO_FUNC_USED.SEL_1", 3);
    setCell("_ub10.FUNCT_INT.I_NAME", 3);
    setCell("AO_MUX.AO_FUNC_USED.IN_2", 0);  // the later channel clears the slot
    setCell("_ub11.FUNCT_INT.I_NAME", 20);
    setCell("_ub12.FUNCT_INT.I_NAME", 21);
    settle();
    for (int k = 1; k <= 20; ++k) {
        const uint32_t expect = (k == 20 || k == act) ? 1u : 0u;
        EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_" + std::to_string(k)), expect) << "slot " << k;
    }
    setCell("_ub10.FUNCT_INT.I_NAME", 0);
    setCell("_ub12.FUNCT_INT.I_NAME", 1);
    settle();
    EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_3"), 1u);
    EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_1"), 1u);
}

}  // namespace
