// Text beyond Windows-1252, from a Word file to the laid-out model and the preview: measured and
// drawn with the faces that hold it, and told about where no face does.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "builder/word_builder.h"
#include "convert/session_sinks.h"
#include "model/records.h"
#include "render/preview.h"
#include "render/raster_canvas.h"

namespace qm {
namespace {

using test::TOpenedSession;

// The widths of the body's first line's characters, in printer pixels.
std::vector<int32_t> FirstLineWidths(const TDocument& doc) {
    std::vector<int32_t> widths;
    for (const TCharRec& ch : doc.Fields[0].Lines.at(0).Chars)
        widths.push_back(static_cast<int32_t>(std::lround(ch.Width / kMmPerInch * doc.PrinterDPI)));
    return widths;
}

TEST(GlyphCoverage, CyrillicTextIsLaidOutWithTheWidthsOfItsOwnLetters) {
    TWordBuilder b;
    b.Wide(true).Text(u"\u0416\u0438\u0437\u043D\u044C \u0456\u0448 Ab").Paragraph();
    TOpenedSession s;
    const TOpenOutcome opened = s.session.OpenBytes(b.Build());
    ASSERT_TRUE(opened.Imported);
    EXPECT_TRUE(opened.Notices.empty());
    const TDocument& doc = s.session.Document();
    const TFont font = selfont("Times New Roman", doc.PrinterDPI, 100.0, 10.0, 0, 0);
    const std::u32string text = U"\u0416\u0438\u0437\u043D\u044C \u0456\u0448 Ab";
    std::vector<int32_t> expected;
    for (char32_t code : text)
        expected.push_back(TextWidth(font, std::u32string(1, code)));
    std::vector<int32_t> widths = FirstLineWidths(doc);
    ASSERT_GE(widths.size(), text.size());
    widths.resize(text.size());
    EXPECT_EQ(widths, expected);
    // Zhe is wider than i, which a question mark for each would not show.
    EXPECT_GT(widths[0], widths[6] + 20);
}

TEST(GlyphCoverage, OnlyCharactersNoInstalledFaceHoldsAreToldAbout) {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Symbol").Font("Wingdings");
    b.Wide(true)
        .Text(u"A\u4E2D", sprm::FontNumber(0))
        .Text(u"\uF0B7", sprm::FontNumber(1))
        .Text(u"\uF0FC", sprm::FontNumber(2))
        .Text(u"\U0010FFFD\U000F0000", sprm::FontNumber(0))
        .Text(std::u16string{0xD83D, u'b'}, sprm::FontNumber(0))
        .Paragraph();
    TOpenedSession s;
    const TOpenOutcome opened = s.session.OpenBytes(b.Build());
    ASSERT_TRUE(opened.Imported);
    EXPECT_EQ(opened.Notices,
              std::vector<std::string>{"3 characters have no glyph in the installed fonts."});
    // The ideograph, the bullet and the check mark are measured and inked in the preview.
    const TDocument& doc = s.session.Document();
    const std::vector<TCharRec>& chars = doc.Fields[0].Lines.at(0).Chars;
    ASSERT_GE(chars.size(), 4u);
    TRasterCanvas page(1, 1, kScreenDpi);
    RenderPreviewPage(doc, 0, page);
    const double pxPerMm = kScreenDpi / kMmPerInch;
    // The text starts at the left margin; find it as the first inked column.
    int32_t left = page.Width();
    for (int32_t y = 0; y < page.Height(); ++y)
        for (int32_t x = 0; x < left; ++x)
            if (page.Pixel(x, y) != 0xFFFFFF) left = x;
    double x = left + chars[0].Width * pxPerMm;
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_GT(chars[i].Width, 1.0) << i;
        const auto from = static_cast<int32_t>(x + 1);
        const auto to = static_cast<int32_t>(x + chars[i].Width * pxPerMm - 1);
        int32_t ink = 0;
        for (int32_t y = 0; y < page.Height(); ++y)
            for (int32_t col = from; col < to; ++col)
                ink += page.Pixel(col, y) != 0xFFFFFF;
        EXPECT_GT(ink, 4) << i;
        x += chars[i].Width * pxPerMm;
    }
}

}  // namespace
}  // namespace qm
