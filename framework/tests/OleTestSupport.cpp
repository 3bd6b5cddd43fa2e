#include "OleTestSupport.h"

namespace fwtest {

Invoked InvokeByName(IDispatch* object, const wchar_t* member, WORD flags, std::vector<VARIANT> args) {
    Invoked r;
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    if (FAILED(r.hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return r;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{reversed.data(), put ? &putId : nullptr, UINT(reversed.size()), put ? 1u : 0u};
    EXCEPINFO excep{};
    r.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : r.value.Get(), &excep,
                          nullptr);
    r.scode = excep.scode;
    if (excep.bstrDescription) r.description = excep.bstrDescription;
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return r;
}

void OleTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    server_ = std::make_unique<TestServer>();
    host_ = std::make_unique<container::Host>();
    ASSERT_TRUE(host_->Create());
}

void OleTest::TearDown() {
    host_.reset();
    server_.reset();
    OleUninitialize();
}

CFwTestCtrl* OleTest::AddControl(const wchar_t* name) {
    HRESULT hr = E_FAIL;
    container::ControlSite* site = host_->Add(TestServer::ControlClsid(), name, nullptr, &hr);
    EXPECT_EQ(hr, S_OK);
    if (!site) return nullptr;
    // The object is ours, in this apartment: its C++ face is one cast away.
    return static_cast<CFwTestCtrl*>(static_cast<IDispatch*>(Dispatch(name)));
}

IDispatch* OleTest::Dispatch(const wchar_t* name) {
    container::ControlSite* site = host_->Find(name);
    if (!site) return nullptr;
    fw::ole::ComPtr<IDispatch> d;
    site->Object()->QueryInterface(IID_IDispatch, d.PutVoid());
    return d.Get();  // the site keeps it alive
}

}  // namespace fwtest
