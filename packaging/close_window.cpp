// Preloaded by scripts/check-package into the installed program, which runs there on the
// offscreen platform where no window manager can close anything. Once a top-level window is on
// screen, it asks that window to close along the path a window manager's close request takes
// (QWindow::close hands the request to the platform window, which delivers the close event).
// It does nothing else: how the program ends is up to the program's own handling of the close.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

static void closeFirstWindowShown() {
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QWindow* window = widget->windowHandle();
            if (!widget->isVisible() || !window || !window->isExposed())
                continue;
            poll->stop();
            std::printf("closing the window \"%s\"\n", qPrintable(widget->windowTitle()));
            std::fflush(stdout);
            window->close();
            return;
        }
    });
    poll->start(100);
}
Q_COREAPP_STARTUP_FUNCTION(closeFirstWindowShown)
