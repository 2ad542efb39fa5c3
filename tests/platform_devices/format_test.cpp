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

using Timer = TimerValue;

}  // namespace

TEST(Format, FieldFittingOfNumbers) {
    EXPECT_EQ(fmt("%5.2f", 3.14159), " 3.14");
    EXPECT_EQ(fmt("%4.2f", 123.456), " 123");  // point and decimals dropped, one space kept
    EXPECT_EQ(fmt("%3.2f", 123.456), "123");
    EXPECT_EQ(fmt("%2.2f", 123.456), "*3");
    EXPECT_EQ(fmt("%7.3f", 123.456), "123.456");
    EXPECT_EQ(fmt("%6.3f", 123.456), "123.45");  // one decimal dropped
    EXPECT_EQ(fmt("%2d", 12345), "*5");
    EXPECT_EQ(fmt("%3d", -12345), "*45");
    EXPECT_EQ(fmt("%3e", 123456.0), "*+5");
    EXPECT_EQ(fmt("%9e", 123456.0), "1.2345e+5");
    EXPECT_EQ(fmt("%5d", 42), "   42");
    EXPECT_EQ(fmt("%-5d|", 42), "42   |");
    EXPECT_EQ(fmt("%05d", -42), "-0042");
    EXPECT_EQ(fmt("%-05d|", 42), "42   |");
    EXPECT_EQ(fmt("%+d % d %d", 5, 5, 5), "+5  5 5");
    EXPECT_EQ(fmt("%+ d", 5), "+5");
    EXPECT_EQ(fmt("%02d:%03d", 7, 5), "07:005");
    EXPECT_EQ(fmt("%*d|%-*d|", 4, 1, 3, 2), "   1|2  |");
    EXPECT_EQ(fmt("%*d|", -4, 1), "1   |");
    EXPECT_EQ(fmt("%100d", 5), "5");  // a width above 80 counts as none
    EXPECT_EQ(fmt("%08.3f", -3.14159), "-003.142");
}

