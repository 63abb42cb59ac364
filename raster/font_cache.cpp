// Font matching with fontconfig and face loading with FreeType, done once per name and style and
// once per font file face; advance tables made once per face, pixel size and boldness.
#include "raster/font_cache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <map>
#include <unordered_set>
#include <utility>

namespace qm {

void TFaceDeleter::operator()(FT_Face face) const {
    FT_Done_Face(face);
}

namespace {

// CreateFontA keeps at most 31 bytes of a face name (LOGFONT's LF_FACESIZE of 32 with its NUL).
constexpr size_t kMaxFaceNameLength = 31;

// A document uses a few dozen sizes per face and each preview zoom adds a few more; this bounds
// the memory (about 1 KB a table) that endless zooming could otherwise take.
constexpr size_t kMaxTablesPerFace = 1024;

// Text beyond Windows-1252 uses a few scripts at most; this bounds what odd input can make us keep.
constexpr size_t kMaxOtherCodesPerFace = 1 << 16;

// Fallback faces found per (face, code point): a document uses a few scripts, so this bounds
// only what odd input could make us keep; beyond it, look-ups are made again each time.
constexpr size_t kMaxFallbackCodes = 1 << 18;

// OS/2 usWeightClass of a semibold face: Windows simulates no bold from there on.
constexpr uint16_t kMinBoldWeightClass = 600;

// Windows' stock face substitutes for old names that are not TrueType faces of their own.
constexpr std::pair<std::string_view, std::string_view> kFaceSubstitutes[] = {
    {"Helvetica", "Arial"},
    {"Times", "Times New Roman"},
    {"Courier", "Courier New"},
    // Century's letters are wide: of the installed faces DejaVu Serif comes closest to them.
    {"Century", "DejaVu Serif"},
};

// Windows' font mapper gives a face it does not have the stock face of its family class, Arial
// when the class names none; fontconfig's metric aliases turn that into the metric-compatible
// face that is installed.
const char* FallbackFamily(uint8_t familyClass) {
    switch (familyClass) {
        case kFamilyRoman:
            return "Times New Roman";
        case kFamilyModern:
            return "Courier New";
        default:
            return "Arial";
    }
}

struct TPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct TFontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct TConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct TLibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using TPattern = std::unique_ptr<FcPattern, TPatternDeleter>;
using TFontSet = std::unique_ptr<FcFontSet, TFontSetDeleter>;
using TConfig = std::unique_ptr<FcConfig, TConfigDeleter>;
using TLibrary = std::unique_ptr<std::remove_pointer_t<FT_Library>, TLibraryDeleter>;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The family name handed to fontconfig: the face name as CreateFontA sees it (up to the first
// NUL, at most 31 bytes), Windows' substitutes applied, Windows-1252 turned into UTF-8.
std::string FamilyToMatch(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    name = name.substr(0, kMaxFaceNameLength);
    for (const auto& [from, to] : kFaceSubstitutes) {
        if (EqualsIgnoringCase(name, from)) name = to;
    }
    std::string utf8;
    for (char c : name)
        AppendUtf8(utf8, Cp1252ToUnicode(static_cast<uint8_t>(c)));
    return utf8;
}

// Fontconfig's generic family names, which its configuration adds to a pattern's families and
// expands into the faces it prefers for them.
bool IsGenericFamily(std::string_view family) {
    constexpr std::string_view kGeneric[] = {"sans-serif", "serif",   "monospace", "sans",  "mono",
                                             "cursive",    "fantasy", "system-ui", "emoji", "math"};
    return std::any_of(std::begin(kGeneric), std::end(kGeneric), [&](std::string_view generic) {
        return EqualsIgnoringCase(family, generic);
    });
}

// What fontconfig says about one font of its list.
struct TFontCandidate {
    std::string File;
    int Index = 0;
    std::string Family;
};

bool ReadCandidate(FcPattern* font, TFontCandidate& candidate) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return false;
    }
    candidate.File = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &candidate.Index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
        candidate.Family = reinterpret_cast<const char*>(family);
    }
    return true;
}

// The charmaps used to find the glyph of a Windows-1252 code.
struct TCharMaps {
    FT_CharMap Unicode = nullptr;
    FT_CharMap Symbol = nullptr;
};

TCharMaps FindCharMaps(FT_Face face) {
    TCharMaps maps;
    for (FT_Int i = 0; i < face->num_charmaps; ++i) {
        FT_CharMap map = face->charmaps[i];
        if (map->encoding == FT_ENCODING_UNICODE && maps.Unicode == nullptr) maps.Unicode = map;
        if (map->encoding == FT_ENCODING_MS_SYMBOL && maps.Symbol == nullptr) maps.Symbol = map;
    }
    return maps;
}

