// Complex-script text from a Word file to the page: Arabic letters take their joining forms,
// marks sit on their base without a width of their own, and the preview draws the very glyphs
// the PDF shows, where the PDF shows them, on the same baselines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"
#include "model/page_walk.h"
#include "render/raster_canvas.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;
using test::TOpenedSession;

// "Peace" in Arabic: four letters that join, the last two a lam-alef.
const std::u16string kSalam = u"\u0633\u0644\u0627\u0645";

const TDocument& Open(TOpenedSession& s, const std::vector<uint8_t>& bytes) {
    const TOpenOutcome opened = s.session.OpenBytes(bytes);
    EXPECT_TRUE(opened.Imported);
    return s.session.Document();
}

TEST(Shaping, ArabicLettersTakeTheirJoiningFormsAndMarksAddNoWidth) {
    TWordBuilder b;
    b.Wide(true);
    b.Para(kSalam, sprm::RightToLeft());
    b.Para(u"Cafe\u0301 x\u0323\u0302");
    TOpenedSession s;
    const TDocument& doc = Open(s, b.Build());
    const std::vector<TCharRec>& arabic = doc.Fields[0].Lines.at(0).Chars;
    ASSERT_GE(arabic.size(), 4u);
    ASSERT_GE(arabic[0].Cluster, 0);
    const TGlyphCluster& seen = doc.GlyphClusters.at(static_cast<size_t>(arabic[0].Cluster));
    ASSERT_EQ(seen.Glyphs.size(), 1u);
    EXPECT_EQ(seen.Text, U"\u0633");
    // The initial form of seen is another glyph than the letter standing alone.
    EXPECT_NE(seen.Glyphs[0].Glyph, GlyphIndex(seen.Face, U'\u0633'));
    double clusters = 0;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NE(arabic[i].Cluster, kDrawnAlone) << i;
        if (arabic[i].Cluster == kDrawnWithCluster) {
            EXPECT_EQ(arabic[i].Width, 0.0) << i;
        }
        if (arabic[i].Cluster >= 0) {
            EXPECT_GT(arabic[i].Width, 0.3) << i;
            clusters += 1;
        }
    }
    EXPECT_GE(clusters, 3);  // a face may join lam and alef into one glyph

    const std::vector<TCharRec>& latin = doc.Fields[0].Lines.at(1).Chars;
    ASSERT_GE(latin.size(), 9u);
    // Plain letters are measured one by one; a letter with marks is one cluster whose marks
    // take no room of their own.
    EXPECT_EQ(latin[0].Cluster, kDrawnAlone);
    EXPECT_GE(latin[3].Cluster, 0);
    EXPECT_EQ(latin[4].Cluster, kDrawnWithCluster);
    EXPECT_EQ(latin[4].Width, 0.0);
    EXPECT_NEAR(latin[3].Width, latin[0].Width * 0.444 / 0.667, 0.3);  // e, not e and a mark
    EXPECT_GE(latin[6].Cluster, 0);
    EXPECT_EQ(latin[7].Width + latin[8].Width, 0.0);
}

// A greyscale page image read from a binary PGM file (pdftoppm -gray).
struct TGreyImage {
    int32_t Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    bool Dark(int32_t x, int32_t y) const { return Pixels[size_t(y) * Width + x] < 128; }
};

TGreyImage ReadPgm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int32_t maxValue = 0;
    TGreyImage image;
    in >> magic >> image.Width >> image.Height >> maxValue;
    in.get();
    image.Pixels.resize(size_t(image.Width) * image.Height);
    in.read(reinterpret_cast<char*>(image.Pixels.data()), std::streamsize(image.Pixels.size()));
    return image;
}

TGreyImage FromCanvas(const TRasterCanvas& canvas) {
    TGreyImage image{canvas.Width(), canvas.Height(), {}};
    for (const uint32_t rgb : canvas.Pixels())
        image.Pixels.push_back(static_cast<uint8_t>(
            ((rgb >> 16 & 0xFF) * 30 + (rgb >> 8 & 0xFF) * 59 + (rgb & 0xFF) * 11) / 100));
    return image;
}

// A line of text on the page: the rows it inks, its leftmost and rightmost inked columns and
// how many pixels it inks.
struct TInkLine {
    int32_t Top = 0, Bottom = 0, Left = 0, Right = 0, Ink = 0;
};

