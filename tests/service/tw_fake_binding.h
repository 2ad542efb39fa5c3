// A scripted application binding for the server tests: every callback slot
// answers from fixed values or the fields of `fake`, so that each request's
// reply layout can be checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/Tallwire.h"
#include "service/TallwireSupport.h"

struct FakeBindingState {
    int connects = 0;
    std::string lastSetText;
    std::vector<std::pair<uint32_t, TwValue>> writes;
    std::vector<std::pair<uint16_t, float>> arrayWrites;
    std::vector<uint8_t> blob{10, 11, 12, 13, 14};
};

extern FakeBindingState fake;

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

extern const char kFakeString[];

void installFakeBinding();
