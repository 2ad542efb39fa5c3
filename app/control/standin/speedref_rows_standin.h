// STAND-IN rows of the speed-reference modules: cells of these modules that
// other logic computes (operator interface, configuration, protection,
// overspeed test, cascade), declared here until that logic lands and takes
// the rows over.
#pragma once

// SPDC: the underspeed alarm's switch.
#define SPDC_STANDIN_ROWS(X) X(UNDER_SPD, B_SW, B, R40, PLAIN, R10)

// START: start and stop contacts, keypad start, the permissive unit delays
// and the start-type configuration.
#define START_STANDIN_ROWS(X)                       \
    X(STARTED, LATCH, B, R160, PLAIN)               \
    X(START_OS, ONE_SHOT, B, R80, PLAIN)            \
    X(KEYPAD_START, B_SW, B, R80, PLAIN)            \
    X(RST_OS, ONE_SHOT, B, R80, PLAIN)              \
    X(PLS_OFF, B_ACTION, B, R80, PLAIN)             \
    X(ZPERM, ZMINUS1_B, B, R80, PLAIN)              \
    X(ZSTRTR, ZMINUS1_B, B, R80, PLAIN)             \
    X(NOT_STRTD, NOT, B, R160, PLAIN, R80)          \
    X(DLY_OF, DELAY, B, R40, PLAIN, R80)            \
    X(AUTO_START, AND, B, R160, PLAIN)              \
    X(MAN_START, B_NAME, B, R160, PLAIN)

// REMOTE: the remote setpoint's matching flags, rate and entry enable.
#define REMOTE_STANDIN_ROWS(X)                      \
    X(MATCH_HI, A_COMPARE, B, R80, PLAIN)           \
    X(MATCH_LO, A_COMPARE, B, R80, PLAIN)           \
    X(DISABLE, OR, B, R80, PLAIN)                   \
    X(ENTR_ENBL, AND, B, R80, PLAIN)                \
    X(RMT_RATE, A_NAME, A, R160, PLAIN, R40)

// ENTR_SETPT: the automatic-start and matched pulses.
#define ENTR_SETPT_STANDIN_ROWS(X)                  \
    X(AUTO_ST_OS, ONE_SHOT, B, R160, PLAIN)         \
    X(ENTR_MTCHD, AND, B, R40, PLAIN, R160)

// MOD_SPD_SP: the Modbus entered setpoint's latch and value.
#define MOD_SPD_SP_STANDIN_ROWS(X)                  \
    X(GOTO_M1_SP, LATCH_R, B, R160, PLAIN)          \
    X(M1_SP, A_LIMITER, A, R160, PLAIN)

// AUTO_SEQ: the sequence contacts' actions.
#define AUTO_SEQ_STANDIN_ROWS(X)                    \
    X(BI_ON, B_ACTION, B, R80, PLAIN)               \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)

// CNTRL_STOP: the contact and its action, the option and the valve-limiter
// ramp's end.
#define CNTRL_STOP_STANDIN_ROWS(X)                  \
    X(BI_ON, B_ACTION, B, R80, PLAIN)               \
    X(CONTACT, B_NAME, B, R80, PLAIN)               \
    X(NOT_USED, NOT, B, R160, PLAIN, R80)           \
    X(RST_LTCH, DELAY, B, R160, PLAIN, R80)         \
    X(Z_HPRPLIM, ZMINUS1_B, B, R80, PLAIN)

// RESET: the power-up flag.
#define RESET_STANDIN_ROWS(X) X(PWR_UP_N, NOT, B, R80, PLAIN)

// MPU: the turbine speed and its idle comparison.
#define MPU_STANDIN_ROWS(X)                         \
    X(TURB_SPD, A_NAME, A, R10, PLAIN, R20, R80)    \
    X(SPD_GTEQ_IDL, OR, B, R80, PLAIN)

// OSPD: the overspeed test's commands and checks.
#define OSPD_STANDIN_ROWS(X)                        \
    X(OSPD_PLS, B_ACTION, B, R80, PLAIN)            \
    X(REF_CHK, AND, B, R80, PLAIN)                  \
    X(OR_DISABLE, OR, B, R80, PLAIN)                \
    X(DISABLED, NOT, B, R80, PLAIN)                 \
    X(ENTR_RESET, ONE_SHOT, B, R160, PLAIN, R80)    \
    X(NOT_REDUCED, NOT, B, R80, PLAIN)              \
    X(LP_BRKR, ZMINUS1, A, R40, PLAIN)              \
    X(SPD_OR_SP, A_MAX, A, R10, PLAIN, R80)

// IFACE_OUT_SPEED: outputs of the speed controller, the cascade and the
// remote-setpoint interface.
#define IFACE_OUT_SPEED_STANDIN_ROWS(X)                  \
    X(SPD_PID_LSS, A_NAME, A, R10, PLAIN)                \
    X(CASCADE_ENABLED, B_NAME, B, R80, PLAIN, R10, R40)  \
    X(NSD_IN_PROGRESS, B_NAME, B, R80, PLAIN, R10)       \
    X(RMT_SPD_ENABLED, B_NAME, B, R80, PLAIN, R160)

