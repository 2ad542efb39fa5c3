#include "service/TwValues.h"

#include <cmath>
#include <cstring>

#include "host/hostclock.h"
#include "runtime/appmain.h"
#include "runtime/catalogue_tables.h"
#include "runtime/tune_side_effects.h"
#include "runtime/value_handles.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"
#include "service/TwControl.h"
#include "service/TwSecurity.h"
#include "storage/eefile.h"

uint32_t ChangeTokenHandle = 0xFFFFFFFFu;

// Time tunables with their limits in seconds: this build has none, so the
// table holds its one placeholder record.
namespace {
const TmrTune kTmrTunes[] = {{0, 0, 0}};
}  // namespace
const TmrTune* const _tmr_tune = kTmrTunes;
const uint32_t num_tmr_tune = 1;

const HmiArray* ArrayValuesHMI0 = nullptr;
uint32_t numHMIblocks = 0;

namespace {

constexpr uint32_t kAreaDirectory = 0x0;
constexpr uint32_t kAreaSystem = 0x1;
constexpr uint32_t kAreaStruct = 0x4;
constexpr uint32_t kAreaLatched = 0xC;
constexpr uint32_t kSystemControlTime = 0;
constexpr int kNvStringBuffer = 120;

uint32_t areaOf(uint32_t handle) { return (handle >> 20) & 0xF; }
uint32_t accessOf(uint32_t handle) { return handle >> 30; }
bool isValueArea(uint32_t area) { return area == 0xF || area == 0xB || area == 0xD; }

// Directory records, counted once: record 1 up to the first empty type letter.
uint32_t directoryCount() {
    static uint32_t count = 0;
    if (count == 0)
        while (count + 1 < num_dbug_var && _dbug_var[count + 1].type != 0) ++count;
    return count;
}

void* recordCell(uint32_t index) { return cell_ptr(HmiDataVals[index].cell); }

// Word number of a cell in its area (40-byte cells for texts).
int wordNumber(CellRef ref, uint32_t bytes) { return static_cast<int>(ref_offset(ref) / bytes); }

const AnTune* findAnTune(CellRef cell) {
    for (uint32_t a = 0; a < num_an_tune; ++a)
        if (_an_tune[a].cell == cell) return &_an_tune[a];
    return nullptr;
}

const TmrTune* findTmrTune(CellRef cell) {
    for (uint32_t a = 0; a < num_tmr_tune; ++a)
        if (_tmr_tune[a].cell != 0 && _tmr_tune[a].cell == cell) return &_tmr_tune[a];
    return nullptr;
}

const IntTune* findIntTune(CellRef cell) {
    for (uint32_t a = 0; a < num_int_tune; ++a)
        if (_int_tune[a].cell == cell) return &_int_tune[a];
    return nullptr;
}

// The written real is the tunable of a sampled-tunable record whose entry
// is enabled: it may move by any amount while the control runs.
bool sampledEntryEnabled(const AnTune* tune) {
    if (tune == nullptr) return false;
    const CellRef record = cell_ref(AREA_an_tune, static_cast<uint32_t>(tune - _an_tune) * kAnTuneBytes);
    for (uint32_t s = 1; s <= num_samp_tunes; ++s) {
        if (_samp_tunes[s].tune != record) continue;
        const auto* enable = static_cast<const uint32_t*>(cell_ptr(_samp_tunes[s].enable));
        return enable != nullptr && *enable != 0;
    }
    return false;
}

void afterTunableWrite(uint32_t handle, int kindCode, int word, void* cell) {
    if ((handle & kHandleTunable) == 0) return;
    // A tunable the program also sets itself is now a user's change.
    ee_note_written(cell);
    if (SendSysMessage(0x7710, kindCode, word, 0) != 0) special_case_tune(cell);
}

uint8_t writeBoolean(uint32_t handle, CellRef ref, uint32_t* cell, uint8_t byte) {
    const uint32_t value = byte != 0 ? 1u : 0u;
    const int word = wordNumber(ref, 4);
    const int key = intLock();
    if (SendSysMessage(0x9002, word, static_cast<int>(value), 0) != 0) *cell = value;
    afterTunableWrite(handle, 0x1223, word, cell);
    if (handle == ChangeTokenHandle) {
        if (value == 0) {
            AllowChangeForAll(1);
        } else {
            AllowChangeForAll(0);
            SetSessionTokenState(TOKEN_HOLDER);
        }
    }
    intUnlock(key);
    return TW_OK;
}

uint8_t writeInteger(uint32_t handle, CellRef ref, int32_t* cell, int32_t value) {
    const IntTune* tune = findIntTune(ref);
    if (tune != nullptr && (value < tune->min || value > tune->max)) return TW_OUT_OF_RANGE;
    const int word = wordNumber(ref, 4);
    const int key = intLock();
    if (SendSysMessage(0x9000, word, value, 0) != 0) *cell = value;
    afterTunableWrite(handle, 0x1222, word, cell);
    intUnlock(key);
    return TW_OK;
}

uint8_t writeReal(uint32_t handle, CellRef ref, float* cell, float value) {
    int key = intLock();
    const float old = *cell;
    intUnlock(key);
    const AnTune* tune = findAnTune(ref);
    const bool exempt = (handle >> 29) == 0x5 && sampledEntryEnabled(tune);
    if (twsupport::IsControlRunning() != 0 && !exempt) {
        const float step = std::fmax(std::fabs(old) * 0.101f, 0.0101f);
        if (!(value >= old - step && value <= old + step)) return TW_CHANGE_TOO_LARGE;
    }
    if (tune != nullptr ? !(value >= tune->min && value <= tune->max) : !(value == 0.0f)) return TW_OUT_OF_RANGE;
    const int word = wordNumber(ref, 4);
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    key = intLock();
    if (SendSysMessage(0x9001, word, static_cast<int>(bits), 0) != 0) *cell = value;
    afterTunableWrite(handle, 0x1221, word, cell);
    intUnlock(key);
    return TW_OK;
}

uint8_t writeTime(CellRef ref, TimeCell* cell, uint32_t seconds, uint32_t microseconds) {
    const TmrTune* tune = findTmrTune(ref);
    const int key = intLock();
    if (tune != nullptr && (seconds < tune->min || seconds > tune->max)) {
        intUnlock(key);
        return TW_OUT_OF_RANGE;
    }
    const int number = wordNumber(ref, sizeof(TimeCell));
    if (SendSysMessage(0x9005, number, static_cast<int>(seconds), static_cast<int>(microseconds)) == 1)
        *cell = TimeCell{seconds, microseconds};
    intUnlock(key);
    return TW_OK;
}

// A text of at most 38 characters; the rest of the cell, its last two bytes
// included, becomes NUL so no byte of the old text stays behind.
constexpr int kTextKept = 38;

uint8_t writeText(CellRef ref, StrCell* cell, const char* text) {
    char fresh[kStrCellBytes] = {};
    for (int i = 0; i < kTextKept && text[i] != '\0'; ++i) fresh[i] = text[i];
    const int number = wordNumber(ref, kStrCellBytes);
    const int key = intLock();
    int answer = 0;
    for (int part = 0; part < 5; ++part) {
        uint32_t w[2];
        std::memcpy(w, fresh + part * 8, sizeof w);
        answer = SendSysMessage(0x9007 + part, number, static_cast<int>(w[0]), static_cast<int>(w[1]));
    }
    if (answer != 0) std::memcpy(cell->s, fresh, kStrCellBytes);
    intUnlock(key);
    return TW_OK;
}

bool readControlTime(TwValue* value) {
    std::timespec ts{};
    if (hostclock::clock_gettime(hostclock::kClockRealtime, &ts) != 0) ts = {};
    value->type = TW_TYPE_TIME;
    value->data.time.seconds = static_cast<uint32_t>(ts.tv_sec);
    value->data.time.subSeconds = static_cast<uint32_t>(ts.tv_nsec / 1000);
    return true;
}

}  // namespace

