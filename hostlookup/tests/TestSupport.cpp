#include "TestSupport.h"
#include "fw/ModulePath.h"
#include "fw/Handle.h"

namespace lurrin_test {

std::string BinPath(const char* file) {
    return fw::BesideModule(file);
}

HRESULT CallEntry(const char* name) {
    fw::Module library(LoadLibraryA(BinPath("LURRIN32.ocx").c_str()));
    if (!library) return HRESULT_FROM_WIN32(GetLastError());
    auto entry = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(library.Get(), name);
    return entry ? entry() : E_NOTIMPL;
}

void ContainerTest::SetUpTestSuite() { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }

void ContainerTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    host_ = std::make_unique<container::Host>();
    ASSERT_TRUE(host_->Create());
}

void ContainerTest::TearDown() {
    host_.reset();
    CoFreeUnusedLibraries();
    OleUninitialize();
}

container::ControlSite* ContainerTest::Add(const wchar_t* progId, const wchar_t* name) {
    HRESULT hr = E_FAIL;
    container::ControlSite* site = host_->Add(progId, name, nullptr, &hr);
    EXPECT_EQ(hr, S_OK) << "creating " << container::ToUtf8(progId);
    return site;
}

bool ContainerTest::WaitForEvents(size_t count) {
    return host_->PumpUntil([&] { return host_->Events().size() >= count; }, 10000);
}

}  // namespace lurrin_test
