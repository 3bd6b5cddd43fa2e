// A hidden window that keeps the last text sent to it by WM_COPYDATA: how
// probe libraries running inside another process report back to a test.
#pragma once
#include <windows.h>
#include <string>
#include "fw/Handle.h"

namespace fw::testing {

class CopyDataReceiver {
public:
    // The window's class name is how a probe that looks for it finds it.
    explicit CopyDataReceiver(const char* className);
    CopyDataReceiver(const CopyDataReceiver&) = delete;
    CopyDataReceiver& operator=(const CopyDataReceiver&) = delete;

    HWND Window() const { return window_.Get(); }
    const std::string& Report() const { return report_; }
    void Clear() { report_.clear(); }
    // Pumps messages until a report arrived or `ms` passed; the report ("" if none).
    const std::string& Wait(DWORD ms = 10000);

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

    std::string report_;
    fw::OwnedWindow window_;
};

}  // namespace fw::testing