uint32_t GetValueType(uint32_t handle) {
    switch ((handle >> 24) & 0x1F) {
        case 0x01: return TW_TYPE_BOOL;
        case 0x02: return TW_TYPE_FLOAT;
        case 0x04: return TW_TYPE_INT;
        case 0x08: return TW_TYPE_WORD66;
        case 0x09: return TW_TYPE_TIME;
        case 0x0A: return TW_TYPE_STRUCT;
        case 0x10: return TW_TYPE_STRING;
        case 0x14: return TW_TYPE_HASH;
        default: return 255;
    }
}

int32_t GetValueIndex(uint32_t handle) {
    if (handle == 0) return -1;
    const uint32_t index = handle & 0xFFFFF;
    const uint32_t area = areaOf(handle);
    if (area == kAreaDirectory) return index < directoryCount() ? static_cast<int32_t>(index) : -1;
    if (area == kAreaStruct) return index < StructDataCount ? static_cast<int32_t>(index) : -1;
    if (!isValueArea(area)) return static_cast<int32_t>(index);
    return index < sizeofHMIValueArray ? static_cast<int32_t>(index) : -1;
}

namespace {
// The record of a value handle for a read or write: only the handle issued
// for a record reaches its cell, since another type or access would read or
// write the cell as what it is not.
// A text's record is also read as the hash of its text, under its handle
// with the hash type.
constexpr uint32_t kTypeBits = 0x1F000000u;
constexpr uint32_t kTextTypeBits = 0x10000000u;
constexpr uint32_t kHashTypeBits = 0x14000000u;

bool issuedFor(uint32_t handle, uint32_t issued) {
    if (handle == issued) return true;
    return (issued & kTypeBits) == kTextTypeBits && (handle & kTypeBits) == kHashTypeBits &&
           (handle & ~kTypeBits) == (issued & ~kTypeBits);
}

int32_t valueIndex(uint32_t handle) {
    const int32_t index = GetValueIndex(handle);
    if (index >= 0 && isValueArea(areaOf(handle)) && !issuedFor(handle, HmiValueHandles[index])) return -1;
    return index;
}
}  // namespace

