#include "Form.h"

#include "Twips.h"

#include <QLayout>
#include <QMenuBar>

Form::Form(QWidget* parent) : QMainWindow(parent), m_surface(new PictureBox(this, false)) {
    setCentralWidget(m_surface);
}

int Form::menuBarHeightPx() const {
    if (!menuBar() || menuBar()->actions().isEmpty())
        return 0;
    const int h = menuBar()->heightForWidth(width());
    return h > 0 ? h : menuBar()->sizeHint().height();
}

void Form::setClientSizeTwips(double width, double height) {
    resize(twips::toPx(width), twips::toPx(height) + menuBarHeightPx());
}

float Form::Width() const {
    return static_cast<float>(twips::fromPx(width() + 2 * kFramePx));
}

float Form::Height() const {
    return static_cast<float>(twips::fromPx(height() + kCaptionPx + 2 * kFramePx));
}

void Form::setOuterSizeTwips(double w, double h) {
    resize(std::max(1, twips::toPx(w) - 2 * kFramePx),
           std::max(1, twips::toPx(h) - kCaptionPx - 2 * kFramePx));
}

double Form::ScaleWidth() const {
    return twips::fromPx(width());
}

double Form::ScaleHeight() const {
    return twips::fromPx(std::max(0, height() - menuBarHeightPx()));
}

void Form::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    // The client surface must have its new size before anything paints on it.
    if (layout())
        layout()->activate();
    if (m_surface->size() != QSize(width(), height() - menuBarHeightPx()))
        m_surface->setGeometry(0, menuBarHeightPx(), width(), height() - menuBarHeightPx());
    Form_Resize();
}
