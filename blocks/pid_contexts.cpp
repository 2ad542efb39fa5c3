#include "blocks/pid_contexts.h"

#include "app/control/CASC_CTRL.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "runtime/appmem.h"

PidOptiVars SPD_CTRL_SPD_PID_9052_vars;
PidOptiData SPD_CTRL_SPD_PID_9052_pData;
PidOptiData* SPD_CTRL_SPD_PID_9052_sData;
double SPD_CTRL_SPD_PID_9052_vars_UseRef;
Pid2Vars CASC_CTRL_CASC_PID_9137_vars;

void wire_pid_opti_record(PidOptiVars& v, PidOptiData** sData, PidOptiData* data,
                          double* useRef, const PidOptiCells& c)
{
    v.DRP_MV = 0.0f;
    v.SPARE_E = 0;
    v.SPARE_B = v.SPARE_C = v.SPARE_D = 0.0f;
    v.ERR_PREV_SAVE = &c.hiddenReals[0];
    v.DERIV_SAVE = &c.hiddenReals[1];
    v.RESET_SAVE = &c.hiddenReals[2];
    v.FDBK_PREV_SAVE = &c.hiddenReals[3];
    v.MEAS_FILT_SAVE = &c.hiddenReals[4];
    v.OUT_AVG_SAVE = &c.hiddenReals[5];
    v.INIT_SAVE = &c.hiddenBools[0];
    *v.INIT_SAVE = 0;
    v.CLR_LAST_SAVE = &c.hiddenBools[1];
    v.ENABLE_LAST_SAVE = &c.hiddenBools[2];
    v.FAULT_LATCH_SAVE = c.hiddenInt;
    v.OUT = c.PID_OPTI;
    v.CALC_P = c.CALC_P;
    v.CALC_I = c.CALC_I;
    v.CALC_SDR = c.CALC_SDR;
    v.OPTI_STATUS = c.OPTI_STATUS;
    v.OPTI_ALARM = c.OPTI_ALARM;
    v.OPTI_FAULT = c.OPTI_FAULT;
    v.PROC_ERR = c.PROC_ERR;
    v.OPTI_MON = c.OPTI_MON;
    *sData = data;
    v.DATA = sData;
    data->INIT = 0;
    v.FAULT_LATCH = 0;
    v.CLR_STATE_LAST = 0;
    v.ENABLE_LAST = 0;
    v.USE_REF = useRef;
    v.DT = 0.01f;
    v.RATE_CTRL = 0;
    v.DRP_MV_LMT = 0.0f;
    v.DRP_REF = 0.0f;
    v.SPARE_A = 0.0f;
    v.PROC_TYPE = 1;
}

void wire_SPD_CTRL_SPD_PID_9052(const PidOptiCells& c)
{
    wire_pid_opti_record(SPD_CTRL_SPD_PID_9052_vars, &SPD_CTRL_SPD_PID_9052_sData,
                         &SPD_CTRL_SPD_PID_9052_pData, &SPD_CTRL_SPD_PID_9052_vars_UseRef, c);
}

void wire_CASC_CTRL_CASC_PID_9137(const CascPidCells& c)
{
    Pid2Vars& v = CASC_CTRL_CASC_PID_9137_vars;
    v.PROP_ONLY_I = 0.0f;
    v.ERR_PREV = &c.hiddenReals[0];
    v.DERIV = &c.hiddenReals[1];
    v.RESET = &c.hiddenReals[2];
    v.FDBK_PREV = &c.hiddenReals[3];
    v.OUT = c.PID_2;
    v.LO_LIM = 0.0f;
    v.HI_LIM = 100.0f;
    v.DT = 0.08f;
    v.LSS_HSS = 0;
    v.RATE_CTRL = 0;
    v.PROP_ONLY = 0;
}

namespace {
BlockRam<SPD_CTRL_SPD_PID_9052_hidden> g_spdHidden;
BlockRam<CASC_CTRL_CASC_PID_9137_hidden> g_cascHidden;
}  // namespace

SPD_CTRL_SPD_PID_9052_hidden& SPD_CTRL_SPD_PID_9052_hidden_cells() { return g_spdHidden; }
CASC_CTRL_CASC_PID_9137_hidden& CASC_CTRL_CASC_PID_9137_hidden_cells() { return g_cascHidden; }

void RTinit_pid_contexts()
{
    const auto& s = cells::SPD_CTRL;
    wire_SPD_CTRL_SPD_PID_9052({g_spdHidden.reals, g_spdHidden.bools, &g_spdHidden.faultLatch,
                                &s.SPD_PID_PID_OPTI.ref(), &s.SPD_PID_CALC_P.ref(),
                                &s.SPD_PID_CALC_I.ref(), &s.SPD_PID_CALC_SDR.ref(),
                                &s.SPD_PID_OPTI_STATUS.ref(), &s.SPD_PID_OPTI_ALARM.ref(),
                                &s.SPD_PID_OPTI_FAULT.ref(), &s.SPD_PID_PROC_ERR.ref(),
                                &s.SPD_PID_OPTI_MON.ref()});
    wire_CASC_CTRL_CASC_PID_9137({g_cascHidden.reals, &cells::CASC_CTRL.CASC_PID_PID_2.ref()});
}
