// SYS_ID: the delay value in seconds.
#include "app/interface/SYS_ID.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void SYS_ID_delay() {
    SYS_ID.SS_HOURS_A_NAME = SYS_ID.SS_HOURS_IN;
    SYS_ID.CONVRT_MULTIPLY = SYS_ID.SS_HOURS_A_NAME * 3600.0f;
}

}  // namespace r160
