#pragma once
// Decides, for each candidate of one search, whether fewer than three items of the list divide
// it exactly; that is the whole rule for appending a candidate.
//
// While the list is the search's own (1, 1 and the odd primes found so far), the rule reduces to
// "n is 1 or an odd prime", answered from a segmented sieve. Once anything else has changed the
// list (a search nested in this one), it counts exactly: it factors n and looks each divisor up
// among the store's values. It reads the store and never changes it; noticing that someone else
// changed the store is the search's job (it compares the store's change count across a yield).

#include "OddSieve.h"

#include <cstdint>
#include <vector>

class PrimeStore;

class CandidateJudge {
  public:
    explicit CandidateJudge(const PrimeStore& list) : m_list(list) {}

    bool shouldAppend(uint64_t n);
    // Hands `append` every candidate among the odd numbers first, first + 2, ..., last that the
    // rule lets in, in order, and stops at the first one it refuses (the list is full): false
    // then, true when every one was taken. The list may only change in between two calls.
    template <class Append> bool appendCandidates(uint64_t first, uint64_t last, Append&& append);
    // Someone else changed the list: count exactly from now on.
    void listChangedElsewhere() { m_trusted = false; }
    bool trusted() const { return m_trusted; }

    // Exact count of the items that divide n, stopping once it reaches `enough`.
    int64_t countDivisorsInList(uint64_t n, int64_t enough = 3);

    bool isPrime(uint64_t n) { return m_sieve.isPrime(n); } // n below 2^32

  private:
    const PrimeStore& m_list;
    bool m_trusted = true;
    OddSieve m_sieve;
};

template <class Append>
bool CandidateJudge::appendCandidates(uint64_t first, uint64_t last, Append&& append) {
    if (!m_trusted) {
        for (uint64_t n = first; n <= last; n += 2)
            if (countDivisorsInList(n) < 3 && !append(static_cast<uint32_t>(n)))
                return false;
        return true;
    }
    bool taken = true;
    if (first == 1 && last >= 1) {
        taken = append(uint32_t{1});
        first = 3;
    }
    if (taken && first <= last)
        m_sieve.forEachPrime(first, last + 1, [&](uint32_t p) {
            if (taken)
                taken = append(p);
        });
    return taken;
}
