#include "OddSieve.h"

#include <array>

namespace {
// The smallest primes are left out of every segment by copying patterns: group g's pattern has a
// bit for each odd number, cleared at the multiples of the group's primes, and repeats every
// (product of those primes) words. Each later prime is cleared one multiple at a time.
constexpr std::array<std::array<uint32_t, 5>, 8> kGroups{
    {{3, 5, 7, 11, 13}, {17, 19}, {23, 29}, {31, 37}, {41, 43}, {47, 53}, {59, 61}, {67, 71}}};
constexpr uint32_t kLargestInPattern = 71;

constexpr uint32_t periodOf(const std::array<uint32_t, 5>& group) {
    uint32_t words = 1;
    for (uint32_t p : group)
        words *= p == 0 ? 1 : p;
    return words;
}

struct Pattern {
    uint32_t period; // in words
    std::vector<uint64_t> bits;
};

const std::array<Pattern, kGroups.size()>& patterns() {
    static const std::array<Pattern, kGroups.size()> all = [] {
        std::array<Pattern, kGroups.size()> a;
        for (size_t g = 0; g < kGroups.size(); ++g) {
            a[g].period = periodOf(kGroups[g]);
            a[g].bits.assign(a[g].period, ~uint64_t(0));
            for (uint32_t p : kGroups[g])
                for (uint32_t i = p / 2; p != 0 && i < 64 * a[g].period; i += p)
                    a[g].bits[i / 64] &= ~(uint64_t(1) << (i % 64));
        }
        return a;
    }();
    return all;
}

// The odd primes above kLargestInPattern and below 2^16, whose squares reach up to 2^32.
const std::vector<uint32_t>& sievingPrimes() {
    static const std::vector<uint32_t> primes = [] {
        constexpr uint32_t limit = 1 << 16;
        std::vector<bool> composite(limit);
        std::vector<uint32_t> p;
        for (uint32_t i = 3; i < limit; i += 2) {
            if (composite[i])
                continue;
            if (i > kLargestInPattern)
                p.push_back(i);
            for (uint32_t j = i * i; j < limit; j += 2 * i)
                composite[j] = true;
        }
        return p;
    }();
    return primes;
}
} // namespace

OddSieve::OddSieve() : m_bits(kWords + 1), m_next(sievingPrimes().size()) {}

bool OddSieve::isPrime(uint64_t n) {
    if (n >= kEnd)
        throw std::out_of_range("OddSieve::isPrime: number not below 2^32");
    if (n % 2 == 0)
        return n == 2;
    const auto i = static_cast<uint32_t>(n >> 1);
    return words(i / kSegmentOdds)[i % kSegmentOdds / 64] >> (i % 64) & 1;
}

void OddSieve::sieve(uint32_t seg) {
    const uint32_t base = seg * kSegmentOdds;
    const uint32_t end = base + kSegmentOdds;

    // The patterns ANDed together, in stretches over which none of them wraps around.
    const auto& pats = patterns();
    std::array<const uint64_t*, kGroups.size()> from;
    std::array<uint32_t, kGroups.size()> left; // words before each pattern wraps
    for (size_t g = 0; g < kGroups.size(); ++g) {
        const uint32_t at = base / 64 % pats[g].period;
        from[g] = pats[g].bits.data() + at;
        left[g] = pats[g].period - at;
    }
    for (uint32_t w = 0; w < kWords;) {
        uint32_t n = kWords - w;
        for (uint32_t l : left)
            n = std::min(n, l);
        uint64_t* out = m_bits.data() + w;
        for (uint32_t i = 0; i < n; ++i) {
            uint64_t x = from[0][i];
            for (size_t g = 1; g < kGroups.size(); ++g)
                x &= from[g][i];
            out[i] = x;
        }
        w += n;
        for (size_t g = 0; g < kGroups.size(); ++g) {
            left[g] -= n;
            from[g] += n;
            if (left[g] == 0) {
                left[g] = pats[g].period;
                from[g] = pats[g].bits.data();
            }
        }
    }
    if (seg == 0) { // 1 is not prime; the patterns' own primes are
        m_bits[0] &= ~uint64_t(1);
        for (const auto& group : kGroups)
            for (uint32_t p : group)
                if (p != 0)
                    m_bits[p / 2 / 64] |= uint64_t(1) << (p / 2 % 64);
    }

    const std::vector<uint32_t>& primes = sievingPrimes();
    if (m_nextFor != seg) { // a jump: find each prime's first odd multiple from base on
        for (size_t k = 0; k < primes.size(); ++k) {
            const uint32_t p = primes[k];
            const uint32_t first = base + (p / 2 + p - base % p) % p; // 2 * first + 1 = 0 mod p
            m_next[k] = std::max(first, p * p / 2); // nothing below p * p is left to clear
        }
    }
    auto* bytes = reinterpret_cast<unsigned char*>(m_bits.data());
    static_assert(std::endian::native == std::endian::little, "bit i lives in byte i / 8");
    for (size_t k = 0; k < primes.size() && m_next[k] < end; ++k) {
        const uint32_t p = primes[k];
        uint32_t j = m_next[k] - base;
        if (p < kSegmentOdds / 16) {
            // Eight multiples apart move p bytes on and land on the same bits again.
            const uint32_t r = j % 8;
            size_t o[8];
            unsigned char m[8];
            for (uint32_t t = 0; t < 8; ++t) {
                o[t] = (r + t * p) / 8;
                m[t] = static_cast<unsigned char>(~(1u << ((r + t * p) % 8)));
            }
            size_t b = j / 8;
            for (const size_t stop = kSegmentOdds / 8 - o[7]; b < stop; b += p) {
                bytes[b + o[0]] &= m[0];
                bytes[b + o[1]] &= m[1];
                bytes[b + o[2]] &= m[2];
                bytes[b + o[3]] &= m[3];
                bytes[b + o[4]] &= m[4];
                bytes[b + o[5]] &= m[5];
                bytes[b + o[6]] &= m[6];
                bytes[b + o[7]] &= m[7];
            }
            j = static_cast<uint32_t>(8 * b + r);
        }
        for (; j < kSegmentOdds; j += p)
            bytes[j / 8] &= static_cast<unsigned char>(~(1u << (j % 8)));
        m_next[k] = base + j;
    }
    m_segment = seg;
    m_nextFor = seg + 1;
}
