#include <gtest/gtest.h>

#include <string>

#include "pdf/pdf_canvas.h"
#include "pdf/pdf_image_table.h"
#include "pdf/pdf_images.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

TDib PaletteImage(int bits, int32_t width, int32_t height) {
    TDib image;
    EXPECT_TRUE(newdib(image, width, height, bits, nullptr, 0));
    return image;
}

TEST(ConvertTo24Bit, OneBitImagesAreBlackAtIndexZeroAndWhiteElsewhere) {
    TDib image = PaletteImage(1, 10, 2);
    // The colour table says the opposite; it is not consulted.
    image.ColorTable[0] = TRgbQuad{255, 255, 255, 0};
    image.ColorTable[1] = TRgbQuad{0, 0, 255, 0};
    setpixel(image, 0, 0, 1);
    setpixel(image, 9, 1, 1);
    TDib result;
    ASSERT_TRUE(ConvertTo24Bit(image, result));
    EXPECT_EQ(DIBBitCount(result), 24);
    EXPECT_EQ(getpixel(result, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(getpixel(result, 1, 0), 0u);
    EXPECT_EQ(getpixel(result, 9, 1), 0xFFFFFFu);
    EXPECT_EQ(getpixel(result, 8, 1), 0u);
    EXPECT_EQ(getpixel(result, 0, 1), 0u);
}

TEST(ConvertTo24Bit, PaletteImagesTakeTheirTableColoursAndKeepTheirOrientation) {
    TDib four = PaletteImage(4, 3, 2);
    four.ColorTable[2] = TRgbQuad{0x30, 0x20, 0x10, 0};  // blue, green, red
    four.ColorTable[5] = TRgbQuad{0xFF, 0, 0, 0};
    setpixel(four, 0, 0, 2);  // high nibble of the first byte
    setpixel(four, 1, 0, 5);  // low nibble
    setpixel(four, 2, 1, 2);
    TDib result;
    ASSERT_TRUE(ConvertTo24Bit(four, result));
    EXPECT_EQ(getpixel(result, 0, 0), 0x302010u);
    EXPECT_EQ(getpixel(result, 1, 0), 0xFF0000u);
    EXPECT_EQ(getpixel(result, 2, 1), 0x302010u);
    EXPECT_EQ(getpixel(result, 2, 0), 0u);

    TDib eight = PaletteImage(8, 2, 2);
    eight.ColorTable[200] = TRgbQuad{1, 2, 3, 0};
    setpixel(eight, 1, 0, 200);
    ASSERT_TRUE(ConvertTo24Bit(eight, result));
    EXPECT_EQ(getpixel(result, 1, 0), 0x010203u);
    EXPECT_EQ(getpixel(result, 1, 1), 0u);
}

TEST(ConvertTo24Bit, OtherDepthsAndEmptyImagesAreLeftAlone) {
    TDib result = test::SolidImage(1, 1, 0x123456);
    EXPECT_FALSE(ConvertTo24Bit(test::SolidImage(2, 2, 0), result));
    EXPECT_FALSE(ConvertTo24Bit(TDib{}, result));
    TDib sixteen = test::SolidImage(2, 2, 0);
    sixteen.Header.BitCount = 16;
    EXPECT_FALSE(ConvertTo24Bit(sixteen, result));
    EXPECT_EQ(getpixel(result, 0, 0), 0x123456u);
}

// A palette picture is expanded once for all its placements; the same pixels under another
// colour table are expanded anew; a 24-bit picture is held as it is.
TEST(ImageTable, PlacementsOfOnePictureShareItsPixels) {
    TDib palette = PaletteImage(8, 6, 6);
    palette.ColorTable[3] = TRgbQuad{0, 0, 255, 0};
    setpixel(palette, 2, 2, 3);
    TDib recoloured = palette;
    recoloured.ColorTable[3] = TRgbQuad{255, 0, 0, 0};
    const TDib photo = test::SolidImage(4, 4, 0x336699);
    TDib sixteen = test::SolidImage(2, 2, 0);
    sixteen.Header.BitCount = 16;
    TPDFImageTable table;
    TDib first, again, other, held, none;
    ASSERT_TRUE(table.Prepare(palette, first));
    ASSERT_TRUE(table.Prepare(palette, again));
    ASSERT_TRUE(table.Prepare(recoloured, other));
    ASSERT_TRUE(table.Prepare(photo, held));
    EXPECT_FALSE(table.Prepare(sixteen, none));
    EXPECT_EQ(DIBBitCount(first), 24);
    EXPECT_EQ(first.PixelBlock, again.PixelBlock);
    EXPECT_NE(other.PixelBlock, first.PixelBlock);
    EXPECT_EQ(getpixel(first, 2, 2), 0x0000FFu);
    EXPECT_EQ(getpixel(other, 2, 2), 0xFF0000u);
    EXPECT_EQ(held.PixelBlock, photo.PixelBlock);

    EXPECT_EQ(table.Add(first), 0);
    EXPECT_EQ(table.Add(again), 1);
    std::string resources;
    table.AppendResources(resources, 20);
    EXPECT_EQ(resources, "/Im0 20 0 R/Im1 21 0 R");
    test::TRecordingWriter writer(20);
    table.WriteObjects(writer);
    ASSERT_EQ(writer.Objects.size(), 2u);
    EXPECT_EQ(writer.Objects[1].rfind("21 0 obj\n<< /Type /XObject ", 0), 0u);
}

// The bytes of image object n's stream.
std::string ImageStream(const std::string& pdf, int n) {
    const std::string object = test::ObjectText(pdf, n);
    const size_t data = object.find("stream\n") + 7;
    return object.substr(data, object.rfind("endstream") - data);
}

TEST(ImageObjects, APicturePlacedAgainIsEncodedOnceButKeepsAnObjectPerPlacement) {
    const TDib logo = test::SolidImage(16, 8, 0x2040C0);
    const TDib other = test::SolidImage(16, 8, 0x00FF00);
    TDib palette = PaletteImage(8, 6, 6);
    palette.ColorTable[3] = TRgbQuad{0, 0, 255, 0};
    setpixel(palette, 2, 2, 3);
    TDib recoloured = palette;  // the same pixels under another colour table
    recoloured.ColorTable[3] = TRgbQuad{255, 0, 0, 0};
    const std::string pdf = test::WritePdf([&](TPDFCanvas& c) {
        for (int page = 0; page < 3; ++page) {
            if (page > 0) c.NextPage();
            c.DrawImage(0, 0, 16, 8, logo, 0, 0, 16, 8);
            c.DrawImage(0, 20, 6, 6, palette, 0, 0, 6, 6);
        }
        c.DrawImage(0, 40, 16, 8, other, 0, 0, 16, 8);
        c.DrawImage(0, 60, 6, 6, recoloured, 0, 0, 6, 6);
    });
    const size_t im0 = pdf.find("/Im0 ");
    ASSERT_NE(im0, std::string::npos);
    const int first = std::stoi(pdf.substr(im0 + 5, 8));
    ASSERT_NE(pdf.find("/Im7 " + std::to_string(first + 7) + " 0 R"), std::string::npos);
    std::vector<std::string> streams;
    for (int k = 0; k < 8; ++k)
        streams.push_back(ImageStream(pdf, first + k));
    EXPECT_EQ(streams[0], streams[2]);
    EXPECT_EQ(streams[0], streams[4]);
    EXPECT_EQ(streams[1], streams[3]);
    EXPECT_EQ(streams[1], streams[5]);
    EXPECT_NE(streams[6], streams[0]);
    EXPECT_NE(streams[7], streams[1]);
    std::vector<uint8_t> expected;
    ASSERT_TRUE(SaveDibMemory(other, kFormatJpeg, expected));
    EXPECT_EQ(streams[6], std::string(expected.begin(), expected.end()));
}

// A logo on each of a thousand pages: the writer holds the picture's pixels once until the
// document ends, not a copy per placement (which would cost its size a thousand times).
TEST(ImageObjects, APicturePlacedOnEveryPageIsHeldOnceNotOncePerPlacement) {
    const TDib logo = test::SolidImage(400, 300, 0x336699);
    const std::string pdf = test::WritePdf([&](TPDFCanvas& c) {
        for (int page = 0; page < 1000; ++page) {
            if (page > 0) c.NextPage();
            c.DrawImage(10, 10, 40, 30, logo, 0, 0, 400, 300);
        }
        EXPECT_EQ(logo.PixelBlock.use_count(), 1 + 1000);
    });
    EXPECT_NE(pdf.find("/Im999 "), std::string::npos);
}

TEST(ImageObjects, HoldABaselineJpegWithTheOneLineDictionary) {
    const TDib picture = test::SolidImage(16, 8, 0x2040C0);
    const std::string pdf =
        test::WritePdf([&](TPDFCanvas& c) { c.DrawImage(0, 0, 16, 8, picture, 0, 0, 16, 8); });
    // One page, no fonts: the image is object 8.
    const std::string object = test::ObjectText(pdf, 8);
    const std::string head =
        "8 0 obj\n<< /Type /XObject /Subtype /Image /Width 16 /Height 8 /BitsPerComponent 8 "
        "/ColorSpace /DeviceRGB /Length ";
    ASSERT_EQ(object.compare(0, head.size(), head), 0) << object.substr(0, 200);
    const size_t lengthEnd = object.find(' ', head.size());
    const size_t length = std::stoul(object.substr(head.size(), lengthEnd - head.size()));
    EXPECT_EQ(object.substr(lengthEnd, 25), " /Filter /DCTDecode >>\nst");
    const size_t data = object.find("stream\n") + 7;
    // Baseline JPEG: SOI, then a SOF0 marker; the stream ends at EOI right before "endstream".
    EXPECT_EQ(object.substr(data, 2), "\xFF\xD8");
    EXPECT_NE(object.find("\xFF\xC0", data), std::string::npos);
    EXPECT_EQ(object.substr(data + length - 2),
              "\xFF\xD9"
              "endstream\nendobj\n");
    std::vector<uint8_t> expected;
    ASSERT_TRUE(SaveDibMemory(picture, kFormatJpeg, expected));
    EXPECT_EQ(object.substr(data, length), std::string(expected.begin(), expected.end()));
}

TEST(ImageObjects, AnImageThatCannotBeEncodedBecomesOneWhitePixel) {
    // Wider than a JPEG can be: the encoder refuses it, the object must still be there.
    const TDib wide = test::SolidImage(70000, 1, 0);
    const std::string pdf = test::WritePdf([&](TPDFCanvas& c) {
        c.DrawImage(0, 0, 100, 10, wide, 0, 0, 70000, 1);
        c.DrawImage(0, 20, 10, 10, test::SolidImage(2, 2, 0), 0, 0, 2, 2);
    });
    EXPECT_NE(test::ObjectText(pdf, 8).find("/Width 1 /Height 1 "), std::string::npos);
    EXPECT_NE(test::ObjectText(pdf, 9).find("/Width 2 /Height 2 "), std::string::npos);
    EXPECT_NE(pdf.find("/XObject << /Im0 8 0 R/Im1 9 0 R >>"), std::string::npos);
}

TEST(ImageObjects, PaletteImagesAreWrittenAsRgb) {
    TDib mono = PaletteImage(1, 9, 9);
    setpixel(mono, 4, 4, 1);
    const std::string pdf =
        test::WritePdf([&](TPDFCanvas& c) { c.DrawImage(0, 0, 9, 9, mono, 0, 0, 9, 9); });
    EXPECT_NE(test::ObjectText(pdf, 8).find("/Width 9 /Height 9 /BitsPerComponent 8 "
                                            "/ColorSpace /DeviceRGB"),
              std::string::npos);
}

}  // namespace
}  // namespace qm
