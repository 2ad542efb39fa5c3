// Custom trends on the whole program: each pen's value chosen by its list
// position (retuned from the service tool), the vibration and bearing
// temperature pens from the controller's analog inputs given those
// functions, or the remote RTD node's temperature where none is, the axis
// ranges converted to integers from the inputs' ranges; with the cascade
// input's copy for the outputs and the routing of the analog outputs'
// function-used flags from their settings.
#include <cmath>
#include <limits>

#include "app/analog/input_slices.h"
#include "app/interface/interface_slices.h"
#include "host/analog_inputs.h"
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

// The list a pen chooses from: position k, the cell it shows (nullptr: 0.0).
const char* const kList[30] = {
    nullptr,
    "AO_MUX.SPEED.A_NAME",
    "AO_MUX.SPD_SETPT.A_NAME",
    "IFACE_OUT_SPEED.SPD_PID.A_NAME",
    "AO_MUX.RMT_SPD_SP.A_NAME",
    "AO_MUX.CASC_IN_NAME.A_NAME",
    "AO_MUX.CASC_SETPT.A_NAME",
    "IFACE_OUT_CASC.CASC_PID.A_NAME",
    "AO_MUX.RMT_CASC.A_NAME",
    "AO_MUX.VALVE_LMT_NAME.A_NAME",
    "AO_MUX.HP_DMD.A_SW",
    "AO_MUX.LSS_VALUE.A_NAME",
    "AI_MUX.HP_FDBK.A_NAME",
    "AI_MUX.SIG_MON_1.A_NAME",
    "AI_MUX.SIG_MON_2.A_NAME",
    "AI_MUX.SIG_MON_3.A_NAME",
    "AI_MUX.VIB_IN1.A_NAME",
    "AI_MUX.VIB_IN2.A_NAME",
    "AI_MUX.VIB_IN3.A_NAME",
    "AI_MUX.VIB_IN4.A_NAME",
    "CUST_TREND.TEMP_IN1.A_SW",
    "CUST_TREND.TEMP_IN2.A_SW",
    "CUST_TREND.TEMP_IN3.A_SW",
    "CUST_TREND.TEMP_IN4.A_SW",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

class CustTrend : public ProgramCases {
protected:
    // A unit (tripped) held at a steady speed with the controller's four analog inputs
    // given `functions` (1 .. 4), each at its own current; the ranges 0 ..
    // 100 unless `settings` say otherwise.
    void startWith(const int (&functions)[4], const Settings& settings = {}) {
        static const char* const kFunction[4] = {"_ub6.FUNCT.IN", "_ub7.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN"};
        Settings all;
        for (int ch = 0; ch < 4; ++ch) {
            all.push_back({kFunction[ch], static_cast<double>(functions[ch])});
            board::setAnalogInputMa(ch, 6.0 + 3.0 * ch);
        }
        all.insert(all.end(), settings.begin(), settings.end());
        holdShaftAt(1500.0);
        startConfigured(all);
        runPasses(R160, 5);
    }
    float pen(int n) { return real("CUST_TREND.TREND" + std::to_string(n) + "_VALUE.A_NAME"); }
    void position(int n, int i) { tune("CUST_TREND.TREND" + std::to_string(n) + "_VAR_INT.IN", i); }
    // Long enough for a 160 ms value to reach the 40 ms group and back.
    void settle() { runPasses(R160, 3); }
    float listed(int k) { return kList[k - 1] ? real(kList[k - 1]) : 0.0f; }
};

// Each pen's default position and the signal it shows: speed, setpoint and
// speed PID, the cascade input, setpoint and PID, the four vibrations and
// the four bearing temperatures, each from its own input.
TEST_F(CustTrend, EachPenShowsItsDefaultSignal) {
    struct Config {
        int functions[4];
        std::vector<std::pair<int, const char*>> pens;  // pen, the input's cell
    };
    const Config configs[] = {
        {{5, 3, 6, 7}, {{4, "AI_MUX.CASC_IN.A_NAME"}, {7, "AI_MUX.AI_MUX.OUT_5"}, {8, "AI_MUX.AI_MUX.OUT_6"},
                        {9, "AI_MUX.AI_MUX.OUT_7"}}},
        {{8, 9, 10, 11}, {{10, "AI_MUX.AI_MUX.OUT_8"}, {11, "AI_MUX.BEARTEMP1.A_NAME"},
                          {12, "AI_MUX.BEARTEMP2.A_NAME"}, {13, "AI_MUX.BEARTEMP3.A_NAME"}}},
        {{12, 1, 1, 1}, {{14, "AI_MUX.BEARTEMP4.A_NAME"}}},
    };
    const int defaults[14] = {2, 3, 4, 6, 7, 8, 17, 18, 19, 20, 21, 22, 23, 24};
    for (const Config& c : configs) {
        startWith(c.functions);
        // Each configured input's pen shows its own input's value.
        for (const auto& [p, cell] : c.pens) {
            EXPECT_NE(real(cell), 0.0f) << cell;
            EXPECT_EQ(pen(p), real(cell)) << "pen " << p << " " << cell;
        }
        // Every pen shows the signal of its default position.
        for (int p = 1; p <= 14; ++p) EXPECT_EQ(pen(p), listed(defaults[p - 1])) << "pen " << p;
        EXPECT_NE(pen(1), 0.0f) << "the speed";
        EXPECT_EQ(real("AO_MUX.CASC_IN_NAME.A_NAME"), real("AI_MUX.CASC_IN.A_NAME"));
        EXPECT_EQ(pen(2), real("AO_MUX.SPD_SETPT.A_NAME"));
        stopApp();
    }
}

// A pen retuned to each list position shows that position's signal; the
// positions past the signals show 0.0 (a non-zero value on the pen first,
// so that 0.0 is a choice).
TEST_F(CustTrend, APenShowsTheListPositionItIsTunedTo) {
    startWith({5, 3, 13, 14});
    for (int k = 1; k <= 30; ++k) {
        position(3, 2);
        settle();
        ASSERT_NE(pen(3), 0.0f);
        position(3, k);
        settle();
        EXPECT_EQ(pen(3), listed(k)) << "position " << k;
        EXPECT_EQ(real("CUST_TREND.TREND3_SEL.A_MUX_N_1"), pen(3));
        if (k == 1 || k >= 25) {
            EXPECT_EQ(pen(3), 0.0f) << "position " << k;
        }
    }
    position(3, 14);
    settle();
    EXPECT_EQ(pen(3), real("AI_MUX.SIG_MON_1.A_NAME"));
    EXPECT_NE(pen(3), 0.0f);
}

// The axis ranges: each default signal's limits as integers, truncated, and
// saturated where they do not fit; a retuned pen keeps its default's range.
TEST_F(CustTrend, RangesAreTheDefaultSignalsLimitsAsIntegers) {
    startWith({5, 3, 6, 9},
              {{"_ub6.RANGE_HI.IN", 3.0e9}, {"_ub6.RANGE_LO.IN", -3.0e9}, {"_ub7.RANGE_HI.IN", 99.9},
               {"_ub7.RANGE_LO.IN", -0.5}, {"_ub8.RANGE_HI.IN", 30.7}, {"_ub8.RANGE_LO.IN", -40.7},
               {"_ub9.RANGE_HI.IN", 101.0}, {"_ub9.RANGE_LO.IN", -1.9}});
    position(1, 13);  // retuned: the range stays the speed's
    settle();
    const int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    auto trunc = [](float v) { return static_cast<int32_t>(v); };
    const struct {
        int pen;
        int32_t ymax, ymin;
    } rows[] = {
        {1, trunc(real("CNFG_SETPT.OST_LIMIT.A_NAME")), trunc(real("SPDC.QT_LOW.A_SW"))},
        {2, trunc(real("CNFG_SETPT.OST_LIMIT.A_NAME")), trunc(real("SPDC.QT_LOW.A_SW"))},
        {3, 100, 0},
        {4, 99, 0},
        {5, trunc(real("CNFG_CASC.MAX_SP.A_NAME")), trunc(real("CNFG_CASC.MIN_SP.A_NAME"))},
        {7, kMax, kMin},
        {8, 30, -40},
        {11, 101, -1},
    };
    for (const auto& r : rows) {
        const std::string p = "CUST_TREND.TREND" + std::to_string(r.pen);
        EXPECT_EQ(integer(p + "_Y_MAX.I_NAME"), r.ymax) << "pen " << r.pen;
        EXPECT_EQ(integer(p + "_Y_MIN.I_NAME"), r.ymin) << "pen " << r.pen;
    }
    EXPECT_EQ(cell("CUST_TREND.TREND6_Y_MAX.I_NAME"), nullptr);
}

// A bearing temperature not configured on the controller comes from the
// remote RTD node's channel (none on the bus here: its value and the
// channel's limits as the program holds them); configured, from the
// controller's input with its range.
TEST_F(CustTrend, BearingTemperatureFromTheRtdNodeWhenNotConfiguredOnTheController) {
    for (bool configured : {false, true}) {
        startWith({configured ? 10 : 1, 1, 1, 1}, {{"_ub6.RANGE_HI.IN", 150.0}, {"_ub6.RANGE_LO.IN", 5.0}});
        EXPECT_EQ(boolean("AI_MUX.BEARTEMP2_USED.B_NAME"), configured ? 1u : 0u);
        const float value = configured ? real("AI_MUX.BEARTEMP2.A_NAME") : real("VLTR_OUTS.VL_RTDS.LIST_2");
        EXPECT_EQ(pen(12), value) << configured;
        if (configured) {
            EXPECT_NE(value, 0.0f);
        }
        const int32_t hi = configured ? 150 : static_cast<int32_t>(real("_ub44.HI_SP_IN_C.A_SW"));
        const int32_t lo = configured ? 5 : static_cast<int32_t>(real("_ub44.LO_SP_IN_C.A_SW"));
        EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MAX.I_NAME"), hi) << configured;
        EXPECT_EQ(integer("CUST_TREND.TREND12_Y_MIN.I_NAME"), lo) << configured;
        stopApp();
    }
}

// The analog outputs' functions in use, entered in configure mode: each
// channel's function marks its slot with the channel's flag, a later
// channel winning over an earlier one.
TEST_F(CustTrend, OutputFunctionsInUseAreRoutedToTheirSlotsLaterChannelsWinning) {
    startConfigured();
    enterConfigureMode();
    tune("AO_MUX.AO_FUNC_USED.SEL_1", 3);
    tune("AO_MUX.AO_FUNC_USED.IN_2", 0);  // the second channel clears the slot
    tune("_ub10.FUNCT.IN", 3);
    tune("_ub11.FUNCT.IN", 20);
    tune("_ub12.FUNCT.IN", 5);
    ASSERT_GE(passesUntil(R160, [this] { return integer("_ub12.FUNCT_INT.I_NAME") == 5; }, 20), 0);
    runPasses(R160, 2);
    const int32_t act = integer("_ub5.FUNCT_INT.I_NAME");
    ASSERT_EQ(integer("_ub10.FUNCT_INT.I_NAME"), 3);
    for (int k = 1; k <= 20; ++k) {
        const uint32_t expect = (k == 20 || k == 5 || k == act) ? 1u : 0u;
        EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_" + std::to_string(k)), expect) << "slot " << k;
    }
    // The fourth channel on slot 3 after the second: its flag wins.
    tune("_ub12.FUNCT.IN", 3);
    ASSERT_GE(passesUntil(R160, [this] { return integer("_ub12.FUNCT_INT.I_NAME") == 3; }, 20), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_3"), 1u);
    EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_5"), act == 5 ? 1u : 0u);
}

// ---- a position no input gives ----------------------------------------------

// A position outside 1 .. 30 keeps the pen's last value: the service tool
// takes positions within the list only, and a pen never starts without one.
class CustTrendOnItsSlices : public OnTheirSlices {};

TEST_F(CustTrendOnItsSlices, APositionOutsideTheListKeepsThePensLastValue) {
    startSlices({{R20, {_R20_TASK_4}}, {R40, {_R40_TASK_4}}, {R160, {_R160_TASK_33, _R160_TASK_34, _R160_TASK_62}}});
    auto pen7 = [this] { return real("CUST_TREND.TREND7_VALUE.A_NAME"); };
    auto settle = [this] { runPasses(R160, 3); };
    setCell("CUST_TREND.TREND7_VAR_INT.IN", 0);  // before any selection: 0.0 stays
    settle();
    setCell("AI_MUX.AI_MUX.OUT_5", 9.0);  // routed to vibration 1
    settle();
    EXPECT_EQ(pen7(), 0.0f);
    setCell("CUST_TREND.TREND7_VAR_INT.IN", 17);
    settle();
    EXPECT_EQ(pen7(), 9.0f);
    for (int bad : {0, -1, 31, std::numeric_limits<int32_t>::min()}) {
        setCell("CUST_TREND.TREND7_VAR_INT.IN", bad);
        settle();
        setCell("AI_MUX.AI_MUX.OUT_5", bad);
        settle();
        EXPECT_EQ(pen7(), 9.0f) << bad;
    }
}

// A limit that is not a number gives the smallest integer: no setting takes
// one in.
TEST_F(CustTrendOnItsSlices, ARangeThatIsNotANumber) {
    startSlices({{R160, {_R160_TASK_33, _R160_TASK_34}}});
    setCell("CNFG_CASC.MAX_SP.A_NAME", std::nan(""));
    setCell("CNFG_CASC.MIN_SP.A_NAME", -7.9);
    runPasses(R160, 2);
    EXPECT_EQ(integer("CUST_TREND.TREND5_Y_MAX.I_NAME"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(integer("CUST_TREND.TREND5_Y_MIN.I_NAME"), -7);
}

// A function outside the twenty slots marks none: the service tool takes
// functions 1 .. 20 only.
TEST_F(CustTrendOnItsSlices, AnOutputFunctionOutsideTheSlotsMarksNone) {
    startSlices({{R160, {_R160_TASK_62}}});
    runPasses(R160, 2);
    const int32_t act = integer("_ub5.FUNCT_INT.I_NAME");
    setCell("AO_MUX.AO_FUNC_USED.SEL_1", 0);
    setCell("_ub10.FUNCT_INT.I_NAME", 21);
    setCell("_ub11.FUNCT_INT.I_NAME", 0);
    setCell("_ub12.FUNCT_INT.I_NAME", -3);
    runPasses(R160, 2);
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(boolean("AO_MUX.AO_FUNC_USED.OUT_" + std::to_string(k)), k == act ? 1u : 0u) << "slot " << k;
}

}  // namespace
