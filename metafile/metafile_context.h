// The playback state of a Windows metafile ([MS-WMF] 3.1.4, 3.1.5): the Cairo surface the
// picture is drawn on, the object table and the device context with its saved copies. Shared by
// the record handlers of the metafile_*.cpp files; not used outside the player.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/byte_reader.h"
#include "metafile/cairo_handles.h"

namespace qm {

// Colours are Windows colour values 0x00BBGGRR.
inline constexpr uint32_t kWmfBlack = 0x000000;
inline constexpr uint32_t kWmfWhite = 0xFFFFFF;

// Pen styles ([MS-WMF] 2.1.1.23), the low four bits of a pen's style.
inline constexpr uint16_t kPenSolid = 0;
inline constexpr uint16_t kPenDash = 1;
inline constexpr uint16_t kPenDot = 2;
inline constexpr uint16_t kPenDashDot = 3;
inline constexpr uint16_t kPenDashDotDot = 4;
inline constexpr uint16_t kPenNull = 5;

// Brush styles ([MS-WMF] 2.1.1.4).
inline constexpr uint16_t kBrushSolid = 0;
inline constexpr uint16_t kBrushNull = 1;
inline constexpr uint16_t kBrushHatched = 2;
inline constexpr uint16_t kBrushPattern = 3;

// Background modes ([MS-WMF] 2.1.1.9) and polygon fill modes (2.1.1.25).
inline constexpr uint16_t kBkTransparent = 1;
inline constexpr uint16_t kBkOpaque = 2;
inline constexpr uint16_t kFillAlternate = 1;

struct TWmfPoint {
    double X = 0;
    double Y = 0;
};

struct TWmfPen {
    uint16_t Style = kPenSolid;
    int16_t Width = 0;  // logical units; 0 draws one pixel wide
    uint32_t Color = kWmfBlack;
};

struct TWmfBrush {
    uint16_t Style = kBrushSolid;
    uint32_t Color = kWmfWhite;
    uint16_t Hatch = 0;
    TCairoSurface Pattern;  // the tile of a pattern brush, repeated from the picture's corner
};

// A logical font ([MS-WMF] 2.2.1.2).
struct TWmfFont {
    int16_t Height = 0;      // < 0: the em height, > 0: the cell height, 0: the default size
    int16_t Escapement = 0;  // tenths of a degree, counter-clockwise
    int16_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t Charset = 0;
    std::string FaceName;
};

struct TWmfPalette {
    std::vector<uint32_t> Colors;
};

// Objects that only hold their place in the table (regions and the like).
struct TWmfPlaceholder {};

using TWmfObject =
    std::variant<std::monostate, TWmfPen, TWmfBrush, TWmfFont, TWmfPalette, TWmfPlaceholder>;

// The device context as a metafile starts with it: the stock black pen, white brush and
// system font; black text on an opaque white background; the window is the picture's frame.
struct TWmfDc {
    TWmfPen Pen;
    TWmfBrush Brush;
    TWmfFont Font;
    TWmfPalette Palette;
    uint32_t TextColor = kWmfBlack;
    uint32_t BkColor = kWmfWhite;
    uint16_t BkMode = kBkOpaque;
    uint16_t TextAlign = 0;
    uint16_t PolyFillMode = kFillAlternate;
    uint16_t Rop2 = 13;  // R2_COPYPEN
    TWmfPoint Position;  // logical units
    double WindowOrgX = 0;
    double WindowOrgY = 0;
    double WindowExtX = 1;
    double WindowExtY = 1;
};

class TWmfPlayer {
  public:
    TWmfPlayer(cairo_t* cr, int32_t width, int32_t height, uint16_t objectCount);

    cairo_t* Cr() const { return cr_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    TWmfDc& Dc() { return dc_; }
    const TWmfDc& Dc() const { return dc_; }

    // Sets Cairo's transformation from the window (logical units) onto the whole picture.
    void ApplyWindow();
    // Scale factors from logical units to pixels.
    double ScaleX() const;
    double ScaleY() const;
    TWmfPoint ToDevice(double x, double y) const;

    // Puts an object at the lowest free place of the table; a full table drops it.
    void AddObject(TWmfObject object);
    // The object at index, or nullptr for an empty or missing place.
    TWmfObject* Object(uint16_t index);
    void DeleteObject(uint16_t index);

    // SaveDC and RestoreDC (a negative level counts back from the current one).
    void Save();
    void Restore(int16_t level);

    // A colour of a record: Windows colour values, or an index into the selected palette when
    // the high byte is 1 ([MS-WMF] 2.2.2.8).
    uint32_t Color(uint32_t colorRef) const;

    // Charges the pixels a drawing operation covers (its device box, cut to the picture) to
    // the playback's budget; false when the budget is spent and playback should end.
    bool Spend(double left, double top, double right, double bottom);

  private:
    cairo_t* cr_;
    int32_t width_;
    int32_t height_;
    TWmfDc dc_;
    std::vector<TWmfDc> saved_;
    std::vector<TWmfObject> objects_;
    size_t objectLimit_;
    double budget_;
};

// A record handler: params holds the record's bytes after its size and function. false means
// the record is malformed and playback ends.
using TWmfHandler = bool (*)(TWmfPlayer&, ByteReader&);

// A rectangle as the clipping and shape records store it: bottom, right, top, left.
struct TWmfRectParams {
    int16_t Bottom = 0, Right = 0, Top = 0, Left = 0;

