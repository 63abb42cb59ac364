// Paragraph and character properties from the document to the PDF, through the command line:
// a paragraph that starts a new page (directly or through its style), the 24-bit text colour,
// the logical paragraph alignment of right-to-left paragraphs, hidden text and the stylesheet's
// standard font (and font names in other scripts); paragraphs kept together, kept with the next
// one, and widow control.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;
using test::TTempDir;

class ParagraphProps : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"pdfinfo", "pdftotext", "qpdf", "pdffonts"}) {
            if (!test::ToolAvailable(tool)) GTEST_SKIP() << tool << " is not installed";
        }
    }

    // Converts the built document; returns the PDF's path.
    std::string Convert(const TWordBuilder& b) {
        const std::string doc = dir / "props.doc";
        const std::string pdf = dir / "props.pdf";
        test::WriteFile(doc, b.Build());
        const auto run = RunCommand(std::string(QM_CONVERT_BIN) + " -q -o " + ShellQuote(pdf) +
                                    " " + ShellQuote(doc));
        EXPECT_EQ(run.ExitCode, 0);
        return pdf;
    }

    int Pages(const std::string& pdf) {
        const std::string info = RunCommand("pdfinfo " + ShellQuote(pdf)).Output;
        std::smatch m;
        return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
    }

    std::string PageText(const std::string& pdf, int page) {
        const std::string p = std::to_string(page);
        return RunCommand("pdftotext -f " + p + " -l " + p + " " + ShellQuote(pdf) + " -").Output;
    }

    TTempDir dir;
};

TEST_F(ParagraphProps, PageBreakBeforeStartsANewPageUnlessTheParagraphAlreadyStartsOne) {
    constexpr uint16_t kChapter = 1;
    TWordBuilder b;
    b.Style({0, false, 0x0FFF, "Normal", {}, {}});
    b.Style({kChapter, false, 0, "Chapter", sprm::PageBreakBefore(), {}});
    // The first paragraph starts the first page already: no empty page before it.
    b.Para(u"Alpha", sprm::PageBreakBefore());
    b.Para(u"Beta");
    b.Para(u"Gamma", {}, kChapter);
    b.Para(u"Delta");
    // The paragraph's own list turns its style's break off.
    b.Para(u"Epsilon", sprm::PageBreakBefore(0), kChapter);
    b.Para(u"Zeta", sprm::PageBreakBefore());
    const std::string pdf = Convert(b);
    ASSERT_EQ(Pages(pdf), 3);
    const std::vector<std::vector<std::string>> pages = {
        {"Alpha", "Beta"}, {"Gamma", "Delta", "Epsilon"}, {"Zeta"}};
    const std::vector<std::string> all = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"};
    for (size_t p = 0; p < pages.size(); ++p) {
        // Characters are placed one by one, so extraction may guess spaces inside words.
        std::string text = PageText(pdf, static_cast<int>(p) + 1);
        std::erase(text, ' ');
        for (const std::string& word : all) {
            const bool expected =
                std::find(pages[p].begin(), pages[p].end(), word) != pages[p].end();
            EXPECT_EQ(text.find(word) != std::string::npos, expected)
                << word << " page " << p + 1 << ": " << text;
        }
    }
}

// Pages of lines exactly 700 twips high: 18 of them fill the default page's 12960 twips.
class KeptLines : public ParagraphProps {
  protected:
    const TSprms exact = sprm::LineSpacing(-700, 0);

    // count one-line paragraphs before the paragraph under test.
    void Filler(TWordBuilder& b, int count) {
        for (int i = 0; i < count; ++i)
            b.Para(u"filler", exact);
    }

    // The page whose text holds the word, or 0.
    int PageOf(const std::string& pdf, const std::string& word) {
        for (int p = 1; p <= Pages(pdf); ++p) {
            std::string text = PageText(pdf, p);
            std::erase(text, ' ');
            if (text.find(word) != std::string::npos) return p;
        }
        return 0;
    }
};

TEST_F(KeptLines, AHeadingKeptWithTheNextParagraphMovesToItsPage) {
    for (const bool keep : {false, true}) {
        TWordBuilder b;
        Filler(b, 17);
        b.Para(u"Heading", exact + sprm::KeepWithNext(keep ? 1 : 0));
        b.Para(u"Body", exact);
        const std::string pdf = Convert(b);
        EXPECT_EQ(PageOf(pdf, "Heading"), keep ? 2 : 1);
        EXPECT_EQ(PageOf(pdf, "Body"), 2);
    }
}

