#include <gtest/gtest.h>

#include <cstdlib>

#include "raster/dib.h"
#include "raster/image_fixtures.h"

namespace qm {
namespace {

using test::Rgb;

TDib SolidImage(int32_t width, int32_t height, uint32_t color) {
    TDib dib;
    EXPECT_TRUE(newdib(dib, width, height, 24, nullptr, 0));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            setpixel(dib, x, y, color);
    }
    return dib;
}

Rgb TableColor(const TDib& dib, int32_t x, int32_t y) {
    const TRgbQuad entry = dib.ColorTable.at(getpixel(dib, x, y));
    return Rgb{entry.Red, entry.Green, entry.Blue};
}

// The mean colour of the halftoned image as the eye would see it from afar.
Rgb MeanColor(const TDib& dib) {
    long red = 0, green = 0, blue = 0;
    for (int32_t y = 0; y < DIBHeight(dib); ++y) {
        for (int32_t x = 0; x < DIBWidth(dib); ++x) {
            const Rgb color = TableColor(dib, x, y);
            red += color.Red;
            green += color.Green;
            blue += color.Blue;
        }
    }
    const long count = long{DIBWidth(dib)} * DIBHeight(dib);
    return Rgb{uint8_t(red / count), uint8_t(green / count), uint8_t(blue / count)};
}

TEST(Halftone, GivesAnEightBitCopyWithAFullPalette) {
    TDib halftoned;
    ASSERT_TRUE(DIBHalftoneDIB(halftoned, SolidImage(13, 7, 0x00336699)));
    EXPECT_EQ(DIBWidth(halftoned), 13);
    EXPECT_EQ(DIBHeight(halftoned), 7);
    EXPECT_EQ(DIBBitCount(halftoned), 8);
    EXPECT_EQ(halftoned.ColorTable.size(), 256u);
    EXPECT_EQ(halftoned.PaletteFlag, 1);
    EXPECT_TRUE(test::IsConsistent(halftoned));
}

TEST(Halftone, PaletteColoursComeThroughUnchanged) {
    for (uint32_t color : {0x00000000u, 0x00FFFFFFu, 0x000000FFu, 0x0066CC33u, 0x00339999u}) {
        TDib halftoned;
        ASSERT_TRUE(DIBHalftoneDIB(halftoned, SolidImage(9, 9, color)));
        for (int32_t y = 0; y < 9; ++y) {
            for (int32_t x = 0; x < 9; ++x) {
                const Rgb seen = TableColor(halftoned, x, y);
                ASSERT_EQ(seen.Red | seen.Green << 8 | seen.Blue << 16, int(color))
                    << std::hex << color;
            }
        }
    }
}

TEST(Halftone, KeepsTheMeanColourOfInBetweenShades) {
    for (uint32_t color : {0x00808080u, 0x00204060u, 0x00F0E0D0u}) {
        TDib halftoned;
        ASSERT_TRUE(DIBHalftoneDIB(halftoned, SolidImage(32, 32, color)));
        const Rgb mean = MeanColor(halftoned);
        EXPECT_NEAR(mean.Red, int(color & 0xFF), 3) << std::hex << color;
        EXPECT_NEAR(mean.Green, int(color >> 8 & 0xFF), 3) << std::hex << color;
        EXPECT_NEAR(mean.Blue, int(color >> 16 & 0xFF), 3) << std::hex << color;
    }
}

TEST(Halftone, PaletteImagesAreReadThroughTheirColourTable) {
    TDib mono;
    ASSERT_TRUE(newdib(mono, 4, 2, 1, nullptr, 0));
    mono.ColorTable[0] = TRgbQuad{0, 0, 255, 0};  // red
    mono.ColorTable[1] = TRgbQuad{255, 0, 0, 0};  // blue
    setpixel(mono, 3, 1, 1);
    TDib halftoned;
    ASSERT_TRUE(DIBHalftoneDIB(halftoned, mono));
    EXPECT_EQ(TableColor(halftoned, 0, 0).Red, 255);
    EXPECT_EQ(TableColor(halftoned, 3, 1).Blue, 255);
    EXPECT_EQ(TableColor(halftoned, 3, 1).Red, 0);
}

TEST(HalftoneXY, ReducesByAveragingAndEnlargesByRepeating) {
    TDib checker;  // one-pixel black and white checks
    ASSERT_TRUE(newdib(checker, 100, 50, 24, nullptr, 0));
    for (int32_t y = 0; y < 50; ++y) {
        for (int32_t x = 0; x < 100; ++x)
            setpixel(checker, x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    }
    TDib reduced;
    ASSERT_TRUE(DIBHalftoneDIBXY(reduced, checker, 50, 25));
    EXPECT_EQ(DIBWidth(reduced), 50);
    EXPECT_EQ(DIBHeight(reduced), 25);
    // Each output pixel averages a 2 x 2 block: grey, not the black or white one pixel gives.
    EXPECT_NEAR(MeanColor(reduced).Green, 128, 6);

    TDib quarters;
    ASSERT_TRUE(newdib(quarters, 2, 2, 24, nullptr, 0));
    setpixel(quarters, 1, 0, 0x0000FF);
    setpixel(quarters, 0, 1, 0xFFFFFF);
    TDib enlarged;
    ASSERT_TRUE(DIBHalftoneDIBXY(enlarged, quarters, 8, 6));
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const Rgb expected = test::PixelColor(quarters, x / 4, y / 3);
            const Rgb seen = TableColor(enlarged, x, y);
            ASSERT_EQ(seen.Red, expected.Red) << x << "," << y;
            ASSERT_EQ(seen.Blue, expected.Blue) << x << "," << y;
        }
    }
}

TEST(HalftoneXY, HandlesExtremeAspectChanges) {
    TDib line = SolidImage(5000, 1, 0x00FF0000);  // a long blue line
    setpixel(line, 0, 0, 0x000000FF);
    TDib column;
    ASSERT_TRUE(DIBHalftoneDIBXY(column, line, 1, 3000));
    EXPECT_EQ(DIBHeight(column), 3000);
    EXPECT_GE(TableColor(column, 0, 1500).Blue, 204);
}

TEST(Halftone, RefusesEmptySourcesAndInvalidSizes) {
    TDib dest = SolidImage(2, 2, 0);
    EXPECT_FALSE(DIBHalftoneDIB(dest, TDib{}));
    EXPECT_FALSE(dest.HasImage());
    const TDib source = SolidImage(4, 4, 0x00808080);
    EXPECT_FALSE(DIBHalftoneDIBXY(dest, source, 0, 4));
    EXPECT_FALSE(DIBHalftoneDIBXY(dest, source, 4, -1));
    EXPECT_FALSE(DIBHalftoneDIBXY(dest, source, 1 << 20, 1 << 20));
    EXPECT_FALSE(dest.HasImage());
}

TEST(Halftone, TheSourceMayBeTheDestination) {
    TDib image = SolidImage(6, 6, 0x00FF00FF);
    ASSERT_TRUE(DIBHalftoneDIB(image, image));
    EXPECT_EQ(DIBBitCount(image), 8);
    EXPECT_EQ(TableColor(image, 5, 5).Red, 255);
    EXPECT_EQ(TableColor(image, 5, 5).Green, 0);
}

}  // namespace
}  // namespace qm
