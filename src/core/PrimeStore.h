#pragma once
// The prime list's storage: unsigned 32-bit values in the order appended, in about one byte an
// item. The list is usually a few ascending runs of primes, so every chunk of kChunkItems items
// keeps its first value whole and each later item as one byte holding half its gap to the item
// before it (gaps between primes below 2^32 are at most 336). A value that doesn't fit that byte
// (an odd gap, a gap over 508, a drop) is written after an escape byte in full, so any list of
// 32-bit values is kept exactly; such items cost five bytes.
//
// Reading item i is a chunk lookup plus a short scan; reading i, i + 1, ... in order costs one
// byte each (a cursor remembers the last item read). It knows nothing of what the numbers mean
// beyond ascending runs and counting equal values, and it draws nothing. It is not for use from
// several threads at once, even for reading.
//
// A view of the list watches the store: it is told of the first change after it last caught up,
// and then of nothing more until it catches up again, so a long run of appends costs it one call.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

class PrimeStore {
  public:
    static constexpr int64_t kChunkItems = 256;
    static constexpr int64_t kMaxItems = 2147483647;

    // Where a store stops growing. Tests lower them to reach the full list and a failed
    // allocation without filling the machine's memory.
    struct Limits {
        int64_t maxItems = kMaxItems;
        size_t maxBytes = SIZE_MAX; // memoryBytes() never grows beyond this
    };

    // Told that the items changed: the store calls it at the first change after the watcher last
    // caught up (see caughtUp()), and not again until it has.
    class Watcher {
      public:
        virtual void storeChanged() = 0;

      protected:
        ~Watcher() = default;
    };

    PrimeStore();
    explicit PrimeStore(Limits limits);
    PrimeStore(const PrimeStore&) = delete;
    PrimeStore& operator=(const PrimeStore&) = delete;

    void setLimits(Limits limits) { m_limits = limits; }

    // One watcher at a time; nullptr for none. It must stop watching before it is destroyed.
    void setWatcher(Watcher* watcher) { m_watcher = m_toTell = watcher; }
    // The watcher has seen the items as they are: tell it of the next change.
    void caughtUp() { m_toTell = m_watcher; }

    // Removes every item and gives back the memory.
    void clear();
    // Appends v at the end. False, with the store unchanged, when it already holds
    // maxItems items or the memory for v can't be had.
    bool append(uint32_t v);

    int64_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Item i (0-based). Throws std::out_of_range outside [0, size()).
    uint32_t at(int64_t i) const;
    // How many items equal v: a binary search in each ascending run.
    int64_t countOf(uint32_t v) const;
    // A run is a longest stretch of items in which no item is below the one before it.
    int64_t runCount() const { return static_cast<int64_t>(m_runs.size()); }
    // Grows with every change of the items: tells a reader whether the list changed since it
    // last looked.
    uint64_t changeCount() const { return m_changes; }
    // Bytes held by the store, its own object included.
    size_t memoryBytes() const;

    // Calls f(value) for the items [from, to) in order. Throws std::out_of_range unless
    // 0 <= from <= to <= size().
    template <class F> void forEach(int64_t from, int64_t to, F&& f) const;

  private:
    // One position in the list while decoding: item `index` has `value`, and `next` points at
    // the byte of the item after it (when that item is in the same chunk).
    struct Reader {
        int64_t index = -1;
        uint32_t value = 0;
        const uint8_t* next = nullptr;
    };
    struct Run {
        int64_t start;
        uint32_t first, last;
    };

    // A chunk's first value, and where its bytes start: their address less its block's base,
    // shifted left by one, with kHasEscape in the lowest bit.
    struct Chunk {
        uint32_t head;
        uint32_t where;
    };
    // 2^kBlockShift chunks and the address of the first one's bytes. Each block's chunks are
    // held apart, so growing the index never moves more than one block.
    struct Block {
        uint64_t base;
        std::vector<Chunk> chunks;
    };

