#include "MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int g_pointer = pointer::kDefault;
}

void pointer::setMousePointer(int value) {
    g_pointer = value;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (value == kHourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

int pointer::mousePointer() {
    return g_pointer;
}
