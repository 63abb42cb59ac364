// Laid-out pages drawn into the PDF writer: page size, per-character text objects, borders and
// column separators as the content stream shows them.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/document.h"
#include "pdf/pdf_page_surface.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using test::PageContent;
using test::SplitLines;

class DrawPagesPdf : public ::testing::Test {
protected:
    DrawPagesPdf() {
        doc.Fields.resize(1);
        doc.Fields[0].Lines.clear();
    }
    TLineRec& AddLine(const std::string& text) {
        TLineRec line;
        line.LineHeight = 5.0;
        line.EndKind = 1;
        for (char c : text) {
            TCharRec ch;
            ch.Code = static_cast<uint8_t>(c);
            ch.Width = 2.0;
            ch.Height = 4.0;
            ch.FontIndex = doc.GetNewFontIndex(doc.DefaultFontRec());
            line.Chars.push_back(ch);
        }
        doc.Fields[0].Lines.push_back(line);
        return doc.Fields[0].Lines.back();
    }
    std::vector<std::string> Content() {
        pdf = test::WritePdf([&](TPDFCanvas& writer) { DrawPagesPDF(doc, writer, 0, nullptr); });
        return SplitLines(PageContent(pdf, 1));
    }
    static size_t Count(const std::vector<std::string>& lines, const std::string& line) {
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }
    TDocument doc;
    std::string pdf;
};

TEST_F(DrawPagesPdf, A4PageIsThePaperPlusTwentyPoints) {
    AddLine("");
    Content();
    EXPECT_NE(pdf.find("/MediaBox [0 0 614 860]"), std::string::npos);
}

TEST_F(DrawPagesPdf, EveryCharacterIsItsOwnTextObject) {
    AddLine("ab");
    const auto lines = Content();
    EXPECT_EQ(Count(lines, "BT"), 2u);
    EXPECT_EQ(Count(lines, "ET"), 2u);
    // The first character selects the font, 12 points of the default format; the second
    // shares it.
    EXPECT_EQ(Count(lines, "/F1 12 Tf"), 1u);
}

TEST_F(DrawPagesPdf, HalfPointBordersAreOnePointWide) {
    TLineRec& cell = AddLine("c");
    cell.InTable = 1;
    cell.CellWidth = 1;
    cell.RowStart = 1;
    cell.CellDesign.BorderWidth = {0.5, 0.5, 0.5, 0.5};
    cell.CellDesign.BorderOn = {1, 1, 0, 1};  // bottom off: not drawn
    const auto lines = Content();
    // Top, left and right borders, each a one-point fill.
    int onePoint = 0;
    for (const auto& line : lines) {
        if (line.size() < 3 || line.substr(line.size() - 3) != " re") continue;
        int x, y, w, h;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %d %d", &x, &y, &w, &h), 4) << line;
        if (w == 1 || h == 1) ++onePoint;
    }
    EXPECT_EQ(onePoint, 3);
}

TEST_F(DrawPagesPdf, ColumnSeparatorIsAHairline) {
    TLineRec& line = AddLine("x");
    line.ColumnCount = 2;
    line.ColumnSeparator = 1;
    line.ColumnsUsed = 1;
    const auto lines = Content();
    EXPECT_EQ(Count(lines, "0 w"), 1u);
    EXPECT_EQ(Count(lines, "S"), 1u);
}

}  // namespace
}  // namespace qm
