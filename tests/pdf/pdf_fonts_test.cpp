#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "pdf/pdf_canvas.h"
#include "pdf/pdf_font_table.h"
#include "pdf/pdf_fonts.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using test::ObjectText;
using test::SplitLines;
using test::WritePdf;

TEST(GlyphSpace, ScalesWithTheDoubleNearestToAThousandTwelfths) {
    // Multiples of 3 land one below the exact quotient: the factor is just under 1000/12.
    EXPECT_EQ(ScaleToGlyphSpace(3), 249);
    EXPECT_EQ(ScaleToGlyphSpace(6), 499);
    EXPECT_EQ(ScaleToGlyphSpace(12), 999);
    EXPECT_EQ(ScaleToGlyphSpace(-3), -249);
    EXPECT_EQ(ScaleToGlyphSpace(0), 0);
    EXPECT_EQ(ScaleToGlyphSpace(1), 83);
    EXPECT_EQ(ScaleToGlyphSpace(2), 166);
    EXPECT_EQ(ScaleToGlyphSpace(4), 333);
    EXPECT_EQ(ScaleToGlyphSpace(7), 583);
    EXPECT_EQ(ScaleToGlyphSpace(11), 916);
    EXPECT_EQ(ScaleToGlyphSpace(-2), -166);
    EXPECT_EQ(ScaleToGlyphSpace(-12), -999);
    // Larger multiples of 3 keep the same shortfall; 3 * 2^20 is still one below.
    EXPECT_EQ(ScaleToGlyphSpace(3 << 20), 262144000 - 1);
}

TEST(BaseFontNames, EscapeDelimitersAndAppendTheStyle) {
    EXPECT_EQ(BaseFontName("Arial", 0), "Arial");
    EXPECT_EQ(BaseFontName("Times New Roman", kStyleBold), "Times#20New#20Roman,Bold");
    EXPECT_EQ(BaseFontName("Courier New", kStyleBold | kStyleItalic), "Courier#20New,BoldItalic");
    EXPECT_EQ(BaseFontName("Arial", kStyleItalic | kStyleUnderline), "Arial,Italic");
    EXPECT_EQ(BaseFontName("Arial", kStyleUnderline | kStyleStrikeOut), "Arial");
    EXPECT_EQ(BaseFontName("A(b)", 0), "A#28b#29");
    EXPECT_EQ(BaseFontName("#%/<>[]{}", 0), "#23#25#2F#3C#3E#5B#5D#7B#7D");
    EXPECT_EQ(BaseFontName(std::string("a\0b", 3), 0), "ab");
    EXPECT_EQ(BaseFontName("\x7F\xE9\x01~!", 0), "#7F#E9#01~!");
}

TEST(FontTable, NumbersFacesAndStylesInOrderOfFirstUse) {
    constexpr TPDFFontKind kWinAnsi = TPDFFontKind::WinAnsi;
    TPDFFontTable table;
    EXPECT_EQ(table.FindOrAdd("Arial", 0, kWinAnsi), 1);
    EXPECT_EQ(table.FindOrAdd("Arial", kStyleUnderline, kWinAnsi), 2);
    EXPECT_EQ(table.FindOrAdd("arial", 0, kWinAnsi), 3);  // names compare case-sensitively
    EXPECT_EQ(table.FindOrAdd("Arial", 0, kWinAnsi), 1);
    EXPECT_EQ(table.FindOrAdd("Arial", kStyleStrikeOut, kWinAnsi), 4);
    EXPECT_EQ(table.Count(), 4u);
}

// The pages name an entry by the object it writes: the count the numbering of the later objects
// relies on, the objects written and the resources must agree.
TEST(FontTable, EachEntryWritesTheObjectItsResourceNames) {
    constexpr TPDFFontKind kWinAnsi = TPDFFontKind::WinAnsi;
    TPDFFontTable table;
    // A face asked for run after run, between runs of another face, stays one entry.
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(table.FindOrAdd("Arial", 0, kWinAnsi), 1);
        EXPECT_EQ(table.FindOrAdd("Times New Roman", kStyleBold, kWinAnsi), 2);
    }
    ASSERT_EQ(table.ObjectCount(), 2);
    test::TRecordingWriter writer(7);
    table.WriteObjects(writer);
    ASSERT_EQ(writer.Objects.size(), 2u);
    EXPECT_EQ(writer.Objects[0].rfind("7 0 obj\n<<\n/Type /Font\n", 0), 0u);
    EXPECT_NE(writer.Objects[0].find("/BaseFont /Arial\n"), std::string::npos);
    EXPECT_EQ(writer.Objects[1].rfind("8 0 obj\n", 0), 0u);
    EXPECT_NE(writer.Objects[1].find("/BaseFont /Times#20New#20Roman,Bold\n"), std::string::npos);
    EXPECT_TRUE(writer.Objects[1].ends_with("]\n>>\nendobj\n"));
    std::string resources;
    table.AppendResources(resources, 7);
    EXPECT_EQ(resources, "/F1 7 0 R/F2 8 0 R");
}

