#include "builder/wmf_writer.h"

#include "builder/byte_put.h"

namespace qm {

namespace {

int16_t Low(uint32_t v) {
    return static_cast<int16_t>(v & 0xFFFF);
}
int16_t High(uint32_t v) {
    return static_cast<int16_t>(v >> 16);
}

// Shape records store their box bottom, right, top, left.
std::vector<int16_t> Box(const TWmfRectangle& r) {
    return {r.Bottom, r.Right, r.Top, r.Left};
}

std::vector<uint8_t> Words(const std::vector<int16_t>& words) {
    std::vector<uint8_t> bytes;
    for (int16_t w : words)
        Put16(bytes, static_cast<uint16_t>(w));
    return bytes;
}

std::vector<int16_t> Points(const std::vector<std::pair<int16_t, int16_t>>& points) {
    std::vector<int16_t> words{static_cast<int16_t>(points.size())};
    for (auto [x, y] : points) {
        words.push_back(x);
        words.push_back(y);
    }
    return words;
}

std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t colors) {
    std::vector<uint8_t> dib;
    Put32(dib, 40);
    Put32(dib, static_cast<uint32_t>(width));
    Put32(dib, static_cast<uint32_t>(height));
    Put16(dib, 1);
    Put16(dib, bits);
    for (int i = 0; i < 4; ++i)
        Put32(dib, 0);  // compression, image size, resolution
    Put32(dib, colors);
    Put32(dib, 0);
    return dib;
}

}  // namespace

TWmfWriter& TWmfWriter::Record(uint16_t function, const std::vector<int16_t>& words) {
    return RecordBytes(function, Words(words));
}

TWmfWriter& TWmfWriter::RecordBytes(uint16_t function, std::vector<uint8_t> bytes) {
    if (bytes.size() % 2 != 0) bytes.push_back(0);
    const auto words = static_cast<uint32_t>(3 + bytes.size() / 2);
    Put32(records_, words);
    Put16(records_, function);
    records_.insert(records_.end(), bytes.begin(), bytes.end());
    if (words > maxRecordWords_) maxRecordWords_ = words;
    return *this;
}

TWmfWriter& TWmfWriter::RecordSized(uint16_t function, uint32_t words,
                                    const std::vector<int16_t>& params) {
    Put32(records_, words);
    Put16(records_, function);
    const std::vector<uint8_t> bytes = Words(params);
    records_.insert(records_.end(), bytes.begin(), bytes.end());
    return *this;
}

TWmfWriter& TWmfWriter::SetWindowOrg(int16_t x, int16_t y) {
    return Record(0x020B, {y, x});
}
TWmfWriter& TWmfWriter::SetWindowExt(int16_t x, int16_t y) {
    return Record(0x020C, {y, x});
}
TWmfWriter& TWmfWriter::SetMapMode(int16_t mode) {
    return Record(0x0103, {mode});
}
TWmfWriter& TWmfWriter::SetBkMode(int16_t mode) {
    return Record(0x0102, {mode});
}
TWmfWriter& TWmfWriter::SetBkColor(uint32_t c) {
    return Record(0x0201, {Low(c), High(c)});
}
TWmfWriter& TWmfWriter::SetTextColor(uint32_t c) {
    return Record(0x0209, {Low(c), High(c)});
}
TWmfWriter& TWmfWriter::SetTextAlign(int16_t align) {
    return Record(0x012E, {align, 0});
}
TWmfWriter& TWmfWriter::SetPolyFillMode(int16_t mode) {
    return Record(0x0106, {mode, 0});
}
TWmfWriter& TWmfWriter::SetRop2(int16_t mode) {
    return Record(0x0104, {mode, 0});
}
TWmfWriter& TWmfWriter::SaveDc() {
    return Record(0x001E, {});
}
TWmfWriter& TWmfWriter::RestoreDc(int16_t level) {
    return Record(0x0127, {level});
}
TWmfWriter& TWmfWriter::IntersectClipRect(const TWmfRectangle& r) {
    return Record(0x0416, Box(r));
}
TWmfWriter& TWmfWriter::Escape() {
    return Record(0x0626, {15, 4, 1, 2, 3, 4});
}

