// Fonts as the Windows font rule creates them, found through fontconfig and measured through
// FreeType: extents in whole device pixels, as GetTextExtentPoint32 gives them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/cp1252.h"

namespace qm {

struct TFontFace;  // an opened face, owned by the process-wide font cache

// A created font: a face at an em height in pixels with its style. Cheap to copy; the face it
// refers to lives as long as the process.
class TFont {
  public:
    TFont() = default;
    TFont(const TFontFace* face, int32_t height, bool bold, bool italic, bool strikeOut,
          uint8_t charset)
        : face_(face),
          height_(height),
          bold_(bold),
          italic_(italic),
          strikeOut_(strikeOut),
          charset_(charset) {}

    bool Valid() const { return face_ != nullptr; }
    int32_t Height() const { return height_; }  // as given to creation: negative em height
    int32_t PixelSize() const { return height_ < 0 ? -height_ : height_; }  // em in pixels
    int Weight() const { return bold_ ? 700 : 400; }
    bool Italic() const { return italic_; }
    bool StrikeOut() const { return strikeOut_; }
    uint8_t Charset() const { return charset_; }
    const TFontFace* Face() const { return face_; }

    // The family name that was asked for, and the family of the face actually used.
    const std::string& RequestedName() const;
    const std::string& ActualFamily() const;

