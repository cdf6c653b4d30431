// CandidateJudge: the sieve and the exact divisor count agree with counting by division over
// the whole list, on the search's own list and on lists of any shape.

#include "CandidateJudge.h"
#include "ListBox.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
int literalCount(const ListBox& list, quint64 n) {
    int c = 0;
    for (qint64 j = 0; j < list.ListCount() && c < 3; ++j)
        c += n % list.value(j) == 0;
    return c;
}
} // namespace

class JudgeTest : public QObject {
    Q_OBJECT
  private slots:
    void sieveAgreesWithTrialDivision_data() {
        QTest::addColumn<quint64>("from");
        QTest::newRow("start") << quint64(1);
        QTest::newRow("segment boundary") << quint64(131071);
        QTest::newRow("near 2^31") << quint64(2147483647 - 4000);
        QTest::newRow("top of range") << quint64(4294967295ull - 4000);
    }
    void sieveAgreesWithTrialDivision() {
        QFETCH(quint64, from);
        ListBox list;
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
        ListBox list;
        list.AddItem(1);
        CandidateJudge judge(list);
        for (quint64 n = 1; n < 20000; n += 2) {
            const bool expected = literalCount(list, n) < 3;
            QCOMPARE(judge.shouldAppend(n), expected);
            if (expected)
                list.AddItem(static_cast<quint32>(n));
        }
        QVERIFY(judge.trusted());
    }

    void exactCountMatchesDivisionOnArbitraryLists() {
        QRandomGenerator rng(42);
        for (int round = 0; round < 30; ++round) {
            ListBox list;
            // A few ascending runs of random values, as nested searches leave them.
            const int runs = rng.bounded(1, 4);
            for (int r = 0; r < runs; ++r) {
                quint32 v = rng.bounded(1, 5);
                for (int i = rng.bounded(1, 60); i > 0; --i) {
                    list.AddItem(v);
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
        ListBox list;
        for (uint v : items)
            list.AddItem(v);
        CandidateJudge judge(list);
        judge.listChangedElsewhere();
        QCOMPARE(judge.countDivisorsInList(n), count);
        QCOMPARE(judge.shouldAppend(n), count < 3);
    }
};

QTEST_MAIN(JudgeTest)
#include "test_judge.moc"
