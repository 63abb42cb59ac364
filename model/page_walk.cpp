#include "model/page_walk.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "model/layout.h"
#include "model/row_widths.h"
#include "model/visual_order.h"
#include "raster/font.h"

namespace qm {

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGuideGrey = 0xC0C0C0;

// Pen width of a border or frame: Round(points * units per point), at least 1 unless the
// width is 0.
int32_t PenWidth(double points, double unitsPerPoint) {
    int32_t pen = TruncUnits(std::nearbyint(points * unitsPerPoint));
    if (pen < 1 && points != 0) pen = 1;
    return pen;
}

}  // namespace

int32_t TruncUnits(double value) {
    // Quirk: damaged documents can carry lengths far outside any page. Device coordinates are
    // clamped to +-2^26 units (over 700 metres at 96 dpi), so that the few of them the walk
    // adds up can never overflow 32 bits; NaN counts as 0.
    constexpr double kMaxUnits = 1 << 26;
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::clamp(value, -kMaxUnits, kMaxUnits));
}

TWalkGeometry PreviewGeometry(const TDocument& doc, double screenDpi) {
    TWalkGeometry g;
    g.Dpi = screenDpi;
    g.Zoom = doc.Zoom;
    g.OffX = g.OffY = 16;
    g.EdgeX = 1;
    g.EdgeY = 2;
    g.PageW = TruncUnits(doc.Zoom * (screenDpi * doc.PageWidthPx / doc.PrinterDPI) / 100);
    g.PageH = TruncUnits(doc.PageHeightPx * screenDpi / doc.PrinterDPI * doc.Zoom / 100);
    g.Guides = true;
    g.RowScalings = 1;
    return g;
}

TWalkGeometry PdfGeometry(const TDocument& doc) {
    TWalkGeometry g;
    g.Dpi = 72.0;
    g.Zoom = 100.0;
    g.PageW = TruncUnits(doc.PageWidthPx * 72.0 / doc.PrinterDPI * 100 / 100);
    g.PageH = TruncUnits(doc.PageHeightPx * 72.0 / doc.PrinterDPI * 100 / 100);
    return g;
}

TTextRunStyle MakeTextRunStyle(uint16_t attrib, int32_t color, double size, int32_t shadowColor) {
    TTextRunStyle style;
    style.UnderlineKind = (attrib & kAttribDoubleUnderline) ? 2
                          : (attrib & kAttribUnderline)     ? 1
                                                            : 0;
    style.Shadow = (attrib & kAttribShadow) ? 1 : 0;
    style.Color = color;
    style.ShadowColor = shadowColor;
    style.Size = size;
    return style;
}

// Per-line results shared by the steps of one line.
struct TPageWalk::TLineBox {
    double X = 0;          // mm from the field's left edge: column, margin, table and cell offset
    double CellRight = 0;  // mm, table cells only
    double LineHeightMm = 0;
    int32_t LineHeightPx = 0;
    int32_t AlignOffset = 0;
    double Extra = 0;  // justification: extra width of each counted space, mm
};

TPageWalk::TPageWalk(const TDocument& doc, TPageSurface& surface, const TWalkGeometry& geometry)
    : doc_(doc),
      surface_(surface),
      geo_(geometry),
      mmPerUnit_(kMmPerInch / geometry.Dpi / geometry.Zoom * 100),
      unitsPerPoint_(geometry.Zoom * (geometry.Dpi / 72) / 100) {}

int32_t TPageWalk::R(double mm) const {
    return TruncUnits(std::nearbyint(mm / mmPerUnit_));
}

void TPageWalk::DrawPageFields(int32_t page) {
    page_ = page;
    pages_ = doc_.GetAnzPages();
    surface_.SelectFont(doc_.DefFontName, doc_.DefFontSize, doc_.DefStyle, doc_.DefCharset,
                        kFamilyUnknown);
    fontFace_.clear();
    charFont_ = -1;
    runStyle_ = MakeTextRunStyle(doc_.DefAttrib, doc_.DefColor, doc_.DefFontSize, doc_.DefColor2);
    for (int32_t i = 0; i < doc_.FieldCount(); ++i) {
        const TFieldRec& f = doc_.Fields[i];
        if (f.Kind == kFieldBody && f.PageNo == page) DrawField(i);
    }
    for (int32_t i = 0; i < doc_.FieldCount(); ++i) {
        const TFieldRec& f = doc_.Fields[i];
        if ((f.Kind == kFieldHeader || f.Kind == kFieldFooter) &&
            istOnAllPagesGedeckt(f.PageSel, f.PageNo, page))
            DrawField(i);
    }
}

