// STAND-IN rows of modules that the speed control shares with subsystems not
// built yet (protection, speed reference, HP manual and valve configuration,
// critical speed, start logic): the cells those subsystems compute, declared
// in the shared modules until their own logic lands and takes the rows over.
#pragma once

// IFACE_IN_VLV: the demand inversion of the valve configuration.
#define IFACE_IN_VLV_STANDIN_ROWS(X)                     \
    X(INVERT_DMD, B_NAME, B, R160, PLAIN, R10)

// HP_DRIVER: the stroke latch and the forward/reverse setting of the valve
// configuration.
#define HP_DRIVER_STANDIN_ROWS(X)                        \
    X(STRK_LTCH, B_NAME, B, R160, PLAIN)                 \
    X(STRK_LTCH, LATCH_R, B, R160, PLAIN, R10)           \
    X(REV_GAIN, A_SW, A, R160, PLAIN, R10)               \
    X(REV_SP, A_SW, A, R160, PLAIN, R10)

// DROOP: the reference switch.
#define DROOP_STANDIN_ROWS(X)                            \
    X(SW_REF, CTRL, B, R10, PLAIN)

// SPD_CTRL: the optimizer fault reset, the combination enable and the tuning
// time-out.
#define SPD_CTRL_STANDIN_ROWS(X) \
    X(OPTI_FLT_RST, OR, B, R80, PLAIN, R10)   \
    X(ENA_COMBO, AND, B, R80, PLAIN, R40)     \
    X(ONE_SHOT, ONE_SHOT, B, R80, PLAIN, R40)

// ORVEX12_IO: the chassis comparator of the shutdown slices.
#define ORVEX12_IO_STANDIN_ROWS(X)                       \
    X(A_COMPARE, A_COMPARE, B, R10, PLAIN)

// SPEED_SIM: the simulated speed, one of the inputs of the turbine speed's
// high select.
#define SPEED_SIM_SPEED_STANDIN_ROWS(X) X(ENA_SIMSPD, A_SW, A, R10, PLAIN)
