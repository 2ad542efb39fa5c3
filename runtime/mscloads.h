// Task times and load: a microsecond clock of ticks plus the platform timer,
// net frame times per rate group and load percentages every 402 passes.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

struct TaskTimeRG {
    uint32_t Reserved0;
    uint32_t StartTime;
    uint32_t Reserved2;
    uint32_t EndTime;
    uint32_t Elapsed;
    uint32_t Charged;
    uint32_t Net;
    uint32_t NetSum;
    uint32_t LoadPct;
    uint32_t Key;
};

extern TaskTimeRG* TaskTimesRG;
extern uint32_t numRGInApplication;
extern uint32_t SystemClockTime;
extern uint32_t CurTime;
extern uint32_t LoadintervalStartTime[2];
extern uint32_t task_load_interval;
extern uint32_t _CPUAffinity[10];
// platform_type (14 on this controller) is declared with the clock services.
extern uint32_t FR_LooperCount, FR_LooperCount2;

int InitTaskTimes(uint32_t n, uint32_t* keys);
void KillTaskTimes(uint32_t n);
void UpdateClockTime();
uint32_t GetClockTime();
void StartTaskTimeForRG(uint32_t i);
void EndTaskTimeForRG(uint32_t i);
void UpdateTaskTimes();
void UpdateTaskTimesLoadPercentages();
uint32_t GetLoadPercentageForRG(uint32_t i);
// The load step of the master clock pass (every 402nd pass).
void LoadStep();
void FRTimeTask(long arg);
void FRTimeTask2(long arg);
struct TcTime {
    uint32_t sec;
    uint32_t usec;
};
TcTime TC(uint32_t h, uint32_t m, uint32_t s, uint32_t ms);
