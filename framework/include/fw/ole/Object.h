// The IUnknown part every COM object of ours shares: a reference count that
// deletes its owner on the last Release, and QueryInterface from one table
// of the interfaces the object answers for.
//
//   STDMETHODIMP CFoo::QueryInterface(REFIID iid, void** out) {
//       return fw::ole::QueryInterfaceTable(iid, out, {
//           {IID_IUnknown, static_cast<IFoo*>(this)},
//           {IID_IFoo, static_cast<IFoo*>(this)},
//       });
//   }
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <initializer_list>

namespace fw::ole {

struct InterfaceEntry {
    const IID& iid;
    IUnknown* itf;  // the object as that interface
};

inline HRESULT QueryInterfaceTable(REFIID iid, void** out, std::initializer_list<InterfaceEntry> table) {
    if (!out) return E_POINTER;
    for (const InterfaceEntry& e : table)
        if (iid == e.iid) {
            e.itf->AddRef();
            *out = e.itf;
            return S_OK;
        }
    *out = nullptr;
    return E_NOINTERFACE;
}

// Starts at one: the creator owns the first reference.
class RefCount {
public:
    ULONG AddRef() { return ULONG(InterlockedIncrement(&n_)); }
    template <class T>
    ULONG Release(T* owner) {
        LONG n = InterlockedDecrement(&n_);
        if (n == 0) delete owner;
        return ULONG(n);
    }
private:
    LONG n_ = 1;
};

}  // namespace fw::ole
