#include <gtest/gtest.h>

#include <climits>

#include "raster/dib.h"

namespace qm {
namespace {

struct ShapeCase {
    int32_t Width;
    int BitsPerPixel;
    int32_t BytesPerRow;
    size_t ColorCount;
};

TEST(NewDib, RowsArePaddedToFourBytesAndTheBlockIsZeroed) {
    const ShapeCase cases[] = {{1, 1, 4, 2},   {33, 1, 8, 2},  {5, 4, 4, 16}, {9, 4, 8, 16},
                               {3, 8, 4, 256}, {5, 8, 8, 256}, {1, 24, 4, 0}, {3, 24, 12, 0},
                               {5, 24, 16, 0}, {32, 1, 4, 2}};
    for (const ShapeCase& shape : cases) {
        TDib dib;
        ASSERT_TRUE(newdib(dib, shape.Width, 7, shape.BitsPerPixel, nullptr, 0));
        EXPECT_EQ(dib.BytesPerRow, shape.BytesPerRow) << shape.Width << "@" << shape.BitsPerPixel;
        EXPECT_EQ(dib.Header.SizeImage, uint32_t(shape.BytesPerRow) * 7);
        ASSERT_EQ(dib.PixelBlock->size(), dib.Header.SizeImage);
        EXPECT_EQ(dib.ColorTable.size(), shape.ColorCount);
        EXPECT_EQ(DIBWidth(dib), shape.Width);
        EXPECT_EQ(DIBHeight(dib), 7);
        EXPECT_EQ(DIBBitCount(dib), shape.BitsPerPixel);
        for (uint8_t byte : *dib.PixelBlock)
            ASSERT_EQ(byte, 0);
    }
}

TEST(NewDib, RefusesInvalidShapesAndEmptiesTheDescriptor) {
    const struct {
        int32_t Width;
        int32_t Height;
        int Bits;
    } refused[] = {{10, 10, 0},
                   {10, 10, 2},
                   {10, 10, 16},
                   {10, 10, 32},
                   {0, 10, 24},
                   {10, 0, 24},
                   {-1, 10, 8},
                   {10, -5, 8},
                   {1 << 14, (1 << 14) + 1, 1},
                   {INT32_MAX, INT32_MAX, 24},
                   {INT32_MAX, 1, 24},
                   {INT32_MIN, INT32_MIN, 8}};
    for (const auto& shape : refused) {
        TDib dib;
        ASSERT_TRUE(newdib(dib, 4, 4, 8, nullptr, 0));
        EXPECT_FALSE(newdib(dib, shape.Width, shape.Height, shape.Bits, nullptr, 0))
            << shape.Width << "x" << shape.Height << "@" << shape.Bits;
        EXPECT_FALSE(dib.HasImage());
        EXPECT_EQ(dib.Pixels(), nullptr);
        EXPECT_TRUE(dib.ColorTable.empty());
    }
}

TEST(NewDib, AcceptsTheLargestAllowedPixelCountShape) {
    TDib dib;
    // A one-bit image keeps the test's memory small: 2^28 pixels in 32 MiB.
    ASSERT_TRUE(newdib(dib, 1 << 14, 1 << 14, 1, nullptr, 0));
    EXPECT_EQ(dib.Header.SizeImage, uint32_t{1} << 25);
}

TEST(NewDib, CopiesTheRequestedNumberOfColoursFromTheSource) {
    TDib source;
    ASSERT_TRUE(newdib(source, 2, 2, 8, nullptr, 0));
    for (size_t i = 0; i < source.ColorTable.size(); ++i) {
        source.ColorTable[i] = TRgbQuad{uint8_t(i), uint8_t(255 - i), 7, 0};
    }
    TDib partial;
    ASSERT_TRUE(newdib(partial, 2, 2, 8, &source, 3));
    EXPECT_EQ(partial.ColorTable[2].Blue, 2);
    EXPECT_EQ(partial.ColorTable[2].Green, 253);
    EXPECT_EQ(partial.ColorTable[3].Green, 0) << "entries past the count stay black";

    TDib smaller;  // more colours asked than a 4-bit table holds
    ASSERT_TRUE(newdib(smaller, 2, 2, 4, &source, 256));
    ASSERT_EQ(smaller.ColorTable.size(), 16u);
    EXPECT_EQ(smaller.ColorTable[15].Blue, 15);

    TDib wider;  // a 1-bit source offers only two colours to an 8-bit image
    TDib twoColors;
    ASSERT_TRUE(newdib(twoColors, 1, 1, 1, &source, 2));
    ASSERT_TRUE(newdib(wider, 1, 1, 8, &twoColors, 256));
    EXPECT_EQ(wider.ColorTable[1].Blue, 1);
    EXPECT_EQ(wider.ColorTable[2].Blue, 0);

    ASSERT_TRUE(newdib(source, 3, 3, 8, &source, 256));  // the source may be the target
    EXPECT_EQ(source.ColorTable[200].Blue, 200);
}

TEST(DelDib, DropsOnlyThisDescriptorsShare) {
    TDib first;
    ASSERT_TRUE(newdib(first, 4, 4, 24, nullptr, 0));
    TDib second = first;
    setpixel(second, 1, 1, 0x00112233);
    EXPECT_EQ(getpixel(first, 1, 1), 0x00112233u) << "copies share the pixels";
    deldib(first);
    EXPECT_FALSE(first.HasImage());
    EXPECT_EQ(DIBWidth(first), 0);
    EXPECT_EQ(getpixel(second, 1, 1), 0x00112233u);
    deldib(first);  // twice is harmless
}

TEST(PixelAccess, RoundTripsEveryValueAtEachDepth) {
    for (int bits : {1, 4, 8}) {
        TDib dib;
        ASSERT_TRUE(newdib(dib, 37, 5, bits, nullptr, 0));
        const uint32_t mask = (1u << bits) - 1;
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 37; ++x)
                setpixel(dib, x, y, uint32_t(x * 7 + y * 3));
        }
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 37; ++x) {
                ASSERT_EQ(getpixel(dib, x, y), uint32_t(x * 7 + y * 3) & mask)
                    << bits << " bits at " << x << "," << y;
            }
        }
    }
    TDib color;
    ASSERT_TRUE(newdib(color, 5, 3, 24, nullptr, 0));
    setpixel(color, 4, 2, 0xFF123456);
    EXPECT_EQ(getpixel(color, 4, 2), 0x00123456u) << "the spare byte is not stored";
}