std::vector<TInkLine> InkLines(const TGreyImage& image) {
    // Marks and the tops of tall letters may stand a few rows apart from their line.
    constexpr int32_t kGap = 6;
    std::vector<TInkLine> lines;
    bool inLine = false;
    for (int32_t y = 0; y < image.Height; ++y) {
        TInkLine row{y, y, image.Width, -1, 0};
        for (int32_t x = 0; x < image.Width; ++x) {
            if (!image.Dark(x, y)) continue;
            row.Left = std::min(row.Left, x);
            row.Right = x;
            ++row.Ink;
        }
        if (row.Ink == 0) {
            inLine = inLine && y - lines.back().Bottom <= kGap;
            continue;
        }
        if (!inLine) lines.push_back(row);
        TInkLine& line = lines.back();
        line.Bottom = y;
        line.Left = std::min(line.Left, row.Left);
        line.Right = std::max(line.Right, row.Right);
        if (inLine) line.Ink += row.Ink;
        inLine = true;
    }
    return lines;
}

TEST(Shaping, ThePreviewDrawsTheGlyphsThePdfShows) {
    if (!test::ToolAvailable("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    TWordBuilder b;
    b.Wide(true);
    // Paragraphs apart, so that each is a band of ink of its own.
    const TSprms apart = sprm::SpaceAfter(240);
    b.Para(u"Latin text and \u0420\u0443\u0441\u0441\u043A\u0438\u0439", apart);
    b.Para(u"\u4E2D\u6587\u6587\u672C \u65E5\u672C\u8A9E\u306E\u6587\u7AE0", apart);
    b.Para(u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", apart + sprm::RightToLeft());
    b.Para(kSalam + u" \u0628\u0627\u0644\u0639\u0627\u0644\u0645", apart + sprm::RightToLeft());
    b.Para(u"Cafe\u0301 \u2713 \u03A9", apart);
    test::TTempDir dir;
    const std::vector<uint8_t> bytes = b.Build();
    test::WriteFile(dir / "scripts.doc", bytes);
    ASSERT_EQ(RunCommand(std::string(QM_CONVERT_BIN) + " -q -o " + ShellQuote(dir / "s.pdf") + " " +
                         ShellQuote(dir / "scripts.doc"))
                  .ExitCode,
              0);
    constexpr int kDpi = 144;
    ASSERT_EQ(RunCommand("pdftoppm -gray -r " + std::to_string(kDpi) + " -f 1 -l 1 " +
                         ShellQuote(dir / "s.pdf") + " " + ShellQuote(dir / "page"))
                  .ExitCode,
              0);
    const TGreyImage pdf = ReadPgm(dir / "page-1.pgm");
    ASSERT_GT(pdf.Width, 0);

    // The preview's walk with the PDF's geometry at the same resolution.
    TOpenedSession s;
    const TDocument& doc = Open(s, bytes);
    TWalkGeometry geometry = PdfGeometry(doc);
    geometry.Dpi = kDpi;
    TRasterCanvas canvas(pdf.Width, pdf.Height, kDpi);
    TPageWalk(doc, canvas, geometry).DrawPageFields(0);
    const TGreyImage preview = FromCanvas(canvas);

    const std::vector<TInkLine> expected = InkLines(pdf);
    const std::vector<TInkLine> lines = InkLines(preview);
    ASSERT_EQ(lines.size(), expected.size());
    ASSERT_EQ(lines.size(), 5u);
    for (size_t i = 0; i < lines.size(); ++i) {
        // Whole points in the PDF, pixels in the preview: a point of difference at most, on
        // the baseline too.
        EXPECT_NEAR(lines[i].Left, expected[i].Left, 3) << "line " << i;
        EXPECT_NEAR(lines[i].Right, expected[i].Right, 3) << "line " << i;
        EXPECT_NEAR(lines[i].Top, expected[i].Top, 3) << "line " << i;
        EXPECT_NEAR(lines[i].Bottom, expected[i].Bottom, 3) << "line " << i;
        // The same glyphs ink about as much; a box or a question mark would not.
        EXPECT_NEAR(lines[i].Ink, expected[i].Ink, expected[i].Ink * 0.2) << "line " << i;
    }
}

}  // namespace
}  // namespace qm
