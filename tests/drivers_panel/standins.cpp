// Stand-ins for this test program until their subsystems land on main: the
// platform's event queue (SendAppEvent, recorded here with the context it was
// called from) and the master clock scheduler's I/O-lock words.
#include "tests/drivers_panel/standins.h"

#include "host/vxworks.h"

uint32_t _SYS_INFO_C_PWD = 0;
uint32_t _SYS_INFO_LOCK_PER = 1;

std::vector<SentEvent> sentEvents;

int SendAppEvent(uint32_t code, const char* text) {
    sentEvents.push_back(SentEvent{code, text, intContext()});
    return 0;
}
