// The state the hook keeps on disk (bookmarks, paste buffers, extension
// map) is loaded when an IDE process attaches and saved when it detaches.
#pragma once

namespace qnav {

namespace state { class PersistedState; }

// Paste buffers, bookmarks and extension map of this IDE process.
state::PersistedState& ProcessPersistedState();

// Called once the IDE windows are subclassed: persisted state is loaded here.
void OnProcessAttached();

// Called before the IDE windows are released: persisted state is saved here.
void OnProcessDetaching();

}  // namespace qnav
