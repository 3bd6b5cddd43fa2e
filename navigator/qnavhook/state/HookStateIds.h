// String-table ids of the hook library (qnavhook.rc) that name the
// sections and keys of its persisted state.
#pragma once

#define IDS_HOOK_SECTION 4          // "Quorvane", the settings file's main section
#define IDS_HOOK_EXTENSIONS 5
#define IDS_HOOK_BOOKMARK_FIRST 41  // keys of slots 0-9: "Bookmark1".."Bookmark9", "Bookmark0"
