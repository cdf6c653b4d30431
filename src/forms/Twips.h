#pragma once
// Twips are the forms layer's unit of length: 1/1440 inch, 15 twips per logical pixel.
// These helpers only convert; they know nothing about widgets beyond their geometry.

#include <QWidget>
#include <cmath>

namespace twips {

constexpr int kPerPixel = 15;

// Nearest whole pixel, halves away from zero (how the toolkit places a control).
inline int toPx(double t) {
    return static_cast<int>(std::lround(t / kPerPixel));
}
inline int fromPx(int px) {
    return px * kPerPixel;
}

// Places a widget by its design geometry in twips.
// A control's place in its window, in twips.
struct Rect {
    double left, top, width, height;
};

inline void setGeometry(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(toPx(left), toPx(top), toPx(width), toPx(height));
}

} // namespace twips
