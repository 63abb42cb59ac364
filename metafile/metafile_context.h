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
#include "raster/dib.h"

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
    uint32_t Style = kPenSolid;
    int32_t Width = 0;  // logical units; 0 draws one device pixel wide
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
    int32_t Height = 0;      // < 0: the em height, > 0: the cell height, 0: the default size
    int32_t Escapement = 0;  // tenths of a degree, counter-clockwise
    int32_t Weight = 400;
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

// Mapping modes of enhanced metafiles ([MS-EMF] 2.1.21).
inline constexpr uint32_t kMapText = 1;
inline constexpr uint32_t kMapIsotropic = 7;
inline constexpr uint32_t kMapAnisotropic = 8;

// What an enhanced metafile adds to the window: the viewport it maps onto (in the reference
// device's pixels), the mapping mode and the world transformation applied before them.
struct TEmfMapping {
    uint32_t MapMode = kMapText;
    double ViewportOrgX = 0;
    double ViewportOrgY = 0;
    double ViewportExtX = 1;
    double ViewportExtY = 1;
    cairo_matrix_t World = {1, 0, 0, 1, 0, 0};
};

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
    TEmfMapping Mapping;  // enhanced metafiles only
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

    // Enhanced metafiles: logical units pass through the world transformation and the
    // window-to-viewport mapping into the reference device's pixels; deviceToPicture maps those
    // onto the picture, whose pixels are pixelScale reference pixels wide.
    void UseEnhancedMapping(const cairo_matrix_t& deviceToPicture, double pixelScale,
                            double deviceXPerMm, double deviceYPerMm);
    bool Enhanced() const { return enhanced_; }
    // The picture pixels that one reference device pixel covers (1 for Windows metafiles): the
    // width of a cosmetic pen, the unit of a pen's dashes.
    double PixelScale() const { return pixelScale_; }
    const cairo_matrix_t& DeviceToPicture() const { return deviceToPicture_; }
    // The whole mapping from logical units onto the picture.
    cairo_matrix_t LogicalToPicture() const;
    // Enhanced metafiles: an open path bracket collects shapes into Cairo's path instead of
    // painting them.
    bool PathOpen() const { return pathOpen_; }
    void SetPathOpen(bool open) { pathOpen_ = open; }
    // Puts an object at an index of the table an enhanced metafile names; outside the table
    // the object is dropped.
    void SetObject(uint32_t index, TWmfObject object);

    // Puts an object at the lowest free place of the table; a full table drops it.
    void AddObject(TWmfObject object);
    // The object at index, or nullptr for an empty or missing place.
    TWmfObject* Object(uint32_t index);
    void DeleteObject(uint32_t index);

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
    bool enhanced_ = false;
    bool pathOpen_ = false;
    double pixelScale_ = 1;
    double deviceXPerMm_ = 1;
    double deviceYPerMm_ = 1;
    cairo_matrix_t deviceToPicture_ = {1, 0, 0, 1, 0, 0};
};

// A record handler: params holds the record's bytes after its size and function. false means
// the record is malformed and playback ends.
using TWmfHandler = bool (*)(TWmfPlayer&, ByteReader&);

// A rectangle as the clipping and shape records store it: bottom, right, top, left.
struct TWmfRectParams {
    int16_t Bottom = 0, Right = 0, Top = 0, Left = 0;

    bool Read(ByteReader& r) { return r.I16(Bottom) && r.I16(Right) && r.I16(Top) && r.I16(Left); }
};

// Copies a Cairo image surface's rows (top first, 0x00RRGGBB words) into a new 24-bit picture
// (bottom row first, BGR); false when the picture cannot be made.
bool CopyToDib(cairo_surface_t* surface, TDib& picture);

// Reads a colour as it is stored ([MS-WMF] 2.2.2.8 ColorRef: red, green, blue, kind).
bool ReadColorRef(ByteReader& r, uint32_t& color);
// A font's face name as stored: zero-terminated, at most 32 units of unitBytes bytes each (1 in
// a Windows metafile, 2 in an enhanced one). A name outside ASCII gives the default face (""):
// the font lookup cannot take it.
std::string ReadFaceName(ByteReader& r, size_t unitBytes);

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

// A rectangle in logical units: left, top, right, bottom.
struct TLogicalRect {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A run of text to draw (metafile_text.cpp), from a reference point in logical units.
struct TMetafileText {
    double X = 0, Y = 0;
    std::u32string Text;
    std::vector<double> Dx;  // the advance of each character in logical units; may be shorter
    uint32_t Options = 0;    // ExtTextOut options (opaque, clipped)
    TLogicalRect Rect;       // with the opaque or clipped option
};

// Draws a run with the selected font, the text colour and alignment and the background mode;
// false when the paint budget is spent.
bool DrawMetafileText(TWmfPlayer& p, const TMetafileText& run);

// metafile_text.cpp: text.
bool PlayTextOut(TWmfPlayer& p, ByteReader& r);
bool PlayExtTextOut(TWmfPlayer& p, ByteReader& r);

// metafile_dib.cpp: a device-independent bitmap of a record ([MS-WMF] 2.2.2.9) as a Cairo
// surface: the header and colour table from info, the pixel rows from bits (the same reader
// when they follow each other). colorUsage 1 takes the colour table as indexes into palette.
// Fails (false) when the bitmap is truncated; an empty surface with true is a bitmap we do not
// read (compressed, an unknown depth) or cannot hold.
bool DecodeDib(const TWmfPalette& palette, ByteReader& info, ByteReader& bits, uint16_t colorUsage,
               TCairoSurface& surface);

// metafile_bitmaps.cpp: bitmaps and block transfers.
struct TBlt {
    uint32_t Rop = 0;  // ternary raster operation
    int32_t SrcX = 0, SrcY = 0, SrcWidth = 0, SrcHeight = 0;
    int32_t DestX = 0, DestY = 0, DestWidth = 0, DestHeight = 0;  // logical units
};
// Fills the destination rectangle with the brush (or black, white, the inverted picture).
bool PatternFill(TWmfPlayer& p, uint32_t rop, double x, double y, double width, double height);
// Draws the source rectangle of image (top row `srcTop`) into the destination rectangle.
bool DrawBitmap(TWmfPlayer& p, const TBlt& blt, cairo_surface_t* image, double srcTop);
// Draws a decoded bitmap (nothing when image is null); bottomUpOrigin counts the source's y
// from the bitmap's bottom row, as StretchDIBits does.
bool DrawDibSource(TWmfPlayer& p, const TBlt& blt, cairo_surface_t* image, bool bottomUpOrigin);
bool PlayPatBlt(TWmfPlayer& p, ByteReader& r);
bool PlayStretchDib(TWmfPlayer& p, ByteReader& r);
bool PlayDibStretchBlt(TWmfPlayer& p, ByteReader& r);
bool PlayDibBitBlt(TWmfPlayer& p, ByteReader& r);

}  // namespace qm
