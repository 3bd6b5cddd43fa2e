// The Frame control (see FrameCtrl.h).
#include "FrameCtrl.h"

#include <algorithm>

#include "AppSettings.h"
#include "CallFlowControl.h"
#include "ChannelLog.h"
#include "ChannelLogWindow.h"
#include "Dispatcher.h"
#include "GreetingPlayer.h"
#include "Graph.h"
#include "KvoResource.h"
#include "LineStatusWindow.h"
#include "PxItems.h"
#include "Redirection.h"
#include "ValuePromptDialog.h"
#include "VoiceSystem.h"
#include "kvo32.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {

using fw::ole::Method;
using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

// Sent by a thread other than the Frame's to have it ask the user.
constexpr UINT WM_KVO_ASK_VALUE = WM_APP + 0x4B1;
struct AskRequest {
    const std::string* prompt;
    std::optional<std::string> answer;
};

constexpr auto kFrameDispatch = std::array{
    Property<&CFrameCtrl::GetCaption, &CFrameCtrl::SetCaption>(DISPID_CAPTION),
    Property<&CFrameCtrl::GetCurrPage, &CFrameCtrl::SetCurrPage>(1),
    Property<&CFrameCtrl::GetVoiceDirectory, &CFrameCtrl::SetVoiceDirectory>(2),
    Property<&CFrameCtrl::GetLogDirectory, &CFrameCtrl::SetLogDirectory>(3),
    Property<&CFrameCtrl::GetTimeFormat, &CFrameCtrl::SetTimeFormat>(4),
    Property<&CFrameCtrl::GetDateOrder, &CFrameCtrl::SetDateOrder>(5),
    Property<&CFrameCtrl::GetLanguageId, &CFrameCtrl::SetLanguageId>(6),
    Property<&CFrameCtrl::GetScriptSize, &CFrameCtrl::SetScriptSize>(7),
    Property<&CFrameCtrl::GetVComments, &CFrameCtrl::SetVComments>(8),
    Property<&CFrameCtrl::GetNumProps, &CFrameCtrl::SetNumProps>(9),
    ReadOnlyProperty<&CFrameCtrl::GetTransfer>(10),
    ReadOnlyProperty<&CFrameCtrl::GetFrameThis>(11),
    Property<&CFrameCtrl::GetPropName, &CFrameCtrl::SetPropName>(12),
    ReadOnlyProperty<&CFrameCtrl::GetCurrentDirectory>(13),
    Method<&CFrameCtrl::StartSystem>(14),
    Method<&CFrameCtrl::StopSystem>(15),
    Method<&CFrameCtrl::ShowLineStatus>(16),
    Method<&CFrameCtrl::ShowLogWindow>(17),
    Method<&CFrameCtrl::LineStatGrid>(18),
    Method<&CFrameCtrl::AboutBox>(DISPID_ABOUTBOX),
};

[[noreturn]] void NotAvailableYet() {
    throw fw::ole::ControlError{E_NOTIMPL, L"not available yet: the line status shows in its own window only"};
}

}  // namespace

CFrameCtrl::CFrameCtrl() : Control(CLSID_KVOFrame, DIID__DKVOFrame, DIID__DKVOFrameEvents) {
    SetInitialSize(120, 40);
    AddFrame(*this);
}

CFrameCtrl::~CFrameCtrl() {
    CloseSystem();
    RemoveFrame(*this);
}

std::span<const fw::ole::DispatchEntry> CFrameCtrl::DispatchMap() const { return kFrameDispatch; }

void CFrameCtrl::OnAmbientChanged(DISPID id) { name_.Update(*this, id); }

std::string CFrameCtrl::FrameName() const { return name_.Get(); }

bool CFrameCtrl::IsApplyingFrame() const {
    std::vector<FormFrame*> frames = Frames();
    return !frames.empty() && frames.front() == this;
}

// ---- settings ----

void CFrameCtrl::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    SetModified();
    InvalidateControl();
}

void CFrameCtrl::SetCurrPage(long page) {
    currPage_ = page;
    SetModified();
}

std::wstring CFrameCtrl::GetVoiceDirectory() const { return fw::ole::Widen(CurrentAppSettings().projectVoiceDir); }

