// Pagination and table rows: page bodies created, chained and removed, rows split into rows
// of lines and back.
#include <gtest/gtest.h>

#include "model/document.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::DumpModel;
using test::LayoutDoc;
using test::TextOf;
using test::TextsOf;

// The page body takes 30 mm of lines; every line of 4 mm characters is 4 mm high.

TEST(Pagination, OverflowMovesToNewChainedPages) {
    LayoutDoc d;
    for (char c = 'a'; c < 'a' + 10; ++c)
        d.Add(std::string(1, c));
    d.Layout();
    const auto pages = d.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(d.doc.GetAnzPages(), 2);
    const TFieldRec& second = d.doc.Fields[pages[1]];
    EXPECT_EQ(pages[1], 7);                                // behind the header and footer fields
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), "a|b|c|d|e|f|g");  // 28 mm fit, 32 do not
    EXPECT_EQ(TextsOf(second), "h|i|j");
    EXPECT_EQ(second.PrevField, 0);
    EXPECT_EQ(second.PageNo, 1);
    EXPECT_EQ(second.Kind, kFieldBody);
    EXPECT_EQ(second.Right, 50.0);  // a copy of the page before
}

TEST(Pagination, APageBreakInTheMiddleMovesTheNextLineOn) {
    LayoutDoc d;
    d.Add("a");
    d.Add("b", 3);
    d.Add("c");
    d.Layout();
    ASSERT_EQ(d.Pages().size(), 2u);
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), "a|b");
    EXPECT_EQ(TextsOf(d.doc.Fields[d.Pages()[1]]), "c");
}

TEST(Pagination, APageBreakOnTheLastLineMakesNoEmptyPage) {
    LayoutDoc d;
    d.Add("a");
    d.Add("b", 3);
    d.Layout();
    EXPECT_EQ(d.Pages().size(), 1u);
    EXPECT_EQ(d.doc.FieldCount(), 7);
}

TEST(Pagination, SurplusPagesAreRemovedWhenTheTextShrinks) {
    LayoutDoc d;
    for (int i = 0; i < 20; ++i)
        d.Add("x");
    d.Layout();
    ASSERT_EQ(d.Pages().size(), 3u);
    // Keep only the first page's lines and lay out again.
    d.doc.Fields[0].Lines.resize(2);
    for (int32_t f = 7; f < d.doc.FieldCount(); ++f)
        d.doc.Fields[f].Lines.clear();
    d.Layout();
    EXPECT_EQ(d.Pages().size(), 1u);
    EXPECT_EQ(d.doc.FieldCount(), 7);
    EXPECT_EQ(d.doc.Fields[0].NextField, -1);
    EXPECT_EQ(d.doc.GetAnzPages(), 1);
}

TEST(Pagination, LaterPagesAreGatheredAndReusedInChainOrder) {
    LayoutDoc d;
    for (int i = 0; i < 20; ++i)
        d.Add(std::string(1, static_cast<char>('a' + i)));
    d.Layout();
    const std::string before = DumpModel(d.doc);
    // Text typed on the second page flows on to the pages after it.
    d.doc.Fields[d.Pages()[1]].Lines.insert(d.doc.Fields[d.Pages()[1]].Lines.begin(),
                                            d.doc.Fields[0].Lines[0]);
    d.Layout();
    ASSERT_EQ(d.Pages().size(), 3u);
    EXPECT_EQ(TextOf(d.doc.Fields[d.Pages()[1]].Lines[0]), "a");
    EXPECT_EQ(TextOf(d.doc.Fields[d.Pages()[2]].Lines.back()), "t");
    EXPECT_NE(before, DumpModel(d.doc));
}

TEST(Pagination, TheCursorMovesWithItsLineToTheNextPage) {
    LayoutDoc d;
    for (int i = 0; i < 10; ++i)
        d.Add("ab");
    d.doc.CurLine = 8;
    d.doc.CurChar = 1;
    d.Layout();
    EXPECT_EQ(d.doc.CurField, d.Pages()[1]);
    EXPECT_EQ(d.doc.CurLine, 1);
    EXPECT_EQ(d.doc.CurChar, 1);
    d.Layout();  // gathered back into field 0 and paginated again
    EXPECT_EQ(d.doc.CurField, d.Pages()[1]);
    EXPECT_EQ(d.doc.CurLine, 1);
}

