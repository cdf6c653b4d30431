#include "PrimeStore.h"

#include <new>
#include <stdexcept>

PrimeStore::PrimeStore() : PrimeStore(Limits{}) {}

PrimeStore::PrimeStore(Limits limits) : m_limits(limits) {}

void PrimeStore::clear() {
    std::vector<Block>().swap(m_blocks);
    std::vector<std::unique_ptr<uint8_t[]>>().swap(m_pages);
    std::vector<Run>().swap(m_runs);
    m_pageBytes = 0;
    m_next = m_pageLimit = 0;
    m_size = 0;
    m_last = 0;
    m_cursor = Reader{};
    changed();
}

void PrimeStore::tellWatcher() {
    Watcher* watcher = m_toTell;
    m_toTell = nullptr;
    watcher->storeChanged();
}

size_t PrimeStore::memoryBytes() const {
    // Every block but the last is full.
    const size_t chunks =
        m_blocks.empty() ? 0
                         : (m_blocks.size() - 1) * kBlockChunks + m_blocks.back().chunks.capacity();
    return sizeof(*this) + m_blocks.capacity() * sizeof(Block) + chunks * sizeof(Chunk) +
           m_pages.capacity() * sizeof(std::unique_ptr<uint8_t[]>) + m_pageBytes +
           m_runs.capacity() * sizeof(Run);
}

void PrimeStore::charge(size_t bytes) const {
    const size_t used = memoryBytes();
    if (used > m_limits.maxBytes || bytes > m_limits.maxBytes - used)
        throw std::bad_alloc();
}

// Makes sure the next push_back can't throw; grows by doubling. A block's chunks stop at
// kBlockChunks, so no growth copies more than one block.
template <class T> void PrimeStore::makeRoomForOne(std::vector<T>& v) {
    if (v.size() < v.capacity())
        return;
    const size_t grown = std::max<size_t>(16, 2 * v.capacity());
    charge((grown - v.capacity()) * sizeof(T));
    v.reserve(grown);
}

