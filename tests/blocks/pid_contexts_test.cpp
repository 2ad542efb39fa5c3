// Wiring of the two PID records to their cells.
#include <gtest/gtest.h>

#include <cstring>

#include "blocks/pid_contexts.h"
#include "runtime/appmem.h"
#include "runtime/dbug.h"

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

namespace {

// The cell a full name resolves to, with its type letter and rate group.
void* cell_named(const char* name, char type, const char* group)
{
    char t = type;
    CellRef ref = 0;
    const char* rate = nullptr;
    EXPECT_EQ(get_dbug_address(name, &t, 0, &ref, &rate), 1) << name;
    EXPECT_STREQ(rate, group) << name;
    return cell_ptr(ref);
}

}  // namespace

// At start-up both records point at their named cells; the hidden state
// cells are outside the directory and start at 0 with the application memory.
TEST(PidContexts, StartUpWiresTheApplicationCells)
{
    SPD_CTRL_SPD_PID_9052_hidden_cells().reals[2] = 5.0f;
    SPD_CTRL_SPD_PID_9052_hidden_cells().faultLatch = 9;
    CASC_CTRL_CASC_PID_9137_hidden_cells().reals[3] = 5.0f;
    init_blk_ram();
    EXPECT_EQ(SPD_CTRL_SPD_PID_9052_hidden_cells().reals[2], 0.0f);
    EXPECT_EQ(SPD_CTRL_SPD_PID_9052_hidden_cells().faultLatch, 0);
    EXPECT_EQ(CASC_CTRL_CASC_PID_9137_hidden_cells().reals[3], 0.0f);
    RTinit_pid_contexts();

    const PidOptiVars& v = SPD_CTRL_SPD_PID_9052_vars;
    EXPECT_EQ(v.OUT, cell_named("SPD_CTRL.SPD_PID.PID_OPTI", 'A', "_R10"));
    EXPECT_EQ(v.CALC_P, cell_named("SPD_CTRL.SPD_PID.CALC_P", 'A', "_R10"));
    EXPECT_EQ(v.CALC_I, cell_named("SPD_CTRL.SPD_PID.CALC_I", 'A', "_R10"));
    EXPECT_EQ(v.CALC_SDR, cell_named("SPD_CTRL.SPD_PID.CALC_SDR", 'A', "_R10"));
    EXPECT_EQ(v.OPTI_STATUS, cell_named("SPD_CTRL.SPD_PID.OPTI_STATUS", 'I', "_R10"));
    EXPECT_EQ(v.OPTI_ALARM, cell_named("SPD_CTRL.SPD_PID.OPTI_ALARM", 'I', "_R10"));
    EXPECT_EQ(v.OPTI_FAULT, cell_named("SPD_CTRL.SPD_PID.OPTI_FAULT", 'I', "_R10"));
    EXPECT_EQ(v.PROC_ERR, cell_named("SPD_CTRL.SPD_PID.PROC_ERR", 'A', "_R10"));
    EXPECT_EQ(v.OPTI_MON, cell_named("SPD_CTRL.SPD_PID.OPTI_MON", 'A', "_R10"));
    EXPECT_EQ(v.RESET_SAVE, &SPD_CTRL_SPD_PID_9052_hidden_cells().reals[2]);
    EXPECT_EQ(v.FAULT_LATCH_SAVE, &SPD_CTRL_SPD_PID_9052_hidden_cells().faultLatch);
    EXPECT_FLOAT_EQ(v.DT, 0.01f);
    EXPECT_EQ(v.PROC_TYPE, 1);
    EXPECT_EQ(v.DATA, &SPD_CTRL_SPD_PID_9052_sData);
    EXPECT_EQ(*v.DATA, &SPD_CTRL_SPD_PID_9052_pData);

    const Pid2Vars& c = CASC_CTRL_CASC_PID_9137_vars;
    EXPECT_EQ(c.OUT, cell_named("CASC_CTRL.CASC_PID.PID_2", 'A', "_R80"));
    EXPECT_EQ(c.DERIV, &CASC_CTRL_CASC_PID_9137_hidden_cells().reals[1]);
    EXPECT_FLOAT_EQ(c.DT, 0.08f);
    EXPECT_EQ(c.LO_LIM, 0.0f);
    EXPECT_EQ(c.HI_LIM, 100.0f);

    // The state cells have no name.
    char t = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    EXPECT_EQ(get_dbug_address("SPD_CTRL.SPD_PID.RESET", &t, 0, &ref, &rate), -2);
    EXPECT_EQ(get_dbug_address("CASC_CTRL.CASC_PID.DERIV", &t, 0, &ref, &rate), -2);

    // A pass of each block lands in its named cell.
    SPD_CTRL_SPD_PID_9052_vars.FDBK = 42.0f;
    SPD_CTRL_SPD_PID_9052_vars.FEEDBACK1 = 1;
    SPD_CTRL_SPD_PID_9052_vars.SDR = 5.0f;
    pid_opti(&SPD_CTRL_SPD_PID_9052_vars, kPidOptiRun);
    EXPECT_FLOAT_EQ(*static_cast<float*>(cell_named("SPD_CTRL.SPD_PID.PID_OPTI", 'A', "_R10")), 42.0f);
    EXPECT_EQ(*static_cast<int32_t*>(cell_named("SPD_CTRL.SPD_PID.OPTI_STATUS", 'I', "_R10")), 1);
    CASC_CTRL_CASC_PID_9137_vars.SP = 1.0f;
    CASC_CTRL_CASC_PID_9137_vars.P = 2.0f;
    CASC_CTRL_CASC_PID_9137_vars.I = 1.0f;
    CASC_CTRL_CASC_PID_9137_vars.SDR = 100.0f;
    CASC_CTRL_CASC_PID_9137_vars.FEEDBACK1 = 1;
    pid2(&CASC_CTRL_CASC_PID_9137_vars);
    // G = 2 x (0.04 + 1) with Tf = max(0.05, 0.08): P x I x e x (dt/2 + 1).
    EXPECT_NEAR(*static_cast<float*>(cell_named("CASC_CTRL.CASC_PID.PID_2", 'A', "_R80")), 2.08f, 1e-5f);
}
