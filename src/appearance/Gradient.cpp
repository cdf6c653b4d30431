#include "Gradient.h"

#include <algorithm>
#include <cmath>
#include <limits>

static_assert(std::numeric_limits<double>::is_iec559, "steps rely on IEEE division by zero");

namespace {

// 16-bit signed arithmetic that reports overflow instead of wrapping.
bool fits16(long v) {
    return v >= -32768 && v <= 32767;
}

bool add16(qint16 a, qint16 b, qint16& out) {
    const long r = long{a} + long{b};
    if (!fits16(r))
        return false;
    out = static_cast<qint16>(r);
    return true;
}

bool sub16(qint16 a, qint16 b, qint16& out) {
    const long r = long{a} - long{b};
    if (!fits16(r))
        return false;
    out = static_cast<qint16>(r);
    return true;
}

bool mul16(qint16 a, qint16 b, qint16& out) {
    const long r = long{a} * long{b};
    if (!fits16(r))
        return false;
    out = static_cast<qint16>(r);
    return true;
}

// Truncates toward zero.
bool div16(qint16 a, qint16 b, qint16& out) {
    if (b == 0)
        return false;
    const long r = long{a} / long{b};
    if (!fits16(r))
        return false;
    out = static_cast<qint16>(r);
    return true;
}

// Nearest integer, halves to the even neighbour (the default rounding mode).
bool round16(double v, qint16& out) {
    if (!std::isfinite(v))
        return false;
    const double r = std::nearbyint(v);
    if (r < -32768.0 || r > 32767.0)
        return false;
    out = static_cast<qint16>(r);
    return true;
}

bool round32(float v, qint32& out) {
    if (!std::isfinite(v))
        return false;
    const double r = std::nearbyint(static_cast<double>(v));
    if (r < -2147483648.0 || r > 2147483647.0)
        return false;
    out = static_cast<qint32>(r);
    return true;
}

// One channel of a band: the level rounded, divided by its divisor, the quotient fitting 16 bits;
// above 255 paints as 255, below 0 as 0.
bool channel(float level, qint16 divisor, int& out) {
    qint32 rounded = 0;
    if (!round32(level, rounded) || divisor == 0)
        return false;
    const qint32 quotient = rounded / divisor;
    if (!fits16(quotient))
        return false;
    out = std::clamp(static_cast<int>(quotient), 0, 255);
    return true;
}

// ((stop - start) * pitch) / height: the difference and product in 16 bits, the division in
// double, kept in single precision. A height of 0 gives a step that is not finite.
bool stepOf(qint16 stop, qint16 start, qint16 pitch, qint16 height, float& step) {
    qint16 difference = 0, product = 0;
    if (!sub16(stop, start, difference) || !mul16(difference, pitch, product))
        return false;
    step = static_cast<float>(static_cast<double>(product) / static_cast<double>(height));
    return true;
}

} // namespace

void DrawGradient(Surface& TheObj, qint16& ColorRed, qint16& ColorGreen, qint16& ColorBlue,
                  qint16& ColorStop, qint16& ColorBandSize, qint16& StartLine, qint16& StopLine,
                  qint16& ModLine, qint16& AutoReDrawObj, qint16& MoreR, qint16& MoreG,
                  qint16& MoreB) {
    // 1., 2. The divisors, clamped to 1..20 in the caller's variables.
    if (MoreR <= 0)
        MoreR = 1;
    if (MoreG <= 0)
        MoreG = 1;
    if (MoreB <= 0)
        MoreB = 1;
    if (MoreR >= 20)
        MoreR = 20;
    if (MoreG >= 20)
        MoreG = 20;
    if (MoreB >= 20)
        MoreB = 20;

    // 3. A surface that refuses the setting keeps its own.
    if (AutoReDrawObj == -1)
        TheObj.setAutoRedraw(true);
    if (AutoReDrawObj == 0)
        TheObj.setAutoRedraw(false);

    // 4. to 9. Each value stays 0 when its statement fails.
    qint16 H = 0, W = 0;
    float redStep = 0, greenStep = 0, blueStep = 0;
    float red = 0, green = 0, blue = 0;
    double size = 0;
    if (TheObj.getScaleHeight(size))
        round16(size, H);
    if (TheObj.getScaleWidth(size))
        round16(size, W);
    stepOf(ColorStop, ColorRed, ColorBandSize, H, redStep);
    red = ColorRed;
    stepOf(ColorStop, ColorGreen, ColorBandSize, H, greenStep);
    green = ColorGreen;
    stepOf(ColorStop, ColorBlue, ColorBandSize, H, blueStep);
    blue = ColorBlue;

    // 10. A pitch of 0 would never advance: nothing is painted.
    const qint16 pitch = ColorBandSize;
    const qint16 last = StopLine;
    if (pitch == 0)
        return;
    qint16 y = StartLine;
    while (pitch > 0 ? y <= last : y >= last) {
        // 10.1 A band whose colour or edges cannot be worked out is skipped.
        int r = 0, g = 0, b = 0;
        qint16 top = 0, drop = 0, bottom = 0;
        if (channel(red, MoreR, r) && channel(green, MoreG, g) && channel(blue, MoreB, b) &&
            sub16(y, 1, top) && div16(ColorBandSize, ModLine, drop) && add16(y, drop, bottom))
            TheObj.Line(Surface::kFilledBox, -1, top, W, bottom, qRgb(r, g, b));
        // 10.2 to 10.4
        blue += blueStep;
        red += redStep;
        green += greenStep;
        // 10.5 The loop ends when y leaves the 16-bit range.
        if (!add16(y, pitch, y))
            break;
    }
}
