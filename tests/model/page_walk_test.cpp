#include "model/page_walk.h"

#include <gtest/gtest.h>

#include "model/recording_surface.h"

namespace qm {
namespace {

using test::TRecordingSurface;

// A model whose field 0 holds the given lines with characters of fixed width; layout results
// (LineHeight) are set by hand so the walk can be checked on its own.
class PageWalk : public ::testing::Test {
  protected:
    PageWalk() {
        doc.Fields.resize(1);
        doc.Fields[0].Lines.clear();
    }
    TLineRec& AddLine(const std::string& text, double charWidthMm = 2.0) {
        TLineRec line;
        line.LineHeight = 5.0;
        line.EndKind = 1;
        for (char c : text) {
            TCharRec ch;
            ch.Code = static_cast<uint8_t>(c);
            ch.Width = charWidthMm;
            ch.Height = 4.0;
            ch.FontIndex = doc.GetNewFontIndex(doc.DefaultFontRec());
            line.Chars.push_back(ch);
        }
        doc.Fields[0].Lines.push_back(line);
        return doc.Fields[0].Lines.back();
    }
    std::vector<std::string> DrawPdf() {
        TRecordingSurface surface;
        TPageWalk walk(doc, surface, PdfGeometry(doc));
        walk.DrawPageFields(0);
        return surface.Only("text");
    }
    TDocument doc;
};

TEST_F(PageWalk, GeometryOfA4OnScreenAndInPdf) {
    const TWalkGeometry screen = PreviewGeometry(doc, 96);
    EXPECT_EQ(screen.PageW, 793);
    EXPECT_EQ(screen.PageH, 1122);
    const TWalkGeometry pdf = PdfGeometry(doc);
    EXPECT_EQ(pdf.PageW, 595);
    EXPECT_EQ(pdf.PageH, 841);
}

TEST_F(PageWalk, TextStartsAtTheMarginInPoints) {
    AddLine("A");
    const auto texts = DrawPdf();
    ASSERT_EQ(texts.size(), 1u);
    // 25 mm margin is T(25) = 70 points; the 5 mm line box ends at T(25 + 5) = 85 points and
    // the 4 mm glyph box is T(4) = 11 points high, so the text hangs from y = 85 - 11.
    EXPECT_EQ(texts[0], "text 70,74 A u0");
}

TEST_F(PageWalk, JustifiedLinesShareTheRestAmongTheirSpaces) {
    TLineRec& first = AddLine("a b c");
    first.Para.Align = 3;
    first.EndKind = 0;
    TLineRec& last = AddLine("d e");
    last.Para.Align = 3;
    const auto texts = DrawPdf();
    ASSERT_EQ(texts.size(), 8u);
    // Available 160 mm, line 10 mm, two counted spaces: 75 mm extra each. 'c' ends the line
    // at 25 + 160 mm.
    const double mmPerPt = kMmPerInch / 72;
    EXPECT_EQ(texts[4],
              "text " + std::to_string(static_cast<int>((25 + 8 + 150) / mmPerPt)) + ",74 c u0");
    // The paragraph's last line stays left-aligned.
    EXPECT_EQ(texts[5], "text 70,88 d u0");
}

TEST_F(PageWalk, CentredAndRightAlignedLines) {
    AddLine("ab").Para.Align = 1;
    AddLine("ab").Para.Align = 2;
    const auto texts = DrawPdf();
    // 160 mm = 453 points available, 4 mm = 11 points of text.
    EXPECT_EQ(texts[0], "text " + std::to_string(70 + (453 - 11) / 2) + ",74 a u0");
    EXPECT_EQ(texts[2], "text " + std::to_string(70 + 453 - 11) + ",88 a u0");
}

TEST_F(PageWalk, NumberedParagraphShowsItsLabelOnTheFirstLineOnly) {
    TLineRec& first = AddLine("x");
    first.Para.ListKind = 2;
    first.Para.ListNumber = 3;
    first.EndKind = 0;
    TLineRec& second = AddLine("y");
    second.Para.ListKind = 2;
    second.Para.ListNumber = 3;
    const auto texts = DrawPdf();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "text 70,75 3. u0");  // label bottom on the line bottom: 85 - 10
    const int32_t shifted = static_cast<int32_t>((25 + 6.3) / (kMmPerInch / 72));
    EXPECT_EQ(texts[1], "text " + std::to_string(shifted) + ",74 x u0");
    EXPECT_EQ(texts[2], "text 70,88 y u0");
}

TEST_F(PageWalk, LeaderDotsFillTheTabOnlyWithWholeCopies) {
    TLineRec& line = AddLine("\t");
    // A tab 10 points wide with dots of 3 points: three dots; a fourth would end at 12.
    line.Chars[0].Width = 10 * kMmPerInch / 72 + 1e-9;
    line.Chars[0].TabLeader = 2;
    const auto texts = DrawPdf();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "text 70,75 . u0");
    EXPECT_EQ(texts[2], "text 76,75 . u0");
}

