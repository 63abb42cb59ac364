// Character, paragraph and section properties as the model receives them.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

constexpr uint16_t kBoldStyle = 1;
constexpr uint16_t kEmphasis = 10;

TDocument Imported(const TWordBuilder& b) {
    TDocument doc;
    EXPECT_TRUE(Import(doc, b).Converted);
    return doc;
}

const TParaFormat& ParaOfLine(const TDocument& doc, int line) {
    return doc.Fields[0].Lines.at(static_cast<size_t>(line)).Para;
}

TEST(WordImportProps, ToggleByInversionOverABoldStyleGivesPlainText) {
    TWordBuilder b;
    b.Style({0, false, 0x0FFF, "Normal", {}, {}});
    b.Style({kBoldStyle, false, 0, "Bold heading", {}, sprm::Bold()});
    b.Text(u"B")
        .Text(u"p", sprm::Bold(0x81))
        .Text(u"k", sprm::Bold(0x80))
        .Paragraph({}, kBoldStyle);
    b.Text(u"n").Text(u"i", sprm::Bold(0x81)).Paragraph();
    TDocument doc = Imported(b);
    EXPECT_TRUE(FontOf(doc, FindChar(doc, 'B')).Style & kStyleBold);
    EXPECT_FALSE(FontOf(doc, FindChar(doc, 'p')).Style & kStyleBold);
    EXPECT_TRUE(FontOf(doc, FindChar(doc, 'k')).Style & kStyleBold);
    EXPECT_FALSE(FontOf(doc, FindChar(doc, 'n')).Style & kStyleBold);
    EXPECT_TRUE(FontOf(doc, FindChar(doc, 'i')).Style & kStyleBold);
}

TEST(WordImportProps, FontSizesUseAllSixteenBitsOfTheHalfPoints) {
    TWordBuilder b;
    b.Text(u"a", sprm::Size(144)).Text(u"b", sprm::Size(260)).Text(u"c", sprm::Size(3276));
    b.Text(u"d").Paragraph();
    TDocument doc = Imported(b);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'a')).Size, 72.0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'b')).Size, 130.0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'c')).Size, 1638.0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'd')).Size, 10.0);  // the style's default
}

TEST(WordImportProps, StylesGiveTheirPropertiesOnTopOfTheirBase) {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Arial").Font("Courier New");
    b.Style({0, false, 0x0FFF, "Normal", {}, sprm::Size(24)});
    b.Style(
        {kBoldStyle, false, 0, "Heading", sprm::Justify(1), sprm::Bold() + sprm::FontNumber(1)});
    b.Style({2, false, kBoldStyle, "Subheading", {}, sprm::Italic()});
    b.Style({kEmphasis, true, 0x0FFF, "Emphasis", {}, sprm::Italic() + sprm::Underline(1)});
    b.Para(u"H", {}, kBoldStyle)
        .Para(u"S", {}, 2)
        .Text(u"x")
        .Text(u"E", sprm::CharStyle(kEmphasis));
    b.Text(u"C", sprm::FontNumber(2)).Text(u"Z", sprm::FontNumber(40)).Paragraph();
    TDocument doc = Imported(b);
    const TFontRec& h = FontOf(doc, FindChar(doc, 'H'));
    EXPECT_EQ(h.Name, "Arial");
    EXPECT_EQ(h.Size, 12.0);
    EXPECT_EQ(h.Style, kStyleBold);
    EXPECT_EQ(ParaOfLine(doc, 0).Align, 1);
    const TFontRec& s = FontOf(doc, FindChar(doc, 'S'));
    EXPECT_EQ(s.Style, kStyleBold | kStyleItalic);
    EXPECT_EQ(ParaOfLine(doc, 1).Align, 1);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'x')).Style, 0);
    const TFontRec& e = FontOf(doc, FindChar(doc, 'E'));
    EXPECT_EQ(e.Style, kStyleItalic | kStyleUnderline);
    EXPECT_TRUE(e.Attrib & kAttribUnderline);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'C')).Name, "Courier New");
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'Z')).Name, "Times New Roman");  // no font 40
}

TEST(WordImportProps, ACharacterStyleNamingItselfIsNotFollowedForever) {
    TWordBuilder b;
    b.Style({0, false, 0x0FFF, "Normal", {}, {}});
    b.Style({kEmphasis, true, 0x0FFF, "Loop", {}, sprm::CharStyle(kEmphasis) + sprm::Italic(0x81)});
    b.Text(u"x", sprm::CharStyle(kEmphasis)).Paragraph();
    TDocument doc = Imported(b);
    EXPECT_NE(FindChar(doc, 'x'), nullptr);
}

