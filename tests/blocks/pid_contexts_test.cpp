// Wiring of the two PID records to their cells.
#include <gtest/gtest.h>

#include <cstring>

#include "blocks/pid_contexts.h"

namespace {

struct SpdCells {
    float hidden[6] = {};
    int32_t bools[3] = {7, 7, 7};
    int32_t latch = 0;
    float out = 0, p = 0, i = 0, sdr = 0, err = 0, mon = 0;
    int32_t status = 0, alarm = 0, fault = 0;
    PidOptiCells cells()
    {
        return {hidden, bools, &latch, &out, &p, &i, &sdr, &status, &alarm, &fault, &err, &mon};
    }
};

}  // namespace

TEST(PidContexts, SpeedPidWiring)
{
    SpdCells c;
    PidOptiVars& v = SPD_CTRL_SPD_PID_9052_vars;
    v.FAULT_LATCH = 9;
    v.ENABLE_LAST = 1;
    v.CLR_STATE_LAST = 1;
    v.PROC_TYPE = 4;
    v.SP = 12.5f;  // an input: left alone
    SPD_CTRL_SPD_PID_9052_pData.INIT = 1;
    wire_SPD_CTRL_SPD_PID_9052(c.cells());

    EXPECT_FLOAT_EQ(v.DT, 0.01f);
    EXPECT_EQ(v.PROC_TYPE, 1);
    EXPECT_EQ(v.RATE_CTRL, 0);
    EXPECT_EQ(v.FAULT_LATCH, 0);
    EXPECT_EQ(v.ENABLE_LAST, 0);
    EXPECT_EQ(v.CLR_STATE_LAST, 0);
    EXPECT_EQ(v.SP, 12.5f);
    // Two levels of indirection to the state block.
    EXPECT_EQ(SPD_CTRL_SPD_PID_9052_sData, &SPD_CTRL_SPD_PID_9052_pData);
    EXPECT_EQ(v.DATA, &SPD_CTRL_SPD_PID_9052_sData);
    EXPECT_EQ(SPD_CTRL_SPD_PID_9052_pData.INIT, 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(&SPD_CTRL_SPD_PID_9052_pData) % 8, 0u);
    EXPECT_EQ(v.USE_REF, &SPD_CTRL_SPD_PID_9052_vars_UseRef);
    // Hidden cells: four PID reals then MEAS_FILT, OUT_AVG; INIT before the
    // two edge memories, INIT cleared.
    EXPECT_EQ(v.ERR_PREV_SAVE, &c.hidden[0]);
    EXPECT_EQ(v.FDBK_PREV_SAVE, &c.hidden[3]);
    EXPECT_EQ(v.MEAS_FILT_SAVE, &c.hidden[4]);
    EXPECT_EQ(v.OUT_AVG_SAVE, &c.hidden[5]);
    EXPECT_EQ(v.INIT_SAVE, &c.bools[0]);
    EXPECT_EQ(c.bools[0], 0);
    EXPECT_EQ(v.CLR_LAST_SAVE, &c.bools[1]);
    EXPECT_EQ(v.ENABLE_LAST_SAVE, &c.bools[2]);
    EXPECT_EQ(c.bools[1], 7);  // the other hidden cells are not cleared here
    EXPECT_EQ(v.FAULT_LATCH_SAVE, &c.latch);
    EXPECT_EQ(v.OUT, &c.out);
    EXPECT_EQ(v.OPTI_FAULT, &c.fault);
    EXPECT_EQ(v.OPTI_MON, &c.mon);

    // The wired record runs: idle, PID demand equal to the selected value.
    v.PV = v.SP = 90.0f;
    v.P = 5.0f;
    v.I = 0.5f;
    v.SDR = 5.0f;
    v.THRESH = 100.0f;
    v.FDBK = 35.0f;
    v.FEEDBACK1 = 1;
    v.RESP_TO = 5.0f;
    v.PID_TYPE = 3;
    pid_opti(&v, kPidOptiRun);
    EXPECT_FLOAT_EQ(c.out, 35.0f);
    EXPECT_EQ(c.status, 1);
    EXPECT_FLOAT_EQ(c.p, 5.0f);
}

TEST(PidContexts, CascadePidWiring)
{
    float hidden[4] = {};
    float out = 0;
    Pid2Vars& v = CASC_CTRL_CASC_PID_9137_vars;
    v.PROP_ONLY = 1;
    v.LSS_HSS = 2;
    wire_CASC_CTRL_CASC_PID_9137({hidden, &out});
    EXPECT_FLOAT_EQ(v.DT, 0.08f);
    EXPECT_EQ(v.LO_LIM, 0.0f);
    EXPECT_EQ(v.HI_LIM, 100.0f);
    EXPECT_EQ(v.LSS_HSS, 0);
    EXPECT_EQ(v.RATE_CTRL, 0);
    EXPECT_EQ(v.PROP_ONLY, 0);
    EXPECT_EQ(v.PROP_ONLY_I, 0.0f);
    EXPECT_EQ(v.ERR_PREV, &hidden[0]);
    EXPECT_EQ(v.DERIV, &hidden[1]);
    EXPECT_EQ(v.RESET, &hidden[2]);
    EXPECT_EQ(v.FDBK_PREV, &hidden[3]);
    EXPECT_EQ(v.OUT, &out);

    // One cascade pass: output clamped to 100.
    v.SP = 50.0f;
    v.PV = 0.0f;
    v.P = 10.0f;
    v.I = 1.0f;
    v.SDR = 5.0f;
    v.FEEDBACK1 = 1;
    pid2(&v);
    EXPECT_EQ(out, 100.0f);
}
