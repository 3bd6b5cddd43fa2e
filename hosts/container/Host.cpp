// The form: its window, its controls, forms on disk and the message loop.
#include <olectl.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include "Container.h"
#include "SiteParts.h"
#include "fw/ole/Text.h"

namespace container {

namespace {
constexpr char kFormClass[] = "QvContainerForm";
constexpr int kCellSize = 40;  // controls are laid out in a row of cells
}  // namespace

Host::Host() : objects_(ComPtr<FormObjects>::Attach(new FormObjects(*this))) {}

Host::~Host() {
    Clear();
    objects_->Disconnect();
    Destroy();
}

IOleContainer* Host::Container() const { return objects_.Get(); }

void Host::Show() {
    RECT need{0, 0, 200, 120};
    for (const auto& site : sites_) {
        need.right = std::max(need.right, site->Where().right + 8);
        need.bottom = std::max(need.bottom, site->Where().bottom + 8);
    }
    const DWORD style = DWORD(GetWindowLongA(Handle(), GWL_STYLE));
    AdjustWindowRect(&need, style, FALSE);
    SetWindowPos(Handle(), nullptr, 0, 0, need.right - need.left, need.bottom - need.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

bool Host::Create() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterClass(instance, kFormClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    return fw::Window::Create(instance, kFormClass, "Form", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                              CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr);
}

void Host::SetUserMode(bool userMode) {
    if (userMode_ == userMode) return;
    userMode_ = userMode;
    for (const auto& site : sites_) site->AmbientChanged(DISPID_AMBIENT_USERMODE);
}

void Host::SetBreakMode(bool inBreak) {
    if (breakMode_ == inBreak) return;
    breakMode_ = inBreak;
    for (const auto& site : sites_) {
        site->FreezeEvents(inBreak);
        site->AmbientChanged(DISPID_AMBIENT_UIDEAD);
    }
}

ControlSite* Host::Add(const std::wstring& progId, const std::wstring& name,
                       const std::vector<FormProperty>* properties, HRESULT* hr, const RECT* where) {
    HRESULT result = E_INVALIDARG;
    ControlSite* added = nullptr;
    if (!Find(name)) {
        const int left = int(sites_.size()) * kCellSize + 4;
        ComPtr<ControlSite> site = ComPtr<ControlSite>::Attach(
            new ControlSite(*this, name, progId, where ? *where : RECT{left, 4, left + 32, 36}));
        result = site->Create(properties);
        if (SUCCEEDED(result)) {
            if (breakMode_) site->FreezeEvents(true);
            added = site.Get();
            sites_.push_back(std::move(site));
        }
    }
    if (hr) *hr = result;
    return added;
}

ControlSite* Host::Find(const std::wstring& name) const {
    for (const auto& site : sites_)
        if (site->Name() == name) return site.Get();
    return nullptr;
}

void Host::Remove(const std::wstring& name) {
    for (auto it = sites_.begin(); it != sites_.end(); ++it) {
        if ((*it)->Name() != name) continue;
        ComPtr<ControlSite> site = std::move(*it);
        sites_.erase(it);
        site->Close();
        return;
    }
}

void Host::Clear() {
    while (!sites_.empty()) Remove(sites_.back()->Name());
}

HRESULT Host::Load(const Form& form) {
    Clear();
    for (const FormControl& control : form.controls) {
        HRESULT hr;
        const RECT where{control.left, control.top, control.left + control.width, control.top + control.height};
        if (!Add(FromUtf8(control.progId), FromUtf8(control.name), &control.properties, &hr,
                 control.placed ? &where : nullptr))
            return hr;
    }
    return S_OK;
}

HRESULT Host::Save(Form& form) {
    form.controls.clear();
    for (const auto& site : sites_) {
        const RECT& where = site->Where();
        FormControl control{ToUtf8(site->ProgId()), ToUtf8(site->Name()), {}, true, int(where.left),
                            int(where.top), int(where.right - where.left), int(where.bottom - where.top)};
        HRESULT hr = site->SaveProperties(control.properties);
        if (FAILED(hr)) return hr;
        form.controls.push_back(std::move(control));
    }
    return S_OK;
}

bool Host::LoadFile(const std::wstring& path, Form& form, std::string& error) {
    std::ifstream in(fw::ole::Narrow(path), std::ios::binary);
    if (!in) {
        error = "cannot open " + ToUtf8(path);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (ParseError e = ParseForm(text.str(), form)) {
        error = ToUtf8(path) + ":" + std::to_string(e.line) + ": " + e.message;
        return false;
    }
    HRESULT hr = Load(form);
    if (FAILED(hr)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
        error = std::string("cannot create the form's controls: ") + code;
        return false;
    }
    return true;
}

bool Host::SaveFile(const std::wstring& path, std::string& error) {
    Form form;
    if (FAILED(Save(form))) {
        error = "a control could not save its properties";
        return false;
    }
    std::ofstream out(fw::ole::Narrow(path), std::ios::binary | std::ios::trunc);
    out << FormatForm(form);
    if (!out.flush()) {
        error = "cannot write " + ToUtf8(path);
        return false;
    }
    return true;
}

void Host::RecordEvent(EventRecord& record) {
    events_.push_back(record);
    // Handlers may cause events or add handlers, which move both lists: call
    // copies, never elements.
    for (size_t i = 0; i < handlers_.size(); ++i) {
        const EventHandler handler = handlers_[i];
        handler(record);
    }
}

bool Host::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                return done();
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        // In slices: the condition may be met by another thread without a message.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 20), QS_ALLINPUT);
    }
}

int Host::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}

}  // namespace container
