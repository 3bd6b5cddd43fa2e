// The controls served from the test program itself, so a test sees the
// graph the controls build (the registry, exit nodes, redirection slots)
// while a real container sites, saves and loads them.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CallFlowControl.h"
#include "Container.h"
#include "VoiceTestSupport.h"

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

// Answers the next value prompt: `text` and OK, or Cancel when none.
class PromptAnswerer {
public:
    explicit PromptAnswerer(const char* text);
    ~PromptAnswerer();
    std::string PromptSeen();

private:
    std::string text_;
    bool cancel_;
    std::string seen_;
    std::mutex m_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace kvo_graph_test
