// ANSI (or another code page) <-> UTF-16 for the places where COM's wide
// strings meet the ANSI Win32 calls and resources the rest of the framework uses.
#pragma once
#include <windows.h>
#include <string>

namespace fw::ole {

inline std::string Narrow(const std::wstring& w, UINT codePage = CP_ACP) {
    int n = WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

inline std::wstring Widen(const std::string& s, UINT codePage = CP_ACP) {
    int n = MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

}  // namespace fw::ole
