// COM objects a control site hands to its control: the event sink and the
// text property bag. Internal to the container library.
#pragma once
#include "Container.h"

namespace container {

// Receives one control's events and names them from the event interface's
// type information, so any control can be hosted without knowing it.
class EventSink : public IDispatch {
public:
    EventSink(Host& host, std::wstring control, const IID& eventIid, ComPtr<ITypeInfo> eventInfo);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

    // Forgets the host: a control may call late, after its site is gone.
    void Disconnect() { host_ = nullptr; }

private:
    virtual ~EventSink() = default;
    friend class fw::ole::RefCount;
    fw::ole::RefCount refs_;
    Host* host_;
    std::wstring control_;
    IID eventIid_;
    ComPtr<ITypeInfo> eventInfo_;
};

// The extended control: what the host adds to each control (its Name on
// the form, the Object itself, its place). No type information; names are
// matched without regard to case.
class Extender : public UntypedDispatch {
public:
    explicit Extender(ControlSite& site) : site_(&site) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

    // The control may keep its extender longer than the form keeps the site.
    void Disconnect() { site_ = nullptr; }

private:
    virtual ~Extender() = default;
    friend class fw::ole::RefCount;
    fw::ole::RefCount refs_;
    ControlSite* site_;
};

// The form as an OLE container: controls find each other through it.
class FormObjects : public IOleContainer {
public:
    explicit FormObjects(Host& host) : host_(&host) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP ParseDisplayName(IBindCtx* ctx, LPOLESTR name, ULONG* eaten, IMoniker** out) override;
    // Every control on the form, in the order they were added.
    STDMETHODIMP EnumObjects(DWORD flags, IEnumUnknown** out) override;
    STDMETHODIMP LockContainer(BOOL lock) override;

    void Disconnect() { host_ = nullptr; }

private:
    virtual ~FormObjects() = default;
    friend class fw::ole::RefCount;
    fw::ole::RefCount refs_;
    Host* host_;
};

// A property bag over name/value text pairs (values kept as UTF-8 text).
class TextBag : public IPropertyBag {
public:
    explicit TextBag(std::vector<FormProperty> properties) : properties_(std::move(properties)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    const std::vector<FormProperty>& Properties() const { return properties_; }

private:
    virtual ~TextBag() = default;
    friend class fw::ole::RefCount;
    // Names match without regard to case.
    std::vector<FormProperty>::iterator Find(LPCOLESTR name);
    fw::ole::RefCount refs_;
    std::vector<FormProperty> properties_;
};

}  // namespace container
