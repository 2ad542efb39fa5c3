#include "tw_fake_binding.h"

#include "service/TwApiClassic.h"

FakeBindingState fake;
TwapiDescriptor fakeDescriptor;

const char kFakeString[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abc";  // 39 characters

namespace {

TWEvent latchEvent;
TwEventRecord eventRecord;
uint8_t eventBytes[3] = {0xA1, 0xA2, 0xA3};

uint8_t readVal(uint32_t handle, TwValue* v) {
    switch (handle) {
    case H_BOOL: v->type = 1; v->data.u8 = 1; return 0;
    case H_INT: v->type = 4; v->data.u32 = 0x01020304; return 0;
    case H_FLOAT: v->type = 32; v->data.f = 1.5f; return 0;
    case H_TIME: v->type = 64; v->data.time.seconds = 0x11223344; v->data.time.subSeconds = 0x55667788; return 0;
    case H_STRING: v->type = 80; v->data.ptr = const_cast<char*>(kFakeString); return 0;
    case H_HASH: v->type = 84; v->data.u32 = 96354; return 0;
    case H_FAIL: return 254;
    default: return 1;
    }
}

uint8_t writeVal(uint32_t handle, TwValue* v) {
    fake.writes.emplace_back(handle, *v);
    if (v->type == 80) fake.lastSetText = static_cast<const char*>(v->data.ptr);
    return fake.writeStatus;
}

uint8_t readItem(uint32_t handle, TwValue* v, uint16_t item) {
    if (item >= fake.arraySize) return 2;
    switch ((handle >> 20) & 0xF) {
    case 0xC:
        latchEvent = TWEvent{1000u + item, 500u, static_cast<uint16_t>(item + 1)};
        v->type = 113;
        v->data.ptr = &latchEvent;
        return 0;
    case 0xE:
        eventRecord = TwEventRecord{};
        for (int i = 0; i < 8; ++i) eventRecord.W[i] = static_cast<uint32_t>(0x100 * (i + 1) + item);
        eventRecord.H = 0x4242;
        eventRecord.X = 1;
        eventRecord.C[0] = 'a';
        v->type = 112;
        v->data.ptr = &eventRecord;
        return 0;
    case 0xA: {
        auto* d = static_cast<TWEventData*>(v->data.ptr);
        d->length = 3;
        d->tag = static_cast<uint16_t>(0x7000 + item);
        d->bytes = eventBytes;
        v->type = 114;
        return 0;
    }
    default:
        v->type = 32;
        v->data.f = 1.5f * item;
        return 0;
    }
}

uint8_t writeItem(uint32_t, TwValue* v, uint16_t item) {
    fake.arrayWrites.emplace_back(item, v->data.f);
    return item == fake.arrayWriteFailAt ? 2 : 0;
}

uint8_t identText(char* buf, const char* text) {
    std::strcpy(buf, text);
    return fake.identStatus;
}

const char* symbolNames[] = {"", "ALPHA", "BETA", "GAMMA"};

uint8_t symbolEntry(uint16_t k, TwSymbolRecord* r) {
    if (k < 1 || k > 3) return 1;
    r->name = symbolNames[k];
    r->handle = 0x82000000u + k;
    r->attribute1 = static_cast<uint8_t>(10 + k);
    r->attribute2 = static_cast<uint8_t>(k);  // 1, 2, 3
    r->limitsFlag = k == 2 ? 1 : 0;
    r->lowLimit.type = 32;
    r->lowLimit.data.f = -1.0f;
    r->highLimit.type = 32;
    r->highLimit.data.f = 1.0f;
    r->extraValueFlag = k == 3 ? 1 : 0;
    r->extraValue.type = 4;
    r->extraValue.data.u32 = 77;
    return 0;
}

uint8_t readBytes(uint32_t handle, const uint8_t** data, uint32_t* size) {
    if (handle != H_SID) return 1;
    *data = fake.blob.data();
    *size = static_cast<uint32_t>(fake.blob.size());
    return 0;
}

uint8_t login(const char* u, const char* p, uint8_t* level) {
    fake.lastUser = u;
    fake.lastPassword = p;
    *level = fake.loginLevel;
    return fake.loginStatus;
}

}  // namespace

void installFakeBinding() {
    TwapiDescriptor d = TallwireClassicDescriptor;
    d.Connect = [] { ++fake.connects; };
    d.ResetControl = [] { ++fake.resets; };
    d.ShutdownControl = [] { return fake.shutdownStatus; };
    d.BeginProgramming = [] { ++fake.programmingStarts; };
    d.IsControlRunning = [] { return fake.running; };
    d.SaveValues = [] { return fake.saveStatus; };
    d.GetSystemIdentifier = [](char* b) { return identText(b, "RTOS 1.00-0"); };
    d.GetControlIdentifier = [](char* b) { return identText(b, "CTRL"); };
    d.SetControlIdentifier = [](const char* t) {
        fake.lastSetText = t;
        return fake.setStatus;
    };
    d.GetApplicationIdentifier = [](char* b) { return identText(b, "APP"); };
    d.GetConfigIdentifier = [](char* b) { return identText(b, "CFG"); };
    d.SetConfigIdentifier = d.SetControlIdentifier;
    d.GetProductIdentifier = [](char* b) { return identText(b, "Zarn 200"); };
    d.GetSymbolTableEntry = symbolEntry;
    d.GetSymbolCount = [] { return fake.symbolCount; };
    d.ReadValForHandle = readVal;
    d.WriteValue = writeVal;
    d.GetDataPacketBytes = [](uint32_t) -> uint32_t { return 4; };
    d.ReadBytes = readBytes;
    d.GetArraySize = [](uint32_t) { return fake.arraySize; };
    d.ReadArrayItem = readItem;
    d.WriteArrayItem = writeItem;
    d.ValidateSecurityItem = [](uint8_t level, uint32_t pw) {
        fake.validatedLevel = level;
        fake.validatedPassword = pw;
        return fake.validateStatus;
    };
    d.GetValueHandle = [](const char* name, uint32_t* h, uint8_t* t, uint8_t* f) -> uint8_t {
        if (std::strcmp(name, "__SID") != 0) return 1;
        *h = H_SID;
        *t = 1;
        *f = 2;
        return 0;
    };
    d.ResetAllowed = [] { return fake.resetVeto; };
    d.ShutdownAllowed = [] { return fake.shutdownVeto; };
    d.BeginProgrammingVeto = [] { return fake.programmingVeto; };
    d.GetSessionSecurityLevel = [] { return fake.sessionLevel; };
    d.AccountSecurityLogin = login;
    d.QueryAccountSecurityLevel = login;
    d.EndProgramming = [] { return fake.endProgrammingStatus; };
    d.WriteProgramMemory = [](uint32_t a, uint16_t l) {
        fake.programAddress = a;
        fake.programLength = l;
        return uint8_t{0};
    };
    fakeDescriptor = d;
    TwApiClassicInit(&fakeDescriptor);
}