void CFrameCtrl::SetVoiceDirectory(const std::wstring& dir) {
    AppSettings s = CurrentAppSettings();
    s.systemVoiceDir = ReadSystemVoiceDir();
    const std::string value = fw::ole::Narrow(dir);
    s.projectVoiceDir = value.empty() ? s.systemVoiceDir
                                      : WithTrailingBackslash(ResolveDirectory(value, s.systemVoiceDir));
    s.projectDirDiffers = !SameDirectory(s.projectVoiceDir, s.systemVoiceDir);
    SetAppSettings(s);
    ResetLanguages();
    SetModified();
}

std::wstring CFrameCtrl::GetLogDirectory() const { return fw::ole::Widen(kvo::LogDirectory()); }

void CFrameCtrl::SetLogDirectory(const std::wstring& dir) {
    const std::string resolved =
        WithTrailingBackslash(ResolveDirectory(WithTrailingBackslash(fw::ole::Narrow(dir)), ReadSystemVoiceDir()));
    EnsureDirectory(resolved);
    kvo::SetLogDirectory(resolved);
    SetModified();
}

long CFrameCtrl::GetTimeFormat() const { return CurrentAppSettings().timeFormat; }
long CFrameCtrl::GetDateOrder() const { return CurrentAppSettings().dateOrder; }
long CFrameCtrl::GetLanguageId() const { return CurrentAppSettings().languageId; }
long CFrameCtrl::GetScriptSize() const { return CurrentAppSettings().scriptSize; }

void CFrameCtrl::SetLanguageDefaults(long timeFormat, long dateOrder, long languageId) {
    AppSettings s = CurrentAppSettings();
    s.timeFormat = timeFormat;
    s.dateOrder = dateOrder;
    s.languageId = languageId;
    SetAppSettings(s);
    ResetLanguages();
    SetModified();
}

void CFrameCtrl::SetTimeFormat(long v) { SetLanguageDefaults(v, GetDateOrder(), GetLanguageId()); }
void CFrameCtrl::SetDateOrder(long v) { SetLanguageDefaults(GetTimeFormat(), v, GetLanguageId()); }
void CFrameCtrl::SetLanguageId(long v) { SetLanguageDefaults(GetTimeFormat(), GetDateOrder(), v); }

void CFrameCtrl::SetScriptSize(long v) {
    AppSettings s = CurrentAppSettings();
    s.scriptSize = v;
    SetAppSettings(s);
    SetModified();
}

void CFrameCtrl::SetVComments(const std::wstring& text) {
    comment_ = text;
    SetModified();
}

// ---- transfer properties ----

long CFrameCtrl::GetNumProps() const {
    std::lock_guard guard(lock_);
    return long(fields_.size());
}

void CFrameCtrl::SetNumProps(long n) {
    if (n < 0 || n > kMaxTransferProps) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    std::lock_guard guard(lock_);
    fields_.resize(size_t(n));
    SetModified();
}

std::wstring CFrameCtrl::GetPropName(long index) const {
    std::lock_guard guard(lock_);
    return index >= 0 && size_t(index) < fields_.size() ? fields_[size_t(index)] : std::wstring();
}

void CFrameCtrl::SetPropName(long index, const std::wstring& name) {
    std::lock_guard guard(lock_);
    if (index < 0 || size_t(index) >= fields_.size()) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    fields_[size_t(index)] = name;
    SetModified();
}

fw::ole::ComPtr<IDispatch> CFrameCtrl::GetTransfer() const { return transfer_->AsDispatch(); }

long CFrameCtrl::GetFrameThis() const { return long(reinterpret_cast<INT_PTR>(this)); }

std::wstring CFrameCtrl::GetCurrentDirectory(short channel) const {
    if (channel < 1 || channel > CTransfer::Lines())
        fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex, IDS_INVALID_INDEX);
    // Until a Language control chooses one, a call opens prompts in the
    // project voice directory.
    return fw::ole::Widen(CurrentAppSettings().projectVoiceDir);
}

// ---- values ----

std::optional<std::string> CFrameCtrl::GetValueName(int, int index) const {
    if (index == 0) return std::string("CurrentDirectory");
    std::lock_guard guard(lock_);
    if (index < 1 || size_t(index) > fields_.size()) return std::nullopt;
    return fw::ole::Narrow(fields_[size_t(index - 1)]);
}

