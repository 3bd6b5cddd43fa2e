// Control errors: raising inside the control, reporting at the COM boundary.
#include "fw/ole/Error.h"
#include <oleauto.h>
#include <exception>
#include <memory>
#include <new>
#include "fw/Exception.h"
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

ControlError CurrentError() {
    try {
        throw;
    } catch (const ControlError& e) {
        return e;
    } catch (fw::Exception* raw) {
        std::unique_ptr<fw::Exception, void (*)(fw::Exception*)> e(raw, [](fw::Exception* p) {
            if (p) p->Delete();
        });
        if (!e) return {E_UNEXPECTED, {}};
        const long status = e->ErrorStatus();
        return {status < 0 ? SCODE(status) : E_FAIL, e->ErrorDescription()};
    } catch (const std::bad_alloc&) {
        return {E_OUTOFMEMORY, {}};
    } catch (const std::exception& e) {
        return {E_FAIL, Widen(e.what())};
    } catch (...) {
        return {E_UNEXPECTED, {}};
    }
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

ComPtr<IDispatch> VariantValue<ComPtr<IDispatch>>::From(const VARIANT& v) {
    const VARIANT& d = (v.vt & VT_BYREF) && (v.vt & ~VT_BYREF) == VT_VARIANT ? *v.pvarVal : v;
    IUnknown* unknown = nullptr;
    switch (d.vt) {
    case VT_EMPTY: case VT_NULL: return {};
    case VT_DISPATCH: unknown = d.pdispVal; break;
    case VT_UNKNOWN: unknown = d.punkVal; break;
    case VT_DISPATCH | VT_BYREF: unknown = d.ppdispVal ? *d.ppdispVal : nullptr; break;
    case VT_UNKNOWN | VT_BYREF: unknown = d.ppunkVal ? *d.ppunkVal : nullptr; break;
    default: throw ControlError{DISP_E_TYPEMISMATCH, {}};
    }
    ComPtr<IDispatch> object;
    if (unknown && FAILED(unknown->QueryInterface(IID_IDispatch, object.PutVoid())))
        throw ControlError{DISP_E_TYPEMISMATCH, {}};
    return object;
}

void VariantValue<ComPtr<IDispatch>>::To(const ComPtr<IDispatch>& p, VARIANT* out) {
    out->vt = VT_DISPATCH;
    out->pdispVal = ComPtr<IDispatch>(p).Detach();
}

bool IsMissing(const VARIANT& v) {
    return (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND) || v.vt == VT_EMPTY;
}

const VARIANT detail::kMissingArgument = [] {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}();

void StoreByRef(const VARIANT& target, const VARIANT& value) {
    if (!(target.vt & VT_BYREF) || !target.byref) return;
    const VARTYPE type = target.vt & ~VT_BYREF;
    if (type == VT_VARIANT) {
        if (FAILED(VariantCopy(target.pvarVal, Mutable(&value)))) throw ControlError{E_OUTOFMEMORY, {}};
        return;
    }
    VARIANT converted;
    CoerceVariant(value, type, &converted);
    switch (type) {
    case VT_I2: *target.piVal = converted.iVal; break;
    case VT_I4: *target.plVal = converted.lVal; break;
    case VT_BOOL: *target.pboolVal = converted.boolVal; break;
    case VT_R8: *target.pdblVal = converted.dblVal; break;
    case VT_BSTR:
        SysFreeString(*target.pbstrVal);
        *target.pbstrVal = converted.bstrVal;  // the caller's variable owns it now
        break;
    default:
        VariantClear(&converted);
        throw ControlError{DISP_E_TYPEMISMATCH, {}};
    }
}

void detail::ThrowBadParamCount() { throw ControlError{DISP_E_BADPARAMCOUNT, {}}; }

}  // namespace fw::ole
