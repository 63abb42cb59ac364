// Word 6 and Word 95 documents: the older header and property codes, the code pages of their
// 8-bit text, fast-saved pieces with their own modifiers, and the refusal of Word 2 files.
#include <gtest/gtest.h>

#include "builder/word6_builder.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

TImportResult Import6(TDocument& doc, const TWord6Builder& b, TMessageSink* messages = nullptr) {
    EnsureHeaderFooterFields(doc);
    return ImportWordBytes(doc, b.Build(), nullptr, messages, TImportOptions{false, {}});
}

std::u32string LineCodes(const TDocument& doc, size_t line) {
    std::u32string codes;
    for (const TCharRec& ch : doc.Fields[0].Lines.at(line).Chars)
        codes.push_back(ch.Code);
    return codes;
}

TEST(Word6Import, TheOlderPropertyCodesGiveTheSameFormatsAsWord97Ones) {
    TWord6Builder b;
    b.Font("Times New Roman").Font("Arial");
    b.Text("plain ").Text("bold", sprm6::Bold() + sprm6::Size(28)).Paragraph(sprm6::Justify(1));
    b.Text("Ital", sprm6::Italic() + sprm6::FontNumber(1));
    // A single line of 1.5 points (two widths of 3/4 point) above an indented paragraph.
    b.Paragraph(sprm6::IndentLeft(720) + sprm6::BorderTop(0x0008 | 2));
    b.LastSection(sprm6::PageSize(11906, 16838));
    TDocument doc;
    ASSERT_TRUE(Import6(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "plain bold\nItal\n");
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'p')).Style, 0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'b')).Style, kStyleBold);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'b')).Size, 14.0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'I')).Style, kStyleItalic);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'I')).Name, "Arial");
    EXPECT_EQ(doc.Fields[0].Lines[0].Para.Align, 1);
    const TParaFormat& second = doc.Fields[0].Lines[1].Para;
    EXPECT_NEAR(second.LeftIndent, 12.7, 0.01);
    EXPECT_DOUBLE_EQ(second.BorderWidth[0], 1.5);
    EXPECT_NEAR(doc.PageWidthMM, 210.0, 0.1);
}

TEST(Word6Import, EightBitTextIsReadInTheCodePageOfItsFontOrLanguage) {
    TWord6Builder b;
    b.Language(0x0419)  // Russian: text in fonts of the ANSI set is Windows-1251
        .Font("Times New Roman")
        .Font("Times New Roman Cyr", 204)
        .Font("Times New Roman Greek", 161)
        .Font("Times New Roman Baltic", 186)
        .Font("MS Mincho", 128);
    b.Text("\xCF\xF0\xE8", sprm6::FontNumber(0)).Text("\xE2\xE5\xF2", sprm6::FontNumber(1));
    b.Text("\xC1", sprm6::FontNumber(2)).Text("\xC8", sprm6::FontNumber(3)).Text("A");
    // Shift JIS stores a Japanese character in two bytes: each shows as '?' and is told of.
    b.Text("\x82\xA0", sprm6::FontNumber(4)).Paragraph();
    TDocument doc;
    const TImportResult r = Import6(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(LineCodes(doc, 0), U"\u041F\u0440\u0438\u0432\u0435\u0442\u0391\u010CA??");
    ASSERT_EQ(r.Notices.Items().size(), 1u);
    EXPECT_EQ(r.Notices.Items()[0].Count, 2);
    EXPECT_EQ(r.Notices.Items()[0].Kind, TNoticeKind::CharacterShown);

    // A Western document: the same byte is a Latin letter.
    TWord6Builder western;
    western.Version(104).Text("caf\xE9").Paragraph();
    TDocument doc2;
    ASSERT_TRUE(Import6(doc2, western).Converted);
    EXPECT_EQ(LineCodes(doc2, 0), U"caf\u00E9");
}

TEST(Word6Import, FastSavedPiecesAreReadInOrderWithTheirModifiers) {
    TWord6Builder b;
    const uint16_t italicList = b.PieceList(sprm6::Italic());
    b.Text("one ");
    // A single modifier: sprmCFBold (85) with operand 1; a complex one names a list by index.
    b.Piece(static_cast<uint16_t>((85 << 1) | (1 << 8))).Text("two ");
    b.Piece(static_cast<uint16_t>((italicList << 1) | 1)).Text("three").Paragraph();
    TDocument doc;
    ASSERT_TRUE(Import6(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "one two three\n");
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'o')).Style, 0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'w')).Style, kStyleBold);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'h')).Style, kStyleItalic);
}

TEST(Word6Import, Word2FilesAreRefusedByName) {
    // Word 2 wrote a plain file starting with its own identification word.
    std::vector<uint8_t> word2(1024, 0);
    word2[0] = 0xDB;
    word2[1] = 0xA5;
    word2[2] = 0x2D;
    TDocument doc;
    TRecordingMessages messages;
    const TImportResult r = ImportWordBytes(doc, word2, nullptr, &messages, TImportOptions{false, {}});
    EXPECT_FALSE(r.Converted);
    EXPECT_EQ(r.Kind, TErrorKind::Unsupported);
    EXPECT_EQ(r.Message, "Word 2 documents are not supported.");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].first, r.Message);
    // Any other file that is no compound file keeps the old words.
    word2[0] = 0;
    EXPECT_EQ(ImportWordBytes(doc, word2, nullptr, nullptr, TImportOptions{false, {}}).Message,
              "Can not open docfile!");
}

}  // namespace
}  // namespace qm::testing
