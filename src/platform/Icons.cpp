#include "Icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QPixmap canvas(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

// A sieve: a grid of cells with the primes lit.
QPixmap sieve(int size) {
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, size, size, QColor(0, 128, 128));
    const int n = 4, cell = size / n, pad = std::max(1, cell / 6);
    for (int i = 0; i < n * n; ++i) {
        const int v = i + 1;
        bool prime = v > 1;
        for (int d = 2; d * d <= v; ++d)
            if (v % d == 0)
                prime = false;
        const QRect r((i % n) * cell + pad, (i / n) * cell + pad, cell - 2 * pad, cell - 2 * pad);
        p.fillRect(r, prime ? QColor(255, 230, 80) : QColor(0, 90, 90));
    }
    return pm;
}
} // namespace

QPixmap icons::appPixmap32() {
    return sieve(32);
}

QIcon icons::appIcon() {
    QIcon icon;
    icon.addPixmap(sieve(32));
    icon.addPixmap(sieve(16));
    return icon;
}

QPixmap icons::startPicture() {
    QPixmap pm = canvas(16);
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
    QPixmap pm = canvas(16);
    QPainter p(&pm);
    p.fillRect(3, 3, 10, 10, QColor(200, 0, 0));
    p.setPen(QColor(120, 0, 0));
    p.drawRect(3, 3, 9, 9);
    return pm;
}

QPixmap icons::savePicture() {
    QPixmap pm = canvas(16);
    QPainter p(&pm);
    p.fillRect(1, 1, 14, 14, QColor(40, 60, 140));
    p.fillRect(4, 1, 8, 5, QColor(230, 230, 230));
    p.fillRect(9, 2, 2, 3, QColor(40, 60, 140));
    p.fillRect(3, 9, 10, 6, QColor(255, 255, 255));
    return pm;
}

QPixmap icons::cancelPicture() {
    QPixmap pm = canvas(10);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(1, 1, 8, 8);
    p.drawLine(8, 1, 1, 8);
    return pm;
}

QFont icons::formsFont() {
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Nimbus Sans"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(7.5);
    return f;
}
