#include "SavePictures.h"

#include "ProgramIcons.h"

#include <QPainter>

QPixmap icons::savePicture() {
    QPixmap pm = icons::canvas(16);
    QPainter p(&pm);
    p.fillRect(1, 1, 14, 14, QColor(40, 60, 140));
    p.fillRect(4, 1, 8, 5, QColor(230, 230, 230));
    p.fillRect(9, 2, 2, 3, QColor(40, 60, 140));
    p.fillRect(3, 9, 10, 6, QColor(255, 255, 255));
    return pm;
}

QPixmap icons::cancelPicture() {
    QPixmap pm = icons::canvas(10);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(1, 1, 8, 8);
    p.drawLine(8, 1, 1, 8);
    return pm;
}
