// Table rows: the row definition gives the cells of a row their widths, place and shading;
// the row end makes the row's cell lines one table row, or leaves them plain when the row does
// not match its definition; marks kept inside cells; damaged definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include <random>

#include "word_import_util.h"

namespace qm::testing {
namespace {

// The default page: 12240 twips wide with margins of 1800 twips.
const double kTextWidthMM = TwipsToMm(12240 - 2 * 1800);

const std::vector<int16_t> kThreeInches = {0, 1440, 2880, 4320};

TWordBuilder ThreeCellRow(TSprms tapx) {
    TWordBuilder b;
    b.Cell(u"a").Cell(u"b").Cell(u"c").RowEnd(std::move(tapx));
    return b;
}

// The shading value of a foreground and background colour index and a pattern.
uint16_t Shd(uint16_t fore, uint16_t back, uint16_t pattern) {
    return static_cast<uint16_t>(fore | (back << 5) | (pattern << 10));
}

void ExpectPlain(const TLineRec& line) {
    EXPECT_EQ(line.InTable, 0);
    EXPECT_EQ(line.RowStart, 0);
    EXPECT_EQ(line.RowEnd, 0);
    EXPECT_EQ(line.CellsInRow, 1);
    EXPECT_EQ(line.CellIndex, 0);
}

TEST(WordImportTableRows, ThreeCellsOfAnInchBecomeOneRow) {
    TWordBuilder b = ThreeCellRow(sprm::DefineRow(kThreeInches));
    b.Para(u"after");
    TDocument doc;
    Import(doc, b);
    ASSERT_EQ(FieldText(doc, 0), "a\nb\nc\nafter\n");
    const auto& lines = doc.Fields[0].Lines;
    for (int32_t c = 0; c < 3; ++c) {
        const TLineRec& cell = lines[c];
        SCOPED_TRACE(c);
        EXPECT_EQ(cell.InTable, 1);
        EXPECT_EQ(cell.RowStart, 1);
        EXPECT_EQ(cell.RowEnd, 1);
        EXPECT_EQ(cell.EndKind, 1);
        EXPECT_EQ(cell.CellsInRow, 3);
        EXPECT_EQ(cell.CellIndex, c);
        EXPECT_NEAR(cell.CellWidth, 25.39995, 1e-9);
        // The table's left edge is every cell's indent: the cells stand side by side from it.
        EXPECT_DOUBLE_EQ(cell.TableIndent, 0);
        EXPECT_NEAR(cell.TableRightGap, kTextWidthMM - 3 * 25.39995, 1e-9);
        EXPECT_EQ(cell.CellDesign, TCellDesign{});
        // The cell's text is padded by 2.5 mm on both sides.
        EXPECT_NEAR(cell.Para.LeftIndent, 2.5, 1e-9);
        EXPECT_NEAR(cell.Para.RightIndent, 2.5, 1e-9);
    }
    // The cells' edges at 0, 1, 2 inches: the cell widths add up from the indent.
    EXPECT_NEAR(lines[0].TableIndent + lines[0].CellWidth + lines[1].CellWidth, 50.7999, 1e-9);
    ExpectPlain(lines[3]);
}

TEST(WordImportTableRows, CellMarginsComeFromTheRowsPaddingElseItsGapHalf) {
    constexpr uint8_t kLeft = 2, kRight = 8;
    TWordBuilder b;
    // Half the gap alone: both margins.
    b.Cell(u"a").Cell(u"b").RowEnd(sprm::DefineRow({0, 1440, 2880}) + sprm::GapHalf(108));
    // Default padding over the gap half; the second cell's own right margin over both. Text
    // after a mark kept inside a cell gets the margins too.
    b.Cell(u"c").Text(u"d").Paragraph(sprm::InTable()).Cell(u"e");
    b.RowEnd(sprm::DefineRow({0, 1440, 2880}) + sprm::GapHalf(108) +
             sprm::CellPaddingDefault(kLeft | kRight, 70) + sprm::CellPadding(1, 2, kRight, 200));
    // Neither: the standard 2.5 mm; a padding in another unit than twips is no padding.
    b.Cell(u"f").Cell(u"g").RowEnd(sprm::DefineRow({0, 1440, 2880}) +
                                   sprm::Raw(0xD634, {6, 0, 1, kLeft, 2, 70, 0}));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 6u);
    const auto expect = [&](const TParaFormat& para, double left, double right, int where) {
        EXPECT_NEAR(para.LeftIndent, left, 1e-9) << where;
        EXPECT_NEAR(para.RightIndent, right, 1e-9) << where;
    };
    expect(lines[0].Para, TwipsToMm(108), TwipsToMm(108), 0);
    expect(lines[1].Para, TwipsToMm(108), TwipsToMm(108), 1);
    expect(lines[2].Para, TwipsToMm(70), TwipsToMm(70), 2);
    expect(lines[3].Para, TwipsToMm(70), TwipsToMm(200), 3);
    const auto kept = std::find_if(lines[3].Chars.begin(), lines[3].Chars.end(),
                                   [](const TCharRec& ch) { return bool(ch.ParaCopy); });
    ASSERT_NE(kept, lines[3].Chars.end());
    expect(*kept->ParaCopy, TwipsToMm(70), TwipsToMm(200), 30);
    expect(lines[4].Para, 2.5, 2.5, 4);
    expect(lines[5].Para, 2.5, 2.5, 5);
}

TEST(WordImportTableRows, CellsHaveTheBordersTheirRowGivesAndNoneElse) {
    using TOn = std::array<uint8_t, 4>;  // left, top, bottom, right
    TWordBuilder b;
    // Each cell's own single borders; then a row that gives none; then one whose cells give
    // none but whose table has an outer frame and no inside lines.
    b.Cell(u"a").Cell(u"b").RowEnd(sprm::DefineRow({0, 1440, 2880}));
    b.Cell(u"c").Cell(u"d").RowEnd(sprm::DefineRow({0, 1440, 2880}, false));
    b.Cell(u"e").Cell(u"f").RowEnd(sprm::DefineRow({0, 1440, 2880}, false) +
                                   sprm::TableBorders({true, true, true, true, false, false}));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 6u);
    const std::vector<TOn> expected = {
        {1, 1, 1, 1}, {1, 1, 1, 1},  // their own
        {0, 0, 0, 0}, {0, 0, 0, 0},  // none where none is given
        {1, 1, 1, 0}, {0, 1, 1, 1},  // the table's frame: left of the first, right of the last
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        const TCellDesign& design = lines[i].CellDesign;
        EXPECT_EQ(
            (TOn{design.BorderOn[0], design.BorderOn[1], design.BorderOn[2], design.BorderOn[3]}),
            expected[i])
            << i;
    }
    EXPECT_DOUBLE_EQ(lines[0].CellDesign.BorderWidth[0], 0.75);
}

