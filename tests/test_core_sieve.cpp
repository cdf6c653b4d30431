// OddSieve against known prime counts and against trial division: across segment ends, at the
// very top of the range, in the search's blocks of 100 numbers, and after jumps.

#include "OddSieve.h"

#include <QRandomGenerator>
#include <QtTest>
#include <vector>

namespace {
using Primes = std::vector<uint32_t>;
constexpr quint64 kTop = OddSieve::kEnd;
constexpr quint64 kSegmentSpan = 2 * quint64(OddSieve::kSegmentOdds); // numbers per segment

bool primeByDivision(quint64 n) {
    if (n < 2 || (n % 2 == 0 && n != 2))
        return false;
    for (quint64 d = 3; d * d <= n; d += 2)
        if (n % d == 0)
            return false;
    return true;
}

Primes oddPrimesByDivision(quint64 lo, quint64 hi) {
    Primes out;
    for (quint64 n = lo | 1; n < hi; n += 2)
        if (primeByDivision(n))
            out.push_back(static_cast<uint32_t>(n));
    return out;
}

Primes collect(OddSieve& sieve, quint64 lo, quint64 hi) {
    Primes out;
    sieve.forEachPrime(lo, hi, [&](uint32_t p) { out.push_back(p); });
    return out;
}
} // namespace

class CoreSieveTest : public QObject {
    Q_OBJECT
  private slots:
    void countsTheOddPrimesBelow_data() {
        QTest::addColumn<quint64>("limit");
        QTest::addColumn<quint64>("count"); // pi(limit) less one for 2
        QTest::newRow("10") << quint64(10) << quint64(3);
        QTest::newRow("one segment") << kSegmentSpan << quint64(43390 - 1);
        QTest::newRow("1e6") << quint64(1000000) << quint64(78498 - 1);
        QTest::newRow("1e7") << quint64(10000000) << quint64(664579 - 1);
        QTest::newRow("1e8") << quint64(100000000) << quint64(5761455 - 1);
        QTest::newRow("2^32") << kTop << quint64(203280221 - 1);
    }
    void countsTheOddPrimesBelow() {
        QFETCH(quint64, limit);
        QFETCH(quint64, count);
        OddSieve sieve;
        quint64 found = 0;
        sieve.forEachPrime(0, limit, [&](uint32_t) { ++found; });
        QCOMPARE(found, count);
    }

    void matchesTrialDivisionInRanges_data() {
        QTest::addColumn<quint64>("lo");
        QTest::addColumn<quint64>("hi");
        QTest::newRow("the start") << quint64(0) << quint64(3000);
        QTest::newRow("just 3") << quint64(3) << quint64(4);
        QTest::newRow("odd bounds, hi excluded") << quint64(5) << quint64(13);
        QTest::newRow("even bounds") << quint64(4) << quint64(14);
        QTest::newRow("empty") << quint64(7) << quint64(7);
        QTest::newRow("reversed") << quint64(9000) << quint64(3);
        QTest::newRow("across the first segment end") << kSegmentSpan - 999 << kSegmentSpan + 1001;
        QTest::newRow("across three segment ends")
            << 7 * kSegmentSpan - 1000 << 9 * kSegmentSpan + 1000;
        QTest::newRow("around the largest sieving prime's square")
            << quint64(65521) * 65521 - 2000 << quint64(65521) * 65521 + 2000;
        QTest::newRow("across the last segment end")
            << kTop - kSegmentSpan - 777 << kTop - kSegmentSpan + 777;
        QTest::newRow("the top, up to 2^32") << kTop - 3000 << kTop;
        QTest::newRow("the top, up to 2^32 - 1") << kTop - 3000 << kTop - 1;
        QTest::newRow("just the largest prime") << quint64(4294967291) << quint64(4294967292);
    }
    void matchesTrialDivisionInRanges() {
        QFETCH(quint64, lo);
        QFETCH(quint64, hi);
        OddSieve sieve;
        QCOMPARE(collect(sieve, lo, hi), oddPrimesByDivision(lo, hi));
    }

