// The cascade setpoint's other sources on the whole program, driven only
// through its inputs: values entered from the service tool and from a Modbus
// master on the map's TCP port (which the OPC path adopts as well), the
// change of the Modbus scale that holds those entries off, the setpoint step
// test and the remote cascade setpoint on analog input 3 with its limits,
// filter and deadband.
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "app/control/control_slices.h"
#include "host/analog_inputs.h"
#include "tests/control_ref/cascade_rig.h"
#include "tests/control_ref/modbus_peer.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace ref_test {
namespace {

class CascadeEntriesOnProgram : public RefRig {
protected:
    float setpoint() { return real("CASC_SETPT.SETPT.RAMP"); }
    bool latched(const char* latch) { return boolean(std::string("CASC_ENTRD.") + latch + ".LATCH_R") != 0; }
};

class CascadeEntries : public Cascade {
protected:
    void TearDown() override {
        modbus_.reset();
        Cascade::TearDown();
    }
    // Cascade configured without tracking (or as given), the Modbus map's
    // link on its TCP port in use with writes enabled (its time-out the
    // longest, 100 s); a master polls the map as slave 2 once the program
    // listens, so the link is up.
    void configure(bool track, const Settings& extra = {}) {
        Settings s = {{"C_COMM.C1.IN", 1},
                      {"CNFG_COMMS.LINK2_USED.IN", 1},
                      {"CNFG_COMMS.PORT2_WRT_ENBL.IN", 1},
                      {"MOD.QT_TIME_OUT_2.IN", 100.0}};
        s.insert(s.end(), extra.begin(), extra.end());
        Cascade::configure(track, false, kMinGov, kMaxGov, s);
        modbus_ = std::make_unique<tc_test::ModbusPeer>(tc_test::ModbusPeer::Tcp, 502, 2);
        ASSERT_FALSE(modbus_->inputRegisters(1).empty()) << "the map does not answer";
        runPasses(R160, 2);
        ASSERT_EQ(boolean("MOD.MOD1.LNK_ERR_2"), 0u);
    }
    int sel() { return integer("CASC_SETPT.SETPT.POS_SEL"); }
    // The service tool's entry and its go command.
    void enterAndGo(double value) {
        serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", value);
        runPasses(R160, 1);
        serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 1);
        runPasses(R160, 1);
        serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 0);
    }
    // A Modbus master writes the cascade setpoint's holding register (the
    // cascade scale is 1).
    void modbusWrites(double value) {
        ASSERT_TRUE(modbus_->writeRegister(1, static_cast<int16_t>(value))) << "the map did not take " << value;
    }
    bool latched(const char* latch) { return boolean(std::string("CASC_ENTRD.") + latch + ".LATCH_R") != 0; }
    // Passes of 160 ms until `done`, at most `max`; the count or -1.
    int passesUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k < max; ++k) {
            if (done()) return k;
            runPasses(R160, 1);
        }
        return done() ? max : -1;
    }
    // The step test's commands: each momentary for a second.
    void stepCommand(int n) {
        serviceWrite("CASC_R_L.GO_STEP_SP.IN_" + std::to_string(n), 1);
        runPasses(R160, 8);
        ASSERT_EQ(boolean("CASC_R_L.GO_STEP_SP.IN_" + std::to_string(n)), 0u) << "a command outlived its second";
    }
    std::unique_ptr<tc_test::ModbusPeer> modbus_;
};

TEST_F(CascadeEntries, ServiceEntryGoesToTheValueAtTheEnteredRateAndReleasesOnArrival) {
    configure(false);
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_RATE.ENTRD_RATE.SAMP_TUNE"), 5.0f);
    enterAndGo(80.0);
    ASSERT_GE(passesUntil([&] { return latched("H_SER_LAT"); }, 5), 0);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 1u);
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 2);
    runPasses(R80, 2);
    EXPECT_EQ(sel(), 3);
    // At the entered rate (the cascade rate sampled at power-up): 5 a second.
    const float a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 10.0, 1e-3);
    // Arrival releases the latch; the setpoint stays where it arrived.
    ASSERT_GE(passesUntil([&] { return !latched("H_SER_LAT"); }, 60), 0);
    EXPECT_FLOAT_EQ(setpoint(), 80.0f);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 0u);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(setpoint(), 80.0f);
    EXPECT_EQ(sel(), 0);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP_A_SW.A_SW"), 80.0f);
}

