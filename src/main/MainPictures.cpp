#include "MainPictures.h"

#include "ProgramIcons.h"

#include <QPainter>
#include <QPainterPath>

QPixmap icons::startPicture() {
    QPixmap pm = icons::canvas(16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tri;
    tri.moveTo(4, 2);
    tri.lineTo(14, 8);
    tri.lineTo(4, 14);
    tri.closeSubpath();
    p.fillPath(tri, QColor(0, 150, 60));
    p.setPen(QColor(0, 90, 30));
    p.drawPath(tri);
    return pm;
}

QPixmap icons::stopPicture() {
    QPixmap pm = icons::canvas(16);
    QPainter p(&pm);
    p.fillRect(3, 3, 10, 10, QColor(200, 0, 0));
    p.setPen(QColor(120, 0, 0));
    p.drawRect(3, 3, 9, 9);
    return pm;
}
