// SD_LOGIC at 80 ms: the keypad trip after its delay, the remote trip (held
// off for a second after the keypad trip key is released, and delayed when
// the delay is in use), the trip command, and trip 27 on the remote trip.
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/protection/trip_block.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SD_LOGIC_trip_cmd_blocks {
    bk::DelayState DELAY, INHIB_RMT, RV_DELAY;
    float SD_27;
};
BlockRam<SD_LOGIC_trip_cmd_blocks> SD_LOGIC_trip_cmd_st;
constexpr float kInhibitTime = 1.0f;  // s after the keypad trip key is released
}  // namespace

namespace r80 {

void SD_LOGIC_trip_commands() {
    auto& c = SD_LOGIC;
    auto& s = SD_LOGIC_trip_cmd_st;
    const uint32_t key = ORVEX12_IO.KEYPAD_TRIP;
    bk::DELAY(s.DELAY, c.DELAY_DELAY, &c.DELAY_R_TIME.ref(), key, c.DELAY_DLY_TIME, 0.0f, bk::T80);
    c.NOT_LOCAL_NOT = bk::NOT(key);
    bk::DELAY(s.INHIB_RMT, c.INHIB_RMT_DELAY, &c.INHIB_RMT_R_TIME.ref(), c.NOT_LOCAL_NOT, kInhibitTime, 0.0f, bk::T80);

    c.RMT_TRIP_B_NAME = c.RMT_TRIP_IN;
    c.ENA_RV_TRIP_AND = bk::AND({c.USE_RMTTRIP_B_NAME, c.INHIB_RMT_DELAY, c.RMT_TRIP_B_NAME});
    bk::DELAY(s.RV_DELAY, c.RV_DELAY_DELAY, &c.RV_DELAY_R_TIME.ref(), c.ENA_RV_TRIP_AND, c.RV_DELAY_DLY_TIME, 0.0f,
              bk::T80);
    c.RV_TRIP_B_SW = bk::SW<uint32_t>(c.USE_DELAY_B_NAME, c.ENA_RV_TRIP_AND, c.RV_DELAY_DELAY);

    c.RMT_TRIP_OR_OR = bk::OR({key, c.RV_TRIP_B_SW});
    c.TRIP_CMD_B_SW = bk::SW<uint32_t>(c.USE_RMTTRIP_B_NAME, c.STOP_BUTTON_B_SW, c.RMT_TRIP_OR_OR);

    bk::TRIP(s.SD_27, bk::TripOut{SHUTDOWNS.SD_27_B_ALARM, SHUTDOWNS.SD_27_LIGHT, SHUTDOWNS.SD_27_HORN},
             c.RV_TRIP_B_SW, SHUTDOWNS.SD_OVRDS_LIST_27, 0.0f, RESET.RESET_B_NAME, bk::T80);
}

}  // namespace r80
