// Fields in the text: of a field only its result is shown, also when fields nest inside a
// result or inside a code, and marks without a field around them do no harm.
#include <gtest/gtest.h>

#include "word_import_util.h"

namespace qm::testing {
namespace {

TEST(WordImportFields, AFieldInsideAResultShowsItsOwnResult) {
    // A table of contents entry: a hyperlink's result holds a page reference.
    TWordBuilder b;
    b.FieldBegin().Text(u" HYPERLINK \\l _Toc1 ").FieldSeparator().Text(u"Intro\t");
    b.FieldBegin().Text(u" PAGEREF _Toc1 \\h ").FieldSeparator().Text(u"3").FieldEnd();
    b.Text(u" end").FieldEnd().Text(u" after").Paragraph();
    EXPECT_EQ(BodyOf(b), "Intro\t3 end after\n");
}

TEST(WordImportFields, AFieldInsideACodeIsPartOfThatCode) {
    // { IF { PAGE } = 2 "even" "odd" }: the inner field's result and the rest of the outer code
    // are code; only the outer result shows.
    TWordBuilder b;
    b.Text(u"page ").FieldBegin().Text(u" IF ");
    b.FieldBegin().Text(u" PAGE ").FieldSeparator().Text(u"2").FieldEnd();
    b.Text(u" = 2 \"even\" \"odd\" ").FieldSeparator().Text(u"even").FieldEnd();
    b.Text(u"!").Paragraph();
    EXPECT_EQ(BodyOf(b), "page even!\n");
}

TEST(WordImportFields, FieldsNestSeveralLevelsDeepAndWithoutResults) {
    // A field without a separator has no result; a code three levels deep stays hidden.
    TWordBuilder b;
    b.Text(u"a").FieldBegin().Text(u" SET x ");
    b.FieldBegin().Text(u" QUOTE ").FieldBegin().Text(u" DATE ").FieldSeparator();
    b.Text(u"today").FieldEnd().FieldSeparator().Text(u"quoted").FieldEnd();
    b.FieldEnd().Text(u"b");
    b.FieldBegin().Text(u" REF x ").FieldSeparator();
    b.FieldBegin().Text(u" PAGE ").FieldSeparator().Text(u"1").FieldEnd();
    b.FieldBegin().Text(u" PAGE ").FieldSeparator().Text(u"2").FieldEnd();
    b.FieldEnd().Text(u"c").Paragraph();
    EXPECT_EQ(BodyOf(b), "ab12c\n");
}

TEST(WordImportFields, MarksOutsideAFieldAreDroppedWithoutEffect) {
    TWordBuilder b;
    b.Text(u"a").FieldEnd().Text(u"b").FieldSeparator().Text(u"c");
    // A second separator does not end the result early nor start a code again.
    b.Field(u" PAGE ",
            u"1\x14"
            u"2")
        .Text(u"d")
        .Paragraph();
    EXPECT_EQ(BodyOf(b), "abc12d\n");
}

TEST(WordImportFields, AFieldLeftOpenAtTheEndOfAStoryEndsThere) {
    // The main text ends inside a field's code; the header's text is shown all the same.
    TWordBuilder b;
    b.Para(u"Body").FieldBegin().FieldBegin().Text(u" PAGE ").Paragraph();
    b.Story(THeaderStory::OddHeader).Para(u"Head");
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Body\n\n");
    EXPECT_EQ(FieldText(doc, 5), "Head\n");
}

TEST(WordImportFields, FieldsIn16BitTextNestAsIn8BitText) {
    TWordBuilder b;
    b.Wide(true).FieldBegin().Text(u" IF ").Field(u" PAGE ", u"2").Text(u" = 2 ");
    b.FieldSeparator().Text(u"\u201Ceven\u201D").FieldEnd().Paragraph();
    EXPECT_EQ(BodyOf(b),
              "\x93"
              "even\x94\n");
}

}  // namespace
}  // namespace qm::testing
