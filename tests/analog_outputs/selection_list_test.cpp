// The analog output selection list on the whole program (its own slice
// table), driven only through its inputs: the controller's analog inputs on
// the board's loops carrying the remote speed setpoint, the cascade input
// and, by turns, the signal monitors, the HP valve feedback and the remote
// cascade setpoint; the turbine model; settings and commands from the
// service tool. Each entry carries its source (a faster group's cell, a
// slower group's cell through the copies, a tunable or zero) in every
// 10 ms pass; the HP demand entry switches to the limited select output.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "runtime/catalogue.h"
#include "tests/support/ref_rig.h"

namespace ao_test {
namespace {

class SelectionListProgram : public ref_test::RefRig {
protected:
    float entry(int n) { return real("AO_MUX.SEL_OUTS.LIST_" + std::to_string(n)); }
    static int steadyPasses(const std::string& rate) {
        if (rate == "_R10") return 0;
        if (rate == "_R20") return 4;
        if (rate == "_R40") return 8;
        if (rate == "_R80") return 16;
        return 32;
    }
};

struct Source {
    int entry;
    const char* cell;
};
const Source kSources[] = {
    {2, "MPU.TURB_SPD.A_NAME"},          {3, "AO_MUX.SPD_SETPT.A_NAME"},  {4, "AO_MUX.RMT_SPD_SP.A_NAME"},
    {5, "AI_MUX.CASC_IN.A_NAME"},        {6, "AO_MUX.CASC_SETPT.A_NAME"}, {7, "AO_MUX.RMT_CASC.A_NAME"},
    {8, "AO_MUX.VALVE_LMT_NAME.A_NAME"}, {10, "AI_MUX.SIG_MON_1.A_NAME"}, {11, "AI_MUX.SIG_MON_2.A_NAME"},
    {12, "AI_MUX.SIG_MON_3.A_NAME"},     {14, "AI_MUX.HP_FDBK.A_NAME"},   {15, "AO_MUX.SEL_OUTS.IN_15"},
    {16, "AO_MUX.SEL_OUTS.IN_16"},       {17, "AO_MUX.SEL_OUTS.IN_17"},
};

// Analog inputs 3 and 4 carry two of the signal monitors (13 .. 15), the HP
// feedback (16) and the remote cascade setpoint (4); the entries of those
// functions move.
struct Inputs {
    const char* name;
    int third, fourth;
    std::vector<int> moving;
    bool remote_cascade = false;  // the remote cascade setpoint configured
};
class SelectionListSources : public SelectionListProgram, public ::testing::WithParamInterface<Inputs> {};

TEST_P(SelectionListSources, EachEntryCarriesItsSource) {
    const Inputs& in = GetParam();
    for (int ch = 2; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    startWithRemoteAndCascade({{"_ub8.FUNCT.IN", in.third},
                               {"_ub9.FUNCT.IN", in.fourth},
                               {"AO_MUX.SEL_OUTS.IN_15", 115.0},
                               {"AO_MUX.SEL_OUTS.IN_16", 116.0},
                               {"AO_MUX.SEL_OUTS.IN_17", 117.0},
                               {"CNFG_CASC.CONFIG_B.IN_4", in.remote_cascade ? 1 : 0}});
    struct Watched {
        const Source& s;
        float *src, *entry;
        int steady;  // passes a value must stand: two of its group's
        float last;
        int stable;
        std::vector<float> seen;
    };
    std::vector<Watched> watched;
    for (const Source& s : kSources) {
        watched.push_back({s, static_cast<float*>(cell(s.cell)),
                           static_cast<float*>(cell("AO_MUX.SEL_OUTS.LIST_" + std::to_string(s.entry))),
                           steadyPasses(dbug_find_in(app_dbug_tables(), s.cell)->rate), 0.0f, 0, {}});
        ASSERT_NE(watched.back().src, nullptr) << s.cell;
    }
    const auto pass = [&] {
        runPasses(ref_test::R10, 1);
        for (Watched& w : watched) {
            const float src = *w.src;
            w.stable = w.last == src ? w.stable + 1 : 0;
            w.last = src;
            // A slower group's cell arrives through its copy: checked once
            // it has stood for two of its passes.
            if (w.stable < w.steady) continue;
            EXPECT_EQ(*w.entry, src) << w.s.entry << " " << w.s.cell;
            if (w.seen.empty() || w.seen.back() != src) w.seen.push_back(src);
        }
        EXPECT_EQ(real("AO_MUX.SPEED.A_NAME"), real("MPU.TURB_SPD.A_NAME"));
        for (int n : {1, 18, 19, 20}) EXPECT_EQ(entry(n), 0.0f) << n;
        // The LSS value is the select's output of this pass.
        EXPECT_EQ(entry(13), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
        EXPECT_EQ(real("AO_MUX.LSS_VALUE.A_NAME"), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
    };
    const auto run = [&](double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 100.0); ++k) pass();
    };
    startCommand();
    for (int k = 0; k < 60000 && !step("A08_STEP"); ++k) pass();
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    turbine::setLoad(0.3);
    run(5.0);
    // Every analog input moved; cascade enabled; the valve limiter lowered a
    // little from the service tool.
    for (int ch = 0; ch < 4; ++ch) {
        board::setAnalogInputMa(ch, 13.0);
        run(2.0);
    }
    // The reference raised for a second from the raise contact.
    contact(ref_test::kRaiseContact, true);
    run(1.0);
    contact(ref_test::kRaiseContact, false);
    run(3.0);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    run(10.0);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    run(1.0);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    run(3.0);
    for (const Watched& w : watched) {
        const bool moving = w.s.entry <= 6 || w.s.entry == 8 ||
                            std::find(in.moving.begin(), in.moving.end(), w.s.entry) != in.moving.end();
        if (moving) {
            EXPECT_GE(w.seen.size(), 2u) << w.s.entry << " " << w.s.cell << " never moved";
        }
    }
    EXPECT_EQ(entry(15), 115.0f);
    EXPECT_EQ(entry(16), 116.0f);
    EXPECT_EQ(entry(17), 117.0f);
}
const Inputs kInputs[] = {
    {"SignalMonitors1And2", 13, 14, {10, 11}},
    {"SignalMonitor3AndHpFeedback", 15, 16, {12, 14}},
    {"RemoteCascadeSetpoint", 4, 13, {7, 10}, true},
};
INSTANTIATE_TEST_SUITE_P(Inputs, SelectionListSources, ::testing::ValuesIn(kInputs),
                         [](const ::testing::TestParamInfo<Inputs>& i) { return std::string(i.param.name); });

// Entry 9 is the HP demand, or the limited select output while its switch
// (a setting of the service tool) is on. A reverse-acting driver,
// configured at power-up, makes the two differ.
TEST_F(SelectionListProgram, TheDemandEntrySwitchesToTheLimitedSelectOutput) {
    start(false, false, {{"CNFG_DRIVER.CONFIG_B.IN_1", 1}});
    runPasses(ref_test::R160, 2);
    const float demand = real("_ub5.HP_DMD.A_NAME");
    const float limited = real("HP_DRIVER.HP_MAX.A_MIN");
    ASSERT_NE(demand, limited);
    EXPECT_EQ(entry(9), demand);
    EXPECT_EQ(real("AO_MUX.HP_DMD.A_SW"), demand);
    serviceWrite("AO_MUX.HP_DMD.CTRL", 1);
    runPasses(ref_test::R10, 1);
    EXPECT_EQ(real("AO_MUX.HP_LSS_DMD.A_NAME"), limited);
    EXPECT_EQ(entry(9), limited);
}

}  // namespace
}  // namespace ao_test
