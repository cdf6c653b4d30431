#pragma once
// The program's own icon, drawn at run time: a sieve with the primes lit, at 32 x 32 and
// 16 x 16. Every window of the program bears it. No widget logic.

#include <QIcon>
#include <QPixmap>

namespace icons {
QIcon appIcon();
QPixmap appPixmap32();
// A transparent square of size x size pixels to draw one of the program's pictures on.
QPixmap canvas(int size);
} // namespace icons
