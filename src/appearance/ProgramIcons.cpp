#include "ProgramIcons.h"

#include <QPainter>

namespace {

// A sieve: a grid of cells with the primes lit.
QPixmap sieve(int size) {
    QPixmap pm = icons::canvas(size);
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

QPixmap icons::canvas(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}
