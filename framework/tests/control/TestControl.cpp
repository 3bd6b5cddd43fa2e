// The framework's test control, its item object and the in-process server.
#include "TestControl.h"
#include <stdexcept>
#include "fw/Window.h"
#include "fw/ole/Server.h"
#include "fw/ole/Text.h"

namespace fwtest {

using fw::ole::DispatchEntry;
using fw::ole::Method;
using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

namespace {
std::atomic<long> g_liveExceptions{0};
std::atomic<long> g_liveItems{0};
std::atomic<long> g_serial{0};
}  // namespace

TestException::TestException(long status, std::wstring text) : status_(status), text_(std::move(text)) {
    ++g_liveExceptions;
}
TestException::~TestException() { --g_liveExceptions; }
long TestException::Live() { return g_liveExceptions; }

// --- the item -----------------------------------------------------------------

CFwTestItem::CFwTestItem(std::wstring name)
    : Automation(DIID__DFwTestItem, L"FwTest.Item"), name_(std::move(name)), serial_(++g_serial) {
    ++g_liveItems;
}
CFwTestItem::~CFwTestItem() { --g_liveItems; }
long CFwTestItem::Live() { return g_liveItems; }

std::wstring CFwTestItem::GetTag(short index) const {
    if (index < 0 || index >= 4) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    return tags_[index];
}

void CFwTestItem::SetTag(short index, const std::wstring& tag) {
    if (index < 0 || index >= 4) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    tags_[index] = tag;
}

std::span<const DispatchEntry> CFwTestItem::DispatchMap() const {
    static const DispatchEntry map[] = {
        Property<&CFwTestItem::GetName, &CFwTestItem::SetName>(1),
        Property<&CFwTestItem::GetSerial, &CFwTestItem::SetSerial>(2),
        Property<&CFwTestItem::GetTag, &CFwTestItem::SetTag>(3),
    };
    return map;
}

// --- the control --------------------------------------------------------------

std::atomic<DWORD> CFwTestCtrl::destroyedOn{0};
std::atomic<DWORD> CFwTestCtrl::closedOn{0};

std::vector<fw::ole::ControlVerb> CFwTestCtrl::Verbs() const { return {{1, L"&Greet"}, {2, L"&Fail"}}; }

HRESULT CFwTestCtrl::OnVerb(LONG verb, HWND) {
    if (verb == 2) throw new TestException(long(E_ACCESSDENIED), L"no verb today");
    ++greeted;
    return S_OK;
}

CFwTestCtrl::CFwTestCtrl() : Control(CLSID_FwTest, DIID__DFwTest, DIID__DFwTestEvents) { SetInitialSize(32, 32); }

CFwTestCtrl::~CFwTestCtrl() { destroyedOn = GetCurrentThreadId(); }

void CFwTestCtrl::SetCount(long count) {
    count_ = count;
    FireEvent(1, {fw::ole::Variant(count)});
}

std::wstring CFwTestCtrl::GetCell(short row, short column) const {
    if (row < 0 || row >= 3 || column < 0 || column >= 3) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    return cells_[row][column];
}

void CFwTestCtrl::SetCell(short row, short column, const std::wstring& value) {
    if (row < 0 || row >= 3 || column < 0 || column >= 3) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    cells_[row][column] = value;
}

ComPtr<IDispatch> CFwTestCtrl::GetItem() {
    if (!item_) item_ = fw::ole::MakeAutomation<CFwTestItem>(L"first")->AsDispatch();
    return item_;
}

ComPtr<IDispatch> CFwTestCtrl::NewItem(const std::wstring& name) {
    return fw::ole::MakeAutomation<CFwTestItem>(name)->AsDispatch();
}

std::wstring CFwTestCtrl::Join(const std::wstring& first, std::optional<std::wstring> second,
                               std::optional<std::wstring> third) {
    return first + L"|" + second.value_or(L"-") + L"|" + third.value_or(L"-");
}

long CFwTestCtrl::Divide(long dividend, long divisor, fw::ole::Ref<long> remainder) {
    if (divisor == 0) throw new TestException(long(0x800A000B), L"division by zero");
    remainder.Set(dividend % divisor);
    return dividend / divisor;
}

void CFwTestCtrl::Raise(short kind) {
    switch (kind) {
    case 0: fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    case 1: throw new TestException(long(0x800A7D00), L"mapped failure");
    case 2: throw new TestException(0, L"");
    case 3: throw std::runtime_error("standard failure");
    default: throw 42;
    }
}

fw::ole::FireResult CFwTestCtrl::FireAsked(short channel, short& node, std::wstring& text) {
    fw::ole::Variant args[] = {fw::ole::Variant(channel), fw::ole::Variant(node), fw::ole::Variant(text)};
    fw::ole::FireResult result = FireEvent(2, args, {1, 2});
    node = fw::ole::VariantValue<short>::From(*args[1].Get());
    text = args[2].Str();
    return result;
}

long CFwTestCtrl::Ask(short channel, fw::ole::Ref<short> node, fw::ole::Ref<std::wstring> text) {
    short n = node.Get();
    std::wstring t = text.Get();
    fw::ole::FireResult result = FireAsked(channel, n, t);
    node.Set(n);
    text.Set(t);
    return long(result.hr);
}

namespace {
// The test program's dialog 100: one edit field (1001), OK and Cancel.
class PromptDialog : public fw::Dialog {
public:
    explicit PromptDialog(std::string title) : Dialog(fw::ole::Server::Module(), 100), title_(std::move(title)) {}
    std::string text;
protected:
    BOOL OnInitDialog() override {
        SetWindowTextA(Handle(), title_.c_str());
        return TRUE;
    }
    void OnOK() override {
        text = ItemText(1001);
        End(IDOK);
    }
private:
    std::string title_;
};
}  // namespace

std::wstring CFwTestCtrl::Prompt(const std::wstring& title) {
    PromptDialog dialog(fw::ole::Narrow(title));
    return dialog.DoModal(nullptr) == IDOK ? fw::ole::Widen(dialog.text) : L"(cancelled)";
}

long CFwTestCtrl::Confirm(const std::wstring& text) {
    return MessageBoxA(nullptr, fw::ole::Narrow(text).c_str(), "FwTest", MB_YESNO);
}

void CFwTestCtrl::DoPropExchange(fw::ole::PropExchange& px) {
    Control::DoPropExchange(px);
    long count = count_;
    px.Long(L"Count", count, 0);
    count_ = count;
    textLoaded = px.String(L"Text", text, L"text");
    loadedAsNew = px.IsNew();
}

std::span<const DispatchEntry> CFwTestCtrl::DispatchMap() const {
    static const DispatchEntry map[] = {
        Property<&CFwTestCtrl::GetCount, &CFwTestCtrl::SetCount>(1),
        Property<&CFwTestCtrl::GetCell, &CFwTestCtrl::SetCell>(2),
        Property<&CFwTestCtrl::GetItem, &CFwTestCtrl::SetItem>(3),
        Method<&CFwTestCtrl::NewItem>(4),
        Method<&CFwTestCtrl::Join>(5),
        Method<&CFwTestCtrl::Divide>(6),
        Method<&CFwTestCtrl::Raise>(7),
        Method<&CFwTestCtrl::Ask>(8),
        Method<&CFwTestCtrl::Prompt>(9),
        Method<&CFwTestCtrl::Confirm>(10),
        Method<&CFwTestCtrl::AboutBox>(DISPID_ABOUTBOX),
    };
    return map;
}

// --- the server -----------------------------------------------------------------

namespace {
constexpr DWORD kMisc = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;
const fw::ole::ClassEntry kClasses[] = {
    {&CLSID_FwTest, &fw::ole::CreateObject<CFwTestCtrl>, "FwTest.Control", 1, true, kMisc, 0, false},
};
}  // namespace

TestServer::TestServer() {
    fw::ole::Server::Init(GetModuleHandleA(nullptr), kClasses, {&LIBID_FwTestLib, 1, 0});
    ComPtr<IClassFactory> factory;
    if (SUCCEEDED(fw::ole::Server::GetClassObject(CLSID_FwTest, IID_IClassFactory, factory.PutVoid())))
        CoRegisterClassObject(CLSID_FwTest, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

TestServer::~TestServer() {
    if (cookie_) CoRevokeClassObject(cookie_);
}

std::wstring TestServer::ControlClsid() {
    wchar_t text[40];
    StringFromGUID2(CLSID_FwTest, text, 40);
    return text;
}

}  // namespace fwtest
