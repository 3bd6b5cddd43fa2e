// Dispatch maps: an object lists its properties and methods by dispatch id in
// one table; DispatchTarget::InvokeMap finds the entry and converts the
// arguments. Names come from the type library, so they are written once.
//
//   const fw::ole::DispatchEntry CFoo::kDispatch[] = {
//       fw::ole::Property<&CFoo::GetCount, &CFoo::SetCount>(1),
//       fw::ole::Property<&CFoo::GetNode, &CFoo::SetNode>(2),  // GetNode(short ch), SetNode(short ch, short n)
//       fw::ole::ReadOnlyProperty<&CFoo::GetVersion>(3),
//       fw::ole::Method<&CFoo::Lookup>(4),
//   };
//
// Getters return short, long, bool, double, std::wstring, Variant or
// ComPtr<IDispatch> (an object); setters and methods take them. Index
// arguments come first: a getter takes the indexes, a setter the indexes and
// then the value. Trailing std::optional<T> parameters may be left out by the
// caller; Ref<T> parameters are the caller's variables (out-arguments).
// Handlers may throw ControlError or a fw::Exception*; nothing escapes.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include "fw/ole/ComPtr.h"
#include "fw/ole/Error.h"

namespace fw::ole {

// What a dispatch map serves: a control or a plain automation object. The
// entries cast it back to the class that listed them.
class DispatchTarget;

struct DispatchEntry {
    DISPID id;
    // `args` in call order: the index arguments; for put, then the new value.
    void (*get)(DispatchTarget& self, std::span<VARIANT> args, VARIANT* result);
    void (*put)(DispatchTarget& self, std::span<VARIANT> args);
    void (*call)(DispatchTarget& self, std::span<VARIANT> args, VARIANT* result);
};

class DispatchTarget {
public:
    DispatchTarget() = default;
    DispatchTarget(const DispatchTarget&) = delete;
    DispatchTarget& operator=(const DispatchTarget&) = delete;

    // IDispatch::Invoke over DispatchMap(): every failure becomes an HRESULT
    // (control errors DISP_E_EXCEPTION with `excep` and IErrorInfo filled).
    HRESULT InvokeMap(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep);

