// Fonts as the Windows font rule creates them, found through fontconfig and measured through
// FreeType: extents in whole device pixels, as GetTextExtentPoint32 gives them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

typedef struct FT_FaceRec_* FT_Face;

namespace qm {

struct TFontFace;  // an opened face, owned by the process-wide font cache

// A created font: a face at an em height in pixels with its style. Cheap to copy; the face it
// refers to lives as long as the process.
class TFont {
public:
    TFont() = default;
    TFont(const TFontFace* face, int32_t height, bool bold, bool italic, bool strikeOut,
          uint8_t charset)
        : face_(face), height_(height), bold_(bold), italic_(italic), strikeOut_(strikeOut),
          charset_(charset) {}

    bool Valid() const { return face_ != nullptr; }
    int32_t Height() const { return height_; }  // as given to creation: negative em height
    int32_t PixelSize() const { return height_ < 0 ? -height_ : height_; }  // em in pixels
    int Weight() const { return bold_ ? 700 : 400; }
    bool Italic() const { return italic_; }
    bool StrikeOut() const { return strikeOut_; }
    uint8_t Charset() const { return charset_; }
    const TFontFace* Face() const { return face_; }

    // The FreeType face behind this font (for glyph rendering and PDF metrics). Its pixel size
    // is not set by this call; users set it before use.
    FT_Face FreeTypeFace() const;
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

// The font rule: height = -Trunc(resolution * size / 72 * zoom / 100), weight 700 for bold,
// italic and strike-out from the style bits. Faces are matched by fontconfig (so "Times New
// Roman" gives its metric-compatible substitute) and opened once per process.
TFont selfont(std::string_view name, int32_t resolution, double zoom, double size, uint8_t style,
              uint8_t charset);

struct TTextExtent {
    int32_t Cx = 0;  // sum of hinted advance widths, whole pixels
    int32_t Cy = 0;  // the font's Windows ascent plus descent in pixels
};

// Extent of a Windows-1252 string. An invalid font measures 0 x 0.
TTextExtent TextExtent(const TFont& font, std::string_view text);
inline int32_t TextWidth(const TFont& font, std::string_view text) {
    return TextExtent(font, text).Cx;
}
inline int32_t TextHeight(const TFont& font, std::string_view text) {
    return TextExtent(font, text).Cy;
}

// The Unicode code point of a Windows-1252 byte (undefined bytes map to themselves).
char32_t Cp1252ToUnicode(uint8_t code);

}  // namespace qm
