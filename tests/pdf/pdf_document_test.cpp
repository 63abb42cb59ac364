#include <gtest/gtest.h>

#include <string>

#include "pdf/pdf_canvas.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using test::ObjectText;
using test::PageContent;
using test::WritePdf;
using test::XRefOffsets;

const char kEmptyDocumentHead[] =
    "%PDF-1.3\n"
    "1 0 obj\n"
    "[/PDF /Text /ImageB /ImageC /ImageI]\n"
    "endobj\n"
    "2 0 obj\n"
    "<< /Length 3 0 R /Filter /FlateDecode >>\n"
    "stream\n";

const char kEmptyDocumentTail[] =
    "\n"
    "endstream\n"
    "endobj\n"
    "3 0 obj\n"
    "8\n"
    "endobj\n"
    "4 0 obj\n"
    "<<\n"
    "/Type /Pages\n"
    "/Count 1\n"
    "/Kids [5 0 R]\n"
    ">>\n"
    "endobj\n"
    "5 0 obj\n"
    "<<\n"
    "/Type /Page\n"
    "/Parent 4 0 R\n"
    "/Resources <</XObject <<  >>\n"
    "/Font << >> /ProcSet 1 0 R\n"
    ">>\n"
    "/MediaBox [0 0 594 840]\n"
    "/Contents 2 0 R\n"
    ">>\n"
    "endobj\n"
    "6 0 obj\n"
    "<<\n"
    "/Type /Catalog\n"
    "/Pages 4 0 R\n"
    "/Outlines 7 0 R\n"
    ">>\n"
    "endobj\n"
    "7 0 obj\n"
    "<<\n"
    "/Type /Outlines\n"
    "/Count 0\n"
    ">>\n"
    "endobj\n"
    "xref\n"
    "0 8\n"
    "0000000000 65535 f \n"
    "0000000009 00000 n \n"
    "0000000061 00000 n \n"
    "0000000143 00000 n \n"
    "0000000160 00000 n \n"
    "0000000217 00000 n \n"
    "0000000363 00000 n \n"
    "0000000428 00000 n \n"
    "trailer\n"
    "<<\n"
    "/Size 8\n"
    "/Root 6 0 R\n"
    ">>\n"
    "startxref\n"
    "474\n"
    "%%EOF";

std::string EmptyDocument() {
    return std::string(kEmptyDocumentHead) + std::string("\x78\xDA\x03\x00\x00\x00\x00\x01", 8) +
           kEmptyDocumentTail;
}

TEST(PdfDocument, BeginThenEndGivesTheEmptyDocumentByteForByte) {
    const std::string pdf = WritePdf([](TPDFCanvas&) {});
    EXPECT_EQ(pdf.size(), 696u);
    EXPECT_EQ(pdf, EmptyDocument());
}

TEST(PdfDocument, EveryOffsetPointsAtItsObjectHeader) {
    const std::string pdf = WritePdf([](TPDFCanvas& c) {
        c.Font.Name = "Arial";
        c.TextOut(10, 10, "Hello");
        c.NextPage();
        c.Font.Name = "Courier New";
        c.TextOut(10, 10, "World");
        c.DrawImage(0, 0, 10, 10, test::SolidImage(4, 4, 0x0000FF), 0, 0, 4, 4);
    });
    const std::vector<int64_t> offsets = XRefOffsets(pdf);
    ASSERT_EQ(offsets.size(), 3 * 2 + 5 + 2 + 1u);
    for (size_t n = 1; n < offsets.size(); ++n) {
        const std::string header = std::to_string(n) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(static_cast<size_t>(offsets[n]), header.size(), header), 0) << n;
    }
    // Every cross-reference line is 20 bytes with its LF.
    const size_t xref = pdf.rfind("xref\n0 ");
    const size_t first = pdf.find('\n', xref + 5) + 1;
    const size_t trailer = pdf.find("trailer\n", first);
    EXPECT_EQ(trailer - first, offsets.size() * 20);
    EXPECT_NE(pdf.find("startxref\n" + std::to_string(xref) + "\n%%EOF"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "\n%%EOF");
}

