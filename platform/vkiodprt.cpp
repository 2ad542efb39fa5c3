// The formatting engine `_xdoprnt` and its converters.
#include "platform/vkiodprt.h"

#include <cmath>
#include <cstring>

#include "platform/TIME.h"
#include "platform/vkiodev.h"

namespace {

const char kDigits[] = "0123456789ABCDEF";

// A directive's text never exceeds this: 5 integer digits, the point and at
// most 80 decimals, or a scientific text with 80 digits and its exponent.
constexpr int kDirBuf = 128;
constexpr int kMaxWidth = 80;
constexpr int kMaxPrec = 80;

// Digits of value in base, most significant first, NUL-terminated.
void prtBase(uint32_t value, char* buf, unsigned base, int caseMask) {
    char tmp[33];
    int n = 0;
    do {
        char c = kDigits[value % base];
        if (c >= 'A') c = static_cast<char>(c | caseMask);
        tmp[n++] = c;
        value /= base;
    } while (value != 0);
    while (n > 0) *buf++ = tmp[--n];
    *buf = '\0';
}

// The digit a position holds: the integer part of value / pos, kept within
// 0..9 (single-precision rounding and underflow of pos cannot produce other
// characters or an undefined conversion).
int digitAt(float value, float pos) {
    float q = value / pos;
    if (!(q >= 0.0f)) return 0;  // negative remainder or NaN
    if (q >= 9.0f) return 9;
    return static_cast<int>(q);
}

// The output area of one _xdoprnt call: never more than 256 bytes.
struct Out {
    char* buf;
    int count = 0;
    void put(char c) {
        if (count < VKIO_PRINT_MAX) buf[count++] = c;
    }
    void put(const char* s, int n) {
        for (int i = 0; i < n; ++i) put(s[i]);
    }
    void fill(char c, int n) {
        for (int i = 0; i < n; ++i) put(c);
    }
};

struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = -1;      // -1 none
    int precision = -1;  // -1 none
    char conv = 0;
};

// Writes text (with its prefix) into the field of the directive.
void fitField(Out& out, const Directive& d, char pad, const char* prefix, int plen, const char* text, int len) {
    int w = d.width;
    if (w <= 0) {
        out.put(prefix, plen);
        out.put(text, len);
        return;
    }
    int padCount = w - len - plen;
    if (padCount >= 0) {
        if (d.left) {
            out.put(prefix, plen);
            out.put(text, len);
            out.fill(' ', padCount);  // zeros after a number would change its value
        } else if (pad == '0') {
            out.put(prefix, plen);
            out.fill('0', padCount);
            out.put(text, len);
        } else {
            out.fill(' ', padCount);
            out.put(prefix, plen);
            out.put(text, len);
        }
        return;
    }
    if (d.conv == 's') {
        out.put(text, len);
        return;
    }
    int overflow = -padCount;
    const char* point = static_cast<const char*>(std::memchr(text, '.', static_cast<size_t>(len)));
    // The whole field text, prefix and text, from which characters are cut.
    char whole[kDirBuf + 4];
    int wlen = 0;
    auto append = [&](const char* s, int n) {
        for (int i = 0; i < n && wlen < static_cast<int>(sizeof whole); ++i) whole[wlen++] = s[i];
    };
    if (point != nullptr) {
        int pointAt = static_cast<int>(point - text);
        int fracEnd = pointAt;
        while (fracEnd < len && text[fracEnd] != 'e' && text[fracEnd] != 'E') ++fracEnd;
        int decimals = fracEnd - pointAt;  // the point and its decimals
        if (overflow <= decimals) {
            int keep = fracEnd - overflow;  // drop overflow characters before the exponent
            bool endsInPoint = keep == pointAt + 1;
            if (endsInPoint) {
                keep = pointAt;
                out.put(' ');
            }
            out.put(prefix, plen);
            out.put(text, keep);
            out.put(text + fracEnd, len - fracEnd);
            return;
        }
        append(prefix, plen);
        append(text, pointAt);
        append(text + fracEnd, len - fracEnd);
    } else {
        append(prefix, plen);
        append(text, len);
    }
    out.put('*');
    int tail = w - 1;
    if (tail > wlen) tail = wlen;
    out.put(whole + wlen - tail, tail);
}