// The font object of a one-font document (one page: the font is object 4).
std::string FontObject(const std::string& face, uint8_t style) {
    const std::string pdf = WritePdf([&](TPDFCanvas& c) {
        c.Font.Name = face;
        c.Font.Style = style;
        c.Font.Size = 12;
        c.TextOut(10, 10, "A");
    });
    return ObjectText(pdf, 4);
}

TEST(FontObjects, HaveTheFixedLinesAndAWidthPerCode) {
    const std::vector<std::string> lines = SplitLines(FontObject("Arial", 0));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "4 0 obj");
    EXPECT_EQ(lines[1], "<<");
    EXPECT_EQ(lines[2], "/Type /Font");
    EXPECT_EQ(lines[3], "/Subtype /TrueType");
    EXPECT_EQ(lines[4], "/Encoding /WinAnsiEncoding");
    EXPECT_EQ(lines[5], "/BaseFont /Arial");
    EXPECT_EQ(lines[6], "/FontDescriptor <</Type/FontDescriptor");
    EXPECT_EQ(lines[7].rfind("/FontBBox[", 0), 0u);
    EXPECT_EQ(lines[8].rfind("/Flags 4/Ascent ", 0), 0u);
    EXPECT_NE(lines[8].find("/Descent -"), std::string::npos);
    EXPECT_EQ(lines[8].substr(lines[8].size() - 16), "/ItalicAngle 0>>");
    // Arial's ANSI range starts two below the space.
    EXPECT_EQ(lines[9], "/FirstChar 30");
    EXPECT_EQ(lines[10], "/LastChar 255");
    EXPECT_EQ(lines[11].rfind("/Widths [", 0), 0u);
    EXPECT_EQ(lines[11].substr(lines[11].size() - 2), " ]");
    EXPECT_EQ(lines[12], ">>");
    EXPECT_EQ(lines[13], "endobj");
}

TEST(FontObjects, WidthsAreMultiplesOfTheTwelfthScale) {
    const std::vector<std::string> lines = SplitLines(FontObject("Arial", 0));
    ASSERT_GE(lines.size(), 12u);
    std::istringstream widths(lines[11].substr(9));
    int count = 0;
    std::string word;
    while (widths >> word && word != "]") {
        const int width = std::stoi(word);
        // S(u) for whole u: 0, 83, 166, 249, 333, 416, 499, 583, ...
        EXPECT_EQ(width, ScaleToGlyphSpace(static_cast<int32_t>((width + 1) * 12 / 1000))) << word;
        ++count;
    }
    EXPECT_EQ(count, 255 - 30 + 1);
}

TEST(FontObjects, StyleAndEscapesReachTheBaseFont) {
    const std::string object = FontObject("Times New Roman", kStyleBold | kStyleItalic);
    EXPECT_NE(object.find("/BaseFont /Times#20New#20Roman,BoldItalic\n"), std::string::npos);
    // An italic face leans right: a negative angle.
    EXPECT_NE(object.find("/ItalicAngle -"), std::string::npos);
}

TEST(FontObjects, UnderlineMakesASecondIdenticalObject) {
    const std::string pdf = WritePdf([](TPDFCanvas& c) {
        c.Font.Name = "Arial";
        c.TextOut(10, 10, "A");
        c.Font.Style = kStyleUnderline;
        c.TextOut(20, 10, "B");
    });
    std::string first = ObjectText(pdf, 4);
    std::string second = ObjectText(pdf, 5);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.substr(first.find('\n')), second.substr(second.find('\n')));
    EXPECT_NE(pdf.find("/Font << /F1 4 0 R/F2 5 0 R>> /ProcSet 1 0 R\n"), std::string::npos);
}

}  // namespace
}  // namespace qm
