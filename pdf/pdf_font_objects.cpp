// The object of a simple WinAnsi font: a non-embedded TrueType reference with WinAnsiEncoding,
// an inline descriptor and the widths measured at 12 pixels per em (PDF Reference 1.3, 5.5.2 and
// 5.7).
#include <cmath>
#include <string>

#include "pdf/pdf_fonts.h"
#include "pdf/pdf_number.h"
#include "raster/font.h"

namespace qm {

namespace {

// The italic angle as a whole number of degrees, halves away from zero.
int64_t WholeDegrees(double angle) {
    if (!std::isfinite(angle) || std::fabs(angle) > 360.0) return 0;
    return std::lround(angle);
}

void WriteDescriptor(TPDFObjectWriter& out, const TOutlineMetrics& metrics) {
    out.WriteLine("/FontDescriptor <</Type/FontDescriptor");
    out.WriteRaw("/FontBBox[");
    if (metrics.HasOutline) {
        out.WriteNumber(ScaleToGlyphSpace(metrics.BoxLeft));
        out.WriteRaw(" ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.BoxBottom));
        out.WriteRaw(" ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.BoxRight));
        out.WriteRaw(" ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.BoxTop));
        out.WriteLine("]");
        out.WriteRaw("/Flags 4/Ascent ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.Ascent));
        out.WriteRaw("/Descent ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.Descent));
        out.WriteRaw("/ItalicAngle ");
        out.WriteNumber(WholeDegrees(metrics.ItalicAngle));
        out.WriteLine(">>");
    } else {
        // Without outlines the box spans the origin and the widest character's cell.
        out.WriteRaw("0 ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.CellHeight));
        out.WriteRaw(" ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.MaxCharWidth));
        out.WriteLine(" 0]");
        out.WriteRaw("/Flags 4/Ascent ");
        out.WriteNumber(ScaleToGlyphSpace(metrics.TextAscent));
        out.WriteRaw("/Descent ");
        out.WriteNumber(ScaleToGlyphSpace(-metrics.TextDescent));
        out.WriteLine(">>");
    }
}

void WriteWidths(TPDFObjectWriter& out, const TOutlineMetrics& metrics) {
    out.WriteRaw("/FirstChar ");
    out.WriteNumber(metrics.FirstChar);
    out.EndLine();
    out.WriteRaw("/LastChar ");
    out.WriteNumber(metrics.LastChar);
    out.EndLine();
    // One piece for the whole array: a font has up to 256 widths.
    std::string widths = "/Widths [";
    // An empty range (last below first) gives "/Widths [" directly followed by "]".
    for (int code = metrics.FirstChar; code <= metrics.LastChar; ++code) {
        AppendInt(widths, ScaleToGlyphSpace(metrics.Widths[static_cast<size_t>(code)]));
        widths += ' ';
    }
    widths += "]";
    out.WriteLine(widths);
}

}  // namespace

void WriteWinAnsiFontObject(TPDFObjectWriter& out, std::string_view name, uint8_t style) {
    // Measured at 72 dots per inch and 12 points, in the default character set: 12 pixels per
    // em.
    const TFont font = selfont(name, 72, 100.0, 12.0, style, 1);
    const TOutlineMetrics metrics = OutlineMetrics(font);
    out.BeginDictObject();
    out.WriteLine("/Type /Font");
    out.WriteLine("/Subtype /TrueType");
    out.WriteLine("/Encoding /WinAnsiEncoding");
    out.WriteRaw("/BaseFont /");
    out.WriteLine(BaseFontName(name, style));
    WriteDescriptor(out, metrics);
    WriteWidths(out, metrics);
    out.EndDictObject();
}

}  // namespace qm
