#include "StripAccessible.h"

#include "PictureBox.h"

#include <QAccessibleEvent>
#include <algorithm>
#include <cmath>

namespace {
QAccessibleInterface* stripFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("PictureBox") && ProgressStrip::of(object))
        return new StripAccessible(static_cast<PictureBox*>(object));
    return nullptr;
}
} // namespace

ProgressStrip::ProgressStrip(PictureBox* strip)
    : QObject(strip), m_strip(strip), m_valueNotices([this] {
          QAccessibleValueChangeEvent changed(m_strip, m_value);
          a11y::send(changed);
      }) {
    setObjectName(QStringLiteral("ProgressStrip"));
    static const bool installed = [] {
        QAccessible::installFactory(stripFactory);
        return true;
    }();
    Q_UNUSED(installed);
    connect(strip, &PictureBox::cleared, this, [this] {
        setValue(0);
        hintMayHaveChanged();
    });
    connect(strip, &PictureBox::printed, this, &ProgressStrip::hintMayHaveChanged);
    a11y::dropStaleInterface(strip, [](QAccessibleInterface* iface) {
        return dynamic_cast<StripAccessible*>(iface) != nullptr;
    });
}

ProgressStrip* ProgressStrip::of(const QObject* object) {
    return object ? object->findChild<ProgressStrip*>(QStringLiteral("ProgressStrip"),
                                                      Qt::FindDirectChildrenOnly)
                  : nullptr;
}

QString ProgressStrip::hint() const {
    return m_strip->printedText();
}

void ProgressStrip::setShare(double part, double whole) {
    // The product first: a share of whole numbers that is a whole percentage stays exact.
    const double percent = whole > 0 ? std::floor(part * 100 / whole) : 0;
    setValue(std::isnan(percent) ? 0 : static_cast<int>(std::clamp(percent, 0.0, 100.0)));
}

void ProgressStrip::setValue(int value) {
    if (value == m_value)
        return;
    m_value = value;
    if (a11y::listening())
        m_valueNotices.post();
}

void ProgressStrip::hintMayHaveChanged() {
    // A hint is printed right after the strip is cleared: look once both are done, and tell
    // only of a hint that differs from the last one told.
    if (m_hintCheckPending)
        return;
    m_hintCheckPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_hintCheckPending = false;
            const QString now = hint();
            if (now == m_told)
                return;
            m_told = now;
            if (!a11y::listening())
                return;
            QAccessibleEvent changed(m_strip, QAccessible::DescriptionChanged);
            a11y::send(changed);
        },
        Qt::QueuedConnection);
}

StripAccessible::StripAccessible(PictureBox* strip)
    : QAccessibleWidget(strip, QAccessible::ProgressBar) {}

void* StripAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString StripAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description)
        if (const ProgressStrip* strip = ProgressStrip::of(object()))
            return strip->hint();
    return QAccessibleWidget::text(t);
}

QVariant StripAccessible::currentValue() const {
    const ProgressStrip* strip = ProgressStrip::of(object());
    return strip ? strip->value() : 0;
}
