// Modules SYS_ID and _ub24: the site identification texts and the
// controller's hardware serial number, read from the board once after
// power-up by the user block IFACE_MODE.GET_HW_SN (160 ms). In the same
// piece: the alarm-screen settings S_ALARMS and the Modbus port 1 status
// S_PORT_1.
#pragma once

#include "app/interface/MOD.cells.h"
#include "runtime/catalogue.h"

#define _ub24_CELLS(X)                                         \
    X(_I_IN, I_NAME, I, R160, PLAIN)                           \
    X(_C_FUNC, A_OUT_1, A, R160, PLAIN)                        \
    X(_C_FUNC, I_OUT_1, I, R160, PLAIN)                        \
    X(_C_FUNC, I_OUT_2, I, R160, PLAIN)                        \
    X(_C_FUNC, B_OUT_1, B, R160, PLAIN)                        \
    X(_C_FUNC, B_OUT_2, B, R160, PLAIN)
CAT_USER_BLOCK(_ub24, "IFACE_MODE.GET_HW_SN", CAT_NO_ALIASES)

#define SYS_ID_CELLS(X)                                        \
    X(SITE_LOCAL, IN, C, R160, TUNE("Location"))               \
    X(SITE_LOCAL, S_NAME, C, R160, PLAIN)                      \
    X(SITE_NAME, IN, C, R160, TUNE("Customer Site Name"))      \
    X(SITE_NAME, S_NAME, C, R160, PLAIN)                       \
    X(SITE_UNIT, IN, C, R160, TUNE("Unit ID"))                 \
    X(SITE_UNIT, S_NAME, C, R160, PLAIN)                       \
    X(HW_SN, I_NAME, I, R160, PLAIN)                           \
    X(HW_SN_AVAIL, IN, B, R160, TUNE(true))                    \
    X(HW_SN_AVAIL, B_NAME, B, R160, PLAIN)                     \
    X(SS_HOURS, IN, A, R160, TUNE(4.0, 0.01, 24.0))            \
    X(SS_HOURS, A_NAME, A, R160, PLAIN)                        \
    X(CONVRT, MULTIPLY, A, R160, PLAIN)                        \
    X(SS_SECONDS, I_NAME, I, R160, PLAIN)
CAT_MODULE(SYS_ID)

#define S_ALARMS_CELLS(X)                                      \
    X(S2, IN, B, R160, TUNE(false))                            \
    X(S2, B_NAME, B, R160, PLAIN, R40)                         \
    X(S3, IN, B, R160, TUNE(false))                            \
    X(S3, B_NAME, B, R160, PLAIN, R40)
CAT_MODULE(S_ALARMS)

#define S_PORT_1_CELLS(X)                                      \
    X(S2, B_NAME, B, R160, PLAIN)                              \
    X(S3, I_NAME, I, R160, PLAIN)
CAT_MODULE(S_PORT_1)

// The user block's wrapper: stores its inputs, keeps the output pointers of
// its first call and calls the block function; the block function's result.
int _ub24(int32_t ii, uint32_t bi, float* ao, int32_t* io1, int32_t* io2, uint32_t* bo1, uint32_t* bo2);
// The block function: on each rising edge of the boolean input the board's
// serial number into integer output 2; boolean output 2 follows the input,
// boolean output 1 is set.
int _f4bc3d59_6b31_49d8_8149_1c732cb30350_(const char* name, int32_t* rpt, float* ai, int32_t* ii, uint32_t* bi,
                                             float** ao, int32_t** io, uint32_t** bo, float period);
// The block's empty companion; nothing calls it.
void _f4bc3d596b3149d881491c732cb30350(void* a, void* b, void* c);

namespace r160 {
// The site identification (head of _R160_TASK_50).
void SYS_ID_site();
}
