// String-table ids of the hook library.
#pragma once

#define IDS_TITLE           4    // message box title, also the INI section
#define IDS_EXTENSIONS      5    // INI section of the user extension map
#define IDS_UNSUPPORTED     17
#define IDS_SUBCLASSFAILED  18
#define IDS_UNKNOWNERROR    19
#define IDS_NOREGISTRY      23
#define IDS_BOOKMARK_FIRST  41   // 41..50: keys of bookmark slots 0..9