TEST(WordImportTableRows, AnIndentedTableKeepsItsLeftEdgeInEveryCell) {
    TWordBuilder b;
    b.Cell(u"wide").Cell(u"narrow").RowEnd(sprm::DefineRow({720, 3600, 4320}));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    for (int32_t c = 0; c < 2; ++c) {
        EXPECT_NEAR(lines[c].TableIndent, TwipsToMm(720), 1e-9);
        EXPECT_NEAR(lines[c].TableRightGap, kTextWidthMM - TwipsToMm(720 + 3600), 1e-9);
    }
    EXPECT_NEAR(lines[0].CellWidth, TwipsToMm(2880), 1e-9);
    EXPECT_NEAR(lines[1].CellWidth, TwipsToMm(720), 1e-9);
}

TEST(WordImportTableRows, CentredAndRightAlignedRowsArePlacedByTheirWidth) {
    // sprmTJc90 and sprmTJc: the row's first edge does not place such a row.
    const double width = TwipsToMm(2880);
    const std::vector<std::pair<TSprms, double>> cases = {
        {sprm::Op16(0x5400, 1), (kTextWidthMM - width) / 2},
        {sprm::Op16(0x548A, 2), kTextWidthMM - width},
        {sprm::Op16(0x5400, 0), TwipsToMm(-1000)},
    };
    for (const auto& [jc, indent] : cases) {
        TWordBuilder b;
        b.Cell(u"a").Cell(u"b").RowEnd(jc + sprm::DefineRow({-1000, 440, 1880}));
        // The alignment belongs to its row only.
        b.Cell(u"c").RowEnd(sprm::DefineRow({720, 2160}));
        TDocument doc;
        Import(doc, b);
        const auto& lines = doc.Fields[0].Lines;
        for (int32_t c = 0; c < 2; ++c) {
            EXPECT_NEAR(lines[c].TableIndent, indent, 1e-9);
            EXPECT_NEAR(lines[c].TableRightGap, kTextWidthMM - indent - width, 1e-9);
        }
        EXPECT_NEAR(lines[2].TableIndent, TwipsToMm(720), 1e-9);
    }
}

