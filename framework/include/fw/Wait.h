// Waiting on a window thread for something a worker does, while the worker
// may be inside SendMessage to this very thread: a plain WaitForSingleObject
// would deadlock both, so sent messages are let through while waiting.
#pragma once
#include <windows.h>

namespace fw {

// True when `handle` was signalled within `timeoutMs` (INFINITE allowed).
// Messages sent to this thread are handled meanwhile; posted ones wait.
bool WaitLettingSentMessagesThrough(HANDLE handle, DWORD timeoutMs);

}  // namespace fw
