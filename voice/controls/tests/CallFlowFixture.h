// A form of voice controls answering scripted callers on the simulated card:
// the form is written as text with fixed block ids, so a test reads as the
// flow it builds. The card's journal, the channel log and the host's events
// are at hand afterwards.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "KvoTestSupport.h"
#include "fw/testing/Files.h"

namespace kvo_flow_test {

// One control of a form: items as saved, exit nodes by the block id they
// lead to.
struct FormControl {
    std::string progId;
    std::string name;
    long blockId;
    std::vector<std::string> items;  // "Key = value"
    std::map<int, long> nodes;       // node -> destination block id
    int numNodes = -1;               // -1: as the control makes it
};

// Clip i of the tests' "kavoro.vap" holds kKavoroBytes + i bytes.
constexpr std::uint32_t kKavoroBytes = 1000;

std::string FormText(const std::vector<FormControl>& controls);
// A form value in quotes, backslashes and quotes escaped.
std::string Quoted(const std::string& value);

class CallFlowTest : public kvo_test::ContainerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void Scenario(const std::string& text);
    // A Frame (Ext as its transfer property) and a LineGroup on line 1
    // (block id 1, help digit 0) come first; `controls` follow.
    void LoadFlow(const std::vector<FormControl>& controls);
    container::CallResult Start();
    void StopAndWait();
    // Waits until `count` events `control`.`event` arrived.
    bool WaitFor(const wchar_t* control, const wchar_t* event, size_t count, DWORD ms = 20000);
    size_t Count(const wchar_t* control, const wchar_t* event) const;
    // The by-reference node of each Exit event of `control`, in order.
    std::vector<long> ExitNodes(const wchar_t* control) const;

    // Late-bound call of a control's member, as host code makes it.
    container::CallResult Member(const wchar_t* control, const wchar_t* member, WORD flags,
                                 std::vector<container::Variant> args);
    // Waits until line 1's status text begins with `status`.
    bool WaitForLineStatus(const std::wstring& status);

    std::vector<std::string> Journal() const;
    // Line 1's channel log as text (after the stop).
    std::vector<std::string> LogLines();
    // Where each of `wanted` first appears in `lines` after the previous one;
    // empty when all are found in order, else the first missing one.
    static std::string MissingInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted);
    static std::string Text(const std::vector<std::string>& lines);
    std::string Diagnosis();

    // A wave file of `bytes` data bytes in the test's folder.
    std::string Wave(const std::string& name, size_t bytes);

    // Host code: runs for every event, on the container's thread.
    std::function<void(container::EventRecord&)> onEvent_;
    fw::testing::IniFileScope ini_{"KVO32.INI"};
    fw::testing::TempDir dir_{"kvoflow"};
};

}  // namespace kvo_flow_test
