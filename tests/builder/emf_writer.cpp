#include "builder/emf_writer.h"

#include <bit>

#include "builder/byte_put.h"

namespace qm {

namespace {

constexpr uint32_t kPixelsPerMm = 10;
constexpr uint32_t kHeaderBytes = 88;

uint32_t U(int32_t v) {
    return static_cast<uint32_t>(v);
}

std::vector<uint32_t> Rect(const TEmfRectangle& r) {
    return {U(r.Left), U(r.Top), U(r.Right), U(r.Bottom)};
}

// Bounds (unused by the player) in front of a shape's points.
std::vector<uint8_t> Points16(const std::vector<std::pair<int16_t, int16_t>>& points) {
    std::vector<uint8_t> bytes(16, 0);
    Put32(bytes, static_cast<uint32_t>(points.size()));
    for (auto [x, y] : points) {
        Put16(bytes, static_cast<uint16_t>(x));
        Put16(bytes, static_cast<uint16_t>(y));
    }
    return bytes;
}

}  // namespace

TEmfWriter& TEmfWriter::Record(uint32_t type, const std::vector<uint32_t>& params) {
    std::vector<uint8_t> bytes;
    for (uint32_t v : params)
        Put32(bytes, v);
    return RecordBytes(type, bytes);
}

TEmfWriter& TEmfWriter::RecordBytes(uint32_t type, const std::vector<uint8_t>& bytes) {
    const size_t padded = (bytes.size() + 3) / 4 * 4;
    Put32(records_, type);
    Put32(records_, static_cast<uint32_t>(8 + padded));
    records_.insert(records_.end(), bytes.begin(), bytes.end());
    records_.resize(records_.size() + padded - bytes.size(), 0);
    ++count_;
    return *this;
}

TEmfWriter& TEmfWriter::RecordSized(uint32_t type, uint32_t size,
                                    const std::vector<uint32_t>& params) {
    Put32(records_, type);
    Put32(records_, size);
    for (uint32_t v : params)
        Put32(records_, v);
    ++count_;
    return *this;
}

TEmfWriter& TEmfWriter::SetMapMode(uint32_t mode) {
    return Record(17, {mode});
}
TEmfWriter& TEmfWriter::SetWindowOrg(int32_t x, int32_t y) {
    return Record(10, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::SetWindowExt(int32_t x, int32_t y) {
    return Record(9, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::SetViewportOrg(int32_t x, int32_t y) {
    return Record(12, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::SetViewportExt(int32_t x, int32_t y) {
    return Record(11, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::SetWorldTransform(const std::vector<float>& xform) {
    std::vector<uint32_t> params;
    for (float v : xform)
        params.push_back(std::bit_cast<uint32_t>(v));
    return Record(35, params);
}
TEmfWriter& TEmfWriter::SaveDc() {
    return Record(33, {});
}
TEmfWriter& TEmfWriter::RestoreDc(int32_t relative) {
    return Record(34, {U(relative)});
}
TEmfWriter& TEmfWriter::SetTextColor(uint32_t color) {
    return Record(24, {color});
}
TEmfWriter& TEmfWriter::SetBkMode(uint32_t mode) {
    return Record(18, {mode});
}
TEmfWriter& TEmfWriter::IntersectClipRect(const TEmfRectangle& r) {
    return Record(30, Rect(r));
}

TEmfWriter& TEmfWriter::ExtSelectClipRgn(uint32_t mode, const std::vector<TEmfRectangle>& rects) {
    if (rects.empty()) return Record(75, {0, mode});  // no region: with a copy, no clipping
    const auto count = static_cast<uint32_t>(rects.size());
    std::vector<uint32_t> params{32 + 16 * count, mode, 32, 1, count, 16 * count, 0, 0, 0, 0};
    for (const TEmfRectangle& r : rects)
        for (uint32_t v : Rect(r))
            params.push_back(v);
    return Record(75, params);
}

TEmfWriter& TEmfWriter::CreatePen(uint32_t index, uint32_t style, int32_t width, uint32_t color) {
    return Record(38, {index, style, U(width), 0, color});
}
TEmfWriter& TEmfWriter::CreateBrush(uint32_t index, uint32_t style, uint32_t color) {
    return Record(39, {index, style, color, 0});
}

TEmfWriter& TEmfWriter::CreateFont(uint32_t index, int32_t height, const std::u16string& face) {
    std::vector<uint8_t> bytes;
    Put32(bytes, index);
    for (uint32_t v : {U(height), 0u, 0u, 0u, 400u})
        Put32(bytes, v);
    for (int i = 0; i < 8; ++i)
        Put8(bytes, 0);  // italic ... pitch and family
    for (size_t i = 0; i < 32; ++i)
        Put16(bytes, i < face.size() ? face[i] : 0);
    return RecordBytes(82, bytes);
}

TEmfWriter& TEmfWriter::SelectObject(uint32_t index) {
    return Record(37, {index});
}
TEmfWriter& TEmfWriter::DeleteObject(uint32_t index) {
    return Record(40, {index});
}
TEmfWriter& TEmfWriter::MoveTo(int32_t x, int32_t y) {
    return Record(27, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::LineTo(int32_t x, int32_t y) {
    return Record(54, {U(x), U(y)});
}
TEmfWriter& TEmfWriter::Rectangle(const TEmfRectangle& r) {
    return Record(43, Rect(r));
}
TEmfWriter& TEmfWriter::Ellipse(const TEmfRectangle& r) {
    return Record(42, Rect(r));
}
TEmfWriter& TEmfWriter::Polygon16(const std::vector<std::pair<int16_t, int16_t>>& points) {
    return RecordBytes(86, Points16(points));
}
TEmfWriter& TEmfWriter::PolyBezierTo16(const std::vector<std::pair<int16_t, int16_t>>& points) {
    return RecordBytes(88, Points16(points));
}
TEmfWriter& TEmfWriter::BeginPath() {
    return Record(59, {});
}
TEmfWriter& TEmfWriter::EndPath() {
    return Record(60, {});
}
TEmfWriter& TEmfWriter::CloseFigure() {
    return Record(61, {});
}
TEmfWriter& TEmfWriter::FillPath() {
    return Record(62, {0, 0, 0, 0});
}

TEmfWriter& TEmfWriter::ExtTextOutW(int32_t x, int32_t y, const std::u16string& text) {
    const auto count = static_cast<uint32_t>(text.size());
    constexpr uint32_t kFixed = 76;  // the record up to the string, its type and size included
    std::vector<uint32_t> params{0, 0, 0, 0, 1, 0, 0, U(x), U(y), count, kFixed, 0};
    for (uint32_t v : {0u, 0u, 0u, 0u, 0u})  // rectangle, offDx (none)
        params.push_back(v);
    std::vector<uint8_t> bytes;
    for (uint32_t v : params)
        Put32(bytes, v);
    for (char16_t c : text)
        Put16(bytes, c);
    return RecordBytes(84, bytes);
}

TEmfWriter& TEmfWriter::StretchDiBits(const TEmfRectangle& dest, int32_t srcWidth,
                                      int32_t srcHeight, const std::vector<uint8_t>& dib) {
    constexpr uint32_t kFixed = 80;  // the record up to the bitmap
    constexpr uint32_t kInfoBytes = 40;
    const auto bits = static_cast<uint32_t>(dib.size() - kInfoBytes);
    std::vector<uint32_t> params{0,
                                 0,
                                 0,
                                 0,
                                 U(dest.Left),
                                 U(dest.Top),
                                 0,
                                 0,
                                 U(srcWidth),
                                 U(srcHeight),
                                 kFixed,
                                 kInfoBytes,
                                 kFixed + kInfoBytes,
                                 bits,
                                 0,
                                 0x00CC0020,
                                 U(dest.Right - dest.Left),
                                 U(dest.Bottom - dest.Top)};
    std::vector<uint8_t> bytes;
    for (uint32_t v : params)
        Put32(bytes, v);
    bytes.insert(bytes.end(), dib.begin(), dib.end());
    return RecordBytes(81, bytes);
}

std::vector<uint8_t> TEmfWriter::Bytes(uint16_t handles) const {
    std::vector<uint8_t> out;
    Put32(out, 1);
    Put32(out, kHeaderBytes);
    for (uint32_t v : {0u, 0u, U(width_ - 1), U(height_ - 1)})  // bounds, inclusive
        Put32(out, v);
    for (uint32_t v : {0u, 0u, U(width_) * 100 / kPixelsPerMm, U(height_) * 100 / kPixelsPerMm})
        Put32(out, v);  // frame, hundredths of a millimetre
    Put32(out, 0x464D4520);
    Put32(out, 0x10000);
    Put32(out, static_cast<uint32_t>(kHeaderBytes + records_.size() + 20));
    Put32(out, count_ + 2);
    Put16(out, handles);
    Put16(out, 0);
    for (int i = 0; i < 3; ++i)
        Put32(out, 0);                             // description, palette
    for (uint32_t v : {2100u, 2970u, 210u, 297u})  // the device in pixels and millimetres
        Put32(out, v);
    out.insert(out.end(), records_.begin(), records_.end());
    for (uint32_t v : {14u, 20u, 0u, 0u, 20u})  // the end record
        Put32(out, v);
    return out;
}

}  // namespace qm
