#include "model/document.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(DocumentModel, StartsWithOneEmptyA4Page) {
    TDocument doc;
    EXPECT_EQ(doc.PageWidthMM, 210.0);
    EXPECT_EQ(doc.PageHeightMM, 297.0);
    EXPECT_EQ(doc.PrinterDPI, 600);
    EXPECT_EQ(doc.PageWidthPx, 4960);  // Trunc(210 / 25.39995 * 600)
    EXPECT_EQ(doc.PageHeightPx, 7015);
    EXPECT_EQ(doc.Zoom, 100.0);
    ASSERT_GE(doc.FieldCount(), 1);
    const TFieldRec& body = doc.Fields[0];
    EXPECT_EQ(body.Kind, kFieldBody);
    EXPECT_EQ(body.MarginLeft, 25.0);
    EXPECT_EQ(body.MarginBottom, 25.0);
    EXPECT_EQ(body.BottomFromBottom, 1);
    EXPECT_EQ(body.RightFromRight, 1);
    EXPECT_EQ(body.PrevField, -1);
    EXPECT_EQ(body.LineCount(), 1);
    EXPECT_EQ(doc.GetAnzPages(), 1);
}

TEST(DocumentModel, FreshLineHasItsDefaults) {
    TDocument doc;
    doc.InsertNewLine(0, 0);
    const TLineRec& line = doc.Fields[0].Lines[0];
    EXPECT_EQ(line.CellsInRow, 1);
    EXPECT_EQ(line.ColumnSpacing, 12.5);
    EXPECT_EQ(line.Para.DefaultTabWidth, 12.5);
    EXPECT_EQ(line.Para.ListIndent, 6.3);
    EXPECT_EQ(line.Para.LineSpacing, 1.0);
    EXPECT_EQ(line.Para.LineSpacingRule, 0);
    EXPECT_EQ(line.EndKind, 0);
}

TEST(DocumentModel, InsertNewLineShiftsTheLinesBehind) {
    TDocument doc;
    doc.Fields[0].Lines[0].EndKind = 3;
    doc.InsertNewLine(0, 0);
    ASSERT_EQ(doc.Fields[0].LineCount(), 2);
    EXPECT_EQ(doc.Fields[0].Lines[0].EndKind, 0);
    EXPECT_EQ(doc.Fields[0].Lines[1].EndKind, 3);
}

TEST(DocumentModel, FontEntriesAreSharedOnlyWhenEveryMemberIsEqual) {
    TDocument doc;
    TFontRec a = doc.DefaultFontRec();
    const int32_t first = doc.GetNewFontIndex(a);
    EXPECT_EQ(doc.GetNewFontIndex(a), first);
    TFontRec lower = a;
    lower.Name = "times new roman";
    const int32_t other = doc.GetNewFontIndex(lower);
    EXPECT_NE(other, first);
    TFontRec bigger = a;
    bigger.Size = 12.5;
    EXPECT_NE(doc.GetNewFontIndex(bigger), first);
    EXPECT_EQ(doc.GetNewFontIndex(lower), other);
    TFontRec empty = a;
    empty.Name.clear();
    EXPECT_EQ(doc.Fonts[doc.GetNewFontIndex(empty)].Name, "");
}

TEST(DocumentModel, NewCharInsertsAtTheCursorWithoutMovingIt) {
    TDocument doc;
    TCharRec* ch = doc.NewChar();
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->Code, 'a');
    EXPECT_EQ(ch->Kind, 0);
    EXPECT_EQ(doc.Fonts[ch->FontIndex], doc.DefaultFontRec());
    ch->Code = 'x';
    // Without advancing the cursor the next character goes in front of the first.
    doc.NewChar()->Code = 'y';
    const auto& chars = doc.Fields[0].Lines[0].Chars;
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].Code, 'y');
    EXPECT_EQ(chars[1].Code, 'x');
    EXPECT_EQ(doc.CurChar, 0);
}

TEST(DocumentModel, NewCharBelowTheLastLineOpensALine) {
    TDocument doc;
    doc.CurLine = doc.Fields[0].LineCount();
    ASSERT_NE(doc.NewChar(), nullptr);
    EXPECT_EQ(doc.Fields[0].LineCount(), 2);
    EXPECT_EQ(doc.Fields[0].Lines[1].CharCount(), 1);
}

