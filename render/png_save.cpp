// Writing the canvas as a PNG file with libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include "render/raster_canvas.h"

namespace qm {

namespace {

struct TFileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

void PngError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void PngWarning(png_structp, png_const_charp) {}

// Everything with a destructor lives in the caller, outside the frame that longjmp unwinds.
bool WriteRows(FILE* file, int32_t width, int32_t height, png_bytep* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool TRasterCanvas::SavePng(const std::string& path) const {
    if (width_ <= 0 || height_ <= 0) return false;
    std::unique_ptr<FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(width_) * height_ * 3);
    std::vector<png_bytep> rows(height_);
    for (int32_t y = 0; y < height_; ++y) {
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * width_ * 3;
        rows[y] = out;
        for (int32_t x = 0; x < width_; ++x) {
            const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
            out[3 * x] = static_cast<uint8_t>(p >> 16);
            out[3 * x + 1] = static_cast<uint8_t>(p >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(p);
        }
    }
    const bool ok = WriteRows(file.get(), width_, height_, rows.data());
    return ok && std::fflush(file.get()) == 0;
}

}  // namespace qm