TPageWalk::TFieldBox TPageWalk::FieldRectangle(const TFieldRec& f) const {
    const int32_t x0 = geo_.OffX + geo_.EdgeX;
    const int32_t y0 = geo_.OffY + geo_.EdgeY;
    TFieldBox box;
    box.Left = x0 + T(f.Left);
    box.Top =
        (f.TopFromBottom && f.BottomFromBottom) ? y0 + geo_.PageH - T(f.Top) - 1 : y0 + T(f.Top);
    box.Right = f.RightFromRight ? x0 + geo_.PageW - T(f.Right) - 1 : x0 + T(f.Right);
    box.Bottom = f.BottomFromBottom ? y0 + geo_.PageH - T(f.Bottom) - 1 : y0 + T(f.Bottom);
    box.InnerWidth = FieldInnerWidth(doc_, f);
    return box;
}

void TPageWalk::DrawFieldFrame(const TFieldRec& f, const TFieldBox& box) {
    const TRect rect{box.Left, box.Top, box.Right, box.Bottom};
    if (!(f.Transparent && f.BackColor == kWhite))
        surface_.FillRect(rect, f.BackColor, TFillKind::Content);
    if (f.BorderWidth != 0) {
        surface_.FrameRect(rect, f.BorderColor, PenWidth(f.BorderWidth, unitsPerPoint_));
    } else if (geo_.Guides) {
        const int32_t l = box.Left + R(f.MarginLeft);
        const int32_t t = box.Top + R(f.MarginTop);
        const int32_t r = box.Right - R(f.MarginRight);
        const int32_t b = box.Bottom - R(f.MarginBottom);
        surface_.Line(l, t, r, t, kGuideGrey, 1);
        surface_.Line(l, b, r, b, kGuideGrey, 1);
        surface_.Line(l, t, l, b, kGuideGrey, 1);
        surface_.Line(r, t, r, b, kGuideGrey, 1);
    }
}

void TPageWalk::DrawField(int32_t fieldIndex) {
    const TFieldRec& f = doc_.Fields[fieldIndex];
    const TFieldBox box = FieldRectangle(f);
    DrawFieldFrame(f, box);
    if (geo_.Guides) {
        // Text may run into the left, top and right margins but not into the bottom one.
        const TRect clip{box.Left, box.Top, box.Right, box.Bottom - R(f.MarginBottom)};
        surface_.SetClip(&clip);
    }
    q_ = f.MarginTop;
    cellWidths_.clear();
    for (const TLineRec& line : f.Lines)
        cellWidths_.push_back(line.CellWidth);
    for (int32_t pass = 0; pass < geo_.RowScalings; ++pass)
        ScaleRows(f, box.InnerWidth);
    for (int32_t j = 0; j < doc_.Fields[fieldIndex].LineCount(); ++j)
        DrawLine(fieldIndex, j, box);
    if (geo_.Guides) surface_.SetClip(nullptr);
}

bool TPageWalk::StartsParagraph(int32_t fieldIndex, int32_t lineIndex) const {
    const TLineRec& line = doc_.Fields[fieldIndex].Lines[lineIndex];
    // The previous line of the flow: the line before, or for a table cell the same cell of
    // the row before.
    int32_t f = fieldIndex;
    int32_t l = lineIndex - std::max(line.CellsInRow, 1);
    doc_.GoToLine(f, l);
    if (l < 0 || l >= doc_.Fields[f].LineCount()) return true;
    const TLineRec& prev = doc_.Fields[f].Lines[l];
    return prev.EndKind == 1 || prev.EndKind == 3 || line.RowStart || prev.RowEnd;
}

