#include "Events.h"

#include <QCoreApplication>

namespace {
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
} // namespace

void events::DoEvents() {
    if (hook()) {
        auto h = hook(); // the hook may replace itself
        h();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void events::setYieldHook(std::function<void()> h) { hook() = std::move(h); }
