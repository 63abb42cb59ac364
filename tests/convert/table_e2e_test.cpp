// Table rows from the document to the page: imported, laid out and drawn as one row of cells
// side by side, also when cells need several lines or hold kept paragraph and line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/conversion_session.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"
#include "word/word_import.h"
#include "model/layout_fixture.h"
#include "model/page_walk.h"
#include "model/recording_surface.h"

namespace qm {
namespace {

using TMessages = test::TRecordedMessages;
using TOpened = test::TOpenedSession;

// The page's drawing calls at 72 units per inch.
std::vector<std::string> DrawFirstPage(const TDocument& doc) {
    test::TRecordingSurface surface;
    TPageWalk walk(doc, surface, PdfGeometry(doc));
    walk.DrawPageFields(0);
    return surface.Calls;
}

struct TTextAt {
    int X = -1;
    int Y = -1;
};

// Where the first drawn character c is.
TTextAt FirstText(const std::vector<std::string>& calls, char c) {
    for (const std::string& call : calls) {
        TTextAt at;
        char text = 0;
        if (std::sscanf(call.c_str(), "text %d,%d %c", &at.X, &at.Y, &text) == 3 && text == c)
            return at;
    }
    return {};
}

struct TBox {
    int Left, Top, Right, Bottom, Color;
};

// The filled rectangles.
std::vector<TBox> Fills(const std::vector<std::string>& calls) {
    std::vector<TBox> boxes;
    for (const std::string& call : calls) {
        TBox b{};
        if (std::sscanf(call.c_str(), "fill %d,%d-%d,%d %d", &b.Left, &b.Top, &b.Right, &b.Bottom,
                        &b.Color) == 5)
            boxes.push_back(b);
    }
    return boxes;
}

// Black borders one unit wide standing upright: the cells' left and right edges.
std::vector<TBox> UprightBorders(const std::vector<std::string>& calls) {
    std::vector<TBox> out;
    for (const TBox& b : Fills(calls))
        if (b.Color == 0 && b.Right - b.Left == 1 && b.Bottom - b.Top > 1) out.push_back(b);
    return out;
}

// The default page's text starts 1800 twips from the paper's left edge: 90 points.
constexpr int kTextLeft = 90;

TEST(TableEndToEnd, ThreeCellsOfAnInchStandSideBySide) {
    TWordBuilder b;
    b.Cell(u"alpha").Cell(u"beta").Cell(u"gamma");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880, 4320}) + sprm::RowShading({0, 0x0506, 0}));
    b.Para(u"after");
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(b.Build()).Imported);
    TDocument& doc = o.session.Document();
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 4u);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(lines[c].CellsInRow, 3);
        EXPECT_EQ(lines[c].LineHeight, lines[0].LineHeight);
    }

    const auto calls = DrawFirstPage(doc);
    // Each cell's text starts 2.5 mm (7 points) inside the cell; the cells are an inch apart.
    const TTextAt a = FirstText(calls, 'a');
    const TTextAt beta = FirstText(calls, 'b');
    const TTextAt g = FirstText(calls, 'g');
    EXPECT_EQ(a.X, kTextLeft + 7);
    EXPECT_EQ(beta.X, kTextLeft + 72 + 7);
    EXPECT_EQ(g.X, kTextLeft + 144 + 7);
    EXPECT_EQ(beta.Y, a.Y);
    EXPECT_EQ(g.Y, a.Y);
    // The row of text after the table lies below it.
    bool afterBelow = false;
    for (const std::string& call : calls)
        if (call.find(" f u0") != std::string::npos)
            afterBelow = std::stoi(call.substr(call.find(',') + 1)) > a.Y;
    EXPECT_TRUE(afterBelow);

    // Left and right borders of the three cells at the inch marks.
    std::vector<int> edges;
    for (const TBox& border : UprightBorders(calls))
        edges.push_back(border.Left);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    EXPECT_EQ(edges,
              (std::vector<int>{kTextLeft, kTextLeft + 72, kTextLeft + 144, kTextLeft + 216}));
    // The middle cell is shaded red (foreground 6, solid) over its whole width.
    const auto fills = Fills(calls);
    const auto red =
        std::find_if(fills.begin(), fills.end(), [](const TBox& f) { return f.Color == 0x0000FF; });
    ASSERT_NE(red, fills.end());
    EXPECT_EQ(red->Left, kTextLeft + 72);
    EXPECT_EQ(red->Right, kTextLeft + 145);
}

