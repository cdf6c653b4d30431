// The program's logic with no widgets: the prime list store and the list's text lines against a
// plain vector of the same values, on lists of every shape, and the store's refusals when it is
// full or out of memory; the candidate judge against counting by division over the whole list;
// the limit reader under several locales.

#include "CandidateJudge.h"
#include "LimitText.h"
#include "ListText.h"
#include "PrimeStore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <vector>

using limit_text::Kind;

// A C library locale the limit-text table runs under. One the system lacks is compiled from the
// locales package's sources into a folder of the test's own (LOCPATH is set only while it is
// being chosen, so the system's locales stay reachable for the others).
struct TestLocale {
    QByteArray name;
    QByteArray path; // LOCPATH for a compiled locale; empty for one of the system's
    bool use() const {
        if (!path.isEmpty())
            qputenv("LOCPATH", path);
        const bool ok = std::setlocale(LC_ALL, name.constData()) != nullptr;
        if (!path.isEmpty())
            qunsetenv("LOCPATH");
        return ok;
    }
};

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

// How many items divide n, counted as the search's rule counts them: item by item, up to three.
int literalCount(const PrimeStore& list, quint64 n) {
    int c = 0;
    for (qint64 j = 0; j < list.size() && c < 3; ++j)
        c += n % list.at(j) == 0;
    return c;
}
} // namespace

class CoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_localeDir;
    std::vector<TestLocale> m_locales;

  private slots:
    void initTestCase() {
        const QByteArray saved = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"C.UTF-8", "es_ES.UTF-8", "de_DE.UTF-8", "en_US.UTF-8"}) {
            TestLocale locale{name, {}};
            if (!locale.use() && locale.name == "es_ES.UTF-8") {
                // A decimal-comma locale is needed; compile it when the system lacks it.
                locale.path = QFile::encodeName(m_localeDir.path());
                QProcess::execute("localedef", {"-i", "es_ES", "-f", "UTF-8",
                                                m_localeDir.filePath("es_ES.UTF-8")});
            }
            if (locale.use())
                m_locales.push_back(locale);
        }
        std::setlocale(LC_ALL, saved.constData());
        QByteArray names;
        for (const TestLocale& locale : m_locales)
            names += " " + locale.name + (locale.path.isEmpty() ? "" : " (compiled)");
        qInfo("Limit text read under:%s", names.constData());
    }

    // --- the prime list store ---

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

    void storeCountsValuesAcrossAscendingRuns_data() {
        QTest::addColumn<QList<uint>>("items");
        QTest::addColumn<uint>("value");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("runs");
        QTest::newRow("seed and one") << QList<uint>{1, 1, 3, 5} << 1u << 2 << 1;
        QTest::newRow("absent") << QList<uint>{1, 1, 3, 5} << 4u << 0 << 1;
        QTest::newRow("in two runs") << QList<uint>{1, 1, 3, 7, 3, 11} << 3u << 2 << 2;
        QTest::newRow("three runs") << QList<uint>{5, 9, 2, 9, 1, 9, 9} << 9u << 4 << 3;
        QTest::newRow("last item") << QList<uint>{1, 2, 3} << 3u << 1 << 1;
    }
    void storeCountsValuesAcrossAscendingRuns() {
        QFETCH(QList<uint>, items);
        QFETCH(uint, value);
        QFETCH(int, count);
        QFETCH(int, runs);
        PrimeStore store;
        for (uint v : items)
            QVERIFY(store.append(v));
        QCOMPARE(store.countOf(value), count);
        QCOMPARE(store.runCount(), runs);
    }

    // --- the candidate judge ---

    void sieveAgreesWithTrialDivision_data() {
        QTest::addColumn<quint64>("from");
        QTest::newRow("start") << quint64(1);
        QTest::newRow("segment boundary") << quint64(131071);
        QTest::newRow("near 2^31") << quint64(2147483647 - 4000);
        QTest::newRow("top of range") << quint64(4294967295ull - 4000);
    }
    void sieveAgreesWithTrialDivision() {
        QFETCH(quint64, from);
        PrimeStore list;
        CandidateJudge judge(list);
        for (quint64 n = from | 1; n <= from + 4000 && n <= 4294967295ull; n += 2) {
            bool prime = n > 1;
            for (quint64 d = 3; d * d <= n; d += 2)
                if (n % d == 0) {
                    prime = false;
                    break;
                }
            QVERIFY2(judge.isPrime(n) == prime, qPrintable(QString::number(n)));
        }
    }

    void ownListFollowsPrimeRule() {
        PrimeStore list;
        QVERIFY(list.append(1));
        CandidateJudge judge(list);
        for (quint64 n = 1; n < 20000; n += 2) {
            const bool expected = literalCount(list, n) < 3;
            QCOMPARE(judge.shouldAppend(n), expected);
            if (expected)
                QVERIFY(list.append(static_cast<quint32>(n)));
        }
        QVERIFY(judge.trusted());
    }

    void exactCountMatchesDivisionOnArbitraryLists() {
        QRandomGenerator rng(42);
        for (int round = 0; round < 30; ++round) {
            PrimeStore list;
            // A few ascending runs of random values, as nested searches leave them.
            const int runs = rng.bounded(1, 4);
            for (int r = 0; r < runs; ++r) {
                quint32 v = rng.bounded(1, 5);
                for (int i = rng.bounded(1, 60); i > 0; --i) {
                    QVERIFY(list.append(v));
                    v += rng.bounded(0, 40);
                }
            }
            CandidateJudge judge(list);
            judge.listChangedElsewhere();
            for (int k = 0; k < 300; ++k) {
                const quint64 n = rng.bounded(1, 5000);
                QVERIFY2(judge.countDivisorsInList(n) == literalCount(list, n),
                         qPrintable(QStringLiteral("round %1, n %2").arg(round).arg(n)));
            }
        }
    }

    void exactCountHandlesLargeFactorsAndTopValues_data() {
        QTest::addColumn<quint64>("n");
        QTest::addColumn<QList<uint>>("items");
        QTest::addColumn<int>("count");
        QTest::newRow("prime near top: itself listed")
            << quint64(4294967291ull) << QList<uint>{1, 1, 4294967291u} << 3;
        QTest::newRow("prime near top: not listed")
            << quint64(4294967291ull) << QList<uint>{1, 1, 3} << 2;
        QTest::newRow("square of 65521")
            << quint64(65521ull * 65521ull) << QList<uint>{1, 65521u} << 2;
        QTest::newRow("product of two large primes")
            << quint64(65519ull * 65521ull) << QList<uint>{1, 1, 65521u} << 3;
        QTest::newRow("only the seed") << quint64(9) << QList<uint>{1} << 1;
    }
    void exactCountHandlesLargeFactorsAndTopValues() {
        QFETCH(quint64, n);
        QFETCH(QList<uint>, items);
        QFETCH(int, count);
        PrimeStore list;
        for (uint v : items)
            QVERIFY(list.append(v));
        CandidateJudge judge(list);
        judge.listChangedElsewhere();
        QCOMPARE(judge.countDivisorsInList(n), count);
        QCOMPARE(judge.shouldAppend(n), count < 3);
    }

    // --- the limit reader ---

    void limitTextReadsTheSameUnderEveryLocale_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value"); // compared for numbers only
        const int number = int(Kind::Number), nan = int(Kind::NotANumber),
                  large = int(Kind::TooLarge);
        const QString nbsp(QChar(0x00A0)), narrow(QChar(0x202F));
        QTest::newRow("plain") << "3000" << number << 3000.0;
        QTest::newRow("blanks around") << " 3000 " << number << 3000.0;
        QTest::newRow("plus sign") << "+3000" << number << 3000.0;
        QTest::newRow("point groups thousands") << "3.000" << number << 3000.0;
        QTest::newRow("comma groups thousands") << "3,000" << number << 3000.0;
        QTest::newRow("blank groups thousands") << "3 000" << number << 3000.0;
        QTest::newRow("no-break space groups") << "3" + nbsp + "000" << number << 3000.0;
        QTest::newRow("narrow no-break space groups")
            << "1" + narrow + "000" + narrow + "000" << number << 1000000.0;
        QTest::newRow("points group a million") << "1.000.000" << number << 1000000.0;
        QTest::newRow("commas group a million") << "1,000,000" << number << 1000000.0;
        QTest::newRow("blanks group a million") << "1 000 000" << number << 1000000.0;
        QTest::newRow("largest, grouped") << "4.294.967.295" << number << 4294967295.0;
        QTest::newRow("largest") << "4294967295" << number << 4294967295.0;
        QTest::newRow("largest with zero fraction") << "4294967295.0" << number << 4294967295.0;
        QTest::newRow("decimal comma") << "30,5" << number << 30.5;
        QTest::newRow("decimal point") << "30.5" << number << 30.5;
        QTest::newRow("decimal sign before four digits") << "1.0000" << number << 1.0;
        QTest::newRow("points group, comma is decimal") << "1.000,5" << number << 1000.5;
        QTest::newRow("commas group, point is decimal") << "1,000.5" << number << 1000.5;
        QTest::newRow("last of both signs is decimal") << "1.000,500" << number << 1000.5;
        QTest::newRow("blanks group, comma is decimal") << "1 000,5" << number << 1000.5;
        QTest::newRow("fraction only") << ",5" << number << 0.5;
        QTest::newRow("zero and fraction") << "0,5" << number << 0.5;
        QTest::newRow("decimal sign last") << "3." << number << 3.0;
        QTest::newRow("leading zeros") << "000031" << number << 31.0;
        QTest::newRow("fraction never carries into the whole part")
            << "4294967294.99999999999999999999" << number << std::nextafter(4294967295.0, 0.0);
        QTest::newRow("negative") << "-12" << number << -12.0;
        QTest::newRow("negative, grouped") << "-3.000" << number << -3000.0;
        QTest::newRow("very negative") << "-99999999999" << number << -99999999999.0;
        QTest::newRow("long run of leading zeros") << QString(100000, u'0') + "7" << number << 7.0;
        QTest::newRow("broken last group") << "1.000.00" << nan << 0.0;
        QTest::newRow("groups of one") << "1,0,0" << nan << 0.0;
        QTest::newRow("decimal sign twice") << "3.000,5.0" << nan << 0.0;
        QTest::newRow("zero is not a group") << "0.500" << nan << 0.0;
        QTest::newRow("group with no first group") << ",500" << nan << 0.0;
        QTest::newRow("first group of four") << "1234.567" << nan << 0.0;
        QTest::newRow("blank and point mixed") << "1 000.000" << nan << 0.0;
        QTest::newRow("group after decimal sign") << "1,5 000" << nan << 0.0;
        QTest::newRow("short group after blank") << "30 00" << nan << 0.0;
        QTest::newRow("two separators in a row") << "1..000" << nan << 0.0;
        QTest::newRow("two points") << "1.2.3" << nan << 0.0;
        QTest::newRow("letters") << "abc" << nan << 0.0;
        QTest::newRow("empty") << "" << nan << 0.0;
        QTest::newRow("blank") << "   " << nan << 0.0;
        QTest::newRow("sign only") << "-" << nan << 0.0;
        QTest::newRow("point only") << "." << nan << 0.0;
        QTest::newRow("blank after sign") << "+ 3000" << nan << 0.0;
        QTest::newRow("exponent") << "1e5" << nan << 0.0;
        QTest::newRow("hexadecimal") << "&H10" << nan << 0.0;
        QTest::newRow("two signs") << "--5" << nan << 0.0;
        QTest::newRow("letters after digits") << "12abc" << nan << 0.0;
        QTest::newRow("sign after digits") << "12-" << nan << 0.0;
        QTest::newRow("full-width digits") << QString::fromUtf8("３０００") << nan << 0.0;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٣٠٠٠") << nan << 0.0;
        QTest::newRow("one above largest") << "4294967296" << large << 0.0;
        QTest::newRow("eleven digits") << "99999999999" << large << 0.0;
        QTest::newRow("fraction above largest") << "4.294.967.295,5" << large << 0.0;
        QTest::newRow("long run of digits") << QString(100000, u'9') << large << 0.0;
    }
    void limitTextReadsTheSameUnderEveryLocale() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(double, value);
        QVERIFY2(m_locales.size() >= 2, "fewer than two locales to read under");
        const QByteArray saved = std::setlocale(LC_ALL, nullptr);
        auto restore = qScopeGuard([&] { std::setlocale(LC_ALL, saved.constData()); });
        bool commaLocale = false;
        for (const TestLocale& locale : m_locales) {
            QVERIFY2(locale.use(), locale.name.constData());
            commaLocale = commaLocale || std::strcmp(std::localeconv()->decimal_point, ",") == 0;
            const limit_text::Reading r = limit_text::read(text);
            const QByteArray where = "under " + locale.name + ": kind " +
                                     QByteArray::number(int(r.kind)) + ", value " +
                                     QByteArray::number(r.value, 'g', 17);
            QVERIFY2(int(r.kind) == kind, where.constData());
            QVERIFY2(std::isfinite(r.value), where.constData());
            if (kind == int(Kind::Number))
                QVERIFY2(r.value == value, where.constData());
            else if (kind == int(Kind::TooLarge))
                QVERIFY2(r.value > limit_text::kMaxLimit, where.constData());
            else
                QVERIFY2(r.value == 0, where.constData());
        }
        QVERIFY2(commaLocale, "no locale with a decimal comma was exercised");
    }
};

QTEST_GUILESS_MAIN(CoreTest)
#include "test_core.moc"
