// Property-page base: IPropertyPage over a child dialog resource.
#include "fw/ole/PropertyPage.h"
#include "fw/ole/Text.h"

namespace fw::ole {

namespace {

// Size of a dialog template in pixels, read without creating the dialog
// (the frame asks before it gives us a parent).
SIZE TemplateSize(HINSTANCE module, UINT id) {
    SIZE size{0, 0};
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!res || SizeofResource(module, res) < sizeof(DLGTEMPLATE)) return size;
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    if (!bytes) return size;
    const bool extended = reinterpret_cast<const WORD*>(bytes)[1] == 0xFFFF;
    // DLGTEMPLATEEX keeps cx, cy at byte 22; DLGTEMPLATE at byte 14.
    const WORD* dims = reinterpret_cast<const WORD*>(bytes + (extended ? 22 : 14));
    const LONG units = GetDialogBaseUnits();
    size.cx = MulDiv(short(dims[0]), LOWORD(units), 4);
    size.cy = MulDiv(short(dims[1]), HIWORD(units), 8);
    return size;
}

}  // namespace

PropertyPage::PropertyPage(UINT dialogId, UINT titleId)
    : fw::Dialog(Server::Module(), dialogId), dialogId_(dialogId), titleId_(titleId) {}

PropertyPage::~PropertyPage() = default;

STDMETHODIMP PropertyPage::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IPropertyPage, this}});
}

STDMETHODIMP_(ULONG) PropertyPage::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) PropertyPage::Release() { return refs_.Release(this); }

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
    site_ = ComPtr<IPropertyPageSite>(site);
    return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (Handle()) return E_UNEXPECTED;
    if (!CreateModeless(parent)) return E_FAIL;
    MoveWindow(Handle(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, FALSE);
    OnObjectsChanged();
    return S_OK;
}

STDMETHODIMP PropertyPage::Deactivate() {
    if (Handle()) DestroyWindow(Handle());
    return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    const std::wstring title = Widen(LoadResString(Server::Module(), titleId_));
    info->cb = sizeof *info;
    info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc((title.size() + 1) * sizeof(wchar_t)));
    if (!info->pszTitle) return E_OUTOFMEMORY;
    wcscpy(info->pszTitle, title.c_str());
    info->size = TemplateSize(Server::Module(), dialogId_);
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    objects_.clear();
    for (ULONG i = 0; i < count; ++i) {
        ComPtr<IDispatch> dispatch;
        if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(IID_IDispatch, dispatch.PutVoid())))
            objects_.push_back(std::move(dispatch));
    }
    if (Handle()) OnObjectsChanged();
    return S_OK;
}

STDMETHODIMP PropertyPage::Show(UINT cmd) {
    if (!Handle()) return E_UNEXPECTED;
    ShowWindow(Handle(), int(cmd));
    return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!Handle()) return E_UNEXPECTED;
    MoveWindow(Handle(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP PropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP PropertyPage::Apply() {
    if (!dirty_) return S_OK;
    HRESULT hr = OnApply();
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
}

STDMETHODIMP PropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP PropertyPage::TranslateAccelerator(MSG* msg) {
    if (!msg) return E_POINTER;
    return (Handle() && IsDialogMessageA(Handle(), msg)) ? S_OK : S_FALSE;
}

void PropertyPage::SetDirty() {
    dirty_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

}  // namespace fw::ole
