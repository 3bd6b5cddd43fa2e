// What the lookup-control tests share: the library next to the test, its
// registration for the suite, and a container with OLE running.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "ContainerTest.h"

namespace lurrin_test {

// A file next to the running test program.
std::string BinPath(const char* file);

// Calls one of the library's registration entry points.
HRESULT CallEntry(const char* name);

// OLE for one test, a form window and the registered library.
class ContainerTest : public container::testing::ContainerTest {
protected:
    static void SetUpTestSuite();

    // Pumps messages until `count` events have arrived (or 10 s pass).
    bool WaitForEvents(size_t count);
};

}  // namespace lurrin_test
