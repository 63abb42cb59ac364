// Counting the characters no installed face can draw.
#include <gtest/gtest.h>

#include "model/missing_glyphs.h"

namespace qm {
namespace {

class MissingGlyphs : public ::testing::Test {
  protected:
    // Appends characters in a font entry to the body's first line.
    void Add(std::u32string_view codes, const TFontRec& font, uint8_t kind = 0) {
        const int32_t index = doc.GetNewFontIndex(font);
        for (char32_t code : codes) {
            TCharRec ch;
            ch.Kind = kind;
            ch.Code = code;
            ch.FontIndex = index;
            doc.Fields[0].Lines.at(0).Chars.push_back(ch);
        }
    }
    TFontRec Named(const char* name) {
        TFontRec font = doc.DefaultFontRec();
        font.Name = name;
        return font;
    }
    TDocument doc;
};

TEST_F(MissingGlyphs, OnlyCharactersNoFaceHoldsAreCountedAndReported) {
    // Latin, Cyrillic, Hebrew, an ideograph (from a fallback face), a Symbol bullet, controls.
    Add(U"Ab\u0416\u05D0\u4E2D\t\r", Named("Times New Roman"));
    Add(U"\uF0B7\uF061", Named("Symbol"));
    TNotices notices;
    ReportMissingGlyphs(doc, notices);
    EXPECT_TRUE(notices.Empty());
    // Two codes no face holds, one of them twice, and one in the first line of a header field.
    Add(U"\U0010FFFDx\U000F0000\U0010FFFD", Named("Arial"));
    EXPECT_EQ(CountMissingGlyphs(doc), 3);
    ASSERT_GE(doc.FieldCount(), 2);
    TLineRec line;
    TCharRec ch;
    ch.Code = 0xF0000;
    line.Chars.push_back(ch);
    doc.Fields[1].Lines.push_back(line);
    ReportMissingGlyphs(doc, notices);
    ASSERT_EQ(notices.Items().size(), 1u);
    EXPECT_EQ(notices.Items()[0].Kind, TNoticeKind::CharacterShown);
    EXPECT_EQ(notices.Sentences(),
              std::vector<std::string>{"4 characters have no glyph in the installed fonts."});
    // Repeats fold into one count, and one character reads in the singular.
    ReportMissingGlyphs(doc, notices);
    EXPECT_EQ(notices.Items()[0].Count, 8);
    TNotices single;
    TDocument other;
    ch.FontIndex = other.GetNewFontIndex(other.DefaultFontRec());
    other.Fields[0].Lines.at(0).Chars.push_back(ch);
    ReportMissingGlyphs(other, single);
    EXPECT_EQ(single.Sentences(),
              std::vector<std::string>{"1 character has no glyph in the installed fonts."});
}

TEST_F(MissingGlyphs, PicturesAndCapitalsCountAsTheyAreShown) {
    // A picture's code is not text; capitals of ASCII letters are shown, and found, as such.
    Add(U"\U0010FFFD", Named("Times New Roman"), 1);
    TFontRec caps = Named("Times New Roman");
    caps.Attrib = kAttribSmallCaps;
    Add(U"abc\u0436", caps);
    EXPECT_EQ(CountMissingGlyphs(doc), 0);
}

}  // namespace
}  // namespace qm
