// Errors a control raises to its caller: OLE control errors 0x800A0000 + n,
// thrown inside the control and turned into EXCEPINFO and IErrorInfo at the
// dispatch boundary, so no exception ever crosses into the container.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace fw::ole {

enum : unsigned {
    kCtlInvalidPropertyValue = 380,
    kCtlInvalidPropertyArrayIndex = 381,
    kCtlSetNotSupportedAtRuntime = 382,
    kCtlSetNotSupported = 383,
};

constexpr SCODE ControlErrorScode(unsigned n) { return SCODE(0x800A0000u + (n & 0xFFFF)); }

struct ControlError {
    SCODE scode;               // 0x800A0000 + n, or any failure HRESULT
    std::wstring description;  // empty: none
};

// Throws error n with string `descriptionId` of the control library (0: the
// framework's own text for its standard errors, none for others).
[[noreturn]] void ThrowError(unsigned n, UINT descriptionId = 0);

// Inside a catch block: the error that whatever was thrown stands for.
// ControlError as it is; a heap fw::Exception by its own mapping (E_FAIL when
// it has none), and it is deleted here; bad_alloc E_OUTOFMEMORY; another
// std::exception E_FAIL with its text; anything else E_UNEXPECTED.
ControlError CurrentError();

// Runs `f` at a COM boundary: S_OK, or the status of whatever it threw.
template <class F>
HRESULT Guarded(F&& f) {
    try {
        f();
        return S_OK;
    } catch (...) {
        return CurrentError().scode;
    }
}

// Fills `info` (if the caller passed one) and the thread's IErrorInfo.
void ReportError(const ControlError& error, const std::wstring& source, const GUID& iid,
                 EXCEPINFO* info);

}  // namespace fw::ole
