#pragma once
// A command button in graphical style: its caption on one line at a fixed place near the bottom,
// whatever the size of its picture, and the picture centred in the space above the caption.
// Only construction, drawing and the keys that press it; what a click does is up to the window
// that owns it. It adds no signals or properties, so it keeps the tool button's class name.

#include "Twips.h"

#include <QPixmap>
#include <QToolButton>

class GraphicalButton : public QToolButton {
  public:
    explicit GraphicalButton(QWidget* parent = nullptr);

    // Where the caption and the picture are drawn, in the button's own coordinates, while the
    // button is up (pressed, both shift by the style's button shift).
    QRect captionRect() const;
    QRect pictureRect() const;

  protected:
    void paintEvent(QPaintEvent* e) override;
    // Enter presses a focused button, as Space does.
    void keyPressEvent(QKeyEvent* e) override;
};

namespace forms {

// A graphical button named `name`, placed at `place` in its parent.
inline QToolButton* graphicalButton(QWidget* parent, const char* name, const QString& caption,
                                    const QPixmap& picture, const twips::Rect& place) {
    auto* b = new GraphicalButton(parent);
    twips::setGeometry(b, place.left, place.top, place.width, place.height);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.size());
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

} // namespace forms
