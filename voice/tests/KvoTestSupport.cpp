#include "KvoTestSupport.h"

#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/testing/Registration.h"

namespace kvo_test {

std::string BinPath(const char* file) { return fw::BesideModule(file); }

HRESULT CallEntry(const char* name) { return fw::testing::CallLibraryEntry(BinPath("kvo32.ocx"), name); }

std::string FormValue(const container::Form& form, const char* control, const char* name) {
    for (const auto& c : form.controls)
        if (c.name == control)
            for (const auto& p : c.properties)
                if (p.name == name) return p.value;
    return "<missing>";
}

std::vector<std::string> FormKeys(const container::Form& form, const char* control) {
    std::vector<std::string> keys;
    for (const auto& c : form.controls)
        if (c.name == control)
            for (const auto& p : c.properties) keys.push_back(p.name);
    return keys;
}

container::CallResult Dispatch(IDispatch* object, const wchar_t* member, WORD flags,
                               std::vector<container::Variant> args) {
    container::CallResult r;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    r.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(r.hr)) return r;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    EXCEPINFO excep{};
    r.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, r.value.Put(), &excep, nullptr);
    if (r.hr == DISP_E_EXCEPTION) {
        r.scode = excep.scode;
        if (excep.bstrDescription) r.description = excep.bstrDescription;
    }
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return r;
}

fw::ole::ComPtr<IDispatch> ObjectProperty(IDispatch* object, const wchar_t* member) {
    container::CallResult r = Dispatch(object, member, DISPATCH_PROPERTYGET);
    fw::ole::ComPtr<IDispatch> result;
    if (r.Ok() && r.value.Type() == VT_DISPATCH) result = fw::ole::ComPtr<IDispatch>(r.value.Get()->pdispVal);
    return result;
}

fw::ole::ComPtr<IDispatch> AsDispatch(container::ControlSite* site) {
    fw::ole::ComPtr<IDispatch> d;
    if (site) site->Object()->QueryInterface(IID_IDispatch, d.PutVoid());
    return d;
}

void ContainerTest::SetUpTestSuite() { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }

HRESULT ContainerTest::LoadText(const std::string& text) {
    container::Form form;
    if (container::ParseForm(text, form)) return E_INVALIDARG;
    return host_->Load(form);
}

container::Form ContainerTest::SaveForm() {
    container::Form form;
    EXPECT_EQ(host_->Save(form), S_OK);
    return form;
}

}  // namespace kvo_test
