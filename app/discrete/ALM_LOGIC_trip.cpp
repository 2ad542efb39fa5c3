// ALM_LOGIC at 80 ms: the tripped alarm, a shutdown together with the first
// alarm.
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void ALM_LOGIC_trip_alarm() { ALM_LOGIC.TRIP_ALM_AND = bk::AND({ALARMS.S1_B_NAME, SHUTDOWNS.ANY_SD_B_NAME}); }

}  // namespace r80
