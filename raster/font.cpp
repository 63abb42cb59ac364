// The font rule and text measuring. Widths are the sum of each character's advance: the design
// advance scaled to the em size and rounded to a whole pixel, which is within a pixel of the
// hinted widths the Windows core fonts carry (their metric-compatible substitutes' own hinting
// moves advances by up to a twentieth at screen sizes, so it is not used). Heights are the
// Windows ascent plus descent.
#include "raster/font.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "raster/font_cache.h"
#include "raster/symbol_meanings.h"

namespace qm {

namespace {

// Trunc of the em height, kept inside int32 so that its negation is defined.
int32_t TruncHeight(double value) {
    constexpr double kLimit = std::numeric_limits<int32_t>::max();
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), -kLimit, kLimit));
}

// The em size measured: a zero height (a font too small for its device) measures as one pixel.
int32_t MeasuredPixelSize(const TFont& font) {
    return std::clamp(font.PixelSize(), 1, kMaxMeasuredPixelSize);
}

// A few recently used entries per thread in front of the cache's mutex: the model measures with
// a full-size and a reduced font in turn, and drawing switches between a handful of fonts.
template <typename Key, typename Value>
class TRecentlyUsed {
  public:
    template <typename Matches>
    const Value* Find(Matches matches) const {
        for (const auto& entry : entries_) {
            if (entry && matches(entry->first)) return &entry->second;
        }
        return nullptr;
    }
    void Put(Key key, Value value) {
        entries_[next_] = {std::move(key), std::move(value)};
        next_ = (next_ + 1) % kSize;
    }

  private:
    static constexpr size_t kSize = 4;
    std::optional<std::pair<Key, Value>> entries_[kSize];
    size_t next_ = 0;
};

const TFontFace* FindFace(std::string_view name, bool bold, bool italic, uint8_t familyClass) {
    using TKey = std::pair<std::string, uint8_t>;
    thread_local TRecentlyUsed<TKey, const TFontFace*> recent;
    if (familyClass > kFamilyDecorative) familyClass = kFamilyUnknown;
    // Style in bits 0-1, the family class above them.
    uint8_t style = static_cast<uint8_t>((bold ? 1 : 0) | (italic ? 2 : 0) | (familyClass << 2));
    auto matches = [&](const TKey& key) { return key.second == style && key.first == name; };
    if (const auto* hit = recent.Find(matches)) return *hit;
    const TFontFace* face = ResolveFontFace(name, bold, italic, familyClass);
    recent.Put(TKey(name, style), face);
    return face;
}

const TAdvanceTable* FindTable(const TFontFace& face, int32_t pixelSize) {
    using TKey = std::pair<const TFontFace*, int32_t>;
    thread_local TRecentlyUsed<TKey, const TAdvanceTable*> recent;
    TKey key(&face, pixelSize);
    if (const auto* hit = recent.Find([&](const TKey& entry) { return entry == key; })) return *hit;
    const TAdvanceTable* table = CachedAdvanceTable(face, pixelSize);
    if (table != nullptr) recent.Put(key, table);
    return table;
}

// The design advance of a code point's glyph in a face (through its Unicode map), scaled and
// widened for simulated bold as the advance tables' are.
int32_t ScaledAdvance(const TFontFace& face, int32_t pixelSize, char32_t code) {
    const int32_t units = OtherCodeGlyph(*face.Loaded, code).Advance;
    return ScaleToPixels(units, pixelSize, face.Loaded->Units.UnitsPerEm) +
           (face.SyntheticBold ? 1 : 0);
}

// The advance of one code point as it is drawn: Windows-1252 text from the font's table; any
// other character from the face ResolveGlyph picks, for what its glyph stands for (a fallback
// face's advances are all looked up, as the table is not its own).
int32_t DrawnAdvance(const TAdvanceTable& table, const TFont& font, int32_t pixelSize,
                     char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return table.Advance[code];
    uint8_t byte;
    if (Cp1252FromUnicode(code, byte)) return table.Advance[byte];
    const TResolvedGlyph resolved = ResolveGlyph(font, code);
    if (resolved.Font.Face() != font.Face())
        return ScaledAdvance(*resolved.Font.Face(), pixelSize, resolved.Text);
    if (Cp1252FromUnicode(resolved.Text, byte)) return table.Advance[byte];
    return ScaledAdvance(*font.Face(), pixelSize, resolved.Text);
}

