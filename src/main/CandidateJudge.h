#pragma once
// Decides, for each candidate of one search, whether fewer than three items of the list divide
// it exactly; that is the whole rule for appending a candidate.
//
// While the list is the search's own (1, 1 and the odd primes found so far), the rule reduces to
// "n is 1 or an odd prime", answered from a segmented sieve. Once anything else has changed the
// list (a search nested in this one), it counts exactly: it factors n and looks each divisor up
// among the list's values. It reads the list and never changes it.

#include <QtGlobal>
#include <vector>

class ListBox;

class CandidateJudge {
  public:
    explicit CandidateJudge(const ListBox& list) : m_list(list) {}

    bool shouldAppend(quint64 n);
    // Someone else changed the list: count exactly from now on.
    void listChangedElsewhere() { m_trusted = false; }
    bool trusted() const { return m_trusted; }

    // Exact count of the items that divide n, stopping once it reaches `enough`.
    qint64 countDivisorsInList(quint64 n, qint64 enough = 3);

    bool isPrime(quint64 n); // for odd n up to 2^32 (segmented sieve)

  private:
    void sieveSegmentFor(quint64 n);

    const ListBox& m_list;
    bool m_trusted = true;
    quint64 m_segLo = 1, m_segHi = 1; // odd numbers in [lo, hi) are sieved
    std::vector<quint8> m_composite;  // index (n - lo) / 2
};