// IFACE_OUT_START: outputs of the speed sensing, the critical band and the
// controlled-stop sequence.
#define IFACE_OUT_START_STANDIN_ROWS(X)                  \
    X(MPU1_OVRD_ON, B_NAME, B, R10, PLAIN)               \
    X(IN_CRIT, B_NAME, B, R10, PLAIN)                    \
    X(SD_CLEAR, B_NAME, B, R80, PLAIN, R10)              \
    X(CSD_SEQ_ENABLED, B_NAME, B, R80, PLAIN, R160)

// IFACE_IN_SPEED: the configured speeds, rates and options and the commands
// of the operator interface.
#define IFACE_IN_SPEED_STANDIN_ROWS(X)                   \
    X(IDLE_1, A_NAME, A, R160, PLAIN, R80)               \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R80)              \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R40, R80)         \
    X(SPEED, A_NAME, A, R10, PLAIN, R40, R80, R160)      \
    X(USE_SETBACK, B_NAME, B, R160, PLAIN, R80)          \
    X(H_SER_RSE, B_NAME, B, R160, PLAIN, R80)            \
    X(H_SER_LWR, B_NAME, B, R160, PLAIN, R80)            \
    X(SP_FRATE_DLY, A_NAME, A, R160, PLAIN, R80)         \
    X(ENA_REM_SPDSP, B_NAME, B, R10, PLAIN, R80)         \
    X(REMSP_PV_FLT, B_NAME, B, R20, PLAIN, R80)          \
    X(ENA_DIS_REM, OUT_1, B, R40, PLAIN, R80)            \
    X(ENA_DIS_REM, OUT_2, B, R40, PLAIN, R80)            \
    X(USE_DI_MOMENT, B_NAME, B, R160, PLAIN, R80)        \
    X(NO_RMT_DI, NOT, B, R160, PLAIN, R80)               \
    X(NO_RMT_SPD, NOT, B, R160, PLAIN, R80)              \
    X(GOTO_ENTR_SP, B_NAME, B, R160, PLAIN)              \
    X(ENA_STEPTEST, B_ACTION, B, R160, PLAIN, R40)       \
    X(GO_STEP_SP, OUT_1, B, R160, PLAIN, R40)            \
    X(SP_STEP, SAMP_ITUNE, I, R160, PLAIN, R40)          \
    X(CASC_PV_FLT, B_NAME, B, R20, PLAIN, R40)           \
    X(OSPD_RATE, A_NAME, A, R160, PLAIN, R40)            \
    X(NS_RATE, A_NAME, A, R160, PLAIN, R40)              \
    X(SP_GOTO_RT, A_NAME, A, R160, PLAIN, R40)           \
    X(RMT_NOT_MATCH, A_NAME, A, R160, PLAIN, R40)        \
    X(DISABLE_HOT_START, B_NAME, B, R160, PLAIN)         \
    X(HOT_START_CMD, B_NAME, B, R160, PLAIN)             \
    X(SP_FRATE_ON, A_NAME, A, R160, PLAIN)               \
    X(SP_FRATE_OFF, A_NAME, A, R160, PLAIN)              \
    X(USE_COMBO, B_NAME, B, R160, PLAIN)

// IFACE_IN_START: the start, stop and idle/rated commands and options of
// the operator interface and the contacts.
#define IFACE_IN_START_STANDIN_ROWS(X)                   \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R80, R160)          \
    X(MANUAL_START, B_NAME, B, R160, PLAIN, R80)         \
    X(AUTO_START, B_NAME, B, R160, PLAIN, R80)           \
    X(USE_IDLE_RATED, B_NAME, B, R160, PLAIN, R80)       \
    X(SET_LOW1, A_NAME, A, R160, PLAIN, R80)             \
    X(START_PERM_CMD, B_NAME, B, R10, PLAIN, R160)       \
    X(STARTCMD, B_NAME, B, R10, PLAIN, R80)              \
    X(CNTRL_ST, B_NAME, B, R160, PLAIN, R80)             \
    X(CSD_ABORT, B_NAME, B, R160, PLAIN, R80)            \
    X(AUTO_EN, B_NAME, B, R160, PLAIN, R80)              \
    X(AUTO_DIS, B_NAME, B, R160, PLAIN, R80)             \
    X(START_KEY, B_NAME, B, R160, PLAIN, R80)            \
    X(IDLERATECMD, B_NAME, B, R10, PLAIN, R80)           \
    X(BI_RESET_GOTO_MIN, B_NAME, B, R160, PLAIN, R80)    \
    X(IR_EN, B_NAME, B, R160, PLAIN, R80)                \
    X(IR_DIS, B_NAME, B, R160, PLAIN, R80)

// BI_MUX: the start-permissive and combined speed/cascade contact options
// and the external trips 2 .. 4.
#define BI_MUX_SPEEDREF_STANDIN_ROWS(X)                  \
    X(STARTPERM_USED, B_NAME, B, R10, PLAIN, R160)       \
    X(SPDCAS_L_USED, B_NAME, B, R10, PLAIN, R80)         \
    X(SPDCAS_R_USED, B_NAME, B, R10, PLAIN, R80)         \
    X(EXT_TRIP_2, B_NAME, B, R10, PLAIN, R80)            \
    X(EXT_TRIP_3, B_NAME, B, R10, PLAIN, R80)            \
    X(EXT_TRIP_4, B_NAME, B, R10, PLAIN, R80)

// MPU_OVRD: the speed-sensor minimum level.
#define MPU_OVRD_SPEEDREF_STANDIN_ROWS(X) X(MIN_LVL_1, ADD, A, R160, PLAIN, R80)
