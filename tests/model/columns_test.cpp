// Text columns: balancing, filling to the end of the field, overflow, and agreement of the
// once-per-run balance with the trial-every-millimetre-for-every-line description.
#include "model/columns.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::LayoutDoc;
using test::TextsOf;

// Ten one-character paragraphs of 5 mm in two columns 20 mm wide with 10 mm between.
void AddColumnRun(LayoutDoc& d, int lines, int32_t columns = 2, double spacing = 10.0) {
    for (int i = 0; i < lines; ++i) {
        TLineRec& line = d.Add(std::string(1, static_cast<char>('a' + i % 26)), 1, 2.0, 5.0);
        line.ColumnCount = columns;
        line.ColumnSpacing = spacing;
        line.ColumnSeparator = 1;
    }
}

TEST(Columns, ARunFollowedByTextIsBalanced) {
    LayoutDoc d(50.0, 100.0);
    AddColumnRun(d, 10);
    d.Add("after", 1, 2.0, 5.0);
    d.Layout();
    for (int i = 0; i < 10; ++i) {
        const TLineRec& line = d.Line(i);
        EXPECT_EQ(line.ColumnIndex, i < 5 ? 0 : 1) << i;
        EXPECT_EQ(line.ColumnsUsed, 1);
        EXPECT_DOUBLE_EQ(line.ColumnX, i < 5 ? 0.0 : 30.0);
        EXPECT_DOUBLE_EQ(line.ColumnYBack, i == 5 ? 25.0 : 0.0);
        EXPECT_DOUBLE_EQ(line.ColumnYForward, 0.0);
    }
    const TColumnInfo info = getspalteninfo(d.doc, 0, 5, 99.0);
    EXPECT_EQ(info.ColumnIndex, 1);
    EXPECT_DOUBLE_EQ(info.YBack, 25.0);
}

TEST(Columns, TheTextAfterABalancedRunStartsBelowTheLongerColumn) {
    // The run ends 25 mm down and the 5 mm line after it needs 30 mm in all.
    for (double height : {30.0, 29.9}) {
        LayoutDoc d(50.0, height);
        AddColumnRun(d, 10);
        d.Add("z", 1, 2.0, 5.0);
        d.Layout();
        EXPECT_EQ(d.Pages().size(), height == 30.0 ? 1u : 2u) << height;
    }
}

TEST(Columns, ARunThatReachesTheEndOfTheFieldFillsItsColumns) {
    LayoutDoc d(50.0, 100.0);
    AddColumnRun(d, 10);
    d.Layout();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.Line(i).ColumnIndex, 0);
        EXPECT_EQ(d.Line(i).ColumnsUsed, 0);  // so no separator is drawn
    }
    EXPECT_DOUBLE_EQ(d.Line(9).ColumnYForward, 99.0 - 50.0);
}

TEST(Columns, OverflowOfTheThirdColumnStartsANewPageAndRun) {
    // 29 mm per column: five lines each, fifteen per page.
    LayoutDoc d(80.0, 30.0);
    AddColumnRun(d, 20, 3, 5.0);
    d.Layout();
    const auto pages = d.Pages();
    ASSERT_EQ(pages.size(), 2u);
    const TFieldRec& first = d.doc.Fields[pages[0]];
    const TFieldRec& second = d.doc.Fields[pages[1]];
    ASSERT_EQ(first.LineCount(), 15);
    ASSERT_EQ(second.LineCount(), 5);
    EXPECT_EQ(first.Lines[14].ColumnIndex, 2);
    EXPECT_EQ(first.Lines[14].ColumnsUsed, 2);
    EXPECT_EQ(second.Lines[0].ColumnIndex, 0);
    EXPECT_EQ(second.Lines[4].ColumnIndex, 0);
    EXPECT_EQ(second.Lines[4].ColumnsUsed, 0);
}

TEST(Columns, ATableRowCountsOnceInItsRun) {
    LayoutDoc d(50.0, 100.0);
    AddColumnRun(d, 2);
    d.AddRow({"x", "y"}, 2.0, 5.0);
    for (int i = 2; i < 4; ++i) {
        d.doc.Fields[0].Lines[i].ColumnCount = 2;
        d.doc.Fields[0].Lines[i].ColumnSpacing = 10.0;
        d.doc.Fields[0].Lines[i].ColumnSeparator = 1;
    }
    AddColumnRun(d, 1);
    d.Add("after", 1, 2.0, 5.0);
    d.Layout();
    // Three extents of 5 mm: 10 mm columns hold lines 0 and 1, then the row and line 4.
    EXPECT_EQ(d.Line(1).ColumnIndex, 0);
    EXPECT_EQ(d.Line(2).ColumnIndex, 1);
    EXPECT_EQ(d.Line(3).ColumnIndex, 1);
    EXPECT_EQ(d.Line(4).ColumnIndex, 1);
    EXPECT_DOUBLE_EQ(d.Line(2).ColumnYBack, 10.0);
}