TEST(WordImportProps, CharacterEffectsBecomeFontBits) {
    TWordBuilder b;
    b.Text(u"u", sprm::Underline(1)).Text(u"w", sprm::Underline(2)).Text(u"d", sprm::Underline(3));
    b.Text(u"^", sprm::Position(1)).Text(u"_", sprm::Position(2)).Text(u"s", sprm::Strike());
    b.Text(u"h", sprm::Shadow()).Text(u"m", sprm::SmallCaps()).Text(u"C", sprm::Caps());
    b.Text(u"r", sprm::Color(6)).Paragraph();
    TDocument doc = Imported(b);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'u')).Attrib, kAttribUnderline);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'w')).Attrib, kAttribUnderline | kAttribWordUnderline);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'd')).Attrib, kAttribUnderline | kAttribDoubleUnderline);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'd')).Style, kStyleUnderline);
    EXPECT_EQ(FontOf(doc, FindChar(doc, '^')).Attrib, kAttribSuperscript);
    EXPECT_EQ(FontOf(doc, FindChar(doc, '_')).Attrib, kAttribSubscript);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 's')).Style, kStyleStrikeOut);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'h')).Attrib, kAttribShadow);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'm')).Attrib, kAttribSmallCaps);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'C')).Attrib, kAttribAllCaps);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'r')).Color, 0x0000FF);
}

TEST(WordImportProps, HighlightAndShadingGiveTheBackground) {
    TWordBuilder b;
    const uint16_t tenPercentBlackOnWhite = 1 | (8 << 5) | (3 << 10);
    const uint16_t tenPercentBlackOnAuto = 1 | (0 << 5) | (3 << 10);
    const uint16_t solidAutoOnRed = 0 | (6 << 5) | (1 << 10);
    b.Text(u"h", sprm::Highlight(7)).Text(u"s", sprm::Shading(tenPercentBlackOnWhite));
    b.Text(u"a", sprm::Shading(tenPercentBlackOnAuto)).Text(u"r", sprm::Shading(solidAutoOnRed));
    b.Text(u"p").Paragraph();
    TDocument doc = Imported(b);
    const TFontRec& h = FontOf(doc, FindChar(doc, 'h'));
    EXPECT_EQ(h.BackColor, 0x00FFFF);
    EXPECT_EQ(h.Transparent, 0);
    const TFontRec& s = FontOf(doc, FindChar(doc, 's'));
    EXPECT_EQ(s.BackColor, 0xE5E5E5);
    EXPECT_EQ(s.Transparent, 0);
    // An automatic background is white behind the pattern, an automatic foreground black.
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'a')).BackColor, 0xE5E5E5);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'r')).BackColor, 0x000000);
    const TFontRec& p = FontOf(doc, FindChar(doc, 'p'));
    EXPECT_EQ(p.BackColor, 0xFFFFFF);
    EXPECT_EQ(p.Transparent, 1);
}

// A 10-byte SHD: foreground and background COLORREFs (0xFF000000 automatic), then the pattern.
TSprms Shd24(uint16_t code, uint32_t fore, uint32_t back, uint16_t pattern) {
    std::vector<uint8_t> operand = {10};
    for (const uint32_t value : {fore, back})
        for (int shift = 0; shift < 32; shift += 8)
            operand.push_back(static_cast<uint8_t>(value >> shift));
    operand.push_back(static_cast<uint8_t>(pattern));
    operand.push_back(static_cast<uint8_t>(pattern >> 8));
    return sprm::Raw(code, operand);
}

