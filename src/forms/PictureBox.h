#pragma once
// A picture box used as a drawing surface: clear, filled boxes between two corners in a colour,
// and text printed at the print position, all in twips from the top-left of the drawable area
// inside its border. What is drawn is kept in an image and repainted from it. A resize erases the
// drawing unless the drawing is persistent (AutoRedraw), which keeps it unscaled at the top left.
// It also serves as a window's client surface (no border). It knows nothing of what its owner
// draws on it.

#include "Pacer.h"
#include "Surface.h"

#include <QImage>
#include <QWidget>

class PictureBox : public QWidget, public Surface, public PacedWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr, bool sunkenBorder = true);

    void Cls();
    void Print(const QString& text);
    // Filled box with both corners included; the part outside the drawable area is clipped.
    void fillBox(double x1, double y1, double x2, double y2, QRgb colour);

    bool getAutoRedraw(bool& on) const override;
    bool setAutoRedraw(bool on) override;
    bool getScaleWidth(double& value) const override;
    bool getScaleHeight(double& value) const override;
    bool Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) override;

    int borderPx() const { return m_border; }
    const QImage& image() const { return m_image; }
    QPoint printPosition() const { return m_printPos; }
    QString printedText() const { return m_printed; } // text printed since the last clear
    void pacedUpdate() override { update(); }

  signals:
    void cleared(); // by Cls
    void printed(); // by Print

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    QSize innerSize() const;
    void changed();

    int m_border;
    bool m_autoRedraw = false;
    QImage m_image;
    QPoint m_printPos;
    QString m_printed;
    // The last box filled since anything else was drawn: a box inside it in the same colour
    // changes no pixel and is skipped.
    QRect m_lastBox;
    QRgb m_lastBoxColour = 0;
};
