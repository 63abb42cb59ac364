// The enhanced metafile player: what the records documents use draw, how the frame, the
// mapping and the world transformation place them on the picture, and what damaged metafiles
// give. Pictures are checked by their pixels.
#include <gtest/gtest.h>

#include "builder/emf_writer.h"
#include "builder/wmf_writer.h"
#include "metafile/emf_player.h"

namespace qm::testing {
namespace {

// Windows colour values 0x00BBGGRR, as getpixel gives them too.
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kSolid = 0;
constexpr uint32_t kNullPen = 5;
constexpr uint32_t kMapAnisotropic = 8;

TDib Play(const TEmfWriter& w, TEmfPlayback& playback, TWmfSizeLimit size = {}) {
    TDib picture;
    EXPECT_TRUE(PlayEnhancedMetafile(w.Bytes(), size, picture, playback));
    return picture;
}

TDib Play(const TEmfWriter& w, TWmfSizeLimit size = {}) {
    TEmfPlayback playback;
    TDib picture = Play(w, playback, size);
    EXPECT_FALSE(playback.Damaged);
    EXPECT_EQ(playback.Skipped, 0);
    return picture;
}

// A red brush (object 1) and the null pen selected: shapes fill without outline.
TEmfWriter RedFill(int32_t width = 100, int32_t height = 100) {
    TEmfWriter w(width, height);
    w.CreateBrush(1, kSolid, kRed).SelectObject(1).SelectObject(kEmfStockNullPen);
    return w;
}

int CountColor(const TDib& dib, uint32_t color) {
    int count = 0;
    for (int32_t y = 0; y < DIBHeight(dib); ++y)
        for (int32_t x = 0; x < DIBWidth(dib); ++x)
            count += getpixel(dib, x, y) == color ? 1 : 0;
    return count;
}

bool IsDark(uint32_t color) {
    return (color & 0xFF) < 128 && ((color >> 8) & 0xFF) < 128 && ((color >> 16) & 0xFF) < 128;
}

int CountDark(const TDib& dib, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    int count = 0;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            count += IsDark(getpixel(dib, x, y)) ? 1 : 0;
    return count;
}

TEST(EmfPlayer, AFilledRectangleAndALineDrawWhereTheFrameSays) {
    TEmfWriter w = RedFill(120, 60);
    w.Rectangle({10, 10, 50, 30});
    w.CreatePen(2, kSolid, 3, kBlue).SelectObject(2).MoveTo(60, 50).LineTo(110, 50);
    TEmfPlayback playback;
    const TDib dib = Play(w, playback);
    ASSERT_EQ(DIBWidth(dib), 120);  // one pixel per reference pixel
    ASSERT_EQ(DIBHeight(dib), 60);
    EXPECT_EQ(playback.Drawn, 2);
    EXPECT_EQ(getpixel(dib, 30, 20), kRed);
    EXPECT_EQ(getpixel(dib, 5, 5), kWhite);
    EXPECT_EQ(CountColor(dib, kRed), 40 * 20);
    EXPECT_EQ(getpixel(dib, 85, 50), kBlue);
    EXPECT_EQ(getpixel(dib, 85, 40), kWhite);

    // Asked for a size, the same drawing covers the same share of a larger picture.
    const TDib large = Play(w, {240, 120});
    ASSERT_EQ(DIBWidth(large), 240);
    EXPECT_EQ(getpixel(large, 60, 40), kRed);
    EXPECT_EQ(CountColor(large, kRed), 80 * 40);
    EXPECT_EQ(getpixel(large, 170, 100), kBlue);
}

TEST(EmfPlayer, WindowViewportAndWorldTransformationPlaceTheDrawing) {
    // A window of 1000 units with y growing upward onto the 100 pixels of the picture.
    TEmfWriter w = RedFill();
    w.SetMapMode(kMapAnisotropic).SetWindowOrg(0, 1000).SetWindowExt(1000, -1000);
    w.SetViewportOrg(0, 0).SetViewportExt(100, 100);
    w.Rectangle({0, 0, 500, 200});  // the bottom left corner of the picture
    EXPECT_EQ(getpixel(Play(w), 20, 90), kRed);
    EXPECT_EQ(getpixel(Play(w), 20, 10), kWhite);

    // A world transformation moves the shape; SaveDC and RestoreDC bring the old one back.
    TEmfWriter t = RedFill();
    t.SaveDc().SetWorldTransform({1, 0, 0, 1, 50, 0}).Rectangle({0, 0, 20, 20});
    t.RestoreDc(-1).Rectangle({0, 80, 20, 100});
    const TDib moved = Play(t);
    EXPECT_EQ(getpixel(moved, 60, 10), kRed);
    EXPECT_EQ(getpixel(moved, 10, 10), kWhite);
    EXPECT_EQ(getpixel(moved, 10, 90), kRed);
}

TEST(EmfPlayer, PathsFillTheFiguresTheyCollect) {
    TEmfWriter w = RedFill();
    w.BeginPath().MoveTo(10, 10).LineTo(90, 10).LineTo(90, 90).CloseFigure().EndPath();
    EXPECT_EQ(CountColor(Play(w), kRed), 0);  // collected, not painted
    w.FillPath();
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 80, 20), kRed);    // inside the triangle
    EXPECT_EQ(getpixel(dib, 20, 80), kWhite);  // beyond its diagonal

