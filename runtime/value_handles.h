// Service value handles: the 32-bit handle under which the service side
// serves a named cell, and the table of served values (levels and cell) that
// a handle indexes. Both are derived from the cell catalogue.
//
//   bits 31-30 access class: 11 read-only, 10 writable
//   bit  29    tunable: a write runs the tunable side effects
//   bits 28-24 type: 0x01 boolean, 0x02 real, 0x04 integer, 0x09 time, 0x10 text
//   bits 23-20 area: 0xB read-only value, 0xF writable value
//   bits 19-0  record number in HmiDataVals
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

// One served value: the session level needed to read and to write it, and
// its cell.
struct HmiDataVal {
    int16_t readLevel;
    int16_t writeLevel;
    CellRef cell;
};

// Records 0 .. sizeofHMIValueArray - 1, then the end record
// {0xFFFF, 0xFFFF, 0xFFFFFFFF}; record k below firstLatchStateRecord serves
// directory record k + 1, record firstLatchStateRecord + l - 1 the change
// counter of latched list l (1 .. 5), read-only.
extern const HmiDataVal* const HmiDataVals;
extern const uint32_t sizeofHMIValueArray;
extern const uint32_t firstLatchStateRecord;
// The handle issued for each record.
extern const uint32_t* const HmiValueHandles;

// The one boolean whose writes take and release the change token.
inline constexpr const char* kChangeTokenCell = "IFACE_MODE.TALLWIRE.LOCK_WRITE";

constexpr uint32_t kHandleClassReadOnly = 0xC0000000u;
constexpr uint32_t kHandleClassWritable = 0x80000000u;
constexpr uint32_t kHandleTunable = 0x20000000u;
constexpr uint32_t kHandleAreaReadOnly = 0xB;
constexpr uint32_t kHandleAreaWritable = 0xF;

// Type bits of a catalogue type letter (0 for an unknown letter).
constexpr uint32_t handle_type_bits(char type) {
    switch (type) {
        case 'B': return 0x01;
        case 'A': return 0x02;
        case 'I':
        case 'U': return 0x04;
        case 'T': return 0x09;
        case 'C': return 0x10;
        default: return 0;
    }
}

// Levels: every value is read at level 0. A momentary service command (a
// boolean 'S' input of a command block) is written at level 1; every other
// writable value (tunables, the change token and the time constants of the
// lags whose writes recompute a coefficient) at level 0.
constexpr int16_t write_level_of(char access, char type) { return access == 'S' && type == 'B' ? 1 : 0; }

// The handle of record `index`: a tunable ('*') or service input ('S') is
// writable and runs the side effects, the change token is writable without
// them, every other cell is read-only.
constexpr uint32_t value_handle(char type, char access, bool changeToken, uint32_t index) {
    const bool tunable = access == '*' || access == 'S';
    const bool writable = tunable || changeToken;
    return (writable ? kHandleClassWritable : kHandleClassReadOnly) | (tunable ? kHandleTunable : 0u) |
           (handle_type_bits(type) << 24) | ((writable ? kHandleAreaWritable : kHandleAreaReadOnly) << 20) |
           (index & 0xFFFFFu);
}