TEST(WordImportTableRows, ARowWiderThanThePaperIsNarrowedToIt) {
    // Made for a wider page: the row would reach 95 mm beyond the right margin and 53 mm
    // beyond the left one.
    TWordBuilder b;
    b.Cell(u"a").Cell(u"b").RowEnd(sprm::DefineRow({-3000, 5000, 14000}));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    const double margin = TwipsToMm(1800);
    for (int32_t c = 0; c < 2; ++c) {
        EXPECT_NEAR(lines[c].TableIndent, -margin, 1e-9);
        EXPECT_NEAR(lines[c].TableRightGap, -margin, 1e-9);
    }
    // The cells keep their proportions.
    EXPECT_NEAR(lines[0].CellWidth, TwipsToMm(8000), 1e-9);
    EXPECT_NEAR(lines[1].CellWidth, TwipsToMm(9000), 1e-9);
}

TEST(WordImportTableRows, EmptyCellsShareTheRowsColumnsAndGap) {
    // In a two-column section an empty cell writes no format of its own; it must still be laid
    // out in the row's column and with the row's gap.
    TWordBuilder b;
    b.Cell(u"a").Cell(u"").Cell(u"c").RowEnd(sprm::DefineRow(kThreeInches));
    b.LastSection(sprm::Columns(2, 720));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    const double column = (kTextWidthMM - TwipsToMm(720)) / 2;
    for (int32_t c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(lines[c].ColumnCount, 2);
        EXPECT_NEAR(lines[c].ColumnSpacing, TwipsToMm(720), 1e-9);
        EXPECT_NEAR(lines[c].TableRightGap, column - TwipsToMm(4320), 1e-9);
    }
}

TEST(WordImportTableRows, ARowWhoseCellCountDiffersStaysPlain) {
    TWordBuilder b;
    // Two cells against a definition of three, then three cells against one of three.
    b.Cell(u"x").Cell(u"y").RowEnd(sprm::DefineRow(kThreeInches));
    b.Cell(u"a").Cell(u"b").Cell(u"c").RowEnd(sprm::DefineRow(kThreeInches));
    // A row end without any definition.
    b.Cell(u"p").Cell(u"q").RowEnd({});
    TDocument doc;
    Import(doc, b);
    ASSERT_EQ(FieldText(doc, 0), "x\ny\na\nb\nc\np\nq\n");
    const auto& lines = doc.Fields[0].Lines;
    ExpectPlain(lines[0]);
    ExpectPlain(lines[1]);
    for (int32_t c = 0; c < 3; ++c)
        EXPECT_EQ(lines[2 + c].CellsInRow, 3);
    ExpectPlain(lines[5]);
    ExpectPlain(lines[6]);
}

TEST(WordImportTableRows, ARowEndResetsTheRowState) {
    TWordBuilder b;
    b.Cell(u"a").Cell(u"b").RowEnd(sprm::DefineRow({0, 1440, 2880}) +
                                   sprm::RowShading({Shd(6, 8, 1), Shd(6, 8, 1)}));
    // The cells of the row before do not count for this one, and its definition and shading do
    // not carry over: two cells without a definition stay plain, and a definition without
    // shading gives unshaded cells.
    b.Cell(u"c").Cell(u"d").RowEnd({});
    b.Cell(u"e").Cell(u"f").RowEnd(sprm::DefineRow({0, 720, 1440}));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    EXPECT_EQ(lines[0].CellDesign.ShadeColor, 0x0000FF);
    EXPECT_EQ(lines[1].CellsInRow, 2);
    ExpectPlain(lines[2]);
    ExpectPlain(lines[3]);
    for (int32_t k = 4; k < 6; ++k) {
        EXPECT_EQ(lines[k].CellsInRow, 2);
        EXPECT_EQ(lines[k].CellIndex, k - 4);
        EXPECT_NEAR(lines[k].CellWidth, TwipsToMm(720), 1e-9);
        EXPECT_EQ(lines[k].CellDesign, TCellDesign{});
    }
}

