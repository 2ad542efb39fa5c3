// A scripted application binding for the server tests: every callback slot
// is present and answers from the public fields of `fake`, so each request's
// reply layout can be checked; tests clear single slots to see the
// "not provided" answers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "service/Tallwire.h"
#include "service/TallwireSupport.h"

struct FakeBindingState {
    int connects = 0;
    int resets = 0;
    int programmingStarts = 0;
    uint8_t shutdownStatus = 0;
    uint8_t resetVeto = 0;
    uint8_t shutdownVeto = 0;
    uint8_t programmingVeto = 0;
    int running = 1;
    uint8_t saveStatus = 0;
    uint8_t identStatus = 0;
    std::string lastSetText;
    uint8_t setStatus = 0;
    uint8_t endProgrammingStatus = 0;
    uint32_t programAddress = 0;
    uint16_t programLength = 0;
    uint8_t sessionLevel = 3;
    uint8_t loginLevel = 7;
    uint8_t loginStatus = 0;
    std::string lastUser, lastPassword;
    uint8_t validateStatus = 0;
    uint8_t validatedLevel = 0;
    uint32_t validatedPassword = 0;
    // Values by handle: the low byte of a handle picks the answer.
    std::vector<std::pair<uint32_t, TwValue>> writes;
    uint8_t writeStatus = 0;
    // Arrays: item i of any handle is float i * 1.5, up to arraySize items.
    uint16_t arraySize = 5;
    std::vector<std::pair<uint16_t, float>> arrayWrites;
    uint8_t arrayWriteFailAt = 0xFF;
    // Bytes by handle.
    std::vector<uint8_t> blob;
    // Symbol table.
    uint16_t symbolCount = 3;
};

extern FakeBindingState fake;
extern TwapiDescriptor fakeDescriptor;

// Value kinds a read handle's low byte selects.
constexpr uint32_t H_BOOL = 0x81000001;     // bool true
constexpr uint32_t H_INT = 0x84000002;      // 0x01020304
constexpr uint32_t H_FLOAT = 0x82000003;    // 1.5f
constexpr uint32_t H_TIME = 0x89000004;     // 0x11223344, 0x55667788
constexpr uint32_t H_STRING = 0x90000005;   // 39 characters, 40 bytes on the wire
constexpr uint32_t H_HASH = 0x94000006;     // 96354
constexpr uint32_t H_FAIL = 0x84000007;     // status 254
constexpr uint32_t H_EVENT_LIST = 0xC0C08001;  // area 0xC, type 113 items
constexpr uint32_t H_EVENTS = 0xC0E00001;      // area 0xE, type 112 items
constexpr uint32_t H_EVENT_DATA = 0xC0A00001;  // area 0xA, type 114 items
constexpr uint32_t H_SID = 0xD0100001;

extern const char kFakeString[];

// Installs the fake callbacks with the real transport slots.
void installFakeBinding();