TEST(TableEndToEnd, CellsOfSeveralLinesAndKeptMarksStayOneRow) {
    TWordBuilder b;
    // A cell whose words wrap in its inch, a cell of three lines made by a kept paragraph end
    // and a kept line break, and a short cell.
    b.Cell(u"wrap wrap wrap wrap wrap wrap wrap");
    b.Cell(u"A\rB\vC");
    b.Cell(u"x");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880, 4320}));
    b.Para(u"z");
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(b.Build()).Imported);
    TDocument& doc = o.session.Document();
    const auto& lines = doc.Fields[0].Lines;
    // Whole rows of lines: the first with the row's start, the last with its end.
    ASSERT_GE(lines.size(), 10u);
    size_t rowLines = 0;
    while (rowLines < lines.size() && lines[rowLines].InTable)
        ++rowLines;
    ASSERT_EQ(rowLines % 3, 0u);
    ASSERT_GE(rowLines, 9u);
    for (size_t k = 0; k < rowLines; ++k) {
        EXPECT_EQ(lines[k].CellIndex, static_cast<int32_t>(k % 3));
        EXPECT_EQ(lines[k].RowStart, k < 3 ? 1 : 0) << k;
        EXPECT_EQ(lines[k].RowEnd, k >= rowLines - 3 ? 1 : 0) << k;
        EXPECT_EQ(lines[k].LineHeight, lines[k - k % 3].LineHeight) << k;
    }

    const auto calls = DrawFirstPage(doc);
    const TTextAt a = FirstText(calls, 'A');
    const TTextAt bb = FirstText(calls, 'B');
    const TTextAt c = FirstText(calls, 'C');
    const TTextAt x = FirstText(calls, 'x');
    const TTextAt z = FirstText(calls, 'z');
    EXPECT_EQ(a.X, kTextLeft + 72 + 7);
    EXPECT_EQ(bb.X, a.X);
    EXPECT_EQ(c.X, a.X);
    EXPECT_LT(a.Y, bb.Y);
    EXPECT_LT(bb.Y, c.Y);
    EXPECT_EQ(x.Y, a.Y);
    EXPECT_EQ(x.X, kTextLeft + 144 + 7);
    // Every word of the first cell stays inside its inch.
    for (const std::string& call : calls) {
        int px = 0;
        int py = 0;
        char ch = 0;
        if (std::sscanf(call.c_str(), "text %d,%d %c", &px, &py, &ch) == 3 &&
            (ch == 'w' || ch == 'p')) {
            EXPECT_GE(px, kTextLeft);
            EXPECT_LT(px, kTextLeft + 72);
        }
    }
    EXPECT_GT(z.Y, c.Y);
    // The border between the first two cells (the first's right and the second's left, drawn
    // on each line of the row) runs from the row's top to its bottom without a gap.
    std::vector<TBox> middle;
    for (const TBox& border : UprightBorders(calls))
        if (border.Left == kTextLeft + 72) middle.push_back(border);
    ASSERT_EQ(middle.size(), 2 * rowLines / 3);
    for (size_t k = 1; k < middle.size(); ++k)
        EXPECT_LE(middle[k].Top, middle[k - 1].Bottom);
    EXPECT_LE(middle.front().Top, a.Y);
    EXPECT_GT(middle.back().Bottom, c.Y);
}

TEST(TableEndToEnd, ARowThatWrapsLaysOutTheSameTwice) {
    // The first cell wraps, so rows of lines are inserted before the numbered second cell is
    // reached in the pass.
    TWordBuilder b;
    b.Cell(u"wrap wrap wrap wrap wrap wrap wrap");
    b.Cell(u"item\ritem", sprm::ListRef(1));
    b.Cell(u"x");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880, 4320}));
    TDocument doc;
    ASSERT_TRUE(ImportWordBytes(doc, b.Build(), nullptr, nullptr).Converted);
    const std::string first = test::DumpModel(doc);
    doc.CompleteRefresh();
    EXPECT_EQ(test::DumpModel(doc), first);
}

