// The duplicate-function checks in the running program: a function chosen
// by two inputs is found for analog and for discrete inputs; a remote node
// that is not enabled leaves the channel sum but still fills its functions'
// slots, so a function it alone still holds is a finding until its inputs
// are set back to "not used".
#include <array>
#include <string>

#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

// Function numbers of the four controller analog inputs and the remote
// node's eight, whether the node is enabled, and the expected finding.
struct AiCase {
    const char* what;
    std::array<int, 4> controller;
    std::array<int, 8> remote;
    bool node_enabled;
    bool duplicate;
};

const AiCase kAiCases[] = {
    {"all not used", {1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, true, false},
    {"distinct functions", {2, 5, 9, 13}, {3, 6, 10, 1, 1, 1, 1, 20}, true, false},
    {"inputs 1 and 3 on function 5", {5, 1, 5, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, true, true},
    {"controller and remote on function 9", {9, 1, 1, 1}, {1, 1, 9, 1, 1, 1, 1, 1}, true, true},
    {"two remote inputs on function 9", {1, 1, 1, 1}, {1, 1, 9, 1, 9, 1, 1, 1}, true, true},
    {"disabled node's input on a controller's function", {9, 1, 1, 1}, {1, 1, 9, 1, 1, 1, 1, 1}, false, false},
    {"disabled node keeping function 9 alone", {1, 1, 1, 1}, {1, 1, 9, 1, 1, 1, 1, 1}, false, true},
    {"disabled node's input set back to not used", {1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, false, false},
    {"disabled node, controller duplicate", {7, 7, 1, 1}, {1, 1, 9, 1, 1, 1, 1, 1}, false, true},
};

// Function numbers of the eight controller discrete inputs and the remote
// node's sixteen.
struct BiCase {
    const char* what;
    std::array<int, 8> controller;
    std::array<int, 16> remote;
    bool node_enabled;
    bool duplicate;
};

constexpr std::array<int, 16> kRemoteUnused = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
const BiCase kBiCases[] = {
    {"distinct functions", {2, 3, 4, 5, 6, 7, 1, 1}, kRemoteUnused, true, false},
    {"inputs 1 and 2 on function 6", {6, 6, 4, 5, 1, 7, 1, 1}, kRemoteUnused, true, true},
    {"input 3 shares a function", {2, 3, 6, 5, 6, 7, 1, 1}, kRemoteUnused, true, false},
    {"remote inputs on function 1", {2, 3, 4, 5, 6, 7, 1, 1}, kRemoteUnused, true, false},
    {"controller and remote on function 6", {2, 3, 4, 5, 6, 7, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 6}, true, true},
    {"two remote inputs on function 20", {2, 3, 4, 5, 6, 7, 1, 1},
     {20, 1, 1, 1, 1, 1, 1, 1, 1, 20, 1, 1, 1, 1, 1, 1}, true, true},
    {"remote input 13 on a controller's function", {2, 3, 4, 5, 6, 7, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 6, 1, 1, 1}, true, true},
    {"remote input 1 alone on function 20", {2, 3, 4, 5, 6, 7, 1, 1},
     {20, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, true, false},
    {"disabled node's input on a controller's function", {2, 3, 4, 5, 6, 7, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 6}, false, false},
    {"disabled node keeping function 20 alone", {2, 3, 4, 5, 6, 7, 1, 1},
     {20, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, false, true},
    {"disabled node's input 16 alone on function 30", {2, 3, 4, 5, 6, 7, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 30}, false, true},
    {"disabled node's inputs set back to not used", {2, 3, 4, 5, 6, 7, 1, 1}, kRemoteUnused, false, false},
};

// Module of remote discrete input n (1 .. 16).
std::string remoteBi(int n) {
    if (n == 1) return "_ub59";
    return "_ub" + std::to_string(n <= 9 ? 65 + n : 50 + n);
}

class Duplicates : public ConfigRig {
protected:
    // The channel's function compared with 1 ("not used") beside its switch value.
    void expectNotUsed(const std::string& block, int function) {
        EXPECT_EQ(boolean(block + "_NOT_USED.EQ"), function == 1 ? 1u : 0u) << block;
        EXPECT_EQ(boolean(block + "_NOT_USED.GT"), function > 1 ? 1u : 0u) << block;
        EXPECT_EQ(boolean(block + "_NOT_USED.LT"), function < 1 ? 1u : 0u) << block;
    }

    void SetUp() override {
        ConfigRig::SetUp();
        start();
        lock();
        // Input 3 takes its entered function, not the wizard's.
        setCell("_ub15.WIZ_ENA.IN", 0);
    }
};

TEST_F(Duplicates, AnalogInputs) {
    for (const AiCase& c : kAiCases) {
        SCOPED_TRACE(c.what);
        for (int k = 0; k < 4; ++k) setCell("_ub" + std::to_string(6 + k) + ".FUNCT.IN", c.controller[k]);
        for (int k = 0; k < 8; ++k) setCell("_ub" + std::to_string(33 + k) + ".FUNCT.IN", c.remote[k]);
        setCell("CNFG_CAN2.VL1_ENA.IN", c.node_enabled);
        settle();
        EXPECT_EQ(boolean("CNFG_CHECK_AI.DUPLICATE_AI.B_NAME"), c.duplicate ? 1u : 0u);
        for (int k = 0; k < 4; ++k) expectNotUsed("CNFG_CHECK_AI.AI_0" + std::to_string(k + 1), c.controller[k]);
        for (int k = 0; k < 8; ++k) expectNotUsed("CNFG_CHECK_VL.VL_AI_" + std::to_string(k + 1), c.remote[k]);
    }
}

TEST_F(Duplicates, TheSumsDifferByTheDuplicatedFunction) {
    set({{"_ub6.FUNCT.IN", 5}, {"_ub8.FUNCT.IN", 5}, {"_ub7.FUNCT.IN", 12}});
    settle();
    EXPECT_EQ(integer("CNFG_CHECK_AI.AI_ADD1.I_ADD") - integer("CNFG_CHECK_AI.AI_ADD2.I_ADD"), 5);
    EXPECT_EQ(integer("CNFG_CHECK_AI.AI_ADD2.I_ADD"), 17);
    // Each function chosen fills its own slot, function 1 (not used) too,
    // though the slot sum leaves slot 1 out.
    for (int slot = 1; slot <= 20; ++slot)
        EXPECT_EQ(integer("CNFG_CHECK_AI.AI_FUNCT.OUT_" + std::to_string(slot)),
                  slot == 1 || slot == 5 || slot == 12 ? slot : 0)
            << slot;
}

TEST_F(Duplicates, DiscreteInputs) {
    for (const BiCase& c : kBiCases) {
        SCOPED_TRACE(c.what);
        for (int k = 0; k < 8; ++k) setCell("_ub" + std::to_string(13 + k) + ".FUNCT.IN", c.controller[k]);
        for (int n = 1; n <= 16; ++n) setCell(remoteBi(n) + ".FUNCT.IN", c.remote[n - 1]);
        setCell("CNFG_CAN2.VL4_ENA.IN", c.node_enabled);
        settle();
        EXPECT_EQ(boolean("CNFG_CHECK_BI.DUPLICATDI.B_NAME"), c.duplicate ? 1u : 0u);
        EXPECT_EQ(integer("CNFG_DUP_CHK_BI.BI_ADD4.I_ADD"), integer("CNFG_DUP_CHK_BI.BI_ADD2.I_ADD"));
        // Input 3 takes no part in the check.
        for (int k : {0, 1, 3, 4, 5, 6, 7}) expectNotUsed("CNFG_DUP_CHK_BI.BI_0" + std::to_string(k + 1), c.controller[k]);
        for (int n = 1; n <= 16; ++n)
            expectNotUsed(std::string("CNFG_CHECK_VL.BI_") + (n < 10 ? "0" : "") + std::to_string(n), c.remote[n - 1]);
    }
}

// Each remote input on a function a controller input holds is a duplicate
// while its node is enabled and none while it is not.
TEST_F(Duplicates, EachRemoteInputTakesPartWhileItsNodeIsEnabled) {
    set({{"_ub6.FUNCT.IN", 9}, {"_ub17.FUNCT.IN", 6}, {"CNFG_CAN2.VL1_ENA.IN", 1}, {"CNFG_CAN2.VL4_ENA.IN", 1}});
    for (int n = 1; n <= 8; ++n) {
        const std::string entered = "_ub" + std::to_string(32 + n) + ".FUNCT.IN";
        SCOPED_TRACE(entered);
        setCell(entered, 9);
        settle();
        EXPECT_EQ(boolean("CNFG_CHECK_AI.DUPLICATE_AI.B_NAME"), 1u);
        EXPECT_EQ(integer("CNFG_CHECK_VL.VL_FUNCT.I_ADD"), 9);
        setCell(entered, 1);
    }
    for (int n = 1; n <= 16; ++n) {
        const std::string entered = remoteBi(n) + ".FUNCT.IN";
        const std::string sw = std::string("CNFG_CHECK_VL.BI_") + (n < 10 ? "0" : "") + std::to_string(n) + "_SW.I_SW";
        SCOPED_TRACE(entered);
        setCell(entered, 6);
        settle();
        EXPECT_EQ(boolean("CNFG_CHECK_BI.DUPLICATDI.B_NAME"), 1u);
        EXPECT_EQ(integer("CNFG_CHECK_VL.BI_FUNCT.I_ADD"), 6);
        // Alone on its function: no finding.
        setCell(entered, 20);
        settle();
        EXPECT_EQ(boolean("CNFG_CHECK_BI.DUPLICATDI.B_NAME"), 0u);
        EXPECT_EQ(integer(sw), 20);
        setCell(entered, 1);
    }
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_AI.DUPLICATE_AI.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_BI.DUPLICATDI.B_NAME"), 0u);
}

}  // namespace
}  // namespace cfg_test