TEST(WordImportTableRows, EveryStoryStartsWithoutARow) {
    // The main text ends inside a row; the header's row is counted from its own cells.
    TWordBuilder b;
    b.Cell(u"dangling");
    b.Story(THeaderStory::OddHeader);
    b.Cell(u"h1").Cell(u"h2").RowEnd(sprm::DefineRow({0, 1440, 2880}));
    TDocument doc;
    Import(doc, b);
    EXPECT_EQ(doc.Fields[0].Lines[0].InTable, 0);
    const TFieldRec& header = doc.Fields[5];
    ASSERT_EQ(FieldText(doc, 5), "h1\nh2\n");
    const size_t first = header.Lines.size() - 3;
    EXPECT_EQ(header.Lines[first].CellsInRow, 2);
    EXPECT_EQ(header.Lines[first + 1].CellIndex, 1);
}

TEST(WordImportTableRows, CellShadingBlendsItsColours) {
    TWordBuilder b;
    b.Cell(u"1").Cell(u"2").Cell(u"3").Cell(u"4");
    b.RowEnd(sprm::DefineRow({0, 720, 1440, 2160, 2880}) +
             sprm::RowShading({Shd(6, 8, 1),     // solid red
                               Shd(1, 8, 3),     // 10 per cent black on white
                               Shd(0, 0, 0),     // none
                               Shd(2, 7, 8)}));  // 50 per cent blue on yellow
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    EXPECT_EQ(lines[0].CellDesign.ShadeColor, 0x0000FF);
    EXPECT_EQ(lines[0].CellDesign.ShadeTransparent, 0);
    EXPECT_EQ(lines[1].CellDesign.ShadeColor, 0xE5E5E5);
    EXPECT_EQ(lines[1].CellDesign.ShadeTransparent, 0);
    EXPECT_EQ(lines[2].CellDesign.ShadeColor, 0xFFFFFF);
    EXPECT_EQ(lines[2].CellDesign.ShadeTransparent, 1);
    EXPECT_EQ(lines[3].CellDesign.ShadeColor, 0x7F7F7F);
    // The borders stay the standard ones.
    EXPECT_EQ(lines[3].CellDesign.BorderOn, (std::array<uint8_t, 4>{1, 1, 1, 1}));
}

TEST(WordImportTableRows, ShadingForFewerCellsShadesThoseAndKeepsTheRow) {
    TWordBuilder b;
    // The shading comes before the definition and covers only the first cell.
    b.Cell(u"a").Cell(u"b").Cell(u"c").RowEnd(sprm::RowShading({Shd(6, 8, 1)}) +
                                              sprm::DefineRow(kThreeInches));
    TDocument doc;
    Import(doc, b);
    const auto& lines = doc.Fields[0].Lines;
    EXPECT_EQ(lines[0].CellsInRow, 3);
    EXPECT_EQ(lines[0].CellDesign.ShadeColor, 0x0000FF);
    EXPECT_EQ(lines[1].CellDesign.ShadeTransparent, 1);
    EXPECT_EQ(lines[2].CellDesign.ShadeTransparent, 1);
}

