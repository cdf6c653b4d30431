#include "GraphicalButton.h"

#include "CommandAccessible.h"

#include <QKeyEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {
constexpr int kMargin = 3; // between the caption and the button's edges
}

GraphicalButton::GraphicalButton(QWidget* parent) : QToolButton(parent) {
    forms::installButtonAccessibility();
}

QRect GraphicalButton::captionRect() const {
    const int h = fontMetrics().height();
    return QRect(kMargin, height() - kMargin - h, width() - 2 * kMargin, h);
}

QRect GraphicalButton::pictureRect() const {
    const QRect above(0, 0, width(), captionRect().top());
    return QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, iconSize(), above);
}

void GraphicalButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    // The style draws the button's face, frame and focus; caption and picture are placed here.
    opt.text.clear();
    opt.icon = QIcon();
    p.drawComplexControl(QStyle::CC_ToolButton, opt);

    QPoint shift;
    if (opt.state & (QStyle::State_Sunken | QStyle::State_On))
        shift = QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this));
    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(),
                                          isEnabled() ? QIcon::Normal : QIcon::Disabled);
    p.drawItemPixmap(pictureRect().translated(shift), Qt::AlignCenter, picture);
    p.drawItemText(captionRect().translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic,
                   palette(), isEnabled(), text(), QPalette::ButtonText);
}

void GraphicalButton::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!enter || (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QToolButton::keyPressEvent(e);
    e->accept();
    if (!e->isAutoRepeat())
        click();
}
