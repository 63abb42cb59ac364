// The page "Create PDF file": "Go!", the destination box, "Show...", and the preview of the
// laid-out pages with its drag scrolling.
#include <QHBoxLayout>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window/image_button.h"
#include "app/window/main_form.h"
#include "app/window/pictures.h"
#include "app/window/preview_geometry.h"
#include "model/page_walk.h"
#include "render/preview.h"

namespace qm {

namespace {

// The grey behind the pages, as the page surround.
const QColor kWorkspaceGrey(0x80, 0x80, 0x80);

// The page of the cursor's field, or -1.
int32_t CursorPage(const TDocument& doc) {
    if (doc.CurField < 0 || doc.CurField >= doc.FieldCount()) return -1;
    return doc.Fields[doc.CurField].PageNo;
}

// Rows kept visible above and below the cursor's line when the view follows it.
constexpr int32_t kCursorMargin = 50;

double LineDepthMm(const TLineRec& line) {
    return std::max(line.Para.SpaceBefore, 0.0) + std::max(line.LineHeight, 0.0) +
           std::max(line.Para.SpaceAfter, 0.0);
}

// How far below its page's top the cursor's line starts, in mm (table rows and columns count
// as stacked lines: close enough to bring the line into view).
double CursorDepthMm(const TDocument& doc) {
    const TFieldRec& field = doc.Fields[doc.CurField];
    double depth =
        field.TopFromBottom && field.BottomFromBottom ? doc.PageHeightMM - field.Top : field.Top;
    depth += field.MarginTop;
    const int32_t lines = std::min(doc.CurLine, field.LineCount());
    for (int32_t i = 0; i < lines; ++i)
        depth += LineDepthMm(field.Lines[i]);
    return std::max(depth, 0.0);
}

double CursorLineHeightMm(const TDocument& doc) {
    const TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine < 0 || doc.CurLine >= field.LineCount()) return 0;
    return LineDepthMm(field.Lines[doc.CurLine]);
}

}  // namespace

QWidget* TMainForm::CreatePdfPage() {
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);

    GoBtn = new TImageBtn("Go!", GoPicture(false), GoPicture(true), page);
    GoBtn->setObjectName("GoBtn");
    DestEdit = new QLineEdit(page);
    DestEdit->setObjectName("DestEdit");
    DestBtn = new QToolButton(page);
    DestBtn->setObjectName("DestBtn");
    DestBtn->setText("...");
    DestBtn->setToolTip("Choose the PDF file");
    ShowCheck = new QCheckBox("Show PDF file after creation ", page);
    ShowCheck->setObjectName("ShowCheck");
    ShowCheck->setChecked(true);
    ShowBtn = new QPushButton("Show...", page);
    ShowBtn->setObjectName("ShowBtn");

    auto* destination = new QVBoxLayout;
    auto* box = new QHBoxLayout;
    box->addWidget(DestEdit, 1);
    box->addWidget(DestBtn);
    destination->addLayout(box);
    auto* options = new QHBoxLayout;
    options->addWidget(ShowCheck);
    options->addStretch(1);
    options->addWidget(ShowBtn);
    destination->addLayout(options);
    auto* top = new QHBoxLayout;
    top->addWidget(GoBtn, 0, Qt::AlignTop);
    top->addLayout(destination, 1);
    column->addLayout(top);

    // What the document's reading left out, above its preview; hidden when nothing was.
    NoticeList = new QLabel(page);
    NoticeList->setObjectName("NoticeList");
    NoticeList->setWordWrap(true);
    NoticeList->setTextFormat(Qt::PlainText);
    NoticeList->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NoticeList->hide();
    column->addWidget(NoticeList);

    ScrollBox1 = new QScrollArea(page);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    QPalette workspace = ScrollBox1->palette();
    workspace.setColor(QPalette::Dark, kWorkspaceGrey);
    ScrollBox1->setPalette(workspace);
    PaintBox1 = new TPaintBox;
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->OnPaint = [this](QPainter& p, const QRect& area) { PaintBox1Paint(p, area); };
    PaintBox1->OnMouseDown = [this](QMouseEvent& e) { PaintBox1MouseDown(e); };
    PaintBox1->OnMouseMove = [this](QMouseEvent& e) { PaintBox1MouseMove(e); };
    PaintBox1->OnMouseUp = [this](QMouseEvent& e) { PaintBox1MouseUp(e); };
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->installEventFilter(this);
    column->addWidget(ScrollBox1, 1);

    connect(GoBtn, &QAbstractButton::clicked, this, [this] { GoBtnClick(); });
    connect(ShowBtn, &QPushButton::clicked, this, [this] { ShowBtnClick(); });
    connect(DestBtn, &QToolButton::clicked, this, [this] { DestBtnClick(); });
    return page;
}

TPaintBoxLayout TMainForm::PreviewLayout(const TWalkGeometry& g) {
    // The scroll box's size less a scroll bar and 4 pixels is what the pages may fill.
    const int scrollBar = ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return PaintBoxLayout(g.PageW, g.PageH, session_.Document().GetAnzPages(),
                          ScrollBox1->width() - scrollBar - 4,
                          ScrollBox1->height() - scrollBar - 4);
}