// Text is Windows-1252: through the Unicode map when there is one; a symbol font's map holds
// its characters at 0xF000 plus the code (or, in some fonts, at the code itself).
FT_UInt GlyphOfCode(FT_Face face, const TCharMaps& maps, uint8_t code) {
    if (maps.Unicode != nullptr && FT_Set_Charmap(face, maps.Unicode) == 0) {
        FT_UInt glyph = FT_Get_Char_Index(face, Cp1252ToUnicode(code));
        if (glyph != 0) return glyph;
    }
    if (maps.Symbol != nullptr && FT_Set_Charmap(face, maps.Symbol) == 0) {
        FT_UInt glyph = FT_Get_Char_Index(face, 0xF000u + code);
        if (glyph == 0) glyph = FT_Get_Char_Index(face, code);
        return glyph;
    }
    if (maps.Unicode == nullptr && face->charmap != nullptr) return FT_Get_Char_Index(face, code);
    return 0;  // the .notdef glyph, which Windows also measures for a character a font lacks
}

void ReadDesignAdvances(FT_Face face, TFaceUnits& units) {
    TCharMaps maps = FindCharMaps(face);
    for (int code = 0; code < 256; ++code) {
        FT_UInt glyph = GlyphOfCode(face, maps, static_cast<uint8_t>(code));
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) advance = 0;
        units.Glyph[code] = glyph;
        units.Advance[code] = static_cast<int32_t>(std::clamp<FT_Fixed>(advance, 0, 0xFFFF));
    }
    // Code points beyond Windows-1252 are looked up in the Unicode map, which stays selected.
    if (maps.Unicode != nullptr) FT_Set_Charmap(face, maps.Unicode);
    units.HasUnicodeMap = maps.Unicode != nullptr;
    units.SymbolMapIndex = maps.Symbol != nullptr ? FT_Get_Charmap_Index(maps.Symbol) : -1;
    units.IsSymbol = maps.Symbol != nullptr && maps.Unicode == nullptr;
}

// The face's lock is held. A symbol font without a Unicode map keeps its symbol map selected.
FT_UInt GlyphOfOtherCode(FT_Face face, const TFaceUnits& units, char32_t code) {
    FT_UInt glyph = units.HasUnicodeMap ? FT_Get_Char_Index(face, code) : 0;
    if (glyph != 0 || units.SymbolMapIndex < 0) return glyph;
    FT_CharMap selected = face->charmap;
    if (FT_Set_Charmap(face, face->charmaps[units.SymbolMapIndex]) != 0) return 0;
    glyph = FT_Get_Char_Index(face, code);
    FT_Set_Charmap(face, selected);
    return glyph;
}

void ReadOs2(FT_Face face, TFaceUnits& units) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 == nullptr || os2->version == 0xFFFF) return;
    units.HasOs2 = true;
    units.WinAscent = os2->usWinAscent;
    units.WinDescent = os2->usWinDescent;
    units.TypoAscent = os2->sTypoAscender;
    units.TypoDescent = os2->sTypoDescender;
    units.CapHeight = os2->version >= 2 ? os2->sCapHeight : 0;
    units.FirstCharIndex = os2->usFirstCharIndex;
    units.LastCharIndex = os2->usLastCharIndex;
    units.StrikeoutPosition = os2->yStrikeoutPosition;
    units.StrikeoutSize = os2->yStrikeoutSize;
    units.IsBold = units.IsBold || os2->usWeightClass >= kMinBoldWeightClass;
}

TFaceUnits ReadFaceUnits(FT_Face face) {
    TFaceUnits units;
    units.UnitsPerEm = face->units_per_EM;
    units.IsBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    units.IsItalic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    ReadOs2(face, units);
    if (units.WinAscent + units.WinDescent == 0) {
        units.WinAscent = face->ascender;
        units.WinDescent = -face->descender;
    }
    if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
        const int32_t hheaHeight = hhea->Ascender - hhea->Descender;
        const int32_t winHeight = units.WinAscent + units.WinDescent;
        units.LineGap = std::max(0, hhea->Line_Gap - (winHeight - hheaHeight));
    }
    if (!units.HasOs2) {
        units.TypoAscent = face->ascender;
        units.TypoDescent = face->descender;
    }
    units.BoxLeft = static_cast<int32_t>(face->bbox.xMin);
    units.BoxBottom = static_cast<int32_t>(face->bbox.yMin);
    units.BoxRight = static_cast<int32_t>(face->bbox.xMax);
    units.BoxTop = static_cast<int32_t>(face->bbox.yMax);
    units.MaxAdvance = face->max_advance_width;
    auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    if (post != nullptr) units.ItalicAngle = static_cast<double>(post->italicAngle) / 65536.0;
    if (units.FirstCharIndex >= 0xF000 && units.FirstCharIndex < 0xF100) units.IsSymbol = true;
    ReadDesignAdvances(face, units);
    return units;
}

