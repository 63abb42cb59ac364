// Tab widths: explicit stops and their alignments, default stops and their interval.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/layout_tabs.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::LayoutDoc;

// Lays out one line of 2 mm characters with the given stops and returns its characters.
std::vector<TCharRec> TabLine(const std::string& text, std::vector<TTabStop> stops,
                              double defaultWidth = 12.5) {
    LayoutDoc d(200.0);
    TLineRec& line = d.Add(text);
    line.Para.Tabs = std::move(stops);
    line.Para.DefaultTabWidth = defaultWidth;
    d.Layout();
    return d.Line(0).Chars;
}

TEST(TabStops, LeftStopReachesItsPositionAndTakesItsLeader) {
    const auto chars = TabLine("ab\tc", {{10.0, 0, 2}, {40.0, 0, 1}});
    EXPECT_DOUBLE_EQ(chars[2].Width, 6.0);
    EXPECT_EQ(chars[2].TabLeader, 2);
}

TEST(TabStops, TheFirstStopBeyondTheTabIsUsedNotOneAtIt) {
    const auto chars = TabLine("aaaaa\tc", {{10.0, 0, 1}, {20.0, 0, 3}});  // tab at 10 mm
    EXPECT_DOUBLE_EQ(chars[5].Width, 10.0);
    EXPECT_EQ(chars[5].TabLeader, 3);
}

TEST(TabStops, RightStopSubtractsTheTextUpToTheNextTab) {
    const auto chars = TabLine("ab\t123\tx", {{40.0, 2, 0}});
    EXPECT_DOUBLE_EQ(chars[2].Width, 40.0 - 4.0 - 6.0);
}

TEST(TabStops, DecimalStopAlignsAtTheNumbersDecimalSeparator) {
    // Characters are 2 mm wide: the stop at 40 mm less the text before the separator.
    const std::vector<TTabStop> stop{{40.0, 3, 0}};
    EXPECT_DOUBLE_EQ(TabLine("\t12,50", stop)[0].Width, 40.0 - 4.0);
    EXPECT_DOUBLE_EQ(TabLine("\t1234.5", stop)[0].Width, 40.0 - 8.0);
    EXPECT_DOUBLE_EQ(TabLine("\t7.25", stop)[0].Width, 40.0 - 2.0);
    EXPECT_DOUBLE_EQ(TabLine("\t33.125", stop)[0].Width, 40.0 - 4.0);
    // The last separator of the number; what follows the number does not count.
    EXPECT_DOUBLE_EQ(TabLine("\t1,234.50 kg.", stop)[0].Width, 40.0 - 10.0);
    EXPECT_DOUBLE_EQ(TabLine("\t12. x", stop)[0].Width, 40.0 - 4.0);
    // A prefix stands before the number; a number without separator aligns its end; text
    // without digits aligns as at a right stop.
    EXPECT_DOUBLE_EQ(TabLine("\t$12.50", stop)[0].Width, 40.0 - 6.0);
    EXPECT_DOUBLE_EQ(TabLine("\t123 kg", stop)[0].Width, 40.0 - 6.0);
    EXPECT_DOUBLE_EQ(TabLine("\tnone", stop)[0].Width, 40.0 - 8.0);
}

TEST(TabStops, CentredStopSubtractsHalfTheFollowingText) {
    const auto chars = TabLine("ab\tabcd\tx", {{30.0, 1, 0}});
    EXPECT_DOUBLE_EQ(chars[2].Width, 30.0 - 4.0 - 4.0);
}

TEST(TabStops, TextTooWideForTheStopGivesWidthZero) {
    const auto chars = TabLine("ab\t" + std::string(20, '9'), {{10.0, 2, 0}});
    EXPECT_DOUBLE_EQ(chars[2].Width, 0.0);
}

TEST(TabStops, AlignedTextEndsAtAKeptEnd) {
    // What follows a kept paragraph end stands on the next line.
    std::vector<TCharRec> chars(6);
    for (auto& ch : chars)
        ch.Width = 2.0;
    chars[0].Code = 9;
    chars[1].Code = chars[2].Code = '1';
    chars[3].Code = 13;
    chars[3].Width = 0;
    chars[4].Code = chars[5].Code = '2';
    TParaFormat para;
    para.Tabs = {{30.0, 2, 0}};
    std::vector<TCharRec*> text;
    for (auto& ch : chars)
        text.push_back(&ch);
    SetTabWidth(text, 0, 0.0, para);
    EXPECT_DOUBLE_EQ(chars[0].Width, 26.0);
}

TEST(TabStops, AStopBeyondTheLineEndReachesTheEndAndDoesNotWrap) {
    // 50 mm lines of 2 mm characters; the paragraph's stop at 60 mm is past the end.
    LayoutDoc d;
    d.Add("abc\t").Para.Tabs = {{60.0, 0, 2}};
    d.Add("abc\tde").Para.Tabs = {{60.0, 0, 2}};
    // A default stop past the end wraps the tab.
    d.Add(std::string(24, 'a') + "\tb").Para.DefaultTabWidth = 12.5;
    d.Layout();
    ASSERT_EQ(d.Line(0).CharCount(), 4);
    EXPECT_DOUBLE_EQ(d.Line(0).Chars[3].Width, 50.0 - 6.0);
    EXPECT_EQ(d.Line(0).Chars[3].TabLeader, 2);
    // Text after such a tab goes to the next line.
    EXPECT_EQ(d.Line(1).CharCount(), 4);
    EXPECT_EQ(d.Line(2).CharCount(), 2);
    EXPECT_EQ(d.Line(3).CharCount(), 24);
    EXPECT_EQ(d.Line(4).Chars[0].Code, U'\t');
}

TEST(DefaultStops, ATabAtAStopGoesToTheNextOne) {
    // 25 mm of text, no explicit stop beyond: the next default stop is at 37.5 mm.
    LayoutDoc d(200.0);
    TLineRec& line = d.Add(std::string(12, 'a') + "x\ty");
    line.Chars[12].Width = 1.0;
    line.Para.Tabs = {{10.0, 2, 1}};
    d.Layout();
    EXPECT_DOUBLE_EQ(d.Line(0).Chars[13].Width, 12.5);
    EXPECT_EQ(d.Line(0).Chars[13].TabLeader, 0);
}

TEST(DefaultStops, TheIntervalIsTheParagraphs) {
    EXPECT_DOUBLE_EQ(TabLine("aaa\t", {}, 5.0)[3].Width, 4.0);  // 6 mm -> 10 mm
}

TEST(DefaultStops, AnIntervalOfZeroOrBelowIsTheModelDefault) {
    for (double bad : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN()}) {
        const auto chars = TabLine("aaa\t", {}, bad);
        EXPECT_DOUBLE_EQ(chars[3].Width, 12.5 - 6.0) << bad;
    }
}

}  // namespace
}  // namespace qm