// The glyph of what an unresolved glyph stands for in an installed face that has it, at the
// same size and style; unchanged when no face has it.
TResolvedGlyph WithFallbackFace(const TResolvedGlyph& missing) {
    const TFont& font = missing.Font;
    const TFontFace* fallback = FallbackFace(*font.Face(), missing.Text);
    if (fallback == nullptr) return missing;
    TResolvedGlyph resolved = missing;
    resolved.Font = TFont(fallback, font.Height(), font.Weight() > 400, font.Italic(),
                          font.StrikeOut(), font.Charset());
    // Looked up as the fallback search checked it and as its advance is measured.
    resolved.Glyph = OtherCodeGlyph(*fallback->Loaded, missing.Text).Glyph;
    resolved.Found = resolved.Glyph != 0;
    return resolved.Found ? resolved : missing;
}

// Bytes are read as their code points.
char32_t CodeOf(char c) {
    return Cp1252ToUnicode(static_cast<uint8_t>(c));
}
char32_t CodeOf(char32_t c) {
    return c;
}

template <typename TText>
int32_t SumAdvances(const TAdvanceTable& table, const TFont& font, int32_t pixelSize, TText text) {
    int64_t width = 0;
    for (auto c : text)
        width += DrawnAdvance(table, font, pixelSize, CodeOf(c));
    return static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
}

template <typename TText>
TTextExtent ExtentOf(const TFont& font, TText text) {
    if (!font.Valid()) return {};
    int32_t pixelSize = MeasuredPixelSize(font);
    const TFontFace& face = *font.Face();
    if (const TAdvanceTable* table = FindTable(face, pixelSize)) {
        return {SumAdvances(*table, font, pixelSize, text), table->Ascent + table->Descent};
    }
    TAdvanceTable table = MakeAdvanceTable(face, pixelSize);
    return {SumAdvances(table, font, pixelSize, text), table.Ascent + table.Descent};
}

// Windows' ANSI text metrics: the break character is the first character of the font's range
// (a space when that range starts beyond the 8-bit codes, code + 2 when it starts at 0 or 1),
// the default character one below it, and the 8-bit range starts one below that.
void SetCharRange(const TFaceUnits& units, TOutlineMetrics& metrics) {
    if (units.IsSymbol) {
        metrics.FirstChar = 30;
        metrics.LastChar = 255;
        return;
    }
    if (!units.HasOs2) return;
    int first = units.FirstCharIndex;
    int breakChar = first <= 1 ? first + 2 : (first > 0xFF ? 0x20 : first);
    metrics.FirstChar = static_cast<uint8_t>(breakChar - 2);
    metrics.LastChar = static_cast<uint8_t>(std::min<int>(units.LastCharIndex, 0xFF));
}

}  // namespace

const std::string& TFont::RequestedName() const {
    static const std::string kNone;
    return face_ != nullptr ? face_->RequestedName : kNone;
}

const std::string& TFont::ActualFamily() const {
    static const std::string kNone;
    return face_ != nullptr ? face_->ActualFamily : kNone;
}

TFont selfont(std::string_view name, int32_t resolution, double zoom, double size, uint8_t style,
              uint8_t charset, uint8_t familyClass) {
    // Evaluated left to right in double, as the font rule states it.
    double emHeight = static_cast<double>(resolution) * size / 72 * zoom / 100;
    int32_t height = -TruncHeight(emHeight);
    bool bold = (style & kStyleBold) != 0;
    bool italic = (style & kStyleItalic) != 0;
    const TFontFace* face = FindFace(name, bold, italic, familyClass);
    if (face != nullptr && face->Loaded == nullptr) face = nullptr;
    return TFont(face, height, bold, italic, (style & kStyleStrikeOut) != 0, charset);
}

TTextExtent TextExtent(const TFont& font, std::u32string_view text) {
    return ExtentOf(font, text);
}

