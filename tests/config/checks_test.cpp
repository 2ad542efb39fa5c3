// The configuration checks in the running program: each raises its error
// cell for the configuration that is wrong and clears when it is corrected.
#include <string>
#include <utility>
#include <vector>

#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

using Cells = std::vector<std::pair<const char*, double>>;

// A consistent configuration: an idle/rated start with a critical band
// between idle and minimum governor, both speed sensors failing at 250.
const Cells kConsistent = {
    {"CNFG_START.CONFIG_B.IN_2", 1},       {"CNFG_START.CONFIG_B.IN_10", 1},
    {"CNFG_START.CONFIG_A.IN_1", 1000.0},   {"CNFG_START.CONFIG_A.IN_2", 3400.0},
    {"CNFG_SETPT.CONFIG_B.IN_1", 1},     {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 2000.0},
    {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2500.0}, {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 100.0},
    {"CNFG_SETPT.SLOW_RATE_OFFLINE.IN", 10.0}, {"CNFG_SETPT.QT_MIN_GOV.IN", 3000.0},
    {"CNFG_SETPT.QT_MAX_GOV.IN", 3600.0},
    {"CNFG_SETPT.QT_OST_LIMIT.IN", 3800.0},   {"CNFG_SETPT.QT_OSPD_TRIP.IN", 3700.0},
    {"CNFG_SPEED.CONFIG_B.IN_1", 1},
};

// Every error cell of the checks.
const char* const kErrors[] = {
    "CNFG_CHECK.IDLE1_IN_CRIT.AND", "CNFG_CHECK.MIN_SPD_ERROR_OR.OR", "CNFG_CHECK.IDL_ERROR.AND",
    "CNFG_CHECK.CRIT_RATE.AND",     "CNFG_CHECK.CRIT_ER_NI.B_SW",     "CNFG_CHECK.USE_BND1.AND",
    "CNFG_CHECK.USE_BND2.AND",      "CNFG_CHECK.USE_BND3.AND",        "CNFG_CHECK.MIN_MAX_ERR.AND",
    "CNFG_CHECK.MAX_GOV_OS_ER.A_COMPARE", "CNFG_CHECK.OS_OSTSP_ER.A_COMPARE", "CNFG_CHECK.IR_MINERR.B_SW",
    "CNFG_CHECK.IR_MAXERR.B_SW",    "CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME", "CNFG_CHECK_AI.AI_04_CFG_ER.B_NAME",
    "CNFG_CHECK_AO.AO01CFG_ER.B_NAME", "CNFG_CHECK_AO.AO03CFG_ER.B_NAME", "CNFG_CHECK_BI.DI01CFG_ER.B_NAME",
    "CNFG_CHECK_BI.DI08CFG_ER.B_NAME", "CNFG_CHECK_BO.BO_02_ERR.OR",   "CNFG_CHECK_BO.BO_03_ERR.OR",
    "CNFG_CHECK_BO.BO_04_CNFG_ERR_AND.AND",
};

struct Check {
    const char* what;
    const char* error;
    Cells wrong;
    Cells corrected;
};

