// The cascade and speed-sensor configuration checks in the running program:
// each raises its condition for the configuration that is wrong and clears
// when it is corrected; the condition monitor's run time shown in calendar
// fields.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "runtime/appmem.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

using Cells = std::vector<std::pair<const char*, double>>;

constexpr double kMinGov = 3000.0, kMaxGov = 3800.0;

// Cascade on analog input 1 (range 0 .. 100) with a setpoint range inside it
// and speed limits inside the governor range; one speed sensor of 60 teeth
// up to 6000 rpm failing at 250.
const Cells kConsistent = {
    {"_ub6.FUNCT.IN", 3},
    {"CNFG_CASC.INPUT.I_NAME", 1},
    {"CNFG_CASC.CONFIG_B.IN_1", 1},
    {"CNFG_CASC.CONFIG_A.IN_1", 10.0},
    {"CNFG_CASC.CONFIG_A.IN_2", 90.0},
    {"CNFG_CASC.CONFIG_A.IN_4", kMinGov},
    {"CNFG_CASC.CONFIG_A.IN_5", kMaxGov},
    {"CNFG_SETPT.QT_MIN_GOV.IN", kMinGov},
    {"CNFG_SETPT.QT_MAX_GOV.IN", kMaxGov},
    {"CNFG_SETPT.QT_OST_LIMIT.IN", 4000.0},
    {"CNFG_SPEED.CONFIG_B.IN_1", 0},
    {"CNFG_SPEED.SPD1_TEETH.IN", 60},
    {"CNFG_SPEED.SPD1_GEAR.IN", 1.0},
    {"CNFG_SPEED.SPD1_MAXSPD.IN", 6000.0},
    {"CNFG_SPEED.SPD1_LOW_SP.IN", 250.0},
    {"CNFG_SPEED.SPD2_TEETH.IN", 60},
    {"CNFG_SPEED.SPD2_GEAR.IN", 1.0},
    {"CNFG_SPEED.SPD2_MAXSPD.IN", 6000.0},
    {"CNFG_SPEED.SPD2_LOW_SP.IN", 250.0},
};

const char* const kErrors[] = {
    "CONF_CHECK_CASC.CASC_NO_AI.AND", "CONF_CHECK_CASC.SPD_LIM_ERR.OR", "CONF_CHECK.RMT_CASC_NO_AI.AND",
    "CONF_CHECK_CASC.SETPT_ERR.AND",  "MPU.OST_LIM_GT_MAX_SPD.OR",      "MPU.SPD1_GT_MAX.A_COMPARE",
    "MPU.SPD2_GT_MAX.AND",            "MPU.SP1_MN_CHK.A_COMPARE",       "MPU.SP2_MINERR.AND",
};

struct Check {
    const char* what;
    const char* error;
    Cells wrong;
    Cells corrected;
    // Another condition the wrong setting raises as well, and what the
    // correction leaves (nullptr: none).
    const char* also = nullptr;
    const char* left = nullptr;
};

