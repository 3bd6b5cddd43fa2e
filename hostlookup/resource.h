// Resource ids of LURRIN32.ocx. Type-name strings, toolbox bitmaps and the
// property-page dialogs keep the numbers registered containers know.
#pragma once

#define IDS_GETNAME 1
#define IDS_GETNAME_PPG 2
#define IDS_GETADRS 3
#define IDS_GETADRS_PPG 4
#define IDS_PPG_GENERAL 5

#define IDB_GETNAME_TOOLBOX 1
#define IDB_GETADRS_TOOLBOX 2
#define IDB_GETNAME 201
#define IDB_GETADRS 202

#define IDD_ABOUTBOX_GETADRS 100
#define IDD_PROPPAGE_GETADRS 101
#define IDD_ABOUTBOX_GETNAME 102
#define IDD_PROPPAGE_GETNAME 103

#define IDC_STATIC_TEXT -1
