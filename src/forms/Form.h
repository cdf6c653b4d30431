#pragma once
// A top-level window of the forms layer: a menu bar over a client surface (a borderless picture
// box) on which controls sit at positions in twips. It offers the window's outer Width and
// Height, its inner ScaleWidth and ScaleHeight (the area below the menu bar), its control
// collection and a resize hook. It knows nothing of any particular window's controls.
//
// The outer size is defined by the window's own size plus a fixed nominal frame (border and
// caption), never by what a window manager reports, so it reads the same before the window is
// shown and after.

#include "Controls.h"
#include "PictureBox.h"

#include <QMainWindow>

class Form : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kFramePx = 4;    // nominal sizing border on each side
    static constexpr int kCaptionPx = 23; // nominal caption bar

    explicit Form(QWidget* parent = nullptr);

    PictureBox* surface() const { return m_surface; }
    ControlCollection& Controls() { return m_controls; }
    const ControlCollection& Controls() const { return m_controls; }

    void setClientSizeTwips(double width, double height);
    float Width() const;  // outer, twips
    float Height() const; // outer, twips
    void setOuterSizeTwips(double width, double height);
    double ScaleWidth() const;
    double ScaleHeight() const;

  protected:
    virtual void Form_Resize() {}
    void resizeEvent(QResizeEvent* e) override;
    int menuBarHeightPx() const;

  private:
    PictureBox* m_surface;
    ControlCollection m_controls;
};