uint8_t ReadStringHash(uint32_t index, uint32_t* hash) {
    uint32_t h = 0;
    const auto* cell = index < sizeofHMIValueArray ? static_cast<const StrCell*>(recordCell(index)) : nullptr;
    for (int i = 0; cell != nullptr && i < kStrCellBytes && cell->s[i] != '\0'; ++i)
        h = h * 31u + static_cast<uint8_t>(cell->s[i]);
    *hash = h;
    return TW_OK;
}

uint8_t WriteValueRed(uint32_t handle, uint32_t type, uint32_t datum) {
    // Only a value that fits the one 32-bit word travels this way: a time
    // needs two words, and a structure or a text would take the datum for
    // their address.
    switch (type) {
        case TW_TYPE_BOOL:
        case TW_TYPE_INT:
        case TW_TYPE_FLOAT:
        case TW_TYPE_WORD66:
        case TW_TYPE_HASH: break;
        default: return TW_BAD_ARGUMENT;
    }
    TwValue v{};
    v.type = type;
    v.data.u32 = datum;
    if (type == TW_TYPE_BOOL) v.data.u8 = static_cast<uint8_t>(datum != 0);
    return twsupport::WriteValue(handle, &v);
}

int WriteNVString(char* destination, const char* source, int n) {
    if (n < 0 || n >= kNvStringBuffer) return 0;
    char buffer[kNvStringBuffer];
    int length = 0;
    while (length < n && source[length] != '\0') ++length;
    for (int i = 0; i < n; ++i) buffer[i] = i < length ? source[i] : '\0';
    buffer[n] = '\0';
    PgmEEVal(destination, buffer, n + 1);
    return 1;
}

int SVP_LL_MW_I_READ(uint32_t index, int32_t* out) {
    if (index >= sizeofHMIValueArray) return 1;
    std::memcpy(out, recordCell(index), sizeof *out);
    return 0;
}

int SVP_LL_MW_R_READ(uint32_t index, float* out) {
    if (index >= sizeofHMIValueArray) return 1;
    std::memcpy(out, recordCell(index), sizeof *out);
    return 0;
}

void* SidGetTuneAddressReal(uint32_t index) { return index < sizeofHMIValueArray ? recordCell(index) : nullptr; }

