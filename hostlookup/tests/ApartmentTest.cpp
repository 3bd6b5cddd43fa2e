// A client in the multithreaded apartment: COM puts the apartment-model
// control on a host thread of its own and marshals every call and error.
#include <thread>
#include "TestSupport.h"
#include "fw/ole/ComPtr.h"

namespace lurrin_test {
namespace {

using fw::ole::ComPtr;
using fw::ole::Variant;

class Apartment : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }
};

HRESULT InvokeByName(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* arg, VARIANT* result, EXCEPINFO* e) {
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{arg, (flags & DISPATCH_PROPERTYPUT) ? &put : nullptr, arg ? 1u : 0u,
                      (flags & DISPATCH_PROPERTYPUT) ? 1u : 0u};
    return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, e, nullptr);
}

TEST_F(Apartment, MultithreadedClientGetsAnswersAndErrors) {
    std::wstring address, description;
    HRESULT lookup = E_FAIL, write = E_FAIL;
    SCODE scode = 0;
    std::thread client([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        {
            CLSID clsid;
            ComPtr<IDispatch> control;
            if (SUCCEEDED(CLSIDFromProgID(L"Ostrel.GetAddress", &clsid)) &&
                SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid()))) {
                Variant name(std::wstring(L"localhost")), result;
                lookup = InvokeByName(control.Get(), L"GetHostAddress", DISPATCH_METHOD, name.Get(), result.Get(), nullptr);
                address = result.Str();
                Variant version(std::wstring(L"1.00.000"));
                EXCEPINFO e{};
                write = InvokeByName(control.Get(), L"Version", DISPATCH_PROPERTYPUT, version.Get(), nullptr, &e);
                scode = e.scode;
                if (e.bstrDescription) description = e.bstrDescription;
                SysFreeString(e.bstrSource);
                SysFreeString(e.bstrDescription);
                SysFreeString(e.bstrHelpFile);
            }
        }
        CoUninitialize();
    });
    client.join();
    EXPECT_EQ(lookup, S_OK);
    EXPECT_EQ(address, L"127.0.0.1");
    EXPECT_EQ(write, DISP_E_EXCEPTION);
    EXPECT_EQ(scode, SCODE(0x800A017E)) << "no site: run mode";
    EXPECT_FALSE(description.empty());
}

}  // namespace
}  // namespace lurrin_test
