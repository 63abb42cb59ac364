// The page walk on lines that hold right-to-left text: characters placed in visual order;
// right-to-left paragraphs keep their alignment on the page but start at the right where a
// line is left over from justification or indented as a first line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "model/page_walk.h"
#include "model/recording_surface.h"

namespace qm {
namespace {

using test::TRecordingSurface;

constexpr double kMmPerPt = kMmPerInch / 72;
constexpr double kMargin = 25;  // the default page's margins, mm
constexpr double kTextWidth = 160;

// Hebrew letters get widths of their own so that their places show which one stands where,
// whatever the surface is given to draw for them.
double WidthOf(char32_t c) {
    switch (c) {
        case U'\u05d0':
            return 3;
        case U'\u05d1':
            return 4;
        case U'\u05d2':
            return 5;
        default:
            return 2;
    }
}

// The drawn characters as "label@x" in the order they were drawn; the label is what the
// surface received (Hebrew letters show as '?').
std::vector<std::string> Placed(const std::vector<std::string>& texts) {
    std::vector<std::string> out;
    for (const std::string& call : texts) {
        // "text x,y label uN"; the label may be a space.
        const size_t atStart = call.find(' ') + 1;
        const size_t labelStart = call.find(' ', atStart) + 1;
        const std::string at = call.substr(atStart, labelStart - 1 - atStart);
        const std::string label = call.substr(labelStart, call.rfind(" u") - labelStart);
        out.push_back(label + "@" + at.substr(0, at.find(',')));
    }
    return out;
}

int32_t Pt(double mm) {
    return static_cast<int32_t>(mm / kMmPerPt);
}

// What Placed should give for characters in visual order from the margin, moved by the
// alignment offset in points.
std::vector<std::string> Expected(std::u32string_view visual, int32_t offset = 0) {
    std::vector<std::string> out;
    double w = kMargin;
    for (char32_t c : visual) {
        const std::string label = c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
        out.push_back(label + "@" + std::to_string(Pt(w) + offset));
        w += WidthOf(c);
    }
    return out;
}

// The offset of a line of lineWidth mm aligned at the end of availMm.
int32_t RightOffset(double availMm, double lineWidthMm) {
    return Pt(availMm) - Pt(lineWidthMm);
}

double WidthOf(std::u32string_view text) {
    double w = 0;
    for (char32_t c : text)
        w += WidthOf(c);
    return w;
}

class PageWalkBidi : public ::testing::Test {
  protected:
    PageWalkBidi() {
        doc.Fields.resize(1);
        doc.Fields[0].Lines.clear();
    }
    TLineRec& AddLine(std::u32string_view text, bool rightToLeft = false) {
        TLineRec line;
        line.LineHeight = 5.0;
        line.EndKind = 1;
        line.Para.RightToLeft = rightToLeft ? 1 : 0;
        for (char32_t c : text) {
            TCharRec ch;
            ch.Code = c;
            ch.Width = WidthOf(c);
            ch.Height = 4.0;
            ch.FontIndex = doc.GetNewFontIndex(doc.DefaultFontRec());
            line.Chars.push_back(ch);
        }
        doc.Fields[0].Lines.push_back(line);
        return doc.Fields[0].Lines.back();
    }
    // The characters of each line, drawn for the PDF.
    std::vector<std::vector<std::string>> DrawPdf() {
        TRecordingSurface surface;
        TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
        const std::vector<std::string> placed = Placed(surface.Only("text"));
        std::vector<std::vector<std::string>> lines;
        size_t next = 0;
        int32_t prevEnd = 1;
        for (const TLineRec& line : doc.Fields[0].Lines) {
            // A numbered paragraph's label is drawn on its first line.
            const bool label = line.Para.ListKind == 2 && prevEnd != 0;
            const size_t count =
                std::min(line.Chars.size() + (label ? 1 : 0), placed.size() - next);
            lines.emplace_back(placed.begin() + next, placed.begin() + next + count);
            next += count;
            prevEnd = line.EndKind;
        }
        return lines;
    }
    TDocument doc;
};

TEST_F(PageWalkBidi, MixedLineOfALeftToRightParagraphIsDrawnInVisualOrder) {
    AddLine(U"(a) 1.");
    AddLine(U"abc \u05d0\u05d1\u05d2 123");
    const auto lines = DrawPdf();
    // Latin text is drawn as stored, brackets as they are.
    EXPECT_EQ(lines[0], Expected(U"(a) 1."));
    // The Hebrew word reads from the right: gimel, the widest, comes first from the left. A
    // number after right-to-left text belongs to it and stands left of it.
    EXPECT_EQ(lines[1], Expected(U"abc 123 \u05d2\u05d1\u05d0"));
}

TEST_F(PageWalkBidi, RightToLeftParagraphReadsFromTheRightWithMirroredBrackets) {
    const std::u32string_view stored = U"\u05d0\u05d1 (\u05d2) 12";
    AddLine(stored, true).Para.Align = 2;
    const auto lines = DrawPdf();
    // Right-aligned, the line ends at the right margin and begins there with alef bet. The
    // brackets around gimel still open towards it.
    EXPECT_EQ(lines[0],
              Expected(U"12 (\u05d2) \u05d1\u05d0", RightOffset(kTextWidth, WidthOf(stored))));
}

TEST_F(PageWalkBidi, AlignmentOfRightToLeftParagraphs) {
    AddLine(U"ab", true).Para.Align = 0;      // left stays left: alignment is the page's
    AddLine(U"ab", true).Para.Align = 1;      // centred stays centred
    TLineRec& first = AddLine(U"a b", true);  // justified: spread over the width
    first.Para.Align = 3;
    first.EndKind = 0;
    AddLine(U"c d", true).Para.Align = 3;  // the paragraph's last line keeps to its start
    const auto lines = DrawPdf();
    EXPECT_EQ(lines[0], Expected(U"ab"));
    EXPECT_EQ(lines[1], Expected(U"ab", (Pt(kTextWidth) - Pt(4)) / 2));
    EXPECT_EQ(lines[2].front(), "a@" + std::to_string(Pt(kMargin)));
    EXPECT_EQ(lines[2].back(), "b@" + std::to_string(Pt(kMargin + kTextWidth - 2)));
    EXPECT_EQ(lines[3], Expected(U"c d", RightOffset(kTextWidth, 6)));
}

TEST_F(PageWalkBidi, FirstLineIndentAndListLabelOfARightToLeftParagraphAreAtTheRight) {
    TLineRec& first = AddLine(U"\u05d0\u05d1", true);
    first.EndKind = 0;
    first.Para.Align = 2;
    first.Para.FirstLineIndent = 10;
    first.Para.ListKind = 2;
    first.Para.ListNumber = 4;
    const TParaFormat para = first.Para;  // the next line's push may move the first
    AddLine(U"\u05d2", true).Para = para;
    const auto lines = DrawPdf();
    // The first line: bet alef, then the label in the list indent (6.3 mm) at its right, all
    // ending the first-line indent before the right margin.
    const int32_t offset = RightOffset(kTextWidth - 10, 7 + 6.3);
    ASSERT_EQ(lines[0].size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lines[0].begin(), lines[0].begin() + 2),
              Expected(U"\u05d1\u05d0", offset));
    EXPECT_EQ(lines[0][2], "4.@" + std::to_string(Pt(kMargin + 7) + offset));
    // Later lines end at the right margin itself.
    EXPECT_EQ(lines[1], Expected(U"\u05d2", RightOffset(kTextWidth, 5)));
}

}  // namespace
}  // namespace qm
