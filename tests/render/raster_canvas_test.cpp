#include "render/raster_canvas.h"

#include <gtest/gtest.h>

#include "render/draw_dib.h"
#include "render/preview.h"

namespace qm {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

TEST(RasterCanvas, FillsLeaveOutTheRightAndBottomEdges) {
    TRasterCanvas canvas(40, 20, 96);
    canvas.FillRect({2, 3, 5, 6}, 0x0000FF, TFillKind::Paper);  // red in 0x00BBGGRR
    EXPECT_EQ(canvas.Pixel(2, 3), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(4, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(5, 5), kWhite);
    EXPECT_EQ(canvas.Pixel(4, 6), kWhite);
    // Content fills stop 16 pixels short of the right edge; paper fills do not.
    canvas.FillRect({0, 10, 40, 11}, 0, TFillKind::Content);
    EXPECT_EQ(canvas.Pixel(23, 10), 0u);
    EXPECT_EQ(canvas.Pixel(24, 10), kWhite);
    canvas.FillRect({0, 12, 400, 13}, 0, TFillKind::Paper);
    EXPECT_EQ(canvas.Pixel(39, 12), 0u);
    // Outside the canvas nothing happens.
    canvas.FillRect({-50, -50, -10, -10}, 0, TFillKind::Paper);
}

TEST(RasterCanvas, LinesLeaveOutTheirEndPixel) {
    TRasterCanvas canvas(20, 20, 96);
    canvas.Line(2, 4, 8, 4, 0, 1);
    EXPECT_EQ(canvas.Pixel(2, 4), 0u);
    EXPECT_EQ(canvas.Pixel(7, 4), 0u);
    EXPECT_EQ(canvas.Pixel(8, 4), kWhite);
    canvas.Line(10, 10, 10, 5, 0, 1);  // upward
    EXPECT_EQ(canvas.Pixel(10, 10), 0u);
    EXPECT_EQ(canvas.Pixel(10, 6), 0u);
    EXPECT_EQ(canvas.Pixel(10, 5), kWhite);
    // Pen width 0 still draws one pixel.
    canvas.Line(0, 15, 3, 15, 0, 0);
    EXPECT_EQ(canvas.Pixel(1, 15), 0u);
    EXPECT_EQ(canvas.Pixel(1, 14), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 16), kWhite);
}

TEST(RasterCanvas, FramesAreOnePixelInsideTheRectangle) {
    TRasterCanvas canvas(20, 20, 96);
    canvas.FrameRect({2, 2, 8, 6}, 0, 1);
    EXPECT_EQ(canvas.Pixel(2, 2), 0u);
    EXPECT_EQ(canvas.Pixel(7, 5), 0u);
    EXPECT_EQ(canvas.Pixel(4, 3), kWhite);
    EXPECT_EQ(canvas.Pixel(8, 5), kWhite);
    EXPECT_EQ(canvas.Pixel(7, 6), kWhite);
}

TEST(RasterCanvas, ClipRestrictsLinesButNotFills) {
    TRasterCanvas canvas(20, 20, 96);
    const TRect clip{0, 0, 10, 10};
    canvas.SetClip(&clip);
    canvas.Line(0, 12, 5, 12, 0, 1);
    EXPECT_EQ(canvas.Pixel(1, 12), kWhite);
    canvas.FillRect({0, 12, 5, 13}, 0, TFillKind::Paper);
    EXPECT_EQ(canvas.Pixel(1, 12), 0u);
    canvas.SetClip(nullptr);
    canvas.Line(0, 14, 5, 14, 0, 1);
    EXPECT_EQ(canvas.Pixel(1, 14), 0u);
}

TEST(RasterCanvas, TextIsDrawnInsideItsCellInItsColour) {
    TRasterCanvas canvas(100, 40, 96);
    canvas.SelectFont("Times New Roman", 12, 0, 1, kFamilyUnknown);
    const int32_t w = canvas.TextWidth(U"H");
    const int32_t h = canvas.TextHeight(U"H");
    EXPECT_EQ(h, 17);  // Times New Roman at 16 pixels per em: ascent 14, descent 3
    canvas.DrawTextRun(10, 5, U"H", TTextRunStyle{12, 0, 0x0000FF, 0, 0});
    int inked = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            if (p == kWhite) continue;
            ++inked;
            EXPECT_GE(x, 10);
            EXPECT_LT(x, 10 + w + 1);
            EXPECT_GE(y, 5);
            EXPECT_LT(y, 5 + h);
            // Red blended over white: full red, equal green and blue.
            EXPECT_EQ(p >> 16, 0xFFu);
            EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF);
        }
    EXPECT_GT(inked, 10);
}

