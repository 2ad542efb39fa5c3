#include "blocks/pid_opti.h"

#include <cmath>

#include "blocks/RunOptiPID.h"

namespace {

// Copies the hidden save cells into the state block and the edge memories.
void restore_states(PidOptiVars* v, PidOptiData* d)
{
    d->ERR_PREV = *v->ERR_PREV_SAVE;
    d->DERIV = *v->DERIV_SAVE;
    d->RESET = *v->RESET_SAVE;
    d->FDBK_PREV = *v->FDBK_PREV_SAVE;
    d->MEAS_FILT = *v->MEAS_FILT_SAVE;
    d->OUT_AVG = *v->OUT_AVG_SAVE;
    d->INIT = *v->INIT_SAVE != 0 ? 1 : 0;
    v->CLR_STATE_LAST = *v->CLR_LAST_SAVE;
    v->ENABLE_LAST = *v->ENABLE_LAST_SAVE;
    v->FAULT_LATCH = *v->FAULT_LATCH_SAVE;
}

void save_states(PidOptiVars* v, const PidOptiData* d)
{
    *v->ERR_PREV_SAVE = static_cast<float>(d->ERR_PREV);
    *v->INIT_SAVE = d->INIT != 0 ? 1 : 0;
    *v->DERIV_SAVE = static_cast<float>(d->DERIV);
    *v->RESET_SAVE = static_cast<float>(d->RESET);
    *v->FDBK_PREV_SAVE = static_cast<float>(d->FDBK_PREV);
    *v->MEAS_FILT_SAVE = static_cast<float>(d->MEAS_FILT);
    *v->OUT_AVG_SAVE = static_cast<float>(d->OUT_AVG);
    *v->CLR_LAST_SAVE = v->CLR_STATE_LAST;
    *v->ENABLE_LAST_SAVE = v->ENABLE_LAST;
    *v->FAULT_LATCH_SAVE = v->FAULT_LATCH;
}

void freeze_settings(PidOptiVars* v)
{
    v->SDR_AT_START = v->SDR;
    v->SP_AT_START = v->SP;
    v->PRC_MV_LMT_AT_START = v->PRC_MV_LMT;
    v->OUT_MV_LMT_AT_START = v->OUT_MV_LMT;
    v->RESP_TO_AT_START = v->RESP_TO;
    v->PID_TYPE_AT_START = v->PID_TYPE;
    v->FAST_SLOW_AT_START = v->FAST_SLOW;
    v->PROC_TYPE_AT_START = v->PROC_TYPE;
    v->DRP_MV_LMT_AT_START = v->DRP_MV_LMT;
    v->DRP_REF_AT_START = v->DRP_REF;
}

// Conditions that make a run impossible, at its start and throughout.
void check_run_conditions(PidOptiVars* v)
{
    if (v->CLR_STATE == 1) v->ABORT_CODE = kAbortClrState;
    if (v->RATE_CTRL == 1) v->ABORT_CODE = kAbortRateCtrl;
    if (v->FEEDBACK1 == 0) v->ABORT_CODE = kAbortFeedback1;
}

// Settings that must not change during a run; a later hit overwrites an
// earlier one.
void check_frozen_settings(PidOptiVars* v)
{
    if (v->PRC_MV_LMT != v->PRC_MV_LMT_AT_START) v->ABORT_CODE = kAbortPrcMvLmt;
    if (v->OUT_MV_LMT != v->OUT_MV_LMT_AT_START) v->ABORT_CODE = kAbortOutMvLmt;
    if ((v->PROC_TYPE == 1 || v->PROC_TYPE == 2) && v->RESP_TO != v->RESP_TO_AT_START)
        v->ABORT_CODE = kAbortRespTo;
    if (v->PID_TYPE != v->PID_TYPE_AT_START) v->ABORT_CODE = kAbortPidType;
    if (v->FAST_SLOW != v->FAST_SLOW_AT_START) v->ABORT_CODE = kAbortFastSlow;
    if (v->DRP_REF != v->DRP_REF_AT_START) v->ABORT_CODE = kAbortDrpRef;
    if (v->DRP_MV_LMT != v->DRP_MV_LMT_AT_START) v->ABORT_CODE = kAbortDrpMvLmt;
    if (v->PROC_TYPE != v->PROC_TYPE_AT_START) v->ABORT_CODE = kAbortProcType;
    if ((v->SDR_AT_START > 1.0f && v->SDR < 1.0f) || (v->SDR_AT_START < 1.0f && v->SDR > 1.0f))
        v->ABORT_CODE = kAbortSdrCrossed;
    if (v->SP != v->SP_AT_START) v->ABORT_CODE = kAbortSpChanged;
}

// A non-finite value zeroes the output and, during a run, aborts it.
void not_finite(PidOptiVars* v)
{
    *v->OUT = 0.0f;
    if (v->ENABLE == 1) {
        *v->OPTI_FAULT = kAbortNotFinite;
        v->ABORT_CODE = kAbortNotFinite;
    }
}

void guard_state(PidOptiVars* v, double& state)
{
    if (!std::isfinite(static_cast<float>(state))) {
        state = 0.0;
        not_finite(v);
    }
}

}  // namespace