  private:
    const TFontFace* face_ = nullptr;
    int32_t height_ = 0;
    bool bold_ = false;
    bool italic_ = false;
    bool strikeOut_ = false;
    uint8_t charset_ = 0;
};

// Style bits of a font entry.
inline constexpr uint8_t kStyleBold = 1;
inline constexpr uint8_t kStyleItalic = 2;
inline constexpr uint8_t kStyleUnderline = 4;
inline constexpr uint8_t kStyleStrikeOut = 8;

// Family classes of a face, as Windows' font tables give them (the FFID's ff and LOGFONT's
// lfPitchAndFamily >> 4): what kind of face may stand in for one the machine lacks.
inline constexpr uint8_t kFamilyUnknown = 0;
inline constexpr uint8_t kFamilyRoman = 1;       // serif
inline constexpr uint8_t kFamilySwiss = 2;       // sans serif
inline constexpr uint8_t kFamilyModern = 3;      // fixed pitch
inline constexpr uint8_t kFamilyScript = 4;      // cursive
inline constexpr uint8_t kFamilyDecorative = 5;  // fantasy

// The font rule: height = -Trunc(resolution * size / 72 * zoom / 100), weight 700 for bold,
// italic and strike-out from the style bits. Faces are matched by fontconfig (so "Times New
// Roman" gives its metric-compatible substitute) and opened once per process. A face that
// fontconfig does not know gives the stock face of its family class: Times New Roman for a
// roman one, Courier New for a modern one, Arial for the others.
TFont selfont(std::string_view name, int32_t resolution, double zoom, double size, uint8_t style,
              uint8_t charset, uint8_t familyClass = kFamilyUnknown);

struct TTextExtent {
    int32_t Cx = 0;  // sum of hinted advance widths, whole pixels
    int32_t Cy = 0;  // the font's Windows ascent plus descent in pixels
};

// Extent of a run of code points, each measured with the glyph GlyphIndex finds. An invalid font
// measures 0 x 0.
TTextExtent TextExtent(const TFont& font, std::u32string_view text);
inline int32_t TextWidth(const TFont& font, std::u32string_view text) {
    return TextExtent(font, text).Cx;
}
inline int32_t TextHeight(const TFont& font, std::u32string_view text) {
    return TextExtent(font, text).Cy;
}

// The same for Windows-1252 bytes, each read as its code point (for the PDF writer's simple
// fonts, whose text is 8-bit).
TTextExtent TextExtent(const TFont& font, std::string_view text);
inline int32_t TextWidth(const TFont& font, std::string_view text) {
    return TextExtent(font, text).Cx;
}
inline int32_t TextHeight(const TFont& font, std::string_view text) {
    return TextExtent(font, text).Cy;
}

// Vertical metrics in whole pixels as Windows' text metrics give them: the OS/2 usWinAscent and
// usWinDescent (hhea ascender and descender without an OS/2 table) scaled to the em size and
// rounded each on its own. An invalid font gives zeros.
struct TFontMetrics {
    int32_t Ascent = 0;   // baseline to the top of the character cell
    int32_t Descent = 0;  // baseline to the bottom of the cell, positive
    int32_t Height = 0;   // Ascent + Descent: the height of every text extent
    int32_t Leading = 0;  // external leading: the room Word's single line spacing adds above
};
TFontMetrics FontMetrics(const TFont& font);

// The face's glyph for a code point, the one measuring and drawing use. A code point that
// Windows-1252 holds as byte b goes through the Unicode character map, else a symbol font's map
// at 0xF000 + b, then at b; any other through the Unicode map, then a symbol map at the code
// point itself. 0 (the missing glyph) for a character the face lacks and for an invalid font.
uint32_t GlyphIndex(const TFont& font, char32_t code);
// Bytes are not code points: a Windows-1252 byte goes through Cp1252ToUnicode first.
uint32_t GlyphIndex(const TFont& font, uint8_t code) = delete;

// The face that draws a code point and its glyph there. A code point that Windows-1252 holds is
// always drawn by the font's own face (GlyphIndex, the missing glyph when the face lacks it), so
// that such text keeps its look; any other code point by the font's own face when it has the
// glyph, else by an installed face that has it (found through fontconfig, at the same size and
// style), else by the font's own face with its missing glyph (Found false). Text is what the
// glyph stands for in Unicode: the code point itself, or for a symbol font's private-use
// character (U+F020..U+F0FF) without a symbol face to draw it, its Unicode meaning.
struct TResolvedGlyph {
    TFont Font;
    uint32_t Glyph = 0;
    bool Found = false;
    char32_t Text = 0;
};
TResolvedGlyph ResolveGlyph(const TFont& font, char32_t code);

// Whether the face has a glyph of its own for a code point.
inline bool HasGlyph(const TFont& font, char32_t code) {
    return GlyphIndex(font, code) != 0;
}

// Whether the face found lacks the weight or slant asked for, so that drawing has to embolden or
// slant its outlines. Measuring already widens each character of a simulated bold font by one
// pixel, as Windows does.
bool SyntheticBold(const TFont& font);
bool SyntheticItalic(const TFont& font);

// The strike-out line in whole pixels at the font's em size: its top above the baseline and its
// thickness (OS/2 yStrikeoutPosition and yStrikeoutSize; without an OS/2 table a third of the
// ascent, one pixel thick).
struct TStrikeLine {
    int32_t Position = 0;
    int32_t Thickness = 1;
};
TStrikeLine StrikeLine(const TFont& font);

// What a PDF font descriptor needs, measured at the font's own em size in whole pixels (the PDF
// writer creates its fonts at 72 dots per inch and 12 points: 12 pixels per em). Font-unit
// values are scaled as FreeType scales outlines and rounded to the nearest pixel.
struct TOutlineMetrics {
    bool HasOutline = false;  // a scalable face was found; false only for an invalid font
    // The head table's bounding box of all glyphs.
    int32_t BoxLeft = 0, BoxBottom = 0, BoxRight = 0, BoxTop = 0;
    int32_t Ascent = 0;        // typographic ascent: OS/2 sTypoAscender (hhea without OS/2)
    int32_t Descent = 0;       // typographic descent, negative: OS/2 sTypoDescender
    int32_t CapHeight = 0;     // OS/2 sCapHeight; 0 when the font does not give it
    double ItalicAngle = 0.0;  // degrees counter-clockwise from the vertical (post table)
    // The text metrics, for faces without outlines: cell height, its ascent and descent (both
    // positive), the widest advance (hhea advanceWidthMax).
    int32_t CellHeight = 0, TextAscent = 0, TextDescent = 0, MaxCharWidth = 0;
    // The 8-bit character range as Windows' ANSI text metrics give it: from two below the first
    // character of the OS/2 range (30 for a range that starts at the space or beyond 255, the
    // first code itself for a range that starts at 0 or 1) to the range's end or 255; 30..255
    // for symbol fonts; 32..255 for a font without an OS/2 table and for an invalid font.
    uint8_t FirstChar = 32;
    uint8_t LastChar = 255;
    // The width of each one-character string, as TextWidth measures it, for every code.
    std::array<int32_t, 256> Widths{};
};
TOutlineMetrics OutlineMetrics(const TFont& font);

}  // namespace qm
