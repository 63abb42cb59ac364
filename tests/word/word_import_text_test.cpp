// Reading the text: pieces, the character set, control codes, fields, sections and the header
// and footer stories.
#include <gtest/gtest.h>

#include "word_import_util.h"

namespace qm::testing {
namespace {

TEST(WordImportText, ACpOnAPieceBoundaryBelongsToTheLaterPiece) {
    // CP 2 starts the 16-bit piece. Read through the 8-bit piece before it, its first byte
    // would be 0x60; as UTF-16 it is U+0160, Windows-1252 0x8A.
    TWordBuilder b;
    b.Text(u"AB").Wide(true).Text(u"\u0160b").Wide(false).Text(u"cd").Paragraph();
    EXPECT_EQ(BodyOf(b),
              "AB\x8A"
              "bcd\n");
}

TEST(WordImportText, SixteenBitTextIsConvertedToWindows1252) {
    TWordBuilder b;
    b.Wide(true)
        .Text(u"\u201Cq\u201D \u2018s\u2019 \u2013\u2014 \u20AC \u00DF\u00E9 \u2026")
        .Paragraph();
    EXPECT_EQ(BodyOf(b), "\x93q\x94 \x91s\x92 \x96\x97 \x80 \xDF\xE9 \x85\n");
}

TEST(WordImportText, CharactersWindows1252CannotHoldBecomeQuestionMarks) {
    TWordBuilder b;
    // Cyrillic, Greek, CJK, a private-use symbol, and a C1 control unit.
    b.Wide(true).Text(u"\u0416\u03A9\u4E2D\uF0B7\u0085").Paragraph();
    EXPECT_EQ(BodyOf(b), "?????\n");
}

// The code points of the body's first line.
std::u32string FirstLineCodes(const TDocument& doc) {
    std::u32string codes;
    for (const TCharRec& ch : doc.Fields[0].Lines.at(0).Chars)
        codes.push_back(ch.Code);
    return codes;
}

TEST(WordImportText, SixteenBitTextReachesTheModelAsCodePoints) {
    // Cyrillic, Greek, CJK, a letter Windows-1252 has, and a character beyond 16 bits stored as
    // a surrogate pair: one character, not two.
    TWordBuilder b;
    b.Wide(true).Text(u"\u0416\u03A9\u4E2D\u20AC\U0001F600!").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FirstLineCodes(doc), U"\u0416\u03A9\u4E2D\u20AC\U0001F600!");
    // Each is kept as it is: the import itself has nothing to tell about them.
    EXPECT_TRUE(r.Notices.Empty());
}

TEST(WordImportText, UnpairedSurrogatesStayOneCharacterEach) {
    // A high surrogate before a letter, a low one alone, and a high one at the paragraph's end.
    TWordBuilder b;
    b.Wide(true).Text(u"a").Text(std::u16string{0xD83D, u'b', 0xDE00, u'c', 0xD83D}).Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FirstLineCodes(doc), (std::u32string{U'a', 0xD83D, U'b', 0xDE00, U'c', 0xD83D}));
    EXPECT_EQ(FieldText(doc, 0), "a?b?c?\n");
}

TEST(WordImportText, QuestionMarksOfTheTextAndHiddenCharactersAreNotCounted) {
    TWordBuilder b;
    b.Wide(true).Text(u"Why? \u20AC ").Text(u"\u0416", sprm::FieldHidden()).Text(u"\u00E9");
    b.Field(u" QUOTE \u0416 ", u"x").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FieldText(doc, 0), "Why? \x80 \xE9x\n");
    EXPECT_TRUE(r.Notices.Empty());
}

TEST(WordImportText, ControlCodesKeepTheirMeaningIn16BitText) {
    // U+0113 and U+0114 must not be taken for field marks (0x13, 0x14) nor U+010D for a
    // paragraph end: they are letters Windows-1252 does not have.
    TWordBuilder b;
    b.Wide(true).Text(u"a\u0113b\u010Dc\u0114d\td").Paragraph().Text(u"e\u000Bf").Paragraph();
    EXPECT_EQ(BodyOf(b), "a?b?c?d\td\ne\vf\n");
}