const Check kChecks[] = {
    {"idle 1 at the band's low end (record 28)", "CNFG_CHECK.IDLE1_IN_CRIT.AND",
     {{"CNFG_START.CONFIG_A.IN_1", 2000.0}}, {{"CNFG_START.CONFIG_A.IN_1", 1000.0}}},
    {"idle 1 at the band's high end (record 28)", "CNFG_CHECK.IDLE1_IN_CRIT.AND",
     {{"CNFG_START.CONFIG_A.IN_1", 2500.0}}, {{"CNFG_START.CONFIG_A.IN_1", 2500.5}, {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2500.25}}},
    {"min governor below sensor 1's failed level (record 29)", "CNFG_CHECK.MIN_SPD_ERROR_OR.OR",
     {{"CNFG_SETPT.QT_MIN_GOV.IN", 250.0}, {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 200.0}, {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 100.0}},
     {{"CNFG_SETPT.QT_MIN_GOV.IN", 251.0}}},
    {"min governor at sensor 2's failed level (record 29)", "CNFG_CHECK.MIN_SPD_ERROR_OR.OR",
     {{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 3000.0}},
     {{"CNFG_SPEED.CONFIG_B.IN_1", 0}}},
    {"idle 1 at sensor 1's failed level (record 29)", "CNFG_CHECK.MIN_SPD_ERROR_OR.OR",
     {{"CNFG_START.CONFIG_A.IN_1", 250.0}}, {{"CNFG_CHECK.IDLE_MN_SPD_ERROR.IN_3", 0}}},
    {"idle 1 at sensor 2's failed level (record 29)", "CNFG_CHECK.MIN_SPD_ERROR_OR.OR",
     {{"CNFG_SPEED.SPD2_LOW_SP.IN", 1000.0}}, {{"CNFG_SPEED.CONFIG_B.IN_1", 0}}},
    {"idle 1 at minimum governor (record 30)", "CNFG_CHECK.IDL_ERROR.AND",
     {{"CNFG_START.CONFIG_A.IN_1", 3000.0}}, {{"CNFG_START.CONFIG_A.IN_1", 2999.0}}},
    {"band rate at the slow rate (record 32)", "CNFG_CHECK.CRIT_RATE.AND",
     {{"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 10.0}}, {{"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 10.5}}},
    {"band without idle/rated start (record 33)", "CNFG_CHECK.CRIT_ER_NI.B_SW",
     {{"CNFG_START.CONFIG_B.IN_2", 0}}, {{"CNFG_SETPT.CONFIG_B.IN_1", 0}}},
    {"band below idle 1 (record 34)", "CNFG_CHECK.USE_BND1.AND",
     {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 1000.0}}, {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 1000.5}}},
    {"band reaching minimum governor (record 35)", "CNFG_CHECK.USE_BND2.AND",
     {{"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 3000.0}}, {{"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2999.5}}},
    {"band high end at its low end (record 36)", "CNFG_CHECK.USE_BND3.AND",
     {{"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2000.0}}, {{"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2000.5}}},
    {"minimum governor equal to maximum (record 37)", "CNFG_CHECK.MIN_MAX_ERR.AND",
     {{"CNFG_SETPT.QT_MAX_GOV.IN", 3000.0}, {"CNFG_START.CONFIG_A.IN_2", 3000.0}},
     {{"CNFG_CHECK.MIN_MAX_ERR.IN_3", 0}}},
    {"overspeed test limit at max governor (record 38)", "CNFG_CHECK.MAX_GOV_OS_ER.A_COMPARE",
     {{"CNFG_SETPT.QT_OST_LIMIT.IN", 3600.0}}, {{"CNFG_SETPT.QT_OST_LIMIT.IN", 3600.5}}},
    {"overspeed trip at the test limit (record 39)", "CNFG_CHECK.OS_OSTSP_ER.A_COMPARE",
     {{"CNFG_SETPT.QT_OSPD_TRIP.IN", 3800.0}}, {{"CNFG_SETPT.QT_OSPD_TRIP.IN", 3799.5}}},
    {"rated below minimum governor (record 46)", "CNFG_CHECK.IR_MINERR.B_SW",
     {{"CNFG_START.CONFIG_A.IN_2", 2999.0}}, {{"CNFG_START.CONFIG_A.IN_2", 3000.0}}},
    {"rated above maximum governor (record 47)", "CNFG_CHECK.IR_MAXERR.B_SW",
     {{"CNFG_START.CONFIG_A.IN_2", 3601.0}}, {{"CNFG_START.CONFIG_B.IN_10", 0}}},
    {"analog input 1 on cascade input without cascade (record 11)", "CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME",
     {{"_ub6.FUNCT.IN", 3}}, {{"CNFG_CASC.CONFIG_B.IN_1", 1}}},
    {"analog input 4 on remote speed setpoint (record 14)", "CNFG_CHECK_AI.AI_04_CFG_ER.B_NAME",
     {{"_ub9.FUNCT.IN", 2}}, {{"CNFG_SETPT.CONFIG_B.IN_2", 1}}},
    {"analog input 1 on remote cascade setpoint (record 11)", "CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME",
     {{"_ub6.FUNCT.IN", 4}, {"CNFG_CASC.CONFIG_B.IN_1", 1}}, {{"CNFG_CASC.CONFIG_B.IN_4", 1}}},
    {"analog output 1 on a cascade function (record 19)", "CNFG_CHECK_AO.AO01CFG_ER.B_NAME",
     {{"_ub10.FUNCT.IN", 5}}, {{"_ub10.FUNCT.IN", 8}}},
    {"analog output 3 on remote cascade (record 21)", "CNFG_CHECK_AO.AO03CFG_ER.B_NAME",
     {{"_ub12.FUNCT.IN", 7}, {"CNFG_CASC.CONFIG_B.IN_1", 1}}, {{"CNFG_CASC.CONFIG_B.IN_4", 1}}},
    {"discrete input 1 on remote speed enable (record 2)", "CNFG_CHECK_BI.DI01CFG_ER.B_NAME",
     {{"_ub13.FUNCT.IN", 8}}, {{"CNFG_SETPT.CONFIG_B.IN_2", 1}}},
    {"discrete input 8 on speed/cascade lower (record 9)", "CNFG_CHECK_BI.DI08CFG_ER.B_NAME",
     {{"_ub20.FUNCT.IN", 25}}, {{"CNFG_CASC.CONFIG_B.IN_1", 1}}},
    {"relay 2 on a cascade function", "CNFG_CHECK_BO.BO_02_ERR.OR",
     {{"_ub21.RLY_FUNCT.IN", 14}}, {{"_ub21.USE_LVL_SW.IN", 1}}},
    {"relay 2 level switch on signal monitoring 1 not routed", "CNFG_CHECK_BO.BO_02_ERR.OR",
     {{"_ub21.USE_LVL_SW.IN", 1}, {"_ub21.LVL_SW_FUNCT.IN", 7}}, {{"_ub8.FUNCT.IN", 13}}},
    {"relay 3 on remote speed setpoint", "CNFG_CHECK_BO.BO_03_ERR.OR",
     {{"_ub22.RLY_FUNCT.IN", 6}}, {{"_ub22.RLY_FUNCT.IN", 21}}},
    {"relay 4 on remote cascade", "CNFG_CHECK_BO.BO_04_CNFG_ERR_AND.AND",
     {{"_ub23.RLY_FUNCT.IN", 18}, {"CNFG_CASC.CONFIG_B.IN_1", 1}}, {{"CNFG_CASC.CONFIG_B.IN_4", 1}}},
};

