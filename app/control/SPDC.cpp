// SPDC, the speed reference sequence: the chart Z00 .. Z01 of the 80 ms
// group with its conditions, target selection and reference cells, and its
// inputs computed in the 160 ms group.
#include "app/config/CNFG_START.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/SPDC.cells.h"

#include "app/control/AUTO_SEQ.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/IDLE_RATE.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "app/control/SPD_REF.cells.h"
#include "app/control/SPD_SETPT.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SPDC_blocks {
    bk::SfcState Z00, A00, A00A, A01, A02, A02A, A07, A08, A09, A10, A11, A12, Z01;
    bk::SfcState B00, B01, B02, B03;
    bk::DelayState DLY_BEAN, DLY_MOVE, DLY_ILDE, DLY_OFF, DLY_QUIT, DLY_Z00_C1, DLY_ON, DLY_OUT;
    bk::OneShotState PLS_SPD, SBACK_OS;
    uint32_t pls_spd_cut;  // PLS_SPD cut off in this activation of A11
    bk::LagState LAG_SPEED;
    uint32_t z_hprp;  // unit-delay store
};
BlockRam<SPDC_blocks> SPDC_st;
}  // namespace

namespace r80 {

using refbk::COND;
using refbk::COND_GATED;

namespace {
// The shorthand of the transition table.
uint32_t csd() { return IFACE_OUT_START.CSD_SEQ_ENABLED_B_NAME; }
uint32_t a08() { return SPDC.A08_STEP_SFC_STEP; }
uint32_t gate() { return SPDC.ST_ENABLE_NOT; }
uint32_t any_sd() { return SHUTDOWNS.ANY_SD_B_NAME; }
uint32_t rated() { return IDLE_RATE.RATED_LATCH_R; }
uint32_t idle() { return IDLE_RATE.IDLE_AND; }
uint32_t no_rback() { return IDLE_RATE.NO_RBACK_B_NAME; }
uint32_t halt() { return AUTO_SEQ.HALT_AND; }
uint32_t auto_seq_not() { return IFACE_IN_START.AUTO_SEQ_NOT_NOT; }
uint32_t frc_tomin() { return CRIT_SPD.FRC_TOMIN_B_ACTION; }
uint32_t mv_ref() { return OSPD.MV_REF_OR; }
uint32_t ge_l1() { return bk::OR({SPDC.SR__GE_L1_A_COMPARE, SPDC.SR__GE_L1_A_EQUAL}); }
uint32_t ge_mng() { return bk::OR({SPDC.SR__GE_MNG_A_COMPARE, SPDC.SR__GE_MNG_A_EQUAL}); }
float ref() { return IFACE_OUT_SPEED.SPEED_REF_A_NAME; }
}  // namespace

void SPDC_stop_input() {
    SPDC.Z01_SD_B_ACTION = any_sd();
    refbk::ACTION_OUT(SPDC.Z01_SD_ACT_OUT, SPDC.Z01_SD_E_TIME, SPDC.Z01_SD_R_TIME, 1);
    COND(SPDC.Z01_C2_B_ACTION, SPDC.Z01_C2_ACT_OUT, SPDC.Z01_C2_E_TIME, SPDC.Z01_C2_R_TIME,
         bk::AND({bk::OR({CNTRL_STOP.Z_HPRPLIM_ZMINUS1_B, SPDC.Z01_C2_IN_2}), bk::NOT(SPDC.Z01_C2_RST_1)}));
}

void SPDC_stop_transitions() {
    // Z01 ends in A02A when the controlled stop has been disabled for 0.2 s.
    bk::DELAY(SPDC_st.DLY_QUIT, SPDC.DLY_QUIT_DELAY, &SPDC.DLY_QUIT_R_TIME.ref(), CNTRL_STOP.DISABLED_NOT, 0.2f, 0.0f,
              bk::T80);
    COND(SPDC.Z01_C3_B_ACTION, SPDC.Z01_C3_ACT_OUT, SPDC.Z01_C3_E_TIME, SPDC.Z01_C3_R_TIME,
         bk::AND({SPDC.DLY_QUIT_DELAY, bk::NOT(SPDC.Z01_C3_RST_1)}));
    bk::SFC_STEP(SPDC_st.Z01, SPDC.Z01_STEP_SFC_STEP, SPDC.Z01_STEP_ACTIVETIME,
                 {SPDC.Z01_SD_B_ACTION, SPDC.Z01_C2_B_ACTION, SPDC.Z01_C3_B_ACTION}, bk::T80,
                 SPDC.Z01_STEP_TRAN_1, SPDC.Z01_STEP_TRAN_2, SPDC.Z01_STEP_TRAN_3);
}

void SPDC_mingo() {
    bk::A_COMPARE(SPDC.COMP_MINGO_A_COMPARE, SPDC.COMP_MINGO_A_EQUAL, IFACE_IN_SPEED.MIN_GOV_A_NAME, ref());
}

void SPDC_start_detect() {
    // Enable gate: the gated conditions freeze once A08 has held for 0.2 s.
    bk::DELAY(SPDC_st.DLY_BEAN, SPDC.DLY_BEAN_DELAY, &SPDC.DLY_BEAN_R_TIME.ref(), a08(), 0.2f, 0.0f, bk::T80);
    SPDC.ST_ENABLE_NOT = bk::NOT(SPDC.DLY_BEAN_DELAY);
    // A00A: restart with the turbine rolling.
    SPDC.A00ASD_B_NAME = any_sd();
    COND_GATED(SPDC.A00AC2_B_ACTION, SPDC.A00AC2_ACT_OUT, SPDC.A00AC2_E_TIME, SPDC.A00AC2_R_TIME, gate(),
               bk::AND({csd(), bk::NOT(a08())}));
    COND_GATED(SPDC.A00AC3_B_ACTION, SPDC.A00AC3_ACT_OUT, SPDC.A00AC3_E_TIME, SPDC.A00AC3_R_TIME, gate(),
               bk::AND({SPDC.DLY_ON_DELAY, bk::NOT(bk::OR({a08(), SPDC.DLY_OUT_DELAY}))}));
    bk::SFC_STEP(SPDC_st.A00A, SPDC.A00ASTEP_SFC_STEP, SPDC.A00ASTEP_ACTIVETIME,
                 {SPDC.A00ASD_B_NAME, SPDC.A00AC2_B_ACTION, SPDC.A00AC3_B_ACTION}, bk::T80, SPDC.A00ASTEP_TRAN_1,
                 SPDC.A00ASTEP_TRAN_2, SPDC.A00ASTEP_TRAN_3);
    // Start detection.
    bk::A_COMPARE(SPDC.SPD_GT_IDL_A_COMPARE, SPDC.SPD_GT_IDL_A_EQUAL, IFACE_IN_SPEED.SPEED_A_NAME,
                  MPU_OVRD.MIN_LVL_1_ADD);
    SPDC.SPD_LE_IDL_NOT = bk::NOT(SPDC.SPD_GT_IDL_A_COMPARE);
    SPDC.STRT_AND = bk::AND({START.PULSE_ONE_SHOT, SPDC.SPD_LE_IDL_NOT});
    SPDC.RSTRT_AND = bk::AND({START.PULSE_ONE_SHOT, SPDC.SPD_GT_IDL_A_COMPARE});
    SPDC.STRT_TO_MIN_NOT_NOT = bk::NOT(rated());
    const uint32_t inh = IFACE_OUT_START.STRT_INH_B_NAME;
    const uint32_t manual = IFACE_IN_START.MANUAL_START_B_NAME;
    COND(SPDC.A00_C2_B_ACTION, SPDC.A00_C2_ACT_OUT, SPDC.A00_C2_E_TIME, SPDC.A00_C2_R_TIME,
         bk::AND({SPDC.STRT_AND, bk::NOT(bk::OR({inh, manual, rated(), SPDC.A00_C2_RST_4}))}));
    COND(SPDC.A00_C2_MANUL_B_ACTION, SPDC.A00_C2_MANUL_ACT_OUT, SPDC.A00_C2_MANUL_E_TIME, SPDC.A00_C2_MANUL_R_TIME,
         bk::AND({SPDC.STRT_AND, bk::NOT(bk::OR({inh, IFACE_IN_START.AUTO_START_B_NAME, SPDC.A00_C2_MANUL_RST_3}))}));
    COND(SPDC.A00_C3_B_ACTION, SPDC.A00_C3_ACT_OUT, SPDC.A00_C3_E_TIME, SPDC.A00_C3_R_TIME,
         bk::AND({SPDC.RSTRT_AND, bk::NOT(bk::OR({inh, SPDC.A00_C3_RST_2}))}));
}

void SPDC_run_steps() {
    const uint32_t inh = IFACE_OUT_START.STRT_INH_B_NAME;
    const uint32_t manual = IFACE_IN_START.MANUAL_START_B_NAME;
    COND(SPDC.A00_C5_AUTO_TO_MIN_B_ACTION, SPDC.A00_C5_AUTO_TO_MIN_ACT_OUT, SPDC.A00_C5_AUTO_TO_MIN_E_TIME,
         SPDC.A00_C5_AUTO_TO_MIN_R_TIME,
         bk::AND(
             {SPDC.STRT_AND, bk::NOT(bk::OR({inh, SPDC.STRT_TO_MIN_NOT_NOT, SPDC.A00_C5_AUTO_TO_MIN_RST_3, manual}))}));
    // A00: ready to start.
    SPDC.A00_SD_B_NAME = any_sd();
    bk::SFC_STEP(SPDC_st.A00, SPDC.A00_STEP_SFC_STEP, SPDC.A00_STEP_ACTIVETIME,
                 {SPDC.A00_SD_B_NAME, SPDC.A00_C2_B_ACTION, SPDC.A00_C3_B_ACTION, SPDC.A00_C2_MANUL_B_ACTION,
                  SPDC.A00_C5_AUTO_TO_MIN_B_ACTION},
                 bk::T80, SPDC.A00_STEP_TRAN_1, SPDC.A00_STEP_TRAN_2, SPDC.A00_STEP_TRAN_3, SPDC.A00_STEP_TRAN_4,
                 SPDC.A00_STEP_TRAN_5);
    // A01: ramping to low idle.
    const uint32_t no_idle = SPDC.NO_IDLE_AND;
    const uint32_t z_hprp = SPDC.Z_HPRP_ZMINUS1_B;
    SPDC.A01_SD_B_NAME = any_sd();
    COND_GATED(SPDC.A01_C2_B_ACTION, SPDC.A01_C2_ACT_OUT, SPDC.A01_C2_E_TIME, SPDC.A01_C2_R_TIME, gate(),
               bk::AND({ge_l1(), bk::NOT(bk::OR({z_hprp, no_idle, a08()}))}));
    COND_GATED(
        SPDC.A01_C3_B_ACTION, SPDC.A01_C3_ACT_OUT, SPDC.A01_C3_E_TIME, SPDC.A01_C3_R_TIME, gate(),
        bk::AND({ge_l1(), bk::NOT(bk::OR({z_hprp, AUTO_SEQ.CONTINUE_LATCH_R, no_idle, auto_seq_not(), a08()}))}));
    COND_GATED(SPDC.A01_C4_B_ACTION, SPDC.A01_C4_ACT_OUT, SPDC.A01_C4_E_TIME, SPDC.A01_C4_R_TIME, gate(),
               bk::AND({csd(), bk::NOT(a08())}));
    // Without the idle/rated start there is no idle to reach: a start that
    // comes here (the semi-automatic one) goes on to minimum governor, as
    // from the idle step.
    COND_GATED(SPDC.A01_C5_B_ACTION, SPDC.A01_C5_ACT_OUT, SPDC.A01_C5_E_TIME, SPDC.A01_C5_R_TIME, gate(),
               bk::AND({no_idle, bk::NOT(a08())}));
    bk::SFC_STEP(SPDC_st.A01, SPDC.A01_STEP_SFC_STEP, SPDC.A01_STEP_ACTIVETIME,
                 {SPDC.A01_SD_B_NAME, SPDC.A01_C2_B_ACTION, SPDC.A01_C3_B_ACTION, SPDC.A01_C4_B_ACTION,
                  SPDC.A01_C5_B_ACTION},
                 bk::T80, SPDC.A01_STEP_TRAN_1, SPDC.A01_STEP_TRAN_2, SPDC.A01_STEP_TRAN_3, SPDC.A01_STEP_TRAN_4,
                 SPDC.A01_STEP_TRAN_5);
    // A02A: halted, the reference held.
    bk::A_COMPARE(SPDC.CP_MINCTRL_A_COMPARE, SPDC.CP_MINCTRL_A_EQUAL, IFACE_IN_SPEED.IDLE_1_A_NAME, ref());
    SPDC.ADD_OFSET_ADD = ref() + 0.1f;
    bk::A_COMPARE(SPDC.COMP_MN_A_COMPARE, SPDC.COMP_MN_A_EQUAL, IFACE_IN_SPEED.IDLE_1_A_NAME, SPDC.ADD_OFSET_ADD);
    bk::DELAY(SPDC_st.DLY_MOVE, SPDC.DLY_MOVE_DELAY, &SPDC.DLY_MOVE_R_TIME.ref(), mv_ref(), 0.0f, 0.5f, bk::T80);
    SPDC.A02ASD_B_NAME = any_sd();
    COND_GATED(SPDC.A02AC3A_B_ACTION, SPDC.A02AC3A_ACT_OUT, SPDC.A02AC3A_E_TIME, SPDC.A02AC3A_R_TIME, gate(),
               bk::AND({bk::OR({SPDC.CP_MINCTRL_A_COMPARE, SPDC.CP_MINCTRL_A_EQUAL}),
                        bk::NOT(bk::OR({a08(), auto_seq_not(), halt()}))}));
    COND_GATED(SPDC.A02AC3B_B_ACTION, SPDC.A02AC3B_ACT_OUT, SPDC.A02AC3B_E_TIME, SPDC.A02AC3B_R_TIME, gate(),
               bk::AND({SPDC.COMP_MN_A_COMPARE,
                        bk::NOT(bk::OR({a08(), SPDC.A02AC3B_RST_2, IFACE_IN_START.MANUAL_START_B_NAME}))}));
    COND_GATED(SPDC.A02AC6_B_ACTION, SPDC.A02AC6_ACT_OUT, SPDC.A02AC6_E_TIME, SPDC.A02AC6_R_TIME, gate(),
               bk::AND({bk::OR({SPDC.COMP_MINGO_A_COMPARE, SPDC.COMP_MINGO_A_EQUAL}),
                        bk::NOT(bk::OR({idle(), halt(), a08()}))}));
    COND_GATED(SPDC.A02AC8_B_ACTION, SPDC.A02AC8_ACT_OUT, SPDC.A02AC8_E_TIME, SPDC.A02AC8_R_TIME, gate(),
               bk::AND({csd(), bk::NOT(a08())}));
    COND_GATED(SPDC.A02AC9_B_ACTION, SPDC.A02AC9_ACT_OUT, SPDC.A02AC9_E_TIME, SPDC.A02AC9_R_TIME, gate(),
               bk::AND({IDLE_RATE.IDLE_PLS_OR, bk::NOT(bk::OR({no_rback(), a08(), SPDC.DLY_MOVE_DELAY}))}));
    COND(SPDC.A02AC10_B_ACTION, SPDC.A02AC10_ACT_OUT, SPDC.A02AC10_E_TIME, SPDC.A02AC10_R_TIME, frc_tomin());
    bk::SFC_STEP(SPDC_st.A02A, SPDC.A02ASTEP_SFC_STEP, SPDC.A02ASTEP_ACTIVETIME,
                 {SPDC.A02ASD_B_NAME, SPDC.A02AC2_B_ACTION, SPDC.A02AC3A_B_ACTION, SPDC.A02AC3B_B_ACTION, 0u, 0u,
                  SPDC.A02AC6_B_ACTION, SPDC.A02AC8_B_ACTION, SPDC.A02AC9_B_ACTION, SPDC.A02AC10_B_ACTION},
                 bk::T80, SPDC.A02ASTEP_TRAN_1, SPDC.A02ASTEP_TRAN_2, SPDC.A02ASTEP_TRAN_3, SPDC.A02ASTEP_TRAN_4,
                 SPDC.A02ASTEP_TRAN_5, SPDC.A02ASTEP_TRAN_6, SPDC.A02ASTEP_TRAN_7, SPDC.A02ASTEP_TRAN_8,
                 SPDC.A02ASTEP_TRAN_9, SPDC.A02ASTEP_TRAN_10);
    // A02: at idle.
    SPDC.A02_SD_B_NAME = any_sd();
    COND_GATED(SPDC.A02_C5_B_ACTION, SPDC.A02_C5_ACT_OUT, SPDC.A02_C5_E_TIME, SPDC.A02_C5_R_TIME, gate(),
               bk::AND({halt(), bk::NOT(bk::OR({auto_seq_not(), a08()}))}));
    COND_GATED(SPDC.A02_C6_B_ACTION, SPDC.A02_C6_ACT_OUT, SPDC.A02_C6_E_TIME, SPDC.A02_C6_R_TIME, gate(),
               bk::AND({csd(), bk::NOT(bk::OR({SPDC.A02_C6_RST_1, a08()}))}));
    COND_GATED(SPDC.A02_C7_B_ACTION, SPDC.A02_C7_ACT_OUT, SPDC.A02_C7_E_TIME, SPDC.A02_C7_R_TIME, gate(),
               bk::AND({rated(), bk::NOT(a08())}));
    COND_GATED(SPDC.A02_C8_B_ACTION, SPDC.A02_C8_ACT_OUT, SPDC.A02_C8_E_TIME, SPDC.A02_C8_R_TIME, gate(),
               bk::AND({bk::OR({ENTR_SETPT.IN_OVRSPD_B_SW, mv_ref(), SPDC.A02_C8_IN_3}), bk::NOT(a08())}));
    COND_GATED(SPDC.A02_C9_B_ACTION, SPDC.A02_C9_ACT_OUT, SPDC.A02_C9_E_TIME, SPDC.A02_C9_R_TIME, gate(),
               bk::AND({no_idle, bk::NOT(a08())}));
    bk::SFC_STEP(SPDC_st.A02, SPDC.A02_STEP_SFC_STEP, SPDC.A02_STEP_ACTIVETIME,
                 {SPDC.A02_SD_B_NAME, 0u, 0u, 0u, SPDC.A02_C5_B_ACTION, SPDC.A02_C6_B_ACTION, SPDC.A02_C7_B_ACTION,
                  SPDC.A02_C8_B_ACTION, SPDC.A02_C9_B_ACTION},
                 bk::T80, SPDC.A02_STEP_TRAN_1, SPDC.A02_STEP_TRAN_2, SPDC.A02_STEP_TRAN_3, SPDC.A02_STEP_TRAN_4,
                 SPDC.A02_STEP_TRAN_5, SPDC.A02_STEP_TRAN_6, SPDC.A02_STEP_TRAN_7, SPDC.A02_STEP_TRAN_8,
                 SPDC.A02_STEP_TRAN_9);
    // A07: ramping to minimum governor or rated.
    bk::DELAY(SPDC_st.DLY_ILDE, SPDC.DLY_ILDE_DELAY, &SPDC.DLY_ILDE_R_TIME.ref(), idle(), 0.2f, 0.0f, bk::T80);
    SPDC.AND_NORBAC_AND = bk::AND({idle(), no_rback()});
    SPDC.A07_SD_B_NAME = any_sd();
    const uint32_t and_no_idl = SPDC.AND_NO_IDL_AND;
    COND_GATED(SPDC.A07_C2_B_ACTION, SPDC.A07_C2_ACT_OUT, SPDC.A07_C2_E_TIME, SPDC.A07_C2_R_TIME, gate(),
               bk::AND({bk::OR({SPDC.A07_C2_IN_1, csd()}), bk::NOT(a08())}));
    COND(SPDC.A07_C3_B_ACTION, SPDC.A07_C3_ACT_OUT, SPDC.A07_C3_E_TIME, SPDC.A07_C3_R_TIME,
         bk::AND({ge_mng(), bk::NOT(bk::OR({a08(), and_no_idl, SPDC.USE_RATED_AND}))}));
    COND(SPDC.A07_C4_B_ACTION, SPDC.A07_C4_ACT_OUT, SPDC.A07_C4_E_TIME, SPDC.A07_C4_R_TIME,
         bk::AND({bk::OR({mv_ref(), halt(), SPDC.AND_NORB_AND}), bk::NOT(bk::OR({SPDC.SR__LT_MNG_NOT, a08()}))}));
    COND(SPDC.A07_C5_B_ACTION, SPDC.A07_C5_ACT_OUT, SPDC.A07_C5_E_TIME, SPDC.A07_C5_R_TIME,
         bk::AND({SPDC.DLY_ILDE_DELAY, bk::NOT(bk::OR({no_rback(), a08()}))}));
    COND_GATED(SPDC.A07_C7_B_ACTION, SPDC.A07_C7_ACT_OUT, SPDC.A07_C7_E_TIME, SPDC.A07_C7_R_TIME, gate(),
               bk::AND({halt(), bk::NOT(bk::OR({a08(), SPDC.SR__GE_MNG_A_COMPARE}))}));
    COND(SPDC.A07_C8_B_ACTION, SPDC.A07_C8_ACT_OUT, SPDC.A07_C8_E_TIME, SPDC.A07_C8_R_TIME,
         bk::AND({bk::OR({SPDC.AND_NORBAC_AND, mv_ref()}), bk::NOT(bk::OR({a08(), SPDC.SR__GE_MNG_A_COMPARE}))}));
    COND(SPDC.A07_C9_B_ACTION, SPDC.A07_C9_ACT_OUT, SPDC.A07_C9_E_TIME, SPDC.A07_C9_R_TIME, frc_tomin());
    COND(SPDC.A07_C10_B_ACTION, SPDC.A07_C10_ACT_OUT, SPDC.A07_C10_E_TIME, SPDC.A07_C10_R_TIME,
         bk::AND({bk::OR({SPDC.SR__GE_RAT_A_COMPARE, SPDC.SR__GE_RAT_A_EQUAL}),
                  bk::NOT(bk::OR(
                      {a08(), and_no_idl, SPDC.USE_RATED_NOT_NOT, CNFG_START.MAN_START_B_NAME, SPDC.A07_C10_RST_5}))}));
    bk::SFC_STEP(SPDC_st.A07, SPDC.A07_STEP_SFC_STEP, SPDC.A07_STEP_ACTIVETIME,
                 {SPDC.A07_SD_B_NAME, SPDC.A07_C2_B_ACTION, SPDC.A07_C3_B_ACTION, SPDC.A07_C4_B_ACTION,
                  SPDC.A07_C5_B_ACTION, SPDC.A07_C7_B_ACTION, SPDC.A07_C8_B_ACTION, SPDC.A07_C9_B_ACTION,
                  SPDC.A07_C10_B_ACTION},
                 bk::T80, SPDC.A07_STEP_TRAN_1, SPDC.A07_STEP_TRAN_2, SPDC.A07_STEP_TRAN_3, SPDC.A07_STEP_TRAN_4,
                 SPDC.A07_STEP_TRAN_5, SPDC.A07_STEP_TRAN_6, SPDC.A07_STEP_TRAN_7, SPDC.A07_STEP_TRAN_8,
                 SPDC.A07_STEP_TRAN_9);
    // A08: the speed controller in control.
    SPDC.NOPERM_NOT = bk::NOT(SPDC.B00_STEP_SFC_STEP);
    SPDC.A08_SD_B_NAME = any_sd();
    COND(SPDC.A08_C2_B_ACTION, SPDC.A08_C2_ACT_OUT, SPDC.A08_C2_E_TIME, SPDC.A08_C2_R_TIME,
         bk::AND({OSPD.OSPD_PLS_B_ACTION, bk::NOT(bk::OR({OSPD.REF_CHK_AND, SPDC.NOPERM_NOT, OSPD.OR_DISABLE_OR}))}));
    COND(SPDC.A08_C3_B_ACTION, SPDC.A08_C3_ACT_OUT, SPDC.A08_C3_E_TIME, SPDC.A08_C3_R_TIME,
         bk::AND({bk::OR({SPDC.A08_C3_IN_1, csd()}), bk::NOT(SPDC.A08_C3_RST_1)}));
    COND(SPDC.A08_C5_B_ACTION, SPDC.A08_C5_ACT_OUT, SPDC.A08_C5_E_TIME, SPDC.A08_C5_R_TIME,
         bk::AND({IDLE_RATE.IDLE_PLS_OR, bk::NOT(bk::OR({IDLE_RATE.NO_PRIOR_NOT, SPDC.DLY_MOVE_DELAY}))}));
    COND(SPDC.A08_C6_B_ACTION, SPDC.A08_C6_ACT_OUT, SPDC.A08_C6_E_TIME, SPDC.A08_C6_R_TIME,
         bk::AND({IDLE_RATE.IDLE_PLS_OR, bk::NOT(bk::OR({no_rback(), SPDC.REM_ACT_NOT, SPDC.DLY_MOVE_DELAY}))}));
    COND(SPDC.A08_C8_B_ACTION, SPDC.A08_C8_ACT_OUT, SPDC.A08_C8_E_TIME, SPDC.A08_C8_R_TIME, frc_tomin());
    bk::SFC_STEP(SPDC_st.A08, SPDC.A08_STEP_SFC_STEP, SPDC.A08_STEP_ACTIVETIME,
                 {SPDC.A08_SD_B_NAME, SPDC.A08_C2_B_ACTION, SPDC.A08_C3_B_ACTION, SPDC.A08_C5_B_ACTION,
                  SPDC.A08_C6_B_ACTION, 0u, SPDC.A08_C8_B_ACTION},
                 bk::T80, SPDC.A08_STEP_TRAN_1, SPDC.A08_STEP_TRAN_2, SPDC.A08_STEP_TRAN_3, SPDC.A08_STEP_TRAN_4,
                 SPDC.A08_STEP_TRAN_5, SPDC.A08_STEP_TRAN_6, SPDC.A08_STEP_TRAN_7);
    // The conditions of A09.
    COND(SPDC.A09_C2_B_ACTION, SPDC.A09_C2_ACT_OUT, SPDC.A09_C2_E_TIME, SPDC.A09_C2_R_TIME, 0);
    COND(SPDC.A09_C3_B_ACTION, SPDC.A09_C3_ACT_OUT, SPDC.A09_C3_E_TIME, SPDC.A09_C3_R_TIME,
         bk::AND({bk::OR({OSPD.DISABLED_NOT, OSPD.OR_DISABLE_OR}), bk::NOT(SPDC.A09_C3_RST_1)}));
    COND(SPDC.A09_C4_B_ACTION, SPDC.A09_C4_ACT_OUT, SPDC.A09_C4_E_TIME, SPDC.A09_C4_R_TIME,
         bk::AND({bk::OR({SPDC.A09_C4_IN_1, csd()}), bk::NOT(SPDC.A09_C4_RST_1)}));
}

void SPDC_test_steps() {
    // A09: overspeed test running.
    SPDC.A09_SD_B_NAME = any_sd();
    bk::SFC_STEP(SPDC_st.A09, SPDC.A09_STEP_SFC_STEP, SPDC.A09_STEP_ACTIVETIME,
                 {SPDC.A09_SD_B_NAME, SPDC.A09_C2_B_ACTION, SPDC.A09_C3_B_ACTION, SPDC.A09_C4_B_ACTION}, bk::T80,
                 SPDC.A09_STEP_TRAN_1, SPDC.A09_STEP_TRAN_2, SPDC.A09_STEP_TRAN_3, SPDC.A09_STEP_TRAN_4);
    // A10: overspeed test ended.
    bk::A_COMPARE(SPDC.SR__GE_MXG_A_COMPARE, SPDC.SR__GE_MXG_A_EQUAL, IFACE_IN_SPEED.MAX_GOV_A_NAME, ref());
    SPDC.HHOR_EQUAL_OR = bk::OR({SPDC.SR__GE_MXG_A_COMPARE, SPDC.SR__GE_MXG_A_EQUAL});
    bk::DELAY(SPDC_st.DLY_OFF, SPDC.DLY_OFF_DELAY, &SPDC.DLY_OFF_R_TIME.ref(), IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME,
              0.0f, 1.0f, bk::T80);
    SPDC.A10_SD_B_NAME = any_sd();
    COND(SPDC.A10_C2_B_ACTION, SPDC.A10_C2_ACT_OUT, SPDC.A10_C2_E_TIME, SPDC.A10_C2_R_TIME,
         bk::AND({bk::OR({SPDC.HHOR_EQUAL_OR, SPDC.A10_C2_IN_2}), bk::NOT(SPDC.A10_C2_RST_1)}));
    COND(SPDC.A10_C3_B_ACTION, SPDC.A10_C3_ACT_OUT, SPDC.A10_C3_E_TIME, SPDC.A10_C3_R_TIME,
         bk::AND({bk::OR({SPDC.A10_C3_IN_1, csd()}), bk::NOT(SPDC.A10_C3_RST_1)}));
    COND(
        SPDC.A10_C5_B_ACTION, SPDC.A10_C5_ACT_OUT, SPDC.A10_C5_E_TIME, SPDC.A10_C5_R_TIME,
        bk::AND({OSPD.OSPD_PLS_B_ACTION, bk::NOT(bk::OR({OSPD.REF_CHK_AND, SPDC.DLY_OFF_DELAY, OSPD.OR_DISABLE_OR}))}));
    bk::SFC_STEP(SPDC_st.A10, SPDC.A10_STEP_SFC_STEP, SPDC.A10_STEP_ACTIVETIME,
                 {SPDC.A10_SD_B_NAME, SPDC.A10_C2_B_ACTION, SPDC.A10_C3_B_ACTION, SPDC.A10_C5_B_ACTION}, bk::T80,
                 SPDC.A10_STEP_TRAN_1, SPDC.A10_STEP_TRAN_2, SPDC.A10_STEP_TRAN_3, SPDC.A10_STEP_TRAN_4);
    // A11: ramping down to idle or minimum.
    SPDC.A11_SD_B_NAME = any_sd();
    COND_GATED(SPDC.A11_C2_B_ACTION, SPDC.A11_C2_ACT_OUT, SPDC.A11_C2_E_TIME, SPDC.A11_C2_R_TIME, gate(),
               bk::AND({bk::OR({SPDC.A11_C2_IN_1, csd()}), bk::NOT(a08())}));
    COND_GATED(SPDC.A11_C3_B_ACTION, SPDC.A11_C3_ACT_OUT, SPDC.A11_C3_E_TIME, SPDC.A11_C3_R_TIME, gate(),
               bk::AND({mv_ref(), bk::NOT(a08())}));
    COND_GATED(SPDC.A11_C4_B_ACTION, SPDC.A11_C4_ACT_OUT, SPDC.A11_C4_E_TIME, SPDC.A11_C4_R_TIME, gate(),
               bk::AND({IDLE_RATE.RATED_PLS_OR, bk::NOT(a08())}));
    COND_GATED(SPDC.A11_C6_B_ACTION, SPDC.A11_C6_ACT_OUT, SPDC.A11_C6_E_TIME, SPDC.A11_C6_R_TIME, gate(),
               bk::AND({SPDC.SR__GE_L1_A_EQUAL, bk::NOT(a08())}));
    COND_GATED(SPDC.A11_C7_B_ACTION, SPDC.A11_C7_ACT_OUT, SPDC.A11_C7_E_TIME, SPDC.A11_C7_R_TIME, gate(),
               bk::AND({SPDC.NO_IDLE_AND, bk::NOT(CRIT_SPD.CRIT_BAND_OR)}));
    bk::SFC_STEP(SPDC_st.A11, SPDC.A11_STEP_SFC_STEP, SPDC.A11_STEP_ACTIVETIME,
                 {SPDC.A11_SD_B_NAME, SPDC.A11_C2_B_ACTION, SPDC.A11_C3_B_ACTION, SPDC.A11_C4_B_ACTION,
                  SPDC.A11_C6_B_ACTION, SPDC.A11_C7_B_ACTION},
                 bk::T80, SPDC.A11_STEP_TRAN_1, SPDC.A11_STEP_TRAN_2, SPDC.A11_STEP_TRAN_3, SPDC.A11_STEP_TRAN_4,
                 SPDC.A11_STEP_TRAN_5, SPDC.A11_STEP_TRAN_6);
    // A12: nothing leads into it.
    SPDC.A12_SD_B_NAME = any_sd();
    bk::SFC_STEP(SPDC_st.A12, SPDC.A12_STEP_SFC_STEP, SPDC.A12_STEP_ACTIVETIME,
                 {SPDC.A12_SD_B_NAME, 0u, 0u, 0u, 0u, 0u, 0u}, bk::T80, SPDC.A12_STEP_TRAN_1, SPDC.A12_STEP_TRAN_2,
                 SPDC.A12_STEP_TRAN_3, SPDC.A12_STEP_TRAN_4, SPDC.A12_STEP_TRAN_5, SPDC.A12_STEP_TRAN_6,
                 SPDC.A12_STEP_TRAN_7);

    // Target selection.
    const float z_setpoint = IFACE_OUT_SPEED.Z_SETPOINT_A_NAME;
    SPDC.SW_NO_IDLE_A_SW = bk::SW<float>(SPDC.NO_IDLE_AND, IFACE_IN_SPEED.IDLE_1_A_NAME, IFACE_IN_START.SET_LOW1_A_NAME);
    SPDC.SEL_MIN_A_MIN = bk::A_MIN(SPDC.NO_LOW_IDL_A_SW, z_setpoint);
    SPDC.STEP_MAXGOV_OR = bk::OR({SPDC.SR_OVR_MXG_A_COMPARE, OSPD.NOT_REDUCED_NOT});
    SPDC.RST_REF_AND = bk::AND({SPDC.A10_STEP_SFC_STEP, SPDC.STEP_MAXGOV_OR});
    const refbk::MuxIn sel[] = {
        {1, SPDC.A01_STEP_SFC_STEP, SPDC.NO_LOW_IDL_A_SW},
        {2, SPDC.A02_STEP_SFC_STEP, IFACE_IN_SPEED.IDLE_1_A_NAME},
        {3, SPDC.A07_STEP_SFC_STEP, SPDC.START_SW_A_SW},
        {4, SPDC.RST_REF_AND, IFACE_IN_SPEED.MAX_GOV_A_NAME},
        {5, SPDC.A11_STEP_SFC_STEP, SPDC.SW_NO_IDLE_A_SW},
        {6, IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, CNFG_SETPT.OST_LIMIT_A_NAME},
        {7, SPDC.SEL_SP_SEL_7, CNFG_SETPT.MIN_GOV_A_NAME},
        {8, SPDC.Z01_STEP_SFC_STEP, SPDC.SEL_MIN_A_MIN},
    };
    SPDC.SEL_SP_INT_SEL = refbk::A_MUX_HSS(SPDC.SEL_SP_A_MUX_HSS, sel, z_setpoint);

    // Sequence-active flag.
    SPDC.RAISE_B_NAME = SPD_R_L.SPD_RSE_AND;
    SPDC.AND_OSPD_AND = bk::AND({IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, SPDC.RAISE_B_NAME});
    SPDC.STRT_SEQ_OR = bk::OR({SPDC.A01_STEP_SFC_STEP, SPDC.A02_STEP_SFC_STEP, SPDC.A07_STEP_SFC_STEP,
                               SPDC.Z01_STEP_SFC_STEP, SPDC.AND_OSPD_AND, SPDC.A10_STEP_SFC_STEP,
                               SPDC.A11_STEP_SFC_STEP, SPDC.STRT_SEQ_IN_8});

    // Reference cells read by the ramp.
    const float min_gov = CNFG_SETPT.MIN_GOV_A_NAME;
    SPDC.OR_MINSEL_OR = bk::OR({a08(), IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, SPDC.A10_STEP_SFC_STEP});
    SPDC.LOWER_SP_A_SW = bk::SW<float>(SPDC.OR_MINSEL_OR, IFACE_IN_SPEED.IDLE_1_A_NAME, min_gov);
    SPDC.QT_LOW_A_SW = bk::SW<float>(SPDC.OR_MINSEL_OR, SPDC.QT_LOW_NC, min_gov);
    SPDC.LOWER_B_NAME = SPD_R_L.SPD_LWR_AND;
    SPDC.NOT_UP_NOT = bk::NOT(SPDC.Z_UP_ZMINUS1_B);
    const uint32_t crit_band = CRIT_SPD.CRIT_BAND_OR;
    SPDC.L_CRIT_FRC_AND = bk::AND({crit_band, SPDC.A02ASTEP_SFC_STEP, SPDC.NOT_UP_NOT});
    SPDC.R_CRIT_FRC_AND = bk::AND({crit_band, SPDC.A02ASTEP_SFC_STEP, SPDC.Z_UP_ZMINUS1_B});
    SPDC.ORFRC_LOW_OR = bk::OR({SPDC.LOWER_B_NAME, SPDC.L_CRIT_FRC_AND});
    SPDC.ORFRC_RAIS_OR = bk::OR({SPDC.RAISE_B_NAME, SPDC.R_CRIT_FRC_AND});
    SPDC.NO_CRITACT_NOT = bk::NOT(crit_band);
    SPDC.NO_RAZLWR_NOT = bk::NOT(SPD_R_L.RSE_LWR_OR);
    COND(SPDC.IH_REMOTE_B_ACTION, SPDC.IH_REMOTE_ACT_OUT, SPDC.IH_REMOTE_E_TIME, SPDC.IH_REMOTE_R_TIME,
         bk::AND({ENTR_SETPT.IN_OVRSPD_B_SW, bk::NOT(crit_band)}));
    SPDC.OFLINE_AND = bk::AND({SPD_CTRL.ONLINE_DYN_B_NAME, SPDC.OFLINE_IN_2});
    SPDC.RESTART_A_NAME = SPD_SETPT.ADD_RPM_ADD;
    refbk::A_COMPARE_H(SPDC.SPD_GT_OSPD_A_COMPARE, SPDC.SPD_GT_OSPD_A_EQUAL, OSPD.SPD_OR_SP_A_MAX,
                       CNFG_SETPT.OSPD_TRIP_A_NAME, SPDC.SPD_GT_OSPD_HYSTER);
    SPDC.OVER_INT_SP_AND = bk::AND({SPDC.A09_STEP_SFC_STEP, SPDC.SPD_GT_OSPD_A_COMPARE});
    // On entering A11 with the reference far above the speed, the reference
    // is set to the tracked speed for 0.3 s, cut off once it is near.
    const uint32_t a11 = SPDC.A11_STEP_SFC_STEP;
    if (a11 == 0) SPDC_st.pls_spd_cut = 0;
    else if (SPD_REF.N_HIGH_NOT != 0) SPDC_st.pls_spd_cut = 1;
    bk::ONE_SHOT(SPDC_st.PLS_SPD, SPDC.PLS_SPD_ONE_SHOT, &SPDC.PLS_SPD_R_TIME.ref(), a11, 0.3f, bk::T80,
                 SPDC_st.pls_spd_cut);
    SPDC.SETBACK_AND = bk::AND({IFACE_IN_SPEED.USE_SETBACK_B_NAME, SPDC.NO_RAZLWR_NOT, RMT_ENBL.DISABLED_NOT,
                                CASC_ENBL.DISABLED_NOT});
    bk::ONE_SHOT(SPDC_st.SBACK_OS, SPDC.SBACK_OS_ONE_SHOT, &SPDC.SBACK_OS_R_TIME.ref(), SPDC.SETBACK_AND, 0.5f,
                 bk::T80);
}

void SPDC_z00() {
    bk::DELAY(SPDC_st.DLY_Z00_C1, SPDC.DLY_Z00_C1_DELAY, &SPDC.DLY_Z00_C1_R_TIME.ref(), any_sd(), 0.0f, 0.5f, bk::T80);
    SPDC.Z00_SD_B_NAME = any_sd();
    COND(SPDC.Z00_C1_B_ACTION, SPDC.Z00_C1_ACT_OUT, SPDC.Z00_C1_E_TIME, SPDC.Z00_C1_R_TIME,
         bk::NOT(SPDC.DLY_Z00_C1_DELAY));
    // Z00 has no shutdown transition: its one transition is the end of the
    // shutdown, towards A00.
    bk::SFC_STEP(SPDC_st.Z00, SPDC.Z00_STEP_SFC_STEP, SPDC.Z00_STEP_ACTIVETIME, {SPDC.Z00_C1_B_ACTION}, bk::T80,
                 SPDC.Z00_STEP_TRAN_1);
}

void SPDC_commit() {
    auto& c = SPDC;
    auto& s = SPDC_st;
    c.Z00_STEP_SFC_STEP = bk::SFC_COMMIT(s.Z00, {c.A00_STEP_TRAN_1, c.A00ASTEP_TRAN_1, c.A01_STEP_TRAN_1,
                                                 c.A02_STEP_TRAN_1, c.A02ASTEP_TRAN_1, c.A07_STEP_TRAN_1,
                                                 c.A08_STEP_TRAN_1, c.A09_STEP_TRAN_1, c.A10_STEP_TRAN_1,
                                                 c.A11_STEP_TRAN_1, c.A12_STEP_TRAN_1, c.Z01_STEP_TRAN_1,
                                                 c.A09_STEP_TRAN_2});
    c.A00_STEP_SFC_STEP = bk::SFC_COMMIT(s.A00, {c.Z00_STEP_TRAN_1, c.Z01_STEP_TRAN_2});
    c.A00ASTEP_SFC_STEP = bk::SFC_COMMIT(s.A00A, {c.A00_STEP_TRAN_3});
    c.A01_STEP_SFC_STEP = bk::SFC_COMMIT(s.A01, {c.A00_STEP_TRAN_2, c.A02ASTEP_TRAN_3, c.A02ASTEP_TRAN_4});
    c.A02_STEP_SFC_STEP = bk::SFC_COMMIT(s.A02, {c.A01_STEP_TRAN_2, c.A11_STEP_TRAN_5});
    c.A02ASTEP_SFC_STEP =
        bk::SFC_COMMIT(s.A02A, {c.A00ASTEP_TRAN_3, c.A01_STEP_TRAN_3, c.A02_STEP_TRAN_5, c.A02_STEP_TRAN_8,
                                c.A07_STEP_TRAN_6, c.A07_STEP_TRAN_7, c.A11_STEP_TRAN_3, c.A11_STEP_TRAN_6,
                                c.Z01_STEP_TRAN_3});
    c.A07_STEP_SFC_STEP = bk::SFC_COMMIT(s.A07, {c.A00_STEP_TRAN_4, c.A00_STEP_TRAN_5, c.A01_STEP_TRAN_5,
                                                 c.A02_STEP_TRAN_7, c.A02_STEP_TRAN_9, c.A02ASTEP_TRAN_7,
                                                 c.A11_STEP_TRAN_4});
    c.A08_STEP_SFC_STEP = bk::SFC_COMMIT(s.A08, {c.A02ASTEP_TRAN_2, c.A07_STEP_TRAN_3, c.A07_STEP_TRAN_4,
                                                 c.A07_STEP_TRAN_9, c.A10_STEP_TRAN_2});
    c.A09_STEP_SFC_STEP = bk::SFC_COMMIT(s.A09, {c.A08_STEP_TRAN_2, c.A10_STEP_TRAN_4});
    c.A10_STEP_SFC_STEP = bk::SFC_COMMIT(s.A10, {c.A09_STEP_TRAN_3});
    c.A11_STEP_SFC_STEP = bk::SFC_COMMIT(s.A11, {c.A02ASTEP_TRAN_9, c.A02ASTEP_TRAN_10, c.A07_STEP_TRAN_5,
                                                 c.A07_STEP_TRAN_8, c.A08_STEP_TRAN_4, c.A08_STEP_TRAN_5,
                                                 c.A08_STEP_TRAN_7});
    c.A12_STEP_SFC_STEP = bk::SFC_COMMIT(s.A12, {});
    c.Z01_STEP_SFC_STEP = bk::SFC_COMMIT(s.Z01, {c.A00ASTEP_TRAN_2, c.A01_STEP_TRAN_4, c.A02_STEP_TRAN_6,
                                                 c.A02ASTEP_TRAN_8, c.A07_STEP_TRAN_2, c.A08_STEP_TRAN_3,
                                                 c.A09_STEP_TRAN_4, c.A10_STEP_TRAN_3, c.A11_STEP_TRAN_2});
}

}  // namespace r80

