// PrimeStore and the list's text lines against a plain vector of the same values, on lists of
// every shape, and the store's refusals when it is full or out of memory.

#include "ListText.h"
#include "PrimeStore.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <vector>

namespace {
using Values = std::vector<uint32_t>;

// Appends pieces of the given kinds to the store and returns the same list as a plain vector.
// A piece "clear" empties the list.
Values appendPieces(PrimeStore& store, const QStringList& pieces, QRandomGenerator& rng) {
    Values list;
    auto add = [&](uint32_t v) {
        list.push_back(v);
        QVERIFY(store.append(v));
    };
    auto ascend = [&](uint32_t v, int count) { // even gaps up to 336, as between primes
        for (int k = 0; k < count; ++k)
            add(v += 2 * rng.bounded(169u));
    };
    for (const QString& piece : pieces) {
        const int n = static_cast<int>(rng.bounded(200, 3000));
        if (piece == "clear") { // after a read, so that a position kept from before would show
            [&] {
                if (!list.empty())
                    QCOMPARE(store.at(0), list[0]);
            }();
            store.clear();
            list.clear();
        } else if (piece == "search") { // 1, 1 and values like the odd primes
            add(1);
            ascend(1, n);
        } else if (piece == "larger") { // an outer search going on over a nested one's list
            ascend((list.empty() ? 0 : list.back()) + rng.bounded(1u << 20), n);
        } else if (piece == "long") { // past 2^20 items
            ascend(1, 1 << 20 | n);
        } else if (piece == "arbitrary") {
            for (int k = 0; k < n; ++k)
                add(rng.generate());
        } else if (piece == "descending") { // down to 0, then 0 again and again
            uint32_t v = rng.generate();
            for (int k = 0; k < n; ++k, v -= std::min(v, rng.bounded(1u << 24)))
                add(v);
        } else if (piece == "repeats") { // runs of equal values, some longer than a chunk
            uint32_t v = rng.bounded(50u);
            for (int k = 0; k < n; ++k, v += rng.bounded(3u))
                for (quint32 t = rng.bounded(k % 7 ? 4 : 1200); t > 0; --t)
                    add(v);
        } else if (piece == "gaps") { // odd gaps, gaps just below and above a byte, huge ones
            uint32_t v = rng.bounded(1000u);
            for (int k = 0; k < n && v < 0xF0000000u; ++k) {
                const quint32 gaps[] = {1, 3, 508, 510, 512, 1u << 20, rng.bounded(400u)};
                add(v += gaps[rng.bounded(7)]);
            }
        } else if (piece == "digits") { // every length of decimal text
            for (uint32_t v : {0u, 9u, 10u, 99u, 100u, 999999999u, 1000000000u, 4294967294u,
                               4294967295u, 4294967295u, 0u})
                add(v);
        }
    }
    return list;
}

QByteArray linesOf(const Values& list, size_t from, size_t to) {
    QByteArray text;
    for (size_t i = from; i < to; ++i)
        text += QByteArray::number(list[i]) + "\r\n";
    return text;
}

// Everything the store answers, checked against the plain list.
void compare(const PrimeStore& store, const Values& list, QRandomGenerator& rng) {
    const auto n = static_cast<int64_t>(list.size());
    QCOMPARE(store.size(), n);
    int64_t runs = 0;
    for (int64_t i = 0; i < n; ++i) {
        QCOMPARE(store.at(i), list[i]);
        runs += i == 0 || list[i] < list[i - 1];
    }
    QCOMPARE(store.runCount(), runs);
    for (int k = 0; k < 300 && n > 0; ++k) {
        const auto i = static_cast<int64_t>(rng.bounded(quint32(n)));
        QCOMPARE(store.at(i), list[i]);
        const uint32_t v = list[i] + static_cast<uint32_t>(k % 3) - 1; // present or a neighbour
        QCOMPARE(store.countOf(v), std::count(list.begin(), list.end(), v));
    }
    QCOMPARE(store.countOf(0), std::count(list.begin(), list.end(), 0u));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, store.at(n));

    // A random range, item by item and as lines.
    const int64_t from = n ? rng.bounded(quint32(n)) : 0;
    const int64_t to = from + rng.bounded(quint32(n - from + 1));
    Values seen;
    store.forEach(from, to, [&seen](uint32_t v) { seen.push_back(v); });
    QVERIFY(std::equal(seen.begin(), seen.end(), list.begin() + from, list.begin() + to));

