// A snapshot enumerator (IEnumXxx) over a fixed list; items handed out carry
// their own reference or copy, as the enumeration contract wants. Hold and
// Drop say what that means per item type.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <algorithm>
#include <new>
#include <vector>
#include "fw/ole/Object.h"
#include "fw/ole/Server.h"

namespace fw::ole {

inline void Hold(IUnknown* p) { if (p) p->AddRef(); }
inline void Drop(IUnknown* p) { if (p) p->Release(); }
inline void Hold(CONNECTDATA& d) { Hold(d.pUnk); }
inline void Drop(CONNECTDATA& d) { Drop(d.pUnk); }
// The receiver of an OLEVERB frees its name with CoTaskMemFree.
inline void Hold(OLEVERB& v) {
    if (!v.lpszVerbName) return;
    const size_t bytes = (wcslen(v.lpszVerbName) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (copy) memcpy(copy, v.lpszVerbName, bytes);
    v.lpszVerbName = copy;
}
inline void Drop(OLEVERB& v) { CoTaskMemFree(v.lpszVerbName); }

template <class Itf, class Item, const IID& ItfIid>
class Enumerator : public Itf {
public:
    explicit Enumerator(std::vector<Item> items, size_t pos = 0) : items_(std::move(items)), pos_(pos) {
        for (Item& item : items_) Hold(item);
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {ItfIid, this}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return refs_.Release(this); }
    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        for (; n < count && pos_ < items_.size(); ++n, ++pos_) {
            out[n] = items_[pos_];
            Hold(out[n]);
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const size_t left = items_.size() - pos_;
        pos_ += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Itf** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) Enumerator(items_, pos_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    friend class fw::ole::RefCount;
    virtual ~Enumerator() {
        for (Item& item : items_) Drop(item);
    }
    RefCount refs_;
    ServerLock lock_;  // may outlive the object that made it
    std::vector<Item> items_;
    size_t pos_;
};

}  // namespace fw::ole
