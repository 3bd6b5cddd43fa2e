// What the kvo32.ocx tests share: the library next to the test, its
// registration, a container with OLE running, and form helpers.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ContainerTest.h"
#include "fw/testing/Files.h"

namespace kvo_test {

std::string BinPath(const char* file);
// Calls one of kvo32.ocx's registration entry points.
HRESULT CallEntry(const char* name);
// The value of item `name` of control `control` in `form`, or "<missing>".
std::string FormValue(const container::Form& form, const char* control, const char* name);
// The item names of a control, in saved order.
std::vector<std::string> FormKeys(const container::Form& form, const char* control);

// Calls `member` of `object` with `args` in declaration order (index
// arguments first; for a put the value last), as a late-bound host does.
container::CallResult Dispatch(IDispatch* object, const wchar_t* member, WORD flags,
                               std::vector<container::Variant> args = {});
// The object-valued property `member` of `object`.
fw::ole::ComPtr<IDispatch> ObjectProperty(IDispatch* object, const wchar_t* member);
// The control of a site as IDispatch.
fw::ole::ComPtr<IDispatch> AsDispatch(container::ControlSite* site);

// KVO32.INI for a test that answers calls: the simulated card, channel logs
// in `logDir`, no check-report box.
void SetCallSettings(fw::testing::IniFileScope& ini, const std::string& logDir);
// `count` clip lengths from `first` up, one byte more each.
std::vector<std::uint32_t> ClipLengths(std::uint32_t first, std::uint32_t count);

// A prompt file laid out by hand: header, one slot per clip, then each
// clip's name and `lengths[i]` bytes of audio.
std::string PromptFileBytes(const std::vector<std::string>& names, const std::vector<std::uint32_t>& lengths);

class ContainerTest : public container::testing::ContainerTest {
protected:
    static void SetUpTestSuite();

    // Parses `text` and loads it; the HRESULT of the load.
    HRESULT LoadText(const std::string& text);
    container::Form SaveForm();
};

}  // namespace kvo_test
