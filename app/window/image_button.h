// An image button: a picture that a second picture replaces while the mouse button is held
// down over it. The first picture returns when the pointer leaves with the button held, on
// release and on click.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace qm {

class TImageBtn : public QAbstractButton {
  public:
    // `text` names the button for keyboard users and accessibility; it is not drawn.
    TImageBtn(const QString& text, QPixmap picture, QPixmap pressed, QWidget* parent = nullptr);
    QSize sizeHint() const override { return picture_.size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    QPixmap pressed_;
};

}  // namespace qm