const Check kChecks[] = {
    // Without the input its range is gone too: the setpoint range fails.
    {"cascade on input 1 with no analog input routed", "CONF_CHECK_CASC.CASC_NO_AI.AND",
     {{"_ub6.FUNCT.IN", 1}}, {{"_ub6.FUNCT.IN", 3}}, "CONF_CHECK_CASC.SETPT_ERR.AND"},
    {"cascade input number other than 1 is not checked", "CONF_CHECK_CASC.CASC_NO_AI.AND",
     {{"_ub6.FUNCT.IN", 1}}, {{"CNFG_CASC.INPUT.I_NAME", 2}}, "CONF_CHECK_CASC.SETPT_ERR.AND",
     "CONF_CHECK_CASC.SETPT_ERR.AND"},
    {"remote cascade setpoint with no analog input", "CONF_CHECK.RMT_CASC_NO_AI.AND",
     {{"CNFG_CASC.CONFIG_B.IN_4", 1}}, {{"_ub7.FUNCT.IN", 4}}},
    {"maximum setpoint within 1.0 of the input's maximum", "CONF_CHECK_CASC.SETPT_ERR.AND",
     {{"CNFG_CASC.CONFIG_A.IN_2", 101.0}}, {{"CNFG_CASC.CONFIG_A.IN_2", 100.5}}},
    {"minimum setpoint 1.0 below the input's minimum", "CONF_CHECK_CASC.SETPT_ERR.AND",
     {{"CNFG_CASC.CONFIG_A.IN_1", -1.0}}, {{"CNFG_CASC.CONFIG_A.IN_1", -0.5}}},
    {"range check only while cascade is used", "CONF_CHECK_CASC.SETPT_ERR.AND",
     {{"CNFG_CASC.CONFIG_A.IN_1", -1.0}}, {{"CNFG_CASC.CONFIG_B.IN_1", 0}}},
    {"speed minimum above speed maximum", "CONF_CHECK_CASC.SPD_LIM_ERR.OR",
     {{"CNFG_CASC.CONFIG_A.IN_4", 3500.0}, {"CNFG_CASC.CONFIG_A.IN_5", 3499.0}}, {{"CNFG_CASC.CONFIG_A.IN_5", 3500.0}}},
    {"speed minimum below minimum governor", "CONF_CHECK_CASC.SPD_LIM_ERR.OR",
     {{"CNFG_CASC.CONFIG_A.IN_4", kMinGov - 1.0}}, {{"CNFG_CASC.CONFIG_A.IN_4", kMinGov}}},
    {"speed maximum above maximum governor", "CONF_CHECK_CASC.SPD_LIM_ERR.OR",
     {{"CNFG_CASC.CONFIG_A.IN_5", kMaxGov + 1.0}}, {{"CNFG_CASC.CONFIG_A.IN_5", kMaxGov}}},
    {"speed maximum check disabled", "CONF_CHECK_CASC.SPD_LIM_ERR.OR",
     {{"CNFG_CASC.CONFIG_A.IN_5", kMaxGov + 1.0}}, {{"CONF_CHECK_CASC.SPD_MAX_ER.IN_4", 0}}},
    {"overspeed test limit at sensor 1's maximum", "MPU.OST_LIM_GT_MAX_SPD.OR",
     {{"CNFG_SETPT.QT_OST_LIMIT.IN", 6000.0}}, {{"CNFG_SETPT.QT_OST_LIMIT.IN", 5999.0}}},
    {"overspeed test limit at sensor 2's maximum", "MPU.OST_LIM_GT_MAX_SPD.OR",
     {{"CNFG_SPEED.CONFIG_B.IN_1", 1}, {"CNFG_SPEED.SPD2_MAXSPD.IN", 3900.0}}, {{"CNFG_SPEED.CONFIG_B.IN_1", 0}}},
    {"sensor 1 at exactly 35000 Hz", "MPU.SPD1_GT_MAX.A_COMPARE",
     {{"CNFG_SPEED.SPD1_MAXSPD.IN", 35000.0}, {"CNFG_SETPT.QT_OST_LIMIT.IN", 100.0},
      {"CNFG_SPEED.SPD1_LOW_SP.IN", 800.0}},
     {{"CNFG_SPEED.SPD1_MAXSPD.IN", 34999.0}}},
    {"sensor 1 frequency through its gear", "MPU.SPD1_GT_MAX.A_COMPARE",
     {{"CNFG_SPEED.SPD1_GEAR.IN", 6.0}}, {{"CNFG_SPEED.SPD1_GEAR.IN", 5.8}}},
    {"sensor 2 above 35000 Hz only while used", "MPU.SPD2_GT_MAX.AND",
     {{"CNFG_SPEED.SPD2_TEETH.IN", 120}, {"CNFG_SPEED.SPD2_MAXSPD.IN", 20000.0}, {"CNFG_SPEED.CONFIG_B.IN_1", 1},
      {"CNFG_SETPT.QT_OST_LIMIT.IN", 100.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 500.0}},
     {{"CNFG_SPEED.CONFIG_B.IN_1", 0}}},
    {"sensor 1 fails below its lowest detectable speed", "MPU.SP1_MN_CHK.A_COMPARE",
     {{"CNFG_SPEED.SPD1_LOW_SP.IN", 122.0}}, {{"CNFG_SPEED.SPD1_LOW_SP.IN", 123.0}}},
    // 2 % of 6000 widened by 1.02: 122.4.
    {"sensor 2 fails below its lowest detectable speed while used", "MPU.SP2_MINERR.AND",
     {{"CNFG_SPEED.SPD2_LOW_SP.IN", 122.0}, {"CNFG_SPEED.CONFIG_B.IN_1", 1}}, {{"CNFG_SPEED.SPD2_LOW_SP.IN", 123.0}}},
    {"sensor 2's failed level is not checked while unused", "MPU.SP2_MINERR.AND",
     {{"CNFG_SPEED.SPD2_LOW_SP.IN", 122.0}, {"CNFG_SPEED.CONFIG_B.IN_1", 1}}, {{"CNFG_SPEED.CONFIG_B.IN_1", 0}}},
    {"the detectable-speed buffer widens the check", "MPU.SP1_MN_CHK.A_COMPARE",
     {{"CNFG_SPEED.SPD1_LOW_SP.IN", 123.0}, {"MPU.BUFFER.IN", 1.5}}, {{"MPU.BUFFER.IN", 1.0}}},
};