void pid_opti(PidOptiVars* v, int32_t mode)
{
    PidOptiData* d = *v->DATA;

    // 1. Process error.
    *v->PROC_ERR = v->SP - v->PV - v->DRP_MV;

    // 2. Restore.
    int32_t keptStatus = 0, keptAlarm = 0, keptFault = 0;
    if (mode == kPidOptiRestoreRun) {
        restore_states(v, d);
        keptStatus = *v->OPTI_STATUS;
        keptAlarm = *v->OPTI_ALARM;
        keptFault = *v->OPTI_FAULT;
    }

    // 3. Clear edge.
    v->CLR_EDGE = (v->CLR_STATE == 1 && v->CLR_STATE_LAST == 0) ? 1 : 0;
    v->CLR_STATE_LAST = v->CLR_STATE;

    // 4. Enable edge.
    if (v->ENABLE == 1) {
        v->ENABLE_EDGE = (v->ENABLE_LAST == 0) ? 1 : 0;
        if (v->ENABLE_EDGE) v->ABORT_CODE = 0;
    } else {
        v->ABORT_CODE = 0;
        v->ENABLE_EDGE = 0;
    }
    v->ENABLE_LAST = v->ENABLE;

    // 5. Abort checks.
    if (v->ENABLE_EDGE) {
        check_run_conditions(v);
        freeze_settings(v);
    } else if (v->ENABLE == 1) {
        check_run_conditions(v);
        check_frozen_settings(v);
    }
    if (v->SYSCON_FAIL == 1) v->ABORT_CODE = kAbortSysconFail;

    // 6. The sequence, with the output and gains in use loaded from their cells.
    double out = *v->OUT;
    double useP = *v->CALC_P;
    double useI = *v->CALC_I;
    double useSDR = *v->CALC_SDR;
    RunOptiPID(v->DATA, v->RATE_CTRL, v->FEEDBACK1, v->ENABLE, v->PID_TYPE, v->PROC_TYPE,
               v->CLR_EDGE, v->LSS_HSS, v->P, v->I, v->SDR, v->THRESH, v->PV, v->SP, v->FDBK,
               v->PRC_MV_LMT, v->OUT_MV_LMT, v->RESP_TO, v->FAST_SLOW, v->SPARE_A, v->DT,
               v->ABORT_CODE, v->DRP_MV, v->DRP_MV_LMT, v->DRP_REF, v->SPARE_B, v->SPARE_C,
               v->SPARE_D, v->SPARE_E, &out, &useP, &useI, &useSDR, v->OPTI_STATUS,
               v->OPTI_ALARM, v->OPTI_FAULT, v->USE_REF, v->OPTI_MON);

    // 7. Results narrowed into the output cells.
    *v->OUT = static_cast<float>(out);
    *v->CALC_P = static_cast<float>(useP);
    *v->CALC_I = static_cast<float>(useI);
    *v->CALC_SDR = static_cast<float>(useSDR);

    // 8. Finiteness of the states and the output.
    guard_state(v, d->DERIV);
    guard_state(v, d->RESET);
    guard_state(v, d->MEAS_FILT);
    guard_state(v, d->OUT_AVG);
    if (!std::isfinite(*v->OUT)) not_finite(v);

    // 9. Restore the kept status cells.
    if (mode == kPidOptiRestoreRun) {
        *v->OPTI_STATUS = keptStatus;
        *v->OPTI_ALARM = keptAlarm;
        *v->OPTI_FAULT = keptFault;
    }

    // 10. The first fault of a run stays shown until the enable falls.
    if (v->ENABLE == 1) {
        if (v->FAULT_LATCH == 0) v->FAULT_LATCH = *v->OPTI_FAULT;
        else *v->OPTI_FAULT = v->FAULT_LATCH;
    } else {
        v->FAULT_LATCH = 0;
        *v->OPTI_FAULT = 0;
    }

    // 11. Save.
    if (mode == kPidOptiRunSave) save_states(v, d);
}
