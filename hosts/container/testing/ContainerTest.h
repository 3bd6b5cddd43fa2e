// The fixture tests of control libraries share: OLE for one test and a form
// window of the stand-in container to site controls on. A library's own
// fixture derives from it and registers the library for its suite.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include "Container.h"

namespace container::testing {

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sites a new control; the creation's failure is a test failure.
    ControlSite* Add(const wchar_t* progId, const wchar_t* name);

    std::unique_ptr<Host> host_;
};

}  // namespace container::testing
