// Right-to-left paragraphs from a Word document to the page: the flag the paragraph
// properties carry, and the order the page walk then draws the line in.
#include <gtest/gtest.h>

#include <string>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

constexpr uint16_t kRightToLeftStyle = 1;

// The label and x of every character drawn on the first page of the PDF, line by line (a
// line is a run of equal y).
std::vector<std::vector<std::pair<std::string, int32_t>>> DrawnLines(const TDocument& doc) {
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    std::vector<std::vector<std::pair<std::string, int32_t>>> lines;
    std::string lastY;
    for (const std::string& call : surface.Only("text")) {
        // "text x,y label uN"; the label may be a space.
        const size_t atStart = call.find(' ') + 1;
        const size_t labelStart = call.find(' ', atStart) + 1;
        const std::string at = call.substr(atStart, labelStart - 1 - atStart);
        const std::string label = call.substr(labelStart, call.rfind(" u") - labelStart);
        const std::string y = at.substr(at.find(',') + 1);
        if (lines.empty() || y != lastY) lines.emplace_back();
        lastY = y;
        lines.back().emplace_back(label, std::stoi(at.substr(0, at.find(','))));
    }
    return lines;
}

std::string Labels(const std::vector<std::pair<std::string, int32_t>>& line) {
    std::string out;
    for (const auto& [label, x] : line)
        out += label;
    return out;
}

TEST(WordImportBidi, TheParagraphFlagReachesTheModelFromTheRunsAndTheStyles) {
    TWordBuilder b;
    b.Style({kRightToLeftStyle, false, 0x0FFF, "Hebrew", sprm::RightToLeft(), {}});
    b.Wide(true);
    b.Para(u"\u05e9\u05dc\u05d5\u05dd", sprm::RightToLeft());
    b.Para(u"plain");
    b.Para(u"\u05d0", {}, kRightToLeftStyle);
    b.Para(u"\u05d1", sprm::RightToLeft(0), kRightToLeftStyle);
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].Para.RightToLeft, 1);
    EXPECT_EQ(lines[0].Chars.at(0).Code, U'\u05e9');  // the text itself keeps its stored order
    EXPECT_EQ(lines[1].Para.RightToLeft, 0);
    EXPECT_EQ(lines[2].Para.RightToLeft, 1);
    EXPECT_EQ(lines[3].Para.RightToLeft, 0);  // the paragraph's own list overrides its style
}

TEST(WordImportBidi, RightToLeftParagraphsAreDrawnInVisualOrderWhereTheirAlignmentSays) {
    TWordBuilder b;
    b.Wide(true);
    // A Hebrew paragraph as Word 97 stores it: right to left, and right-aligned on the page.
    b.Para(u"12 \u05d0\u05d1 x.");
    b.Para(u"12 \u05d0\u05d1 x.", sprm::RightToLeft() + sprm::Justify(2));
    b.Para(u"12 \u05d0\u05d1 x.", sprm::RightToLeft());
    TDocument doc;
    ASSERT_TRUE(ImportWordBytes(doc, b.Build(), nullptr, nullptr).Converted);
    const auto lines = DrawnLines(doc);
    ASSERT_EQ(lines.size(), 3u);
    // Left to right: the Hebrew word turns round in place, the rest reads as stored.
    EXPECT_EQ(Labels(lines[0]), "12 ?? x.");
    // Right to left: the line reads from the right; the number and the Latin word keep their
    // own order, the full stop that ends the paragraph goes to its end, the left.
    EXPECT_EQ(Labels(lines[1]), ".x ?? 12");
    EXPECT_EQ(Labels(lines[2]), ".x ?? 12");
    // Right alignment puts the line at the right; left alignment stays at the left margin,
    // where the left-to-right paragraph starts.
    EXPECT_GT(lines[1].front().second, lines[0].back().second);
    EXPECT_EQ(lines[2].front().second, lines[0].front().second);
    // Both right-to-left lines are the same characters in the same order, only shifted.
    ASSERT_EQ(lines[2].size(), lines[1].size());
    for (size_t i = 0; i < lines[1].size(); ++i)
        EXPECT_EQ(lines[1][i].second - lines[2][i].second, lines[1][0].second - lines[2][0].second);
}

TEST(WordImportBidi, PunctuationOfARightToLeftRunReadsWithItsText) {
    TWordBuilder b;
    b.Wide(true);
    // "ab", alef bet and "!" in a left-to-right paragraph: as plain text the mark follows the
    // paragraph's direction and stands at the right; in a right-to-left run (sprmCFBiDi) it
    // ends the Hebrew word and stands at its left.
    b.Text(u"ab \u05d0\u05d1").Text(u"!").Paragraph();
    b.Text(u"ab ").Text(u"\u05d0\u05d1!", sprm::Op8(0x085A, 1)).Paragraph();
    TDocument doc;
    ASSERT_TRUE(ImportWordBytes(doc, b.Build(), nullptr, nullptr).Converted);
    const auto lines = DrawnLines(doc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Labels(lines[0]), "ab ?\?!");
    EXPECT_EQ(Labels(lines[1]), "ab !?\?");
    EXPECT_EQ(doc.Fields[0].Lines[1].Chars.at(0).RightToLeft, 0);
    EXPECT_EQ(doc.Fields[0].Lines[1].Chars.at(5).RightToLeft, 1);
}

}  // namespace
}  // namespace qm::testing
