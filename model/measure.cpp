// Measuring characters at the printer resolution with the shared font rule.
#include <algorithm>
#include <cmath>

#include "model/document.h"

namespace qm {

void TDocument::SetPrinterProps() {
    // No printer service here; PrinterDPI keeps whatever resolution was set (600 by default).
    if (PrinterDPI <= 0) PrinterDPI = 600;
    PageWidthPx = MmToPixels(PageWidthMM, PrinterDPI);
    PageHeightPx = MmToPixels(PageHeightMM, PrinterDPI);
}

double TDocument::ReducedSize(const TFontRec& font) {
    double factor = 1.0;
    if (font.Attrib & kAttribSmallCaps) factor *= 0.75;
    if (font.Attrib & (kAttribSuperscript | kAttribSubscript)) factor *= 0.6;
    // Text of its own size keeps it, half points too; a reduced size is whole points.
    if (factor == 1.0 && font.Size > 0) return font.Size;
    // nearbyint rounds to nearest with ties to even under the default rounding mode.
    const double reduced = std::nearbyint(font.Size * factor);
    return reduced > 0 ? reduced : 1.0;
}

TDocument::TMeasureFonts& TDocument::MeasureFontsFor(int32_t fontIndex) {
    if (measureCacheDpi_ != PrinterDPI) {
        measureCache_.clear();
        measureCacheDpi_ = PrinterDPI;
    }
    if (fontIndex >= static_cast<int32_t>(measureCache_.size())) {
        measureCache_.resize(fontIndex + 1);
    }
    TMeasureFonts& fonts = measureCache_[fontIndex];
    if (fonts.Height < 0) {
        const TFontRec& f = Fonts[fontIndex];
        fonts.Full = selfont(f.Name, PrinterDPI, 100.0, f.Size, f.Style, f.Charset, f.FamilyClass);
        fonts.Reduced =
            selfont(f.Name, PrinterDPI, 100.0, ReducedSize(f), f.Style, f.Charset, f.FamilyClass);
        fonts.Height = TextHeight(fonts.Full, U"A");
        fonts.Leading = FontMetrics(fonts.Full).Leading;
        fonts.Widths.fill(-1);
    }
    return fonts;
}

int32_t TDocument::TMeasureFonts::WidthOf(char32_t code) {
    const std::u32string_view text(&code, 1);
    if (code < Widths.size()) {
        int32_t& cached = Widths[code];
        if (cached < 0) cached = TextWidth(Reduced, text);
        return cached;
    }
    auto found = OtherWidths.find(code);
    if (found != OtherWidths.end()) return found->second;
    return OtherWidths.emplace(code, TextWidth(Reduced, text)).first->second;
}

void TDocument::RenderChar(TCharRec& ch) {
    if (ch.FontIndex < 0 || ch.FontIndex >= FontCount()) return;
    const TFontRec& font = Fonts[ch.FontIndex];
    TMeasureFonts& fonts = MeasureFontsFor(ch.FontIndex);
    char32_t code = ch.Code;
    if (font.Attrib & (kAttribAllCaps | kAttribSmallCaps)) code = UpCase(code);
    // One character, measured once per font entry and code point. A soft hyphen takes no room
    // in the line; where a line ends at it, its hyphen stands beyond the text.
    const int32_t width = code == kSoftHyphen ? 0 : fonts.WidthOf(code);
    ch.Height = PixelsToMm(fonts.Height, PrinterDPI);
    ch.Leading = static_cast<float>(PixelsToMm(fonts.Leading, PrinterDPI));
    ch.Width = PixelsToMm(width, PrinterDPI);
}

double TDocument::TextWidthMm(int32_t fontIndex, std::u32string_view text) {
    if (fontIndex < 0 || fontIndex >= FontCount()) return 0;
    TMeasureFonts& fonts = MeasureFontsFor(fontIndex);
    int64_t width = 0;
    for (const char32_t code : text)
        width += fonts.WidthOf(code);
    return PixelsToMm(static_cast<double>(width), PrinterDPI);
}

namespace {

// The code point the character shows: capitals for small and all caps.
char32_t ShownCase(const TFontRec& font, char32_t code) {
    return (font.Attrib & (kAttribAllCaps | kAttribSmallCaps)) ? UpCase(code) : code;
}

}  // namespace

void TDocument::ShapeChars(std::span<TCharRec> run) {
    if (run.empty()) return;
    const int32_t fontIndex = run[0].FontIndex;
    if (fontIndex < 0 || fontIndex >= FontCount()) return;
    const TFontRec& font = Fonts[fontIndex];
    TMeasureFonts& fonts = MeasureFontsFor(fontIndex);
    std::u32string text;
    for (const TCharRec& ch : run)
        text.push_back(ShownCase(font, ch.Code));
    // The face that draws the first letter shapes the run: the font's own when it has it, else
    // the installed face that has it.
    const auto lead =
        std::find_if(text.begin(), text.end(), [](char32_t c) { return !IsCombiningMark(c); });
    const TResolvedGlyph resolved =
        ResolveGlyph(fonts.Reduced, lead != text.end() ? *lead : text[0]);
    const TFont face = resolved.Found ? resolved.Font : fonts.Reduced;
    const std::vector<TShapedGlyph> glyphs = ShapeText(face, text);
    std::vector<uint32_t> starts;
    for (const TShapedGlyph& g : glyphs)
        if (g.Cluster < text.size()) starts.push_back(g.Cluster);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    if (starts.empty() || starts[0] != 0) {
        for (TCharRec& ch : run)
            RenderChar(ch);
        return;
    }
    const double mmPerEm = ReducedSize(font) / 72.0 * kMmPerInch;
    const double height = PixelsToMm(fonts.Height, PrinterDPI);
    const auto leading = static_cast<float>(PixelsToMm(fonts.Leading, PrinterDPI));
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t start = starts[k];
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
        TGlyphCluster cluster{face, {}, text.substr(start, end - start)};
        double advance = 0;
        for (const TShapedGlyph& g : glyphs) {
            if (g.Cluster != start) continue;
            cluster.Glyphs.push_back(g);
            advance += g.Advance;
        }
        run[start].Cluster = static_cast<int32_t>(GlyphClusters.size());
        run[start].Width = advance * mmPerEm;
        for (size_t i = start; i < end; ++i) {
            run[i].Height = height;
            run[i].Leading = leading;
            if (i > start) {
                run[i].Cluster = kDrawnWithCluster;
                run[i].Width = 0;
            }
        }
        GlyphClusters.push_back(std::move(cluster));
    }
}

}  // namespace qm
