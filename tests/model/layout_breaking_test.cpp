// Line breaking: where lines break, what moves, and the heights and numbers lines get.
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "model/document.h"
#include "model/line_text.h"
#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::LayoutDoc;
using test::TextOf;
using test::TextsOf;

// The page body is 50 mm wide and every character 2 mm: 25 characters fill a line exactly.

TEST(LineBreaking, BreaksAfterTheLastSpaceThatFitsLeavingItHanging) {
    LayoutDoc d;
    d.Add("aaaaaaaaaa bbbbbbbbbb cccc");
    d.Add(std::string(25, 'a') + " bb");  // the space itself lies beyond the edge
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]),
              "aaaaaaaaaa bbbbbbbbbb |cccc|" + std::string(25, 'a') + " |bb");
    EXPECT_EQ(d.Line(0).EndKind, 0);
    EXPECT_EQ(d.Line(1).EndKind, 1);  // the paragraph end moves down with the text
    EXPECT_EQ(d.Line(2).EndKind, 0);
    EXPECT_EQ(d.Line(3).EndKind, 1);
}

TEST(LineBreaking, CutsAWordLongerThanTheLineAtTheOverflowingCharacter) {
    LayoutDoc d;
    d.Add(std::string(30, 'a'));
    TLineRec& wide = d.Add("Wab");
    wide.Chars[0].Width = 60.0;  // wider than the line: stays alone on it
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), std::string(25, 'a') + "|aaaaa|W|ab");
}

TEST(LineBreaking, BreaksAfterAHyphen) {
    LayoutDoc d;
    d.Add(std::string(20, 'a') + "-" + std::string(10, 'b'));
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), std::string(20, 'a') + "-|" + std::string(10, 'b'));
}

TEST(LineBreaking, ATabGoesToTheNextLine) {
    LayoutDoc d(45.0);
    // The tab at 42 mm reaches the default stop at 50 mm, beyond the 45 mm line.
    d.Add(std::string(21, 'a') + "\tbb");
    // A tab after the first character is a break point; it moves with the text after it.
    d.Add("aa\t" + std::string(17, 'b'));
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]),
              std::string(21, 'a') + "|\tbb|aa|\t" + std::string(16, 'b') + "|b");
    EXPECT_DOUBLE_EQ(d.Line(1).Chars[0].Width, 12.5);  // at the start of its new line
}

TEST(LineBreaking, FirstLineIndentAndListIndentApplyToTheFirstLineOnly) {
    LayoutDoc d;
    TLineRec& line = d.Add(std::string(60, 'a'));
    line.Para.FirstLineIndent = 10.0;
    line.Para.ListKind = 2;
    line.Para.ListIndent = 6.0;  // first line: 16 mm, room for 17 characters
    d.Layout();
    ASSERT_EQ(d.Lines().size(), 3u);
    EXPECT_EQ(d.Line(0).CharCount(), 17);
    EXPECT_EQ(d.Line(1).CharCount(), 25);
    EXPECT_EQ(d.Line(2).CharCount(), 18);
}

TEST(LineBreaking, KeptLineBreakEndsTheLineAndIsDropped) {
    LayoutDoc d;
    TLineRec& line = d.Add(
        "ab\x0E"
        "cd");
    line.EndKind = 1;
    d.Layout();
    EXPECT_EQ(TextsOf(d.doc.Fields[0]), "ab|cd");
    EXPECT_EQ(d.Line(0).EndKind, 2);
    EXPECT_EQ(d.Line(1).EndKind, 1);
}

TEST(LineHeights, ExactSpacingOverridesTallCharacters) {
    LayoutDoc d;
    TLineRec& line = d.Add(std::string(60, 'a'), 1, 2.0, 8.0);
    line.Para.LineSpacingRule = 2;
    line.Para.LineSpacing = 5.0;
    d.Layout();
    ASSERT_EQ(d.Lines().size(), 3u);
    for (const TLineRec& l : d.Lines())
        EXPECT_DOUBLE_EQ(l.LineHeight, 5.0);
}

TEST(LineHeights, MultipleAndAtLeastSpacing) {
    LayoutDoc d;
    d.Add("a", 1, 2.0, 4.0).Para.LineSpacing = 1.5;
    TLineRec& least = d.Add("a", 1, 2.0, 4.0);
    least.Para.LineSpacingRule = 1;
    least.Para.LineSpacing = 6.0;
    TLineRec& taller = d.Add("a", 1, 2.0, 7.0);
    taller.Para.LineSpacingRule = 1;
    taller.Para.LineSpacing = 6.0;
    d.Layout();
    EXPECT_DOUBLE_EQ(d.Line(0).LineHeight, 6.0);
    EXPECT_DOUBLE_EQ(d.Line(1).LineHeight, 6.0);
    EXPECT_DOUBLE_EQ(d.Line(2).LineHeight, 7.0);
}