TWmfWriter& TWmfWriter::CreatePen(int16_t style, int16_t width, uint32_t color) {
    return Record(0x02FA, {style, width, 0, Low(color), High(color)});
}

TWmfWriter& TWmfWriter::CreateBrush(int16_t style, uint32_t color, int16_t hatch) {
    return Record(0x02FC, {style, Low(color), High(color), hatch});
}

TWmfWriter& TWmfWriter::CreateFont(int16_t height, const std::string& face, int16_t weight,
                                   int16_t escapement) {
    std::vector<uint8_t> bytes = Words({height, 0, escapement, escapement, weight});
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 0, 0});  // italic ... pitch and family
    bytes.insert(bytes.end(), face.begin(), face.end());
    bytes.resize(bytes.size() + 32 - face.size(), 0);
    return RecordBytes(0x02FB, bytes);
}

TWmfWriter& TWmfWriter::CreatePalette(const std::vector<uint32_t>& colors) {
    std::vector<uint8_t> bytes;
    Put16(bytes, 0x0300);
    Put16(bytes, static_cast<uint16_t>(colors.size()));
    for (uint32_t c : colors)  // red, green, blue, flags
        bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                   static_cast<uint8_t>(c >> 16), 0});
    return RecordBytes(0x00F7, bytes);
}

TWmfWriter& TWmfWriter::DibPatternBrush(const std::vector<uint8_t>& dib) {
    std::vector<uint8_t> bytes = Words({5, 0});  // BS_DIBPATTERN, DIB_RGB_COLORS
    bytes.insert(bytes.end(), dib.begin(), dib.end());
    return RecordBytes(0x0142, bytes);
}

TWmfWriter& TWmfWriter::SelectObject(uint16_t index) {
    return Record(0x012D, {static_cast<int16_t>(index)});
}
TWmfWriter& TWmfWriter::SelectPalette(uint16_t index) {
    return Record(0x0234, {static_cast<int16_t>(index)});
}
TWmfWriter& TWmfWriter::DeleteObject(uint16_t index) {
    return Record(0x01F0, {static_cast<int16_t>(index)});
}

TWmfWriter& TWmfWriter::MoveTo(int16_t x, int16_t y) {
    return Record(0x0214, {y, x});
}
TWmfWriter& TWmfWriter::LineTo(int16_t x, int16_t y) {
    return Record(0x0213, {y, x});
}
TWmfWriter& TWmfWriter::Rectangle(const TWmfRectangle& r) {
    return Record(0x041B, Box(r));
}
TWmfWriter& TWmfWriter::Ellipse(const TWmfRectangle& r) {
    return Record(0x0418, Box(r));
}

TWmfWriter& TWmfWriter::RoundRect(const TWmfRectangle& r, int16_t width, int16_t height) {
    std::vector<int16_t> words{height, width};
    for (int16_t v : Box(r))
        words.push_back(v);
    return Record(0x061C, words);
}

TWmfWriter& TWmfWriter::Pie(const TWmfRectangle& r, int16_t xStart, int16_t yStart, int16_t xEnd,
                            int16_t yEnd) {
    std::vector<int16_t> words{yEnd, xEnd, yStart, xStart};
    for (int16_t v : Box(r))
        words.push_back(v);
    return Record(0x081A, words);
}

TWmfWriter& TWmfWriter::Arc(const TWmfRectangle& r, int16_t xStart, int16_t yStart, int16_t xEnd,
                            int16_t yEnd) {
    std::vector<int16_t> words{yEnd, xEnd, yStart, xStart};
    for (int16_t v : Box(r))
        words.push_back(v);
    return Record(0x0817, words);
}

TWmfWriter& TWmfWriter::Polygon(const std::vector<std::pair<int16_t, int16_t>>& points) {
    return Record(0x0324, Points(points));
}

