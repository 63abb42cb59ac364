#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_canvas.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using Lines = std::vector<std::string>;

// The content lines of page 1 after drawing.
Lines Content(const std::function<void(TPDFCanvas&)>& draw) {
    return test::SplitLines(test::PageContent(test::WritePdf(draw), 1));
}

TEST(PdfContent, FillRectWritesItsGridRectangle) {
    EXPECT_EQ(Content([](TPDFCanvas& c) { c.FillRect(10, 20, 110, 70); }),
              (Lines{"1 1 1 rg", "10 771 99 49 re", "f"}));
    // Reversed edges step toward zero the other way; empty rectangles write nothing.
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.FillRect(110, 70, 10, 20);
                  c.FillRect(5, 5, 5, 50);
                  c.FillRect(5, 5, 50, 5);
              }),
              (Lines{"1 1 1 rg", "110 821 -99 -49 re", "f"}));
}

TEST(PdfContent, LineToWritesOneSegmentPerCall) {
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.MoveTo(0, 0);
                  c.LineTo(100, 0);
                  c.LineTo(100, 10);
              }),
              (Lines{"[ ] 0 d", "1 w", "0 0 0 RG", "0 840 m", "100 840 l", "S", "100 840 m",
                     "100 830 l", "S"}));
}

TEST(PdfContent, AStyleChangeWritesThePenInFull) {
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.LineTo(1, 1);
                  c.Pen.Style = psDot;
                  c.LineTo(2, 2);
                  c.Pen.Style = psDashDotDot;
                  c.Pen.Width = 0;
                  c.Pen.Color = 0x0000FF;
                  c.LineTo(3, 3);
              }),
              (Lines{"[ ] 0 d", "1 w", "0 0 0 RG", "0 840 m", "1 839 l", "S",  //
                     "[1] 0 d", "1 w", "0 0 0 RG", "1 839 m", "2 838 l", "S",  //
                     "[3 1 1 1 1 1] 0 d", "0 w", "1 0 0 RG", "2 838 m", "3 837 l", "S"}));
}

TEST(PdfContent, AClearPenDrawsNoLineButMovesThePen) {
    TPDFCanvas* seen = nullptr;
    const Lines lines = Content([&](TPDFCanvas& c) {
        c.Pen.Style = psClear;
        c.LineTo(50, 60);
        seen = &c;
        EXPECT_EQ(c.PenPosX(), 50);
        EXPECT_EQ(c.PenPosY(), 60);
    });
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(seen, nullptr);
}

TEST(PdfContent, AClearPenMakesRectangleAFill) {
    const auto fill = Content([](TPDFCanvas& c) { c.FillRect(10, 20, 110, 70); });
    const auto rectangle = Content([](TPDFCanvas& c) {
        c.Pen.Style = psClear;
        c.Rectangle(10, 20, 110, 70);
    });
    EXPECT_EQ(rectangle, fill);
}

TEST(PdfContent, RectangleFillsAndStrokesOnePath) {
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Brush.Color = 0x00FF00;
                  c.Rectangle(10, 20, 110, 70);
              }),
              (Lines{"[ ] 0 d", "1 w", "0 0 0 RG", "0 1 0 rg", "10 771 99 49 re", "B"}));
}

TEST(PdfContent, AClearBrushFramesWithFourSegments) {
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Brush.Style = bsClear;
                  c.Rectangle(10, 20, 110, 70);
                  EXPECT_EQ(c.PenPosX(), 10);
                  EXPECT_EQ(c.PenPosY(), 20);
              }),
              (Lines{"[ ] 0 d", "1 w", "0 0 0 RG",   //
                     "10 820 m", "109 820 l", "S",   //
                     "109 820 m", "109 771 l", "S",  //
                     "109 771 m", "10 771 l", "S",   //
                     "10 771 m", "10 820 l", "S"}));
}

TEST(PdfContent, TextObjectsCarryColourFontAndTheBaseline) {
    // 12-point Arial has an ascent of 11 points: the baseline of a cell at (72, 72) is at
    // 841 - 72 - 11.
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Font.Name = "Arial";
                  c.Font.Size = 12;
                  c.TextOut(72, 72, "Hi");
                  c.TextOut(90, 72, "there");
              }),
              (Lines{"BT", "0 0 0 rg", "/F1 12 Tf", "72 758  Td (Hi) Tj", "ET",  //
                     "BT", "0 0 0 rg", "90 758  Td (there) Tj", "ET"}));
}

TEST(PdfContent, AfterABrushTheTextColourIsWrittenOnlyWhenItChanges) {
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Font.Name = "Arial";
                  c.Font.Size = 12;
                  c.FillRect(0, 0, 10, 10);
                  c.TextOut(0, 0, "a");
                  c.TextOut(0, 0, "b");
                  c.Font.Size = 10;
                  c.Font.Color = 0x0000FF;
                  c.TextOut(0, 0, "c");
                  c.Font.Size = 10.5;  // half points are written as they are
                  c.TextOut(0, 0, "d");
              }),
              (Lines{"1 1 1 rg",
                     "0 831 9 9 re",
                     "f",  //
                     "BT",
                     "0 0 0 rg",
                     "/F1 12 Tf",
                     "0 830  Td (a) Tj",
                     "ET",  //
                     "BT",
                     "0 830  Td (b) Tj",
                     "ET",  //
                     "BT",
                     "1 0 0 rg",
                     "/F1 10 Tf",
                     "0 832  Td (c) Tj",
                     "ET",  //
                     "BT",
                     "/F1 10.5 Tf",
                     "0 832  Td (d) Tj",
                     "ET"}));
}

