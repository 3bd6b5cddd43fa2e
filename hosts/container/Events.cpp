// The generic event sink and the text property bag.
#include "SiteParts.h"
#include <algorithm>
#include <cwctype>

namespace container {

EventSink::EventSink(Host& host, std::wstring control, const IID& eventIid, ComPtr<ITypeInfo> eventInfo)
    : host_(&host), control_(std::move(control)), eventIid_(eventIid), eventInfo_(std::move(eventInfo)) {}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IDispatch, this}, {eventIid_, this}});
}
STDMETHODIMP_(ULONG) EventSink::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) EventSink::Release() { return refs_.Release(this); }

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = eventInfo_ ? 1 : 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !eventInfo_) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(eventInfo_).Detach();
    return S_OK;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!eventInfo_) return DISP_E_UNKNOWNNAME;
    return eventInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT*) {
    if (result) VariantInit(result);
    if (!host_) return S_OK;
    EventRecord record{control_, L"#" + std::to_wstring(id), {}, GetCurrentThreadId()};
    BSTR name = nullptr;
    UINT found = 0;
    if (eventInfo_ && SUCCEEDED(eventInfo_->GetNames(id, &name, 1, &found)) && found == 1) {
        record.event = name;
        SysFreeString(name);
    }
    // By-reference arguments point into the caller's frame: keep values.
    if (params)
        for (UINT i = params->cArgs; i-- > 0;) {
            Variant arg;
            VariantCopyInd(arg.Get(), &params->rgvarg[i]);
            record.args.push_back(arg);
        }
    host_->RecordEvent(std::move(record));
    return S_OK;
}

STDMETHODIMP TextBag::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IPropertyBag, this}});
}
STDMETHODIMP_(ULONG) TextBag::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) TextBag::Release() { return refs_.Release(this); }

namespace {
bool SameName(const std::string& a, const std::wstring& b) {
    std::wstring wa = FromUtf8(a);
    return wa.size() == b.size() &&
           std::equal(wa.begin(), wa.end(), b.begin(), [](wchar_t x, wchar_t y) { return towlower(x) == towlower(y); });
}
}  // namespace

std::vector<FormProperty>::iterator TextBag::Find(LPCOLESTR name) {
    return std::find_if(properties_.begin(), properties_.end(),
                        [&](const FormProperty& p) { return SameName(p.name, name); });
}

STDMETHODIMP TextBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    auto it = Find(name);
    if (it == properties_.end()) return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    Variant text(FromUtf8(it->value));
    VariantInit(value);
    if (wanted == VT_EMPTY || wanted == VT_BSTR) return VariantCopy(value, text.Get());
    return VariantChangeType(value, text.Get(), 0, wanted);
}

STDMETHODIMP TextBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    Variant text;
    HRESULT hr = VariantChangeType(text.Get(), value, 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    const std::string utf8 = ToUtf8(text.Str());
    auto it = Find(name);
    if (it != properties_.end())
        it->value = utf8;
    else
        properties_.push_back({ToUtf8(name), utf8});
    return S_OK;
}

}  // namespace container
