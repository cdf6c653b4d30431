#pragma once
// How the system layer reports: every operation that can fail returns a sys::Result<T>, either
// its value or the system's error code. The code is an errno value, except for the registry
// functions, which give the registry's ERROR_* codes (Registry.h says which). A code is never 0;
// code() of a success is 0, so that it compares with ERROR_SUCCESS. sys::Status is a result
// without a value. The layer words nothing: what a code means to the user is the windows'
// business. Reading the value of a failed result ends the program: it is a mistake in the
// caller, never a way to report.

#include <QtGlobal>

#include <utility>
#include <variant>

namespace sys {

struct Error {
    int code = 0;
};

// A failure without a code would read as a success: that is a mistake in the caller.
inline Error nonZero(Error error) {
    if (error.code == 0)
        qFatal("sys::Error: a failure must carry a code");
    return error;
}

template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : m_v(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_v(std::in_place_index<1>, nonZero(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    int code() const { return ok() ? 0 : std::get<1>(m_v).code; }
    Error error() const { return {code()}; }

    const T& value() const& {
        check();
        return std::get<0>(m_v);
    }
    T&& value() && {
        check();
        return std::get<0>(std::move(m_v));
    }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }

  private:
    void check() const {
        if (!ok())
            qFatal("sys::Result: the value of a failed result (code %d) was read", code());
    }
    std::variant<T, Error> m_v;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : m_code(nonZero(error).code) {}

    bool ok() const { return m_code == 0; }
    explicit operator bool() const { return ok(); }
    int code() const { return m_code; }
    Error error() const { return {m_code}; }

  private:
    int m_code = 0;
};

using Status = Result<void>;

} // namespace sys
