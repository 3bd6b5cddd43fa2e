// OLE control base: persistence. One exchange routine per control drives
// IPersistStreamInit (items in order, no names) and IPersistPropertyBag
// (items by name); a fresh control loads from an exchange that has nothing,
// so every item takes its default.
#include "fw/ole/Control.h"

namespace fw::ole {

namespace {

// Refuses absurd lengths from a damaged stream before allocating.
constexpr ULONG kMaxStreamString = 1u << 20;

bool ReadAll(IStream* s, void* buf, ULONG n) {
    ULONG got = 0;
    return SUCCEEDED(s->Read(buf, n, &got)) && got == n;
}

bool WriteAll(IStream* s, const void* buf, ULONG n) {
    ULONG put = 0;
    return SUCCEEDED(s->Write(buf, n, &put)) && put == n;
}

class DefaultsExchange : public PropExchange {
public:
    bool IsLoading() const override { return true; }
    bool IsNew() const override { return true; }
protected:
    bool Exchange(const wchar_t*, VARTYPE, VARIANT&) override { return true; }
};

}  // namespace

bool PropExchange::Item(const wchar_t* name, VARTYPE vt, VARIANT& value) {
    if (failed_) return false;
    if (!Exchange(name, vt, value)) {
        failed_ = true;
        return false;
    }
    return IsLoading() && value.vt == vt;
}

template <class T>
bool PropExchange::Value(const wchar_t* name, VARTYPE vt, T& value, const T& def) {
    Variant v;
    if (!IsLoading()) VariantValue<T>::To(value, v.Get());
    if (Item(name, vt, *v.Get())) {
        value = VariantValue<T>::From(*v.Get());
        return true;
    }
    if (IsLoading()) value = def;
    return false;
}

bool PropExchange::Short(const wchar_t* name, short& value, short def) { return Value(name, VT_I2, value, def); }
bool PropExchange::Long(const wchar_t* name, long& value, long def) { return Value(name, VT_I4, value, def); }
bool PropExchange::Bool(const wchar_t* name, bool& value, bool def) { return Value(name, VT_BOOL, value, def); }
bool PropExchange::String(const wchar_t* name, std::wstring& value, const std::wstring& def) {
    return Value(name, VT_BSTR, value, def);
}

bool StreamExchange::Exchange(const wchar_t*, VARTYPE vt, VARIANT& value) {
    switch (vt) {
    case VT_I2:
    case VT_BOOL:  // VARIANT_BOOL has the layout of a short
        if (!loading_) return WriteAll(stream_, &value.iVal, 2);
        value.vt = vt;
        return ReadAll(stream_, &value.iVal, 2);
    case VT_I4:
        if (!loading_) return WriteAll(stream_, &value.lVal, 4);
        value.vt = vt;
        return ReadAll(stream_, &value.lVal, 4);
    case VT_BSTR: {
        if (!loading_) {
            ULONG chars = SysStringLen(value.bstrVal);
            return WriteAll(stream_, &chars, 4) && WriteAll(stream_, value.bstrVal, chars * 2);
        }
        ULONG chars = 0;
        if (!ReadAll(stream_, &chars, 4) || chars > kMaxStreamString) return false;
        BSTR s = SysAllocStringLen(nullptr, chars);
        if (!s) return false;
        if (!ReadAll(stream_, s, chars * 2)) {
            SysFreeString(s);
            return false;
        }
        value.vt = VT_BSTR;
        value.bstrVal = s;
        return true;
    }
    default:
        return false;
    }
}

bool BagExchange::Exchange(const wchar_t* name, VARTYPE vt, VARIANT& value) {
    if (!loading_) return SUCCEEDED(bag_->Write(name, &value));
    Variant read;
    read.Get()->vt = vt;
    // A missing or unconvertible item keeps the default: forms written by
    // older versions lack items added since.
    if (FAILED(bag_->Read(name, read.Get(), log_))) return true;
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, read.Get(), 0, vt))) value = converted;
    return true;
}

void Control::DoPropExchange(PropExchange& px) {
    long version = long(DataVersion());
    px.Long(L"_Version", version, long(DataVersion()));
    if (px.IsLoading()) px.SetLoadedVersion(DWORD(version));
    px.Long(L"_ExtentX", extent_.cx, defaultExtent_.cx);
    px.Long(L"_ExtentY", extent_.cy, defaultExtent_.cy);
    long stockProps = 0;  // no stock properties are persisted
    px.Long(L"_StockProps", stockProps, 0);
}

HRESULT Control::Exchange(PropExchange& px) {
    // Whatever a control's exchange throws (a heap exception too) ends here.
    const HRESULT hr = Guarded([&] { DoPropExchange(px); });
    if (FAILED(hr)) return hr;
    if (px.Failed()) return px.IsLoading() ? STG_E_READFAULT : STG_E_WRITEFAULT;
    if (px.IsLoading()) InvalidateControl();
    return S_OK;
}

STDMETHODIMP Control::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP Control::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP Control::Load(IStream* stream) {
    if (!stream) return E_POINTER;
    StreamExchange px(stream, true);
    HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
}

STDMETHODIMP Control::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    StreamExchange px(stream, false);
    HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

STDMETHODIMP Control::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    ComPtr<IStream> scratch;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, scratch.Put()))) return E_OUTOFMEMORY;
    StreamExchange px(scratch.Get(), false);
    HRESULT hr = Exchange(px);
    if (FAILED(hr)) return hr;
    LARGE_INTEGER zero{};
    return scratch->Seek(zero, STREAM_SEEK_CUR, size);
}

STDMETHODIMP Control::InitNew() {
    DefaultsExchange px;
    HRESULT hr = Exchange(px);
    dirty_ = false;
    return hr;
}

STDMETHODIMP Control::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    BagExchange px(bag, log, true);
    HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
}

STDMETHODIMP Control::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    BagExchange px(bag, nullptr, false);
    HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

}  // namespace fw::ole
