// The process-wide font cache: names and styles matched to font files by fontconfig, each file
// face opened once with FreeType, and per pixel size tables of advance widths. Everything in it
// lives until the process ends, so fonts may hold plain pointers into it. Private to the font
// layer: nothing outside raster/ includes it, so FreeType stays inside.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "raster/font.h"

namespace qm {

// The largest em size that is measured, in pixels: FreeType keeps pixel sizes in 16 bits.
inline constexpr int32_t kMaxMeasuredPixelSize = 0xFFFF;

// Design metrics of an opened face in font units, read once when the face is loaded.
struct TFaceUnits {
    int32_t UnitsPerEm = 0;
    int32_t WinAscent = 0;    // OS/2 usWinAscent, or the hhea ascender without an OS/2 table
    int32_t WinDescent = 0;   // OS/2 usWinDescent, or minus the hhea descender; positive
    int32_t TypoAscent = 0;   // OS/2 sTypoAscender, or the hhea ascender
    int32_t TypoDescent = 0;  // OS/2 sTypoDescender, or the hhea descender; negative
    // The external leading Windows reports: the part of the hhea line gap that the Windows
    // ascent and descent do not already cover (0 without an hhea table).
    int32_t LineGap = 0;
    int32_t CapHeight = 0;  // OS/2 sCapHeight (table version 2 and later), else 0
    int32_t BoxLeft = 0, BoxBottom = 0, BoxRight = 0, BoxTop = 0;  // head table bounding box
    int32_t MaxAdvance = 0;                                        // hhea advanceWidthMax
    double ItalicAngle = 0.0;  // post table, degrees counter-clockwise from the vertical
    bool HasOs2 = false;
    bool IsBold = false;         // a bold or semibold face (style flags, OS/2 usWeightClass 600 up)
    bool IsItalic = false;       // an italic or oblique face (style flags)
    bool IsSymbol = false;       // only a Microsoft symbol character map, or a symbol code range
    bool HasUnicodeMap = false;  // the face's selected character map is a Unicode one
    int SymbolMapIndex = -1;     // the face's Microsoft symbol map, -1 without one
    uint16_t FirstCharIndex = 0;         // OS/2 usFirstCharIndex
    uint16_t LastCharIndex = 0;          // OS/2 usLastCharIndex
    int32_t StrikeoutPosition = 0;       // OS/2 yStrikeoutPosition, above the baseline
    int32_t StrikeoutSize = 0;           // OS/2 yStrikeoutSize
    std::array<uint32_t, 256> Glyph{};   // glyph index of each Windows-1252 code
    std::array<int32_t, 256> Advance{};  // design advance of each Windows-1252 code
};

// Whole-pixel metrics of a face at one em size and boldness.
struct TAdvanceTable {
    std::array<int32_t, 256> Advance{};  // by Windows-1252 code
    int32_t Ascent = 0;                  // Windows ascent
    int32_t Descent = 0;                 // Windows descent, positive below the baseline
};

struct TFaceDeleter {
    void operator()(FT_Face face) const;
};

// The glyph and design advance of a code point that Windows-1252 does not hold.
struct TCodeGlyph {
    uint32_t Glyph = 0;
    int32_t Advance = 0;  // font units, as the advance table's are
};

// A face of a font file opened with FreeType, shared by every name that resolves to it.
struct TLoadedFace {
    std::unique_ptr<std::remove_pointer_t<FT_Face>, TFaceDeleter> Face;
    std::string File;
    int Index = 0;
    TFaceUnits Units;  // immutable after loading
    // Advance tables by (pixel size, synthetic bold); guarded by the cache's mutex, never erased.
    std::unordered_map<uint32_t, std::unique_ptr<TAdvanceTable>> Tables;
    // Guards the FreeType face after loading (its glyph slot, its size, its character map
    // look-ups) and OtherCodes. Never held while taking the cache's mutex.
    std::mutex Lock;
    std::unordered_map<char32_t, TCodeGlyph> OtherCodes;  // code points looked up so far
};

// A requested name and style resolved to a loaded face: what a TFont points at.
struct TFontFace {
    std::string RequestedName;
    std::string ActualFamily;
    TLoadedFace* Loaded = nullptr;  // null when no face could be loaded at all
    bool SyntheticBold = false;     // bold asked for, but the face found is not bold
    bool SyntheticItalic = false;   // italic asked for, but the face found is upright
    bool Bold = false;              // the weight and slant asked for
    bool Italic = false;
    uint8_t FamilyClass = kFamilyUnknown;  // the class whose stand-in the match used
};

// Scales font units to whole pixels as FreeType scales outlines: a 16.16 scale of
// pixelSize * 64 / unitsPerEm, then rounded to the nearest pixel (halves upward).
int32_t ScaleToPixels(int32_t units, int32_t pixelSize, int32_t unitsPerEm);

// The advance table of a face at a pixel size, computed from its design metrics (no caching).
TAdvanceTable MakeAdvanceTable(const TFontFace& face, int32_t pixelSize);

// Resolves a face name, style and family class (the stand-in for a face fontconfig does not
// know) to a face; never null (an unresolvable name gives an entry whose Loaded is null).
// Thread-safe.
const TFontFace* ResolveFontFace(std::string_view name, bool bold, bool italic,
                                 uint8_t familyClass = kFamilyUnknown);

// The cached advance table of a loaded face, or null when the face already holds the most
// tables we keep (the caller then computes one with MakeAdvanceTable). Thread-safe.
const TAdvanceTable* CachedAdvanceTable(const TFontFace& face, int32_t pixelSize);

// An installed face, other than the font's own, that has a glyph for the code point: the first
// of fontconfig's ranking for the font's family, weight and slant whose character set holds it,
// asked for with the same weight and slant. Null when no installed face has it and for a face
// that was never loaded. Remembered per (face, code point). Thread-safe.
const TFontFace* FallbackFace(const TFontFace& face, char32_t code);

// The glyph and design advance of a code point Windows-1252 lacks: through the Unicode map, then
// a symbol font's map at the code point itself. Remembered per face. Thread-safe.
TCodeGlyph OtherCodeGlyph(TLoadedFace& face, char32_t code);

}  // namespace qm