TEST(PdfDocument, NumbersFollowTheCountsOfPagesFontsAndImages) {
    // Three pages, two fonts, one image: fonts 8 and 9, Pages 10, pages 11 to 13,
    // Catalog 14, Outlines 15, the image 16.
    const std::string pdf = WritePdf([](TPDFCanvas& c) {
        c.Font.Name = "Arial";
        c.TextOut(1, 1, "a");
        c.NextPage();
        c.Font.Name = "Courier New";
        c.TextOut(1, 1, "b");
        c.DrawImage(5, 5, 20, 20, test::SolidImage(2, 2, 0xFFFFFF), 0, 0, 2, 2);
        c.NextPage();
    });
    EXPECT_EQ(XRefOffsets(pdf).size(), 17u);
    EXPECT_NE(ObjectText(pdf, 8).find("/BaseFont /Arial\n"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 9).find("/BaseFont /Courier#20New\n"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 10).find("/Count 3\n/Kids [11 0 R 12 0 R 13 0 R]\n"),
              std::string::npos);
    for (int page = 0; page < 3; ++page) {
        const std::string object = ObjectText(pdf, 11 + page);
        EXPECT_NE(object.find("/Parent 10 0 R\n"), std::string::npos);
        EXPECT_NE(object.find("/Resources <</XObject << /Im0 16 0 R >>\n"
                              "/Font << /F1 8 0 R/F2 9 0 R>> /ProcSet 1 0 R\n>>\n"),
                  std::string::npos);
        EXPECT_NE(object.find("/Contents " + std::to_string(2 + 2 * page) + " 0 R\n"),
                  std::string::npos);
    }
    EXPECT_NE(ObjectText(pdf, 14).find("/Pages 10 0 R\n/Outlines 15 0 R\n"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 15).find("/Type /Outlines\n"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 16).find("/Subtype /Image"), std::string::npos);
    EXPECT_NE(pdf.find("/Size 17\n/Root 14 0 R\n"), std::string::npos);
}

TEST(PdfDocument, APageTakesTheSizeInForceWhenItEnds) {
    const std::string pdf = WritePdf([](TPDFCanvas& c) {
        c.PageWidth = 615;
        c.NextPage();
        c.PageHeight = 861;  // set while page 2 is open: applies to page 2 only
    });
    EXPECT_NE(ObjectText(pdf, 7).find("/MediaBox [0 0 614 840]\n"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 8).find("/MediaBox [0 0 614 860]\n"), std::string::npos);
}

TEST(PdfDocument, EmptyPagesHoldTheEmptyDeflateStream) {
    const std::string pdf = WritePdf([](TPDFCanvas& c) { c.NextPage(); });
    EXPECT_EQ(PageContent(pdf, 1), "");
    EXPECT_EQ(PageContent(pdf, 2), "");
    EXPECT_EQ(ObjectText(pdf, 5), "5 0 obj\n8\nendobj\n");
}

TEST(PdfDocument, OperationsOutsideAnOpenDocumentDoNothing) {
    TPDFCanvas canvas;
    canvas.NextPage();
    canvas.FillRect(0, 0, 10, 10);
    canvas.TextOut(0, 0, "x");
    EXPECT_FALSE(canvas.EndDoc());
    EXPECT_EQ(canvas.PageCount(), 0);
    // Measuring works without a document.
    canvas.Font.Name = "Arial";
    canvas.Font.Size = 12;
    EXPECT_EQ(canvas.TextHeight("Hg"), 14);
    EXPECT_GT(canvas.TextWidth("Hello"), 20);
}

TEST(PdfDocument, ASecondEndDocAndASecondDocumentAreRefused) {
    std::ostringstream first;
    TPDFCanvas canvas;
    ASSERT_TRUE(canvas.BeginDoc(first));
    EXPECT_TRUE(canvas.EndDoc());
    const std::string written = first.str();
    EXPECT_FALSE(canvas.EndDoc());
    canvas.NextPage();
    std::ostringstream second;
    EXPECT_FALSE(canvas.BeginDoc(second));  // a writer writes one document
    EXPECT_EQ(first.str(), written);
    EXPECT_TRUE(second.str().empty());
}

}  // namespace
}  // namespace qm
