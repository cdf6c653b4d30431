#include "FittedSurface.h"

#include <algorithm>
#include <cmath>

qint16 FittedSurface::fitted(double size) {
    if (std::isnan(size))
        return 0;
    return static_cast<qint16>(std::nearbyint(std::clamp(size, -32768.0, kLimit)));
}

bool FittedSurface::getScaleWidth(double& value) const {
    double real = 0;
    if (!m_inner.getScaleWidth(real))
        return false;
    value = std::min(real, kLimit);
    return true;
}

bool FittedSurface::getScaleHeight(double& value) const {
    double real = 0;
    if (!m_inner.getScaleHeight(real))
        return false;
    value = std::min(real, kLimit);
    return true;
}

bool FittedSurface::Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) {
    double realWidth = 0;
    if (x2 >= kLimit && m_inner.getScaleWidth(realWidth) && realWidth > kLimit)
        x2 = std::max(x2, realWidth);
    if (!m_inner.Line(flags, x1, y1, x2, y2, colour))
        return false;
    const double bottom = std::max(y1, y2);
    if (!m_drawn || bottom >= m_lowest) {
        m_drawn = true;
        m_lowest = bottom;
        m_lowestColour = colour;
    }
    return true;
}

void FittedSurface::fillRest() {
    double realWidth = 0, realHeight = 0;
    if (!m_drawn || !m_inner.getScaleHeight(realHeight) || realHeight <= kLimit ||
        !m_inner.getScaleWidth(realWidth))
        return;
    m_inner.Line(kFilledBox, -1, m_lowest, realWidth, realHeight, m_lowestColour);
}
