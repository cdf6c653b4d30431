#include "Pacer.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <vector>

namespace {
struct State {
    std::vector<QPointer<QWidget>> dirty;
    QElapsedTimer sinceFlush;
    QTimer* timer = nullptr;
};
State& state() {
    static State s;
    return s;
}
} // namespace

void Pacer::markDirty(QWidget* widget) {
    State& s = state();
    for (const auto& w : s.dirty)
        if (w == widget)
            goto scheduled;
    s.dirty.emplace_back(widget);
scheduled:
    if (!s.timer) {
        s.timer = new QTimer;
        s.timer->setSingleShot(true);
        QObject::connect(s.timer, &QTimer::timeout, [] { flush(); });
    }
    if (!s.timer->isActive()) {
        const qint64 elapsed = s.sinceFlush.isValid() ? s.sinceFlush.elapsed() : kIntervalMs;
        s.timer->start(static_cast<int>(std::max<qint64>(0, kIntervalMs - elapsed)));
    }
}

void Pacer::flush() {
    State& s = state();
    if (s.timer)
        s.timer->stop();
    s.sinceFlush.start();
    auto dirty = std::move(s.dirty);
    s.dirty.clear();
    for (const auto& w : dirty) {
        if (!w)
            continue;
        if (auto* paced = dynamic_cast<PacedWidget*>(w.data()))
            paced->pacedUpdate();
        else
            w->update();
    }
}
