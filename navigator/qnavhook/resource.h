// String-table ids of the hook library.
#pragma once

#define IDS_TITLE           4    // message box title, also the INI section
#define IDS_EXTENSIONS      5    // INI section of the user extension map
#define IDS_UNSUPPORTED     17
#define IDS_SUBCLASSFAILED  18
#define IDS_UNKNOWNERROR    19
#define IDS_NOREGISTRY      23
#define IDS_BOOKMARK_FIRST  41   // 41..50: keys of bookmark slots 0..9
#define IDS_OVERWRITE_BOOKMARK 20
#define IDS_OVERWRITE_BUFFER   21

#define IDD_FILEINFO        101
#define IDD_FIRSTUSE        103
#define IDC_INFO_PATH       106
#define IDC_INFO_SIZE       107
#define IDC_INFO_LINES      108
#define IDC_INFO_CHANGED    110

#define IDB_LISTBAR         200
#define IDB_FILTER_FIRST    211  // 211 + 3i .. 213 + 3i: filter button i normal, selected, disabled

#define IDI_HINT_MOUSE      1001
#define IDI_HINT_CAPTION    1002
