// The drawing operations: pen, brush and text state written only when it changes, lines,
// rectangles and text (PDF Reference 1.3, 4.3 and 5.3). Callers use whole points with y
// growing downward; with H the page height a point (x, y) is written as (x, H - y - 1).
#include <array>
#include <cmath>
#include <exception>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "pdf/pdf_canvas.h"
#include "pdf/pdf_number.h"

namespace qm {

namespace {

// A width or height of a grid rectangle, one step toward zero: the rectangle covering columns
// L..R-1 spans R - L - 1 points from its first to its last column.
int64_t StepTowardZero(int64_t extent) {
    return extent > 0 ? extent - 1 : extent + 1;
}

}  // namespace

std::string_view DashPatternLine(TPenStyle style) {
    switch (style) {
        case psDash:
            return "[3] 0 d";
        case psDot:
            return "[1] 0 d";
        case psDashDot:
            return "[3 1 1 1] 0 d";
        case psDashDotDot:
            return "[3 1 1 1 1 1] 0 d";
        case psClear:
            return {};
        case psSolid:
        case psInsideFrame:
        default:
            return "[ ] 0 d";
    }
}

void TPDFCanvas::ApplyPen() {
    if (penWritten_ && Pen == lastPen_) return;
    penClear_ = Pen.Style == psClear;
    if (!penClear_) {
        WriteLine(DashPatternLine(Pen.Style));
        // A negative width is not a PDF line width; the thinnest line stands in for it.
        WriteNumber(Pen.Width < 0 ? 0 : Pen.Width);
        WriteLine(" w");
        AppendColor(Target(), Pen.Color);
        WriteLine(" RG");
    }
    penWritten_ = true;
    lastPen_ = Pen;
}

void TPDFCanvas::ApplyBrush() {
    if (fillColorWritten_ && Brush == lastBrush_) return;
    brushClear_ = Brush.Style == bsClear;
    if (!brushClear_) {
        AppendColor(Target(), Brush.Color);
        WriteLine(" rg");
        streamFill_ = Brush.Color;
    }
    fillColorWritten_ = true;
    lastBrush_ = Brush;
}

void TPDFCanvas::SelectTextFont() {
    SelectTextFont(
        fonts_.FindOrAdd(Font.Name, Font.Style, TPDFFontKind::WinAnsi, Font.FamilyClass));
}

// The text colour as the fill colour, then font number `number` at Font.Size.
void TPDFCanvas::SelectTextFont(int32_t number) {
    if (!fillColorWritten_ || streamFill_ != Font.Color) {
        if (colorText_.empty() || colorTextOf_ != Font.Color) {
            colorText_.clear();
            AppendColor(colorText_, Font.Color);
            colorTextOf_ = Font.Color;
        }
        Target().append(colorText_);
        WriteLine(" rg");
        streamFill_ = Font.Color;
        lastBrush_.Color = Font.Color;
    }
    if (fontSelected_ && number == curFontNumber_ && Font.Size == curFontSize_) return;
    WriteRaw("/F");
    WriteNumber(number);
    WriteRaw(" ");
    WriteHundredths(std::llround(Font.Size * 100));
    WriteLine(" Tf");
    curFontNumber_ = number;
    curFontSize_ = Font.Size;
    fontSelected_ = true;
}

void TPDFCanvas::MoveTo(int32_t x, int32_t y) {
    if (!isOpen_) return;
    penPosX_ = x;
    penPosY_ = y;
}

void TPDFCanvas::LineTo(int32_t x, int32_t y) {
    if (!isOpen_) return;
    try {
        ApplyPen();
        if (!penClear_) {
            const int64_t h = PageHeight;
            WriteNumber(penPosX_);
            WriteRaw(" ");
            WriteNumber(h - penPosY_ - 1);
            WriteLine(" m");
            WriteNumber(x);
            WriteRaw(" ");
            WriteNumber(h - y - 1);
            WriteLine(" l");
            WriteLine("S");
        }
        penPosX_ = x;
        penPosY_ = y;
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void TPDFCanvas::WriteRectanglePath(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    WriteNumber(left);
    WriteRaw(" ");
    WriteNumber(int64_t{PageHeight} - bottom);
    WriteRaw(" ");
    WriteNumber(StepTowardZero(int64_t{right} - left));
    WriteRaw(" ");
    WriteNumber(StepTowardZero(int64_t{bottom} - top));
    WriteLine(" re");
}

void TPDFCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!isOpen_ || right == left || bottom == top) return;
    try {
        ApplyBrush();
        if (brushClear_) return;
        WriteRectanglePath(left, top, right, bottom);
        WriteLine("f");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void TPDFCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!isOpen_) return;
    if (Pen.Style == psClear) {
        FillRect(left, top, right, bottom);
        return;
    }
    if (right == left || bottom == top) return;
    try {
        ApplyPen();
        ApplyBrush();
        if (!brushClear_) {
            WriteRectanglePath(left, top, right, bottom);
            WriteLine("B");  // fill, then stroke the same path
            return;
        }
    } catch (const std::exception& e) {
        Fail(e.what());
        return;
    }
    if (penClear_) return;
    MoveTo(left, top);
    LineTo(right - 1, top);
    LineTo(right - 1, bottom - 1);
    LineTo(left, bottom - 1);
    LineTo(left, top);
}

void TPDFCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    TextOut(x, 0, y, text);
}

