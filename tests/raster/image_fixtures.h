// Picture files made in the tests: JPEGs through libjpeg, PNGs through libpng or chunk by chunk.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <cstdio>  // jpeglib.h needs FILE

#include "raster/dib.h"

namespace qm::test {

struct Rgb {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
};

// A JPEG to encode: Samples holds Width * Height * Components bytes, top row first, in the
// input colour space.
struct JpegRecipe {
    int Width = 0;
    int Height = 0;
    int Components = 3;
    J_COLOR_SPACE Input = JCS_RGB;
    J_COLOR_SPACE File = JCS_YCbCr;
    bool AdobeMarker = false;  // for CMYK files: mark them as written by Adobe (inverted)
    bool Progressive = false;
    int Quality = 95;
    std::vector<jpeg_scan_info> Scans;  // an explicit scan script, when not empty
    std::vector<uint8_t> Samples;
};
std::vector<uint8_t> EncodeJpeg(const JpegRecipe& recipe);

// A PNG to encode with libpng: Rows are the packed samples of each row, top row first, 16-bit
// samples big-endian.
struct PngRecipe {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int BitDepth = 8;
    int ColorType = 2;  // PNG_COLOR_TYPE_RGB
    bool Interlaced = false;
    std::vector<Rgb> Palette;
    std::vector<uint8_t> Transparency;  // tRNS contents for palette images
    std::vector<uint16_t> ColorKey;     // tRNS grey or red, green, blue for other types
    std::vector<std::vector<uint8_t>> Rows;
};
std::vector<uint8_t> EncodePng(const PngRecipe& recipe);

// A PNG assembled from chunks with correct lengths and CRCs.
using PngChunk = std::pair<std::string, std::vector<uint8_t>>;
std::vector<uint8_t> AssemblePng(const std::vector<PngChunk>& chunks);
std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType);
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw);
// Recomputes the CRC of every chunk after the bytes have been changed.
void FixPngCrcs(std::vector<uint8_t>& png);

// A small RGB test image: colour gradients with a sharp edge.
JpegRecipe GradientJpegRecipe(int width, int height);
Rgb GradientColor(int x, int y, int width, int height);

// Appends bytes one by one (g++ 12 at -O3 warns falsely on inserting a list).
void AppendBytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes);

// The colour of a 24-bit pixel.
Rgb PixelColor(const TDib& dib, int32_t x, int32_t y);

// The offset of the first marker of the given code (FF code) in a JPEG, or npos.
size_t FindJpegMarker(const std::vector<uint8_t>& jpeg, uint8_t code);

// Descriptor fields agree with each other and the pixel block.
bool IsConsistent(const TDib& dib);

}  // namespace qm::test