TEST_F(KeptLines, AParagraphKeptTogetherMovesWhole) {
    for (const bool keep : {false, true}) {
        TWordBuilder b;
        Filler(b, 16);
        b.Para(u"Top\vMiddle\vBottom",
               exact + sprm::WidowControl(0) + sprm::KeepTogether(keep ? 1 : 0));
        const std::string pdf = Convert(b);
        EXPECT_EQ(PageOf(pdf, "Top"), keep ? 2 : 1);
        EXPECT_EQ(PageOf(pdf, "Middle"), keep ? 2 : 1);
        EXPECT_EQ(PageOf(pdf, "Bottom"), 2);
    }
    // Longer than a page: it starts a page of its own and breaks where it must.
    TWordBuilder b;
    b.Para(u"Before", exact);
    std::u16string lines = u"first";
    for (int i = 0; i < 30; ++i)
        lines += u"\vline";
    b.Para(lines + u"\vlast", exact + sprm::KeepTogether());
    const std::string pdf = Convert(b);
    EXPECT_EQ(Pages(pdf), 3);
    EXPECT_EQ(PageOf(pdf, "Before"), 1);
    EXPECT_EQ(PageOf(pdf, "first"), 2);
    EXPECT_EQ(PageOf(pdf, "last"), 3);
}

TEST_F(KeptLines, WidowControlLeavesNoLineOfAParagraphAloneOnAPage) {
    for (const bool control : {false, true}) {
        const TSprms widow = sprm::WidowControl(control ? 1 : 0);
        // The last line would start the next page alone: the one before goes with it.
        TWordBuilder widows;
        Filler(widows, 15);
        widows.Para(u"One\vTwo\vThree\vFour", exact + widow);
        const std::string w = Convert(widows);
        EXPECT_EQ(PageOf(w, "Two"), 1);
        EXPECT_EQ(PageOf(w, "Three"), control ? 2 : 1);
        EXPECT_EQ(PageOf(w, "Four"), 2);
        // The first line would end the page alone: it goes to the next one.
        TWordBuilder orphans;
        Filler(orphans, 17);
        orphans.Para(u"One\vTwo\vThree\vFour", exact + widow);
        const std::string o = Convert(orphans);
        EXPECT_EQ(PageOf(o, "One"), control ? 2 : 1);
        EXPECT_EQ(PageOf(o, "Two"), 2);
    }
}

// The fill colours of the PDF's page content, as "r g b" rounded to hundredths.
std::vector<std::string> FillColors(const std::string& pdf, const TTempDir& dir) {
    const std::string qdf = dir / "qdf.pdf";
    RunCommand("qpdf --qdf --object-streams=disable " + ShellQuote(pdf) + " " + ShellQuote(qdf));
    const std::string content = test::ReadFile(qdf);
    static const std::regex kFill(R"(([0-9.]+) ([0-9.]+) ([0-9.]+) rg)");
    std::vector<std::string> colors;
    for (std::sregex_iterator it(content.begin(), content.end(), kFill), end; it != end; ++it) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f %.2f %.2f", std::stod((*it)[1]), std::stod((*it)[2]),
                      std::stod((*it)[3]));
        colors.emplace_back(text);
    }
    return colors;
}

TEST_F(ParagraphProps, TheColourRefOverridesTheColourIndexAndAutomaticIsBlack) {
    TWordBuilder b;
    // Red 0x33, green 0x66, blue 0xCC after the index of yellow.
    b.Text(u"blue ", sprm::Color(7) + sprm::ColorRef(0x00CC6633));
    // Automatic after the index of red.
    b.Text(u"auto ", sprm::Color(6) + sprm::ColorRef(0xFF000000));
    // A later index wins over an earlier 24-bit colour (a style's, say).
    b.Text(u"green", sprm::ColorRef(0x00CC6633) + sprm::Color(4));
    b.Paragraph();
    const std::vector<std::string> colors = FillColors(Convert(b), dir);
    auto has = [&](const std::string& c) {
        return std::find(colors.begin(), colors.end(), c) != colors.end();
    };
    EXPECT_TRUE(has("0.20 0.40 0.80"));
    EXPECT_TRUE(has("0.00 0.00 0.00"));
    EXPECT_TRUE(has("0.00 1.00 0.00"));
    EXPECT_FALSE(has("1.00 1.00 0.00"));  // yellow
    EXPECT_FALSE(has("1.00 0.00 0.00"));  // red
}

struct TWordBox {
    double XMin = 0;
    double XMax = 0;
};

// Where pdftotext finds the word on the first page.
TWordBox FindWord(const std::string& pdf, const std::string& word) {
    const std::string html =
        RunCommand("pdftotext -bbox -f 1 -l 1 " + ShellQuote(pdf) + " -").Output;
    const std::regex box(
        "<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" "
        "yMax=\"[0-9.]+\">" +
        word + "</word>");
    std::smatch m;
    if (!std::regex_search(html, m, box)) return {-1, -1};
    return {std::stod(m[1]), std::stod(m[2])};
}