// Sign prefix of a number.
int signPrefix(char* prefix, bool negative, const Directive& d) {
    if (negative) prefix[0] = '-';
    else if (d.plus) prefix[0] = '+';
    else if (d.space) prefix[0] = ' ';
    else return 0;
    return 1;
}

// Converts a float for 'f', 'e' or 'E' into text and prefix.
int convertReal(char* text, char* prefix, int& plen, const Directive& d, double arg) {
    float v = static_cast<float>(arg);
    if (std::isnan(v)) {
        plen = 0;
        std::memcpy(text, "NaN", 4);
        return 3;
    }
    bool negative = std::signbit(v) && v != 0.0f;
    float mag = std::fabs(v);
    char conv = d.conv;
    int prec = d.precision;
    if (conv == 'f' && mag > 99999.0f) conv = 'e';
    plen = signPrefix(prefix, negative, d);
    if (conv == 'f') return _realtoascfix(text, prec < 0 ? 5 : prec, mag);
    if (mag > 1.0e38f) mag = 1.0e38f;
    return _realtoascsci(text, prec < 0 ? 6 : prec, conv, mag);
}

int parseNumber(const char*& fmt) {
    int n = 0;
    while (*fmt >= '0' && *fmt <= '9') {
        if (n < 100000) n = n * 10 + (*fmt - '0');
        ++fmt;
    }
    return n;
}

}  // namespace

void _Prt10(uint32_t value, char* buf) { prtBase(value, buf, 10, 0); }
void _Prt8(uint32_t value, char* buf) { prtBase(value, buf, 8, 0); }
void _Prt16(uint32_t value, char* buf, int caseMask) { prtBase(value, buf, 16, caseMask); }

int _realtoascfix(char* buf, int precision, float value) {
    if (precision < 0) precision = 0;
    if (precision > kMaxPrec) precision = kMaxPrec;
    float half = 0.5f;
    for (int i = 0; i < precision; ++i) half /= 10.0f;
    float v = value + half;
    int n = 0;
    float pos = 10000.0f;
    bool started = false;
    for (int i = 0; i < 5; ++i) {
        int dgt = digitAt(v, pos);
        v -= static_cast<float>(dgt) * pos;
        if (dgt != 0 || started || i == 4) {
            buf[n++] = static_cast<char>('0' + dgt);
            started = true;
        }
        pos /= 10.0f;
    }
    if (precision > 0) {
        buf[n++] = '.';
        for (int i = 0; i < precision; ++i) {
            int dgt = pos > 0.0f ? digitAt(v, pos) : 0;
            v -= static_cast<float>(dgt) * pos;
            buf[n++] = static_cast<char>('0' + dgt);
            pos /= 10.0f;
        }
    }
    buf[n] = '\0';
    return n;
}

int _realtoascsci(char* buf, int precision, char expLetter, float value) {
    if (precision < 0) precision = 0;
    if (precision > kMaxPrec) precision = kMaxPrec;
    float v = value;
    int exp = 0;
    if (v != 0.0f && std::isfinite(v)) {
        while (v >= 10.0f) {
            v /= 10.0f;
            ++exp;
        }
        while (v < 1.0f) {
            v *= 10.0f;
            --exp;
        }
    }
    float half = 0.5f;
    for (int i = 0; i < precision; ++i) half /= 10.0f;
    v += half;
    if (v >= 10.0f) {
        v /= 10.0f;
        ++exp;
    }
    int n = 0;
    int dgt = digitAt(v, 1.0f);
    buf[n++] = static_cast<char>('0' + dgt);
    v -= static_cast<float>(dgt);
    if (precision > 0) {
        buf[n++] = '.';
        for (int i = 0; i < precision; ++i) {
            v *= 10.0f;
            dgt = digitAt(v, 1.0f);
            v -= static_cast<float>(dgt);
            buf[n++] = static_cast<char>('0' + dgt);
        }
    }
    buf[n++] = expLetter;
    buf[n++] = exp < 0 ? '-' : '+';
    prtBase(static_cast<uint32_t>(exp < 0 ? -exp : exp), buf + n, 10, 0);
    return n + static_cast<int>(std::strlen(buf + n));
}

