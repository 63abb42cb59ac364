#include <gtest/gtest.h>

#include <png.h>

#include "raster/dib.h"
#include "raster/image_fixtures.h"

namespace qm {
namespace {

using test::Rgb;

TDib Decode(const test::PngRecipe& recipe) {
    TDib dib;
    EXPECT_TRUE(OpenDibMemory(dib, test::EncodePng(recipe), kFormatPng));
    if (dib.HasImage()) {
        EXPECT_TRUE(test::IsConsistent(dib));
        EXPECT_EQ(DIBBitCount(dib), 24);
        EXPECT_EQ(uint32_t(DIBWidth(dib)), recipe.Width);
        EXPECT_EQ(uint32_t(DIBHeight(dib)), recipe.Height);
    }
    return dib;
}

void ExpectColor(const TDib& dib, int32_t x, int32_t y, Rgb expected) {
    const Rgb seen = test::PixelColor(dib, x, y);
    EXPECT_EQ(seen.Red, expected.Red) << x << "," << y;
    EXPECT_EQ(seen.Green, expected.Green) << x << "," << y;
    EXPECT_EQ(seen.Blue, expected.Blue) << x << "," << y;
}

// Rows of 8-bit RGB pixels: red on the top row, blue on the bottom row, green between.
test::PngRecipe RgbStripes(uint32_t width, uint32_t height) {
    test::PngRecipe recipe;
    recipe.Width = width;
    recipe.Height = height;
    for (uint32_t y = 0; y < height; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < width; ++x) {
            const Rgb c = y == 0            ? Rgb{255, 0, 0}
                          : y + 1 == height ? Rgb{0, 0, 255}
                                            : Rgb{0, uint8_t(x * 10), 0};
            test::AppendBytes(row, {c.Red, c.Green, c.Blue});
        }
        recipe.Rows.push_back(row);
    }
    return recipe;
}

TEST(PngOpen, RgbKeepsColoursAndOrientationExactly) {
    const TDib dib = Decode(RgbStripes(7, 5));
    ExpectColor(dib, 3, 0, {255, 0, 0});
    ExpectColor(dib, 3, 4, {0, 0, 255});
    ExpectColor(dib, 6, 2, {0, 60, 0});
}

TEST(PngOpen, InterlacedFilesGiveTheSamePixels) {
    test::PngRecipe recipe = RgbStripes(19, 13);
    const TDib plain = Decode(recipe);
    recipe.Interlaced = true;
    const std::vector<uint8_t> interlaced = test::EncodePng(recipe);
    ASSERT_EQ(interlaced[8 + 8 + 12], 1) << "the fixture wrote Adam7";
    TDib decoded;
    ASSERT_TRUE(OpenDibMemory(decoded, interlaced, kFormatPng));
    EXPECT_EQ(*decoded.PixelBlock, *plain.PixelBlock);
}

TEST(PngOpen, PaletteImagesOfEveryDepthExpandWithTransparencyOverWhite) {
    for (int depth : {1, 2, 4, 8}) {
        test::PngRecipe recipe;
        recipe.Width = 8;
        recipe.Height = 1;
        recipe.BitDepth = depth;
        recipe.ColorType = PNG_COLOR_TYPE_PALETTE;
        recipe.Palette = {{10, 20, 30}, {200, 100, 50}};
        recipe.Transparency = {0};  // entry 0 fully transparent
        // Pixels 0 to 7: entries 0, 1, 0, 1, ... packed at the given depth.
        std::vector<uint8_t> row((8 * depth + 7) / 8);
        for (int x = 0; x < 8; ++x) {
            const int bit = x * depth;
            row[bit / 8] |= uint8_t((x % 2) << (8 - depth - bit % 8));
        }
        recipe.Rows = {row};
        const TDib dib = Decode(recipe);
        ExpectColor(dib, 0, 0, {255, 255, 255});
        ExpectColor(dib, 1, 0, {200, 100, 50});
        ExpectColor(dib, 7, 0, {200, 100, 50});
    }
}

TEST(PngOpen, GreyOfEveryDepthBecomesEqualChannels) {
    const struct {
        int Depth;
        std::vector<uint8_t> Row;  // two pixels: black, then white or mid grey
        uint8_t Second;
    } cases[] = {{1, {0x40}, 255},
                 {4, {0x0F}, 255},
                 {8, {0x00, 0x80}, 128},
                 {16, {0x00, 0x00, 0x80, 0x80}, 128}};
    for (const auto& c : cases) {
        test::PngRecipe recipe;
        recipe.Width = 2;
        recipe.Height = 1;
        recipe.BitDepth = c.Depth;
        recipe.ColorType = PNG_COLOR_TYPE_GRAY;
        recipe.Rows = {c.Row};
        const TDib dib = Decode(recipe);
        ExpectColor(dib, 0, 0, {0, 0, 0});
        ExpectColor(dib, 1, 0, {c.Second, c.Second, c.Second});
    }
}

TEST(PngOpen, SixteenBitColourIsReducedWithoutAGammaShift) {
    test::PngRecipe recipe;
    recipe.Width = 1;
    recipe.Height = 1;
    recipe.BitDepth = 16;
    recipe.Rows = {{0xFF, 0xFF, 0x80, 0x80, 0x10, 0x10}};
    ExpectColor(Decode(recipe), 0, 0, {255, 128, 16});
}

TEST(PngOpen, AlphaIsCompositedOverWhite) {
    test::PngRecipe greyAlpha;
    greyAlpha.Width = 3;
    greyAlpha.Height = 1;
    greyAlpha.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.Rows = {{0, 0, 0, 255, 0, 128}};  // clear, opaque black, half-covered black
    const TDib grey = Decode(greyAlpha);
    ExpectColor(grey, 0, 0, {255, 255, 255});
    ExpectColor(grey, 1, 0, {0, 0, 0});
    const Rgb half = test::PixelColor(grey, 2, 0);
    EXPECT_GT(half.Red, 64);
    EXPECT_LT(half.Red, 224);

    test::PngRecipe rgba;
    rgba.Width = 2;
    rgba.Height = 1;
    rgba.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.Rows = {{10, 20, 30, 0, 10, 20, 30, 255}};
    const TDib color = Decode(rgba);
    ExpectColor(color, 0, 0, {255, 255, 255});
    ExpectColor(color, 1, 0, {10, 20, 30});

    rgba.BitDepth = 16;
    rgba.Rows = {{0, 10, 0, 20, 0, 30, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0xFF, 0xFF}};
    const TDib deep = Decode(rgba);
    ExpectColor(deep, 0, 0, {255, 255, 255});
    ExpectColor(deep, 1, 0, {128, 0, 0});
}

TEST(PngOpen, ColourKeyTransparencyBecomesWhite) {
    test::PngRecipe recipe;
    recipe.Width = 2;
    recipe.Height = 1;
    recipe.Rows = {{1, 2, 3, 4, 5, 6}};
    recipe.ColorKey = {1, 2, 3};
    const TDib dib = Decode(recipe);
    ExpectColor(dib, 0, 0, {255, 255, 255});
    ExpectColor(dib, 1, 0, {4, 5, 6});
}

TEST(PngOpen, FileRoundTripAndSignatureSniffing) {
    const std::vector<uint8_t> png = test::EncodePng(RgbStripes(4, 3));
    TDib decoded;
    EXPECT_TRUE(OpenDibMemory(decoded, png, kFormatJpeg)) << "a PNG filed as JPEG still loads";
    ExpectColor(decoded, 0, 0, {255, 0, 0});
}

}  // namespace
}  // namespace qm
