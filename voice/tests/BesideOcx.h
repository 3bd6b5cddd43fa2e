// The kvo32.ocx beside the running program, loaded and registered: the
// library whose controls a demo's or the benchmark's form then creates.
#pragma once
#include <windows.h>

#include "fw/Handle.h"
#include "fw/ModulePath.h"

namespace kvo_test {

// Empty when the library is missing or refuses to register.
inline fw::Module LoadRegisteredOcx() {
    fw::Module ocx(LoadLibraryA(fw::BesideModule("kvo32.ocx").c_str()));
    const auto entry = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(ocx.Get(), "DllRegisterServer");
    if (!entry || FAILED(entry())) return fw::Module();
    return ocx;
}

}  // namespace kvo_test
