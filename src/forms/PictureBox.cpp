#include "PictureBox.h"

#include "Twips.h"

#include <QPainter>
#include <cmath>
#include <qdrawutil.h>

PictureBox::PictureBox(QWidget* parent, bool sunkenBorder)
    : QWidget(parent), m_border(sunkenBorder ? 2 : 0) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PictureBox::innerSize() const {
    return QSize(std::max(0, width() - 2 * m_border), std::max(0, height() - 2 * m_border));
}

void PictureBox::changed() {
    m_lastBox = QRect();
    Pacer::markDirty(this);
}

void PictureBox::Cls() {
    if (m_image.isNull() && innerSize().isEmpty()) {
        emit cleared();
        return;
    }
    m_image = QImage(innerSize(), QImage::Format_RGB32);
    m_image.fill(palette().color(QPalette::Button));
    m_printPos = QPoint(0, 0);
    m_printed.clear();
    changed();
    emit cleared();
}

void PictureBox::Print(const QString& text) {
    if (m_image.isNull())
        Cls();
    m_printed += text;
    if (!text.isEmpty() && !m_image.isNull()) {
        QPainter p(&m_image);
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics fm(font());
        p.drawText(m_printPos.x(), m_printPos.y() + fm.ascent(), text);
    }
    m_printPos = QPoint(0, m_printPos.y() + QFontMetrics(font()).height());
    changed();
    emit printed();
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, QRgb colour) {
    // Pixel coordinates can be far outside the image; clip in double before converting.
    const double lim = 1.0e6;
    auto px = [&](double t) { return twips::toPx(std::clamp(t, -lim * 15, lim * 15)); };
    const int l = std::min(px(x1), px(x2)), r = std::max(px(x1), px(x2));
    const int t = std::min(px(y1), px(y2)), b = std::max(px(y1), px(y2));
    if (m_image.isNull())
        Cls();
    const QRect box = QRect(QPoint(l, t), QPoint(r, b)) & m_image.rect();
    if (box.isEmpty())
        return;
    if (colour == m_lastBoxColour && m_lastBox.contains(box))
        return;
    QPainter p(&m_image);
    p.fillRect(box, QColor::fromRgb(colour));
    p.end();
    Pacer::markDirty(this);
    m_lastBox = box; // the newest box is certainly all in this colour now
    m_lastBoxColour = colour;
}

bool PictureBox::getAutoRedraw(bool& on) const {
    on = m_autoRedraw;
    return true;
}
bool PictureBox::setAutoRedraw(bool on) {
    m_autoRedraw = on;
    return true;
}
bool PictureBox::getScaleWidth(double& value) const {
    value = twips::fromPx(innerSize().width());
    return true;
}
bool PictureBox::getScaleHeight(double& value) const {
    value = twips::fromPx(innerSize().height());
    return true;
}

bool PictureBox::Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) {
    if (flags != kFilledBox || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) ||
        !std::isfinite(y2))
        return false;
    fillBox(x1, y1, x2, y2, colour);
    return true;
}

void PictureBox::resizeEvent(QResizeEvent*) {
    if (m_image.isNull() || innerSize() == m_image.size())
        return;
    // Without a persistent drawing a resize erases the box; whoever draws on it draws again at
    // the new size. With one, what was drawn stays where it was.
    if (!m_autoRedraw) {
        Cls();
        return;
    }
    QImage grown(innerSize(), QImage::Format_RGB32);
    grown.fill(palette().color(QPalette::Button));
    QPainter p(&grown);
    p.drawImage(0, 0, m_image);
    p.end();
    m_image = grown;
    m_lastBox = QRect();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_image.isNull())
        p.fillRect(rect(), palette().color(QPalette::Button));
    else
        p.drawImage(m_border, m_border, m_image);
    if (m_border > 0) {
        qDrawShadePanel(&p, rect(), palette(), true, m_border);
    }
}