TWmfWriter& TWmfWriter::Polyline(const std::vector<std::pair<int16_t, int16_t>>& points) {
    return Record(0x0325, Points(points));
}

TWmfWriter& TWmfWriter::TextOut(int16_t x, int16_t y, const std::string& text) {
    std::vector<uint8_t> bytes = Words({static_cast<int16_t>(text.size())});
    bytes.insert(bytes.end(), text.begin(), text.end());
    if (bytes.size() % 2 != 0) bytes.push_back(0);
    const std::vector<uint8_t> tail = Words({y, x});
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return RecordBytes(0x0521, bytes);
}

TWmfWriter& TWmfWriter::ExtTextOut(int16_t x, int16_t y, uint16_t options,
                                   const TWmfRectangle& rect, const std::string& text,
                                   const std::vector<int16_t>& dx) {
    std::vector<uint8_t> bytes =
        Words({y, x, static_cast<int16_t>(text.size()), static_cast<int16_t>(options)});
    if (options & 0x0006) {
        const std::vector<uint8_t> r = Words({rect.Left, rect.Top, rect.Right, rect.Bottom});
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
    if (bytes.size() % 2 != 0) bytes.push_back(0);
    const std::vector<uint8_t> spacing = Words(dx);
    bytes.insert(bytes.end(), spacing.begin(), spacing.end());
    return RecordBytes(0x0A32, bytes);
}

TWmfWriter& TWmfWriter::PatBlt(const TWmfRectangle& r, uint32_t rop) {
    const auto width = static_cast<int16_t>(r.Right - r.Left);
    const auto height = static_cast<int16_t>(r.Bottom - r.Top);
    return Record(0x061D, {Low(rop), High(rop), height, width, r.Top, r.Left});
}

TWmfWriter& TWmfWriter::StretchDib(const TWmfRectangle& dest, int16_t srcWidth, int16_t srcHeight,
                                   const std::vector<uint8_t>& dib, uint32_t rop) {
    const auto destWidth = static_cast<int16_t>(dest.Right - dest.Left);
    const auto destHeight = static_cast<int16_t>(dest.Bottom - dest.Top);
    std::vector<uint8_t> bytes = Words({Low(rop), High(rop), 0, srcHeight, srcWidth, 0, 0,
                                        destHeight, destWidth, dest.Top, dest.Left});
    bytes.insert(bytes.end(), dib.begin(), dib.end());
    return RecordBytes(0x0F43, bytes);
}

std::vector<uint8_t> TWmfWriter::Bytes(uint16_t objectCount) const {
    std::vector<uint8_t> out;
    const auto totalWords = static_cast<uint32_t>(9 + records_.size() / 2 + 3);
    Put16(out, 1);  // in memory
    Put16(out, 9);
    Put16(out, 0x0300);
    Put32(out, totalWords);
    Put16(out, objectCount);
    Put32(out, maxRecordWords_);
    Put16(out, 0);
    out.insert(out.end(), records_.begin(), records_.end());
    Put32(out, 3);  // the end record
    Put16(out, 0);
    return out;
}

std::vector<uint8_t> Dib24(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    std::vector<uint8_t> dib = InfoHeader(width, height, 24, 0);
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    for (int32_t y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = rgb.at(static_cast<size_t>(y) * width + x);
            row.insert(row.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                   static_cast<uint8_t>(c >> 16)});
        }
        row.resize(rowBytes, 0);
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

std::vector<uint8_t> Dib1(int32_t width, int32_t height, const std::vector<uint8_t>& bits,
                          uint32_t color0, uint32_t color1) {
    std::vector<uint8_t> dib = InfoHeader(width, height, 1, 2);
    for (uint32_t c : {color0, color1})
        Put32(dib, c & 0xFFFFFF);  // blue, green, red, 0 from 0xRRGGBB
    const size_t rowBytes = (static_cast<size_t>(width) + 31) / 32 * 4;
    for (int32_t y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int32_t x = 0; x < width; ++x) {
            if (bits.at(static_cast<size_t>(y) * width + x))
                row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

}  // namespace qm
