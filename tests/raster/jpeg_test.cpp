#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "raster/dib.h"
#include "raster/image_fixtures.h"

namespace qm {
namespace {

using test::Rgb;

TDib GradientDib(int32_t width, int32_t height) {
    TDib dib;
    EXPECT_TRUE(newdib(dib, width, height, 24, nullptr, 0));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const Rgb c = test::GradientColor(x, y, width, height);
            setpixel(dib, x, y, c.Red | c.Green << 8 | c.Blue << 16);
        }
    }
    return dib;
}

// Mean and largest per-channel difference between two 24-bit images of the same size.
struct Difference {
    double Mean = 0;
    int Largest = 0;
};

Difference Compare(const TDib& a, const TDib& b) {
    Difference result;
    long total = 0, count = 0;
    for (int32_t y = 0; y < DIBHeight(a); ++y) {
        for (int32_t x = 0; x < DIBWidth(a); ++x) {
            const Rgb p = test::PixelColor(a, x, y);
            const Rgb q = test::PixelColor(b, x, y);
            for (int d : {p.Red - q.Red, p.Green - q.Green, p.Blue - q.Blue}) {
                total += std::abs(d);
                result.Largest = std::max(result.Largest, std::abs(d));
                ++count;
            }
        }
    }
    result.Mean = double(total) / double(count);
    return result;
}

void ExpectColorNear(const Rgb& seen, const Rgb& expected, int tolerance) {
    EXPECT_NEAR(seen.Red, expected.Red, tolerance);
    EXPECT_NEAR(seen.Green, expected.Green, tolerance);
    EXPECT_NEAR(seen.Blue, expected.Blue, tolerance);
}

TEST(JpegSave, RoundTripKeepsSizeOrientationAndColours) {
    const TDib original = GradientDib(40, 30);
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(SaveDibMemory(original, kFormatJpeg, jpeg));
    TDib decoded;
    ASSERT_TRUE(OpenDibMemory(decoded, jpeg, kFormatJpeg));
    ASSERT_EQ(DIBWidth(decoded), 40);
    ASSERT_EQ(DIBHeight(decoded), 30);
    EXPECT_EQ(DIBBitCount(decoded), 24);
    EXPECT_TRUE(test::IsConsistent(decoded));
    const Difference difference = Compare(original, decoded);
    EXPECT_LT(difference.Mean, 3.0);
    EXPECT_LT(difference.Largest, 60);  // chroma subsampling blurs the sharp edge
}

TEST(JpegSave, WritesABaselineFileOfThreeEightBitComponents) {
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(SaveDibMemory(GradientDib(17, 9), kFormatJpeg, jpeg));
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    EXPECT_EQ(test::FindJpegMarker(jpeg, 0xC2), std::string::npos) << "no progressive frame";
    const size_t sof = test::FindJpegMarker(jpeg, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    ASSERT_GT(jpeg.size(), sof + 9);
    EXPECT_EQ(jpeg[sof + 4], 8) << "sample precision";
    EXPECT_EQ(jpeg[sof + 5] << 8 | jpeg[sof + 6], 9) << "height";
    EXPECT_EQ(jpeg[sof + 7] << 8 | jpeg[sof + 8], 17) << "width";
    EXPECT_EQ(jpeg[sof + 9], 3) << "components";
}

TEST(JpegSave, ExpandsPaletteImagesThroughTheirColourTable) {
    for (int bits : {1, 4, 8}) {
        TDib palette;
        ASSERT_TRUE(newdib(palette, 16, 16, bits, nullptr, 0));
        palette.ColorTable[0] = TRgbQuad{0, 0, 200, 0};  // red
        palette.ColorTable[1] = TRgbQuad{200, 0, 0, 0};  // blue
        for (int32_t y = 8; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x)
                setpixel(palette, x, y, 1);
        }
        std::vector<uint8_t> jpeg;
        ASSERT_TRUE(SaveDibMemory(palette, kFormatJpeg, jpeg)) << bits;
        TDib decoded;
        ASSERT_TRUE(OpenDibMemory(decoded, jpeg, kFormatJpeg));
        EXPECT_EQ(DIBBitCount(decoded), 24);
        ExpectColorNear(test::PixelColor(decoded, 3, 2), Rgb{200, 0, 0}, 12);
        ExpectColorNear(test::PixelColor(decoded, 3, 13), Rgb{0, 0, 200}, 12);
    }
}

