#pragma once
// A view of a drawing surface for painters whose positions are 16-bit numbers: it reports the
// inner size limited to 32767 units and stretches a filled box that reaches the limited right
// edge out to the real one. After painting, fillRest() covers what lies below the lowest box
// with that box's colour, so a picture painted for the limited height still covers the whole
// surface. Within the limit it passes everything through unchanged and fillRest() does nothing.
// It does not paint a picture of its own.

#include "Surface.h"

#include <QtGlobal>

class FittedSurface : public Surface {
  public:
    static constexpr double kLimit = 32767;

    explicit FittedSurface(Surface& inner) : m_inner(inner) {}

    // A size as a 16-bit position: rounded, halves to even, and limited to kLimit.
    static qint16 fitted(double size);

    bool getAutoRedraw(bool& on) const override { return m_inner.getAutoRedraw(on); }
    bool setAutoRedraw(bool on) override { return m_inner.setAutoRedraw(on); }
    bool getScaleWidth(double& value) const override;
    bool getScaleHeight(double& value) const override;
    bool Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) override;

    // Below the lowest box drawn, down to the real bottom edge, in that box's colour; only when
    // the real height is beyond the limit.
    void fillRest();

  private:
    Surface& m_inner;
    bool m_drawn = false;
    double m_lowest = 0;
    QRgb m_lowestColour = 0;
};