void TPageWalk::DrawLine(int32_t fieldIndex, int32_t lineIndex, const TFieldBox& box) {
    const TFieldRec& field = doc_.Fields[fieldIndex];
    const TLineRec& line = field.Lines[lineIndex];
    const TParaFormat& para = line.Para;
    surface_.BeforeLine(page_, pages_, lineIndex, field.LineCount());

    TLineBox lb;
    if (line.SpaceAbove > 0) q_ += line.SpaceAbove;
    lb.LineHeightMm = line.LineHeight;
    lb.LineHeightPx = T(line.LineHeight);
    const bool paraStart = StartsParagraph(fieldIndex, lineIndex);
    // A right-to-left paragraph indents its first line from the right edge, its start.
    const bool rightToLeft = para.RightToLeft != 0;
    const double firstIndent = paraStart ? para.FirstLineIndent : 0;
    w_ = para.LeftIndent + (rightToLeft ? 0 : firstIndent);

    double lineWidth = w_;
    int32_t spaces = 0;
    for (int32_t i = 0; i < line.CharCount(); ++i) {
        const TCharRec& ch = line.Chars[i];
        lineWidth += ch.Width;
        if (ch.Kind == 0 && ch.Code == 32 && i != line.CharCount() - 1) ++spaces;
    }

    double a = LineColumnWidth(line, box.InnerWidth);
    if (line.ColumnCount < 2) {
        lb.X = 0;
    } else {
        q_ -= line.ColumnYBack;
        lb.X = line.ColumnX;
        if (line.ColumnSeparator > 0 && line.ColumnIndex < line.ColumnsUsed) {
            const int32_t x =
                box.Left + T(line.ColumnX + a + field.MarginLeft + line.ColumnSpacing / 2);
            surface_.Line(x, box.Top + T(q_), x,
                          box.Top + TruncUnits(q_ / mmPerUnit_ + lb.LineHeightPx) + 1, 0,
                          TruncUnits(unitsPerPoint_ * 0.75));
        }
    }
    lb.X += field.MarginLeft;

    if (line.InTable) PlaceCell(field, lineIndex, a, lb);

    const bool hasLabel = paraStart && (para.ListKind == 2 || para.ListKind == 3);
    if (hasLabel) lineWidth += para.ListIndent;
    a -= para.RightIndent;
    if (rightToLeft) a -= firstIndent;
    const int32_t availPx = T(a);
    const int32_t widthPx = T(lineWidth);
    switch (para.Align) {
        case 1:
            lb.AlignOffset = (availPx - widthPx) / 2;
            break;
        case 2:
            lb.AlignOffset = availPx - widthPx;
            break;
        case 3: {
            int32_t f = fieldIndex;
            int32_t l = lineIndex + 1;
            doc_.GoToLine(f, l);
            const bool hasNext = l >= 0 && l < doc_.Fields[f].LineCount();
            if (line.EndKind == 0 && spaces > 0 && hasNext) {
                lb.Extra = (a - lineWidth) / spaces;
            } else if (rightToLeft) {
                lb.AlignOffset = availPx - widthPx;  // a line left unjustified keeps to its start
            }
            break;
        }
        default:
            break;
    }
    w_ += lb.X;

    if (line.InTable) DrawCellDesign(line, lb, box);
    if (!line.InTable) DrawParagraphBorders(line, paraStart, lb, box, a, firstIndent);
    if (para.ShadeColor >= 0 && !line.InTable) {
        // A shaded paragraph's lines are filled between its indents.
        const double left = lb.X + para.LeftIndent + std::min(0.0, firstIndent);
        surface_.FillRect({box.Left + T(left), box.Top + T(q_), box.Left + T(lb.X + a),
                           box.Top + TruncUnits(q_ / mmPerUnit_ + lb.LineHeightPx)},
                          para.ShadeColor, TFillKind::Content);
    }
    // A right-to-left paragraph's label stands at its start too: right of the text.
    if (hasLabel && !rightToLeft) DrawListLabel(line, lb, box);
    DrawChars(line, lb, box);
    if (hasLabel && rightToLeft) DrawListLabel(line, lb, box);

    if (line.CellsInRow < 2 || line.CellIndex == line.CellsInRow - 1) {
        q_ += line.LineHeight;
        if (line.SpaceBelow > 0) q_ += line.SpaceBelow;
        if (line.ColumnCount > 1) q_ += line.ColumnYForward;
    } else {
        // All cells of a row start at the same height.
        q_ -= line.SpaceAbove;
    }
}