TEST(WordImportText, EightBitTextIsWindows1252Already) {
    TWordBuilder b;
    b.Text(u"\x93quoted\x94 \x80").Paragraph();
    EXPECT_EQ(BodyOf(b), "\x93quoted\x94 \x80\n");
}

TEST(WordImportText, OfAFieldOnlyItsResultAndTabsInItsCodeAreKept) {
    TWordBuilder b;
    b.Text(u"Page ").Field(u" PAGE ", u"3").Text(u" of ").Field(u" NUMPAGES\t", u"9");
    b.Paragraph();
    EXPECT_EQ(BodyOf(b), "Page 3 of \t9\n");
}

TEST(WordImportText, FieldHiddenCharactersAreDropped) {
    TWordBuilder b;
    b.Text(u"shown ").Text(u"hidden", sprm::FieldHidden()).Text(u"also").Paragraph();
    EXPECT_EQ(BodyOf(b), "shown also\n");
}

TEST(WordImportText, OptionalHyphensAreSoftAndNonBreakingHyphensBecomeHyphens) {
    TWordBuilder b;
    b.Text(
         u"co\x1Fop non\x1E"
         u"breaking")
        .Paragraph();
    b.Wide(true).Text(u"wide\x1Fsoft").Paragraph();
    EXPECT_EQ(BodyOf(b), "co\xADop non-breaking\nwide\xADsoft\n");
}

TEST(WordImportText, ACellMarkOutsideATableEndsTheParagraph) {
    // Properties that do not fit the text can leave cell marks outside any table row: what
    // stands on either side of one is kept apart, not run together.
    TWordBuilder b;
    b.Text(u"left\x07right").Paragraph();
    EXPECT_EQ(BodyOf(b), "left\nright\n");
}

TEST(WordImportText, LineAndPageBreaksEndLinesWithTheirKind) {
    TWordBuilder b;
    b.Text(u"one\vtwo\fthree").Paragraph();
    EXPECT_EQ(BodyOf(b), "one\vtwo\fthree\n");
}

TEST(WordImportText, OtherControlCodesAreDropped) {
    TWordBuilder b;
    b.Text(std::u16string(u"a\x00"
                          u"b\x02"
                          u"c\x05"
                          u"d\x08"
                          u"e\x0E"
                          u"f\x1D"
                          u"g",
                          13))
        .Paragraph();
    EXPECT_EQ(BodyOf(b), "abcdefg\n");
}

TEST(WordImportText, AContinuousSectionBreakEndsNoLine) {
    TWordBuilder b;
    b.Text(u"first").SectionBreak({}).LastSection(sprm::BreakKind(0)).Text(u" second").Paragraph();
    EXPECT_EQ(BodyOf(b), "first second\n");
}

TEST(WordImportText, ANewPageSectionBreakEndsTheLineLikeAPageBreak) {
    TWordBuilder b;
    b.Text(u"first").SectionBreak({}).LastSection(sprm::BreakKind(2)).Text(u"second").Paragraph();
    EXPECT_EQ(BodyOf(b), "first\fsecond\n");
}

TEST(WordImportText, TheSectionAfterABreakSetsTheColumnsOfLaterLines) {
    TWordBuilder b;
    b.Para(u"one column").SectionBreak({});
    b.LastSection(sprm::BreakKind(0) + sprm::Columns(3, 360, 1)).Para(u"three columns");
    TDocument doc;
    Import(doc, b);
    ASSERT_GE(doc.Fields[0].LineCount(), 2);
    EXPECT_EQ(doc.Fields[0].Lines[0].ColumnCount, 1);
    const TLineRec& later = doc.Fields[0].Lines[1];
    EXPECT_EQ(LineText(later), "three columns");
    EXPECT_EQ(later.ColumnCount, 3);
    EXPECT_DOUBLE_EQ(later.ColumnSpacing, TwipsToMm(360));
    EXPECT_EQ(later.ColumnSeparator, 1);
}

