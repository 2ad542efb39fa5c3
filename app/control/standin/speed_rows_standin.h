// STAND-IN rows of modules that the speed control shares with subsystems not
// built yet (protection, speed reference, HP manual and valve configuration,
// critical speed, start logic): the cells those subsystems compute, declared
// in the shared modules until their own logic lands and takes the rows over.
#pragma once

// IFACE_IN_SPEED: the turbine speed and the speed-interface settings.
#define IFACE_IN_SPEED_STANDIN_ROWS(X) \
    X(SPEED, A_NAME, A, R10, PLAIN, R40, R80, R160)   \
    X(IDLE_1, A_NAME, A, R160, PLAIN, R40, R80)       \
    X(DROOP_PCT, A_NAME, A, R160, PLAIN, R10)         \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R10, R40, R80) \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R40, R80)      \
    X(H_SER_RSE, B_NAME, B, R160, PLAIN, R80)         \
    X(H_SER_LWR, B_NAME, B, R160, PLAIN, R80)         \
    X(ENA_REM_SPDSP, B_NAME, B, R10, PLAIN, R80)      \
    X(USE_DI_MOMENT, B_NAME, B, R160, PLAIN, R80)     \
    X(DISABLE_HOT_START, B_NAME, B, R160, PLAIN)      \
    X(OSPD_TEST_SW, B_NAME, B, R160, PLAIN)           \
    X(DISABLE_OST, B_NAME, B, R160, PLAIN)            \
    X(ENABLE_EXT_OST, B_NAME, B, R160, PLAIN)         \
    X(RESET_HOLD, B_NAME, B, R160, PLAIN)             \
    X(MOD_LINK_ALARM, B_NAME, B, R160, PLAIN)

// IFACE_OUT_SPEED: the speed reference and its held setpoint, and the
// overspeed-test and normal-shutdown flags.
#define IFACE_OUT_SPEED_STANDIN_ROWS(X)

// IFACE_IN_VLV: the valve limiter, the demand inversion, the self-powered
// actuator and the shutdown copy of the protection logic.
#define IFACE_IN_VLV_STANDIN_ROWS(X)                     \
    X(INVERT_DMD, B_NAME, B, R160, PLAIN, R10)           \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R20, R80, R160)     \
    X(HP_LIM_CLOSE, B_NAME, B, R10, PLAIN, R80)          \
    X(HP_LIM_OPEN, B_NAME, B, R10, PLAIN, R80)           \
    X(VLIM_RSE, B_NAME, B, R80, PLAIN)                   \
    X(VLIM_LWR, B_NAME, B, R80, PLAIN)

// HP_DRIVER: the stroke latch and the forward/reverse setting of the valve
// configuration.
#define HP_DRIVER_STANDIN_ROWS(X)                        \
    X(STRK_LTCH, B_NAME, B, R160, PLAIN)                 \
    X(STRK_LTCH, LATCH_R, B, R160, PLAIN, R10)           \
    X(REV_GAIN, A_SW, A, R160, PLAIN, R10)               \
    X(REV_SP, A_SW, A, R160, PLAIN, R10)

// HP_MAN_ENBL / IFACE_IN_HP_MAN: the shutdown copy of the protection logic.
#define HP_MAN_ENBL_STANDIN_ROWS(X)
#define IFACE_IN_HP_MAN_STANDIN_ROWS(X) X(ANY_SD, B_NAME, B, R10, PLAIN)

// DROOP: the droop feedback limit, the reference switch and the on-line
// deadband of the droop settings.
#define DROOP_STANDIN_ROWS(X)                            \
    X(SW_REF, CTRL, B, R10, PLAIN)                       \
    X(LIM_FDBK, A_LIMITER, A, R10, PLAIN)

// SPD_CTRL: the other-controller flag, the speed-reference movement, the
// optimizer fault reset, the combination enable and the tuning time-out.
#define SPD_CTRL_STANDIN_ROWS(X) \
    X(OTHER_EN_CTL, OR, B, R10, PLAIN)        \
    X(OPTI_FLT_RST, OR, B, R80, PLAIN, R10)   \
    X(ENA_COMBO, AND, B, R80, PLAIN, R40)     \
    X(ONE_SHOT, ONE_SHOT, B, R80, PLAIN, R40)

// IFACE_IN_START: the turbine speed copy, the band's lower limit and the
// no-shutdown flag of the start logic.
#define IFACE_IN_START_STANDIN_ROWS(X) \
    X(TURB_SPEED, A_NAME, A, R10, PLAIN)              \
    X(SET_LOW1, A_NAME, A, R160, PLAIN, R10, R40, R80)    \
    X(SET_HIGH1, A_NAME, A, R160, PLAIN, R40)             \
    X(NOT_SD, B_NAME, B, R10, PLAIN)                  \
    X(USE_IDLE_RATED, B_NAME, B, R160, PLAIN, R80)    \
    X(START_PERM_CMD, B_NAME, B, R10, PLAIN, R160)    \
    X(STARTCMD, B_NAME, B, R10, PLAIN, R80)           \
    X(IDLERATECMD, B_NAME, B, R10, PLAIN, R80)

// MPU_OVRD / SD_LOGIC: the self-powered speed level, the start pulse and the
// push-button of the shutdown logic.
#define MPU_OVRD_STANDIN_ROWS(X)


// ORVEX12_IO: the chassis comparator of the shutdown slices.
#define ORVEX12_IO_STANDIN_ROWS(X)                       \
    X(A_COMPARE, A_COMPARE, B, R10, PLAIN)

