#include "raster/image_fixtures.h"

#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace qm::test {

std::vector<uint8_t> EncodeJpeg(const JpegRecipe& recipe) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(recipe.Width);
    info.image_height = static_cast<JDIMENSION>(recipe.Height);
    info.input_components = recipe.Components;
    info.in_color_space = recipe.Input;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, recipe.File);
    info.write_Adobe_marker = recipe.AdobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&info, recipe.Quality, TRUE);
    if (recipe.Progressive) jpeg_simple_progression(&info);
    if (!recipe.Scans.empty()) {
        info.scan_info = recipe.Scans.data();
        info.num_scans = static_cast<int>(recipe.Scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    const size_t rowBytes = static_cast<size_t>(recipe.Width) * recipe.Components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(recipe.Samples.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> result(buffer, buffer + size);
    std::free(buffer);
    return result;
}

namespace {

void AppendToVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

void SetTransparency(png_structp png, png_infop info, const PngRecipe& recipe) {
    if (!recipe.Transparency.empty()) {
        png_set_tRNS(png, info, recipe.Transparency.data(),
                     static_cast<int>(recipe.Transparency.size()), nullptr);
    } else if (!recipe.ColorKey.empty()) {
        png_color_16 key{};
        if (recipe.ColorKey.size() == 1) {
            key.gray = recipe.ColorKey[0];
        } else {
            key.red = recipe.ColorKey[0];
            key.green = recipe.ColorKey[1];
            key.blue = recipe.ColorKey[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
}

}  // namespace

std::vector<uint8_t> EncodePng(const PngRecipe& recipe) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    png_set_IHDR(png, info, recipe.Width, recipe.Height, recipe.BitDepth, recipe.ColorType,
                 recipe.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const Rgb& color : recipe.Palette)
        palette.push_back({color.Red, color.Green, color.Blue});
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    SetTransparency(png, info, recipe);
    std::vector<png_bytep> rows;
    for (const auto& row : recipe.Rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t ReadBigEndian32(const std::vector<uint8_t>& bytes, size_t pos) {
    return uint32_t{bytes[pos]} << 24 | uint32_t{bytes[pos + 1]} << 16 |
           uint32_t{bytes[pos + 2]} << 8 | bytes[pos + 3];
}

}  // namespace

std::vector<uint8_t> AssemblePng(const std::vector<PngChunk>& chunks) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const auto& [type, data] : chunks) {
        AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
        const size_t typeAt = out.size();
        out.insert(out.end(), type.begin(), type.end());
        out.insert(out.end(), data.begin(), data.end());
        AppendBigEndian32(
            out, static_cast<uint32_t>(
                     crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
    }
    return out;
}

std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, uint8_t bitDepth,
                              uint8_t colorType) {
    std::vector<uint8_t> data;
    AppendBigEndian32(data, width);
    AppendBigEndian32(data, height);
    AppendBytes(data, {bitDepth, colorType, 0, 0, 0});
    return data;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    out.resize(size);
    return out;
}

void FixPngCrcs(std::vector<uint8_t>& png) {
    size_t pos = 8;
    while (png.size() - pos >= 12) {
        const uint32_t length = ReadBigEndian32(png, pos);
        if (length > png.size() - pos - 12) return;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + pos + 4, length + 4));
        for (int i = 0; i < 4; ++i)
            png[pos + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        pos += size_t{length} + 12;
    }
}

Rgb GradientColor(int x, int y, int width, int height) {
    const bool rightHalf = x >= width / 2;
    return Rgb{static_cast<uint8_t>(x * 255 / (width - 1)),
               static_cast<uint8_t>(y * 255 / (height - 1)),
               static_cast<uint8_t>(rightHalf ? 200 : 40)};
}

JpegRecipe GradientJpegRecipe(int width, int height) {
    JpegRecipe recipe;
    recipe.Width = width;
    recipe.Height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb color = GradientColor(x, y, width, height);
            AppendBytes(recipe.Samples, {color.Red, color.Green, color.Blue});
        }
    }
    return recipe;
}

void AppendBytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes)
        out.push_back(byte);
}

Rgb PixelColor(const TDib& dib, int32_t x, int32_t y) {
    const uint32_t value = getpixel(dib, x, y);
    return Rgb{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
               static_cast<uint8_t>(value >> 16)};
}

size_t FindJpegMarker(const std::vector<uint8_t>& jpeg, uint8_t code) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
    }
    return std::string::npos;
}

bool IsConsistent(const TDib& dib) {
    if (!dib.HasImage()) return false;
    const int64_t rowBits = int64_t{dib.Header.Width} * dib.Header.BitCount;
    return dib.Header.Width > 0 && dib.Header.Height > 0 && dib.BytesPerRow % 4 == 0 &&
           dib.BytesPerRow * int64_t{8} >= rowBits &&
           dib.Header.SizeImage == uint32_t(dib.BytesPerRow) * uint32_t(dib.Header.Height) &&
           dib.PixelBlock->size() == dib.Header.SizeImage;
}

}  // namespace qm::test