TEST(TableRows, CellsOfThreeOneAndTwoLinesMakeThreeRowsOfLines) {
    // Three equal cells of a 50 mm row are 16.67 mm wide: 8 characters a line.
    LayoutDoc d(50.0, 200.0);
    d.AddRow({std::string(20, 'a'), "b", std::string(12, 'c')});
    d.Layout();
    const auto& lines = d.Lines();
    ASSERT_EQ(lines.size(), 9u);
    const char* expected[9] = {"aaaaaaaa", "b", "cccccccc", "aaaaaaaa", "", "cccc", "aaaa", "", ""};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(TextOf(lines[i]), expected[i]) << i;
        EXPECT_EQ(lines[i].CellIndex, i % 3);
        EXPECT_EQ(lines[i].CellsInRow, 3);
        EXPECT_EQ(lines[i].InTable, 1);
        EXPECT_EQ(lines[i].RowStart, i < 3 ? 1 : 0);
        EXPECT_EQ(lines[i].RowEnd, i >= 6 ? 1 : 0);
        EXPECT_EQ(lines[i].EndKind, i >= 6 ? 1 : 0);  // the row's end is on its last row
    }
    for (int row = 0; row < 3; ++row) {
        for (int cell = 1; cell < 3; ++cell) {
            EXPECT_DOUBLE_EQ(lines[row * 3 + cell].LineHeight, lines[row * 3].LineHeight);
        }
    }
    EXPECT_DOUBLE_EQ(lines[0].LineHeight, 4.0);
}

TEST(TableRows, TheNextRunJoinsTheRowBackAndGivesTheSameLines) {
    LayoutDoc d(50.0, 200.0);
    d.Add("before");
    d.AddRow({std::string(20, 'a'), "b", std::string(12, 'c')});
    d.AddRow({"x", "y", "z"});
    d.Add("after");
    d.Layout();
    const std::string first = DumpModel(d.doc);
    d.Layout();
    EXPECT_EQ(DumpModel(d.doc), first);
    EXPECT_EQ(d.Lines().size(), 1u + 9u + 3u + 1u);
}

TEST(TableRows, KeptParagraphEndsInACellBecomeLinesOfThatCell) {
    LayoutDoc d(50.0, 200.0);
    d.AddRow({"ab", "c"});
    TLineRec& cell = d.doc.Fields[0].Lines[0];
    TCharRec mark = LayoutDoc::Char(13, 0, 0, d.plainFont);
    TParaFormat next;
    next.LeftIndent = 2.5;
    mark.ParaCopy = DeepPtr<TParaFormat>(next);
    cell.Chars.insert(cell.Chars.begin() + 1, mark);  // "a" mark "b"
    d.Layout();
    ASSERT_EQ(d.Lines().size(), 4u);
    EXPECT_EQ(TextOf(d.Line(0)), "a");
    EXPECT_EQ(d.Line(0).EndKind, 1);
    EXPECT_EQ(TextOf(d.Line(2)), "b");
    EXPECT_DOUBLE_EQ(d.Line(2).Para.LeftIndent, 2.5);
    const std::string first = DumpModel(d.doc);
    d.Layout();  // the mark is made again from the line end and broken at again
    EXPECT_EQ(DumpModel(d.doc), first);
}

TEST(TableRows, SpacesBeforeAndAfterAreTheRowsLargest) {
    LayoutDoc d(50.0, 200.0);
    d.AddRow({"a", "b"});
    d.doc.Fields[0].Lines[0].Para.SpaceBefore = 1.0;
    d.doc.Fields[0].Lines[1].Para.SpaceBefore = 2.0;
    d.doc.Fields[0].Lines[0].Para.SpaceAfter = -3.0;
    d.Layout();
    for (const TLineRec& line : d.Lines()) {
        EXPECT_DOUBLE_EQ(line.Para.SpaceBefore, 2.0);
        EXPECT_DOUBLE_EQ(line.Para.SpaceAfter, 0.0);
    }
}

TEST(TableRows, ARowTallerThanThePageIsSplitAfterItsFirstCell) {
    LayoutDoc d;
    d.AddRow({"a", "b", "c"});
    for (TLineRec& cell : d.doc.Fields[0].Lines) {
        cell.Para.LineSpacingRule = 2;
        cell.Para.LineSpacing = 40.0;
    }
    d.Add("after");
    d.Layout();
    const auto pages = d.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(TextsOf(d.doc.Fields[pages[0]]), "a");
    EXPECT_EQ(TextsOf(d.doc.Fields[pages[1]]), "b|c|after");
}

TEST(TableRows, ARowThatDoesNotFitBelowOtherTextMovesWhole) {
    LayoutDoc d;
    d.Add("a");
    d.AddRow({"b", "c"});
    for (int i = 1; i <= 2; ++i) {
        d.doc.Fields[0].Lines[i].Para.LineSpacingRule = 2;
        d.doc.Fields[0].Lines[i].Para.LineSpacing = 28.0;
    }
    d.Layout();
    const auto pages = d.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(TextsOf(d.doc.Fields[pages[1]]), "b|c");
}

}  // namespace
}  // namespace qm
