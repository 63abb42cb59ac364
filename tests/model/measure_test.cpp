#include <gtest/gtest.h>

#include <vector>

#include "model/document.h"

namespace qm {
namespace {

TEST(ReducedSize, RoundsTiesToEven) {
    TFontRec font;
    font.Size = 10.0;
    font.Attrib = kAttribSuperscript;
    EXPECT_EQ(TDocument::ReducedSize(font), 6.0);
    font.Attrib = kAttribSmallCaps | kAttribSuperscript;  // 4.5
    EXPECT_EQ(TDocument::ReducedSize(font), 4.0);
    font.Size = 11.0;  // 4.95
    EXPECT_EQ(TDocument::ReducedSize(font), 5.0);
    font.Size = 1.0;  // 0.45 rounds to 0, which becomes 1
    EXPECT_EQ(TDocument::ReducedSize(font), 1.0);
    font.Attrib = kAttribSubscript;
    font.Size = 12.5;  // 7.5 -> 8
    EXPECT_EQ(TDocument::ReducedSize(font), 8.0);
    // Text of its own size keeps its half point.
    font.Attrib = 0;
    EXPECT_EQ(TDocument::ReducedSize(font), 12.5);
}

class Measuring : public ::testing::Test {
  protected:
    TCharRec MakeChar(uint8_t code, const TFontRec& font) {
        TCharRec ch;
        ch.Code = Cp1252ToUnicode(code);
        ch.FontIndex = doc.GetNewFontIndex(font);
        doc.RenderChar(ch);
        return ch;
    }
    TDocument doc;
};

TEST_F(Measuring, SuperscriptTakesItsWidthFromTheReducedFontAndHeightFromTheFull) {
    TFontRec plain = doc.DefaultFontRec();
    plain.Size = 10.0;
    TFontRec super = plain;
    super.Attrib = kAttribSuperscript;
    TFontRec six = plain;
    six.Size = 6.0;
    const TCharRec a = MakeChar('m', super);
    EXPECT_DOUBLE_EQ(a.Width, MakeChar('m', six).Width);
    EXPECT_DOUBLE_EQ(a.Height, MakeChar('m', plain).Height);
    EXPECT_GT(a.Height, 0.0);
}

TEST_F(Measuring, HalfPointSizesMeasureBetweenTheirNeighbours) {
    TFontRec font = doc.DefaultFontRec();
    std::vector<double> widths;
    for (const double size : {10.0, 10.5, 11.0}) {
        font.Size = size;
        widths.push_back(MakeChar('m', font).Width);
    }
    EXPECT_LT(widths[0], widths[1]);
    EXPECT_LT(widths[1], widths[2]);
}

TEST_F(Measuring, SmallCapitalsWithSuperscriptMeasureTheCapitalAtFourPoints) {
    TFontRec font = doc.DefaultFontRec();
    font.Size = 10.0;
    font.Attrib = kAttribSmallCaps | kAttribSuperscript;
    TFontRec four = doc.DefaultFontRec();
    four.Size = 4.0;
    EXPECT_DOUBLE_EQ(MakeChar('a', font).Width, MakeChar('A', four).Width);
}

TEST_F(Measuring, AllCapitalsMeasureTheUpperCaseOfLettersOnly) {
    TFontRec caps = doc.DefaultFontRec();
    caps.Attrib = kAttribAllCaps;
    const TFontRec plain = doc.DefaultFontRec();
    EXPECT_DOUBLE_EQ(MakeChar('a', caps).Width, MakeChar('A', plain).Width);
    EXPECT_NE(MakeChar('a', plain).Width, MakeChar('A', plain).Width);
    EXPECT_DOUBLE_EQ(MakeChar('1', caps).Width, MakeChar('1', plain).Width);
}

TEST_F(Measuring, RepeatedMeasuresAgree) {
    const TFontRec plain = doc.DefaultFontRec();
    const TCharRec first = MakeChar('W', plain);
    EXPECT_GT(first.Width, 0.0);
    EXPECT_DOUBLE_EQ(MakeChar('W', plain).Width, first.Width);
    // A change of resolution measures afresh.
    doc.PrinterDPI = 300;
    doc.SetPrinterProps();
    const TCharRec coarse = MakeChar('W', plain);
    EXPECT_NEAR(coarse.Width, first.Width, 0.2);
}

TEST_F(Measuring, CodePointsAbove255MeasureAsTheFontLayerDoes) {
    const TFontRec plain = doc.DefaultFontRec();
    auto measure = [&](char32_t code) {
        TCharRec ch;
        ch.Code = code;
        ch.FontIndex = doc.GetNewFontIndex(plain);
        doc.RenderChar(ch);
        return ch.Width;
    };
    auto expected = [&](std::u32string_view text) {
        const TFont font =
            selfont(plain.Name, doc.PrinterDPI, 100.0, plain.Size, plain.Style, plain.Charset);
        return PixelsToMm(TextWidth(font, text), doc.PrinterDPI);
    };
    // The euro and the quotes lie above U+00FF; measured twice, once from what was kept.
    for (char32_t code : {U'\u20AC', U'\u201C', U'\u0152'}) {
        const double first = measure(code);
        EXPECT_GT(first, 0.0);
        EXPECT_DOUBLE_EQ(first, expected(std::u32string(1, code)));
        EXPECT_DOUBLE_EQ(measure(code), first);
    }
    EXPECT_NE(measure(U'\u20AC'), measure(U'\u201C'));
    // Characters Windows-1252 lacks are measured as they are drawn: Cyrillic by the font's own
    // face, an ideograph by the fallback face that has it, about an em wide.
    for (const std::u32string text : {U"\u0416", U"\u05D0", U"\u4E2D"}) {
        EXPECT_DOUBLE_EQ(measure(text[0]), expected(text));
        EXPECT_NE(measure(text[0]), measure(U'?'));
    }
    EXPECT_NEAR(measure(U'\u4E2D'), PixelsToMm(100, 600), 0.05);
    // A new resolution (one whose rounding differs) measures those afresh too.
    const double before = measure(U'\u20AC');
    doc.PrinterDPI = 97;
    doc.SetPrinterProps();
    EXPECT_DOUBLE_EQ(measure(U'\u20AC'), expected(U"\u20AC"));
    EXPECT_NE(measure(U'\u20AC'), before);
}

}  // namespace
}  // namespace qm
