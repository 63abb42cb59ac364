// Damaged, cut and lying picture files: each gives no image and no crash, and nothing large is
// allocated on the word of a header.
#include <gtest/gtest.h>

#include <png.h>

#include <random>

#include "raster/allocation_probe.h"
#include "raster/dib.h"
#include "raster/image_fixtures.h"

namespace qm {
namespace {

constexpr size_t kSmallAllocation = 1 << 20;

std::vector<uint8_t> SmallJpeg(bool progressive) {
    test::JpegRecipe recipe = test::GradientJpegRecipe(24, 16);
    recipe.Progressive = progressive;
    recipe.Quality = 80;
    return test::EncodeJpeg(recipe);
}

std::vector<uint8_t> SmallPng(bool interlaced) {
    test::PngRecipe recipe;
    recipe.Width = 12;
    recipe.Height = 9;
    recipe.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    recipe.Interlaced = interlaced;
    for (uint32_t y = 0; y < recipe.Height; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < recipe.Width; ++x) {
            test::AppendBytes(row, {uint8_t(x * 20), uint8_t(y * 25), 99, uint8_t(x * y)});
        }
        recipe.Rows.push_back(row);
    }
    return test::EncodePng(recipe);
}

void ExpectEveryPrefixRefused(const std::vector<uint8_t>& file, int format) {
    TDib dib;
    ASSERT_TRUE(OpenDibMemory(dib, file, format)) << "the whole file is fine";
    for (size_t length = 0; length < file.size(); ++length) {
        ASSERT_FALSE(OpenDibMemory(dib, std::span(file.data(), length), format))
            << "cut to " << length << " of " << file.size() << " bytes";
        ASSERT_FALSE(dib.HasImage());
    }
}

TEST(DamagedInput, EveryCutJpegIsRefused) {
    ExpectEveryPrefixRefused(SmallJpeg(false), kFormatJpeg);
    ExpectEveryPrefixRefused(SmallJpeg(true), kFormatJpeg);
}

TEST(DamagedInput, EveryCutPngIsRefused) {
    ExpectEveryPrefixRefused(SmallPng(false), kFormatPng);
    ExpectEveryPrefixRefused(SmallPng(true), kFormatPng);
}

// Flips one to four bytes per round (fixed seed). A damaged file either loads as a well-formed
// image or gives none; the sanitizers watch for everything else.
void FlipBytesRepeatedly(const std::vector<uint8_t>& file, int format, bool fixCrcs) {
    std::mt19937 random(20240607);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> damaged = file;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
        }
        if (fixCrcs) test::FixPngCrcs(damaged);
        TDib dib;
        if (OpenDibMemory(dib, damaged, format)) {
            ASSERT_TRUE(test::IsConsistent(dib)) << "round " << round;
        } else {
            ASSERT_FALSE(dib.HasImage()) << "round " << round;
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(DamagedInput, JpegsWithFlippedBytes) {
    FlipBytesRepeatedly(SmallJpeg(false), kFormatJpeg, false);
    FlipBytesRepeatedly(SmallJpeg(true), kFormatJpeg, false);
}

TEST(DamagedInput, PngsWithFlippedBytes) {
    FlipBytesRepeatedly(SmallPng(false), kFormatPng, false);
    // With the checksums mended the damage reaches the decompressor and the row filters.
    FlipBytesRepeatedly(SmallPng(false), kFormatPng, true);
    FlipBytesRepeatedly(SmallPng(true), kFormatPng, true);
}

TEST(DamagedInput, NoiseAndEmptyInputAreRefused) {
    std::mt19937 random(7);
    std::vector<uint8_t> noise(3000);
    for (uint8_t& byte : noise)
        byte = uint8_t(random());
    TDib dib;
    EXPECT_FALSE(OpenDibMemory(dib, noise, kFormatJpeg));
    EXPECT_FALSE(OpenDibMemory(dib, noise, kFormatPng));
    noise[0] = 0xFF;
    noise[1] = 0xD8;
    noise[2] = 0xFF;
    EXPECT_FALSE(OpenDibMemory(dib, noise, kFormatJpeg));
    EXPECT_FALSE(OpenDibMemory(dib, {}, kFormatJpeg));
    EXPECT_FALSE(OpenDibMemory(dib, {}, kFormatPng));
    EXPECT_FALSE(dib.HasImage());
}

// A PNG whose header claims width x height over a few bytes of real image data.
std::vector<uint8_t> LyingPng(uint32_t width, uint32_t height) {
    const std::vector<uint8_t> rows(64, 0);
    return test::AssemblePng({{"IHDR", test::IhdrData(width, height, 8, PNG_COLOR_TYPE_RGB)},
                              {"IDAT", test::Deflate(rows)},
                              {"IEND", {}}});
}

// A real JPEG whose frame header is rewritten to claim width x height.
std::vector<uint8_t> LyingJpeg(uint16_t width, uint16_t height) {
    std::vector<uint8_t> jpeg = SmallJpeg(false);
    const size_t sof = test::FindJpegMarker(jpeg, 0xC0);
    EXPECT_NE(sof, std::string::npos);
    jpeg[sof + 5] = uint8_t(height >> 8);
    jpeg[sof + 6] = uint8_t(height);
    jpeg[sof + 7] = uint8_t(width >> 8);
    jpeg[sof + 8] = uint8_t(width);
    return jpeg;
}

void ExpectRefusedWithoutLargeAllocation(const std::vector<uint8_t>& file, int format) {
    TDib dib;
    test::ResetLargestAllocation();
    EXPECT_FALSE(OpenDibMemory(dib, file, format));
    EXPECT_LT(test::LargestAllocation(), kSmallAllocation);
    EXPECT_FALSE(dib.HasImage());
}

TEST(DamagedInput, HeadersBeyondThePixelLimitAreRefusedBeforeAllocating) {
    ExpectRefusedWithoutLargeAllocation(LyingPng(100000, 100000), kFormatPng);
    ExpectRefusedWithoutLargeAllocation(LyingPng(0x7FFFFFFF, 0x7FFFFFFF), kFormatPng);
    ExpectRefusedWithoutLargeAllocation(LyingJpeg(65535, 65535), kFormatJpeg);
}

TEST(DamagedInput, HeadersThatTheDataCannotFillAreRefusedBeforeAllocating) {
    // Within the pixel limit, but far more than a few hundred bytes can encode.
    ExpectRefusedWithoutLargeAllocation(LyingPng(16000, 16000), kFormatPng);
    ExpectRefusedWithoutLargeAllocation(LyingJpeg(16000, 16000), kFormatJpeg);
}

TEST(DamagedInput, HonestHeadersStillLoad) {
    // The same construction at an honest size loads, so the refusals above are about size.
    TDib dib;
    EXPECT_TRUE(OpenDibMemory(dib, LyingPng(3, 5), kFormatPng));
    const std::vector<uint8_t> rows(9 * (1 + 3000 * 3), 0);  // a large, easily packed image
    const std::vector<uint8_t> wide =
        test::AssemblePng({{"IHDR", test::IhdrData(3000, 9, 8, PNG_COLOR_TYPE_RGB)},
                           {"IDAT", test::Deflate(rows)},
                           {"IEND", {}}});
    test::ResetLargestAllocation();
    EXPECT_TRUE(OpenDibMemory(dib, wide, kFormatPng));
    EXPECT_EQ(DIBWidth(dib), 3000);
    EXPECT_GE(test::LargestAllocation(), dib.Header.SizeImage) << "the probe sees the pixels";
}

TEST(DamagedInput, PngWithoutItsEndChunkIsRefused) {
    std::vector<uint8_t> png = LyingPng(3, 5);
    TDib dib;
    ASSERT_GT(png.size(), 12u);
    png.erase(png.end() - 12, png.end());  // drop IEND
    EXPECT_FALSE(OpenDibMemory(dib, png, kFormatPng));
}

}  // namespace
}  // namespace qm
