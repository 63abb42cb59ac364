// The document header and the streams: which documents are read, which are refused and how.
#include <gtest/gtest.h>

#include "word/word_dump.h"
#include "word/word_import.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

TWordBuilder Letter() {
    TWordBuilder b;
    b.Para(u"Dear Sir,").Para(u"Thank you.");
    return b;
}

// A model that already holds text, to see that a refusal leaves it alone.
TDocument ModelWithText() {
    TDocument doc;
    EXPECT_TRUE(Import(doc, TWordBuilder().Para(u"Before")).Converted);
    return doc;
}

TEST(WordImportHeader, ReadsAPlainDocumentAndResetsTheCursor) {
    TDocument doc;
    TRecordingMessages messages;
    const TImportResult result = Import(doc, Letter(), &messages);
    EXPECT_TRUE(result.Converted);
    EXPECT_TRUE(result.Message.empty());
    EXPECT_EQ(FieldText(doc, 0), "Dear Sir,\nThank you.\n");
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(doc.CurField, 0);
    EXPECT_EQ(doc.CurLine, 0);
    EXPECT_EQ(doc.CurChar, 0);
    // The import leaves measuring to the layout.
    EXPECT_EQ(doc.Fields[0].Lines[0].Chars[0].Height, 0.0);
    doc.CompleteRefresh();
    EXPECT_GT(doc.Fields[0].Lines[0].Chars[0].Width, 0.0);
    EXPECT_GT(doc.Fields[0].Lines[0].Chars[0].Height, 0.0);
}

TEST(WordImportHeader, EncryptedAndOldDocumentsAreRefusedAndLeaveTheModelAlone) {
    struct TCase {
        const char* Name;
        void (*Damage)(TWordOptions&);
        TErrorKind Kind;
        const char* Message;
    };
    const TCase cases[] = {
        {"encrypted", [](TWordOptions& o) { o.Encrypted = true; }, TErrorKind::Encrypted,
         "This document is password protected."},
        {"Word 95", [](TWordOptions& o) { o.NFib = 104; }, TErrorKind::Unsupported,
         "This Word version is not supported."},
        {"Word 6", [](TWordOptions& o) { o.NFib = 101; }, TErrorKind::Unsupported,
         "This Word version is not supported."},
        {"last before Word 97", [](TWordOptions& o) { o.NFib = 192; }, TErrorKind::Unsupported,
         "This Word version is not supported."},
        {"foreign identification", [](TWordOptions& o) { o.WIdent = 0xA59B; },
         TErrorKind::Unsupported, "This Word version is not supported."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDocument doc = ModelWithText();
        const auto fontsBefore = doc.FontCount();
        TWordBuilder b = Letter();
        c.Damage(b.Options());
        TRecordingMessages messages;
        const TImportResult result = Import(doc, b, &messages);
        EXPECT_FALSE(result.Converted);
        EXPECT_EQ(result.Kind, c.Kind);
        EXPECT_EQ(result.Message, c.Message);
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].first, c.Message);
        EXPECT_EQ(FieldText(doc, 0), "Before\n");
        EXPECT_EQ(doc.FontCount(), fontsBefore);
    }
}

TEST(WordImportHeader, NewerWordVersionsAreRead) {
    TDocument doc;
    TWordBuilder b = Letter();
    b.Options().NFib = 0x0101;  // Word 2002 writes this
    EXPECT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Dear Sir,\nThank you.\n");
}

TEST(WordImportHeader, NotACompoundFileSaysCanNotOpenDocfile) {
    TDocument doc = ModelWithText();
    TRecordingMessages messages;
    const std::string text = "This is a plain text file with a .doc name.\n";
    const TImportResult result =
        ImportWordBytes(doc, std::vector<uint8_t>(text.begin(), text.end()), nullptr, &messages);
    EXPECT_FALSE(result.Converted);
    EXPECT_EQ(result.Message, "Can not open docfile!");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].first, "Can not open docfile!");
    EXPECT_EQ(messages.Shown[0].second, TMessageIcon::Error);
    EXPECT_EQ(FieldText(doc, 0), "Before\n");
}

TEST(WordImportHeader, MissingFileSaysCanNotOpenDocfile) {
    TDocument doc;
    TRecordingMessages messages;
    EXPECT_FALSE(OpenWordFile(doc, std::string("/nonexistent/letter.doc"), nullptr, &messages));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].first, "Can not open docfile!");
}