class ConfigChecks : public ConfigRig {
protected:
    void SetUp() override {
        ConfigRig::SetUp();
        start();
        lock();
        for (const auto& [name, value] : kConsistent) setCell(name, value);
        settle();
    }
    void apply(const Cells& cells) {
        for (const auto& [name, value] : cells) setCell(name, value);
        settle();
    }
    // The error cells that are set.
    std::vector<std::string> raised() {
        std::vector<std::string> r;
        for (const char* e : kErrors)
            if (boolean(e) != 0) r.push_back(e);
        return r;
    }
};

TEST_F(ConfigChecks, EachCheckRaisesForItsFaultAndClearsWhenCorrected) {
    EXPECT_EQ(raised(), std::vector<std::string>{});
    for (const Check& c : kChecks) {
        SCOPED_TRACE(c.what);
        apply(c.wrong);
        EXPECT_EQ(boolean(c.error), 1u);
        apply(c.corrected);
        EXPECT_EQ(boolean(c.error), 0u);
        // Back to the consistent configuration for the next case.
        apply(kConsistent);
        for (const char* ch : {"_ub6.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN", "_ub10.FUNCT.IN", "_ub12.FUNCT.IN",
                               "_ub13.FUNCT.IN", "_ub20.FUNCT.IN", "_ub21.RLY_FUNCT.IN", "_ub22.RLY_FUNCT.IN",
                               "_ub23.RLY_FUNCT.IN", "_ub21.LVL_SW_FUNCT.IN"})
            setCell(ch, 1);
        apply({{"_ub21.USE_LVL_SW.IN", 0}, {"CNFG_CASC.CONFIG_B.IN_1", 0}, {"CNFG_CASC.CONFIG_B.IN_4", 0},
               {"CNFG_SETPT.CONFIG_B.IN_2", 0}, {"CNFG_CHECK.IDLE_MN_SPD_ERROR.IN_3", 1},
               {"CNFG_CHECK.MIN_MAX_ERR.IN_3", 1}, {"CNFG_SPEED.SPD1_LOW_SP.IN", 250.0},
               {"CNFG_SPEED.SPD2_LOW_SP.IN", 250.0}});
        const std::vector<std::string> left = raised();
        EXPECT_EQ(left, std::vector<std::string>{});
    }
}

TEST_F(ConfigChecks, TheWizardSilencesInputChecksButNotOutputChecks) {
    apply({{"_ub6.FUNCT.IN", 3}, {"_ub13.FUNCT.IN", 11}, {"_ub10.FUNCT.IN", 6}});
    unlock();
    runPasses(R160, 15);
    setCell("CNFG_WIZ.WIZARD.IN", 1);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_BI.DI01CFG_ER.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_AO.AO01CFG_ER.B_NAME"), 1u);
    setCell("CNFG_WIZ.WIZARD.IN", 0);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_BI.DI01CFG_ER.B_NAME"), 1u);
}

// A function sampled but outside the check's table keeps the last result.
struct OutOfTable {
    const char* function;
    const char* error;
    int wrong, outside, good;
};

