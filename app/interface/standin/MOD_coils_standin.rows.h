// STAND-IN rows of module MOD until the Modbus map lands: the command
// coils as the map takes them over, read by the command latch at 80 ms.
#pragma once

#define MOD_COILS_STANDIN_ROWS(X)                                                                              \
    X(MOD1, BW_V_1, B, R160, PLAIN, R80) X(MOD1, BW_V_2, B, R160, PLAIN, R80) X(MOD1, BW_V_3, B, R160, PLAIN, R80)    \
    X(MOD1, BW_V_4, B, R160, PLAIN, R80) X(MOD1, BW_V_5, B, R160, PLAIN, R80) X(MOD1, BW_V_6, B, R160, PLAIN, R80)    \
    X(MOD1, BW_V_7, B, R160, PLAIN, R80) X(MOD1, BW_V_8, B, R160, PLAIN, R80) X(MOD1, BW_V_9, B, R160, PLAIN, R80)    \
    X(MOD1, BW_V_10, B, R160, PLAIN, R80) X(MOD1, BW_V_11, B, R160, PLAIN, R80)                                      \
    X(MOD1, BW_V_12, B, R160, PLAIN, R80) X(MOD1, BW_V_13, B, R160, PLAIN, R80)                                      \
    X(MOD1, BW_V_14, B, R160, PLAIN, R80) X(MOD1, BW_V_15, B, R160, PLAIN, R80)                                      \
    X(MOD1, BW_V_16, B, R160, PLAIN, R80) X(MOD1, BW_V_17, B, R160, PLAIN, R80)                                      \
    X(MOD1, BW_V_18, B, R160, PLAIN, R80) X(MOD1, BW_V_19, B, R160, PLAIN, R80)                                      \
    X(MOD1, BW_V_21, B, R160, PLAIN, R80) X(MOD1, BW_V_22, B, R160, PLAIN, R80)