TEST_F(ParagraphProps, LogicalAlignmentSwapsSidesInARightToLeftParagraph) {
    const TSprms rtl = sprm::RightToLeft();
    TWordBuilder b;
    b.Para(u"ltrend", sprm::JustifyLogical(2));
    b.Para(u"rtlend", sprm::JustifyLogical(2) + rtl);
    // The direction may come first: the order of the two does not matter.
    b.Para(u"rtlstart", rtl + sprm::JustifyLogical(0));
    // Physical alignment stays where it says.
    b.Para(u"rtlright", rtl + sprm::Justify(2));
    // Of the two alignments the later one counts.
    b.Para(u"laterphysical", rtl + sprm::JustifyLogical(2) + sprm::Justify(2));
    b.Para(u"laterlogical", rtl + sprm::Justify(2) + sprm::JustifyLogical(2));
    b.Para(u"centred", rtl + sprm::JustifyLogical(1));
    const std::string pdf = Convert(b);
    // The default page's text runs from 90 to 522 points.
    constexpr double kLeft = 90;
    constexpr double kRight = 522;
    auto atLeft = [&](const char* w) { return std::abs(FindWord(pdf, w).XMin - kLeft) < 2; };
    auto atRight = [&](const char* w) { return std::abs(FindWord(pdf, w).XMax - kRight) < 2; };
    EXPECT_TRUE(atRight("ltrend"));
    EXPECT_TRUE(atLeft("rtlend"));
    EXPECT_TRUE(atRight("rtlstart"));
    EXPECT_TRUE(atRight("rtlright"));
    EXPECT_TRUE(atRight("laterphysical"));
    EXPECT_TRUE(atLeft("laterlogical"));
    const TWordBox c = FindWord(pdf, "centred");
    EXPECT_NEAR((c.XMin + c.XMax) / 2, (kLeft + kRight) / 2, 2);
}

TEST_F(ParagraphProps, HiddenTextIsNotShownButItsParagraphEndIs) {
    TWordBuilder b;
    b.Text(u"shown ").Text(u"secret ", sprm::Hidden()).Text(u"kept").Paragraph();
    // A toggle of the hidden flag inverts a style's.
    b.Style({0, false, 0x0FFF, "Normal", {}, {}});
    b.Style({2, true, 0x0FFF, "Hidden chars", {}, sprm::Hidden()});
    b.Text(u"veiled", sprm::CharStyle(2))
        .Text(u"unveiled", sprm::CharStyle(2) + sprm::Hidden(0x81));
    b.Paragraph();
    b.Para(u"next");
    const std::string pdf = Convert(b);
    const std::string text = PageText(pdf, 1);
    EXPECT_NE(text.find("shown kept"), std::string::npos) << text;
    EXPECT_EQ(text.find("secret"), std::string::npos) << text;
    // Only the unhidden one of the pair shows.
    const size_t unveiled = text.find("unveiled");
    EXPECT_NE(unveiled, std::string::npos) << text;
    EXPECT_EQ(text.find("veiled"), unveiled + 2) << text;
    EXPECT_NE(text.find("next"), std::string::npos) << text;
}

TEST_F(ParagraphProps, TextThatNamesNoFontUsesTheStylesheetsStandardFont) {
    TWordBuilder b;
    b.Font("Times New Roman").Font("DejaVu Sans Mono");
    // A Chinese face name goes by its Latin alternative name.
    b.Font(u"\u5B8B\u4F53", u"SimSun");
    b.Options().StandardFont = 1;
    b.Text(u"standard ").Text(u"named ", sprm::FontNumber(0));
    b.Text(u"eastern", sprm::FontNumber(2)).Paragraph();
    const std::string pdf = Convert(b);
    const std::string fonts = RunCommand("pdffonts " + ShellQuote(pdf)).Output;
    EXPECT_NE(fonts.find("DejaVu Sans Mono"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Times"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("SimSun"), std::string::npos) << fonts;
    // The standard font is fixed-pitch and wide: "standard" is close to 8 of its advances of
    // 0.6 em (in Times New Roman it would be 34 points).
    const TWordBox w = FindWord(pdf, "standard");
    EXPECT_NEAR(w.XMax - w.XMin, 8 * 0.6 * 10, 2.0);
}

TEST_F(ParagraphProps, SmallTextExtractsAsWholeWords) {
    // 7-point text: characters placed at whole points would leave gaps of up to a point, a
    // seventh of an em, inside words, and readers would split them.
    const std::u16string text =
        u"Extraordinarily comprehensive documentation accompanies unmistakably "
        u"straightforward instrumentation";
    TWordBuilder b;
    b.Text(text, sprm::Size(14)).Paragraph();
    const std::string words = PageText(Convert(b), 1);
    for (const char* word : {"Extraordinarily", "comprehensive", "documentation", "accompanies",
                             "unmistakably", "straightforward", "instrumentation"}) {
        EXPECT_NE(words.find(word), std::string::npos) << word << " in " << words;
    }
}

}  // namespace
}  // namespace qm
