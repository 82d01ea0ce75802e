#pragma once
// A value shared between threads that is read and written whole, without a
// lock: the user-interface thread edits the profile while the dispatcher thread
// reads it and mirrors the mouse's DPI level into it. Each access is one
// relaxed atomic load or store, which on every target is the plain aligned
// access the design relies on, but without a data race in the C++ sense.
#include <atomic>

namespace korvel {

template <class T>
class Relaxed {
public:
    constexpr Relaxed() noexcept : v_(T{}) {}
    constexpr Relaxed(T v) noexcept : v_(v) {}
    Relaxed(const Relaxed& o) noexcept : v_(o.load()) {}
    Relaxed& operator=(const Relaxed& o) noexcept { store(o.load()); return *this; }
    Relaxed& operator=(T v) noexcept { store(v); return *this; }
    operator T() const noexcept { return load(); }
    T load() const noexcept { return v_.load(std::memory_order_relaxed); }
    void store(T v) noexcept { v_.store(v, std::memory_order_relaxed); }

private:
    std::atomic<T> v_;
};

}  // namespace korvel
