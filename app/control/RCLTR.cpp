// RCLTR: the cascade-in-control flags of the relays and the interface, from
// the cascade steps of the remote-control mode chart.
#include "app/control/RCLTR.cells.h"

#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void RCLTR_cascade() {
    RCLTR.OR_CASCADE_OR = bk::OR({SPDC.B02_STEP_SFC_STEP, SPDC.B03_STEP_SFC_STEP});
    IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME = RCLTR.OR_CASCADE_OR;
    BO_MUX.CASC_ACTIV_B_NAME = RCLTR.OR_CASCADE_OR;
    BO_MUX.RMTCAS_ACT_B_NAME = SPDC.B03_STEP_SFC_STEP;
}

}  // namespace r160
