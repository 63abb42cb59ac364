// Damaged or extreme models: the pass ends, loses no character and gives every line a place.
#include <gtest/gtest.h>

#include <limits>

#include "model/document.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::DumpModel;
using test::LayoutDoc;
using test::TextOf;
using test::TextsOf;

// The characters of all page bodies in chain order.
std::string BodyText(const LayoutDoc& d) {
    std::string text;
    for (int32_t page : d.Pages()) {
        for (const TLineRec& line : d.doc.Fields[page].Lines)
            text += TextOf(line);
    }
    return text;
}

TEST(DegenerateLayout, ALineThatNeverFitsTakesOneCharacterPerLine) {
    LayoutDoc d;
    TLineRec& line = d.Add("abcdef");
    line.Para.LeftIndent = 80.0;  // beyond the 50 mm line
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), "a|b|c|d|e|f");
}

TEST(DegenerateLayout, AFieldOfNegativeHeightKeepsOneLinePerPage) {
    LayoutDoc d(50.0, -20.0);
    for (int i = 0; i < 5; ++i)
        d.Add("x");
    d.Layout();
    EXPECT_EQ(d.Pages().size(), 5u);
    for (int32_t page : d.Pages())
        EXPECT_EQ(d.doc.Fields[page].LineCount(), 1);
}

TEST(DegenerateLayout, ALineTallerThanThePageStaysAloneOnIt) {
    LayoutDoc d;
    d.Add("a");
    d.Add("b", 1, 2.0, 100.0);
    d.Add("c");
    d.Layout();
    ASSERT_EQ(d.Pages().size(), 3u);
    EXPECT_EQ(TextsOf(d.doc.Fields[d.Pages()[1]]), "b");
}

TEST(DegenerateLayout, CellsWithoutWidthsShareTheRow) {
    LayoutDoc d;
    d.AddRow({std::string(20, 'a'), "b"});
    for (TLineRec& cell : d.doc.Fields[0].Lines)
        cell.CellWidth = 0;
    d.Layout();
    EXPECT_EQ(TextOf(d.Line(0)), std::string(12, 'a'));  // 25 mm each
}

TEST(DegenerateLayout, BrokenRowsAndLinksAreLaidOutAsPlainLines) {
    LayoutDoc d;
    d.Add("a").CellsInRow = 0;
    TLineRec& cell = d.Add("b");
    cell.CellsInRow = 3;  // claims a row that is not there
    cell.CellIndex = 2;
    d.Add("c").CellsInRow = -4;
    d.Add("d", 9);  // no such end kind
    d.doc.Fields[0].NextField = 0;
    d.doc.Fields[0].PrevField = 55;
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), "a|b|c|d");
    for (const TLineRec& line : d.Lines())
        EXPECT_EQ(line.CellsInRow, 1);
    EXPECT_EQ(d.Line(3).EndKind, 1);
    EXPECT_EQ(d.doc.Fields[0].PrevField, -1);
}

TEST(DegenerateLayout, NotANumberEverywhereStillEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    LayoutDoc d(nan, nan);
    TLineRec& line = d.Add("a\tb c-d");
    line.Para.Tabs = {{nan, 2, 0}};
    line.Para.LineSpacing = nan;
    line.ColumnCount = 2;
    line.ColumnSpacing = nan;
    d.Add(std::string(40, 'x'), 1, nan, nan);
    d.Layout();
    EXPECT_EQ(BodyText(d), "a\tb c-d" + std::string(40, 'x'));
}

TEST(DegenerateLayout, HugeColumnHeightsAreNotTriedOneByOne) {
    // A line of endless height never fits a column, so every trial height up to the page's
    // 1e300 mm would be tried; a line of negative height rules out the binary search too.
    LayoutDoc d(50.0, 1e300);
    for (double spacing : {std::numeric_limits<double>::infinity(), -7.0, 5.0}) {
        TLineRec& line = d.Add("a", 1, 2.0, 5.0);
        line.ColumnCount = 2;
        line.Para.LineSpacingRule = 2;
        line.Para.LineSpacing = spacing;
    }
    d.Add("after");
    d.Layout();
    EXPECT_EQ(BodyText(d), "aaaafter");
}

TEST(DegenerateLayout, RunningTwiceGivesTheSameModel) {
    LayoutDoc d(60.0, 40.0);
    TLineRec& numbered = d.Add("one two three four five six seven eight nine ten");
    numbered.Para.ListKind = 2;
    TLineRec& tabs = d.Add("a\tb\t1,5\tc");
    tabs.Para.Tabs = {{20.0, 1, 2}, {40.0, 3, 0}};
    d.Add("", 1);
    d.AddRow({std::string(40, 'q'), "r", "s t u v w x y z"});
    d.Add("page", 3);
    for (int i = 0; i < 12; ++i) {
        TLineRec& line = d.Add("column text that wraps around", 1, 2.0, 4.5);
        line.ColumnCount = 2;
        line.ColumnSeparator = 1;
    }
    d.Add("end of text");
    d.Layout();
    const std::string first = DumpModel(d.doc);
    EXPECT_GT(d.Pages().size(), 2u);
    d.Layout();
    EXPECT_EQ(DumpModel(d.doc), first);
}

}  // namespace
}  // namespace qm
