// Tamizo: lists the primes up to a limit and saves the list to a text file.

#include "Form1.h"
#include "ProgramIdentity.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

static bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("Tamizo necesita una pantalla gráfica: no se ha encontrado ninguna "
                   "(DISPLAY no está definida). Pruebe con xvfb-run.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(program::title());
    Form1 form;
    form.show();
    return app.exec();
}
