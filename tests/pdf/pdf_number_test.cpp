#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <locale>
#include <string>

#include "pdf/pdf_number.h"

namespace qm {
namespace {

TEST(PdfNumbers, IntegersArePlainDecimal) {
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(840), "840");
    EXPECT_EQ(FormatInt(-249), "-249");
    EXPECT_EQ(FormatInt(INT64_MIN), "-9223372036854775808");
    std::string out = "x";
    AppendInt(out, 1234567);
    EXPECT_EQ(out, "x1234567");  // no thousands separators
}

TEST(PdfNumbers, ZeroPadFillsToTheWidthOnly) {
    EXPECT_EQ(ZeroPad("474", 10), "0000000474");
    EXPECT_EQ(ZeroPad("65535", 5), "65535");
    EXPECT_EQ(ZeroPad("123456", 5), "123456");
    EXPECT_EQ(ZeroPad("", 3), "000");
}

TEST(PdfNumbers, ColorComponentsAreExactQuotientsTo15Digits) {
    EXPECT_EQ(ColorComponent(0), "0");
    EXPECT_EQ(ColorComponent(255), "1");
    EXPECT_EQ(ColorComponent(51), "0.2");
    EXPECT_EQ(ColorComponent(128), "0.501960784313725");
    EXPECT_EQ(ColorComponent(1), "0.00392156862745098");
    // 178/255 = 0.69803921568627450980...: the 16th digit rounds up; the nearest double
    // printed to 15 digits would end in 274.
    EXPECT_EQ(ColorComponent(178), "0.698039215686275");
    EXPECT_EQ(ColorComponent(254), "0.996078431372549");
    EXPECT_EQ(ColorComponent(204), "0.8");
}

TEST(PdfNumbers, EveryColorComponentHasAtMost15SignificantDigits) {
    for (int v = 1; v < 255; ++v) {
        const std::string text(ColorComponent(static_cast<uint8_t>(v)));
        ASSERT_EQ(text.rfind("0.", 0), 0u) << v;
        const std::string digits = text.substr(text.find_first_not_of("0.", 0));
        EXPECT_LE(digits.size(), 15u) << text;
        EXPECT_NE(text.back(), '0') << text;
        // Within half a unit of the 15th significant digit of the true value.
        const long double value = std::stold(text);
        const long double exact = static_cast<long double>(v) / 255.0L;
        const long double unit = std::pow(10.0L, std::floor(std::log10(exact)) - 14);
        EXPECT_LE(value > exact ? value - exact : exact - value, unit / 2 * 1.0001L) << text;
    }
}

// A number format with a decimal comma and thousands grouping.
struct TCommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(PdfNumbers, TheLocaleNeverChangesTheOutput) {
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new TCommaPunct));
    const char* previousC = std::setlocale(LC_ALL, nullptr);
    const std::string savedC = previousC != nullptr ? previousC : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) std::setlocale(LC_ALL, "fr_FR.UTF-8");
    std::string color;
    AppendColor(color, 0x0080B2);  // red 178, green 128, blue 0
    std::string number;
    AppendInt(number, -1234567);
    std::setlocale(LC_ALL, savedC.c_str());
    std::locale::global(saved);
    EXPECT_EQ(color, "0.698039215686275 0.501960784313725 0");
    EXPECT_EQ(number, "-1234567");
}

TEST(PdfNumbers, QuotientsRoundAndCarry) {
    EXPECT_EQ(FormatQuotient(2, 3, 15), "0.666666666666667");
    EXPECT_EQ(FormatQuotient(1, 8, 15), "0.125");
    EXPECT_EQ(FormatQuotient(999, 1000, 2), "1");     // 0.999 -> 1.0 -> "1"
    EXPECT_EQ(FormatQuotient(19999, 2000, 3), "10");  // 9.9995 -> 10.0
    EXPECT_EQ(FormatQuotient(12345, 100, 3), "123");  // the whole part uses the digits
    EXPECT_EQ(FormatQuotient(-1, 3, 4), "-0.3333");
    EXPECT_EQ(FormatQuotient(-1, 3000000, 1), "-0.0000003");  // never in exponent form
    EXPECT_EQ(FormatQuotient(0, 7, 15), "0");
    EXPECT_EQ(FormatQuotient(14, 7, 15), "2");
}

}  // namespace
}  // namespace qm