void TPDFCanvas::TextOut(int32_t x, int32_t xHundredths, int32_t y, std::string_view text) {
    if (!isOpen_) return;
    try {
        const int64_t ascent = TextAscent();
        WriteLine("BT");
        SelectTextFont();
        WriteOrigin(x, xHundredths);
        WriteRaw(" ");
        // The text origin (the baseline) sits the font's ascent below the cell's top, where the
        // preview puts it.
        WriteNumber(int64_t{PageHeight} - y - ascent);
        WriteRaw("  Td (");
        if (fonts_.EmbedAll()) fonts_.UseBytes(curFontNumber_, text);
        AppendEscapedPDFString(Target(), text);
        WriteLine(") Tj");
        WriteLine("ET");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

namespace {

// The end of the run of code points Windows-1252 holds that starts at start: start itself when
// the code point there lies beyond the code page.
size_t WinAnsiRunEnd(std::u32string_view text, size_t start) {
    uint8_t byte = 0;
    while (start < text.size() && Cp1252FromUnicode(text[start], byte))
        ++start;
    return start;
}

}  // namespace

void TPDFCanvas::TextOut(int32_t x, int32_t y, std::u32string_view text) {
    TextOut(x, 0, y, text);
}

void TPDFCanvas::TextOut(int32_t x, int32_t xHundredths, int32_t y, std::u32string_view text) {
    if (!isOpen_) return;
    try {
        int32_t pos = x;
        for (size_t start = 0; start < text.size();) {
            const size_t end = WinAnsiRunEnd(text, start);
            if (end == start) {
                pos += GlyphOut(pos, xHundredths, y, text[start++]);
                continue;
            }
            const std::string bytes = Cp1252Encode(text.substr(start, end - start));
            TextOut(pos, xHundredths, y, bytes);
            if (end < text.size()) pos += TextWidth(bytes);
            start = end;
        }
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void TPDFCanvas::WriteOrigin(int32_t x, int32_t xHundredths) {
    if (xHundredths <= 0 || xHundredths > 99) {
        WriteNumber(x);
        return;
    }
    WriteHundredths(int64_t{x} * 100 + xHundredths);
}

int32_t TPDFCanvas::GlyphOut(int32_t x, int32_t xHundredths, int32_t y, char32_t code) {
    const TResolvedGlyph glyph = ResolveGlyph(MeasureFont(), code);
    const int32_t number = fonts_.FindOrAddType0(glyph.Font, Font.Style);
    if (number == 0) {
        ++unembeddedGlyphs_;
        TextOut(x, xHundredths, y, std::string_view("?"));
        return TextWidth(std::string_view("?"));
    }
    fonts_.UseGlyph(number, glyph.Glyph, std::u32string_view(&glyph.Text, 1));
    // Placed as the simple font places its text: the baseline at Font's ascent.
    const int64_t ascent = TextAscent();
    WriteLine("BT");
    SelectTextFont(number);
    WriteOrigin(x, xHundredths);
    WriteRaw(" ");
    WriteNumber(int64_t{PageHeight} - y - ascent);
    WriteRaw("  Td <");
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        Target().push_back(kHex[(glyph.Glyph >> shift) & 15]);
    WriteLine("> Tj");
    WriteLine("ET");
    return qm::TextWidth(glyph.Font, std::u32string_view(&code, 1));
}

namespace {

// The text each glyph of a cluster stands for: the character the face maps to it, each character
// taken once; what is left over goes to the first glyph no character maps to (a ligature, a
// contextual form), and any further such glyph stands for nothing.
std::vector<std::u32string> GlyphTexts(const TFont& face, const TGlyphCluster& cluster) {
    std::vector<std::u32string> texts(cluster.Glyphs.size());
    std::vector<bool> used(cluster.Text.size(), false);
    for (size_t g = 0; g < cluster.Glyphs.size(); ++g) {
        for (size_t c = 0; c < cluster.Text.size(); ++c) {
            if (used[c] || GlyphIndex(face, cluster.Text[c]) != cluster.Glyphs[g].Glyph) continue;
            texts[g] = cluster.Text[c];
            used[c] = true;
            break;
        }
    }
    std::u32string rest;
    for (size_t c = 0; c < cluster.Text.size(); ++c)
        if (!used[c]) rest += cluster.Text[c];
    for (size_t g = 0; g < texts.size() && !rest.empty(); ++g) {
        if (!texts[g].empty()) continue;
        texts[g] = rest;
        rest.clear();
    }
    if (!rest.empty() && !texts.empty()) texts.back() += rest;
    return texts;
}

}  // namespace

void TPDFCanvas::WriteHundredths(int64_t hundredths) {
    WriteRaw(FormatQuotient(hundredths, 100, 18));
}

double TPDFCanvas::GlyphsOut(int32_t x, int32_t y, const TGlyphCluster& cluster) {
    if (!isOpen_ || !cluster.Face.Valid()) return 0;
    const TFont& font = MeasureFont();
    const TFont face(cluster.Face.Face(), font.Height(), font.Weight() > 400, font.Italic(),
                     font.StrikeOut(), font.Charset());
    const double em = font.PixelSize();
    double advance = 0;
    for (const TShapedGlyph& g : cluster.Glyphs)
        advance += g.Advance * em;
    try {
        const int32_t number = fonts_.FindOrAddType0(face, Font.Style);
        if (number == 0) {
            unembeddedGlyphs_ += static_cast<int32_t>(cluster.Text.size());
            TextOut(x, y, std::string(cluster.Text.size(), '?'));
            return advance;
        }
        const std::vector<std::u32string> texts = GlyphTexts(face, cluster);
        WriteLine("BT");
        SelectTextFont(number);
        // The baseline sits at Font's ascent, as for the simple fonts' text.
        const double baseline = double(PageHeight) - y - TextAscent();
        double pen = x;
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (size_t i = 0; i < cluster.Glyphs.size(); ++i) {
            const TShapedGlyph& g = cluster.Glyphs[i];
            fonts_.UseGlyph(number, g.Glyph, texts[i]);
            WriteRaw("1 0 0 1 ");
            WriteHundredths(std::llround((pen + g.OffsetX * em) * 100));
            WriteRaw(" ");
            WriteHundredths(std::llround((baseline + g.OffsetY * em) * 100));
            WriteRaw(" Tm <");
            for (int shift = 12; shift >= 0; shift -= 4)
                Target().push_back(kHex[(g.Glyph >> shift) & 15]);
            WriteLine("> Tj");
            pen += g.Advance * em;
        }
        WriteLine("ET");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    return advance;
}

int32_t TPDFCanvas::GlyphWidth(char32_t code) {
    const TResolvedGlyph glyph = ResolveGlyph(MeasureFont(), code);
    if (!fonts_.CanEmbed(glyph.Font)) return TextWidth(std::string_view("?"));
    return qm::TextWidth(glyph.Font, std::u32string_view(&code, 1));
}

const TFont& TPDFCanvas::MeasureFont() {
    if (!measureValid_ || measureKey_.Size != Font.Size || measureKey_.Style != Font.Style ||
        measureKey_.Charset != Font.Charset || measureKey_.FamilyClass != Font.FamilyClass ||
        measureKey_.Name != Font.Name) {
        // 72 dots per inch: a size in points is a size in device units.
        measureFont_ =
            selfont(Font.Name, 72, 100.0, Font.Size, Font.Style, Font.Charset, Font.FamilyClass);
        measureKey_ = Font;
        measureHeight_ = qm::TextHeight(measureFont_, "X");
        measureAscent_ = FontMetrics(measureFont_).Ascent;
        measureValid_ = true;
    }
    return measureFont_;
}

int32_t TPDFCanvas::TextAscent() {
    try {
        MeasureFont();
        return measureAscent_;
    } catch (const std::exception&) {
        return 0;
    }
}

int32_t TPDFCanvas::TextWidth(std::string_view text) {
    try {
        return qm::TextWidth(MeasureFont(), text);
    } catch (const std::exception&) {
        return 0;
    }
}

int32_t TPDFCanvas::TextHeight(std::string_view text) {
    try {
        // The height of a text is the font's cell height, whatever the characters.
        MeasureFont();
        return text.empty() ? qm::TextHeight(measureFont_, text) : measureHeight_;
    } catch (const std::exception&) {
        return 0;
    }
}

int32_t TPDFCanvas::TextWidth(std::u32string_view text) {
    try {
        int32_t width = 0;
        for (size_t start = 0; start < text.size();) {
            const size_t end = WinAnsiRunEnd(text, start);
            if (end == start) {
                width += GlyphWidth(text[start++]);
                continue;
            }
            width += TextWidth(Cp1252Encode(text.substr(start, end - start)));
            start = end;
        }
        return width;
    } catch (const std::exception&) {
        return 0;
    }
}

int32_t TPDFCanvas::TextHeight(std::u32string_view text) {
    return text.empty() ? TextHeight(std::string_view()) : TextHeight(std::string_view("X"));
}

namespace {

// What each byte becomes inside a literal string (PDF Reference 1.3, 3.2.3).
struct TEscapeTable {
    std::array<std::string, 256> Text;
    TEscapeTable() {
        static constexpr char kOctal[] = "01234567";
        for (int c = 0; c < 256; ++c) {
            if (c < 32) {
                Text[c] = {'\\', kOctal[c >> 6], kOctal[(c >> 3) & 7], kOctal[c & 7]};
            } else {
                Text[c] = std::string(1, static_cast<char>(c));
            }
        }
        Text['\\'] = "\\\\";
        Text['('] = "\\(";
        Text[')'] = "\\)";
        Text[8] = "\\b";
        Text[9] = "\\t";
        Text[10] = "\\n";
        Text[12] = "\\f";
        Text[13] = "\\r";
    }
};

}  // namespace

void AppendEscapedPDFString(std::string& out, std::string_view text) {
    static const TEscapeTable table;
    for (const char ch : text) {
        const auto c = static_cast<uint8_t>(ch);
        if (c >= 32 && c != '\\' && c != '(' && c != ')') {
            out.push_back(ch);
        } else {
            out.append(table.Text[c]);
        }
    }
}

std::string EscapePDFString(std::string_view text) {
    std::string out;
    AppendEscapedPDFString(out, text);
    return out;
}

}  // namespace qm
