#include "ui/kit/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zorvia::ui {

QPixmap renderAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient back(0, 0, 0, 64);
    back.setColorAt(0, QColor(255, 170, 40));
    back.setColorAt(1, QColor(235, 90, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);

    // Game pad body.
    QPainterPath pad;
    pad.addRoundedRect(QRectF(9, 21, 46, 26), 13, 13);
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(pad);

    // Cross on the left.
    p.setBrush(QColor(60, 60, 80));
    p.drawRect(QRectF(16, 31.5, 13, 5));
    p.drawRect(QRectF(20, 27.5, 5, 13));

    // Two buttons on the right.
    p.setBrush(QColor(230, 60, 60));
    p.drawEllipse(QPointF(41, 31), 3.4, 3.4);
    p.setBrush(QColor(40, 150, 230));
    p.drawEllipse(QPointF(47, 37), 3.4, 3.4);
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(renderAppIcon(size));
    return icon;
}

} // namespace zorvia::ui
