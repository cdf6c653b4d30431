#include "ProgramIdentity.h"

#include "MessageBox.h"

QString program::title() {
    return QStringLiteral("Tamizo");
}

void program::install() {
    MessageBox::setProgramWords(
        {title(), QStringLiteral("Aceptar"), QStringLiteral("Sí"), QStringLiteral("No")});
}