    // A write to a read-only property: "set not supported" (383) unless the
    // target knows better.
    virtual void SetNotSupported();

protected:
    virtual ~DispatchTarget() = default;
    virtual std::span<const DispatchEntry> DispatchMap() const = 0;
    // Who raised an error (a ProgID) and on which interface.
    virtual std::wstring ErrorSource() const = 0;
    virtual const IID& ErrorInterface() const = 0;

private:
    HRESULT InvokeEntry(const DispatchEntry& entry, WORD flags, DISPPARAMS* params, VARIANT* result);
};

// Conversions between VARIANTs and the C++ types handlers use. From() throws
// ControlError with DISP_E_TYPEMISMATCH when the value does not convert.
template <class T> struct VariantValue;

void CoerceVariant(const VARIANT& in, VARTYPE vt, VARIANT* out);

template <> struct VariantValue<short> {
    static short From(const VARIANT& v) { VARIANT t; CoerceVariant(v, VT_I2, &t); return t.iVal; }
    static void To(short n, VARIANT* out) { out->vt = VT_I2; out->iVal = n; }
};
template <> struct VariantValue<long> {
    static long From(const VARIANT& v) { VARIANT t; CoerceVariant(v, VT_I4, &t); return t.lVal; }
    static void To(long n, VARIANT* out) { out->vt = VT_I4; out->lVal = n; }
};
template <> struct VariantValue<bool> {
    static bool From(const VARIANT& v) { VARIANT t; CoerceVariant(v, VT_BOOL, &t); return t.boolVal != VARIANT_FALSE; }
    static void To(bool b, VARIANT* out) { out->vt = VT_BOOL; out->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
};
template <> struct VariantValue<double> {
    static double From(const VARIANT& v) { VARIANT t; CoerceVariant(v, VT_R8, &t); return t.dblVal; }
    static void To(double d, VARIANT* out) { out->vt = VT_R8; out->dblVal = d; }
};
// Untyped members (anything the member sorts out itself).
template <> struct VariantValue<Variant> {
    static Variant From(const VARIANT& v);
    static void To(const Variant& v, VARIANT* out);
};
template <> struct VariantValue<std::wstring> {
    static std::wstring From(const VARIANT& v);
    static void To(const std::wstring& s, VARIANT* out);
};
// Objects: Nothing is a null reference both ways.
template <> struct VariantValue<ComPtr<IDispatch>> {
    static ComPtr<IDispatch> From(const VARIANT& v);
    static void To(const ComPtr<IDispatch>& p, VARIANT* out);
};

// True for an argument the caller left out (VT_ERROR DISP_E_PARAMNOTFOUND).
bool IsMissing(const VARIANT& v);

template <class T> struct VariantValue<std::optional<T>> {
    static std::optional<T> From(const VARIANT& v) {
        if (IsMissing(v)) return std::nullopt;
        return VariantValue<T>::From(v);
    }
};

// Stores `value` where a by-reference argument points, converted to the
// type the caller's variable has; a by-value argument takes nothing.
void StoreByRef(const VARIANT& target, const VARIANT& value);

// An argument the member may write back (an out- or in/out-argument): the
// caller sees what Set stored once the call returns.
template <class T>
class Ref {
public:
    explicit Ref(const VARIANT& arg) : arg_(arg) {}
    // What the caller passed in (a missing argument gives T's default).
    T Get() const { return IsMissing(arg_) ? T() : VariantValue<T>::From(arg_); }
    void Set(const T& value) const {
        Variant v;
        VariantValue<T>::To(value, v.Get());
        StoreByRef(arg_, *v.Get());
    }
    bool ByReference() const { return (arg_.vt & VT_BYREF) != 0; }
private:
    const VARIANT& arg_;
};
template <class T> struct VariantValue<Ref<T>> {
    static Ref<T> From(const VARIANT& v) { return Ref<T>(v); }
};

namespace detail {
template <class M> struct MemberFn;
template <class C, class R, class... A> struct MemberFn<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<std::decay_t<A>...>;
};
template <class C, class R, class... A> struct MemberFn<R (C::*)(A...) const> : MemberFn<R (C::*)(A...)> {};

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type {};

// Parameters before the first trailing optional one.
template <class Tuple, size_t N = std::tuple_size_v<Tuple>>
constexpr size_t RequiredCount() {
    if constexpr (N == 0) return 0;
    else if constexpr (IsOptional<std::tuple_element_t<N - 1, Tuple>>::value) return RequiredCount<Tuple, N - 1>();
    else return N;
}

template <class T> void Store(T&& value, VARIANT* result) {
    if (result) VariantValue<std::decay_t<T>>::To(value, result);
}

[[noreturn]] void ThrowBadParamCount();
extern const VARIANT kMissingArgument;

template <auto Fn, size_t... I>
void CallWith(DispatchTarget& self, std::span<VARIANT> args, VARIANT* result, std::index_sequence<I...>) {
    using F = MemberFn<decltype(Fn)>;
    constexpr size_t total = sizeof...(I);
    if (args.size() < RequiredCount<typename F::Args>() || args.size() > total) ThrowBadParamCount();
    auto arg = [&](size_t i) -> const VARIANT& { return i < args.size() ? args[i] : kMissingArgument; };
    auto& obj = static_cast<typename F::Class&>(self);
    if constexpr (std::is_void_v<typename F::Result>) {
        (obj.*Fn)(VariantValue<std::tuple_element_t<I, typename F::Args>>::From(arg(I))...);
    } else {
        Store((obj.*Fn)(VariantValue<std::tuple_element_t<I, typename F::Args>>::From(arg(I))...), result);
    }
}

template <auto Fn>
void Call(DispatchTarget& self, std::span<VARIANT> args, VARIANT* result) {
    using F = MemberFn<decltype(Fn)>;
    CallWith<Fn>(self, args, result, std::make_index_sequence<std::tuple_size_v<typename F::Args>>());
}

template <auto Fn>
void Put(DispatchTarget& self, std::span<VARIANT> args) {
    using F = MemberFn<decltype(Fn)>;
    // The value comes last: nothing may be left out before it.
    if (args.size() != std::tuple_size_v<typename F::Args>) ThrowBadParamCount();
    Call<Fn>(self, args, nullptr);
}

inline void PutNotSupported(DispatchTarget& self, std::span<VARIANT>) { self.SetNotSupported(); }
}  // namespace detail

template <auto Getter, auto Setter>
constexpr DispatchEntry Property(DISPID id) {
    return {id, &detail::Call<Getter>, &detail::Put<Setter>, nullptr};
}

template <auto Getter>
constexpr DispatchEntry ReadOnlyProperty(DISPID id) {
    return {id, &detail::Call<Getter>, &detail::PutNotSupported, nullptr};
}

template <auto Setter>
constexpr DispatchEntry WriteOnlyProperty(DISPID id) {
    return {id, nullptr, &detail::Put<Setter>, nullptr};
}

template <auto Fn>
constexpr DispatchEntry Method(DISPID id) {
    return {id, nullptr, nullptr, &detail::Call<Fn>};
}

}  // namespace fw::ole