TEST(WordImportProps, TwentyFourBitShadingOverridesTheIndexedOneBeforeIt) {
    constexpr uint32_t kAuto = 0xFF000000;
    const uint16_t yellowIndex = 7 << 5;
    TWordBuilder b;
    // Text: an orange background (COLORREF 0x0080FF) over yellow; a clear pattern on an
    // automatic background over yellow: no shading; a 50 per cent blue on white.
    b.Text(u"o", sprm::Shading(yellowIndex) + Shd24(0xCA71, kAuto, 0x0080FF, 0));
    b.Text(u"n", sprm::Shading(yellowIndex) + Shd24(0xCA71, kAuto, kAuto, 0));
    b.Text(u"b", Shd24(0xCA71, 0xFF0000, 0xFFFFFF, 8)).Paragraph();
    // A paragraph shaded light green over the yellow index; one whose later indexed shading
    // wins over the 24-bit one.
    b.Para(u"g", sprm::Op16(0x442D, yellowIndex) + Shd24(0xC64D, kAuto, 0xCCFFCC, 0));
    b.Para(u"y", Shd24(0xC64D, kAuto, 0xCCFFCC, 0) + sprm::Op16(0x442D, yellowIndex));
    TDocument doc = Imported(b);
    const TFontRec& o = FontOf(doc, FindChar(doc, 'o'));
    EXPECT_EQ(o.BackColor, 0x0080FF);
    EXPECT_EQ(o.Transparent, 0);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'n')).Transparent, 1);
    EXPECT_EQ(FontOf(doc, FindChar(doc, 'b')).BackColor, 0xFF7F7F);
    EXPECT_EQ(ParaOfLine(doc, 1).ShadeColor, 0xCCFFCC);
    EXPECT_EQ(ParaOfLine(doc, 2).ShadeColor, 0x00FFFF);
}

TEST(WordImportProps, ParagraphIndentsSpacingAndAlignment) {
    TWordBuilder b;
    b.Para(u"a", sprm::IndentLeft(1440) + sprm::IndentRight(720) + sprm::IndentFirst(-360) +
                     sprm::SpaceBefore(240) + sprm::SpaceAfter(120) + sprm::Justify(3));
    b.Para(u"b", sprm::LineSpacing(360, 1));
    b.Para(u"c", sprm::LineSpacing(-300, 0));
    b.Para(u"d", sprm::LineSpacing(300, 0) + sprm::ListRef(1));
    b.Para(u"e", sprm::InTable() + sprm::IndentLeft(1440));
    TDocument doc = Imported(b);
    const TParaFormat& a = ParaOfLine(doc, 0);
    EXPECT_DOUBLE_EQ(a.LeftIndent, TwipsToMm(1440));
    EXPECT_DOUBLE_EQ(a.RightIndent, TwipsToMm(720));
    EXPECT_DOUBLE_EQ(a.FirstLineIndent, TwipsToMm(-360));
    EXPECT_DOUBLE_EQ(a.SpaceBefore, TwipsToMm(240));
    EXPECT_DOUBLE_EQ(a.SpaceAfter, TwipsToMm(120));
    EXPECT_EQ(a.Align, 3);
    EXPECT_DOUBLE_EQ(a.DefaultTabWidth, TwipsToMm(720));
    EXPECT_EQ(ParaOfLine(doc, 1).LineSpacingRule, 0);
    EXPECT_DOUBLE_EQ(ParaOfLine(doc, 1).LineSpacing, 1.5);
    EXPECT_EQ(ParaOfLine(doc, 2).LineSpacingRule, 2);
    EXPECT_DOUBLE_EQ(ParaOfLine(doc, 2).LineSpacing, TwipsToMm(300));
    EXPECT_EQ(ParaOfLine(doc, 3).LineSpacingRule, 1);
    EXPECT_EQ(ParaOfLine(doc, 3).ListKind, 2);
    EXPECT_EQ(ParaOfLine(doc, 0).ListKind, 0);
    EXPECT_DOUBLE_EQ(ParaOfLine(doc, 4).LeftIndent, TwipsToMm(1440) + 2.5);
}

