#include "ListText.h"

#include <algorithm>
#include <cstring>

namespace {
// "00" to "99": the digits go two at a time.
struct Pairs {
    char digits[200];
    constexpr Pairs() : digits() {
        for (int i = 0; i < 100; ++i) {
            digits[2 * i] = static_cast<char>('0' + i / 10);
            digits[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr Pairs kPairs;

int digitCount(uint32_t v) {
    int n = 1;
    for (uint32_t bound = 10; n < 10 && v >= bound; bound *= 10)
        ++n;
    return n;
}
} // namespace

char* listtext::formatLine(uint32_t v, char* out) {
    const int n = digitCount(v);
    char* p = out + n;
    while (v >= 100) {
        const uint32_t pair = v % 100;
        v /= 100;
        p -= 2;
        std::memcpy(p, kPairs.digits + 2 * pair, 2);
    }
    if (v >= 10) {
        p -= 2;
        std::memcpy(p, kPairs.digits + 2 * v, 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    out[n] = '\r';
    out[n + 1] = '\n';
    return out + n + 2;
}

listtext::Filled listtext::formatLines(const PrimeStore& store, int64_t from, int64_t to, char* out,
                                       size_t room) {
    char* p = out;
    char* const end = out + room;
    // Items that surely fit go in one pass each, with no test per line; the passes shrink as
    // the buffer fills, and the last lines are tried one by one.
    while (from < to && static_cast<size_t>(end - p) >= kLineMax) {
        const int64_t n = std::min<int64_t>(to - from, static_cast<int64_t>((end - p) / kLineMax));
        store.forEach(from, from + n, [&p](uint32_t v) { p = formatLine(v, p); });
        from += n;
    }
    for (; from < to; ++from) {
        const uint32_t v = store.at(from);
        if (static_cast<size_t>(end - p) < static_cast<size_t>(digitCount(v)) + 2)
            break;
        p = formatLine(v, p);
    }
    return {from, static_cast<size_t>(p - out)};
}
