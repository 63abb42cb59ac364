#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qm