TWordBuilder WithHeadersAndFooters() {
    TWordBuilder b;
    b.Para(u"Body");
    b.Story(THeaderStory::EvenHeader).Para(u"even head");
    b.Story(THeaderStory::OddHeader).Para(u"odd head");
    b.Story(THeaderStory::EvenFooter).Para(u"even foot");
    b.Story(THeaderStory::OddFooter).Wide(true).Para(u"odd \u2013 foot");
    b.Story(THeaderStory::FirstHeader).Wide(false).Para(u"first head");
    b.Story(THeaderStory::FirstFooter).Para(u"first foot");
    return b;
}

TEST(WordImportText, HeaderAndFooterStoriesGoToTheirFields) {
    TDocument doc;
    EXPECT_TRUE(Import(doc, WithHeadersAndFooters()).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Body\n");
    EXPECT_EQ(FieldText(doc, 1), "first head\n");
    EXPECT_EQ(FieldText(doc, 2), "first foot\n");
    EXPECT_EQ(FieldText(doc, 3), "even head\n");
    EXPECT_EQ(FieldText(doc, 4), "even foot\n");
    EXPECT_EQ(FieldText(doc, 5), "odd head\n");
    EXPECT_EQ(FieldText(doc, 6), "odd \x96 foot\n");
}

TEST(WordImportText, WithoutAHeaderStoryTableThereAreNoHeadersOrFooters) {
    TWordBuilder b = WithHeadersAndFooters();
    b.Options().HeaderTable = false;  // lcbPlcfhdd = 0
    TDocument doc;
    EXPECT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Body\n");
    for (int field = 1; field <= 6; ++field)
        EXPECT_EQ(FieldText(doc, field), "") << field;
}

TEST(WordImportText, AHeaderStoryTableOfOnlyTheSeparatorsGivesNoHeaders) {
    TWordStreams streams = WithHeadersAndFooters().BuildStreams();
    PutU32(streams.WordDocument, 0xF6, 7 * 4);  // six stories: the separators only
    TDocument doc;
    EXPECT_TRUE(ImportStreams(doc, streams).Converted);
    for (int field = 1; field <= 6; ++field)
        EXPECT_EQ(FieldText(doc, field), "") << field;
}

TEST(WordImportText, AModelWithoutHeaderFieldsStillGetsItsBody) {
    TDocument doc;
    doc.Fields.resize(1);  // only the first page body
    EXPECT_TRUE(ImportWordBytes(doc, WithHeadersAndFooters().Build(), nullptr, nullptr).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Body\n");
}

TEST(WordImportText, ASecondImportGoesInAtTheStart) {
    TDocument doc;
    Import(doc, TWordBuilder().Para(u"old"));
    Import(doc, TWordBuilder().Text(u"new "));
    EXPECT_EQ(LineText(doc.Fields[0].Lines[0]), "new old");
}

TEST(WordImportText, ABrokenPieceTableStopsTheTextWithoutHarm) {
    TWordBuilder b;
    b.Para(u"Hello world");
    TWordStreams streams = b.BuildStreams();
    // Point the piece far outside the main stream, then give it a huge CP range.
    const uint32_t fcClx = streams.WordDocument[0x1A2] | (streams.WordDocument[0x1A3] << 8);
    PutU32(streams.Table, fcClx + 5 + 8 + 2, 0x40000000 | 0x3FFFFFF0);
    TDocument doc;
    EXPECT_TRUE(ImportStreams(doc, streams).Converted);
    EXPECT_EQ(FieldText(doc, 0), "");
    PutU32(streams.Table, fcClx + 5 + 8 + 2, 0x40000000 | (0x400 * 2));
    PutU32(streams.Table, fcClx + 5 + 4, 0xFFFFFFF0);
    PutU32(streams.WordDocument, 0x4C, 0xFFFFFFF0);
    TDocument doc2;
    EXPECT_TRUE(ImportStreams(doc2, streams).Converted);
    EXPECT_EQ(FieldText(doc2, 0).substr(0, 12), "Hello world\n");
}

}  // namespace
}  // namespace qm::testing
