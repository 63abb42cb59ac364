// Windows metafiles written record by record for tests of the metafile player and
// of metafile pictures: the header, the records in the order given, the end record. Colours
// are Windows colour values 0x00BBGGRR; coordinates are logical units.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct TWmfRectangle {
    int16_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TWmfWriter {
  public:
    // Any record: its function and its parameters as 16-bit words or as bytes (padded to a
    // whole word).
    TWmfWriter& Record(uint16_t function, const std::vector<int16_t>& words);
    TWmfWriter& RecordBytes(uint16_t function, std::vector<uint8_t> bytes);
    // A record whose size field says words (for damaged files), with the given parameters.
    TWmfWriter& RecordSized(uint16_t function, uint32_t words, const std::vector<int16_t>& params);

    TWmfWriter& SetWindowOrg(int16_t x, int16_t y);
    TWmfWriter& SetWindowExt(int16_t x, int16_t y);
    TWmfWriter& SetMapMode(int16_t mode);
    TWmfWriter& SetBkMode(int16_t mode);
    TWmfWriter& SetBkColor(uint32_t color);
    TWmfWriter& SetTextColor(uint32_t color);
    TWmfWriter& SetTextAlign(int16_t align);
    TWmfWriter& SetPolyFillMode(int16_t mode);
    TWmfWriter& SetRop2(int16_t mode);
    TWmfWriter& SaveDc();
    TWmfWriter& RestoreDc(int16_t level);
    TWmfWriter& IntersectClipRect(const TWmfRectangle& r);
    TWmfWriter& Escape();

    TWmfWriter& CreatePen(int16_t style, int16_t width, uint32_t color);
    TWmfWriter& CreateBrush(int16_t style, uint32_t color, int16_t hatch = 0);
    TWmfWriter& CreateFont(int16_t height, const std::string& face, int16_t weight = 400,
                           int16_t escapement = 0);
    TWmfWriter& CreatePalette(const std::vector<uint32_t>& colors);
    TWmfWriter& DibPatternBrush(const std::vector<uint8_t>& dib);
    TWmfWriter& SelectObject(uint16_t index);
    TWmfWriter& SelectPalette(uint16_t index);
    TWmfWriter& DeleteObject(uint16_t index);

    TWmfWriter& MoveTo(int16_t x, int16_t y);
    TWmfWriter& LineTo(int16_t x, int16_t y);
    TWmfWriter& Rectangle(const TWmfRectangle& r);
    TWmfWriter& RoundRect(const TWmfRectangle& r, int16_t width, int16_t height);
    TWmfWriter& Ellipse(const TWmfRectangle& r);
    TWmfWriter& Pie(const TWmfRectangle& r, int16_t xStart, int16_t yStart, int16_t xEnd,
                    int16_t yEnd);
    TWmfWriter& Arc(const TWmfRectangle& r, int16_t xStart, int16_t yStart, int16_t xEnd,
                    int16_t yEnd);
    TWmfWriter& Polygon(const std::vector<std::pair<int16_t, int16_t>>& points);
    TWmfWriter& Polyline(const std::vector<std::pair<int16_t, int16_t>>& points);
    TWmfWriter& TextOut(int16_t x, int16_t y, const std::string& text);
    TWmfWriter& ExtTextOut(int16_t x, int16_t y, uint16_t options, const TWmfRectangle& rect,
                           const std::string& text, const std::vector<int16_t>& dx = {});
    TWmfWriter& PatBlt(const TWmfRectangle& r, uint32_t rop);
    // The whole bitmap into the destination rectangle (StretchDIBits, SRCCOPY).
    TWmfWriter& StretchDib(const TWmfRectangle& dest, int16_t srcWidth, int16_t srcHeight,
                           const std::vector<uint8_t>& dib, uint32_t rop = 0x00CC0020);

    // The metafile: header with room for objectCount objects, the records, the end record.
    std::vector<uint8_t> Bytes(uint16_t objectCount = 16) const;

  private:
    std::vector<uint8_t> records_;
    uint32_t maxRecordWords_ = 3;
};

// A device-independent bitmap (BITMAPINFOHEADER and bottom-up rows) of 24 bits per pixel from
// 0xRRGGBB pixels, top row first.
std::vector<uint8_t> Dib24(int32_t width, int32_t height, const std::vector<uint32_t>& rgb);
// A 1-bit bitmap: bits (top row first, one 0 or 1 per pixel) drawn with two colours 0xRRGGBB.
std::vector<uint8_t> Dib1(int32_t width, int32_t height, const std::vector<uint8_t>& bits,
                          uint32_t color0, uint32_t color1);

}  // namespace qm
