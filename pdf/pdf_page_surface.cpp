#include "pdf/pdf_page_surface.h"

#include "model/page_walk.h"

namespace qm {

void TPDFPageSurface::FillRect(const TRect& r, int32_t color, TFillKind kind) {
    writer_.Brush.Style = bsSolid;
    writer_.Brush.Color = static_cast<uint32_t>(color);
    // The writer's fill covers one point less than its rectangle in each direction, which
    // would leave a one-point border with no area at all; a rule covers its whole rectangle.
    const int32_t grow = kind == TFillKind::Rule ? 1 : 0;
    writer_.FillRect(r.Left, r.Top, r.Right + grow, r.Bottom + grow);
}

void TPDFPageSurface::FrameRect(const TRect& r, int32_t color, int32_t penWidth) {
    writer_.Pen.Color = static_cast<uint32_t>(color);
    writer_.Pen.Width = penWidth;
    writer_.Brush.Style = bsClear;
    writer_.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    writer_.Pen.Width = 1;
}

void TPDFPageSurface::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color,
                           int32_t penWidth) {
    writer_.Pen.Color = static_cast<uint32_t>(color);
    writer_.Pen.Width = penWidth;
    writer_.MoveTo(x0, y0);
    writer_.LineTo(x1, y1);
}

void TPDFPageSurface::SelectFont(const std::string& face, double size, uint8_t style,
                                 uint8_t charset, uint8_t familyClass) {
    writer_.Font.Name = face;
    // Sizes to a hundredth of a point (documents give half points at most).
    writer_.Font.Size = TruncUnits(size * 100) / 100.0;
    writer_.Font.Style = style;
    writer_.Font.Charset = charset;
    writer_.Font.FamilyClass = familyClass;
}

void TPDFPageSurface::DrawTextRun(int32_t x, int32_t y, std::u32string_view text,
                                  const TTextRunStyle& style) {
    if (style.Shadow) {
        writer_.Font.Color = static_cast<uint32_t>(style.ShadowColor);
        writer_.TextOut(x + 2, style.XHundredths, y + 2, text);
    }
    writer_.Font.Color = static_cast<uint32_t>(style.Color);
    writer_.TextOut(x, style.XHundredths, y, text);
    if (style.UnderlineKind != 1 && style.UnderlineKind != 2 &&
        !(writer_.Font.Style & kStyleStrikeOut))
        return;
    Decorate(x, y, writer_.TextWidth(text), writer_.TextHeight(text), style);
}

void TPDFPageSurface::DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& cluster,
                                       const TTextRunStyle& style) {
    if (style.Shadow) {
        writer_.Font.Color = static_cast<uint32_t>(style.ShadowColor);
        writer_.GlyphsOut(x + 2, y + 2, cluster);
    }
    writer_.Font.Color = static_cast<uint32_t>(style.Color);
    const double advance = writer_.GlyphsOut(x, y, cluster);
    Decorate(x, y, static_cast<int32_t>(advance), writer_.TextHeight(std::u32string_view(U"X")),
             style);
}

void TPDFPageSurface::Decorate(int32_t x, int32_t y, int32_t w, int32_t h,
                               const TTextRunStyle& style) {
    const bool strike = writer_.Font.Style & kStyleStrikeOut;
    if (style.UnderlineKind != 1 && style.UnderlineKind != 2 && !strike) return;
    writer_.Pen.Color = static_cast<uint32_t>(style.Color);
    if (style.UnderlineKind == 1 || style.UnderlineKind == 2) {
        // Below the cell bottom, one point beyond the text on both sides.
        const int32_t p = TruncUnits(style.Size / 12);
        writer_.Pen.Width = p;
        writer_.MoveTo(x - 1, y + h + p + 1);
        writer_.LineTo(x + w + 1, y + h + p + 1);
        if (style.UnderlineKind == 2) {
            writer_.MoveTo(x - 1, y + h - p + 1);
            writer_.LineTo(x + w + 1, y + h - p + 1);
        }
        writer_.Pen.Width = 1;
    }
    if (strike) {
        const int32_t s = TruncUnits(writer_.Font.Size / 4);
        writer_.Pen.Width = TruncUnits(writer_.Font.Size / 12);
        writer_.MoveTo(x - 1, y + h - s);
        writer_.LineTo(x + w + 1, y + h - s);
        writer_.Pen.Width = 1;
    }
}

void TPDFPageSurface::DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                                  const TDib& picture) {
    writer_.DrawImage(x, y, width, height, picture, 0, 0, DIBWidth(picture), DIBHeight(picture));
}

void TPDFPageSurface::BeforeLine(int32_t page, int32_t pages, int32_t line, int32_t lineCount) {
    if (!progress_ || pages <= 0 || lineCount <= 0) return;
    const double share = 100.0 / pages * ((line + 1.0) / lineCount);
    progress_->SetProStatus(TruncUnits(page * 100.0 / pages + share));
}

void TPDFPageSurface::MarkLink(const TRect& r, int32_t link) {
    if (doc_ == nullptr || link < 0 || link >= static_cast<int32_t>(doc_->Links.size())) return;
    const TLinkRec& target = doc_->Links[static_cast<size_t>(link)];
    writer_.AddLink(r.Left, r.Top, r.Right, r.Bottom, target.Uri, target.Anchor);
}

void TPDFPageSurface::MarkAnchor(int32_t x, int32_t y, int32_t anchor) {
    writer_.MarkPlace(anchor, x, y);
}

void DescribePDFDocument(const TDocument& doc, TPDFCanvas& writer) {
    TPDFNavigation& navigation = writer.Navigation();
    for (size_t i = 0; i < doc.Anchors.size(); ++i) {
        const TAnchorRec& anchor = doc.Anchors[i];
        if (anchor.OutlineLevel == 0) continue;
        navigation.AddOutlineEntry(
            TPDFOutlineEntry{anchor.Title, anchor.OutlineLevel, static_cast<int32_t>(i)});
    }
    TPDFInfo info{doc.Info.Title, doc.Info.Subject, doc.Info.Author, doc.Info.Keywords, {}};
    if (const std::optional<std::string> date = SourceDateFromEnvironment()) info.Date = *date;
    navigation.SetInfo(std::move(info));
}

void DrawPagesPDF(const TDocument& doc, TPDFCanvas& writer, int32_t page, TProgressSink* progress) {
    const TWalkGeometry geometry = PdfGeometry(doc);
    writer.PageWidth = geometry.PageW + 20;
    writer.PageHeight = geometry.PageH + 20;
    writer.Brush.Color = 0xFFFFFF;
    writer.Pen.Color = 0;
    TPDFPageSurface surface(writer, progress, &doc);
    TPageWalk walk(doc, surface, geometry);
    walk.DrawPageFields(page);
}

}  // namespace qm
