// Counting semaphores over the kernel; time-outs in milliseconds.
#include "platform/vkos.h"

SEM_ID VKOS_CreateSemaphore(const char* /*name*/, int initialCount, int /*maxCount*/) {
    SEM_ID s = semCCreate(SEM_Q_PRIORITY, initialCount);
    return s == ERROR ? 0 : s;
}

int VKOS_WaitSemaphore(SEM_ID sem, int timeoutMs) {
    return semTake(sem, VKOS_MsToWaitTicks(timeoutMs)) == OK ? 0 : -1;
}

int VKOS_SignalSemaphore(SEM_ID sem) { return semGive(sem) == OK ? 1 : 0; }

int VKOS_SignalnSemaphore(SEM_ID sem, int n) {
    for (int i = 0; i < n; ++i)
        if (semGive(sem) != OK) return 0;
    return 1;
}

int VKOS_FlushSemaphore(SEM_ID sem) { return semFlush(sem) == OK ? 1 : 0; }

int VKOS_CloseSemaphore(SEM_ID sem) {
    semDelete(sem);
    return 1;
}

int VKOS_SemaphoreCount(SEM_ID sem) {
    int c = semCount(sem);
    if (c > 0) return c;
    return semWaiters(sem) > 0 ? -1 : 0;
}

// Named semaphores are not supported.
SEM_ID VKOS_OpenSemaphore(const char* /*name*/) { return 0; }
int VKOS_OpenAndSignalSemaphore(const char* /*name*/) { return -1; }
int VKOS_OpenAndSignalnSemaphore(const char* /*name*/, int /*n*/) { return -1; }
int VKOS_OpenAndWaitSemaphore(const char* /*name*/, int /*timeoutMs*/) { return -1; }
