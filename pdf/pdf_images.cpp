// Placing images on a page and writing them as JPEG image objects (PDF Reference 1.3, 4.8.3 and
// 4.8.4). Each placement gets its own image, encoded in memory at the end of the document.
#include "pdf/pdf_images.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "pdf/pdf_canvas.h"
#include "raster/dib_rows.h"

namespace qm {

namespace {

void ExpandRowTo24Bit(const TDib& image, const uint8_t* row, uint8_t* out) {
    const int32_t width = image.Header.Width;
    if (image.Header.BitCount == 1) {
        for (int32_t x = 0; x < width; ++x, out += 3) {
            const uint8_t level = PaletteIndexInRow(row, x, 1) == 0 ? 0 : 255;
            out[0] = out[1] = out[2] = level;
        }
        return;
    }
    ExpandRowToBgr(image, row, out);
}

}  // namespace

bool ConvertTo24Bit(const TDib& image, TDib& result) {
    const int depth = image.Header.BitCount;
    if ((depth != 1 && depth != 4 && depth != 8) || !IsUsableDib(image)) return false;
    TDib expanded;
    if (!newdib(expanded, image.Header.Width, image.Header.Height, 24, nullptr, 0)) return false;
    for (int32_t y = 0; y < image.Header.Height; ++y) {
        ExpandRowTo24Bit(image, RowFromTop(image, y), RowFromTop(expanded, y));
    }
    result = std::move(expanded);
    return true;
}

bool CopyImage(const TDib& image, TDib& copy) {
    copy = TDib{};
    if (!IsUsableDib(image)) return false;
    const int depth = image.Header.BitCount;
    const int colorCount = depth <= 8 ? 1 << depth : 0;
    if (!newdib(copy, image.Header.Width, image.Header.Height, depth, &image, colorCount)) {
        return false;
    }
    // Row by row: the source may pad its rows more than a fresh image does.
    const auto rowBytes = static_cast<size_t>(std::min(image.BytesPerRow, copy.BytesPerRow));
    for (int32_t y = 0; y < image.Header.Height; ++y) {
        std::memcpy(RowFromTop(copy, y), RowFromTop(image, y), rowBytes);
    }
    return true;
}

void TPDFCanvas::DrawImage(int32_t x, int32_t y, int32_t width, int32_t height, const TDib& image,
                           int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight) {
    (void)srcX, (void)srcY;  // the whole image is always placed
    // A picture without usable pixels places nothing.
    if (!isOpen_ || !IsUsableDib(image)) return;
    try {
        TDib converted;
        const bool isConverted = image.Header.BitCount < 24 && ConvertTo24Bit(image, converted);
        const TDib& local = isConverted ? converted : image;
        if (local.Header.BitCount < 24 || width == 0 || height == 0 || srcWidth == 0 ||
            srcHeight == 0) {
            return;
        }
        const int64_t w = width > 0 ? int64_t{width} - 1 : int64_t{width} + 1;
        const int64_t h = height > 0 ? int64_t{height} - 1 : int64_t{height} + 1;
        WriteLine("q");
        WriteNumber(w);
        WriteRaw(" 0 0 ");
        WriteNumber(h);
        WriteRaw(" ");
        WriteNumber(x);
        WriteRaw(" ");
        WriteNumber(int64_t{PageHeight} - y - h);
        WriteLine(" cm");
        WriteRaw("/Im");
        WriteNumber(static_cast<int64_t>(images_.size()));
        WriteLine(" Do");
        images_.emplace_back();
        if (!CopyImage(local, images_.back()) && messages_ != nullptr) {
            // The entry stays, without pixels: its object will hold a stand-in image.
            messages_->ShowMessage("Not enough memory!", TMessageIcon::Error);
        }
        WriteLine("Q");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

namespace {

// What an image that cannot be encoded is written as, so that the object numbers and the
// pages' resources stay valid: one white pixel.
bool EncodeStandIn(std::vector<uint8_t>& jpeg) {
    TDib white;
    if (!newdib(white, 1, 1, 24, nullptr, 0)) return false;
    setpixel(white, 0, 0, 0xFFFFFF);
    return SaveDibMemory(white, kFormatJpeg, jpeg) && !jpeg.empty();
}

}  // namespace

void TPDFCanvas::WriteImageObjects() {
    for (const TDib& image : images_) {
        if (failed_) return;
        WriteImageObject(image);
        FlushStaged(false);
    }
}

void TPDFCanvas::WriteImageObject(const TDib& image) {
    std::vector<uint8_t> jpeg;
    int32_t width = image.Header.Width;
    int32_t height = image.Header.Height;
    if (!IsUsableDib(image) || !SaveDibMemory(image, kFormatJpeg, jpeg) || jpeg.empty()) {
        if (!EncodeStandIn(jpeg)) {
            Fail("Can not encode an image");
            return;
        }
        width = 1;
        height = 1;
    }
    BeginObject();
    WriteRaw("<< /Type /XObject /Subtype /Image /Width ");
    WriteNumber(width);
    WriteRaw(" /Height ");
    WriteNumber(height);
    WriteRaw(" /BitsPerComponent 8 /ColorSpace /DeviceRGB /Length ");
    WriteNumber(static_cast<int64_t>(jpeg.size()));
    WriteLine(" /Filter /DCTDecode >>");
    WriteLine("stream");
    // The JPEG bytes exactly as encoded; "endstream" follows the last byte directly.
    WriteRaw(std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
    WriteLine("endstream");
    EndObject();
}

}  // namespace qm