class CascChecks : public ConfigRig {
protected:
    void SetUp() override {
        ConfigRig::SetUp();
        start();
        lock();
        apply(kConsistent);
    }
    void apply(const Cells& cells) {
        for (const auto& [name, value] : cells) setCell(name, value);
        settle();
    }
    std::vector<std::string> raised() {
        std::vector<std::string> r;
        for (const char* e : kErrors)
            if (boolean(e) != 0) r.push_back(e);
        return r;
    }
};

TEST_F(CascChecks, EachCheckRaisesForItsFaultAndClearsWhenCorrected) {
    ASSERT_EQ(raised(), std::vector<std::string>{});
    for (const Check& c : kChecks) {
        SCOPED_TRACE(c.what);
        apply(c.wrong);
        std::vector<std::string> expected{c.error};
        if (c.also) expected.push_back(c.also);
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> got = raised();
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected);
        apply(c.corrected);
        EXPECT_EQ(raised(), c.left ? std::vector<std::string>{c.left} : std::vector<std::string>{});
        apply(kConsistent);
        apply({{"CNFG_CASC.CONFIG_B.IN_4", 0}, {"_ub7.FUNCT.IN", 1}, {"CONF_CHECK_CASC.SPD_MAX_ER.IN_4", 1},
               {"MPU.BUFFER.IN", 1.02}});
    }
}

// The run times come from the hours the operator enters and stores with the
// rewrite command: stored, reloaded and shown as calendar fields.
TEST_F(CascChecks, RunTimesInCalendarFieldsKeepTheirMillisecondsPastTwentyFiveDays) {
    unlock();
    runPasses(R160, 80);  // past the condition log's power-up window
    const struct {
        float hours;  // entered
        float day, hour, min, sec;
    } rows[] = {
        {0.00343f, 1, 0, 0, 12},
        // 34 days 17:20:00 and a fraction: ten times past where 1000 x the
        // time overflows.
        {833.3334f, 4, 17, 20, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.hours);
        serviceWrite("COND_MON.TRUNSET.IN", r.hours);
        // 2000-02-29 00:00:00 for the hours at load level 1.
        serviceWrite("COND_MON.TRUNLDSET.IN", 264384.0);
        serviceWrite("COND_MON.REWRITE_NV_CMD.IN_1", 1);
        runPasses(R160, 60);
        ASSERT_EQ(boolean("COND_MON.BEGIN.LATCH"), 0u) << "the rewrite is over";
        EXPECT_EQ(real("COND_MON.TRUNCALC.CALCULATE"), r.hours) << "stored and reloaded";
        const float m = real("COND_MON.TRUNCVTBK.MULTIPLY");
        auto* t = static_cast<TimeCell*>(cell("COND_MON.TRUNTOTIME.A_TO_T"));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->sec, static_cast<uint32_t>(m));
        const double fraction = static_cast<double>(m) - std::floor(static_cast<double>(m));
        EXPECT_NEAR(static_cast<double>(t->usec), fraction * 1e6, 1000.0);
        EXPECT_EQ(t->usec % 1000u, 0u) << "whole milliseconds";
        EXPECT_GT(t->usec, 0u);
        EXPECT_EQ(real("COND_MON.TRUN_HMS.DAY"), r.day);
        EXPECT_EQ(real("COND_MON.TRUN_HMS.HOUR"), r.hour);
        EXPECT_EQ(real("COND_MON.TRUN_HMS.MIN"), r.min);
        EXPECT_EQ(real("COND_MON.TRUN_HMS.SEC"), r.sec);
        EXPECT_EQ(real("COND_MON.TRUN_HMS.MICROSEC"), static_cast<float>(t->usec));
        EXPECT_EQ(real("COND_MON.TRUNMINS.A_NAME"), r.min);
        EXPECT_EQ(real("COND_MON.TRUNLD_HMS.YEAR"), 2000.0f);
        EXPECT_EQ(real("COND_MON.TRUNLD_HMS.MONTH") * 100 + real("COND_MON.TRUNLD_HMS.DAY"), 229.0f);
        EXPECT_EQ(real("COND_MON.TRUNLD_HMS.HOUR"), 0.0f);
        EXPECT_EQ(real("COND_MON.TRUNLDMINS.A_NAME"), 0.0f);
    }
}

}  // namespace
}  // namespace cfg_test
