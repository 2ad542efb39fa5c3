// STAND-IN rows of modules that the protection logic reads or shares with
// subsystems not built yet: the cells those subsystems compute, declared in
// the real modules' headers until their own logic lands and takes the rows
// over (and deletes the macro here).
#pragma once

// SHUTDOWNS: trip 27 (computed with the reset logic at 80 ms) and the
// shutdown list's delayed reset (20 ms).
#define SHUTDOWNS_PROT_STANDIN_ROWS(X) \
    X(SD_SHOOT, ONE_SHOT, B, R10, PLAIN, R20, R80, R160) \
    X(SD_27, B_ALARM, B, R80, PLAIN, R10)      \
    X(SD_27, LIGHT, B, R80, PLAIN)             \
    X(SD_27, HORN, B, R80, PLAIN)              \
    X(SD_PWRUP, OR, B, R10, PLAIN, R160)

// SD_LOGIC: the keypad trip delay (80 ms, with the reset logic).
#define SD_LOGIC_PROT_STANDIN_ROWS(X) \
    X(DELAY, DELAY, B, R80, PLAIN, R10)

// ALM_LOGIC: the valve limiter in control (160 ms, with the speed reference).
#define ALM_LOGIC_PROT_STANDIN_ROWS(X) \
    X(ON_LIMITER, B_NAME, B, R160, PLAIN, R40)

// MPU_OVRD: all speed probes failed.
#define MPU_OVRD_PROT_STANDIN_ROWS(X) X(B_MPUS_FLD, AND, B, R10, PLAIN)

