// Image objects: JPEG streams under /DCTDecode (PDF Reference 1.3, 4.8.4), encoded in memory at
// the end of the document.
#include "pdf/pdf_image_table.h"

#include <map>
#include <string_view>
#include <utility>

#include "pdf/pdf_images.h"
#include "pdf/pdf_number.h"
#include "raster/dib_rows.h"

namespace qm {

namespace {

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

// An entry as its JPEG bytes.
struct TEncodedImage {
    TDib Source;
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Jpeg;
};

// What an image that cannot be encoded is written as, so that the object numbers and the
// pages' resources stay valid: one white pixel.
bool EncodeStandIn(std::vector<uint8_t>& jpeg) {
    TDib white;
    if (!newdib(white, 1, 1, 24, nullptr, 0)) return false;
    setpixel(white, 0, 0, 0xFFFFFF);
    return SaveDibMemory(white, kFormatJpeg, jpeg) && !jpeg.empty();
}

// False when not even the stand-in could be encoded.
bool EncodeImage(const TDib& image, TEncodedImage& result) {
    result.Source = image;
    result.Width = image.Header.Width;
    result.Height = image.Header.Height;
    if (IsUsableDib(image) && SaveDibMemory(image, kFormatJpeg, result.Jpeg) &&
        !result.Jpeg.empty()) {
        return true;
    }
    result.Width = 1;
    result.Height = 1;
    return EncodeStandIn(result.Jpeg);
}

void WriteImageObject(TPDFObjectWriter& out, const TEncodedImage& image) {
    const std::vector<uint8_t>& jpeg = image.Jpeg;
    out.BeginObject();
    out.WriteRaw("<< /Type /XObject /Subtype /Image /Width ");
    out.WriteNumber(image.Width);
    out.WriteRaw(" /Height ");
    out.WriteNumber(image.Height);
    out.WriteRaw(" /BitsPerComponent 8 /ColorSpace /DeviceRGB /Length ");
    out.WriteNumber(static_cast<int64_t>(jpeg.size()));
    out.WriteLine(" /Filter /DCTDecode >>");
    out.WriteLine("stream");
    // The JPEG bytes exactly as encoded; "endstream" follows the last byte directly.
    out.WriteRaw(std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
    out.WriteLine("endstream");
    out.EndObject();
}

}  // namespace

bool TPDFImageTable::Prepare(const TDib& picture, TDib& placed) {
    if (!IsUsableDib(picture)) return false;
    if (picture.Header.BitCount >= 24) {
        placed = picture;
        return true;
    }
    // A palette picture placed again reuses its expansion.
    if (SamePixels(picture, lastExpandedFrom_)) {
        placed = lastExpanded_;
        return true;
    }
    TDib expanded;
    if (!ConvertTo24Bit(picture, expanded)) return false;
    lastExpandedFrom_ = picture;
    lastExpanded_ = expanded;
    placed = std::move(expanded);
    return true;
}

int32_t TPDFImageTable::Add(TDib placed) {
    entries_.push_back(std::move(placed));
    return static_cast<int32_t>(entries_.size() - 1);
}

void TPDFImageTable::AppendResources(std::string& out, int32_t firstObject) const {
    for (size_t k = 0; k < entries_.size(); ++k) {
        out += "/Im";
        AppendInt(out, static_cast<int64_t>(k));
        out += ' ';
        AppendInt(out, firstObject + static_cast<int64_t>(k));
        out += " 0 R";
    }
}

void TPDFImageTable::WriteObjects(TPDFObjectWriter& out) const {
    // A picture placed several times is encoded once; its JPEG bytes are kept until its last
    // placement is written.
    std::map<const void*, size_t> lastUse;
    for (size_t k = 0; k < entries_.size(); ++k)
        lastUse[entries_[k].PixelBlock.get()] = k;
    std::map<const void*, TEncodedImage> kept;
    for (size_t k = 0; k < entries_.size(); ++k) {
        if (out.Failed()) return;
        const TDib& image = entries_[k];
        const void* block = image.PixelBlock.get();
        auto found = kept.find(block);
        if (found != kept.end() && !SameShape(found->second.Source, image)) {
            kept.erase(found);
            found = kept.end();
        }
        TEncodedImage fresh;
        if (found == kept.end() && !EncodeImage(image, fresh)) {
            out.Fail("Can not encode an image");
            return;
        }
        WriteImageObject(out, found != kept.end() ? found->second : fresh);
        if (lastUse[block] == k) {
            if (found != kept.end()) kept.erase(found);
        } else if (found == kept.end()) {
            kept.emplace(block, std::move(fresh));
        }
        out.ObjectFinished();
    }
}

}  // namespace qm
