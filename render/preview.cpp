#include "render/preview.h"

namespace qm {

namespace {
constexpr int32_t kBackgroundGrey = 0x808080;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;
}  // namespace

void DrawPaper(TRasterCanvas& canvas, const TWalkGeometry& g) {
    const int32_t w = canvas.Width(), h = canvas.Height();
    canvas.FillRect({0, 0, g.OffX, h}, kBackgroundGrey, TFillKind::Paper);
    canvas.FillRect({g.OffX + g.PageW + 2, 0, w, h}, kBackgroundGrey, TFillKind::Paper);
    canvas.FillRect({0, 0, w, g.OffY}, kBackgroundGrey, TFillKind::Paper);
    canvas.FillRect({0, g.OffY + g.PageH + 2, w, h}, kBackgroundGrey, TFillKind::Paper);
    const TRect paper{g.OffX, g.OffY, g.OffX + g.PageW + 2, g.OffY + g.PageH + 2};
    canvas.FillRect(paper, kWhite, TFillKind::Paper);
    canvas.FrameRect(paper, kBlack, 1);
    canvas.FillRect({g.OffX + g.PageW + 2, g.OffY + 2, g.OffX + g.PageW + 4, g.OffY + g.PageH + 4},
                    kBlack, TFillKind::Paper);
    canvas.FillRect({g.OffX + 2, g.OffY + g.PageH + 2, g.OffX + g.PageW + 4, g.OffY + g.PageH + 4},
                    kBlack, TFillKind::Paper);
}

void RenderPreviewPage(const TDocument& doc, int32_t page, TRasterCanvas& canvas,
                       double screenDpi) {
    const TWalkGeometry g = PreviewGeometry(doc, screenDpi);
    canvas.Resize(g.OffX + g.PageW + 20, g.OffY + g.PageH + 20);
    DrawPaper(canvas, g);
    TPageWalk walk(doc, canvas, g);
    walk.DrawPageFields(page);
}

}  // namespace qm