namespace twsupport {

uint8_t ReadValForHandle(uint32_t handle, TwValue* value) {
    const int32_t index = valueIndex(handle);
    if (index < 0) return TW_BAD_ARGUMENT;
    const uint32_t area = areaOf(handle);
    const uint8_t level = ::GetSessionSecurityLevel();
    if (area == kAreaSystem) {
        if (level < SecurityReadControlInfo) return TW_SECURITY;
        return index == kSystemControlTime && readControlTime(value) ? TW_OK : TW_BAD_ARGUMENT;
    }
    // A structure record holds bytes of its own layout: it is served as a
    // structure only.
    if (area == kAreaStruct && GetValueType(handle) != TW_TYPE_STRUCT) return TW_BAD_ARGUMENT;
    int readLevel;
    if (area == kAreaStruct) readLevel = StructData[index].readLevel;
    else if (isValueArea(area)) readLevel = HmiDataVals[index].readLevel;
    else return TW_BAD_ARGUMENT;
    if (readLevel > level) return TW_SECURITY;

    value->type = GetValueType(handle);
    void* cell = area == kAreaStruct ? StructData[index].data : recordCell(static_cast<uint32_t>(index));
    if (cell == nullptr) return TW_BAD_ARGUMENT;
    uint8_t status = TW_OK;
    const int key = intLock();
    switch (value->type) {
        case TW_TYPE_BOOL: value->data.u8 = static_cast<uint8_t>(*static_cast<uint32_t*>(cell)); break;
        case TW_TYPE_INT:
        case TW_TYPE_FLOAT: std::memcpy(&value->data.u32, cell, 4); break;
        case TW_TYPE_TIME: {
            const auto* t = static_cast<const TimeCell*>(cell);
            value->data.time.seconds = t->sec;
            value->data.time.subSeconds = t->usec;
            break;
        }
        case TW_TYPE_STRING: value->data.ptr = static_cast<StrCell*>(cell)->s; break;
        case TW_TYPE_HASH: ReadStringHash(static_cast<uint32_t>(index), &value->data.u32); break;
        case TW_TYPE_STRUCT: {
            // The record's own length: the caller's buffer is the size the
            // request layer took from the same record.
            auto* header = static_cast<TwStructHeader*>(value->data.ptr);
            if (area != kAreaStruct || header == nullptr || header->bytes == nullptr) status = TW_BAD_ARGUMENT;
            else std::memcpy(header->bytes, cell, StructData[index].length);
            break;
        }
        default: status = TW_BAD_ARGUMENT; break;
    }
    intUnlock(key);
    return status;
}

uint8_t WriteValue(uint32_t handle, TwValue* value) {
    const uint32_t area = areaOf(handle);
    if (area == kHandleAreaReadOnly) return TW_NOT_WRITABLE;
    const int32_t index = valueIndex(handle);
    if (index < 0) return TW_BAD_ARGUMENT;
    const uint8_t level = ::GetSessionSecurityLevel();
    if (area == kAreaSystem) {
        if (level < SecurityWriteControlInfo || !SessionHasChangeRight()) return TW_SECURITY;
        return index == kSystemControlTime ? TW_NOT_WRITABLE : TW_BAD_ARGUMENT;
    }
    if (accessOf(handle) == 0x3) return TW_NOT_WRITABLE;
    if (accessOf(handle) == 0x1 && IsControlRunning() != 0) return TW_NOT_ALLOWED_NOW;
    if (value->type != GetValueType(handle)) return TW_TYPE_MISMATCH;
    int writeLevel;
    if (area == kAreaStruct) writeLevel = StructData[index].writeLevel;
    else if (area == kHandleAreaWritable) writeLevel = HmiDataVals[index].writeLevel;
    else return TW_BAD_ARGUMENT;
    if (writeLevel > level) return TW_SECURITY;
    if (!SessionHasChangeRight() && !(handle == ChangeTokenHandle && level == 15)) return TW_NOT_ALLOWED_NOW;

    if (area == kAreaStruct) {
        if (value->type != TW_TYPE_STRUCT) return TW_BAD_ARGUMENT;
        const int key = intLock();
        const auto* header = static_cast<const TwStructHeader*>(value->data.ptr);
        std::memcpy(StructData[index].data, header->bytes, StructData[index].length);
        intUnlock(key);
        return TW_OK;
    }
    const CellRef ref = HmiDataVals[index].cell;
    void* cell = cell_ptr(ref);
    if (cell == nullptr) return TW_BAD_ARGUMENT;
    switch (value->type) {
        case TW_TYPE_BOOL: return writeBoolean(handle, ref, static_cast<uint32_t*>(cell), value->data.u8);
        case TW_TYPE_INT:
            return writeInteger(handle, ref, static_cast<int32_t*>(cell), static_cast<int32_t>(value->data.u32));
        case TW_TYPE_FLOAT: return writeReal(handle, ref, static_cast<float*>(cell), value->data.f);
        case TW_TYPE_TIME:
            return writeTime(ref, static_cast<TimeCell*>(cell), value->data.time.seconds, value->data.time.subSeconds);
        case TW_TYPE_STRING: return writeText(ref, static_cast<StrCell*>(cell), static_cast<const char*>(value->data.ptr));
        case TW_TYPE_HASH: return TW_NOT_WRITABLE;
        default: return TW_BAD_ARGUMENT;
    }
}

uint32_t GetDataPacketBytes(uint32_t handle) {
    switch (GetValueType(handle)) {
        case TW_TYPE_TIME: return 8;
        case TW_TYPE_STRING: return 128;
        case TW_TYPE_BOOL: return 1;
        default: return 4;
    }
}

uint16_t GetArraySize(uint32_t handle) {
    if (GetValueIndex(handle) < 0) return 0;
    if (areaOf(handle) == kAreaLatched) return GetLatchAESize(handle & 0xFF);
    return 0;
}

uint8_t ReadArrayItem(uint32_t handle, TwValue* value, uint16_t item) {
    static TWEvent event;
    const uint8_t level = ::GetSessionSecurityLevel();
    if (areaOf(handle) == kAreaLatched) {
        value->type = TW_TYPE_LATCH_ENTRY;
        value->data.ptr = &event;
        if (((handle >> 16) & 0xF) > level) return TW_SECURITY;
        uint16_t record = 0;
        TimerValue time{};
        if (GetNextLatchAEInfo(handle & 0xFF, item, &record, &time) == 0) return TW_OUT_OF_RANGE;
        event = TWEvent{time.seconds, time.microsec, record};
        return TW_OK;
    }
    value->type = GetValueType(handle);
    const uint32_t index = handle & 0xFFFFF;
    if (index < 1 || index > numHMIblocks) return TW_BAD_ARGUMENT;
    const HmiArray& array = ArrayValuesHMI0[index - 1];
    if (array.readLevel > level) return TW_SECURITY;
    if (value->type != TW_TYPE_FLOAT || item >= array.count) return TW_BAD_ARGUMENT;
    const int key = intLock();
    value->data.f = array.values[item];
    intUnlock(key);
    return TW_OK;
}

uint8_t WriteArrayItem(uint32_t handle, TwValue* value, uint16_t item) {
    if (GetValueIndex(handle) < 0 || value->type != GetValueType(handle)) return TW_BAD_ARGUMENT;
    const uint32_t index = handle & 0xFFFFF;
    if (index < 1 || index > numHMIblocks) return TW_BAD_ARGUMENT;
    const HmiArray& array = ArrayValuesHMI0[index - 1];
    if (array.writeLevel > ::GetSessionSecurityLevel() || !SessionHasChangeRight()) return TW_SECURITY;
    if (value->type != TW_TYPE_FLOAT || item >= array.count) return TW_BAD_ARGUMENT;
    const float v = value->data.f;
    if (!(v >= array.minimum && v <= array.maximum)) return TW_OUT_OF_RANGE;
    if (array.orderFree == 0 && IsControlRunning() != 0) {
        const float* a = array.values;
        const bool above = item == 0 || a[item - 1] < v;
        const bool below = item + 1u >= array.count || v < a[item + 1];
        if (!above || !below) return TW_OUT_OF_RANGE;
    }
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int key = intLock();
    if (SendSysMessage(0x9006, static_cast<int>(index - 1), item, static_cast<int>(bits)) != 0) array.values[item] = v;
    intUnlock(key);
    return TW_OK;
}

}  // namespace twsupport
