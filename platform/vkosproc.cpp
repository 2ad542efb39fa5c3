// Task services over the kernel: handles are task ids, results 1/0.
#include <cstdio>
#include <cstring>

#include "platform/vkos.h"

namespace {
// Adapts the one-argument entry of the OS layer to the kernel's ten-word entry.
long entryTrampoline(long entry, long arg, long, long, long, long, long, long, long, long) {
    reinterpret_cast<VKOS_ENTRY>(entry)(arg);
    return 0;
}
}  // namespace

TASK_ID VKOS_CreateProcess(VKOS_ENTRY entry, uint32_t stackSize, int priority, const char* name, long arg) {
    int key;
    disableTMR(&key);
    TASK_ID tid = taskSpawn(name, priority, VX_FP_TASK, stackSize, entryTrampoline,
                            reinterpret_cast<long>(entry), arg, 0, 0, 0, 0, 0, 0, 0, 0);
    restoreTMR(key);
    if (tid == ERROR) {
        std::printf("ERROR Detecteed in CreateThread().\n");
        std::printf("     Could not Create Thread %s.\n", name ? name : "");
        return 0;
    }
    return tid;
}

int VKOS_KillProcess(TASK_ID tid) {
    int key;
    disableTMR(&key);
    STATUS s = taskDelete(tid);
    restoreTMR(key);
    return s == OK ? 1 : 0;
}

namespace {
int suspendUnlocked(TASK_ID tid) {
    char status[16] = "";
    if (taskStatusString(tid, status) == OK && std::strncmp(status, "SUSPEND", 7) == 0) return 0;
    return taskSuspend(tid) == OK ? 1 : 0;
}

int resumeUnlocked(TASK_ID tid) {
    if (!taskIsSuspended(tid)) return 0;
    return taskResume(tid) == OK ? 1 : 0;
}
}  // namespace

int VKOS_SuspendProcess(TASK_ID tid) {
    int key;
    disableTMR(&key);
    int r = suspendUnlocked(tid);
    restoreTMR(key);
    return r;
}

int VKOS_SuspendProcess1(TASK_ID tid) {
    int key = intLock();
    int r = suspendUnlocked(tid);
    intUnlock(key);
    return r;
}

int VKOS_ResumeProcess(TASK_ID tid) {
    int key;
    disableTMR(&key);
    int r = resumeUnlocked(tid);
    restoreTMR(key);
    return r;
}

int VKOS_ResumeProcess1(TASK_ID tid) {
    int key = intLock();
    int r = resumeUnlocked(tid);
    intUnlock(key);
    return r;
}

int VKOS_GetProcessStatus(TASK_ID tid) {
    int key;
    disableTMR(&key);
    STATUS s = taskIdVerify(tid);
    restoreTMR(key);
    return s == OK ? 1 : 0;
}

int VKOS_SetProcessPriority(TASK_ID tid, int priority) { return taskPrioritySet(tid, priority) == OK ? 1 : 0; }

int VKOS_GetProcessPriority(TASK_ID tid) {
    int key;
    disableTMR(&key);
    int prio = -1;
    STATUS s = taskPriorityGet(tid, &prio);
    restoreTMR(key);
    return s == OK ? prio : -1;
}

TASK_ID VKOS_GetCurrentProcessid() {
    int key;
    disableTMR(&key);
    TASK_ID t = taskIdSelf();
    restoreTMR(key);
    return t;
}

int VKOS_TaskLock() {
    int key;
    disableTMR(&key);
    STATUS s = taskLock();
    restoreTMR(key);
    return s == OK ? 1 : 0;
}

int VKOS_TaskUnlock() {
    int key;
    disableTMR(&key);
    STATUS s = taskUnlock();
    restoreTMR(key);
    return s == OK ? 1 : 0;
}
