// The stories of a document: the main text and the headers and footers are read; footnotes,
// endnotes, comments and text boxes are not, and each kind left out is told with its count.
// The story lengths of the header decide where every story starts.
#include <gtest/gtest.h>

#include "word/word_dump.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

TEST(WordImportStories, FootnotesAreLeftOutAndCounted) {
    TWordBuilder b;
    b.Text(u"Claim.").Footnote(u"Source one.").Text(u" Another.").Footnote(u"Source two.");
    b.Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    // The reference marks are dropped with the notes.
    EXPECT_EQ(FieldText(doc, 0), "Claim. Another.\n");
    EXPECT_EQ(r.Notices.Sentences(),
              std::vector<std::string>{"2 footnotes were left out: footnotes are not read."});
    ASSERT_EQ(r.Notices.Items().size(), 1u);
    EXPECT_EQ(r.Notices.Items()[0].Kind, TNoticeKind::StorySkipped);
}

TEST(WordImportStories, HeadersAreFoundAfterTheFootnotes) {
    // The header text starts after the main text and the footnotes: a reader that forgot the
    // footnotes would show footnote text in the header.
    TWordBuilder b;
    b.Text(u"Body").Footnote(u"A long footnote that comes first.").Paragraph();
    b.Story(THeaderStory::OddHeader).Para(u"Head");
    b.Story(THeaderStory::FirstFooter).Para(u"Foot");
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Body\n");
    EXPECT_EQ(FieldText(doc, 5), "Head\n");
    EXPECT_EQ(FieldText(doc, 2), "Foot\n");
}

TEST(WordImportStories, EveryKindOfStoryLeftOutIsToldOnce) {
    TWordBuilder b;
    b.Text(u"See").Comment(u"Check this.").Text(u" it").Endnote(u"Later.");
    b.Footnote(u"Below.").Paragraph();
    b.TextBox(u"Boxed").TextBox(u"Also boxed").TextBox(u"Third");
    b.Story(THeaderStory::OddHeader).Para(u"Head");
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FieldText(doc, 0), "See it\n");
    EXPECT_EQ(FieldText(doc, 5), "Head\n");
    EXPECT_EQ(r.Notices.Sentences(),
              (std::vector<std::string>{"1 footnote was left out: footnotes are not read.",
                                        "1 comment was left out: comments are not read.",
                                        "1 endnote was left out: endnotes are not read.",
                                        "3 text boxes were left out: text boxes are not read."}));
}

TEST(WordImportStories, HeadersOfLaterSectionsAreLeftOutAndCounted) {
    TWordBuilder b;
    b.Para(u"one").SectionBreak({}).Para(u"two").SectionBreak({}).Para(u"three");
    b.Story(THeaderStory::OddHeader, 0).Para(u"Head 1");
    b.Story(THeaderStory::OddHeader, 1).Para(u"Head 2");
    b.Story(THeaderStory::FirstFooter, 2).Para(u"Foot 3");
    // The third section's odd header is empty: it takes the one before.
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FieldText(doc, 5), "Head 1\n");
    EXPECT_EQ(FieldText(doc, 2), "");
    EXPECT_EQ(r.Notices.Sentences(),
              std::vector<std::string>{"2 headers and footers of later sections were left out: "
                                       "the first section's stand on every page."});
}

TEST(WordImportStories, AStoryWithoutItsTableCountsAsOne) {
    TWordBuilder b;
    b.Text(u"x").Footnote(u"one").Footnote(u"two").Paragraph();
    TWordStreams streams = b.BuildStreams();
    PutU32(streams.WordDocument, 0xAE, 0);  // lcbPlcffndRef: no reference table
    TDocument doc;
    const TImportResult r = ImportStreams(doc, streams);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(FieldText(doc, 0), "x\n");
    EXPECT_EQ(r.Notices.Sentences(),
              std::vector<std::string>{"1 footnote was left out: footnotes are not read."});
}

TEST(WordImportStories, ADocumentWithMainTextAndHeadersOnlyHasNoNotices) {
    TWordBuilder b;
    b.Para(u"Body").Story(THeaderStory::OddHeader).Para(u"Head");
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_TRUE(r.Notices.Empty()) << r.Notices.Sentences()[0];
}

TEST(WordImportStories, TheDumpListsTheStories) {
    TWordBuilder b;
    b.Text(u"Body").Footnote(u"Note").Paragraph();
    b.TextBox(u"Box");
    const std::string dump = DumpWordDocument(b.Build());
    EXPECT_NE(dump.find("main text: CP 0..5"), std::string::npos) << dump;
    EXPECT_NE(dump.find("footnotes: CP 6..10, 1 items"), std::string::npos) << dump;
    EXPECT_NE(dump.find("text boxes: CP 11..15, 1 items"), std::string::npos) << dump;
}

}  // namespace
}  // namespace qm::testing