namespace {
// Appends value as decimal, zero-padded to two digits when twoDigits.
int putField(char* buf, int value, bool twoDigits) {
    int n = 0;
    if (twoDigits && value < 10) buf[n++] = '0';
    prtBase(static_cast<uint32_t>(value), buf + n, 10, 0);
    return n + static_cast<int>(std::strlen(buf + n));
}
}  // namespace

int _timertoascii(char* buf, uint32_t seconds, uint32_t micro, int precision, char pad) {
    CalendarTime c{};
    tohms(seconds, &c);
    bool two = pad == '0';
    int n = 0;
    if (c.year != 1970) {
        n += putField(buf + n, c.year % 100, true);
        buf[n++] = '/';
        n += putField(buf + n, c.month, two);
        buf[n++] = '/';
        n += putField(buf + n, c.day, two);
        buf[n++] = ' ';
    }
    n += putField(buf + n, c.hour, two);
    buf[n++] = ':';
    n += putField(buf + n, c.minute, two);
    buf[n++] = ':';
    n += putField(buf + n, c.second, two);
    if (precision > 3) precision = 3;  // only three millisecond digits exist
    if (precision > 0) {
        uint32_t ms = micro / 1000;
        if (ms > 999) ms = 999;
        char digits[4] = {static_cast<char>('0' + ms / 100), static_cast<char>('0' + ms / 10 % 10),
                          static_cast<char>('0' + ms % 10), 0};
        buf[n++] = '.';
        for (int i = 0; i < precision; ++i) buf[n++] = digits[i];
    }
    buf[n] = '\0';
    return n;
}

int _timertoascii_old(char* buf, uint32_t ticks, uint32_t ticksPerSecond, int precision) {
    if (ticksPerSecond == 0) ticksPerSecond = 1;
    uint32_t secs = ticks / ticksPerSecond;
    int n = 0;
    n += putField(buf + n, static_cast<int>(secs / 3600), false);
    buf[n++] = ':';
    n += putField(buf + n, static_cast<int>(secs / 60 % 60), true);
    buf[n++] = ':';
    n += putField(buf + n, static_cast<int>(secs % 60), true);
    if (precision > 3) precision = 3;
    if (precision > 0) {
        uint32_t scale = 1;
        for (int i = 0; i < precision; ++i) scale *= 10;
        uint64_t frac = static_cast<uint64_t>(ticks % ticksPerSecond) * scale / ticksPerSecond;
        buf[n++] = '.';
        for (int i = precision - 1; i >= 0; --i) {
            buf[n + i] = static_cast<char>('0' + frac % 10);
            frac /= 10;
        }
        n += precision;
    }
    buf[n] = '\0';
    return n;
}