TEST(Format, Conversions) {
    EXPECT_EQ(fmt("%f", 100000.0), "1.000000e+5");
    EXPECT_EQ(fmt("%f", 1.5), "1.50000");
    EXPECT_EQ(fmt("%f", -3.5), "-3.50000");
    EXPECT_EQ(fmt("%.0f", 2.5), "3");
    EXPECT_EQ(fmt("%.1f", 99999.0), "99999.0");
    EXPECT_EQ(fmt("%e", 1.5), "1.500000e+0");
    EXPECT_EQ(fmt("%.2e", 0.00125), "1.25e-3");
    EXPECT_EQ(fmt("%E", 12345.0), "1.234500E+4");
    EXPECT_EQ(fmt("%.1e", 9.96), "1.0e+1");
    EXPECT_EQ(fmt("%e", 0.0), "0.000000e+0");
    // Clamped to 1.0e38; its scaling by repeated single-precision division
    // lands just below 10^38.
    EXPECT_EQ(fmt("%e", 1e300), "9.999999e+37");
    EXPECT_EQ(fmt("%e", -1e300), "-9.999999e+37");
    EXPECT_EQ(fmt("%.100f", 1.5), "1.50000");  // a precision above 80 counts as none
    EXPECT_EQ(fmt("%B %B %b", 0, 3, 1), "FALSE TRUE true");
    EXPECT_EQ(fmt("%K %k %k", 1, 0, 7), "ON off on");
    EXPECT_EQ(fmt("%4.1B|", 0), "   F|");
    EXPECT_EQ(fmt("%#x %#X %x %#x", 255, 255, 0xabcu, 0), "0xff 0XFF abc 0");
    EXPECT_EQ(fmt("%#o %o %#o", 8, 8, 0), "010 10 0");
    EXPECT_EQ(fmt("%u", 4294967295u), "4294967295");
    EXPECT_EQ(fmt("%d %i", INT_MIN, INT_MAX), "-2147483648 2147483647");
    EXPECT_EQ(fmt("%ld %hd", 12, 13), "12 13");
    EXPECT_EQ(fmt("[%c][%3c][%-3c][%03c]", 'a', 'b', 'c', 'd'), "[a][  b][c  ][  d]");
    EXPECT_EQ(fmt("[%s][%6s][%-6s][%.2s][%06s]", "abc", "abc", "abc", "abc", "ab"),
              "[abc][   abc][abc   ][ab][    ab]");
    EXPECT_EQ(fmt("[%2s]", "abcdef"), "[abcdef]");  // a string is never cut by its width
    EXPECT_EQ(fmt("[%.*s]", 3, "abcdef"), "[abc]");
    EXPECT_EQ(fmt("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(fmt("100%% %q"), "100% q");
    EXPECT_EQ(fmt("end %"), "end %");
    EXPECT_EQ(fmt("%-"), "%");
}

TEST(Format, NaNKeepsTheFieldRules) {
    double nan = std::nan("");
    EXPECT_EQ(fmt("%f", nan), "NaN");
    EXPECT_EQ(fmt("%6.2f|", nan), "   NaN|");
    EXPECT_EQ(fmt("%-6e|", nan), "NaN   |");
    EXPECT_EQ(fmt("%2f", nan), "*N");
    EXPECT_EQ(fmt("%+f", nan), "NaN");
    char buf[64];
    EXPECT_EQ(realtoasc(buf, 2, std::nanf("")), 3);
    EXPECT_STREQ(buf, "NaN");
}

TEST(Format, OutputLimits) {
    std::string longText(300, 'x');
    // Literal text is cut at 256 bytes.
    EXPECT_EQ(fmt(longText.c_str()), std::string(256, 'x'));
    // A long %s stops at 256 bytes; a directive found with fewer than 80
    // bytes left ends the output before it.
    EXPECT_EQ(fmt("%s%d", longText.c_str(), 7), std::string(256, 'x'));
    EXPECT_EQ(fmt("%10s", longText.c_str()), std::string(256, 'x'));
    EXPECT_EQ(fmt("%-80s|", longText.c_str()), std::string(256, 'x'));
    std::string lit180(180, 'a');
    EXPECT_EQ(fmt((lit180 + "%d").c_str(), 5), lit180);
    std::string lit176(176, 'a');
    EXPECT_EQ(fmt((lit176 + "%d").c_str(), 5), lit176 + "5");
    // A directive that starts with 80 bytes left still stops at 256.
    EXPECT_EQ(fmt((lit176 + "%.80f").c_str(), 1.0), lit176 + "1." + std::string(78, '0'));
    EXPECT_EQ(fmt((lit176 + "%80d|").c_str(), 3), lit176 + std::string(79, ' ') + "3");
}

TEST(Format, TimeValues) {
    Timer t{3723, 45000};
    EXPECT_EQ(fmt("%t", &t), "1:2:3.045");
    EXPECT_EQ(fmt("%0t", &t), "01:02:03.045");
    EXPECT_EQ(fmt("%.1t", &t), "1:2:3.0");
    EXPECT_EQ(fmt("%12.2t|", &t), "    1:2:3.04|");
    EXPECT_EQ(fmt("%012.0t|", &t), "    01:02:03|");  // the field is padded with spaces
    Timer d{1457168707, 999999};  // 2016-03-05 09:05:07
    EXPECT_EQ(fmt("%.0t", &d), "16/3/5 9:5:7");
    EXPECT_EQ(fmt("%0.0t", &d), "16/03/05 09:05:07");
    EXPECT_EQ(fmt("%.9t", &d), "16/3/5 9:5:7.999");  // three digits exist
    Timer leap{951782400, 0};  // 2000-02-29
    EXPECT_EQ(fmt("%0.0t", &leap), "00/02/29 00:00:00");
    Timer yearEnd{978307199, 0};
    EXPECT_EQ(fmt("%0.0t", &yearEnd), "00/12/31 23:59:59");
    char buf[32];
    EXPECT_EQ(_timertoascii_old(buf, 200 * 3725 + 100, 200, 2), 10);
    EXPECT_STREQ(buf, "1:02:05.50");
}

TEST(Format, DigitAndFloatConverters) {
    char buf[128];
    _Prt10(0, buf);
    EXPECT_STREQ(buf, "0");
    _Prt10(4294967295u, buf);
    EXPECT_STREQ(buf, "4294967295");
    _Prt8(8, buf);
    EXPECT_STREQ(buf, "10");
    _Prt16(0xBEEFu, buf, 0);
    EXPECT_STREQ(buf, "BEEF");
    _Prt16(0xBEEFu, buf, 0x20);
    EXPECT_STREQ(buf, "beef");
    EXPECT_EQ(_realtoascsci(buf, 2, 'e', 1.5f), 7);
    EXPECT_STREQ(buf, "1.50e+0");
    EXPECT_EQ(_realtoascfix(buf, 3, 0.0005f), 5);
    EXPECT_STREQ(buf, "0.001");
    EXPECT_EQ(_realtoascfix(buf, 80, 1.0f), 82);  // long precision stays bounded and defined
    EXPECT_EQ(std::string(buf).find_first_not_of("0123456789."), std::string::npos);
}

TEST(PutText, IntegersInEveryBase) {
    char buf[40];
    EXPECT_EQ(inttoasc(-42, buf, 10), 3);
    EXPECT_STREQ(buf, "-42");
    EXPECT_EQ(inttoasc(INT_MIN, buf, 10), 11);
    EXPECT_STREQ(buf, "-2147483648");
    EXPECT_EQ(inttoasc(INT_MIN, buf, 2), 33);
    EXPECT_STREQ(buf, ("-1" + std::string(31, '0')).c_str());
    EXPECT_EQ(inttoasc(-1, buf, 2), 2);
    EXPECT_EQ(inttoasc(INT_MAX, buf, 2), 31);
    EXPECT_EQ(inttoasc(-255, buf, 16), 3);
    EXPECT_STREQ(buf, "-FF");
    EXPECT_EQ(inttoasc(0, buf, 8), 1);
    EXPECT_STREQ(buf, "0");
}

TEST(PutText, FieldHelpers) {
    char out[64];
    EXPECT_EQ(sput_lstrn(out, "-42", 3, 5, ' '), 5);
    EXPECT_EQ(std::string(out, 5), "  -42");
    EXPECT_EQ(sput_lstrn(out, "-42", 3, 2, ' '), 2);
    EXPECT_EQ(std::string(out, 2), "*2");
    EXPECT_EQ(sput_lstrn(out, "-42", 3, 0, ' '), 3);
    EXPECT_EQ(std::string(out, 3), "-42");
    EXPECT_EQ(sput_lstrn(out, "7", 1, 3, '0'), 3);
    EXPECT_EQ(std::string(out, 3), "007");
    EXPECT_EQ(sput_rstrn(out, "abcdef", 6, 3, ' '), 3);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(sput_rstrn(out, "ab", 2, 4, '.'), 4);
    EXPECT_STREQ(out, "..ab");
    EXPECT_EQ(sput_rstrn(out, "ab", 2, 0, '.'), 2);
    EXPECT_STREQ(out, "ab");
}

TEST(PutText, RealsAndTimers) {
    char buf[128];
    EXPECT_EQ(realtoasc(buf, 3, 3.14159f), 5);
    EXPECT_STREQ(buf, "3.142");
    EXPECT_EQ(realtoasc(buf, -1, -2.5f), 5);  // a negative precision counts as 2
    EXPECT_STREQ(buf, "-2.50");
    EXPECT_EQ(realtoasc(buf, 2, 123456.7f), 8);  // digits are truncated, not rounded
    EXPECT_STREQ(buf, "1.23E+05");
    realtoasc(buf, 0, 2.0e20f);
    EXPECT_STREQ(buf, "2.E+20");
    realtoasc(buf, 1, std::numeric_limits<float>::infinity());  // clamped, never loops
    EXPECT_STREQ(buf, "9.9E+37");

    int n = sput_xtimer(buf, 3723, 45000, 20, 1000);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "         1:02:03.045");
    n = sput_xtimer(buf, 1457168707, 45000, 22, 1000);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "  2016/3/5 9:05:07.045");
    // Narrower fields give up fraction digits, then the fraction.
    n = sput_xtimer(buf, 1457168707, 456000, 19, 1000);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "2016/3/5 9:05:07.45");
    n = sput_xtimer(buf, 1457168707, 456000, 18, 1000);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "2016/3/5 9:05:07.4");
    n = sput_xtimer(buf, 1457168707, 456000, 12, 1000);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "*3/5 9:05:07");
}
