// The C_COMM pair: taken over every pass.
#include "app/interface/C_COMM.cells.h"

namespace r160 {

void C_COMM_copy() {
    C_COMM.C3_I_NAME = C_COMM.C3_IN;
    C_COMM.C4_I_NAME = C_COMM.C4_IN;
}

}  // namespace r160
