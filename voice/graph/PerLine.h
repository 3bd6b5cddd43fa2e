// Per-line state of a control for the current call: the line's thread writes
// it while host code reads and writes it on the user-interface thread, so
// every access goes through one lock.
#pragma once
#include <array>
#include <mutex>

#include "Redirection.h"

namespace kvo {

template <class T>
class PerLine {
public:
    // Calls `f` with line `line`'s entry (0-based, checked by the caller)
    // under the lock and gives what it returns.
    template <class F>
    auto With(size_t line, F&& f) const {
        std::lock_guard guard(lock_);
        return f(static_cast<const T&>(items_[line]));
    }
    template <class F>
    auto With(size_t line, F&& f) {
        std::lock_guard guard(lock_);
        return f(items_[line]);
    }

private:
    mutable std::mutex lock_;
    std::array<T, kMaxLines> items_{};
};

}  // namespace kvo