TEST(LineHeights, AnEmptyParagraphTakesTheBlankOfTheLastFontLaidOut) {
    LayoutDoc d;
    TFontRec big = d.doc.DefaultFontRec();
    big.Size = 20.0;
    const int32_t bigFont = d.doc.GetNewFontIndex(big);
    TLineRec& text = d.Add("x");
    text.Chars[0].FontIndex = bigFont;
    d.Add("").Para.LineSpacing = 1.5;
    d.Layout();

    TCharRec probe;
    probe.Code = ' ';
    probe.FontIndex = bigFont;
    d.doc.RenderChar(probe);
    ASSERT_GT(probe.Height, 0.0);
    EXPECT_DOUBLE_EQ(d.Line(1).LineHeight, (probe.Height + probe.Leading) * 1.5);
}

TEST(LineHeights, AFreshModelHasOneLaidOutEmptyPage) {
    TDocument doc;
    ASSERT_EQ(doc.FieldCount(), 7);
    EXPECT_EQ(doc.GetAnzPages(), 1);
    ASSERT_EQ(doc.Fields[0].LineCount(), 1);
    TCharRec probe;
    probe.Code = ' ';
    probe.FontIndex = doc.GetNewFontIndex(doc.DefaultFontRec());
    doc.RenderChar(probe);
    EXPECT_GT(probe.Height, 0.0);
    EXPECT_DOUBLE_EQ(doc.Fields[0].Lines[0].LineHeight, probe.Height + probe.Leading);
    EXPECT_EQ(doc.Fields[0].Lines[0].Dirty, 0);
    for (int32_t f = 1; f <= 6; ++f)
        EXPECT_EQ(doc.Fields[f].LineCount(), 1);
}

TEST(LineHeights, SpaceBeforeGoesAboveAParagraphAndSpaceAfterBelowIt) {
    // Three lines of 4 mm with 2 mm before the first and 3 mm after the last take 17 mm; a
    // following 4 mm line fits into 21 mm but not into 20.9 mm.
    for (double height : {21.0, 20.9}) {
        LayoutDoc d(50.0, height);
        TLineRec& para = d.Add(std::string(60, 'a'));
        para.Para.SpaceBefore = 2.0;
        para.Para.SpaceAfter = 3.0;
        d.Add("b");
        d.Layout();
        EXPECT_EQ(d.doc.GetAnzPages(), height == 21.0 ? 1 : 2) << height;
        EXPECT_DOUBLE_EQ(d.Line(0).SpaceAbove, 2.0);
        EXPECT_DOUBLE_EQ(d.Line(0).SpaceBelow, 0.0);
        EXPECT_DOUBLE_EQ(d.Line(1).SpaceAbove + d.Line(1).SpaceBelow, 0.0);
        EXPECT_DOUBLE_EQ(d.Line(2).SpaceAbove, 0.0);
        EXPECT_DOUBLE_EQ(d.Line(2).SpaceBelow, 3.0);
        // Drawn, the lines inside the paragraph follow each other at the line height.
        test::TRecordingSurface surface;
        TPageWalk(d.doc, surface, PdfGeometry(d.doc)).DrawPageFields(0);
        std::vector<int> ys;
        for (const std::string& call : surface.Only("text")) {
            const int y = std::stoi(call.substr(call.find(',') + 1));
            if (ys.empty() || ys.back() != y) ys.push_back(y);
        }
        ASSERT_GE(ys.size(), 3u);
        EXPECT_NEAR(ys[1] - ys[0], 4.0 / (kMmPerInch / 72), 1) << height;
        EXPECT_NEAR(ys[2] - ys[1], 4.0 / (kMmPerInch / 72), 1) << height;
    }
}

TEST(ListNumbers, RestartAfterAParagraphThatIsNotNumbered) {
    LayoutDoc d(50.0, 200.0);
    for (uint8_t kind : {2, 0, 2, 2}) {
        TLineRec& line = d.Add(std::string(30, 'a'));  // two lines each
        line.Para.ListKind = kind;
    }
    d.Layout();
    ASSERT_EQ(d.Lines().size(), 8u);
    EXPECT_EQ(d.Line(0).Para.ListNumber, 1);
    EXPECT_EQ(d.Line(4).Para.ListNumber, 1);
    EXPECT_EQ(d.Line(6).Para.ListNumber, 2);
    // A soft continuation line does not count.
    EXPECT_EQ(d.Line(7).Para.ListNumber, 2);
}

