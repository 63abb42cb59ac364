// Measuring characters at the printer resolution with the shared font rule.
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
        fonts.Full = selfont(f.Name, PrinterDPI, 100.0, f.Size, f.Style, f.Charset);
        fonts.Reduced = selfont(f.Name, PrinterDPI, 100.0, ReducedSize(f), f.Style, f.Charset);
        fonts.Height = TextHeight(fonts.Full, U"A");
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
    // One character, measured once per font entry and code point.
    const int32_t width = fonts.WidthOf(code);
    ch.Height = PixelsToMm(fonts.Height, PrinterDPI);
    ch.Width = PixelsToMm(width, PrinterDPI);
}

}  // namespace qm
