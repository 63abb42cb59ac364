// Enhanced metafiles written record by record for tests of the EMF player and of EMF pictures:
// the header, the records in the order given, the end record. The reference device has ten
// pixels per millimetre, and the frame covers the picture's width x height of them. Colours
// are Windows colour values 0x00BBGGRR; coordinates are logical units.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct TEmfRectangle {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TEmfWriter {
  public:
    TEmfWriter(int32_t width, int32_t height) : width_(width), height_(height) {}

    // Any record: its type and its parameters as 32-bit values or as bytes.
    TEmfWriter& Record(uint32_t type, const std::vector<uint32_t>& params);
    TEmfWriter& RecordBytes(uint32_t type, const std::vector<uint8_t>& bytes);
    // A record whose size field says size (for damaged files), with the given parameters.
    TEmfWriter& RecordSized(uint32_t type, uint32_t size, const std::vector<uint32_t>& params);

    TEmfWriter& SetMapMode(uint32_t mode);
    TEmfWriter& SetWindowOrg(int32_t x, int32_t y);
    TEmfWriter& SetWindowExt(int32_t x, int32_t y);
    TEmfWriter& SetViewportOrg(int32_t x, int32_t y);
    TEmfWriter& SetViewportExt(int32_t x, int32_t y);
    // eM11, eM12, eM21, eM22, eDx, eDy.
    TEmfWriter& SetWorldTransform(const std::vector<float>& xform);
    TEmfWriter& SaveDc();
    TEmfWriter& RestoreDc(int32_t relative);
    TEmfWriter& SetTextColor(uint32_t color);
    TEmfWriter& SetBkMode(uint32_t mode);
    TEmfWriter& IntersectClipRect(const TEmfRectangle& r);
    // A region of rectangles in reference pixels, combined as mode says (5: copy); no
    // rectangles write a record without region data.
    TEmfWriter& ExtSelectClipRgn(uint32_t mode, const std::vector<TEmfRectangle>& rects);

    TEmfWriter& CreatePen(uint32_t index, uint32_t style, int32_t width, uint32_t color);
    TEmfWriter& CreateBrush(uint32_t index, uint32_t style, uint32_t color);
    TEmfWriter& CreateFont(uint32_t index, int32_t height, const std::u16string& face);
    // Index, or a stock object with the high bit set.
    TEmfWriter& SelectObject(uint32_t index);
    TEmfWriter& DeleteObject(uint32_t index);

    TEmfWriter& MoveTo(int32_t x, int32_t y);
    TEmfWriter& LineTo(int32_t x, int32_t y);
    TEmfWriter& Rectangle(const TEmfRectangle& r);
    TEmfWriter& Ellipse(const TEmfRectangle& r);
    TEmfWriter& Polygon16(const std::vector<std::pair<int16_t, int16_t>>& points);
    TEmfWriter& PolyBezierTo16(const std::vector<std::pair<int16_t, int16_t>>& points);
    TEmfWriter& BeginPath();
    TEmfWriter& EndPath();
    TEmfWriter& CloseFigure();
    TEmfWriter& FillPath();
    TEmfWriter& ExtTextOutW(int32_t x, int32_t y, const std::u16string& text);
    // The whole bitmap (a DIB without file header) into the destination rectangle.
    TEmfWriter& StretchDiBits(const TEmfRectangle& dest, int32_t srcWidth, int32_t srcHeight,
                              const std::vector<uint8_t>& dib);

    // The metafile: header with room for handles objects, the records, the end record.
    std::vector<uint8_t> Bytes(uint16_t handles = 16) const;

  private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> records_;
    uint32_t count_ = 0;
};

// Stock objects to select: the high bit and the object's number.
inline constexpr uint32_t kEmfStockBlackBrush = 0x80000004;
inline constexpr uint32_t kEmfStockNullPen = 0x80000008;

}  // namespace qm
