// Module SIM: the value transfer to an external turbine simulator over the
// Modbus link on UDP port 5005 (40 ms), and the trip copy it sends (10 ms).
#pragma once

#include "runtime/catalogue.h"

#define SIM_CELLS(X)                                            \
    X(TRIP_ACT, B_NAME, B, R10, PLAIN, R40)                     \
    X(SIM_START, B_NAME, B, R40, PLAIN)                         \
    X(GEN_UNIT, B_NAME, B, R160, PLAIN)                         \
    X(PORT5005_TO_SIM, UDP_P, I, R40, TUNE(7, 0, 7))            \
    X(XFER_TO_SIM, NET_ADDR_1, I, R40, TUNE(1, 1, 247))         \
    X(XFER_TO_SIM, TIME_OUT_1, A, R40, TUNE(5.0, 0.1, 60.0))    \
    X(XFER_TO_SIM, INIT_MOD, B, R40, TUNE(false))               \
    X(XFER_TO_SIM, RST, B, R40, TUNE(false))                    \
    X(XFER_TO_SIM, LNK_ERR_1, B, R40, PLAIN)                    \
    X(XFER_TO_SIM, EX_ERR_1, B, R40, PLAIN)                     \
    X(XFER_TO_SIM, ERR_PCT_1, A, R40, PLAIN)                    \
    X(XFER_TO_SIM, BW_V_1, B, R40, PLAIN)                       \
    X(XFER_TO_SIM, BW_V_2, B, R40, PLAIN)                       \
    X(XFER_TO_SIM, AW_V_1, A, R40, PLAIN)
CAT_MODULE(SIM)

// The exchange record of the simulator link: the words a Modbus master
// instance on the port sends and receives, its counts and its request, all
// shared with that instance without a lock.
struct SimLink {
    int16_t sentBool[2];
    int16_t sentAnalog[26];
    int16_t recvBool[2];
    int16_t recvAnalog[1];
    int32_t received;      // messages received since the last pass
    int32_t passErrors;    // errors and messages of the pass
    int32_t passMessages;
    int32_t request;       // a port request waits for the slice
};
SimLink& SIM_link();
// Running totals of the link's error statistics.
struct SimLinkTotals {
    float timer;
    int32_t errors, messages;
};
SimLinkTotals& SIM_link_totals();

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
