// Host redirection of running calls: the checks GotoNode, GotoControl and
// TakeCall make, in their order, and the per-line slots they write. Each
// slot has one writer at a time (the host's thread during the line's event,
// the line's own thread before it sends one).
#pragma once
#include <array>
#include <atomic>

namespace kvo {

class Vertex;

constexpr int kMaxLines = 48;

enum class RedirectFault { None, BadChannel, NotStarted, BadNode, BadControl };

// Channel (1-based) within 1..lines, then the system started.
RedirectFault CheckRedirectLine(long channel, int lines, bool started);
// The line checks, then node within 0..numNodes-1.
RedirectFault CheckGotoNode(long channel, int lines, bool started, long node, int numNodes);
// The line checks, then a named control that is not a LineGroup.
RedirectFault CheckGotoControl(long channel, int lines, bool started, const Vertex* named);

class LineRedirections {
public:
    static LineRedirections& Process();
    // Lines are 0-based; out-of-range lines read as "nothing requested".
    void Clear(int line);
    void RequestExit(int line, short node);
    void RequestControl(int line, Vertex* control);
    short RequestedExit(int line) const;       // -1: none
    Vertex* RequestedControl(int line) const;  // null: none

private:
    struct Slot {
        std::atomic<short> exit{-1};
        std::atomic<Vertex*> control{nullptr};
    };
    std::array<Slot, kMaxLines> slots_;
};

}  // namespace kvo
