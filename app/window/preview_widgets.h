// The two owner-drawn widgets of the window: the preview's paint box and the status bar's
// progress panel. Each hands its painting (and the paint box its mouse events) to the window.
#pragma once

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace qm {

class TPaintBox : public QWidget {
  public:
    using PaintHandler = std::function<void(QPainter&, const QRect&)>;
    using MouseHandler = std::function<void(QMouseEvent&)>;

    explicit TPaintBox(QWidget* parent = nullptr) : QWidget(parent) {
        setCursor(Qt::PointingHandCursor);
        // Every pixel is painted by the handler; nothing needs erasing first.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    PaintHandler OnPaint;
    MouseHandler OnMouseDown, OnMouseMove, OnMouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (OnPaint) OnPaint(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override { Forward(OnMouseDown, *event); }
    void mouseMoveEvent(QMouseEvent* event) override { Forward(OnMouseMove, *event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Forward(OnMouseUp, *event); }

  private:
    static void Forward(const MouseHandler& handler, QMouseEvent& event) {
        if (handler) handler(event);
    }
};

// The progress panel paints itself opaquely, so that a growing bar repaints only its growth
// without the status bar beneath being painted again.
class TProgressPanel : public QWidget {
  public:
    using PaintHandler = std::function<void(QPainter&)>;

    explicit TProgressPanel(QWidget* parent = nullptr) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    PaintHandler OnDraw;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setClipRect(event->rect());
        if (OnDraw) OnDraw(painter);
    }
};

}  // namespace qm
