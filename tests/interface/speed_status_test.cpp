// The speed-control interface status through real passes of the 80 ms and
// 160 ms slices that carry it: the start sequence's step flags, the cascade
// copies, the active dynamics set, the optimizer status LEDs and the
// reference's no-move time-out.
#include <string>

#include "app/control/control_slices.h"
#include "tests/interface/operator_rig.h"

namespace op_test {
namespace {

class SpeedStatus : public OperatorRig {
protected:
    void startStatus() {
        useSlices(R10, {loadDefaults});
        useSlices(R80, {_R80_TASK_19});
        useSlices(R160, {_R160_TASK_40, _R160_TASK_47});
        startApp();
    }
    static void loadDefaults() {
        static bool* done = &loaded();
        if (*done) return;
        *done = true;
        tc_test::loadTunableDefaults();
    }
    static bool& loaded() {
        static bool b = false;
        return b;
    }
    void SetUp() override {
        OperatorRig::SetUp();
        loaded() = false;
    }
    std::string leds() {
        std::string s;
        for (int n = 1; n <= 16; ++n) s += std::to_string(boolean("SPD_CTRL.QT_STATUS_LEDS.OUT_" + std::to_string(n)));
        return s;
    }
    std::string dynamics() {
        std::string s;
        for (int n = 1; n <= 5; ++n) s += std::to_string(boolean("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(n)));
        return s;
    }
};

TEST_F(SpeedStatus, StepFlagsAndControlledStopReachTheInterface) {
    startStatus();
    const struct {
        const char* step;
        const char* flag;
    } map[] = {
        {"SPDC.Z00_STEP.SFC_STEP", "IFACE_IN_VLV.SD_SEQ_SD.B_NAME"},
        {"SPDC.A02_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_AT_IDL1.B_NAME"},
        {"SPDC.A08_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_CMPL.B_NAME"},
        {"IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", "IFACE_IN_VLV.STRT_SEQ_OVSPD.B_NAME"},
        {"SPDC.A10_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_OVSPD_RST.B_NAME"},
        {"SPDC.A00_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_RST.B_NAME"},
        {"SPDC.A11_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_RUN_BK.B_NAME"},
        {"SPDC.A01_STEP.SFC_STEP", "IFACE_IN_VLV.STRT_SEQ_TO_IDL1.B_NAME"},
    };
    for (const auto& m : map) setCell(m.step, 0);
    for (const auto& m : map) {
        setCell(m.step, 1);
        runPasses(R80, 1);
        for (const auto& o : map) EXPECT_EQ(boolean(o.flag), &o == &m ? 1u : 0u) << m.step << " " << o.flag;
        setCell(m.step, 0);
    }
    setCell("CNTRL_STOP.NSD_ENABLED.LATCH_R", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IFACE_IN_VLV.CSD_ENABLED.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_START.CSD_ENABLED.B_NAME"), 1u);
}

TEST_F(SpeedStatus, CascadeCopiesAndTheRemoteCascadeInhibit) {
    startStatus();
    setCell("CASC_CTRL.CASC_PID.PID_2", 42.5);
    setCell("CASC_RATE.ENTR_SETPT.AND", 1);
    setCell("RMT_CAS_EN.ENABLED.LATCH_R", 1);
    setCell("RMT_CAS_EN.Z_LOOP.ZMINUS1_B", 1);
    setCell("CASC_RATE.ENTRD_RATE.SAMP_TUNE", 3.5);
    setCell("CASC_RATE.RT_N_MTCH.SAMP_TUNE", 7.5);
    setCell("CASC_ENTRD.INVALID_SP.OR", 1);
    setCell("HP_MAN_ENBL.DLY_NOMOV.R_TIME", 12);
    runPasses(R160, 2);
    EXPECT_EQ(real("IFACE_OUT_CASC.CASC_PID.A_NAME"), 42.5f);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.EN_ENTR_SETPT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.RMT_CAS_EN.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.RMT_N_MATCH_RATE_SEL.B_NAME"), 1u);
    EXPECT_EQ(real("IFACE_OUT_CASC.ENTRD_RATE.A_NAME"), 3.5f);
    EXPECT_EQ(real("IFACE_OUT_CASC.RMT_N_MATCH_RATE.A_NAME"), 7.5f);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.INVALID_SP.B_NAME"), 1u);
    EXPECT_EQ(integer("IFACE_OUT_HP_MAN.DIS_TIMEOUT.I_NAME"), 12);
    for (const char* reason : {"CASC_ENBL.INHIBITED.LATCH1", "IFACE_IN_CASC.RMT_CASC_FLT.B_NAME",
                               "IFACE_IN_CASC.CASC_RMT_N.NOT"}) {
        runPasses(R160, 1);
        EXPECT_EQ(boolean("IFACE_OUT_CASC.INHIBITED.B_NAME"), 0u) << reason;
        setCell(reason, 1);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("RMT_CAS_EN.INHIBITED.OR"), 1u) << reason;
        EXPECT_EQ(boolean("IFACE_OUT_CASC.INHIBITED.B_NAME"), 1u) << reason;
        setCell(reason, 0);
        runPasses(R160, 1);
    }
}

TEST_F(SpeedStatus, OneDynamicsSetIsActive) {
    startStatus();
    runPasses(R80, 1);
    EXPECT_EQ(dynamics(), "10000");
    EXPECT_EQ(integer("SPD_CTRL.CALC_GAINS_SW.I_SW"), 1);
    setCell("SPD_CTRL.ONLINE_DYN.B_NAME", 1);
    runPasses(R80, 1);
    EXPECT_EQ(integer("SPD_CTRL.DYN_PACK8.I_OUT"), 1);
    EXPECT_EQ(integer("SPD_CTRL.I_ADD.I_ADD"), 2);
    EXPECT_EQ(dynamics(), "01000");
    // The optimizer's dynamics win whatever the on-line flag says.
    for (int online : {1, 0}) {
        setCell("SPD_CTRL.ONLINE_DYN.B_NAME", online);
        setCell("_ub91.OPTIDYN_IN_USE.AND", 1);
        runPasses(R80, 1);
        EXPECT_EQ(dynamics(), "00001") << online;
    }
}

TEST_F(SpeedStatus, OptimizerStatusLightsOneOfSixteenLeds) {
    startStatus();
    struct {
        int status;
        const char* leds;
        uint32_t at_setpt, data_steps;
    } rows[] = {
        {0, "0000000000000000", 0, 0},  {1, "1000000000000000", 0, 0},  {5, "0000100000000000", 0, 1},
        {6, "0000010000000000", 0, 1},  {8, "0000000100000000", 1, 0},  {12, "0000000000010000", 1, 0},
        {16, "0000000000000001", 0, 0}, {17, "0000000000000000", 0, 0}, {-1, "0000000000000000", 0, 0},
    };
    for (const auto& r : rows) {
        setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", r.status);
        runPasses(R160, 2);
        EXPECT_EQ(leds(), r.leds) << r.status;
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.AT_SETPT.OR"), r.at_setpt) << r.status;
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.DATA_STEPS.OR"), r.data_steps) << r.status;
    }
}

TEST_F(SpeedStatus, NoMoveTimeOutCountsDownThirtySeconds) {
    startStatus();
    setCell("OSPD.MV_REF.OR", 1);
    setCell("IFACE_IN_SPEED.SP_GOTO_RT.A_NAME", 25.0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.NO_MV.NOT"), 0u);
    EXPECT_EQ(real("IFACE_OUT_SPEED.ENTRD_RATE.A_NAME"), 25.0f);
    setCell("OSPD.MV_REF.OR", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.NO_MV.NOT"), 1u);
    EXPECT_EQ(integer("IFACE_OUT_SPEED.DIS_TIMEOUT.I_NAME"), 29);
    runPasses(R160, 186);  // 29.76 s more
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 0u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u);
    EXPECT_EQ(integer("IFACE_OUT_SPEED.DIS_TIMEOUT.I_NAME"), 0);
}

}  // namespace
}  // namespace op_test
