// Key-code translation, decimal and duration parsing, and 16.16 words.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "blocks/svc_conv.h"

namespace {

TEST(ServiceConversions, KeyCodes) {
    const uint32_t in[] = {13, 27, 146, 147, 162, 163, 200, 201, 203, 205, 208, 209, 210, 211, 243, 244, 65, 0, 12, 245};
    const int32_t out[] = {10, 80, 81, 87, 90, 88, 75, 111, 72, 76, 74, 79, 65, 83, 104, 108, 65, 0, 12, 245};
    for (size_t k = 0; k < sizeof in / sizeof in[0]; ++k) EXPECT_EQ(ConvertConsoleToServiceMap(in[k]), out[k]) << in[k];
}

TEST(ServiceConversions, DecimalText) {
    struct Row { const char* text; float value; size_t consumed; };
    const Row rows[] = {
        {"  -12.5e1", -125.0f, 9},
        {"3.1415926", 3.0f + 0.1f + 4 * 0.01f + 1 * 0.001f + 5 * 0.0001f + 9 * 0.00001f, 9},
        {"\t\n+ 7x", 7.0f, 5},
        {"2E-2;", 0.02f, 4},
        {"1e +  3", 1000.0f, 7},
        {"5e", 5.0f, 2},
        {"- .5", -0.5f, 4},
        {"abc", 0.0f, 0},
        {"12:30", 12.0f, 2},
    };
    for (const Row& r : rows) {
        const char* p = r.text;
        EXPECT_FLOAT_EQ(ASC_TO_REAL(&p), r.value) << r.text;
        EXPECT_EQ(size_t(p - r.text), r.consumed) << r.text;
    }
}

TEST(ServiceConversions, Durations) {
    struct Row { const char* text; int32_t tick; uint32_t ticks; size_t consumed; };
    const Row rows[] = {
        {"1:30", 10, 9000, 4},
        {"0:0:1.5", 1, 1500, 7},
        {"1.5:0", 1000, 90, 5},
        {"1 :30", 10, 9000, 5},
        {"0.5:0:0", 1000, 1800, 7},
        {"2.25", 5, 450, 4},
        {"2.25", -1, uint32_t(-2250), 4},
        {"1:2:3:4", 1000, 3723, 5},
        // A tick that does not divide a second: milliseconds and whole
        // seconds are counted apart.
        {"10", 30, 330, 2},
        {"10.05", 30, 331, 5},
        {"1.5", 7, 213, 3},
        {"1.5", 1000, 1, 3},
        // A tick above a second keeps the whole seconds.
        {"3", 2000, 1, 1},
        {"90", 1500, 60, 2},
        {"3", -2000, uint32_t(-1), 1},
        // A tick of 0 is refused and reads nothing.
        {"5", 0, 0, 0},
    };
    for (const Row& r : rows) {
        const char* p = r.text;
        EXPECT_EQ(ASC_TO_TIMER(&p, r.tick), r.ticks) << r.text << " / " << r.tick;
        EXPECT_EQ(size_t(p - r.text), r.consumed) << r.text;
    }
}

TEST(ServiceConversions, FixedPointWords) {
    struct Row { float x; int32_t word; };
    const Row rows[] = {
        {1e-6f, 1},         {-1e-6f, -1},         {40000.0f, 0x7FFFFFFF}, {-40000.0f, INT32_MIN},
        {-0.5f, -32768},    {0.0f, 0},            {1.0f, 65536},          {1.5f / 65536, 2},
        {-2.5f / 65536, -3}, {32767.0f, 32767 * 65536}, {std::nanf(""), 0},
        // Less than a third of a step, which rounding would make 0: still one step.
        {5e-6f, 1},         {-5e-6f, -1},
    };
    for (const Row& r : rows) EXPECT_EQ(CONVERTTO1616(r.x), r.word) << r.x;
    EXPECT_EQ(CONVERTFROM1616(65536), 1.0f);
    EXPECT_EQ(CONVERTFROM1616(-32768), -0.5f);
    EXPECT_EQ(CONVERTFROM1616(1), 1.5258789e-5f);
}

}  // namespace
