#include "app/window/image_button.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace qm {

TImageBtn::TImageBtn(const QString& text, QPixmap picture, QPixmap pressed, QWidget* parent)
    : QAbstractButton(parent), picture_(std::move(picture)), pressed_(std::move(pressed)) {
    setText(text);
    setToolTip(text);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(picture_.size());
}

void TImageBtn::paintEvent(QPaintEvent*) {
    // QAbstractButton clears isDown() when the pointer leaves with the button held, and on
    // release.
    QPainter p(this);
    p.drawPixmap(0, 0, isDown() ? pressed_ : picture_);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

}  // namespace qm
