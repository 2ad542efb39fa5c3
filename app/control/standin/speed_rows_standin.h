// STAND-IN rows of modules that the speed control shares with subsystems not
// built yet (protection, speed reference, HP manual and valve configuration,
// critical speed, start logic): the cells those subsystems compute, declared
// in the shared modules until their own logic lands and takes the rows over.
#pragma once

// IFACE_IN_SPEED: the turbine speed and the speed-interface settings.
#define IFACE_IN_SPEED_STANDIN_ROWS(X)                   \
    X(SPEED, A_NAME, A, R10, PLAIN, R160)                \
    X(IDLE_1, A_NAME, A, R160, PLAIN, R40)               \
    X(DROOP_PCT, A_NAME, A, R160, PLAIN, R10)            \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R10, R40)         \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R40)              \
    X(GO_ONLINE, A_NAME, A, R160, PLAIN)                 \
    X(RESET_NOISE_CALC, B_NAME, B, R80, PLAIN, R10)      \
    X(ANLYZ_RQST, OUT_1, B, R80, PLAIN, R40)             \
    X(ANLYZ_RQST, OUT_2, B, R80, PLAIN, R40)             \
    X(REMSP_PV_FLT, B_NAME, B, R20, PLAIN, R40)          \
    X(USE_OPID_OUTS, OUT_1, B, R160, PLAIN, R40)         \
    X(USE_OPID_OUTS, OUT_2, B, R160, PLAIN, R40)         \
    X(ADJ_FAST_SLOW, OUT_1, B, R160, PLAIN)              \
    X(ADJ_FAST_SLOW, OUT_2, B, R160, PLAIN)

// IFACE_OUT_SPEED: the speed reference and its held setpoint, and the
// cascade, overspeed-test and normal-shutdown flags.
#define IFACE_OUT_SPEED_STANDIN_ROWS(X)                  \
    X(OSPD_TEST_EN, B_NAME, B, R80, PLAIN)               \
    X(CASCADE_ENABLED, B_NAME, B, R80, PLAIN, R10)       \
    X(NSD_IN_PROGRESS, B_NAME, B, R80, PLAIN, R10)       \
    X(SPEED_REF, A_NAME, A, R40, PLAIN)                  \
    X(Z_SETPOINT, A_NAME, A, R40, PLAIN)

// IFACE_IN_VLV: the valve limiter, the demand inversion, the self-powered
// actuator and the shutdown copy of the protection logic.
#define IFACE_IN_VLV_STANDIN_ROWS(X)                     \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN, R10)            \
    X(INVERT_DMD, B_NAME, B, R160, PLAIN, R10)           \
    X(SELF_PWACT, B_NAME, B, R160, PLAIN, R10)           \
    X(ANY_SD, B_NAME, B, R10, PLAIN)

// HP_DRIVER: the stroke latch and the forward/reverse setting of the valve
// configuration.
#define HP_DRIVER_STANDIN_ROWS(X)                        \
    X(STRK_LTCH, B_NAME, B, R160, PLAIN)                 \
    X(STRK_LTCH, LATCH_R, B, R160, PLAIN, R10)           \
    X(REV_GAIN, A_SW, A, R160, PLAIN, R10)               \
    X(REV_SP, A_SW, A, R160, PLAIN, R10)

// HP_MAN_RAMP / HP_MAN_ENBL / IFACE_IN_HP_MAN: the manual demand commands,
// the entered setpoint, the soft-disable rate and the manual enable latch.
#define HP_MAN_RAMP_STANDIN_ROWS(X)                      \
    X(LOWER, B_ACTION, B, R80, PLAIN, R10)               \
    X(RAISE, B_ACTION, B, R80, PLAIN, R10)               \
    X(GOTO_CMD, B_ACTION, B, R80, PLAIN, R10)            \
    X(ENTR_SETPT_A_SW, A_SW, A, R80, PLAIN, R10)         \
    X(SOFT_DIS_RATE, MULTIPLY, A, R160, PLAIN, R10)
#define HP_MAN_ENBL_STANDIN_ROWS(X) X(ENABLED, LATCH_R, B, R10, PLAIN)
#define IFACE_IN_HP_MAN_STANDIN_ROWS(X) X(MAN_RATE, A_NAME, A, R160, PLAIN, R10)

// DROOP: the droop feedback limit, the reference switch and the on-line
// deadband of the droop settings.
#define DROOP_STANDIN_ROWS(X)                            \
    X(SW_REF, CTRL, B, R10, PLAIN)                       \
    X(LIM_FDBK, A_LIMITER, A, R10, PLAIN)                \
    X(SPD_DB2, A_SW, A, R160, PLAIN, R10)

// SPD_CTRL: the other-controller flag, the speed-reference movement, the
// optimizer fault reset, the combination enable and the tuning time-out.
#define SPD_CTRL_STANDIN_ROWS(X)                         \
    X(OTHER_EN_CTL, OR, B, R10, PLAIN)                   \
    X(SP_MOVE, OR, B, R80, PLAIN, R10)                   \
    X(OPTI_FLT_RST, OR, B, R80, PLAIN, R10)              \
    X(ENA_COMBO, AND, B, R80, PLAIN, R40)                \
    X(ONE_SHOT, ONE_SHOT, B, R80, PLAIN, R40)

// CRIT_SPD: the band's upper limit, the band OR of the slower groups and the
// band-time cells of the 160 ms unit delays.
#define CRIT_SPD_STANDIN_ROWS(X)                         \
    X(SET_HIGH1_SUB, SUBTRACT, A, R160, PLAIN, R10)      \
    X(CRIT_BAND, OR, B, R160, PLAIN, R10)                \
    X(CRIT_PROB1, IN_4, B, R10, PLAIN)                   \
    X(RTIME, OUT_1, A, R160, PLAIN)                      \
    X(MAXTIMEZ, ZMINUS1, A, R160, PLAIN)

// IFACE_IN_START: the turbine speed copy, the band's lower limit and the
// no-shutdown flag of the start logic.
#define IFACE_IN_START_STANDIN_ROWS(X)                   \
    X(TURB_SPEED, A_NAME, A, R10, PLAIN)                 \
    X(SET_LOW1, A_NAME, A, R10, PLAIN)                   \
    X(NOT_SD, B_NAME, B, R10, PLAIN)

// MPU_OVRD / SD_LOGIC: the self-powered speed level, the start pulse and the
// push-button of the shutdown logic.
#define MPU_OVRD_SPEED_STANDIN_ROWS(X)                   \
    X(IN_PCT, MULTIPLY, A, R160, PLAIN, R10)             \
    X(NSTR_SH, ONE_SHOT, B, R10, PLAIN)
#define SD_LOGIC_STANDIN_ROWS(X) X(PUSHBUTTON, B_SW, B, R10, PLAIN)

// ORVEX12_IO: the chassis comparator of the shutdown slices and the keypad's
// shift key.
#define ORVEX12_IO_STANDIN_ROWS(X)                       \
    X(A_COMPARE, A_COMPARE, B, R10, PLAIN)               \
    X(KEYPAD, SHIFT, B, R80, PLAIN, R160)
