// The bearing-temperature monitoring is on once any of the four bearing
// temperature functions is assigned to an analog input.
#include "app/remote_io/VLTR_BEAR.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void VLTR_BEAR_monitor() {
    VLTR_BEAR.BEARTEMP_ON_OR = bk::OR({AI_MUX.BEARTEMP1_USED_B_NAME, AI_MUX.BEARTEMP2_USED_B_NAME,
                                       AI_MUX.BEARTEMP3_USED_B_NAME, AI_MUX.BEARTEMP4_USED_B_NAME});
    VLTR_BEAR.ENA_BEAR_MON_B_NAME = VLTR_BEAR.BEARTEMP_ON_OR;
}

}  // namespace r160
