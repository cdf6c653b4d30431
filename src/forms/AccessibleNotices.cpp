#include "AccessibleNotices.h"

#include <QAccessible>
#include <QAccessibleEvent>

namespace {
a11y::Recorder& recorder() {
    static a11y::Recorder r;
    return r;
}

// Hears from Qt when a screen reader comes or goes.
class BridgeObserver : public QAccessible::ActivationObserver {
  public:
    void accessibilityActiveChanged(bool) override {
        emit a11y::ListeningNotifier::instance().changed(a11y::listening());
    }
};
} // namespace

bool a11y::listening() {
    return recorder() || QAccessible::isActive();
}

a11y::ListeningNotifier& a11y::ListeningNotifier::instance() {
    // Both live as long as the program: Qt keeps the observer until it ends.
    static auto* notifier = [] {
        static BridgeObserver observer;
        QAccessible::installActivationObserver(&observer);
        return new ListeningNotifier;
    }();
    return *notifier;
}

void a11y::send(QAccessibleEvent& event) {
    if (recorder())
        recorder()(event);
    else
        QAccessible::updateAccessibility(&event);
}

void a11y::setRecorderForTesting(Recorder r) {
    recorder() = std::move(r);
    emit ListeningNotifier::instance().changed(listening());
}

void a11y::dropStaleInterface(QObject* object, bool (*isRight)(QAccessibleInterface*)) {
    // Qt makes an object's interface at its first notice, also when nobody listens: asking here
    // makes the right one when there was none.
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        iface && !isRight(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

NoticePacer::NoticePacer(std::function<void()> send) : m_send(std::move(send)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // A timer may fire a little early; the interval is kept all the same.
        const qint64 left = kIntervalMs - m_sinceLast.elapsed();
        if (left > 0)
            m_timer.start(static_cast<int>(left));
        else
            fire();
    });
}

void NoticePacer::post() {
    if (m_timer.isActive())
        return; // the pending notice will tell the latest state
    const qint64 elapsed = m_sinceLast.isValid() ? m_sinceLast.elapsed() : kIntervalMs;
    if (elapsed >= kIntervalMs)
        fire();
    else
        m_timer.start(static_cast<int>(kIntervalMs - elapsed));
}

void NoticePacer::fire() {
    m_timer.stop();
    m_sinceLast.start();
    m_send();
}