void TPageWalk::PlaceCell(const TFieldRec& field, int32_t lineIndex, double& a, TLineBox& lb) {
    const TRowFit place = FitRow(field.Lines[lineIndex], a);
    lb.X += place.Indent;
    const TRowSpan span = RowSpanOf(field, lineIndex);
    const std::span<double> widths(cellWidths_.data() + span.First, cellWidths_.data() + span.Last);
    const double sum = ShareSum(widths);
    const int32_t cell = lineIndex - span.First;
    for (int32_t k = 0; k < cell; ++k)
        lb.X += place.Width * widths[k] / sum;
    lb.CellRight = lb.X + place.Width * widths[cell] / sum;
    a = place.Width * widths[cell] / sum;
    // Each cell scales its row's widths to its own row width (for settled widths a rounding
    // step), and the cells after it take their places from those.
    ScaleRowWidths(widths, place.Width, sum);
}

void TPageWalk::ScaleRows(const TFieldRec& field, double innerWidth) {
    TLineBox unused;
    for (int32_t j = 0; j < field.LineCount(); ++j) {
        if (!field.Lines[j].InTable) continue;
        double a = LineColumnWidth(field.Lines[j], innerWidth);
        PlaceCell(field, j, a, unused);
    }
}

void TPageWalk::DrawCellDesign(const TLineRec& line, const TLineBox& lb, const TFieldBox& box) {
    const TCellDesign& d = line.CellDesign;
    const int32_t cl = box.Left + T(lb.X);
    const int32_t cr = box.Left + T(lb.CellRight);
    const int32_t y0 = box.Top + T(q_ - line.SpaceAbove);
    const int32_t y1 = box.Top + TruncUnits((q_ + line.SpaceBelow) / mmPerUnit_ + lb.LineHeightPx);
    if (!(d.ShadeTransparent && d.ShadeColor == kWhite))
        surface_.FillRect({cl, y0, cr + 1, y1 + 1}, d.ShadeColor, TFillKind::Content);

    enum { kLeft = 0, kTop = 1, kBottom = 2, kRight = 3 };
    auto draw = [&](int side, auto rectFor) {
        int32_t pen;
        int32_t color;
        if (d.BorderOn[side]) {
            pen = PenWidth(d.BorderWidth[side], unitsPerPoint_);
            color = d.BorderColor[side];
        } else if (geo_.Guides) {
            pen = 1;
            color = kGuideGrey;
        } else {
            return;  // borders that are off leave no trace outside the preview
        }
        surface_.FillRect(rectFor(pen), color, TFillKind::Rule);
    };
    if (line.RowStart) draw(kTop, [&](int32_t p) { return TRect{cl, y0, cr + 1, y0 + p}; });
    draw(kLeft, [&](int32_t p) { return TRect{cl, y0, cl + p, y1 + 1}; });
    draw(kRight, [&](int32_t p) { return TRect{cr - p + 1, y0, cr + 1, y1 + 1}; });
    if (line.RowEnd)
        draw(kBottom, [&](int32_t p) { return TRect{cl, y1 - p + 1, cr + 1, y1 + 1}; });
}

void TPageWalk::DrawParagraphBorders(const TLineRec& line, bool paraStart, const TLineBox& lb,
                                     const TFieldBox& box, double right, double firstIndent) {
    const TParaFormat& para = line.Para;
    enum { kTop, kLeft, kBottom, kRight };
    const bool paraEnd = line.EndKind == 1 || line.EndKind == 3;
    const int32_t l = box.Left + T(lb.X + para.LeftIndent + std::min(0.0, firstIndent));
    const int32_t r = box.Left + T(lb.X + right);
    const int32_t t = box.Top + T(q_);
    const int32_t b = box.Top + TruncUnits(q_ / mmPerUnit_ + lb.LineHeightPx);
    auto rule = [&](int side, bool show, auto rectFor) {
        if (!show || para.BorderWidth[side] <= 0) return;
        const int32_t pen = PenWidth(para.BorderWidth[side], unitsPerPoint_);
        surface_.FillRect(rectFor(pen), para.BorderColor[side], TFillKind::Rule);
    };
    // The frame runs down the sides of every line; its top closes the first line, its bottom
    // the last.
    rule(kTop, paraStart, [&](int32_t p) { return TRect{l, t, r + 1, t + p}; });
    rule(kLeft, true, [&](int32_t p) { return TRect{l, t, l + p, b + 1}; });
    rule(kRight, true, [&](int32_t p) { return TRect{r - p + 1, t, r + 1, b + 1}; });
    rule(kBottom, paraEnd, [&](int32_t p) { return TRect{l, b - p + 1, r + 1, b + 1}; });
}