TEST_F(PageWalk, WordUnderlineLeavesTheGapsPlain) {
    TFontRec underlined = doc.DefaultFontRec();
    underlined.Attrib = kAttribUnderline | kAttribWordUnderline;
    TLineRec& line = AddLine("a b");
    for (auto& ch : line.Chars)
        ch.FontIndex = doc.GetNewFontIndex(underlined);
    const auto texts = DrawPdf();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].back(), '1');
    EXPECT_EQ(texts[1].back(), '0');
    EXPECT_EQ(texts[2].back(), '1');
}

TEST_F(PageWalk, TableCellsTakeTheirSharesOfTheRowAndDrawingTwiceDrawsTheSame) {
    // Widths in any unit: the cells share the 160 mm row as 1 : 1 : 2.
    for (int i = 0; i < 3; ++i) {
        TLineRec& cell = AddLine("c");
        cell.InTable = 1;
        cell.CellsInRow = 3;
        cell.CellIndex = i;
        cell.CellWidth = i == 2 ? 2 : 1;
        cell.RowStart = 1;
        cell.RowEnd = 1;
    }
    TRecordingSurface first;
    TPageWalk walk(doc, first, PdfGeometry(doc));
    walk.DrawPageFields(0);
    const double mmPerPt = kMmPerInch / 72;
    auto at = [&](double mm) { return std::to_string(static_cast<int>(mm / mmPerPt)); };
    // All borders are on at 0.75 pt: one point wide; top, left, right, bottom for each cell.
    const auto fills = first.Only("fill");
    ASSERT_EQ(fills.size(), 3u * 4u);
    EXPECT_EQ(fills[1].rfind("fill " + at(25) + ",", 0), 0u) << fills[1];  // left of cell 1
    EXPECT_EQ(fills[5].rfind("fill " + at(25 + 40) + ",", 0), 0u) << fills[5];
    EXPECT_EQ(fills[9].rfind("fill " + at(25 + 80) + ",", 0), 0u) << fills[9];
    EXPECT_NE(fills[10].find("-" + std::to_string(std::stoi(at(185)) + 1) + ","),
              std::string::npos)
        << fills[10];  // the last cell's right border ends at the row's right edge
    // Nothing carries over from one drawing to the next, in the same walk or a new one.
    const std::vector<std::string> once = first.Calls;
    walk.DrawPageFields(0);
    EXPECT_EQ(std::vector<std::string>(first.Calls.begin() + once.size(), first.Calls.end()), once);
    TRecordingSurface again;
    TPageWalk(doc, again, PdfGeometry(doc)).DrawPageFields(0);
    EXPECT_EQ(again.Calls, once);
}

TEST_F(PageWalk, BordersThatAreOffAreGuidesOnScreenAndNothingInPdf) {
    TLineRec& cell = AddLine("c");
    cell.InTable = 1;
    cell.CellWidth = 1;
    cell.CellDesign.BorderOn = {0, 0, 0, 0};
    TRecordingSurface pdf;
    TPageWalk(doc, pdf, PdfGeometry(doc)).DrawPageFields(0);
    EXPECT_TRUE(pdf.Only("fill").empty());
    TRecordingSurface screen;
    TPageWalk(doc, screen, PreviewGeometry(doc, 96)).DrawPageFields(0);
    const auto fills = screen.Only("fill");
    ASSERT_EQ(fills.size(), 2u);  // left and right guides
    EXPECT_NE(fills[0].find(std::to_string(0xC0C0C0)), std::string::npos);
}

TEST_F(PageWalk, ColumnSeparatorIsAHairlineInPdf) {
    TLineRec& line = AddLine("x");
    line.ColumnCount = 2;
    line.ColumnSeparator = 1;
    line.ColumnIndex = 0;
    line.ColumnsUsed = 1;
    TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    const auto lines = surface.Only("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 4), " 0 0");  // black, width 0
}

TEST_F(PageWalk, PreviewClipsAtTheBottomMarginAndDrawsGuides) {
    AddLine("x");
    TRecordingSurface surface;
    TPageWalk(doc, surface, PreviewGeometry(doc, 96)).DrawPageFields(0);
    EXPECT_EQ(surface.Only("line").size(), 4u);
    const auto clips = surface.Only("clip");
    ASSERT_EQ(clips.size(), 1u);
    // Field: left 17, top 18, right 16 + 1 + 793 - 1, bottom 16 + 2 + 1122 - 1; the margin
    // of 25 mm is Round(94.48) = 94 pixels.
    EXPECT_EQ(clips[0], "clip 17,18-809," + std::to_string(1139 - 94));
}

TEST_F(PageWalk, DamagedLengthsDoNotOverflow) {
    TLineRec& line = AddLine("x");
    line.LineHeight = 1e300;
    line.Chars[0].Width = -1e300;
    TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    EXPECT_EQ(surface.Only("text").size(), 1u);
}

}  // namespace
}  // namespace qm
