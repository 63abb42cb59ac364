#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>

#include "app/window/preview_geometry.h"
#include "tests/app/window_fixture.h"

namespace qm {
namespace {

// Records the rectangles of the paint events a widget receives.
class TPaintRecorder : public QObject {
  public:
    explicit TPaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Rects.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
    std::vector<QRect> Rects;
};

const QRgb kBar = qRgb(0x00, 0x00, 0x80);

class PreviewTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowWindow();
        form_->PageControl1->setCurrentIndex(1);
        QTest::qWait(20);
    }
    // Drives the paint box as the mouse would; positions are in paint box coordinates.
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
        QMouseEvent event(type, QPointF(at), form_->PaintBox1->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(form_->PaintBox1, &event);
    }
    QScrollBar* Vertical() { return form_->ScrollBox1->verticalScrollBar(); }
    QScrollBar* Horizontal() { return form_->ScrollBox1->horizontalScrollBar(); }
};

TEST_F(PreviewTest, ProgressBarGrowsByItsGrowthAndFallsThroughAFullRepaint) {
    QImage panel = form_->ProgressPanel->grab().toImage();
    EXPECT_NE(panel.pixel(0, 5), kBar);

    TPaintRecorder panelPaints(form_->ProgressPanel);
    TPaintRecorder barPaints(form_->StatusBar1);
    form_->SetProStatus(40);
    EXPECT_EQ(form_->ProgressPercent(), 40);
    ASSERT_EQ(panelPaints.Rects.size(), 1u);
    EXPECT_EQ(panelPaints.Rects[0].left(), 0);
    EXPECT_EQ(panelPaints.Rects[0].width(), 20);  // 50 * 40 / 100
    EXPECT_TRUE(barPaints.Rects.empty());

    form_->SetProStatus(70);  // 20 .. 35: only the growth is painted
    ASSERT_EQ(panelPaints.Rects.size(), 2u);
    EXPECT_EQ(panelPaints.Rects[1],
              QRect(20, form_->ProgressRect().top(), 15, form_->ProgressRect().height()));
    EXPECT_TRUE(barPaints.Rects.empty());
    panel = form_->ProgressPanel->grab().toImage();
    EXPECT_EQ(panel.pixel(34, 5), kBar);
    EXPECT_NE(panel.pixel(35, 5), kBar);

    form_->SetProStatus(10);  // falling: the whole status bar is painted again
    EXPECT_FALSE(barPaints.Rects.empty());
    panel = form_->ProgressPanel->grab().toImage();
    EXPECT_EQ(panel.pixel(4, 5), kBar);
    EXPECT_NE(panel.pixel(5, 5), kBar);
    EXPECT_NE(panel.pixel(34, 5), kBar);

    form_->SetProStatus(0);
    panel = form_->ProgressPanel->grab().toImage();
    EXPECT_NE(panel.pixel(0, 5), kBar);
    EXPECT_EQ(form_->ProgressRect(), form_->ProgressPanel->rect());

    // The progress message shows its percentage the same way.
    TProgressEvent message(60);
    QCoreApplication::sendEvent(form_.get(), &message);
    EXPECT_EQ(form_->ProgressPercent(), 60);
}

TEST_F(PreviewTest, PaintBoxIsSizedAndThePaperCentred) {
    form_->resize(1400, 1000);
    QTest::qWait(20);
    form_->UpdatePaintBoxSize();
    const int scrollBar = form_->ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int available = form_->ScrollBox1->width() - scrollBar - 4;
    ASSERT_GT(available, 829);
    EXPECT_EQ(form_->PaintBox1->width(), available + 1);
    EXPECT_EQ(form_->PaintBox1->height(), 1158);
    // The paper's left frame sits half the spare width further right, after grey.
    const int offX = 16 + (available + 1 - 829) / 2;
    const QImage shown = form_->PaintBox1->grab(QRect(0, 0, offX + 10, 40)).toImage();
    EXPECT_EQ(shown.pixel(offX - 1, 30), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(shown.pixel(offX, 30), qRgb(0, 0, 0));               // the frame
    EXPECT_EQ(shown.pixel(offX + 5, 30), qRgb(0xFF, 0xFF, 0xFF));  // the paper
    EXPECT_EQ(shown.pixel(offX + 5, 15), qRgb(0x80, 0x80, 0x80));
}

TEST_F(PreviewTest, DraggingScrollsWithinTheRange) {
    form_->resize(600, 500);
    QTest::qWait(20);
    form_->UpdatePaintBoxSize();
    QTest::qWait(20);
    ASSERT_GT(Vertical()->maximum(), 300);
    ASSERT_GT(Horizontal()->maximum(), 0);

    // Moving without the button down does nothing.
    Mouse(QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
    EXPECT_EQ(Vertical()->value(), 0);
    EXPECT_FALSE(form_->DragActive());

    // Dragging the page up by 100 pixels scrolls the view down by 100.
    Mouse(QEvent::MouseButtonPress, QPoint(200, 400));
    EXPECT_TRUE(form_->DragActive());
    Mouse(QEvent::MouseMove, QPoint(200, 300));
    EXPECT_EQ(Vertical()->value(), 100);
    EXPECT_EQ(Horizontal()->value(), 0);
    // Far beyond the end: the last position; the horizontal one is unaffected.
    Mouse(QEvent::MouseMove, QPoint(200, -100000));
    EXPECT_EQ(Vertical()->value(), Vertical()->maximum());
    EXPECT_EQ(Horizontal()->value(), 0);
    Mouse(QEvent::MouseButtonRelease, QPoint(200, -100000), Qt::NoButton);
    EXPECT_FALSE(form_->DragActive());
    Mouse(QEvent::MouseMove, QPoint(200, 5000), Qt::NoButton);
    EXPECT_EQ(Vertical()->value(), Vertical()->maximum());

    // Beyond the top-left corner: both positions at 0.
    Mouse(QEvent::MouseButtonPress, QPoint(300, 300));
    Mouse(QEvent::MouseMove, QPoint(250, 280));
    EXPECT_EQ(Horizontal()->value(), 50);
    Mouse(QEvent::MouseMove, QPoint(5000, 50000));
    EXPECT_EQ(Horizontal()->value(), 0);
    EXPECT_EQ(Vertical()->value(), 0);
    Mouse(QEvent::MouseButtonRelease, QPoint(5000, 50000), Qt::NoButton);
}

TEST_F(PreviewTest, OpeningADocumentBringsItsStartIntoView) {
    form_->resize(600, 500);
    QTest::qWait(20);
    form_->UpdatePaintBoxSize();
    Vertical()->setValue(Vertical()->maximum());
    ASSERT_GT(Vertical()->value(), 0);
    form_->openfilenow(MakeFile("again.doc"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->RepaintTimer->isActive(); }, 1000));
    // The cursor, at the start of the document, is in view again.
    EXPECT_LT(Vertical()->value(), 200);
}

TEST_F(PreviewTest, NothingIsPaintedWhileADocumentIsRead) {
    // A message box during the import runs the event loop; the preview stays grey then.
    form_->resize(1000, 800);
    QTest::qWait(20);
    QImage during;
    messages_.During = [&] { during = form_->PaintBox1->grab().toImage(); };
    form_->openfilenow(MakeFile("broken.doc"));
    ASSERT_FALSE(during.isNull());
    const QPoint paper(during.width() / 2, 100);
    EXPECT_EQ(during.pixel(paper), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(form_->PaintBox1->grab().toImage().pixel(paper), qRgb(0xFF, 0xFF, 0xFF));
}

}  // namespace
}  // namespace qm
