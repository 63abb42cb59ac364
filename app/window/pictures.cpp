#include "app/window/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qm {

namespace {

constexpr int kRoundButton = 36;

QPixmap Transparent(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A pressed button is darker and its face sits one pixel lower and further right, with a
// shadow along its top and left edges.
QColor Face(QColor colour, bool pressed) {
    return pressed ? colour.darker(130) : colour;
}

void RoundFace(QPainter& p, QColor colour, bool pressed) {
    const int shift = pressed ? 1 : 0;
    const QRectF disc(2 + shift, 2 + shift, kRoundButton - 5, kRoundButton - 5);
    QLinearGradient shade(disc.topLeft(), disc.bottomRight());
    shade.setColorAt(0, Face(colour, pressed).lighter(pressed ? 100 : 135));
    shade.setColorAt(1, Face(colour, pressed).darker(115));
    p.setPen(QPen(Face(colour, pressed).darker(160), 1.2));
    p.setBrush(shade);
    p.drawEllipse(disc);
}

}  // namespace

QPixmap GoPicture(bool pressed) {
    QPixmap pixmap = Transparent(92, 40);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const int shift = pressed ? 1 : 0;
    const QRectF face(2 + shift, 2 + shift, 87, 35);
    QLinearGradient shade(face.topLeft(), face.bottomLeft());
    const QColor green = Face(QColor(0x2f, 0x9e, 0x44), pressed);
    shade.setColorAt(0, green.lighter(pressed ? 100 : 140));
    shade.setColorAt(1, green.darker(110));
    p.setPen(QPen(green.darker(170), 1.2));
    p.setBrush(shade);
    p.drawRoundedRect(face, 7, 7);
    // An arrow pointing right, then the word.
    QPainterPath arrow;
    const qreal ax = face.left() + 10, ay = face.center().y();
    arrow.moveTo(ax, ay - 4);
    arrow.lineTo(ax + 9, ay - 4);
    arrow.lineTo(ax + 9, ay - 10);
    arrow.lineTo(ax + 20, ay);
    arrow.lineTo(ax + 9, ay + 10);
    arrow.lineTo(ax + 9, ay + 4);
    arrow.lineTo(ax, ay + 4);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(face.adjusted(34, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, "Go!");
    return pixmap;
}

QPixmap InfoPicture(bool pressed) {
    QPixmap pixmap = Transparent(kRoundButton, kRoundButton);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    RoundFace(p, QColor(0x1c, 0x5f, 0xb8), pressed);
    const qreal c = kRoundButton / 2.0 - 0.5 + (pressed ? 1 : 0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c, c - 8), 2.4, 2.4);
    p.drawRoundedRect(QRectF(c - 2.2, c - 3.5, 4.4, 13), 1.5, 1.5);
    return pixmap;
}

QPixmap ExitPicture(bool pressed) {
    QPixmap pixmap = Transparent(kRoundButton, kRoundButton);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    RoundFace(p, QColor(0xc0, 0x2b, 0x2b), pressed);
    const qreal c = kRoundButton / 2.0 - 0.5 + (pressed ? 1 : 0);
    // The power symbol: an open ring with a bar through its gap.
    QPen pen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c - 8, c - 7, 16, 16), 120 * 16, -240 * 16);
    p.drawLine(QPointF(c, c - 10), QPointF(c, c - 1));
    return pixmap;
}

QIcon AppIcon() {
    QPixmap pixmap = Transparent(64, 64);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with a folded corner, lines of text and a quill across it.
    QPainterPath sheet;
    sheet.moveTo(12, 4);
    sheet.lineTo(42, 4);
    sheet.lineTo(54, 16);
    sheet.lineTo(54, 60);
    sheet.lineTo(12, 60);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x44, 0x4c, 0x56), 2));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(0xd8, 0xde, 0xe6));
    p.drawPolygon(QPolygonF({QPointF(42, 4), QPointF(42, 16), QPointF(54, 16)}));
    p.setPen(QPen(QColor(0x1c, 0x5f, 0xb8), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int y = 24; y <= 48; y += 8)
        p.drawLine(QPointF(18, y), QPointF(y < 48 ? 46 : 34, y));
    QPainterPath quill;
    quill.moveTo(30, 56);
    quill.cubicTo(36, 40, 48, 22, 62, 10);
    quill.cubicTo(58, 26, 48, 42, 30, 56);
    p.setPen(QPen(QColor(0x7a, 0x1f, 0x1f), 1.5));
    p.setBrush(QColor(0xc0, 0x2b, 0x2b));
    p.drawPath(quill);
    return QIcon(pixmap);
}

}  // namespace qm