TEST(Columns, SectionsWithDifferentSpacingAreDifferentRuns) {
    LayoutDoc d(50.0, 100.0);
    AddColumnRun(d, 2, 2, 10.0);
    AddColumnRun(d, 2, 2, 10.5);
    d.Layout();
    EXPECT_TRUE(isfirstSpaltenrow(d.doc, 0, 0));
    EXPECT_FALSE(isfirstSpaltenrow(d.doc, 0, 1));
    EXPECT_TRUE(isfirstSpaltenrow(d.doc, 0, 2));
    EXPECT_FALSE(isfirstSpaltenrow(d.doc, 0, 5));
}

TEST(Columns, NoRoomPutsOneLinePerPageAndEnds) {
    // Less than a millimetre of column: every line starts a column of its own, the first in
    // column 1, and the second is beyond the last column.
    LayoutDoc d(50.0, 1.5);
    AddColumnRun(d, 4);
    d.Add("after");
    d.Layout();
    EXPECT_EQ(d.Pages().size(), 5u);
    EXPECT_EQ(d.Line(0).ColumnIndex, 1);
    // Columns no wider than nothing: lines are still laid out one character a line.
    LayoutDoc narrow(50.0, 30.0);
    AddColumnRun(narrow, 1, 2, 100.0);
    const TCharRec letter = narrow.doc.Fields[0].Lines[0].Chars[0];
    narrow.doc.Fields[0].Lines[0].Chars.resize(3, letter);
    narrow.Layout();
    EXPECT_EQ(TextsOf(narrow.doc.Fields[0]), "a|a|a");
}

// The run as the plain description has it: for the line at q, every trial height from the
// first in 1 mm steps over the whole run, until it fits or reaches hmax.
TColumnInfo Described(const std::vector<TLineRec>& run, size_t q, bool reachesEnd, double hmax) {
    const int32_t cols = run[0].ColumnCount;
    double h = reachesEnd ? hmax - 1.0 : 0.0;
    TColumnInfo info;
    while (true) {
        h += 1.0;
        info = TColumnInfo{};
        bool fits = true;
        double f = 0;
        int32_t k = 0;
        for (size_t j = 0; j < run.size(); ++j) {
            const double e = ColumnExtent(run[j]);
            if (run[j].CellsInRow <= 1 || run[j].CellIndex == 0) f += e;
            if (f > h) {
                if (j == q) info.YBack = f - e;
                f = e;
                ++k;
                if (f > h) fits = false;
            }
            if (q == run.size() - 1) info.YForward = h - f;
            if (j == q) {
                info.ColumnIndex = k;
                info.NeedBreak = k > cols - 1;
            }
            if (k <= cols - 1) info.ColumnsUsed = k;
        }
        if (k > cols - 1) fits = false;
        if (fits || h >= hmax) return info;
    }
}

TEST(Columns, TheOnceBalancedRunAgreesWithTheDescription) {
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> count(1, 40);
    std::uniform_int_distribution<int> tenths(0, 120);
    std::uniform_int_distribution<int> coin(0, 9);
    for (int round = 0; round < 300; ++round) {
        std::vector<TLineRec> run(count(random));
        const bool withNegative = round % 10 == 9;
        for (size_t i = 0; i < run.size(); ++i) {
            TLineRec& line = run[i];
            line.ColumnCount = 2 + round % 3;
            line.LineHeight = tenths(random) / 10.0;
            line.Para.SpaceBefore = coin(random) < 3 ? tenths(random) / 40.0 : 0.0;
            if (withNegative && coin(random) == 0) line.LineHeight = -3.0;
            if (coin(random) == 0 && i + 1 < run.size()) {  // a row of two cells
                line.CellsInRow = run[i + 1].CellsInRow = 2;
                run[i + 1].CellIndex = 1;
                run[i + 1].ColumnCount = line.ColumnCount;
                run[i + 1].LineHeight = line.LineHeight;
                ++i;
            }
        }
        const bool reachesEnd = round % 2 == 0;
        const double hmax = tenths(random) / 2.0 - 5.0;
        bool monotone = !withNegative;
        for (const TLineRec& line : run)
            monotone = monotone && ColumnExtent(line) >= 0;
        TColumnBalance balance(run, reachesEnd, hmax, monotone);
        for (size_t q = 0; q < run.size(); ++q) {
            const TColumnInfo got = balance.Next();
            const TColumnInfo want = Described(run, q, reachesEnd, hmax);
            ASSERT_EQ(got.ColumnIndex, want.ColumnIndex) << round << ' ' << q;
            ASSERT_EQ(got.ColumnsUsed, want.ColumnsUsed) << round << ' ' << q;
            ASSERT_EQ(got.NeedBreak, want.NeedBreak) << round << ' ' << q;
            ASSERT_DOUBLE_EQ(got.YBack, want.YBack) << round << ' ' << q;
            ASSERT_DOUBLE_EQ(got.YForward, want.YForward) << round << ' ' << q;
        }
    }
}

}  // namespace
}  // namespace qm