    bool Read(ByteReader& r) { return r.I16(Bottom) && r.I16(Right) && r.I16(Top) && r.I16(Left); }
};

// Reads a colour as it is stored ([MS-WMF] 2.2.2.8 ColorRef: red, green, blue, kind).
bool ReadColorRef(ByteReader& r, uint32_t& color);

// --- drawing helpers shared by the handlers (metafile_paint.cpp) ---

// Paints the current path (built in logical units) with the brush and outlines it with the
// pen, as the device context says; the path is cleared. false when the budget is spent.
bool FillAndStroke(TWmfPlayer& p, bool fill, bool stroke);
// Fills the current path with one colour, whatever brush is selected.
bool FillWithColor(TWmfPlayer& p, uint32_t color);
// Sets Cairo's source to the brush (solid colour, hatch or pattern tile in device space).
void SetBrushSource(TWmfPlayer& p, const TWmfBrush& brush);

// --- the record handlers, by file ---

// metafile_state.cpp: device-context settings, window, clipping, saving.
bool PlaySetBkColor(TWmfPlayer& p, ByteReader& r);
bool PlaySetTextColor(TWmfPlayer& p, ByteReader& r);
bool PlaySetBkMode(TWmfPlayer& p, ByteReader& r);
bool PlaySetTextAlign(TWmfPlayer& p, ByteReader& r);
bool PlaySetPolyFillMode(TWmfPlayer& p, ByteReader& r);
bool PlaySetRop2(TWmfPlayer& p, ByteReader& r);
bool PlaySetWindowOrg(TWmfPlayer& p, ByteReader& r);
bool PlaySetWindowExt(TWmfPlayer& p, ByteReader& r);
bool PlayOffsetWindowOrg(TWmfPlayer& p, ByteReader& r);
bool PlayScaleWindowExt(TWmfPlayer& p, ByteReader& r);
bool PlaySaveDc(TWmfPlayer& p, ByteReader& r);
bool PlayRestoreDc(TWmfPlayer& p, ByteReader& r);
bool PlayIntersectClipRect(TWmfPlayer& p, ByteReader& r);
bool PlayExcludeClipRect(TWmfPlayer& p, ByteReader& r);
bool PlayMoveTo(TWmfPlayer& p, ByteReader& r);

// metafile_objects.cpp: the object table.
bool PlayCreatePen(TWmfPlayer& p, ByteReader& r);
bool PlayCreateBrush(TWmfPlayer& p, ByteReader& r);
bool PlayCreateFont(TWmfPlayer& p, ByteReader& r);
bool PlayCreatePalette(TWmfPlayer& p, ByteReader& r);
bool PlayCreatePatternBrush(TWmfPlayer& p, ByteReader& r);
bool PlayCreatePlaceholder(TWmfPlayer& p, ByteReader& r);
bool PlaySelectObject(TWmfPlayer& p, ByteReader& r);
bool PlaySelectPalette(TWmfPlayer& p, ByteReader& r);
bool PlayDeleteObject(TWmfPlayer& p, ByteReader& r);

// metafile_shapes.cpp: lines and shapes.
bool PlayLineTo(TWmfPlayer& p, ByteReader& r);
bool PlayPolygon(TWmfPlayer& p, ByteReader& r);
bool PlayPolyline(TWmfPlayer& p, ByteReader& r);
bool PlayPolyPolygon(TWmfPlayer& p, ByteReader& r);
bool PlayRectangle(TWmfPlayer& p, ByteReader& r);
bool PlayRoundRect(TWmfPlayer& p, ByteReader& r);
bool PlayEllipse(TWmfPlayer& p, ByteReader& r);
bool PlayArc(TWmfPlayer& p, ByteReader& r);
bool PlayPie(TWmfPlayer& p, ByteReader& r);
bool PlayChord(TWmfPlayer& p, ByteReader& r);
bool PlaySetPixel(TWmfPlayer& p, ByteReader& r);

// metafile_text.cpp: text.
bool PlayTextOut(TWmfPlayer& p, ByteReader& r);
bool PlayExtTextOut(TWmfPlayer& p, ByteReader& r);

// metafile_dib.cpp: a device-independent bitmap of a record ([MS-WMF] 2.2.2.9) as a Cairo
// surface. colorUsage 1 takes the colour table as indexes into the selected palette. Fails
// (false) when the bitmap is truncated; an empty surface with true is a bitmap we do not read
// (compressed, an unknown depth) or cannot hold.
bool DecodeDib(TWmfPlayer& p, ByteReader& r, uint16_t colorUsage, TCairoSurface& surface);

// metafile_bitmaps.cpp: bitmaps and block transfers.
bool PlayPatBlt(TWmfPlayer& p, ByteReader& r);
bool PlayStretchDib(TWmfPlayer& p, ByteReader& r);
bool PlayDibStretchBlt(TWmfPlayer& p, ByteReader& r);
bool PlayDibBitBlt(TWmfPlayer& p, ByteReader& r);

}  // namespace qm
