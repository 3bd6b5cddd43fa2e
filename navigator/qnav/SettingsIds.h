// String-table ids of the settings file: section names and [Colors] keys.
// Shared by the control program's resources and the settings code.
#pragma once

#define IDS_SECTION_QUORVANE 3220
#define IDS_SECTION_PARSER 3221
#define IDS_SECTION_MENU 3222
#define IDS_SECTION_COLORS 3223

// [Colors] keys: group base + item (1-based, the leading word has no key).
#define IDS_COLORS_CPP 4009
#define IDS_COLORS_RESOURCE 4019
#define IDS_COLORS_ASM 4039
#define IDS_COLORS_OTHER 4049
// The Colors dialog's label of a key is its id plus this.
#define IDS_COLOR_LABEL_OFFSET 100