TEST_F(CascadeEntries, EntryOutsideTheRangeIsRefusedAndRevertsToTheLastAcceptedValue) {
    configure(false);
    const struct {
        double value;
        uint32_t invalid;
    } rows[] = {{-0.5, 1}, {0.0, 0}, {200.0, 0}, {200.5, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.value);
        serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", r.value);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("CASC_ENTRD.INVALID_SP.OR"), r.invalid);
        EXPECT_EQ(boolean("IFACE_OUT_CASC.INVALID_SP.B_NAME"), r.invalid);
    }
    enterAndGo(90.0);
    ASSERT_GE(passesUntil([&] { return !latched("H_SER_LAT") && setpoint() == 90.0f; }, 100), 0);
    // Too high: no go pulse, and after 3 s the last accepted value returns.
    enterAndGo(250.0);
    EXPECT_EQ(boolean("CASC_ENTRD.H_SER_OK.ONE_SHOT"), 0u);
    EXPECT_FALSE(latched("H_SER_LAT"));
    runPasses(R160, 15);  // 2.7 s after the entry
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP.SAMP_TUNE"), 250.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.LIMITED.DELAY"), 0u);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP.SAMP_TUNE"), 90.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.INVALID_SP.OR"), 0u);
    EXPECT_FLOAT_EQ(setpoint(), 90.0f);
}

TEST_F(CascadeEntries, ModbusValueIsAdoptedAfterItHasStoodForTheWriteDelay) {
    configure(false);
    runPasses(R160, 5);
    modbusWrites(120.0);
    // 2.0 s of a changed value (one pass to reach the entry, 13 to pass the
    // delay), then the go-to pulse latches both remote paths.
    runPasses(R160, 13);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_EQ(boolean("CASC_ENTRD.M1_CHANGED.NOR"), 1u);
    ASSERT_GE(passesUntil([&] { return latched("GOTO_M1_SP"); }, 6), 0);
    EXPECT_EQ(boolean("CASC_ENTRD.M1_PLS.ONE_SHOT"), 1u);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.M1_SMP_TUN.SAMP_TUNE"), 120.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.M1_CHANGED.NOR"), 0u);
    // OPC adopts the same value and wins the selection.
    EXPECT_TRUE(latched("GOTO_OPC_SP"));
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 3);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTRD_MUX.A_MUX_HSS"), 120.0f);
    ASSERT_GE(passesUntil([&] { return setpoint() == 120.0f; }, 120), 0);
    // A value beyond the range is adopted as the maximum.
    modbusWrites(500.0);
    ASSERT_GE(passesUntil([&] { return setpoint() == static_cast<float>(kSpanMax); }, 200), 0);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.M1_SP_LMT.A_LIMITER"), kSpanMax);
}

TEST_F(CascadeEntries, ModbusAndServiceLatchesHoldEachOtherOffAndAShutdownClearsThem) {
    configure(false);
    modbusWrites(120.0);
    ASSERT_GE(passesUntil([&] { return latched("GOTO_M1_SP"); }, 30), 0);
    // While the Modbus latch holds, a service go is not taken.
    enterAndGo(70.0);
    runPasses(R160, 4);
    EXPECT_FALSE(latched("H_SER_LAT"));
    // The Modbus latch ends on arrival; then the service entry latches and
    // holds a new Modbus value off.
    ASSERT_GE(passesUntil([&] { return !latched("GOTO_M1_SP"); }, 120), 0);
    EXPECT_FLOAT_EQ(setpoint(), 120.0f);
    enterAndGo(30.0);
    ASSERT_GE(passesUntil([&] { return latched("H_SER_LAT"); }, 5), 0);
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 2);
    modbusWrites(150.0);
    runPasses(R160, 20);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_FALSE(latched("GOTO_OPC_SP"));
    EXPECT_TRUE(latched("H_SER_LAT"));
    EXPECT_EQ(boolean("CASC_ENTRD.RST_M1.OR"), 1u);
}

// On the whole program: a service entry on its way, then a trip from the
// trip contact resets the service latch and the setpoint stops where it is.
TEST_F(CascadeEntriesOnProgram, AShutdownResetsTheServiceLatchAndTheSetpointStops) {
    // Without setpoint tracking.
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_3", 0}});
    runPasses(R160, 5);
    ASSERT_NEAR(setpoint(), 50.0, 0.01);  // its initial value
    serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", 10.0);
    runPasses(R160, 1);
    serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 1);
    runPasses(R160, 1);
    serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 0);
    ASSERT_TRUE(runUntil([&] { return latched("H_SER_LAT"); }, 10));
    runPasses(R160, 5);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 1u);
    EXPECT_LT(setpoint(), 49.0f);
    trip();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_FALSE(latched("H_SER_LAT"));
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 0u);
    const float held = setpoint();
    EXPECT_GT(held, 10.0f);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(setpoint(), held);
}

