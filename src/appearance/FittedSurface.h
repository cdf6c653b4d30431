#pragma once
// A view of a drawing surface for painters whose positions are 16-bit numbers: it reports the
// inner size limited to 32767 units, and a filled box whose far corner reaches that limit is
// stretched out to the real edge. A picture painted for the limited size so covers the whole
// surface, its last band filling the rest. Within the limit everything passes through unchanged.
// It paints nothing itself and keeps no picture.

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

  private:
    Surface& m_inner;
};
