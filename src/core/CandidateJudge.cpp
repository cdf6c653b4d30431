#include "CandidateJudge.h"

#include "PrimeStore.h"

#include <algorithm>
#include <utility>

namespace {
// Odd primes up to 65537: enough to factor anything below 2^32.
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