int _xdoprnt(const char* fmt, va_list ap, char* outBuf) {
    Out out{outBuf};
    // Copy va_list so that helpers may take arguments portably.
    va_list args;
    va_copy(args, ap);
    for (;;) {
        while (*fmt != '\0' && *fmt != '%') {
            if (out.count >= VKIO_PRINT_MAX) {
                va_end(args);
                return out.count;
            }
            out.put(*fmt++);
        }
        if (*fmt == '\0' || VKIO_PRINT_MAX - out.count < 80) break;
        ++fmt;  // the '%'
        if (*fmt == '%') {
            out.put('%');
            ++fmt;
            continue;
        }
        Directive d;
        while (*fmt == '-') {
            d.left = true;
            ++fmt;
        }
        for (;;) {
            if (*fmt == ' ') d.space = true;
            else if (*fmt == '+') d.plus = true;
            else if (*fmt == '#') d.alt = true;
            else break;
            ++fmt;
            while (*fmt == '-') {
                d.left = true;
                ++fmt;
            }
        }
        if (d.plus) d.space = false;
        if (*fmt == '0') {
            d.zero = true;
            ++fmt;
        }
        if (*fmt == '*') {
            int w = va_arg(args, int);
            ++fmt;
            if (w < 0) {
                d.left = true;
                w = w == INT32_MIN ? kMaxWidth + 1 : -w;
            }
            d.width = w;
        } else if (*fmt >= '0' && *fmt <= '9') {
            d.width = parseNumber(fmt);
        }
        if (d.width > kMaxWidth) d.width = -1;
        if (*fmt == '.') {
            ++fmt;
            if (*fmt == '*') {
                d.precision = va_arg(args, int);
                ++fmt;
            } else {
                d.precision = parseNumber(fmt);
            }
            if (d.precision < 0 || d.precision > kMaxPrec) d.precision = -1;
        }
        if (*fmt == 'h' || *fmt == 'l' || *fmt == 'L') ++fmt;
        d.conv = *fmt;
        if (d.conv == '\0') {
            out.put('%');
            break;
        }
        ++fmt;

        char text[kDirBuf];
        char prefix[3] = {0, 0, 0};
        int plen = 0;
        int len = 0;
        const char* str = text;  // the text of the directive (a %s argument is not copied)
        char pad = d.zero ? '0' : ' ';
        switch (d.conv) {
        case 'd':
        case 'i': {
            int v = va_arg(args, int);
            uint32_t mag = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
            plen = signPrefix(prefix, v < 0, d);
            _Prt10(mag, text);
            len = static_cast<int>(std::strlen(text));
            break;
        }
        case 'u':
            _Prt10(va_arg(args, unsigned), text);
            len = static_cast<int>(std::strlen(text));
            break;
        case 'o': {
            unsigned v = va_arg(args, unsigned);
            _Prt8(v, text);
            len = static_cast<int>(std::strlen(text));
            if (d.alt && v != 0) prefix[plen++] = '0';
            break;
        }
        case 'x':
        case 'X': {
            unsigned v = va_arg(args, unsigned);
            _Prt16(v, text, d.conv == 'x' ? 0x20 : 0);
            len = static_cast<int>(std::strlen(text));
            if (d.alt && v != 0) {
                prefix[plen++] = '0';
                prefix[plen++] = d.conv;
            }
            break;
        }
        case 'c':
            text[0] = static_cast<char>(va_arg(args, int));
            len = 1;
            pad = ' ';
            break;
        case 's': {
            const char* s = va_arg(args, const char*);
            if (s == nullptr) s = "(null)";
            // Never scan beyond what can be written: the output holds at most 256 bytes.
            size_t limit = d.precision >= 0 ? static_cast<size_t>(d.precision) : VKIO_PRINT_MAX;
            len = static_cast<int>(strnlen(s, limit));
            str = s;
            pad = ' ';
            break;
        }
        case 'B':
        case 'b':
        case 'K':
        case 'k': {
            static const char* const kNames[4][2] = {
                {"FALSE", "TRUE"}, {"false", "true"}, {"OFF", "ON"}, {"off", "on"}};
            int row = d.conv == 'B' ? 0 : d.conv == 'b' ? 1 : d.conv == 'K' ? 2 : 3;
            str = kNames[row][va_arg(args, int) != 0 ? 1 : 0];
            len = static_cast<int>(std::strlen(str));
            if (d.precision >= 0 && d.precision < len) len = d.precision;
            break;
        }
        case 'f':
        case 'e':
        case 'E':
            len = convertReal(text, prefix, plen, d, va_arg(args, double));
            break;
        case 't': {
            const auto* tv = va_arg(args, const TimerValue*);
            uint32_t secs = tv != nullptr ? tv->seconds : 0;
            uint32_t micro = tv != nullptr ? tv->microsec : 0;
            len = _timertoascii(text, secs, micro, d.precision < 0 ? 3 : d.precision, pad);
            pad = ' ';
            break;
        }
        default:
            out.put(d.conv);
            continue;
        }
        fitField(out, d, pad, prefix, plen, str, len);
    }
    va_end(args);
    return out.count;
}

int VKIO_sprintf(char* buf, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    int n = _xdoprnt(fmt, ap, buf);
    va_end(ap);
    buf[n] = '\0';
    return n;
}

int VKIO_devPrintf(int dev, const char* fmt, ...) {
    char buf[VKIO_PRINT_BUF];
    va_list ap;
    va_start(ap, fmt);
    int n = _xdoprnt(fmt, ap, buf);
    va_end(ap);
    VKIO_devWrite(dev, buf, n);
    return n;
}

