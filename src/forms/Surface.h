#pragma once
// What a drawing surface offers to painters that reach it by member name: the persistent-image
// switch, the inner size in its own units (twips) and the filled-box form of Line (flag word 38).
// Each member returns false when the surface lacks it or refuses the call, so a painter can skip
// the failing statement and go on.

#include <QRgb>

class Surface {
  public:
    static constexpr int kFilledBox = 38; // box, filled, with start point and colour given

    virtual ~Surface() = default;
    virtual bool getAutoRedraw(bool& on) const = 0;
    virtual bool setAutoRedraw(bool on) = 0;
    virtual bool getScaleWidth(double& value) const = 0;
    virtual bool getScaleHeight(double& value) const = 0;
    virtual bool Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) = 0;
};
