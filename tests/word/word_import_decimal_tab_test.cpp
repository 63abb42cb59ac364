// A decimal tab from a Word document to the page: numbers of any length stand with their
// decimal points one above the other, in the preview and in the PDF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

TEST(WordImportDecimalTab, NumbersAlignOnTheirDecimalPoints) {
    TWordBuilder b;
    const TSprms decimalStop = sprm::Tabs({}, {{2880, 3}});  // 2 inches, decimal
    for (const char16_t* number : {u"1234.5", u"7.25", u"33.125", u"12,5"})
        b.Para(std::u16string(u"\t") + number, decimalStop);
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    doc.CompleteRefresh();
    for (const TWalkGeometry& geometry : {PdfGeometry(doc), PreviewGeometry(doc, 96)}) {
        test::TRecordingSurface surface;
        TPageWalk(doc, surface, geometry).DrawPageFields(0);
        // "text x,y label uN": the x of every decimal separator drawn.
        std::vector<int> points;
        for (const std::string& call : surface.Only("text")) {
            const size_t labelStart = call.find(' ', 5) + 1;
            const char label = call[labelStart];
            if ((label == '.' || label == ',') && call[labelStart + 1] == ' ')
                points.push_back(std::stoi(call.substr(5, call.find(',') - 5)));
        }
        ASSERT_EQ(points.size(), 4u);
        for (size_t i = 1; i < points.size(); ++i)
            EXPECT_NEAR(points[i], points[0], 1) << i;
    }
}

}  // namespace
}  // namespace qm::testing