std::optional<std::string> CFrameCtrl::GetValueText(int line, int index) const {
    const short channel = short(line + 1);
    if (channel < 1 || channel > CTransfer::Lines()) return std::nullopt;
    if (index == 0) return fw::ole::Narrow(GetCurrentDirectory(channel));
    if (index > GetNumProps()) return std::nullopt;
    return fw::ole::Narrow(transfer_->Get(index - 1, channel));
}

void CFrameCtrl::SetValueText(int line, std::string_view text, int index) {
    ready_.Set(index);
    const short channel = short(line + 1);
    if (index < 1 || index > GetNumProps() || channel < 1 || channel > CTransfer::Lines()) return;
    transfer_->Set(index - 1, channel, fw::ole::Widen(std::string(text)));
}

// ---- inventory and prompt ----

bool CFrameCtrl::InventoryLoaded() const {
    std::lock_guard guard(lock_);
    return inventoryLoaded_;
}

std::optional<long> CFrameCtrl::TakeInventoryPage(const std::string& control) {
    std::lock_guard guard(lock_);
    return kvo::TakeInventoryPage(inventory_, fw::ole::Widen(control));
}

void CFrameCtrl::ShowOnPage(const std::string&, long) {
    // The frame editor draws pages; here the form only learns it changed.
    {
        std::lock_guard guard(lock_);
        layoutChanged_ = true;
    }
    SetModified();
}

bool CFrameCtrl::LayoutChanged() const {
    std::lock_guard guard(lock_);
    return layoutChanged_;
}

void CFrameCtrl::ForgetControl(const std::string& control) {
    std::lock_guard guard(lock_);
    kvo::TakeInventoryPage(inventory_, fw::ole::Widen(control));
}

std::optional<std::string> CFrameCtrl::AskValue(const std::string& prompt) {
    if (!Handle()) return std::nullopt;
    if (GetWindowThreadProcessId(Handle(), nullptr) == GetCurrentThreadId())
        return CValuePromptDialog(prompt).Ask(Handle());
    AskRequest request{&prompt, std::nullopt};
    SendMessageA(Handle(), WM_KVO_ASK_VALUE, 0, reinterpret_cast<LPARAM>(&request));
    return request.answer;
}

LRESULT CFrameCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KVO_ASK_VALUE) {
        auto* request = reinterpret_cast<AskRequest*>(lp);
        request->answer = CValuePromptDialog(*request->prompt).Ask(Handle());
        return 0;
    }
    return Control::OnMessage(msg, wp, lp);
}

// ---- start, stop and windows ----

void CFrameCtrl::StartSystem(short showStatus) {
    if (int refused = StartVoiceSystem(true, AmbientUserMode(), Handle()))
        ThrowHostError(unsigned(KVO_ERR_START_BASE + refused), unsigned(IDS_START_BASE + refused));
    if (showStatus) LineStatusWindow::Open();
}

short CFrameCtrl::StopSystem(short flag) { return StopVoiceSystem(flag != 0) ? -1 : 0; }

STDMETHODIMP CFrameCtrl::Close(DWORD saveOption) {
    CloseSystem();
    return Control::Close(saveOption);
}

void CFrameCtrl::CloseSystem() {
    // The form goes: its lines must not outlive the controls they run, nor
    // the system's windows the library that draws them.
    ShutdownVoiceSystem();
    LineStatusWindow::Close();
    ChannelLogWindow::CloseAll();
}

void CFrameCtrl::ShowLineStatus(short show) {
    if (show)
        LineStatusWindow::Open();
    else
        LineStatusWindow::Close();
}

void CFrameCtrl::ShowLogWindow(short channel, short show) {
    if (channel < 1 || channel > kMaxLogLines) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    if (show)
        ChannelLogWindow::Open(channel - 1);
    else if (ChannelLogWindow* window = ChannelLogWindow::Find(channel - 1))
        window->Destroy();
}
void CFrameCtrl::LineStatGrid(const fw::ole::Variant&) { NotAvailableYet(); }

void CFrameCtrl::AboutBox() {
    const std::string title = fw::LoadResString(fw::ole::Server::Module(), IDS_KAVORO);
    MessageBoxA(Handle(), "Kavoro Frame control, version 4.0", title.c_str(), MB_OK | MB_ICONINFORMATION);
}

