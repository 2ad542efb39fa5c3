// A scripted application binding for the server tests: every callback slot
// answers from fixed values or the fields of `fake`, so that each request's
// reply layout can be checked.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"

struct FakeBindingState {
    int connects = 0;
    int programmingStarts = 0;
    uint64_t valueReads = 0;
    std::string lastSetText;
    std::vector<std::pair<uint32_t, TwValue>> writes;
    std::vector<std::pair<uint16_t, float>> arrayWrites;
    std::vector<uint8_t> blob{10, 11, 12, 13, 14};
    uint16_t arraySize = 5;
    std::string extraText;  // when set, GAMMA's extra value is this text
};

inline FakeBindingState fake;

// Read handles and what they answer.
constexpr uint32_t H_BOOL = 0x81000001;        // bool true
constexpr uint32_t H_INT = 0x84000002;         // 0x01020304
constexpr uint32_t H_FLOAT = 0x82000003;       // 1.5f
constexpr uint32_t H_TIME = 0x89000004;        // 0x11223344, 0x55667788
constexpr uint32_t H_STRING = 0x90000005;      // 39 characters, 40 bytes on the wire
constexpr uint32_t H_HASH = 0x94000006;        // 96354
constexpr uint32_t H_FAIL = 0x84000007;        // status 254
constexpr uint32_t H_FLOATS = 0x82B00001;      // array: item i is 1.5 * i, five items
constexpr uint32_t H_SID = 0xD0100001;         // the bytes of fake.blob
constexpr uint32_t H_EVENT = 0x85000008;       // event record, W0..W7 = 1..8
constexpr uint32_t H_EVENT_SHORT = 0x85000009; // event record with W0 = 0x000BADFD
constexpr uint32_t H_LATCH = 0x8500000A;       // latched-list entry
constexpr uint32_t H_EVDATA = 0x8500000B;      // event data, three bytes
constexpr uint32_t H_QUAD116 = 0x8500000C;     // four-field record, type 116
constexpr uint32_t H_QUAD117 = 0x8500000D;     // the same record as type 117
constexpr uint32_t H_LONG = 0x8500000E;        // 5,000 characters
constexpr uint32_t H_STRUCT = 0x8A500001;      // fixed 14-byte structure: bytes 1..14