// The process-wide cache. One mutex guards every map and every FreeType and fontconfig call;
// measuring takes it only when a name, face or pixel size is met for the first time.
class TFontCache {
  public:
    static TFontCache& Instance() {
        static TFontCache cache;
        return cache;
    }

    const TFontFace* Resolve(std::string_view name, bool bold, bool italic, uint8_t familyClass) {
        if (familyClass > kFamilyDecorative) familyClass = kFamilyUnknown;
        // Style in bits 0-1, the family class above them, then the name.
        std::string key(1,
                        static_cast<char>((bold ? 1 : 0) | (italic ? 2 : 0) | (familyClass << 2)));
        key.append(name);
        std::lock_guard lock(mutex_);
        auto& entry = resolved_[key];
        if (!entry) entry = Match(name, bold, italic, familyClass);
        return entry.get();
    }

    const TAdvanceTable* Table(const TFontFace& face, int32_t pixelSize) {
        if (face.Loaded == nullptr) return nullptr;
        uint32_t key = (static_cast<uint32_t>(pixelSize) << 1) | (face.SyntheticBold ? 1u : 0u);
        std::lock_guard lock(mutex_);
        auto& tables = face.Loaded->Tables;
        auto found = tables.find(key);
        if (found != tables.end()) return found->second.get();
        if (tables.size() >= kMaxTablesPerFace) return nullptr;
        auto table = std::make_unique<TAdvanceTable>(MakeAdvanceTable(face, pixelSize));
        return tables.emplace(key, std::move(table)).first->second.get();
    }

    const TFontFace* Fallback(const TFontFace& face, char32_t code) {
        if (face.Loaded == nullptr || !library_ || !config_) return nullptr;
        std::pair<const TFontFace*, char32_t> key(&face, code);
        std::lock_guard lock(mutex_);
        auto found = fallbackCodes_.find(key);
        if (found != fallbackCodes_.end()) return found->second;
        const TFontFace* fallback = FindFallback(face, code);
        if (fallbackCodes_.size() < kMaxFallbackCodes) fallbackCodes_.emplace(key, fallback);
        return fallback;
    }

