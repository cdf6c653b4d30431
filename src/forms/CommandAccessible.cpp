#include "CommandAccessible.h"

#include "AccessibleNotices.h"
#include "GraphicalButton.h"

#include <QLabel>

namespace {
constexpr const char* kLinkTargetName = "LinkTarget";

// What a link label's action runs; it belongs to the label.
class LinkTarget : public QObject {
  public:
    LinkTarget(QLabel* label, std::function<void()> open)
        : QObject(label), m_open(std::move(open)) {
        setObjectName(kLinkTargetName);
    }
    void open() const { m_open(); }

  private:
    std::function<void()> m_open;
};

LinkTarget* linkTargetOf(const QObject* object) {
    return object ? dynamic_cast<LinkTarget*>(
                        object->findChild<QObject*>(kLinkTargetName, Qt::FindDirectChildrenOnly))
                  : nullptr;
}

QAccessibleInterface* commandFactory(const QString& className, QObject* object) {
    // A graphical button adds no meta-object of its own: it goes by its base's class name.
    if (className == QLatin1String("QToolButton"))
        if (auto* button = dynamic_cast<GraphicalButton*>(object))
            return new GraphicalButtonAccessible(button);
    if (className == QLatin1String("QLabel") && linkTargetOf(object))
        return new LinkAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(commandFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// A caption as read: each "&" that marks an access key dropped, "&&" read as "&".
QString withoutAccessKeys(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}
} // namespace

void forms::installButtonAccessibility() {
    installFactory();
}

void forms::makeLink(QLabel* label, std::function<void()> open) {
    installFactory();
    new LinkTarget(label, std::move(open));
    a11y::dropStaleInterface(label, [](QAccessibleInterface* iface) {
        return dynamic_cast<LinkAccessible*>(iface) != nullptr;
    });
}

QString PressableAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return shownText();
    return QAccessibleWidget::text(t);
}

QStringList PressableAccessible::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void PressableAccessible::doAction(const QString& action) {
    if (action != pressAction())
        return QAccessibleWidget::doAction(action);
    press();
}

GraphicalButtonAccessible::GraphicalButtonAccessible(QAbstractButton* button)
    : PressableAccessible(button, QAccessible::Button) {}

QAbstractButton* GraphicalButtonAccessible::button() const {
    return static_cast<QAbstractButton*>(widget());
}

QString GraphicalButtonAccessible::shownText() const {
    return withoutAccessKeys(button()->text());
}

QAccessible::State GraphicalButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.pressed = button()->isDown();
    return s;
}

void GraphicalButtonAccessible::press() {
    // Clicked after a moment, as a push button is, not inside the screen reader's request.
    if (button()->isEnabled())
        button()->animateClick();
}

LinkAccessible::LinkAccessible(QLabel* label) : PressableAccessible(label, QAccessible::Link) {}

QString LinkAccessible::shownText() const {
    return static_cast<QLabel*>(widget())->text();
}

QAccessible::State LinkAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.linked = true;
    return s;
}

void LinkAccessible::press() {
    if (LinkTarget* target = linkTargetOf(object()))
        QMetaObject::invokeMethod(
            target, [target] { target->open(); }, Qt::QueuedConnection);
}