// The cascade input's Modbus multiplier changed from the service tool
// (1 to 10, then to 100).
TEST_F(CascadeEntries, AScaleChangeHoldsTheRemoteEntriesOffForItsOneShot) {
    configure(false);
    ASSERT_EQ(real("AI_MUX.CASC_IN_MODX.A_NAME"), 1.0f);
    serviceWrite("_ub7.AI_MOD_X.IN", 4);
    ASSERT_GE(passesUntil([&] { return boolean("MOD_SCALE.CASCCHGD.NOT") != 0; }, 3), 0);
    EXPECT_EQ(real("AI_MUX.CASC_IN_MODX.A_NAME"), 10.0f);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_CHG_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_RST.ONE_SHOT"), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MOD_SCALE.CASCCHGD.NOT"), 0u);
    // A new Modbus value during the 5 s one-shot is not taken.
    modbusWrites(1200.0);
    int on = 1 + passesUntil([&] { return boolean("MOD_SCALE.CAS_CHG_OS.ONE_SHOT") == 0; }, 40);
    EXPECT_NEAR(on * 0.16, 5.0, 0.2);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_EQ(boolean("CASC_ENTRD.M1_DELAY.DELAY"), 0u);
    // After it, the value stands its 2 s and is adopted, scaled.
    const int k = passesUntil([&] { return latched("GOTO_M1_SP"); }, 30);
    EXPECT_GE(k * 0.16, 2.0);
    EXPECT_LE(k * 0.16, 2.7);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.M1_SMP_TUN.SAMP_TUNE"), 120.0f);
    // The second reset pulse follows 2.5 s into the one-shot.
    serviceWrite("_ub7.AI_MOD_X.IN", 5);
    ASSERT_GE(passesUntil([&] { return boolean("MOD_SCALE.CASCCHGD.NOT") != 0; }, 3), 0);
    runPasses(R160, 1);
    const int d = passesUntil([&] { return boolean("MOD_SCALE.CAS_RST2.ONE_SHOT") != 0; }, 30);
    EXPECT_NEAR((d + 1) * 0.16, 2.6, 0.15);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_RST_OR.OR"), 1u);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
}

TEST_F(CascadeEntries, StepTestJumpsTheSetpointByTheStepWithinItsLimits) {
    configure(false);
    enable();
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_R_L.STEP_LIMIT.MULTIPLY"), 50.0f);  // a quarter of the range
    EXPECT_FLOAT_EQ(real("CASC_R_L.INV_LMT.MULTIPLY"), -50.0f);
    serviceWrite("CASC_R_L.SP_STEP.TUNE", 7.0);
    stepCommand(2);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    // Arming cleared the step.
    EXPECT_FLOAT_EQ(real("CASC_R_L.SP_STEP.SAMP_TUNE"), 0.0f);
    EXPECT_EQ(boolean("CASC_R_L.SP_STEP.EN_ENT_OUT"), 1u);
    serviceWrite("CASC_R_L.SP_STEP.TUNE", 10.0);
    serviceWrite("CASC_R_L.GO_STEP_SP.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.ENA_STEP.ONE_SHOT") != 0; }, 3));
    // In one pass, whatever the rate.
    EXPECT_FLOAT_EQ(setpoint(), 60.0f);
    EXPECT_EQ(sel(), 6);
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_6"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_SETPT.ENA_STEP.ONE_SHOT"), 0u);
    runPasses(R160, 8);
    EXPECT_FLOAT_EQ(setpoint(), 60.0f);
    // A step beyond the limit is held to it, and the result to the range.
    serviceWrite("CASC_R_L.SP_STEP.TUNE", 80.0);
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(real("CASC_R_L.SP_STEP.SAMP_TUNE"), 50.0f);
    EXPECT_EQ(boolean("CASC_R_L.SP_STEP.LIMITED"), 1u);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), 110.0f);
    stepCommand(1);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
    EXPECT_FLOAT_EQ(real("CASC_R_L.STEP_SP_LMT.A_LIMITER"), kSpanMax);
    // A step of 0 still gives the instantaneous pass.
    serviceWrite("CASC_R_L.SP_STEP.TUNE", 0.0);
    serviceWrite("CASC_R_L.GO_STEP_SP.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.ENA_STEP.ONE_SHOT") != 0; }, 3));
    EXPECT_EQ(boolean("CASC_SETPT.INST_RATE.OR"), 1u);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
    runPasses(R160, 8);
    // Command 3 disarms: command 1 no longer steps.
    serviceWrite("CASC_R_L.SP_STEP.TUNE", -20.0);
    stepCommand(3);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
}

