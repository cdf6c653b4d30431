#pragma once
// Fixtures over the forms layer's seams: the message box's answers and the yield hook.

#include "Events.h"
#include "MessageBox.h"
#include "Scoped.h"

#include <functional>
#include <initializer_list>
#include <vector>

// While alive, every message box is answered here and never shown: first with `answers`, in
// order, then by `handler`, else with the box's default button. The boxes are recorded from the
// scope's start. An inner scope answers with its own handler until it ends (answers it leaves
// unused stay queued); once the outermost ends, boxes are real again and the record is empty.
// It decides no answer itself.
class ScopedAnswers : public Scoped<ScopedAnswers> {
  public:
    explicit ScopedAnswers(std::initializer_list<int> answers = {},
                           MessageBox::Handler handler = {})
        : m_handler(std::move(handler)) {
        forget();
        for (int answer : answers)
            MessageBox::setNextAnswer(answer);
    }
    explicit ScopedAnswers(MessageBox::Handler handler) : ScopedAnswers({}, std::move(handler)) {}

    // The boxes shown since the scope began or since forget().
    const std::vector<MessageBox::Shown>& shown() const { return MessageBox::shown(); }
    // Starts the record of boxes afresh (and drops the answers still queued).
    void forget() {
        MessageBox::reset();
        apply();
    }

  private:
    friend Scoped<ScopedAnswers>;
    void apply() const {
        MessageBox::setTesting(true);
        MessageBox::setHandler(m_handler);
    }
    static void restoreDefault() {
        MessageBox::reset();
        MessageBox::setTesting(false);
    }
    MessageBox::Handler m_handler;
};

// While alive, `before` runs at the start of every yield and `after` at its end. It does not
// change how the yield runs events.
class ScopedYieldHook : public Scoped<ScopedYieldHook> {
  public:
    explicit ScopedYieldHook(std::function<void()> before, std::function<void()> after = {})
        : m_before(std::move(before)), m_after(std::move(after)) {
        apply();
    }

  private:
    friend Scoped<ScopedYieldHook>;
    void apply() const { events::setYieldHook(m_before, m_after); }
    static void restoreDefault() { events::setYieldHook(nullptr); }
    std::function<void()> m_before, m_after;
};