namespace r160 {

void SPDC_rated_target() {
    SPDC.USE_RATED_AND = bk::AND({CNFG_START.CONFIG_B_LIST_10, CNFG_START.AUTO_START_B_NAME});
    SPDC.USE_RATED_NOT_NOT = bk::NOT(SPDC.USE_RATED_AND);
    SPDC.START_SW_A_SW = bk::SW<float>(SPDC.USE_RATED_AND, CNFG_SETPT.MIN_GOV_A_NAME, CNFG_START.IR_RATED_SP_A_NAME);
}

void SPDC_idle_target() {
    const uint32_t used = IFACE_IN_START.USE_IDLE_RATED_B_NAME;
    SPDC.NO_IDLE_AND = bk::NOT(used);
    SPDC.NO_LOW_IDL_A_SW = bk::SW<float>(used, CNFG_SETPT.MIN_GOV_A_NAME, IFACE_IN_SPEED.IDLE_1_A_NAME);
    refbk::A_COMPARE_H(SPDC.SR_GE_IDL_A_COMPARE, SPDC.SR_GE_IDL_A_EQUAL, SPDC.MIN_SP_PV_A_MIN, SPDC.NO_LOW_IDL_A_SW,
                       SPDC.SR_GE_IDL_HYSTER);
    SPDC.ABOV_IDLE_OR = bk::OR({SPDC.SR_GE_IDL_A_COMPARE, SPDC.SR_GE_IDL_A_EQUAL});
}

void SPDC_min_gov_level() {
    // The lower of the reference and the lagged speed (+30) against the
    // levels of the sequence.
    SPDC.SPEED_ADD_ADD = IFACE_IN_SPEED.SPEED_A_NAME + 30.0f;
    bk::LAG(SPDC_st.LAG_SPEED, SPDC.LAG_SPEED_LAG_2, &SPDC.LAG_SPEED_DERIV.ref(), SPDC.SPEED_ADD_ADD,
            SPDC.LAG_SPEED_LAG_TAU, bk::T160);
    SPDC.MIN_SP_PV_A_MIN = bk::A_MIN(IFACE_OUT_SPEED.SPEED_REF_A_NAME, SPDC.LAG_SPEED_LAG_2);
    refbk::A_COMPARE_H(SPDC.SR__GE_MNG_A_COMPARE, SPDC.SR__GE_MNG_A_EQUAL, SPDC.MIN_SP_PV_A_MIN,
                       IFACE_IN_SPEED.MIN_GOV_A_NAME, SPDC.SR__GE_MNG_HYSTER);
    SPDC.SR__LT_MNG_NOT = bk::NOT(SPDC.SR__GE_MNG_A_COMPARE);
    SPDC.ABOV_MING_OR = bk::OR({SPDC.SR__GE_MNG_A_COMPARE, SPDC.SR__GE_MNG_A_EQUAL});
}

void SPDC_idle_level() {
    refbk::A_COMPARE_H(SPDC.SR__GE_L1_A_COMPARE, SPDC.SR__GE_L1_A_EQUAL, SPDC.MIN_SP_PV_A_MIN, SPDC.NO_LOW_IDL_A_SW,
                       SPDC.SR__GE_L1_HYSTER);
    SPDC.SR_LT_L1_NOT = bk::NOT(SPDC.SR__GE_L1_A_COMPARE);
    SPDC.IDLE_1_CMPL_AND = bk::AND({SPDC.SR_LT_L1_NOT, SPDC.IDLE_1_CMPL_IN_2});
    bk::A_COMPARE(SPDC.SR__GE_RAT_A_COMPARE, SPDC.SR__GE_RAT_A_EQUAL, SPDC.MIN_SP_PV_A_MIN,
                  CNFG_START.IR_RATED_SP_A_NAME);
    // Restart: the valve limiter has left the selected demand for 1 s; the
    // run command has been gone for 1 s.
    SPDC.NOT_HPRAMP_NOT = bk::NOT(SPDC.Z_HPRP_ZMINUS1_B);
    bk::DELAY(SPDC_st.DLY_ON, SPDC.DLY_ON_DELAY, &SPDC.DLY_ON_R_TIME.ref(), SPDC.NOT_HPRAMP_NOT, 1.0f, 0.0f, bk::T160);
    SPDC.NO_START_NOT = bk::NOT(START.RUN_CMD_LATCH_R);
    bk::DELAY(SPDC_st.DLY_OUT, SPDC.DLY_OUT_DELAY, &SPDC.DLY_OUT_R_TIME.ref(), SPDC.NO_START_NOT, 0.0f, 1.0f, bk::T160);
}

void SPDC_a02a_c2() {
    SPDC.AND_NORB_AND = bk::AND({IDLE_RATE.IDLE_AND, IDLE_RATE.NO_RBACK_B_NAME});
    SPDC.AND_NO_IDL_AND = bk::AND({SPDC.NO_IDLE_AND, SPDC.Z_HPRP_ZMINUS1_B});
    const uint32_t a08 = SPDC.A08_STEP_SFC_STEP;
    refbk::COND_GATED(SPDC.A02AC2_B_ACTION, SPDC.A02AC2_ACT_OUT, SPDC.A02AC2_E_TIME, SPDC.A02AC2_R_TIME,
                      SPDC.ST_ENABLE_NOT,
                      bk::AND({bk::OR({SPDC.SR__GE_MNG_A_COMPARE, SPDC.SR__GE_MNG_A_EQUAL}), bk::NOT(a08)}));
}

void SPDC_store_delays() { SPDC_st.z_hprp = IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME; }
void SPDC_commit_delays() { SPDC.Z_HPRP_ZMINUS1_B = SPDC_st.z_hprp; }

}  // namespace r160

void SPDC_init_blks() {
    using namespace cells;
    SPDC.Z00_STEP_SFC_STEP = 1;
    SPDC.A00_STEP_SFC_STEP = 0;
    SPDC.A00ASTEP_SFC_STEP = 0;
    SPDC.A01_STEP_SFC_STEP = 0;
    SPDC.A02_STEP_SFC_STEP = 0;
    SPDC.A02ASTEP_SFC_STEP = 0;
    SPDC.A07_STEP_SFC_STEP = 0;
    SPDC.A08_STEP_SFC_STEP = 0;
    SPDC.A09_STEP_SFC_STEP = 0;
    SPDC.A10_STEP_SFC_STEP = 0;
    SPDC.A11_STEP_SFC_STEP = 0;
    SPDC.A12_STEP_SFC_STEP = 0;
    SPDC.Z01_STEP_SFC_STEP = 0;
    SPDC.B00_STEP_SFC_STEP = 1;
    SPDC.B01_STEP_SFC_STEP = 0;
    SPDC.B02_STEP_SFC_STEP = 0;
    SPDC.B03_STEP_SFC_STEP = 0;
}