TEST(WordImportProps, TabStopsAreAddedDeletedAndCappedAt64) {
    std::vector<std::pair<int16_t, uint8_t>> tabs;
    for (int16_t i = 64; i >= 1; --i)
        tabs.push_back({static_cast<int16_t>(i * 100), 0});
    TWordBuilder b;
    b.Para(u"a", sprm::Tabs({}, {{720, 1 | (1 << 3)}, {1440, 2 | (2 << 3)}, {360, 3 | (3 << 3)}}));
    b.Para(u"b", sprm::Tabs({}, {{720, 0}}) + sprm::Tabs({720, 9999}, {}));
    b.Para(u"c", sprm::Tabs({}, tabs) + sprm::Tabs({}, {{50, 0}}) + sprm::Tabs({}, {{100, 2}}));
    TDocument doc = Imported(b);
    const TParaFormat& a = ParaOfLine(doc, 0);
    ASSERT_EQ(a.TabCount(), 3);
    EXPECT_DOUBLE_EQ(a.Tabs[0].Pos, TwipsToMm(360));
    EXPECT_EQ(a.Tabs[0].Align, 3);
    EXPECT_EQ(a.Tabs[0].Leader, 3);
    EXPECT_EQ(a.Tabs[1].Align, 1);
    EXPECT_EQ(a.Tabs[1].Leader, 2);  // dots
    EXPECT_EQ(a.Tabs[2].Align, 2);
    EXPECT_EQ(a.Tabs[2].Leader, 1);  // hyphens
    EXPECT_EQ(ParaOfLine(doc, 1).TabCount(), 0);
    const TParaFormat& c = ParaOfLine(doc, 2);
    ASSERT_EQ(c.TabCount(), 64);  // the 65th (at 50 twips) is not added
    EXPECT_DOUBLE_EQ(c.Tabs[0].Pos, TwipsToMm(100));
    EXPECT_EQ(c.Tabs[0].Align, 2);  // an existing position is still replaced
    EXPECT_DOUBLE_EQ(c.Tabs[63].Pos, TwipsToMm(6400));
}

TEST(WordImportProps, TheFirstSectionSetsThePageAndTheHeaderFooterFields) {
    TWordBuilder b;
    b.Para(u"text");
    b.LastSection(sprm::PageSize(11906, 16838) + sprm::Margins(1134, 1000, 1440, -1440) +
                  sprm::HeaderDistances(708, 1400) + sprm::TitlePage());
    b.Options().FacingPages = true;
    TDocument doc = Imported(b);
    EXPECT_DOUBLE_EQ(doc.PageWidthMM, TwipsToMm(11906));
    EXPECT_DOUBLE_EQ(doc.PageHeightMM, TwipsToMm(16838));
    EXPECT_EQ(doc.PageWidthPx, MmToPixels(doc.PageWidthMM, doc.PrinterDPI));
    const TFieldRec& body = doc.Fields[0];
    EXPECT_DOUBLE_EQ(body.MarginLeft, TwipsToMm(1134));
    EXPECT_DOUBLE_EQ(body.MarginRight, TwipsToMm(1000));
    EXPECT_DOUBLE_EQ(body.MarginTop, TwipsToMm(1440));
    EXPECT_DOUBLE_EQ(body.MarginBottom, TwipsToMm(1440));  // a negative bottom: its size
    EXPECT_DOUBLE_EQ(doc.Fields[1].MarginTop, TwipsToMm(708));
    EXPECT_DOUBLE_EQ(doc.Fields[1].Bottom, body.MarginTop - 0.5);
    EXPECT_DOUBLE_EQ(doc.Fields[3].MarginLeft, body.MarginLeft);
    // The footer distance would reach into the margin: margin less 18/35 inch.
    EXPECT_DOUBLE_EQ(doc.Fields[2].MarginBottom, body.MarginBottom - kMmPerInch * 18 / 35);
    EXPECT_DOUBLE_EQ(doc.Fields[2].Top, body.MarginBottom - 0.5);
    const uint8_t expected[] = {0, 0, 5, 5, 6, 6};  // title page, facing pages
    for (int f = 1; f <= 6; ++f)
        EXPECT_EQ(doc.Fields[f].PageSel, expected[f - 1]) << f;
}

TEST(WordImportProps, SingleSpacedLinesIncludeTheFontsLineGap) {
    // Word sets 12-point Times New Roman single spaced 13.8 points apart (its cell of 13.3
    // points and the font's line gap): a Letter page with one-inch margins holds 46 lines, the
    // 47th starts a page (without the gap 48 would fit).
    for (const int paragraphs : {46, 47}) {
        TWordBuilder b;
        for (int i = 0; i < paragraphs; ++i)
            b.Text(u"line", sprm::Size(24)).Paragraph();
        b.LastSection(sprm::PageSize(12240, 15840) + sprm::Margins(1440, 1440, 1440, 1440));
        TDocument doc = Imported(b);
        doc.CompleteRefresh();
        EXPECT_EQ(doc.GetAnzPages(), paragraphs == 46 ? 1 : 2) << paragraphs;
    }
}