TEST(PdfContent, TextAfterAClearBrushStillGetsItsOwnColour) {
    // Mended: a clear brush writes no colour, so white text after a black fill and a clear
    // brush of white must write its colour rather than inherit black.
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Font.Name = "Arial";
                  c.Font.Size = 12;
                  c.Brush.Color = 0;
                  c.FillRect(0, 0, 10, 10);
                  c.Brush.Style = bsClear;
                  c.Brush.Color = 0xFFFFFF;
                  c.Pen.Style = psClear;
                  c.Rectangle(0, 0, 10, 10);
                  c.Font.Color = 0xFFFFFF;
                  c.TextOut(0, 0, "w");
              }),
              (Lines{"0 0 0 rg", "0 831 9 9 re", "f", "BT", "1 1 1 rg", "/F1 12 Tf",
                     "0 830  Td (w) Tj", "ET"}));
    // The same when the first brush of a page is clear: the page begins with a black fill.
    EXPECT_EQ(Content([](TPDFCanvas& c) {
                  c.Font.Name = "Arial";
                  c.Font.Size = 12;
                  c.Brush.Style = bsClear;
                  c.FillRect(0, 0, 10, 10);
                  c.Font.Color = 0xFFFFFF;
                  c.TextOut(0, 0, "w");
                  c.Font.Color = 0;
                  c.TextOut(0, 0, "k");
              }),
              (Lines{"BT", "1 1 1 rg", "/F1 12 Tf", "0 830  Td (w) Tj", "ET",  //
                     "BT", "0 0 0 rg", "0 830  Td (k) Tj", "ET"}));
}

TEST(PdfContent, StringsAreEscaped) {
    const Lines lines = Content([](TPDFCanvas& c) {
        c.Font.Name = "Arial";
        c.Font.Size = 12;
        c.TextOut(0, 0, std::string("(a)\\\t\xE9\x01\n\r\b\f\x1F", 12));
    });
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "0 830  Td (\\(a\\)\\\\\\t\xE9\\001\\n\\r\\b\\f\\037) Tj");
    EXPECT_EQ(EscapePDFString(std::string("\0", 1)), "\\000");
}

TEST(PdfContent, StateIsWrittenAgainOnEveryPage) {
    const std::string pdf = test::WritePdf([](TPDFCanvas& c) {
        c.Font.Name = "Arial";
        c.Font.Size = 12;
        c.FillRect(0, 0, 10, 10);
        c.LineTo(5, 5);
        c.TextOut(0, 0, "a");
        c.NextPage();
        c.FillRect(0, 0, 10, 10);
        c.LineTo(6, 6);
        c.TextOut(0, 0, "b");
    });
    const Lines second = test::SplitLines(test::PageContent(pdf, 2));
    EXPECT_EQ(second,
              (Lines{"1 1 1 rg", "0 831 9 9 re", "f", "[ ] 0 d", "1 w", "0 0 0 RG", "5 835 m",
                     "6 834 l", "S", "BT", "0 0 0 rg", "/F1 12 Tf", "0 830  Td (b) Tj", "ET"}));
}

TEST(PdfContent, ImagesArePlacedByTheirBoxMinusOnePoint) {
    const TDib picture = test::SolidImage(8, 6, 0x336699);
    EXPECT_EQ(Content([&](TPDFCanvas& c) { c.DrawImage(100, 200, 50, 40, picture, 0, 0, 8, 6); }),
              (Lines{"q", "49 0 0 39 100 602 cm", "/Im0 Do", "Q"}));
}

TEST(PdfContent, ImagesThatCannotBePlacedLeaveNoTrace) {
    TDib empty;
    const TDib picture = test::SolidImage(4, 4, 0);
    TPDFCanvas* canvas = nullptr;
    const Lines lines = Content([&](TPDFCanvas& c) {
        canvas = &c;
        c.DrawImage(0, 0, 0, 10, picture, 0, 0, 4, 4);
        c.DrawImage(0, 0, 10, 0, picture, 0, 0, 4, 4);
        c.DrawImage(0, 0, 10, 10, picture, 0, 0, 0, 4);
        c.DrawImage(0, 0, 10, 10, empty, 0, 0, 4, 4);
        EXPECT_EQ(c.Images().Count(), 0u);
    });
    EXPECT_TRUE(lines.empty());
}

TEST(PdfContent, TheSamePictureOnTwoPagesIsTwoImages) {
    const TDib picture = test::SolidImage(3, 2, 0x0000FF);
    const std::string pdf = test::WritePdf([&](TPDFCanvas& c) {
        c.DrawImage(10, 10, 30, 20, picture, 0, 0, 3, 2);
        c.NextPage();
        c.DrawImage(10, 10, 30, 20, picture, 0, 0, 3, 2);
    });
    EXPECT_EQ(test::SplitLines(test::PageContent(pdf, 1))[2], "/Im0 Do");
    EXPECT_EQ(test::SplitLines(test::PageContent(pdf, 2))[2], "/Im1 Do");
    // Two pages, no fonts: the images are objects 11 and 12, with identical streams.
    const std::string first = test::ObjectText(pdf, 11);
    const std::string second = test::ObjectText(pdf, 12);
    EXPECT_EQ(first.substr(first.find('\n')), second.substr(second.find('\n')));
    EXPECT_NE(test::ObjectText(pdf, 7).find("/XObject << /Im0 11 0 R/Im1 12 0 R >>"),
              std::string::npos);
    EXPECT_NE(test::ObjectText(pdf, 8).find("/XObject << /Im0 11 0 R/Im1 12 0 R >>"),
              std::string::npos);
}

}  // namespace
}  // namespace qm
