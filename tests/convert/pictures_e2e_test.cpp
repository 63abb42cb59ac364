// Pictures from the document to the page: JPEG, PNG, DIB, metafile and EMF pictures are
// imported, laid out in their lines, drawn into the preview and written into the PDF as images.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>

#include "app/conversion_session.h"
#include "builder/emf_writer.h"
#include "builder/picture_builder.h"
#include "builder/wmf_writer.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"
#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "render/preview.h"

namespace qm {
namespace {

using TQuietProgress = test::TQuietProgress;
using TMessages = test::TRecordedMessages;
using TOpened = test::TOpenedSession;

struct TPlaced {
    int32_t Page = 0;
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

// Where the preview draws pictures, page by page.
std::vector<TPlaced> PlacedPictures(TDocument& doc) {
    std::vector<TPlaced> placed;
    for (int32_t page = 0; page < doc.GetAnzPages(); ++page) {
        test::TRecordingSurface surface;
        TPageWalk walk(doc, surface, PreviewGeometry(doc, kScreenDpi));
        walk.DrawPageFields(page);
        for (const std::string& call : surface.Only("picture ")) {
            TPlaced p;
            p.Page = page;
            std::sscanf(call.c_str(), "picture %d,%d %dx%d", &p.X, &p.Y, &p.Width, &p.Height);
            placed.push_back(p);
        }
    }
    return placed;
}

// The pixels of the preview inside a placed picture that are not white.
int64_t InkInside(TDocument& doc, const TPlaced& p) {
    TRasterCanvas canvas(1, 1, kScreenDpi);
    RenderPreviewPage(doc, p.Page, canvas);
    int64_t ink = 0;
    for (int32_t y = p.Y; y < p.Y + p.Height; ++y)
        for (int32_t x = p.X; x < p.X + p.Width; ++x)
            ink += canvas.Pixel(x, y) != 0xFFFFFF ? 1 : 0;
    return ink;
}

struct TListedImage {
    int Page = 0;
    int Width = 0;
    int Height = 0;
};

// The images pdfimages -list finds in a PDF.
std::vector<TListedImage> ListImages(const std::string& pdf) {
    const auto listing = test::RunCommand("pdfimages -list " + test::ShellQuote(pdf));
    std::istringstream lines(listing.Output);
    std::string line;
    std::vector<TListedImage> images;
    while (std::getline(lines, line)) {
        TListedImage image;
        int num = 0;
        char type[16] = {};
        if (std::sscanf(line.c_str(), "%d %d %15s %d %d", &image.Page, &num, type, &image.Width,
                        &image.Height) == 5 &&
            std::string(type) == "image")
            images.push_back(image);
    }
    return images;
}

std::vector<uint8_t> JpegOf(uint32_t color, int32_t width, int32_t height) {
    TDib dib;
    EXPECT_TRUE(newdib(dib, width, height, 24, nullptr, 0));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            setpixel(dib, x, y, color);
    std::vector<uint8_t> jpeg;
    EXPECT_TRUE(SaveDibMemory(dib, kFormatJpeg, jpeg));
    return jpeg;
}

// A document with a JPEG, a PNG and a metafile picture, each one inch square, in one line.
std::vector<uint8_t> ThreePictures() {
    TStoredPicture jpeg;
    jpeg.Kind = TStoredKind::Jpeg;
    jpeg.Bytes = JpegOf(0x0000FF, 32, 32);
    TStoredPicture png;
    png.Kind = TStoredKind::Png;
    png.Bytes = MakePng(24, 24, std::vector<uint32_t>(24 * 24, 0x00FF00));
    TWmfWriter wmf;
    wmf.CreateBrush(0, 0xFF0000).SelectObject(0).Ellipse({0, 0, 60, 60});
    TStoredPicture metafile;
    metafile.Kind = TStoredKind::Metafile;
    metafile.Bytes = wmf.Bytes();
    metafile.Bounds = {0, 0, 60, 60};
    TWordBuilder b;
    b.Text(u"Pictures ").Picture(StorePicture(jpeg)).Text(u" ").Picture(StorePicture(png));
    b.Text(u" ").Picture(StorePicture(metafile)).Text(u" end").Paragraph();
    b.Para(u"After the pictures.");
    return b.Build();
}

TEST(PicturesEndToEnd, BuiltPicturesAreLaidOutPreviewedAndWrittenAsImages) {
    if (!test::ToolAvailable("pdfimages")) GTEST_SKIP() << "pdfimages missing";
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(ThreePictures()).Imported);
    TDocument& doc = o.session.Document();
    ASSERT_EQ(doc.BildCount(), 3);

    const std::vector<TPlaced> placed = PlacedPictures(doc);
    ASSERT_EQ(placed.size(), 3u);
    for (const TPlaced& p : placed) {
        // One inch at 96 dots per inch (the walk adds one pixel to each side).
        EXPECT_NEAR(p.Width, 97, 2);
        EXPECT_NEAR(p.Height, 97, 2);
        EXPECT_EQ(p.Y, placed[0].Y);  // one line
        EXPECT_GT(InkInside(doc, p), 1000);
    }
    EXPECT_LT(placed[0].X, placed[1].X);
    EXPECT_LT(placed[1].X, placed[2].X);

    test::TTempDir dir;
    const std::string pdf = dir / "pictures.pdf";
    ASSERT_TRUE(o.session.SavePDFFile(pdf));
    const std::vector<TListedImage> images = ListImages(pdf);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].Width, 32);
    EXPECT_EQ(images[1].Width, 24);
    EXPECT_EQ(images[2].Width, 60);
    EXPECT_EQ(images[2].Height, 60);
    EXPECT_TRUE(o.session.RenderPng(dir / "page"));
    EXPECT_TRUE(std::filesystem::exists(dir / "page-1.png"));
}

