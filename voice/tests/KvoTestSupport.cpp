#include "KvoTestSupport.h"

#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/testing/Registration.h"

namespace kvo_test {

namespace {

void PutWord(std::string& out, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = char(v >> (8 * i) & 0xFF);
}

}  // namespace

void SetCallSettings(fw::testing::IniFileScope& ini, const std::string& logDir) {
    ini.Set("VoiceCard", "Type", "RHETOREX");
    ini.Set("System", "Logs", "1");
    ini.Set("System", "ShowDialog", "0");
    ini.Set("Directories", "LogFiles", logDir.c_str());
}

std::vector<std::uint32_t> ClipLengths(std::uint32_t first, std::uint32_t count) {
    std::vector<std::uint32_t> lengths;
    for (std::uint32_t i = 0; i < count; ++i) lengths.push_back(first + i);
    return lengths;
}

std::string PromptFileBytes(const std::vector<std::string>& names, const std::vector<std::uint32_t>& lengths) {
    const auto count = std::uint32_t(lengths.size());
    std::string out(24 + count * 12, '\0');
    PutWord(out, 0, count);
    PutWord(out, 4, 8000);
    PutWord(out, 8, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string name = i < names.size() ? names[i] : "";
        const auto text = std::uint32_t(out.size());
        out += name + '\0';
        const auto data = std::uint32_t(out.size());
        out += std::string(lengths[i], char(0x7f));
        PutWord(out, 24 + i * 12, data);
        PutWord(out, 24 + i * 12 + 4, lengths[i]);
        PutWord(out, 24 + i * 12 + 8, name.empty() ? 0 : text);
    }
    return out;
}

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
