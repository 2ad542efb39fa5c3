// The first block of the 160 ms unit delays. On the whole program, driven
// only through its inputs: each delay output, after every 160 ms pass, is
// its input as the pass computed it (so the slot is stored after the slice
// that computes its source), the blocks that read an output during a pass
// see the input of the pass before, and the two slots that share an input
// commit the same value. A real that is not finite arrives as 0.0 only on
// the unit-delay slices alone: no module of the program produces such a
// count or run time.
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "runtime/catalogue.h"
#include "tests/discrete/discrete_rig.h"
#include "tests/interface/program_cases_rig.h"
#include "tests/protection/whole_rig.h"

namespace di_test {
namespace {

// ---- on the whole program ---------------------------------------------------------------

// `moves`: the scenario below moves the input. The Modbus cascade value
// and its reset move only under a Modbus master writing to the controller
// (without one the Modbus link alarm stands): those stay at one value
// here, and the Modbus case below moves them.
struct DelayPair {
    const char *in, *out;
    bool moves = true;
};
const DelayPair kDelays[] = {
    {"MOD_LNK_STAT.LNK_ERR.AND", "MOD.LNK1_ERR_Z.ZMINUS1_B"},
    {"MOD_LNK_STAT.LNK2_ERR.AND", "MOD.LNK2_ERR_Z.ZMINUS1_B"},
    {"MOD_LNK_STAT.LNK3_ERR.AND", "MOD.LNK3_ERR_Z.ZMINUS1_B"},
    {"F_KEY.BLINK_OFF.ONE_SHOT", "F_KEY.Z1.ZMINUS1_B"},
    {"CASC_SETPT.SETPT.RAMP", "CASC_SETPT.SETPT_Z.ZMINUS1"},
    {"MOD_SCALE.CASC_MOD1.DIVIDE", "CASC_ENTRD.M1_AW3_Z.ZMINUS1", false},
    {"CASC_ENTRD.SMPL_M1.OR", "CASC_ENTRD.SAMPLEMOD1.ZMINUS1_B"},
    {"MOD_SCALE.CASC_SCALE.A_NAME", "MOD_SCALE.LAST_CASC.ZMINUS1"},
    {"CASC_ENTRD.RST_M1.OR", "CASC_ENTRD.RST_M1_Z.ZMINUS1_B", false},
    {"CASC_ENTRD.ENTR_CASC_SP_A_SW.A_SW", "CASC_ENTRD.ENTR_SP_Z.ZMINUS1"},
    {"CASC_ENTRD.LIMITED.DELAY", "CASC_ENTRD.SAMPLE_Z.ZMINUS1_B"},
    {"CASC_ENTRD.RST_ENTR.OR", "CASC_ENTRD.RST_ENTR_Z.ZMINUS1_B"},
    {"MOD_SCALE.CASC_MOD1.DIVIDE", "CASC_ENTRD.OPC_AW2_Z.ZMINUS1", false},
    {"CASC_ENTRD.SMPL_OPC.OR", "CASC_ENTRD.SAMPLEOPC.ZMINUS1_B"},
    {"CASC_ENTRD.RST_OPC.OR", "CASC_ENTRD.RST_OPC_Z.ZMINUS1_B"},
    {"COND_MON.END.DELAY", "COND_MON.LAST.ZMINUS1_B"},
    {"COND_MON.START_TURB.COUNTER", "COND_MON.WAIT_CNT_1.ZMINUS1"},
    {"COND_MON.OSPD_CNT.COUNTER", "COND_MON.WAIT_CNT_11.ZMINUS1"},
    {"COND_MON.SD_CNT.COUNTER", "COND_MON.WAIT_CNT_3.ZMINUS1"},
    {"COND_MON.SDWLOAD1_CNT.COUNTER", "COND_MON.WAIT_CNT_4.ZMINUS1"},
    {"COND_MON.SDWLOAD2_CNT.COUNTER", "COND_MON.WAIT_CNT_5.ZMINUS1"},
    {"COND_MON.RSTNVTRIG.A_COMPARE", "COND_MON.LOOP1.ZMINUS1_B"},
    {"COND_MON.TRUNCALC.CALCULATE", "COND_MON.WAIT_TMR_1.ZMINUS1"},
    {"COND_MON.TRUNLD2CALC.CALCULATE", "COND_MON.WAIT_TMR_3.ZMINUS1"},
    {"COND_MON.TRUNLDCALC.CALCULATE", "COND_MON.WAIT_TMR_2.ZMINUS1"},
    {"CRIT_SPD.RTIME.OUT_1", "CRIT_SPD.MAXTIMEZ.ZMINUS1"},
};

class UnitDelaysProgram : public pr_test::WholeRig {
protected:
    float value(const char* name) {
        char type = 0;
        cell(name, &type);
        return type == 'A' ? real(name) : static_cast<float>(boolean(name));
    }
    // One 160 ms pass, then every output against its input as the pass
    // left it, and the readers of the outputs against the inputs of the
    // pass before.
    void pass() {
        const uint32_t blink_before = boolean("F_KEY.BLINK_OFF.ONE_SHOT");
        const float starts_before = real("COND_MON.START_TURB.COUNTER");
        run160(1);
        ++passes_;
        for (const DelayPair& d : kDelays) {
            const float in = value(d.in);
            // An input of a faster group reaches the store through its copy
            // at the start of the 160 ms frame: checked once it has stood
            // still over the pass.
            const bool own_group = std::string(dbug_find_in(app_dbug_tables(), d.in)->rate) == "_R160";
            const auto last = last_.find(d.in);
            if (own_group || (last != last_.end() && last->second == in)) {
                EXPECT_EQ(value(d.out), in) << d.out << " after pass " << passes_;
                seen_[d.in].insert(in);
            }
            last_[d.in] = in;
        }

        // The blink's on-delay runs on the inverse of the blink pulse of the
        // pass before; the start count shown (nothing being rewritten) is
        // the count of the pass before.
        EXPECT_EQ(boolean("F_KEY.N_BLINK.NOT"), blink_before == 0 ? 1u : 0u) << "pass " << passes_;
        if (boolean("COND_MON.WRITE_OS.ONE_SHOT") == 0) {
            EXPECT_EQ(real("COND_MON.SEL_CNT_1.A_SW"), starts_before) << "pass " << passes_;
        }
    }
    void passes(int n) {
        for (int k = 0; k < n; ++k) pass();
    }
    bool passesUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k < max && !done(); ++k) pass();
        return done();
    }
    int passes_ = 0;
    std::map<std::string, std::set<float>> seen_;
    std::map<std::string, float> last_;
};

