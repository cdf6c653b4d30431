#pragma once
// A command button in graphical style: a small picture above its caption. Only construction;
// what a click does is up to the window that owns it.

#include <QPixmap>
#include <QToolButton>

namespace forms {

inline QToolButton* graphicalButton(QWidget* parent, const char* name, const QString& caption,
                                    const QPixmap& picture) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.size());
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

} // namespace forms
