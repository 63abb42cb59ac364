// Measuring characters at the printer resolution with the shared font rule.
#include <cmath>

#include "base/cp1252.h"
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
        fonts.Height = TextHeight(fonts.Full, "A");
        fonts.Widths.fill(-1);
    }
    return fonts;
}

void TDocument::RenderChar(TCharRec& ch) {
    if (ch.FontIndex < 0 || ch.FontIndex >= FontCount()) return;
    const TFontRec& font = Fonts[ch.FontIndex];
    TMeasureFonts& fonts = MeasureFontsFor(ch.FontIndex);
    char32_t code = ShownCode(ch.Code);
    if (font.Attrib & (kAttribAllCaps | kAttribSmallCaps)) code = UpCase(code);
    uint8_t byte;
    Cp1252FromUnicode(code, byte);
    // One character, measured once per font entry and code.
    int32_t& cached = fonts.Widths[byte];
    if (cached < 0) {
        const char text = static_cast<char>(byte);
        cached = TextWidth(fonts.Reduced, std::string_view(&text, 1));
    }
    ch.Height = PixelsToMm(fonts.Height, PrinterDPI);
    ch.Width = PixelsToMm(cached, PrinterDPI);
}

}  // namespace qm
