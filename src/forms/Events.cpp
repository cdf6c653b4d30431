#include "Events.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>

namespace {
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
std::function<void()>& afterHook() {
    static std::function<void()> h;
    return h;
}

using Clock = std::chrono::steady_clock;

// Decides at each yield whether the event loop has to run; it never runs the loop nor looks at
// any event itself. Whatever can be waiting (input handed over by the display connection's
// reader thread, posted events, due timers) reaches the loop only through the event
// dispatcher's wake-up, which Qt does not let us observe, and asking the system is a system
// call, costlier than the whole check may be. So the loop runs whenever it has not run for
// kMaxQuiet: nothing waits longer than that plus one stretch between yields, and events are
// never reordered, only taken a little later.
//
// Reading the clock costs more than the rest of a yield, so it is read only every few yields:
// as many as took about kReadEvery the last time, judging by how long they took.
class Pace {
  public:
    static constexpr Clock::duration kMaxQuiet = std::chrono::microseconds(500);
    static constexpr Clock::duration kReadEvery = std::chrono::microseconds(20);
    static constexpr int kMaxStride = 64;

    bool due() {
        if (--m_countdown > 0)
            return false;
        const Clock::time_point now = Clock::now();
        const Clock::duration took = now - m_lastRead;
        // The yields since the last read took `took`; space the next read so they take about
        // kReadEvery.
        const auto stride = took.count() > 0 ? m_stride * kReadEvery.count() / took.count()
                                             : Clock::rep(kMaxStride);
        m_stride = static_cast<int>(std::clamp<Clock::rep>(stride, 1, kMaxStride));
        m_countdown = m_stride;
        m_lastRead = now;
        return now - m_lastRun >= kMaxQuiet;
    }
    // The loop has just run; the time it took is not the yields' own.
    void ran() { m_lastRun = m_lastRead = Clock::now(); }

  private:
    Clock::time_point m_lastRun{};
    Clock::time_point m_lastRead{};
    int m_stride = 1;
    int m_countdown = 0;
};

Pace& pace() {
    static Pace p;
    return p;
}
} // namespace

void events::yieldToEvents() {
    if (hook()) {
        auto h = hook(); // the hook may replace itself
        h();
    }
    if (pace().due()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        pace().ran();
    }
    if (afterHook()) {
        auto h = afterHook();
        h();
    }
}

void events::setYieldHook(std::function<void()> before, std::function<void()> after) {
    hook() = std::move(before);
    afterHook() = std::move(after);
}
