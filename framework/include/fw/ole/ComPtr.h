// Ownership of one COM interface reference, and of a BSTR and a VARIANT.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

namespace fw::ole {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of `p` (AddRef), as a copy would.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(const ComPtr& o) { ComPtr(o).Swap(*this); return *this; }
    ComPtr& operator=(ComPtr&& o) noexcept { ComPtr(std::move(o)).Swap(*this); return *this; }
    ~ComPtr() { Reset(); }

    // Adopts a reference the caller already owns (no AddRef).
    static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
    T* Detach() { return std::exchange(p_, nullptr); }
    void Swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    // For out-parameters: drops the current reference first.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(__uuidof(U), out.PutVoid());
    }
    HRESULT As(REFIID iid, void** out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out);
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : s_(SysAllocStringLen(s.data(), UINT(s.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }
    BSTR Get() const { return s_; }
    BSTR* Put() { SysFreeString(s_); s_ = nullptr; return &s_; }
    BSTR Detach() { return std::exchange(s_, nullptr); }
    std::wstring Str() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }
private:
    BSTR s_ = nullptr;
};

// The headers declare read-only VARIANT arguments without const.
inline VARIANT* Mutable(const VARIANT* v) { return const_cast<VARIANT*>(v); }

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& o) : Variant() { VariantCopy(&v_, Mutable(&o.v_)); }
    Variant& operator=(const Variant& o) { if (this != &o) VariantCopy(&v_, Mutable(&o.v_)); return *this; }
    explicit Variant(const VARIANT& v) : Variant() { VariantCopy(&v_, Mutable(&v)); }
    explicit Variant(const std::wstring& s) : Variant() {
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocStringLen(s.data(), UINT(s.size()));
    }
    explicit Variant(short n) : Variant() { v_.vt = VT_I2; v_.iVal = n; }
    explicit Variant(long n) : Variant() { v_.vt = VT_I4; v_.lVal = n; }
    ~Variant() { VariantClear(&v_); }

    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }
    VARIANT* Put() { VariantClear(&v_); return &v_; }
    VARTYPE Type() const { return v_.vt; }
    // The value coerced to text / number; empty or 0 when it cannot be.
    std::wstring Str() const;
    long Long() const;

private:
    VARIANT v_;
};

inline std::wstring Variant::Str() const {
    if (v_.vt == VT_BSTR) return v_.bstrVal ? std::wstring(v_.bstrVal, SysStringLen(v_.bstrVal)) : L"";
    VARIANT t;
    VariantInit(&t);
    std::wstring s;
    if (SUCCEEDED(VariantChangeType(&t, Mutable(&v_), 0, VT_BSTR)) && t.bstrVal)
        s.assign(t.bstrVal, SysStringLen(t.bstrVal));
    VariantClear(&t);
    return s;
}

inline long Variant::Long() const {
    VARIANT t;
    VariantInit(&t);
    long n = SUCCEEDED(VariantChangeType(&t, Mutable(&v_), 0, VT_I4)) ? t.lVal : 0;
    VariantClear(&t);
    return n;
}

}  // namespace fw::ole