    void matchesTrialDivisionOnRandomWindows() {
        // Windows of up to 300 numbers at random spots, half of them across a segment end, in
        // random order: the sieve keeps jumping back and forth.
        QRandomGenerator rng(13);
        OddSieve sieve;
        for (int k = 0; k < 300; ++k) {
            const quint64 end = kSegmentSpan * rng.bounded(quint64(1), kTop / kSegmentSpan);
            const quint64 lo = k % 2 ? end - rng.bounded(quint64(300)) : rng.bounded(kTop - 300);
            const quint64 hi = lo + rng.bounded(quint64(301));
            QCOMPARE(collect(sieve, lo, hi), oddPrimesByDivision(lo, hi));
        }
    }

    void blocksOfHundredGiveTheSameAsOneRange_data() {
        QTest::addColumn<quint64>("lo");
        QTest::addColumn<quint64>("hi");
        QTest::addColumn<quint64>("jumpFirst"); // a number asked about before the walk
        QTest::newRow("from 0") << quint64(0) << 3 * kSegmentSpan + 51 << quint64(0);
        QTest::newRow("from 0, after a jump to the top")
            << quint64(0) << 3 * kSegmentSpan + 51 << kTop - 1;
        QTest::newRow("mid-range, after a jump beyond")
            << 1000 * kSegmentSpan - 100000 << 1002 * kSegmentSpan + 3 << 1010 * kSegmentSpan;
        QTest::newRow("to the top") << kTop - 2 * kSegmentSpan - 17 << kTop << quint64(0);
    }
    void blocksOfHundredGiveTheSameAsOneRange() {
        QFETCH(quint64, lo);
        QFETCH(quint64, hi);
        QFETCH(quint64, jumpFirst);
        OddSieve sieve;
        sieve.isPrime(jumpFirst);
        Primes walked;
        for (quint64 from = lo; from < hi; from = from / 100 * 100 + 100)
            sieve.forEachPrime(from, std::min(from / 100 * 100 + 100, hi),
                               [&](uint32_t p) { walked.push_back(p); });
        OddSieve fresh;
        const Primes whole = collect(fresh, lo, hi);
        QCOMPARE(walked, whole);
    }

    void isPrimeMatchesTrialDivision_data() {
        QTest::addColumn<quint64>("n");
        QTest::addColumn<bool>("prime");
        QTest::newRow("0") << quint64(0) << false;
        QTest::newRow("1") << quint64(1) << false;
        QTest::newRow("2") << quint64(2) << true;
        QTest::newRow("71, the largest prime in the patterns") << quint64(71) << true;
        QTest::newRow("73 squared") << quint64(73 * 73) << false;
        QTest::newRow("the largest sieving prime squared") << quint64(65521) * 65521 << false;
        QTest::newRow("the largest prime") << quint64(4294967291) << true;
        QTest::newRow("2^32 - 1") << kTop - 1 << false;
    }
    void isPrimeMatchesTrialDivision() {
        QFETCH(quint64, n);
        QFETCH(bool, prime);
        OddSieve sieve;
        QCOMPARE(sieve.isPrime(n), prime);
        QCOMPARE(primeByDivision(n), prime);
        // And on random odd numbers, some of them next to each other.
        QRandomGenerator rng(static_cast<quint32>(n));
        for (int k = 0; k < 100; ++k) {
            const quint64 m = (k % 4 ? rng.bounded(kTop) : n + 2 * k) | 1;
            if (m < kTop)
                QCOMPARE(sieve.isPrime(m), primeByDivision(m));
        }
    }

    void refusesNumbersFrom2To32On() {
        OddSieve sieve;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, sieve.isPrime(kTop));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                                 sieve.forEachPrime(0, kTop + 1, [](uint32_t) {}));
    }
};

QTEST_GUILESS_MAIN(CoreSieveTest)
#include "test_core_sieve.moc"
