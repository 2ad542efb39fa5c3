#include "service/TwApiClassic.h"

#include <cstring>
#include <initializer_list>

#include "service/TallwireSupport.h"
#include "service/TwDataTypeIO.h"

const char TallwireVersion[] = "Tallwire Classic v2.05";

char String1_128[128];
char String2_128[128];
uint8_t TwValueBuffer[128];

namespace {

// Header handed to the binding for structure values.
TwStructHeader structHeader;

const TwapiDescriptor* desc() { return TwapiDescriptorPtr; }

uint32_t handleArea(uint32_t handle) { return (handle >> 20) & 0xF; }
bool isFixedStructHandle(uint32_t handle) { return ((handle >> 20) & 0x1FF) == 0x0A5; }

void insertStatus(uint8_t status) { TwInsertUint8(status); }

uint32_t valueWireSize(uint32_t type, const void* ptr) {
    switch (type) {
    case TW_TYPE_BOOL:
    case TW_TYPE_BYTE:
        return 1;
    case TW_TYPE_INT:
    case TW_TYPE_WORD66:
    case TW_TYPE_HASH:
    case TW_TYPE_FLOAT:
        return 4;
    case TW_TYPE_TIME:
        return 8;
    case TW_TYPE_STRUCT:
        return ptr != nullptr ? static_cast<const TwStructHeader*>(ptr)->length : 0;
    case TW_TYPE_STRING:
        return ptr != nullptr ? static_cast<uint32_t>(std::strlen(static_cast<const char*>(ptr))) + 1 : 0;
    case TW_TYPE_EVENT:
        if (ptr == nullptr) return 0;
        return static_cast<const TwEventRecord*>(ptr)->W[0] == 0x000BADFD ? 27 : 59;
    case TW_TYPE_LATCH_ENTRY:
        return ptr != nullptr ? 10 : 0;
    case TW_TYPE_EVENT_DATA:
        return ptr != nullptr ? static_cast<const TWEventData*>(ptr)->length + 2u : 0;
    case TW_TYPE_QUAD_116:
    case TW_TYPE_QUAD_117:
        return ptr != nullptr ? 12 : 0;
    default:
        return 0;
    }
}

// Prepares the structure header of a read by handle; returns it, or null
// when the handle names no structure.
TwStructHeader* prepareStructHeader(uint32_t handle) {
    if (handleArea(handle) == 0x4) {
        uint32_t index = handle & 0xFFFFF;
        if (index >= StructDataCount) return nullptr;
        structHeader.length = StructData[index].length;
        structHeader.readLevel = StructData[index].readLevel;
        structHeader.writeLevel = StructData[index].writeLevel;
        structHeader.bytes = TwValueBuffer;
        if (structHeader.length > sizeof TwValueBuffer) structHeader.length = sizeof TwValueBuffer;
        return &structHeader;
    }
    if (isFixedStructHandle(handle)) {
        structHeader = TwStructHeader{14, 0, 0, TwValueBuffer};
        return &structHeader;
    }
    return nullptr;
}

// One read by handle: status, and the value when the status is 0. In a
// batch, an item whose status and value do not fit ends the reply.
bool readOneValue(bool batch) {
    uint32_t handle = TwExtractUint32();
    if (handle == 0) {
        if (batch && pInsertWillOverflow(1)) return false;
        insertStatus(TW_BAD_ARGUMENT);
        return true;
    }
    TwValue value{};
    TwStructHeader* header = prepareStructHeader(handle);
    if (header != nullptr) value.data.ptr = header;
    uint8_t status = desc()->ReadValForHandle(handle, &value);
    uint32_t size = 1 + (status == TW_OK ? SizeOfValue(&value) : 0);
    if (batch && size > 0xFFFF) return false;
    if (batch && pInsertWillOverflow(static_cast<uint16_t>(size))) return false;
    insertStatus(status);
    if (status == TW_OK) TwInsertValue(&value);
    return true;
}

// One write by handle: handle, type code, value; returns the status.
uint8_t writeOneValue() {
    uint32_t handle = TwExtractUint32();
    TwValue value{};
    value.type = TwExtractUint8();
    uint8_t status = TwExtractValue(handle, &value);
    if (desc()->WriteValue == nullptr) return TW_NOT_PROVIDED;
    if (status != TW_OK) return status;
    return desc()->WriteValue(handle, &value);
}

// Identifier getters share one form: empty slot 255; else the slot's status
// (or 0 when it is not used) and on 0 its text.
void replyIdentifier(uint8_t (*slot)(char*), bool useStatus) {
    if (slot == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return;
    }
    char text[TW_TEXT_MAX];
    std::memset(text, 0, sizeof text);
    uint8_t status = slot(text);
    text[TW_TEXT_MAX - 1] = '\0';
    if (!useStatus) status = TW_OK;
    insertStatus(status);
    if (status == TW_OK) TwInsertString(text);
}

// Identifier setters: the text must be readable, then the slot decides.
void replySetIdentifier(uint8_t (*slot)(const char*)) {
    if (!pCanTwExtractString(TW_TEXT_MAX)) {
        insertStatus(TW_BAD_ARGUMENT);
        return;
    }
    if (slot == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return;
    }
    TwExtractString(String1_128);
    insertStatus(slot(String1_128));
}

int symbolTable(bool extended) {
    const TwapiDescriptor* d = desc();
    if (d->GetSymbolTableEntry == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    if (d->GetSymbolCount == nullptr) {
        TwExtractUint16();
        TwExtractUint16();
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    uint32_t total = d->GetSymbolCount();
    uint32_t first = TwExtractUint16();
    uint32_t count = TwExtractUint16();
    if (first >= total) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    if (count == 0) {
        insertStatus(TW_OK);
        return 0;
    }
    if (first + count > total) count = total - first;
    uint32_t sent = 0;
    for (uint32_t k = first + 1; k <= total && sent < count; ++k) {
        TwSymbolRecord rec{};
        rec.extraValueFlag = 0;
        if (d->GetSymbolTableEntry(static_cast<uint16_t>(k), &rec) != TW_OK || rec.name == nullptr) break;
        size_t need = std::strlen(rec.name) + 42;
        if (need > 0xFFFF || pInsertWillOverflow(static_cast<uint16_t>(need))) break;
        if (sent == 0) {
            insertStatus(TW_OK);
            TwInsertUint16(static_cast<uint16_t>(first));
        }
        TwInsertString(rec.name);
        TwInsertUint32(rec.handle);
        TwInsertUint8(rec.attribute2);
        TwInsertUint8(rec.attribute1);
        if (rec.limitsFlag) {
            TwInsertValue(&rec.lowLimit);
            TwInsertValue(&rec.highLimit);
        }
        if (extended && (rec.attribute2 == 2 || rec.attribute2 == 3)) {
            uint32_t size = rec.extraValueFlag ? SizeOfValue(&rec.extraValue) : 0;
            if (rec.extraValueFlag && size <= 0xFF && !pInsertWillOverflow(static_cast<uint16_t>(size + 1))) {
                TwInsertUint8(1);
                TwInsertUint8(static_cast<uint8_t>(size));
                TwInsertValue(&rec.extraValue);
            } else {
                TwInsertUint8(0);
                TwInsertUint8(0);
            }
        }
        ++sent;
    }
    // Never an empty reply: a first symbol that cannot be had is refused.
    if (sent == 0) insertStatus(TW_BAD_ARGUMENT);
    return 0;
}

}  // namespace

uint32_t SizeOfValue(const TwValue* value) { return valueWireSize(value->type, value->data.ptr); }

void TwInsertValue(const TwValue* v) {
    switch (v->type) {
    case TW_TYPE_BOOL:
    case TW_TYPE_BYTE:
        TwInsertUint8(v->data.u8);
        break;
    case TW_TYPE_INT:
    case TW_TYPE_WORD66:
    case TW_TYPE_HASH:
    case TW_TYPE_FLOAT:
        TwInsertUint32(v->data.u32);
        break;
    case TW_TYPE_TIME:
        TwInsertUint32(v->data.time.seconds);
        TwInsertUint32(v->data.time.subSeconds);
        break;
    case TW_TYPE_STRUCT: {
        auto* h = static_cast<const TwStructHeader*>(v->data.ptr);
        if (h == nullptr || h->bytes == nullptr) break;
        for (uint32_t i = 0; i < h->length; ++i) TwInsertUint8(h->bytes[i]);
        break;
    }
    case TW_TYPE_STRING: {
        auto* s = static_cast<const char*>(v->data.ptr);
        if (s == nullptr) break;
        do TwInsertUint8(static_cast<uint8_t>(*s));
        while (*s++ != '\0');
        break;
    }
    case TW_TYPE_EVENT: {
        auto* e = static_cast<const TwEventRecord*>(v->data.ptr);
        if (e == nullptr) break;
        TwInsertUint16(e->H);
        TwInsertUint8(e->Y != 0 ? 0 : (e->X != 0 ? 1 : 2));
        for (uint8_t c : e->C) TwInsertUint8(c);
        TwInsertUint32(e->W[7]);
        if (e->W[0] != 0x000BADFD) {
            for (int i : {0, 1, 2, 4}) {
                TwInsertUint32(e->W[i]);
                TwInsertUint32(0);
            }
        }
        TwInsertUint32(e->W[5]);
        TwInsertUint32(e->W[6]);
        TwInsertUint32(e->W[3]);
        TwInsertUint32(e->W[3]);
        break;
    }
    case TW_TYPE_LATCH_ENTRY: {
        auto* e = static_cast<const TWEvent*>(v->data.ptr);
        if (e == nullptr) break;
        TwInsertUint16(e->recordNumber);
        TwInsertUint32(e->seconds);
        TwInsertUint32(e->microseconds);
        break;
    }
    case TW_TYPE_EVENT_DATA: {
        auto* e = static_cast<const TWEventData*>(v->data.ptr);
        if (e == nullptr) break;
        TwInsertUint16(e->tag);
        if (e->bytes != nullptr)
            for (uint32_t i = e->length; i > 0; --i) TwInsertUint8(e->bytes[i - 1]);
        break;
    }
    case TW_TYPE_QUAD_116:
    case TW_TYPE_QUAD_117: {
        auto* q = static_cast<const TwQuadRecord*>(v->data.ptr);
        if (q == nullptr) break;
        TwInsertUint16(q->a);
        TwInsertUint16(q->b);
        TwInsertUint32(q->c);
        TwInsertUint32(q->d);
        break;
    }
    default:
        break;
    }
}

uint8_t TwExtractValue(uint32_t handle, TwValue* v) {
    switch (v->type) {
    case TW_TYPE_BOOL:
    case TW_TYPE_BYTE:
        v->data.u8 = TwExtractUint8();
        return TW_OK;
    case TW_TYPE_INT:
    case TW_TYPE_WORD66:
    case TW_TYPE_HASH:
    case TW_TYPE_FLOAT:
        v->data.u32 = TwExtractUint32();
        return TW_OK;
    case TW_TYPE_TIME:
        v->data.time.seconds = TwExtractUint32();
        v->data.time.subSeconds = TwExtractUint32();
        return TW_OK;
    case TW_TYPE_STRUCT: {
        if (handleArea(handle) == 0x4) {
            uint32_t index = handle & 0xFFFFF;
            if (index >= StructDataCount || StructData[index].length > sizeof TwValueBuffer) return TW_BAD_ARGUMENT;
            structHeader = TwStructHeader{StructData[index].length, StructData[index].readLevel,
                                          StructData[index].writeLevel, TwValueBuffer};
        } else if (isFixedStructHandle(handle)) {
            structHeader = TwStructHeader{14, 0, 0, TwValueBuffer};
        } else {
            // No structure layout is known for this handle.
            return TW_BAD_ARGUMENT;
        }
        for (uint16_t i = 0; i < structHeader.length; ++i) TwValueBuffer[i] = TwExtractUint8();
        v->data.ptr = &structHeader;
        return TW_OK;
    }
    case TW_TYPE_STRING: {
        // At most 127 characters and the NUL; a text whose NUL is not among
        // the first 128 bytes (or not in the request) is refused and skipped.
        if (!pCanTwExtractString(TW_TEXT_MAX)) {
            while (pDataAvailable(1) && TwExtractUint8() != 0) {
            }
            return TW_BAD_ARGUMENT;
        }
        TwExtractString(reinterpret_cast<char*>(TwValueBuffer));
        v->data.ptr = TwValueBuffer;
        return TW_OK;
    }
    default:
        return TW_OK;
    }
}

namespace twapi {

int Ping(uint8_t) {
    insertStatus(TW_OK);
    return 0;
}

int QuerySupportedFunctions(uint8_t) {
    insertStatus(TW_OK);
    for (uint8_t i = 0; i < RequestMapSize; ++i) {
        if (pInsertWillOverflow(1)) break;
        TwInsertUint8(pRequestMap[i].code);
    }
    return 0;
}

int ResetControl(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->ResetControl == nullptr) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    uint8_t veto = d->ResetAllowed != nullptr ? d->ResetAllowed() : 0;
    if (veto != 0) {
        insertStatus(veto);
        return 0;
    }
    ResetControlRequested = 1;
    insertStatus(TW_OK);
    return 0;
}

int ShutdownControl(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->ShutdownControl == nullptr) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    uint8_t veto = d->ShutdownAllowed != nullptr ? d->ShutdownAllowed() : 0;
    insertStatus(veto != 0 ? veto : d->ShutdownControl());
    return 0;
}

int GetRunStatus(uint8_t) {
    const TwapiDescriptor* d = desc();
    insertStatus(TW_OK);
    TwInsertUint8(d->IsControlRunning != nullptr && d->IsControlRunning() == 0 ? 1 : 0);
    return 0;
}

int SaveValues(uint8_t) {
    const TwapiDescriptor* d = desc();
    insertStatus(d->SaveValues == nullptr ? TW_NOT_PROVIDED : d->SaveValues());
    return 0;
}

int BeginProgrammingMode(uint8_t) {
    const TwapiDescriptor* d = desc();
    uint8_t veto = d->BeginProgrammingVeto != nullptr ? d->BeginProgrammingVeto() : 0;
    if (veto != 0) {
        insertStatus(veto);
    } else if (d->BeginProgramming == nullptr || d->IsControlRunning == nullptr) {
        insertStatus(TW_NOT_ALLOWED_NOW);
    } else if (d->IsControlRunning() != 0) {
        insertStatus(TW_OUT_OF_RANGE);
    } else {
        StartProgramLocation = TwExtractUint32();
        EndProgramLocation = TwExtractUint32();
        BeginProgrammingRequested = 1;
        insertStatus(TW_OK);
    }
    return 0;
}

int EndProgrammingMode(uint8_t) {
    const TwapiDescriptor* d = desc();
    insertStatus(d->EndProgramming == nullptr ? TW_NOT_PROVIDED : d->EndProgramming());
    return 0;
}

int WriteToProgramMemory(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->WriteProgramMemory == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    uint32_t address = TwExtractUint32();
    uint16_t length = TwExtractUint16();
    insertStatus(d->WriteProgramMemory(address, length));
    return 0;
}

int GetValueHandle(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (!pCanTwExtractString(TW_TEXT_MAX)) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    if (d->GetValueHandle == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    TwExtractString(String1_128);
    uint32_t handle = 0;
    uint8_t type = 0;
    uint8_t flags = 0;
    uint8_t status = d->GetValueHandle(String1_128, &handle, &type, &flags);
    insertStatus(status);
    if (status == TW_OK) {
        TwInsertUint32(handle);
        TwInsertUint8(type);
        TwInsertUint8(flags);
    }
    return 0;
}

int ReadValue(uint8_t) {
    if (desc()->ReadValForHandle == nullptr) {
        // The handle is still checked first: 0 is a bad argument.
        insertStatus(TwExtractUint32() == 0 ? TW_BAD_ARGUMENT : TW_NOT_PROVIDED);
        return 0;
    }
    readOneValue(false);
    return 0;
}

int BatchReadByHandles(uint8_t) {
    if (desc()->ReadValForHandle == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    insertStatus(TW_OK);
    while (pDataAvailable(4)) {
        if (!readOneValue(true)) break;
    }
    return 0;
}

int WriteValue(uint8_t) {
    insertStatus(writeOneValue());
    return 0;
}

int BatchWriteByHandles(uint8_t) {
    if (desc()->WriteValue == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    insertStatus(TW_OK);
    while (pDataAvailable(4)) insertStatus(writeOneValue());
    return 0;
}

int ReadArray(uint8_t) {
    const TwapiDescriptor* d = desc();
    uint32_t handle = TwExtractUint32();
    uint32_t first = TwExtractUint16();
    uint32_t count = TwExtractUint16();
    if (handle == 0) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    TwValue value{};
    uint32_t itemSize = 4;
    switch (handleArea(handle)) {
    case 0xE:
        value.type = TW_TYPE_EVENT;
        itemSize = 59;
        break;
    case 0xC:
        value.type = TW_TYPE_LATCH_ENTRY;
        itemSize = 10;
        break;
    case 0xA:
        // Event data: the record size is learnt from item 1.
        if (d->ReadArrayItem == nullptr) {
            insertStatus(TW_NOT_PROVIDED);
            return 0;
        }
        AssignTWEventDataPointer(&value);
        value.type = TW_TYPE_EVENT_DATA;
        TWEventDataRecord.length = 0;
        d->ReadArrayItem(handle, &value, 1);
        itemSize = SizeOfValue(&value);
        break;
    default:
        break;
    }
    if (d->GetArraySize != nullptr) {
        uint32_t n = d->GetArraySize(handle);
        if (count == 0) count = n;
        else if (n == 0) count = 0;
        if (first + count > n) count = static_cast<uint16_t>(n - first);
    }
    if (count == 0) {
        insertStatus(TW_OUT_OF_RANGE);
        return 0;
    }
    if (d->ReadArrayItem == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    for (uint32_t index = first; index < first + count; ++index) {
        if (itemSize + 4 > 0xFFFF || pInsertWillOverflow(static_cast<uint16_t>(itemSize + 4))) break;
        uint8_t status = d->ReadArrayItem(handle, &value, static_cast<uint16_t>(index));
        if (index == first) {
            insertStatus(status);
            if (status != TW_OK) break;
        } else if (status != TW_OK) {
            break;
        }
        TwInsertValue(&value);
    }
    return 0;
}

int WriteArray(uint8_t) {
    const TwapiDescriptor* d = desc();
    uint32_t handle = TwExtractUint32();
    uint16_t index = TwExtractUint16();
    uint8_t status = d->WriteArrayItem == nullptr ? TW_NOT_PROVIDED : (handle == 0 ? TW_BAD_ARGUMENT : TW_OK);
    while (pDataAvailable(4)) {
        TwValue value{};
        value.type = TW_TYPE_FLOAT;
        TwExtractValue(handle, &value);
        if (status == TW_OK) status = d->WriteArrayItem(handle, &value, index);
        ++index;
    }
    insertStatus(status);
    return 0;
}

int ReadBytes(uint8_t) {
    const TwapiDescriptor* d = desc();
    uint32_t handle = TwExtractUint32();
    uint32_t offset = TwExtractUint32();
    uint32_t mode = TwExtractUint32();
    if (d->ReadBytes == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    uint8_t status = d->ReadBytes(handle, &data, &size);
    if (status != TW_OK) {
        insertStatus(status);
    } else if (mode == 0) {
        insertStatus(TW_OK);
        TwInsertUint32(size);
        TwInsertUint32(1);
    } else if (offset >= size || data == nullptr) {
        insertStatus(TW_OUT_OF_RANGE);
    } else {
        insertStatus(TW_OK);
        for (uint32_t i = offset; i < size && !pInsertWillOverflow(1); ++i) TwInsertUint8(data[i]);
    }
    return 0;
}

int GetSymbolTableSize(uint8_t) {
    const TwapiDescriptor* d = desc();
    uint16_t count = d->GetSymbolCount != nullptr ? d->GetSymbolCount() : 0;
    if (count == 0) {
        insertStatus(TW_NOT_PROVIDED);
    } else {
        insertStatus(TW_OK);
        TwInsertUint16(count);
    }
    return 0;
}

int GetSymbolTable(uint8_t) { return symbolTable(false); }
int GetSymbolTableEx(uint8_t) { return symbolTable(true); }

int GetProtocolId(uint8_t) {
    insertStatus(TW_OK);
    TwInsertString(TallwireVersion);
    return 0;
}

int GetSystemId(uint8_t) {
    replyIdentifier(desc()->GetSystemIdentifier, true);
    return 0;
}
int GetControlId(uint8_t) {
    replyIdentifier(desc()->GetControlIdentifier, false);
    return 0;
}
int SetControlId(uint8_t) {
    replySetIdentifier(desc()->SetControlIdentifier);
    return 0;
}
int GetApplicationId(uint8_t) {
    replyIdentifier(desc()->GetApplicationIdentifier, false);
    return 0;
}
int GetConfigId(uint8_t) {
    replyIdentifier(desc()->GetConfigIdentifier, true);
    return 0;
}
int SetConfigId(uint8_t) {
    replySetIdentifier(desc()->SetConfigIdentifier);
    return 0;
}
int GetProductId(uint8_t) {
    replyIdentifier(desc()->GetProductIdentifier, true);
    return 0;
}

int ValidateSecurity(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->ValidateSecurityItem == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    uint8_t level = TwExtractUint8();
    uint32_t password = TwExtractUint32();
    insertStatus(d->ValidateSecurityItem(level, password));
    return 0;
}

// Reads the user and password texts; false when either is missing.
static bool extractUserAndPassword() {
    if (!pCanTwExtractString(TW_TEXT_MAX)) return false;
    TwExtractString(String1_128);
    if (!pCanTwExtractString(TW_TEXT_MAX)) return false;
    TwExtractString(String2_128);
    return true;
}

static void replyLevel(uint8_t status, uint8_t level) {
    insertStatus(status);
    if (status == TW_OK) TwInsertUint8(level);
}

int AccountSecurityLogin(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->AccountSecurityLogin == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    if (!extractUserAndPassword()) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    uint8_t level = 0;
    uint8_t status = d->AccountSecurityLogin(String1_128, String2_128, &level);
    replyLevel(status, level);
    return 0;
}

int QueryAccountSecurityLevel(uint8_t) {
    const TwapiDescriptor* d = desc();
    if (d->QueryAccountSecurityLevel == nullptr) {
        insertStatus(TW_NOT_PROVIDED);
        return 0;
    }
    if (!pDataAvailable(1)) {
        // No user named: the level of the current session.
        replyLevel(TW_OK, d->GetSessionSecurityLevel != nullptr ? d->GetSessionSecurityLevel() : 0);
        return 0;
    }
    if (!extractUserAndPassword()) {
        insertStatus(TW_BAD_ARGUMENT);
        return 0;
    }
    uint8_t level = 0;
    uint8_t status = d->QueryAccountSecurityLevel(String1_128, String2_128, &level);
    replyLevel(status, level);
    return 0;
}

}  // namespace twapi

const RequestMapEntry RequestMap[TW_REQUEST_MAP_COUNT] = {
    {0x00, twapi::Ping},
    {0x01, twapi::QuerySupportedFunctions},
    {0x10, twapi::ResetControl},
    {0x11, twapi::ShutdownControl},
    {0x12, twapi::GetRunStatus},
    {0x20, twapi::GetValueHandle},
    {0x21, twapi::GetSymbolTableSize},
    {0x22, twapi::GetSymbolTable},
    {0x23, twapi::ReadValue},
    {0x24, twapi::ReadArray},
    {0x25, twapi::WriteValue},
    {0x26, twapi::SaveValues},
    {0x27, twapi::WriteArray},
    {0x28, twapi::BatchReadByHandles},
    {0x29, twapi::BatchWriteByHandles},
    {0x2A, twapi::GetSymbolTableEx},
    {0x2B, twapi::ReadBytes},
    {0x44, twapi::BeginProgrammingMode},
    {0x45, twapi::EndProgrammingMode},
    {0x47, twapi::WriteToProgramMemory},
    {0x50, twapi::GetProtocolId},
    {0x51, twapi::GetSystemId},
    {0x52, twapi::GetControlId},
    {0x53, twapi::SetControlId},
    {0x54, twapi::GetApplicationId},
    {0x55, twapi::GetConfigId},
    {0x56, twapi::SetConfigId},
    {0x57, twapi::GetProductId},
    {0x60, twapi::ValidateSecurity},
    {0x61, twapi::AccountSecurityLogin},
    {0x62, twapi::QueryAccountSecurityLevel},
};

int TwApiClassicInit(const TwapiDescriptor* descriptor) {
    TwapiDescriptorPtr = descriptor;
    return TallwireOpen(RequestMap, TW_REQUEST_MAP_COUNT);
}