void TPageWalk::SelectCharFont(const TFontRec& font, uint8_t style, uint16_t attrib) {
    charFont_ = -1;
    const double size = TDocument::ReducedSize(font);
    if (font.Name != fontFace_ || size != fontSize_ || style != fontStyle_ ||
        font.Charset != fontCharset_ || font.FamilyClass != fontFamilyClass_) {
        surface_.SelectFont(font.Name, size, style, font.Charset, font.FamilyClass);
        fontFace_ = font.Name;
        fontFamilyClass_ = font.FamilyClass;
        fontSize_ = size;
        fontStyle_ = style;
        fontCharset_ = font.Charset;
    }
    runStyle_ = MakeTextRunStyle(attrib, font.Color, size, font.Color2);
}

void TPageWalk::DrawListLabel(const TLineRec& line, const TLineBox& lb, const TFieldBox& box) {
    const bool given = line.Para.ListKind == 3;
    int32_t fontIndex = line.CharCount() > 0 ? line.Chars[0].FontIndex : -1;
    if (given && line.Para.ListFont >= 0) fontIndex = line.Para.ListFont;
    const TFontRec font = fontIndex >= 0 && fontIndex < doc_.FontCount() ? doc_.Fonts[fontIndex]
                                                                         : doc_.DefaultFontRec();
    SelectCharFont(font, font.Style, font.Attrib);
    const std::string digits = std::to_string(line.Para.ListNumber) + ".";
    const std::u32string label =
        given ? line.Para.ListLabel : std::u32string(digits.begin(), digits.end());
    const double shift = given ? line.Para.ListShift : 0;
    const int32_t x = TruncUnits((w_ + shift) / mmPerUnit_ + box.Left + lb.AlignOffset);
    const int32_t y =
        TruncUnits((q_ + lb.LineHeightMm) / mmPerUnit_ + box.Top) - surface_.TextHeight(label);
    if (!label.empty()) surface_.DrawTextRun(x, y, label, runStyle_);
    w_ += line.Para.ListIndent;
}

void TPageWalk::DrawChars(const TLineRec& line, const TLineBox& lb, const TFieldBox& box) {
    // A space counts for justification unless it ends the line as stored.
    auto counted = [&](int32_t i) {
        const TCharRec& ch = line.Chars[i];
        return ch.Kind == 0 && ch.Code == 32 && i != line.CharCount() - 1;
    };
    // A soft hyphen shows only where the line breaks at it.
    const int32_t shownHyphen = line.EndKind == 0 ? line.CharCount() - 1 : -1;
    auto draw = [&](int32_t i, char32_t code) {
        const TCharRec& ch = line.Chars[i];
        if (ch.Kind == 0 && ch.Code == kSoftHyphen) {
            if (i != shownHyphen) return;
            code = '-';
        }
        if (code == ch.Code) {
            DrawChar(ch, counted(i), lb, box);
            return;
        }
        TCharRec shown = ch;
        shown.Code = code;
        DrawChar(shown, counted(i), lb, box);
    };
    const std::vector<TVisualChar> order = VisualOrder(line.Chars, line.Para.RightToLeft != 0);
    if (order.empty()) {
        for (int32_t i = 0; i < line.CharCount(); ++i)
            draw(i, line.Chars[i].Code);
        return;
    }
    // The positions advance from left to right along the visual order, so the line keeps its
    // width and alignment.
    for (const TVisualChar& v : order)
        draw(v.Index, v.Code);
}

