#include "ContainerTest.h"

namespace container::testing {

void ContainerTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    host_ = std::make_unique<Host>();
    ASSERT_TRUE(host_->Create());
}

void ContainerTest::TearDown() {
    host_.reset();
    CoFreeUnusedLibraries();
    OleUninitialize();
}

ControlSite* ContainerTest::Add(const wchar_t* progId, const wchar_t* name) {
    HRESULT hr = E_FAIL;
    ControlSite* site = host_->Add(progId, name, nullptr, &hr);
    EXPECT_EQ(hr, S_OK) << "creating " << ToUtf8(progId);
    return site;
}

}  // namespace container::testing
