// Automation objects that are not controls (collections, settings objects,
// values a control hands out as an object-valued property): IDispatch over a
// dispatch map, with the type information of their dispatch interface from
// the library's type library. Reference counted from one; each live object
// holds the server lock.
//
//   class CConditions : public fw::ole::Automation {
//   public:
//       CConditions() : Automation(DIID_Conditions) {}
//   protected:
//       std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
//   };
//   fw::ole::ComPtr<CConditions> c = fw::ole::MakeAutomation<CConditions>();
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <new>
#include <string>
#include <utility>
#include "fw/ole/ComPtr.h"
#include "fw/ole/Dispatch.h"
#include "fw/ole/Object.h"
#include "fw/ole/Server.h"

namespace fw::ole {

class Automation : public IDispatch, public ISupportErrorInfo, public DispatchTarget {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return refs_.Release(this); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // The object as a value for an object-valued property.
    ComPtr<IDispatch> AsDispatch() { return ComPtr<IDispatch>(static_cast<IDispatch*>(this)); }

protected:
    // `source` names the object in the errors it raises (a ProgID or a
    // class name).
    explicit Automation(const IID& dispatchIid, std::wstring source = {});
    ~Automation() override;

    std::wstring ErrorSource() const override { return source_; }
    const IID& ErrorInterface() const override { return dispatchIid_; }

private:
    friend class RefCount;
    RefCount refs_;
    ServerLock lock_;
    const IID& dispatchIid_;
    std::wstring source_;
    ComPtr<ITypeInfo> info_;  // none when the library lacks the interface
};

// A new T(args...) holding its first reference.
template <class T, class... A>
ComPtr<T> MakeAutomation(A&&... args) {
    return ComPtr<T>::Attach(new T(std::forward<A>(args)...));
}

}  // namespace fw::ole
