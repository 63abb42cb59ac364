// The object of a simple WinAnsi font: a non-embedded TrueType reference with WinAnsiEncoding,
// an inline descriptor and the widths measured at 12 pixels per em (PDF Reference 1.3, 5.5.2 and
// 5.7).
#include <array>
#include <cmath>
#include <string>

#include "pdf/pdf_font_subset.h"
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

// The descriptor's last entries when the program is embedded: its name and its file.
struct TEmbedding {
    std::string FontName;
    int32_t FileObject = 0;
};

void EndDescriptor(TPDFObjectWriter& out, const TEmbedding* embedding) {
    if (embedding != nullptr) {
        out.WriteRaw("/FontName /");
        out.WriteRaw(embedding->FontName);
        out.WriteRaw("/FontFile2 ");
        out.WriteNumber(embedding->FileObject);
        out.WriteRaw(" 0 R");
    }
    out.WriteLine(">>");
}

void WriteDescriptor(TPDFObjectWriter& out, const TOutlineMetrics& metrics,
                     const TEmbedding* embedding) {
    out.WriteLine("/FontDescriptor <</Type/FontDescriptor");
    // Without outlines the box spans the origin and the widest character's cell, and the
    // ascent and descent are the text cell's.
    const bool outline = metrics.HasOutline;
    const std::array<int32_t, 4> box =
        outline ? std::array<int32_t, 4>{metrics.BoxLeft, metrics.BoxBottom, metrics.BoxRight,
                                         metrics.BoxTop}
                : std::array<int32_t, 4>{0, metrics.CellHeight, metrics.MaxCharWidth, 0};
    out.WriteRaw("/FontBBox[");
    for (size_t i = 0; i < box.size(); ++i) {
        if (i > 0) out.WriteRaw(" ");
        out.WriteNumber(ScaleToGlyphSpace(box[i]));
    }
    out.WriteLine("]");
    out.WriteRaw("/Flags 4/Ascent ");
    out.WriteNumber(ScaleToGlyphSpace(outline ? metrics.Ascent : metrics.TextAscent));
    out.WriteRaw("/Descent ");
    out.WriteNumber(ScaleToGlyphSpace(outline ? metrics.Descent : -metrics.TextDescent));
    if (outline) {
        out.WriteRaw("/ItalicAngle ");
        out.WriteNumber(WholeDegrees(metrics.ItalicAngle));
    }
    EndDescriptor(out, embedding);
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

TFont SimpleFontFace(std::string_view name, uint8_t style, uint8_t familyClass) {
    // Measured at 72 dots per inch and 12 points, in the default character set: 12 pixels per
    // em.
    return selfont(name, 72, 100.0, 12.0, style, 1, familyClass);
}

void WriteWinAnsiFontObject(TPDFObjectWriter& out, std::string_view name, uint8_t style,
                            uint8_t familyClass, const std::bitset<256>* embedded,
                            TFontPrograms* programs) {
    const TFont font = SimpleFontFace(name, style, familyClass);
    const TOutlineMetrics metrics = OutlineMetrics(font);
    std::string baseFont = BaseFontName(name, style);
    TFontSubset subset;
    TEmbedding embedding;
    if (embedded != nullptr && programs != nullptr) {
        // The glyphs the shown bytes map to, as measuring and drawing find them.
        std::vector<uint32_t> glyphs;
        std::vector<char32_t> codes;
        for (int b = 0; b < 256; ++b) {
            if (!embedded->test(static_cast<size_t>(b))) continue;
            codes.push_back(Cp1252ToUnicode(static_cast<uint8_t>(b)));
            glyphs.push_back(GlyphIndex(font, codes.back()));
        }
        subset = programs->Subset(font, glyphs, codes);
        if (subset.Format == TOutlineFormat::TrueType)
            baseFont = SubsetTag(name, glyphs) + baseFont;
    }
    const bool embeds = subset.Format == TOutlineFormat::TrueType;
    const int32_t number = out.BeginObject();
    out.WriteLine("<<");
    out.WriteLine("/Type /Font");
    out.WriteLine("/Subtype /TrueType");
    out.WriteLine("/Encoding /WinAnsiEncoding");
    out.WriteRaw("/BaseFont /");
    out.WriteLine(baseFont);
    embedding.FontName = baseFont;
    embedding.FileObject = number + 1;
    WriteDescriptor(out, metrics, embeds ? &embedding : nullptr);
    WriteWidths(out, metrics);
    out.EndDictObject();
    if (embedded == nullptr) return;
    // The table counted a file object for this font; a subset that failed leaves it empty.
    out.ObjectFinished();
    std::string extra = " /Length1 ";
    AppendInt(extra, static_cast<int64_t>(embeds ? subset.Bytes.size() : 0));
    WriteFontStream(out, embeds ? std::string_view(subset.Bytes) : std::string_view(), extra);
}

}  // namespace qm