// ---- saved form ----

void CFrameCtrl::ExchangeSettings(ItemExchange& ex) {
    AppSettings s = CurrentAppSettings();
    if (!ex.Loading()) {
        std::wstring voiceDir = fw::ole::Widen(s.projectVoiceDir);
        std::wstring logDir = fw::ole::Widen(kvo::LogDirectory());
        ex.Long(L"Playformat", s.playFormat, s.playFormat);
        ex.String(L"VoiceDir", voiceDir, L"");
        ex.String(L"LogDir", logDir, L"");
        ex.Long(L"TimeFormat", s.timeFormat, 0);
        ex.Long(L"DateOrder", s.dateOrder, 0);
        ex.Long(L"LanguageId", s.languageId, 0);
        ex.Long(L"ScriptSize", s.scriptSize, 0);
        return;
    }
    s.systemVoiceDir = ReadSystemVoiceDir();
    AppSettings read = s;
    std::wstring voiceDir, logDir;
    ex.Long(L"Playformat", read.playFormat, s.playFormat);
    ex.String(L"VoiceDir", voiceDir, fw::ole::Widen(s.systemVoiceDir));
    ex.String(L"LogDir", logDir, L"logs\\");
    ex.Long(L"TimeFormat", read.timeFormat, 0);
    ex.Long(L"DateOrder", read.dateOrder, 0);
    ex.Long(L"LanguageId", read.languageId, 0);
    ex.Long(L"ScriptSize", read.scriptSize, 0);
    // Only the first Frame of the process sets the application's values.
    if (!IsApplyingFrame()) return;

    const std::string voice = WithTrailingBackslash(fw::ole::Narrow(voiceDir));
    if (!SameDirectory(voice, s.projectVoiceDir))
        read.projectVoiceDir = WithTrailingBackslash(ResolveDirectory(voice, s.systemVoiceDir));
    read.projectDirDiffers = !SameDirectory(read.projectVoiceDir, read.systemVoiceDir);
    SetAppSettings(read);
    ResetLanguages();

    const std::string log =
        WithTrailingBackslash(ResolveDirectory(fw::ole::Narrow(logDir), read.systemVoiceDir));
    EnsureDirectory(log);
    kvo::SetLogDirectory(log);
}

void CFrameCtrl::DoPropExchange(fw::ole::PropExchange& px) {
    const bool runMode = AmbientUserMode();
    SetRunModeFlag(runMode);
    Control::DoPropExchange(px);
    PxItems ex(px);
    ex.String(L"Caption", caption_, L"");
    ex.String(L"PageList", pageList_, L"");
    ex.Long(L"CurrPage", currPage_, 0);

    std::vector<std::wstring> fields;
    {
        std::lock_guard guard(lock_);
        fields = fields_;
    }
    long numFields = long(fields.size());
    ex.Long(L"NumFields", numFields, 0);
    if (ex.Loading()) fields.assign(size_t(BoundCount(numFields, kMaxTransferProps)), std::wstring());
    for (size_t i = 0; i < fields.size(); ++i) ex.String(L"Field" + std::to_wstring(i), fields[i], L"");

    ExchangeSettings(ex);

    std::vector<InventoryEntry> inventory;
    if (!ex.Loading())
        for (Vertex* v : ControlRegistry::Process().Controls())
            inventory.push_back({v->Page(), fw::ole::Widen(v->Name())});
    ExchangeInventory(ex, inventory);

    if (!runMode) {
        ex.String(L"Comment", comment_, L"");
    } else {
        std::wstring dropped;
        ex.String(L"Comment", dropped, L"");
    }

    if (ex.Loading()) {
        std::lock_guard guard(lock_);
        fields_ = std::move(fields);
        inventory_ = std::move(inventory);
        inventoryLoaded_ = true;
    }
    if (ex.Loading() && runMode) transfer_->Resize(CTransfer::Lines());
}

void CFrameCtrl::OnDraw(HDC dc, const RECT& bounds) {
    FillRect(dc, &bounds, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT text = bounds;
    SetBkMode(dc, TRANSPARENT);
    const std::string caption = caption_.empty() ? std::string("Frame") : fw::ole::Narrow(caption_);
    DrawTextA(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kvo
