#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "pdf/pdf_save.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

class TRecordingSinks : public TProgressSink, public TMessageSink {
  public:
    void SetProStatus(int percent) override { Progress.push_back(percent); }
    void ShowMessage(std::string_view text, TMessageIcon icon) override {
        Messages.emplace_back(text);
        Icons.push_back(icon);
    }
    std::vector<int> Progress;
    std::vector<std::string> Messages;
    std::vector<TMessageIcon> Icons;
};

// Pages that write their number; the count may change while drawing, as layout can.
class TNumberedPages : public TPDFPageSource {
  public:
    explicit TNumberedPages(int32_t count) : count_(count) {}
    int32_t PageCount() override { return count_; }
    void DrawPage(TPDFCanvas& canvas, int32_t index) override {
        canvas.Font.Name = "Arial";
        canvas.TextOut(10, 10, "page " + std::to_string(index));
        Drawn.push_back(index);
        if (ThrowOn == index) throw std::runtime_error("drawing failed");
        if (ShrinkTo >= 0) count_ = ShrinkTo;
    }
    std::vector<int32_t> Drawn;
    int32_t ThrowOn = -1;
    int32_t ShrinkTo = -1;

  private:
    int32_t count_;
};

TEST(SavePDFFile, WritesEveryPageAndResetsTheProgress) {
    test::TTempFolder folder;
    TNumberedPages pages(3);
    TRecordingSinks sinks;
    EXPECT_EQ(SavePDFFile(folder.File("a.pdf"), pages, sinks, sinks), TPDFSaveResult::Saved);
    EXPECT_EQ(pages.Drawn, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(sinks.Progress, std::vector<int>{0});
    EXPECT_TRUE(sinks.Messages.empty());
    const std::string pdf = test::ReadFile(folder.File("a.pdf"));
    EXPECT_NE(pdf.find("/Count 3\n"), std::string::npos);
    EXPECT_NE(test::PageContent(pdf, 3).find("(page 2) Tj"), std::string::npos);
}

TEST(SavePDFFile, ADocumentWithoutPagesIsOneEmptyPage) {
    TNumberedPages pages(0);
    TRecordingSinks sinks;
    std::ostringstream out;
    EXPECT_EQ(SavePDFFile(out, pages, sinks, sinks), TPDFSaveResult::Saved);
    EXPECT_EQ(out.str().size(), 696u);
}

TEST(SavePDFFile, AsksForThePageCountAgainAfterEachPage) {
    TNumberedPages pages(3);
    pages.ShrinkTo = 1;  // after page 1 the document has one page: no NextPage, but the
                         // loop still runs to the count it started with
    TRecordingSinks sinks;
    std::ostringstream out;
    EXPECT_EQ(SavePDFFile(out, pages, sinks, sinks), TPDFSaveResult::Saved);
    EXPECT_EQ(pages.Drawn, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_NE(out.str().find("/Count 1\n"), std::string::npos);
}

TEST(SavePDFFile, ADestinationThatCannotBeCreatedIsReported) {
    test::TTempFolder folder;
    TNumberedPages pages(2);
    TRecordingSinks sinks;
    EXPECT_EQ(SavePDFFile(folder.File("no/such/folder.pdf"), pages, sinks, sinks),
              TPDFSaveResult::CannotCreate);
    EXPECT_EQ(sinks.Messages, std::vector<std::string>{"Can not create the PDF file."});
    EXPECT_EQ(sinks.Icons, std::vector<TMessageIcon>{TMessageIcon::Information});
    EXPECT_EQ(sinks.Progress, std::vector<int>{0});
    EXPECT_TRUE(pages.Drawn.empty());
    EXPECT_TRUE(folder.Names().empty());
}

TEST(SavePDFFile, AWriteFailureIsReportedAndNotCalledSuccess) {
    // /dev/full accepts the open and fails every write with "no space left on device".
    std::ofstream out("/dev/full", std::ios::binary);
    if (!out) GTEST_SKIP() << "no /dev/full";
    TNumberedPages pages(2);
    TRecordingSinks sinks;
    EXPECT_EQ(SavePDFFile(out, pages, sinks, sinks), TPDFSaveResult::WriteFailed);
    ASSERT_EQ(sinks.Messages.size(), 1u);
    EXPECT_FALSE(sinks.Messages[0].empty());
    EXPECT_EQ(sinks.Icons[0], TMessageIcon::Error);
    EXPECT_EQ(sinks.Progress, std::vector<int>{0});
}

TEST(SavePDFFile, APageSourceExceptionLeavesNoFileAndResetsProgress) {
    test::TTempFolder folder;
    test::WriteFile(folder.File("keep.pdf"), "old");
    TNumberedPages pages(3);
    pages.ThrowOn = 1;
    TRecordingSinks sinks;
    EXPECT_THROW(SavePDFFile(folder.File("keep.pdf"), pages, sinks, sinks), std::runtime_error);
    EXPECT_EQ(sinks.Progress, std::vector<int>{0});
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.pdf"});
    EXPECT_EQ(test::ReadFile(folder.File("keep.pdf")), "old");
}

}  // namespace
}  // namespace qm
