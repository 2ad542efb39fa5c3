// The application's two fixed notes.
#include "app/analog/ZZ.cells.h"

namespace r160 {

void ZZ_notes() {
    ZZ.DLOG_EXTRA_S_NAME = "Create TREND_DLOG with Tracewise";
    ZZ.STOP_APP_S_NAME = "Allow Stop Application w/ Turbine Run";
}

}  // namespace r160
