// The process-wide font cache: names and styles matched to font files by fontconfig, each file
// face opened once with FreeType, and per pixel size tables of advance widths. Everything in it
// lives until the process ends, so fonts may hold plain pointers into it.
#pragma once

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
    int32_t CapHeight = 0;    // OS/2 sCapHeight (table version 2 and later), else 0
    int32_t BoxLeft = 0, BoxBottom = 0, BoxRight = 0, BoxTop = 0;  // head table bounding box
    int32_t MaxAdvance = 0;                                        // hhea advanceWidthMax
    double ItalicAngle = 0.0;  // post table, degrees counter-clockwise from the vertical
    bool HasOs2 = false;
    bool IsBold = false;    // a bold or semibold face (style flags, OS/2 usWeightClass 600 up)
    bool IsItalic = false;  // an italic or oblique face (style flags)
    bool IsSymbol = false;  // only a Microsoft symbol character map, or a symbol code range
    uint16_t FirstCharIndex = 0;         // OS/2 usFirstCharIndex
    uint16_t LastCharIndex = 0;          // OS/2 usLastCharIndex
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

// A face of a font file opened with FreeType, shared by every name that resolves to it.
struct TLoadedFace {
    std::unique_ptr<std::remove_pointer_t<FT_Face>, TFaceDeleter> Face;
    std::string File;
    int Index = 0;
    TFaceUnits Units;  // immutable after loading
    // Advance tables by (pixel size, synthetic bold); guarded by the cache's mutex, never erased.
    std::unordered_map<uint32_t, std::unique_ptr<TAdvanceTable>> Tables;
};

// A requested name and style resolved to a loaded face: what a TFont points at.
struct TFontFace {
    std::string RequestedName;
    std::string ActualFamily;
    TLoadedFace* Loaded = nullptr;  // null when no face could be loaded at all
    bool SyntheticBold = false;     // bold asked for, but the face found is not bold
    bool SyntheticItalic = false;   // italic asked for, but the face found is upright
};

// Scales font units to whole pixels as FreeType scales outlines: a 16.16 scale of
// pixelSize * 64 / unitsPerEm, then rounded to the nearest pixel (halves upward).
int32_t ScaleToPixels(int32_t units, int32_t pixelSize, int32_t unitsPerEm);

// The advance table of a face at a pixel size, computed from its design metrics (no caching).
TAdvanceTable MakeAdvanceTable(const TFontFace& face, int32_t pixelSize);

// Resolves a face name and style to a face; never null (an unresolvable name gives an entry
// whose Loaded is null). Thread-safe.
const TFontFace* ResolveFontFace(std::string_view name, bool bold, bool italic);

// The cached advance table of a loaded face, or null when the face already holds the most
// tables we keep (the caller then computes one with MakeAdvanceTable). Thread-safe.
const TAdvanceTable* CachedAdvanceTable(const TFontFace& face, int32_t pixelSize);

}  // namespace qm
