// Property-page base: an IPropertyPage over a dialog resource (a child
// dialog without frame). A page class passes its dialog and title string,
// reads the controls it edits in OnObjectsChanged and writes them in OnApply.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include <vector>
#include "fw/Window.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Object.h"
#include "fw/ole/Server.h"

namespace fw::ole {

class PropertyPage : public IPropertyPage, public fw::Dialog {
public:
    HRESULT Initialize() { return S_OK; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmd) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR dir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

protected:
    PropertyPage(UINT dialogId, UINT titleId);
    ~PropertyPage() override;

    // The objects being edited, as their dispatch interfaces.
    const std::vector<ComPtr<IDispatch>>& Objects() const { return objects_; }
    virtual void OnObjectsChanged() {}
    virtual HRESULT OnApply() { return S_OK; }
    // Tells the frame that Apply has something to do.
    void SetDirty();

    // A page has no OK / Cancel of its own: the frame owns them.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class RefCount;
    RefCount refs_;
    ServerLock lock_;
    UINT dialogId_;
    UINT titleId_;
    bool dirty_ = false;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IDispatch>> objects_;
};

}  // namespace fw::ole