  private:
    TFontCache() {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) == 0) library_.reset(library);
        config_.reset(FcInitLoadConfigAndFonts());
    }

    std::unique_ptr<TFontFace> Match(std::string_view name, bool bold, bool italic,
                                     uint8_t familyClass) {
        auto face = std::make_unique<TFontFace>();
        face->RequestedName.assign(name);
        if (!library_ || !config_) return face;
        const std::string family = FamilyToMatch(name);
        // The class matters only where its stand-in is not the one every face gets.
        const bool ownStandIn =
            std::string_view(FallbackFamily(familyClass)) != FallbackFamily(kFamilyUnknown);
        if (ownStandIn && !KnowsFamily(family, bold, italic)) face->FamilyClass = familyClass;
        TPattern pattern = MakePattern(family, bold, italic, face->FamilyClass);
        if (!pattern) return face;
        TFontCandidate candidate;
        if (!FindLoadable(pattern.get(), candidate, face->Loaded)) return face;
        face->ActualFamily = candidate.Family;
        // Fontconfig's match carries its own synthesis settings, so the face itself tells.
        face->SyntheticBold = bold && !face->Loaded->Units.IsBold;
        face->SyntheticItalic = italic && !face->Loaded->Units.IsItalic;
        face->Bold = bold;
        face->Italic = italic;
        return face;
    }

    // Whether fontconfig knows a family, installed or by a metric alias: the face it matches is
    // named in the family list its configuration makes of the name before the list reaches a
    // weakly bound or generic family (the faces it adds for names it knows nothing of). Only
    // for a family it does not know may the family class pick the stand-in.
    bool KnowsFamily(const std::string& family, bool bold, bool italic) {
        TPattern pattern(FcPatternCreate());
        if (!pattern || family.empty()) return false;
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_.get(), pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        TPattern best(FcFontMatch(config_.get(), pattern.get(), &result));
        if (!best) return false;
        FcValue listed;
        FcValueBinding binding = FcValueBindingStrong;
        for (int i = 0; FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &listed, &binding) ==
                        FcResultMatch;
             ++i) {
            if (listed.type != FcTypeString) continue;
            if (binding == FcValueBindingWeak ||
                IsGenericFamily(reinterpret_cast<const char*>(listed.u.s)))
                return false;
            FcChar8* named = nullptr;
            for (int j = 0; FcPatternGetString(best.get(), FC_FAMILY, j, &named) == FcResultMatch;
                 ++j) {
                if (FcStrCmpIgnoreCase(listed.u.s, named) == 0) return true;
            }
        }
        return false;
    }

    // Fontconfig's ranking of every installed face for a face's family, weight and slant, made
    // once per face. Walking it for the first face that holds a code point gives what a sort
    // with that code point in the pattern's character set would: coverage ranks above the
    // family there, and the faces that hold it keep their order among themselves.
    FcFontSet* Ranking(const TFontFace& face) {
        auto& ranked = rankings_[&face];
        if (ranked) return ranked.get();
        TPattern pattern = MakePattern(FamilyToMatch(face.RequestedName), face.Bold, face.Italic,
                                       face.FamilyClass);
        FcResult result = FcResultNoMatch;
        if (pattern)
            ranked.reset(FcFontSort(config_.get(), pattern.get(), FcFalse, nullptr, &result));
        return ranked.get();
    }

    const TFontFace* FindFallback(const TFontFace& face, char32_t code) {
        FcFontSet* ranked = Ranking(face);
        for (int i = 0; ranked != nullptr && i < ranked->nfont; ++i) {
            FcCharSet* charset = nullptr;
            if (FcPatternGetCharSet(ranked->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch ||
                charset == nullptr || !FcCharSetHasChar(charset, code)) {
                continue;
            }
            TFontCandidate candidate;
            if (!ReadCandidate(ranked->fonts[i], candidate)) continue;
            TLoadedFace* loaded = Load(candidate.File, candidate.Index);
            if (loaded == nullptr || loaded == face.Loaded) continue;
            // The character set is fontconfig's summary; the character map has the last word.
            if (OtherCodeGlyph(*loaded, code).Glyph == 0) continue;
            return FallbackEntry(*loaded, candidate.Family, face.Bold, face.Italic);
        }
        return nullptr;
    }

    // One entry per fallback file face and style, named by its own family.
    const TFontFace* FallbackEntry(TLoadedFace& loaded, const std::string& family, bool bold,
                                   bool italic) {
        auto& entry = fallbackFaces_[{&loaded, (bold ? 1 : 0) | (italic ? 2 : 0)}];
        if (entry) return entry.get();
        entry = std::make_unique<TFontFace>();
        entry->RequestedName = family;
        entry->ActualFamily = family;
        entry->Loaded = &loaded;
        entry->SyntheticBold = bold && !loaded.Units.IsBold;
        entry->SyntheticItalic = italic && !loaded.Units.IsItalic;
        entry->Bold = bold;
        entry->Italic = italic;
        return entry.get();
    }

    // The asked-for family comes first and its stand-in after it, so a face that fontconfig
    // knows (installed, or by a metric alias that its configuration adds right after the name)
    // wins over the stand-in.
    TPattern MakePattern(const std::string& family, bool bold, bool italic, uint8_t familyClass) {
        TPattern pattern(FcPatternCreate());
        if (!pattern) return pattern;
        auto* raw = pattern.get();
        if (!family.empty()) {
            FcPatternAddString(raw, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        }
        FcPatternAddString(raw, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(FallbackFamily(familyClass)));
        FcPatternAddInteger(raw, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(raw, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(raw, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_.get(), raw, FcMatchPattern);
        FcDefaultSubstitute(raw);
        return pattern;
    }

    // The best match when it loads; otherwise the first font of fontconfig's ranking that does.
    bool FindLoadable(FcPattern* pattern, TFontCandidate& candidate, TLoadedFace*& loaded) {
        FcResult result = FcResultNoMatch;
        TPattern best(FcFontMatch(config_.get(), pattern, &result));
        if (best && ReadCandidate(best.get(), candidate)) {
            loaded = Load(candidate.File, candidate.Index);
            if (loaded != nullptr) return true;
        }
        TFontSet ranked(FcFontSort(config_.get(), pattern, FcFalse, nullptr, &result));
        for (int i = 0; ranked && i < ranked->nfont; ++i) {
            if (!ReadCandidate(ranked->fonts[i], candidate)) continue;
            loaded = Load(candidate.File, candidate.Index);
            if (loaded != nullptr) return true;
        }
        return false;
    }

    // Opens a file's face once; a face that fails to open or is not scalable is remembered as
    // null so it is not tried again.
    TLoadedFace* Load(const std::string& file, int index) {
        std::pair<std::string, int> key(file, index);
        auto found = loaded_.find(key);
        if (found != loaded_.end()) return found->second.get();
        if (failed_.count(key) != 0) return nullptr;
        FT_Face raw = nullptr;
        if (FT_New_Face(library_.get(), file.c_str(), index, &raw) != 0) raw = nullptr;
        std::unique_ptr<std::remove_pointer_t<FT_Face>, TFaceDeleter> face(raw);
        if (!face || !FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
            failed_.insert(std::move(key));
            return nullptr;
        }
        auto loaded = std::make_unique<TLoadedFace>();
        loaded->Units = ReadFaceUnits(face.get());
        loaded->File = file;
        loaded->Index = index;
        loaded->Face = std::move(face);
        return loaded_.emplace(std::move(key), std::move(loaded)).first->second.get();
    }

    struct TFileKeyHash {
        size_t operator()(const std::pair<std::string, int>& key) const {
            return std::hash<std::string>()(key.first) ^ std::hash<int>()(key.second);
        }
    };

    // Declared first so that it is destroyed last, after every face opened with it.
    TLibrary library_;
    TConfig config_;
    std::mutex mutex_;
    std::unordered_map<std::pair<std::string, int>, std::unique_ptr<TLoadedFace>, TFileKeyHash>
        loaded_;
    std::unordered_set<std::pair<std::string, int>, TFileKeyHash> failed_;
    std::unordered_map<std::string, std::unique_ptr<TFontFace>> resolved_;
    std::unordered_map<const TFontFace*, TFontSet> rankings_;
    std::map<std::pair<const TFontFace*, char32_t>, const TFontFace*> fallbackCodes_;
    std::map<std::pair<const TLoadedFace*, int>, std::unique_ptr<TFontFace>> fallbackFaces_;
};

}  // namespace

int32_t ScaleToPixels(int32_t units, int32_t pixelSize, int32_t unitsPerEm) {
    if (unitsPerEm <= 0) return 0;
    FT_Fixed scale = FT_DivFix(static_cast<FT_Long>(pixelSize) * 64, unitsPerEm);
    FT_Long scaled = FT_MulFix(units, scale);
    return static_cast<int32_t>((scaled + 32) >> 6);
}

TAdvanceTable MakeAdvanceTable(const TFontFace& face, int32_t pixelSize) {
    TAdvanceTable table;
    if (face.Loaded == nullptr) return table;
    const TFaceUnits& units = face.Loaded->Units;
    // Windows widens every character of a simulated bold face by one pixel.
    int32_t emboldening = face.SyntheticBold ? 1 : 0;
    for (size_t code = 0; code < table.Advance.size(); ++code) {
        table.Advance[code] =
            ScaleToPixels(units.Advance[code], pixelSize, units.UnitsPerEm) + emboldening;
    }
    table.Ascent = ScaleToPixels(units.WinAscent, pixelSize, units.UnitsPerEm);
    table.Descent = ScaleToPixels(units.WinDescent, pixelSize, units.UnitsPerEm);
    return table;
}

const TFontFace* ResolveFontFace(std::string_view name, bool bold, bool italic,
                                 uint8_t familyClass) {
    return TFontCache::Instance().Resolve(name, bold, italic, familyClass);
}

const TAdvanceTable* CachedAdvanceTable(const TFontFace& face, int32_t pixelSize) {
    return TFontCache::Instance().Table(face, pixelSize);
}

const TFontFace* FallbackFace(const TFontFace& face, char32_t code) {
    return TFontCache::Instance().Fallback(face, code);
}

TCodeGlyph OtherCodeGlyph(TLoadedFace& face, char32_t code) {
    std::lock_guard lock(face.Lock);
    auto found = face.OtherCodes.find(code);
    if (found != face.OtherCodes.end()) return found->second;
    TCodeGlyph entry;
    entry.Glyph = GlyphOfOtherCode(face.Face.get(), face.Units, code);
    FT_Fixed advance = 0;
    if (FT_Get_Advance(face.Face.get(), entry.Glyph, FT_LOAD_NO_SCALE, &advance) != 0) advance = 0;
    entry.Advance = static_cast<int32_t>(std::clamp<FT_Fixed>(advance, 0, 0xFFFF));
    if (face.OtherCodes.size() < kMaxOtherCodesPerFace) face.OtherCodes.emplace(code, entry);
    return entry;
}

}  // namespace qm