TEST_F(ConfigChecks, AFunctionOutsideTheCheckKeepsTheLastResult) {
    const OutOfTable cases[] = {
        // Relay functions are sampled 1 .. 25; relay 3's check knows 1 .. 21.
        {"_ub22.RLY_FUNCT.IN", "CNFG_CHECK_BO.BO_03_ERR.OR", 6, 22, 20},
        // Relay 2's check knows 1 .. 20.
        {"_ub21.RLY_FUNCT.IN", "CNFG_CHECK_BO.BO_02_ERR.OR", 7, 21, 20},
        // Analog output functions are sampled 1 .. 42; the check knows 1 .. 20.
        {"_ub11.FUNCT.IN", "CNFG_CHECK_AO.AO02CFG_ER.B_NAME", 5, 21, 20},
    };
    for (const OutOfTable& c : cases) {
        SCOPED_TRACE(c.function);
        apply({{c.function, double(c.wrong)}});
        EXPECT_EQ(boolean(c.error), 1u);
        apply({{c.function, double(c.outside)}});
        EXPECT_EQ(boolean(c.error), 1u);
        apply({{c.function, double(c.good)}});
        EXPECT_EQ(boolean(c.error), 0u);
        apply({{c.function, double(c.outside)}});
        EXPECT_EQ(boolean(c.error), 0u);
    }
}

// Each channel's function raises that channel's error and no other's.
struct ChannelKind {
    const char* prefix;   // entered function of channel k: prefix + (first + k) + ".FUNCT.IN"
    int first, count;
    int needs_cascade;    // a function that needs cascade control
    const char* const* errors;
    const char* const* steps;  // the error's steps, nullptr when the error is the only cell
};
const char* const kAiErrors[] = {"CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME", "CNFG_CHECK_AI.AI_02_CFG_ER.B_NAME",
                                 "CNFG_CHECK_AI.AI_03_CFG_ER.B_NAME", "CNFG_CHECK_AI.AI_04_CFG_ER.B_NAME"};
const char* const kAoErrors[] = {"CNFG_CHECK_AO.AO01CFG_ER.B_NAME", "CNFG_CHECK_AO.AO02CFG_ER.B_NAME",
                                 "CNFG_CHECK_AO.AO03CFG_ER.B_NAME"};
const char* const kAiSteps[] = {"CNFG_CHECK_AI.AI_01_CNFG_ERR.NOT", "CNFG_CHECK_AI.AI_02_CNFG_ERR.NOT",
                                "CNFG_CHECK_AI.AI_03_CNFG_ERR.NOT", "CNFG_CHECK_AI.AI_04_CNFG_ERR.NOT"};
const char* const kBiSteps[] = {"CNFG_CHECK_BI.CHK1.AND", "CNFG_CHECK_BI.CHK2.AND", "CNFG_CHECK_BI.CHK3.AND",
                                "CNFG_CHECK_BI.CHK4.AND", "CNFG_CHECK_BI.CHK5.AND", "CNFG_CHECK_BI.CHK6.AND",
                                "CNFG_CHECK_BI.CHK7.AND", "CNFG_CHECK_BI.CHK8.AND"};
const char* const kBiErrors[] = {"CNFG_CHECK_BI.DI01CFG_ER.B_NAME", "CNFG_CHECK_BI.DI02CFG_ER.B_NAME",
                                 "CNFG_CHECK_BI.DI03CFG_ER.B_NAME", "CNFG_CHECK_BI.DI04CFG_ER.B_NAME",
                                 "CNFG_CHECK_BI.DI05CFG_ER.B_NAME", "CNFG_CHECK_BI.DI06CFG_ER.B_NAME",
                                 "CNFG_CHECK_BI.DI07CFG_ER.B_NAME", "CNFG_CHECK_BI.DI08CFG_ER.B_NAME"};

TEST_F(ConfigChecks, EachChannelRaisesItsOwnError) {
    setCell("_ub15.WIZ_ENA.IN", 0);
    const ChannelKind kinds[] = {{"_ub", 6, 4, 3, kAiErrors, kAiSteps},
                                 {"_ub", 10, 3, 6, kAoErrors, nullptr},
                                 {"_ub", 13, 8, 12, kBiErrors, kBiSteps}};
    for (const ChannelKind& kind : kinds) {
        for (int k = 0; k < kind.count; ++k) {
            const std::string entered = kind.prefix + std::to_string(kind.first + k) + ".FUNCT.IN";
            SCOPED_TRACE(entered);
            apply({{entered.c_str(), double(kind.needs_cascade)}});
            for (int j = 0; j < kind.count; ++j) {
                EXPECT_EQ(boolean(kind.errors[j]), j == k ? 1u : 0u) << kind.errors[j];
                if (kind.steps) {
                    EXPECT_EQ(boolean(kind.steps[j]), j == k ? 1u : 0u) << kind.steps[j];
                }
            }
            apply({{entered.c_str(), 1}});
            EXPECT_EQ(boolean(kind.errors[k]), 0u);
        }
    }
}

}  // namespace
}  // namespace cfg_test
