// The remote discrete-input node's contacts through the whole program: a
// simulated node is configured and started by the program, the test sends its
// input PDO, and the contacts reach their channels, the node's lists and the
// function slots of their configured functions.
#include <string>
#include <tuple>

#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

constexpr uint32_t kDiPdo = 0x184;

class RemoteDiscreteInputs : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::DiscreteIn, 4);
        pdo(kDiPdo, words({0x0000}));
        startWithNodes({"CNFG_CAN2.VL4_ENA.IN"}, {"CNFG_CAN2.VL_NODE4_BI.ACTIVE"});
    }
    // Channel settings taken over while live configuration is allowed.
    void configureLive(std::initializer_list<std::pair<const char*, double>> cells) {
        setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
        set(cells);
        run(8 * 4);
        setCell("CNFG_CAN2.CNFG_LIVE.IN", 0);
        run(8 * 2);
    }
    void contacts(uint16_t word) {
        pdo(kDiPdo, words({word}));
        run(10);
    }
    uint32_t slot(int function) { return boolean("BI_MUX.CONT_MUX.OUT_" + std::to_string(function)); }
};

TEST_F(RemoteDiscreteInputs, ContactsReachTheirFunctionsAndReadOpenOnceTheNodeFallsSilent) {
    // Input 2 (_ub67) lowers the speed; input 16 (_ub66) is inverted;
    // input 10 (_ub60) carries the E-stop function.
    configureLive({{"_ub67.FUNCT.IN", 2}, {"_ub66.FUNCT.IN", 14}, {"_ub66.INVRT.IN", 1}, {"_ub60.FUNCT.IN", 4},
                   {"VL4_BI.FUNC_TO_TRIP_16.IN_2", 10}});
    EXPECT_EQ(slot(2), 0u);
    // Each input's function compared with 1 ("not used"): exactly one of three.
    for (const auto& [n, gt, eq] : {std::tuple{"02", 1u, 0u}, {"16", 1u, 0u}, {"03", 0u, 1u}}) {
        const std::string b = std::string("CNFG_CHECK_VL.BI_") + n + "_NOT_USED.";
        EXPECT_EQ(boolean(b + "GT"), gt) << n;
        EXPECT_EQ(boolean(b + "EQ"), eq) << n;
        EXPECT_EQ(boolean(b + "LT"), 0u) << n;
    }
    contacts(0x0002);
    EXPECT_EQ(boolean("VL4_BI.BIN_02.VL_BIN"), 1u);
    EXPECT_EQ(boolean("VL4_BI.BIN_01.VL_BIN"), 0u);
    EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_2"), 1u);
    EXPECT_EQ(slot(2), 1u);
    EXPECT_EQ(boolean("BI_MUX.SPD_LWR_CONT.B_NAME"), 1u);
    // The inverted input reads closed while its contact is open.
    EXPECT_EQ(boolean("VL4_BI.BIN_16.VL_BIN"), 0u);
    EXPECT_EQ(boolean("_ub66.BI_SIGNAL.B_NAME"), 1u);
    EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_16"), 1u);
    // Each bit to its own input: bit 9 is input 10, bit 15 input 16.
    contacts(0x8200);
    EXPECT_EQ(boolean("VL4_BI.BIN_02.VL_BIN"), 0u);
    EXPECT_EQ(boolean("VL4_BI.BIN_10.VL_BIN"), 1u);
    EXPECT_EQ(boolean("VL4_BI.BIN_16.VL_BIN"), 1u);
    EXPECT_EQ(boolean("_ub66.BI_SIGNAL.B_NAME"), 0u);
    EXPECT_EQ(slot(2), 0u);
    // The E-stop input is time-stamped whatever its range says.
    EXPECT_EQ(boolean("_ub60.ESTOP.EQ"), 1u);
    EXPECT_EQ(boolean("_ub60.DI_TS_FUNC_RANGE_OR.OR"), 1u);
    // The function lists and trip indexes (function less its offset).
    EXPECT_EQ(integer("VLTR_OUTS.VL_BINS_FUN.LIST_2"), 2);
    EXPECT_EQ(integer("VLTR_OUTS.VL_BINS_FUN.LIST_16"), 14);
    for (int n = 1; n <= 16; ++n) {
        const int function = n == 2 ? 2 : n == 10 ? 4 : n == 16 ? 14 : 1;
        const int offset = n == 16 ? 10 : 13;
        EXPECT_EQ(integer(std::string("VL4_BI.FUNC_TO_TRIP_") + (n < 10 ? "0" : "") + std::to_string(n) +
                          ".I_SUBTRACT"),
                  function - offset)
            << n;
    }

    // The node falls silent: once it is no longer active every contact
    // reads open, and the inverted input reads closed.
    contacts(0x0002);
    ASSERT_EQ(slot(2), 1u);
    pdo(kDiPdo, {});
    int passes = 0;
    while (boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE") != 0 && passes < 500) {
        run(1);
        ++passes;
        if (boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE") != 0) {
            EXPECT_EQ(boolean("VL4_BI.BIN_02.VL_BIN"), 1u);
        }
    }
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 0u);
    run(2);
    EXPECT_EQ(boolean("VL4_BI.BIN_02.VL_BIN"), 0u);
    EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_2"), 0u);
    EXPECT_EQ(slot(2), 0u);
    EXPECT_EQ(boolean("_ub66.BI_SIGNAL.B_NAME"), 1u);

    // A new function sampled for input 3: its check cells show it in the
    // pass in which the input takes it.
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
    setCell("_ub68.FUNCT.IN", 3);
    for (int p = 0; p < 8 * 6 && integer("_ub68.FUNCT_INT.I_NAME") != 3; ++p) run(1);
    ASSERT_EQ(integer("_ub68.FUNCT_INT.I_NAME"), 3);
    EXPECT_EQ(integer("CNFG_CHECK_VL.BI_03_SW.I_SW"), 3);
    EXPECT_EQ(boolean("CNFG_CHECK_VL.BI_03_NOT_USED.GT"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_VL.BI_03_NOT_USED.EQ"), 0u);
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 0);
}


// The wizard's function for each of the sixteen inputs: its setting, copied
// to its own input.
TEST_F(RemoteDiscreteInputs, EachInputsWizardFunctionIsItsOwnSetting) {
    for (int n = 1; n <= 16; ++n) setCell("VL4_BI.WIZFUN_BI_CH" + std::to_string(n) + ".IN", n + 1);
    run(8 * 3);
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(integer("VL4_BI.WIZFUN_BI_CH" + std::to_string(n) + ".I_NAME"), n + 1) << n;
}

}  // namespace
}  // namespace rio_test