TTextExtent TextExtent(const TFont& font, std::string_view text) {
    return ExtentOf(font, text);
}

TFontMetrics FontMetrics(const TFont& font) {
    if (!font.Valid()) return {};
    const int32_t pixelSize = MeasuredPixelSize(font);
    TAdvanceTable table = MakeAdvanceTable(*font.Face(), pixelSize);
    const TLoadedFace* loaded = font.Face()->Loaded;
    const int32_t leading =
        loaded ? ScaleToPixels(loaded->Units.LineGap, pixelSize, loaded->Units.UnitsPerEm) : 0;
    return {table.Ascent, table.Descent, table.Ascent + table.Descent, leading};
}

uint32_t GlyphIndex(const TFont& font, char32_t code) {
    if (!font.Valid()) return 0;
    TLoadedFace& face = *font.Face()->Loaded;
    uint8_t byte;
    if (Cp1252FromUnicode(code, byte)) return face.Units.Glyph[byte];
    return OtherCodeGlyph(face, code).Glyph;
}

TResolvedGlyph ResolveGlyph(const TFont& font, char32_t code) {
    TResolvedGlyph resolved{font, GlyphIndex(font, code), false, code};
    resolved.Found = resolved.Glyph != 0;
    uint8_t byte;
    if (resolved.Found || !font.Valid() || Cp1252FromUnicode(code, byte)) return resolved;
    // A symbol font's character without a symbol face to draw it: its meaning, from the own
    // face when it has it, else from any (a meaning is no document text, so even one that
    // Windows-1252 holds may come from another face).
    if (const char32_t meaning = SymbolMeaning(font.RequestedName(), code); meaning != 0) {
        resolved.Glyph = GlyphIndex(font, meaning);
        resolved.Found = resolved.Glyph != 0;
        resolved.Text = meaning;
        if (resolved.Found) return resolved;
    }
    return WithFallbackFace(resolved);
}

TStrikeLine StrikeLine(const TFont& font) {
    TStrikeLine line;
    line.Position = FontMetrics(font).Ascent / 3;
    if (!font.Valid()) return line;
    const TFaceUnits& units = font.Face()->Loaded->Units;
    if (!units.HasOs2) return line;
    const double scale = static_cast<double>(font.PixelSize()) / units.UnitsPerEm;
    line.Position = static_cast<int32_t>(std::lround(units.StrikeoutPosition * scale));
    line.Thickness =
        std::max<int32_t>(1, static_cast<int32_t>(std::lround(units.StrikeoutSize * scale)));
    return line;
}

bool SyntheticBold(const TFont& font) {
    return font.Valid() && font.Face()->SyntheticBold;
}

bool SyntheticItalic(const TFont& font) {
    return font.Valid() && font.Face()->SyntheticItalic;
}

TOutlineMetrics OutlineMetrics(const TFont& font) {
    TOutlineMetrics metrics;
    if (!font.Valid()) return metrics;
    const TFaceUnits& units = font.Face()->Loaded->Units;
    int32_t pixelSize = MeasuredPixelSize(font);
    auto scale = [&](int32_t value) { return ScaleToPixels(value, pixelSize, units.UnitsPerEm); };
    metrics.HasOutline = true;
    metrics.BoxLeft = scale(units.BoxLeft);
    metrics.BoxBottom = scale(units.BoxBottom);
    metrics.BoxRight = scale(units.BoxRight);
    metrics.BoxTop = scale(units.BoxTop);
    metrics.Ascent = scale(units.TypoAscent);
    metrics.Descent = scale(units.TypoDescent);
    metrics.CapHeight = scale(units.CapHeight);
    metrics.ItalicAngle = units.ItalicAngle;
    TAdvanceTable table = MakeAdvanceTable(*font.Face(), pixelSize);
    metrics.TextAscent = table.Ascent;
    metrics.TextDescent = table.Descent;
    metrics.CellHeight = table.Ascent + table.Descent;
    metrics.MaxCharWidth = scale(units.MaxAdvance);
    metrics.Widths = table.Advance;
    SetCharRange(units, metrics);
    return metrics;
}

}  // namespace qm