TEST_F(CascadeEntries, StepTestDisarmsOnALowerCommandAndOutsideCascadeControl) {
    configure(false);
    stepCommand(2);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);  // not in control: refused
    enable();
    stepCommand(2);
    ASSERT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    serviceWrite("CASC_R_L.LOWER.IN_2", 1);
    runPasses(R80, 1);
    serviceWrite("CASC_R_L.LOWER.IN_2", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
    stepCommand(2);
    ASSERT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    command("IFACE_IN_CASC.ENA_DIS.IN_2");  // disable: cascade leaves control
    ASSERT_TRUE(runUntil([&] { return !inCascade(); }, 20));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
}

class RemoteCascade : public CascadeEntries {
protected:
    // Remote cascade configured at power-up, its setpoint on analog input 3
    // ranged lo .. hi (sending `at`), its deadband 2 and its rate 10 a
    // second.
    void configureRemote(double lo = 20.0, double hi = 150.0, double at = 100.0) {
        lo_ = lo;
        hi_ = hi;
        remoteSends(at);
        configure(false, {{"CNFG_CASC.CONFIG_B.IN_4", 1},
                          {"_ub8.FUNCT.IN", 4},
                          {"_ub8.RANGE_LO.IN", lo},
                          {"_ub8.RANGE_HI.IN", hi},
                          {"IFACE_IN_CASC.RMT_DB.A_NAME", 2.0},
                          {"CNFG_CASC.RMT_MAX_RATE.A_NAME", 10.0}});
    }
    // The remote cascade setpoint the transmitter on analog input 3 sends,
    // and as the program reads it.
    void remoteSends(double v) { board::setAnalogInputMa(2, 4.0 + 16.0 * (v - lo_) / (hi_ - lo_)); }
    float remoteRead() { return real("AI_MUX.RMT_CASC_SP.A_NAME"); }
    // The remote setpoint after its filter and deadband.
    float remote() { return real("RMT_CAS.RMT_CASC_D.A_DEADBAND"); }
    double lo_ = 20.0, hi_ = 150.0;
};

TEST_F(RemoteCascade, LimitsAreTheOverlapOfTheSetpointAndInputRanges) {
    configureRemote();
    EXPECT_FLOAT_EQ(real("AI_MUX.RMT_CASC_MAX.A_NAME"), 150.0f);
    EXPECT_FLOAT_EQ(real("AI_MUX.RMT_CASC_MIN.A_NAME"), 20.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.MAX_REMOTE.A_MIN"), 150.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.MIN_REMOTE.A_MAX"), 20.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 150.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), 20.0f);
    EXPECT_FLOAT_EQ(real("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME"), 150.0f);
    EXPECT_EQ(boolean("RMT_CAS.RMT_CAS_MX.EN_ENT_OUT"), 0u);
    // An entered limit beyond the setpoint range is held to it.
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 300.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), kSpanMax);
    EXPECT_EQ(boolean("RMT_CAS.RMT_CAS_MX.LIMITED"), 1u);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.HI_LIM_OUT"), kSpanMax);
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MIN.A_NAME", -10.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), 0.0f);
    // While the I/O is locked the limits are open.
    tripAndLock();
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 300.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 300.0f);
}

// The input ranged over the whole setpoint range, the limits entered from
// the service tool inside it (150 and 20).
TEST_F(RemoteCascade, SetpointIsLimitedFilteredAndHeldInItsDeadband) {
    configureRemote(0.0, kSpanMax, 100.0);
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 150.0);
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MIN.A_NAME", 20.0);
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    runPasses(R160, 10);
    ASSERT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 150.0f);
    ASSERT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), 20.0f);
    float in = remoteRead();
    EXPECT_NEAR(in, 100.0, kPvTol);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), in);
    EXPECT_FLOAT_EQ(real("IFACE_OUT_CASC.REMOTE_CAS_SP.A_NAME"), in);
    EXPECT_FLOAT_EQ(real("AO_MUX.RMT_CASC.A_NAME"), in);
    // Pulled up from below to the band's lower edge.
    EXPECT_NEAR(remote(), in - 2.0, 1e-3);
    // Within the band the output holds; beyond it, it is pulled along.
    const float held = remote();
    remoteSends(99.0);
    runPasses(R160, 10);
    EXPECT_EQ(remote(), held);
    remoteSends(95.0);
    runPasses(R160, 10);
    in = remoteRead();
    EXPECT_NEAR(in, 95.0, kPvTol);
    EXPECT_NEAR(remote(), in + 2.0, 1e-3);
    // Limited to the sampled limits.
    remoteSends(180.0);
    runPasses(R160, 10);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), 150.0f);
    remoteSends(5.0);
    runPasses(R160, 10);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), 20.0f);
    // The lag: with 2 s a step reaches about 63 % in 2 s.
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 2.0);
    remoteSends(120.0);
    runPasses(R80, 25);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 20.0 + 100.0 * 0.632, 1.5);
}