    static constexpr uint8_t kEscape = 0xFF;   // followed by the value's four bytes
    static constexpr size_t kMaxCodeBytes = 5; // an escape and the value
    static constexpr uint32_t kHasEscape = 1;
    static constexpr int kBlockShift = 12;
    static constexpr int64_t kBlockChunks = int64_t(1) << kBlockShift;
    // Bytes are addressed as if every page were 2^kPageShift long; pages double from kMinPage
    // up to that size.
    static constexpr int kPageShift = 18;
    static constexpr size_t kMinPage = 4096;
    static constexpr size_t kMaxPage = size_t(1) << kPageShift;

    static void step(const uint8_t*& p, uint32_t& v) {
        const uint8_t b = *p++;
        if (b != kEscape) {
            v += 2u * b;
        } else {
            std::memcpy(&v, p, 4);
            p += 4;
        }
    }
    static uint32_t halfGapSum(const uint8_t* p, int64_t n);

    const Chunk& chunk(int64_t c) const {
        return m_blocks[static_cast<size_t>(c >> kBlockShift)]
            .chunks[static_cast<size_t>(c & (kBlockChunks - 1))];
    }
    const uint8_t* chunkBytes(int64_t c) const {
        const uint64_t address =
            m_blocks[static_cast<size_t>(c >> kBlockShift)].base + (chunk(c).where >> 1);
        return m_pages[address >> kPageShift].get() + (address & (kMaxPage - 1));
    }
    bool chunkHasEscape(int64_t c) const { return chunk(c).where & kHasEscape; }
    // Item i, with `next` ready for item i + 1; skips from `from` when that is in i's chunk.
    Reader seek(int64_t i, const Reader* from = nullptr) const;
    int64_t countEqual(int64_t from, int64_t end, uint32_t v) const;
    // The first chunk of [lo, hi) whose head fails `below`, given that the heads that pass it
    // come first; hi if none fails.
    template <class P> int64_t partitionChunks(int64_t lo, int64_t hi, P below) const;
    template <class T> void makeRoomForOne(std::vector<T>& v);
    void charge(size_t bytes) const;
    void changed() {
        ++m_changes;
        if (m_toTell)
            tellWatcher();
    }
    void tellWatcher();

    Limits m_limits;
    int64_t m_size = 0;
    uint64_t m_changes = 0;
    Watcher* m_watcher = nullptr;
    Watcher* m_toTell = nullptr; // the watcher while it is to hear of the next change
    uint32_t m_last = 0;         // the last item
    std::vector<Block> m_blocks;
    std::vector<std::unique_ptr<uint8_t[]>> m_pages;
    size_t m_pageBytes = 0;   // the pages' sizes added up
    uint64_t m_next = 0;      // the address of the next byte to write
    uint64_t m_pageLimit = 0; // the address after the last page
    std::vector<Run> m_runs;
    mutable Reader m_cursor;
};

template <class F> void PrimeStore::forEach(int64_t from, int64_t to, F&& f) const {
    if (from < 0 || from > to || to > m_size)
        throw std::out_of_range("PrimeStore::forEach: range out of bounds");
    while (from < to) {
        const int64_t c = from / kChunkItems;
        const int64_t begin = c * kChunkItems;
        const int64_t end = std::min(to, begin + kChunkItems);
        const uint8_t* p = chunkBytes(c);
        uint32_t v = chunk(c).head;
        if (chunkHasEscape(c)) {
            for (int64_t i = begin; i < from; ++i)
                step(p, v);
            f(v);
            for (int64_t i = from + 1; i < end; ++i) {
                step(p, v);
                f(v);
            }
        } else {
            v += 2u * halfGapSum(p, from - begin);
            p += from - begin;
            f(v);
            for (int64_t i = from + 1; i < end; ++i) {
                v += 2u * *p++;
                f(v);
            }
        }
        from = end;
    }
}
