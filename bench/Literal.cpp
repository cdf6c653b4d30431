#include "Literal.h"

#include "ListBox.h"

#include <cmath>

void literalSearch(ListBox& lista, double L) {
    lista.Clear();
    lista.AddItem(1);
    int count = 0;
    for (double n = 1; n <= L; n += 2) {
        bool composite = false;
        for (qint64 j = 0; j < lista.ListCount(); ++j) {
            const double q = n / lista.List(j).toDouble();
            if (std::trunc(q) == q && ++count == 3) {
                composite = true;
                break;
            }
        }
        if (!composite)
            lista.AddItem(static_cast<quint32>(n));
        count = 0;
    }
}