// What no input gives the remote setpoint's filter, on its slice alone: an
// input that is no number (the analog input always gives a number) and a
// time constant changed without the service write that recomputes the
// filter (every input path that changes a tunable of a running program
// makes that write).
class RemoteCascadeFilter : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R80, {_R80_TASK_13});
        // Its settings go in while the control runs, in larger steps than the
        // service tool accepts then: not yet entered in the tool's steps or in
        // configure mode.
        checkSteps(false);
        startApp();
        setCell("IFACE_IN_CASC.CAS_RMT.B_NAME", 1);
        setCell("RMT_CAS.RMT_CAS_MX.SAMP_TUNE", 150.0);
        setCell("RMT_CAS.RMT_CAS_MN.SAMP_TUNE", 20.0);
    }
};

TEST_F(RemoteCascadeFilter, NoNumberIsFilteredAsZeroAndAnUnwrittenTimeConstantIsNotApplied) {
    // A value that is no number is filtered as 0.
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 100.0);
    runPasses(R80, 10);
    ASSERT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 100.0, 1e-3);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", std::nan(""));
    runPasses(R80, 10);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 0.0, 1e-3);
    // A time constant changed without a service write (as a tunables
    // download leaves it) is not applied: the filter keeps the coefficient
    // of its last write until the time constant is written.
    setCell("RMT_CAS.RMT_CASC_L.LAG_TAU", 1000.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 100.0);
    runPasses(R80, 20);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 100.0, 0.01);
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 1000.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 20.0);
    runPasses(R80, 10);
    EXPECT_GT(real("RMT_CAS.RMT_CASC_L.LAG"), 99.0);
}

// Remote cascade selected from the service tool (enabled while cascade is
// in control): away from the remote setpoint the not-matched latch holds
// the cascade setpoint to its own rate; deselected, the latch clears; once
// matched, the setpoint follows the remote setpoint at the remote rate.
TEST_F(RemoteCascade, SelectedRemoteSetpointIsFollowedAtTheRemoteRates) {
    configureRemote();
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    serviceWrite("IFACE_IN_CASC.RMT_DB.A_NAME", 0.0);
    runPasses(R160, 3);
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_RATE.RT_N_MTCH.SAMP_TUNE"), 5.0f);
    enable();
    runPasses(R160, 5);
    auto select = [&](bool on) {
        serviceWrite(on ? "RMT_CAS_EN.OR_ENABLE.IN_4" : "RMT_CAS_EN.OR_DISABLE.IN_8", 1);
        runPasses(R160, 1);
        serviceWrite(on ? "RMT_CAS_EN.OR_ENABLE.IN_4" : "RMT_CAS_EN.OR_DISABLE.IN_8", 0);
        ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME") == (on ? 1u : 0u); }, 10));
    };
    // Selected away from the remote setpoint: the not-matched latch, and
    // the not-matched rate, 5 a second.
    select(true);
    runPasses(R80, 1);
    EXPECT_EQ(sel(), 2);
    ASSERT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 1u);
    float a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 10.0, 1e-3);
    // Deselected: the latch clears.
    select(false);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 0u);
    EXPECT_NE(sel(), 2);
    // Selected again, it matches, then follows at the remote rate, 10 a
    // second, and arrives.
    select(true);
    ASSERT_TRUE(runUntil([&] { return boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH") == 0; }, 200));
    EXPECT_NEAR(setpoint(), remoteRead(), 0.05);
    remoteSends(140.0);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.SETPT.MOVING_UP") != 0; }, 10));
    runPasses(R80, 1);
    a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 20.0, 1e-3);
    EXPECT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 0u);
    ASSERT_TRUE(runUntil([&] { return setpoint() == remoteRead(); }, 100));
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_2"), 1u);
    // Remote cascade selected: the entries are reset.
    enterAndGo(60.0);
    runPasses(R160, 4);
    EXPECT_FALSE(latched("H_SER_LAT"));
}

}  // namespace
}  // namespace ref_test
