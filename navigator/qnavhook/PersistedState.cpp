#include "PersistedState.h"
#include "HookState.h"
#include "ProcessState.h"

namespace qnav {

namespace {
state::PersistedState g_persisted;
}

state::PersistedState& ProcessPersistedState() { return g_persisted; }

// Persisted state is loaded here: the extension map, then the paste buffers
// (QNAV.DAT) and the bookmarks (QNAV.INI).
void OnProcessAttached() { g_persisted.Load(g_process.instance, g_process.instance); }

// Persisted state is saved here: bookmarks and paste buffers, each only if
// changed; what could not be saved stays pending for the next detachment.
void OnProcessDetaching() { g_persisted.Save(); }

}  // namespace qnav
