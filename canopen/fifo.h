// Fixed-slot ring buffers that carry CAN frames between the controller's
// interrupt handlers and the 20 ms task. A FIFO of n slots holds at most
// n - 1 records; nothing is allocated after FifoInit.
#pragma once

#include <cstdint>

typedef void (*FifoLockHook)(int lock);  // 1 locks, 0 unlocks

struct FifoParams {
    uint8_t* Storage;    // slot storage, Count x Size bytes
    uint8_t** Slots;     // one reference per slot
    uint16_t Count;
    uint16_t Size;       // bytes per slot
    uint16_t WriteIndex;
    uint16_t ReadIndex;
    uint8_t Open;
    FifoLockHook Lock;
};

// The installed lock hook: it does nothing, callers lock interrupts themselves.
void DEFAULT_NO_LOCKING(int lock);

int FifoInit(FifoParams* fifo);
int FifoOpen(FifoParams* fifo);
int FifoWrite(FifoParams* fifo, const void* record);  // 0, or -1 when closed or full
int FifoRead(FifoParams* fifo, void* record);         // 0, or -1 when closed or empty
int FifoGetCount(const FifoParams* fifo);             // 0 when closed