TEST(WordImportTableRows, DefinitionsOfMoreThanElevenCellsAreReadWhole) {
    for (int cells : {12, 16}) {
        SCOPED_TRACE(cells);
        std::vector<int16_t> edges;
        for (int k = 0; k <= cells; ++k)
            edges.push_back(static_cast<int16_t>(240 * k));
        TWordBuilder b;
        for (int k = 0; k < cells; ++k)
            b.Cell(u"x");
        // The definition's operand is longer than 255 bytes from 12 cells on; with cell
        // shading and spacing after it both must still be read.
        TSprms shading = sprm::RowShading(std::vector<uint16_t>(cells, Shd(6, 8, 1)));
        b.RowEnd(sprm::DefineRow(edges) + shading + sprm::SpaceAfter(240));
        TDocument doc;
        Import(doc, b);
        const auto& lines = doc.Fields[0].Lines;
        ASSERT_GE(lines.size(), static_cast<size_t>(cells));
        for (int k = 0; k < cells; ++k) {
            ASSERT_EQ(lines[k].CellsInRow, cells);
            EXPECT_EQ(lines[k].CellIndex, k);
            EXPECT_NEAR(lines[k].CellWidth, TwipsToMm(240), 1e-9);
            EXPECT_EQ(lines[k].CellDesign.ShadeColor, 0x0000FF);
        }
    }
}

// A row definition of the given cells with only the edges, no cell descriptors.
TSprms EdgesOnly(int cells, int edgeCount) {
    std::vector<uint8_t> body{static_cast<uint8_t>(cells)};
    for (int k = 0; k < edgeCount; ++k) {
        body.push_back(static_cast<uint8_t>(100 * k));
        body.push_back(static_cast<uint8_t>((100 * k) >> 8));
    }
    const auto cb = static_cast<uint16_t>(body.size() + 1);
    body.insert(body.begin(), {static_cast<uint8_t>(cb), static_cast<uint8_t>(cb >> 8)});
    return sprm::Raw(0xD608, body);
}

TEST(WordImportTableRows, RowsOfMoreThanSixtyFourCellsStayPlain) {
    for (int cells : {64, 65}) {
        TWordBuilder b;
        for (int k = 0; k < cells; ++k)
            b.Cell(u"x");
        b.RowEnd(EdgesOnly(cells, cells + 1));
        TDocument doc;
        Import(doc, b);
        EXPECT_EQ(doc.Fields[0].Lines[0].CellsInRow, cells == 64 ? 64 : 1) << cells;
    }
}

TEST(WordImportTableRows, DamagedDefinitionsLeaveTheRowPlain) {
    const std::vector<std::pair<const char*, TSprms>> damaged = {
        // Three cells but edges for two only.
        {"missing edges", EdgesOnly(3, 3)},
        // An operand size of 0 (nothing after it).
        {"empty", sprm::Raw(0xD608, {0, 0})},
        {"size one", sprm::Raw(0xD608, {1, 0})},
        // A size running past the property list: the list ends there.
        {"past the list", sprm::Raw(0xD608, {0xFF, 0x7F, 3, 0, 0, 0xA0, 5})},
    };
    for (const auto& [what, tapx] : damaged) {
        SCOPED_TRACE(what);
        TWordBuilder b = ThreeCellRow(tapx);
        b.Cell(u"d").Cell(u"e").Cell(u"f").RowEnd(sprm::DefineRow(kThreeInches));
        TDocument doc;
        EXPECT_TRUE(Import(doc, b).Converted);
        const auto& lines = doc.Fields[0].Lines;
        ASSERT_EQ(FieldText(doc, 0), "a\nb\nc\nd\ne\nf\n");
        for (int k = 0; k < 3; ++k)
            ExpectPlain(lines[k]);
        // The next row is read as ever.
        EXPECT_EQ(lines[3].CellsInRow, 3);
    }
}

TEST(WordImportTableRows, GarbageRowOperandsAreReadSafely) {
    std::mt19937 random(1907);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 300);
    for (int round = 0; round < 60; ++round) {
        std::vector<uint8_t> operand(static_cast<size_t>(length(random)));
        for (uint8_t& v : operand)
            v = static_cast<uint8_t>(byte(random));
        // The operand's size either fits the list or claims any 16-bit value.
        const auto cb = static_cast<uint16_t>(round % 2 ? operand.size() + 1 : byte(random) << 8);
        operand.insert(operand.begin(), {static_cast<uint8_t>(cb), static_cast<uint8_t>(cb >> 8)});
        std::vector<uint8_t> shading(static_cast<size_t>(byte(random) % 40));
        for (uint8_t& v : shading)
            v = static_cast<uint8_t>(byte(random));
        shading.insert(shading.begin(), static_cast<uint8_t>(shading.size()));
        TWordBuilder b;
        b.Cell(u"a").Cell(u"b").RowEnd(sprm::Raw(0xD609, shading) + sprm::Raw(0xD608, operand));
        b.Para(u"after");
        TDocument doc;
        ASSERT_TRUE(Import(doc, b).Converted) << round;
        EXPECT_EQ(FieldText(doc, 0), "a\nb\nafter\n") << round;
        for (const TLineRec& line : doc.Fields[0].Lines) {
            EXPECT_GE(line.CellWidth, 0) << round;
            EXPECT_TRUE(line.CellsInRow == 1 || line.CellsInRow == 2) << round;
        }
    }
}