    // The lines go into buffers too small for all of them, between guard bytes that must stay
    // untouched.
    QByteArray text;
    const QByteArray guard(12, '#');
    for (auto [next, room] = std::pair{int64_t(from), int(rng.bounded(1, 5000))}; next < to;) {
        QByteArray buffer = guard + QByteArray(room, '\0') + guard;
        const auto filled =
            listtext::formatLines(store, next, to, buffer.data() + guard.size(), size_t(room));
        QVERIFY(buffer.startsWith(guard) && buffer.endsWith(guard));
        // As many whole lines as fit: the next one doesn't.
        if (filled.next < to)
            QVERIFY(room - filled.bytes <
                    size_t(linesOf(list, filled.next, filled.next + 1).size()));
        if (filled.next == next)
            ++room;
        text += buffer.mid(guard.size(), static_cast<int>(filled.bytes));
        next = filled.next;
    }
    QCOMPARE(text, linesOf(list, from, to));
}
} // namespace

class CoreStoreTest : public QObject {
    Q_OBJECT
  private slots:
    void storeMatchesPlainList_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("empty") << 1u << QStringList{};
        QTest::newRow("a search's list") << 2u << QStringList{"search"};
        QTest::newRow("nested search, then the outer one")
            << 3u << QStringList{"search", "clear", "search", "larger", "larger"};
        QTest::newRow("over a million items") << 10u << QStringList{"long", "repeats"};
        QTest::newRow("arbitrary values") << 4u << QStringList{"arbitrary"};
        QTest::newRow("descending values") << 5u << QStringList{"descending", "descending"};
        QTest::newRow("repeats") << 6u << QStringList{"repeats", "search", "repeats"};
        QTest::newRow("odd and huge gaps") << 7u << QStringList{"gaps", "larger", "gaps"};
        QTest::newRow("every digit count") << 8u << QStringList{"digits", "search", "digits"};
        QTest::newRow("all kinds, cleared in the middle")
            << 9u << QStringList{"arbitrary", "repeats", "clear",  "gaps",   "descending",
                                 "search",    "digits",  "larger", "repeats"};
    }
    void storeMatchesPlainList() {
        QFETCH(quint32, seed);
        QFETCH(QStringList, pieces);
        QRandomGenerator rng(seed);
        PrimeStore store;
        const Values list = appendPieces(store, pieces, rng);
        QCOMPARE(store.changeCount() > 0, !pieces.isEmpty());
        compare(store, list, rng);
    }

    // A refused item leaves the store as it was; once there is room it goes in. The budgets
    // step through every kind of growth: the runs, the chunks' index, the pages.
    void appendRefusedWhenFull_data() {
        QTest::addColumn<qint64>("maxItems");
        QTest::addColumn<QList<qint64>>("budgets"); // bytes; none means no limit
        QTest::newRow("item limit inside a chunk") << qint64(1000) << QList<qint64>{-1};
        QTest::newRow("item limit at a chunk's end") << qint64(512) << QList<qint64>{-1};
        QList<qint64> budgets;
        for (auto b = qint64(PrimeStore().memoryBytes()); b < 20000; b += 97)
            budgets << b;
        QTest::newRow("memory runs out") << qint64(PrimeStore::kMaxItems) << budgets;
    }
    void appendRefusedWhenFull() {
        QFETCH(qint64, maxItems);
        QFETCH(QList<qint64>, budgets);
        for (const qint64 budget : budgets) {
            PrimeStore::Limits limits{maxItems, budget < 0 ? SIZE_MAX : size_t(budget)};
            PrimeStore store(limits);
            QRandomGenerator rng(static_cast<quint32>(budget + 11));
            Values kept;
            for (uint32_t v = 1;; v += rng.bounded(3) ? 2 : 1001) {
                const uint32_t item = kept.size() % 97 == 96 ? 5 : v; // a new run now and then
                const uint64_t changes = store.changeCount();
                if (!store.append(item)) {
                    QCOMPARE(store.changeCount(), changes);
                    break;
                }
                kept.push_back(item);
            }
            QVERIFY(store.memoryBytes() <= limits.maxBytes);
            if (budget < 0)
                QCOMPARE(store.size(), maxItems);
            compare(store, kept, rng);
            store.setLimits({});
            QVERIFY(store.append(7));
            QCOMPARE(store.at(qint64(kept.size())), 7u);
        }
    }
};

QTEST_GUILESS_MAIN(CoreStoreTest)
#include "test_core_store.moc"