TEST(DocumentModel, NewCharRefusesACursorThatNamesNothing) {
    TDocument doc;
    doc.CurField = doc.FieldCount();
    EXPECT_EQ(doc.NewChar(), nullptr);
    doc.CurField = 0;
    doc.CurLine = 5;
    EXPECT_EQ(doc.NewChar(), nullptr);
    doc.CurLine = 0;
    doc.CurChar = 1;  // the line is empty
    EXPECT_EQ(doc.NewChar(), nullptr);
    doc.CurChar = -1;
    EXPECT_EQ(doc.NewChar(), nullptr);
    EXPECT_EQ(doc.Fields[0].LineCount(), 1);
    EXPECT_EQ(doc.Fields[0].Lines[0].CharCount(), 0);
}

TEST(DocumentModel, LaterPagesCopyTheFirstPageGeometryWithoutLinesOrLinks) {
    TDocument doc;
    doc.Fields[0].MarginLeft = 31.0;
    doc.Fields[0].NextField = 7;
    doc.NewPage(false);
    const TFieldRec& page = doc.Fields.back();
    EXPECT_EQ(page.MarginLeft, 31.0);
    EXPECT_EQ(page.RightFromRight, 1);
    EXPECT_EQ(page.LineCount(), 0);
    EXPECT_EQ(page.PrevField, -1);
    EXPECT_EQ(page.NextField, -1);
    doc.NewPage(true);
    EXPECT_EQ(doc.Fields.back().LineCount(), 1);
}

// Two chained page bodies: field 0 (3 lines) -> new field (2 lines).
static int32_t MakeTwoPageChain(TDocument& doc) {
    doc.Fields[0].Lines.resize(3);
    doc.NewPage(false);
    const int32_t second = doc.FieldCount() - 1;
    doc.Fields[second].Lines.resize(2);
    doc.Fields[second].PageNo = 1;
    doc.Fields[0].NextField = second;
    doc.Fields[second].PrevField = 0;
    return second;
}

TEST(DocumentModel, GoToLineFollowsTheChainBothWays) {
    TDocument doc;
    const int32_t second = MakeTwoPageChain(doc);
    int32_t f = second, l = -1;
    doc.GoToLine(f, l);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(l, 2);
    f = 0;
    l = 4;
    doc.GoToLine(f, l);
    EXPECT_EQ(f, second);
    EXPECT_EQ(l, 1);
    // Past the end of the last page it stays past the end.
    f = second;
    l = 2;
    doc.GoToLine(f, l);
    EXPECT_EQ(f, second);
    EXPECT_EQ(l, 2);
    EXPECT_EQ(doc.GetAnzPages(), 2);
}

TEST(DocumentModel, GoToLineEndsOnABrokenChain) {
    TDocument doc;
    doc.Fields[0].NextField = 0;  // a cycle
    int32_t f = 0, l = 100;
    doc.GoToLine(f, l);
    EXPECT_EQ(f, 0);
}

TEST(DocumentModel, CharactersCopyTheirParagraphFormat) {
    TCharRec mark;
    mark.Code = 13;
    TParaFormat para;
    para.Tabs.push_back({10.0, 2, 1});
    mark.ParaCopy = DeepPtr<TParaFormat>(para);
    TCharRec copy = mark;
    copy.ParaCopy->Tabs[0].Pos = 20.0;
    EXPECT_EQ(mark.ParaCopy->Tabs[0].Pos, 10.0);
    TDocument::freezeichen(copy);
    EXPECT_FALSE(copy.ParaCopy);
    EXPECT_TRUE(mark.ParaCopy);
}

TEST(DocumentModel, ResetEmptiesTheModel) {
    TDocument doc;
    doc.NewChar()->Code = 'q';
    doc.PageWidthMM = 100;
    TDib picture;
    ASSERT_TRUE(newdib(picture, 2, 2, 24, nullptr, 0));
    doc.BilderListe.push_back(picture);
    doc.Reset();
    EXPECT_EQ(doc.BildCount(), 0);
    EXPECT_EQ(doc.Fields[0].Lines[0].CharCount(), 0);
    EXPECT_EQ(doc.PageWidthMM, 210.0);
    EXPECT_EQ(doc.FontCount(), 0);
}

TEST(AttributeBits, SetClearAndTest) {
    uint16_t word = 0;
    SettingOps(word, 11, true);
    SettingOps(word, 0, true);
    EXPECT_EQ(word, 0x0801);
    EXPECT_TRUE(GettingOps(word, 11));
    SettingOps(word, 11, false);
    EXPECT_EQ(word, 0x0001);
    uint8_t byte = 0xFF;
    SettingOpsB(byte, 7, false);
    EXPECT_EQ(byte, 0x7F);
    EXPECT_FALSE(GettingOpsB(byte, 7));
    EXPECT_TRUE(GettingOpsB(byte, 6));
}

}  // namespace
}  // namespace qm
