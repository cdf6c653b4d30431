#pragma once
// The search exactly as the window's design describes it, for differential tests and as the
// benchmark's yardstick: every candidate is divided by every item of the list as it stands,
// until the third exact division. Scenario actions run at numbered yields, counted across
// nested searches. It is deliberately slow and does not pace itself.

#include "PrimeStore.h"

#include <QString>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace reference {

struct Action {
    enum Kind { Stop, Start, Edit } kind = Stop;
    QString text;    // Start: the limit typed before starting; Edit: the new text of the field
    bool yes = true; // Start: the answer to the confirmation
};

struct Model {
    std::vector<quint32> list{1};
    bool stopRequested = false;
    int yields = 0;
    std::map<int, Action> actions;
    std::vector<long long> summaries; // item counts, in the order the summaries appear
    QString text = QStringLiteral("3000");
};

// How a candidate is divided. Exact: by the remainder of whole numbers. AsText: as the search was
// first written, the divisor converted from the item's text at every division and the quotient
// tested for being whole. Below 2^32 a double quotient is whole exactly when the remainder is 0,
// so both give the same list; AsText at the first version's cost.
enum class Division { Exact, AsText };

inline bool divides(quint32 divisor, quint64 n, Division how) {
    if (how == Division::Exact)
        return n % divisor == 0;
    const double q = static_cast<double>(n) / QString::number(divisor).toDouble();
    return std::trunc(q) == q;
}

inline void calcula(Model& m, Division how = Division::Exact) {
    bool ok = false;
    const double L = QString(m.text).replace(u',', u'.').trimmed().toDouble(&ok);
    if (!ok)
        return;
    m.list.clear();
    m.list.push_back(1);
    for (quint64 n = 1; static_cast<double>(n) <= L; n += 2) {
        int count = 0;
        bool composite = false;
        for (size_t j = 0; j < m.list.size(); ++j) {
            if (divides(m.list[j], n, how) && ++count == 3) {
                composite = true;
                break;
            }
        }
        if (!composite)
            m.list.push_back(static_cast<quint32>(n));
        if (QString::number(n).endsWith(QStringLiteral("99"))) {
            const int y = m.yields++;
            if (auto it = m.actions.find(y); it != m.actions.end()) {
                const Action a = it->second;
                if (a.kind == Action::Stop)
                    m.stopRequested = true;
                else if (a.kind == Action::Edit)
                    m.text = a.text;
                else {
                    m.text = a.text;
                    if (a.yes)
                        calcula(m, how);
                }
            }
            if (m.stopRequested)
                break;
        }
    }
    m.summaries.push_back(static_cast<long long>(m.list.size()));
    m.stopRequested = false;
}

// The plain list for a finished search to `limit`: 1, 1 and the odd primes.
inline std::vector<quint32> primesList(quint32 limit) {
    std::vector<quint32> out{1};
    if (limit >= 1)
        out.push_back(1);
    for (quint32 n = 3; n <= limit; n += 2) {
        bool prime = true;
        for (quint32 d = 3; d * d <= n; d += 2)
            if (n % d == 0) {
                prime = false;
                break;
            }
        if (prime)
            out.push_back(n);
    }
    return out;
}

// The program's list as a plain one, to compare with the reference's.
inline std::vector<quint32> valuesOf(const PrimeStore& store) {
    std::vector<quint32> out;
    out.reserve(static_cast<size_t>(store.size()));
    store.forEach(0, store.size(), [&out](uint32_t v) { out.push_back(v); });
    return out;
}

} // namespace reference
