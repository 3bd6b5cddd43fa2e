// Control errors: raising inside the control, reporting at the COM boundary.
#include "fw/ole/Error.h"
#include <oleauto.h>
#include "fw/Window.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Dispatch.h"
#include "fw/ole/Resource.h"
#include "fw/ole/Server.h"
#include "fw/ole/Text.h"

namespace fw::ole {

void ThrowError(unsigned n, UINT descriptionId) {
    if (descriptionId == 0) descriptionId = FW_IDS_CTL_ERROR_BASE + n;
    throw ControlError{ControlErrorScode(n), Widen(LoadResString(Server::Module(), descriptionId))};
}

void ReportError(const ControlError& error, const std::wstring& source, const GUID& iid,
                 EXCEPINFO* info) {
    if (info) {
        *info = EXCEPINFO{};
        info->scode = error.scode;
        info->bstrSource = SysAllocString(source.c_str());
        info->bstrDescription = SysAllocStringLen(error.description.data(), UINT(error.description.size()));
    }
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return;
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(error.description.c_str()));
    ComPtr<IErrorInfo> errorInfo;
    if (SUCCEEDED(create.As(errorInfo))) SetErrorInfo(0, errorInfo.Get());
}

void CoerceVariant(const VARIANT& in, VARTYPE vt, VARIANT* out) {
    VariantInit(out);
    // VT_BYREF values from late-bound callers are dereferenced by the coercion.
    HRESULT hr = VariantChangeType(out, const_cast<VARIANT*>(&in), 0, vt);
    if (FAILED(hr)) throw ControlError{DISP_E_TYPEMISMATCH, {}};
}

std::wstring VariantValue<std::wstring>::From(const VARIANT& v) {
    Variant t;
    CoerceVariant(v, VT_BSTR, t.Get());
    return t.Str();
}

void VariantValue<std::wstring>::To(const std::wstring& s, VARIANT* out) {
    out->vt = VT_BSTR;
    out->bstrVal = SysAllocStringLen(s.data(), UINT(s.size()));
    if (!out->bstrVal) throw ControlError{E_OUTOFMEMORY, {}};
}

Variant VariantValue<Variant>::From(const VARIANT& v) {
    Variant value;
    // Keep the value, not a reference into the caller's frame.
    if (FAILED(VariantCopyInd(value.Get(), Mutable(&v)))) throw ControlError{DISP_E_TYPEMISMATCH, {}};
    return value;
}

void VariantValue<Variant>::To(const Variant& v, VARIANT* out) {
    VariantInit(out);
    if (FAILED(VariantCopy(out, Mutable(v.Get())))) throw ControlError{E_OUTOFMEMORY, {}};
}

void detail::ThrowBadParamCount() { throw ControlError{DISP_E_BADPARAMCOUNT, {}}; }

}  // namespace fw::ole
