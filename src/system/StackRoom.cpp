#include "StackRoom.h"

#include <cerrno>
#include <cstdint>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

// Where the main thread's stack began, set by the C library at start-up.
extern "C" void* __libc_stack_end;

namespace {
// From `depth` down to `low`, when depth lies in the `size` bytes above low.
sys::Result<std::size_t> above(std::uintptr_t depth, std::uintptr_t low, std::size_t size) {
    if (depth < low || depth - low > size)
        return sys::Error{ERANGE};
    return depth - low;
}
} // namespace

// Both functions take their own frame for the caller's depth: they are not inlined, so it lies
// just under the caller's. (A frame, not a local: instrumented builds may move locals off the
// stack.)

__attribute__((noinline)) sys::Result<std::size_t> stack_room::headroom() {
    const auto depth = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    pthread_attr_t attr;
    // For the main thread the C library works the stack's extent out from the process's memory
    // map and the stack limit.
    if (const int failed = pthread_getattr_np(pthread_self(), &attr); failed != 0) {
        if (getpid() == gettid())
            return headroomFromLimit();
        return sys::Error{failed};
    }
    void* lowest = nullptr;
    std::size_t size = 0;
    const int got = pthread_attr_getstack(&attr, &lowest, &size);
    pthread_attr_destroy(&attr);
    if (got != 0)
        return sys::Error{got};
    if (lowest == nullptr)
        return sys::Error{ERANGE};
    return above(depth, reinterpret_cast<std::uintptr_t>(lowest), size);
}

__attribute__((noinline)) sys::Result<std::size_t> stack_room::headroomFromLimit() {
    const auto depth = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0)
        return sys::Error{errno};
    if (limit.rlim_cur == RLIM_INFINITY)
        return kUnlimited;
    const auto start = reinterpret_cast<std::uintptr_t>(__libc_stack_end);
    if (start < limit.rlim_cur)
        return sys::Error{ERANGE};
    return above(depth, start - limit.rlim_cur, limit.rlim_cur);
}
