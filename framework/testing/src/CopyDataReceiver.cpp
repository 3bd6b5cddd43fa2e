#include "fw/testing/CopyDataReceiver.h"

#include "fw/testing/Wait.h"

namespace fw::testing {

CopyDataReceiver::CopyDataReceiver(const char* className) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // a second receiver of the class finds it registered
    window_.Reset(CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr));
    if (window_) SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

const std::string& CopyDataReceiver::Wait(DWORD ms) {
    WaitUntil([this] { return !report_.empty(); }, ms);
    return report_;
}

LRESULT CALLBACK CopyDataReceiver::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CopyDataReceiver*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (msg == WM_COPYDATA && self) {
        auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        self->report_.assign(static_cast<const char*>(cds->lpData), cds->cbData);
        return 1;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace fw::testing
