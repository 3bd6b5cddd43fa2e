// What the framework's OLE tests share: OLE on the test thread, this program
// serving the test control, a form of the stand-in container to site it on,
// and late-bound calls with their EXCEPINFO.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "Container.h"
#include "TestControl.h"

namespace fwtest {

struct Invoked {
    HRESULT hr = E_FAIL;
    fw::ole::Variant value;
    SCODE scode = 0;
    std::wstring description;
};

// IDispatch::Invoke by name; `args` in call order (the last is a put's value).
Invoked InvokeByName(IDispatch* object, const wchar_t* member, WORD flags, std::vector<VARIANT> args);

class OleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A test control on the form, and its C++ object.
    CFwTestCtrl* AddControl(const wchar_t* name);
    IDispatch* Dispatch(const wchar_t* name);

    std::unique_ptr<TestServer> server_;
    std::unique_ptr<container::Host> host_;
};

}  // namespace fwtest
