// OLE control base: IDispatch over the dispatch map, class information,
// error information and the ambient properties of the site.
#include <olectl.h>
#include <algorithm>
#include <new>
#include <vector>
#include "fw/ole/Control.h"
#include "fw/ole/Text.h"

namespace fw::ole {

STDMETHODIMP Control::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP Control::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(dispatchInfo_).Detach();
    return S_OK;
}

STDMETHODIMP Control::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    return dispatchInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP Control::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT*) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return InvokeMap(id, flags, params, result, excep);
}

std::wstring Control::ErrorSource() const {
    const ClassEntry* c = Server::Find(clsid_);
    return c ? Widen(c->progId) : std::wstring();
}

void Control::SetNotSupported() {
    ThrowError(AmbientUserMode() ? kCtlSetNotSupportedAtRuntime : kCtlSetNotSupported);
}

STDMETHODIMP Control::GetClassInfo(ITypeInfo** info) { return Server::LoadTypeInfo(clsid_, info); }

STDMETHODIMP Control::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = eventIid_;
    return S_OK;
}

STDMETHODIMP Control::InterfaceSupportsErrorInfo(REFIID iid) {
    return (iid == dispatchIid_ || iid == IID_IDispatch) ? S_OK : S_FALSE;
}

HRESULT Control::Ambient(DISPID id, Variant& value) const {
    if (!site_) return E_FAIL;
    ComPtr<IDispatch> ambient;
    if (FAILED(site_.As(ambient))) return E_NOINTERFACE;
    DISPPARAMS none{};
    return ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Put(),
                           nullptr, nullptr);
}

namespace {
bool AsBool(const Variant& v, bool otherwise) {
    Variant b;
    if (FAILED(VariantChangeType(b.Get(), Mutable(v.Get()), 0, VT_BOOL))) return otherwise;
    return b.Get()->boolVal != VARIANT_FALSE;
}
}  // namespace

bool Control::AmbientUserMode() const {
    Variant v;
    return SUCCEEDED(Ambient(DISPID_AMBIENT_USERMODE, v)) ? AsBool(v, true) : true;
}

bool Control::AmbientUIDead() const {
    Variant v;
    return SUCCEEDED(Ambient(DISPID_AMBIENT_UIDEAD, v)) ? AsBool(v, false) : false;
}

std::wstring Control::AmbientDisplayName() const {
    Variant v;
    if (FAILED(Ambient(DISPID_AMBIENT_DISPLAYNAME, v))) return {};
    return v.Str();
}

}  // namespace fw::ole
