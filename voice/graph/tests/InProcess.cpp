#include "InProcess.h"

#include "DialCtrl.h"
#include "FrameCtrl.h"
#include "GetdgCtrl.h"
#include "InConnCtrl.h"
#include "KvoResource.h"
#include "OutConnCtrl.h"
#include "UserCtrl.h"
#include "VoiceSystem.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/ole/Server.h"
#include "kvo32.h"

namespace kvo_graph_test {

namespace {

using fw::ole::CreateObject;
// As the library serves them: sited before they load, so they know their names.
constexpr DWORD kMisc = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
const fw::ole::ClassEntry kClasses[] = {
    {&CLSID_InConn, &CreateObject<kvo::CInConnCtrl>, "Zentrovo.InconnCtrl.1", IDS_INCONN, true, kMisc, 0, false},
    {&CLSID_OutConn, &CreateObject<kvo::COutConnCtrl>, "Zentrovo.OutconnCtrl.1", IDS_OUTCONN, true, kMisc, 0, false},
    {&CLSID_User, &CreateObject<kvo::CUserCtrl>, "Zentrovo.UserCtrl.1", IDS_USER, true, kMisc, 0, false},
    {&CLSID_KVOFrame, &CreateObject<kvo::CFrameCtrl>, "Zentrovo.FrameCtrl.1", IDS_FRAME, true, kMisc, 0, false},
    {&CLSID_Getdg, &CreateObject<kvo::CGetdgCtrl>, "Zentrovo.GetdgCtrl.1", IDS_GETDG, true, kMisc, 0, false},
    {&CLSID_Dial, &CreateObject<kvo::CDialCtrl>, "Zentrovo.DialCtrl.1", IDS_DIAL, true, kMisc, 0, false},
};

HRESULT RegisterLibrary() {
    fw::Module library(LoadLibraryA(fw::BesideModule("kvo32.ocx").c_str()));
    if (!library) return E_FAIL;
    auto entry = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(library.Get(), "DllRegisterServer");
    return entry ? entry() : E_NOTIMPL;
}

}  // namespace

void InProcessTest::SetUpTestSuite() {
    // The ProgIDs come from the registered library; the classes from here.
    ASSERT_EQ(RegisterLibrary(), S_OK);
    fw::ole::Server::Init(GetModuleHandleA(nullptr), kClasses, {&LIBID_KVO32Lib, 4, 0});
}

void InProcessTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    for (const auto& c : kClasses) {
        fw::ole::ComPtr<IUnknown> factory;
        ASSERT_EQ(fw::ole::Server::GetClassObject(*c.clsid, IID_IUnknown, factory.PutVoid()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(CoRegisterClassObject(*c.clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
        cookies_.push_back(cookie);
    }
    ini_ = std::make_unique<kvotest::SuiteIni>();
    host_ = std::make_unique<container::Host>();
    ASSERT_TRUE(host_->Create());
}

void InProcessTest::TearDown() {
    kvo::ControlRegistry::Process().SetStarted(false);
    host_.reset();
    kvo::UnloadVoiceSystem();
    ini_.reset();
    for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
    cookies_.clear();
    OleUninitialize();
}

HRESULT InProcessTest::LoadText(container::Host& host, const std::string& text) {
    container::Form form;
    if (container::ParseForm(text, form)) return E_INVALIDARG;
    return host.Load(form);
}

container::Form InProcessTest::Save(container::Host& host) {
    container::Form form;
    EXPECT_EQ(host.Save(form), S_OK);
    return form;
}

kvo::CCallFlowControl* InProcessTest::Control(const char* name) {
    for (kvo::Vertex* v : kvo::ControlRegistry::Process().Controls())
        if (v->Name() == name) return dynamic_cast<kvo::CCallFlowControl*>(v);
    return nullptr;
}

void InProcessTest::LoadFourLines() {
    ini_->Set("VoiceCard", "Type", "RHETOREX");
    ini_->Set("Test", "UseSoundCard", "1");
    kvo::ReloadSettings();
    kvo::LoadVoiceSystem(nullptr);
    ASSERT_EQ(kvo::NumberOfLines(), 4);
}

// A class object whose instances come from `create`.
class TestFactory : public IClassFactory {
public:
    explicit TestFactory(fw::ole::CreateFn create) : create_(create) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IClassFactory, this}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return refs_.Release(this); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return outer ? CLASS_E_NOAGGREGATION : create_(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    friend class fw::ole::RefCount;
    virtual ~TestFactory() = default;
    fw::ole::RefCount refs_;
    fw::ole::CreateFn create_;
};

void InProcessTest::ServeAsUser(fw::ole::CreateFn create) {
    for (size_t i = 0; i < std::size(kClasses); ++i) {
        if (*kClasses[i].clsid != CLSID_User) continue;
        CoRevokeClassObject(cookies_[i]);
        auto factory = fw::ole::ComPtr<TestFactory>::Attach(new TestFactory(create));
        ASSERT_EQ(CoRegisterClassObject(CLSID_User, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookies_[i]),
                  S_OK);
    }
}

PromptAnswerer::PromptAnswerer(const char* text)
    : watcher_("Kavoro", [this, answer = std::string(text ? text : ""), cancel = !text](HWND box) {
          char seen[512] = {};
          GetDlgItemTextA(box, IDC_VALUE_PROMPT_TEXT, seen, sizeof seen);
          {
              std::lock_guard guard(m_);
              seen_ = seen;
          }
          SetDlgItemTextA(box, IDC_VALUE_PROMPT_EDIT, answer.c_str());
          fw::testing::Press(box, cancel ? IDCANCEL : IDOK);
      }) {}

std::string PromptAnswerer::PromptSeen() {
    std::lock_guard guard(m_);
    return seen_;
}

}  // namespace kvo_graph_test
