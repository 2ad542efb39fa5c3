// The formatting engine and the text builders of the put routines.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/TIME.h"
#include "platform/vkiodprt.h"
#include "platform/vkiodput.h"

namespace {

template <typename... A>
std::string fmt(const char* f, A... args) {
    char buf[VKIO_PRINT_BUF + 64];
    std::memset(buf, 0x5A, sizeof buf);
    int n = VKIO_sprintf(buf, f, args...);
    EXPECT_LE(n, VKIO_PRINT_MAX);
    EXPECT_EQ(buf[n], '\0');
    // Nothing beyond the terminating NUL is touched.
    for (size_t i = static_cast<size_t>(n) + 1; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 0x5A) << "byte " << i;
    return std::string(buf, static_cast<size_t>(n));
}

}  // namespace

TEST(Format, DirectivesAndEdgeCases) {
    const double nan = std::nan("");
    const std::string x300(300, 'x'), a176(176, 'a'), a180(180, 'a');
    TimerValue t{3723, 45000}, d{1457168707, 999999};  // 2016-03-05 09:05:07
    struct Row {
        std::string got, want;
    } rows[] = {
        // A number too wide for its field drops decimals, then shows '*' and its last digits.
        {fmt("%5.2f|%4.2f|%6.3f|%2.2f", 3.14159, 123.456, 123.456, 123.456), " 3.14| 123|123.45|*3"},
        {fmt("%3d|%2d|%3e|%9e", -12345, 12345, 123456.0, 123456.0), "*45|*5|*+5|1.2345e+5"},
        {fmt("%05d|%-5d|%+d|% d|%08.3f", -42, 42, 5, 5, -3.14159), "-0042|42   |+5| 5|-003.142"},
        // A width or precision above 80 counts as none.
        {fmt("%*d|%-*d|%*d|%100d|%.100f", 4, 1, 3, 2, -4, 1, 5, 1.5), "   1|2  |1   |5|1.50000"},
        {fmt("%f|%f|%.0f|%.1f", 100000.0, -3.5, 2.5, 99999.0), "1.000000e+5|-3.50000|3|99999.0"},
        {fmt("%e|%.2e|%E|%.1e|%e|%e", 1.5, 0.00125, 12345.0, 9.96, 0.0, -1e300),  // clamped to 1.0e38
         "1.500000e+0|1.25e-3|1.234500E+4|1.0e+1|0.000000e+0|-9.999999e+37"},
        {fmt("%B %b %K %k %4.1B|", 0, 1, 1, 0, 0), "FALSE true ON off    F|"},
        {fmt("%#x %#X %x %#o %#x", 255, 255, 0xabcu, 8, 0), "0xff 0XFF abc 010 0"},
        {fmt("%u %d %i %hd", 4294967295u, INT_MIN, INT_MAX, 13), "4294967295 -2147483648 2147483647 13"},
        {fmt("[%3c][%-3c][%03c][%6s][%-6s][%.2s][%2s][%.*s][%s]", 'b', 'c', 'd', "abc", "abc", "abc", "abcdef", 3,
             "abcdef", static_cast<const char*>(nullptr)),
         "[  b][c  ][  d][   abc][abc   ][ab][abcdef][abc][(null)]"},
        {fmt("100%% %q end %"), "100% q end %"},
        {fmt("%f|%6.2f|%-6e|%2f|%+f", nan, nan, nan, nan, nan), "NaN|   NaN|NaN   |*N|NaN"},
        // Output stops at 256 bytes; a directive found with fewer than 80 bytes left ends it.
        {fmt(x300.c_str()), std::string(256, 'x')},
        {fmt("%s%d", x300.c_str(), 7), std::string(256, 'x')},
        {fmt("%-80s|", x300.c_str()), std::string(256, 'x')},
        {fmt((a180 + "%d").c_str(), 5), a180},
        {fmt((a176 + "%d").c_str(), 5), a176 + "5"},
        {fmt((a176 + "%.80f").c_str(), 1.0), a176 + "1." + std::string(78, '0')},
        {fmt((a176 + "%80d|").c_str(), 3), a176 + std::string(79, ' ') + "3"},
        {fmt("%t|%0t|%.1t|%12.2t|%012.0t|", &t, &t, &t, &t, &t),
         "1:2:3.045|01:02:03.045|1:2:3.0|    1:2:3.04|    01:02:03|"},
        {fmt("%.0t|%0.0t|%.9t", &d, &d, &d), "16/3/5 9:5:7|16/03/05 09:05:07|16/3/5 9:5:7.999"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.got, r.want);
}

TEST(PutText, IntegersRealsAndTimers) {
    char buf[128];
    auto integer = [&](int v, int base) { return std::to_string(inttoasc(v, buf, base)) + ":" + buf; };
    auto real = [&](int prec, float v) { return std::to_string(realtoasc(buf, prec, v)) + ":" + buf; };
    auto timer = [&](uint32_t s, uint32_t us, int width) {
        return std::string(buf, static_cast<size_t>(sput_xtimer(buf, s, us, width, 1000)));
    };
    const std::pair<std::string, std::string> rows[] = {
        {integer(-42, 10), "3:-42"},
        {integer(INT_MIN, 10), "11:-2147483648"},
        {integer(INT_MIN, 2), "33:-1" + std::string(31, '0')},
        {integer(INT_MAX, 2), "31:" + std::string(31, '1')},
        {integer(-255, 16), "3:-FF"},
        {integer(0, 8), "1:0"},
        {real(3, 3.14159f), "5:3.142"},
        {real(-1, -2.5f), "5:-2.50"},       // a negative precision counts as 2
        {real(0, 2.5f), "1:3"},         // no decimals
        {real(2, 123456.7f), "8:1.23E+05"},  // digits are truncated, not rounded
        {real(1, std::numeric_limits<float>::infinity()), "7:9.9E+37"},
        {real(2, std::nanf("")), "3:NaN"},
        // Narrower fields give up fraction digits, then the fraction, then leading characters.
        {timer(3723, 45000, 20), "         1:02:03.045"},
        {timer(1457168707, 456000, 19), "2016/3/5 9:05:07.45"},
        {timer(1457168707, 456000, 18), "2016/3/5 9:05:07.4"},
        {timer(1457168707, 456000, 12), "*3/5 9:05:07"},
    };
    for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
}

TEST(PutText, TimerTicksAsHoursMinutesSeconds) {
    char buf[64];
    const struct {
        uint32_t ticks, perSecond;
        int precision;
        const char* text;
    } cases[] = {
        {3723 * 200 + 100, 200, 2, "1:02:03.50"},
        {3723 * 200 + 1, 200, 3, "1:02:03.005"},
        {3723 * 200 + 199, 200, 1, "1:02:03.9"},
        {59, 1, 0, "0:00:59"},
        {360000 * 10 + 7, 10, 5, "100:00:00.700"},  // at most three decimals
        {7, 0, 2, "0:00:07.00"},                     // no ticks per second: one
    };
    for (const auto& c : cases) {
        const int n = _timertoascii_old(buf, c.ticks, c.perSecond, c.precision);
        EXPECT_STREQ(buf, c.text) << c.ticks;
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.text))) << c.ticks;
    }
}