// The left edges of the cells' left borders, in points, in drawing order.
std::vector<int> CellLefts(const std::vector<std::string>& calls) {
    std::vector<int> lefts;
    const std::vector<TBox> borders = UprightBorders(calls);
    for (size_t i = 0; i < borders.size(); i += 2)
        lefts.push_back(borders[i].Left);
    return lefts;
}

int Points(double mm) {
    return static_cast<int>(mm / (kMmPerInch / 72));
}

TEST(TableEndToEnd, TheImportLeavesTheRowsFinalBeforeAnythingIsDrawn) {
    TWordBuilder b;
    b.Cell(u"one").Cell(u"two");
    b.RowEnd(sprm::DefineRow({0, 1440, 4320}));
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(b.Build()).Imported);
    const TDocument& doc = o.session.Document();
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 2u);
    // The cell widths are millimetres of the row: an inch and two inches.
    EXPECT_NEAR(lines[0].CellWidth, kMmPerInch, 1e-9);
    EXPECT_NEAR(lines[1].CellWidth, 2 * kMmPerInch, 1e-9);
    // The page shows them where the model says.
    const double left = doc.Fields[0].MarginLeft + lines[0].TableIndent;
    const auto calls = DrawFirstPage(doc);
    EXPECT_EQ(CellLefts(calls),
              (std::vector<int>{Points(left), Points(left + lines[0].CellWidth)}));
    // Drawing again draws the same, on paper and on screen.
    EXPECT_EQ(DrawFirstPage(doc), calls);
    test::TRecordingSurface screen1;
    test::TRecordingSurface screen2;
    TPageWalk(doc, screen1, PreviewGeometry(doc, 96)).DrawPageFields(0);
    TPageWalk(doc, screen2, PreviewGeometry(doc, 96)).DrawPageFields(0);
    EXPECT_EQ(screen1.Calls, screen2.Calls);
}

TEST(TableEndToEnd, ARowDefinedWithoutWidthsGetsEqualCells) {
    TWordBuilder b;
    b.Cell(u"a").Cell(u"b").Cell(u"c");
    b.RowEnd(sprm::DefineRow({0, 0, 0, 0}));
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(b.Build()).Imported);
    const TDocument& doc = o.session.Document();
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_GT(lines[0].CellWidth, 0.0);
    EXPECT_EQ(lines[1].CellWidth, lines[0].CellWidth);
    EXPECT_EQ(lines[2].CellWidth, lines[0].CellWidth);
    const double left = doc.Fields[0].MarginLeft + lines[0].TableIndent;
    const double w = lines[0].CellWidth;
    EXPECT_EQ(CellLefts(DrawFirstPage(doc)),
              (std::vector<int>{Points(left), Points(left + w), Points(left + w + w)}));
}

TEST(TableEndToEnd, ThePdfShowsTheCellsOnOneLine) {
    if (!test::ToolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
    TWordBuilder b;
    b.Cell(u"north").Cell(u"middle").Cell(u"south");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880, 4320}));
    b.Cell(u"second").Cell(u"").Cell(u"row");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880, 4320}));
    test::TTempDir dir;
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(b.Build()).Imported);
    ASSERT_TRUE(o.session.SavePDFFile(dir / "t.pdf"));
    const auto text =
        test::RunCommand("pdftotext -layout " + test::ShellQuote(dir / "t.pdf") + " -").Output;
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(in, line))
        if (line.find_first_not_of(" \f") != std::string::npos) rows.push_back(line);
    ASSERT_EQ(rows.size(), 2u) << text;
    EXPECT_LT(rows[0].find("north"), rows[0].find("middle"));
    EXPECT_LT(rows[0].find("middle"), rows[0].find("south"));
    EXPECT_NE(rows[1].find("second"), std::string::npos);
    EXPECT_GT(rows[1].find("row", rows[1].find("second") + 6), rows[0].find("middle"));
}

}  // namespace
}  // namespace qm
