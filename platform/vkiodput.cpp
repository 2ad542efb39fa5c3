// Typed put routines: fixed-width fields of strings, characters, integers,
// reals, states and time values written to a device.
#include "platform/vkiodput.h"

#include <cmath>
#include <cstring>

#include "platform/TIME.h"
#include "platform/vkiodev.h"
#include "platform/vkiodprt.h"

namespace {

// Widest field a put routine builds; wider requests are cut to it.
constexpr int kMaxField = 256;

int clampWidth(int width) { return width > kMaxField ? kMaxField : width; }

// Writes the fixed-size state text ("ON"/"OFF" ...) fitted into width.
int32_t putState(int dev, const char* text, int textLen, int width) {
    char buf[kMaxField];
    width = clampWidth(width);
    if (width <= 0) width = textLen;
    int n = 0;
    if (width > textLen) {
        std::memset(buf, ' ', static_cast<size_t>(width - textLen));
        n = width - textLen;
        std::memcpy(buf + n, text, static_cast<size_t>(textLen));
        n += textLen;
    } else {
        std::memcpy(buf, text, static_cast<size_t>(width));
        n = width;
    }
    return VKIO_devWrite(dev, buf, n);
}

}  // namespace

int32_t VKIO_devPuts(int dev, const char* s) {
    return VKIO_devWrite(dev, s, static_cast<int>(std::strlen(s)));
}

int32_t VKIO_devPut_char(int dev, int ch, int width) {
    char buf[kMaxField];
    width = clampWidth(width);
    if (width < 1) width = 1;  // the character is always written
    std::memset(buf, ' ', static_cast<size_t>(width - 1));
    buf[width - 1] = static_cast<char>(ch);
    return VKIO_devWrite(dev, buf, width);
}

int32_t VKIO_devPut_dig(int dev, int state, int width) {
    return putState(dev, state != 0 ? " ON" : "OFF", 3, width);
}

int32_t VKIO_devPut_bool(int dev, int state, int width) {
    return putState(dev, state != 0 ? " TRUE" : "FALSE", 5, width);
}

int32_t VKIO_devPut_strn(int dev, const char* s, int width) {
    if (width <= 0) return VKIO_devPuts(dev, s);
    char buf[kMaxField + 1];  // the field and the NUL the fill routine ends it with
    width = clampWidth(width);
    int len = static_cast<int>(strnlen(s, static_cast<size_t>(width)));
    return VKIO_devWrite(dev, buf, sput_rstrn(buf, s, len, width, ' '));
}

int inttoasc(int32_t value, char* buf, int base) {
    if (base < 2 || base > 16) base = 10;
    // '-' and 32 binary digits of |INT_MIN| at most.
    char digits[34];
    uint32_t mag = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[mag % static_cast<uint32_t>(base)];
        mag /= static_cast<uint32_t>(base);
    } while (mag != 0);
    int len = 0;
    if (value < 0) buf[len++] = '-';
    while (n > 0) buf[len++] = digits[--n];
    buf[len] = '\0';
    return len;
}

int sput_lstrn(char* out, const char* text, int length, int width, char pad) {
    if (width < 1 || width == length) {
        std::memmove(out, text, static_cast<size_t>(length));
        return length;
    }
    if (width > length) {
        std::memmove(out + (width - length), text, static_cast<size_t>(length));
        std::memset(out, pad, static_cast<size_t>(width - length));
        return width;
    }
    out[0] = '*';
    std::memmove(out + 1, text + (length - (width - 1)), static_cast<size_t>(width - 1));
    return width;
}

int sput_rstrn(char* out, const char* text, int length, int width, char pad) {
    int n;
    if (width > length) {
        std::memmove(out + (width - length), text, static_cast<size_t>(length));
        std::memset(out, pad, static_cast<size_t>(width - length));
        n = width;
    } else {
        n = width < 1 ? length : width;
        std::memmove(out, text, static_cast<size_t>(n));
    }
    out[n] = '\0';
    return n;
}

int realtoasc(char* buf, int precision, float value) {
    if (precision < 0) precision = 2;
    if (precision > 80) precision = 80;
    if (std::isnan(value)) {
        std::memcpy(buf, "NaN", 4);
        return 3;
    }
    int n = 0;
    if (value < 0.0f) {
        buf[n++] = '-';
        value = -value;
    }
    if (value > 1.0e38f) value = 1.0e38f;
    if (value <= 100000.0f) return n + _realtoascfix(buf + n, precision, value);
    int exp = 0;
    while (value >= 10.0f) {
        value /= 10.0f;
        ++exp;
    }
    int dgt = static_cast<int>(value);
    if (dgt > 9) dgt = 9;
    buf[n++] = static_cast<char>('0' + dgt);
    buf[n++] = '.';
    float rest = value - static_cast<float>(dgt);
    for (int i = 0; i < precision; ++i) {
        rest *= 10.0f;
        dgt = static_cast<int>(rest);
        if (dgt > 9) dgt = 9;
        if (dgt < 0) dgt = 0;
        rest -= static_cast<float>(dgt);
        buf[n++] = static_cast<char>('0' + dgt);
    }
    buf[n++] = 'E';
    buf[n++] = '+';
    buf[n++] = static_cast<char>('0' + exp / 10);
    buf[n++] = static_cast<char>('0' + exp % 10);
    buf[n] = '\0';
    return n;
}