TEST(JpegSave, RefusesWhatItCannotWrite) {
    std::vector<uint8_t> out = {1, 2, 3};
    EXPECT_FALSE(SaveDibMemory(TDib{}, kFormatJpeg, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(SaveDibMemory(GradientDib(4, 4), kFormatPng, out)) << "only JPEG is written";
    TDib tooWide;  // JPEG dimensions are 16-bit
    ASSERT_TRUE(newdib(tooWide, 70000, 1, 24, nullptr, 0));
    EXPECT_FALSE(SaveDibMemory(tooWide, kFormatJpeg, out));
    TDib damaged = GradientDib(8, 8);
    damaged.PixelBlock->resize(10);
    EXPECT_FALSE(SaveDibMemory(damaged, kFormatJpeg, out));
}

class JpegFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("qm_raster_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(JpegFileTest, SaveDibWritesAFileThatOpenDibReads) {
    const std::string name = (folder_ / "tempim0.jpg").string();
    ASSERT_EQ(SaveDib(GradientDib(20, 10), name, kFormatJpeg, 0), 1);
    TDib loaded;
    ASSERT_TRUE(OpenDib(loaded, name, kFormatJpeg));
    EXPECT_EQ(DIBWidth(loaded), 20);
    EXPECT_EQ(DIBHeight(loaded), 10);
}

TEST_F(JpegFileTest, FailuresReturnZeroAndLeaveNoFile) {
    const std::filesystem::path missingFolder = folder_ / "missing" / "x.jpg";
    EXPECT_EQ(SaveDib(GradientDib(4, 4), missingFolder.string(), kFormatJpeg, 0), 0);
    const std::filesystem::path name = folder_ / "empty.jpg";
    EXPECT_EQ(SaveDib(TDib{}, name.string(), kFormatJpeg, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(name));
    TDib loaded;
    EXPECT_FALSE(OpenDib(loaded, (folder_ / "none.jpg").string(), kFormatJpeg));
    EXPECT_FALSE(OpenDib(loaded, folder_.string(), kFormatJpeg)) << "a folder is no picture";
    EXPECT_FALSE(loaded.HasImage());
}

TEST(JpegOpen, GreyscaleBecomesTwentyFourBitGrey) {
    test::JpegRecipe recipe;
    recipe.Width = 16;
    recipe.Height = 8;
    recipe.Components = 1;
    recipe.Input = JCS_GRAYSCALE;
    recipe.File = JCS_GRAYSCALE;
    for (int i = 0; i < 16 * 8; ++i)
        recipe.Samples.push_back(i < 64 ? 30 : 220);
    TDib decoded;
    ASSERT_TRUE(OpenDibMemory(decoded, test::EncodeJpeg(recipe), kFormatJpeg));
    EXPECT_EQ(DIBBitCount(decoded), 24);
    ExpectColorNear(test::PixelColor(decoded, 5, 1), Rgb{30, 30, 30}, 3);
    ExpectColorNear(test::PixelColor(decoded, 5, 6), Rgb{220, 220, 220}, 3);
}

// CMYK samples (four per pixel) of a red top half and a dark green bottom half, inverted as
// Adobe writes them when inverted is set.
std::vector<uint8_t> CmykHalves(int width, int height, bool inverted) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Ink amounts: red is magenta and yellow; dark green is cyan, yellow and some black.
            const uint8_t ink[4] = {0, 255, 255, 0};
            const uint8_t darkInk[4] = {255, 0, 255, 128};
            for (uint8_t amount : y < height / 2 ? ink : darkInk) {
                samples.push_back(inverted ? uint8_t(255 - amount) : amount);
            }
        }
    }
    return samples;
}