TEST(RasterCanvas, UnderlineAtTwelvePointsLiesOnePixelAboveTheCellBottom) {
    TRasterCanvas canvas(100, 40, 96);
    canvas.SelectFont("Times New Roman", 12, 0, 1, kFamilyUnknown);
    const int32_t w = canvas.TextWidth(U"_");
    const int32_t h = canvas.TextHeight(U"_");
    TRasterCanvas plain(100, 40, 96);
    plain.SelectFont("Times New Roman", 12, 0, 1, kFamilyUnknown);
    plain.DrawTextRun(10, 5, U"_", TTextRunStyle{12, 0, 0, 0, 0});
    canvas.DrawTextRun(10, 5, U"_", TTextRunStyle{12, 1, 0, 0, 0});
    // The line runs from x - 1 to x + width + 1 (end pixel left out) at y + h - 1.
    EXPECT_EQ(canvas.Pixel(9, 5 + h - 1), 0u);
    EXPECT_EQ(canvas.Pixel(10 + w, 5 + h - 1), 0u);
    EXPECT_EQ(canvas.Pixel(10 + w + 1, 5 + h - 1), kWhite);
    EXPECT_EQ(plain.Pixel(9, 5 + h - 1), kWhite);
}

TEST(RasterCanvas, ShadowIsACopyTwoPixelsRightAndDown) {
    TRasterCanvas canvas(60, 40, 96);
    canvas.SelectFont("Arial", 12, 0, 1, kFamilyUnknown);
    canvas.DrawTextRun(10, 5, U"I", TTextRunStyle{12, 0, 0, 0x00FF00, 1});
    // The shadow shows right of the text's strokes: greenish pixels two columns right of dark.
    int32_t green = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            if (((p >> 8) & 0xFF) > 0x80 && (p >> 16) < 0x40) ++green;
        }
    EXPECT_GT(green, 5);
}

TEST(RasterCanvas, CodePointsBeyondWindows1252AreDrawnAndStruckThrough) {
    TRasterCanvas canvas(100, 40, 96);
    canvas.SelectFont("Arial", 12, kStyleStrikeOut, 1,
                      kFamilyUnknown);  // Liberation Sans, 16 pixels per em
    const TFont font = selfont("Arial", 96, 100.0, 12, 0, 1);
    const int32_t zhe = canvas.TextWidth(U"\u0416");
    EXPECT_EQ(zhe, TextWidth(font, U"\u0416"));
    EXPECT_NE(zhe, TextWidth(font, U"\U0010FFFD"));  // not the missing glyph's
    const int32_t w = canvas.TextWidth(U"\u0416  ");
    canvas.DrawTextRun(10, 5, U"\u0416  ", TTextRunStyle{});
    // The glyph is inked inside its advance and above the baseline (ascent 14).
    int32_t inkedLeft = 0;
    for (int32_t y = 5; y < 5 + 14; ++y)
        for (int32_t x = 10; x < 10 + zhe; ++x)
            inkedLeft += canvas.Pixel(x, y) != kWhite;
    EXPECT_GT(inkedLeft, 20);
    // The strike-out line (4 pixels above the baseline, one thick) runs under the spaces too.
    const int32_t strikeRow = 5 + 14 - 4;
    for (int32_t x = 10 + zhe; x < 10 + w; ++x) {
        EXPECT_EQ(canvas.Pixel(x, strikeRow), 0u) << x;
        EXPECT_EQ(canvas.Pixel(x, strikeRow - 1), kWhite) << x;
        EXPECT_EQ(canvas.Pixel(x, strikeRow + 1), kWhite) << x;
    }
    EXPECT_EQ(canvas.Pixel(10 + w, strikeRow), kWhite);
}

// Pixels inked (not white) in a box.
int32_t InkIn(const TRasterCanvas& canvas, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
    int32_t inked = 0;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            inked += canvas.Pixel(x, y) != kWhite;
    return inked;
}

