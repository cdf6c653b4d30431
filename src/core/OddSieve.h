#pragma once
// Tells which odd numbers below 2^32 are prime, one segment at a time: 262144 odd numbers, a bit
// each (32 KiB, so that sieving stays in the processor's first-level cache). A segment starts as
// a few repeating patterns ANDed together, which already leave out the multiples of the primes up
// to 71; then the multiples of each larger prime below 2^16 are cleared, each prime remembering
// where its next multiple falls so that the following segment needs no division.
//
// Made for reading in ascending order: asking about numbers in the segment already sieved costs
// a few bit operations, and moving on to the next segment sieves it. Jumping elsewhere works too,
// but re-sieves a whole segment. Only odd numbers count: 1 is not prime and 2 is never reported.
// Each sieve holds about 60 KiB; the patterns (about 240 KiB) are built once and shared. It
// knows nothing of lists or searches and is not for use from several threads at once.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

class OddSieve {
  public:
    static constexpr uint64_t kEnd = uint64_t(1) << 32; // every number asked about is below this
    static constexpr uint32_t kSegmentOdds = 262144;    // 32 KiB of bits

    OddSieve();

    // Calls f(p) with each odd prime p in [lo, hi), in ascending order; lo and hi may be odd or
    // even. Throws std::out_of_range when hi > kEnd. f must not use this sieve.
    template <class F> void forEachPrime(uint64_t lo, uint64_t hi, F&& f);
    // Whether n is prime: 2 and the odd primes. Throws std::out_of_range when n >= kEnd.
    bool isPrime(uint64_t n);

  private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kWords = kSegmentOdds / 64;
    // Every sieving prime then hits every segment it reaches, and segments tile [1, 2^32).
    static_assert(kSegmentOdds > 65536 && std::has_single_bit(kSegmentOdds));

    // Makes segment `seg` (the odd numbers with index in [seg * kSegmentOdds, ...)) current.
    void sieve(uint32_t seg);
    const uint64_t* words(uint32_t seg) {
        if (seg != m_segment)
            sieve(seg);
        return m_bits.data();
    }

    std::vector<uint64_t> m_bits; // the current segment and a word of 0; a set bit is a prime
    uint32_t m_segment = kNone;   // which segment m_bits holds
    std::vector<uint32_t> m_next; // per sieving prime: the index of its next odd multiple
    uint32_t m_nextFor = kNone;   // the segment m_next is ready for
};

template <class F> void OddSieve::forEachPrime(uint64_t lo, uint64_t hi, F&& f) {
    if (hi > kEnd)
        throw std::out_of_range("OddSieve::forEachPrime: range goes past 2^32");
    if (lo >= hi)
        return;
    // The odd numbers in [lo, hi) are those with index (n - 1) / 2 in [lo / 2, hi / 2).
    uint32_t i = static_cast<uint32_t>(lo >> 1);
    const uint32_t end = static_cast<uint32_t>(hi >> 1);
    if (i >= end)
        return;
    if (end - i <= 64 && i / kSegmentOdds == m_segment && (end - 1) / kSegmentOdds == m_segment) {
        // A short range in the current segment: its bits gathered into one word.
        const uint32_t at = i % kSegmentOdds;
        const uint32_t shift = at % 64;
        uint64_t bits = m_bits[at / 64] >> shift | (m_bits[at / 64 + 1] << 1) << (63 - shift);
        bits &= ~uint64_t(0) >> (64 - (end - i));
        for (; bits != 0; bits &= bits - 1)
            f(static_cast<uint32_t>(2 * i + 1 + 2 * std::countr_zero(bits)));
        return;
    }
    while (i < end) {
        const uint32_t seg = i / kSegmentOdds;
        const uint32_t base = seg * kSegmentOdds;
        const uint32_t last = std::min(end - base, kSegmentOdds) - 1; // in this segment
        uint32_t w = (i - base) / 64;
        const uint32_t lastWord = last / 64;
        uint64_t bits = words(seg)[w] & (~uint64_t(0) << ((i - base) % 64));
        for (;;) {
            if (w == lastWord)
                bits &= ~uint64_t(0) >> (63 - last % 64);
            const uint32_t wordBase = 2 * (base + 64 * w) + 1;
            for (; bits != 0; bits &= bits - 1)
                f(static_cast<uint32_t>(wordBase + 2 * std::countr_zero(bits)));
            if (w == lastWord)
                break;
            bits = words(seg)[++w];
        }
        i = base + last + 1;
    }
}
