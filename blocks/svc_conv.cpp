#include "blocks/svc_conv.h"

#include <cmath>

namespace {

struct KeyMap {
    uint32_t console;
    int32_t service;
};
constexpr KeyMap kKeys[] = {
    {13, 10},  {27, 80},   {146, 81},  {147, 87},  {162, 90},  {163, 88},  {200, 75},  {201, 111},
    {203, 72}, {205, 76},  {208, 74},  {209, 79},  {210, 65},  {211, 83},  {243, 104}, {244, 108},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The whole part of a parsed value, held within +-1e12 (a NaN gives 0) so
// that the millisecond arithmetic below cannot overflow.
int64_t whole(float v) {
    if (std::isnan(v)) return 0;
    constexpr float kLimit = 1e12f;
    return static_cast<int64_t>(std::fmax(-kLimit, std::fmin(kLimit, v)));
}

void skipBlanks(const char*& p) {
    while (*p == ' ' || *p == '\t') ++p;
}

}  // namespace

int32_t ConvertConsoleToServiceMap(uint32_t key) {
    for (const KeyMap& k : kKeys)
        if (k.console == key) return k.service;
    return static_cast<int32_t>(key);
}

float ASC_TO_REAL(const char** text) {
    static constexpr float kFraction[5] = {0.1f, 0.01f, 0.001f, 0.0001f, 0.00001f};
    const char* p = *text;
    while (*p == ' ' || *p == '\t' || *p == '\n') ++p;
    float sign = 1.0f;
    if (*p == '-' || *p == '+') {
        sign = *p == '-' ? -1.0f : 1.0f;
        ++p;
        skipBlanks(p);
    }
    float value = 0.0f;
    for (; isDigit(*p); ++p) value = value * 10.0f + static_cast<float>(*p - '0');
    if (*p == '.') {
        ++p;
        for (int k = 0; isDigit(*p); ++p, ++k)
            if (k < 5) value += static_cast<float>(*p - '0') * kFraction[k];
    }
    if (*p == 'E' || *p == 'e') {
        ++p;
        skipBlanks(p);
        bool negative = false;
        if (*p == '-' || *p == '+') {
            negative = *p == '-';
            ++p;
        }
        skipBlanks(p);
        int exponent = 0;
        for (; isDigit(*p); ++p) exponent = exponent < 1000 ? exponent * 10 + (*p - '0') : exponent;
        for (int i = 0; i < exponent; ++i) value = negative ? value / 10.0f : value * 10.0f;
    }
    *text = p;
    return sign * value;
}

uint32_t ASC_TO_TIMER(const char** text, int32_t tickMs) {
    if (tickMs == 0) return 0;
    float part[3] = {};
    int parts = 0;
    const char* p = *text;
    for (;;) {
        part[parts++] = ASC_TO_REAL(&p);
        const char* q = p;
        skipBlanks(q);
        if (parts == 3 || *q != ':') break;
        p = q + 1;
    }
    *text = p;
    float seconds = part[0];
    int64_t base = 0;
    if (parts == 3) {
        const float h = part[0];
        const int64_t hours = whole(h);
        const float minutes = (h - static_cast<float>(hours)) * 60.0f + part[1];
        const int64_t wholeMinutes = whole(minutes);
        seconds = part[2] + (minutes - static_cast<float>(wholeMinutes)) * 60.0f;
        base = (hours * 60 + wholeMinutes) * 60;
    } else if (parts == 2) {
        const int64_t wholeMinutes = whole(part[0]);
        base = wholeMinutes * 60;
        seconds = part[1] + (part[0] - static_cast<float>(wholeMinutes)) * 60.0f;
    }
    const int64_t wholeSeconds = whole(seconds);
    const int64_t ms = whole((seconds - static_cast<float>(wholeSeconds)) * 1000.0f);
    // Ticks of a second or less: the milliseconds in ticks plus the whole
    // seconds in ticks per second. A longer tick has no whole number of
    // ticks per second, so it divides the whole duration in milliseconds.
    if (tickMs > 1000 || tickMs < -1000) return static_cast<uint32_t>(((wholeSeconds + base) * 1000 + ms) / tickMs);
    return static_cast<uint32_t>(ms / tickMs + (wholeSeconds + base) * (1000 / tickMs));
}

int32_t CONVERTTO1616(float x) {
    const double d = x;
    if (std::isnan(x) || x == 0.0f) return 0;
    if (d > 0.0 && d < 1.5259e-5) return 1;
    if (d > 32767.999984741) return 0x7FFFFFFF;
    if (d < 0.0 && d > -1.5259e-5) return -1;
    if (d < -32767.999984741) return INT32_MIN;
    const float product = x * 65536.0f;
    return static_cast<int32_t>(product >= 0.0f ? product + 0.5f : product - 0.5f);
}

float CONVERTFROM1616(int32_t n) { return static_cast<float>(n) * 1.5258789e-5f; }