bool TMainForm::UpdatePaintBoxSize() {
    const TPaintBoxLayout box = PreviewLayout(PreviewGeometry(session_.Document(), kScreenDpi));
    // A widget is at most QWIDGETSIZE_MAX tall (some 14,000 A4 pages); pages below that are
    // not shown, and the size compared is the one the widget can take, so that painting does
    // not resize for ever.
    const QSize wanted(std::min(box.Width, QWIDGETSIZE_MAX), std::min(box.Height, QWIDGETSIZE_MAX));
    if (PaintBox1->size() == wanted) return false;
    PaintBox1->resize(wanted);
    return true;
}

void TMainForm::PaintBox1Paint(QPainter& painter, const QRect& area) {
    painter.fillRect(area, kWorkspaceGrey);
    if (importing_) return;
    const TDocument& doc = session_.Document();
    // A paint that had to resize the paint box draws nothing; the resize brings the next one.
    if (UpdatePaintBoxSize()) {
        PaintBox1->update();
        return;
    }
    TWalkGeometry g = PreviewGeometry(doc, kScreenDpi);
    const int32_t pages = doc.GetAnzPages();
    const TPaintBoxLayout box = PreviewLayout(g);
    g.OffX = box.OffX;
    g.OffY = box.OffY;
    const int32_t bitmapW = g.OffX + g.PageW + 20, bitmapH = g.OffY + g.PageH + 20;
    if (pageBitmap_.Width() != bitmapW || pageBitmap_.Height() != bitmapH)
        pageBitmap_.Resize(bitmapW, bitmapH);
    const int32_t scrollY = ScrollBox1->verticalScrollBar()->value();
    const int32_t clientH = ScrollBox1->viewport()->height();
    const int32_t cursorPage = CursorPage(doc);
    for (int32_t u = 0; u < pages; ++u) {
        if (!PageVisible(u, g.PageH, bitmapH, scrollY, clientH) && u != cursorPage) continue;
        if (static_cast<int64_t>(PagePitch(g.PageH)) * u >= PaintBox1->height()) break;
        DrawPreviewPage(painter, u, g);
    }
}

void TMainForm::DrawPreviewPage(QPainter& painter, int32_t page, const TWalkGeometry& g) {
    DrawPaper(pageBitmap_, g);
    TPageWalk walk(session_.Document(), pageBitmap_, g);
    walk.DrawPageFields(page);
    // The canvas holds 0x00RRGGBB pixels; the screen image wants them opaque.
    const int32_t w = pageBitmap_.Width(), h = pageBitmap_.Height();
    if (screenImage_.width() != w || screenImage_.height() != h)
        screenImage_ = QImage(w, h, QImage::Format_RGB32);
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* from = pageBitmap_.Row(y);
        auto* to = reinterpret_cast<uint32_t*>(screenImage_.scanLine(y));
        for (int32_t x = 0; x < w; ++x)
            to[x] = from[x] | 0xFF000000u;
    }
    painter.drawImage(QPoint(0, PagePitch(g.PageH) * page), screenImage_);
}

void TMainForm::RepaintTimerTimer() {
    RepaintTimer->stop();
    // The layout at the end of an import starts the timer again.
    if (importing_) return;
    UpdatePaintBoxSize();
    ScrollCursorinView();
    PaintBox1->update();
}

void TMainForm::ScrollCursorinView() {
    TDocument& doc = session_.Document();
    const int32_t page = CursorPage(doc);
    if (page < 0) return;
    const TWalkGeometry g = PreviewGeometry(doc, kScreenDpi);
    const TPaintBoxLayout box = PreviewLayout(g);
    const double mmPerPixel = kMmPerInch / kScreenDpi / doc.Zoom * 100;
    const int32_t top =
        PagePitch(g.PageH) * page + box.OffY + 2 + TruncUnits(CursorDepthMm(doc) / mmPerPixel);
    const int32_t bottom = top + TruncUnits(CursorLineHeightMm(doc) / mmPerPixel);
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    const int32_t viewTop = vertical->value();
    const int32_t viewHeight = ScrollBox1->viewport()->height();
    if (top - kCursorMargin < viewTop)
        vertical->setValue(top - kCursorMargin);
    else if (bottom + kCursorMargin > viewTop + viewHeight)
        vertical->setValue(bottom + kCursorMargin - viewHeight);
}

void TMainForm::PaintBox1MouseDown(QMouseEvent& event) {
    dragActive_ = true;
    dragStart_ = event.position().toPoint();
}

void TMainForm::PaintBox1MouseMove(QMouseEvent& event) {
    if (!dragActive_) return;
    // The start stays where the button went down; the pointer is in paint box coordinates,
    // which move with the scroll positions.
    QScrollBar* horizontal = ScrollBox1->horizontalScrollBar();
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    const QPoint pointer = event.position().toPoint();
    dragScroll_.setX(DragScrollPosition(horizontal->value(), dragStart_.x(), pointer.x(),
                                        horizontal->maximum()));
    dragScroll_.setY(
        DragScrollPosition(vertical->value(), dragStart_.y(), pointer.y(), vertical->maximum()));
    horizontal->setValue(dragScroll_.x());
    vertical->setValue(dragScroll_.y());
}

void TMainForm::PaintBox1MouseUp(QMouseEvent&) {
    dragActive_ = false;
}

}  // namespace qm
