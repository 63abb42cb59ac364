#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "pdf/pdf_canvas.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using test::ReadFile;
using test::TTempFolder;

// Enough text that the file is far larger than any small limit below.
void DrawManyPages(TPDFCanvas& canvas, int pages) {
    canvas.Font.Name = "Arial";
    canvas.Font.Size = 12;
    for (int page = 0; page < pages; ++page) {
        if (page > 0) canvas.NextPage();
        for (int i = 0; i < 400; ++i) {
            canvas.TextOut(i % 40 * 12, i / 40 * 14, std::to_string(i * 7919 + page));
        }
    }
}

TEST(PdfFile, IsWrittenBesideTheDestinationAndMovedIntoPlace) {
    TTempFolder folder;
    const std::string path = folder.File("out.pdf");
    TPDFCanvas canvas;
    ASSERT_TRUE(canvas.BeginDoc(path));
    canvas.TextOut(10, 10, "x");
    // Until the document ends, the destination does not exist; one hidden file is being written.
    ASSERT_EQ(folder.Names().size(), 1u);
    EXPECT_EQ(folder.Names()[0].rfind(".out.pdf.", 0), 0u);
    ASSERT_TRUE(canvas.EndDoc());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.pdf"});
    const std::string pdf = ReadFile(path);
    EXPECT_EQ(pdf.rfind("%PDF-1.3\n", 0), 0u);
    EXPECT_EQ(pdf.substr(pdf.size() - 5), "%%EOF");
}

TEST(PdfFile, TheEmptyDocumentOnDiskIsTheSameAsInMemory) {
    TTempFolder folder;
    std::ostringstream memory;
    TPDFCanvas inMemory;
    ASSERT_TRUE(inMemory.BeginDoc(memory));
    ASSERT_TRUE(inMemory.EndDoc());
    TPDFCanvas onDisk;
    ASSERT_TRUE(onDisk.BeginDoc(folder.File("a.pdf")));
    ASSERT_TRUE(onDisk.EndDoc());
    EXPECT_EQ(ReadFile(folder.File("a.pdf")), memory.str());
    EXPECT_EQ(memory.str().size(), 696u);
}

TEST(PdfFile, AMissingFolderFailsAndLeavesNothing) {
    TTempFolder folder;
    TPDFCanvas canvas;
    EXPECT_FALSE(canvas.BeginDoc(folder.File("missing/out.pdf")));
    EXPECT_FALSE(canvas.IsOpen());
    EXPECT_FALSE(canvas.ErrorText().empty());
    canvas.TextOut(0, 0, "x");
    EXPECT_FALSE(canvas.EndDoc());
    EXPECT_TRUE(folder.Names().empty());
}

TEST(PdfFile, AFolderOrAnUnwritableFileIsNoDestination) {
    TTempFolder folder;
    TPDFCanvas onFolder;
    EXPECT_FALSE(onFolder.BeginDoc(folder.Path()));
    EXPECT_FALSE(TPDFCanvas().BeginDoc(folder.Path() + "/"));
    if (geteuid() != 0) {  // root may write anything
        const std::string path = folder.File("locked.pdf");
        test::WriteFile(path, "keep");
        chmod(path.c_str(), 0444);
        EXPECT_FALSE(TPDFCanvas().BeginDoc(path));
        EXPECT_EQ(ReadFile(path), "keep");
    }
    EXPECT_LE(folder.Names().size(), 1u);
}

TEST(PdfFile, AnUnfinishedDocumentLeavesTheDestinationAlone) {
    TTempFolder folder;
    const std::string path = folder.File("old.pdf");
    test::WriteFile(path, "previous contents");
    {
        TPDFCanvas canvas;
        ASSERT_TRUE(canvas.BeginDoc(path));
        DrawManyPages(canvas, 2);
    }  // destroyed without EndDoc
    EXPECT_EQ(ReadFile(path), "previous contents");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.pdf"});
}

TEST(PdfFile, AnExistingDestinationIsReplacedOnlyWhenTheDocumentIsComplete) {
    TTempFolder folder;
    const std::string path = folder.File("old.pdf");
    test::WriteFile(path, "previous contents");
    chmod(path.c_str(), 0640);
    TPDFCanvas canvas;
    ASSERT_TRUE(canvas.BeginDoc(path));
    canvas.TextOut(0, 0, "new");
    EXPECT_EQ(ReadFile(path), "previous contents");
    ASSERT_TRUE(canvas.EndDoc());
    EXPECT_EQ(ReadFile(path).rfind("%PDF-1.3", 0), 0u);
    // The replaced file keeps its permissions.
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Limits the size of files this process writes, and makes an oversized write fail with EFBIG
// instead of raising SIGXFSZ.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t oldHandler_{};
};

TEST(PdfFile, AWriteErrorFailsTheDocumentAndKeepsTheOldFile) {
    TTempFolder folder;
    const std::string path = folder.File("old.pdf");
    test::WriteFile(path, "previous contents");
    bool ended = true;
    std::string error;
    {
        TFileSizeLimit limit(20000);
        TPDFCanvas canvas;
        ASSERT_TRUE(canvas.BeginDoc(path));
        DrawManyPages(canvas, 30);
        ended = canvas.EndDoc();
        error = canvas.ErrorText();
        EXPECT_TRUE(canvas.Failed());
    }
    EXPECT_FALSE(ended);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(path), "previous contents");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.pdf"});
}

// A stream that accepts a number of bytes and then fails.
class TShortBuffer : public std::streambuf {
  public:
    explicit TShortBuffer(size_t room) : room_(room) {}
    std::string Written;

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (Written.size() >= room_) return traits_type::eof();
        Written.push_back(traits_type::to_char_type(c));
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const auto take = static_cast<std::streamsize>(
            std::min<size_t>(static_cast<size_t>(n), room_ - std::min(room_, Written.size())));
        Written.append(s, static_cast<size_t>(take));
        return take;
    }

  private:
    size_t room_;
};

TEST(PdfFile, AFailingStreamStopsTheWriterWithoutExceptions) {
    TShortBuffer buffer(1000);
    std::ostream stream(&buffer);
    TPDFCanvas canvas;
    ASSERT_TRUE(canvas.BeginDoc(stream));
    DrawManyPages(canvas, 10);
    EXPECT_FALSE(canvas.EndDoc());
    EXPECT_TRUE(canvas.Failed());
    EXPECT_FALSE(canvas.IsOpen());
    canvas.TextOut(0, 0, "after the failure");
    canvas.NextPage();
    EXPECT_LE(buffer.Written.size(), 1000u);
}

TEST(PdfFile, ABrokenStreamIsRefusedAtTheStart) {
    std::ostringstream stream;
    stream.setstate(std::ios::badbit);
    TPDFCanvas canvas;
    EXPECT_FALSE(canvas.BeginDoc(stream));
    EXPECT_FALSE(canvas.IsOpen());
}

}  // namespace
}  // namespace qm
