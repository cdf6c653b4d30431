#include "FormsFont.h"

#include <QStringList>

QFont forms::defaultFont() {
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Nimbus Sans"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(7.5);
    return f;
}
