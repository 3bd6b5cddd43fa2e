// String-table entries the OLE control base needs from every control library.
// A library's .rc includes this file once; the C++ side only sees the ids.
#pragma once

// Descriptions of the framework's own control errors: id = base + error number.
#define FW_IDS_CTL_ERROR_BASE 0xE000
#define FW_IDS_CTL_E_INVALIDPROPERTYVALUE (FW_IDS_CTL_ERROR_BASE + 380)
#define FW_IDS_CTL_E_INVALIDPROPERTYARRAYINDEX (FW_IDS_CTL_ERROR_BASE + 381)
#define FW_IDS_CTL_E_SETNOTSUPPORTEDATRUNTIME (FW_IDS_CTL_ERROR_BASE + 382)
#define FW_IDS_CTL_E_SETNOTSUPPORTED (FW_IDS_CTL_ERROR_BASE + 383)

#ifdef RC_INVOKED
STRINGTABLE
BEGIN
    FW_IDS_CTL_E_INVALIDPROPERTYVALUE "Invalid property value"
    FW_IDS_CTL_E_INVALIDPROPERTYARRAYINDEX "Invalid property array index"
    FW_IDS_CTL_E_SETNOTSUPPORTEDATRUNTIME "Property is read-only at run time"
    FW_IDS_CTL_E_SETNOTSUPPORTED "Property is read-only"
END
#endif