inline const char kFakeString[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abc";

namespace fakedetail {

inline TwapiDescriptor descriptor;
inline TwEventRecord eventRecord{{1, 2, 3, 4, 5, 6, 7, 8}, 0x1234, 1, 0, {0xC0, 0xC1, 0xC2, 0xC3}};
inline TwEventRecord shortEventRecord{{0x000BADFD, 2, 3, 4, 5, 6, 7, 8}, 0x4321, 0, 1, {0xD0, 0xD1, 0xD2, 0xD3}};
inline TWEvent latchEntry{0x21222324, 0x25262728, 0x0204};
inline uint8_t eventBytes[3] = {0x0A, 0x0B, 0x0C};
inline TWEventData eventData{3, 0x0102, eventBytes};
inline TwQuadRecord quad{0x2122, 0x2324, 0x25262728, 0x292A2B2C};
inline const std::string longText(5000, 'L');
inline const char* symbolNames[] = {"", "ALPHA", "BETA", "GAMMA"};

inline uint8_t readVal(uint32_t handle, TwValue* v) {
    ++fake.valueReads;
    switch (handle) {
    case H_BOOL: v->type = 1; v->data.u8 = 1; return 0;
    case H_INT: v->type = 4; v->data.u32 = 0x01020304; return 0;
    case H_FLOAT: v->type = 32; v->data.f = 1.5f; return 0;
    case H_TIME: v->type = 64; v->data.time.seconds = 0x11223344; v->data.time.subSeconds = 0x55667788; return 0;
    case H_STRING: v->type = 80; v->data.ptr = const_cast<char*>(kFakeString); return 0;
    case H_HASH: v->type = 84; v->data.u32 = 96354; return 0;
    case H_FAIL: return 254;
    case H_EVENT: v->type = 112; v->data.ptr = &eventRecord; return 0;
    case H_EVENT_SHORT: v->type = 112; v->data.ptr = &shortEventRecord; return 0;
    case H_LATCH: v->type = 113; v->data.ptr = &latchEntry; return 0;
    case H_EVDATA: v->type = 114; v->data.ptr = &eventData; return 0;
    case H_QUAD116: v->type = 116; v->data.ptr = &quad; return 0;
    case H_QUAD117: v->type = 117; v->data.ptr = &quad; return 0;
    case H_STRUCT:
        v->type = 68;
        for (uint8_t i = 0; i < 14; ++i) static_cast<TwStructHeader*>(v->data.ptr)->bytes[i] = static_cast<uint8_t>(i + 1);
        return 0;
    case H_LONG: v->type = 80; v->data.ptr = const_cast<char*>(longText.c_str()); return 0;
    default: return 1;
    }
}

inline uint8_t symbolEntry(uint16_t k, TwSymbolRecord* r) {
    if (k < 1 || k > 3) return 1;
    r->name = symbolNames[k];
    r->handle = 0x82000000u + k;
    r->attribute1 = static_cast<uint8_t>(10 + k);
    r->attribute2 = static_cast<uint8_t>(k);
    r->limitsFlag = k == 2 ? 1 : 0;  // BETA has limits, GAMMA an extra value
    r->lowLimit.type = r->highLimit.type = 32;
    r->lowLimit.data.f = -1.0f;
    r->highLimit.data.f = 1.0f;
    r->extraValueFlag = k == 3 ? 1 : 0;
    r->extraValue.type = 4;
    r->extraValue.data.u32 = 77;
    if (!fake.extraText.empty()) {
        r->extraValue.type = 80;
        r->extraValue.data.ptr = const_cast<char*>(fake.extraText.c_str());
    }
    return 0;
}

inline uint8_t login(const char*, const char*, uint8_t* level) {
    *level = 7;
    return 0;
}

template <size_t N>
uint8_t ident(char* b, const char (&text)[N]) {
    std::memcpy(b, text, N);
    return 0;
}

}  // namespace fakedetail

inline void installFakeBinding() {
    using namespace fakedetail;
    fake = FakeBindingState{};
    TwapiDescriptor d = TallwireClassicDescriptor;
    d.Connect = [] { ++fake.connects; };
    d.ResetControl = [] {};
    d.BeginProgramming = [] { ++fake.programmingStarts; };
    d.ShutdownControl = d.SaveValues = d.EndProgramming = d.ResetAllowed = d.ShutdownAllowed =
        d.BeginProgrammingVeto = [] { return uint8_t{0}; };
    d.IsControlRunning = [] { return 0; };
    d.GetSystemIdentifier = [](char* b) { return ident(b, "RTOS 1.00-0"); };
    d.GetControlIdentifier = [](char* b) { return ident(b, "CTRL"); };
    d.GetApplicationIdentifier = [](char* b) { return ident(b, "APP"); };
    d.GetConfigIdentifier = [](char* b) { return ident(b, "CFG"); };
    d.GetProductIdentifier = [](char* b) { return ident(b, "Zarn 200"); };
    d.SetControlIdentifier = d.SetConfigIdentifier = [](const char* t) {
        fake.lastSetText = t;
        return uint8_t{0};
    };
    d.GetSymbolTableEntry = symbolEntry;
    d.GetSymbolCount = [] { return uint16_t{3}; };
    d.ReadValForHandle = readVal;
    d.WriteValue = [](uint32_t handle, TwValue* v) {
        fake.writes.emplace_back(handle, *v);
        if (v->type == 80) fake.lastSetText = static_cast<const char*>(v->data.ptr);
        return uint8_t{0};
    };
    d.GetDataPacketBytes = [](uint32_t) -> uint32_t { return 4; };
    d.ReadBytes = [](uint32_t handle, const uint8_t** data, uint32_t* size) -> uint8_t {
        if (handle != H_SID) return 1;
        *data = fake.blob.data();
        *size = static_cast<uint32_t>(fake.blob.size());
        return 0;
    };
    d.GetArraySize = [](uint32_t) { return fake.arraySize; };
    // Latched-list arrays (area 0xC) repeat one entry; the others are floats.
    d.ReadArrayItem = [](uint32_t handle, TwValue* v, uint16_t item) -> uint8_t {
        if (((handle >> 20) & 0xF) == 0xC) {
            v->data.ptr = &latchEntry;
        } else {
            v->type = 32;
            v->data.f = 1.5f * item;
        }
        return item < fake.arraySize ? 0 : 2;
    };
    d.WriteArrayItem = [](uint32_t, TwValue* v, uint16_t item) {
        fake.arrayWrites.emplace_back(item, v->data.f);
        return uint8_t{0};
    };
    d.ValidateSecurityItem = [](uint8_t, uint32_t) { return uint8_t{0}; };
    d.GetValueHandle = [](const char* name, uint32_t* h, uint8_t* t, uint8_t* f) -> uint8_t {
        if (std::strcmp(name, "__SID") != 0) return 1;
        *h = H_SID;
        *t = 1;
        *f = 2;
        return 0;
    };
    d.GetSessionSecurityLevel = [] { return uint8_t{3}; };
    d.AccountSecurityLogin = d.QueryAccountSecurityLevel = login;
    d.WriteProgramMemory = [](uint32_t, uint16_t) { return uint8_t{0}; };
    descriptor = d;
    TwApiClassicInit(&descriptor);
}
