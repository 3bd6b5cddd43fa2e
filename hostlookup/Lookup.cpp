// Name and address lookups through WinSock 1.1. ErrorNumber values are the
// WinSock error less 10000, so hosts can show them as small numbers.
#include "Lookup.h"
#include <winsock.h>
#include <cstdio>

namespace lurrin {

namespace {

// The lookups copy their input into buffers of these sizes (with the
// terminator); longer input is refused rather than cut.
constexpr size_t kHostNameBuffer = 500;
constexpr size_t kAddressBuffer = 52;

short LastError() { return short(WSAGetLastError() - 10000); }

class Socket {
public:
    Socket() : s_(socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~Socket() { if (s_ != INVALID_SOCKET) closesocket(s_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    bool Valid() const { return s_ != INVALID_SOCKET; }

    // Datagram connect: sends nothing, proves the stack is up.
    bool Prepare() {
        int timeout = 10000;
        setsockopt(s_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        setsockopt(s_, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(42);
        any.sin_addr.s_addr = htonl(INADDR_ANY);
        return connect(s_, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
    }

private:
    SOCKET s_;
};

// A C string the resolver would read differently (cut at a NUL, or longer
// than the buffer) is refused.
bool FitsBuffer(const std::string& input, size_t buffer) {
    return input.size() < buffer && input.find('\0') == std::string::npos;
}

}  // namespace

LookupOutcome ResolveAddress(const std::string& hostName, std::atomic<short>& state) {
    Socket s;
    if (!s.Valid()) return {{}, LastError()};
    if (!s.Prepare()) return {{}, LastError()};
    state = kStateResolving;
    // No host has a name this long: the answer is "not found".
    if (!FitsBuffer(hostName, kHostNameBuffer)) return {{}, short(WSAHOST_NOT_FOUND - 10000)};
    const hostent* host = gethostbyname(hostName.c_str());
    if (!host) return {{}, LastError()};
    if (host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0])
        return {{}, short(WSANO_DATA - 10000)};
    const auto* b = reinterpret_cast<const unsigned char*>(host->h_addr_list[0]);
    char text[16];
    std::snprintf(text, sizeof text, "%hu.%hu.%hu.%hu", static_cast<unsigned short>(b[0]),
                  static_cast<unsigned short>(b[1]), static_cast<unsigned short>(b[2]),
                  static_cast<unsigned short>(b[3]));
    return {text, 0};
}

LookupOutcome ResolveName(const std::string& dottedAddress, std::atomic<short>& state) {
    Socket s;
    if (!s.Valid()) return {{}, LastError()};
    if (!s.Prepare()) return {{}, LastError()};
    if (!FitsBuffer(dottedAddress, kAddressBuffer)) return {{}, kErrorNotDotted};
    const unsigned long address = inet_addr(dottedAddress.c_str());
    if (address == INADDR_NONE) return {{}, kErrorNotDotted};
    state = kStateResolving;
    const hostent* host = gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
    if (!host) return {{}, LastError()};
    return {host->h_name ? host->h_name : "", 0};
}

void BeginLookup(LookupState& state) {
    state.busy = true;
    state.result.clear();
    state.errorNumber = 0;
    state.currentState = kStateStarted;
}

void FinishLookup(LookupState& state, const std::string& input, Resolver resolve) {
    LookupOutcome outcome = resolve(input, state.currentState);
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.pending = std::move(outcome);
        state.eventPending = true;
    }
    // Nothing of `state` is touched after the hand-over: the control may
    // already run its next lookup.
    if (HWND window = state.window) SendMessageA(window, WM_TIMER, 1, 0);
}

bool TakeOutcome(LookupState& state, LookupOutcome& outcome) {
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (!state.eventPending) return false;
        state.eventPending = false;
        outcome = state.pending;
    }
    state.result = outcome.result;
    state.errorNumber = outcome.error;
    return true;
}

void EndLookup(LookupState& state) {
    state.currentState = kStateFinished;
    state.busy = false;
}

}  // namespace lurrin