TEST(WordImportProps, AnEmptyParagraphHasTheFormatOfItsMark) {
    // Empty paragraphs keep what their marks say: the page break before one starts a page, the
    // space after another stands below it, a centred one is centred.
    TWordBuilder b;
    b.Para(u"text");
    b.Para(u"", sprm::PageBreakBefore());
    b.Para(u"", sprm::SpaceAfter(480) + sprm::Justify(1));
    // An empty line is as high as its mark's font: 24 points after 10.
    b.Paragraph({}, 0, sprm::Size(48));
    b.Para(u"end");
    TDocument doc = Imported(b);
    const TParaFormat& spaced = ParaOfLine(doc, 2);
    EXPECT_NEAR(spaced.SpaceAfter, TwipsToMm(480), 1e-9);
    EXPECT_EQ(spaced.Align, 1);
    doc.CompleteRefresh();
    EXPECT_EQ(doc.GetAnzPages(), 2);
    const int32_t page2 = doc.Fields[0].NextField;
    ASSERT_GT(page2, 0);
    const auto& lines = doc.Fields[page2].Lines;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_GT(lines[2].LineHeight, 2 * lines[1].LineHeight);
}

TEST(WordImportProps, HeaderFooterPageSelection) {
    struct TCase {
        bool Title;
        bool Facing;
        uint8_t First, Even, Odd;
    };
    for (const TCase& c : {TCase{false, false, 99, 99, 1}, TCase{true, false, 0, 99, 2},
                           TCase{false, true, 99, 3, 4}}) {
        TWordBuilder b;
        b.Para(u"x").LastSection(sprm::TitlePage(c.Title));
        b.Options().FacingPages = c.Facing;
        TDocument doc = Imported(b);
        EXPECT_EQ(doc.Fields[1].PageSel, c.First);
        EXPECT_EQ(doc.Fields[4].PageSel, c.Even);
        EXPECT_EQ(doc.Fields[6].PageSel, c.Odd);
    }
}

TEST(WordImportProps, AnAbsurdPageSizeKeepsTheDefault) {
    TWordBuilder b;
    b.Para(u"x").LastSection(sprm::PageSize(0, 60000));
    TDocument doc = Imported(b);
    EXPECT_DOUBLE_EQ(doc.PageWidthMM, TwipsToMm(12240));
    EXPECT_DOUBLE_EQ(doc.PageHeightMM, TwipsToMm(15840));
}

TEST(WordImportProps, EqualFormatsShareOneFontEntry) {
    TWordBuilder b;
    for (int i = 0; i < 20; ++i) {
        b.Text(u"plain ").Text(u"bold ", sprm::Bold()).Text(u"big", sprm::Size(48)).Paragraph();
    }
    TDocument doc = Imported(b);
    // The model's default entry from NewChar, then plain, bold and big.
    EXPECT_EQ(doc.FontCount(), 4);
}

TEST(WordImportProps, AParagraphsHugePropertyListIsReadFromTheDataStream) {
    TWordBuilder b;
    // sprmPHugePapx names where in "Data" the paragraph's list stands: its size, then the list
    // (here right alignment and 12 points after). A place beyond the stream is passed over.
    const TSprms huge = sprm::Justify(2) + sprm::SpaceAfter(240);
    std::vector<uint8_t> prcData = {static_cast<uint8_t>(huge.size()), 0};
    prcData.insert(prcData.end(), huge.begin(), huge.end());
    const uint32_t at = b.AddData(prcData);
    b.Para(u"far", sprm::Op32(0x6646, at));
    b.Para(u"lost", sprm::Op32(0x6646, 0x7FFFFFF0));
    TDocument doc;
    const TImportResult result = Import(doc, b);
    EXPECT_EQ(ParaOfLine(doc, 0).Align, 2);
    EXPECT_DOUBLE_EQ(ParaOfLine(doc, 0).SpaceAfter, TwipsToMm(240));
    EXPECT_EQ(ParaOfLine(doc, 1).Align, 0);
    ASSERT_EQ(result.Notices.Items().size(), 1u);
    EXPECT_NE(result.Notices.Items()[0].Sentence().find("paragraph property list"),
              std::string::npos)
        << result.Notices.Items()[0].Sentence();
}

