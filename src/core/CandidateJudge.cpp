#include "CandidateJudge.h"

#include "PrimeStore.h"

#include <algorithm>
#include <utility>

namespace {
constexpr uint64_t kSegmentOdds = 1u << 16; // odd numbers per sieve segment

// Odd primes up to 65537: enough to sieve or factor anything below 2^32.
const std::vector<uint32_t>& basePrimes() {
    static const std::vector<uint32_t> primes = [] {
        constexpr uint32_t limit = 65537;
        std::vector<bool> comp(limit + 1);
        std::vector<uint32_t> p;
        for (uint32_t i = 3; i <= limit; i += 2) {
            if (comp[i])
                continue;
            p.push_back(i);
            for (uint64_t j = uint64_t(i) * i; j <= limit; j += 2 * i)
                comp[j] = true;
        }
        return p;
    }();
    return primes;
}
} // namespace

void CandidateJudge::sieveSegmentFor(uint64_t n) {
    m_segLo = n | 1;
    m_segHi = m_segLo + 2 * kSegmentOdds;
    m_composite.assign(kSegmentOdds, 0);
    for (uint32_t p : basePrimes()) {
        const uint64_t pp = uint64_t(p) * p;
        if (pp >= m_segHi)
            break;
        uint64_t start = std::max(pp, (m_segLo + p - 1) / p * p);
        if (start % 2 == 0)
            start += p;
        for (uint64_t m = start; m < m_segHi; m += 2 * p)
            m_composite[(m - m_segLo) / 2] = 1;
    }
}

bool CandidateJudge::isPrime(uint64_t n) {
    if (n < 3)
        return n == 2;
    if (n % 2 == 0)
        return false;
    if (n < m_segLo || n >= m_segHi)
        sieveSegmentFor(n);
    return !m_composite[(n - m_segLo) / 2];
}

int64_t CandidateJudge::countDivisorsInList(uint64_t n, int64_t enough) {
    if (n == 0) // every item divides 0
        return std::min(m_list.size(), enough);
    auto itemsHolding = [this](uint64_t d) -> int64_t {
        return d > UINT32_MAX ? 0 : m_list.countOf(static_cast<uint32_t>(d));
    };
    // Counting 1 and each prime factor as it is found usually settles the answer long before
    // n is fully factored: the smallest prime factor is most often in the list.
    int64_t early = itemsHolding(1);
    if (early >= enough)
        return enough;

    std::vector<std::pair<uint64_t, int>> factors;
    uint64_t rest = n;
    auto found = [&](uint64_t p) {
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
        for (uint32_t p : basePrimes()) {
            if (uint64_t(p) * p > rest)
                break;
            while (rest % p == 0)
                if (found(p))
                    return enough;
        }
    }
    if (rest > 1 && found(rest))
        return enough;

    // Every divisor, each counted once.
    std::vector<uint64_t> divisors{1};
    for (auto [p, e] : factors) {
        const size_t before = divisors.size();
        uint64_t pk = 1;
        for (int k = 1; k <= e; ++k) {
            pk *= p;
            for (size_t i = 0; i < before; ++i)
                divisors.push_back(divisors[i] * pk);
        }
    }
    int64_t count = 0;
    for (uint64_t d : divisors) {
        count += itemsHolding(d);
        if (count >= enough)
            return enough;
    }
    return count;
}

bool CandidateJudge::shouldAppend(uint64_t n) {
    if (m_trusted)
        return n == 1 || isPrime(n);
    return countDivisorsInList(n) < 3;
}
