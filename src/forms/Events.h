#pragma once
// The yield of long work: process all pending window events, then return.
// A hook lets tests and the benchmark act at each yield; it changes nothing else.

#include <functional>

namespace events {
void yieldToEvents();
// `before` runs at the start of every yieldToEvents, before the events are processed; `after` once
// they have been. Empty to remove.
void setYieldHook(std::function<void()> before, std::function<void()> after = {});
} // namespace events
