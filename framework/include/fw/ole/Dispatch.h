// Dispatch maps: a control lists its properties and methods by dispatch id in
// one table; the base's IDispatch::Invoke finds the entry and converts the
// arguments. Names come from the type library, so they are written once.
//
//   const fw::ole::DispatchEntry CFoo::kDispatch[] = {
//       fw::ole::Property<&CFoo::GetCount, &CFoo::SetCount>(1),
//       fw::ole::ReadOnlyProperty<&CFoo::GetVersion>(2),
//       fw::ole::Method<&CFoo::Lookup>(3),
//   };
//
// Getters return short, long, bool, double, std::wstring or Variant; setters
// and methods take them (by value or const reference). Handlers may throw
// ControlError.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include "fw/ole/ComPtr.h"
#include "fw/ole/Error.h"

namespace fw::ole {

class Control;

struct DispatchEntry {
    DISPID id;
    void (*get)(Control& self, VARIANT* result);
    void (*put)(Control& self, const VARIANT& value);
    void (*call)(Control& self, std::span<VARIANT> args, VARIANT* result);  // args in call order
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
// Untyped members (optional arguments, anything the member sorts out itself).
template <> struct VariantValue<Variant> {
    static Variant From(const VARIANT& v);
    static void To(const Variant& v, VARIANT* out);
};
template <> struct VariantValue<std::wstring> {
    static std::wstring From(const VARIANT& v);
    static void To(const std::wstring& s, VARIANT* out);
};

namespace detail {
template <class M> struct MemberFn;
template <class C, class R, class... A> struct MemberFn<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<std::decay_t<A>...>;
};
template <class C, class R, class... A> struct MemberFn<R (C::*)(A...) const> : MemberFn<R (C::*)(A...)> {};

template <class T> void Store(T&& value, VARIANT* result) {
    if (result) VariantValue<std::decay_t<T>>::To(value, result);
}

[[noreturn]] void ThrowBadParamCount();

template <auto Fn, size_t... I>
void CallWith(Control& self, std::span<VARIANT> args, VARIANT* result, std::index_sequence<I...>) {
    using F = MemberFn<decltype(Fn)>;
    if (args.size() != sizeof...(I)) ThrowBadParamCount();
    auto& obj = static_cast<typename F::Class&>(self);
    if constexpr (std::is_void_v<typename F::Result>) {
        (obj.*Fn)(VariantValue<std::tuple_element_t<I, typename F::Args>>::From(args[I])...);
    } else {
        Store((obj.*Fn)(VariantValue<std::tuple_element_t<I, typename F::Args>>::From(args[I])...), result);
    }
}
}  // namespace detail

template <auto Getter, auto Setter>
constexpr DispatchEntry Property(DISPID id) {
    using G = detail::MemberFn<decltype(Getter)>;
    using S = detail::MemberFn<decltype(Setter)>;
    using T = std::tuple_element_t<0, typename S::Args>;
    return {id,
            [](Control& self, VARIANT* result) {
                detail::Store((static_cast<typename G::Class&>(self).*Getter)(), result);
            },
            [](Control& self, const VARIANT& value) {
                (static_cast<typename S::Class&>(self).*Setter)(VariantValue<T>::From(value));
            },
            nullptr};
}

// Writing raises "set not supported" (at run time, or at design time).
void SetNotSupported(Control& self);

template <auto Getter>
constexpr DispatchEntry ReadOnlyProperty(DISPID id) {
    using G = detail::MemberFn<decltype(Getter)>;
    return {id,
            [](Control& self, VARIANT* result) {
                detail::Store((static_cast<typename G::Class&>(self).*Getter)(), result);
            },
            [](Control& self, const VARIANT&) { SetNotSupported(self); },
            nullptr};
}

template <auto Fn>
constexpr DispatchEntry Method(DISPID id) {
    using F = detail::MemberFn<decltype(Fn)>;
    return {id, nullptr, nullptr, [](Control& self, std::span<VARIANT> args, VARIANT* result) {
                detail::CallWith<Fn>(self, args, result,
                                     std::make_index_sequence<std::tuple_size_v<typename F::Args>>());
            }};
}

}  // namespace fw::ole
