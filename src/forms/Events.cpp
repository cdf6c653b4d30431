#include "Events.h"

#include <QCoreApplication>

namespace {
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
std::function<void()>& afterHook() {
    static std::function<void()> h;
    return h;
}
} // namespace

void events::yieldToEvents() {
    if (hook()) {
        auto h = hook(); // the hook may replace itself
        h();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (afterHook()) {
        auto h = afterHook();
        h();
    }
}

void events::setYieldHook(std::function<void()> before, std::function<void()> after) {
    hook() = std::move(before);
    afterHook() = std::move(after);
}
