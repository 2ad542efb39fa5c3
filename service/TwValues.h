// Values by handle: the binding's callbacks through which the request
// handlers read and write application values, and the platform's entry
// points to the same values.
#pragma once

#include <cstdint>

#include "platform/TIME.h"
#include "runtime/appmem.h"
#include "service/Tallwire.h"

// The change token's handle (0xFFFFFFFF until the block initialisation sets it).
extern uint32_t ChangeTokenHandle;

// Time tunables: the cell and its limits in whole seconds.
struct TmrTune {
    CellRef cell;
    uint32_t min;
    uint32_t max;
};
extern const TmrTune* const _tmr_tune;
extern const uint32_t num_tmr_tune;

// Float arrays served by handle (none in this build).
struct HmiArray {
    int16_t readLevel;
    int16_t writeLevel;
    float* values;
    uint32_t count;
    uint32_t orderFree;
    float minimum;
    float maximum;
};
extern const HmiArray* ArrayValuesHMI0;
extern uint32_t numHMIblocks;

// Latched alarm/event lists of the protection logic (list id in the low byte).
uint16_t GetLatchAESize(uint32_t listId);
int GetNextLatchAEInfo(uint32_t listId, uint32_t item, uint16_t* recordNumber, TimerValue* time);

// Statuses 0 done, 1 bad handle, 2 out of range, 3 change too large while
// running, 4 not allowed now, 5 type mismatch, 6 not writable, 254 level.
uint32_t GetValueType(uint32_t handle);
int32_t GetValueIndex(uint32_t handle);
uint8_t ReadStringHash(uint32_t index, uint32_t* hash);
uint8_t WriteValueRed(uint32_t handle, uint32_t type, uint32_t datum);
// Stores `source` cut or NUL-padded to n characters and a NUL through the
// tunables file's value writer; n must be below 120 (else nothing, 0).
int WriteNVString(char* destination, const char* source, int n);
int SVP_LL_MW_I_READ(uint32_t index, int32_t* out);
int SVP_LL_MW_R_READ(uint32_t index, float* out);
void* SidGetTuneAddressReal(uint32_t index);

namespace twsupport {
uint8_t ReadValForHandle(uint32_t handle, TwValue* value);
uint8_t WriteValue(uint32_t handle, TwValue* value);
uint32_t GetDataPacketBytes(uint32_t handle);
uint16_t GetArraySize(uint32_t handle);
uint8_t ReadArrayItem(uint32_t handle, TwValue* value, uint16_t item);
uint8_t WriteArrayItem(uint32_t handle, TwValue* value, uint16_t item);
}  // namespace twsupport
