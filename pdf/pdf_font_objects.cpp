// The font table and the font objects written at the end of the document: non-embedded
// TrueType references with WinAnsiEncoding, an inline descriptor and the widths measured at 12
// pixels per em (PDF Reference 1.3, 5.5.2 and 5.7).
#include <cmath>
#include <exception>

#include "pdf/pdf_canvas.h"
#include "pdf/pdf_fonts.h"

namespace qm {

namespace {

// The italic angle as a whole number of degrees, halves away from zero.
int64_t WholeDegrees(double angle) {
    if (!std::isfinite(angle) || std::fabs(angle) > 360.0) return 0;
    return std::lround(angle);
}

}  // namespace

int32_t TPDFCanvas::FindOrAddFont(std::string_view name, uint8_t style) {
    // Names compare byte for byte and styles in all four bits, so an underlined face is an
    // entry of its own.
    auto matches = [&](size_t i) { return fonts_[i].Style == style && fonts_[i].Name == name; };
    if (lastFontFound_ < fonts_.size() && matches(lastFontFound_))
        return static_cast<int32_t>(lastFontFound_ + 1);
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (matches(i)) {
            lastFontFound_ = i;
            return static_cast<int32_t>(i + 1);
        }
    }
    try {
        fonts_.push_back(TPDFFontEntry{std::string(name), style});
    } catch (const std::exception& e) {
        Fail(e.what());
        return 0;
    }
    return static_cast<int32_t>(fonts_.size());
}

void TPDFCanvas::WriteFontObjects() {
    for (const TPDFFontEntry& entry : fonts_) {
        WriteFontObject(entry);
        FlushStaged(false);
    }
}

void TPDFCanvas::WriteFontObject(const TPDFFontEntry& entry) {
    // Measured at 72 dots per inch and 12 points, in the default character set: 12 pixels per
    // em. A face the system lacks is measured with its substitute; /BaseFont keeps the name.
    const TFont font = selfont(entry.Name, 72, 100.0, 12.0, entry.Style, 1);
    const TOutlineMetrics metrics = OutlineMetrics(font);
    BeginDictObject();
    WriteLine("/Type /Font");
    WriteLine("/Subtype /TrueType");
    WriteLine("/Encoding /WinAnsiEncoding");
    WriteRaw("/BaseFont /");
    WriteLine(BaseFontName(entry.Name, entry.Style));
    WriteLine("/FontDescriptor <</Type/FontDescriptor");
    WriteRaw("/FontBBox[");
    if (metrics.HasOutline) {
        WriteNumber(ScaleToGlyphSpace(metrics.BoxLeft));
        WriteRaw(" ");
        WriteNumber(ScaleToGlyphSpace(metrics.BoxBottom));
        WriteRaw(" ");
        WriteNumber(ScaleToGlyphSpace(metrics.BoxRight));
        WriteRaw(" ");
        WriteNumber(ScaleToGlyphSpace(metrics.BoxTop));
        WriteLine("]");
        WriteRaw("/Flags 4/Ascent ");
        WriteNumber(ScaleToGlyphSpace(metrics.Ascent));
        WriteRaw("/Descent ");
        WriteNumber(ScaleToGlyphSpace(metrics.Descent));
        WriteRaw("/ItalicAngle ");
        WriteNumber(WholeDegrees(metrics.ItalicAngle));
        WriteLine(">>");
    } else {
        // Without outlines the box spans the origin and the widest character's cell.
        WriteRaw("0 ");
        WriteNumber(ScaleToGlyphSpace(metrics.CellHeight));
        WriteRaw(" ");
        WriteNumber(ScaleToGlyphSpace(metrics.MaxCharWidth));
        WriteLine(" 0]");
        WriteRaw("/Flags 4/Ascent ");
        WriteNumber(ScaleToGlyphSpace(metrics.TextAscent));
        WriteRaw("/Descent ");
        WriteNumber(ScaleToGlyphSpace(-metrics.TextDescent));
        WriteLine(">>");
    }
    WriteFontWidths(metrics);
    EndDictObject();
}

void TPDFCanvas::WriteFontWidths(const TOutlineMetrics& metrics) {
    WriteRaw("/FirstChar ");
    WriteNumber(metrics.FirstChar);
    EndLine();
    WriteRaw("/LastChar ");
    WriteNumber(metrics.LastChar);
    EndLine();
    WriteRaw("/Widths [");
    // An empty range (last below first) gives "/Widths [" directly followed by "]".
    for (int code = metrics.FirstChar; code <= metrics.LastChar; ++code) {
        WriteNumber(ScaleToGlyphSpace(metrics.Widths[static_cast<size_t>(code)]));
        WriteRaw(" ");
    }
    WriteLine("]");
}

}  // namespace qm