TEST(WordImportTableRows, MarksInsideACellAreKeptWithTheFormatThatFollows) {
    TWordBuilder b;
    // A cell of three paragraphs (the second ends in a line break, the third holds a page
    // break) and a second cell.
    b.Text(u"one", sprm::Bold()).Paragraph(sprm::InTable() + sprm::SpaceAfter(240));
    b.Text(u"two\vthree\f").Paragraph(sprm::InTable() + sprm::Justify(1) + sprm::IndentLeft(720));
    b.Cell(u"four", sprm::Justify(2));
    b.Cell(u"x");
    b.RowEnd(sprm::DefineRow({0, 2880, 4320}));
    TDocument doc;
    Import(doc, b);
    const TLineRec& cell = doc.Fields[0].Lines[0];
    ASSERT_EQ(LineText(cell), "one\rtwo\x0Ethree\x0F\rfour");
    EXPECT_EQ(cell.CellsInRow, 2);
    EXPECT_EQ(cell.Para.Align, 0);
    EXPECT_NEAR(cell.Para.SpaceAfter, TwipsToMm(240), 1e-9);
    // The kept marks have the default font entry and no width.
    for (size_t i : {3u, 7u, 13u, 14u}) {
        EXPECT_EQ(FontOf(doc, &cell.Chars[i]), doc.DefaultFontRec()) << i;
        EXPECT_EQ(cell.Chars[i].Width, 0) << i;
    }
    // Only paragraph ends carry a format: the one of the paragraph after them, padded, without
    // spacing, single-spaced and without tabs of its own.
    const TCharRec& first = cell.Chars[3];
    ASSERT_TRUE(first.ParaCopy);
    EXPECT_EQ(first.ParaCopy->Align, 1);
    EXPECT_NEAR(first.ParaCopy->LeftIndent, TwipsToMm(720) + 2.5, 1e-9);
    EXPECT_NEAR(first.ParaCopy->RightIndent, 2.5, 1e-9);
    EXPECT_EQ(first.ParaCopy->SpaceAfter, 0);
    EXPECT_FALSE(cell.Chars[7].ParaCopy);
    EXPECT_FALSE(cell.Chars[13].ParaCopy);
    const TCharRec& second = cell.Chars[14];
    ASSERT_TRUE(second.ParaCopy);
    EXPECT_EQ(second.ParaCopy->Align, 2);
    EXPECT_NEAR(second.ParaCopy->LeftIndent, 2.5, 1e-9);
    EXPECT_EQ(doc.Fields[0].Lines[1].Para.Align, 0);
}

TEST(WordImportTableRows, AParagraphAfterAnUnclosedTableParagraphWritesItsOwnLine) {
    // A table paragraph that no cell mark closes, then plain paragraphs: the line after the
    // plain paragraph's end gets its own format, not the kept mark's copy.
    TWordBuilder b;
    b.Text(u"in").Paragraph(sprm::InTable());
    b.Para(u"out", sprm::Justify(1));
    b.Para(u"next", sprm::Justify(2));
    TDocument doc;
    Import(doc, b);
    ASSERT_EQ(FieldText(doc, 0), "in\rout\nnext\n");
    const auto& lines = doc.Fields[0].Lines;
    EXPECT_EQ(lines[0].Chars[2].ParaCopy->Align, 1);
    EXPECT_EQ(lines[1].Para.Align, 2);
}

}  // namespace
}  // namespace qm::testing
