// Contextual spacing from a Word document to the page: paragraphs of one style that ask for it
// stand together without their space before and after; next to another style they keep it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

constexpr uint16_t kOtherStyle = 1;

// The y of each drawn line of the first page, top to bottom.
std::vector<int> LineTops(const TDocument& doc) {
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    std::vector<int> tops;
    for (const std::string& call : surface.Only("text")) {
        const int y = std::stoi(call.substr(call.find(',') + 1));
        if (tops.empty() || tops.back() != y) tops.push_back(y);
    }
    return tops;
}

TEST(WordImportContextualSpacing, ParagraphsOfOneStyleDropTheirSpacingBetweenThem) {
    TWordBuilder b;
    b.Style({kOtherStyle, false, 0x0FFF, "Other", {}, {}});
    // 12 points before and after each paragraph.
    const TSprms spaced = sprm::SpaceBefore(240) + sprm::SpaceAfter(240);
    const TSprms contextual = spaced + sprm::Op8(0x246D, 1);
    b.Para(u"one", contextual);
    b.Para(u"two", contextual);
    b.Para(u"three", contextual, kOtherStyle);
    b.Para(u"four", spaced);
    b.Para(u"five", contextual);
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    doc.CompleteRefresh();
    const std::vector<int> tops = LineTops(doc);
    ASSERT_EQ(tops.size(), 5u);
    const int line = tops[1] - tops[0];  // one and two: nothing between them but the line
    EXPECT_GT(line, 8);
    EXPECT_LT(line, 20);
    // Tops are whole points, so a gap may round one point either way.
    // Another style: both spaces stand (12 after two, 12 before three).
    EXPECT_NEAR(tops[2] - tops[1], line + 24, 1);
    // Four asks for nothing: it keeps its space before, three's space after stays too.
    EXPECT_NEAR(tops[3] - tops[2], line + 24, 1);
    // Five asks, four does not: four keeps its space after, five drops its space before.
    EXPECT_NEAR(tops[4] - tops[3], line + 12, 1);
}

TEST(WordImportContextualSpacing, ParagraphsOfOneStyleInOneCellDropTheirSpacingToo) {
    TWordBuilder b;
    const TSprms contextual =
        sprm::InTable() + sprm::SpaceBefore(240) + sprm::SpaceAfter(240) + sprm::Op8(0x246D, 1);
    // The first cell holds two paragraphs of one style that ask for it; the second cell one
    // paragraph of its own.
    b.Text(u"one").Paragraph(contextual);
    b.Cell(u"two", contextual);
    b.Cell(u"x", sprm::InTable());
    b.RowEnd(sprm::DefineRow({0, 2880, 4320}));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    doc.CompleteRefresh();
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 4u);
    // Two rows of lines: the space between one and two is gone on both sides; the row keeps its
    // space above and below.
    EXPECT_EQ(lines[0].CellIndex, 0);
    EXPECT_NEAR(lines[0].SpaceAbove, TwipsToMm(240), 1e-9);
    EXPECT_EQ(lines[0].SpaceBelow, 0);
    EXPECT_EQ(lines[2].SpaceAbove, 0);
    EXPECT_NEAR(lines[2].SpaceBelow, TwipsToMm(240), 1e-9);
}

}  // namespace
}  // namespace qm::testing
