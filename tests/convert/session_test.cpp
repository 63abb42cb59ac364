#include <gtest/gtest.h>

#include <sstream>

#include "base/cp1252.h"
#include "app/conversion_session.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"
#include "pdf/pdf_canvas.h"

namespace qm {
namespace {

using TQuietProgress = test::TQuietProgress;
using TMessages = test::TRecordedMessages;

using test::TTempDir;

TEST(Destination, ReplacesTheFileNamesExtensionOnly) {
    EXPECT_EQ(TConversionSession::DestinationFor("/docs/letter.doc"), "/docs/letter.pdf");
    EXPECT_EQ(TConversionSession::DestinationFor("/docs/letter"), "/docs/letter.pdf");
    EXPECT_EQ(TConversionSession::DestinationFor("/my.docs/letter"), "/my.docs/letter.pdf");
    EXPECT_EQ(TConversionSession::DestinationFor("archive.tar.doc"), "archive.tar.pdf");
    EXPECT_EQ(TConversionSession::DestinationFor("Ärger über Öl.DOC"), "Ärger über Öl.pdf");
}

std::string EmptyWriterFile() {
    std::ostringstream out;
    TPDFCanvas writer;
    EXPECT_TRUE(writer.BeginDoc(out));
    EXPECT_TRUE(writer.EndDoc());
    return out.str();
}

TEST(Session, AnEmptyA4DocumentIsTheEmptyFileWithItsPageSize) {
    TWordBuilder builder;
    builder.LastSection(sprm::PageSize(11906, 16838));
    TTempDir dir;
    test::WriteFile(dir / "empty.doc", builder.Build());
    TQuietProgress progress;
    TMessages messages;
    TConversionSession session(progress, messages);
    ASSERT_TRUE(session.openfilenow(dir / "empty.doc").Imported);
    EXPECT_EQ(session.Destination(), dir / "empty.pdf");
    ASSERT_TRUE(session.SavePDFFile(session.Destination()));
    std::string expected = EmptyWriterFile();
    ASSERT_EQ(expected.size(), 696u);
    const size_t box = expected.find("/MediaBox [0 0 594 840]");
    ASSERT_NE(box, std::string::npos);
    expected.replace(box, 23, "/MediaBox [0 0 614 860]");
    EXPECT_EQ(test::ReadFile(session.Destination()), expected);
    EXPECT_EQ(progress.Last, 0);  // the save loop resets the progress display
    EXPECT_TRUE(messages.Shown.empty());
}

TEST(Session, EachImportStartsFromAnEmptyDocument) {
    TTempDir dir;
    TWordBuilder first;
    first.Para(u"first document");
    test::WriteFile(dir / "a.doc", first.Build());
    TWordBuilder second;
    second.Para(u"second");
    test::WriteFile(dir / "b.doc", second.Build());
    TQuietProgress progress;
    TMessages messages;
    TConversionSession session(progress, messages);
    ASSERT_TRUE(session.openfilenow(dir / "a.doc").Imported);
    ASSERT_TRUE(session.openfilenow(dir / "b.doc").Imported);
    std::string text;
    for (const auto& line : session.Document().Fields[0].Lines)
        for (const auto& ch : line.Chars) text.push_back(Cp1252Encode(std::u32string(1, ch.Code))[0]);
    EXPECT_EQ(text.find("first"), std::string::npos);
    EXPECT_NE(text.find("second"), std::string::npos);
}

TEST(Session, RefusalsCarryTheProgramsMessage) {
    TTempDir dir;
    test::WriteFile(dir / "plain.doc", std::string("just some text, not a Word file\n"));
    TQuietProgress progress;
    TMessages messages;
    TConversionSession session(progress, messages);
    const TOpenOutcome outcome = session.openfilenow(dir / "plain.doc");
    EXPECT_FALSE(outcome.Imported);
    EXPECT_FALSE(outcome.Reason.empty());
    ASSERT_FALSE(messages.Shown.empty());
    EXPECT_EQ(messages.Shown[0], "Can not open docfile!");
    // The start page is still there and can be written.
    EXPECT_EQ(session.Document().GetAnzPages(), 1);
}

TEST(Session, MissingFolderCannotBeWritten) {
    TQuietProgress progress;
    TMessages messages;
    TConversionSession session(progress, messages);
    EXPECT_FALSE(session.SavePDFFile("/nonexistent-folder-qm/x.pdf"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0], "Can not create the PDF file.");
}

}  // namespace
}  // namespace qm
