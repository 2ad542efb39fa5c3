#include "runtime/mscloads.h"

#include <cstdio>
#include <cstring>

#include "app/system/_MASTER.cells.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/sysinfo.h"

TaskTimeRG* TaskTimesRG = nullptr;
uint32_t numRGInApplication = 0;
uint32_t SystemClockTime = 0;
uint32_t CurTime = 0;
uint32_t LoadintervalStartTime[2];
uint32_t task_load_interval = 0;
uint32_t _CPUAffinity[10];

uint32_t FR_LooperCount = 0, FR_LooperCount2 = 0;

int InitTaskTimes(uint32_t n, uint32_t* keys) {
    SystemClockTime = 0;
    numRGInApplication = n;
    auto* t = static_cast<TaskTimeRG*>(VKOS_GetMem(static_cast<uint32_t>(n * sizeof(TaskTimeRG))));
    if (!t) {
        std::printf("Error allocating TaskTimesRG Table\n");
        return 0;
    }
    std::memset(t, 0, n * sizeof(TaskTimeRG));
    for (uint32_t i = 0; i < n; ++i) t[i].Key = keys[i];
    TaskTimesRG = t;
    LoadintervalStartTime[1] = GetClockTime();
    return 1;
}

void KillTaskTimes(uint32_t n) {
    TaskTimeRG* t = TaskTimesRG;
    TaskTimesRG = nullptr;
    if (t) VKOS_FreeMem(t, static_cast<uint32_t>(n * sizeof(TaskTimeRG)));
}

// Platform type 14: the platform timer counts microseconds in its low 24 bits.
void UpdateClockTime() {
    SystemClockTime += 5000;
    CurTime = VKGetTimer();
}

uint32_t GetClockTime() { return SystemClockTime + ((VKGetTimer() - CurTime) & 0xFFFFFFu); }

namespace {
// Takes the charged time of the faster records sharing record i's key.
uint32_t collectCharged(uint32_t i) {
    uint32_t sum = 0;
    for (uint32_t j = 0; j < i; ++j) {
        if (TaskTimesRG[j].Key == TaskTimesRG[i].Key) {
            sum += TaskTimesRG[j].Charged;
            TaskTimesRG[j].Charged = 0;
        }
    }
    return sum;
}
}  // namespace

void StartTaskTimeForRG(uint32_t i) {
    if (!TaskTimesRG || i >= numRGInApplication) return;
    TaskTimesRG[i].Charged += collectCharged(i);
    TaskTimesRG[i].StartTime = GetClockTime();
}

void EndTaskTimeForRG(uint32_t i) {
    if (!TaskTimesRG || i >= numRGInApplication) return;
    TaskTimesRG[i].EndTime = GetClockTime();
}

void UpdateTaskTimes() {
    if (!TaskTimesRG) return;
    UpdateClockTime();
    for (uint32_t i = 0; i < numRGInApplication; ++i) {
        TaskTimeRG& r = TaskTimesRG[i];
        if (r.EndTime == 0) continue;
        r.Elapsed = r.EndTime - r.StartTime;
        uint32_t sum = collectCharged(i);
        r.Net = r.Elapsed - sum;
        r.NetSum += r.Net;
        r.Charged += r.Elapsed;
        r.EndTime = 0;
    }
}

void UpdateTaskTimesLoadPercentages() {
    if (!TaskTimesRG) return;
    uint32_t now = GetClockTime();
    task_load_interval = now - LoadintervalStartTime[1];
    LoadintervalStartTime[1] = now;
    LoadintervalStartTime[0] = 0;
    for (uint32_t i = 0; i < numRGInApplication; ++i) {
        TaskTimeRG& r = TaskTimesRG[i];
        if (task_load_interval != 0) {
            int32_t pct = static_cast<int32_t>(static_cast<uint64_t>(r.NetSum) * 100 / task_load_interval);
            if (pct >= 0 && pct <= 100) r.LoadPct = static_cast<uint32_t>(pct);
        }
        r.NetSum = 0;
    }
}

uint32_t GetLoadPercentageForRG(uint32_t i) {
    if (!TaskTimesRG || i >= numRGInApplication) return 0;
    return TaskTimesRG[i].LoadPct;
}

void LoadStep() {
    auto& M = cells::_MASTER;
    int32_t idle = static_cast<int32_t>(FR_LooperCount) * 100 / 402;
    FR_LooperCount = 0;
    UpdateTaskTimesLoadPercentages();
    M._SYS_INFO_RG160_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(6));
    M._SYS_INFO_RG80_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(5));
    M._SYS_INFO_RG40_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(4));
    M._SYS_INFO_RG20_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(3));
    M._SYS_INFO_RG10_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(2));
    M._SYS_INFO_RG5_LOAD = static_cast<int32_t>(GetLoadPercentageForRG(1));
    M._SYS_INFO_M_TOT_LOAD_C2 = 0;
    M._SYS_INFO_RG1_LOAD = 0;
    int32_t x = (100 - M._SYS_INFO_M_TOT_LOAD - M._SYS_INFO_SYS_LOAD) * idle / 100;
    if (x >= 0 && x <= 100) M._SYS_INFO_IDLE_TIME = x;
    M._SYS_INFO_SYS_LOAD = 0;
    int32_t s = M._SYS_INFO_RG10_LOAD + M._SYS_INFO_RG5_LOAD + M._SYS_INFO_RG20_LOAD +
                M._SYS_INFO_RG40_LOAD + M._SYS_INFO_RG80_LOAD + M._SYS_INFO_RG160_LOAD +
                M._SYS_INFO_SYS_LOAD;
    if (s >= 0 && s <= 100) M._SYS_INFO_M_TOT_LOAD = s;
    M._SYS_INFO_M_TOT_LOAD_C2 = 0;
}

void FRTimeTask(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        ++FR_LooperCount;
        VKOS_SleepMillisec(1);
    }
}

void FRTimeTask2(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        ++FR_LooperCount2;
        VKOS_SleepMillisec(1);
    }
}

TcTime TC(uint32_t h, uint32_t m, uint32_t s, uint32_t ms) { return {h * 3600 + m * 60 + s, ms * 1000}; }
