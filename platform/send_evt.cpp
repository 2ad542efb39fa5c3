// Application state and event messages: senders queue 88-byte messages in a
// ring of 60; "AppEventMonitor" moves them into the platform's shared table
// under the platform's service mutex and signals its service event.
#include "platform/send_evt.h"

#include <cstdio>
#include <cstring>

#include "platform/vkos.h"
#include "platform/vkosfile.h"

uint32_t CurrentAppState = 0;

struct AppEventMsg {
    uint32_t code;
    uint32_t state;
    char text[80];
};
static_assert(sizeof(AppEventMsg) == 88);

namespace {
constexpr uint32_t kRingSize = 60;
constexpr uint32_t kTableSlots = 20;
constexpr uint32_t kTableStateOffset = 1764;
}  // namespace

struct EventSharedMemRing {
    AppEventMsg msgs[kRingSize];
    uint32_t HeadEvent;
    uint32_t TailEvent;
};

EventSharedMemRing EventSharedMem;
SEM_ID hAppEvent = 0;
uint32_t AppEventDrops = 0;  // messages dropped because the ring was full
long* phVxServiceMutex = nullptr;
long* phVxServiceEvent = nullptr;
uint8_t* pVxSharedMem = nullptr;

void AppEventInit() {
    int key = intLock();
    EventSharedMem.HeadEvent = 0;
    EventSharedMem.TailEvent = 0;
    intUnlock(key);
    if (hAppEvent == 0) hAppEvent = VKOS_CreateSemaphore("hAppEvent", 0, 1);
}

void AppEventUnload() {
    int key = intLock();
    EventSharedMem.HeadEvent = 0;
    EventSharedMem.TailEvent = 0;
    intUnlock(key);
    hAppEvent = 0;  // went with the kernel objects of the unloaded module
    AppEventDrops = 0;
}

namespace {
// Queues one message; a full ring drops the new message (never the queued ones).
int queueMessage(uint32_t code, uint32_t state, const char* text) {
    int key = intLock();
    uint32_t head = EventSharedMem.HeadEvent;
    uint32_t next = head + 1 >= kRingSize ? 0 : head + 1;
    if (next == EventSharedMem.TailEvent) {
        ++AppEventDrops;
        intUnlock(key);
        return 0;
    }
    AppEventMsg& m = EventSharedMem.msgs[head];
    m.code = code;
    m.state = state;
    std::strncpy(m.text, text ? text : "", sizeof m.text - 1);
    m.text[sizeof m.text - 1] = '\0';
    EventSharedMem.HeadEvent = next;
    intUnlock(key);
    return VKOS_SignalSemaphore(hAppEvent);
}

void putBE32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

uint32_t getBE32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
}  // namespace

int SendAppState(uint32_t state, const char* text) { return queueMessage(2, state, text); }

int SendAppEvent(uint32_t code, const char* text) { return queueMessage(code, 2, text); }

int AppEventEmpty(int kick) {
    if (EventSharedMem.HeadEvent == EventSharedMem.TailEvent) return 1;
    if (kick == 1) VKOS_SignalSemaphore(hAppEvent);
    return 0;
}

int GetMemorySymbols() {
    phVxServiceMutex = static_cast<long*>(VKOS_FindSymbol("_hVxServiceMutex"));
    if (!phVxServiceMutex) return 0;
    phVxServiceEvent = static_cast<long*>(VKOS_FindSymbol("_hVxServiceEvent"));
    if (!phVxServiceEvent) return 0;
    pVxSharedMem = static_cast<uint8_t*>(VKOS_FindSymbol("_VxSharedMem"));
    return pVxSharedMem ? 1 : 0;
}

void AppEventMonitor(long /*arg*/) {
    if (!GetMemorySymbols()) {
        std::printf("Error finding Task Entry point\n");
        std::printf("AppEventMonitorProcess - GetMemorySymbols failed\n");
        return;
    }
    VKOS_SleepMillisec(500);
    for (;;) {
        // A wait for ever fails only when the semaphore is gone: end the
        // monitor rather than spin.
        if (VKOS_WaitSemaphore(hAppEvent, -1) != 0) return;
        if (EventSharedMem.HeadEvent == EventSharedMem.TailEvent) continue;
        if (VKOS_WaitSemaphore(*phVxServiceMutex, -1) != 0) {
            VKOS_SignalSemaphore(*phVxServiceEvent);
            continue;
        }
        uint32_t count = getBE32(pVxSharedMem);
        if (count < kTableSlots) {
            const AppEventMsg& m = EventSharedMem.msgs[EventSharedMem.TailEvent];
            uint8_t* slot = pVxSharedMem + 4 + 88 * count;
            putBE32(slot + 4, m.state);
            putBE32(slot, m.code);
            // The text characters without the terminating NUL, the rest of the field cleared.
            const size_t len = strnlen(m.text, sizeof m.text);
            std::memcpy(slot + 8, m.text, len);
            std::memset(slot + 8 + len, 0, sizeof m.text - len);
            putBE32(pVxSharedMem + kTableStateOffset, CurrentAppState);
            putBE32(pVxSharedMem, count + 1);
        }
        VKOS_SignalSemaphore(*phVxServiceMutex);
        int key = intLock();
        EventSharedMem.TailEvent = EventSharedMem.TailEvent + 1 >= kRingSize ? 0 : EventSharedMem.TailEvent + 1;
        intUnlock(key);
        VKOS_SignalSemaphore(*phVxServiceEvent);
    }
}
