// Shared life cycle of the lookup controls: asynchronous start on a worker
// thread, synchronous method, completion on the control's window thread.
#include "LookupCtrl.h"
#include <winsock.h>
#include "fw/Window.h"
#include "fw/ole/Text.h"

namespace lurrin {

namespace {

// Owned by the worker thread: deleted when the lookup is done.
struct WorkerArgs {
    std::shared_ptr<LookupState> state;
    std::string input;
    Resolver resolve;
    HMODULE module;
};

void RunWorker(WorkerArgs& args) {
    WSADATA data;
    const bool started = WSAStartup(0x0101, &data) == 0;
    FinishLookup(*args.state, args.input, args.resolve);
    if (started) WSACleanup();
}

// Contract: the thread owns `param` and one reference on the library, taken
// by the starter, so neither the control's end nor an unload of the library
// can pull anything from under a running lookup.
DWORD WINAPI WorkerThread(void* param) {
    HMODULE module;
    {
        std::unique_ptr<WorkerArgs> args(static_cast<WorkerArgs*>(param));
        module = args->module;
        RunWorker(*args);
    }
    if (module) FreeLibraryAndExitThread(module, 0);
    return 0;
}

}  // namespace

CLookupCtrl::CLookupCtrl(const Kind& kind)
    : Control(kind.clsid, kind.dispatchIid, kind.eventIid), kind_(kind) {
    SetInitialSize(32, 32);
    WSADATA data;
    WSAStartup(0x0101, &data);
}

CLookupCtrl::~CLookupCtrl() {
    // A running worker is left to finish on its own references; its event
    // is dropped because the window is gone.
    state_->window = nullptr;
    WSACleanup();
}

std::span<const fw::ole::DispatchEntry> CLookupCtrl::DispatchMap() const {
    using namespace fw::ole;
    static const DispatchEntry map[] = {
        Property<&CLookupCtrl::GetErrorNumber, &CLookupCtrl::SetErrorNumber>(1),
        Property<&CLookupCtrl::GetCurrentState, &CLookupCtrl::SetCurrentState>(2),
        Property<&CLookupCtrl::GetInput, &CLookupCtrl::SetInput>(3),
        ReadOnlyProperty<&CLookupCtrl::GetVersion>(4),
        Method<&CLookupCtrl::Lookup>(5),
        Method<&CLookupCtrl::AboutBox>(DISPID_ABOUTBOX),
    };
    return map;
}

void CLookupCtrl::SetErrorNumber(short n) {
    state_->errorNumber = n;
    SetModified();
}

void CLookupCtrl::SetCurrentState(short n) {
    state_->currentState = n;
    SetModified();
}

std::wstring CLookupCtrl::GetVersion() const {
    wchar_t text[32];
    swprintf(text, 32, L"%d.%02d.%03d", 4, 0, 2);
    return text;
}

bool CLookupCtrl::Begin(const std::wstring& input) {
    input_ = input;
    state_->window = Handle();
    // Both lookups would write the same fields: the running one keeps them.
    if (state_->busy) {
        state_->errorNumber = kErrorBusy;
        FireEnd({}, kErrorBusy);
        return false;
    }
    BeginLookup(*state_);
    return true;
}

void CLookupCtrl::SetInput(const std::wstring& input) {
    fw::ole::ComPtr<IDispatch> keepAlive(this);  // event handlers may release us
    if (Begin(input)) {
        auto args = std::make_unique<WorkerArgs>(WorkerArgs{state_, fw::ole::Narrow(input), kind_.resolve, nullptr});
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&WorkerThread), &args->module);
        DWORD id;
        worker_.Reset(CreateThread(nullptr, 0, &WorkerThread, args.get(), 0, &id));
        if (worker_) {
            args.release();
        } else {
            // No thread to be had: the caller still gets its answer.
            if (args->module) FreeLibrary(args->module);
            RunWorker(*args);
        }
    }
    SetModified();
}

std::wstring CLookupCtrl::Lookup(const std::wstring& input) {
    fw::ole::ComPtr<IDispatch> keepAlive(this);
    if (!Begin(input)) return {};
    FinishLookup(*state_, fw::ole::Narrow(input), kind_.resolve);
    return fw::ole::Widen(state_->result);
}

void CLookupCtrl::AboutBox() {
    HWND owner = nullptr;
    fw::ole::ComPtr<IOleClientSite> site;
    fw::ole::ComPtr<IOleWindow> window;
    if (SUCCEEDED(GetClientSite(site.Put())) && site && SUCCEEDED(site.As(window))) window->GetWindow(&owner);
    fw::Dialog about(fw::ole::Server::Module(), kind_.aboutBoxId);
    about.DoModal(owner);
}

void CLookupCtrl::FireEnd(const std::string& result, short error) {
    FireEvent(1, {fw::ole::Variant(fw::ole::Widen(result)), fw::ole::Variant(error)});
}

LRESULT CLookupCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_TIMER) return Control::OnMessage(msg, wp, lp);
    // An event handler may drop the last reference; finish first.
    fw::ole::ComPtr<IDispatch> keepAlive(this);
    OnTimer(wp);
    return Control::OnMessage(msg, wp, lp);
}

void CLookupCtrl::OnTimer(UINT_PTR id) {
    LookupOutcome outcome;
    if (id != 1 || !TakeOutcome(*state_, outcome)) return;
    FireEnd(outcome.result, outcome.error);
    EndLookup(*state_);
}

void CLookupCtrl::OnDraw(HDC dc, const RECT& bounds) {
    if (!bitmap_)
        bitmap_.Reset(static_cast<HBITMAP>(
            LoadImageA(fw::ole::Server::Module(), MAKEINTRESOURCEA(kind_.bitmapId), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!bitmap_ || !GetObjectA(bitmap_.Get(), sizeof info, &info)) {
        Control::OnDraw(dc, bounds);
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    {
        fw::SelectObjectScope select(memory, bitmap_.Get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                   memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    DeleteDC(memory);
}

}  // namespace lurrin
