#pragma once
// Paces repaints. A widget that changed marks itself dirty; the repaint requests are issued at
// most every kIntervalMs (under 60 times a second), so a busy loop that yields often still paints
// at a steady rate.
// flush() issues every pending request at once (before a box opens, at the end of work).
// It decides when to ask for a repaint, never what is painted.

#include <QWidget>

// Implemented by widgets that need more than update() when their paced turn comes
// (a list box syncing its scroll bar, for example).
class PacedWidget {
  public:
    virtual ~PacedWidget() = default;
    virtual void pacedUpdate() = 0;
};

class Pacer {
  public:
    static constexpr int kIntervalMs = 17; // 16 would allow 62 a second
    static void markDirty(QWidget* widget);
    static void flush();
};
