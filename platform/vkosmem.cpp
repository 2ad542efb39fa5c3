// Memory services: malloc-backed, with the system partition queries.
#include <cstdlib>

#include "platform/vkos.h"

void* VKOS_GetMem(uint32_t size) {
    int key;
    disableTMR(&key);
    void* p = std::malloc(size);
    restoreTMR(key);
    return p;
}

int VKOS_FreeMem(void* p, uint32_t /*size*/) {
    int key;
    disableTMR(&key);
    std::free(p);
    restoreTMR(key);
    return 1;
}

int VKOS_memAvail(uint32_t* freeBytes) {
    MEM_PART_STATS st{};
    if (memPartInfoGet(memSysPartId, &st) != OK) return -1;
    *freeBytes = st.numBytesFree > 0xffffffffUL ? 0xffffffffu : static_cast<uint32_t>(st.numBytesFree);
    return 0;
}

long VKOS_FindMaxMemChunk() { return memFindMax(); }

void VKOS_InitMem() {}
void MallocFail() {}