    TEmfWriter curve = RedFill();
    curve.BeginPath().MoveTo(10, 90).PolyBezierTo16({{10, 10}, {90, 10}, {90, 90}});
    curve.CloseFigure().EndPath().FillPath();
    const TDib arch = Play(curve);
    EXPECT_EQ(getpixel(arch, 50, 60), kRed);
    EXPECT_EQ(getpixel(arch, 12, 15), kWhite);
}

TEST(EmfPlayer, ClippingNarrowsAndARegionCopyWidensAgain) {
    TEmfWriter w = RedFill();
    w.IntersectClipRect({0, 0, 50, 100}).Rectangle({0, 0, 100, 50});
    w.ExtSelectClipRgn(5, {}).Rectangle({0, 60, 100, 100});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 25, 25), kRed);
    EXPECT_EQ(getpixel(dib, 75, 25), kWhite);
    EXPECT_EQ(getpixel(dib, 75, 80), kRed);

    // A region's rectangles are reference pixels, whatever the mapping.
    TEmfWriter region = RedFill();
    region.SetMapMode(kMapAnisotropic).SetWindowExt(10, 10).SetViewportExt(100, 100);
    region.ExtSelectClipRgn(5, {{0, 0, 30, 100}}).Rectangle({0, 0, 10, 10});
    const TDib clipped = Play(region);
    EXPECT_EQ(getpixel(clipped, 20, 50), kRed);
    EXPECT_EQ(getpixel(clipped, 40, 50), kWhite);
}

TEST(EmfPlayer, TextAndBitmapsDraw) {
    TEmfWriter w(200, 100);
    w.CreateFont(1, -40, u"Arial").SelectObject(1).SetBkMode(1).SetTextColor(kBlack);
    w.ExtTextOutW(10, 10, u"Hi\u00e9");
    const std::vector<uint8_t> dib = Dib24(2, 1, {0x0000FF, 0xFF0000});  // blue, red
    w.StretchDiBits({100, 50, 200, 100}, 2, 1, dib);
    const TDib picture = Play(w);
    EXPECT_GT(CountDark(picture, 10, 10, 100, 50), 100);
    EXPECT_EQ(CountDark(picture, 0, 55, 100, 100), 0);
    EXPECT_EQ(getpixel(picture, 120, 75), kBlue);
    EXPECT_EQ(getpixel(picture, 180, 75), kRed);
}

TEST(EmfPlayer, DamagedMetafilesAreRefusedOrDrawnAsFarAsTheyGo) {
    TDib picture;
    TEmfPlayback playback;
    // A Windows metafile, a header with a wrong signature, an empty frame: nothing is made.
    TWmfWriter wmf;
    EXPECT_FALSE(PlayEnhancedMetafile(wmf.Bytes(), {}, picture, playback));
    std::vector<uint8_t> bytes = RedFill().Bytes();
    bytes[40] ^= 0xFF;
    EXPECT_FALSE(PlayEnhancedMetafile(bytes, {}, picture, playback));
    EXPECT_FALSE(PlayEnhancedMetafile(TEmfWriter(0, 0).Bytes(), {}, picture, playback));
    EXPECT_FALSE(PlayEnhancedMetafile(std::vector<uint8_t>(8, 0), {}, picture, playback));

    // A record claiming more than the file holds ends the playback; what came before stays.
    TEmfWriter cut = RedFill();
    cut.Rectangle({0, 0, 50, 50}).RecordSized(43, 1 << 20, {0, 0, 100, 100});
    const TDib drawn = Play(cut, playback);
    EXPECT_TRUE(playback.Damaged);
    EXPECT_EQ(CountColor(drawn, kRed), 50 * 50);

    // Unknown records are skipped and counted; a polygon claiming more points than it holds
    // and objects outside the table are not followed.
    TEmfWriter odd = RedFill();
    odd.Record(0x7777, {1, 2}).CreateBrush(40000, kSolid, kBlue).SelectObject(40000);
    odd.Rectangle({0, 0, 10, 10}).Record(86, {0, 0, 0, 0, 0x7FFFFFFF, 0});
    const TDib partial = Play(odd, playback);
    EXPECT_EQ(playback.Skipped, 1);
    EXPECT_TRUE(playback.Damaged);
    EXPECT_EQ(CountColor(partial, kRed), 100);

    // A pen two billion units wide outlines as one as wide as the picture, and quickly.
    TEmfWriter wide(100, 100);
    wide.CreatePen(1, kSolid, 2113929217, kBlue).SelectObject(1);
    for (int i = 0; i < 20; ++i)
        wide.Ellipse({10, 10, 60, 60}).Rectangle({10, 10, 60, 60});
    EXPECT_EQ(CountColor(Play(wide), kBlue), 100 * 100);
}

TEST(EmfPlayer, DibPicturesDecodeAloneAndDamagedOnesAreRefused) {
    const std::vector<uint8_t> dib = Dib24(4, 2,
                                           {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF,  //
                                            0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00});
    TDib picture;
    ASSERT_TRUE(DecodeDibPicture(dib, picture));
    EXPECT_EQ(DIBWidth(picture), 4);
    EXPECT_EQ(DIBHeight(picture), 2);
    EXPECT_EQ(getpixel(picture, 0, 0), kRed);  // the top row, given first
    EXPECT_EQ(getpixel(picture, 3, 0), kBlue);
    EXPECT_EQ(getpixel(picture, 0, 1), 0x00FF00u);
    const std::vector<uint8_t> truncated(dib.begin(), dib.end() - 4);
    EXPECT_FALSE(DecodeDibPicture(truncated, picture));
    EXPECT_FALSE(DecodeDibPicture({}, picture));
}

}  // namespace
}  // namespace qm::testing