TEST(RasterCanvas, CharactersOtherFacesHoldAreDrawnByThemInsideTheirAdvance) {
    struct TCase {
        const char* Family;
        char32_t Code;
    };
    // An ideograph in a Times New Roman run (a Noto CJK face), a Symbol bullet and a Wingdings
    // check mark (their Unicode meanings), each between two letters of the font's own face.
    for (const TCase& c : {TCase{"Times New Roman", U'\u4E2D'}, TCase{"Symbol", char32_t(0xF0B7)},
                           TCase{"Wingdings", char32_t(0xF0FC)}}) {
        TRasterCanvas canvas(120, 40, 96);
        canvas.SelectFont(c.Family, 12, 0, 1, kFamilyUnknown);
        const std::u32string one(1, c.Code);
        const int32_t x = canvas.TextWidth(U"I") + 10;
        const int32_t w = canvas.TextWidth(one);
        EXPECT_EQ(canvas.TextWidth(U"I" + one + U"I"), 2 * canvas.TextWidth(U"I") + w);
        ASSERT_GT(w, 3) << c.Family;
        canvas.DrawTextRun(10, 5, U"I" + one + U"I", TTextRunStyle{});
        EXPECT_GT(InkIn(canvas, x, 5, x + w, 5 + canvas.TextHeight(one)), 6) << c.Family;
    }
    // A code point no face holds leaves its advance empty.
    TRasterCanvas canvas(60, 40, 96);
    canvas.SelectFont("Times New Roman", 12, 0, 1, kFamilyUnknown);
    const int32_t w = canvas.TextWidth(U"\U0010FFFD");
    canvas.DrawTextRun(10, 5, U"\U0010FFFD", TTextRunStyle{});
    EXPECT_EQ(InkIn(canvas, 0, 0, 60, 40), 0);
    EXPECT_GT(w, 0);
}

// A 24-bit test picture whose pixel (x, y from the top) has red x and green y.
TDib Gradient(int32_t w, int32_t h) {
    TDib dib;
    EXPECT_TRUE(newdib(dib, w, h, 24, nullptr, 0));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) setpixel(dib, x, y, static_cast<uint32_t>(x | (y << 8)));
    return dib;
}

TEST(DrawDib, HalfSizeTakesEverySecondColumnAndRow) {
    const TDib image = Gradient(100, 50);
    TRasterCanvas canvas(60, 30, 96);
    DrawDIB(canvas, 0, 0, 50, 100, 0, 0, image, 25, 50);
    EXPECT_EQ(canvas.Pixel(0, 0), 0x000000u);
    EXPECT_EQ(canvas.Pixel(1, 0), 0x020000u);  // column 2
    EXPECT_EQ(canvas.Pixel(3, 2), 0x060400u);  // column 6, row 4
    EXPECT_EQ(canvas.Pixel(50, 0), kWhite);
}

TEST(DrawDib, DoubleSizeRepeatsEachRow) {
    const TDib image = Gradient(100, 50);
    TRasterCanvas canvas(210, 110, 96);
    DrawDIB(canvas, 0, 0, 50, 100, 0, 0, image, 100, 200);
    EXPECT_EQ(canvas.Pixel(5, 6), canvas.Pixel(5, 7));
    EXPECT_EQ(canvas.Pixel(5, 7), 0x020300u);
    EXPECT_EQ(canvas.Pixel(199, 99), 0x633100u);
}

TEST(DrawDib, SourceBeyondTheRightEdgeShrinksTheDestination) {
    const TDib image = Gradient(100, 50);
    TRasterCanvas canvas(200, 60, 96);
    // 110 columns asked for, 100 exist: 220 destination pixels become 200.
    DrawDIB(canvas, 0, 0, 50, 110, 0, 0, image, 50, 220);
    EXPECT_NE(canvas.Pixel(199, 10), kWhite);
    TRasterCanvas wide(240, 60, 96);
    DrawDIB(wide, 0, 0, 50, 110, 0, 0, image, 50, 220);
    EXPECT_EQ(wide.Pixel(200, 10), kWhite);
}

TEST(DrawDib, PaletteImagesUseTheirColourTable) {
    TDib image;
    ASSERT_TRUE(newdib(image, 2, 1, 1, nullptr, 0));
    image.ColorTable[0] = {0, 0, 255, 0};  // red
    image.ColorTable[1] = {255, 0, 0, 0};  // blue
    setpixel(image, 1, 0, 1);
    TRasterCanvas canvas(4, 4, 96);
    DrawDIB(canvas, 0, 0, 1, 2, 0, 0, image, 1, 2);
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(1, 0), 0x0000FFu);
}

TEST(Preview, PageBitmapHasPaperFrameAndShadow) {
    TDocument doc;
    TRasterCanvas canvas(1, 1, 96);
    RenderPreviewPage(doc, 0, canvas);
    EXPECT_EQ(canvas.Width(), 16 + 793 + 20);
    EXPECT_EQ(canvas.Height(), 16 + 1122 + 20);
    EXPECT_EQ(canvas.Pixel(5, 5), 0x808080u);        // grey surround
    EXPECT_EQ(canvas.Pixel(16, 16), 0u);             // frame
    EXPECT_EQ(canvas.Pixel(400, 600), kWhite);       // paper
    EXPECT_EQ(canvas.Pixel(16 + 793 + 3, 600), 0u);  // shadow
}

}  // namespace
}  // namespace qm
