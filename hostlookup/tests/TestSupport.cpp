#include "TestSupport.h"
#include "fw/ModulePath.h"
#include "fw/testing/Registration.h"
#include "fw/Handle.h"

namespace lurrin_test {

std::string BinPath(const char* file) {
    return fw::BesideModule(file);
}

HRESULT CallEntry(const char* name) { return fw::testing::CallLibraryEntry(BinPath("LURRIN32.ocx"), name); }

void ContainerTest::SetUpTestSuite() { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }

bool ContainerTest::WaitForEvents(size_t count) {
    return host_->PumpUntil([&] { return host_->Events().size() >= count; }, 10000);
}

}  // namespace lurrin_test
