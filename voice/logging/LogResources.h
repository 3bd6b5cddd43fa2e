// Resource ids of the logging area of kvo32.ocx (strings 5000-5194 are the
// log messages, by kind).
#pragma once

#define IDR_CHANNEL_LOG_MENU 5400
#define IDD_LOG_FILTER 5401
#define IDB_LOG_ICONS 5402

#define IDC_LOG_CATEGORY0 5410  /* 5410-5417, one per switchable category */
#define IDC_LOG_TREE 5430

#define ID_LOG_CLEAR 5420
#define ID_LOG_FILTER 5421
#define ID_LOG_SAVE_TEXT 5422
#define ID_LOG_PRINT_ITEM 5423
#define ID_LOG_PRINT_ALL 5424
#define ID_LOG_EDIT_TEXT 5425
#define ID_LOG_LOAD_TODAY 5426
#define ID_LOG_LOAD_PREVIOUS 5427
#define ID_LOG_HELP 5428
#define ID_LOG_HELP_ITEM 5429