TEST(WordImportHeader, CompoundFileWithoutWordDocumentIsRefusedSilently) {
    TDocument doc = ModelWithText();
    TRecordingMessages messages;
    const auto file = WriteCompoundFile({{"Workbook", std::vector<uint8_t>(600, 1)}});
    const TImportResult result = ImportWordBytes(doc, file, nullptr, &messages);
    EXPECT_FALSE(result.Converted);
    EXPECT_EQ(result.Kind, TErrorKind::NotWordDocument);
    EXPECT_EQ(result.Message, "This file is not a Word document.");
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(FieldText(doc, 0), "Before\n");
}

TEST(WordImportHeader, TheFlagChoosesTheTableStream) {
    for (bool table1 : {true, false}) {
        SCOPED_TRACE(table1 ? "1Table" : "0Table");
        TDocument doc;
        TWordBuilder b = Letter();
        b.Options().Table1 = table1;
        b.Options().DecoyTableStream = true;  // the other stream holds garbage
        EXPECT_TRUE(Import(doc, b).Converted);
        EXPECT_EQ(FieldText(doc, 0), "Dear Sir,\nThank you.\n");
    }
}

TEST(WordImportHeader, MissingTableStreamIsRefusedSilently) {
    TDocument doc = ModelWithText();
    TWordStreams streams = Letter().BuildStreams();
    streams.TableName = "0Table";  // the header asks for "1Table"
    TRecordingMessages messages;
    const TImportResult result = ImportStreams(doc, streams, &messages);
    EXPECT_FALSE(result.Converted);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(FieldText(doc, 0), "Before\n");
}

TEST(WordImportHeader, MissingDataStreamStillReadsTheText) {
    TDocument doc;
    TWordBuilder b = Letter();
    b.Options().DataStream = false;
    EXPECT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Dear Sir,\nThank you.\n");
}

TEST(WordImportHeader, TruncatedHeaderIsRefused) {
    TDocument doc;
    TWordStreams streams = Letter().BuildStreams();
    streams.WordDocument.resize(600);
    const TImportResult result = ImportStreams(doc, streams);
    EXPECT_FALSE(result.Converted);
    EXPECT_EQ(result.Kind, TErrorKind::Damaged);
}

TEST(WordImportHeader, HugeCountsAndOffsetsAreBoundedByTheStreams) {
    // Every position/length pair of the header points far outside its stream.
    for (size_t offset : {0xA2u, 0xCAu, 0xF2u, 0xFAu, 0x102u, 0x112u, 0x192u, 0x1A2u}) {
        for (uint32_t value : {0xFFFFFFF0u, 0x7FFFFFFFu, 3u}) {
            SCOPED_TRACE(offset);
            TWordStreams streams = Letter().BuildStreams();
            PutU32(streams.WordDocument, offset + 4, value);
            TDocument doc;
            ImportStreams(doc, streams);
            PutU32(streams.WordDocument, offset, value);
            TDocument doc2;
            ImportStreams(doc2, streams);
        }
    }
}

TEST(WordImportHeader, TextLengthBeyondTheStreamEndsAtTheStreamsEnd) {
    TWordStreams streams = Letter().BuildStreams();
    PutU32(streams.WordDocument, 0x4C, 0x7FFFFFF0);  // ccpText
    TDocument doc;
    EXPECT_TRUE(ImportStreams(doc, streams).Converted);
    EXPECT_EQ(FieldText(doc, 0), "Dear Sir,\nThank you.\n");
}

TEST(WordImportHeader, ProgressRunsUpAndEndsAtZero) {
    TDocument doc;
    TRecordingProgress progress;
    TWordBuilder b;
    for (int i = 0; i < 50; ++i)
        b.Para(u"Some words in a line.");
    Import(doc, b, nullptr, &progress);
    ASSERT_GE(progress.Values.size(), 3u);
    EXPECT_EQ(progress.Values.back(), 0);
    EXPECT_TRUE(std::is_sorted(progress.Values.begin(), progress.Values.end() - 1));
    EXPECT_LE(*std::max_element(progress.Values.begin(), progress.Values.end()), 100);
    EXPECT_GE(*std::max_element(progress.Values.begin(), progress.Values.end()), 99);
}

}  // namespace
}  // namespace qm::testing

namespace qm::testing {
namespace {

TEST(WordImportDump, ShowsTheStructureOfADocument) {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Arial");
    b.Para(u"Hello").Wide(true).Para(u"wide");
    const std::string dump = DumpWordDocument(b.Build());
    EXPECT_NE(dump.find("WordDocument"), std::string::npos) << dump;
    EXPECT_NE(dump.find("nFib 193"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Pieces: 2"), std::string::npos) << dump;
    EXPECT_NE(dump.find("(16-bit)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1 Arial"), std::string::npos) << dump;
    EXPECT_EQ(DumpWordDocument({1, 2, 3}).rfind("Not a readable compound file", 0), 0u);
}

}  // namespace
}  // namespace qm::testing
