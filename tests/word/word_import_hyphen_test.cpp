// Optional hyphens from a Word document to the page: invisible inside a line, a place where a
// line may break, and a hyphen at the end of a line that breaks there.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

// The text drawn on the first page, one string per line (a line is a run of equal y).
std::vector<std::string> DrawnLines(const TDocument& doc) {
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    std::vector<std::string> lines;
    std::string lastY;
    for (const std::string& call : surface.Only("text")) {
        // "text x,y label uN"
        const size_t atStart = call.find(' ') + 1;
        const size_t labelStart = call.find(' ', atStart) + 1;
        const std::string at = call.substr(atStart, labelStart - 1 - atStart);
        const std::string y = at.substr(at.find(',') + 1);
        if (lines.empty() || y != lastY) lines.emplace_back();
        lastY = y;
        lines.back() += call.substr(labelStart, call.rfind(" u") - labelStart);
    }
    return lines;
}

TEST(WordImportHyphens, OptionalHyphensShowOnlyWhereALineBreaksAtThem) {
    TWordBuilder b;
    b.Text(u"co\x1Fop\r");
    std::u16string longWords;
    for (int i = 0; i < 30; ++i)
        longWords +=
            u"in\x1Fter\x1Fna\x1Ftion\x1F"
            u"al\x1Fi\x1Fza\x1Ftion ";
    b.Text(longWords).Paragraph();
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    doc.CompleteRefresh();
    const std::vector<std::string> lines = DrawnLines(doc);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "coop");
    std::string joined;
    int hyphenated = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        // A hyphen only ever ends a line; the words keep their letters.
        const size_t dash = line.find('-');
        if (dash != std::string::npos) {
            EXPECT_EQ(dash, line.size() - 1) << line;
        }
        if (!line.empty() && line.back() == '-') {
            ++hyphenated;
            line.pop_back();
        }
        joined += line;
    }
    EXPECT_GE(hyphenated, 1);
    std::string expected;
    for (int i = 0; i < 30; ++i)
        expected += "internationalization ";
    while (!joined.empty() && joined.back() == ' ')
        joined.pop_back();
    EXPECT_EQ(joined, expected.substr(0, expected.size() - 1));
}

}  // namespace
}  // namespace qm::testing