TEST(ListNumbers, ALineBreakDoesNotStartANewParagraph) {
    LayoutDoc d;
    d.Add("a", 2).Para.ListKind = 2;
    d.Add("b", 1).Para.ListKind = 2;
    d.Add("c", 1).Para.ListKind = 2;
    d.Layout();
    EXPECT_EQ(d.Line(0).Para.ListNumber, 1);
    EXPECT_EQ(d.Line(2).Para.ListNumber, 2);
}

TEST(Cursor, StaysOnTheSameCharacter) {
    LayoutDoc d;
    d.Add(std::string(60, 'a'));
    d.doc.CurField = 0;
    d.doc.CurLine = 0;
    d.doc.CurChar = 30;
    d.Layout();
    EXPECT_EQ(d.doc.CurLine, 1);
    EXPECT_EQ(d.doc.CurChar, 5);
    d.Layout();  // joining and breaking again
    EXPECT_EQ(d.doc.CurLine, 1);
    EXPECT_EQ(d.doc.CurChar, 5);
}

std::vector<TCharRec> Letters(std::string_view text) {
    std::vector<TCharRec> chars;
    for (char c : text)
        chars.push_back(LayoutDoc::Char(static_cast<uint8_t>(c), 1.0, 1.0, 0));
    return chars;
}

std::string Spelled(const std::vector<TCharRec>& chars) {
    std::string text;
    for (const TCharRec& ch : chars)
        text += Cp1252Encode(std::u32string(1, ch.Code))[0];
    return text;
}

TEST(LineText, HandsOverWholePiecesAndCopiesOnlyPartsOfThem) {
    std::vector<std::vector<TCharRec>> joined;
    joined.push_back(Letters("def"));
    joined.push_back({});
    joined.push_back(Letters("ghij"));
    std::vector<TCharRec> own = Letters("abc");
    const TCharRec* ownData = own.data();
    TLineText text(std::move(own), std::move(joined));
    ASSERT_EQ(text.Size(), 10u);
    EXPECT_EQ(text.Chars()[3]->Code, 'd');
    // The first line coincides with the line's own array: it gets that very array.
    std::vector<TCharRec> first = text.TakeFront(3);
    EXPECT_EQ(first.data(), ownData);
    EXPECT_EQ(Spelled(first), "abc");
    EXPECT_EQ(Spelled(text.TakeFront(2, 1)), "de");  // and "f" dropped, as a kept end
    EXPECT_EQ(text.Size(), 4u);
    text.Append(Letters("kl"));
    EXPECT_EQ(Spelled(text.TakeFront(4)), "ghij");
    EXPECT_EQ(Spelled(text.TakeFront(text.Size())), "kl");
    EXPECT_EQ(text.Size(), 0u);
    EXPECT_TRUE(text.TakeFront(0).empty());
}

TEST(Relayout, ANarrowerPageBreaksJoinedLinesAsAFreshLayoutWould) {
    const std::string words = "one two three four five six seven eight nine ten eleven twelve";
    auto build = [&](LayoutDoc& d) {
        for (int i = 0; i < 4; ++i) {
            TLineRec& line = d.Add(words + (i == 1 ? "\x0D" : "") + words);
            line.InTable = i == 1;  // one kept paragraph end
            line.Para.SpaceAfter = 1.0;
        }
    };
    LayoutDoc relaid(70.0, 300.0);
    build(relaid);
    relaid.Layout();
    relaid.doc.Fields[0].Right = 43.0;
    relaid.Layout();
    LayoutDoc fresh(43.0, 300.0);
    build(fresh);
    fresh.Layout();
    EXPECT_EQ(TextsOf(relaid.doc.Fields[0]), TextsOf(fresh.doc.Fields[0]));
    EXPECT_EQ(relaid.Lines().size(), fresh.Lines().size());
    relaid.doc.Fields[0].Right = 70.0;
    relaid.Layout();
    LayoutDoc wide(70.0, 300.0);
    build(wide);
    wide.Layout();
    EXPECT_EQ(TextsOf(relaid.doc.Fields[0]), TextsOf(wide.doc.Fields[0]));
}

}  // namespace
}  // namespace qm
