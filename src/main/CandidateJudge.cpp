#include "CandidateJudge.h"

#include "ListBox.h"

#include <algorithm>

namespace {
constexpr quint64 kSegmentOdds = 1u << 16; // odd numbers per sieve segment

// Odd primes up to 65537: enough to sieve or factor anything below 2^32.
const std::vector<quint32>& basePrimes() {
    static const std::vector<quint32> primes = [] {
        constexpr quint32 limit = 65537;
        std::vector<bool> comp(limit + 1);
        std::vector<quint32> p;
        for (quint32 i = 3; i <= limit; i += 2) {
            if (comp[i])
                continue;
            p.push_back(i);
            for (quint64 j = quint64(i) * i; j <= limit; j += 2 * i)
                comp[j] = true;
        }
        return p;
    }();
    return primes;
}
} // namespace

void CandidateJudge::sieveSegmentFor(quint64 n) {
    m_segLo = n | 1;
    m_segHi = m_segLo + 2 * kSegmentOdds;
    m_composite.assign(kSegmentOdds, 0);
    for (quint32 p : basePrimes()) {
        const quint64 pp = quint64(p) * p;
        if (pp >= m_segHi)
            break;
        quint64 start = std::max(pp, (m_segLo + p - 1) / p * p);
        if (start % 2 == 0)
            start += p;
        for (quint64 m = start; m < m_segHi; m += 2 * p)
            m_composite[(m - m_segLo) / 2] = 1;
    }
}

bool CandidateJudge::isPrime(quint64 n) {
    if (n < 3)
        return n == 2;
    if (n % 2 == 0)
        return false;
    if (n < m_segLo || n >= m_segHi)
        sieveSegmentFor(n);
    return !m_composite[(n - m_segLo) / 2];
}

qint64 CandidateJudge::countDivisorsInList(quint64 n, qint64 enough) {
    if (n == 0) // every item divides 0
        return std::min(m_list.ListCount(), enough);
    auto itemsHolding = [this](quint64 d) -> qint64 {
        return d > 0xFFFFFFFFull ? 0 : m_list.countOf(static_cast<quint32>(d));
    };
    // Counting 1 and each prime factor as it is found usually settles the answer long before
    // n is fully factored: the smallest prime factor is most often in the list.
    qint64 early = itemsHolding(1);
    if (early >= enough)
        return enough;

    std::vector<std::pair<quint64, int>> factors;
    quint64 rest = n;
    auto found = [&](quint64 p) {
        if (factors.empty() || factors.back().first != p) {
            factors.push_back({p, 0});
            early += itemsHolding(p);
        }
        ++factors.back().second;
        rest /= p;
        return early >= enough;
    };
    if (rest > 1 && !(rest % 2 == 1 && isPrime(rest))) {
        while (rest % 2 == 0)
            if (found(2))
                return enough;
        for (quint32 p : basePrimes()) {
            if (quint64(p) * p > rest)
                break;
            while (rest % p == 0)
                if (found(p))
                    return enough;
        }
    }
    if (rest > 1 && found(rest))
        return enough;

    // Every divisor, each counted once.
    std::vector<quint64> divisors{1};
    for (auto [p, e] : factors) {
        const size_t before = divisors.size();
        quint64 pk = 1;
        for (int k = 1; k <= e; ++k) {
            pk *= p;
            for (size_t i = 0; i < before; ++i)
                divisors.push_back(divisors[i] * pk);
        }
    }
    qint64 count = 0;
    for (quint64 d : divisors) {
        count += itemsHolding(d);
        if (count >= enough)
            return enough;
    }
    return count;
}

bool CandidateJudge::shouldAppend(quint64 n) {
    if (m_trusted)
        return n == 1 || isPrime(n);
    return countDivisorsInList(n) < 3;
}
