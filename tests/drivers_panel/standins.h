// Stand-ins for this test program until their subsystems land on main.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/send_evt.h"

extern uint32_t _SYS_INFO_C_PWD;
extern uint32_t _SYS_INFO_LOCK_PER;

struct SentEvent {
    uint32_t code;
    std::string text;
    bool atInterruptLevel;
};
extern std::vector<SentEvent> sentEvents;
