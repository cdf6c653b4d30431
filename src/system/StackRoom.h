#pragma once
// How much of the calling thread's stack is still free: from the caller's frame down to the
// lowest address the stack may grow to. For the main thread that end is set by the stack limit
// the process started with (RLIMIT_STACK), so the answer follows `ulimit -s`. It measures only;
// what is enough is the caller's business.

#include "Result.h"

#include <cstddef>

namespace stack_room {

// A stack without a limit has this much room.
constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

// Bytes left below the caller's frame. The system's errno when it can't tell, and ERANGE when
// the caller's frame lies outside the stack that the system describes.
sys::Result<std::size_t> headroom();

// The same for the main thread, from where its stack began and the stack limit alone: what
// headroom() falls back on where the process's memory map can't be read (no /proc). It counts
// the program's arguments and environment, which lie above the stack's start, as free too.
sys::Result<std::size_t> headroomFromLimit();

} // namespace stack_room
