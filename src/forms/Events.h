#pragma once
// The yield of long work: lets the window events that wait run, in the order they came, then
// returns. It is cheap enough to call very often: the event loop runs only when it has not run
// for about half a millisecond, so no event waits longer than that (plus the work between two
// yields), and a yield with nothing to do costs a few nanoseconds.
// A hook lets tests and the benchmark act at each yield, whether the loop runs or not; it
// changes nothing else.

#include <functional>

namespace events {
void yieldToEvents();
// `before` runs at the start of every yieldToEvents, before any events are processed; `after` at
// its end. Both run at every yield. Empty to remove.
void setYieldHook(std::function<void()> before, std::function<void()> after = {});
} // namespace events