void TPageWalk::DrawChar(const TCharRec& ch, bool countedSpace, const TLineBox& lb,
                         const TFieldBox& box) {
    if (ch.FontIndex < 0 || ch.FontIndex >= doc_.FontCount()) return;
    const TFontRec& font = doc_.Fonts[ch.FontIndex];
    uint8_t style = font.Style;
    uint16_t attrib = font.Attrib;
    if ((attrib & kAttribWordUnderline) && ch.Kind == 0 && (ch.Code == 32 || ch.Code == 9)) {
        // Word underline: the gaps between words stay plain.
        style &= static_cast<uint8_t>(~kStyleUnderline);
        attrib &= static_cast<uint16_t>(~(kAttribUnderline | kAttribDoubleUnderline));
    }
    if (ch.FontIndex != charFont_ || style != charStyle_ || attrib != charAttrib_) {
        SelectCharFont(font, style, attrib);
        charFont_ = ch.FontIndex;
        charStyle_ = style;
        charAttrib_ = attrib;
    }

    const double left = box.Left + lb.AlignOffset;
    const double startW = w_;
    const int32_t x = TruncUnits(w_ / mmPerUnit_ + left);
    const int32_t y = TruncUnits(q_ / mmPerUnit_ + box.Top);
    const int32_t charH = T(ch.Height);
    const int32_t charW = T(ch.Width);
    w_ += ch.Width;
    if (countedSpace) w_ += lb.Extra;
    const int32_t xEnd = TruncUnits(w_ / mmPerUnit_ + left);
    const int32_t yEnd = TruncUnits((q_ + lb.LineHeightMm) / mmPerUnit_ + box.Top);
    if (ch.Anchor >= 0) surface_.MarkAnchor(x, y, ch.Anchor);
    if (ch.Link >= 0) surface_.MarkLink({x, y, xEnd, yEnd}, ch.Link);
    if (!(font.Transparent && font.BackColor == kWhite))
        surface_.FillRect({x, y, xEnd, yEnd}, font.BackColor, TFillKind::Content);

    if (ch.Kind == 1) {
        if (ch.BildIndex < doc_.BildCount() && doc_.BilderListe[ch.BildIndex].HasImage())
            surface_.DrawPicture(x, yEnd - charH, charW + 1, charH + 1,
                                 doc_.BilderListe[ch.BildIndex]);
        return;
    }
    if (ch.Code == 9) {
        static const char32_t* const kLeaders[] = {U"", U"-", U".", U"_"};
        if (ch.TabLeader < 1 || ch.TabLeader > 3) return;
        const std::u32string_view leader = kLeaders[ch.TabLeader];
        const int32_t w = surface_.TextWidth(leader);
        if (w <= 0) return;
        const int32_t h = surface_.TextHeight(leader);
        for (int32_t total = w; total <= charW; total += w)
            surface_.DrawTextRun(x + total - w, yEnd - h, leader, runStyle_);
        return;
    }
    if (ch.Cluster == kDrawnWithCluster) return;
    char32_t code = ch.Code;
    if (attrib & (kAttribAllCaps | kAttribSmallCaps)) code = UpCase(code);
    const std::u32string_view text(&code, 1);
    const bool sitsOnBottom =
        (attrib & (kAttribSubscript | kAttribSmallCaps)) && !(attrib & kAttribSuperscript);
    // Text stands on the line's bottom, found from the exact line height so that one rounding
    // places it on every surface.
    const int32_t yText = sitsOnBottom ? yEnd - surface_.TextHeight(text) : yEnd - charH;
    if (ch.Cluster >= 0 && ch.Cluster < static_cast<int32_t>(doc_.GlyphClusters.size())) {
        surface_.DrawGlyphCluster(x, yText, doc_.GlyphClusters[ch.Cluster], runStyle_);
        return;
    }
    // The PDF places text to a hundredth of a point; whole units would leave gaps inside words.
    const double exact = startW / mmPerUnit_ + left;
    runStyle_.XHundredths = std::clamp(static_cast<int32_t>((exact - x) * 100), 0, 99);
    surface_.DrawTextRun(x, yText, text, runStyle_);
    runStyle_.XHundredths = 0;
}

}  // namespace qm