// A unit with the remote speed setpoint and cascade on analog inputs 1 and
// 2, an automatic start to idle and then rated, all three Modbus links in use with no master on them, and the first
// critical band (2000 .. 2500 rpm) in use: powered up, started through the
// band to in control, cascade enabled and its process value moved, a
// cascade setpoint entered out of range and then in range from the service
// tool, the counters' rewrite command given, load taken on and an
// overspeed trip from the turbine model.
TEST_F(UnitDelaysProgram, EachOutputIsItsInputOfThePassBeforeThroughAStartAndATrip) {
    board::setAnalogInputMa(0, 12.0);
    board::setAnalogInputMa(1, 12.0);
    turbine::enable();
    startApp();
    enterSettings(true, true,
                  {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                   {"_ub6.FUNCT.IN", 2},
                   {"_ub6.RANGE_LO.IN", ref_test::kMinGov},
                   {"_ub6.RANGE_HI.IN", ref_test::kMaxGov},
                   {"CNFG_CASC.CONFIG_B.IN_1", 1},
                   {"_ub7.FUNCT.IN", 3},
                   {"CNFG_CASC.CONFIG_A.IN_2", 100.0},
                   {"CNFG_CASC.CONFIG_A.IN_3", 50.0},
                   {"CNFG_CASC.CONFIG_A.IN_4", ref_test::kMinGov + 100.0},
                   {"CNFG_CASC.CONFIG_A.IN_5", ref_test::kMaxGov - 100.0},
                   {"DATALOG.LOAD_LVL2.IN_2", 50.0},
                   {"CNFG_COMMS.LINK2_USED.IN", 1},
                   {"CNFG_COMMS.LINK3_USED.IN", 1},
                   {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 2000.0},
                   {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2500.0},
                   {"CNFG_SETPT.CONFIG_B.IN_1", 1},
                   {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 2000.0},
                   {"COND_MON.RSTNVTRIG.IN_2", 0.25}});
    passes(20);
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return RefRig::ready(); }, 50));
    startCommand();
    ASSERT_TRUE(passesUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    tune("IFACE_IN_START.IR_EN.IN", 1);
    pass();
    tune("IFACE_IN_START.IR_EN.IN", 0);
    ASSERT_TRUE(passesUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control";
    passes(10);
    // Cascade enabled, its process value moved.
    tune("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    passes(10);
    board::setAnalogInputMa(1, 14.0);
    passes(40);
    // A cascade setpoint entered out of range (held off after its delay),
    // then in range and gone to.
    tune("CASC_ENTRD.ENTR_CASC_SP.TUNE", 1000.0);
    passes(30);
    tune("CASC_ENTRD.ENTR_CASC_SP.TUNE", 60.0);
    passes(2);
    tune("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 1);
    pass();
    tune("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 0);
    passes(30);
    // The counters rewritten as they stand.
    tune("COND_MON.REWRITE_NV_CMD.IN_1", 1);
    passes(60);
    // Load on, then a trip from the trip contact, and while shut down the
    // shaft held above the overspeed trip.
    turbine::setLoad(0.8);
    passes(100);
    trip();
    passes(20);
    holdShaftAt(3990.0);
    passes(20);
    holdShaftAt(0.0);
    passes(10);
    // In configure mode the cascade input's function taken off analog
    // input 2: no cascade scale.
    lockIo();
    tune("_ub7.AI_MOD_X.IN", 5);
    tune("C_COMM.C1.IN", 1);
    tune("C_COMM.C2.IN", 1);
    passes(10);
    unlockIo();
    passes(10);
    // The periodic save of the counters, a quarter of an hour after the
    // power-up (its threshold entered as 0.25 h): the passes before it run
    // unchecked.
    while (real("COND_MON.NV_TRIG.OUT_1") < 0.245f) run160(100);
    ASSERT_TRUE(passesUntil([&] { return boolean("COND_MON.RSTNVTRIG.A_COMPARE") != 0; }, 200));
    passes(3);
    for (const DelayPair& d : kDelays) {
        if (d.moves) {
            EXPECT_GE(seen_[d.in].size(), 2u) << d.in << " never moved";
        }
    }
    // Trips above load level 1 (25 %) and level 2 (entered as 50 %): the
    // valve stood at about 64 % before the trip.
    EXPECT_EQ(real("COND_MON.SDWLOAD1_CNT.COUNTER"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDWLOAD2_CNT.COUNTER"), 1.0f);
}

// The Modbus path of the cascade setpoint: a Modbus master (mbpoll on the
// controller's TCP link 2, its writes enabled) writes the cascade
// setpoint's holding register on a unit with cascade configured, in
// control with cascade enabled. Both slots of the scaled value commit it,
// and the Modbus reset falls with the master's go command (coil 19) while
// the setpoint leaves for the written value; every 160 ms pass
// each output is its input.
class UnitDelaysModbus : public pc_test::ProgramCases {};

TEST_F(UnitDelaysModbus, TheModbusCascadeSlotsCommitTheirInputs) {
    startWithRemoteAndCascade({{"C_COMM.C1.IN", 1}, {"CNFG_COMMS.LINK2_USED.IN", 1}, {"CNFG_COMMS.PORT2_WRT_ENBL.IN", 1}});
    const auto check = [&] {
        runPasses(R160, 1);
        const float scaled = real("MOD_SCALE.CASC_MOD1.DIVIDE");
        EXPECT_EQ(real("CASC_ENTRD.M1_AW3_Z.ZMINUS1"), scaled);
        EXPECT_EQ(real("CASC_ENTRD.OPC_AW2_Z.ZMINUS1"), scaled);
        EXPECT_EQ(boolean("CASC_ENTRD.RST_M1_Z.ZMINUS1_B"), boolean("CASC_ENTRD.RST_M1.OR"));
        return std::make_pair(scaled, boolean("CASC_ENTRD.RST_M1.OR"));
    };
    const auto [before, reset_before] = check();
    EXPECT_EQ(before, 0.0f);
    EXPECT_EQ(reset_before, 1u) << "cascade tracking while not in control";
    // In control, cascade enabled from the service tool.
    startToInControl();
    tune("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    for (int k = 0; k < 60; ++k) check();
    // The master polls first (its link silent since power-up has failed),
    // then writes.
    for (int k = 0; k < 3; ++k) ASSERT_EQ(mbpoll("-t 4 -r 1").first, 0);
    const auto written = mbpoll("-t 4 -r 2", "500");
    ASSERT_EQ(written.first, 0) << written.second;
    // Its go command (coil 19): the setpoint leaves for the written value.
    const auto go = mbpoll("-t 0 -r 19", "1");
    ASSERT_EQ(go.first, 0) << go.second;
    std::set<uint32_t> resets;
    float scaled = 0.0f;
    for (int k = 0; k < 30; ++k) {
        const auto [v, r] = check();
        scaled = v;
        resets.insert(r);
    }
    EXPECT_EQ(scaled, 500.0f / real("MOD_SCALE.CASC_SCALE.A_NAME"));
    EXPECT_NE(scaled, 0.0f);
    EXPECT_EQ(resets.count(0u), 1u) << "the Modbus reset never fell";
}

// ---- on the unit-delay slices alone ------------------------------------------------------

struct SlotCase {
    const char* name;
    const char* input;
    const char* output;
    float value;
    float committed;
};
class UnitDelaySlot : public DiscreteRig, public ::testing::WithParamInterface<SlotCase> {};

// No module produces a count or a run time that is not finite (the counters
// count whole starts and trips, the run times guard their stored hours), so
// only the slices alone can show that such a value arrives as 0.0.
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
    {"CounterOverflowToInfinityArrivesAsZero", "COND_MON.OSPD_CNT.COUNTER", "COND_MON.WAIT_CNT_11.ZMINUS1", kInf, 0.0f},
    {"NotANumberArrivesAsZero", "COND_MON.TRUNLDCALC.CALCULATE", "COND_MON.WAIT_TMR_2.ZMINUS1", kNan, 0.0f},
};
INSTANTIATE_TEST_SUITE_P(Slots, UnitDelaySlot, ::testing::ValuesIn(kSlotCases),
                         [](const ::testing::TestParamInfo<SlotCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace di_test
