#pragma once
// Decides, for each candidate of one search, whether fewer than three items of the list divide
// it exactly; that is the whole rule for appending a candidate.
//
// While the list is the search's own (1, 1 and the odd primes found so far), the rule reduces to
// "n is 1 or an odd prime", answered from a segmented sieve. Once anything else has changed the
// list (a search nested in this one), it counts exactly: it factors n and looks each divisor up
// among the store's values. It reads the store and never changes it; noticing that someone else
// changed the store is the search's job (it compares the store's change count across a yield).

#include <cstdint>
#include <vector>

class PrimeStore;

class CandidateJudge {
  public:
    explicit CandidateJudge(const PrimeStore& list) : m_list(list) {}

    bool shouldAppend(uint64_t n);
    // Someone else changed the list: count exactly from now on.
    void listChangedElsewhere() { m_trusted = false; }
    bool trusted() const { return m_trusted; }

    // Exact count of the items that divide n, stopping once it reaches `enough`.
    int64_t countDivisorsInList(uint64_t n, int64_t enough = 3);

    bool isPrime(uint64_t n); // for odd n up to 2^32 (segmented sieve)

  private:
    void sieveSegmentFor(uint64_t n);

    const PrimeStore& m_list;
    bool m_trusted = true;
    uint64_t m_segLo = 1, m_segHi = 1; // odd numbers in [lo, hi) are sieved
    std::vector<uint8_t> m_composite;  // index (n - lo) / 2
};
