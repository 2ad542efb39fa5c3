// The master clock scheduler: one pass per 5 ms tick, frame counts, copy
// flags, releases, slip supervision, and the rate-group task set.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

struct RgWords {
    int32_t frame_count;
    int32_t slip_count;
    TASK_ID pid;
};

// Per group words, named as the generated code names them.
extern int32_t _R10_frame_count, _R20_frame_count, _R40_frame_count, _R80_frame_count, _R160_frame_count;
extern int32_t _R10_slip_count, _R20_slip_count, _R40_slip_count, _R80_slip_count, _R160_slip_count;
extern TASK_ID _R10_pid, _R20_pid, _R40_pid, _R80_pid, _R160_pid;
extern uint32_t TaskCounter_R10, TaskCounter_R20, TaskCounter_R40, TaskCounter_R80, TaskCounter_R160;
extern uint32_t TaskCounter_R10Z, TaskCounter_R20Z, TaskCounter_R40Z, TaskCounter_R80Z, TaskCounter_R160Z;
extern uint8_t vl_R10_watchdog, vl_R20_watchdog, vl_R40_watchdog, vl_R80_watchdog, vl_R160_watchdog;
extern uint32_t sched_move_R10_R20, sched_move_R10_R40, sched_move_R10_R80, sched_move_R10_R160,
    sched_move_R20_R40, sched_move_R20_R80, sched_move_R20_R160, sched_move_R40_R80, sched_move_R40_R160,
    sched_move_R80_R160;
extern uint32_t _RGSlipCounter[9];

extern uint16_t key, OldKey, sKey;
extern uint32_t RtcSeconds;
extern float GatherTime;
extern uint32_t vk_sleep_ticks, vkspl_resched, ll_tick_count, sysclock_ticks, vkspl_sysclock_ticks;
extern uint32_t TimeOutTimer;
extern uint32_t SuspendLogTime[2];
extern int RGSuspendValues[8];

void MasterClockSched();
TASK_ID CreateAllRgTasks();
void _DeleteRateGroups();
void _SuspendRateGroups();
void broadcast_io();
