// Redirection checks and per-line slots (see Redirection.h).
#include "Redirection.h"

#include "Graph.h"

namespace kvo {

RedirectFault CheckRedirectLine(long channel, int lines, bool started) {
    if (channel < 1 || channel > lines || channel > kMaxLines) return RedirectFault::BadChannel;
    if (!started) return RedirectFault::NotStarted;
    return RedirectFault::None;
}

RedirectFault CheckGotoNode(long channel, int lines, bool started, long node, int numNodes) {
    if (RedirectFault f = CheckRedirectLine(channel, lines, started); f != RedirectFault::None) return f;
    if (node < 0 || node >= numNodes) return RedirectFault::BadNode;
    return RedirectFault::None;
}

RedirectFault CheckGotoControl(long channel, int lines, bool started, const Vertex* named) {
    if (RedirectFault f = CheckRedirectLine(channel, lines, started); f != RedirectFault::None) return f;
    if (!named || named->IsLineGroup()) return RedirectFault::BadControl;
    return RedirectFault::None;
}

LineRedirections& LineRedirections::Process() {
    static LineRedirections redirections;
    return redirections;
}

void LineRedirections::Clear(int line) {
    if (line < 0 || line >= kMaxLines) return;
    slots_[size_t(line)].exit = -1;
    slots_[size_t(line)].control = nullptr;
}

void LineRedirections::RequestExit(int line, short node) {
    if (line >= 0 && line < kMaxLines) slots_[size_t(line)].exit = node;
}

void LineRedirections::RequestControl(int line, Vertex* control) {
    if (line >= 0 && line < kMaxLines) slots_[size_t(line)].control = control;
}

short LineRedirections::RequestedExit(int line) const {
    return line >= 0 && line < kMaxLines ? slots_[size_t(line)].exit.load() : short(-1);
}

Vertex* LineRedirections::RequestedControl(int line) const {
    return line >= 0 && line < kMaxLines ? slots_[size_t(line)].control.load() : nullptr;
}

}  // namespace kvo