TEST(WordImportProps, AShadedParagraphIsFilledBehindItsLines) {
    TWordBuilder b;
    // sprmPShd80: background colour index 7 (yellow), clear pattern; then a plain paragraph.
    b.Para(u"shaded", sprm::Op16(0x442D, 7 << 5) + sprm::IndentLeft(720));
    b.Para(u"plain");
    TDocument doc = Imported(b);
    doc.CompleteRefresh();
    EXPECT_EQ(ParaOfLine(doc, 0).ShadeColor, 0x00FFFF);
    EXPECT_EQ(ParaOfLine(doc, 1).ShadeColor, -1);
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    const std::vector<std::string> fills = surface.Only("fill");
    const auto yellow = std::find_if(fills.begin(), fills.end(), [](const std::string& f) {
        return f.size() > 6 && f.substr(f.size() - 6) == " 65535";
    });
    ASSERT_NE(yellow, fills.end());
    // It starts at the left indent: half an inch in from the text's left edge.
    const int left = std::stoi(yellow->substr(5, yellow->find(',') - 5));
    const std::vector<std::string> texts = surface.Only("text");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(left, std::stoi(texts[0].substr(5, texts[0].find(',') - 5)));
    EXPECT_EQ(
        std::count_if(fills.begin(), fills.end(),
                      [](const std::string& f) { return f.substr(f.size() - 6) == " 65535"; }),
        1);
}

TEST(WordImportProps, EightByteBordersBringTheirOwnColour) {
    // sprmPBrcTop and sprmPBrcBottom: a red (COLORREF 0x0000FF) line of 1.5 points, an automatic
    // one of half a point; a Brc80 after an 8-byte border takes back the colour index.
    const auto brc = [](uint16_t code, uint32_t cv, uint8_t eighths) {
        return sprm::Raw(code, {8, static_cast<uint8_t>(cv), static_cast<uint8_t>(cv >> 8),
                                static_cast<uint8_t>(cv >> 16), static_cast<uint8_t>(cv >> 24),
                                eighths, 1, 0, 0});
    };
    TWordBuilder b;
    b.Para(u"framed", brc(0xC64E, 0x0000FF, 12) + brc(0xC650, 0xFF000000, 4));
    b.Para(u"indexed", brc(0xC64E, 0x0000FF, 12) + sprm::Op32(0x6424, 6 | (1 << 8) | (2 << 16)));
    TDocument doc = Imported(b);
    const TParaFormat& framed = ParaOfLine(doc, 0);
    EXPECT_DOUBLE_EQ(framed.BorderWidth[0], 1.5);
    EXPECT_EQ(framed.BorderColor[0], 0x0000FF);
    EXPECT_DOUBLE_EQ(framed.BorderWidth[2], 0.5);
    EXPECT_EQ(framed.BorderColor[2], 0);
    EXPECT_EQ(framed.BorderWidth[1], 0);
    const TParaFormat& indexed = ParaOfLine(doc, 1);
    EXPECT_DOUBLE_EQ(indexed.BorderWidth[0], 0.75);
    EXPECT_EQ(indexed.BorderColor[0], 0xFF0000);  // index 2, blue
}

TEST(WordImportProps, ABorderedParagraphIsFramedOnceAroundAllItsLines) {
    // Single 3/4-point lines (Brc80: width 6, kind 1) on all four sides of a long paragraph,
    // then a paragraph with a top border only.
    const uint32_t single = 6 | (1 << 8);
    const TSprms frame = sprm::Op32(0x6424, single) + sprm::Op32(0x6425, single) +
                         sprm::Op32(0x6426, single) + sprm::Op32(0x6427, single);
    TWordBuilder b;
    std::u16string words;
    for (int i = 0; i < 40; ++i)
        words += u"framed words ";
    b.Para(words, frame);
    b.Para(u"topped", sprm::Op32(0x6424, single));
    b.Para(u"plain");
    TDocument doc = Imported(b);
    doc.CompleteRefresh();
    EXPECT_DOUBLE_EQ(ParaOfLine(doc, 0).BorderWidth[0], 0.75);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 5u);  // the framed paragraph takes several lines
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    // Rules are fills of the border's colour, black; the page's own fills are white.
    int rules = 0;
    for (const std::string& fill : surface.Only("fill"))
        rules += fill.substr(fill.rfind(' ')) == " 0";
    const auto framedLines = std::count_if(
        lines.begin(), lines.end(), [](const TLineRec& l) { return l.Para.BorderWidth[1] > 0; });
    EXPECT_GE(framedLines, 3);
    // Two sides on every framed line, a top and a bottom once, and the second paragraph's top.
    EXPECT_EQ(rules, 2 * framedLines + 2 + 1);
}

}  // namespace
}  // namespace qm::testing
