// Placing images on a page and writing them as JPEG image objects (PDF Reference 1.3, 4.8.3 and
// 4.8.4). Each placement gets its own image object; a picture placed again shares its pixels and
// is encoded once, in memory, at the end of the document.
#include "pdf/pdf_images.h"

#include <exception>
#include <map>
#include <utility>

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

// The same pixel block read with the same shape.
bool SameShape(const TDib& a, const TDib& b) {
    return a.PixelBlock == b.PixelBlock && a.Header.Width == b.Header.Width &&
           a.Header.Height == b.Header.Height && a.Header.BitCount == b.Header.BitCount &&
           a.BytesPerRow == b.BytesPerRow;
}

// The same pixels in the same colours.
bool SamePixels(const TDib& a, const TDib& b) {
    return a.PixelBlock != nullptr && SameShape(a, b) && a.ColorTable == b.ColorTable;
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

void TPDFCanvas::DrawImage(int32_t x, int32_t y, int32_t width, int32_t height, const TDib& image,
                           int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight) {
    (void)srcX, (void)srcY;  // the whole image is always placed
    // A picture without usable pixels places nothing.
    if (!isOpen_ || !IsUsableDib(image)) return;
    try {
        TDib converted;
        bool isConverted = false;
        if (image.Header.BitCount < 24) {
            // A palette picture placed again reuses its expansion.
            if (SamePixels(image, lastExpandedFrom_)) {
                converted = lastExpanded_;
                isConverted = true;
            } else if (ConvertTo24Bit(image, converted)) {
                isConverted = true;
                lastExpandedFrom_ = image;
                lastExpanded_ = converted;
            }
        }
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
        // Pictures are not changed once made, so the entry shares the picture's pixels rather
        // than copying them: a logo on every page costs its pixels once.
        images_.push_back(isConverted ? std::move(converted) : image);
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
    // A picture placed several times is encoded once; its JPEG bytes are kept until its last
    // placement is written.
    std::map<const void*, size_t> lastUse;
    for (size_t k = 0; k < images_.size(); ++k)
        lastUse[images_[k].PixelBlock.get()] = k;
    std::map<const void*, TEncodedImage> kept;
    for (size_t k = 0; k < images_.size(); ++k) {
        if (failed_) return;
        const TDib& image = images_[k];
        const void* block = image.PixelBlock.get();
        auto found = kept.find(block);
        if (found != kept.end() && !SameShape(found->second.Source, image)) {
            kept.erase(found);
            found = kept.end();
        }
        TEncodedImage fresh;
        if (found == kept.end()) {
            fresh = EncodeImage(image);
            if (failed_) return;
        }
        WriteImageObject(found != kept.end() ? found->second : fresh);
        if (lastUse[block] == k) {
            if (found != kept.end()) kept.erase(found);
        } else if (found == kept.end()) {
            kept.emplace(block, std::move(fresh));
        }
        FlushStaged(false);
    }
}

TPDFCanvas::TEncodedImage TPDFCanvas::EncodeImage(const TDib& image) {
    TEncodedImage result;
    result.Source = image;
    result.Width = image.Header.Width;
    result.Height = image.Header.Height;
    if (!IsUsableDib(image) || !SaveDibMemory(image, kFormatJpeg, result.Jpeg) ||
        result.Jpeg.empty()) {
        if (!EncodeStandIn(result.Jpeg)) {
            Fail("Can not encode an image");
            return result;
        }
        result.Width = 1;
        result.Height = 1;
    }
    return result;
}

void TPDFCanvas::WriteImageObject(const TEncodedImage& image) {
    const std::vector<uint8_t>& jpeg = image.Jpeg;
    const int32_t width = image.Width;
    const int32_t height = image.Height;
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