TEST(JpegOpen, CmykAndYcckFilesBecomeRgb) {
    const struct {
        J_COLOR_SPACE File;
        bool Adobe;
    } variants[] = {{JCS_CMYK, true}, {JCS_YCCK, true}, {JCS_CMYK, false}};
    for (const auto& variant : variants) {
        test::JpegRecipe recipe;
        recipe.Width = 16;
        recipe.Height = 16;
        recipe.Components = 4;
        recipe.Input = JCS_CMYK;
        recipe.File = variant.File;
        recipe.AdobeMarker = variant.Adobe;
        recipe.Samples = CmykHalves(16, 16, variant.Adobe);
        TDib decoded;
        ASSERT_TRUE(OpenDibMemory(decoded, test::EncodeJpeg(recipe), kFormatJpeg))
            << variant.File << " " << variant.Adobe;
        EXPECT_EQ(DIBBitCount(decoded), 24);
        ExpectColorNear(test::PixelColor(decoded, 8, 2), Rgb{255, 0, 0}, 8);
        ExpectColorNear(test::PixelColor(decoded, 8, 13), Rgb{0, 127, 0}, 8);
    }
}

TEST(JpegOpen, ProgressiveFilesDecode) {
    test::JpegRecipe recipe = test::GradientJpegRecipe(33, 21);
    recipe.Progressive = true;
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(recipe);
    ASSERT_NE(test::FindJpegMarker(jpeg, 0xC2), std::string::npos);
    TDib decoded;
    ASSERT_TRUE(OpenDibMemory(decoded, jpeg, kFormatJpeg));
    EXPECT_EQ(DIBWidth(decoded), 33);
    ExpectColorNear(test::PixelColor(decoded, 3, 3), test::GradientColor(3, 3, 33, 21), 12);
}

// A scan script that sends every coefficient of each component in eleven bit planes: 704 scans
// per component, all legal.
std::vector<jpeg_scan_info> BitPlaneScript(int components) {
    std::vector<jpeg_scan_info> scans;
    for (int c = 0; c < components; ++c) {
        for (int k = 0; k < 64; ++k) {
            for (int plane = 10; plane >= 0; --plane) {
                jpeg_scan_info scan{};
                scan.comps_in_scan = 1;
                scan.component_index[0] = c;
                scan.Ss = k;
                scan.Se = k;
                scan.Ah = plane == 10 ? 0 : plane + 1;
                scan.Al = plane;
                scans.push_back(scan);
            }
        }
    }
    return scans;
}

TEST(JpegOpen, ProgressiveFilesWithThousandsOfScansAreRefused) {
    test::JpegRecipe grey;
    grey.Width = 8;
    grey.Height = 8;
    grey.Components = 1;
    grey.Input = JCS_GRAYSCALE;
    grey.File = JCS_GRAYSCALE;
    grey.Samples.assign(64, 90);
    grey.Scans = BitPlaneScript(1);
    TDib decoded;
    EXPECT_TRUE(OpenDibMemory(decoded, test::EncodeJpeg(grey), kFormatJpeg)) << "704 scans";

    test::JpegRecipe color = test::GradientJpegRecipe(8, 8);
    color.Scans = BitPlaneScript(3);
    EXPECT_FALSE(OpenDibMemory(decoded, test::EncodeJpeg(color), kFormatJpeg)) << "2112 scans";
    EXPECT_FALSE(decoded.HasImage());
}

TEST(OpenDib, FormatCodesOtherThanJpegAndPngAreRefused) {
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(SaveDibMemory(GradientDib(4, 4), kFormatJpeg, jpeg));
    TDib decoded;
    EXPECT_FALSE(OpenDibMemory(decoded, jpeg, 3));
    EXPECT_FALSE(OpenDibMemory(decoded, jpeg, 0));
    EXPECT_TRUE(OpenDibMemory(decoded, jpeg, kFormatPng)) << "the signature wins";
}

}  // namespace
}  // namespace qm
