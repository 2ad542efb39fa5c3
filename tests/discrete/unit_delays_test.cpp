// The first block of the 160 ms unit delays through real passes: each delay
// output seen during a pass is its input of the pass before, a real that is
// not finite arrives as 0.0, and the slots that share an input commit the
// same value.
#include <limits>
#include <vector>

#include "app/control/CASC_ENTRD.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/F_KEY.cells.h"
#include "tests/discrete/discrete_rig.h"

namespace di_test {
namespace {

// A counter block ahead of the stores: counts one up per pass and notes the
// delay outputs it sees, as a block of the pass reading them would.
std::vector<float> g_seen_real;
std::vector<uint32_t> g_seen_bool;
void counting_block() {
    using namespace r160;
    g_seen_real.push_back(COND_MON.WAIT_CNT_1_ZMINUS1);
    g_seen_bool.push_back(F_KEY.Z1_ZMINUS1_B);
    COND_MON.START_TURB_COUNTER = static_cast<float>(g_seen_real.size());
    F_KEY.BLINK_OFF_ONE_SHOT = static_cast<uint32_t>(g_seen_real.size() % 2);
}

class UnitDelays : public DiscreteRig {
protected:
    void SetUp() override {
        DiscreteRig::SetUp();
        g_seen_real.clear();
        g_seen_bool.clear();
        useSlices(R160, {counting_block, _R160_TASK_81, _R160_TASK_82});
    }
};

TEST_F(UnitDelays, EveryOutputSeenDuringAPassIsTheInputOfThePassBefore) {
    start();
    runPasses(R160, 5);
    ASSERT_GE(g_seen_real.size(), 6u);
    EXPECT_EQ(g_seen_real[0], 0.0f) << "the stores start cleared";
    EXPECT_EQ(g_seen_bool[0], 0u);
    for (size_t k = 1; k < g_seen_real.size(); ++k) {
        EXPECT_EQ(g_seen_real[k], static_cast<float>(k)) << "pass " << k;
        EXPECT_EQ(g_seen_bool[k], static_cast<uint32_t>(k % 2)) << "pass " << k;
    }
}

struct SlotCase {
    const char* name;
    const char* input;
    const char* output;
    float value;
    float committed;
};
class UnitDelaySlot : public UnitDelays, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(UnitDelaySlot, InputReachesItsOutputAtTheEndOfThePass) {
    const SlotCase& c = GetParam();
    useSlices(R160, {_R160_TASK_81, _R160_TASK_82});
    start();
    setCell(c.input, c.value);
    runPasses(R160, 2);
    EXPECT_EQ(real(c.output), c.committed);
}
constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNan = std::numeric_limits<float>::quiet_NaN();
const SlotCase kSlotCases[] = {
    {"CascadeSetpointThroughItsCopy", "CASC_SETPT.SETPT.RAMP", "CASC_SETPT.SETPT_Z.ZMINUS1", 42.5f, 42.5f},
    {"ScaledCascadeIntoTheFirstOfTwoSlots", "MOD_SCALE.CASC_MOD1.DIVIDE", "CASC_ENTRD.M1_AW3_Z.ZMINUS1", 3.25f, 3.25f},
    {"ScaledCascadeIntoTheSecondOfTwoSlots", "MOD_SCALE.CASC_MOD1.DIVIDE", "CASC_ENTRD.OPC_AW2_Z.ZMINUS1", 3.25f, 3.25f},
    {"CounterOverflowToInfinityArrivesAsZero", "COND_MON.OSPD_CNT.COUNTER", "COND_MON.WAIT_CNT_11.ZMINUS1", kInf, 0.0f},
    {"NotANumberArrivesAsZero", "COND_MON.TRUNLDCALC.CALCULATE", "COND_MON.WAIT_TMR_2.ZMINUS1", kNan, 0.0f},
    {"LastRealSlot", "CRIT_SPD.RTIME.OUT_1", "CRIT_SPD.MAXTIMEZ.ZMINUS1", -7.0f, -7.0f},
};
INSTANTIATE_TEST_SUITE_P(Slots, UnitDelaySlot, ::testing::ValuesIn(kSlotCases),
                         [](const ::testing::TestParamInfo<SlotCase>& i) { return std::string(i.param.name); });

TEST_F(UnitDelays, EveryBooleanSlotCommitsItsOwnInput) {
    useSlices(R160, {_R160_TASK_81, _R160_TASK_82});
    start();
    const std::pair<const char*, const char*> slots[] = {
        {"MOD_LNK_STAT.LNK_ERR.AND", "MOD.LNK1_ERR_Z.ZMINUS1_B"},
        {"MOD_LNK_STAT.LNK2_ERR.AND", "MOD.LNK2_ERR_Z.ZMINUS1_B"},
        {"MOD_LNK_STAT.LNK3_ERR.AND", "MOD.LNK3_ERR_Z.ZMINUS1_B"},
        {"F_KEY.BLINK_OFF.ONE_SHOT", "F_KEY.Z1.ZMINUS1_B"},
        {"CASC_ENTRD.SMPL_M1.OR", "CASC_ENTRD.SAMPLEMOD1.ZMINUS1_B"},
        {"CASC_ENTRD.RST_M1.OR", "CASC_ENTRD.RST_M1_Z.ZMINUS1_B"},
        {"CASC_ENTRD.LIMITED.DELAY", "CASC_ENTRD.SAMPLE_Z.ZMINUS1_B"},
        {"CASC_ENTRD.RST_ENTR.OR", "CASC_ENTRD.RST_ENTR_Z.ZMINUS1_B"},
        {"CASC_ENTRD.SMPL_OPC.OR", "CASC_ENTRD.SAMPLEOPC.ZMINUS1_B"},
        {"CASC_ENTRD.RST_OPC.OR", "CASC_ENTRD.RST_OPC_Z.ZMINUS1_B"},
        {"COND_MON.END.DELAY", "COND_MON.LAST.ZMINUS1_B"},
        {"COND_MON.RSTNVTRIG.A_COMPARE", "COND_MON.LOOP1.ZMINUS1_B"},
    };
    // One input on at a time: only its own output follows.
    for (const auto& on : slots) {
        SCOPED_TRACE(on.first);
        for (const auto& s : slots) setCell(s.first, s.first == on.first ? 1 : 0);
        runPasses(R160, 1);
        for (const auto& s : slots) EXPECT_EQ(boolean(s.second), s.first == on.first ? 1u : 0u) << s.second;
    }
}

}  // namespace
}  // namespace di_test
