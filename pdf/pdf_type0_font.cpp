// The objects of a Type 0 font of one face: a composite font with Identity-H encoding whose
// CIDFont embeds a subset of the face's program, and a ToUnicode CMap for text extraction (PDF
// Reference 1.3, 5.6 and 5.9).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pdf/pdf_deflate.h"
#include "pdf/pdf_font_subset.h"
#include "pdf/pdf_font_table.h"
#include "pdf/pdf_fonts.h"
#include "pdf/pdf_number.h"
#include "raster/glyph_shapes.h"

namespace qm {

namespace {

// bfchar blocks hold at most 100 mappings.
constexpr size_t kCMapBlock = 100;

void AppendHex4(std::string& out, uint32_t value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(value >> shift) & 15]);
}

// The text a glyph stands for in UTF-16BE: a code point above the Basic Multilingual Plane as
// a surrogate pair; one that is not a character as U+FFFD.
void AppendUtf16Hex(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    if (code >= 0x10000) {
        const uint32_t v = static_cast<uint32_t>(code) - 0x10000;
        AppendHex4(out, 0xD800 + (v >> 10));
        AppendHex4(out, 0xDC00 + (v & 0x3FF));
    } else {
        AppendHex4(out, static_cast<uint32_t>(code));
    }
}

std::string ToUnicodeCMap(const TPDFFontEntry& entry) {
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // Glyphs without a text of their own extract as nothing.
    std::vector<std::pair<uint32_t, const std::u32string*>> mapped;
    for (const auto& [glyph, text] : entry.Glyphs)
        if (!text.empty()) mapped.emplace_back(glyph, &text);
    for (size_t done = 0; done < mapped.size();) {
        const size_t block = std::min(mapped.size() - done, kCMapBlock);
        AppendInt(cmap, static_cast<int64_t>(block));
        cmap += " beginbfchar\n";
        for (size_t i = done; i < done + block; ++i) {
            cmap += '<';
            AppendHex4(cmap, mapped[i].first);
            cmap += "> <";
            for (const char32_t code : *mapped[i].second)
                AppendUtf16Hex(cmap, code);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
        done += block;
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

}  // namespace

void WriteFontStream(TPDFObjectWriter& out, std::string_view data, std::string_view extra) {
    TDeflater deflater;
    std::string packed;
    out.BeginObject();
    if (!deflater.Compress(data, packed)) {
        out.Fail("error");
        return;
    }
    out.WriteRaw("<< /Length ");
    out.WriteNumber(static_cast<int64_t>(packed.size()));
    out.WriteRaw(" /Filter /FlateDecode");
    out.WriteRaw(extra);
    out.WriteLine(" >>");
    out.WriteLine("stream");
    out.WriteRaw(packed);
    out.WriteLine("\nendstream");
    out.EndObject();
}

namespace {

int64_t GlyphSpace(int32_t designUnits, int32_t unitsPerEm) {
    if (unitsPerEm <= 0) return 0;
    return std::llround(static_cast<double>(designUnits) * 1000.0 / unitsPerEm);
}

void WriteWidths(TPDFObjectWriter& out, const TPDFFontEntry& entry) {
    const int32_t unitsPerEm = UnitsPerEm(entry.Face);
    std::string widths = "/W [";
    for (const auto& [glyph, text] : entry.Glyphs) {
        AppendInt(widths, glyph);
        widths += " [";
        AppendInt(widths, GlyphSpace(DesignAdvance(entry.Face, glyph), unitsPerEm));
        widths += "] ";
    }
    widths += "]";
    out.WriteLine(widths);
}

void WriteDescriptor(TPDFObjectWriter& out, const TPDFFontEntry& entry, const std::string& fontName,
                     const TFontSubset& subset, int32_t fileObject) {
    // At 1000 pixels per em the metrics are in glyph space already.
    const TFont em(entry.Face.Face(), -1000, entry.Face.Weight() >= 700, entry.Face.Italic(), false,
                   entry.Face.Charset());
    const TOutlineMetrics metrics = OutlineMetrics(em);
    out.BeginObject();
    out.WriteLine("<<");
    out.WriteLine("/Type /FontDescriptor");
    out.WriteRaw("/FontName /");
    out.WriteLine(fontName);
    // Symbolic: the glyphs are named by id, not by a standard character set.
    out.WriteRaw("/Flags 4/FontBBox [");
    out.WriteNumber(metrics.BoxLeft);
    out.WriteRaw(" ");
    out.WriteNumber(metrics.BoxBottom);
    out.WriteRaw(" ");
    out.WriteNumber(metrics.BoxRight);
    out.WriteRaw(" ");
    out.WriteNumber(metrics.BoxTop);
    out.WriteRaw("]/ItalicAngle ");
    out.WriteNumber(std::isfinite(metrics.ItalicAngle) ? std::lround(metrics.ItalicAngle) : 0);
    out.WriteRaw("/Ascent ");
    out.WriteNumber(metrics.Ascent);
    out.WriteRaw("/Descent ");
    out.WriteNumber(metrics.Descent);
    out.WriteRaw("/CapHeight ");
    out.WriteNumber(metrics.CapHeight > 0 ? metrics.CapHeight : metrics.Ascent);
    out.WriteLine("/StemV 80");
    if (subset.Format != TOutlineFormat::None) {
        out.WriteRaw(subset.Format == TOutlineFormat::TrueType ? "/FontFile2 " : "/FontFile3 ");
        out.WriteNumber(fileObject);
        out.WriteLine(" 0 R");
    }
    out.EndDictObject();
}

}  // namespace

std::string SubsetTag(std::string_view name, const std::vector<uint32_t>& glyphs) {
    // FNV-1a over the name and the glyph ids, six base-26 digits of it.
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](uint64_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (const char ch : name)
        mix(static_cast<uint8_t>(ch));
    for (const uint32_t glyph : glyphs) {
        for (int shift = 0; shift < 32; shift += 8)
            mix((glyph >> shift) & 0xFF);
    }
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag.push_back(static_cast<char>('A' + hash % 26));
        hash /= 26;
    }
    return tag + "+";
}

void WriteType0FontObjects(TPDFObjectWriter& out, const TPDFFontEntry& entry,
                           TFontPrograms& programs) {
    std::vector<uint32_t> glyphs;
    for (const auto& [glyph, text] : entry.Glyphs)
        glyphs.push_back(glyph);
    const TFontSubset subset = programs.SubsetShown(entry.Face, entry.Glyphs);
    const std::string fontName =
        SubsetTag(entry.Name, glyphs) + BaseFontName(entry.Name, entry.Style);
    const bool cff =
        subset.Format == TOutlineFormat::Cff || subset.Format == TOutlineFormat::CidCff;

    const int32_t first = out.BeginObject();
    out.WriteLine("<<");
    out.WriteLine("/Type /Font");
    out.WriteLine("/Subtype /Type0");
    out.WriteRaw("/BaseFont /");
    out.WriteLine(fontName);
    out.WriteLine("/Encoding /Identity-H");
    out.WriteRaw("/DescendantFonts [");
    out.WriteNumber(first + 1);
    out.WriteLine(" 0 R]");
    out.WriteRaw("/ToUnicode ");
    out.WriteNumber(first + 4);
    out.WriteLine(" 0 R");
    out.EndDictObject();

    // Compact font format outlines are addressed by CID through the program's own charset
    // (kept in a CIDFont's renumbered subset); the faces met here number their CIDs as their
    // glyphs.
    out.BeginObject();
    out.WriteLine("<<");
    out.WriteLine("/Type /Font");
    out.WriteLine(cff ? "/Subtype /CIDFontType0" : "/Subtype /CIDFontType2");
    out.WriteRaw("/BaseFont /");
    out.WriteLine(fontName);
    out.WriteLine("/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>");
    out.WriteRaw("/FontDescriptor ");
    out.WriteNumber(first + 2);
    out.WriteLine(" 0 R");
    if (!cff) out.WriteLine("/CIDToGIDMap /Identity");
    WriteWidths(out, entry);
    out.EndDictObject();

    WriteDescriptor(out, entry, fontName, subset, first + 3);
    out.ObjectFinished();
    std::string extra;
    if (subset.Format == TOutlineFormat::TrueType) {
        extra = " /Length1 ";
        AppendInt(extra, static_cast<int64_t>(subset.Bytes.size()));
    } else if (subset.Format == TOutlineFormat::Cff) {
        extra = " /Subtype /OpenType";
    } else if (subset.Format == TOutlineFormat::CidCff) {
        extra = " /Subtype /CIDFontType0C";
    }
    WriteFontStream(out, subset.Bytes, extra);
    out.ObjectFinished();
    WriteFontStream(out, ToUnicodeCMap(entry), {});
}

}  // namespace qm