int32_t VKIO_devPut_real(int dev, int width, int precision, float value) {
    char text[128];
    int len;
    if (value > 1.0e38f) {
        std::memcpy(text, "1.0E38", 7);
        len = 6;
    } else if (value < -1.0e38f) {
        std::memcpy(text, "-1.0E38", 8);
        len = 7;
    } else {
        len = realtoasc(text, precision, value);
    }
    width = clampWidth(width);
    if (width >= 1 && len > width) {
        char* point = static_cast<char*>(std::memchr(text, '.', static_cast<size_t>(len)));
        if (point != nullptr) {
            int pointAt = static_cast<int>(point - text);
            int fracEnd = pointAt;
            while (fracEnd < len && text[fracEnd] != 'E') ++fracEnd;
            int decimals = fracEnd - pointAt;
            int excess = len - width;
            int cut = excess < decimals ? excess : decimals;
            if (excess < decimals && fracEnd - cut == pointAt + 1) cut += 1;  // no trailing point
            std::memmove(text + fracEnd - cut, text + fracEnd, static_cast<size_t>(len - fracEnd));
            len -= cut;
        }
    }
    char buf[kMaxField + 128];
    return VKIO_devWrite(dev, buf, sput_lstrn(buf, text, len, width, ' '));
}

int VKIO_devPut_int(int dev, int32_t value, int width) {
    char text[40];
    int len = inttoasc(value, text, 10);
    char buf[kMaxField + 40];
    return VKIO_devWrite(dev, buf, sput_lstrn(buf, text, len, clampWidth(width), ' '));
}

int sput_xtimer(char* out, uint32_t seconds, uint32_t micro, int width, uint32_t /*ticksPerSecond*/) {
    // The fraction comes from the microseconds word; the tick rate only
    // names the time base of the callers.
    CalendarTime c{};
    tohms(seconds, &c);
    char head[48];
    int hlen;
    if (c.year == 1970) {
        std::memset(head, ' ', 9);
        _Prt10(static_cast<uint32_t>(c.hour), head + 9);
        hlen = 9 + static_cast<int>(std::strlen(head + 9));
    } else {
        hlen = 0;
        const int parts[4] = {c.year, c.month, c.day, c.hour};
        const char seps[4] = {'/', '/', ' ', 0};
        for (int i = 0; i < 4; ++i) {
            _Prt10(static_cast<uint32_t>(parts[i]), head + hlen);
            hlen += static_cast<int>(std::strlen(head + hlen));
            if (seps[i] != 0) head[hlen++] = seps[i];
        }
    }
    int fracDigits;
    int field;
    if (hlen <= width - 10) {
        fracDigits = 3;
        field = width - 10;
    } else {
        int f = width - 6 - hlen;
        if (f == 3 || f == 2) {
            fracDigits = f - 1;
            field = hlen;
        } else {
            fracDigits = 0;
            field = width - 6;
        }
    }
    if (field < 1) field = 1;
    int n = sput_lstrn(out, head, hlen, field, ' ');
    int mins = c.minute;
    int secs = c.second;
    out[n++] = ':';
    out[n++] = static_cast<char>('0' + mins / 10);
    out[n++] = static_cast<char>('0' + mins % 10);
    out[n++] = ':';
    out[n++] = static_cast<char>('0' + secs / 10);
    out[n++] = static_cast<char>('0' + secs % 10);
    if (fracDigits > 0) {
        uint32_t ms = micro / 1000;
        if (ms > 999) ms = 999;
        char digits[3] = {static_cast<char>('0' + ms / 100), static_cast<char>('0' + ms / 10 % 10),
                          static_cast<char>('0' + ms % 10)};
        out[n++] = '.';
        for (int i = 0; i < fracDigits; ++i) out[n++] = digits[i];
    }
    return n;
}

int32_t VKIO_devPut_wtimer(int dev, uint32_t seconds, uint32_t micro, int width) {
    char buf[kMaxField + 64];
    return VKIO_devWrite(dev, buf, sput_xtimer(buf, seconds, micro, clampWidth(width), 1000));
}

int32_t VKIO_devPut_dtimer(int /*dev*/, long /*unused*/, int /*length*/) {
    // No date-time format is defined for this routine: nothing is written.
    return VKIO_ERROR;
}