TEST(PixelAccess, RowsAreStoredBottomUpInWindowsBitmapOrder) {
    TDib mono;
    ASSERT_TRUE(newdib(mono, 16, 2, 1, nullptr, 0));
    setpixel(mono, 0, 0, 1);
    setpixel(mono, 9, 0, 1);
    // The top row is the second stored row; the leftmost pixel is the byte's high bit.
    EXPECT_EQ((*mono.PixelBlock)[4], 0x80);
    EXPECT_EQ((*mono.PixelBlock)[5], 0x40);
    EXPECT_EQ((*mono.PixelBlock)[0], 0x00);

    TDib nibbles;
    ASSERT_TRUE(newdib(nibbles, 3, 1, 4, nullptr, 0));
    setpixel(nibbles, 0, 0, 0xA);
    setpixel(nibbles, 1, 0, 0x5);
    setpixel(nibbles, 2, 0, 0xC);
    EXPECT_EQ((*nibbles.PixelBlock)[0], 0xA5);
    EXPECT_EQ((*nibbles.PixelBlock)[1], 0xC0);

    TDib color;
    ASSERT_TRUE(newdib(color, 2, 2, 24, nullptr, 0));
    setpixel(color, 1, 1, 0x00CCBBAA);  // bottom row, second pixel: red AA, green BB, blue CC
    EXPECT_EQ((*color.PixelBlock)[3], 0xCC);
    EXPECT_EQ((*color.PixelBlock)[4], 0xBB);
    EXPECT_EQ((*color.PixelBlock)[5], 0xAA);
}

TEST(PixelAccess, CoordinatesOutsideTheImageReadZeroAndWriteNothing) {
    for (int bits : {1, 4, 8, 24}) {
        TDib dib;
        ASSERT_TRUE(newdib(dib, 9, 4, bits, nullptr, 0));
        std::fill(dib.PixelBlock->begin(), dib.PixelBlock->end(), uint8_t{0xFF});
        const std::vector<uint8_t> before = *dib.PixelBlock;
        const int32_t outside[][2] = {{-1, 0},        {9, 0},         {0, -1},
                                      {0, 4},         {9, 4},         {-1, -1},
                                      {INT32_MAX, 0}, {0, INT32_MIN}, {INT32_MIN, INT32_MAX}};
        for (const auto& point : outside) {
            EXPECT_EQ(getpixel(dib, point[0], point[1]), 0u) << bits;
            setpixel(dib, point[0], point[1], 0);
        }
        EXPECT_EQ(*dib.PixelBlock, before) << bits << " bits";
    }
}

TEST(PixelAccess, DescriptorsWithoutUsablePixelsAreIgnored) {
    TDib empty;
    EXPECT_EQ(getpixel(empty, 0, 0), 0u);
    setpixel(empty, 0, 0, 1);

    TDib shortBlock;  // header promises more rows than the block holds
    ASSERT_TRUE(newdib(shortBlock, 8, 8, 24, nullptr, 0));
    shortBlock.PixelBlock->resize(24);
    EXPECT_EQ(getpixel(shortBlock, 0, 0), 0u);
    setpixel(shortBlock, 7, 7, 0xFFFFFF);
    EXPECT_EQ(shortBlock.PixelBlock->size(), 24u);

    TDib oddDepth;
    ASSERT_TRUE(newdib(oddDepth, 8, 8, 8, nullptr, 0));
    oddDepth.Header.BitCount = 16;
    EXPECT_EQ(getpixel(oddDepth, 0, 0), 0u);
}

TEST(ColorCount, IsTwoToTheDepth) {
    EXPECT_EQ(PowerOfTwo(0), 1);
    EXPECT_EQ(PowerOfTwo(1), 2);
    EXPECT_EQ(PowerOfTwo(8), 256);
    EXPECT_EQ(PowerOfTwo(24), 16777216);
    EXPECT_EQ(PowerOfTwo(-3), 1);
    EXPECT_EQ(PowerOfTwo(1000), int64_t{1} << 62);
    TDib dib;
    ASSERT_TRUE(newdib(dib, 1, 1, 4, nullptr, 0));
    EXPECT_EQ(DIBColorCount(dib), 16);
    EXPECT_EQ(DIBColorCount(TDib{}), 1);
}

}  // namespace
}  // namespace qm
