#include "canopen/fifo.h"

#include <cstring>

void DEFAULT_NO_LOCKING(int) {}

// A FIFO used before FifoInit has no hook yet: it locks nothing.
static void lockHook(const FifoParams* f, int lock) {
    if (f->Lock != nullptr) f->Lock(lock);
}

int FifoInit(FifoParams* fifo) {
    for (uint16_t i = 0; i < fifo->Count; ++i) fifo->Slots[i] = fifo->Storage + static_cast<size_t>(i) * fifo->Size;
    fifo->Lock = DEFAULT_NO_LOCKING;
    return 0;
}

int FifoOpen(FifoParams* fifo) {
    lockHook(fifo, 1);
    fifo->WriteIndex = 0;
    fifo->ReadIndex = 0;
    fifo->Open = 1;
    lockHook(fifo, 0);
    return 0;
}

static bool fifoFull(const FifoParams* f) {
    return f->WriteIndex + 1 == f->ReadIndex || (f->WriteIndex == f->Count - 1 && f->ReadIndex == 0);
}

static uint16_t fifoNext(const FifoParams* f, uint16_t i) { return i + 1 >= f->Count ? 0 : i + 1; }

int FifoWrite(FifoParams* fifo, const void* record) {
    lockHook(fifo, 1);
    // A FIFO of fewer than two slots can hold nothing.
    if (!fifo->Open || fifo->Count < 2 || fifoFull(fifo)) {
        lockHook(fifo, 0);
        return -1;
    }
    std::memcpy(fifo->Slots[fifo->WriteIndex], record, fifo->Size);
    fifo->WriteIndex = fifoNext(fifo, fifo->WriteIndex);
    lockHook(fifo, 0);
    return 0;
}

int FifoRead(FifoParams* fifo, void* record) {
    lockHook(fifo, 1);
    if (!fifo->Open || fifo->WriteIndex == fifo->ReadIndex) {
        lockHook(fifo, 0);
        return -1;
    }
    std::memcpy(record, fifo->Slots[fifo->ReadIndex], fifo->Size);
    fifo->ReadIndex = fifoNext(fifo, fifo->ReadIndex);
    lockHook(fifo, 0);
    return 0;
}

int FifoGetCount(const FifoParams* fifo) {
    if (!fifo->Open) return 0;
    int n = static_cast<int>(fifo->WriteIndex) - static_cast<int>(fifo->ReadIndex);
    if (fifo->WriteIndex < fifo->ReadIndex) n += fifo->Count;
    return n;
}
