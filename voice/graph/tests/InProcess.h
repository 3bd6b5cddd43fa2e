// The controls served from the test program itself, so a test sees the
// graph the controls build (the registry, exit nodes, redirection slots)
// while a real container sites, saves and loads them.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CallFlowControl.h"
#include "Container.h"
#include "VoiceTestSupport.h"
#include "fw/testing/Dialogs.h"

namespace kvo_graph_test {

class InProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    HRESULT LoadText(container::Host& host, const std::string& text);
    container::Form Save(container::Host& host);
    // The control named `name` on the test's form, as the graph sees it.
    kvo::CCallFlowControl* Control(const char* name);
    // Loads the voice system on the simulated card: four lines.
    void LoadFourLines();
    // Serves `create` under the User control's class for the rest of the test.
    void ServeAsUser(fw::ole::CreateFn create);

    std::unique_ptr<container::Host> host_;
    std::unique_ptr<kvotest::SuiteIni> ini_;

private:
    std::vector<DWORD> cookies_;
};

// Answers the next value prompt: `text` and OK, or Cancel when none; keeps
// the prompt it saw.
class PromptAnswerer {
public:
    explicit PromptAnswerer(const char* text);
    std::string PromptSeen();

private:
    std::mutex m_;
    std::string seen_;
    fw::testing::DialogWatcher watcher_;  // last: it stops before the text goes
};

}  // namespace kvo_graph_test
