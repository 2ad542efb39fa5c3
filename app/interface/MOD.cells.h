// Module MOD: the application's Modbus map MOD.MOD1, served on up to three
// links (slave instances 1-3): link settings, link supervision, the four
// exchange arrays and the map's cells (160 ms). Also MODBUS1 and
// MOD_LNK_STAT (the link alarms) and MOD_IO (the actuator percentage).
#pragma once

#include <cstdint>

#include "app/interface/MOD_SCALE_casc.rows.h"
#include "app/interface/MOD_links.rows.h"
#include "runtime/catalogue.h"

// The engine's cells of link n: slave address, error and message counts of
// the pass, running totals, port-reset request, silence timer and the two
// write enables, and the link's time-out (the setting's copy the slave
// instance reads). The engine needs them in the integer, real and boolean
// areas, so they carry names of their block.
#define MOD_ENGINE_ROWS(X, N)                                         \
    X(MOD1, LNK_ERR_##N, B, R160, PLAIN)                            \
    X(MOD1, EX_ERR_##N, B, R160, PLAIN)                             \
    X(MOD1, ERR_PCT_##N, A, R160, PLAIN)                            \
    X(MOD1, ERR_NUM_##N, I, R160, PLAIN)                            \
    X(MOD1, ADDR_##N, I, R160, PLAIN)                               \
    X(MOD1, ERR_CNT_##N, I, R160, PLAIN)                            \
    X(MOD1, MSG_CNT_##N, I, R160, PLAIN)                            \
    X(MOD1, TOT_ERR_##N, I, R160, PLAIN)                            \
    X(MOD1, TOT_MSG_##N, I, R160, PLAIN)                            \
    X(MOD1, PRT_RST_##N, I, R160, PLAIN)                            \
    X(MOD1, TIMER_##N, A, R160, PLAIN)                              \
    X(MOD1, BW_ENBL_##N, B, R160, PLAIN)                            \
    X(MOD1, AW_ENBL_##N, B, R160, PLAIN)                            \
    X(MOD1, TIME_OUT_##N, A, R160, PLAIN)                           \
    X(QT_TIME_OUT_##N, IN, A, R160, TUNE(10.0, 0.0, 100.0))

// The Modbus commands, read by the 80 ms command latch; its twentieth
// entry comes from its own input, so the twentieth command stays at 160 ms.
#define MOD_BW_ROW(X, N) X(MOD1, BW_V_##N, B, R160, PLAIN, R80)
#define MOD_ARM_ROW(X, N) X(MOD1, AR_M_##N, A, R160, TUNE(1.0, 0.01, 100.0))

#define MOD_CELLS(X)                                                                       \
    MOD_ENGINE_ROWS(X, 1) MOD_ENGINE_ROWS(X, 2) MOD_ENGINE_ROWS(X, 3)                            \
    MOD_BW_ROW(X, 1) MOD_BW_ROW(X, 2) MOD_BW_ROW(X, 3) MOD_BW_ROW(X, 4) MOD_BW_ROW(X, 5)   \
    MOD_BW_ROW(X, 6) MOD_BW_ROW(X, 7) MOD_BW_ROW(X, 8) MOD_BW_ROW(X, 9) MOD_BW_ROW(X, 10)  \
    MOD_BW_ROW(X, 11) MOD_BW_ROW(X, 12) MOD_BW_ROW(X, 13) MOD_BW_ROW(X, 14)                \
    MOD_BW_ROW(X, 15) MOD_BW_ROW(X, 16) MOD_BW_ROW(X, 17) MOD_BW_ROW(X, 18)                \
    MOD_BW_ROW(X, 19) X(MOD1, BW_V_20, B, R160, PLAIN) MOD_BW_ROW(X, 21) MOD_BW_ROW(X, 22)                \
    X(MOD1, AW_V_1, A, R160, PLAIN)                                                        \
    X(MOD1, AW_V_2, A, R160, PLAIN)                                                        \
    X(MOD1, AW_V_3, A, R160, PLAIN)                                                        \
    X(MOD1, AW_V_4, A, R160, PLAIN)                                                        \
    X(MOD1, AW_V_5, A, R160, PLAIN)                                                        \
    MOD_ARM_ROW(X, 1) MOD_ARM_ROW(X, 2) MOD_ARM_ROW(X, 3) MOD_ARM_ROW(X, 4)                \
    MOD_ARM_ROW(X, 5) MOD_ARM_ROW(X, 6) MOD_ARM_ROW(X, 7) MOD_ARM_ROW(X, 8)                \
    MOD_ARM_ROW(X, 11) MOD_ARM_ROW(X, 12) MOD_ARM_ROW(X, 17)                               \
    X(C2_OR, OR, B, R160, PLAIN)                                                           \
    X(MODMNOT_OK, NOT, B, R160, PLAIN)                                                     \
    X(OR_INI, IN_1, B, R160, TUNE(false))                                                  \
    X(OR_INI, OR, B, R160, PLAIN)                                                          \
    X(PORT2_COMM, I_MUX_N_1, I, R160, PLAIN)                                               \
    X(PORT2_COMM_USED, I_SW, I, R160, PLAIN)                                               \
    X(PORT3_COMM, I_MUX_N_1, I, R160, PLAIN)                                               \
    X(PORT3_COMM_USED, I_SW, I, R160, PLAIN)                                               \
    X(MOD1_PERM, AND, B, R160, PLAIN)                                                      \
    X(USE_MOD, B_NAME, B, R160, PLAIN, R80)                                                \
    X(PORT2_ERR_CODE, I_NAME, I, R160, PLAIN)                                              \
    X(PORT2_EXCP_ERR, B_NAME, B, R160, PLAIN)                                              \
    X(PORT3_ERR_CODE, I_NAME, I, R160, PLAIN)                                              \
    X(PORT3_EXCP_ERR, B_NAME, B, R160, PLAIN)                                              \
    X(LNK1_ERR_Z, ZMINUS1_B, B, R160, PLAIN)                                               \
    X(LNK2_ERR_Z, ZMINUS1_B, B, R160, PLAIN)                                               \
    X(LNK3_ERR_Z, ZMINUS1_B, B, R160, PLAIN)                                               \
    MOD_LINK_ROWS(X)                                                                       \
    MOD_AW_DLY_ROWS(X)
CAT_MODULE(MOD)

#define MODBUS1_CELLS(X)                       \
    X(N_LNK2_ERR, NOT, B, R160, PLAIN)         \
    X(LNK2_OK_LAT, LATCH, B, R160, PLAIN)      \
    X(LNK2_Z, ZMINUS1_B, B, R160, PLAIN)       \
    X(LNK2_ALM, AND, B, R160, PLAIN)           \
    X(N_LNK3_ERR, NOT, B, R160, PLAIN)         \
    X(LNK3_OK_LAT, LATCH, B, R160, PLAIN)      \
    X(LNK3_Z, ZMINUS1_B, B, R160, PLAIN)       \
    X(LNK3_ALM, AND, B, R160, PLAIN)
CAT_MODULE(MODBUS1)

#define MOD_LNK_STAT_CELLS(X)                         \
    X(LNK_ERR, AND, B, R160, PLAIN)                   \
    X(N_LNK_ERR, NOT, B, R160, PLAIN)                 \
    X(MOD_OK_LAT, LATCH, B, R160, PLAIN)              \
    X(FLD_Z, ZMINUS1_B, B, R160, PLAIN)               \
    X(MOD1_ALM, AND, B, R160, PLAIN)                  \
    X(LN1_SW, CTRL, B, R160, TUNE(false))             \
    X(LN1_SW, B_SW, B, R160, PLAIN)                   \
    X(LNK2_ERR, AND, B, R160, PLAIN)                  \
    X(LN2_SW, CTRL, B, R160, TUNE(false))             \
    X(LN2_SW, B_SW, B, R160, PLAIN)                   \
    X(LNK3_ERR, AND, B, R160, PLAIN)                  \
    X(LN3_SW, CTRL, B, R160, TUNE(false))             \
    X(LN3_SW, B_SW, B, R160, PLAIN)                   \
    X(SIO_LNK1_ALM, B_NAME, B, R160, PLAIN, R40)      \
    X(LNK2_ALM, B_NAME, B, R160, PLAIN, R40)          \
    X(LNK3_ALM, B_NAME, B, R160, PLAIN, R40)          \
    X(MOD1_ALL_LNK_FLD, AND, B, R160, PLAIN)          \
    X(ALL_LNK_FAIL, B_NAME, B, R160, PLAIN, R80)      \
    X(RST_MODBUS, OR, B, R80, PLAIN)
CAT_MODULE(MOD_LNK_STAT)

#define MOD_IO_CELLS(X) X(ACT1_100, MULTIPLY, A, R160, PLAIN, R80)
CAT_MODULE(MOD_IO)

#define MOD_SCALE_CELLS(X)                      \
    X(ACT1_HSS, MULTIPLY, A, R160, PLAIN, R80)       \
    X(CASC_100, MULTIPLY, A, R160, PLAIN, R80)       \
    X(CASC_MOD1, DIVIDE, A, R160, PLAIN)        \
    X(SP_DIV2, DIVIDE, A, R160, PLAIN)          \
    X(CAS_SP_SCL, SUBTRACT, A, R160, PLAIN)     \
    X(CASC_RANGE, DIVIDE, A, R160, PLAIN)       \
    X(CASC_PRCT, MULTIPLY, A, R160, PLAIN)      \
    X(CASC_RNG_SCL, DIVIDE, A, R160, PLAIN)     \
    X(CASC_SCD, MULTIPLY, A, R160, PLAIN)       \
    X(CAS_PV_SCL, SUBTRACT, A, R160, PLAIN)     \
    X(CAS_VL_PRC, MULTIPLY, A, R160, PLAIN)     \
    X(CSETPT_SCD, MULTIPLY, A, R160, PLAIN)     \
    X(LSS_100, MULTIPLY, A, R160, PLAIN)        \
    X(M1_CAS_SCL, MULTIPLY, A, R160, PLAIN)     \
    X(RMT_CASC_S, MULTIPLY, A, R160, PLAIN)     \
    X(SETPT, DIVIDE, A, R160, PLAIN)            \
    X(SETPT_PRCT, MULTIPLY, A, R160, PLAIN)     \
    X(SPD_100, MULTIPLY, A, R160, PLAIN, R80)        \
    X(SPEED, DIVIDE, A, R160, PLAIN)            \
    X(SPD_PRCT, MULTIPLY, A, R160, PLAIN)       \
    X(VLV_100, MULTIPLY, A, R80, PLAIN, R160)   \
    MOD_SCALE_CASC_ROWS(X)
CAT_MODULE(MOD_SCALE)

// The exchange arrays of the map, shared with the slave instances.
extern uint32_t _BW_MOD_MOD1_11103[22];
extern uint32_t _BR_MOD_MOD1_11103[90];
extern int16_t _AR_MOD_MOD1_11103[50];
extern int16_t _AW_MOD_MOD1_11103[5];

// An input-register word: the low 16 bits of the 32-bit integer nearest to
// multiplier x value (halves away from zero, saturated, not-a-number 0).
int16_t MOD_register_word(float multiplier, float value);

// Block initialisation: clears the coil and holding arrays, starts the
// acceptor "scan_tcp", the simulator link's instance 0 and the slave
// instances 1-3 of the map, and installs the routing of TCP connections to
// links 2 and 3.
void MOD_init_blks();

namespace r160 {
// _R160_TASK_44: links, supervision, the arrays and the link-2 alarm.
void MOD_map();
// _R160_TASK_45: link-3 alarm, actuator percentage, link-1 alarm, switches.
void MOD_link_alarms();
// _R160_TASK_45: the values scaled for the map.
void MOD_SCALE_values();
}  // namespace r160
namespace r80 {
// The Modbus reset: the common reset pulse or the delayed restart (piece of
// _R80_TASK_12).
void MOD_LNK_STAT_reset();
}  // namespace r80
