// String-table entries the OLE control base needs from every control
// library: each library's .rc lists these ids with its texts (a resource
// compiler reads only the defines of an included header).
#pragma once

// Descriptions of the framework's own control errors: id = base + error number.
#define FW_IDS_CTL_ERROR_BASE 0xE000
#define FW_IDS_CTL_E_INVALIDPROPERTYVALUE (FW_IDS_CTL_ERROR_BASE + 380)
#define FW_IDS_CTL_E_INVALIDPROPERTYARRAYINDEX (FW_IDS_CTL_ERROR_BASE + 381)
#define FW_IDS_CTL_E_SETNOTSUPPORTEDATRUNTIME (FW_IDS_CTL_ERROR_BASE + 382)
#define FW_IDS_CTL_E_SETNOTSUPPORTED (FW_IDS_CTL_ERROR_BASE + 383)