// An EMF picture two inches by one: the left half filled red, a thick blue line along the
// bottom of the right half; and a DIB picture, one inch square, all green.
std::vector<uint8_t> EmfAndDib() {
    TEmfWriter emf(200, 100);
    emf.CreateBrush(1, 0, 0x0000FF).SelectObject(1).CreatePen(2, 0, 10, 0xFF0000).SelectObject(2);
    emf.Rectangle({0, 0, 100, 100}).MoveTo(110, 90).LineTo(190, 90);
    TStoredPicture metafile;
    metafile.Kind = TStoredKind::Emf;
    metafile.Bytes = emf.Bytes();
    metafile.DxaGoal = 2880;
    TStoredPicture dib;
    dib.Kind = TStoredKind::Dib;
    dib.Bytes = Dib24(8, 8, std::vector<uint32_t>(64, 0x00FF00));
    TWordBuilder b;
    b.Text(u"Drawn ").Picture(StorePicture(metafile)).Text(u" ").Picture(StorePicture(dib));
    b.Paragraph();
    return b.Build();
}

TEST(PicturesEndToEnd, EmfAndDibPicturesDrawInThePreviewAndThePdf) {
    TOpened o;
    ASSERT_TRUE(o.session.OpenBytes(EmfAndDib()).Imported);
    TDocument& doc = o.session.Document();
    ASSERT_EQ(doc.BildCount(), 2);
    const std::vector<TPlaced> placed = PlacedPictures(doc);
    ASSERT_EQ(placed.size(), 2u);
    const TPlaced& p = placed[0];
    EXPECT_NEAR(p.Width, 193, 2);
    EXPECT_NEAR(p.Height, 97, 2);
    TRasterCanvas canvas(1, 1, kScreenDpi);
    RenderPreviewPage(doc, p.Page, canvas);
    const auto at = [&](double fx, double fy) {
        return canvas.Pixel(p.X + static_cast<int32_t>(fx * p.Width),
                            p.Y + static_cast<int32_t>(fy * p.Height));
    };
    EXPECT_EQ(at(0.25, 0.5), 0xFF0000u);  // 0x00RRGGBB
    EXPECT_EQ(at(0.75, 0.4), 0xFFFFFFu);
    EXPECT_EQ(at(0.75, 0.9), 0x0000FFu);
    const TPlaced& d = placed[1];
    EXPECT_EQ(canvas.Pixel(d.X + d.Width / 2, d.Y + d.Height / 2), 0x00FF00u);

    if (!test::ToolAvailable("pdfimages")) GTEST_SKIP() << "pdfimages missing";
    test::TTempDir dir;
    const std::string pdf = dir / "emf.pdf";
    ASSERT_TRUE(o.session.SavePDFFile(pdf));
    const std::vector<TListedImage> images = ListImages(pdf);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].Width, 600);  // 300 dots per inch of its display size
    EXPECT_EQ(images[0].Height, 300);
    EXPECT_EQ(images[1].Width, 8);
}

struct TCorpusPictures {
    const char* File;
    size_t Pictures;  // pictures the text shows (a header's are drawn on every page)
};

class CorpusPictures : public ::testing::TestWithParam<TCorpusPictures> {};

TEST_P(CorpusPictures, ShowInThePreviewAndInThePdf) {
    const TCorpusPictures c = GetParam();
    const std::string path = std::string(QM_SHARED_DIR) + "/corpus/" + c.File;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "the shared corpus is not here";
    if (!test::ToolAvailable("pdfimages")) GTEST_SKIP() << "pdfimages missing";
    TOpened o;
    ASSERT_TRUE(o.session.openfilenow(path).Imported);
    TDocument& doc = o.session.Document();
    EXPECT_GE(static_cast<size_t>(doc.BildCount()), c.Pictures);

    const std::vector<TPlaced> placed = PlacedPictures(doc);
    ASSERT_GE(placed.size(), c.Pictures);
    for (const TPlaced& p : placed)
        EXPECT_GT(InkInside(doc, p), 0) << "page " << p.Page + 1;

    test::TTempDir dir;
    const std::string pdf = dir / "out.pdf";
    ASSERT_TRUE(o.session.SavePDFFile(pdf));
    const std::vector<TListedImage> images = ListImages(pdf);
    EXPECT_EQ(images.size(), placed.size());
    for (size_t i = 0; i < images.size() && i < placed.size(); ++i)
        EXPECT_EQ(images[i].Page, placed[i].Page + 1) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, CorpusPictures,
    ::testing::Values(TCorpusPictures{"testPictures.doc", 6}, TCorpusPictures{"Bug44603.doc", 2},
                      TCorpusPictures{"vector_image.doc", 1}, TCorpusPictures{"equation.doc", 1},
                      TCorpusPictures{"two_images.doc", 2},
                      TCorpusPictures{"testCroppedPictures.doc", 2},
                      TCorpusPictures{"53446.doc", 4}, TCorpusPictures{"53379.doc", 2},
                      TCorpusPictures{"Bug47958.doc", 1}, TCorpusPictures{"Bug50936_1.doc", 9}),
    [](const ::testing::TestParamInfo<TCorpusPictures>& info) {
        std::string name = std::filesystem::path(info.param.File).stem();
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

}  // namespace
}  // namespace qm
