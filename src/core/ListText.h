#pragma once
// The list's items as the lines of a saved list: the decimal text of each value (digits only, no
// sign, blank or leading zero), each line ending in CR LF. Digits are plain ASCII, the same
// bytes in the file's 8-bit code page. It formats into the caller's buffer, whole lines only,
// with no allocation and no locale; it neither writes files nor adds the block's header.

#include "PrimeStore.h"

#include <cstddef>
#include <cstdint>

namespace listtext {

// The longest line: ten digits and CR LF.
constexpr size_t kLineMax = 12;

// Writes the line of v at out, which has room for kLineMax bytes; returns the end of the line.
char* formatLine(uint32_t v, char* out);

struct Filled {
    int64_t next; // the first item not written
    size_t bytes; // bytes written at the start of the buffer
};

// Writes the lines of items [from, to) of the store into out[0, room), as many whole lines as
// fit, in order.
Filled formatLines(const PrimeStore& store, int64_t from, int64_t to, char* out, size_t room);

} // namespace listtext