bool PrimeStore::append(uint32_t v) {
    if (m_size >= m_limits.maxItems)
        return false;
    const bool newRun = m_size == 0 || v < m_last;
    const bool newChunk = m_size % kChunkItems == 0;
    const bool newBlock = newChunk && (m_size / kChunkItems) % kBlockChunks == 0;
    std::vector<Chunk> block; // the new block's chunks
    // Everything that can fail comes first, so a failure leaves the items as they were.
    try {
        if (newRun)
            makeRoomForOne(m_runs);
        if (newChunk) {
            if (newBlock) {
                makeRoomForOne(m_blocks);
                makeRoomForOne(block); // charged as if already held, like the page below
            } else {
                makeRoomForOne(m_blocks.back().chunks);
            }
            // A chunk never straddles two pages: it starts only where its longest form fits.
            if (m_pageLimit - m_next < (kChunkItems - 1) * kMaxCodeBytes) {
                const size_t size = std::clamp(m_pageBytes, kMinPage, kMaxPage);
                makeRoomForOne(m_pages);
                charge(block.capacity() * sizeof(Chunk) + size);
                std::unique_ptr<uint8_t[]> page(new uint8_t[size]);
                m_next = uint64_t(m_pages.size()) << kPageShift;
                m_pageLimit = m_next + size;
                m_pages.push_back(std::move(page));
                m_pageBytes += size;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }

    if (newChunk) {
        if (newBlock)
            m_blocks.push_back({m_next, std::move(block)});
        // A block's chunks span a few pages at most, far below 2^31 bytes.
        Block& last = m_blocks.back();
        last.chunks.push_back({v, static_cast<uint32_t>(m_next - last.base) << 1});
    } else {
        uint8_t* p = m_pages.back().get() + (m_next & (kMaxPage - 1));
        const uint32_t gap = v - m_last;
        if (v >= m_last && gap % 2 == 0 && gap / 2 < kEscape) {
            *p = static_cast<uint8_t>(gap / 2);
            m_next += 1;
        } else {
            *p = kEscape;
            std::memcpy(p + 1, &v, 4);
            m_next += kMaxCodeBytes;
            m_blocks.back().chunks.back().where |= kHasEscape;
        }
    }
    if (newRun)
        m_runs.push_back({m_size, v, v});
    else
        m_runs.back().last = v;
    m_last = v;
    ++m_size;
    changed();
    return true;
}

// The sum of n code bytes of a chunk without escapes, eight at a time: each byte is at most 254
// and n below 256, so neither the 16-bit lanes nor their total can overflow.
uint32_t PrimeStore::halfGapSum(const uint8_t* p, int64_t n) {
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    uint64_t lanes = 0;
    int64_t j = 0;
    for (; j + 8 <= n; j += 8) {
        uint64_t x;
        std::memcpy(&x, p + j, 8);
        lanes += (x & kEvenBytes) + ((x >> 8) & kEvenBytes);
    }
    uint32_t sum = static_cast<uint32_t>((lanes * 0x0001000100010001ull) >> 48);
    for (; j < n; ++j)
        sum += p[j];
    return sum;
}

PrimeStore::Reader PrimeStore::seek(int64_t i, const Reader* from) const {
    const int64_t c = i / kChunkItems;
    Reader r;
    if (from && from->index >= 0 && from->index < i && from->index / kChunkItems == c) {
        r = *from;
    } else {
        r.index = c * kChunkItems;
        r.value = chunk(c).head;
        r.next = chunkBytes(c);
    }
    const int64_t n = i - r.index;
    if (chunkHasEscape(c)) {
        for (int64_t k = 0; k < n; ++k)
            step(r.next, r.value);
    } else {
        r.value += 2u * halfGapSum(r.next, n);
        r.next += n;
    }
    r.index = i;
    return r;
}

uint32_t PrimeStore::at(int64_t i) const {
    if (i < 0 || i >= m_size)
        throw std::out_of_range("PrimeStore::at: index out of range");
    if (i != m_cursor.index) {
        if (i == m_cursor.index + 1 && i % kChunkItems != 0) {
            step(m_cursor.next, m_cursor.value);
            m_cursor.index = i;
        } else {
            m_cursor = seek(i, &m_cursor);
        }
    }
    return m_cursor.value;
}

template <class P> int64_t PrimeStore::partitionChunks(int64_t lo, int64_t hi, P below) const {
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (below(chunk(mid).head))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// How many items of [from, end) equal v, given that those items ascend.
int64_t PrimeStore::countEqual(int64_t from, int64_t end, uint32_t v) const {
    const int64_t lastChunk = (end - 1) / kChunkItems;
    int64_t n = 0;
    for (int64_t i = from;;) {
        const int64_t c = i / kChunkItems;
        const int64_t stop = std::min(end, (c + 1) * kChunkItems);
        const bool escapes = chunkHasEscape(c);
        Reader r = seek(i);
        for (;;) {
            if (r.value > v)
                return n;
            n += r.value == v;
            if (++i == stop)
                break;
            if (escapes)
                step(r.next, r.value);
            else
                r.value += 2u * *r.next++;
        }
        if (i == end || chunk(c + 1).head > v)
            return n;
        if (chunk(c + 1).head == v) {
            // Every chunk followed by another headed by v holds nothing but v.
            const int64_t last =
                partitionChunks(c + 2, lastChunk + 1, [v](uint32_t head) { return head <= v; }) - 1;
            n += (last - c - 1) * kChunkItems;
            i = last * kChunkItems;
        }
    }
}

int64_t PrimeStore::countOf(uint32_t v) const {
    int64_t n = 0;
    for (size_t r = 0; r < m_runs.size(); ++r) {
        const Run& run = m_runs[r];
        if (v < run.first || v > run.last)
            continue;
        const int64_t end = r + 1 < m_runs.size() ? m_runs[r + 1].start : m_size;
        // The chunks that begin inside the run, after its first item, have ascending heads;
        // the first v can't be before the last of them headed below v.
        const int64_t c = partitionChunks(run.start / kChunkItems + 1, (end - 1) / kChunkItems + 1,
                                          [v](uint32_t head) { return head < v; }) -
                          1;
        n += countEqual(std::max(c * kChunkItems, run.start), end, v);
    }
    return n;
}
