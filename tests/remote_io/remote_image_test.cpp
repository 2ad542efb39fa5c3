// The remote nodes' value image through the whole program: the analog,
// discrete-input and relay nodes simulated on the bus, their values in the
// image's two lists in row order.
#include <cmath>
#include <string>

#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

constexpr uint32_t kDiPdo = 0x184, kRelayReadbackPdo = 0x185;


class RemoteImage : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::AnalogIO, 1);
        addNode(Kind::DiscreteIn, 4);
        addNode(Kind::RelayOut, 5);
        addNode(Kind::Rtd, 3);
        // Inputs 1 .. 8 at 4, 6, .. 18 mA.
        pdo(0x281, words({nodeMa(4), nodeMa(6), nodeMa(8), nodeMa(10)}));
        pdo(0x381, words({nodeMa(12), nodeMa(14), nodeMa(16), nodeMa(18)}));
        pdo(0x481, words({0, 0}));
        pdo(kDiPdo, words({0x0000}));
        pdo(kRelayReadbackPdo, words({0x0000}));
        // RTD channels 1 .. 8 at 101 .. 108 C (1/16 degree), in the same
        // passes as the other nodes' PDOs.
        pdo(0x283, words({0x0650, 0x0660, 0x0670, 0x0680}));
        pdo(0x383, words({0x0690, 0x06A0, 0x06B0, 0x06C0}));
        startWithNodes({"CNFG_CAN2.VL1_ENA.IN", "CNFG_CAN2.VL3_ENA.IN", "CNFG_CAN2.VL4_ENA.IN", "CNFG_CAN2.VL5_ENA.IN"},
                       {"CNFG_CAN2.VL_NODE1_AIO.ACTIVE", "CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE",
                        "CNFG_CAN2.VL_NODE4_BI.ACTIVE", "CNFG_CAN2.VL_NODE5_BO.ACTIVE"});
    }
    std::string b(int row) { return "MOD_VL_IO.VL_B_STATES.LIST_" + std::to_string(row); }
    std::string a(int row) { return "MOD_VL_IO.VL_A_VALUES.LIST_" + std::to_string(row); }
};

TEST_F(RemoteImage, EveryRowCarriesItsSourceInOrder) {
    // Contact 16 inverted, outputs 1 and 2 on functions 2 and 3; taken over
    // while live configuration is allowed.
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
    setCell("_ub66.INVRT.IN", 1);
    setCell("_ub42.FUNCT.IN", 3);
    setCell("_ub41.FUNCT.IN", 2);
    run(8 * 4);
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 0);
    // Contacts 1 .. 16 in rows 1 .. 16 and relays 1 .. 16 in rows 17 .. 32,
    // each with its own states; contact 16 raw, before the inversion the
    // node list shows.
    for (uint16_t contacts : kBitPatterns) {
        pdo(kDiPdo, words({contacts}));
        run(8 * 3);
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(boolean(b(k)), (contacts >> (k - 1)) & 1u) << "contact " << k << " of " << std::hex << contacts;
        EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_16"), 1u - (contacts >> 15));
    }
    for (uint16_t relays : kBitPatterns) {
        energiseRelays(relays);
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(boolean(b(16 + k)), (relays >> (k - 1)) & 1u) << "relay " << k << " of " << std::hex << relays;
    }

    for (int k = 1; k <= 8; ++k) {
        const float v = real("_ub" + std::to_string(32 + k) + ".VALUE.A_NAME");
        EXPECT_EQ(real(a(k)), v) << "input " << k;
        if (k > 1) {
            EXPECT_NE(real(a(k)), real(a(k - 1))) << "input " << k;
        }
    }
    EXPECT_EQ(real(a(9)), real("_ub41.VAL.A_NAME"));
    EXPECT_EQ(real(a(10)), real("_ub42.VAL.A_NAME"));
    EXPECT_NE(real(a(9)), real(a(10)));
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(real(a(10 + k)), real("VL3_RTD.RTD" + std::to_string(k) + ".A_SW"));
        EXPECT_NEAR(real(a(10 + k)), (100.0f + k) * 1.8f + 32.0f, 0.01f) << "RTD " << k;  // in deg F
    }

    // The discrete-input node falls silent: its rows read open.
    pdo(kDiPdo, {});
    for (int p = 0; p < 600 && boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE") != 0; ++p) run(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 0u);
    run(2);
    for (int k = 1; k <= 16; ++k) EXPECT_EQ(boolean(b(k)), 0u) << "contact " << k;
    EXPECT_EQ(boolean(b(17)), 1u);
}

}  // namespace
}  // namespace rio_test
