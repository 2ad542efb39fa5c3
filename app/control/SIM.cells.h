// Module SIM: the value transfer to an external turbine simulator over the
// Modbus link on UDP port 5005 (40 ms), served by slave instance 0, and the
// trip copy it sends (10 ms).
#pragma once

#include "runtime/catalogue.h"

#include <cstdint>

// The slave instance's cells on the simulator link: its slave address (a
// copy of NET_ADDR_1), the error and message counts of the pass, running
// totals, the port request, the silence timer, the write enables and the
// last error. The engine needs them in the integer, real and boolean areas,
// so they carry names of their block.
#define SIM_CELLS(X)                                            \
    X(TRIP_ACT, B_NAME, B, R10, PLAIN, R40)                     \
    X(SIM_START, B_NAME, B, R160, PLAIN, R40)                   \
    X(GEN_UNIT, IN, B, R160, TUNE(false))                       \
    X(GEN_UNIT, B_NAME, B, R160, PLAIN)                         \
    X(PORT5005_TO_SIM, UDP_P, I, R40, TUNE(7, 0, 7))            \
    X(PORT5005_TO_SIM, P_STATUS, I, R40, PLAIN)                 \
    X(PORT5005_TO_SIM, FAULT, B, R40, PLAIN)                    \
    X(XFER_TO_SIM, NET_ADDR_1, I, R40, TUNE(1, 1, 247))         \
    X(XFER_TO_SIM, TIME_OUT_1, A, R40, TUNE(1.0, 0.1, 60.0))    \
    X(XFER_TO_SIM, ASC_RTU_1, I, R40, TUNE(1, 1, 2))            \
    X(XFER_TO_SIM, INIT_MOD, B, R40, TUNE(false))               \
    X(XFER_TO_SIM, RST, B, R40, TUNE(false))                    \
    X(XFER_TO_SIM, LNK_ERR_1, B, R40, PLAIN)                    \
    X(XFER_TO_SIM, EX_ERR_1, B, R40, PLAIN)                     \
    X(XFER_TO_SIM, ERR_PCT_1, A, R40, PLAIN)                    \
    X(XFER_TO_SIM, ERR_NUM_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, ADDR_1, I, R40, PLAIN)                       \
    X(XFER_TO_SIM, ERR_CNT_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, MSG_CNT_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, TOT_ERR_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, TOT_MSG_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, PRT_RST_1, I, R40, PLAIN)                    \
    X(XFER_TO_SIM, TIMER_1, A, R40, PLAIN)                      \
    X(XFER_TO_SIM, BW_ENBL_1, B, R40, PLAIN)                    \
    X(XFER_TO_SIM, AW_ENBL_1, B, R40, PLAIN)                    \
    X(XFER_TO_SIM, BW_V_1, B, R40, PLAIN)                       \
    X(XFER_TO_SIM, BW_V_2, B, R40, PLAIN)                       \
    X(XFER_TO_SIM, AW_V_1, A, R40, PLAIN)
CAT_MODULE(SIM)

// The exchange arrays of the simulator link, shared with its slave instance
// without a lock: the coils and the holding register the simulator writes,
// the discrete inputs and input registers it reads.
extern uint32_t _BW_SIM_XFER_TO_SIM_11359[2];
extern uint32_t _BR_SIM_XFER_TO_SIM_11359[5];
extern int16_t _AR_SIM_XFER_TO_SIM_11359[30];
extern int16_t _AW_SIM_XFER_TO_SIM_11359[1];

// Clears the arrays the simulator writes, starts slave instance 0 on the
// simulator port and clears its status cells (block initialisation, before
// the map's instances).
void SIM_modbus_start();
// Block initialisation: the simulator port's device number, the port ready.
void SIM_port_init_blks();

// A value rounded half away from zero and saturated to a signed 16-bit word.
int16_t SIM_word(float v);

namespace r10 {
// The trip copy (piece of _R10_TASK_10).
void SIM_trip();
}
namespace r40 {
// The transfer block (piece of _R40_TASK_8).
void SIM_transfer();
}
namespace r160 {
// The start bit sent to the simulator (the run command) and the generator
// unit setting (piece of _R160_TASK_48).
void SIM_start_flags();
}
